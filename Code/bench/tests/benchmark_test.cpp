#include "benchmark.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// Answers the frequency and then the counter readings in the order given:
// the timer base, the reading before the workload, the one after it.
class ScriptedClock : public BenchClock {
 public:
  ScriptedClock(uint64_t frequency, std::vector<uint64_t> readings)
      : frequency_(frequency), readings_(std::move(readings)) {}
  uint64_t Frequency() override { return frequency_; }
  uint64_t Counter() override { return next_ < readings_.size() ? readings_[next_++] : readings_.back(); }
  size_t ReadingsTaken() const { return next_; }

 private:
  uint64_t frequency_;
  std::vector<uint64_t> readings_;
  size_t next_ = 0;
};

const int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(MeasureBenchmark, ScoreIsIterationsPerSecondTimesTen) {
  struct Case {
    const char* what;
    int32_t iterations;
    uint64_t frequency;
    uint64_t base, before, after;
    int32_t score;
  };
  const Case cases[] = {
      {"half a second", 4, 1000, 0, 0, 500, 80},
      {"time from the base cancels out", 4, 1000, 7, 107, 607, 80},
      {"truncated", 3, 1000, 0, 0, 700, 42},
      {"truncated toward zero", -3, 1000, 0, 0, 700, -42},
      {"zero iterations", 0, 1000, 0, 0, 250, 0},
      {"zero time gives the iteration count", 50, 1000, 100, 100, 100, 50},
      {"zero time, negative count", -5, 1000, 0, 0, 0, -5},
      {"low 32 bits wrap between readings", 4, 1000, 0xFFFFFF00u, 0xFFFFFF00u, 0xF4, 80},
      {"wrap between base and first reading", 4, 1000, 0xFFFFFFFFu, 0x63, 0x257, 80},
      {"only the low 32 bits of a 64-bit counter", 4, 1000, 0x7FFFFFFF0ull, 0x7FFFFFFF0ull, 0x8000001E4ull,
       80},
      {"only the low 32 bits of the frequency", 4, 0x1000003E8ull, 0, 0, 500, 80},
      {"rate past the 32-bit range is the largest score", 50, 4000000000u, 0, 0, 1, kMax},
      {"no counter frequency gives the iteration count", 50, 0, 0, 0, 12345, 50},
  };
  for (const Case& c : cases) {
    ScriptedClock clock(c.frequency, {c.base, c.before, c.after});
    EXPECT_EQ(MeasureBenchmark(c.iterations, nullptr, clock), c.score) << c.what;
    EXPECT_EQ(clock.ReadingsTaken(), 3u) << c.what;
  }
}

TEST(MeasureBenchmark, ReportGivesElapsedTimeAndSecondsPerIteration) {
  struct Case {
    int32_t iterations;
    uint64_t ticks;
    const char* report;
  };
  const Case cases[] = {
      {4, 500, "Elapsed time, seconds: 0.5\nSeconds per iteration: 0.125\n"},
      {32, 1000, "Elapsed time, seconds: 1.0\nSeconds per iteration: 0.03125\n"},
      {1, 2500, "Elapsed time, seconds: 2.5\nSeconds per iteration: 2.5\n"},
      // No workload ran: nothing to divide the time by.
      {0, 500, "Elapsed time, seconds: 0.5\nSeconds per iteration: 0.0\n"},
      {-2, 500, "Elapsed time, seconds: 0.5\nSeconds per iteration: 0.0\n"},
  };
  for (const Case& c : cases) {
    ScriptedClock clock(1000, {0, 0, c.ticks});
    char text[kBenchTextSize];
    std::memset(text, 'X', sizeof text);
    MeasureBenchmark(c.iterations, text, clock);
    EXPECT_STREQ(text, c.report) << c.iterations;
  }
}

// The longest reports the counter can give must fit, and nothing is written
// past kBenchTextSize bytes.
TEST(MeasureBenchmark, ReportStaysWithinTheTextBound) {
  struct Case {
    int32_t iterations;
    uint64_t frequency;
    uint64_t base, before, after;
  };
  const Case cases[] = {
      {1, 1, 0, 0, 0xFFFFFFFFu},  // 4294967295 s
      {1, 7, 0, 0, 0xFFFFFFFFu},  // long fractions
      {3, 11, 0, 0, 0xFFFFFFFEu},
      {7, 20, 0, 0, 0xFFFFFFF1u},
      // A run outlasting 2^32 ticks reads as a negative time.
      {1, 1, 0, 0xFFFFFFFFu, 0},
      {1, 3, 0, 0xFFFFFFFEu, 0},
      {3, 7, 5, 0xFFFFFFF0u, 3},
  };
  for (const Case& c : cases) {
    ScriptedClock clock(c.frequency, {c.base, c.before, c.after});
    char text[kBenchTextSize + 32];
    std::memset(text, 'X', sizeof text);
    MeasureBenchmark(c.iterations, text, clock);
    const char* end = static_cast<const char*>(std::memchr(text, '\0', sizeof text));
    ASSERT_NE(end, nullptr);
    const size_t length = static_cast<size_t>(end - text);
    EXPECT_LT(length, kBenchTextSize) << c.frequency << " " << c.after;
    EXPECT_EQ(text[length - 1], '\n') << "report cut short: " << text;
    for (size_t i = kBenchTextSize; i < sizeof text; ++i) ASSERT_EQ(text[i], 'X') << i;
  }
}

TEST(FormatBenchNumber, Table) {
  struct Case {
    long double value;
    int digits;
    const char* text;
  };
  const Case cases[] = {
      {2.5L, 1, "2.5"},         {2.0L, 1, "2.0"},
      {0.0L, 1, "0.0"},         {1234.75L, 1, "1234.7"},  // truncated, not rounded
      {0.125L, 3, "0.125"},     {0.125L, 1, "0.1"},
      {0.03125L, 6, "0.03125"}, {0.03125L, 1, "0.00"},  // a leading zero, then the first digit (0)
      {-2.5L, 1, "-2.5"},       {4294967295.0L, 1, "4294967295.0"},
      {0.5L, 0, "0.0"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatBenchNumber(c.value, c.digits), c.text) << c.text;
}

TEST(FormatBenchNumber, NonFiniteAndHugeValuesStayPrintable) {
  EXPECT_EQ(FormatBenchNumber(std::numeric_limits<long double>::infinity(), 1), "0.0");
  EXPECT_EQ(FormatBenchNumber(std::numeric_limits<long double>::quiet_NaN(), 1), "0.0");
  EXPECT_EQ(FormatBenchNumber(1e30L, 1), "1000000000000000000.0");
  // Many digits of a fraction that never comes out whole.
  const std::string third = FormatBenchNumber(1.0L / 3, 31);
  EXPECT_EQ(third.substr(0, 8), "0.333333");
  EXPECT_LE(third.size(), 2u + 19u);
}

}  // namespace

TEST(Benchmark, SteadyClockScoresARealRun) {
  char text[kBenchTextSize];
  EXPECT_GT(MeasureBenchmarkSteady(2, text), 0);
  EXPECT_EQ(std::string(text).rfind("Elapsed time, seconds: ", 0), 0u);
}
