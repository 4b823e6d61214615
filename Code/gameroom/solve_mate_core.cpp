#include "solve_mate_core.h"

#include <cstdio>
#include <cstdlib>

#include "notation.h"

const char kSolveNotFoundText[] = "No Checkmate found";

SolveForMateResult EvaluateMateSearch(int32_t score, const std::string& line, const Board& position, int side) {
  SolveForMateResult r;
  const int64_t magnitude = std::llabs(int64_t(score));
  if (magnitude < 9900) return r;
  MoveRecord moves[kSolveMaxMoves];
  int count = kSolveMaxMoves;
  ParseMoveListText(moves, &count, line.c_str(), &position, side);
  // Each move takes the flags of its legal entry; a move that is not legal
  // where it would be played ends the solution there.
  count = ReplayMoveList(&position, side, moves, count);
  if (count <= 0) return r;
  r.found = true;
  r.mateIn = int((10001 - magnitude) / 2);
  r.moves.assign(moves, moves + count);
  return r;
}

std::string SolveStatusText(int depth, uint32_t nodes) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "depth=%d, nodes=%u", depth, nodes);
  return buffer;
}

std::string SolveFoundText(int mateIn) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer,
                "Mate in %d found.  Use the MOVE button to see the mate and append the moves to the move list.", mateIn);
  return buffer;
}
