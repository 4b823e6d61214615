// The "Solve For Mate" window (dialog 142, modeless): the settings pane
// (141) asks how many moves ahead the side to move looks for a forced mate,
// the engine link's mate search runs while the status text shows its depth
// and nodes, and a mate found is played into the game one "Move" click at
// a time from the result pane (143). While it is open the game clock is
// paused, the main window's menu, keys and panels are off and the board
// takes no move.
//
// Interface: OpenSolveForMateDialog, SolveForMateDlgProc,
// SolveSettingsPaneProc, SolveResultPaneProc, BoardLockCallback,
// SolveForMateServices, SetSolveForMateServices, dialog and control ids.
#pragma once

#include <windows.h>

#include <cstdint>

struct GameRecord;

constexpr int kSolveDialog = 142;
constexpr int kSolveSettingsPane = 141;
constexpr int kSolveResultPane = 143;
constexpr int kSolveStatusText = 5274;
constexpr int kSolvePanePlace = 5275;
constexpr int kSolvePrompt = 5276;
constexpr int kSolveMoves = 5273;
constexpr int kSolveMoveButton = IDOK;  // on the result pane

// Opens the window over the game with the settings pane first; 1, or 0
// when it cannot be made (one window at a time).
int OpenSolveForMateDialog(GameRecord* game);
INT_PTR CALLBACK SolveForMateDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SolveSettingsPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SolveResultPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
// The room board's owner callback while the window is open: the board
// follows the game's events and takes nothing else.
LRESULT BoardLockCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam, intptr_t data);
// The window while it is open.
HWND GetSolveForMateWindow();

// The engine link's mate search; null members take the program's own
// (SolveForMate, CancelSolveForMate).
struct SolveForMateServices {
  int (*start)(GameRecord* game, HWND window);
  int (*stop)(GameRecord* game);
};
void SetSolveForMateServices(const SolveForMateServices* services);  // null: the program's own
