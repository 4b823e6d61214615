#include "position_setup.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "movegen.h"

namespace {

int PieceFromLetter(char c) {
  const char* letters = "kqrbnp";
  const char* p = std::strchr(letters, std::tolower(static_cast<unsigned char>(c)));
  if (!p || !*p) return -1;
  int type = static_cast<int>(p - letters);
  return (std::isupper(static_cast<unsigned char>(c)) ? WHITE : BLACK) + type;
}

const char* SkipBlanks(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

}  // namespace

bool SetupPositionFromFen(const char* fen, Board* board, int* side) {
  if (!fen || !board || !side) return false;
  ClearBoard(board);
  const char* p = SkipBlanks(fen);
  int row = 0, file = 0;
  for (; *p && *p != ' '; ++p) {
    if (*p == '/') {
      if (file != 8) return false;
      ++row;
      file = 0;
    } else if (*p >= '1' && *p <= '8') {
      file += *p - '0';
      if (file > 8) return false;
    } else {
      int piece = PieceFromLetter(*p);
      if (piece < 0 || file > 7 || row > 7) return false;
      (*board)[MakeSquare(row, file++)] = static_cast<uint8_t>(piece);
    }
  }
  if (row != 7 || file != 8) return false;
  FinishBoardSetup(board);

  p = SkipBlanks(p);
  if (*p == 'w')
    *side = WHITE;
  else if (*p == 'b')
    *side = BLACK;
  else
    return false;
  p = SkipBlanks(p + 1);

  uint8_t rights = 0;
  for (; *p && *p != ' '; ++p) {
    switch (*p) {
      case 'K':
        rights |= WHITE_SHORT;
        break;
      case 'Q':
        rights |= WHITE_LONG;
        break;
      case 'k':
        rights |= BLACK_SHORT;
        break;
      case 'q':
        rights |= BLACK_LONG;
        break;
      case '-':
        break;
      default:
        return false;
    }
  }
  (*board)[CASTLING_RIGHTS] = rights;

  p = SkipBlanks(p);
  if (*p >= 'a' && *p <= 'h' && (p[1] == '3' || p[1] == '6')) {
    // FEN names the square passed over; the board keeps the pawn's square.
    int passed = MakeSquare('8' - p[1], *p - 'a');
    (*board)[EN_PASSANT_SQUARE] = static_cast<uint8_t>(p[1] == '3' ? passed - 16 : passed + 16);
  } else if (*p != '-' && *p != '\0') {
    return false;
  }
  return true;
}

namespace {

// One list per remaining ply, taken from a block made once per call.
uint64_t PerftFrom(Board* board, int side, int depth, MoveRecord* lists) {
  const int n = GenerateLegalMoves(board, lists, nullptr, side);
  if (depth == 1) return static_cast<uint64_t>(n);
  uint64_t nodes = 0;
  for (int i = 0; i < n; ++i) {
    MakeMove(&lists[i], board);
    nodes += PerftFrom(board, OtherSide(side), depth - 1, lists + kMoveListRoom);
    UnmakeMove(&lists[i], board);
  }
  return nodes;
}

}  // namespace

uint64_t Perft(Board* board, int side, int depth) {
  if (depth <= 0) return 1;
  std::vector<MoveRecord> lists(static_cast<size_t>(depth) * kMoveListRoom);
  return PerftFrom(board, side, depth, lists.data());
}
