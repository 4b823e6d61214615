// Set-up edits, the material test and the Complete Board Setup choices.
#include <gtest/gtest.h>

#include <cstring>

#include "position_edit.h"
#include "position_setup.h"

namespace {

Board FromFen(const char* fen) {
  Board b{};
  int side = 0;
  EXPECT_TRUE(SetupPositionFromFen(fen, &b, &side)) << fen;
  FinishBoardSetup(&b);
  return b;
}

TEST(PositionEdit, MaterialTest) {
  struct Case {
    const char* fen;
    bool impossible;
  } cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", false},
      // Seven pawns and three bishops, two on light squares: the eighth pawn promoted.
      {"4k3/8/8/8/8/8/PPPPPPP1/1BB1KB2 w - - 0 1", false},
      {"4k3/8/8/8/8/8/PPPPPPPP/4KB1B w - - 0 1", true},   // two light bishops beside eight pawns
      {"4k3/8/8/8/P7/8/PPPPPPPP/4K3 w - - 0 1", true},    // a ninth pawn
      {"4k3/8/8/8/8/8/PPPPPP2/QQQ1K3 w - - 0 1", false},  // two promoted queens, two pawns gone
      {"4k3/8/8/8/8/8/PPPPPPP1/QQQ1K3 w - - 0 1", true},  // two promoted queens, one pawn gone
      {"QQQQQQQQ/QQ6/8/8/8/8/8/4K2k w - - 0 1", true},    // ten queens
      {"QQQQQQQQ/Q7/8/8/8/8/8/4K2k w - - 0 1", false},   // nine queens
      {"rnbqkbnr/pppppppp/8/8/8/8/8/4K3 w - - 0 1", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSetUpMaterialImpossible(FromFen(c.fen)), c.impossible) << c.fen;
}

TEST(PositionEdit, CountsOnlyTheSquares) {
  Board b = FromFen("4k3/8/8/8/8/8/PPPPPPPP/4K3 w - - 0 1");
  b[12] = 77, b[13] = 21, b[0x7F] = 3;  // callers' bytes beside the squares
  PieceCounts n = CountBoardPieces(b);
  EXPECT_EQ(n.white, 9);
  EXPECT_EQ(n.black, 1);
}

TEST(PositionEdit, EditsAndTheirCodes) {
  Board b{};
  ClearSetUpBoard(&b);
  PieceCounts n = CountBoardPieces(b);
  EXPECT_EQ(n.white + n.black, 2);
  EXPECT_EQ(b[MakeSquare(7, 4)], WHITE + KING);
  EXPECT_EQ(b[MakeSquare(0, 4)], BLACK + KING);
  EXPECT_EQ(b[WHITE_KING_SQUARE], MakeSquare(7, 4));

  EXPECT_EQ(RemoveSetUpPiece(&b, 7, 4), SETUP_REMOVE_KING);
  EXPECT_EQ(RemoveSetUpPiece(&b, 4, 4), SETUP_REMOVE_EMPTY);
  EXPECT_EQ(AddSetUpPiece(&b, WHITE + PAWN, 0, 3), SETUP_ADD_PAWN_EIGHTH);
  EXPECT_EQ(AddSetUpPiece(&b, BLACK + PAWN, 7, 3), SETUP_ADD_PAWN_FIRST);
  EXPECT_EQ(AddSetUpPiece(&b, WHITE + QUEEN, 7, 4), SETUP_ADD_ONTO_KING);
  for (int f = 0; f < 8; ++f) EXPECT_EQ(AddSetUpPiece(&b, WHITE + PAWN, 6, f), SETUP_OK);
  Board before = b;
  EXPECT_EQ(AddSetUpPiece(&b, WHITE + PAWN, 4, 0), SETUP_ILLEGAL);
  EXPECT_EQ(std::memcmp(&b, &before, sizeof b), 0);
  EXPECT_EQ(MoveSetUpPiece(&b, 6, 0, 0, 0), SETUP_PAWN_TO_EIGHTH);
  EXPECT_EQ(MoveSetUpPiece(&b, 6, 0, 7, 0), SETUP_PAWN_TO_FIRST);
  EXPECT_EQ(MoveSetUpPiece(&b, 6, 0, 6, 0), SETUP_NOTHING);
  EXPECT_EQ(MoveSetUpPiece(&b, 4, 4, 3, 3), SETUP_MOVE_EMPTY);
  EXPECT_EQ(MoveSetUpPiece(&b, 7, 4, 0, 4), SETUP_MOVE_ONTO_KING);
  EXPECT_EQ(MoveSetUpPiece(&b, 6, 0, 4, 0), SETUP_OK);
  EXPECT_EQ(MoveSetUpPiece(&b, 7, 4, 7, 6), SETUP_OK);  // a king moves anywhere free
  EXPECT_EQ(b[WHITE_KING_SQUARE], MakeSquare(7, 6));
  // Replacing a piece by itself costs nothing; a 33rd piece is refused.
  ClearSetUpBoard(&b);
  int added = 0;
  for (int row = 1; row < 7; ++row)
    for (int f = 0; f < 8; ++f)
      if (AddSetUpPiece(&b, (row < 4 ? BLACK : WHITE) + PAWN, row, f) == SETUP_OK) ++added;
  EXPECT_EQ(added, 16);
  EXPECT_EQ(AddSetUpPiece(&b, WHITE + QUEEN, 7, 0), SETUP_OK);
  EXPECT_EQ(AddSetUpPiece(&b, WHITE + QUEEN, 7, 0), SETUP_OK);
  EXPECT_EQ(SetUpResultText(11), std::string("You cannot set up an illegal position."));
  EXPECT_EQ(SetUpResultText(12), std::string());
}

TEST(PositionEdit, TooManyPieces) {
  Board b = FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(AddSetUpPiece(&b, WHITE + QUEEN, 4, 4), SETUP_TOO_MANY);
  EXPECT_EQ(AddSetUpPiece(&b, WHITE + QUEEN, 6, 0), SETUP_OK);  // over a pawn: still 32
  EXPECT_EQ(AddSetUpPiece(&b, WHITE + QUEEN, 7, 0), SETUP_ILLEGAL);  // a third queen: no pawn left for it
}

TEST(PositionEdit, CompleteSetupChoices) {
  CompleteSetupChoices c;
  Board both = FromFen("4k3/4R3/8/8/8/8/4r3/4K3 w - - 0 1");
  EXPECT_FALSE(InitCompleteSetupChoices(both, &c));
  Board white = FromFen("4k3/8/8/8/8/8/4r3/R3K2R w - - 0 1");
  ASSERT_TRUE(InitCompleteSetupChoices(white, &c));
  EXPECT_TRUE(c.whiteToMove);
  EXPECT_FALSE(c.blackEnabled);
  EXPECT_TRUE(c.castleEnabled[0] && c.castleEnabled[1]);
  EXPECT_FALSE(c.castleEnabled[2] || c.castleEnabled[3]);
  Board black = FromFen("r3k2r/8/8/8/8/8/8/4K2R w - - 0 1");
  black[MakeSquare(3, 4)] = WHITE + ROOK;
  ASSERT_TRUE(InitCompleteSetupChoices(black, &c));
  EXPECT_FALSE(c.whiteToMove);
  EXPECT_FALSE(c.whiteEnabled);
  Board all = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  ASSERT_TRUE(InitCompleteSetupChoices(all, &c));
  for (bool e : c.castleEnabled) EXPECT_TRUE(e);
  c.castleChecked[3] = false;  // "Black short castle OK"
  EXPECT_EQ(ApplyCompleteSetupChoices(c, &all), WHITE);
  EXPECT_EQ(all[CASTLING_RIGHTS], WHITE_LONG | WHITE_SHORT | BLACK_LONG);
  EXPECT_EQ(all[EN_PASSANT_SQUARE], NO_SQUARE);
}

}  // namespace
