// Outside test data: real files kept beside the repository (RW_TESTDATA_DIR,
// ../shared/testdata), which a lone clone does not have. A test that needs
// them starts with RW_REQUIRE_TESTDATA("a.pgn", "b.pgn"): without them it is
// skipped with the missing path named, never failed or passed silently.
// pgn-extract's ECO file comes from Debian's package instead (RW_ECO_FILE).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

inline std::string TestDataPath(const char* name) { return std::string(RW_TESTDATA_DIR) + "/" + name; }

// The first of the files that cannot be opened, or "" when all are there.
inline std::string MissingTestData(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    std::FILE* f = std::fopen(TestDataPath(name).c_str(), "rb");
    if (!f) return TestDataPath(name);
    std::fclose(f);
  }
  return {};
}

// The running test's name, for the skip message.
inline std::string CurrentTestName() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return info ? std::string(info->test_suite_name()) + "." + info->name() : std::string();
}

#define RW_REQUIRE_TESTDATA(...)                                                              \
  if (const std::string rw_missing_ = MissingTestData({__VA_ARGS__}); !rw_missing_.empty()) \
  GTEST_SKIP() << "outside test data missing, " << CurrentTestName() << " skipped: " << rw_missing_

