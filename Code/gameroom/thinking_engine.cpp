#include "thinking_engine.h"

#include <cstring>

#include "advisor_requests.h"
#include "engine_player.h"
#include "engine_protocol.h"
#include "game_record.h"

static_assert(sizeof(ThinkingLine) <= kThinkingBlockSize, "the player's thinking block holds a line");
static_assert(sizeof(EngineStatus) <= kStatisticsBlockSize, "the player's statistics block holds a status");

namespace {
int Start(GameRecord* game) { return StartEngineAnalysis(game); }
int Stop(GameRecord* game) { return StopEngineAnalysis(game); }
int Post(PlayerRecord* player, bool on) { return SetEnginePlayerPost(player, on); }
void Status(PlayerRecord* player) { RequestEngineStatus(player); }
}  // namespace

ThinkingLinesEngine EngineLinkThinkingCalls() { return {Start, Stop, Post, Status}; }

PlayerThinking ReadPlayerThinking(const PlayerRecord* player) {
  ThinkingLine line;
  std::memcpy(&line, player->thinking, sizeof line);
  line.line[sizeof line.line - 1] = '\0';
  return {line.ply, line.score, line.time, line.nodes, line.line};
}

PlayerStatistics ReadPlayerStatistics(const PlayerRecord* player) {
  EngineStatus status;
  std::memcpy(&status, player->statistics, sizeof status);
  return {status.time, status.nodes, status.ply, status.movesLeft, status.totalMoves};
}
