// Checkmate exercises over many seeds, checked with the rules core.
#include "checkmate_setups.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "movegen.h"

namespace {

int Count(const Board& b, int piece) {
  int n = 0;
  for (int s = 0; s < 128; ++s) n += OnBoard(s) && b[s] == piece;
  return n;
}

TEST(CheckmateSetups, EveryExerciseOverManySeeds) {
  const struct {
    int queens, rooks, bishops, knights, enemyPiece;
  } pieces[kCheckmateExercises] = {
      {1, 0, 0, 0, -1},     {0, 1, 0, 0, -1},   {0, 0, 1, 1, -1}, {1, 0, 0, 0, KNIGHT},
      {0, 1, 0, 0, KNIGHT}, {1, 0, 0, 0, ROOK}, {0, 0, 2, 0, -1},
  };
  int restartedTotal[kCheckmateExercises] = {};
  for (int exercise = 0; exercise < kCheckmateExercises; ++exercise) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
      RandomSource random(seed);
      Board b;
      int restarts = 0;
      ASSERT_EQ(MakeCheckmatePosition(exercise, WHITE, &b, random, &restarts), 99);
      restartedTotal[exercise] += restarts;
      const std::string where = "exercise " + std::to_string(exercise) + " seed " + std::to_string(seed);
      const int king = b[BLACK_KING_SQUARE];
      ASSERT_EQ(b[king], BLACK + KING) << where;
      EXPECT_TRUE(SquareRow(king) >= 2 && SquareRow(king) <= 5 && SquareFile(king) >= 2 &&
                  SquareFile(king) <= 5)
          << where;
      EXPECT_EQ(b[b[WHITE_KING_SQUARE]], WHITE + KING) << where;
      EXPECT_FALSE(IsSideInCheck(&b, WHITE)) << where;
      EXPECT_FALSE(IsSideInCheck(&b, BLACK)) << where;
      const auto& p = pieces[exercise];
      EXPECT_EQ(Count(b, WHITE + QUEEN), p.queens) << where;
      EXPECT_EQ(Count(b, WHITE + ROOK), p.rooks) << where;
      EXPECT_EQ(Count(b, WHITE + BISHOP), p.bishops) << where;
      EXPECT_EQ(Count(b, WHITE + KNIGHT), p.knights) << where;
      int bishopColours = 0;
      int enemySquare = -1;
      for (int s = 0; s < 128; ++s) {
        if (!OnBoard(s)) continue;
        if (b[s] == WHITE + BISHOP) bishopColours |= 1 << ((SquareRow(s) + SquareFile(s)) % 2);
        if (b[s] && (b[s] & COLOUR_MASK) == BLACK && (b[s] & TYPE_MASK) != KING) enemySquare = s;
      }
      if (exercise == 6) {
        EXPECT_EQ(bishopColours, 3) << where;
      }
      if (p.enemyPiece < 0) {
        EXPECT_EQ(enemySquare, -1) << where;
        continue;
      }
      ASSERT_GE(enemySquare, 0) << where;
      EXPECT_EQ(b[enemySquare], BLACK + p.enemyPiece) << where;
      // No mate in one, and no check that also attacks the enemy piece.
      MoveRecord list[kMoveListRoom];
      uint16_t n = 0;
      GenerateLegalMoves(&b, list, &n, WHITE);
      for (int i = 0; i < n; ++i) {
        EXPECT_FALSE(list[i].flags & MOVE_MATE) << where;
        if (!(list[i].flags & MOVE_CHECK)) continue;
        Board after = b;
        MakeMove(&list[i], &after);
        EXPECT_EQ(FindAttackers(&after, enemySquare, WHITE, 0, nullptr), 0) << where;
      }
    }
  }
  // Exercises 3 to 5 do start again now and then (exercise 4 too, now that
  // its rook is capped); the others never need to.
  EXPECT_GT(restartedTotal[3] + restartedTotal[5], 0);
  EXPECT_EQ(restartedTotal[0] + restartedTotal[1] + restartedTotal[2] + restartedTotal[6], 0);
}

// Exercise 4 draws its rook a bounded number of times: on a board where no
// square will do, the placement gives up (and the set-up starts again)
// instead of drawing for ever.
TEST(CheckmateSetups, OwnPieceIsCapped) {
  Board b;
  ClearBoard(&b);
  const int knight = MakeSquare(1, 3), open = MakeSquare(1, 4);  // d7, and e7 beside it
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && s != knight && s != open)
      b[s] = static_cast<uint8_t>(BLACK + (SquareRow(s) == 0 || SquareRow(s) == 7 ? BISHOP : PAWN));
  b[knight] = BLACK + KNIGHT;
  b[MakeSquare(3, 3)] = BLACK + KING;
  b[MakeSquare(7, 7)] = WHITE + KING;
  FinishBoardSetup(&b);
  const Board before = b;
  for (int exercise : {3, 4, 5}) {
    RandomSource random(3);
    EXPECT_EQ(PlaceCheckmatePiece(&b, random, exercise, WHITE, knight), -1) << exercise;
    EXPECT_EQ(0, std::memcmp(&b, &before, sizeof b));
  }
}

TEST(CheckmateSetups, SameSeedSamePositionAndUnknownExercises) {
  for (int exercise = 0; exercise < kCheckmateExercises; ++exercise) {
    RandomSource a(77), b(77);
    Board x, y;
    MakeCheckmatePosition(exercise, WHITE, &x, a);
    MakeCheckmatePosition(exercise, WHITE, &y, b);
    EXPECT_EQ(0, std::memcmp(&x, &y, sizeof x));
  }
  RandomSource r(1);
  Board b;
  EXPECT_EQ(MakeCheckmatePosition(7, WHITE, &b, r), -1);
  EXPECT_EQ(MakeCheckmatePosition(-1, WHITE, &b, r), -1);
}

}  // namespace
