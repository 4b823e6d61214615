// Corvane engine core: alpha-beta search with transposition-table cuts,
// static and null-move pruning near the horizon, a threat test, extensions
// under a per-line budget, a 30-point probe window and quiescence.
// Scores are centipawns from the side to move; a mate at ply p is 16000 - 4p.
#include "search.h"

#include <cstdlib>
#include <cstring>

#include "attack.h"
#include "eval.h"
#include "trans.h"

namespace corvane {

u64 g_nodes = 0;
int g_iteration = 1;
EngineMove g_pv[kMaxPly + 1][kMaxPly + 1];
SearchProgress g_progress;

namespace {

HostPoll g_poll = nullptr;
void* g_pollCtx = nullptr;

constexpr int kMaxDepthPly = 47;

inline int Max(int a, int b) { return a > b ? a : b; }
inline int Min(int a, int b) { return a < b ? a : b; }
inline bool SameMove(EngineMove a, EngineMove b) { return ((a ^ b) & kMoveIdMask) == 0; }
inline int ExtOf(EngineMove m) { return int((m >> 16) & 7); }
inline EngineMove WithExt(EngineMove m, int ext) { return (m & ~0x70000u) | (u32(ext & 7) << 16); }
constexpr u32 kDynex = 0x800000;

void UpdatePv(int p, EngineMove m) {
  if (g_testSearch[0]) return;
  EngineMove* row = g_pv[p] + p;
  const EngineMove* next = g_pv[p + 1] + p + 1;
  row[0] = m;
  int i = 0;
  while (p + 1 + i < kMaxPly && next[i]) {
    row[1 + i] = next[i];
    ++i;
  }
  row[1 + i] = 0;
}

void UpdateKillers(int p, int limit, EngineMove best) {
  SearchBoard& bd = Board(p);
  const u8* b = bd.sq();
  if (b[MoveTo(best)] == kEmpty && !(best & kEpFlag)) {
    EngineMove* k = g_killer[p];
    if (!SameMove(best, k[0])) {
      if (SameMove(best, k[1]))
        k[1] = k[0];
      else if (k[0])
        k[1] = k[0];
      k[0] = best & kMoveIdMask;
    }
  }
  if (limit >= p) {
    int e = limit - p;
    i32 inc = i32(1) << (e < 23 ? e : 23);
    i32& h = g_history[PieceIndex(b[MoveFrom(best)])][MoveTo(best)];
    h = h > 0x3FFFFFFF - inc ? 0x3FFFFFFF : h + inc;
  }
}

// Number of occurrences of the position among the reversible stretch.
int RepeatCount(int p) {
  const SearchBoard& bd = Board(p);
  int f = bd.fifty;
  if (f > 99) return 50;
  if (f < 4) return 0;
  u32 word = bd.Packed() & 0x1FFF00;
  int count = 1;
  for (int q = p - 4; q >= p - f; q -= 2) {
    int i = q + kHistory;
    if (i < 0) break;
    if (g_repKey[i] == bd.key1 && (g_repWord[i] & 0x1FFF00) == word) ++count;
  }
  return count;
}

// Node entry: PV row, node count and host poll, repetition and fifty-move
// rules, killers of the next ply.
int NodeEntry(int p) {
  if (!g_testSearch[0]) g_pv[p][p] = 0;
  if ((++g_nodes & 1023) == 0 && g_poll) {
    int code = g_poll(g_pollCtx, p);
    if (code) throw SearchInterrupt{code};
  }
  int r = RepeatCount(p);
  if (r >= 2 && (p >= 3 || r >= 3 || g_sw[kWAna] == 0)) return 0;
  g_killer[p + 1][0] = g_killer[p + 1][1] = 0;
  return kNoValue;
}

// The side to move can return to the position three plies back.
bool RepetitionAvailable(int p) {
  if (p < 3) return false;
  const SearchBoard& bd = Board(p);
  if (bd.fifty < 3) return false;
  EngineMove last = g_line[p], earlier = g_line[p - 2];
  if (last == kNullMove || earlier == kNullMove) return false;
  if (MoveFrom(last) != MoveTo(earlier) || MoveTo(last) != MoveFrom(earlier)) return false;
  return (g_repWord[p - 3 + kHistory] & 0x0FFF00) == (bd.Packed() & 0x0FFF00);
}

bool PrevInCheck(int p) { return p >= 1 && Board(p - 1).chk != 0; }
bool ClassChanged(int p) { return p >= 1 && MaterialClassChange(g_line[p], Board(p - 1)); }

int Budget(int p) {
  static const int noCheck[8] = {0, 2, 2, 3, 3, 4, 4, 5};
  static const int inCheck[8] = {0, 2, 2, 4, 4, 6, 6, 7};
  const int* T = Board(p).chk ? inCheck : noCheck;
  int budget = T[1];
  int used = 0;
  for (int k = 2; k <= 7; ++k) {
    int idx = p - k + 2;
    if (idx < 1) break;
    used += ExtOf(g_line[idx]);
    budget = Min(budget, T[k] - used);
  }
  return budget < 0 ? 0 : budget;
}

int MoveExtension(int p, EngineMove m, int budget, const EngineMove* list, int n) {
  SearchBoard& bd = Board(p);
  const u8* b = bd.sq();
  int to = MoveTo(m);
  u8 victim = b[to];
  bool white = bd.WhiteToMove();
  if (victim != kEmpty && TypeOf(victim) != kPawn && !MovePromo(m)) {
    i32 nonPawn = (bd.sig[0] & ~15) + (bd.sig[1] & ~15);
    int type = TypeOf(victim);
    if (nonPawn == SigWeight(type)) {
      int f = type + (type == kKnight ? 1 : 0);
      int wp = bd.sig[0] & 15, bp = bd.sig[1] & 15;
      bool far = wp <= 2 && bp <= 2;
      for (const u8* l = bd.list[0]; far && *l; ++l)
        if (*l > 48) far = false;
      for (const u8* l = bd.list[1]; far && *l; ++l)
        if (*l < 31) far = false;
      if (far) f += wp == 2 ? 1 : bp <= 1 ? 2 : 1;
      int e = budget + f - 2;
      return e < 0 ? 0 : e > 7 ? 7 : e;
    }
  }
  if (budget <= 0) return 0;
  if (budget > 1 && p > 2 && bd.chk && Board(p - 2).chk) {
    EngineMove checking = g_line[p], previous = g_line[p - 2];
    int t = TypeOf(b[MoveTo(checking)]);
    if (checking != kNullMove && t <= kRook && MoveFrom(checking) == MoveTo(previous) &&
        to != MoveTo(checking))
      return 2;
  }
  if (bd.chk || n == 1) return 1;
  if (p >= 1 && g_line[p] != kNullMove && to == MoveTo(g_line[p]) && Board(p - 1).sq()[to] != kEmpty) {
    int same = 0;
    for (int i = 0; i < n; ++i)
      if (MoveTo(list[i]) == to) ++same;
    if (same == 1) return 1;
  }
  int from = MoveFrom(m);
  if (b[from] == (white ? kWP : kBP)) {
    bool seventh = white ? (to >= 61 && to <= 68) : (to >= 11 && to <= 18);
    if (seventh) {
      int up = white ? 10 : -10;
      u8 enemy = white ? kBlackBit : kWhiteBit;
      int ek = white ? bd.BKing() : bd.WKing();
      bool threatens = b[to + up] == kEmpty || (b[to + up + 1] & enemy) || (b[to + up - 1] & enemy);
      int diff = ek - to;
      bool kingFront = white ? (diff == 11 || diff == 9) : (diff == -11 || diff == -9);
      if (threatens && !kingFront) return 1;
    }
  }
  return 0;
}

int StaticCut(int p, int limit, int beta, int ev) {
  if (p < limit - 2) return -kInfinity;
  int c = ev - 50;
  if (c >= beta && !Board(p).chk && !PrevInCheck(p) && !ClassChanged(p) && !MateThreat(p)) {
    int t = WoodThreat(p);
    if (c - t >= beta) return c - t;
  }
  return -kInfinity;
}

int NullMove(int p, int limit, int beta, int ev) {
  SearchBoard& bd = Board(p);
  if (ev < beta || bd.chk) return -kInfinity;
  if (p >= limit - 2 && !PrevInCheck(p) && !MateThreat(p)) {
    static const int margin[3] = {0, 5, 8};
    int d = limit - p;
    return ev - WoodThreat(p) - margin[d < 0 ? 0 : d > 2 ? 2 : d];
  }
  PushNullList(p);
  DoNull(p);
  return -Branch(p + 1, limit - 2, -beta, 1 - beta);
}

bool ThreatTest(int p, int limit, int budget) {
  SearchBoard& bd = Board(p);
  if (budget < 1 || p >= limit - 1 || bd.chk) return false;
  int opp = bd.WhiteToMove() ? 1 : 0;
  if (bd.sig[opp] < 0x1010) return false;
  if (p >= limit - 3 && !PrevInCheck(p) && !MateThreat(p)) return false;
  PushNullList(p);
  DoNull(p);
  int v = Quiesce(p + 1, p + 1, 15680, 15684);
  return v >= 15684;
}

int CheckMateProbe(int p, int limit, const EngineMove* list, int n, EngineMove* found) {
  SearchBoard& bd = Board(p);
  int own = bd.WhiteToMove() ? 0 : 1;
  if (bd.chk || p > Min(limit / 2, limit - 3) || bd.sig[own] < 0x1010) return -kInfinity;
  for (int i = 0; i < n; ++i) {
    EngineMove m = list[i];
    if (m & kSpecialBits) continue;
    if (!IsCheck(m, bd)) continue;
    DoMove(m, p);
    int v = -Quiesce(p + 1, p + 1, -15684, -15680);
    if (v >= 15684) {
      *found = m;
      return v;
    }
  }
  return -kInfinity;
}

bool SingularTest(int p, int limit, int idx, EngineMove* list, int n, int bound, int budget) {
  if (budget < 2 || p >= limit - 1 || n >= 4) return false;
  if (n == 1) return true;
  int h = bound - std::abs(bound) / 2 - 200;
  bool singular = true;
  ++g_testSearch[0];
  for (int j = 0; j < n && singular; ++j) {
    if (j == idx) continue;
    EngineMove m = WithExt(list[j], 0);
    DoMove(m, p);
    ++g_testSearch[1];
    int s = -Branch(p + 1, p + 1, -h, 1 - h);
    --g_testSearch[1];
    if (s < h && p < limit - 2) s = -Branch(p + 1, limit - 1, -h, 1 - h);
    if (s >= h) singular = false;
  }
  --g_testSearch[0];
  if (singular) DoMove(list[idx], p);
  return singular;
}

}  // namespace

int SearchNodeEntry(int ply) { return NodeEntry(ply); }
bool SearchRepetitionAvailable(int ply) { return RepetitionAvailable(ply); }
void SearchUpdateKillers(int ply, int limit, EngineMove best) { UpdateKillers(ply, limit, best); }
void SearchUpdatePv(int ply, EngineMove move) { UpdatePv(ply, move); }

void SetHostPoll(HostPoll poll, void* ctx) {
  g_poll = poll;
  g_pollCtx = ctx;
}

void ClearKillers() { std::memset(g_killer, 0, sizeof g_killer); }
void ClearHistory() { std::memset(g_history, 0, sizeof g_history); }
void HalveHistory() {
  for (auto& row : g_history)
    for (auto& h : row) h /= 2;
}

int Selectivity(int p) {
  int sel = g_sw[kWSel];
  int n = g_iteration;
  int c = Max(6, sel) - (n == 8 || n == 9 ? 1 : n == 6 || n == 7 ? 2 : n < 6 ? 3 : 0);
  int phi2 = GetPhase(Board(p)).phi2;
  int e = Max(6, sel) - (phi2 <= 0     ? 0
                         : phi2 < 106  ? 1
                         : phi2 <= 180 ? 2
                         : phi2 <= 230 ? 3
                         : phi2 <= 254 ? 4
                                       : 5);
  return Min(Min(c, n - 1), Min(sel, e));
}

void SearchPrepare() {
  InitAttackTables();
  g_testSearch[0] = g_testSearch[1] = 0;
  TransClear(0);
  Planner();
  g_nodes = 0;
  ClearKillers();
  ClearHistory();
  std::memset(g_pv, 0, sizeof g_pv);
}

bool MateThreat(int p) {
  SearchBoard& bd = Board(p);
  if (bd.chk) FatalError("MateThreat: in check");
  if (p < 1) return false;
  SearchBoard& prev = Board(p - 1);
  EnsureScanned(bd);
  EnsureScanned(prev);
  int opp = bd.WhiteToMove() ? 1 : 0;
  const u8* after = AttackMap(bd, opp);
  const u8* before = AttackMap(prev, opp);
  int k = bd.list[10 + (1 - opp)][0];
  int sa = 0, sb = 0;
  for (const u8* step = g_steps.king[k]; *step; ++step) {
    int t = *step;
    int na = g_attCount[after[t]], nb = g_attCount[before[t]];
    if (na > nb && na > 1) return true;
    sa += na;
    sb += nb;
  }
  return sa > sb && sa > 1;
}

int WoodThreat(int p) {
  SearchBoard& bd = Board(p);
  if (bd.chk) FatalError("WoodThreat: in check");
  if (bd.vpass == kNoValue) FatalError("WoodThreat: vpass invalid");
  EnsureScanned(bd);
  int side = bd.WhiteToMove() ? 0 : 1;
  const u8* opp = AttackMap(bd, 1 - side);
  const u8* b = bd.sq();
  i32 sig = bd.sig[side];
  int pawns = sig & 15;
  int pieces = ((sig >> 4) & 15) + ((sig >> 8) & 15) + ((sig >> 12) & 15) + ((sig >> 16) & 15);
  int worst = 0;
  for (int p2 = side; p2 <= 8 + side; p2 += 2) {
    for (const u8* l = bd.list[p2]; *l; ++l) {
      int s = *l;
      if (!opp[s]) continue;
      if (Outcome(Exchange(bd, side, s), p2) != 0) continue;
      int v = g_comb[p2][s];
      bool classChange = pawns <= 2 && (p2 < 2 || pieces <= 2);
      if (classChange) v += 600;
      if (v > worst) worst = v;
    }
  }
  u8 enemyPawn = side == 0 ? kBP : kWP;
  int down = side == 0 ? -10 : 10;
  u8 ownBit = side == 0 ? kWhiteBit : kBlackBit;
  for (const u8* l = bd.list[1 - side]; *l; ++l) {
    int s = *l;
    bool seventh = side == 0 ? (s >= 11 && s <= 18) : (s >= 61 && s <= 68);
    if (!seventh || b[s] != enemyPawn) continue;
    int t = s + down;
    if (b[t] == kEmpty || (b[t - 1] & ownBit) || (b[t + 1] & ownBit)) {
      int v = 750;
      int vp = side == 0 ? bd.vpass : -bd.vpass;
      if (vp < 0) v -= vp;
      if (v > worst) worst = v;
    }
  }
  return worst;
}

int Branch(int p, int limit, int alpha, int beta) {
  if (p >= limit || p >= kMaxDepthPly || p >= g_sw[kWMd]) return HorizonSearch(p, limit, alpha, beta);
  int r = NodeEntry(p);
  if (r != kNoValue) return r;
  if (beta <= 0 && RepetitionAvailable(p)) return 0;
  SearchBoard& bd = Board(p);
  int budget = Budget(p);
  u32 hint;
  bool ttThreat;
  int v = TransProbe(bd, p, limit, alpha, beta, budget, &hint, &ttThreat);
  if (v != kNoValue) return v;
  int lo, hi;
  int ev = EvalFast(bd, &lo, &hi);
  int S = limit - Selectivity(p);
  if (p >= S) {
    int c = StaticCut(p, limit, beta, ev);
    if (c >= beta) {
      TransStore(bd, p, limit, alpha, beta, budget, false, 0, c);
      return c;
    }
  }
  if (p < limit - 1 || (alpha - 250 < ev && ev < beta + 250) || ClassChanged(p)) ev = EvalFull(bd, &lo, &hi);
  if (p <= limit / 2) {
    lo = -kInfinity;
    hi = kInfinity;
  }
  if (lo >= beta) return lo;
  if (hi <= alpha) return hi;
  if (p >= S) {
    int c = NullMove(p, limit, beta, ev);
    if (c >= beta) {
      TransStore(bd, p, limit, alpha, beta, budget, false, 0, c);
      return c;
    }
  }
  bool threat = ThreatTest(p, limit, budget);
  int n = GenLegal(bd);
  if (n == 0) return bd.chk ? 4 * p - kInfinity : 0;
  if (4 * p - 15992 >= beta) return 4 * p - 15992;
  n = SortFull(p, n, hint);
  if (n < 0) return ev;
  EngineMove* list = PlyList(p);
  EngineMove bestMove = 0;
  {
    int c = CheckMateProbe(p, limit, list, n, &bestMove);
    if (c >= beta) {
      TransStore(bd, p, limit, alpha, beta, budget, threat, bestMove, c);
      return c;
    }
    bestMove = 0;
  }
  int best = lo;
  bool hintDynex = (hint & kDynex) != 0;
  for (int i = 0; i < n; ++i) {
    EngineMove m = list[i];
    int ext = MoveExtension(p, m, budget, list, n);
    m = WithExt(m, ext) & ~kDynex;
    if (hintDynex && SameMove(m, hint) && ext < budget && ext < (bd.chk ? 2 : 1)) {
      ++ext;
      m = WithExt(m, ext) | kDynex;
    }
    list[i] = m;
    if (p >= limit + ext - 1) {
      int o = OptimisticValue(m, bd, ev);
      if (o <= Max(alpha, best)) {
        best = Max(best, o);
        continue;
      }
    }
    DoMove(m, p);
    int a = Max(alpha, best);
    if (i == 0 || best <= alpha || alpha <= -kInfinity || beta >= kInfinity) {
      v = -Branch(p + 1, limit + ext, -beta, -a);
    } else {
      v = -Branch(p + 1, limit + ext, -Min(best + 30, beta), -best);
      if (best + 30 <= v && v < beta) v = -Branch(p + 1, limit + ext, -beta, -best);
    }
    a = Max(alpha, best);
    bool deeper = false;
    if (threat && ext < 1 && v > a && v > -kMateBound) {
      deeper = true;
    } else if (bd.chk && ext < 2 && !(m & kDynex) && v > a && v > -kMateBound &&
               SingularTest(p, limit, i, list, n, Min(beta, v), budget)) {
      deeper = true;
    }
    if (deeper) {
      if (m & kDynex) FatalError("Branch: dynex while dynexed");
      m = WithExt(m, ext + 1) | kDynex;
      list[i] = m;
      g_line[p + 1] = m;
      v = -Branch(p + 1, limit + ext + 1, -beta, -Max(alpha, best));
    }
    if (v > best) {
      best = v;
      if (v > alpha) {
        bestMove = m;
        if (v >= beta) break;
        UpdatePv(p, m);
      }
    }
  }
  best = Min(best, hi);
  if (best > alpha && bestMove) UpdateKillers(p, limit, bestMove);
  TransStore(bd, p, limit, alpha, beta, budget, threat, bestMove, best);
  return best;
}

int HorizonSearch(int p, int limit, int alpha, int beta) {
  if (p >= limit + 1 || p >= kMaxDepthPly || p >= g_sw[kWMd] + 1) return Quiesce(p, limit, alpha, beta);
  int r = NodeEntry(p);
  if (r != kNoValue) return r;
  if (beta <= 0 && RepetitionAvailable(p)) return 0;
  SearchBoard& bd = Board(p);
  u32 hint;
  bool ttThreat;
  int v = TransProbe(bd, p, limit, alpha, beta, 1, &hint, &ttThreat);
  if (v != kNoValue) return v;
  int lo, hi;
  int ev = EvalFast(bd, &lo, &hi);
  if ((alpha - 250 < ev && ev < beta + 250) || ClassChanged(p)) ev = EvalFull(bd, &lo, &hi);
  if (lo >= beta) return lo;
  if (hi <= alpha) return hi;
  int best = lo;
  if (!bd.chk) {
    best = Max(lo, ev);
    if (best >= beta) {
      TransStore(bd, p, limit, alpha, beta, 1, false, 0, best);
      return best;
    }
  }
  int n = GenLegal(bd);
  if (n == 0) return bd.chk ? 4 * p - kInfinity : 0;
  if (4 * p - 15992 >= beta) return 4 * p - 15992;
  n = SortFull(p, n, hint);
  if (n < 0) return ev;
  EngineMove* list = PlyList(p);
  EngineMove bestMove = 0;
  bool inCheck = bd.chk != 0;
  for (int i = 0; i < n; ++i) {
    EngineMove m = (list[i] & ~0xFF0000u) | (inCheck ? 0x090000u : 0x080000u);
    list[i] = m;
    int a = Max(alpha, best);
    int o = OptimisticValue(m, bd, ev);
    if (o <= a) {
      best = Max(best, o);
      continue;
    }
    DoMove(m, p);
    v = -HorizonSearch(p + 1, limit + (inCheck ? 1 : 0), -beta, -a);
    if (v > best) {
      best = v;
      if (v > alpha) {
        bestMove = m;
        if (v >= beta) break;
        UpdatePv(p, m);
      }
    }
  }
  best = Min(best, hi);
  if (best > alpha && bestMove) UpdateKillers(p, limit, bestMove);
  TransStore(bd, p, limit, alpha, beta, 1, false, bestMove, best);
  return best;
}

int Quiesce(int p, int base, int alpha, int beta) {
  int r = NodeEntry(p);
  if (r != kNoValue) return r;
  if (beta <= 0 && RepetitionAvailable(p)) return 0;
  SearchBoard& bd = Board(p);
  int lo, hi;
  if (p >= kMaxDepthPly) return EvalFast(bd, &lo, &hi);
  if (bd.chk) {
    int n = GenLegal(bd);
    if (n == 0) return 4 * p - kInfinity;
    if (4 * p - 15992 >= beta) return 4 * p - 15992;
    n = SortQuis(p, n);
    if (n < 0) return EvalFast(bd, &lo, &hi);
    EngineMove* list = PlyList(p);
    int best = -kInfinity;
    for (int i = 0; i < n; ++i) {
      EngineMove m = (list[i] & ~0xFF0000u) | 0x110000u;
      list[i] = m;
      DoMove(m, p);
      int v = -Quiesce(p + 1, base + 1, -beta, -Max(alpha, best));
      if (v > best) {
        best = v;
        if (v > alpha) {
          if (v >= beta) break;
          UpdatePv(p, m);
        }
      }
    }
    return best;
  }
  int ev = EvalFast(bd, &lo, &hi);
  bool outside = ev <= alpha - 250 || ev >= beta + 250;
  if ((outside && ClassChanged(p)) || !outside) ev = EvalFull(bd, &lo, &hi);
  if (lo >= beta) return lo;
  if (hi <= alpha) return hi;
  int best = ev;
  if (best >= beta) return best;
  int n = GenQuis(bd);
  n = SortQuis(p, n);
  if (n < 0) return Min(best, hi);
  EngineMove* list = PlyList(p);
  const u8* b = bd.sq();
  int lastTo = p >= 1 && g_line[p] != kNullMove ? MoveTo(g_line[p]) : -1;
  for (int i = 0; i < n; ++i) {
    EngineMove m = (list[i] & ~0xFF0000u) | 0x100000u;
    int to = MoveTo(m);
    bool capture = b[to] != kEmpty;
    if (p > base + g_iteration && !(capture && to == lastTo)) continue;
    int a = Max(alpha, best);
    if (!(m & kSpecialBits)) {
      if (capture) {
        int P = ev + CapPredict(m, bd);
        int value = g_material[bd.WhiteToMove() ? 0 : 1][TypeOf(b[MoveFrom(m)])];
        if (p >= base + (g_iteration - 1) / 2 && P > a && P - value <= a && IsKamiKaze(bd, to)) P -= value;
        if (P <= a) {
          best = Max(best, P);
          continue;
        }
      } else {
        int chk = IsCheck(m, bd);
        if (!chk) continue;
        if (chk != 2) {
          m |= 0x400000u;
          list[i] = m;
          DoMove(m, p);
          if (PinIllegal(m, p)) continue;
          if (GenMax1(Board(p + 1)) > 1 && RepeatCount(p + 1) < 2) continue;
          int v = -Quiesce(p + 1, base, -beta, -a);
          if (v > best) {
            best = v;
            if (v > alpha) {
              if (v >= beta) break;
              UpdateKillers(p, p - 1, m);  // killer only: no history below the horizon
              UpdatePv(p, m);
            }
          }
          continue;
        }
      }
    }
    list[i] = m;
    DoMove(m, p);
    if (PinIllegal(m, p)) continue;
    int v = -Quiesce(p + 1, base, -beta, -a);
    if (v > best) {
      best = v;
      if (v > alpha) {
        if (v >= beta) break;
        UpdateKillers(p, p - 1, m);
        UpdatePv(p, m);
      }
    }
  }
  return Min(best, hi);
}

int ReportScore(int s) {
  if (s >= kMateBound) return 10000 - (kInfinity - s) / 4;
  if (s <= -kMateBound) return -(10000 - (kInfinity + s) / 4);
  return s;
}

SearchResult SearchFixedDepth(int depth) {
  SearchResult res;
  std::memset(&res, 0, sizeof res);
  SearchPrepare();
  SearchBoard& root = Board(0);
  int n = GenLegal(root);
  if (n == 0) {
    res.score = root.chk ? -kInfinity : 0;
    return res;
  }
  EngineMove moves[kGenMax];
  int scores[kGenMax];
  std::memcpy(moves, g_gen, sizeof(EngineMove) * n);
  SortRootChecks(root, moves, n, 0, 0);
  res.best = moves[0];
  g_progress = SearchProgress{0, 0, n, 0};
  int prev = 0;
  if (depth > 46) depth = 46;
  try {
    for (int d = 1; d <= depth; ++d) {
      g_iteration = d;
      g_progress.depth = d;
      if (d >= 4) HalveHistory();
      std::memset(g_pv, 0, sizeof g_pv);
      int best = -kInfinity;
      EngineMove line[kMaxPly + 1] = {};
      for (int i = 0; i < n; ++i) {
        g_progress.moveIndex = i;
        g_progress.researched = 0;
        EngineMove m = moves[i];
        DoMove(m, 0);
        int v;
        if (i == 0) {
          v = -Branch(1, d, -kInfinity, kInfinity);
        } else {
          int a = best, b = Max(best, prev) + 30;
          if (a > -kMateBound && a < kMateBound) a += 2;
          if (b > -kMateBound && b < kMateBound) b += 2;
          v = -Branch(1, d, -b, -a);
          if (v >= b) {
            g_progress.researched = 1;
            DoMove(m, 0);
            v = -Branch(1, d, -kInfinity, -a);
          }
          if (v <= a && v > -kMateBound && v < kMateBound) v -= 2;
        }
        scores[i] = v;
        // Keep the list ordered by this iteration's scores.
        int j = i;
        while (j > 0 && scores[j - 1] < v) {
          scores[j] = scores[j - 1];
          moves[j] = moves[j - 1];
          --j;
        }
        scores[j] = v;
        moves[j] = m;
        if (j == 0) {
          best = v;
          prev = v;
          line[0] = m;
          int k = 1;
          for (; k < kMaxPly && g_pv[1][k]; ++k) line[k] = g_pv[1][k];
          line[k] = 0;
        }
      }
      res.best = moves[0];
      res.score = best;
      res.depth = d;
      std::memcpy(res.pv, line, sizeof line);
      if (std::abs(best) >= kMateBound && (kInfinity - std::abs(best)) / 4 <= d) break;
      if (d >= g_sw[kWMd]) break;
    }
  } catch (const SearchInterrupt& stop) {
    res.interrupted = stop.code;
    if (stop.code == 2) res.best = 0;
  }
  res.nodes = g_nodes;
  return res;
}

}  // namespace corvane
