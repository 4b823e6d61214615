// The teaching screens' seam to the board view's markup player and
// teaching displays. The board view fills it in; until it does (and in
// tests) the lesson plays its own lesson codes and leaves board codes to
// whatever is installed here.
//
// Interface: TeachingBoardSeam, GetTeachingBoardSeam, SetTeachingBoardSeam.
#pragma once

#include <windows.h>

struct TeachingBoardSeam {
  // A board code of a clip (A, B, C, H, N, S, ...) played on the room's
  // board when the voice reaches it (the markup player's dispatch).
  void (*playBoardEvent)(HWND boardWindow, const char* text) = nullptr;
  // Puts the board back as it was before the clip's board codes
  // (`RestoreAfterMarkup`).
  void (*restoreAfterMarkup)(HWND boardWindow) = nullptr;
  // The board's teaching mode (5261 off .. 5272), `SetTeachingMode`.
  void (*setTeachingMode)(HWND boardWindow, int mode) = nullptr;
};

TeachingBoardSeam& GetTeachingBoardSeam();
void SetTeachingBoardSeam(const TeachingBoardSeam& seam);
