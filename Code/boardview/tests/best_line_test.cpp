// Stepping through the advisor's best line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "best_line.h"

namespace {

Board Initial() {
  Board b{};
  SetInitialBoard(&b);
  return b;
}

TEST(BestLine, StepsThroughAFiveMoveLine) {
  BestLine b;
  Board start = Initial();
  RefreshBestLine(&b, start, WHITE, true, "e4 e5 Nf3 Nc6 Bb5");
  ASSERT_EQ(b.count, 5);
  EXPECT_EQ(b.ply, 5);  // shown at the end of the line
  EXPECT_EQ(b.current[MakeSquare(3, 1)], WHITE + BISHOP);
  StepBestLine(&b, STEP_TO_START);
  EXPECT_EQ(b.ply, 0);
  EXPECT_EQ(std::memcmp(b.current.sq, start.sq, 128), 0);
  b.dirty = 0;
  StepBestLine(&b, STEP_BACK);  // at the start: nothing
  EXPECT_EQ(b.dirty, 0);
  StepBestLine(&b, STEP_FORWARD);
  EXPECT_EQ(b.ply, 1);
  StepBestLine(&b, STEP_TO_END);
  EXPECT_EQ(b.ply, 5);
  b.dirty = 0;
  StepBestLine(&b, STEP_FORWARD);  // at the end: nothing
  EXPECT_EQ(b.ply, 5);
  EXPECT_EQ(b.dirty, 0);
  StepBestLine(&b, STEP_BACK);
  EXPECT_EQ(b.current[MakeSquare(3, 1)], 0);
  EXPECT_EQ(b.current[MakeSquare(7, 5)], WHITE + BISHOP);
}

TEST(BestLine, HoldAndLongLines) {
  BestLine b;
  Board start = Initial();
  RefreshBestLine(&b, start, WHITE, true, "d4 d5");
  b.active = 0;
  RefreshBestLine(&b, start, WHITE, true, "e4 e5 Nf3");
  EXPECT_EQ(b.count, 2);  // held: new lines change nothing
  b.active = 1;
  RefreshBestLine(&b, start, WHITE, true, "e4 e5 Nf3");
  EXPECT_EQ(b.count, 3);
  // Knights shuffling: a 64-move line is cut to 63.
  std::string text;
  const char* cycle[4] = {"Nf3", "Nf6", "Ng1", "Ng8"};
  for (int i = 0; i < 64; ++i) text += std::string(cycle[i % 4]) + " ";
  RefreshBestLine(&b, start, WHITE, true, text.c_str());
  EXPECT_EQ(b.count, 63);
  // No analysis or an unreadable line: the game's position, no line.
  RefreshBestLine(&b, start, WHITE, false, "e4");
  EXPECT_EQ(b.count, 0);
  RefreshBestLine(&b, start, WHITE, true, "Ke2");
  EXPECT_EQ(b.count, 0);
  EXPECT_EQ(std::memcmp(b.current.sq, start.sq, 128), 0);
  EXPECT_EQ(BestLineSquareOrigin(0), 3);
  EXPECT_EQ(BestLineSquareOrigin(7), 136);
}

}  // namespace
