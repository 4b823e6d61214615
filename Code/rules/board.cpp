#include "board.h"

#include <array>
#include <cstring>

const int kRayDirections[9] = {0, -16, 1, 16, -1, -15, 17, 15, -17};
const int kKnightSteps[9] = {0, -31, 18, 31, -18, -14, 33, 14, -33};
const uint8_t kBackRankOrder[8] = {ROOK, KNIGHT, BISHOP, QUEEN, KING, BISHOP, KNIGHT, ROOK};

namespace {

// 12 x 64 distinct values below 2^31, fixed at compile time: hashes are kept
// in played moves and compared later, so the table may never change.
constexpr uint64_t SplitMix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

constexpr std::array<uint32_t, 768> MakeHashTable() {
  std::array<uint32_t, 768> table{};
  uint64_t state = 0x526F6F6B77656C6Cull;
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint32_t>(SplitMix(state) >> 33);
  return table;
}

constexpr std::array<uint32_t, 768> kHashTable = MakeHashTable();

}  // namespace

void ClearBoard(Board* board) {
  if (!board) return;
  std::memset(board->sq, 0, sizeof board->sq);
  (*board)[WHITE_KING_SQUARE] = NO_SQUARE;
  (*board)[BLACK_KING_SQUARE] = NO_SQUARE;
  (*board)[EN_PASSANT_SQUARE] = NO_SQUARE;
}

void SetInitialBoard(Board* board) {
  if (!board) return;
  ClearBoard(board);
  Board& b = *board;
  for (int file = 0; file < 8; ++file) {
    b[MakeSquare(0, file)] = BLACK + kBackRankOrder[file];
    b[MakeSquare(1, file)] = BLACK + PAWN;
    b[MakeSquare(6, file)] = WHITE + PAWN;
    b[MakeSquare(7, file)] = WHITE + kBackRankOrder[file];
  }
  b[CASTLING_RIGHTS] = WHITE_SHORT | WHITE_LONG | BLACK_SHORT | BLACK_LONG;
  b[EN_PASSANT_SQUARE] = NO_SQUARE;
  b[WHITE_KING_SQUARE] = 116;
  b[BLACK_KING_SQUARE] = 4;
}

void SetCastlingFromPieces(Board* board) {
  if (!board) return;
  Board& b = *board;
  uint8_t rights = 0;
  if (b[116] == WHITE + KING) {
    if (b[112] == WHITE + ROOK) rights |= WHITE_LONG;
    if (b[119] == WHITE + ROOK) rights |= WHITE_SHORT;
  }
  if (b[4] == BLACK + KING) {
    if (b[0] == BLACK + ROOK) rights |= BLACK_LONG;
    if (b[7] == BLACK + ROOK) rights |= BLACK_SHORT;
  }
  b[CASTLING_RIGHTS] = rights;
}

void FinishBoardSetup(Board* board) {
  if (!board) return;
  Board& b = *board;
  SetCastlingFromPieces(board);
  b[WHITE_KING_SQUARE] = NO_SQUARE;
  b[BLACK_KING_SQUARE] = NO_SQUARE;
  for (int row = 0; row < 8; ++row) {
    for (int file = 0; file < 8; ++file) {
      int s = MakeSquare(row, file);
      if (b[s] == WHITE + KING && b[WHITE_KING_SQUARE] == NO_SQUARE) b[WHITE_KING_SQUARE] = s;
      if (b[s] == BLACK + KING && b[BLACK_KING_SQUARE] == NO_SQUARE) b[BLACK_KING_SQUARE] = s;
    }
  }
  b[EN_PASSANT_SQUARE] = NO_SQUARE;
}

bool CopyBoard(Board* destination, const Board* source) {
  if (!destination || !source) return false;
  std::memcpy(destination->sq, source->sq, sizeof destination->sq);
  return true;
}

bool ResetBoard(Board* board) {
  if (!board) return false;
  SetInitialBoard(board);
  return true;
}

bool IsInitialBoard(const Board* board) {
  if (!board) return false;
  Board initial;
  SetInitialBoard(&initial);
  return std::memcmp(board->sq, initial.sq, sizeof initial.sq) == 0;
}

bool CanAttackFrom(int type, int colour, int direction, int distance) {
  switch (type) {
    case KING:
      return distance == 1;
    case QUEEN:
      return true;
    case ROOK:
      return direction >= 1 && direction <= 4;
    case BISHOP:
      return direction >= 5 && direction <= 8;
    case PAWN:
      // A pawn attacks towards the enemy: a white pawn stands one row nearer
      // rank 1 than its target (+17, +15), a black one one row nearer rank 8.
      if (distance != 1) return false;
      return colour == WHITE ? (direction == 6 || direction == 7) : (direction == 5 || direction == 8);
    default:
      return false;  // knights are tested on their own steps
  }
}

int FindAttackers(const Board* board, int square, int colour, int limit, uint8_t* out) {
  if (out) *out = NO_SQUARE;
  if (!board || !OnBoard(square)) return 0;
  const Board& b = *board;
  int count = 0;
  const uint8_t knight = static_cast<uint8_t>(colour + KNIGHT);
  for (int d = 1; d <= 8; ++d) {
    int s = square + kKnightSteps[d];
    if (OnBoard(s) && b[s] == knight) {
      if (out) *out = static_cast<uint8_t>(s);
      if (++count == limit) return count;
    }
    s = square;
    for (int distance = 1;; ++distance) {
      s += kRayDirections[d];
      if (!OnBoard(s)) break;
      uint8_t piece = b[s];
      if (!piece) continue;
      if ((piece & COLOUR_MASK) != colour) break;
      if (!CanAttackFrom(piece & TYPE_MASK, colour, d, distance)) break;
      if (out) *out = static_cast<uint8_t>(s);
      if (++count == limit) return count;
    }
  }
  return count;
}

namespace {

// CanAttackFrom as bit masks over the direction index (bit d), for the first
// piece met on a ray: at distance 1 (by colour) and further away.
constexpr uint16_t kAllRays = 0x1FE, kOrthogonal = 0x1E, kDiagonal = 0x1E0;
constexpr uint16_t kFarMask[8] = {0, kAllRays, kOrthogonal, kDiagonal, 0, 0, 0, 0};
constexpr uint16_t kNearMask[2][8] = {
    {kAllRays, kAllRays, kOrthogonal, kDiagonal, 0, (1 << 6) | (1 << 7), 0, 0},  // white attackers
    {kAllRays, kAllRays, kOrthogonal, kDiagonal, 0, (1 << 5) | (1 << 8), 0, 0},  // black attackers
};

}  // namespace

// FindAttackers with limit 1, on the hot path of the legality test.
bool IsSquareAttacked(const Board* board, int square, int colour) {
  if (!board || !OnBoard(square)) return false;
  const Board& b = *board;
  const uint8_t knight = static_cast<uint8_t>(colour + KNIGHT);
  for (int d = 1; d <= 8; ++d) {
    int s = square + kKnightSteps[d];
    if (OnBoard(s) && b[s] == knight) return true;
  }
  const uint16_t* near = kNearMask[colour == BLACK ? 1 : 0];
  for (int d = 1; d <= 8; ++d) {
    const int step = kRayDirections[d];
    int s = square + step;
    if (!OnBoard(s)) continue;
    uint8_t piece = b[s];
    if (piece) {
      if ((piece & COLOUR_MASK) == colour && (near[piece & TYPE_MASK] & (1 << d))) return true;
      continue;
    }
    for (s += step; OnBoard(s); s += step) {
      piece = b[s];
      if (!piece) continue;
      if ((piece & COLOUR_MASK) == colour && (kFarMask[piece & TYPE_MASK] & (1 << d))) return true;
      break;
    }
  }
  return false;
}

bool IsSideInCheck(const Board* board, int colour) {
  if (!board) return false;
  uint8_t king = (*board)[KingSquareByte(colour)];
  if (king == NO_SQUARE) return false;
  return IsSquareAttacked(board, king, OtherSide(colour));
}

void UpdateCastlingRights(Board* board, int from, int to) {
  uint8_t& rights = (*board)[CASTLING_RIGHTS];
  for (int s : {to, from}) {
    switch (s) {
      case 0:
        rights &= ~BLACK_LONG;
        break;
      case 4:
        rights &= ~(BLACK_LONG | BLACK_SHORT);
        break;
      case 7:
        rights &= ~BLACK_SHORT;
        break;
      case 112:
        rights &= ~WHITE_LONG;
        break;
      case 116:
        rights &= ~(WHITE_LONG | WHITE_SHORT);
        break;
      case 119:
        rights &= ~WHITE_SHORT;
        break;
      default:
        break;
    }
  }
}

namespace {

// Moves a rook for castling; squares come from the king's move, so they are
// checked only against records that were not made by generation.
void ShiftPiece(Board& b, int from, int to) {
  if (!OnBoard(from) || !OnBoard(to)) return;
  b[to] = b[from];
  b[from] = 0;
}

}  // namespace

uint8_t MakeMove(MoveRecord* move, Board* board) {
  if (!move || !board) return 0;
  const int from = move->from, to = move->to;
  if (!OnBoard(from) || !OnBoard(to)) return 0;
  Board& b = *board;
  const uint16_t flags = move->flags;
  const uint8_t piece = b[from];
  const int colour = piece & COLOUR_MASK;
  const int type = piece & TYPE_MASK;

  move->undoCastling = b[CASTLING_RIGHTS];
  move->undoEnPassant = b[EN_PASSANT_SQUARE];
  move->captureSquare = static_cast<uint8_t>(to);
  move->capturedPiece = b[to];
  uint8_t captured = b[to];

  b[to] = piece;
  UpdateCastlingRights(board, from, to);
  b[from] = 0;

  if (flags & MOVE_EN_PASSANT) {
    int victim = colour == WHITE ? to + 16 : to - 16;
    if (OnBoard(victim)) {
      move->captureSquare = static_cast<uint8_t>(victim);
      move->capturedPiece = b[victim];
      captured = b[victim];
      b[victim] = 0;
    }
  }

  b[EN_PASSANT_SQUARE] = NO_SQUARE;
  if (type == PAWN && (to - from == 32 || from - to == 32)) b[EN_PASSANT_SQUARE] = static_cast<uint8_t>(to);

  if (type == KING && (colour == WHITE || colour == BLACK)) {
    b[KingSquareByte(colour)] = static_cast<uint8_t>(to);
    if (flags & MOVE_CASTLE_SHORT) ShiftPiece(b, to + 1, from + 1);
    if (flags & MOVE_CASTLE_LONG) ShiftPiece(b, to - 2, from - 1);
  }
  if (flags & MOVE_PROMOTION) b[to] = static_cast<uint8_t>(colour + (flags & MOVE_PROMOTION_TYPE));
  return captured;
}

void UnmakeMove(const MoveRecord* move, Board* board) {
  if (!move || !board) return;
  const int from = move->from, to = move->to;
  if (!OnBoard(from) || !OnBoard(to)) return;
  Board& b = *board;
  const uint16_t flags = move->flags;

  b[from] = b[to];
  b[to] = 0;
  if (OnBoard(move->captureSquare)) b[move->captureSquare] = move->capturedPiece;
  b[CASTLING_RIGHTS] = move->undoCastling;
  b[EN_PASSANT_SQUARE] = move->undoEnPassant;

  const uint8_t piece = b[from];
  const int colour = piece & COLOUR_MASK;
  if ((piece & TYPE_MASK) == KING && (colour == WHITE || colour == BLACK))
    b[KingSquareByte(colour)] = static_cast<uint8_t>(from);
  if (flags & MOVE_PROMOTION) b[from] = static_cast<uint8_t>(colour + PAWN);
  if (flags & MOVE_CASTLE_SHORT) {
    if (colour == WHITE) {
      b[119] = WHITE + ROOK;
      b[117] = 0;
    } else {
      b[7] = BLACK + ROOK;
      b[5] = 0;
    }
  }
  if (flags & MOVE_CASTLE_LONG) {
    if (colour == WHITE) {
      b[112] = WHITE + ROOK;
      b[115] = 0;
    } else {
      b[0] = BLACK + ROOK;
      b[3] = 0;
    }
  }
}

uint32_t BoardHashKey(int piece, int square) {
  int type = piece & TYPE_MASK;
  if (type > PAWN || !OnBoard(square)) return 0;
  int index = SquareRow(square) * 8 + SquareFile(square);
  if ((piece & COLOUR_MASK) == BLACK) type += 6;
  return kHashTable[type * 64 + index];
}

uint32_t ComputeBoardHash(const Board* board) {
  if (!board) return 0;
  uint32_t h = 0;
  for (int row = 0; row < 8; ++row) {
    for (int file = 0; file < 8; ++file) {
      int s = MakeSquare(row, file);
      if ((*board)[s]) h ^= BoardHashKey((*board)[s], s);
    }
  }
  return h;
}
