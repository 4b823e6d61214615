// What a finished mate search shows and which solution moves may be played.
#include "solve_mate_core.h"

#include <gtest/gtest.h>

#include "position_setup.h"

TEST(SolveForMate, ScoresLinesAndTexts) {
  Board board{};
  int side = WHITE;
  // A back-rank mate in one.
  ASSERT_TRUE(SetupPositionFromFen("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", &board, &side));
  SolveForMateResult r = EvaluateMateSearch(9999, "Ra8", board, side);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.mateIn, 1);
  ASSERT_EQ(r.moves.size(), 1u);
  EXPECT_TRUE(r.moves[0].flags & MOVE_MATE) << "the flags of the legal move";
  EXPECT_EQ(SolveFoundText(r.mateIn),
            "Mate in 1 found.  Use the MOVE button to see the mate and append the moves to the move list.");

  // Black's mate scores are negative; the line's moves stop where one is
  // not legal.
  EXPECT_EQ(EvaluateMateSearch(-9997, "Ra8", board, side).mateIn, 2);
  r = EvaluateMateSearch(9997, "Ra7 h6 Ra9 Kh7", board, side);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.moves.size(), 2u) << "the line stops at Ra9";
  EXPECT_FALSE(EvaluateMateSearch(9899, "Ra8", board, side).found) << "no mate score";
  EXPECT_FALSE(EvaluateMateSearch(9999, "Qd8", board, side).found) << "no legal first move";
  EXPECT_FALSE(EvaluateMateSearch(9999, "", board, side).found);
  EXPECT_EQ(SolveStatusText(3, 123456u), "depth=3, nodes=123456");
  EXPECT_STREQ(kSolveNotFoundText, "No Checkmate found");
}
