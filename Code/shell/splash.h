// The splash screen: a borderless window centred on the desktop showing a
// bitmap resource of the program, on a thread of its own with its own
// message queue, so it keeps painting while start-up holds the interface
// thread. Start-up ends it with a thread message.
//
// Interface: StartSplash, EndSplash, SplashThreadId, kSplashClass,
// kSplashEndMessage, kSplashPaletteWaitMs.
#pragma once

#include <windows.h>

constexpr const char kSplashClass[] = "RW_SPLASH_WNDCLASS";
constexpr UINT kSplashEndMessage = 0x8001;
// How long the first paint waits for the program palette before it paints
// without one (the palette's creation may have failed).
constexpr DWORD kSplashPaletteWaitMs = 2000;

// Starts the splash thread for the bitmap resource `resource` (at most 63
// characters) and returns 1 when the thread runs; its queue exists by the
// time this returns, so EndSplash at once still reaches it.
int StartSplash(const char* resource);
// Posts the end message to the splash thread and returns 1 without
// waiting; 0 when no splash was started.
int EndSplash();
// The splash thread's id, 0 before StartSplash.
DWORD SplashThreadId();
