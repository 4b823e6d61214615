// Measurement, score and report text of the processor benchmark.

#include "benchmark.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "workload.h"

namespace {

// The counter is kept as its low 32 bits; differences are taken modulo 2^32,
// so a wrap of those bits between two readings still gives the right time.
struct TimerBase {
  uint32_t frequency;
  uint32_t start;
};

long double ElapsedSeconds(const TimerBase& base, BenchClock& clock) {
  const uint32_t ticks = static_cast<uint32_t>(clock.Counter()) - base.start;
  if (base.frequency == 0) return 0;  // no counter: every time reads as 0
  return static_cast<long double>(ticks) / base.frequency;
}

int32_t ScoreFor(int32_t iterations, long double elapsed) {
  if (elapsed == 0) return iterations;
  const long double score = std::trunc(iterations / elapsed * 10);
  // A very short time gives a rate past the 32-bit range: report the largest
  // score rather than a wrapped one.
  if (score >= static_cast<long double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (score <= static_cast<long double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(score);
}

// One fraction digit for the elapsed time; the time per iteration is far
// below a second, so it gets microseconds.
const int kElapsedDigits = 1;
const int kPerIterationDigits = 6;

void WriteReport(char* text, long double elapsed, int32_t iterations) {
  const long double per_iteration = iterations > 0 ? elapsed / iterations : 0;
  const std::string report =
      "Elapsed time, seconds: " + FormatBenchNumber(elapsed, kElapsedDigits) +
      "\nSeconds per iteration: " + FormatBenchNumber(per_iteration, kPerIterationDigits) + "\n";
  const size_t length = std::min(report.size(), kBenchTextSize - 1);
  std::memcpy(text, report.data(), length);
  text[length] = '\0';
}

}  // namespace

int32_t MeasureBenchmark(int32_t iterations, char* text, BenchClock& clock) {
  TimerBase base;
  base.frequency = static_cast<uint32_t>(clock.Frequency());
  base.start = static_cast<uint32_t>(clock.Counter());

  const long double t0 = ElapsedSeconds(base, clock);
  for (int32_t i = 0; i < iterations; ++i) RunWorkloadIteration();
  const long double t1 = ElapsedSeconds(base, clock);
  const long double elapsed = t1 - t0;

  const int32_t score = ScoreFor(iterations, elapsed);
  if (text) WriteReport(text, elapsed, iterations);
  return score;
}

std::string FormatBenchNumber(long double value, int digits) {
  if (!std::isfinite(value)) value = 0;
  std::string out;
  if (value < 0) {
    // Sign and magnitude, so that the fraction steps see a positive number.
    out += '-';
    value = -value;
  }
  // Whole parts up to 10^18 print exactly; the benchmark's numbers stay
  // below 2^32.
  value = std::min(value, 1e18L);
  const long double whole = std::floor(value);
  out += std::to_string(static_cast<long long>(whole));
  out += '.';
  // Each step adds a digit to the product; 18 keep it within a long long.
  const int steps = std::min(digits, 18);
  long double fraction = value - whole;
  for (int i = 0; i < steps && fraction != std::floor(fraction); ++i) {
    fraction *= 10;
    if (fraction < 1) out += '0';
  }
  out += std::to_string(static_cast<long long>(fraction));
  return out;
}
