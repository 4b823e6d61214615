// engine-search: fixed-depth search over the signature positions.  Prints
// each position's best move, score and nodes, then the total node count (the
// engine's deterministic signature: it changes only when the search or the
// evaluation changes) and the speed.
//   engine-search [DEPTH]     default depth 8
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "signature.h"

using namespace corvane;

namespace {

void PrintLine(void*, const char* fen, const SearchResult& r) {
  std::printf("%-72s %s%s %6d %12llu\n", fen, SquareName(MoveFrom(r.best)), SquareName(MoveTo(r.best)),
              ReportScore(r.score), static_cast<unsigned long long>(r.nodes));
}

}  // namespace

int main(int argc, char** argv) {
  int depth = argc >= 2 ? std::atoi(argv[1]) : 8;
  if (depth < 1 || depth > 40) {
    std::fprintf(stderr, "usage: engine-search [DEPTH 1..40]\n");
    return 2;
  }
  auto t0 = std::chrono::steady_clock::now();
  u64 total = SearchSignature(depth, PrintLine, nullptr);
  if (total == 0) {
    std::fprintf(stderr, "engine-search: a signature position was refused\n");
    return 2;
  }
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("depth %d\nnodes %llu\ntime %.3f s  %.0f nps\n", depth, static_cast<unsigned long long>(total),
              s, s > 0 ? double(total) / s : 0.0);
  return 0;
}
