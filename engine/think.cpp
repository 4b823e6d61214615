// Corvane program: time allocation, the engine clock, iterative deepening at
// the root with its stop rules, the mate search and the host poll.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "attack.h"
#include "program.h"
#include "search.h"
#include "trans.h"

namespace corvane {

namespace {

constexpr double kNoLimit = 999000000.0;
constexpr int kNoMate = 1073741824;
constexpr int kRootMax = 230;

inline bool IsMateScore(int s) { return s >= kMateBound || s <= -kMateBound; }
inline bool SameMove(EngineMove a, EngineMove b) { return ((a ^ b) & kMoveIdMask) == 0; }

double Elapsed(Program& pr) { return double(pr.io->Now() - pr.limits.start) * 0.01; }

// Root data of the search now running.
struct Root {
  EngineMove moves[kRootMax];
  double nodes[kRootMax];
  int scores[kRootMax];
  int n;
  int changes[3];  // current, previous, before-previous iteration
  int prevBest;
  u32 seed;
  EnginePosition pos;  // the root as a game position, for the move texts
} g_root;

void FillResult(Program& pr, int score, const EngineMove* line) {
  SearchStatus& r = pr.result;
  r.depth = pr.curDepth;
  r.score = score;
  r.nodes = double(g_nodes);
  r.time = int(pr.io->Now() - pr.limits.start);
  int i = 0;
  for (; i < 31 && line[i]; ++i) r.line[i] = line[i];
  r.line[i] = 0;
}

int Reported(int score) {
  if (IsMateScore(score))
    return ReportScore(score < -kInfinity ? -kInfinity : score > kInfinity ? kInfinity : score);
  return score - g_sw[kWCfd];
}

void SendStatus(Program& pr, int ply) {
  char text[400];
  int n =
      std::snprintf(text, sizeof text, "stat01: %6d %9.0f %2d %3d %3d", int(pr.io->Now() - pr.limits.start),
                    double(g_nodes), pr.curDepth, pr.rootCount - pr.curMoveIndex - 1, pr.rootCount);
  for (int p = 1; p <= ply && p <= kMaxPly && n < 200; ++p) {
    char mv[8];
    n += std::snprintf(text + n, sizeof text - size_t(n), " %s", MoveText(g_line[p], mv));
  }
  pr.io->SendReply("%s", text);
}

int g_pollPly = 0;
Program* g_current = &g_prog;

// The host poll of the search: 0 go on, 1 stop with the best move, 2 abort.
int CallHost(Program& pr, int ply) {
  int cmd = SearchCommand(pr);
  if (!pr.pondering) {
    switch (cmd) {
      case 1:
        return 1;
      case 4:
        return 2;
      case 2:
        SendStatus(pr, ply);
        break;
      case 0:
        break;
      default: {
        char text[80];
        std::snprintf(text, sizeof text, "CallHost: msg = [%s] while thinking", "convert");
        FatalError(text);
      }
    }
    return Elapsed(pr) >= pr.limits.hard ? 1 : 0;
  }
  switch (cmd) {
    case 0:
    case 1:
      return 0;
    case 4:
      return 2;
    case 2:
      SendStatus(pr, ply);
      return 0;
    default:
      break;
  }
  // Ponder hit: the search goes on as a normal one.
  pr.pondering = false;
  if (pr.curDepth >= 3) {
    SendThinkingLine(pr);
    pr.lineShown = true;
  }
  double e = Elapsed(pr);
  if (pr.curMoveIndex == 0) {
    if (e >= 1.75 * pr.limits.first) return 1;
  } else if (!pr.curResearch && e >= 2.25 * pr.limits.second) {
    return 1;
  }
  return 0;
}

int PollHook(void* ctx, int ply) {
  g_pollPly = ply;
  return CallHost(*static_cast<Program*>(ctx), ply);
}

[[noreturn]] void Stop() { throw SearchInterrupt{1}; }

void SortByNodes() {
  // Moves 2..n by their node counts, largest first; stable.
  for (int i = 2; i < g_root.n; ++i) {
    EngineMove m = g_root.moves[i];
    double c = g_root.nodes[i];
    int j = i;
    while (j > 1 && g_root.nodes[j - 1] < c) {
      g_root.moves[j] = g_root.moves[j - 1];
      g_root.nodes[j] = g_root.nodes[j - 1];
      --j;
    }
    g_root.moves[j] = m;
    g_root.nodes[j] = c;
  }
}

void DropRule(Program& pr, int s, int p) {
  if (Elapsed(pr) <= 0.5 * pr.limits.first) return;
  long long g = (p / 100) * (p / 100);
  if (g > 99) g = 100;
  if (s < p - (240 * g + 3000) / 100) {
    pr.limits.second *= 2;
    if (s < p - (1040 * g + 13000) / 100) {
      pr.limits.second *= 2;
      pr.limits.first *= 2;
    }
  }
}

void FlipRule(Program& pr) {
  if (Elapsed(pr) <= 0.5 * pr.limits.first || pr.limits.second >= pr.limits.target * 0.01) return;
  auto c3 = [](int c) { return c < 3 ? c : 3; };
  int w = c3(g_root.changes[2]) + 2 * c3(g_root.changes[1]) + 3 * c3(g_root.changes[0]);
  double f = w >= 15 ? 2.0 : w >= 11 ? 1.5 : 1.0;
  pr.limits.first *= f;
  pr.limits.second *= f;
}

void EasyRule(Program& pr, int e) {
  if (!pr.limits.target) return;
  double f = 1.0;
  if (!Board(0).chk) {
    if (e > 70) f = 0.666;
    if (e > 170) f = 0.5;
    if (e > 400) f = 0.333;
    if (e > 800) f = 0.25;
  } else {
    if (e > 170) f = 0.666;
    if (e > 400) f = 0.5;
    if (e > 800) f = 0.333;
  }
  if (f < 1.0) {
    pr.limits.first *= f;
    pr.limits.second *= f;
  }
}

void TakeLine(EngineMove m, EngineMove* line) {
  line[0] = m;
  int k = 1;
  for (; k < kMaxPly && g_pv[1][k]; ++k) line[k] = g_pv[1][k];
  line[k] = 0;
}

void RootIteration(Program& pr, int d) {
  if (d == 1) {
    g_root.changes[0] = g_root.changes[1] = g_root.changes[2] = 0;
    g_root.prevBest = 0;
    g_root.seed = u32(pr.io->Now()) + u32(std::time(nullptr));
    for (int i = 0; i < g_root.n; ++i) g_root.nodes[i] = 0;
  }
  g_root.changes[2] = g_root.changes[1];
  g_root.changes[1] = g_root.changes[0];
  g_root.changes[0] = 0;
  bool quick = g_nodes < 5000;
  int best = -kInfinity, second = -kInfinity;
  int prev = g_root.prevBest;
  int rnd = g_sw[kWRnd];
  int n = g_root.n;
  for (int i = 0; i < n; ++i) {
    if (i == 0 && !quick) SortByNodes();
    EngineMove m = g_root.moves[i];
    pr.curMoveIndex = i;
    pr.curResearch = 0;
    int r = 0;
    if (rnd > 0) {
      u32 x = g_root.seed ^ m;
      u32 y = (x ^ (x << 13)) ^ (x >> 7);
      r = int(y % u32(rnd + 1)) - rnd / 2;
    }
    auto search = [&](int a, int b) {
      int a2 = IsMateScore(a) ? a : a - r, b2 = IsMateScore(b) ? b : b - r;
      DoMove(m, 0);
      int v = -Branch(1, d, -b2, -a2);
      return IsMateScore(v) ? v : v + r;
    };
    u64 before = g_nodes;
    int v;
    if (quick) {
      v = search(second, kInfinity);
    } else if (i == 0) {
      v = search(best, kInfinity);
      DropRule(pr, v, prev);
    } else {
      int a = best, b = (best > prev ? best : prev) + 30;
      if (!IsMateScore(a)) a += 2;
      if (!IsMateScore(b)) b += 2;
      v = search(a, b);
      if (v >= b) {
        pr.curResearch = 1;
        v = search(a, kInfinity);
      }
      if (v <= a && !IsMateScore(v)) v -= 2;
    }
    g_root.nodes[i] += double(g_nodes - before);
    // Keep the list ordered by this iteration's scores.
    double nc = g_root.nodes[i];
    int j = i;
    while (j > 0 && g_root.scores[j - 1] < v) {
      g_root.moves[j] = g_root.moves[j - 1];
      g_root.nodes[j] = g_root.nodes[j - 1];
      g_root.scores[j] = g_root.scores[j - 1];
      --j;
    }
    g_root.moves[j] = m;
    g_root.nodes[j] = nc;
    g_root.scores[j] = v;
    if (v > best) {
      second = best;
      best = v;
    } else if (v > second) {
      second = v;
    }
    if (j == 0) {
      ++g_root.changes[0];
      if (d >= 4) FlipRule(pr);
      EngineMove line[kMaxPly + 1];
      TakeLine(m, line);
      g_root.prevBest = v;
      prev = v;
      FillResult(pr, Reported(v), line);
      pr.lineShown = false;
      if (d >= 3) {
        SendThinkingLine(pr);
        pr.lineShown = true;
      }
    }
    if (d >= 2 && !pr.pondering && Elapsed(pr) >= pr.limits.second) Stop();
  }
  if (quick && g_nodes >= 5000) EasyRule(pr, (best < 100 ? best : 100) - second);
  if (d >= 2) {
    if (!pr.pondering && Elapsed(pr) >= pr.limits.first) Stop();
    if (pr.limits.target && (best >= kMateBound || best <= -kMateBound)) Stop();
    if (pr.limits.target && g_sw[kWAna] == 0 && second <= -kMateBound) Stop();
  }
  if (d >= 46 || d >= pr.limits.depth || d >= g_sw[kWMd]) Stop();
  int dist = (kInfinity - std::abs(best)) / 4;
  if (IsMateScore(best) && dist <= d - Selectivity(0)) Stop();
}

// ------------------------------------------------------------ mate search

int MateRepeat(int p) {
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

bool MateRepetitionAvailable(int p) {
  if (p < 3) return false;
  const SearchBoard& bd = Board(p);
  if (bd.fifty < 3) return false;
  EngineMove last = g_line[p], earlier = g_line[p - 2];
  if (last == kNullMove || earlier == kNullMove) return false;
  if (MoveFrom(last) != MoveTo(earlier) || MoveTo(last) != MoveFrom(earlier)) return false;
  return (g_repWord[p - 3 + kHistory] & 0x0FFF00) == (bd.Packed() & 0x0FFF00);
}

// Node entry of the mate search: 0 for a draw, else kNoValue.
int MateEntry(int q) {
  g_pv[q][q] = 0;
  if ((++g_nodes & 1023) == 0) {
    int code = PollHook(g_current, q);
    if (code) throw SearchInterrupt{code};
  }
  int r = MateRepeat(q);
  if (r >= 2 && (q >= 3 || r >= 3 || g_sw[kWAna] == 0)) return 0;
  if (q + 1 < kMaxPly + 2) g_killer[q + 1][0] = g_killer[q + 1][1] = 0;
  return kNoValue;
}

void MatePv(int q, EngineMove m) {
  EngineMove* row = g_pv[q] + q;
  const EngineMove* next = g_pv[q + 1] + q + 1;
  row[0] = m;
  int i = 0;
  while (q + 1 + i < kMaxPly && next[i]) {
    row[1 + i] = next[i];
    ++i;
  }
  row[1 + i] = 0;
}

int MateNode(int q, int plies, int alpha, int beta) {
  SearchBoard& bd = Board(q);
  if (q >= plies || q >= 47) {
    if (MateEntry(q) != kNoValue) return 0;
    if (MateRepetitionAvailable(q)) return 0;
    if (bd.chk) return GenLegal(bd) == 0 ? -(kInfinity - 4 * q) : 0;
    return kNoMate;
  }
  if (MateEntry(q) != kNoValue) return 0;
  u32 hint = 0;
  bool threat = false;
  int v = TransProbe(bd, q, plies, alpha, beta, 0, &hint, &threat);
  if (v != kNoValue) return v;
  if (MateRepetitionAvailable(q) && beta <= 0) return 0;
  int n = GenLegal(bd);
  if (n == 0) return bd.chk ? -(kInfinity - 4 * q) : 0;
  n = SortFull(q, n, hint);
  if (n < 0) return 0;
  EngineMove* list = PlyList(q);
  int best = -kInfinity;
  EngineMove bestMove = 0;
  bool lastAttack = (q % 2 == 0) && q == plies - 1;
  for (int i = 0; i < n; ++i) {
    EngineMove m = list[i] & ~0xFF0000u;
    if (lastAttack && !(m & kSpecialBits) && !IsCheck(m, bd)) {
      if (0 > best) best = 0;
      continue;
    }
    DoMove(m, q);
    int a = alpha > best ? alpha : best;
    v = -MateNode(q + 1, plies, -beta, -a);
    if (v > best) {
      best = v;
      if (v > alpha) {
        bestMove = m;
        if (v >= beta) break;
        MatePv(q, m);
      }
    }
  }
  if (best > alpha && bestMove) {
    const u8* b = bd.sq();
    if (b[MoveTo(bestMove)] == kEmpty && !(bestMove & kEpFlag)) {
      EngineMove* k = g_killer[q];
      if (!SameMove(bestMove, k[0])) {
        k[1] = k[0];
        k[0] = bestMove & kMoveIdMask;
      }
    }
    int e = plies - q;
    i32& h = g_history[PieceIndex(b[MoveFrom(bestMove)])][MoveTo(bestMove)];
    i32 inc = i32(1) << (e < 23 ? e : 23);
    h = h > 0x3FFFFFFF - inc ? 0x3FFFFFFF : h + inc;
  }
  if (best > -kInfinity - 1 && best < kInfinity + 1)
    TransStore(bd, q, plies, alpha, beta, 0, false, bestMove, best);
  return best;
}

void MateIteration(Program& pr, int d) {
  int p = 2 * d - 1;
  int b = kInfinity - 4 * p;
  bool found = false;
  for (int i = 0; i < g_root.n && !found; ++i) {
    EngineMove m = g_root.moves[i];
    pr.curMoveIndex = i;
    pr.curResearch = 0;
    DoMove(m, 0);
    int v = -MateNode(1, p, -b - 1, -b + 1);
    EngineMove line[kMaxPly + 1];
    if (v >= b) {
      found = true;
      TakeLine(m, line);
      FillResult(pr, Reported(v), line);
    } else {
      line[0] = g_root.moves[0];
      line[1] = 0;
      FillResult(pr, 0, line);
    }
    SendThinkingLine(pr);
    pr.lineShown = true;
  }
  if (found || p >= 45) Stop();
}

}  // namespace

void SendThinkingLine(Program& pr) {
  if (!pr.post) return;
  char text[600];
  const SearchStatus& r = pr.result;
  FormatThinkingLine(g_root.pos, r.depth, r.score, r.time, r.nodes, r.line, text, sizeof text);
  pr.io->SendReply("%s", text);
}

// ------------------------------------------------------------ time control

long long GrantedTime(const TimeControl& tc, int n) {
  int moves = tc.moves > 0 ? tc.moves : 1;
  return (n / moves + 1) * (long long)tc.base + (long long)n * tc.inc;
}

long long UsedTime(Program& pr) {
  long long u = pr.game.used;
  if (pr.game.running) u += pr.io->Now() - pr.game.startStamp;
  return u;
}

void SyncEngineClock(Program& pr, long long remaining) {
  // With a fixed time per move there is no control to agree with.
  if (pr.tc.fixed) return;
  bool firstWhite = pr.game.start.wtm != 0;
  bool engineWhite = pr.colour == 1;
  int cur = pr.game.cur;
  int m = engineWhite != firstWhite ? cur / 2 : (cur + 1) / 2;
  long long used = GrantedTime(pr.tc, m) * 100 - remaining;
  const long long cap = 4000000000LL;
  if (used > cap) used = cap;
  if (used < -cap) used = -cap;
  char a[16], b[16];
  pr.io->MonitorPrint("engine clock adjust %s", FormatClock(UsedTime(pr), a));
  pr.io->MonitorPrint(" -> %s\n", FormatClock(used, b));
  if (pr.game.running) used -= pr.io->Now() - pr.game.startStamp;
  pr.game.used = used;
}

namespace {

// Steps 4 and 5 of the allocation: horizon value and per-move time.
double PerMoveTime(Program& pr, int m, double U, bool show) {
  double k = 999000000.0;
  double p = 1.0;
  for (int i = 1; m + i < 999; ++i) {
    p *= 0.975;
    double v = (double(GrantedTime(pr.tc, m + i - 1)) - p * U) / (1.0 - p);
    if (v < k) k = v;
  }
  double T = (k - U) * 0.025;
  if (pr.tc.inc != 0) T *= 0.8;
  if (show) {
    pr.io->MonitorPrint("done %3d  used %.1f", m, U);
    pr.io->MonitorPrint("  k %.1f", k);
    pr.io->MonitorPrint("  tt %.1f", T);
  }
  return T;
}

int ToCs(double seconds) {
  // The small allowance keeps exact values whole under x87 extended precision.
  double cs = seconds * 100.0 + 1e-7;
  if (!(cs > 0)) return 0;
  if (cs > 100000000.0) return 100000000;
  return int(cs);
}

}  // namespace

void AllocateMoveTime(Program& pr, int cur, int* target, int* maximum, int* depth, bool show) {
  *depth = 0;
  if (pr.tc.fixed) {
    *target = 0;
    *maximum = pr.tc.fixed * 100;
    return;
  }
  int m = cur / 2;
  double U = double(UsedTime(pr)) * 0.01;
  auto G = [&](int n) { return double(GrantedTime(pr.tc, n)); };
  double P = G(m) - U - 1, Q = 0.75 * (G(m + 1) - U - 1), R = 0.6 * (G(m + 2) - U - 1);
  double H = P;
  if (Q < H) H = Q;
  if (R < H) H = R;
  if (H < 1) H = 1;
  double T = PerMoveTime(pr, m, U, show);
  double T1 = T > 0.5 ? T : 0.5;
  double M = H < 4 * T1 ? H : 4 * T1;
  double S = T1 < 0.5 * M ? T1 : 0.5 * M;
  // The one-second floor of the hard bound would overrun a clock with less
  // than two seconds left: keep within a share of what is really left.
  double left = G(m) - U;
  if (left < 2.0) {
    double cap = left * 0.4 > 0.02 ? left * 0.4 : 0.02;
    if (M > cap) M = cap;
    if (S > 0.5 * M) S = 0.5 * M;
  }
  if (show) pr.io->MonitorPrint(" -> %.1f %.1f\n", S, M);
  *target = ToCs(S);
  *maximum = ToCs(M);
  if (*maximum < *target) *maximum = *target;
}

void TimeTest(Program& pr, int moveNumber, double usedSeconds) {
  PerMoveTime(pr, moveNumber, usedSeconds, true);
  pr.io->MonitorPrint(" 'kay?\n");
}

void XgamClkStart(Program& pr) {
  if (pr.game.running) FatalError("XgamClkStart: BUG");
  pr.game.startStamp = pr.io->Now();
  pr.game.running = true;
}

void XgamClkStop(Program& pr) {
  if (!pr.game.running) FatalError("XgamClkStop: BUG");
  pr.game.used += pr.io->Now() - pr.game.startStamp;
  pr.game.running = false;
}

void XgamClkDiscard(Program& pr) { pr.game.running = false; }

const char* FormatClock(long long c, char* out) {
  if (c < 0) c = 0;
  if (c < 100000)
    std::snprintf(out, 16, "%03d.%02d", int(c / 100), int(c % 100));
  else if (c < 1000000)
    std::snprintf(out, 16, "%04d.%01d", int(c / 100), int(c % 100 / 10));
  else if (c < 10000000)
    std::snprintf(out, 16, "%05d.", int(c / 100));
  else if (c < 100000000)
    std::snprintf(out, 16, "%06d", int(c / 100));
  else
    std::snprintf(out, 16, "999999");
  return out;
}

void TimeInit(Program& pr, int target, int maximum, int depth) {
  Program::Limits& l = pr.limits;
  l.first = l.second = l.hard = kNoLimit;
  l.depth = 999;
  l.target = target;
  l.start = pr.io->Now();
  if (target) {
    if (depth) FatalError("TimeInit: multiple levels");
    if (maximum < target) FatalError("TimeInit: max < ave");
    if (Board(0).chk) {
      l.first = 0.29 * target / 100;
      l.second = 0.47 * target / 100;
    } else {
      l.first = 0.52 * target / 100;
      l.second = 0.85 * target / 100;
    }
    l.hard = maximum / 100.0;
  } else if (maximum) {
    if (depth) FatalError("TimeInit: multiple levels");
    l.hard = maximum / 100.0;
  } else if (depth) {
    l.depth = depth;
  } else {
    FatalError("TimeInit: no level at all");
  }
}

void SetSearchPosition(const EngineGame& game) { SetupRoot(game.start, game.moves, game.cur); }

EngineMove Think(Program& pr, int target, int maximum, int depth, bool mate, EngineMove* reply, bool ponder,
                 bool hold) {
  g_current = &pr;
  pr.pondering = ponder;
  pr.inThink = true;
  TimeInit(pr, target, maximum, depth);
  SearchPrepare();
  SearchBoard& root = Board(0);
  PositionFromBoard(root, &g_root.pos);
  int n = GenLegal(root);
  if (n == 0) FatalError("Think: no legal moves");
  if (n > kRootMax) n = kRootMax;
  std::memcpy(g_root.moves, g_gen, sizeof(EngineMove) * size_t(n));
  SortRootChecks(root, g_root.moves, n, 0, 0);
  g_root.n = n;
  for (int i = 0; i < n; ++i) {
    g_root.nodes[i] = 0;
    g_root.scores[i] = -kInfinity;
  }
  pr.rootCount = n;
  pr.result = SearchStatus{};
  pr.result.line[0] = g_root.moves[0];
  pr.result.moveCount = n;
  pr.lineShown = false;
  pr.curDepth = 0;
  SetHostPoll(PollHook, &pr);
  EngineMove best = 0;
  try {
    try {
      for (int d = 1;; ++d) {
        g_iteration = d;
        pr.curDepth = d;
        g_progress.depth = d;
        std::memset(g_pv, 0, sizeof g_pv);
        if (d >= 4) HalveHistory();
        for (int i = 0; i < n; ++i) g_root.scores[i] = -kInfinity;
        if (mate)
          MateIteration(pr, d);
        else
          RootIteration(pr, d);
      }
    } catch (const SearchInterrupt& stop) {
      if (stop.code == 2) throw;
    }
    // Stopped with a move: wait for the ponder hit or for an abort.
    while (pr.pondering) {
      int code = CallHost(pr, 0);
      if (code == 2) throw SearchInterrupt{2};
      if (pr.pondering && !pr.io->LinePending()) pr.io->console()->SleepMs(10);
    }
    if (!pr.lineShown) SendThinkingLine(pr);
    int t = int(pr.io->Now() - pr.limits.start);
    double speed = t >= 100 ? double(g_nodes) / (t / 100.0) / 1000.0 : 0.0;
    char a[32], b[32], c[64];
    std::snprintf(a, sizeof a, "%2d", pr.curDepth);
    std::snprintf(b, sizeof b, " %02d/%02d", pr.curMoveIndex + 1 > 99 ? 99 : pr.curMoveIndex + 1,
                  n > 99 ? 99 : n);
    std::snprintf(c, sizeof c, " %6d %9.0f speed %7.3f kn/s", t, double(g_nodes), speed);
    pr.io->MonitorPrint("\r%s%s%s\n", a, b, c);
    while (hold) {
      if (CallHost(pr, 0) == 2) throw SearchInterrupt{2};
      if (!pr.io->LinePending()) pr.io->console()->SleepMs(10);
    }
    best = pr.result.line[0];
    *reply = best ? pr.result.line[1] : 0;
  } catch (const SearchInterrupt&) {
    best = 0;
    *reply = 0;
  }
  SetHostPoll(nullptr, nullptr);
  pr.inThink = false;
  pr.pondering = false;
  return best;
}

}  // namespace corvane
