// The pixel art of the track bar and the tab control (edges, fills, clipped
// copies) and the tab row arithmetic, without windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_art.h"
#include "tab_layout.h"

namespace {

// An 8-bit bitmap filled with `index`, stored bottom-up (as bitmaps are made
// here) or top-down.
PackedDib* Canvas(int w, int h, uint8_t index, bool topDown = false) {
  PackedDib* dib = dibCreateWithColors(w, h, 8);
  if (topDown) dib->biHeight = -h;
  dibFillWithColor(dib, index);
  return dib;
}

// The bitmap as rows of characters: '.' for index 0, else 'a' + index - 1.
std::vector<std::string> Rows(const PackedDib* dib) {
  std::vector<std::string> rows;
  int h = dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
  for (int y = 0; y < h; ++y) {
    std::string row;
    for (int x = 0; x < dib->biWidth; ++x) {
      uint8_t v = *static_cast<const uint8_t*>(dibGetPixelAddress(dib, x, y));
      row += v ? char('a' + v - 1) : '.';
    }
    rows.push_back(row);
  }
  return rows;
}

using Picture = std::vector<std::string>;

}  // namespace

// l = light (1), d = dark (4), black is index 0 ('.'), the tile is 'e' (5).
TEST(ControlArt, RaisedEdgeAndTabFaceEdges) {
  for (bool topDown : {false, true}) {
    PackedDib* thumb = Canvas(5, 4, 5, topDown);
    ArtRaisedEdge(thumb, DibRect{0, 0, 5, 4}, 1, 4);
    EXPECT_EQ(Rows(thumb), (Picture{"aaaad", "aeeed", "aeeed", "adddd"})) << topDown;
    dibDelete(thumb);

    PackedDib* face = Canvas(6, 5, 5, topDown);
    ArtTabFaceEdges(face, 1, 4, 0);
    EXPECT_EQ(Rows(face), (Picture{"aaaaee", "aeeed.", "aeeed.", "aeeed.", "aeeee."})) << topDown;
    dibDelete(face);
  }
  // An edge around a rectangle inside a larger bitmap, and one cut by its edge.
  PackedDib* bg = Canvas(6, 4, 5);
  ArtRaisedEdge(bg, DibRect{1, 1, 4, 3}, 1, 4);
  ArtRaisedEdge(bg, DibRect{4, 2, 8, 9}, 2, 3);
  EXPECT_EQ(Rows(bg), (Picture{"eeeeee", "eaadee", "eaddbb", "eeeebe"}));
  dibDelete(bg);
}

TEST(ControlArt, TinyAndEmptyShapesStayInside) {
  // One-pixel faces and thumbs, and empty rectangles, write nothing outside.
  for (int w : {1, 2}) {
    PackedDib* face = Canvas(w, 1, 5);
    ArtTabFaceEdges(face, 1, 4, 0);
    EXPECT_EQ(Rows(face)[0][0], 'a') << w;
    dibDelete(face);
  }
  PackedDib* dib = Canvas(3, 3, 5);
  ArtRaisedEdge(dib, DibRect{1, 1, 1, 3}, 1, 4);
  ArtFill(dib, DibRect{2, 2, 2, 9}, 1);
  ArtFill(dib, DibRect{-5, -5, 1, 1}, 2);
  ArtFill(nullptr, DibRect{0, 0, 1, 1}, 2);
  EXPECT_EQ(Rows(dib), (Picture{"bee", "eee", "eee"}));
  dibDelete(dib);
}

TEST(ControlArt, ClippedCopyCutsToBothBitmaps) {
  struct Case {
    int dx, dy, sx, sy, w, h;
    bool transparent;
    int32_t copied;
    Picture result;
  };
  // Source 3 x 2: "abc" / ".de" (index 0 at its bottom-left).
  const Case cases[] = {
      {0, 0, 0, 0, 3, 2, false, 6, {"abce", ".dee", "eeee"}},
      {0, 0, 0, 0, 3, 2, true, 6, {"abce", "edee", "eeee"}},
      {2, 2, 0, 0, 3, 2, false, 2, {"eeee", "eeee", "eeab"}},  // cut at the right and bottom
      {0, 0, 1, 1, 5, 5, false, 2, {"deee", "eeee", "eeee"}},  // source ends first
      {5, 0, 0, 0, 3, 2, false, 0, {"eeee", "eeee", "eeee"}},  // nothing inside
      {0, 0, 0, 0, 0, 2, false, 0, {"eeee", "eeee", "eeee"}},
  };
  PackedDib* src = Canvas(3, 2, 0);
  const char* rows[2] = {"abc", ".de"};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      *static_cast<uint8_t*>(dibGetPixelAddress(src, x, y)) = rows[y][x] == '.' ? 0 : rows[y][x] - 'a' + 1;
  for (const Case& c : cases) {
    PackedDib* dst = Canvas(4, 3, 5);
    EXPECT_EQ(ArtClippedCopy(dst, src, c.dx, c.dy, c.sx, c.sy, c.w, c.h, c.transparent), c.copied) << c.dx;
    EXPECT_EQ(Rows(dst), c.result) << c.dx << "," << c.dy;
    dibDelete(dst);
  }
  // A block that starts before the destination's corner: its inner part lands at 0,0.
  PackedDib* dst = Canvas(4, 3, 5);
  EXPECT_EQ(ArtClippedCopy(dst, src, -1, -1, 0, 0, 3, 2, false), 2);
  EXPECT_EQ(Rows(dst), (Picture{"deee", "eeee", "eeee"}));
  dibDelete(dst);
  dibDelete(src);
}

TEST(TabLayout, InsertIndexAndRowOrder) {
  EXPECT_EQ(TabInsertIndex(0, 0), 0);
  EXPECT_EQ(TabInsertIndex(3, 3), 3);
  EXPECT_EQ(TabInsertIndex(3, 1), 1);
  EXPECT_EQ(TabInsertIndex(3, 7), 3) << "past the end: appended";
  EXPECT_EQ(TabInsertIndex(3, -1), 3);

  // Widths 30, 20, 40; the second inserted in front of the others later.
  std::vector<TabBox> boxes = {{0, 0, 30, 18}, {0, 0, 20, 18}, {0, 0, 40, 24}};
  TabLayoutFrom(boxes.data(), 3, 0);
  const int lefts[] = {0, 30, 50};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(boxes[i].left, lefts[i]);
    EXPECT_EQ(boxes[i].top, 0);
  }
  EXPECT_EQ(boxes[2].right, 90);
  EXPECT_EQ(boxes[2].bottom, 24);
  boxes.insert(boxes.begin(), TabBox{0, 0, 10, 18});
  TabLayoutFrom(boxes.data(), 4, 0);
  EXPECT_EQ(boxes[1].left, 10);
  EXPECT_EQ(boxes[3].right, 100);
}

TEST(TabLayout, HitTestSkipsTheCurrentTab) {
  const TabBox boxes[] = {{0, 0, 30, 18}, {30, 0, 50, 18}, {50, 0, 90, 24}};
  struct Case {
    int x, y, current, hit;
  };
  const Case cases[] = {
      {5, 5, 1, 0},   {30, 0, 0, 1},   {49, 17, 0, 1}, {5, 5, 0, -1},  // the current tab: none
      {95, 5, 0, -1}, {40, 20, 0, -1}, {60, 23, 0, 2}, {60, 24, 0, -1}, {-1, 5, 2, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TabHitTest(boxes, 3, c.x, c.y, c.current), c.hit)
        << c.x << "," << c.y << " current " << c.current;
  EXPECT_EQ(TabHitTest(boxes, 0, 5, 5, 1), -1);
}

TEST(TabLayout, AdjustRectRoundTrips) {
  TabBox area{10, 40, 210, 140};
  TabAdjustRect(&area, 22, true);
  EXPECT_EQ(area.left, 2);
  EXPECT_EQ(area.top, 18);
  EXPECT_EQ(area.right, 218);
  EXPECT_EQ(area.bottom, 148);
  TabAdjustRect(&area, 22, false);
  EXPECT_EQ(area.left, 10);
  EXPECT_EQ(area.top, 40);
  EXPECT_EQ(area.right, 210);
  EXPECT_EQ(area.bottom, 140);
}
