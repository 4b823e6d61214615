#include "heapkit.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Heapkit, BlocksReportTheirSizeAndTag) {
  void* b = memAlloc_rel(100, HEAPKIT_TAG_RW);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(memSize_rel(b), 100u);
  EXPECT_EQ(memTag_rel(b), 66);
  std::memset(b, 0xAB, 100);
  memFree_rel(b);

  EXPECT_EQ(memSize_rel(nullptr), 0u);
  EXPECT_EQ(memTag_rel(nullptr), -1);
  memFree_rel(nullptr);
}

TEST(Heapkit, ReallocKeepsContentsAndStrdupCopies) {
  char* s = memStrdup_rel("Rookwell", HEAPKIT_TAG_RW);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(memSize_rel(s), 9u);
  auto* grown = static_cast<char*>(memReAlloc_rel(s, 4096, HEAPKIT_TAG_RW));
  ASSERT_NE(grown, nullptr);
  EXPECT_STREQ(grown, "Rookwell");
  EXPECT_EQ(memSize_rel(grown), 4096u);
  memFree_rel(grown);

  EXPECT_EQ(memStrdup_rel(nullptr, HEAPKIT_TAG_RW), nullptr);
  void* fresh = memReAlloc_rel(nullptr, 8, HEAPKIT_TAG_RW);
  EXPECT_EQ(memSize_rel(fresh), 8u);
  memFree_rel(fresh);
}

TEST(Heapkit, ImpossibleSizeIsRefusedNotWrapped) {
  EXPECT_EQ(memAlloc_rel(static_cast<size_t>(-1), HEAPKIT_TAG_RW), nullptr);
  void* b = memAlloc_rel(16, HEAPKIT_TAG_RW);
  EXPECT_EQ(memReAlloc_rel(b, static_cast<size_t>(-4), HEAPKIT_TAG_RW), nullptr);
  EXPECT_EQ(memSize_rel(b), 16u);  // the old block stays valid
  memFree_rel(b);
}
