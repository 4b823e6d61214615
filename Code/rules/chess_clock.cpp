#include "chess_clock.h"

#include <cstring>
#include <vector>

#include "game_end.h"
#include "game_host.h"
#include "game_record.h"
#include "game_registry.h"
#include "time_source.h"

namespace {

bool ClocksOff(const GameRecord* game) { return (game->kind & GAME_CLOCKS_OFF) != 0; }

int SideToMove(const GameRecord* game) { return SideAtPly(game, GetTreePly(game->tree)); }

// The side that made the move at `ply` (1 = the first move).
int MoverAtPly(const GameRecord* game, int32_t ply) { return SideAtPly(game, ply - 1); }

// Moves `side` has completed at the tree's ply.
int32_t CompletedMoves(const GameRecord* game, int side) {
  int32_t ply = GetTreePly(game->tree);
  return side == game->startSide ? (ply + 1) / 2 : ply / 2;
}

// A tick of 0 reads as "not running": a real tick of 0 is taken as 1.
uint32_t Stamp(uint32_t now) { return now ? now : 1; }

void StartTurn(ChessClock* clock, uint32_t now) {
  clock->turnStart = Stamp(now);
  clock->elapsed = clock->pauseTick = clock->currentPause = clock->pausedTotal = 0;
}

void EndTurn(ChessClock* clock) {
  clock->turnStart = clock->elapsed = clock->pauseTick = clock->currentPause = clock->pausedTotal = 0;
}

int64_t Remaining(const ChessClock* own, const ChessClock* other, int64_t moves) {
  int64_t used = static_cast<int64_t>(own->used) + own->elapsed;
  switch (own->type) {
    case TIME_MOVES_PER_PERIOD:
    case TIME_MOVES_PER_PERIOD_ALT: {
      int64_t period = own->periodOrIncrement ? own->periodOrIncrement : 1;
      return (moves / period + 1) * own->base - used;
    }
    case TIME_GAME_IN:
    case TIME_GAME_IN_3:
    case TIME_GAME_IN_4:
      return static_cast<int64_t>(own->base) - used;
    case TIME_INCREMENT:
      return static_cast<int64_t>(own->base) - used + moves * own->periodOrIncrement;
    case TIME_SHARED:
      return static_cast<int64_t>(own->base) - used + static_cast<int64_t>(other->used) + other->elapsed;
    default:
      return kUntimedRemainingMs;
  }
}

struct TimerStamps {
  uint32_t lastUpdate = 0;
  uint32_t lastSecond = 0;
} g_timer;

}  // namespace

void ResetClocks(GameRecord* game) {
  if (!game) return;
  for (int side : {WHITE, BLACK}) {
    ChessClock* clock = ClockForSide(game, side);
    const PlayerRecord* player = PlayerForSide(game, side);
    uint32_t announced = clock->announced;
    std::memset(clock, 0, sizeof *clock);
    clock->announced = announced;
    clock->type = player->timeControl;
    clock->base = player->baseMs;
    clock->periodOrIncrement = player->periodOrIncrement;
  }
  int32_t ply = 1;
  // The stored times of the moves up to the current one, along the current line.
  for (const MoveTreeNode* n : TreeLineNodes(game->tree))
    ClockForSide(game, MoverAtPly(game, ply++))->used += n->move->timeMs;
}

void RestartClocks(GameRecord* game) {
  if (!game) return;
  ResetClocks(game);
  StartTurn(ClockForSide(game, SideToMove(game)), GetTickMs());
  game->whiteClock.announced = game->blackClock.announced = 0;
}

void PauseClock(GameRecord* game) {
  if (!game) return;
  ChessClock* clock = ClockForSide(game, SideToMove(game));
  if (!clock->pauseTick) clock->pauseTick = Stamp(GetTickMs());
}

void ResumeClock(GameRecord* game) {
  if (!game) return;
  ChessClock* clock = ClockForSide(game, SideToMove(game));
  if (!clock->pauseTick) return;
  clock->pausedTotal += GetTickMs() - clock->pauseTick;
  clock->pauseTick = clock->currentPause = 0;
}

bool IsClockPaused(const GameRecord* game) {
  return game && (game->whiteClock.pauseTick || game->blackClock.pauseTick);
}

uint32_t ChargeMoveTime(GameRecord* game) {
  if (!game || ClocksOff(game)) return 0;
  MoveRecord* move = GetTreeMove(game->tree);
  if (!move) return 0;
  uint32_t now = GetTickMs();
  int mover = MoverAtPly(game, GetTreePly(game->tree));
  ChessClock* clock = ClockForSide(game, mover);
  if (clock->pauseTick) clock->pausedTotal += now - clock->pauseTick;
  if (move->timeMs == 0 && clock->turnStart) move->timeMs = now - clock->turnStart - clock->pausedTotal;
  clock->used += move->timeMs;
  EndTurn(clock);
  StartTurn(ClockForSide(game, OtherSide(mover)), now);
  return move->timeMs;
}

void UndoMoveTime(GameRecord* game) {
  if (!game || ClocksOff(game)) return;
  MoveRecord* move = GetTreeMove(game->tree);
  if (!move) return;
  int mover = MoverAtPly(game, GetTreePly(game->tree));
  ChessClock* clock = ClockForSide(game, mover);
  clock->used = clock->used > move->timeMs ? clock->used - move->timeMs : 0;
  StartTurn(clock, GetTickMs());
  EndTurn(ClockForSide(game, OtherSide(mover)));
}

uint32_t GetMoveElapsed(const GameRecord* game) {
  if (!game) return 0;
  const ChessClock* clock = ClockForSide(game, SideToMove(game));
  if (!clock->turnStart) return 0;
  uint32_t now = GetTickMs();
  uint32_t pauses = clock->pausedTotal + (clock->pauseTick ? now - clock->pauseTick : 0);
  return now - clock->turnStart - pauses;
}

uint32_t GetClockTimeUsed(const GameRecord* game, int side) {
  if (!game) return 0;
  const ChessClock* clock = ClockForSide(game, side);
  return clock->used + clock->elapsed;
}

int32_t GetClockRemaining(const GameRecord* game, int side) {
  if (!game) return 0;
  int64_t r =
      Remaining(ClockForSide(game, side), ClockForSide(game, OtherSide(side)), CompletedMoves(game, side));
  if (r > INT32_MAX) return INT32_MAX;
  if (r < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(r);
}

bool ClockFlagDown(const GameRecord* game, int side) {
  const ChessClock* own = ClockForSide(game, side);
  const ChessClock* other = ClockForSide(game, OtherSide(side));
  int64_t moves = GetTreePly(game->tree) / 2;
  int64_t used = static_cast<int64_t>(own->used) + own->elapsed;
  switch (own->type) {
    case TIME_MOVES_PER_PERIOD:
    case TIME_MOVES_PER_PERIOD_ALT:
      return own->periodOrIncrement != 0 && Remaining(own, other, moves) < 0;
    case TIME_GAME_IN:
      return false;
    case TIME_SHARED:
      return static_cast<int64_t>(own->base) - used + other->used < 0;
    case TIME_GAME_IN_3:
    case TIME_GAME_IN_4:
    case TIME_INCREMENT:
      return Remaining(own, other, moves) < 0;
    default:
      return false;
  }
}

void UpdateRunningClock(GameRecord* game, uint32_t now) {
  if (!game || ClocksOff(game) || IsGameOver(game)) return;
  int side = SideToMove(game);
  ChessClock* clock = ClockForSide(game, side);
  if (clock->pauseTick) {
    clock->currentPause = now - clock->pauseTick;
    return;
  }
  if (!clock->turnStart) return;
  clock->elapsed = now - clock->turnStart - clock->currentPause - clock->pausedTotal;
  if (!clock->announced && IsFlagFallen(game, side)) {
    if (game->kind & GAME_LOSS_ON_TIME)
      EndGame(game, side == WHITE ? RESULT_WHITE_TIME : RESULT_BLACK_TIME);
    else
      AnnounceFlagFall(game, side);
  }
}

void ClockTimerProc(uint32_t now) {
  if (now < g_timer.lastUpdate) {
    // The tick count wrapped: start counting again from here.
    g_timer.lastUpdate = g_timer.lastSecond = now;
    return;
  }
  GameRecord* game = GetCurrentGame();
  if (now - g_timer.lastUpdate > 100) {
    g_timer.lastUpdate = now;
    UpdateRunningClock(game, now);
  }
  if (now - g_timer.lastSecond > 1000) {
    g_timer.lastSecond = now;
    if (game && game->third.session) GetGameHost()->RequestEngineStatus(game, &game->third);
  }
}

void ResetClockTimer() { g_timer = TimerStamps{}; }
