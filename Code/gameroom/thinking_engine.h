// What the Thinking Lines window reads of the player records and asks of the
// engine link, apart from the window so that it needs no system headers.
//
// Interface: ThinkingLinesEngine, EngineLinkThinkingCalls,
// PlayerThinking, PlayerStatistics, ReadPlayerThinking,
// ReadPlayerStatistics.
#pragma once

#include <cstdint>
#include <string>

struct GameRecord;
struct PlayerRecord;

struct ThinkingLinesEngine {
  int (*startAnalysis)(GameRecord* game);
  int (*stopAnalysis)(GameRecord* game);
  int (*setPost)(PlayerRecord* player, bool on);
  void (*requestStatus)(PlayerRecord* player);
};
// The engine link's own calls.
ThinkingLinesEngine EngineLinkThinkingCalls();

// The latest line the engine link stored in the player's record.
struct PlayerThinking {
  int32_t depth, score, time, nodes;
  std::string line;
};
// The latest statistics ("stat01:"): time in hundredths of a second.
struct PlayerStatistics {
  int32_t time, nodes, depth, movesLeft, totalMoves;
};
PlayerThinking ReadPlayerThinking(const PlayerRecord* player);
PlayerStatistics ReadPlayerStatistics(const PlayerRecord* player);
