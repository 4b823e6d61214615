#include "board.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "movegen.h"
#include "position_setup.h"

namespace {

Board FromFen(const char* fen, int* side = nullptr) {
  Board b;
  int s = 0;
  EXPECT_TRUE(SetupPositionFromFen(fen, &b, &s)) << fen;
  if (side) *side = s;
  return b;
}

int Sq(const char* name) { return MakeSquare('8' - name[1], name[0] - 'a'); }

TEST(Board, SquareNumbering) {
  EXPECT_EQ(Sq("a8"), 0);
  EXPECT_EQ(Sq("h8"), 7);
  EXPECT_EQ(Sq("e8"), 4);
  EXPECT_EQ(Sq("a1"), 112);
  EXPECT_EQ(Sq("e1"), 116);
  EXPECT_EQ(Sq("h1"), 119);
  EXPECT_FALSE(OnBoard(8));
  EXPECT_FALSE(OnBoard(-1));
  EXPECT_FALSE(OnBoard(128));
  EXPECT_FALSE(OnBoard(255));
}

TEST(Board, ClearAndInitialState) {
  Board b;
  std::memset(b.sq, 0x5A, sizeof b.sq);
  ClearBoard(&b);
  for (int i = 0; i < 128; ++i) {
    uint8_t expected = (i == 8 || i == 9 || i == 10) ? 255 : 0;
    EXPECT_EQ(b[i], expected) << "byte " << i;
  }

  SetInitialBoard(&b);
  EXPECT_EQ(b[8], 116);
  EXPECT_EQ(b[9], 4);
  EXPECT_EQ(b[10], 255);
  EXPECT_EQ(b[11], 15);
  const uint8_t rank8[8] = {34, 36, 35, 33, 32, 35, 36, 34};
  for (int f = 0; f < 8; ++f) {
    EXPECT_EQ(b[f], rank8[f]);
    EXPECT_EQ(b[16 + f], 37);
    EXPECT_EQ(b[96 + f], 21);
    EXPECT_EQ(b[112 + f], rank8[f] - 16);
  }
  for (int i = 12; i < 16; ++i) EXPECT_EQ(b[i], 0);
  EXPECT_TRUE(IsInitialBoard(&b));
  b[12] = 1;  // a puzzle's note in a free byte makes it a different board
  EXPECT_FALSE(IsInitialBoard(&b));

  EXPECT_FALSE(ResetBoard(nullptr));
  EXPECT_TRUE(ResetBoard(&b));
  EXPECT_TRUE(IsInitialBoard(&b));
  Board c;
  EXPECT_FALSE(CopyBoard(nullptr, &b));
  EXPECT_FALSE(CopyBoard(&c, nullptr));
  EXPECT_TRUE(CopyBoard(&c, &b));
  EXPECT_EQ(0, std::memcmp(b.sq, c.sq, 128));
}

TEST(Board, FinishSetupDerivesKingsAndCastling) {
  struct Case {
    const char* fen;
    uint8_t rights;
    int whiteKing, blackKing;
  };
  const Case cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w - -", 15, 116, 4},
      {"r3k3/8/8/8/8/8/8/4K2R w - -", 1 | 8, 116, 4},
      {"4k2r/8/8/8/8/8/8/R3K3 w - -", 2 | 4, 116, 4},
      {"r2k3r/8/8/8/8/8/8/R2K3R w - -", 0, 115, 3},  // kings off their home squares
      {"n3k2b/8/8/8/8/8/8/B3K2N w - -", 0, 116, 4},  // no rooks in the corners
      {"8/8/8/8/8/8/8/R6R w - -", 0, 255, 255},      // no kings at all
  };
  for (const Case& c : cases) {
    Board b = FromFen(c.fen);
    b[CASTLING_RIGHTS] = 0xFF;
    b[EN_PASSANT_SQUARE] = 50;
    FinishBoardSetup(&b);
    EXPECT_EQ(b[CASTLING_RIGHTS], c.rights) << c.fen;
    EXPECT_EQ(b[WHITE_KING_SQUARE], c.whiteKing) << c.fen;
    EXPECT_EQ(b[BLACK_KING_SQUARE], c.blackKing) << c.fen;
    EXPECT_EQ(b[EN_PASSANT_SQUARE], 255) << c.fen;
  }
}

TEST(Board, FindAttackersCountsBatteries) {
  // Rook d2 with the queen behind it on d1, target d7.
  Board b = FromFen("4k3/3p4/8/8/8/8/3R4/3QK3 w - -");
  uint8_t last = 0;
  EXPECT_EQ(FindAttackers(&b, Sq("d7"), WHITE, 2, &last), 2);
  EXPECT_EQ(last, Sq("d1"));
  EXPECT_EQ(FindAttackers(&b, Sq("d7"), WHITE, 1, &last), 1);
  EXPECT_EQ(last, Sq("d2"));
  EXPECT_EQ(FindAttackers(&b, Sq("d7"), WHITE, 0, &last), 2);

  struct Case {
    const char* square;
    int colour;
    int count;
    const char* last;  // null: none
  };
  // Pawn e4 with bishop f3 behind it, knight c1, king e1; black pawn d5.
  b = FromFen("4k3/8/8/3p4/4P3/5B2/8/2N1K3 w - -");
  const Case cases[] = {
      {"d5", WHITE, 2, "f3"},     // pawn, and the bishop behind it
      {"d3", WHITE, 1, "c1"},     // knight step
      {"e3", WHITE, 0, nullptr},  // king two squares away
      {"e5", WHITE, 0, nullptr},  // pawns do not take straight ahead
      {"e4", BLACK, 1, "d5"},    {"c4", BLACK, 1, "d5"}, {"d4", BLACK, 0, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindAttackers(&b, Sq(c.square), c.colour, 0, &last), c.count) << c.square;
    EXPECT_EQ(last, c.last ? Sq(c.last) : NO_SQUARE) << c.square;
    EXPECT_EQ(IsSquareAttacked(&b, Sq(c.square), c.colour), c.count > 0) << c.square;
  }
  EXPECT_EQ(FindAttackers(&b, 8, WHITE, 0, &last), 0);  // off-board target
  EXPECT_EQ(last, NO_SQUARE);
}

TEST(Board, PawnAttackDirections) {
  struct Case {
    int type, colour, direction, distance;
    bool attacks;
  };
  const Case cases[] = {
      {PAWN, WHITE, 6, 1, true},    {PAWN, WHITE, 7, 1, true},    {PAWN, WHITE, 5, 1, false},
      {PAWN, WHITE, 8, 1, false},   {PAWN, BLACK, 5, 1, true},    {PAWN, BLACK, 8, 1, true},
      {PAWN, BLACK, 6, 1, false},   {PAWN, WHITE, 6, 2, false},   {KING, WHITE, 1, 1, true},
      {KING, WHITE, 1, 2, false},   {ROOK, BLACK, 4, 7, true},    {ROOK, BLACK, 5, 1, false},
      {BISHOP, WHITE, 8, 3, true},  {BISHOP, WHITE, 2, 1, false}, {QUEEN, BLACK, 3, 6, true},
      {KNIGHT, WHITE, 1, 1, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CanAttackFrom(c.type, c.colour, c.direction, c.distance), c.attacks)
        << c.type << " " << c.colour << " " << c.direction << " " << c.distance;
}

TEST(Board, CheckNeedsAKing) {
  Board b;
  ClearBoard(&b);
  EXPECT_FALSE(IsSideInCheck(&b, WHITE));
  EXPECT_FALSE(IsSideInCheck(&b, BLACK));
  b = FromFen("4k3/8/8/8/8/8/8/4R1K1 b - -");
  EXPECT_TRUE(IsSideInCheck(&b, BLACK));
  EXPECT_FALSE(IsSideInCheck(&b, WHITE));
}

TEST(Board, UpdateCastlingRightsByHomeSquare) {
  struct Case {
    int from, to;
    uint8_t left;
  };
  const Case cases[] = {
      {Sq("a8"), Sq("a5"), 15 & ~8}, {Sq("e8"), Sq("e7"), 15 & ~12}, {Sq("h8"), Sq("h1"), 15 & ~5},
      {Sq("a1"), Sq("a2"), 15 & ~2}, {Sq("e1"), Sq("f1"), 15 & ~3},  {Sq("h1"), Sq("h2"), 15 & ~1},
      {Sq("b2"), Sq("a8"), 15 & ~8}, {Sq("d4"), Sq("d5"), 15},
  };
  for (const Case& c : cases) {
    Board b;
    SetInitialBoard(&b);
    UpdateCastlingRights(&b, c.from, c.to);
    EXPECT_EQ(b[CASTLING_RIGHTS], c.left) << c.from << "-" << c.to;
  }
}

// Every legal move of these positions (castling both ways, en passant,
// promotions, captures of rooks at home) is made and taken back: all 128
// bytes come back.
TEST(Board, MakeUnmakeRestoresEveryByte) {
  const char* fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 b kq - 0 1",
      "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
      "1r2k2r/P6P/8/8/2pP4/8/p6p/R3K2R b KQk d3",
  };
  for (const char* fen : fens) {
    int side = 0;
    Board b = FromFen(fen, &side);
    const Board before = b;
    MoveRecord list[kMoveListRoom];
    int n = GenerateLegalMoves(&b, list, nullptr, side);
    ASSERT_GT(n, 0);
    for (int i = 0; i < n; ++i) {
      MoveRecord m = list[i];
      MakeMove(&m, &b);
      EXPECT_EQ(b[KingSquareByte(side)] == NO_SQUARE, false);
      EXPECT_EQ(b[b[KingSquareByte(side)]], side + KING) << fen << " move " << i;
      UnmakeMove(&m, &b);
      ASSERT_EQ(0, std::memcmp(before.sq, b.sq, 128)) << fen << " move " << i;
    }
  }
}

TEST(Board, EnPassantMadeAndUnmade) {
  Board b = FromFen("4k3/3p4/8/4P3/8/8/8/4K3 b - -");
  MoveRecord push{};
  push.from = static_cast<uint8_t>(Sq("d7"));
  push.to = static_cast<uint8_t>(Sq("d5"));
  EXPECT_EQ(MakeMove(&push, &b), 0);
  EXPECT_EQ(b[EN_PASSANT_SQUARE], Sq("d5"));

  MoveRecord list[kMoveListRoom];
  int n = GenerateLegalMoves(&b, list, nullptr, WHITE);
  int found = -1;
  for (int i = 0; i < n; ++i)
    if (list[i].from == Sq("e5") && list[i].to == Sq("d6")) found = i;
  ASSERT_GE(found, 0);
  EXPECT_EQ(list[found].flags, 0x108);

  const Board before = b;
  EXPECT_EQ(MakeMove(&list[found], &b), BLACK + PAWN);
  EXPECT_EQ(b[Sq("d5")], 0);
  EXPECT_EQ(b[Sq("d6")], WHITE + PAWN);
  EXPECT_EQ(list[found].captureSquare, Sq("d5"));
  EXPECT_EQ(list[found].capturedPiece, BLACK + PAWN);
  UnmakeMove(&list[found], &b);
  EXPECT_EQ(0, std::memcmp(before.sq, b.sq, 128));
  EXPECT_EQ(b[Sq("d5")], BLACK + PAWN);
}

TEST(Board, MakeMoveIgnoresSquaresOffTheBoard) {
  Board b;
  SetInitialBoard(&b);
  const Board before = b;
  MoveRecord bad{};
  bad.from = 255;
  bad.to = Sq("e4");
  EXPECT_EQ(MakeMove(&bad, &b), 0);
  bad.from = Sq("e2");
  bad.to = 0x78;
  EXPECT_EQ(MakeMove(&bad, &b), 0);
  UnmakeMove(&bad, &b);
  EXPECT_EQ(0, std::memcmp(before.sq, b.sq, 128));
}

TEST(BoardHash, FixedDistinctTable) {
  std::set<uint32_t> seen;
  for (int colour : {WHITE, BLACK})
    for (int type = KING; type <= PAWN; ++type)
      for (int row = 0; row < 8; ++row)
        for (int file = 0; file < 8; ++file) {
          uint32_t key = BoardHashKey(colour + type, MakeSquare(row, file));
          EXPECT_LT(key, 0x80000000u);
          seen.insert(key);
        }
  EXPECT_EQ(seen.size(), 768u);

  // Stored in played moves and compared later: the value never changes.
  Board b;
  SetInitialBoard(&b);
  EXPECT_EQ(ComputeBoardHash(&b), 0x226E36B0u);
}

TEST(BoardHash, PiecesOnlyAndTranspositions) {
  Board a = FromFen("rnbqkbnr/pppppppp/8/8/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq e3");
  Board b = FromFen("rnbqkbnr/pppppppp/8/8/4P3/5N2/PPPP1PPP/RNBQKB1R w - -");
  EXPECT_EQ(ComputeBoardHash(&a), ComputeBoardHash(&b));
  Board c = FromFen("rnbqkbnr/pppppppp/8/8/4P3/5N2/PPPP1PPP/RNBQKBR1 w - -");
  EXPECT_NE(ComputeBoardHash(&a), ComputeBoardHash(&c));
}

}  // namespace
