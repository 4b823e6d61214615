// The message box's button sets and results, its placement and cascade,
// and the countdown of boxes that close themselves.
#include "message_box_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxRules, ResultOfEveryButtonInEverySet) {
  struct Row {
    uint32_t set;
    int b300, b1, b2, close;
  };
  const Row rows[] = {{0, 1, 1, 1, 1}, {1, 1, 1, 2, 2}, {2, 3, 4, 5, 5}, {3, 6, 7, 2, 2},
                      {4, 6, 7, 7, 7}, {5, 4, 4, 2, 2}, {15, 1, 1, 2, 2}, {9, 1, 1, 1, 1}};
  for (const Row& r : rows) {
    EXPECT_EQ(MessageBoxResult(r.set, BOX_BUTTON_300), r.b300) << r.set;
    EXPECT_EQ(MessageBoxResult(r.set, BOX_BUTTON_1), r.b1) << r.set;
    EXPECT_EQ(MessageBoxResult(r.set, BOX_BUTTON_2), r.b2) << r.set;  // also Escape
    EXPECT_EQ(MessageBoxCloseResult(r.set), r.close) << r.set;
  }
  EXPECT_EQ(MessageBoxResult(4 | 0x30, BOX_BUTTON_2), 7);  // icon bits leave the set alone
  EXPECT_EQ(MessageBoxResult(0, 99), 0);
}

TEST(MessageBoxRules, VisibleButtonsOfEachSet) {
  struct Row {
    uint32_t set;
    int count, first, last;
  };
  const Row rows[] = {{0, 1, 1, 1}, {1, 2, 1, 2}, {2, 3, 300, 2}, {3, 3, 300, 2},
                      {4, 2, 300, 1}, {5, 2, 1, 2}, {15, 1, 2, 2}, {7, 1, 1, 1}};
  for (const Row& r : rows) {
    const BoxButtonSet b = MessageBoxButtons(r.set);
    EXPECT_EQ(b.count, r.count) << r.set;
    EXPECT_EQ(b.ids[0], r.first) << r.set;
    EXPECT_EQ(b.ids[b.count - 1], r.last) << r.set;
  }
  const BoxButtonSet yesNo = MessageBoxButtons(4);
  EXPECT_EQ(yesNo.captions[0], 4);  // "Yes"
  EXPECT_EQ(yesNo.captions[1], 5);  // "No"
}

bool Same(const ShellRect& a, const ShellRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MessageBoxRules, BoxesCascadeAndTheNextAfterAllCloseGoesBack) {
  const ShellRect area{0, 0, 1024, 740};
  BoxPlacement p;
  p.Load(100, 200);
  const ShellRect first = p.Place(300, 150, area);
  EXPECT_TRUE(Same(first, {100, 200, 400, 350}));
  const ShellRect second = p.Place(300, 150, area);
  EXPECT_TRUE(Same(second, {117, 216, 417, 366}));
  EXPECT_EQ(p.OpenCount(), 2);
  EXPECT_FALSE(p.Closed());  // the box rectangle still stands at the loaded place
  p.Closed();
  EXPECT_TRUE(Same(p.Place(300, 180, area), {100, 200, 400, 380}));
  p.Closed();
  // A box moved by the user: its place is the one written back.
  p.Place(300, 150, area);
  p.Moved({500, 50, 800, 200});
  EXPECT_TRUE(p.Closed());
  EXPECT_TRUE(Same(p.Place(300, 150, area), {500, 50, 800, 200}));
}

TEST(MessageBoxRules, PlacementStaysInTheWorkArea) {
  const ShellRect area{0, 0, 800, 600};
  BoxPlacement p;
  p.Load(-1, -1);  // nothing remembered
  EXPECT_TRUE(Same(p.Place(300, 150, area), {0, 0, 300, 150}));
  p.Closed();
  p.Moved({700, 550, 1000, 700});
  EXPECT_TRUE(Same(p.Place(300, 150, area), {500, 450, 800, 600}));
}

TEST(MessageBoxRules, ThreeSecondBoxIsDueOnTheFourthTickAndAgainAfter) {
  BoxCountdown c;
  int a = 0, b = 0;
  c.Add(&a, 3);
  c.Add(&b, kNoTimeout);
  for (int tick = 1; tick <= 3; ++tick) EXPECT_TRUE(c.Tick().empty()) << tick;
  EXPECT_EQ(c.Tick(), std::vector<void*>{&a});
  for (int tick = 0; tick < 100; ++tick) EXPECT_EQ(c.Tick(), std::vector<void*>{&a});  // until it is gone
  EXPECT_EQ(c.Boxes(), (std::vector<void*>{&b, &a}));  // newest first
  c.Remove(&a);
  EXPECT_TRUE(c.Tick().empty());
  EXPECT_EQ(c.Size(), 1u);
}

}  // namespace
