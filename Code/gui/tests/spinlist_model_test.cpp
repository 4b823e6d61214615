// The spin list's arithmetic: moves, letters, text, sorting, layout and the
// slide's steps.
#include "spinlist_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A table of entries with the given texts.
struct Table {
  std::vector<SpinListEntry> entries;
  std::vector<SpinListEntry*> pointers;
  explicit Table(std::initializer_list<const char*> texts) : entries(texts.size()) {
    size_t i = 0;
    for (const char* t : texts) {
      std::memset(&entries[i], 0, sizeof entries[i]);
      std::strncpy(entries[i].text, t, sizeof entries[i].text - 1);
      entries[i].kind = SLE_TEXT;
      ++i;
    }
    for (auto& e : entries) pointers.push_back(&e);
  }
  SpinListEntry** data() { return pointers.data(); }
  int count() const { return int(pointers.size()); }
  std::string Order() const {
    std::string s;
    for (const SpinListEntry* e : pointers) s += std::string(e->text) + " ";
    return s;
  }
};

TEST(SpinListModel, MovesWrapOnLinesAndStopAtTheEndsOnPages) {
  struct Case {
    int code, current, count, target;
  };
  const Case cases[] = {
      {SPC_LINE_UP, 0, 12, 11},
      {SPC_LINE_UP, 5, 12, 4},
      {SPC_LINE_UP, -1, 12, 11},
      {SPC_LINE_DOWN, 11, 12, 0},
      {SPC_LINE_DOWN, 5, 12, 6},
      {SPC_LINE_DOWN, -1, 12, 0},
      {SPC_PAGE_UP, 10, 30, 0},
      {SPC_PAGE_UP, 12, 30, 2},
      {SPC_PAGE_UP, 9, 30, 0},
      {SPC_PAGE_UP, 25, 30, 15},
      {SPC_PAGE_DOWN, 25, 30, 29},
      {SPC_PAGE_DOWN, 0, 30, 10},
      {SPC_PAGE_DOWN, 19, 30, 29},
      {SPC_PAGE_DOWN, 29, 30, 29},
      {SPC_TOP, 7, 30, 0},
      {SPC_BOTTOM, 7, 30, 29},
      {SPC_LINE_UP, 0, 1, 0},
      {SPC_LINE_DOWN, 0, 1, 0},
      {SPC_LINE_DOWN, -1, 0, -1},  // empty: nothing moves
      {4, 3, 30, 3},               // thumb codes do not move the list
  };
  for (const Case& c : cases)
    EXPECT_EQ(SpinListMoveTarget(c.code, c.current, c.count), c.target)
        << "code " << c.code << " from " << c.current << " of " << c.count;
}

TEST(SpinListModel, SlideDirectionFollowsTheIndexes) {
  EXPECT_TRUE(SpinListSlidesForward(3, 4));    // next
  EXPECT_TRUE(SpinListSlidesForward(11, 0));   // wrapping from the last to the first
  EXPECT_TRUE(SpinListSlidesForward(12, 2));   // page up jumps down by ten
  EXPECT_FALSE(SpinListSlidesForward(4, 3));   // previous
  EXPECT_FALSE(SpinListSlidesForward(0, 11));  // wrapping from the first to the last
  EXPECT_FALSE(SpinListSlidesForward(0, 10));
}

TEST(SpinListModel, LetterStepsThroughRunsOfEntriesAndStartsOverAtTheFirst) {
  Table t{"Apple", "Bishop", "Black", "Blue", "castle", "bonus"};
  int current = 1;                      // Bishop
  const int expected[] = {2, 3, 1, 2};  // Black, Blue, back to the first b (Bishop), Black
  for (int want : expected) {
    current = SpinListFindByLetter(t.data(), t.count(), current, 'b');
    EXPECT_EQ(current, want);
  }
  EXPECT_EQ(SpinListFindByLetter(t.data(), t.count(), 0, 'B'), 1) << "case is ignored";
  EXPECT_EQ(SpinListFindByLetter(t.data(), t.count(), 3, 'C'), 4);
  EXPECT_EQ(SpinListFindByLetter(t.data(), t.count(), 5, 'b'), 1) << "the last entry has no next";
  EXPECT_EQ(SpinListFindByLetter(t.data(), t.count(), 0, 'z'), -1);
  EXPECT_EQ(SpinListFindByLetter(t.data(), t.count(), 0, '1'), -1) << "only letters select";
  EXPECT_EQ(SpinListFindByLetter(t.data(), t.count(), -1, 'a'), 0) << "no current entry";
  EXPECT_EQ(SpinListFindByLetter(t.data(), 0, -1, 'a'), -1);
}

TEST(SpinListModel, FindTextIsWholeTextIgnoringCase) {
  Table t{"Knight", "Bishop", "bishop pair", "ROOK"};
  EXPECT_EQ(SpinListFindText(t.data(), t.count(), "BISHOP"), 1);
  EXPECT_EQ(SpinListFindText(t.data(), t.count(), "rook"), 3);
  EXPECT_EQ(SpinListFindText(t.data(), t.count(), "Bish"), -1) << "no prefix matches";
  EXPECT_EQ(SpinListFindText(t.data(), t.count(), ""), -1);
  EXPECT_EQ(SpinListFindText(t.data(), t.count(), nullptr), -1);
  std::string longText(200, 'k');
  EXPECT_EQ(SpinListFindText(t.data(), t.count(), longText.c_str()), -1);
}

TEST(SpinListModel, SortOrdersByTextAndPlacesTheCurrentEntry) {
  struct Case {
    int order, current, mode, result;
    const char* order_after;
  };
  const Case cases[] = {
      {0, 1, SPS_FOLLOW, 3, "apple Bishop Knight pawn queen "},  // pawn moves to index 3
      {1, 1, SPS_FOLLOW, 1, "queen pawn Knight Bishop apple "},
      {0, 1, SPS_FIRST, 0, "apple Bishop Knight pawn queen "},
      {0, 1, SPS_KEEP_INDEX, 1, "apple Bishop Knight pawn queen "},
  };
  for (const Case& c : cases) {
    Table t{"Knight", "pawn", "Bishop", "queen", "apple"};
    EXPECT_EQ(SpinListSort(t.data(), t.count(), c.order, c.current, c.mode), c.result) << c.order_after;
    EXPECT_EQ(t.Order(), c.order_after);
  }
  Table t{"b", "a"};
  EXPECT_EQ(SpinListSort(t.data(), t.count(), 2, 0, 0), -1) << "unknown order";
  EXPECT_EQ(SpinListSort(t.data(), 1, 0, 0, 0), -1) << "one entry";
  EXPECT_EQ(t.Order(), "b a ");
}

TEST(SpinListModel, SortKeepsEntriesOfEqualTextInOrder) {
  Table t{"rook", "King", "ROOK", "Rook"};
  const SpinListEntry* second = t.pointers[2];
  EXPECT_EQ(SpinListSort(t.data(), t.count(), 0, 2, SPS_FOLLOW), 2);
  EXPECT_EQ(t.Order(), "King rook ROOK Rook ");
  EXPECT_EQ(t.pointers[2], second);
}

TEST(SpinListModel, TableGrowsWhenFullEveryThirtyTwo) {
  EXPECT_FALSE(SpinListTableMustGrow(0));
  EXPECT_FALSE(SpinListTableMustGrow(31));
  EXPECT_TRUE(SpinListTableMustGrow(32));
  EXPECT_FALSE(SpinListTableMustGrow(33));
  EXPECT_TRUE(SpinListTableMustGrow(64));
}

TEST(SpinListModel, LayoutPutsArrowsAtTheEndsAndTheItemBetween) {
  SpinListLayout l = SpinListLayoutFor(132, 20);
  EXPECT_EQ(l.leftX, 0);
  EXPECT_EQ(l.rightX, 117);
  EXPECT_EQ(l.buttonWidth, 16);
  EXPECT_EQ(l.buttonHeight, 20);
  EXPECT_EQ(l.itemWidth, 100);
  EXPECT_EQ(l.itemHeight, 20);
  SpinListLayout tiny = SpinListLayoutFor(20, 0);
  EXPECT_EQ(tiny.itemWidth, 0) << "never negative";
  int w = 0, h = 0;
  SpinListWindowSize(100, 20, false, 3, &w, &h);
  EXPECT_EQ(w, 132);
  EXPECT_EQ(h, 20);
  SpinListWindowSize(100, 20, true, 3, &w, &h);
  EXPECT_EQ(w, 138);
  EXPECT_EQ(h, 26);
  int iw = 0, ih = 0;
  SpinListUnpackSize(SpinListPackSize(300, 45), &iw, &ih);
  EXPECT_EQ(iw, 300);
  EXPECT_EQ(ih, 45);
  EXPECT_EQ(SpinListPackSize(300, 45), 0x002D012Cu);
}

TEST(SpinListModel, StyleChoosesTheSlideInOrderOfPrecedence) {
  EXPECT_EQ(SpinSlideStyleFor(0x50000000), SpinSlideStyle::Scroll);
  EXPECT_EQ(SpinSlideStyleFor(0x8000), SpinSlideStyle::UncoverDown);
  EXPECT_EQ(SpinSlideStyleFor(0xC000), SpinSlideStyle::UncoverRight);
  EXPECT_EQ(SpinSlideStyleFor(0xE000), SpinSlideStyle::Roll);
}

// Every step of every style stays inside the picture, and the last step of
// the uncovering styles shows all of it.
TEST(SpinListModel, SlideBandsStayInsideThePicture) {
  const SpinSlideStyle styles[] = {SpinSlideStyle::Scroll, SpinSlideStyle::UncoverDown,
                                   SpinSlideStyle::UncoverRight};
  const int sizes[][2] = {{100, 20}, {33, 7}, {4, 3}, {1, 1}};
  for (SpinSlideStyle style : styles)
    for (const auto& size : sizes)
      for (bool forward : {true, false}) {
        const int w = size[0], h = size[1];
        const int steps = SpinSlideSteps(style);
        for (int k = 1; k <= steps; ++k) {
          SpinSlideBand b = SpinSlidePlan(style, forward, k, w, h);
          std::string at = "style " + std::to_string(int(style)) + " size " + std::to_string(w) + "x" +
                           std::to_string(h) + " step " + std::to_string(k) + (forward ? " fwd" : " back");
          EXPECT_GE(b.width, 0) << at;
          EXPECT_GE(b.height, 0) << at;
          EXPECT_GE(b.srcX, 0) << at;
          EXPECT_GE(b.srcY, 0) << at;
          EXPECT_LE(b.srcX + b.width, w) << at;
          EXPECT_LE(b.srcY + b.height, h) << at;
          EXPECT_GE(b.dstX, 0) << at;
          EXPECT_LE(b.dstX + b.width, w) << at;
          EXPECT_LE(b.dstY + b.height, h) << at;
        }
        if (style != SpinSlideStyle::Scroll) {
          SpinSlideBand last = SpinSlidePlan(style, forward, steps, w, h);
          EXPECT_EQ(last.width, w);
          EXPECT_EQ(last.height, h);
        }
        EXPECT_EQ(SpinSlidePlan(style, forward, steps + 1, w, h).width, 0) << "no step past the last";
      }
  EXPECT_EQ(SpinSlideSteps(SpinSlideStyle::UncoverRight), 6);
  EXPECT_EQ(SpinSlideSteps(SpinSlideStyle::UncoverDown), 6);
  EXPECT_EQ(SpinSlideSteps(SpinSlideStyle::Scroll), 5);
  EXPECT_EQ(SpinSlideSteps(SpinSlideStyle::Roll), 5);
}

TEST(SpinListModel, ScrollStepsBringTheNewPictureInFromTheSideOfTravel) {
  // Forward: after three steps the first three fifths of the new picture
  // have come in at the right, in order.
  struct Case {
    bool forward;
    int step, scroll, srcX, dstX;
  };
  const Case cases[] = {{true, 1, -20, 0, 80}, {true, 3, -20, 40, 80}, {true, 5, -20, 80, 80},
                        {false, 1, 20, 80, 0}, {false, 3, 20, 40, 0},  {false, 5, 20, 0, 0}};
  for (const Case& c : cases) {
    SpinSlideBand b = SpinSlidePlan(SpinSlideStyle::Scroll, c.forward, c.step, 100, 20);
    EXPECT_EQ(b.scroll, c.scroll) << c.step;
    EXPECT_EQ(b.srcX, c.srcX) << c.step;
    EXPECT_EQ(b.dstX, c.dstX) << c.step;
    EXPECT_EQ(b.width, 20);
    EXPECT_EQ(b.height, 20);
  }
  SpinSlideBand down = SpinSlidePlan(SpinSlideStyle::UncoverDown, false, 2, 100, 30);
  EXPECT_EQ(down.srcY, 20);
  EXPECT_EQ(down.dstY, 20);
  EXPECT_EQ(down.height, 10);
  SpinSlideBand right = SpinSlidePlan(SpinSlideStyle::UncoverRight, true, 3, 120, 30);
  EXPECT_EQ(right.srcX, 0);
  EXPECT_EQ(right.width, 60);
}

// 8-bit image of w x h whose row y (from the top) is filled with base + y.
PackedDib* Rows(int w, int h, int base, bool topDown = false) {
  PackedDib* d = dibCreateWithColors(w, h, 8);
  if (topDown) d->biHeight = -h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(d, x, y)) = uint8_t(base + y);
  return d;
}
int At(const PackedDib* d, int x, int y) { return *static_cast<const uint8_t*>(dibGetPixelAddress(d, x, y)); }

TEST(SpinListModel, RollPushesTheOldPictureOutByFifths) {
  PackedDib* from = Rows(6, 10, 100);
  PackedDib* to = Rows(6, 10, 200, /*topDown=*/true);
  PackedDib* work = dibCreateWithColors(6, 10, 8);
  // Forward step 2: old rows 4..9 on top, new rows 0..3 below.
  ASSERT_TRUE(SpinRollCompose(work, from, to, 2, true));
  for (int y = 0; y < 6; ++y) EXPECT_EQ(At(work, 3, y), 104 + y) << y;
  for (int y = 6; y < 10; ++y) EXPECT_EQ(At(work, 3, y), 200 + y - 6) << y;
  // Backward step 2: new rows 6..9 on top, old rows 0..5 below.
  ASSERT_TRUE(SpinRollCompose(work, from, to, 2, false));
  for (int y = 0; y < 4; ++y) EXPECT_EQ(At(work, 0, y), 206 + y) << y;
  for (int y = 4; y < 10; ++y) EXPECT_EQ(At(work, 5, y), 100 + y - 4) << y;
  // Step 5 is all new.
  ASSERT_TRUE(SpinRollCompose(work, from, to, 5, true));
  for (int y = 0; y < 10; ++y) EXPECT_EQ(At(work, 2, y), 200 + y) << y;
  dibDelete(from);
  dibDelete(to);
  dibDelete(work);
}

TEST(SpinListModel, RollOverASmallerOrMissingOldPictureLeavesTheRestBlank) {
  PackedDib* from = Rows(3, 4, 100);
  PackedDib* to = Rows(6, 10, 200);
  PackedDib* work = dibCreateWithColors(6, 10, 8);
  ASSERT_TRUE(SpinRollCompose(work, from, to, 1, false));  // band of 2 new rows on top
  EXPECT_EQ(At(work, 0, 0), 208);
  EXPECT_EQ(At(work, 0, 2), 100);  // old row 0
  EXPECT_EQ(At(work, 2, 5), 103);  // old row 3, its last
  EXPECT_EQ(At(work, 3, 2), 0) << "right of the old picture";
  EXPECT_EQ(At(work, 0, 6), 0) << "below the old picture";
  ASSERT_TRUE(SpinRollCompose(work, nullptr, to, 1, true));
  EXPECT_EQ(At(work, 0, 0), 0);
  EXPECT_EQ(At(work, 0, 8), 200);
  PackedDib* deep = dibCreateWithColors(6, 10, 24);
  EXPECT_FALSE(SpinRollCompose(work, from, deep, 1, true));
  EXPECT_FALSE(SpinRollCompose(nullptr, from, to, 1, true));
  dibDelete(deep);
  dibDelete(from);
  dibDelete(to);
  dibDelete(work);
}

}  // namespace
