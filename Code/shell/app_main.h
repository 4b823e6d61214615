// The program's entry and the two sequences it runs: start-up, which brings
// the shell, the data, the settings, the windows and the first user up in
// a fixed order, and shut-down, which takes them down again. Calls into
// modules that come later (sound, chess sets, the intro movie, users, the
// lobby's login, the database window, the modeless panels, the board view)
// go through StartupServices, whose defaults are what the program does
// without them: nothing, and success.
//
// With RW_SHELL_TRACE=<file> in the environment every step writes one line
// to that file.
//
// Interface: StartupServices, GetStartupServices, StartApplication,
// CheckSingleInstance, CheckDisplayDepth, LoadStartupData, StopApplication,
// RegisterWindowClasses, ShellTrace.
#pragma once

#include <windows.h>

struct StartupServices {
  int (*startSound)(int mode);  // 1 when the sound system runs
  void (*stopSound)();
  int (*loadChessSets)();  // the chess-set catalogue; 1 when loaded
  void (*unloadChessSets)();
  void (*playIntroMovie)(HWND owner);
  // Users: 1 when known / made / made current.
  int (*findUser)(const char* name);
  int (*setUpNewUser)(const char* name, HWND owner);
  int (*switchUser)(const char* name, HWND owner);
  void (*storeUserOnExit)();
  // The online library's hand-over: 0 and the name when a lobby login waits.
  int (*lobbyLoginName)(char* name, int size);
  void (*createDatabaseWindow)(HWND frame, HINSTANCE instance);
  void (*shutDownDatabaseWindow)();
  int (*createModelessWindows)();
  int (*destroyModelessWindows)();
  int (*registerBoardWindowClass)();
  void (*terminateBoardViews)();
};
StartupServices& GetStartupServices();

int StartApplication(HINSTANCE instance, HINSTANCE previous);
int CheckSingleInstance();
int CheckDisplayDepth();
int LoadStartupData();
void StopApplication();
int RegisterWindowClasses();
// One line to the trace file, when there is one.
void ShellTrace(const char* step);
int RunRookwell(HINSTANCE instance, const char* commandLine);
