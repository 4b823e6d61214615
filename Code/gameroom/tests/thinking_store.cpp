// Lines and statistics put into a player's record as the engine link stores
// them, for the window tests (apart from the system headers).
#include <cstdio>
#include <cstring>

#include "engine_protocol.h"
#include "game_record.h"

void StoreThinkingLine(PlayerRecord* p, int depth, int score, int time, int nodes, const char* moves) {
  ThinkingLine line{};
  line.ply = depth;
  line.score = score;
  line.time = time;
  line.nodes = nodes;
  std::snprintf(line.line, sizeof line.line, "%s", moves);
  std::memcpy(p->thinking, &line, sizeof line);
}

void StoreThinkingStatistics(PlayerRecord* p, int time, int nodes, int depth, int left, int total) {
  EngineStatus s{};
  s.time = time;
  s.nodes = nodes;
  s.ply = depth;
  s.movesLeft = left;
  s.totalMoves = total;
  std::memcpy(p->statistics, &s, sizeof s);
}
