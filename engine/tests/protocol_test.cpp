// The engine protocol driven line by line through the command loop.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

#include "program_test_util.h"

namespace corvane {
namespace {

int CountOf(const std::string& s, const std::string& what) {
  int n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

TEST(Protocol, NothingOnStandardOutputBeforeXboard) {
  EngineRun run;
  EXPECT_EQ(run.Run(Lines({"E2E4", "e2e5", "bk"})), "");
  EXPECT_EQ(run.Run(Lines({"xboard", "E2E4"})), "Error (unknown command): E2E4\n");
}

TEST(Protocol, SimpleRepliesAreExact) {
  struct Case {
    const char* script;
    const char* reply;
  } cases[] = {
      {"\n   \n", ""},
      {"E2E4\n", "Error (unknown command): E2E4\n"},
      {"e2e5\n", "Illegal move: e2e5\n"},
      {"force\ne2e4\n", ""},
      {"rw_parm sel=4 foo mob\n", "rw_parm sel=4 foo=? mob=100\n"},
      {"rw_parm default\n", "rw_parm default\n"},
      {"rw_parm tts=4096 ana= cfd=-20\n", "rw_parm tts=4096 ana=0 cfd=-20\n"},
      {"bk\n", " This engine does not have a book.\n \n Okay?\n\n"},
      {"? x\ndraw\nresult 1-0\n.\nrandom\notim 100\n", ""},
      {"level 40 five 0\nst\nsd x\ntime\nlt 3\n", ""},
      {"go~anal\n", "Error (unknown command): goanal\n"},  // '~' is not a line character
  };
  for (const auto& c : cases) {
    EngineRun run;
    EXPECT_EQ(run.Run(std::string("xboard\n") + c.script), c.reply) << c.script;
  }
}

TEST(Protocol, ParameterTableAndMendedRanges) {
  EngineRun run;
  std::string out = run.Run(Lines({"xboard", "rw_parm sel=99 md=5 myp=120 cc=80", "rw_parm cc md sel"}));
  EXPECT_EQ(out,
            "Error (value out of range): sel=99\n"
            "rw_parm sel=6 md=5 myp=120 cc=80\n"
            "rw_parm cc=80 md=5 sel=6\n");
  EXPECT_EQ(run.pr->params[kPCcOp], 80);  // second values follow the first
  // A maximal line of unknown names still gives one bounded reply.
  EngineRun big;
  std::string line = "rw_parm";
  while (line.size() < 250) line += " abcdefghijklmnopqrstuvw";
  std::string reply = big.Run("xboard\n" + line + "\n");
  EXPECT_LE(reply.size(), 516u);
  EXPECT_EQ(reply.rfind("rw_parm abcdefghijklmnopqrstuvw=?", 0), 0u);
}

TEST(Protocol, PromotionNeedsItsLetter) {
  EngineRun run;
  std::string out =
      run.Run(Lines({"xboard", "force", "edit", "#", "Ka1", "Pe7", "c", "Kh1", ".", "e7e8", "e7e8q"}));
  EXPECT_EQ(out, "Illegal move: e7e8\n");
  char t[8];
  EXPECT_STREQ(MoveText(run.pr->game.moves[0], t), "e7e8q");
}

TEST(Protocol, GameEndIsAnnounced) {
  EngineRun run;
  std::string out = run.Run(Lines({"xboard", "force", "f2f3", "e7e5", "g2g4", "d8h4", "go"}));
  EXPECT_EQ(out, "0-1 {Checkmate}\nError (game is over): go\n");
}

TEST(Protocol, EditModeRefusesBadPositionsAndKeepsTheGame) {
  const char* bad[] = {
      "#\nKe1\n.\n",               // no black king
      "#\nKe1\nKe2\nc\nKe8\n.\n",  // two white kings
      "#\nKe1\nQa1\nQa2\nQa3\nQa4\nQa5\nQa6\nQa7\nQa8\nQb1\nQb2\nQb3\nQb4\nQb5\nQb6\nQb7\nQb8\nc\nKh8\n.\n",
      "#\nKe1\nPa8\nc\nKh8\n.\n",  // pawn on the last rank
  };
  for (const char* b : bad) {
    EngineRun run;
    std::string out = run.Run(std::string("xboard\nforce\ne2e4\nedit\n") + b + "e7e5\n");
    EXPECT_EQ(out, "Error (illegal position): .\n") << b;
    EXPECT_EQ(run.pr->game.cur, 2) << b;  // the game went on from before "edit"
  }
  EngineRun run;
  EXPECT_EQ(run.Run(Lines({"xboard", "edit", "Zz9", "", "c", "."})),
            "Error (command not legal now): Zz9\nError (command not legal now): nop\n");
}

TEST(Protocol, EditedPositionGetsCastlingFromPlacement) {
  EngineRun run;
  run.Run(Lines({"xboard", "force", "edit", "#", "Ke1", "Rh1", "Ra2", "c", "Ke8", "Ra8", "."}));
  const EnginePosition& p = run.pr->game.start;
  EXPECT_EQ(p.castle[0], 0);
  EXPECT_EQ(p.castle[1], 1);
  EXPECT_EQ(p.castle[2], 1);
  EXPECT_EQ(p.castle[3], 0);
  EXPECT_EQ(run.pr->mode, kModeForce);
}

TEST(Protocol, UndoAndRemove) {
  EngineRun run;
  run.Run(Lines({"force", "undo", "e2e4", "e7e5", "g1f3", "remove"}));
  EXPECT_EQ(run.pr->game.cur, 1);
  EXPECT_EQ(run.pr->game.last, 3);
  run.Run(Lines({"remove", "remove"}));
  EXPECT_EQ(run.pr->game.cur, 0);
}

TEST(Protocol, MovePastTheMoveListIsRefused) {
  EngineRun run;
  std::string script = "xboard\nforce\n";
  const char* cycle[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  for (int i = 0; i < kGameMoves; ++i) script += std::string(cycle[i % 4]) + "\n";
  script += "g1f3\n";
  std::string out = run.Run(script);
  EXPECT_EQ(run.pr->game.cur, kGameMoves);
  EXPECT_NE(out.find("Error (move list full): g1f3\n"), std::string::npos);
}

TEST(Protocol, SearchReplyWithMoveAndExpectedLine) {
  EngineRun run;
  std::string out = run.Run(Lines({"xboard", "post", "rw_parm md=4", "go"}));
  std::smatch m;
  ASSERT_TRUE(std::regex_search(out, m, std::regex("move ([a-h][1-8][a-h][1-8])\n"))) << out;
  EXPECT_EQ(run.pr->game.cur, 1);
  EXPECT_EQ(run.pr->mode, kModeWhite);
  // Thinking lines: depth, score, time, nodes, then moves.
  EXPECT_TRUE(std::regex_search(out, std::regex(" 3 [ +-]{1,4}[0-9]+ +[0-9]+ +[0-9]+ [A-Za-z]")));
}

TEST(Protocol, QuestionMarkStopsWithTheBestMoveSoFar) {
  EngineRun run;
  std::string out = run.Run(Lines({"xboard", "st 100", "go", "?"}));
  EXPECT_EQ(CountOf(out, "move "), 1);
  EXPECT_EQ(run.pr->game.cur, 1);
}

TEST(Protocol, OtherLinesAbortWithoutAMove) {
  EngineRun run;
  std::string out = run.Run(Lines({"xboard", "st 100", "go", "E2E4"}));
  EXPECT_EQ(out, "Error (unknown command): E2E4\n");
  EXPECT_EQ(run.pr->game.cur, 0);
  EXPECT_EQ(run.pr->mode, kModeForce);
  EXPECT_EQ(run.pr->game.used, 0);  // the aborted run is not counted
}

TEST(Protocol, StatusLineDuringSearch) {
  EngineRun run;
  std::string out = run.Run(Lines({"xboard", "st 100", "go", ".", "?"}));
  EXPECT_TRUE(std::regex_search(
      out, std::regex("stat01: +[0-9]+ +[0-9]+ +[0-9]+ +[0-9]+ +20( [a-h][1-8][a-h][1-8])*\n")))
      << out;
  EXPECT_EQ(CountOf(out, "move "), 1);
}

TEST(Protocol, ThinkingLineLayout) {
  EnginePosition pos;
  InitialPosition(&pos);
  EngineMove line[3] = {FindGameMove(pos, "e2e4"), 0, 0};
  EnginePosition after;
  MakeGameMove(&pos, line[0], &after);
  line[1] = FindGameMove(after, "e7e5");
  char text[300];
  FormatThinkingLine(pos, 9, 31, 412, 218734, line, text, sizeof text);
  EXPECT_STREQ(text, " 9   +31    412    218734 e4 e5");
  // A long line stops after the move that crosses 200 characters.
  EngineMove cycle[64];
  EnginePosition p = pos;
  const char* words[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  for (int i = 0; i < 63; ++i) {
    cycle[i] = FindGameMove(p, words[i % 4]);
    MakeGameMove(&p, cycle[i]);
  }
  cycle[63] = 0;
  FormatThinkingLine(pos, 9, 31, 412, 218734, cycle, text, sizeof text);
  size_t len = std::strlen(text);
  EXPECT_GE(len, 200u);
  EXPECT_LT(len, 206u);
}

TEST(Protocol, HintAndSolve) {
  EngineRun run;
  // Mate in one: Rh8.
  std::string out = run.Run(
      Lines({"xboard", "force", "post", "edit", "#", "Kb6", "Rh1", "c", "Kb8", ".", "rw_solve", "hint"}));
  EXPECT_NE(out.find("Rh8+"), std::string::npos) << out;
  EXPECT_NE(out.find("rw_solve\n"), std::string::npos);
  EXPECT_NE(out.find("Hint: h1h8\n"), std::string::npos);
  EXPECT_NE(out.find("+9999"), std::string::npos);
  // After the mate: no hint, and the mate search answers at once.
  EngineRun over;
  std::string end = over.Run(Lines({"xboard", "force", "f2f3", "e7e5", "g2g4", "d8h4", "hint", "rw_solve"}));
  EXPECT_EQ(end, "0-1 {Checkmate}\nrw_solve\n");
}

TEST(Protocol, PlaysAGameAsBlackAndPondersOnTheExpectedMove) {
  EngineRun run;
  // The host answers the first two ponder hints by playing the expected move.
  int hits = 0;
  size_t answered = 0;
  run.console.onEmpty = [&](ScriptConsole& c) {
    size_t h = c.out.rfind("Hint: ");
    if (h == std::string::npos || h < answered || hits >= 2) return run.pr->kind == kKindBusy;
    answered = h + 1;
    c.input += c.out.substr(h + 6, c.out.find('\n', h) - h - 6) + "\n";
    ++hits;
    return true;
  };
  std::string out = run.Run(Lines({"xboard", "new", "hard", "rw_parm md=3", "e2e4"}));
  EXPECT_EQ(hits, 2);
  EXPECT_EQ(CountOf(out, "move "), 3);
  EXPECT_EQ(run.pr->game.cur, 6);
  EXPECT_EQ(run.pr->mode, kModeBlack);
}

TEST(Protocol, AnalysisRunsUntilACommandAndRestartsOnMoves) {
  EngineRun run;
  std::string out = run.Run(Lines({"xboard", "post", "analyze", "e2e4", "exit", "force"}));
  EXPECT_EQ(CountOf(out, "move "), 0);
  EXPECT_EQ(run.pr->game.cur, 1);
  EXPECT_EQ(run.pr->mode, kModeForce);
}

}  // namespace
}  // namespace corvane
