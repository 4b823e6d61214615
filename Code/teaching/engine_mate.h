// The engine core's answer to a position at a fixed depth: the opponent of
// the checkmate exercises, and the tests' check of generated mates. Kept
// apart because the engine's headers share names with the rules core's.
//
// Interface: EngineMateAnswer, SearchEngineMate.
#pragma once

#include <string>

struct EngineMateAnswer {
  bool ok;           // the position was accepted
  int matePlies;     // plies to mate found for the side to move, 0 when none
  std::string best;  // best move as "e2e4"
};
EngineMateAnswer SearchEngineMate(const std::string& fen, int depth);
