// The position-search board "SBoard" and its piece box "SPiece": a small
// flat board on which pieces are set up by dragging, that slides a moved
// piece on a helper thread, and the boxes the pieces are dragged from.
//
// Interface: the board's messages, RegisterSearchBoardClasses,
// SetSearchBoardAnimationSpeed, SetSearchBoardPalette,
// WaitForSearchBoardSlide.
#pragma once

#include <windows.h>

enum : UINT {
  SBM_SETPOSITION = 0x8064,   // lParam 64 piece codes (White 1-6, Black 9-14)
  SBM_UPDATE = 0x8065,        // redraws the squares that changed
  SBM_SLIDE = 0x8066,         // wParam from | to << 8 | code << 16; returns the done event
  SBM_STOPSLIDE = 0x8067,     // wParam non-zero stops; returns 1 while a slide runs
  SBM_FLIP = 0x8068,
  SBM_SETPIECESET = 0x8069,   // wParam the bitmap name, lParam the module
  SBM_GETPOSITION = 0x806A,   // lParam 64 bytes
  SBM_SETEDITABLE = 0x806B,
  SBM_DROP = 0x806C,          // to the parent: wParam code << 16 | target << 8 | source; lParam 2-byte answer
  SBM_STARTDRAG = 0x806D,     // wParam the code, lParam four LONGs: image x, y, pointer x, y
  SBM_SLIDEDONE = 0x806E,     // to the parent after a slide that was not stopped
  SBM_PIECEBITMAP = 0x8082,   // wParam code | square << 16; returns a new bitmap
  SPM_SETBITMAP = 0x808C,     // piece box: wParam the bitmap
  SPM_PRESSED = 0x808D,       // piece box to its parent: wParam the box, lParam the point
};

constexpr char kSearchBoardClass[] = "SBoard";
constexpr char kPieceBoxClass[] = "SPiece";

bool RegisterSearchBoardClasses(HINSTANCE instance);
// The program's animation speed: 0 or below as fast as the board can draw
// (-2 two pixels a step), above 0 that many steps a second.
void SetSearchBoardAnimationSpeed(int speed);
// The program palette for the bevelled frames' palette indices; without one
// the frames take the system's 3D colours.
void SetSearchBoardPalette(HPALETTE palette);
// Waits for the slide `done` started on `board`, with keyboard and mouse
// button input waking the wait: a key or a left press waiting stops the
// slide. True when it stopped it.
bool WaitForSearchBoardSlide(HWND board, HANDLE done);
