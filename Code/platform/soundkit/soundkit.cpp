// Soundkit's front end: the exported calls over the core's voices and mixer,
// one lock for the whole library, and the mixing thread.
#include "soundkit.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "mixer.h"
#include "soundkit_device.h"
#include "wave_pcm.h"

using namespace soundkit;

struct SkSample {
  Voice voice;
  HDIGDRIVER driver = nullptr;
  intptr_t user[8] = {};
  AILSAMPLECB endCallback = nullptr;
  std::string name;
  bool endPending = false;      // ended, its callback not yet made
  bool inCallback = false;      // its callback is running now
  bool releasePending = false;  // released while in its callback
};

struct SkStream {
  Voice voice;
  HDIGDRIVER driver = nullptr;
  std::unique_ptr<StreamReader> reader;
  intptr_t user[8] = {};
  AILSTREAMCB callback = nullptr;
  std::string name;
  bool inCallback = false;
  bool closePending = false;  // closed while in its callback
};

struct SkDriver {
  std::unique_ptr<OutputDevice> device;
  Mixer mixer;
  std::vector<SkSample*> samples;
  std::vector<SkStream*> streams;
  CaptureWriter capture;
  std::thread thread;
  std::thread::id threadId;
  std::condition_variable wake;
  bool quit = false;
  bool wantReleased = false;
  bool deviceOpen = false;
  int reopenResult = -1;  // the thread's answer to a reacquire
};

namespace {

std::mutex g_lock;  // guards every driver, sample and stream
int g_started = 0;

constexpr size_t kBlockFrames = 512;

void Event(HDIGDRIVER d, const char* what, const std::string& name) {
  if (d) d->capture.Event(what, name);
}

bool OwnsSample(HDIGDRIVER d, HSAMPLE s) {
  return d && std::find(d->samples.begin(), d->samples.end(), s) != d->samples.end();
}

void FreeSample(HSAMPLE s) {
  HDIGDRIVER d = s->driver;
  d->mixer.Remove(&s->voice);
  d->samples.erase(std::remove(d->samples.begin(), d->samples.end(), s), d->samples.end());
  delete s;
}

// Runs the end callbacks of the voices that ended, without the lock.
void HandleEnds(HDIGDRIVER d, const std::vector<Voice*>& ended, std::unique_lock<std::mutex>& lock) {
  for (Voice* v : ended) {
    for (SkSample* s : d->samples) {
      if (&s->voice != v) continue;
      Event(d, "end", s->name);
      s->endPending = true;
    }
    for (SkStream* st : d->streams) {
      if (&st->voice != v) continue;
      Event(d, "end", st->name);
      if (AILSTREAMCB cb = st->callback) {
        st->inCallback = true;
        lock.unlock();
        cb(st);
        lock.lock();
        st->inCallback = false;
        if (st->closePending) delete st;
      }
      break;
    }
  }
  // Samples: a copy of the list, since callbacks may release or allocate.
  std::vector<SkSample*> due;
  for (SkSample* s : d->samples)
    if (s->endPending) due.push_back(s);
  for (SkSample* s : due) {
    if (!OwnsSample(d, s) || !s->endPending) continue;
    s->endPending = false;
    AILSAMPLECB cb = s->endCallback;
    if (!cb) continue;
    s->inCallback = true;
    lock.unlock();
    cb(s);
    lock.lock();
    s->inCallback = false;
    if (s->releasePending) FreeSample(s);
  }
}

void MixingThread(HDIGDRIVER d) {
  std::vector<int16_t> block(kBlockFrames);
  std::vector<Voice*> ended;
  std::unique_lock<std::mutex> lock(g_lock);
  for (;;) {
    if (d->wantReleased && d->deviceOpen) {
      d->device->Close();
      d->deviceOpen = false;
      d->wake.notify_all();
    }
    if (!d->wantReleased && !d->deviceOpen) {
      d->deviceOpen = d->device->Open();
      d->reopenResult = d->deviceOpen ? 1 : 0;
      if (!d->deviceOpen) d->wantReleased = true;
      d->wake.notify_all();
    }
    if (d->quit) break;
    if (d->wantReleased) {
      d->wake.wait(lock, [d] { return d->quit || !d->wantReleased; });
      continue;
    }
    size_t done = 0;
    while (done < kBlockFrames) {
      ended.clear();
      done += d->mixer.Mix(block.data() + done, kBlockFrames - done, &ended);
      if (!ended.empty()) HandleEnds(d, ended, lock);
      if (d->quit || d->wantReleased) break;
    }
    std::fill(block.begin() + long(done), block.end(), int16_t(0));
    d->capture.Write(block.data(), kBlockFrames);
    lock.unlock();
    d->device->Play(block.data(), kBlockFrames);
    lock.lock();
  }
  if (d->deviceOpen) d->device->Close();
  d->deviceOpen = false;
}

bool EndsWith(const std::string& text, const char* suffix) {
  size_t n = std::strlen(suffix);
  if (text.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) != suffix[i]) return false;
  return true;
}

// Decoded MP3 as output samples, or as PCM at the rate and channels asked.
bool DecodeMp3Pcm(const uint8_t* data, size_t size, std::vector<uint8_t>* pcm, int* rate, int* channels) {
  return data && size > 0 && DecodeMp3(data, size, pcm, rate, channels) && *rate > 0 &&
         (*channels == 1 || *channels == 2);
}

thread_local int t_askedChannels = 0;
thread_local int t_askedRate = 0;

int SetAsiProperty(const char* name, int32_t value) {
  if (!name) return 0;
  if (std::strcmp(name, "Requested # of channels") == 0) {
    t_askedChannels = value;
    return 1;
  }
  if (std::strcmp(name, "Requested sample rate") == 0) {
    t_askedRate = value;
    return 1;
  }
  return 0;
}

}  // namespace

extern "C" {

int AIL_startup(void) {
  std::lock_guard<std::mutex> guard(g_lock);
  ++g_started;
  return 1;
}

void AIL_shutdown(void) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (g_started > 0) --g_started;
}

int32_t AIL_set_preference(uint32_t, int32_t) { return 0; }

int AIL_waveOutOpen(HDIGDRIVER* driver, void*, int32_t, const SkWaveFormat*) {
  if (!driver) return 1;
  *driver = nullptr;
  HDIGDRIVER d = new SkDriver;
  const char* forced = std::getenv("RW_SOUND_DEVICE");
  if (!(forced && std::strcmp(forced, "null") == 0)) {
    d->device = NewSystemDevice();
    if (d->device && !d->device->Open()) d->device.reset();
  }
  if (!d->device) {
    d->device = NewNullDevice();
    d->device->Open();
  }
  d->deviceOpen = true;
  if (const char* capture = std::getenv("RW_SOUND_CAPTURE"); capture && *capture) d->capture.Open(capture);
  d->capture.Event("open", d->device->Name());
  d->thread = std::thread(MixingThread, d);
  d->threadId = d->thread.get_id();
  *driver = d;
  return 0;
}

void AIL_waveOutClose(HDIGDRIVER d) {
  if (!d) return;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    d->quit = true;
    d->wake.notify_all();
  }
  d->thread.join();
  for (SkSample* s : d->samples) delete s;
  for (SkStream* st : d->streams) delete st;
  d->capture.Close();
  delete d;
}

int AIL_digital_handle_release(HDIGDRIVER d) {
  if (!d) return 0;
  std::unique_lock<std::mutex> lock(g_lock);
  if (d->wantReleased) return 1;
  d->wantReleased = true;
  Event(d, "release", d->device->Name());
  d->wake.notify_all();
  if (std::this_thread::get_id() != d->threadId) d->wake.wait(lock, [d] { return !d->deviceOpen; });
  return 1;
}

int AIL_digital_handle_reacquire(HDIGDRIVER d) {
  if (!d) return 0;
  std::unique_lock<std::mutex> lock(g_lock);
  if (!d->wantReleased) return 1;
  if (std::this_thread::get_id() == d->threadId) return 0;
  d->wantReleased = false;
  d->reopenResult = -1;
  d->wake.notify_all();
  d->wake.wait(lock, [d] { return d->reopenResult >= 0; });
  if (d->reopenResult == 1) Event(d, "reacquire", d->device->Name());
  return d->reopenResult;
}

int AIL_active_sample_count(HDIGDRIVER d) {
  if (!d) return 0;
  std::lock_guard<std::mutex> guard(g_lock);
  int n = 0;
  for (SkSample* s : d->samples) n += s->voice.state == kStatePlaying;
  return n;
}

void* AIL_mem_alloc_lock(uint32_t size) { return std::malloc(size ? size : 1); }
void AIL_mem_free_lock(void* block) { std::free(block); }

HSAMPLE AIL_allocate_sample_handle(HDIGDRIVER d) {
  if (!d) return nullptr;
  std::lock_guard<std::mutex> guard(g_lock);
  HSAMPLE s = new (std::nothrow) SkSample;
  if (!s) return nullptr;
  s->driver = d;
  d->samples.push_back(s);
  d->mixer.Add(&s->voice);
  return s;
}

void AIL_release_sample_handle(HSAMPLE s) {
  if (!s) return;
  std::lock_guard<std::mutex> guard(g_lock);
  if (!OwnsSample(s->driver, s) || s->releasePending) return;
  if (s->inCallback) {
    // Freed by the mixing thread when the callback returns.
    s->releasePending = true;
    s->voice.state = kStateDone;
    std::fill(std::begin(s->user), std::end(s->user), 0);
    return;
  }
  FreeSample(s);
}

void AIL_init_sample(HSAMPLE s) {
  if (!s) return;
  std::lock_guard<std::mutex> guard(g_lock);
  s->voice.state = kStateDone;
  s->voice.pcm.clear();
  s->voice.pos = 0;
  s->voice.silent = false;
  s->endPending = false;
}

int AIL_set_named_sample_file(HSAMPLE s, const char* name, const void* data, uint32_t size, int32_t) {
  if (!s || !name || (!data && size > 0)) return 0;
  std::string n = name;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  std::vector<int16_t> pcm;
  bool silent = false;
  if (EndsWith(n, ".wav")) {
    if (!DecodeWaveImage(bytes, size, &pcm)) return 0;
  } else if (EndsWith(n, ".raw")) {
    pcm = RawToPcm(bytes, size);
  } else if (EndsWith(n, ".mp3")) {
    std::vector<uint8_t> decoded;
    int rate = 0, channels = 0;
    if (!DecodeMp3Pcm(bytes, size, &decoded, &rate, &channels)) return 0;
    PcmConverter converter(rate, channels, 16);
    converter.Feed(decoded.data(), decoded.size(), &pcm);
    converter.Finish(&pcm);
  } else if (EndsWith(n, ".mid")) {
    silent = true;
  } else {
    return 0;
  }
  std::lock_guard<std::mutex> guard(g_lock);
  s->voice.state = kStateDone;
  s->voice.pcm.swap(pcm);
  s->voice.pos = 0;
  s->voice.silent = silent;
  s->endPending = false;
  s->name = n;
  return 1;
}

void AIL_set_sample_playback_rate(HSAMPLE, int32_t) {}
void AIL_set_sample_type(HSAMPLE, int32_t, uint32_t) {}

void AIL_start_sample(HSAMPLE s) {
  if (!s) return;
  std::lock_guard<std::mutex> guard(g_lock);
  s->voice.pos = 0;
  s->voice.state = kStatePlaying;
  s->endPending = false;
  Event(s->driver, "start", s->name);
}

void AIL_stop_sample(HSAMPLE s) {
  if (!s) return;
  std::lock_guard<std::mutex> guard(g_lock);
  if (s->voice.state != kStatePlaying) return;
  s->voice.state = kStateStopped;
  Event(s->driver, "stop", s->name);
}

void AIL_resume_sample(HSAMPLE s) {
  if (!s) return;
  std::lock_guard<std::mutex> guard(g_lock);
  if (s->voice.state == kStatePlaying || s->releasePending) return;
  if (s->voice.state == kStateDone && s->voice.pos >= s->voice.pcm.size()) s->voice.pos = 0;
  s->voice.state = kStatePlaying;
  s->endPending = false;
  Event(s->driver, "resume", s->name);
}

uint32_t AIL_sample_status(HSAMPLE s) {
  if (!s) return SMP_FREE;
  std::lock_guard<std::mutex> guard(g_lock);
  if (s->releasePending) return SMP_FREE;
  if (s->voice.state == kStatePlaying && s->driver->wantReleased) return SMP_PLAYINGBUTRELEASED;
  return uint32_t(s->voice.state);
}

void AIL_set_sample_ms_position(HSAMPLE s, int32_t ms) {
  if (!s) return;
  std::lock_guard<std::mutex> guard(g_lock);
  s->voice.pos = std::min(FramesFromMs(uint32_t(std::max<int32_t>(ms, 0))), s->voice.pcm.size());
}

void AIL_sample_ms_position(HSAMPLE s, int32_t* totalMs, int32_t* currentMs) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (totalMs) *totalMs = s ? int32_t(MsFromFrames(s->voice.pcm.size())) : 0;
  if (currentMs) *currentMs = s ? int32_t(MsFromFrames(s->voice.pos)) : 0;
}

void AIL_set_sample_user_data(HSAMPLE s, uint32_t index, intptr_t value) {
  if (!s || index >= 8) return;
  std::lock_guard<std::mutex> guard(g_lock);
  if (!s->releasePending) s->user[index] = value;
}

intptr_t AIL_sample_user_data(HSAMPLE s, uint32_t index) {
  if (!s || index >= 8) return 0;
  std::lock_guard<std::mutex> guard(g_lock);
  return s->user[index];
}

AILSAMPLECB AIL_register_EOS_callback(HSAMPLE s, AILSAMPLECB callback) {
  if (!s) return nullptr;
  std::lock_guard<std::mutex> guard(g_lock);
  AILSAMPLECB old = s->endCallback;
  s->endCallback = callback;
  return old;
}

HSTREAM AIL_open_stream(HDIGDRIVER d, const char* path, int32_t) {
  if (!d || !path) return nullptr;
  std::unique_ptr<StreamReader> reader = StreamReader::Open(path);
  if (!reader) return nullptr;
  std::lock_guard<std::mutex> guard(g_lock);
  HSTREAM st = new SkStream;
  st->driver = d;
  st->reader = std::move(reader);
  st->voice.stream = st->reader.get();
  st->name = path;
  d->streams.push_back(st);
  d->mixer.Add(&st->voice);
  return st;
}

void AIL_close_stream(HSTREAM st) {
  if (!st) return;
  std::lock_guard<std::mutex> guard(g_lock);
  HDIGDRIVER d = st->driver;
  if (st->closePending) return;
  d->mixer.Remove(&st->voice);
  d->streams.erase(std::remove(d->streams.begin(), d->streams.end(), st), d->streams.end());
  if (st->inCallback)
    st->closePending = true;  // deleted by the mixing thread when the callback returns
  else
    delete st;
}

void AIL_start_stream(HSTREAM st) {
  if (!st) return;
  std::lock_guard<std::mutex> guard(g_lock);
  st->reader->Rewind();
  st->voice.pcm.clear();
  st->voice.pos = 0;
  st->voice.state = kStatePlaying;
  Event(st->driver, "start", st->name);
}

void AIL_pause_stream(HSTREAM st, int32_t onOff) {
  if (!st) return;
  std::lock_guard<std::mutex> guard(g_lock);
  if (onOff && st->voice.state == kStatePlaying) {
    st->voice.state = kStateStopped;
    Event(st->driver, "pause", st->name);
  } else if (!onOff && st->voice.state == kStateStopped) {
    st->voice.state = kStatePlaying;
    Event(st->driver, "resume", st->name);
  }
}

int32_t AIL_stream_status(HSTREAM st) {
  if (!st) return SMP_FREE;
  std::lock_guard<std::mutex> guard(g_lock);
  if (st->voice.state == kStatePlaying && st->driver->wantReleased) return SMP_PLAYINGBUTRELEASED;
  return st->voice.state;
}

void AIL_set_stream_user_data(HSTREAM st, uint32_t index, intptr_t value) {
  if (!st || index >= 8) return;
  std::lock_guard<std::mutex> guard(g_lock);
  st->user[index] = value;
}

intptr_t AIL_stream_user_data(HSTREAM st, uint32_t index) {
  if (!st || index >= 8) return 0;
  std::lock_guard<std::mutex> guard(g_lock);
  return st->user[index];
}

AILSTREAMCB AIL_register_stream_callback(HSTREAM st, AILSTREAMCB callback) {
  if (!st) return nullptr;
  std::lock_guard<std::mutex> guard(g_lock);
  AILSTREAMCB old = st->callback;
  st->callback = callback;
  return old;
}

int AIL_decompress_ASI(const void* data, uint32_t size, const char* suffix, void** image, uint32_t* imageSize,
                       AILASICB callback) {
  if (!image || !imageSize || !suffix || !EndsWith(suffix, ".mp3")) return 0;
  *image = nullptr;
  *imageSize = 0;
  t_askedChannels = t_askedRate = 0;
  if (callback) callback(1, SetAsiProperty);
  std::vector<uint8_t> pcm;
  int rate = 0, channels = 0;
  if (!DecodeMp3Pcm(static_cast<const uint8_t*>(data), size, &pcm, &rate, &channels)) return 0;
  if (t_askedRate == kOutputRate && t_askedChannels == 1 && !(rate == kOutputRate && channels == 1)) {
    std::vector<int16_t> out;
    PcmConverter converter(rate, channels, 16);
    converter.Feed(pcm.data(), pcm.size(), &out);
    converter.Finish(&out);
    pcm.resize(out.size() * 2);
    for (size_t i = 0; i < out.size(); ++i) {
      pcm[2 * i] = uint8_t(out[i]);
      pcm[2 * i + 1] = uint8_t(uint16_t(out[i]) >> 8);
    }
    rate = kOutputRate;
    channels = 1;
  }
  if (pcm.size() > 0xFFFFFFFFu - 44) return 0;
  uint8_t* block = static_cast<uint8_t*>(AIL_mem_alloc_lock(uint32_t(pcm.size() + 44)));
  if (!block) return 0;
  MakeWaveHeader(block, uint32_t(pcm.size()), rate, channels, 16);
  if (!pcm.empty()) std::memcpy(block + 44, pcm.data(), pcm.size());
  *image = block;
  *imageSize = uint32_t(pcm.size() + 44);
  return 1;
}

}  // extern "C"
