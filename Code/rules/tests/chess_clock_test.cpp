#include "chess_clock.h"

#include <gtest/gtest.h>

#include <memory>

#include "fake_game_host.h"
#include "game_end.h"
#include "game_registry.h"
#include "game_test_support.h"

namespace {

struct GameDeleter {
  void operator()(GameRecord* g) const { DestroyGame(g); }
};
using GamePtr = std::unique_ptr<GameRecord, GameDeleter>;

PlayerDescriptor Timed(uint32_t type, uint32_t base, uint32_t period) {
  PlayerDescriptor d{};
  d.timeControl = type;
  d.baseMs = base;
  d.periodOrIncrement = period;
  return d;
}

// A game from the initial position with `plies` quiet moves, each stored
// with the time `timeOfPly(ply)`, standing at its last ply with clocks reset.
template <typename F>
GamePtr TimedGame(const PlayerDescriptor& white, const PlayerDescriptor& black, int plies, F timeOfPly) {
  GamePtr game(NewGame(nullptr, GAME_QUIET, &white, &black));
  EXPECT_EQ(PlayQuietWalk(game.get(), plies, true), plies);
  for (int ply = 1; ply <= plies; ++ply) GetMoveAtPly(game.get(), ply)->timeMs = timeOfPly(ply);
  game->kind = 0;
  ResetClocks(game.get());
  return game;
}

TEST(ChessClock, RemainingTimeByType) {
  FakeGameHost host;
  FakeTicks ticks(1000);
  // White has completed 10 moves (ply 20) and used 50 s; black 10 moves, 30 s.
  const struct {
    uint32_t type, base, period;
    int32_t white;
  } cases[] = {
      {TIME_MOVES_PER_PERIOD, 300000, 40, 300000 - 50000},
      {TIME_MOVES_PER_PERIOD_ALT, 100000, 10, 2 * 100000 - 50000},  // a second period has begun
      {TIME_MOVES_PER_PERIOD, 100000, 0, 11 * 100000 - 50000},      // a period of 0 counts as 1
      {TIME_GAME_IN, 60000, 0, 10000},
      {TIME_GAME_IN_4, 60000, 0, 10000},
      {TIME_INCREMENT, 60000, 2000, 30000},
      {TIME_SHARED, 60000, 0, 60000 - 50000 + 30000},
      {77, 1, 1, kUntimedRemainingMs},
  };
  for (const auto& c : cases) {
    PlayerDescriptor white = Timed(c.type, c.base, c.period), black = Timed(c.type, c.base, c.period);
    GamePtr game = TimedGame(white, black, 20, [](int ply) { return ply % 2 ? 5000u : 3000u; });
    EXPECT_EQ(GetClockTimeUsed(game.get(), WHITE), 50000u);
    EXPECT_EQ(GetClockTimeUsed(game.get(), BLACK), 30000u);
    EXPECT_EQ(GetClockRemaining(game.get(), WHITE), c.white) << c.type << " " << c.period;
  }
}

TEST(ChessClock, PeriodGivesTheBaseAgain) {
  FakeGameHost host;
  FakeTicks ticks(1000);
  PlayerDescriptor p = Timed(TIME_MOVES_PER_PERIOD, 300000, 40);
  GamePtr game = TimedGame(p, p, 79, [](int) { return 0u; });
  EXPECT_EQ(GetClockRemaining(game.get(), WHITE), 600000);  // 40 moves completed
  SeekToPly(game.get(), 78);
  ResetClocks(game.get());
  EXPECT_EQ(GetClockRemaining(game.get(), WHITE), 300000);
}

TEST(ChessClock, IncrementRemainingLessTheCurrentTurn) {
  FakeGameHost host;
  FakeTicks ticks(1000);
  PlayerDescriptor p = Timed(TIME_INCREMENT, 60000, 2000);
  GamePtr game = TimedGame(p, p, 20, [](int ply) { return ply % 2 ? 5000u : 1000u; });
  RestartClocks(game.get());
  FakeTicks::now += 1500;
  UpdateRunningClock(game.get(), FakeTicks::now);
  EXPECT_EQ(GetMoveElapsed(game.get()), 1500u);
  EXPECT_EQ(GetClockRemaining(game.get(), WHITE), 30000 - 1500);
}

TEST(ChessClock, ResetSumsStoredTimesUpToTheCurrentPly) {
  FakeGameHost host;
  FakeTicks ticks(1000);
  PlayerDescriptor p = Timed(TIME_GAME_IN_3, 600000, 0);
  GamePtr game = TimedGame(p, p, 30, [](int ply) { return 1000u * ply; });
  SeekToPly(game.get(), 20);
  ResetClocks(game.get());
  EXPECT_EQ(game->whiteClock.used, 100000u);  // plies 1, 3, .., 19
  EXPECT_EQ(game->blackClock.used, 110000u);  // plies 2, 4, .., 20
  // A replayed move keeps its stored time.
  EXPECT_EQ(ReplayMove(game.get()), 0);
  EXPECT_EQ(game->whiteClock.used, 121000u);
  EXPECT_EQ(GetCurrentMove(game.get())->timeMs, 21000u);
}

TEST(ChessClock, PauseStaysOutOfTheMove) {
  FakeGameHost host;
  FakeTicks ticks(1000);
  PlayerDescriptor p = Timed(TIME_GAME_IN_3, 600000, 0);
  GamePtr game(NewGame(nullptr, 0, &p, &p));
  StartGame(game.get());
  ASSERT_TRUE(Play(game.get(), "e4"));
  FakeTicks::now += 1000;
  PauseClock(game.get());
  EXPECT_TRUE(IsClockPaused(game.get()));
  FakeTicks::now += 5000;
  ResumeClock(game.get());
  EXPECT_FALSE(IsClockPaused(game.get()));
  FakeTicks::now += 3000;
  ASSERT_TRUE(Play(game.get(), "e5"));
  EXPECT_EQ(GetCurrentMove(game.get())->timeMs, 4000u);
  EXPECT_EQ(game->blackClock.used, 4000u);
  // Taking the move back gives its time back.
  EXPECT_EQ(TakeBackMove(game.get()), 0);
  EXPECT_EQ(game->blackClock.used, 0u);
  SetCurrentGame(nullptr);
}

TEST(ChessClock, FlagAnnouncedOncePerSideUntilRestart) {
  FakeGameHost host;
  FakeTicks ticks(1000);
  PlayerDescriptor p = Timed(TIME_GAME_IN_3, 1000, 0);
  GamePtr game(NewGame(nullptr, 0, &p, &p));
  StartGame(game.get());
  ResumeClock(game.get());
  for (int i = 0; i < 3; ++i) {
    FakeTicks::now += 1000;
    UpdateRunningClock(game.get(), FakeTicks::now);
  }
  EXPECT_EQ(host.modeless, (std::vector<std::string>{"White's time has elapsed"}));
  EXPECT_EQ(game->result, 0u);  // without the loss-on-time kind the game goes on
  RestartClocks(game.get());
  FakeTicks::now += 2000;
  UpdateRunningClock(game.get(), FakeTicks::now);
  EXPECT_EQ(host.modeless.size(), 2u);
  // A remote player's flag never falls; type 2 never falls.
  game->white.kind = PLAYER_REMOTE;
  EXPECT_FALSE(IsFlagFallen(game.get(), WHITE));
  game->white.kind = PLAYER_HUMAN;
  game->whiteClock.type = TIME_GAME_IN;
  EXPECT_FALSE(IsFlagFallen(game.get(), WHITE));
  SetCurrentGame(nullptr);
}

TEST(ChessClock, TimerResetsItsStampsWhenTheTickWraps) {
  FakeGameHost host;
  FakeTicks ticks(0xFFFFF000u);
  PlayerDescriptor p = Timed(TIME_GAME_IN_3, 600000, 0);
  GamePtr game(NewGame(nullptr, 0, &p, &p));
  StartGame(game.get());
  ResumeClock(game.get());
  ResetClockTimer();
  ClockTimerProc(0xFFFFF000u + 500);
  EXPECT_EQ(game->whiteClock.elapsed, 500u);
  FakeTicks::now = 0x100;  // wrapped
  ClockTimerProc(FakeTicks::now);
  EXPECT_EQ(game->whiteClock.elapsed, 500u);  // only the stamps were reset
  ClockTimerProc(FakeTicks::now + 50);
  EXPECT_EQ(game->whiteClock.elapsed, 500u);
  ClockTimerProc(FakeTicks::now + 150);
  EXPECT_EQ(game->whiteClock.elapsed, 0x1000u + 0x100 + 150);  // counted across the wrap
  SetCurrentGame(nullptr);
}

TEST(TimeSource, CountsUp) {
  InitTimeSource();
  uint32_t a = GetTimeMs();
  uint32_t b = GetTimeMs();
  EXPECT_LE(a, b);
  EXPECT_LT(b, 60000u);
}

}  // namespace
