// The board window's sizing rules.
#include "board_frame.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardFrame, SizingKeepsTheWindowSquare) {
  const BoardRect room{0, 0, 1000, 800};
  const BoardRect current{100, 100, 500, 500};
  struct Case {
    BoardRect proposed;
    BoardRect expected;
  } cases[] = {
      {{100, 100, 520, 506}, {90, 90, 510, 510}},    // the larger change wins, split on both sides
      {{100, 100, 480, 500}, {110, 110, 490, 490}},  // shrinking
      {{100, 100, 500, 700}, {100, 100, 500, 500}},  // growth to 700 leaves the room: refused
      {{100, 100, 100, 500}, {300, 300, 460, 460}},  // never below 160
      {{100, 100, 500, 500}, {100, 100, 500, 500}},  // no change
  };
  for (const Case& c : cases) {
    BoardRect r = KeepSquareWhileSizing(current, c.proposed, room);
    EXPECT_EQ(r.left, c.expected.left) << c.proposed.right << "x" << c.proposed.bottom;
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
    EXPECT_EQ(r.right - r.left, r.bottom - r.top);
  }
}

TEST(BoardFrame, FramedBoardSizesFollowTheWindow) {
  struct Case {
    int width, height, margin;
    FrameBoardSizes expected;
  } cases[] = {
      {420, 400, 14, {400, 368, 46, 23 - 3}},
      {300, 300, 12, {300, 272, 34, 17 - 2}},
      {30, 40, 14, {30, 10, 1, 0}},  // at least 10 across
  };
  for (const Case& c : cases) {
    FrameBoardSizes s = ComputeFrameBoardSizes(c.width, c.height, c.margin);
    EXPECT_EQ(s.side, c.expected.side) << c.width;
    EXPECT_EQ(s.boardSize, c.expected.boardSize) << c.width;
    EXPECT_EQ(s.squareSize, c.expected.squareSize) << c.width;
    EXPECT_EQ(s.pieceInset, c.expected.pieceInset) << c.width;
  }
}

}  // namespace
