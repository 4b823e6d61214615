// Prints the processor benchmark's score for a number of runs, so that the
// score of a machine (and its spread between runs) can be read off.
//   rwbench_run [iterations (50)] [runs (5)]

#include <chrono>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include "rwbench.h"
#else
#include "benchmark.h"

namespace {
int32_t CPUBenchmark(int32_t iterations, char* text) { return MeasureBenchmarkSteady(iterations, text); }
}  // namespace
#define RWBENCH_TEXT_SIZE kBenchTextSize
#endif

int main(int argc, char** argv) {
  const int iterations = argc > 1 ? std::atoi(argv[1]) : 50;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  for (int run = 0; run < runs; ++run) {
    char text[RWBENCH_TEXT_SIZE];
    const auto start = std::chrono::steady_clock::now();
    const int32_t score = CPUBenchmark(iterations, text);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("run %d: iterations %d, score %ld, call %.1f ms\n%s", run + 1, iterations,
                static_cast<long>(score), ms, text);
  }
  return 0;
}
