// Reelkit: the frame-by-frame movie library behind the player's /k road.
// This is the project's own stand-in: it plays the project's AVI clips
// (whatever their extension) through the system's AVIFile, draws frames
// into a DIB-section buffer on the movie window and plays the sound
// through waveOut when a device opens, silently otherwise.
//
// The caller drives every frame: wait until the frame is due, decode it,
// lock the buffer, copy the frame in, unlock, blit the changed rectangles,
// then step to the next frame. The records below hold what the caller reads.
#pragma once

#include <windows.h>

#include <cstdint>

#ifdef REELKIT_BUILDING_DLL
#define REELKIT_API extern "C" __declspec(dllexport)
#else
#define REELKIT_API extern "C" __declspec(dllimport)
#endif

struct ReelMovie {
  uint32_t width;
  uint32_t height;
  uint32_t frames;     // frame count
  uint32_t frameNum;   // the current frame, 1-based
  uint32_t openFlags;  // as given to ReelOpen (kept, not interpreted)
  void* internal;
};

// Buffer kinds for ReelBufferOpen.
constexpr uint32_t kReelBufferDibSection = 2;
// Surface kinds a buffer reports and ReelCopyToBuffer accepts.
constexpr uint32_t kReelSurface32 = 3;  // 32-bit B, G, R, unused; top-down rows

struct ReelRect {
  int32_t left, top, width, height;
};

struct ReelBuffer {
  void* memory;          // valid between ReelBufferLock and ReelBufferUnlock
  int32_t pitch;         // bytes from one row to the next
  uint32_t height;
  uint32_t width;
  uint32_t surfaceKind;  // kReelSurface32
  int32_t offsetX, offsetY;  // where the buffer lands in the window's client area
  uint32_t rectCount;        // rectangles filled by ReelGetRects
  ReelRect rects[4];
  void* internal;
};

// The sound output: the opener is called once per ReelOpen and answers
// whether sound may be played at all.
typedef int(__stdcall* ReelSoundOpener)(uintptr_t param);
REELKIT_API int __stdcall ReelOpenWaveOut(uintptr_t param);
REELKIT_API int __stdcall ReelSetSoundSystem(ReelSoundOpener opener, uintptr_t param);

REELKIT_API ReelMovie* __stdcall ReelOpen(const char* path, uint32_t flags);
REELKIT_API void __stdcall ReelClose(ReelMovie* movie);
// Nonzero while the current frame is not yet due.
REELKIT_API int __stdcall ReelWait(ReelMovie* movie);
// Decodes the current frame; the first one also starts the clock and sound.
REELKIT_API int __stdcall ReelDoFrame(ReelMovie* movie);
REELKIT_API void __stdcall ReelNextFrame(ReelMovie* movie);
REELKIT_API int __stdcall ReelCopyToBuffer(ReelMovie* movie, void* dest, int32_t pitch, uint32_t height, uint32_t x,
                                           uint32_t y, uint32_t surfaceKind);
// Fills the buffer's rectangles with what the last decoded frame changed;
// answers their count.
REELKIT_API int __stdcall ReelGetRects(ReelMovie* movie, ReelBuffer* buffer);

REELKIT_API ReelBuffer* __stdcall ReelBufferOpen(HWND window, uint32_t width, uint32_t height, uint32_t kind);
REELKIT_API void __stdcall ReelBufferClose(ReelBuffer* buffer);
REELKIT_API int __stdcall ReelBufferLock(ReelBuffer* buffer);
REELKIT_API void __stdcall ReelBufferUnlock(ReelBuffer* buffer);
REELKIT_API void __stdcall ReelBufferBlit(ReelBuffer* buffer, const ReelRect* rects, uint32_t count);
REELKIT_API int __stdcall ReelBufferSetOffset(ReelBuffer* buffer, int32_t x, int32_t y);
