// Test helpers: the player started as a separate process with an exact
// command line, as the main program starts it, and watched from outside.
#pragma once

#include <windows.h>

#include <string>

namespace movietest {

// The test clip made by tools/movies: 2 s of 24 frames at 160 x 120.
constexpr int kClipWidth = 160, kClipHeight = 120, kClipFrames = 24;
constexpr DWORD kClipMs = 2000;

inline bool IsBlack(COLORREF c) { return GetRValue(c) < 16 && GetGValue(c) < 16 && GetBValue(c) < 16; }

// A Unix path of the build as Windows sees it (Wine's Z: drive).
std::string WindowsPath(const std::string& unixPath);
std::string PlayerPath();
std::string ClipPath();

struct Player {
  PROCESS_INFORMATION pi{};
  bool started = false;
  ~Player();
  // Ends within `ms`; the exit code, or -1 when it is still running.
  long WaitExit(DWORD ms);
};

// Starts the player with `commandLine` exactly (the program's own name
// first, as a C runtime expects; it drops that first token).
bool StartPlayer(Player* player, const std::string& commandLine);

// The top-level movie window once it is visible, or null after `ms`.
HWND WaitForMovieWindow(DWORD ms);

// The test clip copied to <temp>\<folder>\<name> (folders and names with
// blanks or capitals exercise the command line end to end).
std::string CopyClip(const std::string& folder, const std::string& name);

// A stand-in's log: the environment variable the stand-in reads is pointed
// at a fresh file in the temporary folder (the player inherits it).
std::string StartLog(const char* variable);
std::string ReadLog(const std::string& path);

// A screenshot kept under the build's artefacts/movie folder.
bool KeepScreenshot(const std::string& name);

}  // namespace movietest
