// Perft over the standard test positions, with the node counts published by
// the chess programming community. Deeper counts are in bench/perft.
#include <gtest/gtest.h>

#include "board.h"
#include "movegen.h"
#include "position_setup.h"

namespace {

struct PerftCase {
  const char* name;
  const char* fen;
  int depth;
  uint64_t nodes;
};

const PerftCase kPerftCases[] = {
    {"initial", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 5, 4865609},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 4, 4085603},
    {"position3", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
    {"position4", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
    {"position4 mirrored", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 4, 422333},
    {"position5", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
    {"position6", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 4, 3894594},
};

class PerftTest : public testing::TestWithParam<PerftCase> {};

TEST_P(PerftTest, MatchesPublishedCount) {
  const PerftCase& c = GetParam();
  Board board;
  int side = 0;
  ASSERT_TRUE(SetupPositionFromFen(c.fen, &board, &side)) << c.fen;
  Board before = board;
  EXPECT_EQ(Perft(&board, side, c.depth), c.nodes);
  EXPECT_EQ(0, memcmp(before.sq, board.sq, sizeof board.sq)) << "perft must leave the board as it found it";
}

INSTANTIATE_TEST_SUITE_P(Standard, PerftTest, testing::ValuesIn(kPerftCases),
                         [](const testing::TestParamInfo<PerftCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

// The check and mate marks of the last ply's moves, against the published
// counts of checks and checkmates among the leaf positions.
void CountMarks(Board* board, int side, int depth, uint64_t* checks, uint64_t* mates) {
  MoveRecord list[kMoveListRoom];
  const int n = GenerateLegalMoves(board, list, nullptr, side);
  for (int i = 0; i < n; ++i) {
    if (depth == 1) {
      *checks += (list[i].flags & MOVE_CHECK) != 0;
      *mates += (list[i].flags & MOVE_MATE) != 0;
      continue;
    }
    MakeMove(&list[i], board);
    CountMarks(board, OtherSide(side), depth - 1, checks, mates);
    UnmakeMove(&list[i], board);
  }
}

TEST(PerftMarks, ChecksAndMatesAtTheLeaves) {
  struct Case {
    const char* fen;
    int depth;
    uint64_t checks, mates;
  };
  const Case cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 469, 8},
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 3, 993, 1},
  };
  for (const Case& c : cases) {
    Board board;
    int side = 0;
    ASSERT_TRUE(SetupPositionFromFen(c.fen, &board, &side));
    uint64_t checks = 0, mates = 0;
    CountMarks(&board, side, c.depth, &checks, &mates);
    EXPECT_EQ(checks, c.checks) << c.fen;
    EXPECT_EQ(mates, c.mates) << c.fen;
  }
}

}  // namespace
