#include "movegen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "notation.h"
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

std::string Coord(const MoveRecord& m) {
  char a[3], b[3];
  return std::string(SquareToText(m.from, a)) + SquareToText(m.to, b);
}

std::vector<MoveRecord> Legal(const Board& b, int side) {
  std::vector<MoveRecord> list(kMoveListRoom);
  uint16_t count = 0;
  int n = GenerateLegalMoves(&b, list.data(), &count, side);
  EXPECT_EQ(n, count);
  list.resize(n);
  return list;
}

const MoveRecord* Find(const std::vector<MoveRecord>& list, const char* from, const char* to) {
  for (const MoveRecord& m : list)
    if (m.from == Sq(from) && m.to == Sq(to)) return &m;
  return nullptr;
}

TEST(MoveGeneration, InitialPositionOrder) {
  Board b;
  SetInitialBoard(&b);
  std::vector<MoveRecord> list = Legal(b, WHITE);
  const char* expected[] = {"a2a3", "a2a4", "b2b3", "b2b4", "c2c3", "c2c4", "d2d3", "d2d4", "e2e3", "e2e4",
                            "f2f3", "f2f4", "g2g3", "g2g4", "h2h3", "h2h4", "b1c3", "b1a3", "g1h3", "g1f3"};
  ASSERT_EQ(list.size(), 20u);
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(Coord(list[i]), expected[i]) << i;
    EXPECT_EQ(list[i].flags, 0);
    EXPECT_EQ(list[i].generated, 0xFFFFFFFFu);
    EXPECT_EQ(list[i].hash, 0u);
    EXPECT_EQ(list[i].text[0], '\0');
    for (char* t : list[i].texts) EXPECT_EQ(t, nullptr);
  }
  EXPECT_EQ(Legal(b, BLACK).size(), 20u);
}

TEST(MoveGeneration, CapturePromotionsInOrder) {
  Board b = FromFen("1n6/P7/7k/8/8/8/8/4K3 w - -");
  std::vector<MoveRecord> list = Legal(b, WHITE);
  std::vector<uint16_t> pushes, captures;
  for (const MoveRecord& m : list) {
    if (m.from != Sq("a7")) continue;
    (m.to == Sq("b8") ? captures : pushes).push_back(m.flags);
  }
  EXPECT_EQ(pushes, (std::vector<uint16_t>{0x41, 0x42, 0x43, 0x44}));
  EXPECT_EQ(captures, (std::vector<uint16_t>{0x141, 0x142, 0x143, 0x144}));
  // Pushes come before captures.
  EXPECT_EQ(Coord(list[0]), "a7a8");
}

TEST(MoveGeneration, CastlingThroughAndIntoCheck) {
  // Black rook on f8 attacks f1: no short castling at all. Black bishop on
  // a3... attacks c1 only: long castling is generated, then marked illegal.
  Board b = FromFen("4kr2/8/8/8/8/b7/8/R3K2R w KQ -");
  MoveRecord list[kMoveListRoom];
  uint16_t count = 0, legal = 0;
  GenerateMoves(&b, list, &count, &legal, WHITE, true);
  const MoveRecord* longCastle = nullptr;
  for (int i = 0; i < count; ++i) {
    EXPECT_FALSE(list[i].flags & MOVE_CASTLE_SHORT);
    if (list[i].flags & MOVE_CASTLE_LONG) longCastle = &list[i];
  }
  ASSERT_NE(longCastle, nullptr);
  EXPECT_EQ(longCastle->from, Sq("e1"));
  EXPECT_EQ(longCastle->to, Sq("c1"));
  EXPECT_EQ(longCastle->flags, MOVE_CASTLE_LONG | MOVE_ILLEGAL);
  EXPECT_EQ(Find(Legal(b, WHITE), "e1", "c1"), nullptr);

  // Both castlings, last in the list; the king may not castle out of check.
  b = FromFen("4k3/8/8/8/8/8/8/R3K2R w KQ -");
  std::vector<MoveRecord> all = Legal(b, WHITE);
  ASSERT_GE(all.size(), 2u);
  EXPECT_EQ(all[all.size() - 2].flags, MOVE_CASTLE_SHORT);
  EXPECT_EQ(all.back().flags, MOVE_CASTLE_LONG);
  b = FromFen("4k3/8/8/8/8/8/8/R3K2R w KQ -");
  b[Sq("e7")] = BLACK + ROOK;
  for (const MoveRecord& m : Legal(b, WHITE)) EXPECT_FALSE(m.flags & (MOVE_CASTLE_SHORT | MOVE_CASTLE_LONG));

  // A castling right without its rook (a hand-made position) gives nothing.
  b = FromFen("4k3/8/8/8/8/8/8/4K2R w KQ -");
  for (const MoveRecord& m : Legal(b, WHITE)) EXPECT_FALSE(m.flags & MOVE_CASTLE_LONG);
}

TEST(MoveGeneration, CheckAndMateMarks) {
  // Back-rank mate Ra8#; Re8+ is a check that can be answered? No: Re8 is also
  // mate. Use a king with an escape square for the plain check.
  Board b = FromFen("6k1/5ppp/8/8/8/8/8/R5K1 w - -");
  std::vector<MoveRecord> list = Legal(b, WHITE);
  const MoveRecord* mate = Find(list, "a1", "a8");
  ASSERT_NE(mate, nullptr);
  EXPECT_EQ(mate->flags, MOVE_CHECK | MOVE_MATE);

  b = FromFen("6k1/5pp1/8/8/8/8/8/R5K1 w - -");
  list = Legal(b, WHITE);
  const MoveRecord* check = Find(list, "a1", "a8");
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check->flags, MOVE_CHECK);
  const MoveRecord* quiet = Find(list, "a1", "a7");
  ASSERT_NE(quiet, nullptr);
  EXPECT_EQ(quiet->flags, 0);

  // After the mate: no legal moves, in check. Stalemate: no moves, no check.
  b = FromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - -");
  EXPECT_EQ(GetMateState(&b, CountLegalMoves(&b, BLACK), BLACK), 2);
  b = FromFen("7k/5Q2/8/8/8/8/8/6K1 b - -");
  EXPECT_EQ(CountLegalMoves(&b, BLACK), 0);
  EXPECT_EQ(GetMateState(&b, 0, BLACK), 3);
  b = FromFen("7k/8/8/8/8/8/8/6K1 b - -");
  EXPECT_EQ(GetMateState(&b, CountLegalMoves(&b, BLACK), BLACK), 0);
}

TEST(MoveGeneration, EmptyBoardHasNoMovesAndNoCastling) {
  Board b;
  ClearBoard(&b);
  b[CASTLING_RIGHTS] = 15;
  EXPECT_EQ(CountLegalMoves(&b, WHITE), 0);
  EXPECT_EQ(CountLegalMoves(&b, BLACK), 0);
}

// The most legal moves known in a legal position: none may be lost.
TEST(MoveGeneration, KeepsAllOf218LegalMoves) {
  Board b = FromFen("R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - - 0 1");
  std::vector<MoveRecord> list = Legal(b, WHITE);
  EXPECT_EQ(list.size(), 218u);
  MoveRecord raw[kMoveListRoom];
  uint16_t count = 0, legal = 0;
  GenerateMoves(&b, raw, &count, &legal, WHITE, false);
  EXPECT_EQ(count, legal);
  EXPECT_GE(count, 218);
}

TEST(MoveGeneration, PositionsEqualByLegalMoveCount) {
  Board a = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  Board b = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w kq -");
  EXPECT_FALSE(PositionsEqual(&a, &b, WHITE));  // white's castlings are missing
  EXPECT_TRUE(PositionsEqual(&a, &b, BLACK));   // black's moves are the same
  Board c = FromFen("r3k2r/8/8/8/8/8/8/RN2K1NR w KQkq -");
  Board d = FromFen("r3k2r/8/8/8/8/8/8/RN2K1NR w kq -");
  EXPECT_TRUE(PositionsEqual(&c, &d, WHITE));  // the rights could not be used anyway
  EXPECT_FALSE(PositionsEqual(&a, &c, WHITE));
  EXPECT_FALSE(PositionsEqual(&a, nullptr, WHITE));
}

// Worker threads generate with marking while the user-interface thread does:
// each thread has its own scratch lists, so the check and mate marks agree.
TEST(MoveGeneration, ThreadsGenerateIndependently) {
  const char* fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "6k1/5ppp/8/8/8/8/1Q6/R5K1 w - -",
      "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
  };
  std::vector<std::vector<uint16_t>> reference;
  for (const char* fen : fens) {
    int side = 0;
    Board b = FromFen(fen, &side);
    std::vector<uint16_t> flags;
    for (const MoveRecord& m : Legal(b, side)) flags.push_back(m.flags);
    reference.push_back(flags);
  }
  std::vector<int> failures(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200; ++round) {
        size_t k = static_cast<size_t>((round + t) % 3);
        Board b;
        int side = 0;
        SetupPositionFromFen(fens[k], &b, &side);
        MoveRecord list[kMoveListRoom];
        int n = GenerateLegalMoves(&b, list, nullptr, side);
        if (static_cast<size_t>(n) != reference[k].size()) {
          ++failures[t];
          continue;
        }
        for (int i = 0; i < n; ++i)
          if (list[i].flags != reference[k][i]) ++failures[t];
      }
    });
  }
  for (std::thread& th : threads) th.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}

// Boards from damaged files or hand set-ups may hold anything, state bytes
// included: generation, making, hashing and printing stay inside the board.
TEST(MoveGeneration, DamagedBoardsStaySafe) {
  const uint8_t pieces[] = {0,  0,  0,  0,  0,  0,  0,  0, 16, 17, 18, 19, 20, 21,  21,
                            32, 33, 34, 35, 36, 37, 37, 7, 22, 23, 48, 53, 64, 128, 255};
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (int round = 0; round < 120; ++round) {
    Board b;
    for (int i = 0; i < 128; ++i) b[i] = pieces[next() % sizeof pieces];
    if (round % 2) FinishBoardSetup(&b);
    if (round % 3 == 0) b[EN_PASSANT_SQUARE] = static_cast<uint8_t>(next());
    if (round % 5 == 0) b[CASTLING_RIGHTS] = 15;
    for (int side : {16, 32, 0}) {
      MoveRecord list[kMoveListRoom];
      int n = GenerateLegalMoves(&b, list, nullptr, side);
      ASSERT_LE(n, kMoveListRoom);
      ComputeBoardHash(&b);
      for (int i = 0; i < n && i < 6; ++i) {
        char text[kNotationTextSize];
        for (int style = 0; style <= 5; ++style) MoveToNotation(&b, &list[i], side, style, text);
        Board copy = b;
        MakeMove(&list[i], &copy);
        UnmakeMove(&list[i], &copy);
      }
      ReplayMoveList(&b, side, list, n < 4 ? n : 4);
    }
  }
}

// Teaching positions may lack one king or both (king byte NO_SQUARE): the
// missing king is never in check, its side's moves are all legal, and a
// king that is there still gets its checks and mates marked.
TEST(MoveGeneration, BoardsWithoutKings) {
  const struct {
    int white[3][2];  // piece type, square; type -1 ends
    int black[3][2];
    int side, legal, checks, mates;
  } cases[] = {
      // Rook a1 against a knight a5 and a bishop h8, no kings.
      {{{ROOK, 0x70}, {-1, 0}}, {{KNIGHT, 0x30}, {BISHOP, 0x07}, {-1, 0}}, WHITE, 11, 0, 0},
      {{{ROOK, 0x70}, {-1, 0}}, {{KNIGHT, 0x30}, {BISHOP, 0x07}, {-1, 0}}, BLACK, 4 + 7, 0, 0},
      // Both kings (g6, h8) and a rook on b1: two checks, Rb8 mates.
      {{{ROOK, 0x71}, {KING, 0x26}, {-1, 0}}, {{KING, 0x07}, {-1, 0}}, WHITE, 14 + 6, 2, 1},
      // The same without the white king: the checks stay, the mate goes.
      {{{ROOK, 0x71}, {-1, 0}}, {{KING, 0x07}, {-1, 0}}, WHITE, 14, 2, 0},
      {{{ROOK, 0x71}, {-1, 0}}, {{KING, 0x07}, {-1, 0}}, BLACK, 3, 0, 0},
  };
  for (const auto& c : cases) {
    Board b;
    ClearBoard(&b);
    for (int colour : {WHITE, BLACK}) {
      for (const auto& p : colour == WHITE ? c.white : c.black) {
        if (p[0] < 0) break;
        b[p[1]] = static_cast<uint8_t>(colour + p[0]);
      }
    }
    FinishBoardSetup(&b);
    MoveRecord list[kMoveListRoom];
    uint16_t n = 0;
    GenerateLegalMoves(&b, list, &n, c.side);
    int checks = 0, mates = 0;
    for (int i = 0; i < n; ++i) {
      checks += (list[i].flags & MOVE_CHECK) != 0;
      mates += (list[i].flags & MOVE_MATE) != 0;
      Board copy = b;
      MakeMove(&list[i], &copy);
      EXPECT_FALSE(IsSideInCheck(&copy, c.side));
      UnmakeMove(&list[i], &copy);
      EXPECT_EQ(std::memcmp(&copy, &b, sizeof b), 0);
    }
    EXPECT_EQ(n, c.legal) << c.side;
    EXPECT_EQ(checks, c.checks) << c.side;
    EXPECT_EQ(mates, c.mates) << c.side;
    EXPECT_EQ(GetMateState(&b, n, c.side), 0);
  }
  // No pieces left to a king-less side: no moves and no check, a stalemate.
  Board bare;
  ClearBoard(&bare);
  bare[0x70] = WHITE + ROOK;
  EXPECT_EQ(CountLegalMoves(&bare, BLACK), 0);
  EXPECT_FALSE(IsSideInCheck(&bare, BLACK));
  EXPECT_EQ(GetMateState(&bare, 0, BLACK), 3);
}

}  // namespace
