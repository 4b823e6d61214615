// Move legality and making moves on the engine's mailbox board.
#include <cstdlib>
#include <cstring>

#include "game.h"

namespace gdg {
namespace {

constexpr uint8_t kOff = 0xFF;
constexpr uint8_t kWhitePawn = 8, kWhiteKing = 13, kBlackPawn = 16;
const int kKnight[8] = {21, 19, -19, -21, 12, 8, -8, -12};
const int kDiag[4] = {11, 9, -9, -11};
const int kLine[4] = {10, -10, 1, -1};

inline bool IsWhite(uint8_t p) { return p >= 8 && p <= 13; }
inline bool IsBlack(uint8_t p) { return p >= 16 && p <= 21; }
inline int Type(uint8_t p) { return p & 7; }  // 0 pawn .. 5 king
inline uint8_t At(const uint8_t* b, int i) { return (i < 0 || i >= 100) ? kOff : b[i]; }
inline int CellOf(int sq) { return Cell(sq & 7, sq >> 3); }

uint32_t Word(const uint8_t* b, int at) {
  uint32_t v;
  std::memcpy(&v, b + at, 4);
  return v;
}
void PutWord(uint8_t* b, int at, uint32_t v) { std::memcpy(b + at, &v, 4); }
bool WhiteToMove(const uint8_t* b) { return Word(b, kGdgBoardSide) != 1; }

bool Attacked(const uint8_t* b, int cell, bool byWhite) {
  uint8_t base = byWhite ? 8 : 16;
  // A White pawn attacks up the ranks (+1), i.e. from cell -1 -/+ 10.
  int pawnBack = byWhite ? -1 : 1;
  if (At(b, cell + pawnBack - 10) == base || At(b, cell + pawnBack + 10) == base) return true;
  for (int d : kKnight)
    if (At(b, cell + d) == base + 1) return true;
  for (int d : kDiag)
    if (At(b, cell + d) == base + 5) return true;
  for (int d : kLine)
    if (At(b, cell + d) == base + 5) return true;
  for (int d : kDiag)
    for (int c = cell + d;; c += d) {
      uint8_t p = At(b, c);
      if (p == 0) continue;
      if (p == base + 2 || p == base + 4) return true;
      break;
    }
  for (int d : kLine)
    for (int c = cell + d;; c += d) {
      uint8_t p = At(b, c);
      if (p == 0) continue;
      if (p == base + 3 || p == base + 4) return true;
      break;
    }
  return false;
}

bool Reaches(const uint8_t* b, int from, int to) {
  uint8_t p = b[from];
  bool white = IsWhite(p);
  uint8_t target = At(b, to);
  if (target == kOff) return false;
  if (target != 0 && IsWhite(target) == white) return false;
  int d = to - from;
  switch (Type(p)) {
    case 0: {
      int up = white ? 1 : -1;
      int rank = from % 10 - 1;
      if (d == up) return target == 0;
      if (d == 2 * up) return target == 0 && At(b, from + up) == 0 && rank == (white ? 1 : 6);
      if (d == up + 10 || d == up - 10) {
        if (target != 0) return true;
        uint32_t ep = Word(b, kGdgBoardEnPassant);
        int epRank = white ? 5 : 2;
        return ep != 0 && static_cast<int>(ep & 0xFF) - 1 == to / 10 - 1 && to % 10 - 1 == epRank &&
               At(b, to - up) == (white ? kBlackPawn : kWhitePawn);
      }
      return false;
    }
    case 1:
      for (int k : kKnight)
        if (d == k) return true;
      return false;
    case 5: {
      for (int k : kDiag)
        if (d == k) return true;
      for (int k : kLine)
        if (d == k) return true;
      // Castling: king on e1/e8 to g or c file.
      int rank = white ? 0 : 7;
      if (from != Cell(4, rank) || target != 0) return false;
      uint8_t rights = b[kGdgBoardCastling];
      uint8_t rook = white ? 11 : 19;
      bool byWhite = !white;
      if (to == Cell(6, rank)) {
        return (rights & (white ? 16 : 64)) && At(b, Cell(5, rank)) == 0 && At(b, Cell(7, rank)) == rook &&
               !Attacked(b, from, byWhite) && !Attacked(b, Cell(5, rank), byWhite);
      }
      if (to == Cell(2, rank)) {
        return (rights & (white ? 32 : 128)) && At(b, Cell(3, rank)) == 0 && At(b, Cell(1, rank)) == 0 &&
               At(b, Cell(0, rank)) == rook && !Attacked(b, from, byWhite) &&
               !Attacked(b, Cell(3, rank), byWhite);
      }
      return false;
    }
    default: {
      const int* dirs = nullptr;
      int count = 0;
      int dirsAll[8];
      if (Type(p) == 2) dirs = kDiag, count = 4;
      if (Type(p) == 3) dirs = kLine, count = 4;
      if (Type(p) == 4) {
        for (int i = 0; i < 4; ++i) dirsAll[i] = kDiag[i], dirsAll[4 + i] = kLine[i];
        dirs = dirsAll, count = 8;
      }
      for (int i = 0; i < count; ++i)
        for (int c = from + dirs[i];; c += dirs[i]) {
          if (c == to) return true;
          if (At(b, c) != 0) break;
        }
      return false;
    }
  }
}

}  // namespace

void NewBoard(uint8_t* b) {
  std::memset(b, 0, kGdgBoardSize);
  for (int i = 0; i < 100; ++i) {
    int f = i / 10, r = i % 10;
    if (f == 0 || f == 9 || r == 0 || r == 9) b[i] = kOff;
  }
  b[kGdgBoardPly] = 1;
}

void InitialBoard(uint8_t* b) {
  NewBoard(b);
  const uint8_t back[8] = {3, 1, 2, 4, 5, 2, 1, 3};
  for (int f = 0; f < 8; ++f) {
    b[Cell(f, 0)] = 8 + back[f];
    b[Cell(f, 1)] = 8;
    b[Cell(f, 6)] = 16;
    b[Cell(f, 7)] = 16 + back[f];
  }
  b[kGdgBoardCastling] = 16 | 32 | 64 | 128;
}

bool MoveIsLegal(const uint8_t* board, int fromSq, int toSq) {
  if (fromSq < 0 || fromSq > 63 || toSq < 0 || toSq > 63) return false;
  int from = CellOf(fromSq), to = CellOf(toSq);
  uint8_t p = board[from];
  bool white = WhiteToMove(board);
  if (!(white ? IsWhite(p) : IsBlack(p))) return false;
  if (!Reaches(board, from, to)) return false;
  uint8_t after[kGdgBoardSize];
  std::memcpy(after, board, kGdgBoardSize);
  ApplyMove(after, fromSq, toSq, 0);
  uint8_t king = white ? kWhiteKing : 21;
  for (int c = 0; c < 100; ++c)
    if (after[c] == king) return !Attacked(after, c, !white);
  return true;  // no king: nothing to leave in check
}

void ApplyMove(uint8_t* b, int fromSq, int toSq, int promotion) {
  int from = CellOf(fromSq), to = CellOf(toSq);
  uint8_t p = b[from];
  bool white = IsWhite(p);
  int up = white ? 1 : -1;
  PutWord(b, kGdgBoardEnPassant, 0);
  if (Type(p) == 0) {
    if (to - from == 2 * up) PutWord(b, kGdgBoardEnPassant, static_cast<uint32_t>(from / 10));
    if ((to - from == up + 10 || to - from == up - 10) && b[to] == 0) b[to - up] = 0;
    int lastRank = white ? 7 : 0;
    if (to % 10 - 1 == lastRank) {
      int type = promotion ? (promotion & 7) : 4;
      if (type < 1 || type > 4) type = 4;
      p = static_cast<uint8_t>((white ? 8 : 16) + type);
    }
  }
  if (Type(p) == 5 && (to - from == 20 || to - from == -20)) {
    int rank = from % 10;
    int rookFrom = to > from ? 80 + rank : 10 + rank;
    int rookTo = to > from ? 60 + rank : 40 + rank;
    b[rookTo] = b[rookFrom];
    b[rookFrom] = 0;
  }
  uint8_t& rights = b[kGdgBoardCastling];
  if (Type(p) == 5) rights &= white ? ~(16 | 32) : ~(64 | 128);
  auto touch = [&](int cell) {
    if (cell == Cell(0, 0)) rights &= ~32;
    if (cell == Cell(7, 0)) rights &= ~16;
    if (cell == Cell(0, 7)) rights &= ~128;
    if (cell == Cell(7, 7)) rights &= ~64;
  };
  touch(from);
  touch(to);
  b[to] = p;
  b[from] = 0;
  PutWord(b, kGdgBoardSide, white ? 1 : 0);
  uint16_t ply;
  std::memcpy(&ply, b + kGdgBoardPly, 2);
  ++ply;
  std::memcpy(b + kGdgBoardPly, &ply, 2);
}

int32_t AllowedCastling(const uint8_t* b) {
  int32_t allowed = 0;
  if (b[Cell(4, 0)] == kWhiteKing) {
    if (b[Cell(7, 0)] == 11) allowed |= 16;
    if (b[Cell(0, 0)] == 11) allowed |= 32;
  }
  if (b[Cell(4, 7)] == 21) {
    if (b[Cell(7, 7)] == 19) allowed |= 64;
    if (b[Cell(0, 7)] == 19) allowed |= 128;
  }
  return allowed;
}

}  // namespace gdg
