// The Solve For Mate window without its window: what the advisor's score
// and thinking line say once the search ends, and the solution's moves,
// each checked against the position it is played in.
//
// Interface: kSolveMaxMoves, SolveForMateResult, EvaluateMateSearch,
// SolveStatusText, SolveFoundText, kSolveNotFoundText.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board.h"
#include "moverecord.h"

constexpr int kSolveMaxMoves = 45;
extern const char kSolveNotFoundText[];  // "No Checkmate found"

struct SolveForMateResult {
  bool found = false;
  int mateIn = 0;                  // (10,001 - |score|) / 2
  std::vector<MoveRecord> moves;   // legal in turn from the position, at most 45
};

// A score of magnitude 9,900 or more is a mate; its line is read as moves
// from the position. No mate, or a line with no legal first move: not found.
// The moves stop at the first one that is not legal where it is played.
SolveForMateResult EvaluateMateSearch(int32_t score, const std::string& line, const Board& position, int side);

// "depth=%d, nodes=%u".
std::string SolveStatusText(int depth, uint32_t nodes);
// "Mate in %d found.  Use the MOVE button to see the mate and append the
// moves to the move list."
std::string SolveFoundText(int mateIn);
