// The OS-free utilities: file-name check, name-pointer order, rounding
// division and the list-box scrolling rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "win_utils.h"

namespace {

TEST(WinUtils, FileNames) {
  for (const char* bad : {"a:b", "a|b", "a\\b", "a/b", "a*", "a?", "\"a\"", "<a", "a>"}) EXPECT_EQ(IsValidFileName(bad), 0) << bad;
  for (const char* good : {"My game.pgn", "a b . c", "...", "", "Tarn - Age 12"}) EXPECT_EQ(IsValidFileName(good), 1) << good;
  EXPECT_EQ(IsValidFileName(nullptr), 0);
}

TEST(WinUtils, NamePointersSortByteWise) {
  const char* names[] = {"beta", "Alpha", "alpha", "\xe9t\xe9", "al"};
  std::qsort(names, 5, sizeof names[0], CompareNamePointers);
  const char* sorted[] = {"Alpha", "al", "alpha", "beta", "\xe9t\xe9"};
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(names[i], sorted[i]);
}

TEST(WinUtils, DivRound) {
  struct Case {
    int a, d, b, result;
  } cases[] = {{10, 4, 2, 3}, {0, 1, 0, 0}, {7, 2, 1, 4}, {-1, 4, 2, 0}, {10, 2, 2, 0}, {10, 4, -1, 0},
               {2147483647, 2, 1, 1073741824}};
  for (const Case& c : cases) EXPECT_EQ(DivRound(c.a, c.d, c.b), c.result) << c.a << " " << c.d << " " << c.b;
}

TEST(WinUtils, ListBoxTopForItem) {
  struct Case {
    int item, top, count, height, itemHeight, result;
  } cases[] = {
      {5, 3, 20, 100, 20, 3},    // visible: top stays
      {7, 3, 20, 100, 20, 3},    // last fully visible
      {8, 3, 20, 100, 20, 4},    // below: becomes the last visible
      {1, 3, 20, 100, 20, 1},    // above: becomes the top
      {4, 3, 20, 10, 20, 4},     // at least one visible
      {20, 0, 20, 100, 20, -1},  // bad index
      {-1, 0, 20, 100, 20, -1},
      {0, 0, 0, 100, 20, -1},    // empty list
      {0, 0, 5, 100, 0, -1},     // no item height
  };
  for (const Case& c : cases) EXPECT_EQ(ListBoxTopForItem(c.item, c.top, c.count, c.height, c.itemHeight), c.result) << c.item;
}

}  // namespace
