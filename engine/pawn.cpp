// Corvane engine core: pawn structure.  Squares are read from White's view;
// Black's pawns use the rank mirror and the opposite direction.
#include "pawn.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "attack.h"

namespace corvane {

PawnResult g_pawn;

namespace {

PawnEntry g_table[128];
PawnEntry g_scratch;

// Tables by square from White's view, [rank][file].
const i8 kIsolated[8][8] = {{0},
                            {5, 10, 10, 4, 4, 7, 7, 3},
                            {5, 10, 10, 4, 4, 7, 7, 3},
                            {5, 10, 10, 4, 4, 7, 7, 3},
                            {5, 10, 10, 4, 4, 7, 7, 3},
                            {2, 5, 5, 2, 2, 3, 3, 1},
                            {0},
                            {0}};
const i8 kBackward[8][8] = {{0},
                            {3, 3, 4, 6, 6, 4, 3, 3},
                            {3, 3, 4, 6, 6, 4, 3, 3},
                            {2, 2, 3, 4, 4, 3, 2, 2},
                            {1, 1, 2, 3, 3, 2, 1, 1},
                            {0},
                            {0},
                            {0}};
const i8 kOutpost[8][8] = {{0},
                           {0},
                           {0, 0, 6, 8, 8, 6, 0, 0},
                           {0, 0, 10, 18, 18, 10, 0, 0},
                           {0, 0, 10, 18, 18, 10, 0, 0},
                           {0, 0, 4, 6, 6, 4, 0, 0},
                           {0},
                           {0}};
const i8 kStrong[8][8] = {{0},
                          {0},
                          {0},
                          {0, 0, 7, 12, 12, 7, 0, 0},
                          {0, 7, 15, 22, 22, 15, 7, 0},
                          {0, 10, 20, 27, 27, 20, 10, 0},
                          {0, 4, 7, 10, 10, 7, 4, 0},
                          {0}};
const i8 kFront[8][8] = {{0},
                         {0},
                         {5, 10, 20, 25, 25, 20, 10, 5},
                         {6, 12, 20, 25, 25, 20, 12, 6},
                         {4, 8, 14, 16, 16, 14, 8, 4},
                         {3, 4, 5, 6, 6, 5, 4, 3},
                         {0},
                         {0}};
const i16 kPassed[8][8] = {{0},
                           {55, 60, 55, 50, 50, 55, 60, 55},
                           {55, 60, 55, 50, 50, 55, 60, 55},
                           {72, 78, 72, 65, 65, 72, 78, 72},
                           {88, 96, 88, 80, 80, 88, 96, 88},
                           {105, 114, 105, 95, 95, 105, 114, 105},
                           {110, 120, 110, 100, 100, 110, 120, 110},
                           {0}};
// Pawn-attack table [cheapest attacker kind][cheapest defender kind]:
// kinds pawn-or-minor, rook, queen, king.
const int kPawnAttack[4][4] = {{5, 10, 5, 5}, {1, 5, 5, 5}, {1, 2, 3, 2}, {1, 5, 5, 5}};

inline int RelRank(int side, int sq) { return side == 0 ? SqRank(sq) : 7 - SqRank(sq); }
inline int Fwd(int side) { return side == 0 ? 10 : -10; }
// Bits of ranks strictly ahead of / behind rank r for side.
inline u8 Ahead(int side, int r) { return side == 0 ? u8(0xFF & ~((2 << r) - 1)) : u8((1 << r) - 1); }
inline u8 Behind(int side, int r) { return side == 0 ? u8((1 << r) - 1) : u8(0xFF & ~((2 << r) - 1)); }
inline u8 Around(int r) { return u8((7 << r) >> 1); }  // ranks r-1..r+1

int Kind(u8 att) {
  if (att & 0xF0) return 0;
  if (att & 0x0C) return 1;
  if (att & 0x02) return 2;
  return 3;
}

inline int KingDist(int a, int b) {
  int df = std::abs(SqFile(a) - SqFile(b)), dr = std::abs(SqRank(a) - SqRank(b));
  return df > dr ? df : dr;
}

// Static terms of one side's pawns (side fixed at compile time).
template <int Side>
void BuildSide(PawnEntry& e) {
  constexpr int side = Side;
  constexpr int other = 1 - Side;
  int conn = 0, d = 0;
  const u8* own = e.files[side];
  const u8* enemy = e.files[other];
  for (int i = 0; i < 8 && e.squares[side][i]; ++i) {
    int sq = e.squares[side][i];
    int f = SqFile(sq) + 1, r = SqRank(sq);
    u8 rb = u8(1 << r);
    u8 L = own[f - 1], R = own[f + 1];
    int c =
        ((R & Around(r)) ? 1 : 0) + ((L & Around(r)) ? 1 : 0) + ((L & rb) ? 1 : 0) - ((R & rb) ? 0 : 1) + 1;
    if (c <= 0)
      conn -= 3;
    else if (c >= 2)
      conn += 2;
    int flag = 0;
    u8 ahead = Ahead(side, r);
    if (own[f] & ahead) {
      int neighbours = (L ? 1 : 0) + (R ? 1 : 0);
      if (neighbours == 1)
        d += 13;
      else if (neighbours == 0)
        d += (f == 1 || f == 8) ? 34 : 19;
    } else if (!((enemy[f - 1] | enemy[f] | enemy[f + 1]) & ahead)) {
      flag |= 8;
    }
    int fr = side == 0 ? r + 1 : r - 1;  // rank of the square in front
    int fr2 = side == 0 ? r + 2 : r - 2;
    bool frontAttacked = fr2 >= 0 && fr2 <= 7 && ((enemy[f - 1] | enemy[f + 1]) & (1 << fr2));
    bool enemyInFront = fr >= 0 && fr <= 7 && (enemy[f] & (1 << fr));
    if (!(L | R)) {
      flag |= 1;
    } else if ((L | R) & (Behind(side, r) | rb)) {
      if (!((L | R) & Behind(side, r)) && frontAttacked) flag |= 4;
    } else if (enemyInFront) {
      flag |= 2;
    } else if (frontAttacked) {
      flag |= 3;
    }
    e.flags[i] |= u8(side == 0 ? flag : flag << 4);
  }
  e.doubled[side] = i16(d);
  e.score[side] = i16(conn - ((g_sw[side * kWSide + kWFix1] * d + 512) >> 10));
}

void BuildEntry(const SearchBoard& bd, PawnEntry& e) {
  std::memset(&e, 0, sizeof e);
  e.key = bd.pkey;
  e.valid = 1;
  for (int side = 0; side < 2; ++side) {
    int i = 0;
    for (const u8* l = bd.list[side]; *l; ++l) {
      e.files[side][SqFile(*l) + 1] |= u8(1 << SqRank(*l));
      if (i < 8) e.squares[side][i++] = *l;
    }
  }
  BuildSide<0>(e);
  BuildSide<1>(e);
}

// Penalty for an attacked pawn (dynamic part).
int PawnAttackPenalty(const SearchBoard& bd, int side, int sq) {
  const u8* own = AttackMap(bd, side);
  const u8* opp = AttackMap(bd, 1 - side);
  u8 a = opp[sq], dft = own[sq];
  if (!a || g_attCount[a] < g_attCount[dft]) return 0;
  int dk = dft ? Kind(dft) : 3;
  int pen = kPawnAttack[Kind(a)][dk];
  if (dft && dk == 1) {
    const u8* b = bd.sq();
    u8 rook = side == 0 ? kWR : kBR;
    int best = 0;
    for (int i = 4; i < 8; ++i) {
      int dir = kDir[i];
      int t = sq + dir, halvings = 0;
      while (b[t] == kEmpty) {
        if (!(opp[t] & 0xC0) && halvings < 2) ++halvings;
        t += dir;
      }
      if (b[t] == rook) {
        int v = 20 >> halvings;
        if (i < 6) v *= 2;
        if (v > best) best = v;
      }
    }
    pen += best;
  }
  return pen;
}

int FrontPressure(const SearchBoard& bd, int side, int front) {
  const u8* own = AttackMap(bd, side);
  const u8* opp = AttackMap(bd, 1 - side);
  const u8* b = bd.sq();
  int a = g_attCount[opp[front]];
  if (opp[front] & 0xC0) ++a;
  if (b[front] & (side == 0 ? kBlackBit : kWhiteBit)) ++a;
  a -= g_attCount[own[front]];
  if (a < 1) return 0;
  int rr = side == 0 ? SqRank(front) : 7 - SqRank(front);
  return (a < 4 ? a : 4) * kFront[rr][SqFile(front)] / 4;
}

struct Passer {
  int best, second, fastest, candE, candSq;
};

// The terms of one side (the side is a compile-time constant so that the
// direction and colour choices fold away).
template <int Side>
void SideTerms(SearchBoard& bd, int phaseWeight, const PawnEntry& e, Passer* ps) {
  constexpr int side = Side;
  constexpr int other = 1 - Side;
  const u8* b = bd.sq();
  bool wtm = bd.WhiteToMove();
  const u8* own = AttackMap(bd, side);
  const u8* opp = AttackMap(bd, other);
  u8 enemyPawn = side == 0 ? kBP : kWP, ownPawn = side == 0 ? kWP : kBP;
  u8 ownRook = side == 0 ? kWR : kBR, enemyRook = side == 0 ? kBR : kWR, enemyQueen = side == 0 ? kBQ : kWQ;
  int fwd = Fwd(side);
  int dyn = 0;
  Passer& p = ps[side];
  p.best = p.second = 0;
  p.fastest = 100;
  p.candE = 100;
  p.candSq = 0;
  int ownKing = bd.list[10 + side][0], enemyKing = bd.list[10 + other][0];
  bool toMove = (side == 0) == wtm;
  for (int i = 0; i < 8 && e.squares[side][i]; ++i) {
    int sq = e.squares[side][i];
    int flag = side == 0 ? e.flags[i] & 15 : e.flags[i] >> 4;
    int rr = RelRank(side, sq), file = SqFile(sq);
    int front = sq + fwd;
    switch (flag & 7) {
      case 1: {
        int v = kIsolated[rr][file];
        if (b[front] != enemyPawn) v += 5 * FrontPressure(bd, side, front) / 8;
        v += PawnAttackPenalty(bd, side, sq);
        dyn += (v * g_sw[side * kWSide + kWFix2] + 512) >> 10;
        break;
      }
      case 2:
        dyn += PawnAttackPenalty(bd, side, sq);
        break;
      case 3:
        dyn += kBackward[rr][file] + FrontPressure(bd, side, front) + PawnAttackPenalty(bd, side, sq);
        break;
      case 4:
        if (!(b[front] == kEmpty && Outcome(Exchange(bd, side, front), side) == 0))
          dyn += PawnAttackPenalty(bd, side, sq) + 4;
        break;
      default:
        break;
    }
    if (!(flag & 8)) continue;
    // Passed pawn: path value.
    int v = rr - 3;
    int t = sq - fwd;
    while (b[t] == kEmpty) t -= fwd;
    if (b[t] == ownRook)
      v += 2;
    else if (b[t] == enemyRook)
      v -= 2;
    else if (b[t] == enemyQueen)
      v -= 1;
    int n = 0;
    bool first = true;
    for (t = front; b[t] != kRim; t += fwd) {
      bool last = RelRank(side, t) == 7;
      if (b[t] == ownRook)
        v -= 2;
      else if (b[t] == enemyRook)
        v += 2;
      if (opp[t] > own[t])
        v -= 1;
      else if (own[t] > opp[t])
        v += last ? 2 : 1;
      else if (b[t] != kEmpty && !(b[t] & (side == 0 ? kWhiteBit : kBlackBit)))
        v -= first ? 2 : 1;
      n += b[t] == kEmpty ? 1 : 2;
      first = false;
    }
    int value = (v < -2 ? 2 : v + 4) * 11 * kPassed[rr][file] / 64;
    if (own[sq] & 0xC0)
      value = value * 11 / 8;
    else if (own[front] & 0xC0)
      value = value * 10 / 8;
    // Race.
    int promo = side == 0 ? 70 + file + 1 : file + 1;
    if (n < p.fastest) p.fastest = n;
    int ep = 2 * n - (rr == 1 ? 2 : 0) - (toMove ? 1 : 0);
    int type = 2 * KingDist(enemyKing, promo) - ep - 2;
    int ed = KingDist(enemyKing, promo), od = KingDist(ownKing, promo);
    if (type > 0 || !(ed < (toMove ? od - 1 : od))) {
      // Equal counts go to the lower promotion square, so that the pawns'
      // list order (which depends on the moves played) never decides.
      if (ep < p.candE || (ep == p.candE && promo < p.candSq)) {
        p.candE = ep;
        p.candSq = promo;
      }
    }
    int w;
    if (type < -1)
      w = value * 54;
    else if (type == -1)
      w = value * 59;
    else if (type == 0)
      w = value * 64;
    else if (type == 1)
      w = value * 70 + 480;
    else if (type == 2)
      w = value * 76 + 960;
    else
      w = value * 83 + 1440;
    int k = 2 * KingDist(ownKing, front) - (toMove ? 1 : 0);
    if (k < 1) k = 1;
    w = w / 64 * (76 - 3 * (k < 8 ? k : 8)) / 64;
    if (rr == 6 && type > 2 && (bd.sig[other] >> 4) == 0x100) {
      int beside[2] = {sq - 1, sq + 1};
      for (int s : beside)
        if (b[s] == ownPawn || (b[s] == kEmpty && b[s - fwd] == ownPawn)) {
          w += 400;
          break;
        }
    }
    if (w > p.best) {
      p.second = p.best;
      p.best = w;
    } else if (w > p.second) {
      p.second = w;
    }
  }
  g_pawn.structure[side] = e.score[side] - dyn;
  g_pawn.passed[side] = (16 * p.best + 12 * p.second + 8) / 16;
  // Strong squares.
  int strong = 0;
  if (phaseWeight > 16) {
    const u8* ef = e.files[other];
    const u8* of = e.files[side];
    auto enemyAheadNeighbour = [&](int s) {
      int f = SqFile(s) + 1;
      return ((ef[f - 1] | ef[f + 1]) & Ahead(side, SqRank(s))) != 0;
    };
    int enemyKnights = (bd.sig[other] >> 4) & 15, enemyBishops = (bd.sig[other] >> 8) & 15;
    for (const u8* l = bd.list[2 + side]; *l; ++l) {
      int s = *l;
      int rr2 = RelRank(side, s), f = SqFile(s) + 1;
      int v = kOutpost[rr2][SqFile(s)];
      if (v <= 0) continue;
      u8 ah = Ahead(side, SqRank(s));
      bool skip = ((ef[f - 1] & ah) && !(of[f - 1] & ah)) || ((ef[f + 1] & ah) && !(of[f + 1] & ah));
      if (skip) continue;
      int w = ((of[f - 1] | of[f + 1]) & Behind(side, SqRank(s))) ? 4 : 2;
      w += g_attCount[own[s]];
      if (own[s] & 0x0E) w += 1;
      if (b[s + fwd] == enemyPawn) w += 3;
      if ((own[s] & 0xC0) && enemyKnights == 0) {
        bool ok = enemyBishops == 0;
        if (enemyBishops == 1) {
          int eb = bd.list[4 + other][0];
          ok = ((SqFile(eb) + SqRank(eb)) & 1) != ((SqFile(s) + SqRank(s)) & 1);
        }
        if (ok) w += 2;
      }
      strong += v * w / 4;
    }
    for (const u8* l = bd.list[4 + side]; *l; ++l) {
      int v = kStrong[RelRank(side, *l)][SqFile(*l)];
      if (v > 0 && !enemyAheadNeighbour(*l)) strong += v;
    }
    for (const u8* l = bd.list[6 + side]; *l; ++l) {
      int s = *l;
      int v = kStrong[RelRank(side, s)][SqFile(s)];
      if (v <= 0 || enemyAheadNeighbour(s)) continue;
      int out = Outcome(Exchange(bd, side, s), 6);
      if (out == 2 || (out == 1 && (own[s] & 0x0C))) strong += v < 18 ? v : 18;
    }
    strong = strong * phaseWeight / 256;
  }
  g_pawn.strong[side] = strong;
}

int Compute(SearchBoard& bd, int phaseWeight, const PawnEntry& e) {
  const u8* b = bd.sq();
  bool wtm = bd.WhiteToMove();
  Passer ps[2];
  int pieceCount[2];
  for (int side = 0; side < 2; ++side) pieceCount[side] = bd.sig[side] >> 4;  // nonzero when pieces
  SideTerms<0>(bd, phaseWeight, e, ps);
  SideTerms<1>(bd, phaseWeight, e, ps);
  // Race term.
  int race = 0;
  if (pieceCount[0] == 0 && pieceCount[1] == 0) {
    int we = ps[0].candE, be = ps[1].candE;
    auto sees = [&](int from, int target) {
      u8 rel = Relation(target, from);
      if (!(rel & 0x30)) return false;
      int d = kDir[rel & 15];
      int t = from + d;
      while (t != target && b[t] == kEmpty) t += d;
      return t == target;
    };
    if (we < be) {
      if (be == 100) {
        race = 480;
      } else {
        int wsq = ps[0].candSq, bsq = ps[1].candSq;
        if ((sees(wsq, bsq) && !(AttackMap(bd, 1)[bsq])) || sees(wsq, bd.BKing())) be += 2;
        if (be - we > 2) race = 400;
      }
    } else if (be < we) {
      if (we == 100) {
        race = -480;
      } else {
        int wsq = ps[0].candSq, bsq = ps[1].candSq;
        if ((sees(bsq, wsq) && !(AttackMap(bd, 0)[wsq])) || sees(bsq, bd.WKing())) we += 2;
        if (we - be > 2) race = -400;
      }
    }
  } else if ((bd.sig[0] >> 4) == 0x1000 && (bd.sig[1] >> 4) == 0x1000) {
    int wn = ps[0].fastest, bn = ps[1].fastest;
    if (wn < 100 || bn < 100) {
      int bb = wn < 5 ? wn : 5, cc = bn < 5 ? bn : 5;
      int d = wn - bn;
      if (d >= 2)
        race = 92 * cc - 500;
      else if (d == 1)
        race = 36 * cc - 200;
      else if (d == -1)
        race = 200 - 36 * bb;
      else if (d <= -2)
        race = 500 - 92 * bb;
      if (d != 0) {
        race += wtm ? 20 : -20;
        int faster = d < 0 ? 0 : 1;
        int pawns = bd.sig[faster] & 15;
        if (pawns < 3) race /= 2;
        if (pawns < 2) race /= 2;
      }
    }
  }
  g_pawn.race = race;
  return race;
}

}  // namespace

void PawnTableClear() { std::memset(g_table, 0, sizeof g_table); }

const PawnEntry& PawnEntryFor(const SearchBoard& bd, bool useCache) {
  if (!useCache) {
    BuildEntry(bd, g_scratch);
    return g_scratch;
  }
  PawnEntry& e = g_table[bd.pkey & 0x7F];
  if (!e.valid || e.key != bd.pkey) BuildEntry(bd, e);
  return e;
}

int YPawn(SearchBoard& bd, int phaseWeight) {
  if (!bd.scanned) FatalError("YPawn: not scanned");
  return Compute(bd, phaseWeight, PawnEntryFor(bd, true));
}

int XPawn(SearchBoard& bd, int phaseWeight) {
  if (!bd.scanned) FatalError("XPawn: not scanned");
  return Compute(bd, phaseWeight, PawnEntryFor(bd, false));
}

int EvalPawnY(SearchBoard& bd, int phaseWeight) {
  if (!g_attackTablesReady) FatalError("EvalPawnY: AttToNum unset");
  return YPawn(bd, phaseWeight);
}

int EvalPawnX(SearchBoard& bd, int phaseWeight) {
  if (!g_attackTablesReady) FatalError("EvalPawnX: AttToNum unset");
  return XPawn(bd, phaseWeight);
}

int EvalPawnBoth(SearchBoard& bd, int phaseWeight, PrintFn log, void* ctx) {
  if (!g_attackTablesReady) FatalError("EvalPawnBoth: AttToNum unset");
  PawnResult saved = g_pawn;
  XPawn(bd, phaseWeight);
  PawnResult x = g_pawn;
  g_pawn = saved;
  YPawn(bd, phaseWeight);
  const PawnResult& y = g_pawn;
  int diffs = 0;
  char line[80];
  auto cmp = [&](const char* name, int a, int b2) {
    if (a == b2) return;
    ++diffs;
    std::snprintf(line, sizeof line, "%s  old %d  new %d\n", name, a, b2);
    if (log) log(ctx, line);
  };
  cmp("rstruct[0]", x.structure[0], y.structure[0]);
  cmp("rstruct[1]", x.structure[1], y.structure[1]);
  cmp("rstrong[0]", x.strong[0], y.strong[0]);
  cmp("rstrong[1]", x.strong[1], y.strong[1]);
  cmp("rpassed[0]", x.passed[0], y.passed[0]);
  cmp("rpassed[1]", x.passed[1], y.passed[1]);
  cmp("rpassxx", x.race, y.race);
  return diffs;
}

}  // namespace corvane
