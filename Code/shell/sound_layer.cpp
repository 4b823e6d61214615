#include "sound_layer.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "audio_driver.h"
#include "heapkit.h"
#include "sound_wave.h"

namespace {

int g_mode = 0;
SoundObject* g_current = nullptr;  // guarded by SoundLayerLock

std::set<const SoundObject*>& LiveObjects() {
  static std::set<const SoundObject*> live;
  return live;
}

}  // namespace

std::recursive_mutex& SoundLayerLock() {
  static std::recursive_mutex lock;
  return lock;
}

bool IsLiveSoundObject(const SoundObject* object) {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  return object && LiveObjects().count(object) != 0;
}

// Called by NewSoundObject when a record is made.
void RegisterSoundObject(SoundObject* object) {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  LiveObjects().insert(object);
}

SoundObject* GetCurrentSound() {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  return g_current;
}

void SetCurrentSound(SoundObject* object) {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  g_current = object;
}

int GetSoundMode() { return g_mode; }

int StartSoundSystem(int mode) {
  // Only the full driver is built; any other request leaves the layer silent.
  g_mode = 0;
  if (mode == 1 && StartAudioDriver()) g_mode = 1;
  return g_mode;
}

int StopSoundSystem() {
  int mode = g_mode;
  if (mode == 1) {
    // What is still alive goes with the library's handles it stands on.
    std::vector<SoundObject*> left;
    {
      std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
      for (const SoundObject* o : LiveObjects()) left.push_back(const_cast<SoundObject*>(o));
    }
    for (SoundObject* o : left) FreeSoundObject(o);
    StopAudioDriver();
  }
  g_mode = 0;
  return mode;
}

void* SoundAlloc(uint32_t n) { return g_mode == 1 ? LockedAlloc(n) : nullptr; }

int SoundFree(void* block) {
  if (g_mode == 1 && block) LockedFree(block);
  return 1;
}

uint8_t* LoadWholeFile(const char* path, uint32_t* size) {
  if (size) *size = 0;
  if (!path) return nullptr;
  // Read only: a sound file on a read-only medium must still play.
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return nullptr;
  std::fseek(f, 0, SEEK_END);
  long n = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  uint8_t* block = n >= 0 && n < 0x7FFFFFF0 ? static_cast<uint8_t*>(SoundAlloc(uint32_t(n) + 2)) : nullptr;
  if (block && std::fread(block, 1, size_t(n), f) != size_t(n)) {
    SoundFree(block);
    block = nullptr;
  }
  std::fclose(f);
  if (block && size) *size = uint32_t(n);
  return block;
}

int StartSoundObject(SoundObject* object) {
  if (g_mode == 1) DriverStartSound(object);
  return 1;
}

SoundObject* PlayWaveStream(char* path) {
  if (!path) return nullptr;
  for (char* p = path; *p; ++p) *p = char(std::tolower(static_cast<unsigned char>(*p)));
  if (!std::strstr(path, ".wav") || g_mode != 1) return nullptr;
  return OpenStreamSound(path);
}

SoundObject* PlaySoundFile(const char* path) { return g_mode == 1 ? DriverPlayFile(path) : nullptr; }

SoundObject* PlaySoundData(const uint8_t* data, uint32_t size, int kind) {
  return g_mode == 1 ? DriverPlayData(data, size, kind) : nullptr;
}

int DecodeMp3Sound(const uint8_t* data, uint32_t size, uint8_t** image, uint32_t* imageSize) {
  return g_mode == 1 ? DecodeMp3(data, size, image, imageSize) : 0;
}

SoundObject* AllocSoundSample() { return g_mode == 1 ? NewQueuedSample() : nullptr; }

int QueueSoundRequest(SoundObject* object, uint8_t* data, uint32_t size, int kind) {
  if (!IsLiveSoundObject(object) || !object->queue || !(kind == 1 || kind == 2 || kind == 4 || kind == 6)) return -1;
  AppendSoundRequest(object, SoundRequest{kind, data, size, 0});
  object->size += size;
  return 1;
}

int SetLastRequestPosition(SoundObject* object, int32_t startMs, int32_t) {
  if (!IsLiveSoundObject(object) || !object->queue) return -1;
  std::lock_guard<std::mutex> guard(object->queue->lock);
  if (object->queue->requests.empty()) return 0;
  object->queue->requests.back().startMs = startMs;
  return 1;
}

int ToggleSoundPause(SoundObject* object) {
  if (g_mode != 1) return 0;
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  if (IsLiveSoundObject(object)) DriverTogglePause(object);
  return 1;
}

int GetSoundStatus(SoundObject* object) {
  if (g_mode != 1) return 0;
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  return IsLiveSoundObject(object) ? DriverSoundStatus(object) : 0;
}

int GetSoundKind(SoundObject* object) { return IsLiveSoundObject(object) ? object->kind : 0; }

int StopSound(SoundObject* object) {
  if (g_mode == 1) {
    std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
    if (IsLiveSoundObject(object)) DriverStopSound(object);
  }
  return 0;
}

int FreeSoundObject(SoundObject* object) {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  if (!IsLiveSoundObject(object)) return 0;
  if (g_mode == 1) {
    if (DriverSoundStatus(object) == 1) DriverStopSound(object);
    DriverFreeSound(object);
  }
  DeleteSoundObject(object);
  return 1;
}

void DeleteSoundObject(SoundObject* object) {
  std::lock_guard<std::recursive_mutex> guard(SoundLayerLock());
  if (!LiveObjects().erase(object)) return;
  if (g_current == object) g_current = nullptr;
  if (object->queue) DestroySoundQueue(object);
  memFree_rel(object->name);
  if (object->data) LockedFree(object->data);
  memFree_rel(object);
}

int ReleaseSoundDevice() { return g_mode == 1 ? ReleaseAudioDevice() : 1; }
int ReacquireSoundDevice() { return g_mode == 1 ? ReacquireAudioDevice() : 0; }

long AppendDecodedWave(const uint8_t* mp3, uint32_t size, const char* path, int* rate) {
  if (g_mode != 1) return -1;
  uint8_t* image = nullptr;
  uint32_t imageSize = 0;
  if (!DecodeMp3(mp3, size, &image, &imageSize) || !image || imageSize < kWaveHeaderSize) {
    LockedFree(image);
    return 0;
  }
  uint32_t r = image[24] | image[25] << 8 | image[26] << 16 | uint32_t(image[27]) << 24;
  uint32_t align = image[32] | image[33] << 8;
  // The decoder's own silence: 100 ms before and 70 ms after.
  uint32_t lead = r * 100 / 1000 * align, trail = r * 70 / 1000 * align;
  long written = AppendWaveData(image, imageSize, path, lead, trail, false);
  uint64_t sampleBytes = imageSize - kWaveHeaderSize;
  LockedFree(image);
  if (rate) *rate = int(r);
  if (written <= 0 || uint64_t(lead) + trail >= sampleBytes) return 0;
  return long(sampleBytes - lead - trail);
}

bool InitSoundQueue(SoundObject* object) {
  object->queue = new (std::nothrow) SoundQueue;
  return object->queue != nullptr;
}

void DestroySoundQueue(SoundObject* object) {
  if (!object->queue) return;
  {
    std::lock_guard<std::mutex> guard(object->queue->lock);
    for (SoundRequest& r : object->queue->requests) LockedFree(r.data);
  }
  delete object->queue;
  object->queue = nullptr;
}

void AppendSoundRequest(SoundObject* object, const SoundRequest& request) {
  std::lock_guard<std::mutex> guard(object->queue->lock);
  object->queue->requests.push_back(request);
}

SoundRequest* FirstSoundRequest(SoundObject* object) {
  std::lock_guard<std::mutex> guard(object->queue->lock);
  object->queue->cursor = 0;
  return object->queue->requests.empty() ? nullptr : &object->queue->requests[0];
}

SoundRequest* NextSoundRequest(SoundObject* object) {
  std::lock_guard<std::mutex> guard(object->queue->lock);
  SoundQueue& q = *object->queue;
  if (q.cursor >= q.requests.size()) return nullptr;
  ++q.cursor;
  return q.cursor < q.requests.size() ? &q.requests[q.cursor] : nullptr;
}

SoundRequest* LastSoundRequest(SoundObject* object) {
  std::lock_guard<std::mutex> guard(object->queue->lock);
  return object->queue->requests.empty() ? nullptr : &object->queue->requests.back();
}

int CountSoundRequests(SoundObject* object) {
  if (!object || !object->queue) return 0;
  std::lock_guard<std::mutex> guard(object->queue->lock);
  return int(object->queue->requests.size());
}
