// AVI clips for the movie back-end stand-ins: the project's movies are AVI
// files (MS Video 1 pictures, 16-bit PCM sound) whatever their names, read
// here through the system's AVIFile library and played by both stand-ins.
//
// Interface: AviClipOpen / AviClipClose, the clip's size, frame count and
// frame times, AviClipCopyFrame (a decoded frame into a 32-bit top-down
// surface) and the sound track through waveOut (silent when no device opens).
#pragma once

#include <windows.h>

#include <cstdint>

struct AviClip;

// Opens `path` with the AVI file handler named by its class id, so the
// file's extension does not matter. Null when it is not a playable AVI.
AviClip* AviClipOpen(const char* path);
void AviClipClose(AviClip* clip);

uint32_t AviClipWidth(const AviClip* clip);
uint32_t AviClipHeight(const AviClip* clip);
uint32_t AviClipFrameCount(const AviClip* clip);
// Milliseconds from the clip's start at which frame `index` (0-based) is due.
uint32_t AviClipFrameTime(const AviClip* clip, uint32_t index);

// Decodes frame `index` and copies it into a 32-bit (B, G, R, unused)
// top-down surface at (x, y), clipped to the surface. False when the frame
// cannot be decoded.
bool AviClipCopyFrame(AviClip* clip, uint32_t index, void* surface, int32_t pitch, uint32_t width,
                      uint32_t height, uint32_t x, uint32_t y);

// Starts the sound track from its beginning; false (and silence) when the
// clip has none or no output device opens.
bool AviClipStartSound(AviClip* clip);
void AviClipStopSound(AviClip* clip);

// Appends one line to the file named by the environment variable `variable`
// when it is set: the stand-ins' record of what they were asked to do, read
// by tests that run the player as a separate process.
void AviClipLog(const char* variable, const char* format, ...);
