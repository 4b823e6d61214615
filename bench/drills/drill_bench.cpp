// Times the drill generators as the drill builder calls them (a give-up
// starts the position again): mean and worst time per finished position of
// each kind, over a fixed set of seeds and every selector.
//
//   drill_bench [positions-per-kind] [first-seed]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "drill_generators.h"

namespace {

const char* const kKindNames[kDrillKinds] = {"hung piece",  "fork",       "check",       "mate in one",
                                             "mate in two", "avert mate", "safe square", "pin"};

}  // namespace

int main(int argc, char** argv) {
  const int positions = argc > 1 ? std::atoi(argv[1]) : 100;
  const unsigned firstSeed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1;
  std::printf("%-12s %10s %10s %8s %12s\n", "kind", "mean ms", "worst ms", "restarts", "stage calls");
  for (int kind = 0; kind < kDrillKinds; ++kind) {
    double total = 0, worst = 0;
    long restarts = 0, calls = 0;
    for (int i = 0; i < positions; ++i) {
      DrillGenerator g(firstSeed + static_cast<unsigned>(i));
      const int selector = i % 5 + 1;
      Board board;
      const auto start = std::chrono::steady_clock::now();
      int step = 0;
      for (;;) {
        if (step == 0) std::memset(&board, 0, sizeof board);
        const int r = g.MakeDrillPosition(step, kind, WHITE, selector, &board);
        ++calls;
        if (r == DRILL_DONE) break;
        if (r == DRILL_GAVE_UP) {
          ++restarts;
          step = 0;
        } else {
          step = 1;
        }
      }
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      total += ms;
      if (ms > worst) worst = ms;
    }
    std::printf("%-12s %10.3f %10.3f %8ld %12ld\n", kKindNames[kind], total / positions, worst, restarts,
                calls);
  }
  return 0;
}
