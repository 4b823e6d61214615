// Time allocation, the engine clock and the time-control commands.
#include <gtest/gtest.h>

#include "program_test_util.h"

namespace corvane {
namespace {

struct AllocCase {
  int moves, base, inc, cur;
  long long used;
  int target, maximum;
};

TEST(TimeAllocation, TargetsAndMaximaFollowTheControl) {
  // Expected values computed independently from the allocation formulas.
  const AllocCase cases[] = {
      {40, 300, 0, 0, 0, 1177, 4711},       // level 40 5 0, first move
      {999, 300, 0, 0, 0, 750, 3000},       // level 0 5 0
      {40, 300, 0, 20, 6000, 1127, 4510},   // tenth move, a minute used
      {999, 300, 5, 10, 2000, 1529, 6119},  // with increment
      {40, 300, 0, 78, 29000, 450, 900},    // last move of the control, little time left
      {999, 10, 0, 40, 900, 20, 40},        // one second left: a share of it, not the 1 s floor
      {999, 10, 0, 40, 1000, 1, 2},         // nothing left: the smallest step
  };
  for (const AllocCase& c : cases) {
    EngineRun run;
    run.pr->tc.moves = c.moves;
    run.pr->tc.base = c.base;
    run.pr->tc.inc = c.inc;
    run.pr->game.used = c.used;
    int target, maximum, depth;
    AllocateMoveTime(*run.pr, c.cur, &target, &maximum, &depth, false);
    EXPECT_EQ(target, c.target) << c.moves << " " << c.base << " " << c.cur;
    EXPECT_EQ(maximum, c.maximum) << c.moves << " " << c.base << " " << c.cur;
    EXPECT_EQ(depth, 0);
    EXPECT_LE(maximum, 4 * target + 4);
    EXPECT_LE(2 * target, maximum + 1);
  }
}

TEST(TimeAllocation, FixedTimePerMoveIsTheHardLimit) {
  EngineRun run;
  run.Run(Lines({"st 5"}));
  int target, maximum, depth;
  AllocateMoveTime(*run.pr, 0, &target, &maximum, &depth, false);
  EXPECT_EQ(target, 0);
  EXPECT_EQ(maximum, 500);
}

TEST(TimeControl, CommandsSetAndIgnore) {
  EngineRun run;
  run.Run(Lines({"level 40 5 0", "level x 5 0", "level 40 5"}));
  EXPECT_EQ(run.pr->tc.moves, 40);
  EXPECT_EQ(run.pr->tc.base, 300);
  EngineRun run2;
  run2.Run(Lines({"level 0 2:30 3"}));
  EXPECT_EQ(run2.pr->tc.moves, 999);
  EXPECT_EQ(run2.pr->tc.base, 150);
  EXPECT_EQ(run2.pr->tc.inc, 3);
  EngineRun run3;
  run3.Run(Lines({"st 0", "sd -4"}));
  EXPECT_EQ(run3.pr->tc.fixed, 1);
  EXPECT_EQ(run3.pr->tc.moves, 0);
  EXPECT_EQ(run3.pr->tc.depthShow, 1);
}

TEST(TimeControl, TimeAfterFixedTimeLeavesTheClockAlone) {
  // "time" used to divide by the zero moves per control that "st" sets.
  EngineRun run;
  run.Run(Lines({"st 2", "time 1000", "time -5", "time 99999999999"}));
  EXPECT_EQ(run.pr->game.used, 0);
}

TEST(TimeControl, ClockSyncCountsTheEngineMoves) {
  EngineRun run;
  // Engine plays black after two plies: it has completed one move.
  run.Run(Lines({"force", "level 40 5 0", "e2e4", "e7e5", "time 29000"}));
  EXPECT_EQ(run.pr->game.used, 30000 - 29000);
  EngineRun white;
  white.Run(Lines({"force", "level 0 1 2", "black", "e2e4", "e7e5", "time 5000"}));
  // White moved first and is the engine: one move done, 60 + 2 seconds granted.
  EXPECT_EQ(white.pr->game.used, 6200 - 5000);
}

TEST(TimeControl, ClockTextFormats) {
  char buf[16];
  EXPECT_STREQ(FormatClock(1234, buf), "012.34");
  EXPECT_STREQ(FormatClock(123456, buf), "1234.5");
  EXPECT_STREQ(FormatClock(1234567, buf), "12345.");
  EXPECT_STREQ(FormatClock(12345678, buf), "123456");
  EXPECT_STREQ(FormatClock(123456789, buf), "999999");
}

TEST(TimeControl, GrantedTimeCountsControlsAndIncrements) {
  TimeControl tc;
  tc.moves = 40;
  tc.base = 300;
  tc.inc = 2;
  EXPECT_EQ(GrantedTime(tc, 0), 300);
  EXPECT_EQ(GrantedTime(tc, 39), 300 + 78);
  EXPECT_EQ(GrantedTime(tc, 40), 600 + 80);
}

TEST(TimeControl, AllocationTestCommandShowsItsLines) {
  EngineRun run;
  run.io.monitor = true;
  run.Run(Lines({"lt 10 100", "st 3", "lt 10 100"}));
  size_t first = run.console.err.find(" 'kay?");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(run.console.err.find(" 'kay?", first + 1), std::string::npos);
  EXPECT_NE(run.console.err.find("done  10  used 100.0"), std::string::npos);
}

}  // namespace
}  // namespace corvane
