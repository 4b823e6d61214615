// The program's sound layer: the sound mode, sound objects (one-shot
// samples, queued samples, streams), the request queue on which spoken
// sentences are lined up, and the release of the audio device while the
// program is inactive. All real work happens in mode 1, through the audio
// driver (audio_driver.h).
//
// One lock (SoundLayerLock) guards the current sound and the life of every
// sound object: the library's end callback, on its own thread, deletes a
// finished one-shot sample while the user-interface thread may be stopping
// it. An object that is gone is treated as none by every operation.
#pragma once

#include <cstdint>
#include <mutex>
#include <deque>

enum SoundKind {
  kSoundOther = 0,
  kSoundWave = 1,
  kSoundRaw = 2,
  kSoundWaveData = 3,
  kSoundMp3 = 6,
  kSoundQueued = 7,
  kSoundStream = 8,
  kSoundMidi = 9,
};

struct SoundRequest {
  int kind;       // 1 or 4 a WAVE image, 2 raw PCM, 6 MP3 data
  uint8_t* data;  // sound memory, owned by the queue once queued
  uint32_t size;
  int32_t startMs;  // 0 = from the beginning
};

struct SoundQueue {
  std::mutex lock;
  std::deque<SoundRequest> requests;  // a deque: appending keeps the one playing in place
  size_t cursor = 0;
};

struct SoundObject {
  int32_t kind;
  void* handle;   // the library's sample, or its stream for kind 8
  uint8_t* data;  // what the sample plays from (none for kinds 7 and 8)
  uint32_t size;  // for kind 7 the bytes queued so far
  char* name;     // file name or type suffix
  SoundQueue* queue;
};

std::recursive_mutex& SoundLayerLock();
// True while the object exists (under the lock).
bool IsLiveSoundObject(const SoundObject* object);

int GetSoundMode();
int StartSoundSystem(int mode);
int StopSoundSystem();

void* SoundAlloc(uint32_t n);
int SoundFree(void* block);
uint8_t* LoadWholeFile(const char* path, uint32_t* size);

int StartSoundObject(SoundObject* object);
SoundObject* PlayWaveStream(char* path);
SoundObject* PlaySoundFile(const char* path);
SoundObject* PlaySoundData(const uint8_t* data, uint32_t size, int kind);
int DecodeMp3Sound(const uint8_t* data, uint32_t size, uint8_t** image, uint32_t* imageSize);
SoundObject* AllocSoundSample();
int QueueSoundRequest(SoundObject* object, uint8_t* data, uint32_t size, int kind);
int SetLastRequestPosition(SoundObject* object, int32_t startMs, int32_t second);
int ToggleSoundPause(SoundObject* object);
int GetSoundStatus(SoundObject* object);
int GetSoundKind(SoundObject* object);
int StopSound(SoundObject* object);
int FreeSoundObject(SoundObject* object);
void DeleteSoundObject(SoundObject* object);
SoundObject* GetCurrentSound();
int ReleaseSoundDevice();
int ReacquireSoundDevice();
long AppendDecodedWave(const uint8_t* mp3, uint32_t size, const char* path, int* rate);

// The request queue of a queued sample.
bool InitSoundQueue(SoundObject* object);
void DestroySoundQueue(SoundObject* object);
void AppendSoundRequest(SoundObject* object, const SoundRequest& request);
SoundRequest* FirstSoundRequest(SoundObject* object);
SoundRequest* NextSoundRequest(SoundObject* object);
SoundRequest* LastSoundRequest(SoundObject* object);
int CountSoundRequests(SoundObject* object);
