// The master class window's certificate level and star rows.
#include "master_class.h"

#include <gtest/gtest.h>

namespace {

TEST(MasterClass, TotalEnablesOnlyTheLevelReached) {
  const struct {
    int total, button;
  } cases[] = {{-5, 0}, {0, 0}, {9, 0}, {10, 30470}, {24, 30470}, {25, 30475}, {49, 30475},
               {50, 30480}, {99, 30480}, {100, 30485}, {4000, 30485}};
  for (const auto& c : cases) EXPECT_EQ(MasterClassButton(c.total), c.button) << c.total;
}

TEST(MasterClass, StarRowsFitTheirRectangleAndAnEmptyCounterDrawsNothing) {
  int end = -1;
  // A counter of 0 or below: no stars, the row ends where it starts (and
  // nothing divides by the counter).
  for (int count : {0, -1, -100}) {
    EXPECT_TRUE(StarRowPositions(128, 515, 28, count, &end).empty()) << count;
    EXPECT_EQ(end, 128);
  }
  // A few stars stand a star's width apart.
  std::vector<int> xs = StarRowPositions(128, 515, 28, 3, &end);
  EXPECT_EQ(xs, (std::vector<int>{128, 156, 184}));
  EXPECT_EQ(end, 212);
  // Many stars close up so that the last one still ends inside the row.
  for (int count : {14, 15, 40, 387, 1000}) {
    xs = StarRowPositions(128, 515, 28, count, &end);
    ASSERT_FALSE(xs.empty());
    if (count <= 40) EXPECT_EQ(static_cast<int>(xs.size()), count);
    EXPECT_LE(end, 515) << count;
    EXPECT_GE(xs.front(), 128);
  }
}

}  // namespace
