// The board window's own sizing rules: a board window stays square while
// the user sizes it, and a framed flat board takes its board, square and
// piece sizes from the window's width.
//
// Interface: BoardRect, KeepSquareWhileSizing, FrameBoardSizes,
// ComputeFrameBoardSizes, kMinBoardSide.
#pragma once

#include <cstdint>

constexpr int kMinBoardSide = 160;

struct BoardRect {
  int32_t left, top, right, bottom;
};

// The rectangle a sizing drag proposes becomes the current one grown (or
// shrunk) by half the larger change on every side. A growth that does not
// stay strictly inside the room's rectangle keeps the current rectangle;
// the result is never below kMinBoardSide on a side.
BoardRect KeepSquareWhileSizing(const BoardRect& current, const BoardRect& proposed, const BoardRect& room);

struct FrameBoardSizes {
  int32_t side;        // the window's side: the smaller of its width and height
  int32_t boardSize;   // pixels across the squares, at least 10
  int32_t squareSize;  // boardSize / 8
  int32_t pieceInset;  // boardSize / 8 / 2 - boardSize / 100
};

// leftMargin: two average character widths of the screen font.
FrameBoardSizes ComputeFrameBoardSizes(int32_t width, int32_t height, int32_t leftMargin);
