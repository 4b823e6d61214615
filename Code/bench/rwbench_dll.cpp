// RWBench.dll: the benchmark export over the Windows performance counter.

#include <windows.h>

#include "benchmark.h"
#include "rwbench.h"

static_assert(RWBENCH_TEXT_SIZE == kBenchTextSize, "the export documents the core's text bound");

namespace {

class PerformanceCounterClock : public BenchClock {
 public:
  uint64_t Frequency() override {
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency)) return 0;
    return static_cast<uint64_t>(frequency.QuadPart);
  }
  uint64_t Counter() override {
    LARGE_INTEGER counter;
    if (!QueryPerformanceCounter(&counter)) return 0;
    return static_cast<uint64_t>(counter.QuadPart);
  }
};

}  // namespace

extern "C" RWBENCH_API int32_t CPUBenchmark(int32_t iterations, char* text) {
  PerformanceCounterClock clock;
  return MeasureBenchmark(iterations, text, clock);
}
