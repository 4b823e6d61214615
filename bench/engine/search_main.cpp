// engine-search: fixed-depth search over a fixed set of positions.  Prints
// each position's best move, score and nodes, then the total node count (the
// engine's deterministic signature: it changes only when the search or the
// evaluation changes) and the speed.
//   engine-search [DEPTH]     default depth 8
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "eval.h"
#include "search.h"
#include "trans.h"

using namespace corvane;

namespace {

const char* const kPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "r2q1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2Q1RK1 b - - 0 10",
    "2r3k1/5pp1/p3p2p/1p1bP3/3P4/P4N2/1P3PPP/2R3K1 w - - 0 28",
    "8/5pk1/6p1/8/3P4/6P1/5PK1/8 w - - 0 45",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
};

void Out(void*, const char* text) { std::fputs(text, stdout); }

}  // namespace

int main(int argc, char** argv) {
  int depth = argc >= 2 ? std::atoi(argv[1]) : 8;
  if (depth < 1 || depth > 40) {
    std::fprintf(stderr, "usage: engine-search [DEPTH 1..40]\n");
    return 2;
  }
  i32 params[kParamCount];
  DefaultParams(params);
  OptsXlat(params);
  TransInit(params[kPTts]);
  u64 total = 0;
  auto t0 = std::chrono::steady_clock::now();
  for (const char* fen : kPositions) {
    if (!SetupRootFromFen(fen)) {
      std::fprintf(stderr, "engine-search: bad FEN %s\n", fen);
      return 2;
    }
    SearchResult r = SearchFixedDepth(depth);
    std::printf("%-72s %s%s %6d %12llu\n", fen, SquareName(MoveFrom(r.best)), SquareName(MoveTo(r.best)),
                ReportScore(r.score), static_cast<unsigned long long>(r.nodes));
    total += r.nodes;
  }
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("depth %d\nnodes %llu\ntime %.3f s  %.0f nps\n", depth, static_cast<unsigned long long>(total),
              s, s > 0 ? double(total) / s : 0.0);
  (void)Out;
  return 0;
}
