// The processor benchmark's measurement: times the workload against a
// high-resolution counter, turns the time into a score and, on request, into
// a short report text. No operating system calls: the counter comes in
// through BenchClock.
//
// Interface: BenchClock, MeasureBenchmark, MeasureBenchmarkSteady,
// FormatBenchNumber, kBenchTextSize.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A high-resolution counter.
class BenchClock {
 public:
  virtual ~BenchClock() = default;
  // Ticks per second; 0 when the machine has no such counter.
  virtual uint64_t Frequency() = 0;
  virtual uint64_t Counter() = 0;
};

// Bytes that the report text may take, its terminating NUL included. The
// elapsed time is below 2^32 ticks in magnitude (it can be negative only when
// a run outlasts 2^32 ticks), so each number has a sign, at most ten integer
// digits and a point: "Elapsed time, seconds: " (23) + 14 (two fraction
// characters) + "\nSeconds per iteration: " (24) + 19 (seven fraction
// characters) + "\n" + NUL = 82.
constexpr size_t kBenchTextSize = 82;

// Runs the workload `iterations` times and returns iterations per second
// times 10, truncated toward zero and limited to the 32-bit range; the
// iteration count itself when the measured time is 0 or the counter has no
// frequency. Zero or negative counts run nothing. When `text` is not null it
// receives the report, at most kBenchTextSize bytes with the NUL:
//   "Elapsed time, seconds: <s>\nSeconds per iteration: <s / iterations>\n"
int32_t MeasureBenchmark(int32_t iterations, char* text, BenchClock& clock);

// MeasureBenchmark over the standard library's steady clock, for native
// builds, which have no performance counter of the system.
int32_t MeasureBenchmarkSteady(int32_t iterations, char* text);

// The report's number format: the integer part, a point, then for at most
// `digits` steps while the rest of the fraction is not whole, the fraction
// times 10 with a "0" for each step whose product is still below 1, and
// finally the whole part of the last product: 2.5 gives "2.5", 2 gives
// "2.0", 0.03125 with 6 digits gives "0.03125". Non-finite values print as 0.
std::string FormatBenchNumber(long double value, int digits);
