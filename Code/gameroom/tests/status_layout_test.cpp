// Game Status layout: the measures, the four arrangements, and shrinking
// the window: labels that do not fit are hidden, never cut off.
#include "status_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

StatusLayoutInput Input(int width, int height) {
  StatusLayoutInput in{};
  in.width = width;
  in.height = height;
  for (StatusSideSizes& s : in.side) {
    s.name = {80, 16};
    s.rating = {40, 16};
    s.clock = {70, 20};
    s.timeControl = {90, 16};
    s.portrait = {64, 94};
    s.emblem = {20, 20};
  }
  in.withClocks = true;
  in.whiteAtBottom = true;
  in.buttonWidth = 24;
  in.buttonHeight = 22;
  in.lineHeight = 16;
  return in;
}

const StatusBox* Boxes(const StatusSideBoxes& b, int i) {
  const StatusBox* all[] = {&b.name, &b.rating, &b.clock, &b.timeControl, &b.portrait, &b.emblem};
  return all[i];
}

// Every shown item lies inside the client area.
void ExpectInside(const StatusLayout& l, const StatusLayoutInput& in, const std::string& what) {
  for (int s = 0; s < 2; ++s)
    for (int i = 0; i < 6; ++i) {
      const StatusBox* b = Boxes(l.side[s], i);
      if (!b->shown) continue;
      EXPECT_GE(b->x, 0) << what << " side " << s << " item " << i;
      EXPECT_LE(b->x + b->width, in.width) << what << " side " << s << " item " << i;
      EXPECT_GE(b->y, 0) << what << " side " << s << " item " << i;
      EXPECT_LE(b->y + b->height, in.height) << what << " side " << s << " item " << i;
    }
}

}  // namespace

TEST(StatusLayout, MeasuresAndBlockSets) {
  StatusLayoutInput in = Input(400, 500);
  StatusMeasures m = MeasureGameStatus(in);
  EXPECT_EQ(m.twoBlockHeight, 2 * (12 + 62));  // 20 + 20 + 16 + 6 is below the portrait's 94
  EXPECT_EQ(m.stripThreshold, 40);
  in.side[1].portrait = {0, 0};
  EXPECT_EQ(MeasureGameStatus(in).twoBlockHeight, 24);

  in = Input(400, 500);
  EXPECT_EQ(BlockSetWidth(in, kItemName | kItemEmblem | kItemRating), 20 + 80 + 48 + 16);
  EXPECT_EQ(BlockSetHeight(in, kItemName | kItemClock | kItemTimeControl), 52 + 12);
  EXPECT_EQ(BlockSetHeight(in, kItemPortrait | BlackItems(kItemPortrait)), 94 * 2 + 24);
  in.withClocks = false;
  EXPECT_EQ(BlockSetHeight(in, kItemName | kItemClock | kItemTimeControl), 16 + 12);
  in.side[0].rating = {0, 16};  // empty rating text
  EXPECT_EQ(BlockSetWidth(in, kItemName | kItemRating), 80 + 16);
}

TEST(StatusLayout, FullArrangement) {
  StatusLayoutInput in = Input(400, 500);
  StatusLayout l = LayoutGameStatus(in);
  ASSERT_EQ(l.arrangement, kStatusFull);
  const StatusSideBoxes& top = l.side[1];  // Black on top while White is at the bottom
  EXPECT_TRUE(top.portrait.shown);
  EXPECT_EQ(top.portrait.x, 8);
  EXPECT_EQ(top.portrait.y, 6);
  EXPECT_EQ(top.emblem.x, 8 + 64 + 8);
  EXPECT_EQ(top.emblem.y, 12);
  EXPECT_EQ(top.name.x, top.emblem.x + 28);
  EXPECT_EQ(top.rating.x, top.name.x + 88);
  EXPECT_EQ(top.clock.y, top.name.y + 16);
  EXPECT_EQ(top.timeControl.y, top.clock.y + 20);
  // Buttons: list width 360 centred; the spare 192 spread in six gaps of 32.
  EXPECT_EQ(l.list.width, 360);
  EXPECT_EQ(l.buttons[0].x, 20);
  EXPECT_EQ(l.buttons[6].x + 24, 380);
  EXPECT_EQ(l.buttons[0].y, 94 + 12);
  EXPECT_TRUE(l.list.shown);
  EXPECT_EQ(l.list.y, 106 + 22 + 3);
  EXPECT_EQ(l.list.height, 500 - 22 - (94 * 2 + 24) - 3);
  EXPECT_EQ(l.side[0].portrait.y, l.list.y + l.list.height + 6);
  EXPECT_EQ(l.side[0].portrait.y + 94, 500 - 6);
  ExpectInside(l, in, "full");

  // The board turned: White's block on top.
  in.whiteAtBottom = false;
  l = LayoutGameStatus(in);
  EXPECT_EQ(l.side[0].portrait.y, 6);

  // Too narrow for portraits: labels only.
  in = Input(200, 500);
  l = LayoutGameStatus(in);
  EXPECT_EQ(l.arrangement, kStatusFull);
  EXPECT_FALSE(l.side[0].portrait.shown || l.side[1].portrait.shown);
  EXPECT_EQ(l.side[1].emblem.x, 8);
}

TEST(StatusLayout, WithoutClocksAndListOnly) {
  for (int height : {500, 100, 30}) {
    StatusLayoutInput in = Input(600, height);
    in.withClocks = false;
    StatusLayout l = LayoutGameStatus(in);
    for (const StatusSideBoxes& s : l.side) {
      EXPECT_FALSE(s.clock.shown) << height;
      EXPECT_FALSE(s.timeControl.shown) << height;
      EXPECT_TRUE(s.name.shown) << height;
    }
  }
  StatusLayoutInput in = Input(400, 500);
  in.listOnly = true;
  StatusLayout l = LayoutGameStatus(in);
  EXPECT_EQ(l.arrangement, kStatusListOnly);
  for (const StatusSideBoxes& s : l.side)
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(Boxes(s, i)->shown);
  EXPECT_TRUE(l.list.shown);
  EXPECT_EQ(l.buttons[0].y, 6);
  EXPECT_EQ(l.list.y, 31);
  EXPECT_EQ(l.list.height, 500 - 31 - 6);
}

// Shrinking goes full, two rows, strip; on the way labels are hidden whole.
TEST(StatusLayout, ShrinkingHidesLabels) {
  struct {
    int width, height;
    StatusArrangement arrangement;
    int shownClocks;
  } cases[] = {
      {400, 500, kStatusFull, 2},    {400, 147, kStatusTwoRows, 2}, {400, 40, kStatusTwoRows, 2},
      {150, 100, kStatusTwoRows, 0}, {110, 100, kStatusTwoRows, 0}, {800, 39, kStatusStrip, 2},
      {300, 39, kStatusStrip, 0},    {120, 39, kStatusStrip, 0},
  };
  for (auto c : cases) {
    StatusLayoutInput in = Input(c.width, c.height);
    StatusLayout l = LayoutGameStatus(in);
    std::string what = std::to_string(c.width) + "x" + std::to_string(c.height);
    EXPECT_EQ(l.arrangement, c.arrangement) << what;
    EXPECT_EQ(l.side[0].clock.shown + l.side[1].clock.shown, c.shownClocks) << what;
    if (c.arrangement != kStatusFull) {
      ExpectInside(l, in, what);
      EXPECT_FALSE(l.list.shown || l.side[0].portrait.shown) << what;
    }
  }
  // Two rows: the clocks stand one above the other.
  StatusLayoutInput in = Input(400, 100);
  in.side[1].name = {120, 16};
  StatusLayout l = LayoutGameStatus(in);
  EXPECT_EQ(l.side[0].clock.x, l.side[1].clock.x);
  EXPECT_LT(l.side[1].name.y, 50);  // Black's row above
  EXPECT_GE(l.side[0].name.y, 50);
}

TEST(StatusLayout, MinimumSize) {
  StatusLayoutInput in = Input(400, 500);
  int w, h;
  GameStatusMinimumSize(in, 8, 30, &w, &h);
  EXPECT_EQ(w, 20 + 80 + 16 + 8);
  EXPECT_EQ(h, 50);
}
