// The module's board: castling, en passant, rights, legality codes, move
// descriptors and texts, dates; perft as a check of the move generator.
#include "position.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "texts.h"

using namespace gdbase;

namespace {

int Sq(const char* name) { return (name[1] - '1') * 8 + (name[0] - 'a'); }
uint16_t Mv(const char* m, int promotion = 0) { return MakeMove(Sq(m), Sq(m + 2), promotion); }

// Placement from a FEN-like list "Ke1 Rh1 ke8" (upper case White).
sPosition Place(const char* pieces, bool whiteToMove = true) {
  sPosition p{};
  p.whiteToMove = whiteToMove;
  p.enPassant = kNoSquare;
  const char* letters = "PNBRQK";
  for (const char* s = pieces; *s;) {
    while (*s == ' ') ++s;
    if (!*s) break;
    char c = *s;
    bool white = c >= 'A' && c <= 'Z';
    uint8_t type = static_cast<uint8_t>(std::strchr(letters, white ? c : c - 32) - letters + 1);
    p.squares[Sq(s + 1)] = static_cast<uint8_t>(type | (white ? kWhite : 0));
    s += 3;
  }
  for (auto& c : p.castle) c = 1;
  CheckCastlingRights(&p);
  return p;
}

sPosition After(std::initializer_list<const char*> moves) {
  sPosition p = InitialPosition();
  for (const char* m : moves) {
    EXPECT_TRUE(IsMoveLegal(p, Mv(m))) << m;
    PlayMoveOnPosition(&p, Mv(m));
  }
  return p;
}

uint64_t Perft(sPosition& p, int depth) {
  if (depth == 0) return 1;
  uint64_t nodes = 0;
  int32_t targets[32];
  for (int from = 0; from < 64; ++from) {
    int n = GenerateTargets(p, from, targets);
    for (int i = 0; i < n; ++i) {
      uint16_t m = MakeMove(from, targets[i]);
      int promotions = PromotionPiece(p, m) ? 4 : 1;
      for (int k = 0; k < promotions; ++k) {
        sPosition next = p;
        PlayMoveOnPosition(&next, MakeMove(from, targets[i], k));
        nodes += Perft(next, depth - 1);
      }
    }
  }
  return nodes;
}

TEST(Board, CastlingNeedsFreeSafeSquaresAndTheCornerRook) {
  struct Case {
    const char* pieces;
    const char* move;
    bool legal;
  } cases[] = {
      {"Ke1 Rh1 ke8", "e1g1", true},      {"Ke1 Ra1 ke8", "e1c1", true},
      {"Ke1 Rh1 ke8 rf8", "e1g1", false},  // through f1, attacked
      {"Ke1 Rh1 ke8 rg8", "e1g1", false},  // onto g1, attacked
      {"Ke1 Rh1 ke8 re7", "e1g1", false},  // out of check
      {"Ke1 Rh1 Bf1 ke8", "e1g1", false},  // occupied
      {"Ke1 Ra1 Nb1 ke8", "e1c1", false},  // b1 occupied
      {"Ke1 Ra1 ke8 rb8", "e1c1", true},   // b1 attacked does not matter
      {"Ke1 Rg1 ke8", "e1g1", false},      // rook off its corner
      {"Ke8 ke1 rh8", "e8g8", false},      // not the side's king square
  };
  for (const auto& c : cases) {
    sPosition p = Place(c.pieces);
    p.castle[kWhiteShort] = p.castle[kWhiteLong] = 1;
    if (!strcmp(c.move, "e1g1") && p.squares[Sq("g1")] == (kWhite | kRook))
      p.castle[kWhiteShort] = Sq("g1") + 1;
    EXPECT_EQ(IsMoveLegal(p, Mv(c.move)) == 1, c.legal) << c.pieces;
  }
}

TEST(Board, EnPassantOnlyAfterARealDoubleStep) {
  sPosition p = After({"e2e4"});
  EXPECT_EQ(p.enPassant, Sq("e3"));
  p = After({"e2e3", "a7a6", "e3e4"});
  EXPECT_EQ(p.enPassant, kNoSquare);  // two single steps
  p = After({"e2e4", "a7a6", "e4e5", "d7d5"});
  EXPECT_EQ(p.enPassant, Sq("d6"));
  EXPECT_TRUE(IsMoveLegal(p, Mv("e5d6")));
  EXPECT_EQ(EnPassantVictim(p, Mv("e5d6")), Sq("d5"));
  sPosition taken = p;
  PlayMoveOnPosition(&taken, Mv("e5d6"));
  EXPECT_EQ(taken.squares[Sq("d5")], 0);
  p = After({"e2e4", "a7a6", "e4e5", "d7d5", "h2h3", "h7h6"});
  EXPECT_FALSE(IsMoveLegal(p, Mv("e5d6")));  // the next move cleared it
  // Strict check wants a capturing pawn beside the one that moved.
  sPosition lone = After({"e2e4"});
  EXPECT_EQ(CheckEnPassant(&lone, 1), 0);
  EXPECT_EQ(lone.enPassant, kNoSquare);
}

TEST(Board, RightsGoWithKingAndRookMovesAndCornerCaptures) {
  sPosition p = Place("Ke1 Ra1 Rh1 ke8 ra8 rh8");
  PlayMoveOnPosition(&p, Mv("a1a8"));  // takes the black queen-side rook
  EXPECT_EQ(p.castle[kBlackLong], 0);
  EXPECT_EQ(p.castle[kWhiteLong], 0);
  EXPECT_EQ(p.castle[kBlackShort], 1);
  PlayMoveOnPosition(&p, Mv("e8e7"));
  EXPECT_EQ(p.castle[kBlackShort], 0);
  EXPECT_EQ(p.castle[kWhiteShort], 1);
  sPosition q = Place("Ke1 Rh1 ke8");
  PlayMoveOnPosition(&q, Mv("e1g1"));
  EXPECT_EQ(q.squares[Sq("f1")], kWhite | kRook);
  EXPECT_EQ(q.squares[Sq("h1")], 0);
}

TEST(Board, PromotionPieces) {
  sPosition p = Place("Ke1 Pb7 ke8");
  sPosition knight = p;
  PlayMoveOnPosition(&knight, Mv("b7b8", 3));
  EXPECT_EQ(knight.squares[Sq("b8")], kWhite | kKnight);
  sPosition queen = p;
  PlayMoveOnPosition(&queen, Mv("b7b8", 0));
  EXPECT_EQ(queen.squares[Sq("b8")], kWhite | kQueen);
}

TEST(Board, PositionLegalityCodes) {
  struct Case {
    const char* pieces;
    bool whiteToMove;
    int code;
  } cases[] = {
      {"Ke1 ke8", true, 0},
      {"ke8", true, 1},
      {"Ke1 Qe2", false, 2},  // Black to move, White king in check? no: queen is White
      {"Ke1 qe2", false, 2},  // White king attacked with Black to move
      {"Ke1", false, 1},
      {"Ke1 ke8 Pa1", true, 3},
      {"Ke1 ke8 pa8", true, 3},
      {"Ke1 ke8 Pa2 Pb2 Pc2 Pd2 Pe2 Pf2 Pg2 Ph2 Pa3", true, 4},
      {"Ke1 ke8 Pa2 Pb2 Pc2 Pd2 Pe2 Pf2 Pg2 Ph2 Nb1 Ng1 Nc3", true, 4},
      {"Ke1 Kd1 ke8", true, 4},
  };
  for (const auto& c : cases) {
    sPosition p = Place(c.pieces, c.whiteToMove);
    int expected = c.code;
    if (!strcmp(c.pieces, "Ke1 Qe2")) expected = 1;  // Black king missing
    EXPECT_EQ(CheckPositionLegal(p), expected) << c.pieces;
  }
  // Moves are still generated for a side without a king.
  sPosition kingless = Place("Ra1 ke8");
  int32_t targets[32];
  EXPECT_EQ(GenerateTargets(kingless, Sq("a1"), targets), 14);
}

TEST(Board, DescriptorsAndMoveTexts) {
  const char* symbols = "NBRQKO-x+ #   ep";
  struct Case {
    const char* pieces;
    bool whiteToMove;
    const char* move;
    int promotion;
    uint8_t flags;
    const char* text;
  } cases[] = {
      {"Ke1 Rh1 kf8", true, "e1g1", 0, 0x54, "O-O+"},
      {"Ke1 Rh1 ka8", true, "e1g1", 0, 0x44, "O-O"},
      {"Ke1 Ra1 kh8", true, "e1c1", 0, 0x84, "O-O-O"},
      {"Ke1 Pe5 pd5 kh8", true, "e5d6", 0, 0x4E, "exd6ep"},
      {"Ke1 Pb7 ka1", true, "b7b8", 3, 0x07, "b8=N"},
      {"Ke1 Pb7 nc8 kh1", true, "b7c8", 0, 0x4F, "bxc8=Q"},
      {"Ke1 Nb1 Nf1 kh8", true, "b1d2", 0, 0x40, "Nbd2"},
      {"Ke1 Ra1 Ra3 kh8", true, "a1a2", 0, 0x82, "R1a2"},
      {"Kg6 Qa1 kh8", true, "a1a8", 0, 0x33, "Qa8#"},
      {"Kf7 Qb1 kh8", true, "b1g6", 0, 0x23, "Qg6"},  // stalemate: no suffix in this table
  };
  for (const auto& c : cases) {
    sPosition p = Place(c.pieces, c.whiteToMove);
    if (std::string(c.move) == "e5d6") p.enPassant = static_cast<uint8_t>(Sq("d6"));
    uint16_t m = Mv(c.move, c.promotion);
    uint8_t flags = GetMoveNotationFlags(p, m);
    char text[16];
    MoveFlagsToText(flags, m, text, 4, symbols);
    EXPECT_EQ(flags, c.flags) << c.move;
    EXPECT_STREQ(text, c.text) << c.move;
  }
  char text[16];
  MoveFlagsToText(0x05, Mv("e2e4"), text, 1, symbols);
  EXPECT_STREQ(text, "e2-e4");
  MoveFlagsToText(0x30 | 0x08 | 0x03, Mv("d1h5"), text, 0, symbols);
  EXPECT_STREQ(text, "Qxh5#");
}

TEST(Board, PerftFromTheInitialPosition) {
  sPosition p = InitialPosition();
  EXPECT_EQ(Perft(p, 1), 20u);
  EXPECT_EQ(Perft(p, 3), 8902u);
  EXPECT_EQ(Perft(p, 4), 197281u);
}

TEST(Board, GameBoardConversion) {
  uint8_t board[112] = {};
  // The initial position in the game library's codes, Black to move after e2-e4.
  const uint8_t back[8] = {11, 9, 10, 12, 13, 10, 9, 11};
  for (int f = 0; f < 8; ++f) {
    board[10 * (f + 1) + 1] = back[f];
    board[10 * (f + 1) + 2] = 8;
    board[10 * (f + 1) + 7] = 16;
    board[10 * (f + 1) + 8] = static_cast<uint8_t>(back[f] + 8);
  }
  board[10 * 5 + 2] = 0;
  board[10 * 5 + 4] = 8;
  uint32_t side = 1, ep = 5;
  std::memcpy(board + 100, &side, 4);
  std::memcpy(board + 104, &ep, 4);
  board[108] = 16 | 32 | 128;
  sPosition p;
  EXPECT_EQ(LoadPositionFromGame(board, &p, 0), 1);
  EXPECT_EQ(p.whiteToMove, 0);
  EXPECT_EQ(p.enPassant, Sq("e3"));
  EXPECT_EQ(p.castle[kBlackShort], 0);
  EXPECT_EQ(p.castle[kBlackLong], 1);
  EXPECT_EQ(p.squares[Sq("e4")], kWhite | kPawn);
  EXPECT_EQ(LoadPositionFromGame(board, &p, 1), 0);  // no black pawn beside e4
  EXPECT_EQ(p.enPassant, kNoSquare);
}

TEST(Texts, DatesTimesResults) {
  char out[16];
  FormatDateText(out, 0, 13, 5);
  EXPECT_STREQ(out, "????.13.05");
  FormatDateText(out, 1999, 0, 100);
  EXPECT_STREQ(out, "1999.??.??");
  FormatTimeText(out, 1, 30, 100);
  EXPECT_STREQ(out, "01:30:??");
  PgnResultText(out, 7);
  EXPECT_STREQ(out, "1/2-1/2");
  struct Case {
    const char* text;
    int day, month, year;
  } cases[] = {
      {"12 aug 1999", 12, 8, 1999}, {"12.08.1999", 12, 8, 1999}, {"3-December-2001", 3, 12, 2001},
      {"1999.08.12", 12, 8, 1999},  {"1840.??.??", 0, 0, 1840},  {"????.??.??", 0, 0, 0},
      {"5 xyz 2000", 5, 0, 2000},
  };
  for (const auto& c : cases) {
    int d, m, y;
    ParseDateText(c.text, &d, &m, &y);
    EXPECT_EQ(d, c.day) << c.text;
    EXPECT_EQ(m, c.month) << c.text;
    EXPECT_EQ(y, c.year) << c.text;
  }
  int h, mi, s;
  ParseTimeText("1:05:30", &h, &mi, &s);
  EXPECT_EQ(h * 10000 + mi * 100 + s, 10530);
}

}  // namespace
