#include <windows.h>

#include <gtest/gtest.h>

#include "heapkit.h"

extern "C" __declspec(dllimport) char* HeapTestMakeText(const char* text);
extern "C" __declspec(dllimport) size_t HeapTestFreeText(char* text);

TEST(HeapkitAcrossModules, BlockFromOneDllIsFreedByAnother) {
  for (int i = 0; i < 1000; ++i) {
    char* text = HeapTestMakeText("move list");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(memTag_rel(text), 66);
    EXPECT_EQ(HeapTestFreeText(text), 10u);
  }
  // Both modules really are separate DLLs sharing the one Heapkit.dll.
  EXPECT_NE(GetModuleHandleA("heaptest_alloc.dll"), nullptr);
  EXPECT_NE(GetModuleHandleA("heaptest_free.dll"), nullptr);
  EXPECT_NE(GetModuleHandleA("Heapkit.dll"), nullptr);
}
