// Painted scroll-bar arithmetic and the item view's row store and scrolling.
#include "scroll_math.h"

#include <gtest/gtest.h>

#include <vector>

#include "itemview_rows.h"

namespace {

ScrollInfo Info(int min, int max, int page, int pos) { return ScrollInfo{28, 7, min, max, page, pos, pos}; }

}  // namespace

TEST(ScrollMath, NormalizeClampsPageAndPosition) {
  struct Case {
    ScrollInfo in;
    int max, page, pos, change;
    bool changed;
  };
  const Case cases[] = {
      {Info(0, 9, 4, 8), 9, 4, 6, -2, true},  // highest position 9 - 3 = 6
      {Info(0, 9, 4, 6), 9, 4, 6, 0, false},
      {Info(0, 9, 50, 3), 9, 10, 0, -3, true},  // a page larger than the range fills it
      {Info(5, 2, 1, 0), 4, 0, 5, 5, true},     // maximum raised to minimum - 1
      {Info(0, 9, 0, -4), 9, 0, 0, 4, true},
  };
  for (const Case& c : cases) {
    ScrollInfo info = c.in;
    int32_t change = 99;
    EXPECT_EQ(sbNormalize(&info, &change), c.changed);
    EXPECT_EQ(info.maximum, c.max);
    EXPECT_EQ(info.page, c.page);
    EXPECT_EQ(info.position, c.pos);
    EXPECT_EQ(change, c.change);
  }
  EXPECT_EQ(sbHighest(Info(0, 9, 4, 0)), 6);
  EXPECT_EQ(sbHighest(Info(0, 9, 0, 0)), 9);
}

TEST(ScrollMath, ThumbLengthOffsetAndDragPosition) {
  // Track of 100 pixels, range 0..9 page 4: thumb 40, travel 60 over 6 positions.
  ScrollInfo info = Info(0, 9, 4, 3);
  EXPECT_EQ(sbThumbLength(info, 100, 10), 40);
  EXPECT_EQ(sbThumbOffset(info, 100, 40), 30);
  EXPECT_EQ(sbPositionForPixel(info, 100, 40, 30), 3);
  EXPECT_EQ(sbPositionForPixel(info, 100, 40, -20), 0);
  EXPECT_EQ(sbPositionForPixel(info, 100, 40, 500), 6);
  // A thumb shorter than its caps is drawn at the caps' length, never past the track.
  EXPECT_EQ(sbThumbLength(Info(0, 999, 1, 0), 100, 12), 12);
  EXPECT_EQ(sbThumbLength(Info(0, 999, 1, 0), 8, 12), 8);
  // The page fills the track: the thumb is the track and drags go nowhere.
  ScrollInfo full = Info(0, 99, 100, 0);
  EXPECT_EQ(sbThumbLength(full, 100, 10), 100);
  EXPECT_EQ(sbPositionForPixel(full, 100, 100, 50), 0);
}

TEST(ScrollMath, LayoutPlacesTheFiveParts) {
  SbRect parts[SBP_COUNT] = {};
  const SbRect bar{100, 0, 116, 140};
  sbLayoutParts(parts, bar, true, kSbAllParts, 16, 16, 30, 40);
  EXPECT_EQ(parts[SBP_FIRST_ARROW].bottom, 16);
  EXPECT_EQ(parts[SBP_SECOND_ARROW].top, 124);
  EXPECT_EQ(parts[SBP_PAGE_BEFORE].top, 16);
  EXPECT_EQ(parts[SBP_PAGE_BEFORE].bottom, 46);
  EXPECT_EQ(parts[SBP_THUMB].top, 46);
  EXPECT_EQ(parts[SBP_THUMB].bottom, 86);
  EXPECT_EQ(parts[SBP_PAGE_AFTER].top, 86);
  EXPECT_EQ(parts[SBP_PAGE_AFTER].bottom, 124);
  EXPECT_EQ(parts[SBP_THUMB].left, 100);
  EXPECT_EQ(sbTrackLength(parts, true), 108);
  // Only the moving parts: the arrows stay.
  sbLayoutParts(parts, bar, true, kSbMovingParts, 16, 16, 0, 40);
  EXPECT_EQ(parts[SBP_THUMB].top, 16);
  EXPECT_EQ(parts[SBP_PAGE_AFTER].top, 56);
  EXPECT_EQ(parts[SBP_FIRST_ARROW].bottom, 16);
}

TEST(ScrollMath, ActionsMoveWithinTheRangeAndRespectTheCursor) {
  SbRect parts[SBP_COUNT] = {};
  sbLayoutParts(parts, SbRect{0, 0, 16, 140}, true, kSbAllParts, 16, 16, 30, 40);
  ScrollInfo info = Info(0, 9, 4, 5);
  int32_t p = -1;
  struct Case {
    int action;
    int pos;
    bool withPoint;
    int y;
    bool acts;
    int result;
  };
  const Case cases[] = {
      {SBA_LINE_FORWARD, 5, false, 0, true, 6},
      {SBA_LINE_FORWARD, 6, false, 0, false, 0},  // at the highest position
      {SBA_LINE_BACK, 0, false, 0, false, 0},
      {SBA_LINE_BACK, 5, true, 60, false, 0},  // the cursor rests on the thumb
      {SBA_LINE_BACK, 5, true, 5, true, 4},
      {SBA_PAGE_FORWARD, 1, false, 0, true, 4},  // page 4 less one line
      {SBA_PAGE_FORWARD, 5, false, 0, true, 6},
      {SBA_PAGE_FORWARD, 1, true, 20, false, 0},  // the cursor left the page area after the thumb
      {SBA_PAGE_BACK, 5, true, 20, true, 2},
      {SBA_END_SCROLL, 5, false, 0, true, 5},
  };
  for (const Case& c : cases) {
    info.position = c.pos;
    int32_t point[2] = {5, c.y};
    bool acts = sbActionPosition(info, c.action, parts, c.withPoint ? point : nullptr, 1, 0, 108, 40, 0, &p);
    EXPECT_EQ(acts, c.acts) << c.action << " at " << c.pos;
    if (acts) {
      EXPECT_EQ(p, c.result) << c.action << " at " << c.pos;
    }
  }
  EXPECT_TRUE(sbActionPosition(info, SBA_THUMB_TRACK, parts, nullptr, 1, 0, 108, 40, 68, &p));
  EXPECT_EQ(p, 6);
}

TEST(ScrollMath, WheelNotchesKeepTheRemainder) {
  int32_t remainder = 0;
  EXPECT_EQ(sbWheelNotches(&remainder, 60), 0);
  EXPECT_EQ(sbWheelNotches(&remainder, 60), 1) << "two steps of 60 make one notch";
  EXPECT_EQ(remainder, 0);
  EXPECT_EQ(sbWheelNotches(&remainder, -300), -2);
  EXPECT_EQ(remainder, -60);
  EXPECT_EQ(sbEffectivePageStep(Info(0, 9, 4, 0), 1, 0), 3);
  EXPECT_EQ(sbEffectivePageStep(Info(0, 9, 4, 0), 1, -2), 3);
  EXPECT_EQ(sbEffectivePageStep(Info(0, 9, 1, 0), 1, 0), 1);
  EXPECT_EQ(sbEffectivePageStep(Info(0, 9, 4, 0), 1, 7), 7);
}

TEST(ItemRows, GrowsBy64AndKeepsOrder) {
  ItemRows rows;
  rowsInit(&rows, false, false);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(rowsInsert(&rows, i, 1000 + i, i), i + 1);
  EXPECT_EQ(rows.capacity, 64);
  EXPECT_EQ(rowsInsert(&rows, 0, 7, 5), 65);
  EXPECT_EQ(rows.capacity, 128);
  EXPECT_EQ(rowsData(rows, 0), 7);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(rowsData(rows, i + 1), 1000 + i);
  EXPECT_EQ(rowsInsert(&rows, 67, 0, 0), -1);
  EXPECT_EQ(rowsInsert(&rows, -1, 0, 0), -1);
  EXPECT_EQ(rowsData(rows, 65), 0);
  rowsFree(&rows);
}

TEST(ItemRows, LayoutsDeletionWidestAndFind) {
  for (int layout = 0; layout < 4; ++layout) {
    bool indexData = layout & 1, shared = layout & 2;
    ItemRows rows;
    rowsInit(&rows, indexData, shared);
    const int widths[] = {10, 90, 30, 90, 20};
    for (int i = 0; i < 5; ++i) rowsInsert(&rows, i, 100 + i, widths[i]);
    EXPECT_EQ(rows.words == nullptr, indexData && shared) << layout;
    int32_t widest = -1;
    EXPECT_EQ(rowsDelete(&rows, 1, 2, &widest), 3);
    EXPECT_EQ(widest, shared ? 0 : 90);
    EXPECT_EQ(rowsWidest(rows), shared ? 0 : 90);
    EXPECT_EQ(rowsData(rows, 1), indexData ? 1 : 103);
    EXPECT_EQ(rowsDelete(&rows, 2, 1, nullptr), -1);
    EXPECT_EQ(rowsDelete(&rows, 0, 3, nullptr), -1);
    if (!indexData) {
      EXPECT_EQ(rowsFind(rows, -1, 104), 2);
      EXPECT_EQ(rowsFind(rows, 2, 100), 0) << "wraps round to the start";
      EXPECT_EQ(rowsFind(rows, -1, 55), -1);
    } else {
      EXPECT_EQ(rowsFind(rows, -1, 55), 55);
    }
    rowsFree(&rows);
  }
}

TEST(ItemViewMath, ScrollCodesStayInsideTheRows) {
  // 10 items, 4 full rows, line 1, page 3.
  struct Case {
    int code, top, track, delta;
  };
  const Case cases[] = {{0, 0, 0, 0}, {0, 3, 0, -1}, {1, 6, 0, 0}, {1, 5, 0, 1}, {2, 2, 0, -2},
                        {3, 0, 0, 3}, {3, 5, 0, 1},  {5, 2, 6, 4}, {4, 2, 6, 0}, {8, 2, 0, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(svVScrollDelta(c.code, c.track, 10, c.top, 4, 1, 3), c.delta) << c.code << " from " << c.top;
  // Horizontal: line scrolling by 6 pixels with an offset of 3 stops at 0.
  EXPECT_EQ(svHScrollDelta(0, 0, 500, 3, 200, 6, 50), -3);
  EXPECT_EQ(svHScrollDelta(1, 0, 500, 298, 200, 6, 50), 2);
  EXPECT_EQ(svHScrollDelta(3, 0, 150, 0, 200, 6, 50), 0);
}

TEST(ItemViewMath, EnsureVisibleAndHitTest) {
  struct Case {
    int i, top, full, count;
    bool asTop;
    int newTop;
  };
  const Case cases[] = {
      {5, 5, 4, 10, false, 5}, {7, 5, 4, 10, false, 5}, {9, 0, 4, 10, false, 6},  {2, 5, 4, 10, false, 2},
      {8, 0, 4, 10, true, 6},  {1, 0, 4, 10, true, 1},  {3, 2, 20, 10, false, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(svEnsureTop(c.i, c.top, c.full, c.count, c.asTop), c.newTop) << c.i;
  // Row height 16, top 2, 5 visible rows, 4 items: a point below the last row hits it.
  EXPECT_EQ(svHitRow(0, 16, 2, 10, 5), 2);
  EXPECT_EQ(svHitRow(40, 16, 2, 10, 5), 4);
  EXPECT_EQ(svHitRow(400, 16, 2, 10, 5), 6);
  EXPECT_EQ(svHitRow(400, 16, 0, 3, 5), 2);
  EXPECT_EQ(svHitRow(-30, 16, 2, 10, 5), 2);
  EXPECT_EQ(svHitRow(5, 16, 0, 0, 5), -1);
  int32_t full = -1, visible = -1;
  svRowCounts(70, 16, &full, &visible);
  EXPECT_EQ(full, 4);
  EXPECT_EQ(visible, 5);
  svRowCounts(70, 0, &full, &visible);
  EXPECT_EQ(full, 4) << "no item height: nothing recounted";
}
