#include "live_game.h"

#include <gtest/gtest.h>

TEST(LiveGame, ClocksFromTheDescriptor) {
  struct Case {
    uint32_t flags, base, bonus, kind, baseMs, bonusMs;
  } cases[] = {
      {kTimeFischer, 5, 3, 5, 300000, 3000}, {kTimeMinutesPerGame, 10, 7, 4, 600000, 0},
      {kTimeHourglass, 90, 0, 6, 90000, 0},  {kTimeInfinite, 5, 3, 7, 0, 0},
      {kTimeSecondsPerMove, 30, 0, 7, 0, 0}, {kTimeFischer, 0xFFFFFFFF, 0, 5, 0xFFFFFFFF, 0},
  };
  for (const Case& c : cases) {
    OnlineGameDescriptor d;
    d.flags = c.flags;
    d.base = c.base;
    d.bonus = c.bonus;
    OnlineClock clock = OnlineClockFromDescriptor(d);
    EXPECT_EQ(clock.kind, c.kind) << c.flags;
    EXPECT_EQ(clock.baseMs, c.baseMs) << c.flags;
    EXPECT_EQ(clock.bonusMs, c.bonusMs) << c.flags;
  }
  OnlineGameDescriptor d;
  EXPECT_EQ(OnlineGameKindFlags(d), 0x2400u);
  d.flags = kGameRated;
  EXPECT_EQ(OnlineGameKindFlags(d), 0x2430u);
  d.flags = kGameUnratedEnforced;
  EXPECT_EQ(OnlineGameKindFlags(d), 0x2410u);
}

TEST(LiveGame, TheLosingSideIsTheSenders) {
  EXPECT_EQ(ResultFromSender(MSG_RESIGNED, 16), 10u);
  EXPECT_EQ(ResultFromSender(MSG_RESIGNED, 32), 11u);
  EXPECT_EQ(ResultFromSender(MSG_LOST_ON_TIME, 16), 12u);
  EXPECT_EQ(ResultFromSender(MSG_LOST_ON_TIME, 32), 13u);
  EXPECT_EQ(ResultFromSender(MSG_RESIGNED, 0), 0u);
  EXPECT_EQ(OwnResignResult(true), 10u);
  EXPECT_EQ(OwnResignResult(false), 11u);
}

TEST(LiveGame, ViewGrantedOnlyForTheCurrentGameOnOwnTurn) {
  OnlineGameDescriptor g;
  g.guid[0] = 1;
  g.flags = kGameViewersAllowed;
  OnlineGameDescriptor other = g;
  other.guid[0] = 2;
  EXPECT_TRUE(ViewRequestGranted(g, true, true, g));
  EXPECT_FALSE(ViewRequestGranted(g, true, false, g));
  EXPECT_FALSE(ViewRequestGranted(g, false, true, g));
  EXPECT_FALSE(ViewRequestGranted(g, true, true, other));
  OnlineGameDescriptor closed = g;
  closed.flags = 0;
  EXPECT_FALSE(ViewRequestGranted(closed, true, true, closed));
}
