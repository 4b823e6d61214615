// Position set-up: the modeless "Set Up Board Position" tool window, which
// takes over the current room's board window while it is open (pieces are
// added, moved and removed on the board itself, each edit checked at once),
// and the modal "Complete Board Setup" dialog that settles the side to move
// and the castling rights.
//
// Interface: SetUpPositionHost, SetSetUpPositionHost, SetUpEndCallback,
// CreateSetUpPositionDialog, CompleteSetupExchange,
// RunCompleteBoardSetupDialog.
#pragma once

#include <windows.h>

#include "board.h"

struct BoardView;

// What the set-up windows need of the program.
class SetUpPositionHost {
 public:
  virtual ~SetUpPositionHost() = default;
  virtual HINSTANCE Instance() = 0;
  virtual HWND MainFrame() = 0;
  virtual BoardView* CurrentBoardView() = 0;
  // Part 0 of the main window's status bar.
  virtual void SetStatusText(const char* text) = 0;
  virtual void ClearStatusText() = 0;
  // The program-wide message box.
  virtual void ShowMessage(const char* text) = 0;
  // A modal dialog with the clock paused.
  virtual INT_PTR RunModalDialog(HWND owner, int resource, DLGPROC procedure, LPARAM parameter) {
    return DialogBoxParamA(Instance(), MAKEINTRESOURCEA(resource), owner, procedure, parameter);
  }
};
void SetSetUpPositionHost(SetUpPositionHost* host);

// result 1: accepted (the board holds the position with king squares and
// castling rights, side 16 White or 32 Black); 2: cancelled (the board is
// back as it was).
using SetUpEndCallback = void (*)(int result, Board* board, int sideToMove);

// Null for a null argument, without a host or board view, or when the
// window cannot be made.
HWND CreateSetUpPositionDialog(Board* board, SetUpEndCallback callback);

struct CompleteSetupExchange {
  Board* board;
  uint8_t sideToMove;
};
// 0 without showing anything when both kings are in check (after saying
// so); else 1 for OK, 0 for Cancel.
int RunCompleteBoardSetupDialog(HWND owner, CompleteSetupExchange* exchange);
