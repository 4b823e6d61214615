// The login screen's size table and buttons, and the login puzzle: the
// check of a position, the ring of recent puzzles, the saved file and the
// judging of moves.
#include "login_puzzle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "drill_generators.h"
#include "lobby_screen.h"

namespace {

constexpr int kA8 = 0, kB8 = 1, kH8 = 7, kG6 = 38, kA1 = 112, kB1 = 113, kA2 = 96, kE1 = 116;

// Black king h8, white king g6, white rook a1: Ra8 is the one mate.
Board OneMate() {
  Board b;
  ClearBoard(&b);
  b[kH8] = BLACK + KING;
  b[BLACK_KING_SQUARE] = kH8;
  b[kG6] = WHITE + KING;
  b[WHITE_KING_SQUARE] = kG6;
  b[kA1] = WHITE + ROOK;
  b[kSolutionFromByte] = kA1;
  b[kSolutionToByte] = kA8;
  return b;
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string("rw_puzzle_") + name)).string();
}

TEST(LoginScreen, SizeTableAndRebuilds) {
  struct Case {
    int w, h, dialog;
    const char* background;
  } cases[] = {
      {779, 629, 144, "LOBBY_BACKGROUND_TINY"},  {780, 629, 111, "LOBBY_BACKGROUND_SMALL"},
      {779, 630, 111, "LOBBY_BACKGROUND_SMALL"}, {1000, 600, 112, "LOBBY_BACKGROUND_LARGE"},
      {640, 800, 112, "LOBBY_BACKGROUND_LARGE"}, {999, 799, 111, "LOBBY_BACKGROUND_SMALL"},
      {0, 0, 144, "LOBBY_BACKGROUND_TINY"},
  };
  for (const Case& c : cases) {
    const LoginScreenKind kind = PickLoginScreen(c.w, c.h);
    EXPECT_EQ(kind.dialog, c.dialog) << c.w << "x" << c.h;
    EXPECT_STREQ(kind.background, c.background) << c.w << "x" << c.h;
  }
  // Only a size that picks another dialog makes the screen again: a tiny
  // screen at 700 x 600 stays (it is not the small one, yet the table
  // picks it again), and so does a large one at 1000 x 700.
  EXPECT_FALSE(LoginScreenNeedsRebuild(144, 700, 600));
  EXPECT_FALSE(LoginScreenNeedsRebuild(112, 1000, 700));
  EXPECT_FALSE(LoginScreenNeedsRebuild(111, 900, 700));
  EXPECT_TRUE(LoginScreenNeedsRebuild(111, 700, 600));
  EXPECT_TRUE(LoginScreenNeedsRebuild(144, 1280, 960));
}

TEST(LoginScreen, ButtonsOfEachScreen) {
  EXPECT_EQ(LoginButtonAction(112, 21475), 1);
  EXPECT_EQ(LoginButtonAction(111, 21510), 1);
  EXPECT_EQ(LoginButtonAction(144, 21810), 1);
  EXPECT_EQ(LoginButtonAction(112, 21470), 3);
  EXPECT_EQ(LoginButtonAction(144, 21845), 7);
  EXPECT_EQ(LoginButtonAction(111, 21640), kLoginRegister);
  EXPECT_EQ(LoginButtonAction(144, 21850), kLoginExit);
  // Another screen's id is no button of this one.
  EXPECT_EQ(LoginButtonAction(112, 21510), kLoginNoAction);
  EXPECT_EQ(LoginButtonAction(105, 21475), kLoginNoAction);
}

TEST(LoginPuzzle, PassesOnlyWithItsKingsAndOneMate) {
  int mate = 0;
  EXPECT_EQ(CheckPuzzlePosition(OneMate(), WHITE, nullptr, &mate), PuzzleCheck::kGood);
  EXPECT_EQ(mate, kA1 * 256 + kA8);

  Board two = OneMate();
  two[kB1] = WHITE + ROOK;  // Rb8 mates as well
  EXPECT_EQ(CheckPuzzlePosition(two, WHITE, nullptr), PuzzleCheck::kNotOneMate);
  Board none = OneMate();
  none[kA1] = 0;
  EXPECT_EQ(CheckPuzzlePosition(none, WHITE, nullptr), PuzzleCheck::kNotOneMate);
  Board wrongByte = OneMate();
  wrongByte[WHITE_KING_SQUARE] = kE1;
  EXPECT_EQ(CheckPuzzlePosition(wrongByte, WHITE, nullptr), PuzzleCheck::kKings);
  Board noBlackKing = OneMate();
  noBlackKing[kH8] = 0;
  EXPECT_EQ(CheckPuzzlePosition(noBlackKing, WHITE, nullptr), PuzzleCheck::kKings);
  Board thirdKing = OneMate();
  thirdKing[kE1] = WHITE + KING;
  EXPECT_EQ(CheckPuzzlePosition(thirdKing, WHITE, nullptr), PuzzleCheck::kKings);
  Board junk = OneMate();
  junk[kA2] = 0x77;
  EXPECT_EQ(CheckPuzzlePosition(junk, WHITE, nullptr), PuzzleCheck::kBadBoard);

  PuzzleHistory history;
  const Board b = OneMate();
  history.Add(ComputeBoardHash(&b));
  EXPECT_EQ(CheckPuzzlePosition(OneMate(), WHITE, &history), PuzzleCheck::kRepeated);
}

TEST(LoginPuzzle, RingForgetsOnlyAfterAThousandNewer) {
  PuzzleHistory history;
  EXPECT_TRUE(history.AddIfNew(7));
  EXPECT_FALSE(history.AddIfNew(7));
  for (uint32_t h = 1000; h < 1999; ++h) history.Add(h);  // 999 newer ones
  EXPECT_EQ(history.Count(), kPuzzleHistorySize);
  EXPECT_TRUE(history.Contains(7));
  history.Add(5000);  // the thousandth newer one pushes it out
  EXPECT_FALSE(history.Contains(7));
  EXPECT_TRUE(history.Contains(1000));
  EXPECT_TRUE(history.AddIfNew(7));
}

TEST(LoginPuzzle, FileIsKindSideAndBoard) {
  const std::string path = TempPath("good.drill");
  ASSERT_TRUE(WritePuzzleFile(path, OneMate(), WHITE));
  EXPECT_EQ(std::filesystem::file_size(path), kPuzzleFileSize);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  uint8_t bytes[kPuzzleFileSize];
  std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(bytes), sizeof bytes);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[4], WHITE);
  for (int i : {1, 2, 3, 5, 6, 7}) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(std::memcmp(bytes + 8, OneMate().sq, 128), 0);
  Board read{};
  int side = 0;
  ASSERT_TRUE(ReadPuzzleFile(path, &read, &side));
  EXPECT_EQ(side, WHITE);
  EXPECT_EQ(std::memcmp(read.sq, OneMate().sq, 128), 0);
  std::filesystem::remove(path);
  EXPECT_FALSE(ReadPuzzleFile(path, &read, &side));  // none
}

TEST(LoginPuzzle, DamagedFilesAreNotUsed) {
  uint8_t good[kPuzzleFileSize];
  EncodePuzzle(OneMate(), WHITE, good);
  EXPECT_EQ(ReadPuzzleBytes(good, sizeof good, nullptr, nullptr), PuzzleCheck::kGood);
  EXPECT_NE(ReadPuzzleBytes(good, sizeof good - 1, nullptr, nullptr), PuzzleCheck::kGood);  // short
  Board kept{};
  kept[0] = 0x55;
  auto with = [&](auto change) {
    Board b = OneMate();
    change(b);
    uint8_t bytes[kPuzzleFileSize];
    EncodePuzzle(b, WHITE, bytes);
    Board out = kept;
    const PuzzleCheck check = ReadPuzzleBytes(bytes, sizeof bytes, &out, nullptr);
    EXPECT_EQ(out[0], 0x55);  // the caller's board is left alone
    return check;
  };
  EXPECT_EQ(with([](Board& b) { b[kH8] = 0; }), PuzzleCheck::kKings);
  EXPECT_EQ(with([](Board& b) { b[kB1] = WHITE + ROOK; }), PuzzleCheck::kNotOneMate);
  EXPECT_EQ(with([](Board& b) { b[kSolutionToByte] = kA2; }), PuzzleCheck::kNoSolution);
  EXPECT_EQ(with([](Board& b) { b[kSolutionFromByte] = 0x88; }), PuzzleCheck::kNoSolution);
  EXPECT_EQ(with([](Board& b) { b[CASTLING_RIGHTS] = WHITE_SHORT; }), PuzzleCheck::kBadBoard);
  uint8_t kind[kPuzzleFileSize];
  std::memcpy(kind, good, sizeof kind);
  kind[0] = 2;
  EXPECT_NE(ReadPuzzleBytes(kind, sizeof kind, nullptr, nullptr), PuzzleCheck::kGood);
  kind[0] = 3;
  kind[4] = BLACK;
  EXPECT_NE(ReadPuzzleBytes(kind, sizeof kind, nullptr, nullptr), PuzzleCheck::kGood);
}

TEST(LoginPuzzle, MakerGivesCheckedPuzzlesNeverARecentOne) {
  PuzzleHistory history;
  std::set<uint32_t> seen;
  for (int n = 0; n < 5; ++n) {
    PuzzleMaker maker(&history, 1234);  // the same seed each time
    int steps = 0;
    while (!maker.Step()) ASSERT_LT(++steps, 200000);
    int mate = 0;
    ASSERT_EQ(CheckPuzzlePosition(maker.Position(), WHITE, nullptr, &mate), PuzzleCheck::kGood);
    EXPECT_EQ(mate, maker.Position()[kSolutionFromByte] * 256 + maker.Position()[kSolutionToByte]);
    EXPECT_TRUE(seen.insert(ComputeBoardHash(&maker.Position())).second) << n;
    if (n > 0) EXPECT_GT(maker.Rejected(), 0);  // the seed's first puzzle was made before
    uint8_t bytes[kPuzzleFileSize];
    EncodePuzzle(maker.Position(), WHITE, bytes);
    EXPECT_EQ(ReadPuzzleBytes(bytes, sizeof bytes, nullptr, nullptr), PuzzleCheck::kGood);
  }
  EXPECT_EQ(history.Count(), 5);
}

TEST(LoginPuzzle, MovesAreJudged) {
  const Board b = OneMate();
  EXPECT_EQ(JudgePuzzleMove(b, WHITE, kA1, kA8), PuzzleVerdict::kSolved);
  EXPECT_EQ(JudgePuzzleMove(b, WHITE, kA1, kA2), PuzzleVerdict::kWrong);
  EXPECT_EQ(JudgePuzzleMove(b, WHITE, kA1, kH8), PuzzleVerdict::kIllegal);
  EXPECT_EQ(JudgePuzzleMove(b, WHITE, kH8, kB8), PuzzleVerdict::kIllegal);  // not White's piece
}

}  // namespace
