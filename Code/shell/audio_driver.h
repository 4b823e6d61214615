// The sound layer's lower half: everything that talks to the audio library
// (Soundkit). Called by the layer in sound mode 1 only.
#pragma once

#include <cstdint>

#include "sound_layer.h"

int StartAudioDriver();
int StopAudioDriver();
int ReleaseAudioDevice();
int ReacquireAudioDevice();
void* LockedAlloc(uint32_t n);
void LockedFree(void* block);
uint8_t* MakeWaveImageFromPcm(const uint8_t* block, uint32_t size);

int DriverStartSound(SoundObject* object);
int DriverStopSound(SoundObject* object);
int DriverTogglePause(SoundObject* object);
int DriverSoundStatus(SoundObject* object);
int DriverFreeSound(SoundObject* object);
SoundObject* DriverPlayFile(const char* path);
SoundObject* LoadSampleFile(const char* path);
SoundObject* OpenStreamSound(const char* path);
SoundObject* DriverPlayData(const uint8_t* data, uint32_t size, int kind);
SoundObject* NewQueuedSample();
int StartQueuedSample(SoundObject* object);
int PlaySoundRequest(SoundObject* object, SoundRequest* request);
SoundObject* NewSoundObject(void* handle, uint8_t* data, uint32_t size, const char* name);
int DecodeMp3(const uint8_t* data, uint32_t size, uint8_t** image, uint32_t* imageSize);
int ActiveSampleCount();
int ExtractWavePcm(const uint8_t* wave, uint32_t size, uint8_t** copy, uint32_t* copySize);
