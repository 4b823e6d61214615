#include "live_game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "board.h"
#include "movegen.h"
#include "moverecord.h"
#include "position_setup.h"

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

TEST(LiveGame, ReceivedMovesAreLookedUpAmongTheLegalMoves) {
  Board board;
  int side = 0;
  ASSERT_TRUE(
      SetupPositionFromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1", &board, &side));
  std::vector<MoveRecord> legal(kMoveListRoom);
  uint16_t count = 0;
  GenerateLegalMoves(&board, legal.data(), &count, side);
  ASSERT_GT(count, 0);
  for (uint16_t i = 0; i < count; ++i) {
    OnlineMove wire = MakeOnlineMove(legal[i]);
    uint8_t bytes[16];
    PackOnlineMove(wire, bytes);
    std::memset(bytes + 4, 0xEE, 4);  // a planted word is never used
    OnlineMove back;
    UnpackOnlineMove(bytes, &back);
    MoveRecord found;
    ASSERT_TRUE(FindOnlineMove(&board, side, back, &found)) << i;
    EXPECT_EQ(found.from, legal[i].from);
    EXPECT_EQ(found.to, legal[i].to);
    for (char* slot : found.texts) EXPECT_EQ(slot, nullptr);
  }
  OnlineMove bad = MakeOnlineMove(legal[0]);
  bad.to = bad.from;
  MoveRecord found;
  EXPECT_FALSE(FindOnlineMove(&board, side, bad, &found));
  bad = MakeOnlineMove(legal[0]);
  bad.flags = MOVE_LIST_END;
  EXPECT_FALSE(FindOnlineMove(&board, side, bad, &found));
  bad = MakeOnlineMove(legal[0]);
  EXPECT_FALSE(FindOnlineMove(&board, 1 - side, bad, &found));  // not the side to move
}
