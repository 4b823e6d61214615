// Bars, frames and tiles built from bitmap pieces (PackedDib, 8-bit palette
// indices): a bar is a first piece, a middle piece repeated and a last
// piece along one axis; a frame is eight pieces around a window.
//
// Interface: PaintBarOnDC, TileDibOnDC, PaintFrameSet (BuildBarDib, which
// composes into a bitmap, is in bardib.h).
#pragma once

#include <windows.h>

#include "bardib.h"
#include "ccdefaults.h"

// Draws a bar on a DC inside the rectangle. 1, or 0 for a null DC or
// rectangle or when all three pieces are null.
int PaintBarOnDC(HDC dc, const RECT* rect, PackedDib* first, PackedDib* middle, PackedDib* last,
                 int vertical);
// Covers the rectangle with copies of the tile from its top-left corner;
// the last column and row are cut to the rectangle.
void TileDibOnDC(HDC dc, PackedDib* tile, const RECT* rect);
// Draws the frame on the window's whole-window DC with the palette selected.
void PaintFrameSet(HWND window, const RECT* windowRect, const FrameSet* frame, HPALETTE palette);
