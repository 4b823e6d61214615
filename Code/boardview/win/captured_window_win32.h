// The "Captured" window (numbered window 7): the pieces each side has lost
// in the current game, drawn with the room's piece pictures; it follows the
// game's events and is hidden, not destroyed, when closed.
//
// Interface: CapturedHost, CreateCapturedDialog, SetCapturedDialogWindow,
// DrawCapturedPieces.
#pragma once

#include <windows.h>

struct BoardView;

class CapturedHost {
 public:
  virtual ~CapturedHost() = default;
  virtual BoardView* CurrentBoardView() = 0;
  virtual HWND MainWindow() = 0;
  // The main menu's check mark of "Captured Pieces" (40037).
  virtual void SetMenuCheck(int command, bool checked) = 0;
};

constexpr int kCapturedWindowNumber = 7;
constexpr int kCapturedMenuCommand = 40037;

// -1 for a null owner or instance, else 0 (also when the window could not be made).
int CreateCapturedDialog(HWND owner, HINSTANCE instance, CapturedHost* host);
// Clears numbered window 7 (on destruction).
int SetCapturedDialogWindow(HWND window);
HWND CapturedDialogWindow();
void DrawCapturedPieces(HDC dc, const RECT& client, BoardView* view);
