// Corvane engine core: the recursive search below the root (Branch, the
// horizon search and the quiescence search), the threat tests, and a plain
// fixed-depth root driver used by tests and benchmarks.
//
// Interface: SetHostPoll, SearchPrepare, Branch, HorizonSearch, Quiesce,
// MateThreat, WoodThreat, ReportScore, SearchFixedDepth, g_nodes, g_pv,
// g_iteration, g_progress.
//
// The host is polled every 1,024 nodes; when it answers stop (1) or abort (2)
// the search leaves the recursion at once by throwing SearchInterrupt, which
// the root catches.
#pragma once

#include "board.h"

namespace corvane {

using HostPoll = int (*)(void* ctx, int ply);  // 0 go on, 1 stop, 2 abort
void SetHostPoll(HostPoll poll, void* ctx);

struct SearchInterrupt {
  int code;
};

extern u64 g_nodes;
extern int g_iteration;
extern EngineMove g_pv[kMaxPly + 1][kMaxPly + 1];  // row p starts at column p, ended by 0

// Where the root is (for the host's status lines).
struct SearchProgress {
  int depth;       // current iteration
  int moveIndex;   // root move being searched (0-based)
  int moveCount;   // root moves
  int researched;  // the root move is being searched again
};
extern SearchProgress g_progress;

// Per-search set-up on the root board (ply 0) after OptsXlat: evaluation
// planner, empty hash table, node counter, killers and history.
void SearchPrepare();
void ClearKillers();
void ClearHistory();
void HalveHistory();

// Pieces of the node shared with the root and mate searches of the host:
// node entry (kNoValue or a draw score), the repetition-available test, the
// killer/history and principal-variation updates.
int SearchNodeEntry(int ply);
bool SearchRepetitionAvailable(int ply);
void SearchUpdateKillers(int ply, int limit, EngineMove best);
void SearchUpdatePv(int ply, EngineMove move);

int Branch(int ply, int limit, int alpha, int beta);
int HorizonSearch(int ply, int limit, int alpha, int beta);
int Quiesce(int ply, int base, int alpha, int beta);
bool MateThreat(int ply);
int WoodThreat(int ply);
int Selectivity(int ply);  // the selective depth R of a node at ply

// Inside score to the protocol's form: a mate in p plies is 10000 - p.
int ReportScore(int score);

struct SearchResult {
  EngineMove best;
  int score;  // inside form
  int depth;  // last completed iteration
  u64 nodes;
  int interrupted;  // 0, or the host's code
  EngineMove pv[kMaxPly + 1];
};
// Iterative deepening from ply 0 up to depth (no time control).
SearchResult SearchFixedDepth(int depth);

}  // namespace corvane
