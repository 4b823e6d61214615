#include "audio_driver.h"

#include <cstdio>
#include <cstring>

#include "heapkit.h"
#include "sound_wave.h"
#include "soundkit.h"

void RegisterSoundObject(SoundObject* object);
void SetCurrentSound(SoundObject* object);

namespace {

HDIGDRIVER g_driver = nullptr;

HSAMPLE Sample(SoundObject* o) { return static_cast<HSAMPLE>(o->handle); }
HSTREAM Stream(SoundObject* o) { return static_cast<HSTREAM>(o->handle); }

bool IsOneShot(int kind) { return kind == 1 || kind == 2 || kind == 3 || kind == 6; }

void OnSampleEnd(HSAMPLE sample) {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  // Read under the lock: a handle released meanwhile gives none.
  auto* object = reinterpret_cast<SoundObject*>(AIL_sample_user_data(sample, 0));
  if (!object || !IsLiveSoundObject(object)) return;
  if (GetCurrentSound() == object) SetCurrentSound(nullptr);
  if (IsOneShot(object->kind)) {
    AIL_release_sample_handle(sample);
    object->handle = nullptr;
    DeleteSoundObject(object);
  } else if (object->kind == kSoundQueued) {
    if (SoundRequest* next = NextSoundRequest(object)) PlaySoundRequest(object, next);
  }
}

void OnStreamEvent(HSTREAM stream) { (void)AIL_stream_user_data(stream, 0); }

int OnDecodeProperty(int state, AILASISETPROP setProperty) {
  if (state == 1) {
    setProperty("Requested # of channels", 1);
    setProperty("Requested sample rate", 22050);
  }
  return 1;
}

SkWaveFormat LibraryFormat() {
  const SoundFormat& f = kSoundOutputFormat;
  return SkWaveFormat{f.formatTag, f.channels, f.samplesPerSec, f.avgBytesPerSec, f.blockAlign, f.bitsPerSample};
}

}  // namespace

int StartAudioDriver() {
  if (!AIL_startup()) return 0;
  static const int32_t kPreferences[][2] = {{15, 0}, {33, 1}, {1, 6}, {35, 8}, {15, 1}};
  for (const auto& p : kPreferences) AIL_set_preference(uint32_t(p[0]), p[1]);
  SkWaveFormat format = LibraryFormat();
  if (AIL_waveOutOpen(&g_driver, nullptr, 0, &format) != 0) {
    g_driver = nullptr;
    AIL_shutdown();
    return 0;
  }
  return 1;
}

int StopAudioDriver() {
  AIL_waveOutClose(g_driver);
  g_driver = nullptr;
  AIL_shutdown();
  return 1;
}

int ReleaseAudioDevice() { return AIL_digital_handle_release(g_driver); }
int ReacquireAudioDevice() { return AIL_digital_handle_reacquire(g_driver); }
void* LockedAlloc(uint32_t n) { return n > 0xFFFFFFF0u ? nullptr : AIL_mem_alloc_lock(n + 2); }
void LockedFree(void* block) {
  if (block) AIL_mem_free_lock(block);
}

uint8_t* MakeWaveImageFromPcm(const uint8_t* block, uint32_t size) {
  return block ? MakeWaveImage(block, size, kSoundOutputFormat) : nullptr;
}

SoundObject* NewSoundObject(void* handle, uint8_t* data, uint32_t size, const char* name) {
  auto* object = static_cast<SoundObject*>(memAlloc_rel(sizeof(SoundObject), HEAPKIT_TAG_RW));
  if (!object) return nullptr;
  char* copy = memStrdup_rel(name ? name : "", HEAPKIT_TAG_RW);
  if (!copy) {
    memFree_rel(object);
    return nullptr;
  }
  *object = SoundObject{0, handle, data, size, copy, nullptr};
  RegisterSoundObject(object);
  return object;
}

int DriverStartSound(SoundObject* object) {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  if (!IsLiveSoundObject(object) || !object->handle) return 0;
  if (SoundObject* current = GetCurrentSound()) {
    DriverStopSound(current);
    SetCurrentSound(nullptr);
  }
  switch (object->kind) {
    case 0: return 0;
    case 1: case 2: case 3: case 6:
      SetCurrentSound(object);
      AIL_start_sample(Sample(object));
      return 1;
    case 7: return CountSoundRequests(object) < 1 ? 0 : StartQueuedSample(object);
    case 8:
      SetCurrentSound(object);
      AIL_start_stream(Stream(object));
      return 1;
    default: return 1;
  }
}

int DriverStopSound(SoundObject* object) {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  if (!IsLiveSoundObject(object) || !object->handle || object->kind == 0) return 0;
  if (IsOneShot(object->kind))
    AIL_stop_sample(Sample(object));
  else if (object->kind == kSoundStream)
    AIL_pause_stream(Stream(object), 1);
  return 1;
}

int DriverTogglePause(SoundObject* object) {
  if (!object->handle) return 0;
  if (IsOneShot(object->kind) || object->kind == kSoundQueued) {
    if (AIL_sample_status(Sample(object)) == SMP_STOPPED)
      AIL_resume_sample(Sample(object));
    else
      AIL_stop_sample(Sample(object));
    return 1;
  }
  if (object->kind == kSoundStream) {
    AIL_pause_stream(Stream(object), AIL_stream_status(Stream(object)) == SMP_STOPPED ? 0 : 1);
    return 1;
  }
  return object->kind == kSoundMidi ? 0 : 1;
}

int DriverSoundStatus(SoundObject* object) {
  if (!object || !object->handle) return 0;
  if (IsOneShot(object->kind) || object->kind == kSoundQueued) return MapLibraryStatus(AIL_sample_status(Sample(object)));
  if (object->kind == kSoundStream) return MapLibraryStatus(uint32_t(AIL_stream_status(Stream(object))));
  return 0;
}

int DriverFreeSound(SoundObject* object) {
  if (IsOneShot(object->kind)) {
    AIL_release_sample_handle(Sample(object));
  } else if (object->kind == kSoundQueued) {
    // The sample first, so no callback reaches the queue once it is gone.
    AIL_release_sample_handle(Sample(object));
    DestroySoundQueue(object);
  } else if (object->kind == kSoundStream) {
    if (object->handle) AIL_close_stream(Stream(object));
  } else if (object->kind == kSoundMidi || (object->kind == kSoundOther && object->handle)) {
    // A MIDI file or a file of an unknown kind was still loaded into a
    // sample: its handle goes back too.
    AIL_release_sample_handle(Sample(object));
    object->handle = nullptr;
    return object->kind == kSoundMidi ? 0 : 1;
  } else {
    return 1;
  }
  object->handle = nullptr;
  return 1;
}

SoundObject* DriverPlayFile(const char* path) {
  std::FILE* f = path ? std::fopen(path, "rb") : nullptr;
  if (!f) return nullptr;
  std::fseek(f, 0, SEEK_END);
  long size = std::ftell(f);
  std::fclose(f);
  SoundObject* object = size <= kWholeSampleLimit ? LoadSampleFile(path) : OpenStreamSound(path);
  if (!object) return nullptr;
  DriverStartSound(object);
  return object;
}

SoundObject* LoadSampleFile(const char* path) {
  uint32_t size = 0;
  uint8_t* block = LoadWholeFile(path, &size);
  if (!block) return nullptr;
  HSAMPLE sample = AIL_allocate_sample_handle(g_driver);
  if (!sample) {
    LockedFree(block);
    return nullptr;
  }
  AIL_init_sample(sample);
  AIL_set_named_sample_file(sample, path, block, size, 0);
  AIL_set_sample_playback_rate(sample, 22050);
  SoundObject* object = NewSoundObject(sample, block, size, path);
  if (!object) {
    AIL_release_sample_handle(sample);
    LockedFree(block);
    return nullptr;
  }
  object->kind = SoundKindForPath(path);
  AIL_set_sample_user_data(sample, 0, reinterpret_cast<intptr_t>(object));
  AIL_register_EOS_callback(sample, OnSampleEnd);
  return object;
}

SoundObject* OpenStreamSound(const char* path) {
  HSTREAM stream = AIL_open_stream(g_driver, path, 0);
  if (!stream) return nullptr;
  SoundObject* object = NewSoundObject(stream, nullptr, 0, path);
  if (!object) {
    AIL_close_stream(stream);
    return nullptr;
  }
  object->kind = kSoundStream;
  AIL_set_stream_user_data(stream, 0, reinterpret_cast<intptr_t>(object));
  AIL_register_stream_callback(stream, OnStreamEvent);
  DriverStartSound(object);
  return object;
}

SoundObject* DriverPlayData(const uint8_t* data, uint32_t size, int kind) {
  if (!data || ActiveSampleCount() != 0) return nullptr;
  HSAMPLE sample = AIL_allocate_sample_handle(g_driver);
  if (!sample) return nullptr;
  uint8_t* block = nullptr;
  uint32_t blockSize = size;
  const char* suffix = ".wav";
  if (kind == 1 || kind == 3 || kind == 6) {
    block = static_cast<uint8_t*>(LockedAlloc(size));
    if (block) std::memcpy(block, data, size);
    if (kind == 6) suffix = ".mp3";
  } else if (kind == 2) {
    block = MakeWaveImageFromPcm(data, size);
    blockSize = size + kWaveHeaderSize;
  } else {
    AIL_release_sample_handle(sample);
    return nullptr;
  }
  if (!block) {
    AIL_release_sample_handle(sample);
    return nullptr;
  }
  AIL_init_sample(sample);
  AIL_set_named_sample_file(sample, suffix, block, blockSize, 0);
  AIL_set_sample_playback_rate(sample, 22050);
  SoundObject* object = NewSoundObject(sample, block, blockSize, suffix);
  if (!object) {
    AIL_release_sample_handle(sample);
    LockedFree(block);
    return nullptr;
  }
  object->kind = kind;
  AIL_set_sample_user_data(sample, 0, reinterpret_cast<intptr_t>(object));
  AIL_register_EOS_callback(sample, OnSampleEnd);
  AIL_start_sample(sample);
  return object;
}

SoundObject* NewQueuedSample() {
  HSAMPLE sample = AIL_allocate_sample_handle(g_driver);
  if (!sample) return nullptr;
  AIL_init_sample(sample);
  AIL_set_sample_playback_rate(sample, 22050);
  SoundObject* object = NewSoundObject(sample, nullptr, 0, ".mp3");
  if (!object) {
    AIL_release_sample_handle(sample);
    return nullptr;
  }
  if (!InitSoundQueue(object)) {
    AIL_release_sample_handle(sample);
    object->handle = nullptr;
    DeleteSoundObject(object);
    return nullptr;
  }
  object->kind = kSoundQueued;
  return object;
}

int StartQueuedSample(SoundObject* object) {
  SoundRequest* first = FirstSoundRequest(object);
  AIL_set_sample_user_data(Sample(object), 0, reinterpret_cast<intptr_t>(object));
  AIL_register_EOS_callback(Sample(object), OnSampleEnd);
  if (first) PlaySoundRequest(object, first);
  return 1;
}

int PlaySoundRequest(SoundObject* object, SoundRequest* request) {
  const char* suffix;
  switch (request->kind) {
    case 1: case 4: suffix = ".wav"; break;
    case 2: {
      if (uint8_t* image = MakeWaveImageFromPcm(request->data, request->size)) {
        LockedFree(request->data);
        request->data = image;
        request->size += kWaveHeaderSize;
        request->kind = 1;  // wrapped once: a replay plays the image as it is
      }
      AIL_set_sample_type(Sample(object), 1, 1);
      AIL_set_sample_playback_rate(Sample(object), 22050);
      suffix = ".wav";
      break;
    }
    case 6: suffix = ".mp3"; break;
    default: return 0;
  }
  AIL_set_named_sample_file(Sample(object), suffix, request->data, request->size, 0);
  if (request->startMs == 0) {
    AIL_start_sample(Sample(object));
  } else {
    AIL_set_sample_ms_position(Sample(object), request->startMs);
    AIL_resume_sample(Sample(object));
  }
  return 1;
}

int DecodeMp3(const uint8_t* data, uint32_t size, uint8_t** image, uint32_t* imageSize) {
  void* out = nullptr;
  int ok = AIL_decompress_ASI(data, size, ".mp3", &out, imageSize, OnDecodeProperty);
  *image = static_cast<uint8_t*>(out);
  return ok;
}

int ActiveSampleCount() { return AIL_active_sample_count(g_driver); }

int ExtractWavePcm(const uint8_t* wave, uint32_t size, uint8_t** copy, uint32_t* copySize) {
  if (!wave || !copy || !copySize || size < kWaveHeaderSize) return 1;
  *copy = static_cast<uint8_t*>(memAlloc_rel(size - kWaveHeaderSize + 1, HEAPKIT_TAG_RW));
  if (!*copy) return 2;
  std::memcpy(*copy, wave + kWaveHeaderSize, size - kWaveHeaderSize);
  *copySize = size - kWaveHeaderSize;
  return 0;
}
