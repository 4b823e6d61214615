// Teaching display modes and captured material: which marks a board keeps
// for the coach's chosen mode, and what each side has lost.
//
// Interface: TeachingMode, IsCoverageMode, IsLegalMovesMode,
// IsPieceTintMode, TeachingModeSquares, CoverageSide, CountCapturedPieces.
#pragma once

#include <cstdint>
#include <string>

#include "board.h"

enum TeachingMode : int32_t {
  TEACH_OFF = 5261,
  TEACH_LEGAL_MOVES = 5262,
  TEACH_CAPTURABLE = 5264,
  TEACH_THREATENED = 5265,
  TEACH_PINNED = 5266,
  TEACH_SKEWERED = 5267,
  TEACH_ISOLATED = 5268,
  TEACH_PASSED = 5269,
  TEACH_BLACK_COVERAGE = 5271,
  TEACH_WHITE_COVERAGE = 5272,
};

bool IsCoverageMode(int mode);
bool IsLegalMovesMode(int mode);
bool IsPieceTintMode(int mode);
// The squares a piece mode tints for the position (both sides' pieces), as
// names run together; empty for other modes.
std::string TeachingModeSquares(int mode, const Board& board);
// The side whose coverage a coverage mode shows and its mark flag (2 White, 4 Black).
bool CoverageSide(int mode, int* side, uint32_t* flag);
// The squares a side covers, as names run together.
std::string CoveredSquares(const Board& board, int side);

// Rows White, Black; columns king .. pawn. Promoted pieces count as the pawn
// they were; an empty board gives zeros.
void CountCapturedPieces(int32_t counts[2][6], const Board& board);
