// The Game Status window (numbered window 6): both players' portraits,
// emblems, names, ratings, clocks and time controls, and the current
// game's move list with its seven navigation buttons and 2-second
// auto-play. It owns no game data: it follows the current game through the
// game-event message and the room timer's clock updates.
//
// Interface: CreateGameStatusWindow, DestroyGameStatusWindow,
// ShowGameStatusClocks, EnableGameStatusNavigation,
// EnableGameStatusMoveSelect, LockGameStatus, UnlockGameStatus,
// StopGameStatusTimers, GameStatusControl ids, kGameStatusDialog.
#pragma once

#include <windows.h>

constexpr int kGameStatusDialog = 114;

enum GameStatusControl : int {
  kWhiteEmblem = 30380,
  kBlackEmblem = 30384,
  kMoveList = 1806,
  kNavStart = 20005,     // "<<"
  kNavPlayBack = 20020,  // "<"
  kNavBack = 20030,      // "<|"
  kNavStop = 20035,      // "X"
  kNavForward = 20025,   // "|>"
  kNavPlay = 20010,      // ">"
  kNavEnd = 20000,       // ">>"
  kVariationMenuFirst = 1026,
};
// The auto-play timers: 1 forwards, 2 backwards, every 2 seconds.
constexpr UINT_PTR kAutoPlayForward = 1;
constexpr UINT_PTR kAutoPlayBackward = 2;
constexpr UINT kAutoPlayMs = 2000;

// -1 for a null parent or instance, else 0 (a failed creation leaves no
// window).
int CreateGameStatusWindow(HWND parent, HINSTANCE instance);
int DestroyGameStatusWindow(HWND window);
// The room timer's call (force 0) and the one after every game event.
void ShowGameStatusClocks(HWND window, int force);
void EnableGameStatusNavigation(HWND window, int enable);
void EnableGameStatusMoveSelect(HWND window, int allow);
void LockGameStatus(HWND window);
void UnlockGameStatus(HWND window);
void StopGameStatusTimers(HWND window);

// For tests: the counters of the move list and the shown flag and text of
// a label (side 0 White, 1 Black; item 0 name, 1 rating, 2 clock, 3 time
// control, 4 portrait). False without the window's record.
bool GetGameStatusCounters(HWND window, int* listed, int* shown);
bool GetGameStatusLabel(HWND window, int side, int item, char* text, int size, RECT* rect, bool* shown);
