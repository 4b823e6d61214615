// RWBench.dll as the main program meets it: loaded by name, its export bound
// by name.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "rwbench.h"

namespace {

class RWBenchDll : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA("RWBench.dll");
    ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    benchmark_ = reinterpret_cast<CPUBenchmarkProc>(reinterpret_cast<void*>(GetProcAddress(module_, "CPUBenchmark")));
    ASSERT_NE(benchmark_, nullptr) << "CPUBenchmark is not exported under its plain name";
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
  CPUBenchmarkProc benchmark_ = nullptr;
};

TEST_F(RWBenchDll, FiftyIterationsGiveAPositiveScore) {
  const DWORD start = GetTickCount();
  const int32_t score = benchmark_(50, nullptr);
  const DWORD took = GetTickCount() - start;
  EXPECT_GT(score, 0);
  // 50 recursions A(3, 3) and 500 Whetstone passes: a fraction of a second.
  EXPECT_LT(took, 10000u);
}

TEST_F(RWBenchDll, ReportFitsTheDocumentedBuffer) {
  char text[RWBENCH_TEXT_SIZE + 16];
  std::memset(text, 'X', sizeof text);
  EXPECT_GT(benchmark_(5, text), 0);
  const std::string report(text);
  EXPECT_EQ(report.rfind("Elapsed time, seconds: ", 0), 0u) << report;
  EXPECT_NE(report.find("\nSeconds per iteration: 0."), std::string::npos) << report;
  EXPECT_EQ(report.back(), '\n');
  EXPECT_LT(report.size(), static_cast<size_t>(RWBENCH_TEXT_SIZE));
  for (size_t i = RWBENCH_TEXT_SIZE; i < sizeof text; ++i) ASSERT_EQ(text[i], 'X') << i;
}

TEST_F(RWBenchDll, NoIterationsRunNothing) {
  // No workload: the time between the two readings is all but nothing, so
  // the score is 0 (0 per second) either way.
  EXPECT_EQ(benchmark_(0, nullptr), 0);
}

}  // namespace
