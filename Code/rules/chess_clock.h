// The chess clocks of a game: one per side, counting with the system tick
// count. A turn starts when the opponent's move is charged; pauses stay out
// of the mover's time; each move's time is stored in its MoveRecord.
//
// Interface: ResetClocks, RestartClocks, PauseClock, ResumeClock,
// IsClockPaused, ChargeMoveTime, UndoMoveTime, GetMoveElapsed,
// GetClockTimeUsed, GetClockRemaining, ClockTimerProc, UpdateRunningClock,
// ResetClockTimer.
//
// All take the game; the side to move and the mover follow from the tree's
// ply and the start side. Clocks are used on the user-interface thread only.
#pragma once

#include <cstdint>

struct GameRecord;

// Time-control types.
enum TimeControlType {
  TIME_MOVES_PER_PERIOD = 0,  // types 0 and 1: the base time again for every period of moves
  TIME_MOVES_PER_PERIOD_ALT = 1,
  TIME_GAME_IN = 2,  // types 2-4: base time for the game (type 2 never falls)
  TIME_GAME_IN_3 = 3,
  TIME_GAME_IN_4 = 4,
  TIME_INCREMENT = 5,  // base plus an increment per completed move
  TIME_SHARED = 6,     // own time plus the opponent's
};
constexpr int32_t kUntimedRemainingMs = 59999000;

struct ChessClock {
  uint32_t type;
  uint32_t pauseTick;     // when the current pause began, 0 when not paused
  uint32_t currentPause;  // length of the pause in progress (display)
  uint32_t pausedTotal;   // pauses of the current turn
  uint32_t turnStart;     // when the current turn began, 0 when not on move
  uint32_t elapsed;       // current turn less pauses (display)
  uint32_t used;          // all completed moves
  uint32_t base;
  uint32_t periodOrIncrement;
  uint32_t announced;  // 1 once a fallen flag has been announced
};

void ResetClocks(GameRecord* game);
void RestartClocks(GameRecord* game);
void PauseClock(GameRecord* game);
void ResumeClock(GameRecord* game);
bool IsClockPaused(const GameRecord* game);
uint32_t ChargeMoveTime(GameRecord* game);
void UndoMoveTime(GameRecord* game);
uint32_t GetMoveElapsed(const GameRecord* game);
// `side` is WHITE or BLACK.
uint32_t GetClockTimeUsed(const GameRecord* game, int side);
int32_t GetClockRemaining(const GameRecord* game, int side);
// The flag-fall rule; IsFlagFallen (game_record.h) adds the result and
// remote-player conditions.
bool ClockFlagDown(const GameRecord* game, int side);

// The room timer's procedure: `now` is the system time in ms.
void ClockTimerProc(uint32_t now);
void UpdateRunningClock(GameRecord* game, uint32_t now);
// Forgets the timer's stamps (start-up and tests).
void ResetClockTimer();
