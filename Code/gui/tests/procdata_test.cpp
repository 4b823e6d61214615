// The per-process data table.
#include "procdata.h"

#include <gtest/gtest.h>

#include <cstring>

#include "heapkit.h"

namespace {

struct ProcessDataTest : ::testing::Test {
  void SetUp() override { ResetProcessDataTable(); }
  void TearDown() override { ResetProcessDataTable(); }
};

}  // namespace

TEST_F(ProcessDataTest, EntriesAreClaimedPerProcessAndAFifthIsRefused) {
  int value = 42;
  for (uint32_t pid = 101; pid <= 104; ++pid)
    EXPECT_EQ(StoreProcessData(pid, PD_CONTROL_DEFAULTS, &value, sizeof value), int(pid - 101));
  EXPECT_EQ(StoreProcessData(105, PD_FONT_TABLE, &value, sizeof value), -1);
  EXPECT_EQ(GetProcessDataFor(105, PD_FONT_TABLE), nullptr);
  EXPECT_EQ(FindProcessEntry(105), -1);
  // Another kind for a process that has an entry still works.
  EXPECT_EQ(StoreProcessData(103, PD_FONT_TABLE, &value, sizeof value), 2);
  // Releasing a process's last record frees its entry for the fifth.
  EXPECT_EQ(ReleaseProcessData(102, PD_CONTROL_DEFAULTS), 1);
  EXPECT_EQ(FindProcessEntry(102), -1);
  EXPECT_EQ(StoreProcessData(105, PD_FONT_TABLE, &value, sizeof value), 1);
}

TEST_F(ProcessDataTest, RecordsAreCopiesOwnedByTheTable) {
  char text[16] = "defaults";
  ASSERT_EQ(StoreProcessData(7, PD_WINDOW_DEFAULTS, text, sizeof text), 0);
  char* stored = static_cast<char*>(GetProcessDataFor(7, PD_WINDOW_DEFAULTS));
  ASSERT_NE(stored, nullptr);
  EXPECT_NE(stored, text);
  EXPECT_EQ(memTag_rel(stored), 66);
  std::strcpy(text, "changed");
  EXPECT_STREQ(stored, "defaults");
  // A second store overwrites the block in place.
  EXPECT_EQ(StoreProcessData(7, PD_WINDOW_DEFAULTS, text, sizeof text), 0);
  EXPECT_EQ(GetProcessDataFor(7, PD_WINDOW_DEFAULTS), stored);
  EXPECT_STREQ(stored, "changed");
  EXPECT_EQ(ReplaceProcessData(7, PD_CONTROL_DEFAULTS, text, sizeof text), 1);
  EXPECT_EQ(ReplaceProcessData(8, PD_CONTROL_DEFAULTS, text, sizeof text), 0) << "no entry";
}

TEST_F(ProcessDataTest, ALargerStoreGrowsTheBlockInsteadOfOverrunningIt) {
  char small[8] = "abc";
  char large[4096];
  std::memset(large, 'L', sizeof large);
  ASSERT_EQ(StoreProcessData(9, PD_CONTROL_DEFAULTS, small, sizeof small), 0);
  ASSERT_EQ(StoreProcessData(9, PD_CONTROL_DEFAULTS, large, sizeof large), 0);
  char* stored = static_cast<char*>(GetProcessDataFor(9, PD_CONTROL_DEFAULTS));
  EXPECT_GE(memSize_rel(stored), sizeof large);
  EXPECT_EQ(stored[sizeof large - 1], 'L');
  EXPECT_EQ(ReplaceProcessData(9, PD_CONTROL_DEFAULTS, large, sizeof large), 1);
}

TEST_F(ProcessDataTest, KindsAreIndependentAndOthersAreRefused) {
  int v = 1;
  StoreProcessData(11, PD_WINDOW_DEFAULTS, &v, sizeof v);
  StoreProcessData(11, PD_CONTROL_DEFAULTS, &v, sizeof v);
  StoreProcessData(11, PD_FONT_TABLE, &v, sizeof v);
  EXPECT_EQ(ReleaseProcessData(11, PD_WINDOW_DEFAULTS), 0);
  EXPECT_EQ(GetProcessDataFor(11, PD_WINDOW_DEFAULTS), nullptr);
  EXPECT_NE(GetProcessDataFor(11, PD_CONTROL_DEFAULTS), nullptr);
  EXPECT_NE(GetProcessDataFor(11, PD_FONT_TABLE), nullptr);
  EXPECT_EQ(GetProcessDataFor(11, 3), nullptr);
  EXPECT_EQ(GetProcessDataFor(11, -1), nullptr);
  EXPECT_EQ(StoreProcessData(11, 3, &v, sizeof v), -1);
  EXPECT_EQ(ReplaceProcessData(11, 3, &v, sizeof v), 0);
  EXPECT_EQ(ReleaseProcessData(12, PD_FONT_TABLE), -1);
}
