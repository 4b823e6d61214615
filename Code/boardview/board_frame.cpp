// The board window's sizing rules.
#include "board_frame.h"

#include <cstdlib>

BoardRect KeepSquareWhileSizing(const BoardRect& current, const BoardRect& proposed, const BoardRect& room) {
  int32_t dw = (proposed.right - proposed.left) - (current.right - current.left);
  int32_t dh = (proposed.bottom - proposed.top) - (current.bottom - current.top);
  int32_t d = (std::abs(dw) >= std::abs(dh) ? dw : dh) / 2;
  BoardRect grown{current.left - d, current.top - d, current.right + d, current.bottom + d};
  if (d > 0 && !(grown.left > room.left && grown.top > room.top && grown.right < room.right &&
                 grown.bottom < room.bottom))
    grown = current;
  if (grown.right - grown.left < kMinBoardSide) grown.right = grown.left + kMinBoardSide;
  if (grown.bottom - grown.top < kMinBoardSide) grown.bottom = grown.top + kMinBoardSide;
  return grown;
}

FrameBoardSizes ComputeFrameBoardSizes(int32_t width, int32_t height, int32_t leftMargin) {
  FrameBoardSizes s{};
  s.side = width < height ? width : height;
  s.boardSize = s.side - 2 * leftMargin - 4;
  if (s.boardSize < 10) s.boardSize = 10;
  s.squareSize = s.boardSize / 8;
  s.pieceInset = s.boardSize / 8 / 2 - s.boardSize / 100;
  return s;
}
