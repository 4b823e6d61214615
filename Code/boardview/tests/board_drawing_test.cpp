// Board colours, the custom view, edge labels, lamps and arrows.
#include <gtest/gtest.h>

#include <cstring>

#include "arrows.h"
#include "board_drawing.h"

namespace {

BoardProjection View(BoardSetRecord* g) {
  BoardProjection view;
  view.geometry = g;
  view.leftMargin = 12;
  view.celWidth = 40;
  view.celHeight = 60;
  view.parentRect = {-300, -300, 900, 900};
  UpdateBoardOffset(&view, nullptr);
  return view;
}

BoardSetRecord Geometry(int turn, int tilt, int size = 400) {
  BoardSetRecord g{};
  g.turn = turn, g.tilt = tilt, g.vanishing = 365, g.size = size;
  g.kindWord = MakeKindWord(tilt == 360 ? 1 : 2, 2);
  return g;
}

TEST(BoardDrawing, PureBlackNeverReachesThePalette) {
  BoardColour black = FixPureBlack({0, 0, 0, 0});
  EXPECT_EQ(black.blue, 1);
  EXPECT_EQ(black.green, 1);
  EXPECT_EQ(black.red, 1);
  BoardColour dark = FixPureBlack({0, 0, 2, 0});
  EXPECT_EQ(dark.red, 2);
  EXPECT_EQ(dark.blue, 0);
}

TEST(BoardDrawing, CustomKindWordFromTiltAndSize) {
  struct Case {
    int tilt, size;
    uint32_t kind, sizeClass;
  } cases[] = {{300, 300, 2, 1}, {300, 301, 2, 2}, {300, 401, 2, 4}, {360, 200, 1, 1},
               {360, 201, 1, 2}, {360, 400, 1, 2}, {360, 401, 1, 4}, {285, 154, 2, 1}};
  for (const Case& c : cases) {
    CustomBoardView v;
    v.tilt = c.tilt, v.size = c.size;
    EXPECT_EQ(CustomBoardKindWord(v), MakeKindWord(c.kind, c.sizeClass)) << c.tilt << " " << c.size;
  }
}

TEST(BoardDrawing, LayoutViewsAreClampedWhenTakenOver) {
  CustomBoardView v;
  v.size = 20, v.tilt = 10, v.turn = -5, v.vanishing = 0;
  BoardSetRecord g{};
  TakeOverCustomView(&v, &g, 768);
  EXPECT_EQ(g.size, 154);
  EXPECT_EQ(g.tilt, 285);
  EXPECT_EQ(g.turn, 0);
  EXPECT_EQ(g.vanishing, 100);
  v.size = 5000, v.tilt = 400, v.turn = 720, v.vanishing = 9999;
  TakeOverCustomView(&v, &g, 768);
  EXPECT_EQ(g.size, 768);
  EXPECT_EQ(g.tilt, 360);
  EXPECT_EQ(g.turn, 360);
  EXPECT_EQ(g.vanishing, 600);
  EXPECT_EQ(g.kindWord, MakeKindWord(1, 4));
}

TEST(BoardDrawing, EdgeLabelsFollowTheTurn) {
  struct Case {
    int turn, letterRow, digitColumn;
  } cases[] = {{360, 7, 0}, {0, 7, 0}, {45, 7, 0}, {46, 7, 7}, {135, 7, 7},
               {180, 0, 7}, {226, 0, 0}, {270, 0, 0}, {314, 0, 0}, {315, 7, 0}, {338, 7, 0}};
  for (const Case& c : cases) {
    EdgeLabelSides s = EdgeLabelSidesForTurn(c.turn);
    EXPECT_EQ(s.letterRow, c.letterRow) << c.turn;
    EXPECT_EQ(s.digitColumn, c.digitColumn) << c.turn;
  }
  // On a flat board at 360 the letters lie below rank 1 and the digits left of the a-file.
  BoardSetRecord g = Geometry(360, 360);
  BoardProjection view = View(&g);
  std::vector<EdgeLabel> labels = EdgeLabelPlacements(view, 14, 10);
  ASSERT_EQ(labels.size(), 16u);
  ScreenPoint a1, h8;
  ASSERT_TRUE(SquareCentre(view, 7, 0, &a1, nullptr));
  ASSERT_TRUE(SquareCentre(view, 0, 7, &h8, nullptr));
  for (const EdgeLabel& l : labels) {
    if (l.text >= 'a' && l.text <= 'h') EXPECT_GT(l.at.y, a1.y) << l.text;
    if (l.text >= '1' && l.text <= '8') EXPECT_LT(l.at.x, a1.x) << l.text;
  }
  g.turn = 180;
  view = View(&g);
  labels = EdgeLabelPlacements(view, 14, 10);
  ASSERT_TRUE(SquareCentre(view, 0, 0, &a1, nullptr));  // a8 is now bottom right
  for (const EdgeLabel& l : labels) {
    if (l.text >= 'a' && l.text <= 'h') EXPECT_GT(l.at.y, a1.y) << l.text;
    if (l.text >= '1' && l.text <= '8') EXPECT_LT(l.at.x, a1.x) << l.text;
  }
}

TEST(BoardDrawing, LampsStandBesideRanksThreeAndSix) {
  for (int turn : {0, 44, 226, 300, 338, 360}) EXPECT_TRUE(LampsOnHFileSide(turn)) << turn;
  for (int turn : {45, 46, 135, 180, 225}) EXPECT_FALSE(LampsOnHFileSide(turn)) << turn;
  BoardSetRecord g = Geometry(360, 360);
  BoardProjection view = View(&g);
  ScreenPoint white, black, h3, h6;
  ASSERT_TRUE(LampPoint(view, true, 10, &white));
  ASSERT_TRUE(LampPoint(view, false, 10, &black));
  ASSERT_TRUE(SquareCentre(view, 5, 7, &h3, nullptr));
  ASSERT_TRUE(SquareCentre(view, 2, 7, &h6, nullptr));
  EXPECT_EQ(white.y, h3.y);
  EXPECT_EQ(black.y, h6.y);
  ScreenPoint g3;
  ASSERT_TRUE(SquareCentre(view, 5, 6, &g3, nullptr));
  EXPECT_EQ(white.x, h3.x + (h3.x - g3.x) / 2 + 15);  // one and a half widths beyond the edge
  // A 50-pixel square: the box reaches a fifth of it right and down.
  ScreenPoint corners[4] = {{0, 0}, {50, 0}, {50, 50}, {0, 50}};
  ScreenRect box = LampBox(360, 360, {100, 100}, 16, corners);
  EXPECT_EQ(box.left, 92);
  EXPECT_EQ(box.top, 92);
  EXPECT_EQ(box.right, 110);
  EXPECT_EQ(box.bottom, 110);
  EXPECT_EQ(LampBox(300, 300, {100, 100}, 16, corners).top, 97);  // low tilts sit 5 lower
  ScreenRect at45 = LampBox(45, 360, {100, 100}, 16, corners), at90 = LampBox(90, 360, {100, 100}, 16, corners);
  EXPECT_EQ(at45.right, at90.right);  // 45 takes the 46..135 rule
  EXPECT_EQ(at45.bottom, at90.bottom);
}

TEST(Arrows, TextsAndSlots) {
  struct Case {
    char letter;
    int pen;
  } pens[] = {{'B', 6}, {'d', 0}, {'N', 1}, {'t', 5}, {'W', 7}, {'x', 3}, {'3', 3}};
  for (const Case& c : pens) EXPECT_EQ(ArrowPenKind(c.letter), c.pen) << c.letter;

  ArrowSlot slots[kArrowSlots];
  ClearArrows(slots);
  for (const char* bad : {"Tx9e4", "Te", "Te2e9", "Ti2e4", "", "T e2e4"}) EXPECT_FALSE(AddArrow(slots, bad)) << bad;
  EXPECT_EQ(ArrowCount(), 0);
  const char* texts[] = {"Te2e4", "Bg1f3", "Wg1g3", "Na1h8", "Dd2d4", "Xb1c3", "te7e5", "Tb8c6", "Tf1c4", "Tg8f6", "Tc2c3"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(AddArrow(slots, texts[i]), i < 10) << texts[i];
  EXPECT_EQ(ArrowCount(), 10);
  EXPECT_STREQ(slots[0].from, "e2");
  EXPECT_STREQ(slots[0].to, "e4");
  EXPECT_EQ(slots[0].penKind, 5);
  EXPECT_EQ(slots[0].knight, 0);
  EXPECT_EQ(slots[1].knight, 1);
  EXPECT_EQ(slots[5].knight, 1);
  EXPECT_EQ(slots[5].penKind, 3);
  EXPECT_STREQ(slots[9].from, "g8");  // the eleventh is dropped
  ClearArrows(slots);
  EXPECT_EQ(ArrowCount(), 0);
  for (const ArrowSlot& s : slots) {
    EXPECT_EQ(s.inUse, 0);
    EXPECT_EQ(s.penKind, 3);
  }
}

TEST(Arrows, KnightJumpsCurve) {
  BoardSetRecord g = Geometry(360, 360);
  BoardProjection view = View(&g);
  ArrowSlot slots[kArrowSlots];
  ClearArrows(slots);
  ASSERT_TRUE(AddArrow(slots, "Tg1f3"));
  ASSERT_TRUE(AddArrow(slots, "Tg1g3"));
  ArrowShape knight, straight;
  ASSERT_TRUE(ComputeArrowShape(view, slots[0], &knight));
  ASSERT_TRUE(ComputeArrowShape(view, slots[1], &straight));
  EXPECT_TRUE(knight.curved);
  EXPECT_FALSE(straight.curved);
  // g1-f3 goes up and left: class 8, the ellipse centred at (to x, from y),
  // the arc running from the from-point.
  EXPECT_EQ(KnightArcClass(-1, 2, knight.from, knight.to), 8);
  EXPECT_EQ((knight.box.left + knight.box.right) / 2, knight.to.x);
  EXPECT_EQ((knight.box.top + knight.box.bottom) / 2, knight.from.y);
  EXPECT_EQ(knight.arcStart.x, knight.from.x);
  EXPECT_EQ(knight.arcEnd.y, knight.to.y);
  // Screen classes of the eight jumps from d4 on a flat board.
  struct Case {
    int df, dr, cls;
  } cases[] = {{1, 2, 1}, {2, -1, 3}, {-1, -2, 5}, {-2, 1, 7}, {2, 1, 2}, {1, -2, 4}, {-2, -1, 6}, {-1, 2, 8}};
  for (const Case& c : cases) {
    ScreenPoint from{200, 200}, to{200 + 50 * c.df, 200 - 50 * c.dr};
    EXPECT_EQ(KnightArcClass(c.df, c.dr, from, to), c.cls) << c.df << "," << c.dr;
  }
  // A tiny board draws knight arrows straight.
  BoardSetRecord tiny = Geometry(360, 360, 16);
  BoardProjection small = View(&tiny);
  ASSERT_TRUE(ComputeArrowShape(small, slots[0], &knight));
  EXPECT_FALSE(knight.curved);
}

}  // namespace

#include "arrow_raster.h"

namespace {

TEST(ArrowRaster, LinesAreBlendedAtTheirEdgesAndClipped) {
  const int w = 40, h = 30;
  std::vector<uint8_t> bits(w * 3 * h, 0);
  RasterTarget t{bits.data(), w * 3, w, h, 3, true, {0, 0, w - 1, 10}};
  StrokeRasterPath(&t, {{5, 5}, {35, 5}}, 4, {200, 100, 50}, false);
  auto red = [&](int x, int y) { return bits[y * w * 3 + x * 3 + 2]; };
  EXPECT_EQ(red(20, 5), 200);
  EXPECT_EQ(red(20, 6), 200);
  EXPECT_EQ(red(20, 7), 100);  // half covered
  EXPECT_EQ(red(20, 8), 0);
  // Nothing outside the clip rectangle.
  StrokeRasterPath(&t, {{20, 0}, {20, 29}}, 3, {200, 100, 50}, false);
  EXPECT_EQ(red(20, 11), 0);
  EXPECT_EQ(red(20, 10), 200);
  // A dotted line leaves gaps.
  std::fill(bits.begin(), bits.end(), 0);
  StrokeRasterPath(&t, {{0, 2}, {39, 2}}, 1, {255, 255, 255}, true);
  int lit = 0;
  for (int x = 0; x < w; ++x) lit += red(x, 2) > 128;
  EXPECT_GT(lit, 12);
  EXPECT_LT(lit, 28);
}

TEST(ArrowRaster, KnightArcRunsAQuarterEllipse) {
  ArrowShape s{};
  s.curved = true;
  s.from = {100, 100}, s.to = {50, 0};  // up and left: class 8
  s.box = {0, 0, 100, 200};             // centred (50, 100)
  s.arcStart = s.from, s.arcEnd = s.to;
  std::vector<PathPoint> p = ArrowPathPoints(s);
  ASSERT_GT(p.size(), 8u);
  for (const PathPoint& q : p) {
    EXPECT_GE(q.x, 50 - 1e-6);
    EXPECT_LE(q.y, 100 + 1e-6);
    double e = (q.x - 50) * (q.x - 50) / 2500 + (q.y - 100) * (q.y - 100) / 10000;
    EXPECT_NEAR(e, 1.0, 1e-6);
  }
}

}  // namespace

#include "custom_board.h"

namespace {

TEST(CustomBoard, SquaresBorderAndTransparentBackground) {
  RasterColour palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)};
  palette[PAL_CUSTOM_DARK] = {90, 60, 30};
  palette[PAL_CUSTOM_LIGHT] = {240, 220, 180};
  palette[PAL_BORDER] = {20, 20, 20};
  for (int turn : {360, 338, 180}) {
    BoardSetRecord g = Geometry(turn, 300, 400);
    BoardProjection view = View(&g);
    ComposedBoard board;
    ASSERT_TRUE(ComposeCustomBoardPixels(view, palette, &board));
    ASSERT_EQ(board.pixels.size(), size_t(board.width) * board.height);
    EXPECT_EQ(board.pixels[0], 0);  // corners lie outside the board
    // Each square's centre has its colour, a8 light.
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) {
        ScreenPoint p;
        ASSERT_TRUE(SquareCentre(view, r, c, &p, nullptr));
        int x = p.x - view.offset.x + board.registration.x, y = p.y - view.offset.y + board.registration.y;
        EXPECT_EQ(board.pixels[size_t(y) * board.width + x], (r + c) % 2 ? PAL_CUSTOM_DARK : PAL_CUSTOM_LIGHT)
            << turn << " " << r << "," << c;
      }
    // The corner a1 carries the border.
    ScreenPoint corner;
    ASSERT_TRUE(GridPoint(view, 8, 0, false, &corner));
    EXPECT_EQ(board.pixels[size_t(corner.y + board.registration.y) * board.width + corner.x + board.registration.x],
              PAL_BORDER);
  }
}

}  // namespace
