// The benchmark timed with the standard library's steady clock, for builds
// without the Windows performance counter.
#include <chrono>

#include "benchmark.h"

namespace {

// Nanoseconds of the steady clock: a frequency that fits the benchmark's 32
// bits, and a counter whose low 32 bits wrap every 4.3 s.
class SteadyClock : public BenchClock {
 public:
  uint64_t Frequency() override { return 1000000000u; }
  uint64_t Counter() override {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
  }
};

}  // namespace

int32_t MeasureBenchmarkSteady(int32_t iterations, char* text) {
  SteadyClock clock;
  return MeasureBenchmark(iterations, text, clock);
}
