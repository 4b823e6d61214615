// Move scripts for moves and take-backs.
#include "move_script.h"

#include <gtest/gtest.h>

#include "movegen.h"
#include "position_setup.h"

namespace {

// Plays the named move on the position and returns the forward and back scripts.
std::pair<std::string, std::string> Scripts(const char* fen, const char* from, const char* to,
                                            int promotion = 0) {
  Board board;
  int side;
  EXPECT_TRUE(SetupPositionFromFen(fen, &board, &side)) << fen;
  MoveRecord move{};
  move.from = static_cast<uint8_t>(MakeSquare('8' - from[1], from[0] - 'a'));
  move.to = static_cast<uint8_t>(MakeSquare('8' - to[1], to[0] - 'a'));
  if (promotion) move.flags = MOVE_PROMOTION | promotion;
  Board before = board;
  EXPECT_EQ(ReplayMoveList(&board, side, &move, 1), 1) << from << to;
  board = before;
  MakeMove(&move, &board);
  std::string forward = BuildMoveScript(move, board, side, false);
  UnmakeMove(&move, &board);
  std::string back = BuildMoveScript(move, board, side, true);
  return {forward, back};
}

TEST(MoveScript, ForwardAndBack) {
  const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
  const struct {
    const char* fen;
    const char* from;
    const char* to;
    int promotion;
    const char* forward;
    const char* back;
  } kCases[] = {
      {kStart, "g1", "f3", 0, "Kg1g3f3", "Kf3g3g1"},
      {"4k3/8/8/8/8/8/8/4K1N1 w - -", "g1", "e2", 0, "Kg1e1e2", "Ke2e1g1"},
      {"4k3/8/8/8/8/8/8/4K2R w K -", "e1", "g1", 0, "Se1g1Sh1f1", "Sf1h1Sg1e1"},
      {"r3k3/8/8/8/8/8/8/4K3 b q -", "e8", "c8", 0, "Se8c8Sa8d8", "Sd8a8Sc8e8"},
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "e5", "d6", 0, "Se5d6D--d5", "DBPd5Sd6e5"},
      {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7", "a8", 1, "Sa7a8DWQa8", "DWPa8Sa8a7"},
      {"1r2k3/P7/8/8/8/8/8/4K3 w - -", "a7", "b8", 1, "Sa7b8DWQb8", "DWPb8Sb8a7DBRb8"},
      {"4k3/8/8/8/8/8/p7/4K3 b - -", "a2", "a1", 4, "Sa2a1DBNa1", "DBPa1Sa1a2"},
      {"4k3/8/8/8/8/2p5/8/1N2K3 w - -", "b1", "c3", 0, "Kb1b3c3", "Kc3b3b1DBPc3"},
  };
  for (const auto& c : kCases) {
    auto [forward, back] = Scripts(c.fen, c.from, c.to, c.promotion);
    EXPECT_EQ(forward, c.forward) << c.from << c.to;
    EXPECT_EQ(back, c.back) << c.from << c.to;
  }
}

TEST(MoveScript, Reader) {
  auto commands = ParseMoveScript(" Se5d6\r\nD--d5 x DBPd5Kg1g3f3E a1xGz9a1S");
  ASSERT_EQ(commands.size(), 6u);
  EXPECT_EQ(commands[0].op, 'S');
  EXPECT_EQ(commands[0].squares[1][0], 3);  // d
  EXPECT_EQ(commands[0].squares[1][1], 2);  // rank 6
  EXPECT_EQ(commands[1].colour, -1);
  EXPECT_EQ(commands[2].colour, 1);
  EXPECT_EQ(commands[2].kind, 5);
  EXPECT_EQ(commands[3].op, 'K');
  EXPECT_EQ(commands[4].op, 'E');
  EXPECT_FALSE(commands[5].valid);              // "z9" is no piece code
  EXPECT_TRUE(ParseMoveScript("Sa1").empty());  // cut short
}

}  // namespace
