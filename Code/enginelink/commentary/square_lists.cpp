#include "square_lists.h"

#include <cstring>

#include "markup.h"
#include "move_words.h"

std::string ComputeBoardCoverage(const Board* board, int side, uint8_t coverage[128]) {
  const Board& b = *board;
  std::memset(coverage, kNotCovered, 128);
  for (int from = 0; from < 128; ++from) {
    if (!OnBoard(from) || !b[from] || (b[from] & COLOUR_MASK) != side) continue;
    const int type = b[from] & TYPE_MASK;
    if (type == KNIGHT) {
      for (int d = 1; d <= 8; ++d)
        if (OnBoard(from + kKnightSteps[d])) coverage[from + kKnightSteps[d]] = static_cast<uint8_t>(from);
    } else if (type == PAWN) {
      const int f = side == WHITE ? -16 : 16;
      for (int s : {from + f - 1, from + f + 1})
        if (OnBoard(s)) coverage[s] = static_cast<uint8_t>(from);
    } else if (type <= BISHOP) {
      const int first = type == BISHOP ? 5 : 1, last = type == ROOK ? 4 : 8;
      for (int d = first; d <= last; ++d) {
        for (int s = from + kRayDirections[d]; OnBoard(s); s += kRayDirections[d]) {
          coverage[s] = static_cast<uint8_t>(from);
          if (b[s] || type == KING) break;
        }
      }
    }
  }
  std::string text;
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && coverage[s] != kNotCovered) text += SquareName(s);
  return text;
}

std::string ListSquaresByCategory(const SquareAnalysisMap* map, int category) {
  static const uint16_t kTests[8] = {0, 0x300, 0x401, 4, 8, 0x20, 0x80, 0x40};
  if (category < 1 || category > 7) return std::string();
  std::string text;
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && (map->sq[s].flags & kTests[category])) text += SquareName(s);
  return text;
}

namespace {
std::string ListFor(const Board* board, int side, int category) {
  Board copy = *board;
  SquareAnalysisMap map;
  ClearAnalysisMap(&map);
  switch (category) {
    case 1:
    case 2:
      MarkCapturablePieces(&copy, side, &map);
      break;
    case 3:
    case 4:
      MarkCapturablePieces(&copy, side, &map);
      MarkPins(&copy, side, &map);
      break;
    case 5:
      MarkPassedPawns(&copy, &map);
      break;
    case 6:
      MarkIsolatedPawns(&copy, &map);
      break;
    default:
      MarkPromotablePawns(&copy, &map);
      break;
  }
  // Pawn categories mark both colours; keep the side's own.
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && (copy[s] & COLOUR_MASK) != side) map.sq[s].flags = 0;
  return ListSquaresByCategory(&map, category);
}
}  // namespace

std::string ListCapturablePieces(const Board* board, int side) { return ListFor(board, side, 1); }
std::string ListThreatenedPieces(const Board* board, int side) { return ListFor(board, side, 2); }
std::string ListPinnedPieces(const Board* board, int side) { return ListFor(board, side, 3); }
std::string ListSkeweredPieces(const Board* board, int side) { return ListFor(board, side, 4); }
std::string ListPassedPawns(const Board* board, int side) { return ListFor(board, side, 5); }
std::string ListIsolatedPawns(const Board* board, int side) { return ListFor(board, side, 6); }
std::string ListPawnStructureSquares(const Board* board, int side) { return ListFor(board, side, 7); }

std::string GetPieceLegalTargets(const Board* board, int side, int square) {
  // Square texts run in board order (a promotion's square comes once).
  bool target[128] = {};
  for (const MoveRecord& m : LegalMovesOf(board, side))
    if (m.from == square) target[m.to] = true;
  std::string text;
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && target[s]) text += SquareName(s);
  return text;
}
