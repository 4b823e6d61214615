// Teaching-mode squares and captured counting.
#include <gtest/gtest.h>

#include "position_setup.h"
#include "teaching_modes.h"

namespace {

Board FromFen(const char* fen) {
  Board b{};
  int side = 0;
  EXPECT_TRUE(SetupPositionFromFen(fen, &b, &side)) << fen;
  return b;
}

TEST(TeachingModes, Kinds) {
  EXPECT_TRUE(IsCoverageMode(5271));
  EXPECT_TRUE(IsCoverageMode(5272));
  EXPECT_FALSE(IsCoverageMode(5269));
  EXPECT_TRUE(IsLegalMovesMode(5262));
  for (int m = 5264; m <= 5269; ++m) EXPECT_TRUE(IsPieceTintMode(m));
  EXPECT_FALSE(IsPieceTintMode(5261));
  int side;
  uint32_t flag;
  ASSERT_TRUE(CoverageSide(5272, &side, &flag));
  EXPECT_EQ(side, WHITE);
  EXPECT_EQ(flag, 2u);
  ASSERT_TRUE(CoverageSide(5271, &side, &flag));
  EXPECT_EQ(flag, 4u);
  EXPECT_FALSE(CoverageSide(5266, &side, &flag));
}

TEST(TeachingModes, PinnedKnightIsListed) {
  Board pin = FromFen("4k3/8/8/8/1b6/8/3N4/4K3 w - - 0 1");
  std::string squares = TeachingModeSquares(TEACH_PINNED, pin);
  EXPECT_NE(squares.find("d2"), std::string::npos) << squares;
  EXPECT_EQ(TeachingModeSquares(TEACH_OFF, pin), "");
  std::string covered = CoveredSquares(FromFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"), WHITE);
  EXPECT_NE(covered.find("a8"), std::string::npos);
  EXPECT_EQ(covered.find("h8"), std::string::npos);
}

TEST(CapturedPieces, Counting) {
  int32_t n[2][6];
  Board empty{};
  CountCapturedPieces(n, empty);
  for (auto& row : n)
    for (int32_t v : row) EXPECT_EQ(v, 0);
  // White has promoted a queen and kept every other piece: one pawn fewer.
  CountCapturedPieces(n, FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPP1/RNBQKBNQ w - - 0 1"));
  EXPECT_EQ(n[0][1], 0);
  EXPECT_EQ(n[0][2], 1);  // the h1 rook gave way to the queen
  EXPECT_EQ(n[0][5], 0);
  Board promoted = FromFen("rnbqkbnr/pppppppp/8/8/8/Q7/PPPPPPP1/RNBQKBNR w - - 0 1");
  CountCapturedPieces(n, promoted);
  EXPECT_EQ(n[0][1], 0);  // no negative queen count
  EXPECT_EQ(n[0][5], 0);  // the eighth pawn is the second queen
  Board lost = FromFen("rnbqkbnr/pppppppp/8/8/8/Q7/PPPPPP2/RNBQKBNR w - - 0 1");
  CountCapturedPieces(n, lost);
  EXPECT_EQ(n[0][5], 1);
  EXPECT_EQ(n[1][5], 0);
}

}  // namespace
