// What the look, the splash and the main frame need of the rest of the
// shell (folders, settings, sounds, the main loop, numbered windows, rooms,
// users, the message box, printing and the board view) reaches it through
// this one table of functions. Every entry starts with a safe default, so
// the frame works on its own; start-up points the entries at the modules
// that own them.
#pragma once

#include <windows.h>

struct FrameLinks {
  // Program instance, whose resources hold "PAL", "SPLASH", the menus and
  // the strings. Default: the executable.
  HINSTANCE (*programInstance)();
  // Program folder without a trailing backslash. Default: the executable's.
  const char* (*programFolder)();

  // Settings: the "WindowClose" sound switch. Default off.
  int (*windowCloseSoundOn)();

  // Sounds. playGameSound(n) plays game sound n; reacquireSoundDevice
  // answers 1 when the device is the program's again. Defaults: nothing,
  // and the device always comes back.
  void (*playGameSound)(int sound);
  int (*reacquireSoundDevice)();
  void (*releaseSoundDevice)();
  void (*stopVoiceClip)();

  // Main loop: accelerators on or off, the idle level.
  void (*enableAccelerators)(int enable);
  void (*setIdleLevel)(int level);

  // Numbered windows. storedWindowRect answers 1 with the stored rectangle
  // of window `id` (default: none stored, so the frame takes 800 x 600);
  // screenSize gives the screen size the table keeps (default: the
  // system's); followFrame lets the table follow the frame after a move or resize.
  void (*recordNumberedWindow)(int id, HWND window);
  int (*storedWindowRect)(int id, RECT* out);
  void (*screenSize)(int* width, int* height);
  void (*setLayoutReset)(int reset);
  void (*followFrame)(HWND frame, const WINDOWPOS* pos);
  void (*postToNumberedWindows)(UINT message, WPARAM wParam, LPARAM lParam);  // windows 4..27
  void (*showNumberedWindow)(int id, int showCommand);
  void (*enableNumberedWindows)(int enable);  // windows 5..26 and 2, the navigation bar

  // Rooms: the current room number, its board window (or null), the
  // database window's look at the frame's messages (room 5 only), and the
  // main menu commands (1 when the command was one of them).
  int (*currentRoom)();
  HWND (*roomBoardWindow)();
  void (*databaseHook)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  int (*mainMenuCommand)(HWND window, int id);

  // Users: whether one is logged in, and saving the user's window layout.
  int (*userLoggedIn)();
  void (*saveUserLayout)();

  // The program-wide message box: the button answer (IDYES ...). Default:
  // the system box with caption string 3.
  int (*messageBox)(HWND owner, const char* text, UINT flags);

  // The printing front end takes the program palette. Default: nothing.
  void (*setPrintPalette)(HPALETTE palette);
  // The board view's sprite canvas takes a 256-entry colour table.
  void (*setBoardCanvasColours)(void* boardView, const RGBQUAD* table);
};

// The process's one table.
FrameLinks& GetFrameLinks();
// Puts every entry back to its default (tests).
void ResetFrameLinks();
