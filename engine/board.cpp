// Corvane engine core: search board set-up, piece lists, keys, making moves,
// check tests and the board dump.
#include "board.h"

#include <cstdio>
#include <cstring>

#include "eval.h"
#include "trans.h"

namespace corvane {

PlySlot g_slot[kMaxPly];
u32 g_rand[2][12][80];
u32 g_repKey[kHistory + kMaxPly];
u32 g_repWord[kHistory + kMaxPly];
EngineMove g_line[kMaxPly + 1];
u8 g_relation[155];
const int kDir[16] = {11, -11, 9, -9, 10, -10, 1, -1, 21, -21, 19, -19, 12, -12, 8, -8};

StepTable::StepTable() {
  auto onBoard = [](int t) { return t >= 1 && t <= 78 && t % 10 >= 1 && t % 10 <= 8; };
  std::memset(this, 0, sizeof *this);
  for (int s = 0; s < 80; ++s) {
    if (!onBoard(s)) continue;
    int nk = 0, nn = 0;
    for (int i = 0; i < 8; ++i)
      if (onBoard(s + kDir[i])) king[s][nk++] = u8(s + kDir[i]);
    for (int i = 8; i < 16; ++i)
      if (onBoard(s + kDir[i])) knight[s][nn++] = u8(s + kDir[i]);
  }
}
const StepTable g_steps;

namespace {

u8 g_castleMask[100];
bool g_tablesReady = false;

void ClearBoardCells(u8* cell) {
  std::memset(cell, kRim, 120);
  for (int r = 0; r < 8; ++r)
    for (int f = 0; f < 8; ++f) cell[20 + SqNum(f, r)] = kEmpty;
}

// Sliding attackers of a square along one direction: the first piece met.
inline int FirstPiece(const u8* b, int s, int d) {
  int t = s + d;
  while (b[t] == kEmpty) t += d;
  return t;
}

}  // namespace

void InitBoardTables() {
  if (g_tablesReady) return;
  BuildRandTable();
  std::memset(g_relation, 0, sizeof g_relation);
  for (int i = 0; i < 8; ++i)
    for (int k = 1; k <= 7; ++k) g_relation[kDir[i] * k + 77] = u8((i < 4 ? 0x10 : 0x20) | i);
  for (int i = 8; i < 16; ++i) g_relation[kDir[i] + 77] = u8(0x40 | i);
  std::memset(g_castleMask, 0xFF, sizeof g_castleMask);
  g_castleMask[1] = 0xFE;
  g_castleMask[5] = 0xFC;
  g_castleMask[8] = 0xFD;
  g_castleMask[71] = 0xFB;
  g_castleMask[75] = 0xF3;
  g_castleMask[78] = 0xF7;
  for (auto& slot : g_slot) {
    std::memset(&slot, 0, sizeof slot);
    ClearBoardCells(slot.b.cell);
  }
  g_tablesReady = true;
}

void ClearPlyStack() {
  InitBoardTables();
  for (auto& slot : g_slot) {
    std::memset(&slot, 0, sizeof slot);
    ClearBoardCells(slot.b.cell);
  }
  std::memset(g_repKey, 0, sizeof g_repKey);
  std::memset(g_repWord, 0, sizeof g_repWord);
  std::memset(g_line, 0, sizeof g_line);
}

const char* SquareName(int square) {
  static char names[100][3];
  static bool ready = false;
  if (!ready) {
    for (int s = 0; s < 100; ++s) {
      names[s][0] = 'x';
      names[s][1] = 'y';
      names[s][2] = 0;
      if (s % 10 >= 1 && s % 10 <= 8 && s < 80) {
        names[s][0] = char('a' + SqFile(s));
        names[s][1] = char('1' + SqRank(s));
      }
    }
    names[0][0] = names[0][1] = '.';
    ready = true;
  }
  if (square < 0 || square >= 100) return "xy";
  return names[square];
}

// ---------------------------------------------------------------- lists, keys

void XPieMov(SearchBoard& bd, int from, int to) {
  u8* b = bd.sq();
  u8 code = b[from];
  int p = PieceIndex(code);
  b[from] = kEmpty;
  b[to] = code;
  u8* l = bd.list[p];
  while (*l != from) {
    if (*l == 0) FatalError("XPieMov: sold not found");
    ++l;
  }
  *l = u8(to);
  bd.key1 ^= g_rand[0][p][from] ^ g_rand[0][p][to];
  bd.key2 ^= g_rand[1][p][from] ^ g_rand[1][p][to];
  if (p <= 1) bd.pkey ^= g_rand[0][p][from] ^ g_rand[0][p][to];
  int delta = g_pst[p][to] - g_pst[p][from];
  bd.pcsq += (code & kWhiteBit) ? delta : -delta;
}

void XPieSub(SearchBoard& bd, int square) {
  u8* b = bd.sq();
  u8 code = b[square];
  int p = PieceIndex(code);
  u8* l = bd.list[p];
  while (*l != square) {
    if (*l == 0) FatalError("XPieSub: sold not found");
    ++l;
  }
  do {
    l[0] = l[1];
    ++l;
  } while (*l);
  b[square] = kEmpty;
  bd.key1 ^= g_rand[0][p][square];
  bd.key2 ^= g_rand[1][p][square];
  if (p <= 1) bd.pkey ^= g_rand[0][p][square];
  int white = (code & kWhiteBit) ? 1 : 0;
  bd.sig[1 - white] -= SigWeight(TypeOf(code));
  bd.pcsq -= white ? g_pst[p][square] : -g_pst[p][square];
}

void XPieAdd(SearchBoard& bd, int square, u8 code) {
  u8* b = bd.sq();
  int p = PieceIndex(code);
  b[square] = code;
  u8* l = bd.list[p];
  while (*l) ++l;
  l[0] = u8(square);
  l[1] = 0;
  bd.key1 ^= g_rand[0][p][square];
  bd.key2 ^= g_rand[1][p][square];
  if (p <= 1) bd.pkey ^= g_rand[0][p][square];
  int white = (code & kWhiteBit) ? 1 : 0;
  bd.sig[1 - white] += SigWeight(TypeOf(code));
  bd.pcsq += white ? g_pst[p][square] : -g_pst[p][square];
}

// ---------------------------------------------------------------- check tests

int SquareCheck(const SearchBoard& bd, int s, bool byBlack) {
  const u8* b = bd.sq();
  int count = 0, off = 0;
  auto hit = [&](int o) {
    ++count;
    off = o;
  };
  u8 pawn = byBlack ? kBP : kWP, knight = byBlack ? kBN : kWN, king = byBlack ? kBK : kWK;
  u8 bishop = byBlack ? kBB : kWB, rook = byBlack ? kBR : kWR, queen = byBlack ? kBQ : kWQ;
  if (byBlack) {
    if (b[s + 11] == pawn) hit(11);
    if (b[s + 9] == pawn) hit(9);
  } else {
    if (b[s - 11] == pawn) hit(-11);
    if (b[s - 9] == pawn) hit(-9);
  }
  for (int i = 8; i < 16; ++i)
    if (b[s + kDir[i]] == knight) hit(kDir[i]);
  for (int i = 0; i < 8; ++i) {
    int d = kDir[i];
    if (b[s + d] == king) hit(d);
    u8 c = b[FirstPiece(b, s, d)];
    if (c == queen || c == (i < 4 ? bishop : rook)) hit(d);
  }
  return count >= 2 ? 2 : off;
}

int IsCheck(EngineMove move, const SearchBoard& bd) {
  if (move & kSpecialBits) FatalError("IsCheck: special move");
  const u8* b = bd.sq();
  int from = MoveFrom(move), to = MoveTo(move);
  u8 code = b[from];
  bool white = code & kWhiteBit;
  int k = white ? bd.BKing() : bd.WKing();
  int result = 0;
  // (a) direct check from the to-square.
  u8 rel = Relation(k, to);
  switch (TypeOf(code)) {
    case kPawn:
      if (white) {
        if (k == to + 11) result = -11;
        if (k == to + 9) result = -9;
      } else {
        if (k == to - 11) result = 11;
        if (k == to - 9) result = 9;
      }
      break;
    case kKnight:
      if (rel & 0x40) result = -kDir[rel & 15];
      break;
    case kBishop:
    case kRook:
    case kQueen: {
      int type = TypeOf(code);
      bool ok = (rel & 0x10) ? type != kRook : (rel & 0x20) ? type != kBishop : false;
      if (ok) {
        int d = kDir[rel & 15];
        int t = to + d;
        while (b[t] == kEmpty || t == from) t += d;
        if (t == k) result = -d;
      }
      break;
    }
    default:
      break;
  }
  // (b) discovered check: the mover leaves a line between the king and one of its sliders.
  u8 relf = Relation(from, k);
  if (relf & 0x30) {
    u8 relt = Relation(to, k);
    if ((relt & 0x3F) != (relf & 0x3F)) {
      int d = kDir[relf & 15];
      int t = k + d;
      while (b[t] == kEmpty) t += d;
      if (t == from) {
        t += d;
        while (b[t] == kEmpty) t += d;
        u8 c = b[t];
        u8 q = white ? kWQ : kBQ, r = white ? kWR : kBR, bi = white ? kWB : kBB;
        if (c == q || (c == r && (relf & 0x20)) || (c == bi && (relf & 0x10))) result = result ? 2 : d;
      }
    }
  }
  return result;
}

// ---------------------------------------------------------------- making moves

void CheckSearchMove(EngineMove move, int ply) {
  if (ply > 46 || ply < 0) FatalError("CheckMove: dep oor");
  if (g_rand[0][0][0] == 0) FatalError("CheckMove: RandTable unset");
  const SearchBoard& bd = Board(ply);
  const u8* b = bd.sq();
  int from = MoveFrom(move), to = MoveTo(move);
  if (from < 0 || from > 79 || to > 79)
    FatalError(bd.WhiteToMove() ? "CheckMove: not white piece" : "CheckMove: not zwart piece");
  if (bd.WhiteToMove()) {
    if (!(b[from] & kWhiteBit)) FatalError("CheckMove: not white piece");
    if (!(b[to] & (kEmpty | kBlackBit))) FatalError("CheckMove: not zwart victim");
    if (b[to] == kBK) FatalError("CheckMove: victim = ZK");
  } else {
    if (!(b[from] & kBlackBit)) FatalError("CheckMove: not zwart piece");
    if (!(b[to] & (kEmpty | kWhiteBit))) FatalError("CheckMove: not white victim");
    if (b[to] == kWK) FatalError("CheckMove: victim = WK");
  }
}

int DoMove(EngineMove move, int ply) {
  CheckSearchMove(move, ply);
  const SearchBoard& o = Board(ply);
  SearchBoard& n = Board(ply + 1);
  n = o;
  g_repKey[ply + kHistory] = o.key1;
  g_repWord[ply + kHistory] = o.Packed();
  g_line[ply + 1] = move;

  int from = MoveFrom(move), to = MoveTo(move);
  u8* b = n.sq();
  n.ep = 0;
  n.fifty = u8(o.fifty + 1);
  n.scanned = 0;
  n.flags = u8((o.flags & g_castleMask[from] & g_castleMask[to]) ^ 0x10);
  u8 code = b[from];
  if (o.WhiteToMove()) {
    if (code == kWP) {
      n.fifty = 0;
      if (to == from + 20 && (b[to - 1] == kBP || b[to + 1] == kBP)) n.ep = u8(to - 10);
    }
    if (b[to] & kBlackBit) {
      n.fifty = 0;
      XPieSub(n, to);
    }
  } else {
    if (code == kBP) {
      n.fifty = 0;
      if (to == from - 20 && (b[to - 1] == kWP || b[to + 1] == kWP)) n.ep = u8(to + 10);
    }
    if (b[to] & kWhiteBit) {
      n.fifty = 0;
      XPieSub(n, to);
    }
  }
  XPieMov(n, from, to);
  int chk;
  if (move & kSpecialBits) {
    bool white = o.WhiteToMove();
    if (int promo = MovePromo(move)) {
      XPieSub(n, to);
      XPieAdd(n, to, white ? WCode(promo) : BCode(promo));
    } else if (move & kCastleFlag) {
      switch (to) {
        case 7:
          XPieMov(n, 8, 6);
          break;
        case 3:
          XPieMov(n, 1, 4);
          break;
        case 77:
          XPieMov(n, 78, 76);
          break;
        case 73:
          XPieMov(n, 71, 74);
          break;
        default:
          FatalError("DoMove: bad castling");
      }
    } else if (move & kEpFlag) {
      XPieSub(n, white ? to - 10 : to + 10);
    }
    chk = white ? SquareCheck(n, n.BKing(), false) : SquareCheck(n, n.WKing(), true);
  } else {
    chk = IsCheck(move, o);
  }
  n.chk = i8(chk);
  n.ply = u8(o.ply + 1);
  return chk;
}

void DoNull(int ply) {
  if (ply > 46) FatalError("DoNull: dep oor");
  const SearchBoard& o = Board(ply);
  if (o.chk) FatalError("DoNull: in check");
  g_repKey[ply + kHistory] = o.key1;
  g_repWord[ply + kHistory] = o.Packed();
  g_line[ply + 1] = kNullMove;
  g_slot[ply + 1] = g_slot[ply];
  SearchBoard& n = Board(ply + 1);
  n.ep = 0;
  n.fifty = u8(o.fifty + 1);
  n.flags ^= 0x10;
  n.ply = u8(o.ply + 1);
}

bool PinIllegal(EngineMove move, int ply) {
  const SearchBoard& o = Board(ply);
  const SearchBoard& n = Board(ply + 1);
  bool white = o.WhiteToMove();
  int k = white ? n.WKing() : n.BKing();
  int from = MoveFrom(move);
  if (MoveFrom(move) == (white ? o.WKing() : o.BKing()) || (move & (kCastleFlag | kEpFlag)) || o.chk)
    return SquareCheck(n, k, white) != 0;
  u8 rel = Relation(from, k);
  if (!(rel & 0x30)) return false;
  const u8* b = n.sq();
  int d = kDir[rel & 15];
  int t = k + d;
  bool passed = false;
  while (b[t] == kEmpty) {
    if (t == from) passed = true;
    t += d;
  }
  if (!passed) return false;
  u8 c = b[t];
  u8 q = white ? kBQ : kWQ, r = white ? kBR : kWR, bi = white ? kBB : kWB;
  return c == q || (c == r && (rel & 0x20)) || (c == bi && (rel & 0x10));
}

// ---------------------------------------------------------------- set-up

bool PositionSearchable(const EnginePosition& pos) {
  InitBoardTables();
  const u8* b = pos.cell + 20;
  int count[12] = {};
  for (int s = -20; s < 100; ++s) {
    bool on = s >= 0 && s < 80 && s % 10 >= 1 && s % 10 <= 8;
    u8 c = b[s];
    if (!on || c == kEmpty) continue;
    bool white = (c & 0xF0) == 0x10 && !(c & 1) && (c & 0x0F) <= 10;
    bool black = (c & 0xF0) == 0 && (c & 1) && c <= 0x0B;
    if (!white && !black) return false;
    if (TypeOf(c) == kPawn && (SqRank(s) == 0 || SqRank(s) == 7)) return false;
    ++count[PieceIndex(c)];
  }
  if (count[10] != 1 || count[11] != 1) return false;
  // Every promotion uses up a pawn, so lists sized for the pieces plus the
  // pawns can never overflow during the search.
  for (int side = 0; side < 2; ++side) {
    int pawns = count[side];
    if (pawns > 8) return false;
    if (count[2 + side] + pawns > 10 || count[4 + side] + pawns > 10 || count[6 + side] + pawns > 10 ||
        count[8 + side] + pawns > 9)
      return false;
  }
  if (pos.ep && !((pos.ep >= 41 && pos.ep <= 48 && !pos.wtm) || (pos.ep >= 51 && pos.ep <= 58 && pos.wtm)))
    return false;
  SearchBoard probe;
  std::memcpy(probe.cell, pos.cell, 120);
  for (int s = 0; s < 80; ++s) {
    if (probe.sq()[s] == kWK) probe.list[10][0] = u8(s);
    if (probe.sq()[s] == kBK) probe.list[11][0] = u8(s);
  }
  if (pos.wtm ? SquareCheck(probe, probe.BKing(), false) : SquareCheck(probe, probe.WKing(), true))
    return false;
  return true;
}

bool SetupRoot(const EnginePosition& pos, const EngineMove* moves, int count) {
  if (!PositionSearchable(pos)) return false;
  PlannerInvalidate();
  ClearPlyStack();
  SearchBoard& bd = Board(0);
  std::memcpy(bd.cell, pos.cell, 120);
  for (int s = -20; s < 100; ++s) {
    bool on = s >= 0 && s < 80 && s % 10 >= 1 && s % 10 <= 8;
    if (!on) bd.sq()[s] = kRim;
  }
  const u8* b = bd.sq();
  for (int s = 0; s < 80; ++s) {
    u8 c = b[s];
    if (c == kRim || c == kEmpty) continue;
    int p = PieceIndex(c);
    u8* l = bd.list[p];
    while (*l) ++l;
    *l = u8(s);
    if (TypeOf(c) != kKing) bd.sig[(c & kWhiteBit) ? 0 : 1] += SigWeight(TypeOf(c));
  }
  bool wtm = pos.wtm != 0;
  // A castling right needs its king and rook at home, an en-passant square the
  // pawn that just passed it; anything else is dropped, never searched.
  bool wk = b[5] == kWK, bk = b[75] == kBK;
  bd.flags = u8((pos.castle[0] && wk && b[1] == kWR ? 1 : 0) | (pos.castle[1] && wk && b[8] == kWR ? 2 : 0) |
                (pos.castle[2] && bk && b[71] == kBR ? 4 : 0) |
                (pos.castle[3] && bk && b[78] == kBR ? 8 : 0) | (wtm ? 0x10 : 0));
  bd.ep = 0;
  if (pos.ep) {
    int e = pos.ep;
    bool passed = wtm ? (b[e - 10] == kBP && b[e] == kEmpty && b[e + 10] == kEmpty)
                      : (b[e + 10] == kWP && b[e] == kEmpty && b[e - 10] == kEmpty);
    // Kept only when a pawn of the side to move can really take there.
    bool taker = wtm ? (b[e - 11] == kWP || b[e - 9] == kWP) : (b[e + 11] == kBP || b[e + 9] == kBP);
    if (passed && taker) bd.ep = u8(e);
  }
  bd.fifty = pos.fifty;
  bd.chk = i8(wtm ? SquareCheck(bd, bd.WKing(), true) : SquareCheck(bd, bd.BKing(), false));
  TransSetHash(bd);
  bd.pcsq = kNoValue;
  bd.vpass = kNoValue;
  bd.vposn = kNoValue;
  bd.ply = 0;
  bd.scanned = 0;
  for (int i = 0; i < count; ++i) {
    int n = GenLegal(Board(0));
    bool legal = false;
    for (int j = 0; j < n && !legal; ++j) legal = (g_gen[j] & kMoveIdMask) == (moves[i] & kMoveIdMask);
    if (!legal) return false;
    DoMove(moves[i] & kMoveIdMask, 0);
    g_slot[0] = g_slot[1];
    Board(0).ply = 0;
    Board(0).scanned = 0;
    std::memmove(g_repKey, g_repKey + 1, sizeof(u32) * kHistory);
    std::memmove(g_repWord, g_repWord + 1, sizeof(u32) * kHistory);
    g_line[0] = moves[i] & kMoveIdMask;
  }
  return true;
}

bool PositionFromFen(const char* fen, EnginePosition* pos) {
  std::memset(pos, 0, sizeof *pos);
  ClearBoardCells(pos->cell);
  u8* b = pos->cell + 20;
  const char* p = fen;
  int rank = 7, file = 0;
  int kings[2] = {0, 0}, pieces[12] = {};
  for (; *p && *p != ' '; ++p) {
    char c = *p;
    if (c == '/') {
      if (file != 8 || rank == 0) return false;
      --rank;
      file = 0;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
      if (file > 8) return false;
    } else {
      const char* letters = "PNBRQKpnbrqk";
      const char* f = std::strchr(letters, c);
      if (!f || file > 7) return false;
      int idx = int(f - letters);
      int type = idx % 6;
      bool white = idx < 6;
      if (type == kPawn && (rank == 0 || rank == 7)) return false;
      u8 code = white ? WCode(type) : BCode(type);
      b[SqNum(file, rank)] = code;
      if (type == kKing) ++kings[white ? 0 : 1];
      ++pieces[PieceIndex(code)];
      ++file;
    }
  }
  if (rank != 0 || file != 8 || kings[0] != 1 || kings[1] != 1) return false;
  // Room of the piece lists: 8 pawns, 10 knights, bishops and rooks, 9 queens.
  for (int i = 0; i < 10; ++i)
    if (pieces[i] > (i < 2 ? 8 : i >= 8 ? 9 : 10)) return false;
  while (*p == ' ') ++p;
  if (*p == 'w')
    pos->wtm = 1;
  else if (*p != 'b')
    return false;
  ++p;
  while (*p == ' ') ++p;
  for (; *p && *p != ' '; ++p) {
    switch (*p) {
      case 'K':
        pos->castle[1] = b[5] == kWK && b[8] == kWR;
        break;
      case 'Q':
        pos->castle[0] = b[5] == kWK && b[1] == kWR;
        break;
      case 'k':
        pos->castle[3] = b[75] == kBK && b[78] == kBR;
        break;
      case 'q':
        pos->castle[2] = b[75] == kBK && b[71] == kBR;
        break;
      case '-':
        break;
      default:
        return false;
    }
  }
  while (*p == ' ') ++p;
  if (*p && *p != '-') {
    if (p[0] < 'a' || p[0] > 'h' || (p[1] != '3' && p[1] != '6')) return false;
    pos->ep = u8(SqNum(p[0] - 'a', p[1] - '1'));
    p += 2;
  } else if (*p) {
    ++p;
  }
  while (*p == ' ') ++p;
  if (*p >= '0' && *p <= '9') {
    int f = 0;
    while (*p >= '0' && *p <= '9' && f < 1000) f = f * 10 + (*p++ - '0');
    pos->fifty = u8(f > 255 ? 255 : f);
  }
  return PositionSearchable(*pos);
}

bool SetupRootFromFen(const char* fen) {
  EnginePosition pos;
  return PositionFromFen(fen, &pos) && SetupRoot(pos);
}

void PositionFromBoard(const SearchBoard& bd, EnginePosition* pos) {
  std::memset(pos, 0, sizeof *pos);
  std::memcpy(pos->cell, bd.cell, 120);
  pos->wtm = bd.WhiteToMove() ? 1 : 0;
  pos->ep = bd.ep;
  for (int i = 0; i < 4; ++i) pos->castle[i] = (bd.flags >> i) & 1;
  pos->fifty = bd.fifty;
}

// ---------------------------------------------------------------- dump

namespace {
const char* CodeName(u8 c) {
  static const char* names[12] = {"  WP", "  ZP", "  WN", "  ZN", "  WB", "  ZB",
                                  "  WR", "  ZR", "  WQ", "  ZQ", "  WK", "  ZK"};
  if (c == kEmpty) return " EMP";
  if (c == kRim) return " RIM";
  if ((c & 0xF0) == 0x10 && !(c & 1) && (c & 0x0F) <= 10) return names[c & 0x0F];
  if ((c & 0xF0) == 0 && (c & 1) && c <= 0x0B) return names[c & 0x0F];
  return " ?_?";
}
}  // namespace

void DumpBoard(int ply, int flags, PrintFn print, void* ctx) {
  const SearchBoard& bd = Board(ply);
  const u8* b = bd.sq();
  char buf[256];
  if (flags & 1) {
    for (int row = 9; row >= -2; --row) {
      int n = 0;
      for (int col = 0; col < 10; ++col)
        n += std::snprintf(buf + n, sizeof buf - n, " %02X", b[row * 10 + col]);
      for (int col = 0; col < 10; ++col)
        n += std::snprintf(buf + n, sizeof buf - n, "%s", CodeName(b[row * 10 + col]));
      std::snprintf(buf + n, sizeof buf - n, "\n");
      print(ctx, buf);
    }
  }
  if (flags & 2) {
    for (int r = 7; r >= 0; --r) {
      int n = 0;
      for (int f = 0; f < 8; ++f) n += std::snprintf(buf + n, sizeof buf - n, " %02X", b[SqNum(f, r)]);
      for (int side = 0; side < 2; ++side) {
        n += std::snprintf(buf + n, sizeof buf - n, "  ");
        for (int f = 0; f < 8; ++f)
          n += std::snprintf(buf + n, sizeof buf - n, " %02X", g_slot[ply].att[side][SqNum(f, r)]);
      }
      std::snprintf(buf + n, sizeof buf - n, "\n");
      print(ctx, buf);
    }
  }
  if (flags & 4) {
    for (int p = 0; p < 12; ++p) {
      int n = 0, i = 0;
      for (; i < 11 && bd.list[p][i]; ++i)
        n += std::snprintf(buf + n, sizeof buf - n, " %s", SquareName(bd.list[p][i]));
      for (; i < 10; ++i) n += std::snprintf(buf + n, sizeof buf - n, " ..");
      std::snprintf(buf + n, sizeof buf - n, "\n");
      print(ctx, buf);
    }
  }
  if (flags & 8) {
    int n = std::snprintf(buf, sizeof buf, "\nnonpx = %3d\neps   =  %s\nflg   =  %02X =", bd.fifty,
                          SquareName(bd.ep), bd.flags);
    const char* cs[4] = {" c1", " g1", " c8", " g8"};
    for (int i = 0; i < 4; ++i)
      n += std::snprintf(buf + n, sizeof buf - n, "%s", (bd.flags >> i) & 1 ? cs[i] : " ..");
    std::snprintf(buf + n, sizeof buf - n, "%s\nchk   = %+3d\nscanned = %d\n",
                  bd.WhiteToMove() ? " wtm" : " ztm", bd.chk, bd.scanned);
    print(ctx, buf);
  }
}

}  // namespace corvane
