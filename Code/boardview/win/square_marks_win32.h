// The square-marks layer of a board scene: a draw callback at the board's
// depth that paints each marked square's outline over the board picture,
// under the pieces.
//
// Interface: MarkLayer, DrawSquareMarks (the callback; user value: the layer).
#pragma once

#include <windows.h>

#include <cstdint>

#include "board_projection.h"
#include "square_marks.h"

struct MarkLayer {
  const BoardProjection* view;
  const SquareMarks* marks;
  COLORREF light;  // the board set's mark colours, from the program palette
  COLORREF dark;
};

// Light squares (a8 light) are refilled with the light colour, framed with
// the dark one, and the other way round; a frame is 4 pixels wide.
void DrawSquareMarks(void* dc, const void* bitmapInfo, void* bits, int high, int low, int left, int top,
                     int right, int bottom, intptr_t user);
