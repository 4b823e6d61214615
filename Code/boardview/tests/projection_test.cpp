// Projection, outlines, hit tests and cel regions.
#include <gtest/gtest.h>

#include "board_projection.h"
#include "fixed_math.h"

namespace {

BoardSetRecord Geometry(int turn, int tilt, int vanishing, int size,
                        uint32_t kind = MakeKindWord(BOARD_FLAT, 1)) {
  BoardSetRecord g{};
  g.turn = turn;
  g.tilt = tilt;
  g.vanishing = vanishing;
  g.size = size;
  g.kindWord = kind;
  return g;
}

BoardProjection View(BoardSetRecord* g, int celW = 40, int celH = 60) {
  BoardProjection view;
  view.geometry = g;
  view.leftMargin = 12;
  view.celWidth = celW;
  view.celHeight = celH;
  view.parentRect = {-300, -300, 900, 900};
  UpdateBoardOffset(&view, nullptr);
  return view;
}

TEST(FixedMath, TablesAndAngles) {
  EXPECT_EQ(FixSin(1), 572);
  EXPECT_EQ(FixCos(1), 32762);
  EXPECT_EQ(FixSin(90), 32767);
  EXPECT_EQ(FixSin(-90), -32767);  // not the sine of +90
  EXPECT_EQ(FixSin(-1), -572);
  EXPECT_EQ(FixCos(360), FixCos(0));
  EXPECT_EQ(AngleIndex(-361), 359);
  FixMatrix m;
  RotationZ(&m, 90);
  FixVector v{{100, 0, 0, 1}};
  VectorTimesMatrix(&v, m);
  EXPECT_EQ(v.v[0], 0);
  EXPECT_EQ(v.v[1], 100);
}

TEST(Projection, FlatBoardTilesWithoutGaps) {
  for (int turn : {360, 0}) {
    BoardSetRecord g = Geometry(turn, 360, 365, 400);
    BoardProjection view = View(&g);
    // The board is the board size wide, squares size / 8.
    EXPECT_EQ(view.squareBox.right - view.squareBox.left, 400);
    EXPECT_EQ(view.squareBox.bottom - view.squareBox.top, 400);
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) {
        const ScreenPoint* q = view.squares[r][c];
        EXPECT_EQ(q[1].x - q[0].x, 50);
        EXPECT_EQ(q[3].y - q[0].y, 50);
        EXPECT_EQ(q[0].y, q[1].y);  // axis-aligned
        EXPECT_EQ(q[0].x, q[3].x);
        if (c < 7) {
          EXPECT_EQ(q[1].x, view.squares[r][c + 1][0].x);
        }
        if (r < 7) {
          EXPECT_EQ(q[3].y, view.squares[r + 1][c][0].y);
        }
      }
    // Top-left square at the margins.
    EXPECT_EQ(view.squares[0][0][0].x, 12);
    EXPECT_EQ(view.squares[0][0][0].y, 5);
    // Every point of the board lies in exactly the first square asked.
    int column, row;
    for (int y = view.squareBox.top; y <= view.squareBox.bottom; y += 7)
      for (int x = view.squareBox.left; x <= view.squareBox.right; x += 7)
        EXPECT_TRUE(HitTestSquare(view, x, y, &column, &row)) << x << "," << y;
    // A shared edge goes to the first square in row-major order.
    ASSERT_TRUE(HitTestSquare(view, view.squares[0][1][0].x, view.squares[0][1][0].y + 10, &column, &row));
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);
    EXPECT_FALSE(HitTestSquare(view, view.squareBox.right + 1, view.squareBox.top + 5, &column, &row));
  }
}

TEST(Projection, TurnsAndGridRange) {
  BoardSetRecord a = Geometry(0, 300, 365, 400), b = Geometry(360, 300, 365, 400);
  BoardProjection va = View(&a), vb = View(&b);
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c)
      for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(va.squares[r][c][k].x, vb.squares[r][c][k].x);
        EXPECT_EQ(va.squares[r][c][k].y, vb.squares[r][c][k].y);
      }
  TurnBoard180Geometry(&vb);
  EXPECT_EQ(b.turn, 180);
  TurnBoard180Geometry(&vb);
  EXPECT_EQ(b.turn, 360);
  ScreenPoint p{-5, -5};
  for (int bad : {9, 10, -1}) {
    EXPECT_FALSE(GridPoint(vb, bad, 0, false, &p));
    EXPECT_FALSE(GridPoint(vb, 0, bad, false, &p));
  }
  EXPECT_TRUE(GridPoint(vb, 8, 8, false, &p));
}

// One perspective view worked out by hand: turn 360, tilt 315, vanishing
// 365, size 400 (squares of 100 units, H = 400, d = 1460).
// sin 315 = -23170, cos 315 = 23170.
// a8's far corner (-400, -400, 0): y = trunc(-400 * 23170 / 32767) = -282,
//   z = -282 - 1460 = -1742, w = 32767 + trunc(32767 * 1742 / 1460) = 71862,
//   x = trunc(-400 * 32767 / 71862) = -182, y = trunc(-282 * 32767 / 71862) = -128.
// h1's near corner (400, 400, 0): y = 282, z = 282 - 1460 = -1178,
//   w = 32767 + trunc(32767 * 1178 / 1460) = 59205,
//   x = trunc(400 * 32767 / 59205) = 221, y = trunc(282 * 32767 / 59205) = 156.
TEST(Projection, PerspectiveCornersByHand) {
  BoardSetRecord g = Geometry(360, 315, 365, 400, MakeKindWord(BOARD_PERSPECTIVE, 4));
  BoardProjection view = View(&g);
  ScreenPoint p;
  int32_t depth;
  ASSERT_TRUE(ProjectBoardPoint(view, -400, -400, 0, &p, &depth));
  EXPECT_EQ(p.x, -182);
  EXPECT_EQ(p.y, -128);
  EXPECT_EQ(depth, 1742);
  ASSERT_TRUE(ProjectBoardPoint(view, 400, 400, 0, &p, &depth));
  EXPECT_EQ(p.x, 221);
  EXPECT_EQ(p.y, 156);
  EXPECT_EQ(depth, 1178);
  // The outline starts at the margins: least x at the near corners, least y at the far edge.
  EXPECT_EQ(view.leastX, -221);
  EXPECT_EQ(view.leastY, -128);
  EXPECT_EQ(view.topMargin, 60 - 20);
  EXPECT_EQ(view.offset.x, 12 + 221);
  EXPECT_EQ(view.offset.y, 40 + 128);
  EXPECT_EQ(view.squares[0][0][0].x, 233 - 182);
  EXPECT_EQ(view.squares[7][7][2].y, 168 + 156);
  // Far ranks are narrower than near ones.
  EXPECT_LT(view.squares[0][0][1].x - view.squares[0][0][0].x,
            view.squares[7][0][2].x - view.squares[7][0][3].x);
}

TEST(Projection, DepthAtY) {
  BoardSetRecord g = Geometry(360, 315, 365, 400, MakeKindWord(BOARD_PERSPECTIVE, 4));
  BoardProjection view = View(&g);
  EXPECT_EQ(view.nearDepth, 1178);
  EXPECT_EQ(view.farDepth, 1742);
  int32_t yNear = view.nearPoint.y, yFar = view.farPoint.y;
  EXPECT_EQ(DepthAtY(view, yNear), 1178);
  EXPECT_EQ(DepthAtY(view, yNear + 50), 1178);
  EXPECT_EQ(DepthAtY(view, yFar), 1742);
  EXPECT_EQ(DepthAtY(view, yFar - 50), 1742);
  int32_t mid = (yNear + yFar) / 2;
  int64_t fraction = int64_t{yFar - mid} * 32000 / (yFar - yNear);
  EXPECT_EQ(DepthAtY(view, mid), 1742 - (1742 - 1178) * fraction / 32000);
  EXPECT_GT(DepthAtY(view, mid), 1178);
  EXPECT_LT(DepthAtY(view, mid), 1742);
  BoardSetRecord flat = Geometry(360, 360, 365, 400);
  BoardProjection fv = View(&flat);
  EXPECT_EQ(DepthAtY(fv, 100), fv.nearDepth);  // all corners at one depth
}

TEST(Projection, VanishingValuesOutOfRangeAreClamped) {
  for (int v : {0, -50, 99, 10000}) {
    BoardSetRecord g = Geometry(360, 300, v, 400), ref = Geometry(360, 300, v < 100 ? 100 : 600, 400);
    BoardProjection a = View(&g), b = View(&ref);
    EXPECT_EQ(a.squares[3][3][0].x, b.squares[3][3][0].x) << v;
  }
  BoardSetRecord tiny = Geometry(360, 300, 365, 2);  // H = 0: nothing to divide by
  BoardProjection t;
  t.geometry = &tiny;
  EXPECT_FALSE(RebuildBoardOutline(&t));
}

TEST(Projection, SquareCelIndex) {
  EXPECT_EQ(SquareCelIndex(360, "e4"), 10);
  EXPECT_EQ(SquareCelIndex(180, "e4"), 5);
  EXPECT_EQ(SquareCelIndex(360, "a8"), 0);
  EXPECT_EQ(SquareCelIndex(158, "a8"), 15);
  EXPECT_EQ(SquareCelIndex(338, "h1"), 15);
  EXPECT_EQ(SquareCelIndex(90, "e4"), -1);
  EXPECT_EQ(SquareCelIndex(360, "i4"), -1);
}

TEST(Projection, CelRegions) {
  for (int tilt : {360, 300}) {
    BoardSetRecord g = Geometry(360, tilt, 365, 320, MakeKindWord(BOARD_KIND4, 4));
    BoardProjection view = View(&g);
    ASSERT_TRUE(view.regionsValid);
    // Inside the board a region is the block of the square's cel.
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) {
        ScreenPoint centre;
        SquareCentre(view, r, c, &centre, nullptr);
        EXPECT_EQ(CelRegionAt(view, centre.x, centre.y), SquareCelIndexAt(360, c, r));
      }
    // Outside: each edge zone maps to its block.
    const struct {
      int row, column;  // a grid point just outside the board
      int dx, dy;
      int block;
    } kOutside[] = {
        {0, 1, 0, -6, 0},  {0, 7, 0, -6, 3}, {1, 8, 6, 0, 3},  {3, 8, 6, 0, 7},  {5, 8, 6, 0, 11},
        {7, 8, 6, 0, 15},  {8, 7, 0, 6, 15}, {8, 5, 0, 6, 14}, {8, 3, 0, 6, 13}, {8, 1, 0, 6, 12},
        {7, 0, -6, 0, 12}, {5, 0, -6, 0, 8}, {3, 0, -6, 0, 4}, {1, 0, -6, 0, 0},
    };
    for (const auto& o : kOutside) {
      ScreenPoint a;
      GridPoint(view, o.row, o.column, true, &a);
      EXPECT_EQ(CelRegionAt(view, a.x + o.dx, a.y + o.dy), o.block)
          << o.row << "," << o.column << " tilt " << tilt;
    }
    EXPECT_EQ(BlockRegionAt(view, view.squareBox.left - 5, view.squareBox.top - 5), -1);
  }
  BoardSetRecord turned = Geometry(180, 360, 365, 320, MakeKindWord(BOARD_KIND4, 4));
  BoardProjection view = View(&turned);
  ScreenPoint centre;
  SquareCentre(view, 4, 4, &centre, nullptr);  // e4, seen from Black's side
  EXPECT_EQ(CelRegionAt(view, centre.x, centre.y), 5);
  BoardSetRecord other = Geometry(90, 360, 365, 320, MakeKindWord(BOARD_KIND4, 4));
  BoardProjection ov = View(&other);
  EXPECT_FALSE(ov.regionsValid);
  EXPECT_EQ(CelRegionAt(ov, 100, 100), -1);
}

}  // namespace
