// Corvane engine core: static evaluation.  Material comes through a cached
// function of both material signatures (WoodXlat), piece-square values are
// blended by game phase, and the positional terms of the last full
// evaluation travel with the board (vpass, vposn) for the fast evaluation.
#include "eval.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "attack.h"
#include "pawn.h"
#include "trans.h"

namespace corvane {

i32 g_weights[kWeightCount];
namespace {
i32 g_sop = 100;  // for the dump
}
i32 g_sw[kWeightCount];
i32 g_material[2][6];
i32 g_comb[12][80];
i8 g_pst[12][80];
int g_rootWhite = 1;
EvalTerms g_terms;

namespace {

// ---------------------------------------------------------------- base tables

const int kBaseValue[6][3] = {{66, 80, 100},   {295, 295, 300}, {310, 310, 300},
                              {470, 485, 500}, {880, 900, 890}, {50, 50, 50}};

// Piece-square base tables [type][phase][rank 1..8][file a..h], White's view.
i8 g_base[6][3][8][8];
bool g_baseReady = false;

int Centre(int f, int r) {  // 0 on the rim .. 6 in the centre
  return (f < 7 - f ? f : 7 - f) + (r < 7 - r ? r : 7 - r);
}

void BuildBaseTables() {
  if (g_baseReady) return;
  std::memset(g_base, 0, sizeof g_base);
  static const i8 pawnOpen[8][8] = {{0},
                                    {0, 0, 0, -10, -10, 0, 0, 0},
                                    {0, 0, 2, 4, 4, 0, 0, 0},
                                    {0, 2, 10, 10, 10, 6, 0, 0},
                                    {2, 4, 8, 12, 12, 8, 4, 2},
                                    {6, 8, 12, 16, 16, 12, 8, 6},
                                    {10, 12, 16, 20, 20, 16, 12, 10},
                                    {0}};
  static const i8 pawnMid[8][8] = {{0},
                                   {0, 0, 0, -6, -6, 0, 0, 0},
                                   {0, 0, 2, 3, 3, 0, 0, 0},
                                   {0, 2, 6, 8, 8, 4, 0, 0},
                                   {3, 5, 8, 10, 10, 8, 5, 3},
                                   {8, 10, 14, 16, 16, 14, 10, 8},
                                   {14, 16, 20, 22, 22, 20, 16, 14},
                                   {0}};
  static const i8 pawnEnd[8] = {0, 0, 2, 5, 10, 18, 30, 0};
  static const i8 knightOpen[8][8] = {
      {-15, -15, -15, -15, -15, -15, -15, -15}, {-15, -3, 3, 9, 9, 3, -3, -15},
      {-10, 2, 10, 8, 8, 10, 2, -10},           {-8, 4, 10, 14, 14, 10, 4, -8},
      {-6, 6, 12, 16, 16, 12, 6, -6},           {-8, 4, 10, 12, 12, 10, 4, -8},
      {-12, -2, 2, 4, 4, 2, -2, -12},           {-15, -15, -15, -15, -15, -15, -15, -15}};
  static const i8 kingOpen1[8] = {4, 16, 6, -8, 0, -4, 14, 8};
  static const i8 kingOpen2[8] = {0, 0, -20, -28, -28, -20, 0, 0};
  static const i8 kingMid1[8] = {4, 14, 6, -8, 0, -4, 12, 8};
  static const i8 kingMid2[8] = {-4, -4, -20, -28, -28, -20, -4, -4};
  static const i8 rookMid7[8] = {33, 34, 35, 35, 35, 35, 34, 33};
  for (int r = 0; r < 8; ++r)
    for (int f = 0; f < 8; ++f) {
      int c = Centre(f, r);
      g_base[kPawn][0][r][f] = pawnOpen[r][f];
      g_base[kPawn][1][r][f] = pawnMid[r][f];
      g_base[kPawn][2][r][f] = pawnEnd[r];
      g_base[kKnight][0][r][f] = knightOpen[r][f];
      g_base[kKnight][1][r][f] = i8(4 * c - 12);
      g_base[kKnight][2][r][f] = i8(3 * c - 9);
      g_base[kBishop][0][r][f] = i8(3 * (c < 4 ? c : 4) - 8);
      g_base[kBishop][1][r][f] = i8(2 * c - 6);
      g_base[kBishop][2][r][f] = i8(2 * c - 6);
      g_base[kRook][0][r][f] = i8(r == 0   ? (f >= 2 && f <= 5 ? (f == 3 || f == 4 ? 4 : 2) : 0)
                                  : r == 6 ? 10
                                           : 0);
      g_base[kRook][1][r][f] = i8(r == 6   ? rookMid7[f]
                                  : r == 0 ? (f == 0 || f == 7   ? -2
                                              : f == 3 || f == 4 ? 4
                                              : f == 1 || f == 6 ? 0
                                                                 : 2)
                                  : r == 7 ? 5
                                           : 0);
      g_base[kRook][2][r][f] = 0;
      g_base[kQueen][0][r][f] = i8(r >= 3 ? ((r == 3 && (f == 0 || f == 7)) ? -5 : -10) : 0);
      g_base[kQueen][1][r][f] = i8(c - 3);
      g_base[kQueen][2][r][f] = i8(2 * c - 6);
      g_base[kKing][0][r][f] = i8(r == 0 ? kingOpen1[f] : r == 1 ? kingOpen2[f] : -99);
      g_base[kKing][1][r][f] = i8(r == 0 ? kingMid1[f] : r == 1 ? kingMid2[f] : r == 2 ? -40 : -70);
      int ring =
          std::abs(2 * f - 7) > std::abs(2 * r - 7) ? std::abs(2 * f - 7) / 2 : std::abs(2 * r - 7) / 2;
      bool corner = (f == 0 || f == 7) && (r == 0 || r == 7);
      g_base[kKing][2][r][f] = i8(corner ? -20 : 20 - 12 * ring);
    }
  g_baseReady = true;
}

inline bool LightSquare(int sq) { return ((SqFile(sq) + SqRank(sq)) & 1) != 0; }
inline int Mirror(int sq) { return 10 * (7 - SqRank(sq)) + SqFile(sq) + 1; }

// ---------------------------------------------------------------- caches

struct WoodSlot {
  i32 w[2], b[2], v[2];
  bool used[2];
};
WoodSlot g_wood[31];
bool g_plannerDone = false;

// A larger direct-mapped copy of material values in front of the 31-slot
// cache: the value is a function of the two signatures and of what Planner
// set, so a hit returns exactly what the slot cache would.  Cleared by Planner.
struct WoodFront {
  i32 w, b, v;
};
constexpr int kWoodFront = 1024;
WoodFront g_woodFront[kWoodFront];
inline u32 WoodFrontIndex(i32 w, i32 b) { return (u32(w) * 0x9E3779B1u ^ u32(b) * 0x85EBCA77u) >> 22; }
i32 g_rootSig[2];

struct PhaseSlot {
  u32 key1, key2;  // both halves: a slot matched on one alone could hand over another position's phase
  Phase ph;
  bool used;
};
PhaseSlot g_phaseCache[512];

i32 g_lastSw[kWeightCount];

// Results of full evaluations in this search: the same position always gives
// the same terms, so a hit only saves time.  Cleared by Planner.
struct FullSlot {
  u32 key1, key2, word;
  i32 raw, vpass, vposn;
};
constexpr int kFullSlots = 1 << 15;
FullSlot g_full[kFullSlots];

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// x / 2^n rounded to nearest with halves away from zero, so that a term and
// its colour mirror round alike (White-minus-Black sums change sign).
inline int Rs(i64 x, int n) {
  i64 half = i64(1) << (n - 1);
  return int(x >= 0 ? (x + half) >> n : -((-x + half) >> n));
}

Phase ComputePhase(const SearchBoard& bd) {
  const u8* b = bd.sq();
  int m = 0;
  for (int side = 0; side < 2; ++side) {
    i32 s = bd.sig[side];
    m += (s & 15) + 3 * (((s >> 4) & 15) + ((s >> 8) & 15)) + 4 * ((s >> 12) & 15) + 8 * ((s >> 16) & 15);
  }
  int e = 0;
  if (m >= 33) {
    static const int homes[14][2] = {{1, kWR},  {8, kWR},  {71, kBR}, {78, kBR}, {2, kWN},
                                     {7, kWN},  {72, kBN}, {77, kBN}, {3, kWB},  {6, kWB},
                                     {73, kBB}, {76, kBB}, {4, kWQ},  {74, kBQ}};
    for (auto& h : homes)
      if (b[h[0]] == h[1]) e += 2;
    if (b[14] == kWP) ++e;
    if (b[15] == kWP) ++e;
    if (b[64] == kBP) ++e;
    if (b[65] == kBP) ++e;
  }
  Phase ph;
  ph.phi0 = Clamp(16 * e - 64, 0, 256);
  int f = Clamp(384 - 8 * m, 0, 256);
  ph.phi2 = f * (256 - ph.phi0) / 256;
  ph.phi1 = 256 - ph.phi0 - ph.phi2;
  return ph;
}

inline int Count(i32 sig, int type) { return (sig >> (4 * type)) & 15; }

int PieceMaterial(i32 sig, int side) {
  int t = 0;
  for (int type = kKnight; type <= kQueen; ++type) t += Count(sig, type) * g_material[side][type];
  return t;
}

int WoodCompute(i32 w, i32 b) {
  int lost = 0;
  for (int type = 0; type < 5; ++type)
    lost += Count(g_rootSig[0], type) - Count(w, type) + Count(g_rootSig[1], type) - Count(b, type);
  int trades = (lost * g_sw[kWAvd] + 1) >> 1;
  int t = g_rootWhite ? -trades : trades;
  for (int type = 0; type < 5; ++type)
    t += Count(w, type) * g_material[0][type] - Count(b, type) * g_material[1][type];
  if (w < 16 && b < 16) return 2 * t;
  int root = g_rootWhite ? 0 : 1;
  i32 rs = root == 0 ? w : b;
  if (Count(rs, kQueen) == 0 && Count(g_rootSig[root], kQueen) != 0) {
    int lead = root == 0 ? t : -t;
    int delta = lead > 0 ? (lead / 4 - 10 < 100 ? lead / 4 - 10 : 100) : -10;
    t += root == 0 ? delta : -delta;
  }
  if (t > 50) {
    int bp = PieceMaterial(b, 1);
    int a = bp < 2401 ? (2400 - bp) / 16 : 0;
    int pw = 3 * Count(w, kPawn) * g_material[0][kPawn] / 16;
    a += pw < 100 ? pw : 100;
    t += a * (t - 50 < 512 ? t - 50 : 512) / 512;
  } else if (t < -50) {
    int wp = PieceMaterial(w, 0);
    int a = wp < 2401 ? (2400 - wp) / 16 : 0;
    int pb = 3 * Count(b, kPawn) * g_material[1][kPawn] / 16;
    a += pb < 100 ? pb : 100;
    t -= a * (-t - 50 < 512 ? -t - 50 : 512) / 512;
  }
  return t;
}

// Common tail of both evaluations: contempt, noise, endgame knowledge,
// clamp, fifty-move damping and the side-to-move view.
int Finish(const SearchBoard& bd, int s, const Phase& ph, int* lo, int* hi) {
  s += g_rootWhite ? g_sw[kWCfd] : -g_sw[kWCfd];
  if (int r = g_sw[kWNoise]) s += int((bd.key1 ^ bd.key2) % u32(r + 1)) - r / 2;
  int l = -kInfinity, h = kInfinity;
  if (ph.phi2 > 191) EndgameKnowledge(bd, s, l, h);
  s = Clamp(s, -7900, 7900);
  if (bd.fifty > 11) {
    int f = 2300 - 23 * bd.fifty;
    s = Rs(s * (f > 0 ? f : 0), 11);
  }
  if (bd.WhiteToMove()) {
    *lo = l;
    *hi = h;
    return s;
  }
  *lo = -h;
  *hi = -l;
  return -s;
}

int KingPart(const SearchBoard& bd, const Phase& ph) {
  int wk = bd.WKing(), bk = bd.BKing();
  int mw = Mirror(bk);
  int r1 = SqRank(wk), f1 = SqFile(wk), r2 = SqRank(mw), f2 = SqFile(mw);
  int d0 = g_base[kKing][0][r1][f1] - g_base[kKing][0][r2][f2];
  int d1 = g_base[kKing][1][r1][f1] - g_base[kKing][1][r2][f2];
  int d2 = g_base[kKing][2][r1][f1] - g_base[kKing][2][r2][f2];
  return Rs(ph.phi0 * d0 + ph.phi1 * d1 + ph.phi2 * d2, 8);
}

int SvTerm(const SearchBoard& bd, const Phase& ph) {
  int sv = bd.pcsq - (g_pst[10][bd.WKing()] - g_pst[11][bd.BKing()]) + KingPart(bd, ph);
  if (bd.sig[0] < 16 && bd.sig[1] < 16) sv *= 2;
  return sv;
}

// ---------------------------------------------------------------- activity

const i8 kActWeight[8][8] = {{6, 7, 8, 8, 8, 8, 7, 6},       {6, 7, 8, 8, 8, 8, 7, 6},
                             {7, 10, 12, 13, 13, 12, 10, 7}, {8, 12, 17, 20, 20, 17, 12, 8},
                             {8, 13, 20, 23, 23, 20, 13, 8}, {8, 13, 20, 23, 23, 20, 13, 8},
                             {8, 12, 17, 20, 20, 17, 12, 8}, {7, 10, 12, 13, 13, 12, 10, 7}};
const i8 kRook7[8] = {40, 43, 45, 47, 47, 45, 43, 40};
const i8 kLowMob[8][8] = {{2, 1, 0, 0, 0, 0, 1, 2},       {3, 2, 1, 1, 1, 1, 2, 3},
                          {4, 4, 3, 3, 3, 3, 4, 4},       {7, 6, 5, 5, 5, 5, 6, 7},
                          {9, 8, 7, 7, 7, 7, 8, 9},       {9, 9, 8, 8, 8, 8, 9, 9},
                          {11, 10, 10, 9, 9, 10, 10, 11}, {12, 12, 11, 11, 11, 11, 12, 12}};
u8 g_actConv[120];
bool g_actReady = false;

void BuildActConv() {
  if (g_actReady) return;
  for (int c = 0; c < 120; ++c) {
    int v;
    if (c <= 32)
      v = c / 2;
    else if (c <= 50)
      v = 16 + (c - 33) / 3;
    else if (c <= 78)
      v = 22 + (c - 51) / 4;
    else if (c <= 82)
      v = 29;
    else if (c <= 86)
      v = 30;
    else if (c <= 91)
      v = 31;
    else if (c <= 96)
      v = 32;
    else if (c <= 101)
      v = 33;
    else if (c <= 107)
      v = 34;
    else if (c <= 113)
      v = 35;
    else
      v = 36;
    g_actConv[c] = u8(v);
  }
  g_actReady = true;
}

}  // namespace

namespace {

// Square weights of the activity walk by side: [0] pieces, [1] rooks when
// the enemy king is cut off on its back rank.
struct ActWeights {
  u8 w[2][2][80];
  ActWeights() {
    std::memset(w, 0, sizeof w);
    for (int sd = 0; sd < 2; ++sd)
      for (int sq = 0; sq < 80; ++sq) {
        if (sq % 10 == 0 || sq % 10 == 9) continue;
        int r = sd == 0 ? SqRank(sq) : 7 - SqRank(sq);
        w[sd][0][sq] = u8(kActWeight[r][SqFile(sq)]);
        w[sd][1][sq] = u8(r == 6 ? kRook7[SqFile(sq)] : kActWeight[r][SqFile(sq)]);
      }
  }
};
const ActWeights g_actWeights;

// Value class by piece index (kings 9: never an override).
constexpr u8 kValueClass[12] = {0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 9, 9};

// The walk of one piece type of one side; the types and the side are
// compile-time constants so that the pass rules of the rays fold away.
template <int Type>
struct ActWalk {
  static constexpr int Shift = Type == kQueen ? 0 : Type == kRook ? 2 : 4;
  static constexpr int My = Type == kQueen ? 3 : Type == kRook ? 2 : 1;

  const u8* b;
  const u8* own;
  const u8* opp;
  const u8* wt;
  int Side;  // the side stays a run-time value: one copy per type keeps the code cache small
  int P;     // piece index
  u8 EnemyBit, OwnRook, OwnKnight;
  int Forward;

  ActWalk(const u8* b_, const u8* own_, const u8* opp_, const u8* wt_, int side)
      : b(b_),
        own(own_),
        opp(opp_),
        wt(wt_),
        Side(side),
        P(2 * Type + side),
        EnemyBit(side == 0 ? kBlackBit : kWhiteBit),
        OwnRook(side == 0 ? kWR : kBR),
        OwnKnight(side == 0 ? kWN : kBN),
        Forward(side == 0 ? 10 : -10) {}

  int Ex(int t) const { return (g_exchangeByte[opp[t]][own[t]] >> Shift) & 3; }
  // Outcome of a square holding an enemy piece c.
  int Enemy(int t, u8 c) const {
    int vc = kValueClass[PieceIndex(c)];
    if (vc == 9) return Ex(t);
    if (vc == My) return 2;
    if (vc > My) return 3;
    return Ex(t);
  }
  bool PassEnemy(u8 c) const {
    if (Type == kBishop) return true;
    if (Type == kRook) return TypeOf(c) != kPawn;
    return false;
  }
  bool PassOwn(u8 c, int dir) const {
    if (Type == kBishop) return c == OwnKnight || c == OwnRook;
    if (Type == kRook) return c == OwnRook || (dir == Forward && TypeOf(c) != kPawn && TypeOf(c) != kKing);
    return false;
  }

  // One ray: n gains the outcomes up to the first own piece passed, the
  // weighted sum (returned) every outcome.
  int Ray(int s, int dir, int& n) const {
    int part = 0;
    int t = s + dir;
    for (;; t += dir) {
      u8 c = b[t];
      if (c == kEmpty) {
        int o = Ex(t);
        n += o;
        part += o * wt[t];
        continue;
      }
      if (c == kRim) return part;
      if (c & EnemyBit) {
        int o = Enemy(t, c);
        n += o;
        part += o * wt[t];
        if (!PassEnemy(c)) return part;
        continue;
      }
      if (!PassOwn(c, dir)) return part;
      t += dir;
      break;
    }
    for (;; t += dir) {
      u8 c = b[t];
      if (c == kEmpty) {
        part += Ex(t) * wt[t];
        continue;
      }
      if (c == kRim) return part;
      if (c & EnemyBit) {
        part += Enemy(t, c) * wt[t];
        if (!PassEnemy(c)) return part;
        continue;
      }
      if (!PassOwn(c, dir)) return part;
    }
  }

  // Scaled weighted sum of the piece on s; n receives its near outcomes.
  int Sum(int s, int& n) const {
    if (Type == kKnight) {
      int sum = 0;
      for (const u8* step = g_steps.knight[s]; *step; ++step) {
        int t = *step;
        u8 c = b[t];
        if (c == kEmpty) {
          int o = Ex(t);
          n += o;
          sum += o * wt[t];
        } else if (c & EnemyBit) {
          int o = Enemy(t, c);
          n += o;
          sum += o * wt[t];
        }
      }
      return sum * 3 / 4;
    }
    if (Type == kBishop) return (Ray(s, 11, n) + Ray(s, -11, n) + Ray(s, 9, n) + Ray(s, -9, n)) / 2;
    if (Type == kRook) {
      int fileSum = Ray(s, 10, n);
      fileSum += Ray(s, -10, n);
      int rankSum = Ray(s, 1, n);
      rankSum += Ray(s, -1, n);
      return (2 * fileSum + rankSum) * 5 / 16;
    }
    int sum = 0;
    for (int i = 0; i < 8; ++i) sum += Ray(s, kDir[i], n);
    return sum * 5 / 16;
  }

  int Run(const SearchBoard& bd, int d) const {
    int total = 0;
    for (const u8* l = bd.list[P]; *l; ++l) {
      int s = *l;
      int n = 0;
      int sum = Sum(s, n);
      if (d < 256) sum = sum * d / 256;
      if (sum > 119) sum = 119;
      if (sum < 0) sum = 0;
      int v = g_actConv[sum];
      int na = g_attCount[opp[s]], nd = g_attCount[own[s]];
      if (na > 0 && na >= nd) v -= 5 * na + 2;
      if (n <= 2) {
        bool outpost = Type == kKnight && (own[s] & 0xC0) && SqFile(s) >= 2 && SqFile(s) <= 5 &&
                       (Side == 0 ? SqRank(s) >= 3 : SqRank(s) <= 4);
        if (!outpost) {
          int r = Side == 0 ? SqRank(s) : 7 - SqRank(s);
          v -= kLowMob[r][SqFile(s)] * (3 - n);
          if (((g_exchangeByte[opp[s]][own[s]] >> Shift) & 3) == 0) v -= n == 1 ? 6 : n == 0 ? 21 : 0;
        }
      }
      total += v;
    }
    return total;
  }
};

int ActivitySide(const SearchBoard& bd, int side, const Phase& ph) {
  const u8* b = bd.sq();
  const u8* own = AttackMap(bd, side);
  const u8* opp = AttackMap(bd, 1 - side);
  int d = (512 - ph.phi2) / 2;
  int ek = bd.list[11 - side][0];
  bool rook7 =
      side == 0 ? (SqRank(ek) == 7 || ek == 67 || ek == 68) : (SqRank(ek) == 0 || ek == 17 || ek == 18);
  const u8* pieceWeight = g_actWeights.w[side][0];
  const u8* rookWeight = g_actWeights.w[side][rook7 ? 1 : 0];
  int total = 0;
  if (bd.list[2 + side][0]) total += ActWalk<kKnight>(b, own, opp, pieceWeight, side).Run(bd, d);
  if (bd.list[4 + side][0]) total += ActWalk<kBishop>(b, own, opp, pieceWeight, side).Run(bd, d);
  if (bd.list[6 + side][0]) total += ActWalk<kRook>(b, own, opp, rookWeight, side).Run(bd, d);
  if (bd.list[8 + side][0]) total += ActWalk<kQueen>(b, own, opp, pieceWeight, side).Run(bd, d);
  return total;
}

}  // namespace

int Activity(SearchBoard& bd, int side, const Phase& ph) {
  if (!bd.scanned) FatalError("Activity: not scanned");
  BuildActConv();
  return ActivitySide(bd, side, ph);
}

namespace {

// ---------------------------------------------------------------- king safety

const int kShield[25] = {-16, -14, -12, -10, -8, -6, -4, -2, 0,  2,  4,  6, 7,
                         8,   10,  11,  12,  13, 13, 14, 14, 14, 14, 14, 14};
const i8 kKingSquarePen[8][8] = {{0, 0, 3, 5, 5, 3, 0, 0},         {0, 2, 6, 9, 9, 6, 2, 0},
                                 {5, 9, 13, 15, 15, 13, 9, 5},     {12, 15, 18, 22, 22, 18, 15, 12},
                                 {12, 15, 18, 22, 22, 18, 15, 12}, {5, 9, 13, 15, 15, 13, 9, 5},
                                 {0, 2, 6, 9, 9, 6, 2, 0},         {0, 0, 3, 5, 5, 3, 0, 0}};

// Formation value of the king side (files f, g, h as 5, 6, 7), with the king
// and the bishop given as file/rank from the own side's view.
template <int Side>
int Formation(const SearchBoard& bd, bool queenSide) {
  constexpr int side = Side;
  const u8* b = bd.sq();
  auto sq = [&](int f, int r) {
    int file = queenSide ? 7 - f : f;
    int rank = side == 0 ? r : 7 - r;
    return SqNum(file, rank);
  };
  u8 pawn = side == 0 ? kWP : kBP, bishop = side == 0 ? kWB : kBB;
  bool g3 = b[sq(6, 2)] == pawn, h3 = b[sq(7, 2)] == pawn, f2 = b[sq(5, 1)] == pawn, g2 = b[sq(6, 1)] == pawn,
       h2 = b[sq(7, 1)] == pawn;
  int k = bd.list[10 + side][0];
  auto kingOn = [&](int f, int r) { return k == sq(f, r); };
  auto bishopOn = [&](int f, int r) { return b[sq(f, r)] == bishop; };
  int set = (g3 ? 1 : 0) | (h3 ? 2 : 0) | (f2 ? 4 : 0) | (g2 ? 8 : 0) | (h2 ? 16 : 0);
  if (set == (8 | 16)) return 9;
  if (set == (4 | 8)) return 13;
  if (set == (4 | 16 | 2)) return -10;
  if (g3 && g2 && !f2) return 5;
  if (g3 && f2 && g2) return 20;
  if (set == (4 | 8 | 16)) {
    int v = kingOn(7, 0) ? 14 : kingOn(6, 0) ? 25 : kingOn(5, 0) ? 15 : 0;
    return v + (bishopOn(5, 0) ? 4 : 0);
  }
  if (set == (4 | 8 | 2)) {
    int v = kingOn(7, 1) ? 3 : kingOn(7, 0) ? 12 : kingOn(6, 0) ? 18 : kingOn(5, 0) ? 10 : 0;
    return v + (bishopOn(5, 0) ? 6 : 0);
  }
  if (set == (1 | 16)) return bishopOn(6, 1) ? 5 : 0;
  if (g3 && f2 && !g2) {
    int v = (h2 || h3) ? 0 : -4;
    if (bishopOn(7, 0)) v += 8;
    if (bishopOn(6, 1)) v += 14;
    return v < 0 ? 0 : v;
  }
  return (g2 || g3) ? 0 : -10;
}

template <int Side>
int KingSafetySide(const SearchBoard& bd, const Phase& ph) {
  constexpr int side = Side;
  constexpr int other = 1 - Side;
  i32 os = bd.sig[other];
  bool oppQueen = Count(os, kQueen) > 0;
  if (!oppQueen && Count(os, kRook) == 0) return 0;
  const u8* b = bd.sq();
  const u8* own = AttackMap(bd, side);
  const u8* opp = AttackMap(bd, other);
  int k = bd.list[10 + side][0];
  int up = side == 0 ? 10 : -10;
  u8 ownBit = side == 0 ? kWhiteBit : kBlackBit;
  auto shieldPiece = [&](int t) {
    u8 c = b[t];
    return (c & ownBit) && (TypeOf(c) == kPawn || TypeOf(c) == kKnight || TypeOf(c) == kBishop);
  };
  int idx = 0;
  if (shieldPiece(k + up - 1)) idx += 4;
  if (shieldPiece(k + up)) idx += 8;
  if (shieldPiece(k + up + 1)) idx += 4;
  if (shieldPiece(k + 2 * up - 1)) idx += 2;
  if (shieldPiece(k + 2 * up)) idx += 4;
  if (shieldPiece(k + 2 * up + 1)) idx += 2;
  int shield = kShield[idx];
  if (!oppQueen) shield /= 2;
  int attack = 0;
  for (const u8* step = g_steps.king[k]; *step; ++step) {
    int t = *step;
    u8 c = b[t];
    if (c != kEmpty && !(c & ownBit)) continue;
    u8 a = opp[t];
    if (!a) continue;
    int v;
    if (a & 2) {
      v = (a & 0xC1) ? 48 : 20;
      if (a & 0x3C) v += 18;
    } else {
      int rooks = (a >> 2) & 3;
      v = rooks == 0 ? 0 : rooks == 1 ? 14 : 24;
      if (a & 0x30) v += 8;
    }
    if (own[t] > 1) v /= 2;
    if (c != kEmpty) v = TypeOf(c) == kPawn ? v * 2 / 4 : v * 3 / 4;
    attack += v;
  }
  attack -= 5;
  if (attack < 0) attack = 0;
  int rel = side == 0 ? k : Mirror(k);
  int f = SqFile(rel), r = SqRank(rel);
  u8 rook = side == 0 ? kWR : kBR;
  int h1 = side == 0 ? 8 : 78, a1 = side == 0 ? 1 : 71;
  int pattern;
  bool kingSide = (r == 0 && f >= 5) || (r == 1 && f >= 6);
  bool queenSide = (r == 0 && f <= 2) || (r == 1 && f <= 1);
  if (kingSide && b[h1] != rook)
    pattern = Formation<Side>(bd, false);
  else if (queenSide && b[a1] != rook)
    pattern = 3 * Formation<Side>(bd, true) / 4;
  else
    pattern = -kKingSquarePen[r][f] * (oppQueen ? 2 : 1);
  int pw = ph.phi0 / 2 + ph.phi1 - ph.phi2;
  if (pw < 0) pw = 0;
  return (ph.phi1 * shield - attack * ((4 * ph.phi1 + 2 * ph.phi0 + ph.phi2) / 4) + pw * pattern + 128) >> 8;
}

int KingSafety(const SearchBoard& bd, int side, const Phase& ph) {
  return side == 0 ? KingSafetySide<0>(bd, ph) : KingSafetySide<1>(bd, ph);
}

// ---------------------------------------------------------------- space, bishops, patterns

const i8 kSpaceWeight[8][4] = {{0},
                               {8, 12, 12, 8},
                               {12, 16, 16, 12},
                               {20, 34, 34, 20},
                               {20, 34, 34, 20},
                               {12, 16, 16, 12},
                               {8, 12, 12, 8},
                               {0}};

int SpaceDiffSlow(int d) {
  static const int small[7] = {0, 90, 115, 130, 141, 148, 154};
  if (d <= 6) return small[d];
  if (d <= 15) return 160;
  if (d >= 64) return 225;
  if (d >= 24) return 203;
  static const int mid[8] = {179, 183, 185, 186, 192, 195, 197, 199};
  return mid[d - 16];
}

// D by the signed byte difference White minus Black (index diff + 255),
// split by the side that gains it, so that the space sum needs no branch.
struct SpaceTable {
  i16 white[511], black[511];
  SpaceTable() {
    for (int d = -255; d <= 255; ++d) {
      white[d + 255] = i16(d > 0 ? SpaceDiffSlow(d) : 0);
      black[d + 255] = i16(d < 0 ? SpaceDiffSlow(-d) : 0);
    }
  }
};
const SpaceTable g_spaceTable;

void Space(const SearchBoard& bd, int* ws, int* bs) {
  const u8* aw = AttackMap(bd, 0);
  const u8* ab = AttackMap(bd, 1);
  int w = 0, bsum = 0;
  for (int r = 1; r <= 6; ++r)
    for (int f = 2; f <= 5; ++f) {
      int s = SqNum(f, r);
      int i = int(aw[s]) - int(ab[s]) + 255;
      w += g_spaceTable.white[i] * kSpaceWeight[r][f - 2];
      bsum += g_spaceTable.black[i] * kSpaceWeight[r][f - 2];
    }
  *ws = w >> 10;
  *bs = bsum >> 10;
}

const int kPairBonus[9] = {50, 47, 44, 40, 35, 30, 24, 18, 12};
const i8 kBadBishopWeight[8][8] = {
    {1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 2, 2, 2, 2, 1, 1}, {1, 2, 3, 3, 3, 3, 2, 1}, {1, 2, 3, 4, 4, 3, 2, 1},
    {1, 2, 3, 4, 4, 3, 2, 1}, {1, 2, 3, 3, 3, 3, 2, 1}, {1, 1, 2, 2, 2, 2, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}};

int Bishops(const SearchBoard& bd) {
  const u8* b = bd.sq();
  int v = 0;
  int nw = Count(bd.sig[0], kBishop), nb = Count(bd.sig[1], kBishop);
  if ((nw >= 2) != (nb >= 2)) {
    static const int centre[8] = {24, 25, 34, 35, 44, 45, 54, 55};  // d3 e3 d4 e4 d5 e5 d6 e6
    int n = 0;
    for (int s : centre)
      if (b[s] == kWP || b[s] == kBP) ++n;
    v += nw >= 2 ? kPairBonus[n] : -kPairBonus[n];
  }
  for (int side = 0; side < 2; ++side) {
    if (Count(bd.sig[side], kBishop) != 1) continue;
    int bs = bd.list[4 + side][0];
    bool light = LightSquare(bs);
    int sum = 0;
    u8 enemyPawn = side == 0 ? kBP : kWP;
    int up = side == 0 ? 10 : -10;
    for (const u8* l = bd.list[side]; *l; ++l) {
      if (LightSquare(*l) != light) continue;
      int w = kBadBishopWeight[SqRank(*l)][SqFile(*l)];
      if (bd.sq()[*l + up] == enemyPawn) w *= 2;
      sum += w;
    }
    int r = side == 0 ? SqRank(bs) : 7 - SqRank(bs);
    int factor = r <= 1 ? 8 : r == 2 ? 7 : r == 3 ? 6 : 5;
    int x = sum * factor - 80;
    if (x > 96) v += side == 0 ? -x / 16 : x / 16;
  }
  return v;
}

int OpeningPatterns(const SearchBoard& bd) {
  const u8* b = bd.sq();
  auto at = [&](const char* sq) { return b[SqNum(sq[0] - 'a', sq[1] - '1')]; };
  int v = 0;
  if (at("c3") == kWN && (at("d4") == kWP || at("d5") == kWP || at("d5") == kBP)) {
    if (at("c2") == kWP) v -= 12;
    if (at("c4") == kWP) v += 7;
  }
  if (at("c6") == kBN && (at("d5") == kBP || at("d4") == kBP || at("d4") == kWP)) {
    if (at("c5") == kBP) v -= 7;
    if (at("c7") == kBP) v += 12;
  }
  if (at("f4") == kWP && at("f3") == kWN && (at("e4") == kWP || at("e5") == kWP)) v += 7;
  if (at("f5") == kBP && at("f6") == kBN && (at("e5") == kBP || at("e4") == kBP)) v -= 7;
  if (at("c5") == kWP && at("d4") == kWP) {
    if (at("e7") == kBP || at("e6") == kBP || at("e5") == kBP)
      v -= 18;
    else if (at("e4") == kBP)
      v -= 12;
  }
  if (at("c4") == kBP && at("d5") == kBP) {
    if (at("e2") == kWP || at("e3") == kWP || at("e4") == kWP)
      v += 18;
    else if (at("e5") == kWP)
      v += 12;
  }
  return v;
}

}  // namespace

// ---------------------------------------------------------------- public

void DefaultParams(i32* p) {
  for (int i = 0; i < kParamCount; ++i) p[i] = 0;
  for (int i = kPMyp; i <= kPOpq; ++i) p[i] = 100;
  for (int i = kPCc; i <= kPPwOp; ++i) p[i] = 100;
  p[kPAvd] = 0;
  p[kPSop] = 100;
  p[kPRnd] = 0;
  p[kPSel] = 6;
  p[kPCfd] = 0;
  p[kPMd] = 999;
  p[kPAna] = 0;
  p[kPTts] = 1048576;
  p[kPTtu] = 1;
  p[kPDisplay] = 0;
  p[kPEnd] = 1;
}

int PercentWeight(i32 percent) { return int((percent * 1024LL + 50) / 100); }

void OptsXlat(const i32* params) {
  if (params[kPEnd] == 0) FatalError("OptsXlat: BUG");
  for (int i = 0; i < kWeightCount; ++i) g_weights[i] = 1024;
  // Percentages beyond 0..1000 would overflow the weighted sums.
  auto pct = [&](int i) { return PercentWeight(Clamp(params[i], 0, 1000)); };
  for (int s = 0; s < 2; ++s) {
    int base = s * kWSide;
    for (int t = 0; t < 5; ++t) g_weights[base + t] = pct(2 * t + s);
    g_weights[base + kWCc] = pct(kPCc + s);
    g_weights[base + kWMob] = pct(kPMob + s);
    g_weights[base + kWKs] = pct(kPKs + s);
    g_weights[base + kWPp] = pct(kPPp + s);
    g_weights[base + kWPw] = pct(kPPw + s);
  }
  g_weights[kWAvd] = Clamp(params[kPAvd], -1000, 1000);
  g_sop = Clamp(params[kPSop], 0, 100);
  int a = 100 - g_sop;  // sop above 100 would give a negative noise range
  g_weights[kWNoise] = a * a * a / 200 + 3 * a;
  g_weights[kWRnd] = Clamp(params[kPRnd], 0, 10000);
  g_weights[kWSel] = Clamp(params[kPSel], 0, 46);
  g_weights[kWCfd] = Clamp(params[kPCfd], -4000, 4000);  // the host's whole range
  g_weights[kWMd] = Clamp(params[kPMd], 1, 999);
  g_weights[kWAna] = params[kPAna];
  g_weights[kWTtu] = params[kPTtu];
  g_weights[kWExt] = 1;
  g_weights[kWDisplay] = params[kPDisplay];
  g_transUse = g_weights[kWTtu];
}

Phase GetPhase(const SearchBoard& bd) {
  PhaseSlot& slot = g_phaseCache[bd.key1 & 511];
  if (slot.used && slot.key1 == bd.key1 && slot.key2 == bd.key2) return slot.ph;
  slot.ph = ComputePhase(bd);
  slot.key1 = bd.key1;
  slot.key2 = bd.key2;
  slot.used = true;
  return slot.ph;
}

void CalcPreset(int phi0, int phi1, int phi2) {
  if (phi0 + phi1 + phi2 != 256) FatalError("CalcPreset: phi bug");
  BuildBaseTables();
  for (int type = 0; type < 6; ++type) {
    int a = (phi0 * kBaseValue[type][0] + phi1 * kBaseValue[type][1] + phi2 * kBaseValue[type][2] + 128) >> 8;
    for (int side = 0; side < 2; ++side)
      g_material[side][type] = (a * g_sw[side * kWSide + type] + 512) >> 10;
    for (int r = 0; r < 8; ++r)
      for (int f = 0; f < 8; ++f) {
        int g = (phi0 * g_base[type][0][r][f] + phi1 * g_base[type][1][r][f] + phi2 * g_base[type][2][r][f] +
                 128) >>
                8;
        if (g < -127 || g > 127) FatalError("CalcPreset: out of range");
        int ws = SqNum(f, r), bs = SqNum(f, 7 - r);
        g_pst[2 * type][ws] = i8(g);
        g_pst[2 * type + 1][bs] = i8(g);
        g_comb[2 * type][ws] = g + g_material[0][type];
        g_comb[2 * type + 1][bs] = g + g_material[1][type];
      }
  }
}

void Planner() {
  InitAttackTables();
  SearchBoard& root = Board(0);
  Phase ph = ComputePhase(root);
  std::memset(g_phaseCache, 0, sizeof g_phaseCache);
  g_rootWhite = root.WhiteToMove() ? 1 : 0;
  std::memcpy(g_sw, g_weights, sizeof g_sw);
  if (!g_rootWhite) {
    std::memcpy(g_sw, g_weights + kWSide, sizeof(i32) * kWSide);
    std::memcpy(g_sw + kWSide, g_weights, sizeof(i32) * kWSide);
  }
  g_sw[kWCfd] = ((4 * ph.phi0 + 2 * ph.phi1 + ph.phi2) * g_weights[kWCfd] + 512) >> 10;
  CalcPreset(ph.phi0, ph.phi1, ph.phi2);
  if (std::memcmp(g_lastSw, g_sw, sizeof g_sw) != 0) {
    PawnTableClear();  // static pawn scores carry the structure weights
    std::memcpy(g_lastSw, g_sw, sizeof g_sw);
  }
  root.pcsq = 0;
  const u8* b = root.sq();
  for (int s = 0; s < 80; ++s) {
    u8 c = b[s];
    if (c == kRim || c == kEmpty) continue;
    root.pcsq += (c & kWhiteBit) ? g_pst[PieceIndex(c)][s] : -g_pst[PieceIndex(c)][s];
  }
  std::memset(g_wood, 0, sizeof g_wood);
  // A signature is never negative, so w = -1 marks an empty front slot.
  for (auto& f : g_woodFront) f = WoodFront{-1, -1, 0};
  g_rootSig[0] = root.sig[0];
  g_rootSig[1] = root.sig[1];
  g_plannerDone = true;
  std::memset(g_full, 0, sizeof g_full);
  root.scanned = 0;
  int lo, hi;
  EvalFull(root, &lo, &hi);
}

void PlannerInvalidate() { g_plannerDone = false; }

namespace {
int WoodSlots(i32 w, i32 b) {
  WoodSlot& slot = g_wood[(u32(w) + 5u * u32(b)) % 31u];
  for (int i = 0; i < 2; ++i)
    if (slot.used[i] && slot.w[i] == w && slot.b[i] == b) return slot.v[i];
  int v = Clamp(WoodCompute(w, b), -7000, 7000);
  slot.w[1] = slot.w[0];
  slot.b[1] = slot.b[0];
  slot.v[1] = slot.v[0];
  slot.used[1] = slot.used[0];
  slot.w[0] = w;
  slot.b[0] = b;
  slot.v[0] = v;
  slot.used[0] = true;
  return v;
}
}  // namespace

int WoodXlat(i32 w, i32 b) {
  if (!g_plannerDone) FatalError("WoodXlat: Planner not called");
  WoodFront& front = g_woodFront[WoodFrontIndex(w, b)];
  if (front.w == w && front.b == b) return front.v;
  int v = WoodSlots(w, b);
  front = WoodFront{w, b, v};
  return v;
}

int EvalFast(SearchBoard& bd, int* lo, int* hi) {
  if (bd.pcsq == kNoValue) FatalError("EvalFast: pcsq unset");
  if (bd.vpass == kNoValue) FatalError("EvalFast: vpass unset");
  if (bd.vposn == kNoValue) FatalError("EvalFast: vposn unset");
  Phase ph = GetPhase(bd);
  int s = WoodXlat(bd.sig[0], bd.sig[1]) + SvTerm(bd, ph) + bd.vpass + bd.vposn;
  if (!bd.chk) s += bd.WhiteToMove() ? 6 : -6;
  return Finish(bd, s, ph, lo, hi);
}

int EvalFull(SearchBoard& bd, int* lo, int* hi) {
  if (bd.pcsq == kNoValue) FatalError("EvalFast: pcsq unset");
  Phase ph = GetPhase(bd);
  u32 word = (bd.Packed() & 0xFFFFFF00u) | 1u;
  FullSlot& slot = g_full[(bd.key1 ^ (bd.key2 >> 7)) & (kFullSlots - 1)];
  if (slot.word == word && slot.key1 == bd.key1 && slot.key2 == bd.key2 && bd.ply != 0) {
    bd.vpass = slot.vpass;
    bd.vposn = slot.vposn;
    return Finish(bd, slot.raw, ph, lo, hi);
  }
  EnsureScanned(bd);
  EvalTerms& t = g_terms;
  t.ph = ph;
  const i32* W = g_sw;
  const i32* Bk = g_sw + kWSide;
  t.WO = WoodXlat(bd.sig[0], bd.sig[1]);
  t.SV = SvTerm(bd, ph);
  int bw = Clamp(t.WO, -256, 256), BW = 1024 - bw;
  t.pxx = EvalPawnY(bd, ph.phi0 + ph.phi1);
  for (int s = 0; s < 2; ++s) {
    t.paw[s] = g_pawn.structure[s];
    t.spi[s] = g_pawn.strong[s];
    t.pas[s] = g_pawn.passed[s];
  }
  t.PW = Rs(Rs(W[kWPw] * (t.paw[0] - t.spi[1]) - Bk[kWPw] * (t.paw[1] - t.spi[0]), 10) *
                (13 * ph.phi0 + 14 * ph.phi1 + 19 * ph.phi2),
            12);
  t.PP =
      Rs((2 * ph.phi2 + ph.phi1) *
             (Rs(t.pas[0] * ((BW * W[kWPp] + 512) >> 10) - (((bw + 1024) * Bk[kWPp] + 512) >> 10) * t.pas[1],
                 10) +
              t.pxx),
         9);
  t.mob[0] = Activity(bd, 0, ph);
  t.mob[1] = Activity(bd, 1, ph);
  t.AC =
      Rs((ph.phi0 + 2 * ph.phi1 + ph.phi2) * 9 *
             Rs(t.mob[0] * ((BW * W[kWMob] + 512) >> 10) - (((bw + 1024) * Bk[kWMob] + 512) >> 10) * t.mob[1],
                10),
         12);
  t.SP = 0;
  if (ph.phi0 + 2 * ph.phi1 > 16) {
    int ws, bs;
    Space(bd, &ws, &bs);
    t.SP = Rs((ph.phi0 + 2 * ph.phi1) * Rs(W[kWCc] * ws - Bk[kWCc] * bs, 10), 9);
  }
  t.ksf[0] = KingSafety(bd, 0, ph);
  t.ksf[1] = KingSafety(bd, 1, ph);
  t.KI = Rs(t.ksf[0] * (((bw + 1024) * W[kWKs] + 512) >> 10) - ((BW * Bk[kWKs] + 512) >> 10) * t.ksf[1], 10);
  t.BI = Bishops(bd);
  int op = OpeningPatterns(bd);
  t.OP = ph.phi0 > 127 ? op : Rs(ph.phi0 * op, 7);
  t.TE = 0;
  if (!bd.chk) {
    int te =
        ((5 * ph.phi0 + 4 * ph.phi1 + 2 * ph.phi2) * (t.mob[bd.WhiteToMove() ? 0 : 1] + 140) + 16384) >> 15;
    t.TE = bd.WhiteToMove() ? te : -te;
  }
  bd.vpass = t.PP;
  bd.vposn = t.PW + t.AC + t.SP + t.KI + t.BI + t.OP;
  int s = bd.vposn + t.WO + t.SV + t.PP + t.TE;
  slot = FullSlot{bd.key1, bd.key2, word, s, bd.vpass, bd.vposn};
  return Finish(bd, s, ph, lo, hi);
}

bool MaterialClassChange(EngineMove move, const SearchBoard& prev) {
  if (MovePromo(move)) return true;
  const u8* b = prev.sq();
  int to = MoveTo(move);
  u8 victim = (move & kEpFlag) ? (prev.WhiteToMove() ? kBP : kWP) : b[to];
  if (victim == kEmpty || victim == kRim) return false;
  int side = (victim & kWhiteBit) ? 0 : 1;
  i32 sig = prev.sig[side];
  if ((sig & 15) > 2) return false;
  if (TypeOf(victim) != kPawn) {
    int pieces = Count(sig, 1) + Count(sig, 2) + Count(sig, 3) + Count(sig, 4);
    if (pieces > 2) return false;
  }
  return true;
}

int CapPredict(EngineMove move, const SearchBoard& bd) {
  const u8* b = bd.sq();
  int to = MoveTo(move);
  u8 victim = b[to];
  if (victim == kEmpty || victim == kRim) FatalError("CapPredict: no capture");
  int type = TypeOf(victim);
  i32 w = bd.sig[0], bl = bd.sig[1];
  int before = WoodXlat(w, bl);
  int v;
  if (victim & kBlackBit) {
    int base = 50;
    if (type == kPawn && bd.vpass < 0)
      base = 50 - bd.vpass;
    else if (type != kPawn && bd.vposn < 0)
      base = 50 - bd.vposn;
    v = base + WoodXlat(w, bl - SigWeight(type)) - before;
  } else {
    int base = 50;
    if (type == kPawn && bd.vpass > 0)
      base = 50 + bd.vpass;
    else if (type != kPawn && bd.vposn > 0)
      base = 50 + bd.vposn;
    v = base - (WoodXlat(w - SigWeight(type), bl) - before);
  }
  if (MaterialClassChange(move, bd)) v += 800;
  return v;
}

int OptimisticValue(EngineMove move, SearchBoard& bd, int eval) {
  if (move & kSpecialBits) return kInfinity;
  if (IsCheck(move, bd)) return kInfinity;
  if (bd.sq()[MoveTo(move)] != kEmpty) return eval + CapPredict(move, bd);
  int vp = bd.vposn;
  bool against = bd.WhiteToMove() ? vp < -1 : vp > 1;
  return against ? eval + std::abs(vp) / 2 + 30 : eval + 30;
}

void DumpEval(PrintFn print, void* ctx) {
  const EvalTerms& t = g_terms;
  char buf[256];
  int n = std::snprintf(buf, sizeof buf, "%c[%02X %02X %02X]    nonpx %3d sop %d\n",
                        g_sw[kWDisplay] ? '*' : '.', t.ph.phi0, t.ph.phi1, t.ph.phi2, Board(0).fifty, g_sop);
  print(ctx, buf);
  n = 0;
  const char* names[6] = {"paw", "spi", "pas", "mob", "ksf", "nop"};
  const int* vals[5] = {t.paw, t.spi, t.pas, t.mob, t.ksf};
  for (int i = 0; i < 5; ++i)
    n += std::snprintf(buf + n, sizeof buf - n, " %s%+4d %s%+4d", names[i], vals[i][0], names[i], vals[i][1]);
  n += std::snprintf(buf + n, sizeof buf - n, " %s%+4d\n", "pxx", t.pxx);
  print(ctx, buf);
  n = 0;
  const char* labels[10] = {"WO", "SV", "PW", "PP", "AC", "SP", "KI", "BI", "OP", "TE"};
  const int terms[10] = {t.WO, t.SV, t.PW, t.PP, t.AC, t.SP, t.KI, t.BI, t.OP, t.TE};
  for (int i = 0; i < 10; ++i)
    n += std::snprintf(buf + n, sizeof buf - n, " %s%s%+5d%s", labels[i], "=", terms[i], "");
  std::snprintf(buf + n, sizeof buf - n, "\n");
  print(ctx, buf);
}

}  // namespace corvane
