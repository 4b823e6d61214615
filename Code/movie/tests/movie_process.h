// Test helpers: the player started as a separate process with an exact
// command line, as the main program starts it, and watched from outside.
#pragma once

#include <windows.h>

#include <string>

namespace movietest {

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

// A screenshot kept under the build's artefacts/movie folder.
bool KeepScreenshot(const std::string& name);

}  // namespace movietest
