#include "teaching_modes.h"

#include "square_lists.h"
#include "square_names.h"

bool IsCoverageMode(int mode) { return mode == TEACH_BLACK_COVERAGE || mode == TEACH_WHITE_COVERAGE; }
bool IsLegalMovesMode(int mode) { return mode == TEACH_LEGAL_MOVES; }
bool IsPieceTintMode(int mode) { return mode >= TEACH_CAPTURABLE && mode <= TEACH_PASSED; }

std::string TeachingModeSquares(int mode, const Board& board) {
  std::string (*list)(const Board*, int) = nullptr;
  switch (mode) {
    case TEACH_CAPTURABLE: list = ListCapturablePieces; break;
    case TEACH_THREATENED: list = ListThreatenedPieces; break;
    case TEACH_PINNED: list = ListPinnedPieces; break;
    case TEACH_SKEWERED: list = ListSkeweredPieces; break;
    case TEACH_ISOLATED: list = ListIsolatedPawns; break;
    case TEACH_PASSED: list = ListPassedPawns; break;
    default: return std::string();
  }
  return list(&board, WHITE) + list(&board, BLACK);
}

bool CoverageSide(int mode, int* side, uint32_t* flag) {
  if (mode == TEACH_WHITE_COVERAGE) {
    *side = WHITE, *flag = 2;
    return true;
  }
  if (mode == TEACH_BLACK_COVERAGE) {
    *side = BLACK, *flag = 4;
    return true;
  }
  return false;
}

std::string CoveredSquares(const Board& board, int side) {
  uint8_t coverage[128];
  ComputeBoardCoverage(&board, side, coverage);
  std::string squares;
  for (int row = 0; row < 8; ++row)
    for (int file = 0; file < 8; ++file)
      if (coverage[MakeSquare(row, file)] != kNotCovered) squares += SquareName(file, row);
  return squares;
}

void CountCapturedPieces(int32_t counts[2][6], const Board& board) {
  static const int32_t kStart[6] = {1, 1, 2, 2, 2, 8};
  int32_t onBoard[2][6] = {};
  bool any = false;
  for (int row = 0; row < 8; ++row)
    for (int file = 0; file < 8; ++file) {
      uint8_t piece = board[MakeSquare(row, file)];
      if (piece == 0) continue;
      int type = piece & TYPE_MASK;
      if (type > PAWN) continue;
      ++onBoard[(piece & COLOUR_MASK) == WHITE ? 0 : 1][type];
      any = true;
    }
  for (int c = 0; c < 2; ++c)
    for (int t = 0; t < 6; ++t) counts[c][t] = 0;
  if (!any) return;
  for (int c = 0; c < 2; ++c)
    for (int t = 0; t < 6; ++t) {
      int32_t captured = kStart[t] - onBoard[c][t];
      if (captured < 0) {
        onBoard[c][PAWN] -= captured;  // each promoted piece was a pawn
        captured = 0;
      }
      counts[c][t] = captured;
    }
}
