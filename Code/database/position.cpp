// The database module's chess board: moves, legality, descriptors and text.
#include "position.h"

#include <cstdlib>
#include <cstring>

namespace gdbase {
namespace {

const int kDiagonal[4] = {7, 9, -7, -9};
const int kStraight[4] = {8, 1, -8, -1};
const int kAllDirections[8] = {7, 9, -7, -9, 8, 1, -8, -1};
const int kKnightSteps[8] = {6, 15, 17, 10, -6, -15, -17, -10};

inline int FileOf(int sq) { return sq & 7; }
inline int RankOf(int sq) { return sq >> 3; }
inline bool IsWhite(uint8_t piece) { return (piece & kWhite) != 0; }
inline int TypeOf(uint8_t piece) { return piece & 7; }

// One king step (or one ray step) that does not wrap over the a- or h-file.
bool StepValid(int from, int offset) {
  int to = from + offset;
  if (to < 0 || to > 63) return false;
  return std::abs(FileOf(to) - FileOf(from)) <= 1;
}

bool KnightStepValid(int from, int offset) {
  int to = from + offset;
  if (to < 0 || to > 63) return false;
  int df = std::abs(FileOf(to) - FileOf(from));
  int dr = std::abs(RankOf(to) - RankOf(from));
  return (df == 1 && dr == 2) || (df == 2 && dr == 1);
}

bool AttackedBy(const sPosition& p, int sq, bool white) {
  uint8_t colour = white ? kWhite : 0;
  // Pawns capture toward the enemy: a White pawn on sq-7 or sq-9 hits sq.
  const int pawnFrom[2] = {white ? -7 : 7, white ? -9 : 9};
  for (int d : pawnFrom)
    if (StepValid(sq, d) && p.squares[sq + d] == (colour | kPawn)) return true;
  for (int d : kKnightSteps)
    if (KnightStepValid(sq, d) && p.squares[sq + d] == (colour | kKnight)) return true;
  for (int d : kAllDirections)
    if (StepValid(sq, d) && p.squares[sq + d] == (colour | kKing)) return true;
  for (int i = 0; i < 8; ++i) {
    int d = kAllDirections[i];
    uint8_t slider = i < 4 ? kBishop : kRook;
    for (int s = sq; StepValid(s, d);) {
      s += d;
      uint8_t piece = p.squares[s];
      if (piece == 0) continue;
      if (piece == (colour | slider) || piece == (colour | kQueen)) return true;
      break;
    }
  }
  return false;
}

int FindKing(const sPosition& p, bool white) {
  uint8_t king = (white ? kWhite : 0) | kKing;
  for (int sq = 0; sq < 64; ++sq)
    if (p.squares[sq] == king) return sq;
  return -1;
}

// Pieces only: what the to-square held, and what must be put back.
struct Undo {
  uint8_t captured;
  int victimSquare;  // pawn taken en passant, -1 none
  int rookFrom, rookTo;
};

Undo MovePieces(sPosition* p, int from, int to) {
  Undo u{p->squares[to], -1, -1, -1};
  uint8_t piece = p->squares[from];
  if (TypeOf(piece) == kKing && FileOf(from) == 4 && (from == 4 || from == 60)) {
    if (to == from + 2) u.rookFrom = from + 3, u.rookTo = from + 1;
    if (to == from - 2) u.rookFrom = from - 4, u.rookTo = from - 1;
  }
  if (TypeOf(piece) == kPawn && FileOf(from) != FileOf(to) && u.captured == 0) {
    int victim = IsWhite(piece) ? to - 8 : to + 8;
    if (victim >= 0 && victim < 64) u.victimSquare = victim;
  }
  p->squares[to] = piece;
  p->squares[from] = 0;
  if (u.rookFrom >= 0) {
    p->squares[u.rookTo] = p->squares[u.rookFrom];
    p->squares[u.rookFrom] = 0;
  }
  if (u.victimSquare >= 0) {
    uint8_t victim = p->squares[u.victimSquare];
    p->squares[u.victimSquare] = 0;
    u.captured = victim;  // restored to the victim square, not to `to`
  }
  return u;
}

void UnmovePieces(sPosition* p, int from, int to, const Undo& u) {
  if (u.rookFrom >= 0) {
    p->squares[u.rookFrom] = p->squares[u.rookTo];
    p->squares[u.rookTo] = 0;
  }
  p->squares[from] = p->squares[to];
  if (u.victimSquare >= 0) {
    p->squares[to] = 0;
    p->squares[u.victimSquare] = u.captured;
  } else {
    p->squares[to] = u.captured;
  }
}

// Whether the mover's king survives the move. A side without a king has no
// king to leave in check.
bool LeavesKingSafe(sPosition* p, int from, int to) {
  bool white = IsWhite(p->squares[from]);
  Undo u = MovePieces(p, from, to);
  int king = FindKing(*p, white);
  bool safe = king < 0 || !AttackedBy(*p, king, !white);
  UnmovePieces(p, from, to, u);
  return safe;
}

int PseudoTargets(const sPosition& p, int from, int32_t* out) {
  uint8_t piece = p.squares[from];
  bool white = IsWhite(piece);
  int n = 0;
  auto enemy = [&](int sq) { return p.squares[sq] != 0 && IsWhite(p.squares[sq]) != white; };
  switch (TypeOf(piece)) {
    case kPawn: {
      int forward = white ? 8 : -8;
      int captures[2] = {white ? 7 : -7, white ? 9 : -9};
      int homeRank = white ? 1 : 6;
      for (int i = 0; i < 2; ++i) {
        int d = captures[i];
        if (!StepValid(from, d)) continue;
        if (enemy(from + d) || (from + d == p.enPassant && p.squares[from + d] == 0)) out[n++] = from + d;
      }
      int one = from + forward;
      if (one >= 0 && one < 64 && p.squares[one] == 0) {
        out[n++] = one;
        int two = one + forward;
        if (RankOf(from) == homeRank && p.squares[two] == 0) out[n++] = two;
      }
      break;
    }
    case kKnight:
      for (int d : kKnightSteps)
        if (KnightStepValid(from, d) && (p.squares[from + d] == 0 || enemy(from + d))) out[n++] = from + d;
      break;
    case kBishop:
    case kRook:
    case kQueen: {
      const int* dirs = TypeOf(piece) == kBishop ? kDiagonal
                        : TypeOf(piece) == kRook ? kStraight
                                                 : kAllDirections;
      int count = TypeOf(piece) == kQueen ? 8 : 4;
      for (int i = 0; i < count; ++i) {
        for (int s = from; StepValid(s, dirs[i]);) {
          s += dirs[i];
          if (p.squares[s] == 0) {
            out[n++] = s;
            continue;
          }
          if (enemy(s)) out[n++] = s;
          break;
        }
      }
      break;
    }
    case kKing: {
      for (int d : kAllDirections)
        if (StepValid(from, d) && (p.squares[from + d] == 0 || enemy(from + d))) out[n++] = from + d;
      // Castling on the standard squares only, whatever the right byte holds.
      int base = white ? 0 : 56;
      uint8_t colour = white ? kWhite : 0;
      int shortRight = white ? kWhiteShort : kBlackShort;
      int longRight = white ? kWhiteLong : kBlackLong;
      if (from != base + 4) break;
      const sPosition& q = p;
      if (q.castle[shortRight] && q.squares[base + 5] == 0 && q.squares[base + 6] == 0 &&
          q.squares[base + 7] == (colour | kRook) && !AttackedBy(q, base + 4, !white) &&
          !AttackedBy(q, base + 5, !white))
        out[n++] = base + 6;
      if (q.castle[longRight] && q.squares[base + 3] == 0 && q.squares[base + 2] == 0 &&
          q.squares[base + 1] == 0 && q.squares[base] == (colour | kRook) &&
          !AttackedBy(q, base + 4, !white) && !AttackedBy(q, base + 3, !white))
        out[n++] = base + 2;
      break;
    }
    default:
      break;
  }
  return n;
}

}  // namespace

const sPosition& InitialPosition() {
  static const sPosition initial = [] {
    sPosition p{};
    const uint8_t back[8] = {kRook, kKnight, kBishop, kQueen, kKing, kBishop, kKnight, kRook};
    for (int f = 0; f < 8; ++f) {
      p.squares[f] = kWhite | back[f];
      p.squares[8 + f] = kWhite | kPawn;
      p.squares[48 + f] = kPawn;
      p.squares[56 + f] = back[f];
    }
    p.whiteToMove = 1;
    p.enPassant = kNoSquare;
    for (auto& c : p.castle) c = 1;
    return p;
  }();
  return initial;
}

bool IsInitialPosition(const sPosition& p) { return std::memcmp(&p, &InitialPosition(), sizeof p) == 0; }

bool AttackedByWhite(const sPosition& p, int square) { return AttackedBy(p, square, true); }
bool AttackedByBlack(const sPosition& p, int square) { return AttackedBy(p, square, false); }

void CheckCastlingRights(sPosition* p) {
  for (int side = 0; side < 2; ++side) {
    int base = side == 0 ? 0 : 56;
    uint8_t colour = side == 0 ? kWhite : 0;
    uint8_t* longRight = &p->castle[side * 2];
    uint8_t* shortRight = &p->castle[side * 2 + 1];
    if (p->squares[base + 4] != (colour | kKing)) *longRight = *shortRight = 0;
    if (p->squares[base + 7] != (colour | kRook)) *shortRight = 0;
    if (p->squares[base] != (colour | kRook)) *longRight = 0;
  }
}

int CheckEnPassant(sPosition* p, int strict) {
  int ep = p->enPassant;
  if (ep == kNoSquare) return 1;
  bool ok = ep < 64 && p->squares[ep] == 0 && (RankOf(ep) == 2 || RankOf(ep) == 5);
  if (ok) {
    // The pawn that made the double step stands just beyond the square.
    bool whiteToMove = p->whiteToMove != 0;
    int pawnSquare = whiteToMove ? ep - 8 : ep + 8;
    ok = RankOf(ep) == (whiteToMove ? 5 : 2) &&
         p->squares[pawnSquare] == (whiteToMove ? kPawn : (kWhite | kPawn));
    if (ok && strict) {
      uint8_t own = (whiteToMove ? kWhite : 0) | kPawn;
      bool left = FileOf(pawnSquare) > 0 && p->squares[pawnSquare - 1] == own;
      bool right = FileOf(pawnSquare) < 7 && p->squares[pawnSquare + 1] == own;
      ok = left || right;
    }
  }
  if (!ok) {
    p->enPassant = kNoSquare;
    return 0;
  }
  return 1;
}

int GenerateTargets(const sPosition& p, int from, int32_t* targets) {
  if (from < 0 || from > 63) return 0;
  uint8_t piece = p.squares[from];
  if (piece == 0 || IsWhite(piece) != (p.whiteToMove != 0)) return 0;
  int32_t candidates[32];
  int count = PseudoTargets(p, from, candidates);
  sPosition work = p;
  int n = 0;
  for (int i = 0; i < count; ++i)
    if (LeavesKingSafe(&work, from, candidates[i])) targets[n++] = candidates[i];
  return n;
}

int IsMoveLegal(const sPosition& p, uint16_t move) {
  int32_t targets[32];
  int n = GenerateTargets(p, MoveFrom(move), targets);
  for (int i = 0; i < n; ++i)
    if (targets[i] == MoveTo(move)) return 1;
  return 0;
}

bool SideToMoveInCheck(const sPosition& p) {
  int king = FindKing(p, p.whiteToMove != 0);
  return king >= 0 && AttackedBy(p, king, p.whiteToMove == 0);
}

bool HasNoLegalMove(const sPosition& p) {
  int32_t targets[32];
  for (int sq = 0; sq < 64; ++sq)
    if (GenerateTargets(p, sq, targets) > 0) return false;
  return true;
}

int CheckPositionLegal(const sPosition& p) {
  int whiteKing = FindKing(p, true);
  if (whiteKing < 0) return 1;
  if (!p.whiteToMove && AttackedByBlack(p, whiteKing)) return 2;
  int blackKing = FindKing(p, false);
  if (blackKing < 0) return 1;
  if (p.whiteToMove && AttackedByWhite(p, blackKing)) return 2;
  for (int f = 0; f < 8; ++f)
    if (TypeOf(p.squares[f]) == kPawn || TypeOf(p.squares[56 + f]) == kPawn) return 3;
  int count[2][8] = {};
  int total[2] = {};
  for (int sq = 0; sq < 64; ++sq) {
    uint8_t piece = p.squares[sq];
    if (piece == 0) continue;
    int side = IsWhite(piece) ? 0 : 1;
    ++count[side][TypeOf(piece)];
    ++total[side];
  }
  if (total[0] > 16 || total[1] > 16) return 4;
  for (int side = 0; side < 2; ++side) {
    const int* c = count[side];
    if (c[kKing] > 1 || c[kPawn] > 8 || c[kPawn] + c[kQueen] > 9 || c[kPawn] + c[kRook] > 10 ||
        c[kPawn] + c[kBishop] > 10 || c[kPawn] + c[kKnight] > 10)
      return 4;
  }
  return 0;
}

void PlayMoveOnPosition(sPosition* p, uint16_t move) {
  if (move == 0) return;
  int from = MoveFrom(move), to = MoveTo(move);
  uint8_t piece = p->squares[from];
  p->enPassant = kNoSquare;
  if (piece == (kWhite | kPawn) && to == from + 16) p->enPassant = static_cast<uint8_t>(from + 8);
  if (piece == kPawn && to == from - 16) p->enPassant = static_cast<uint8_t>(from - 8);
  if (piece == (kWhite | kKing)) p->castle[kWhiteLong] = p->castle[kWhiteShort] = 0;
  if (piece == kKing) p->castle[kBlackLong] = p->castle[kBlackShort] = 0;
  static const int corner[4] = {0, 7, 56, 63};
  for (int r = 0; r < 4; ++r) {
    if (!p->castle[r]) continue;
    int rookSquare = p->castle[r] == 1 ? corner[r] : p->castle[r] - 1;
    if (from == rookSquare || to == rookSquare) p->castle[r] = 0;
  }
  MovePieces(p, from, to);
  if (piece == (kWhite | kPawn) && RankOf(from) == 6) {
    static const uint8_t white[4] = {13, 12, 11, 10};
    p->squares[to] = white[MovePromotion(move)];
  } else if (piece == kPawn && RankOf(from) == 1) {
    static const uint8_t black[4] = {5, 4, 3, 2};
    p->squares[to] = black[MovePromotion(move)];
  }
  p->whiteToMove = p->whiteToMove ? 0 : 1;
}

int MoveOutcome(sPosition* p, uint16_t move) {
  sPosition after = *p;
  PlayMoveOnPosition(&after, move);
  bool check = SideToMoveInCheck(after);
  bool stuck = HasNoLegalMove(after);
  if (check && stuck) return 3;
  if (stuck) return 2;
  return check ? 1 : 0;
}

uint8_t GetMoveNotationFlags(const sPosition& p, uint16_t move) {
  int from = MoveFrom(move), to = MoveTo(move);
  uint8_t piece = p.squares[from];
  int type = TypeOf(piece);
  uint8_t flags = 0;
  if (type == kKing && std::abs(FileOf(to) - FileOf(from)) == 2) {
    flags = FileOf(to) < FileOf(from) ? 0x84 : 0x44;
  } else if (type == kPawn) {
    if (FileOf(from) != FileOf(to) && p.squares[to] == 0) {
      flags = 0x4E;
    } else {
      int lastFrom = IsWhite(piece) ? 6 : 1;
      flags = RankOf(from) == lastFrom ? 7 : 5;
      if (FileOf(from) != FileOf(to)) flags |= 0x48;
    }
  } else if (type >= kKnight) {
    flags = static_cast<uint8_t>(type - 2);
    if (p.squares[to] != 0) flags |= 0x08;
    int32_t targets[32];
    for (int sq = 0; sq < 64; ++sq) {
      if (sq == from || p.squares[sq] != piece) continue;
      int n = GenerateTargets(p, sq, targets);
      for (int i = 0; i < n; ++i) {
        if (targets[i] != to) continue;
        flags |= FileOf(sq) != FileOf(from) ? 0x40 : 0x80;
        break;
      }
    }
  }
  sPosition work = p;
  flags |= static_cast<uint8_t>(MoveOutcome(&work, move) << 4);
  return flags;
}

int MoveFlagsToText(uint8_t flags, uint16_t move, char* out, int style, const char* symbols) {
  int n = 0;
  auto put = [&](char c) { out[n++] = c; };
  auto suffix = [&](int index) {
    for (int i = index; i < index + 2; ++i)
      if (symbols[i] != ' ') put(symbols[i]);
  };
  int kind = flags & 7;
  int from = MoveFrom(move), to = MoveTo(move);
  if (kind == 4 && (flags & 0xC0)) {
    put(symbols[5]);
    put(symbols[6]);
    put(symbols[5]);
    if (flags & 0x80) {
      put(symbols[6]);
      put(symbols[5]);
    }
  } else {
    if (kind <= 4 && !(style & 2)) put(symbols[kind]);
    if ((flags & 0x40) || (style & 1)) put(static_cast<char>('a' + FileOf(from)));
    if ((flags & 0x80) || (style & 1)) put(static_cast<char>('1' + RankOf(from)));
    if (flags & 0x08)
      put(symbols[7]);
    else if (style & 1)
      put('-');
    put(static_cast<char>('a' + FileOf(to)));
    put(static_cast<char>('1' + RankOf(to)));
    if (kind == 6) suffix(14);
    if (kind == 7) {
      if (style & 4) put('=');
      put(symbols[3 - MovePromotion(move)]);
    }
  }
  switch ((flags >> 4) & 3) {
    case 1:
      suffix(8);
      break;
    case 2:
      suffix(12);
      break;
    case 3:
      suffix(10);
      break;
  }
  out[n] = 0;
  return n;
}

uint16_t MakeMoveWord(int fromFile, int fromRank, int toFile, int toRank, int promotionPiece) {
  int promotion = 0;
  switch (promotionPiece) {
    case 9:
    case 17:
      promotion = 3;
      break;
    case 10:
    case 18:
      promotion = 2;
      break;
    case 11:
    case 19:
      promotion = 1;
      break;
  }
  int from = ((fromRank - 1) & 7) * 8 + ((fromFile - 1) & 7);
  int to = ((toRank - 1) & 7) * 8 + ((toFile - 1) & 7);
  return MakeMove(from, to, promotion);
}

int EnPassantVictim(const sPosition& p, uint16_t move) {
  int from = MoveFrom(move), to = MoveTo(move);
  uint8_t piece = p.squares[from];
  if (TypeOf(piece) != kPawn || FileOf(from) == FileOf(to) || p.squares[to] != 0) return 0;
  return IsWhite(piece) ? to - 8 : to + 8;
}

uint16_t CastlingRookMove(const sPosition& p, uint16_t move) {
  int from = MoveFrom(move), to = MoveTo(move);
  uint8_t king = (p.whiteToMove ? kWhite : 0) | kKing;
  if (p.squares[from] != king) return 0;
  if (from == 4 && to == 6) return MakeMove(7, 5);
  if (from == 4 && to == 2) return MakeMove(0, 3);
  if (from == 60 && to == 62) return MakeMove(63, 61);
  if (from == 60 && to == 58) return MakeMove(56, 59);
  return 0;
}

int PromotionPiece(const sPosition& p, uint16_t move) {
  int from = MoveFrom(move);
  uint8_t piece = p.squares[from];
  static const uint8_t white[4] = {13, 12, 11, 10};
  static const uint8_t black[4] = {5, 4, 3, 2};
  if (piece == (kWhite | kPawn) && RankOf(from) == 6) return white[MovePromotion(move)];
  if (piece == kPawn && RankOf(from) == 1) return black[MovePromotion(move)];
  return 0;
}

int LoadPositionFromGame(const uint8_t* board, sPosition* out, int strict) {
  sPosition p = InitialPosition();
  for (int rank = 0; rank < 8; ++rank) {
    for (int file = 0; file < 8; ++file) {
      uint8_t code = board[10 * (file + 1) + (rank + 1)];
      uint8_t piece = 0;
      if (code >= 8 && code <= 13) piece = static_cast<uint8_t>(kWhite | (code - 7));
      if (code >= 16 && code <= 21) piece = static_cast<uint8_t>(code - 15);
      p.squares[rank * 8 + file] = piece;
    }
  }
  uint32_t side, ep;
  std::memcpy(&side, board + 100, 4);
  std::memcpy(&ep, board + 104, 4);
  uint8_t rights = board[108];
  if (!(rights & 16)) p.castle[kWhiteShort] = 0;
  if (!(rights & 32)) p.castle[kWhiteLong] = 0;
  if (!(rights & 64)) p.castle[kBlackShort] = 0;
  if (!(rights & 128)) p.castle[kBlackLong] = 0;
  p.whiteToMove = side == 1 ? 0 : 1;
  p.enPassant = kNoSquare;
  if (ep != 0) {
    int file = ((ep & 0xFF) - 1) & 7;
    p.enPassant = static_cast<uint8_t>(p.whiteToMove ? file + 40 : file + 16);
  }
  CheckCastlingRights(&p);
  int kept = CheckEnPassant(&p, strict);
  *out = p;
  return kept;
}

}  // namespace gdbase
