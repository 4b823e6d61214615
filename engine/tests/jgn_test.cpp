// The JGN game-file reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "program_test_util.h"

namespace corvane {
namespace {

void WriteFile(const char* name, const std::string& text) {
  std::ofstream f(name, std::ios::binary);
  f << text;
}

const char kGames[] =
    "(a file (with nested) comments)\n"
    "[game first]\n[annotator Some   One]\n1. e2-e4 e7-e5 2. Ng1-f3 (a comment) Nb8-c6\n"
    "[game 7]\n[remark second game]\n1. d2-d4 12... $d7d5\n"
    "[game third]\n1. e2-e4\n[posj]\n"
    "k....... ....P... ........ ........ ........ ........ ........ ....K...  w . . . .\n"
    "e7-e8\n";

TEST(Jgn, SelectsGamesByNumberOrLabel) {
  WriteFile("jgn_games.JGN", kGames);
  EngineGame* game = new EngineGame;
  std::string error;
  ASSERT_TRUE(CccJgnRead("jgn_games", game, &error)) << error;
  EXPECT_EQ(game->cur, 4);
  EXPECT_STREQ(game->annotator, "Some One");
  EXPECT_STREQ(game->name, "jgn_games.JGN / 1 (first)");
  ASSERT_TRUE(CccJgnRead("jgn_games/2", game, &error)) << error;
  EXPECT_EQ(game->cur, 2);
  EXPECT_STREQ(game->remark, "second game");
  ASSERT_TRUE(CccJgnRead("jgn_games.JGN/7", game, &error)) << error;
  EXPECT_EQ(game->cur, 2);  // label 7 is the second game as well
  // [posj] after a move: the moves stay, the game stands at the new start.
  ASSERT_TRUE(CccJgnRead("jgn_games/third", game, &error)) << error;
  EXPECT_EQ(game->last, 2);
  EXPECT_EQ(game->cur, 0);
  char t[8];
  EXPECT_STREQ(MoveText(game->moves[1], t), "e7e8q");  // e7-e8 is the queen promotion
  delete game;
}

TEST(Jgn, UnreadableFilesLeaveTheEngineRunning) {
  WriteFile("jgn_bad1.JGN", "[game x]\n1. e2-e5\n");
  WriteFile("jgn_bad2.JGN", "[game x]\n(open comment\n");
  WriteFile("jgn_bad3.JGN", "[game x]\n[posj] KKKK\n");
  WriteFile("jgn_bad4.JGN", std::string("[game x] ") + std::string(120, 'a'));
  struct Case {
    const char* arg;
    const char* error;
  } cases[] = {
      {"jgn_missing_file", "CccJgnRead: 'jgn_missing_file' open failed"},
      {"jgn_bad1", "JgnLegalMove: bad string [e2-e5]"},
      {"jgn_bad2", "JgnItemRead: (...) open"},
      {"jgn_bad3", "JgnChar: unexpected EOF"},
      {"jgn_bad4", "JgnItemRead: word too long"},
      {"jgn_bad1/5", "CccJgnRead: 5 not found"},
  };
  for (const Case& c : cases) {
    EngineRun run;
    std::string out = run.Run(std::string("xboard\nforce\ne2e4\nnew jgn ") + c.arg + "\n");
    EXPECT_EQ(out, std::string("Error (bad game file): ") + c.error + "\n");
    EXPECT_EQ(run.pr->game.cur, 1);
    EXPECT_EQ(run.pr->mode, kModeForce);
  }
  EngineRun ok;
  WriteFile("jgn_ok.JGN", kGames);
  EXPECT_EQ(ok.Run("xboard\nnew jgn jgn_ok/2\n"), "");
  EXPECT_EQ(ok.pr->game.cur, 2);
  EXPECT_EQ(ok.pr->mode, kModeForce);
}

}  // namespace
}  // namespace corvane
