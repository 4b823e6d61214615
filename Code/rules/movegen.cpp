#include "movegen.h"

#include <array>
#include <cstring>

namespace {

struct Generator {
  const Board& b;
  MoveRecord* list;
  int count;
  int side;
  int enemy;

  void Add(int from, int to, uint16_t flags) {
    if (count >= kMoveListRoom) return;  // cannot happen with sixteen men a side
    MoveRecord& m = list[count++];
    m.from = static_cast<uint8_t>(from);
    m.to = static_cast<uint8_t>(to);
    m.reserved0[0] = m.reserved0[1] = 0;
    for (char*& t : m.texts) t = nullptr;
    m.text[0] = '\0';
    m.timeMs = 0;
    m.hash = 0;
    m.flags = flags;
    m.undoCastling = m.undoEnPassant = m.captureSquare = m.capturedPiece = 0;
    m.reserved1[0] = m.reserved1[1] = 0;
    m.generated = 0xFFFFFFFF;
  }

  void AddPromotions(int from, int to, uint16_t base) {
    int lastRow = side == WHITE ? 0 : 7;
    if (SquareRow(to) == lastRow) {
      for (uint16_t k = 1; k <= 4; ++k) Add(from, to, base | MOVE_PROMOTION | k);
    } else {
      Add(from, to, base);
    }
  }

  bool IsEnemy(int s) const { return b[s] && (b[s] & COLOUR_MASK) == enemy; }

  void Sliders(int from, int type) {
    int first = type == ROOK ? 1 : type == BISHOP ? 5 : 1;
    int last = type == ROOK ? 4 : 8;
    for (int d = first; d <= last; ++d) {
      for (int s = from + kRayDirections[d]; OnBoard(s); s += kRayDirections[d]) {
        uint8_t piece = b[s];
        if (piece && (piece & COLOUR_MASK) == side) break;
        Add(from, s, piece ? MOVE_CAPTURE : 0);
        if (piece || type == KING) break;
      }
    }
  }

  void Knight(int from) {
    for (int d = 1; d <= 8; ++d) {
      int s = from + kKnightSteps[d];
      if (!OnBoard(s)) continue;
      uint8_t piece = b[s];
      if (piece && (piece & COLOUR_MASK) == side) continue;
      Add(from, s, piece ? MOVE_CAPTURE : 0);
    }
  }

  void Pawn(int from) {
    const int forward = side == WHITE ? -16 : 16;
    const int steps = SquareRow(from) == (side == WHITE ? 6 : 1) ? 2 : 1;
    int s = from;
    for (int i = 0; i < steps; ++i) {
      s += forward;
      if (!OnBoard(s) || b[s]) break;
      AddPromotions(from, s, 0);
    }
    const int captures[2] = {side == WHITE ? -17 : 15, side == WHITE ? -15 : 17};
    for (int step : captures) {
      s = from + step;
      if (OnBoard(s) && IsEnemy(s)) AddPromotions(from, s, MOVE_CAPTURE);
    }
  }

  void EnPassant(int from) {
    const int ep = b[EN_PASSANT_SQUARE];
    if (ep == NO_SQUARE) return;
    if (OnBoard(from + 1) && from + 1 == ep && IsEnemy(from + 1))
      Add(from, side == WHITE ? from - 15 : from + 17, MOVE_CAPTURE | MOVE_EN_PASSANT);
    if (OnBoard(from - 1) && from - 1 == ep && IsEnemy(from - 1))
      Add(from, side == WHITE ? from - 17 : from + 15, MOVE_CAPTURE | MOVE_EN_PASSANT);
  }

  void Castling() {
    const int k = b[KingSquareByte(side)];
    // Rights only count with king and rook at home (a set-up may claim more).
    const int home = side == WHITE ? 116 : 4;
    if (k != home || b[k] != side + KING) return;
    const uint8_t rights = b[CASTLING_RIGHTS];
    const uint8_t rook = static_cast<uint8_t>(side + ROOK);
    if ((rights & (side == WHITE ? WHITE_SHORT : BLACK_SHORT)) && b[k + 3] == rook && !b[k + 1] &&
        !b[k + 2] && !IsSquareAttacked(&b, k, enemy) && !IsSquareAttacked(&b, k + 1, enemy))
      Add(k, k + 2, MOVE_CASTLE_SHORT);
    if ((rights & (side == WHITE ? WHITE_LONG : BLACK_LONG)) && b[k - 4] == rook && !b[k - 1] && !b[k - 2] &&
        !b[k - 3] && !IsSquareAttacked(&b, k, enemy) && !IsSquareAttacked(&b, k - 1, enemy))
      Add(k, k - 2, MOVE_CASTLE_LONG);
  }

  void Run() {
    for (int row = 0; row < 8; ++row) {
      for (int file = 0; file < 8; ++file) {
        const int s = MakeSquare(row, file);
        const uint8_t piece = b[s];
        if (!piece || (piece & COLOUR_MASK) != side) continue;
        switch (piece & TYPE_MASK) {
          case KING:
          case QUEEN:
          case ROOK:
          case BISHOP:
            Sliders(s, piece & TYPE_MASK);
            break;
          case KNIGHT:
            Knight(s);
            break;
          case PAWN:
            Pawn(s);
            EnPassant(s);
            break;
          default:
            break;
        }
      }
    }
    Castling();
  }
};

int GeneratePseudoMoves(const Board& board, MoveRecord* list, int side) {
  Generator g{board, list, 0, side, OtherSide(side)};
  if (side == WHITE || side == BLACK) g.Run();
  return g.count;
}

// The other side's replies, for the mate test; one list per thread.
MoveRecord* ReplyScratch() {
  thread_local MoveRecord replies[kMoveListRoom];
  return replies;
}

// How two squares relate, indexed by their 0x88 difference + 119: the step
// that leads from the second towards the first along a rank, file or
// diagonal (0 when they share none), and whether they are a knight step
// apart.
struct SquareRelation {
  int8_t step;
  bool knight;
};

constexpr std::array<SquareRelation, 239> MakeRelationTable() {
  std::array<SquareRelation, 239> table{};
  for (int a = 0; a < 128; ++a) {
    for (int b = 0; b < 128; ++b) {
      if ((a & 0x88) || (b & 0x88) || a == b) continue;
      const int dr = (a >> 4) - (b >> 4), df = (a & 7) - (b & 7);
      const int ar = dr < 0 ? -dr : dr, af = df < 0 ? -df : df;
      SquareRelation& r = table[a - b + 119];
      if (dr == 0 || df == 0 || ar == af)
        r.step = static_cast<int8_t>((dr > 0) - (dr < 0)) * 16 + (df > 0) - (df < 0);
      r.knight = (ar == 1 && af == 2) || (ar == 2 && af == 1);
    }
  }
  return table;
}
constexpr std::array<SquareRelation, 239> kRelations = MakeRelationTable();

// Whether `a` and `b` share a line whose squares between them are empty,
// not counting `ignore` (a square the move empties).
bool OpenLine(const Board& board, int a, int b, int ignore) {
  const int step = kRelations[b - a + 119].step;
  if (!step) return false;
  for (int s = a + step; s != b; s += step)
    if (s != ignore && board[s]) return false;
  return true;
}

// Whether `side`, in check, has a reply that leaves its king safe. Only a
// king move, en passant, or a move to a square on a line or a knight step
// from the king (blocking or capturing a checker) can be one.
bool HasEscape(Board& board, int side) {
  MoveRecord* replies = ReplyScratch();
  const int n = GeneratePseudoMoves(board, replies, side);
  const int king = board[KingSquareByte(side)];
  for (int i = 0; i < n; ++i) {
    const MoveRecord& m = replies[i];
    if (OnBoard(king) && !(m.flags & MOVE_EN_PASSANT) && (board[m.from] & TYPE_MASK) != KING) {
      const SquareRelation& r = kRelations[m.to - king + 119];
      if (!r.step && !r.knight) continue;
    }
    MakeMove(&replies[i], &board);
    const bool safe = !IsSideInCheck(&board, side);
    UnmakeMove(&replies[i], &board);
    if (safe) return true;
  }
  return false;
}

// A move can only expose its own king along an open line to its origin, and
// only give check from its destination (a knight step or an open line, the
// origin counted as empty) or along an open line to its origin. Castling and
// en passant move or remove a second piece and always take the full test, as
// do positions where a king is attacked already.
int MarkIllegalMoves(const Board& position, MoveRecord* list, int count, int side) {
  Board board = position;
  const int enemy = OtherSide(side);
  const int ownKing = board[KingSquareByte(side)];
  const int enemyKing = board[KingSquareByte(enemy)];
  // (A king square byte off the board, from a damaged set-up, also takes the
  // full test.)
  const bool ownCheckBefore = !OnBoard(ownKing) || IsSideInCheck(&board, side);
  const bool enemyCheckBefore = !OnBoard(enemyKing) || IsSideInCheck(&board, enemy);
  int legal = count;
  for (int i = 0; i < count; ++i) {
    MoveRecord& m = list[i];
    const bool special = (m.flags & (MOVE_EN_PASSANT | MOVE_CASTLE_LONG | MOVE_CASTLE_SHORT)) != 0;
    const bool kingMove = (board[m.from] & TYPE_MASK) == KING;
    const bool mayExpose = ownCheckBefore || kingMove || special || OpenLine(board, ownKing, m.from, -1);
    const bool mayCheck = enemyCheckBefore || special || m.to == enemyKing ||
                          kRelations[m.to - enemyKing + 119].knight ||
                          OpenLine(board, enemyKing, m.to, m.from) || OpenLine(board, enemyKing, m.from, -1);
    if (!mayExpose && !mayCheck) continue;
    MakeMove(&m, &board);
    if (mayExpose && IsSideInCheck(&board, side)) {
      m.flags |= MOVE_ILLEGAL;
      --legal;
    } else if (mayCheck && IsSideInCheck(&board, enemy)) {
      m.flags |= MOVE_CHECK;
      if (!HasEscape(board, enemy)) m.flags |= MOVE_MATE;
    }
    UnmakeMove(&m, &board);
  }
  return legal;
}

MoveRecord* CountScratch() {
  thread_local MoveRecord moves[kMoveListRoom];
  return moves;
}

}  // namespace

void GenerateMoves(const Board* board, MoveRecord* list, uint16_t* count, uint16_t* legalCount, int side,
                   bool mark) {
  if (count) *count = 0;
  if (legalCount) *legalCount = 0;
  if (!board || !list) return;
  const int n = GeneratePseudoMoves(*board, list, side);
  const int legal = mark ? MarkIllegalMoves(*board, list, n, side) : n;
  if (count) *count = static_cast<uint16_t>(n);
  if (legalCount) *legalCount = static_cast<uint16_t>(legal);
}

int GenerateLegalMoves(const Board* board, MoveRecord* list, uint16_t* count, int side) {
  uint16_t n = 0;
  GenerateMoves(board, list, &n, nullptr, side, true);
  int legal = 0;
  for (int i = 0; i < n; ++i) {
    if (list[i].flags & MOVE_ILLEGAL) continue;
    if (i != legal) list[legal] = list[i];
    ++legal;
  }
  if (count) *count = static_cast<uint16_t>(legal);
  return legal;
}

int CountLegalMoves(const Board* board, int side) {
  return GenerateLegalMoves(board, CountScratch(), nullptr, side);
}

int GetMateState(const Board* board, int legalCount, int side) {
  if (legalCount != 0) return 0;
  return IsSideInCheck(board, side) ? 2 : 3;
}

bool PositionsEqual(const Board* a, const Board* b, int side) {
  if (!a || !b) return false;
  for (int row = 0; row < 8; ++row)
    if (std::memcmp(&a->sq[row * 16], &b->sq[row * 16], 8) != 0) return false;
  return CountLegalMoves(a, side) == CountLegalMoves(b, side);
}
