// Soundkit: the outside audio library the main program's sound layer plays
// through. One digital output at 22,050 Hz, 16-bit mono; samples and streams
// are mixed on the library's own thread and handed to the wave output, or,
// when no device opens, to a null device paced by the clock, so that nothing
// fails on a machine without sound.
//
// Environment: RW_SOUND_DEVICE=null forces the null device;
// RW_SOUND_CAPTURE=<file> writes all that is mixed to that WAVE file and a
// line per event to <file>.log.
//
// End callbacks come from the mixing thread without the library's lock held;
// a handle released inside its own callback is freed when the callback
// returns, and one released while its end is pending is never called back.
#pragma once

#include <stdint.h>

#if defined(_WIN32) && defined(SOUNDKIT_BUILDING_DLL)
#define SOUNDKIT_API __declspec(dllexport)
#elif defined(_WIN32) && defined(SOUNDKIT_DLL)
#define SOUNDKIT_API __declspec(dllimport)
#else
#define SOUNDKIT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SkDriver* HDIGDRIVER;
typedef struct SkSample* HSAMPLE;
typedef struct SkStream* HSTREAM;

// The PCM format record the output is opened with (the layout of a WAVE
// file's format chunk). The library always mixes 22,050 Hz 16-bit mono.
typedef struct SkWaveFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
} SkWaveFormat;

// Sample and stream states.
enum { SMP_FREE = 1, SMP_DONE = 2, SMP_PLAYING = 4, SMP_STOPPED = 8, SMP_PLAYINGBUTRELEASED = 16 };

typedef void (*AILSAMPLECB)(HSAMPLE sample);
typedef void (*AILSTREAMCB)(HSTREAM stream);
typedef int (*AILASISETPROP)(const char* name, int32_t value);
typedef int (*AILASICB)(int state, AILASISETPROP setProperty);

// Non-zero once the library is ready.
SOUNDKIT_API int AIL_startup(void);
SOUNDKIT_API void AIL_shutdown(void);
// Preferences are accepted and ignored; the result is the former value (0).
SOUNDKIT_API int32_t AIL_set_preference(uint32_t number, int32_t value);

// 0 on success, with *driver set. Opens the wave output, else the null device.
SOUNDKIT_API int AIL_waveOutOpen(HDIGDRIVER* driver, void* waveOut, int32_t deviceId, const SkWaveFormat* format);
SOUNDKIT_API void AIL_waveOutClose(HDIGDRIVER driver);
// Release closes the device and holds mixing; reacquire reopens it (1, or 0
// when the device cannot be had; the null device is always had).
SOUNDKIT_API int AIL_digital_handle_release(HDIGDRIVER driver);
SOUNDKIT_API int AIL_digital_handle_reacquire(HDIGDRIVER driver);
SOUNDKIT_API int AIL_active_sample_count(HDIGDRIVER driver);

SOUNDKIT_API void* AIL_mem_alloc_lock(uint32_t size);
SOUNDKIT_API void AIL_mem_free_lock(void* block);

// None when the driver is none or memory is short.
SOUNDKIT_API HSAMPLE AIL_allocate_sample_handle(HDIGDRIVER driver);
SOUNDKIT_API void AIL_release_sample_handle(HSAMPLE sample);
SOUNDKIT_API void AIL_init_sample(HSAMPLE sample);
// Gives the sample its sound, read by the name's extension: ".wav" PCM WAVE
// data, ".raw" PCM in the output format, ".mp3" MPEG audio, ".mid" loaded but
// never played. The data is copied. 1 when read, 0 otherwise.
SOUNDKIT_API int AIL_set_named_sample_file(HSAMPLE sample, const char* name, const void* data, uint32_t size,
                                           int32_t block);
// Sounds are converted to the output rate when they are read: the rate and
// type calls are accepted for the callers' sake and change nothing.
SOUNDKIT_API void AIL_set_sample_playback_rate(HSAMPLE sample, int32_t rate);
SOUNDKIT_API void AIL_set_sample_type(HSAMPLE sample, int32_t format, uint32_t flags);
SOUNDKIT_API void AIL_start_sample(HSAMPLE sample);
SOUNDKIT_API void AIL_stop_sample(HSAMPLE sample);
SOUNDKIT_API void AIL_resume_sample(HSAMPLE sample);
SOUNDKIT_API uint32_t AIL_sample_status(HSAMPLE sample);
SOUNDKIT_API void AIL_set_sample_ms_position(HSAMPLE sample, int32_t ms);
SOUNDKIT_API void AIL_sample_ms_position(HSAMPLE sample, int32_t* totalMs, int32_t* currentMs);
SOUNDKIT_API void AIL_set_sample_user_data(HSAMPLE sample, uint32_t index, intptr_t value);
// 0 for a released handle, so a late callback finds nothing.
SOUNDKIT_API intptr_t AIL_sample_user_data(HSAMPLE sample, uint32_t index);
SOUNDKIT_API AILSAMPLECB AIL_register_EOS_callback(HSAMPLE sample, AILSAMPLECB callback);

// A stream plays a WAVE file, read as it plays. None when it cannot be read.
SOUNDKIT_API HSTREAM AIL_open_stream(HDIGDRIVER driver, const char* path, int32_t streamMemory);
SOUNDKIT_API void AIL_close_stream(HSTREAM stream);
SOUNDKIT_API void AIL_start_stream(HSTREAM stream);
// 1 pauses, 0 resumes.
SOUNDKIT_API void AIL_pause_stream(HSTREAM stream, int32_t onOff);
SOUNDKIT_API int32_t AIL_stream_status(HSTREAM stream);
SOUNDKIT_API void AIL_set_stream_user_data(HSTREAM stream, uint32_t index, intptr_t value);
SOUNDKIT_API intptr_t AIL_stream_user_data(HSTREAM stream, uint32_t index);
SOUNDKIT_API AILSTREAMCB AIL_register_stream_callback(HSTREAM stream, AILSTREAMCB callback);

// Decodes MP3 data into a WAVE image from AIL_mem_alloc_lock. The callback
// is called with state 1 and may ask for "Requested # of channels" 1 and
// "Requested sample rate" 22050; the image is otherwise at the file's own
// rate and channels. Non-zero when decoded.
SOUNDKIT_API int AIL_decompress_ASI(const void* data, uint32_t size, const char* suffix, void** image,
                                    uint32_t* imageSize, AILASICB callback);

#ifdef __cplusplus
}
#endif
