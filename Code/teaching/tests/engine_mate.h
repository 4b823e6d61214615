// The engine core's answer to a position, for tests that check generated
// mates against a real search. Kept apart because the engine's headers share
// names with the rules core's.
#pragma once

#include <string>

struct EngineMateAnswer {
  bool ok;           // the position was accepted
  int matePlies;     // plies to mate found for the side to move, 0 when none
  std::string best;  // best move as "e2e4"
};
EngineMateAnswer SearchEngineMate(const std::string& fen, int depth);
