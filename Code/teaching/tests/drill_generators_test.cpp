// Drill positions: every kind and selector over many seeds, each position
// checked against the rules core (and the engine core for mate in two), the
// stage machine, and the mating-net test over published mate-in-two puzzles.
#include "drill_generators.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine_mate.h"
#include "movegen.h"
#include "notation.h"
#include "position_setup.h"
#include "testdata.h"

namespace {

constexpr int kSeeds = 40;

struct Built {
  Board board;
  int selector;  // as resolved
  int gaveUps;
};

// Calls the generator as the drill builder does: step 1 after 0, step 0 on a
// fresh board after 98.
Built Build(DrillGenerator& g, int kind, int selector) {
  Built out{};
  int step = 0;
  for (int calls = 0; calls < 5000000; ++calls) {
    if (step == 0) std::memset(&out.board, 0xEE, sizeof out.board);
    const int r = g.MakeDrillPosition(step, kind, WHITE, selector, &out.board);
    if (r == DRILL_DONE) {
      out.selector = g.Selector();
      return out;
    }
    if (r == DRILL_GAVE_UP) {
      ++out.gaveUps;
      step = 0;
    } else {
      EXPECT_EQ(r, DRILL_MORE);
      step = 1;
    }
  }
  ADD_FAILURE() << "kind " << kind << " never finished";
  return out;
}

std::string Fen(const Board& b) {
  std::string fen;
  for (int row = 0; row < 8; ++row) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      const uint8_t p = b[MakeSquare(row, file)];
      if (!p) {
        ++empty;
        continue;
      }
      if (empty) fen += char('0' + empty);
      empty = 0;
      const char letter = "kqrbnp"[p & TYPE_MASK];
      fen += (p & COLOUR_MASK) == WHITE ? char(letter - 32) : letter;
    }
    if (empty) fen += char('0' + empty);
    if (row < 7) fen += '/';
  }
  return fen + " w - - 0 1";
}

std::string SquareText(int s) { return std::string{char('a' + SquareFile(s)), char('8' - SquareRow(s))}; }

std::vector<MoveRecord> Legal(const Board& b, int side) {
  MoveRecord list[kMoveListRoom];
  uint16_t n = 0;
  GenerateLegalMoves(&b, list, &n, side);
  return std::vector<MoveRecord>(list, list + n);
}

Board After(const Board& b, const MoveRecord& m) {
  Board out = b;
  MoveRecord copy = m;
  MakeMove(&copy, &out);
  return out;
}

bool HasFlag(const std::vector<MoveRecord>& moves, uint16_t flag) {
  for (const MoveRecord& m : moves)
    if (m.flags & flag) return true;
  return false;
}

int CountPieces(const Board& b, int piece) {
  int n = 0;
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && b[s] == piece) ++n;
  return n;
}

// The first two pieces along the ray from `from` in direction `d`.
void TwoAlong(const Board& b, int from, int d, int* first, int* second) {
  *first = *second = -1;
  for (int s = from + d; OnBoard(s); s += d) {
    if (!b[s]) continue;
    if (*first < 0)
      *first = s;
    else {
      *second = s;
      return;
    }
  }
}

// Whether the slider on `square` pins a black non-pawn to a black piece of
// the same or higher value (lower type number) behind it.
bool PinsFrom(const Board& b, int square) {
  const int type = b[square] & TYPE_MASK;
  if (type != QUEEN && type != ROOK && type != BISHOP) return false;
  const int dirs[8] = {-16, 1, 16, -1, -15, 17, 15, -17};
  for (int i = 0; i < 8; ++i) {
    if ((type == ROOK && i >= 4) || (type == BISHOP && i < 4)) continue;
    int front, behind;
    TwoAlong(b, square, dirs[i], &front, &behind);
    if (front < 0 || behind < 0) continue;
    const uint8_t f = b[front], k = b[behind];
    if ((f & COLOUR_MASK) == BLACK && (k & COLOUR_MASK) == BLACK && (f & TYPE_MASK) != PAWN &&
        (k & TYPE_MASK) != PAWN && (k & TYPE_MASK) <= (f & TYPE_MASK))
      return true;
  }
  return false;
}

// Checks every kind's promises about one position; returns "" or the fault.
std::string CheckPosition(int kind, const Built& built) {
  const Board& b = built.board;
  const bool kingless = kind == DRILL_HUNG_PIECE || kind == DRILL_SAFE_SQUARE;
  const int kings = kingless ? 0 : 1;
  if (CountPieces(b, WHITE + KING) != kings || CountPieces(b, BLACK + KING) != kings) return "king count";
  for (int side : {WHITE, BLACK}) {
    const int byte = b[KingSquareByte(side)];
    if (kingless ? byte != NO_SQUARE : b[byte] != side + KING) return "king byte";
  }
  if (IsSideInCheck(&b, BLACK)) return "black in check";
  for (int file = 0; file < 8; ++file)
    if ((b[file] && (b[file] & TYPE_MASK) == PAWN) || (b[112 + file] && (b[112 + file] & TYPE_MASK) == PAWN))
      return "pawn on an edge rank";
  const int from = b[kSolutionFromByte], to = b[kSolutionToByte];
  const std::vector<MoveRecord> moves = Legal(b, WHITE);
  const MoveRecord* solution = nullptr;
  for (const MoveRecord& m : moves)
    if (m.from == from && m.to == to) solution = &m;
  if (!solution) return "solution " + SquareText(from) + SquareText(to) + " not legal";
  const int moverType = b[from] & TYPE_MASK;
  if (moverType != (kind == DRILL_AVERT_MATE ? KING : built.selector))
    return "solution made by another piece";
  if (kind == DRILL_PIN && built.selector == KNIGHT) return "pin by a knight";
  const Board after = After(b, *solution);
  switch (kind) {
    case DRILL_HUNG_PIECE:
      if (!b[to] || (b[to] & COLOUR_MASK) != BLACK) return "no victim";
      if (FindAttackers(&after, to, BLACK, 0, nullptr)) return "victim retaken";
      break;
    case DRILL_FORK: {
      if (!IsSideInCheck(&after, BLACK)) return "fork gives no check";
      bool target = false;
      for (const MoveRecord& m : Legal(after, WHITE))  // captures from the fork square
        if (m.from == to && (m.flags & MOVE_CAPTURE) && (after[m.to] & TYPE_MASK) != KING &&
            (after[m.to] & TYPE_MASK) != PAWN)
          target = true;
      if (!target) return "fork attacks no piece";
      break;
    }
    case DRILL_CHECK:
    case DRILL_MATE_IN_ONE: {
      const uint16_t flag = kind == DRILL_CHECK ? MOVE_CHECK : MOVE_MATE;
      int n = 0;
      for (const MoveRecord& m : moves) n += (m.flags & flag) != 0;
      if (n != 1 || !(solution->flags & flag)) return "not exactly one checking or mating move";
      break;
    }
    case DRILL_MATE_IN_TWO: {
      if (HasFlag(moves, MOVE_MATE)) return "mate in one on the board";
      const std::vector<MoveRecord> replies = Legal(after, BLACK);
      if (replies.empty()) return "no reply to the first move";
      for (const MoveRecord& r : replies)
        if (!HasFlag(Legal(After(after, r), WHITE), MOVE_MATE)) return "a reply escapes";
      for (const MoveRecord& m : moves) {
        if (&m == solution) continue;
        const Board other = After(b, m);
        bool allMate = true;
        const std::vector<MoveRecord> otherReplies = Legal(other, BLACK);
        for (const MoveRecord& r : otherReplies)
          if (!HasFlag(Legal(After(other, r), WHITE), MOVE_MATE)) allMate = false;
        if (allMate && !otherReplies.empty()) return "another first move mates in two";
      }
      break;
    }
    case DRILL_AVERT_MATE:
      for (const MoveRecord& m : moves) {
        const bool mates = HasFlag(Legal(After(b, m), BLACK), MOVE_MATE);
        if (&m == solution ? mates : !mates) return "avert mate not unique";
      }
      break;
    case DRILL_SAFE_SQUARE:
      if (FindAttackers(&after, to, BLACK, 0, nullptr)) return "target square attacked";
      for (const MoveRecord& m : moves) {
        const Board other = After(b, m);
        if (&m != solution && !FindAttackers(&other, m.to, BLACK, 0, nullptr))
          return "another safe square " + SquareText(m.to);
      }
      break;
    case DRILL_PIN:
      if (!PinsFrom(after, to)) return "no pin after the solution";
      for (const MoveRecord& m : moves)
        if (&m != solution && PinsFrom(After(b, m), m.to)) return "another pinning move";
      break;
  }
  return "";
}

class DrillKinds : public ::testing::TestWithParam<int> {};

TEST_P(DrillKinds, EverySelectorAndSeedKeepsItsPromises) {
  const int kind = GetParam();
  for (int selector = 1; selector <= 5; ++selector) {
    for (int seed = 1; seed <= kSeeds; ++seed) {
      DrillGenerator g(static_cast<uint32_t>(seed * 7919 + selector));
      const Built built = Build(g, kind, selector);
      const std::string fault = CheckPosition(kind, built);
      EXPECT_EQ(fault, "") << "kind " << kind << " selector " << selector << " seed " << seed << ": "
                           << Fen(built.board);
      if (selector < 5 && !(kind == DRILL_PIN && selector == KNIGHT)) {
        EXPECT_EQ(built.selector, selector);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, DrillKinds, ::testing::Range(0, kDrillKinds));

TEST(DrillGenerator, SameSeedSamePositions) {
  for (int kind = 0; kind < kDrillKinds; ++kind) {
    DrillGenerator a(1234), b(1234);
    for (int i = 0; i < 3; ++i) {
      const Built x = Build(a, kind, 5), y = Build(b, kind, 5);
      EXPECT_EQ(0, std::memcmp(&x.board, &y.board, sizeof x.board)) << "kind " << kind;
    }
  }
}

TEST(DrillGenerator, RandomSelectorIsResolvedOnceAndThePinNeverTakesAKnight) {
  int seen[6] = {};
  for (int seed = 1; seed <= 200; ++seed) {
    for (int kind : {DRILL_CHECK, DRILL_PIN}) {
      DrillGenerator g(seed);
      Board b;
      int r = g.MakeDrillPosition(0, kind, WHITE, kSelectorRandom, &b);
      const int chosen = g.Selector();
      ASSERT_GE(chosen, 1);
      ASSERT_LE(chosen, kind == DRILL_PIN ? 3 : 4);
      if (kind == DRILL_PIN) ++seen[chosen];
      for (int calls = 0; r == DRILL_MORE && calls < 200; ++calls) {
        r = g.MakeDrillPosition(1, kind, WHITE, kSelectorRandom, &b);
        ASSERT_EQ(g.Selector(), chosen);
      }
    }
  }
  EXPECT_GT(seen[1], 0);
  EXPECT_GT(seen[2], 0);
  EXPECT_GT(seen[3], 0);
  // A knight asked for outright cannot pin either; it is drawn instead.
  DrillGenerator g(5);
  Board b;
  g.MakeDrillPosition(0, DRILL_PIN, WHITE, KNIGHT, &b);
  EXPECT_NE(g.Selector(), KNIGHT);
}

TEST(DrillGenerator, UnknownKindAnswersZero) {
  DrillGenerator g(1);
  Board b;
  EXPECT_EQ(g.MakeDrillPosition(0, 8, WHITE, 1, &b), 0);
  EXPECT_EQ(g.MakeDrillPosition(0, -1, WHITE, 1, &b), 0);
}

TEST(DrillStage, BacksUpTwoPiecesAndGivesUpFromStageZero) {
  Board b;
  ClearBoard(&b);
  b[0x11] = WHITE + QUEEN;
  b[0x22] = BLACK + KING;
  b[BLACK_KING_SQUARE] = 0x22;
  b[0x33] = BLACK + ROOK;
  uint8_t squares[kDrillStages];
  std::memset(squares, NO_SQUARE, sizeof squares);
  squares[0] = 0x11;
  squares[1] = 0x22;
  squares[2] = 0x33;
  int tries[kDrillStages] = {}, totals[kDrillStages] = {};
  const int limits[kDrillStages] = {1, 5, 2};
  int stage = 2;
  // Rejected: the stage's piece goes, the stage stays.
  EXPECT_EQ(AdvanceDrillStage(false, 3, &b, squares, &stage, tries, totals, limits), 0);
  EXPECT_EQ(stage, 2);
  EXPECT_EQ(b[0x33], 0);
  b[0x33] = BLACK + ROOK;
  EXPECT_EQ(AdvanceDrillStage(false, 3, &b, squares, &stage, tries, totals, limits), 0);
  b[0x33] = BLACK + ROOK;
  // Past the limit: this stage's piece and the previous one go.
  EXPECT_EQ(AdvanceDrillStage(true, 3, &b, squares, &stage, tries, totals, limits), 0);
  EXPECT_EQ(stage, 1);
  EXPECT_EQ(b[0x33], 0);
  EXPECT_EQ(b[0x22], 0);
  EXPECT_EQ(b[BLACK_KING_SQUARE], NO_SQUARE);
  EXPECT_EQ(totals[2], 3);
  // Accepted: the next stage starts with a fresh try count.
  EXPECT_EQ(AdvanceDrillStage(true, 2, &b, squares, &stage, tries, totals, limits), 1);
  EXPECT_EQ(stage, 2);
  EXPECT_EQ(tries[2], 0);
  // Backing up from stage 0 gives up.
  stage = 0;
  tries[0] = 1;
  EXPECT_EQ(AdvanceDrillStage(true, 1, &b, squares, &stage, tries, totals, limits), 0);
  EXPECT_EQ(stage, DRILL_GAVE_UP);
  EXPECT_EQ(b[0x11], 0);
}

TEST(Attacks, RaysKnightsPawnsAndXray) {
  Board b;
  ClearBoard(&b);
  const int d1 = MakeSquare(7, 3), d4 = MakeSquare(4, 3), d8 = MakeSquare(0, 3);
  b[d4] = BLACK + PAWN;
  EXPECT_TRUE(PieceAttacksSquare(&b, WHITE + ROOK, d1, d4, false));   // the blocker itself counts
  EXPECT_FALSE(PieceAttacksSquare(&b, WHITE + ROOK, d1, d8, false));  // behind it, no
  EXPECT_TRUE(PieceAttacksSquare(&b, WHITE + ROOK, d1, d8, true));    // x-ray through an enemy
  b[d4] = WHITE + PAWN;
  EXPECT_FALSE(PieceAttacksSquare(&b, WHITE + ROOK, d1, d8, true));  // not through its own side
  // A colourless bishop passes only over occupied squares.
  const int c3 = MakeSquare(5, 2), b4 = MakeSquare(4, 1), a5 = MakeSquare(3, 0);
  EXPECT_TRUE(PieceAttacksSquare(&b, BISHOP, c3, b4, true));
  EXPECT_FALSE(PieceAttacksSquare(&b, BISHOP, c3, a5, true));
  b[b4] = BLACK + KNIGHT;
  EXPECT_TRUE(PieceAttacksSquare(&b, BISHOP, c3, a5, true));
  // Knight steps and pawn captures by colour.
  const int e4 = MakeSquare(4, 4);
  int knightHits = 0;
  for (int s = 0; s < 128; ++s)
    knightHits += OnBoard(s) && PieceAttacksSquare(&b, WHITE + KNIGHT, e4, s, false);
  EXPECT_EQ(knightHits, 8);
  EXPECT_TRUE(PieceAttacksSquare(&b, WHITE + PAWN, e4, MakeSquare(3, 3), false));
  EXPECT_FALSE(PieceAttacksSquare(&b, WHITE + PAWN, e4, MakeSquare(5, 3), false));
  EXPECT_TRUE(PieceAttacksSquare(&b, BLACK + PAWN, e4, MakeSquare(5, 5), false));
  EXPECT_EQ(KingDistance(MakeSquare(0, 0), MakeSquare(3, 7)), 7);
}

TEST(MateInTwo, EngineFindsTheSameFirstMove) {
  for (int selector = 1; selector <= 4; ++selector) {
    for (int seed = 1; seed <= 6; ++seed) {
      DrillGenerator g(seed * 31 + selector);
      const Built built = Build(g, DRILL_MATE_IN_TWO, selector);
      const std::string fen = Fen(built.board);
      const EngineMateAnswer answer = SearchEngineMate(fen, 4);
      ASSERT_TRUE(answer.ok) << fen;
      EXPECT_EQ(answer.matePlies, 3) << fen;
      EXPECT_EQ(answer.best,
                SquareText(built.board[kSolutionFromByte]) + SquareText(built.board[kSolutionToByte]))
          << fen;
    }
  }
}

TEST(MateInTwo, MatingNetHoldsAfterTheFirstMoveOfPublishedPuzzles) {
  RW_REQUIRE_TESTDATA("mate_in_2.pgn");
  std::ifstream in(TestDataPath("mate_in_2.pgn"));
  auto lists = std::make_unique<DrillMoveLists>();
  std::string line, fen;
  int checked = 0;
  while (std::getline(in, line)) {
    if (line.rfind("[FEN \"", 0) == 0) {
      fen = line.substr(6, line.rfind('"') - 6);
      continue;
    }
    if (fen.empty() || line.rfind("1.", 0) != 0) continue;
    // "1. Nf6+", "1.Nf6+" or "1... Qh4" (Black first).
    std::istringstream words(line.substr(line.find('.') + 1));
    std::string first;
    words >> first;
    while (!first.empty() && first[0] == '.') first.erase(0, 1);
    if (first.empty()) words >> first;
    Board board;
    int side = WHITE;
    ASSERT_TRUE(SetupPositionFromFen(fen.c_str(), &board, &side)) << fen;
    MoveRecord move{};
    ASSERT_TRUE(ParseAlgebraicMove(&move, first.c_str(), &board, side)) << fen << " " << first;
    MakeMove(&move, &board);
    EXPECT_TRUE(IsMatingNet(&board, OtherSide(side), *lists)) << fen << " " << first;
    ++checked;
    fen.clear();
  }
  EXPECT_GT(checked, 100);
}

}  // namespace
