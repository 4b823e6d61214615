// Corvane engine core: attack maps (Scan), the exchange table and the move
// orderings.  No capture sequence is ever played out: every exchange
// judgement is one table lookup per square.
#include "attack.h"

#include <cstring>
#include <initializer_list>

#include "eval.h"

namespace corvane {

u8 g_attCount[256];
u8 g_attClass[256];
u8 g_exchange[16][16];
u8 g_exchangeByte[256][256];
bool g_attackTablesReady = false;
const u8 kClassCount[16] = {0, 1, 1, 2, 1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4};
const u8 kClassValue[16] = {99, 99, 9, 9, 5, 5, 5, 5, 3, 3, 3, 3, 1, 1, 1, 1};
const u8 kAttWeight[12] = {64, 64, 16, 16, 16, 16, 4, 4, 2, 2, 1, 1};
const u8 kClassShift[12] = {6, 6, 4, 4, 4, 4, 2, 2, 0, 0, 0, 0};
const u8 kClassMask[12] = {0xC0, 0xC0, 0x30, 0x30, 0x30, 0x30, 0x0C, 0x0C, 0x03, 0x03, 0x03, 0x03};
const int kOrderPenalty[6] = {99, 24, 25, 40, 72, 160};

i32 g_history[12][80];
EngineMove g_killer[kMaxPly + 2][2];

namespace {
EngineMove g_stack[kMoveStack];
int g_top[kMaxPly + 1];  // end of each ply's list on the stack
u32 g_keys[kGenMax + 8];
}  // namespace

void InitAttackTables() {
  if (g_attackTablesReady) return;
  for (int x = 0; x < 256; ++x) {
    int count = (x & 1) + ((x >> 1) & 1) + ((x >> 2) & 3) + ((x >> 4) & 3) + ((x >> 6) & 3);
    g_attCount[x] = u8(count);
    int a = count < 4 ? count : 4;
    int cls;
    if (x == 0)
      cls = 0;
    else if (x & 0xC0)
      cls = a + 11;
    else if (x & 0x30)
      cls = a + 7;
    else if (x & 0x0C)
      cls = a + 3;
    else if (x & 0x02)
      cls = a + 1;
    else
      cls = a;
    if (cls > 15) FatalError("FillToPack: BUG");
    g_attClass[x] = u8(cls);
  }
  const int values[4] = {9, 5, 3, 1};  // queen bits 0-1, rook 2-3, minor 4-5, pawn 6-7
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 16; ++i) {
      int na = kClassCount[j], a = kClassValue[j], nd = kClassCount[i], d = kClassValue[i];
      u8 byte = 0;
      for (int k = 0; k < 4; ++k) {
        int v = values[k], out;
        if (na == 0)
          out = 2;
        else if (nd == 0)
          out = 0;
        else if (a < v)
          out = 0;
        else if (a == v || (nd < na && d + v >= a))
          out = nd < na ? 0 : 1;
        else
          out = 2;
        byte |= u8(out << (2 * k));
      }
      g_exchange[j][i] = byte;
    }
  for (int a = 0; a < 256; ++a)
    for (int d = 0; d < 256; ++d) g_exchangeByte[a][d] = g_exchange[g_attClass[a]][g_attClass[d]];
  g_attackTablesReady = true;
}

namespace {

// Rays of one side's sliders.  A file/rank ray passes an own rook unchanged
// and an own queen with weight 1; a diagonal ray passes an own bishop
// unchanged and an own queen with weight 1.  The weight, the piece codes and
// the direction are compile-time constants.
template <int D, int W, u8 SameKind, u8 Queen>
inline void Ray(const u8* b, u8* map, int s) {
  int t = s + D;
  int w = W;
  for (;;) {
    u8 c = b[t];
    while (c == kEmpty) {
      map[t] = u8(map[t] + w);
      t += D;
      c = b[t];
    }
    if (c == kRim) return;
    map[t] = u8(map[t] + w);
    if (c == SameKind) {
    } else if (c == Queen) {
      w = 1;
    } else {
      return;
    }
    t += D;
  }
}

template <int W, u8 Rook, u8 Queen>
inline void LineRays(const u8* b, u8* map, int s) {
  Ray<10, W, Rook, Queen>(b, map, s);
  Ray<-10, W, Rook, Queen>(b, map, s);
  Ray<1, W, Rook, Queen>(b, map, s);
  Ray<-1, W, Rook, Queen>(b, map, s);
}

template <int W, u8 Bishop, u8 Queen>
inline void DiagonalRays(const u8* b, u8* map, int s) {
  Ray<11, W, Bishop, Queen>(b, map, s);
  Ray<-11, W, Bishop, Queen>(b, map, s);
  Ray<9, W, Bishop, Queen>(b, map, s);
  Ray<-9, W, Bishop, Queen>(b, map, s);
}

template <int Side>
void ScanSide(SearchBoard& bd) {
  constexpr bool white = Side == 0;
  constexpr u8 rook = white ? kWR : kBR, bishop = white ? kWB : kBB, queen = white ? kWQ : kBQ;
  u8* b = bd.sq();
  u8* map = AttackMap(bd, Side);
  for (const u8* t = g_steps.king[bd.list[10 + Side][0]]; *t; ++t) map[*t] = 1;
  int ek = bd.list[11 - Side][0];
  u8 ekCode = b[ek];
  b[ek] = kEmpty;
  for (const u8* l = bd.list[8 + Side]; *l; ++l) {
    LineRays<2, rook, queen>(b, map, *l);
    DiagonalRays<2, bishop, queen>(b, map, *l);
  }
  for (const u8* l = bd.list[6 + Side]; *l; ++l) LineRays<4, rook, queen>(b, map, *l);
  for (const u8* l = bd.list[4 + Side]; *l; ++l) DiagonalRays<16, bishop, queen>(b, map, *l);
  b[ek] = ekCode;
  for (const u8* l = bd.list[2 + Side]; *l; ++l)
    for (const u8* t = g_steps.knight[*l]; *t; ++t) map[*t] = u8(map[*t] + 16);
  constexpr int c1 = white ? 9 : -11, c2 = white ? 11 : -9;
  for (const u8* l = bd.list[Side]; *l; ++l) {
    if (b[*l + c1] != kRim) map[*l + c1] = u8(map[*l + c1] + 64);
    if (b[*l + c2] != kRim) map[*l + c2] = u8(map[*l + c2] + 64);
  }
}

}  // namespace

void Scan(SearchBoard& bd) {
  if (bd.scanned) FatalError("Scan: already scanned");
  PlySlot& s = SlotOf(bd);
  std::memset(s.att, 0, sizeof s.att);
  ScanSide<0>(bd);
  ScanSide<1>(bd);
  bd.scanned = 1;
}

bool IsKamiKaze(SearchBoard& bd, int square) {
  EnsureScanned(bd);
  u8 c = bd.sq()[square];
  int side = (c & kWhiteBit) ? 0 : 1;
  const PlySlot& s = SlotOf(bd);
  return s.att[side][square] != 0 && g_attCount[s.att[1 - side][square]] <= 1;
}

u32 CapGain(EngineMove move, SearchBoard& bd) {
  if (!bd.scanned) FatalError("CapGain: not scanned");
  const u8* b = bd.sq();
  int from = MoveFrom(move), to = MoveTo(move);
  u8 mover = b[from];
  int p = PieceIndex(mover);
  int side = (mover & kWhiteBit) ? 0 : 1;
  i32 v = g_comb[PieceIndex(b[to])][to];
  i32 d = v * 4096;
  if (TypeOf(mover) == kKing) return u32(d - 160);
  u8 e = ExchangeLess(bd, side, to, p);
  i32 f = (e & kClassMask[p]) ? v : v - g_material[side][TypeOf(mover)];
  if (v > 600) f = v;
  if (v < 200 && f > 0) f = 0;
  if (f > 49)
    d = f * 65536;
  else if (f < -50)
    return 0;
  return u32(d) + (move & 0x700) - u32(kOrderPenalty[TypeOf(mover)]);
}

// ---------------------------------------------------------------- move stack

EngineMove* AllocList(int ply, int n) {
  int begin = ply <= 1 ? 0 : g_top[ply - 1];
  if (begin + n + 1 > kMoveStack) return nullptr;
  g_top[ply] = begin + n;
  return g_stack + begin;
}
EngineMove* PlyList(int ply) { return g_stack + (ply <= 1 ? 0 : g_top[ply - 1]); }
int PlyCount(int ply) { return g_top[ply] - (ply <= 1 ? 0 : g_top[ply - 1]); }
void PushNullList(int ply) {
  EngineMove* l = AllocList(ply, 1);
  if (l) l[0] = kNullMove;
}

namespace {

// Nonzero keys sorted descending (insertion sort with gap 6, then 1); zero
// keys after them in the order met.  Keys are met from the last move to the first.
int Arrange(EngineMove* out, const EngineMove* in, const u32* keys, int n) {
  u64 sorted[kGenMax + 8];  // key in the high word, move in the low word
  EngineMove zeros[kGenMax + 8];
  int nz = 0, z = 0;
  for (int i = n - 1; i >= 0; --i) {
    if (keys[i])
      sorted[nz++] = u64(keys[i]) << 32 | in[i];
    else
      zeros[z++] = in[i];
  }
  for (int gap : {6, 1})
    for (int i = gap; i < nz; ++i) {
      u64 v = sorted[i];
      // Key of sorted[j - gap] below v's key <=> the whole word below v's key word.
      u64 k = v & 0xFFFFFFFF00000000ull;
      int j = i;
      while (j >= gap && sorted[j - gap] < k) {
        sorted[j] = sorted[j - gap];
        j -= gap;
      }
      sorted[j] = v;
    }
  for (int i = 0; i < nz; ++i) out[i] = EngineMove(sorted[i]);
  std::memcpy(out + nz, zeros, sizeof(EngineMove) * z);
  return n;
}

inline bool SameMove(EngineMove a, EngineMove b) { return ((a ^ b) & kMoveIdMask) == 0; }

}  // namespace

int SortFull(int ply, int n, u32 hashMove) {
  SearchBoard& bd = Board(ply);
  EnsureScanned(bd);
  EngineMove* out = AllocList(ply, n);
  if (!out) return -1;
  const u8* b = bd.sq();
  bool white = bd.WhiteToMove();
  int side = white ? 0 : 1;
  const u8* own = AttackMap(bd, side);
  u8 zone[80];
  bool haveZone = bd.list[white ? 8 : 9][0] != 0;
  if (haveZone) {
    std::memset(zone, 0, sizeof zone);
    int ek = bd.list[white ? 11 : 10][0];
    for (const u8* t = g_steps.king[ek]; *t; ++t)
      if (own[*t] > 2) zone[*t] = own[*t] & 2;
  }
  EngineMove k1 = g_killer[ply][0], k2 = g_killer[ply][1];
  for (int i = n - 1; i >= 0; --i) {
    EngineMove m = g_gen[i];
    int from = MoveFrom(m), to = MoveTo(m);
    u8 mover = b[from], victim = b[to];
    bool capture = victim != kEmpty;
    u32 key;
    if (hashMove && u32(from) == (hashMove >> 24) && u32(to) == (hashMove & 0xFF)) {
      key = 0xFFFF0000u + (m & 0x700);
    } else if (haveZone && TypeOf(mover) == kQueen && zone[to] &&
               (Outcome(ExchangeLess(bd, side, to, PieceIndex(mover)), PieceIndex(mover)) & 2)) {
      u32 val = capture ? u32(g_material[1 - side][TypeOf(victim)]) : 1u;
      key = 0xF0000000u + val * 65536u;
    } else if (capture && (key = CapGain(m, bd)) != 0) {
      key -= 0x20000000u;
    } else if (m & (0x700 | kEpFlag)) {
      key = 0xE0000000u + (m & 0xF00);
    } else if (k1 && SameMove(m, k1)) {
      key = 0xD0000002u;
    } else if (k2 && SameMove(m, k2)) {
      key = 0xD0000001u;
    } else if (capture) {
      key = u32(TypeOf(victim) + 1);
    } else {
      key = u32(g_history[PieceIndex(mover)][to]);
    }
    g_keys[i] = key;
  }
  return Arrange(out, g_gen, g_keys, n);
}

int SortQuis(int ply, int n) {
  SearchBoard& bd = Board(ply);
  EngineMove* out = AllocList(ply, n);
  if (!out) return -1;
  const u8* b = bd.sq();
  int side = bd.WhiteToMove() ? 0 : 1;
  for (int i = n - 1; i >= 0; --i) {
    EngineMove m = g_gen[i];
    int from = MoveFrom(m), to = MoveTo(m);
    u8 mover = b[from], victim = b[to];
    u32 key;
    if (victim != kEmpty) {
      i32 v = g_comb[PieceIndex(victim)][to];
      i32 a = TypeOf(mover) == kKing ? 1500 : g_material[side][TypeOf(mover)];
      key = (v < 151 ? 0xD0000000u : 0xE0000000u) + u32(v) * 65536u - u32(a > 199 ? a : a + 300);
    } else if (m & (0x700 | kEpFlag)) {
      key = 0xE0000000u + (m & 0xF00);
    } else {
      key = u32(g_history[PieceIndex(mover)][to]);
    }
    g_keys[i] = key;
  }
  return Arrange(out, g_gen, g_keys, n);
}

void SortRootKillers(SearchBoard& bd, EngineMove* moves, int n, EngineMove k1, EngineMove k2) {
  const u8* b = bd.sq();
  static EngineMove in[kGenMax + 8];
  std::memcpy(in, moves, sizeof(EngineMove) * n);
  for (int i = 0; i < n; ++i) {
    EngineMove m = in[i];
    if (k1 && SameMove(m, k1))
      g_keys[i] = 0xE0000002u;
    else if (k2 && SameMove(m, k2))
      g_keys[i] = 0xE0000001u;
    else
      g_keys[i] = u32(g_history[PieceIndex(b[MoveFrom(m)])][MoveTo(m)]);
  }
  Arrange(moves, in, g_keys, n);
}

void SortRootChecks(SearchBoard& bd, EngineMove* moves, int n, EngineMove k1, EngineMove k2) {
  const u8* b = bd.sq();
  bool white = bd.WhiteToMove();
  int side = white ? 0 : 1;
  int ek = bd.list[white ? 11 : 10][0];
  static EngineMove in[kGenMax + 8];
  std::memcpy(in, moves, sizeof(EngineMove) * n);
  for (int i = 0; i < n; ++i) {
    EngineMove m = in[i];
    int to = MoveTo(m);
    u8 mover = b[MoveFrom(m)], victim = b[to];
    int type = TypeOf(mover);
    u8 rel = Relation(ek, to);
    bool check = false;
    switch (type) {
      case kPawn:
        check = white ? (ek == to + 11 || ek == to + 9) : (ek == to - 11 || ek == to - 9);
        break;
      case kKnight:
        check = rel & 0x40;
        break;
      case kBishop:
        check = rel & 0x10;
        break;
      case kRook:
        check = rel & 0x20;
        break;
      case kQueen:
        check = rel & 0x30;
        break;
      default:
        break;
    }
    u32 key;
    if (check)
      key = 0xFFFF0000u;
    else if (victim != kEmpty)
      key = u32(g_material[1 - side][TypeOf(victim)]) * 65536u - u32(g_material[side][type]) - 0x10000000u;
    else if (m & 0x700)
      key = 0xE0000000u + (m & 0x700);
    else if (k1 && SameMove(m, k1))
      key = 0xE0000002u;
    else if (k2 && SameMove(m, k2))
      key = 0xE0000001u;
    else
      key = u32(g_history[PieceIndex(mover)][to]);
    g_keys[i] = key;
  }
  Arrange(moves, in, g_keys, n);
}

}  // namespace corvane
