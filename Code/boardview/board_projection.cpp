// Board projection, outlines, hit tests and cel regions.
#include "board_projection.h"

#include <algorithm>
#include <cstdlib>

#include "fixed_math.h"
#include "square_names.h"

namespace {

// A layout may hold any vanishing value; outside this range the eye sits in
// or behind the board and the divide loses its meaning.
int32_t ClampVanishing(int32_t v) { return std::clamp<int32_t>(v, 100, 600); }

int32_t Trunc64(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void ComputeGrid(BoardProjection* view) {
  int32_t square = view->geometry->size / 4;
  for (int i = 0; i < 9; ++i) view->grid[i] = square * (i - 4);
}

ScreenPoint Offset(const BoardProjection& view, ScreenPoint p) {
  return {p.x + view.offset.x, p.y + view.offset.y};
}

int64_t Cross(ScreenPoint a, ScreenPoint b, ScreenPoint p) {
  return int64_t{b.x - a.x} * (p.y - a.y) - int64_t{b.y - a.y} * (p.x - a.x);
}

// Each segment's end points lie on different sides of the other.
bool SegmentsCross(ScreenPoint a, ScreenPoint b, ScreenPoint c, ScreenPoint d) {
  int64_t c1 = Cross(a, b, c), c2 = Cross(a, b, d), c3 = Cross(c, d, a), c4 = Cross(c, d, b);
  return ((c1 > 0) != (c2 > 0)) && ((c3 > 0) != (c4 > 0)) && c1 != 0 && c2 != 0 && c3 != 0 && c4 != 0;
}

const char* const kNormalBlocks[16] = {"a7a8b7b8", "c7c8d7d8", "e7e8f7f8", "g7g8h7h8", "a5a6b5b6", "c5c6d5d6",
                                       "e5e6f5f6", "g5g6h5h6", "a3a4b3b4", "c3c4d3d4", "e3e4f3f4", "g3g4h3h4",
                                       "a1a2b1b2", "c1c2d1d2", "e1e2f1f2", "g1g2h1h2"};
const char* const kNormalEdges[16] = {"a8b8", "c8d8", "e8f8", "g8h8", "h8h7", "h6h5", "h4h3", "h2h1",
                                      "g1h1", "e1f1", "c1d1", "a1b1", "a2a1", "a4a3", "a6a5", "a8a7"};
const char* const kTurnedEdges[16] = {"h1g1", "f1e1", "d1c1", "b1a1", "a1a2", "a3a4", "a5a6", "a7a8",
                                      "b8a8", "d8c8", "f8e8", "h8g8", "h7h8", "h5h6", "h3h4", "h1h2"};
const int kEdgeToBlock[16] = {0, 1, 2, 3, 3, 7, 11, 15, 15, 14, 13, 12, 12, 8, 4, 0};

// Where the ray from p along (dx, dy) leaves the rectangle; p itself when it
// lies outside or the ray has no direction.
ScreenPoint RayExit(ScreenPoint p, int32_t dx, int32_t dy, const ScreenRect& r) {
  if (p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom || (dx == 0 && dy == 0)) return p;
  double t = 1e18;
  if (dx > 0) t = std::min(t, double(r.right - p.x) / dx);
  if (dx < 0) t = std::min(t, double(r.left - p.x) / dx);
  if (dy > 0) t = std::min(t, double(r.bottom - p.y) / dy);
  if (dy < 0) t = std::min(t, double(r.top - p.y) / dy);
  ScreenPoint e{static_cast<int32_t>(p.x + dx * t + (dx >= 0 ? 0.5 : -0.5)),
                static_cast<int32_t>(p.y + dy * t + (dy >= 0 ? 0.5 : -0.5))};
  e.x = std::clamp(e.x, r.left, r.right);
  e.y = std::clamp(e.y, r.top, r.bottom);
  return e;
}

// Position of a boundary point along the rectangle's perimeter, clockwise
// from the top-left corner.
int64_t PerimeterPos(ScreenPoint p, const ScreenRect& r) {
  int64_t w = r.right - r.left, h = r.bottom - r.top;
  if (p.y == r.top) return p.x - r.left;
  if (p.x == r.right) return w + (p.y - r.top);
  if (p.y == r.bottom) return w + h + (r.right - p.x);
  return 2 * w + h + (r.bottom - p.y);
}

// The zone between a pair's outer edge and the room window's rectangle: the
// outer edge, the two grid lines through its ends extended outward to the
// rectangle, and the rectangle's boundary between their exits (the shorter
// way round, with any corner it passes).
void BuildEdgeZone(const BoardProjection& view, const char* pair, EdgePolygon* out) {
  out->count = 0;
  int c0, r0, c1, r1;
  if (!ParseSquareName(pair, &c0, &r0) || !ParseSquareName(pair + 2, &c1, &r1)) return;
  // Outer edge in grid indices: ends a, b and the inner grid points ia, ib.
  int ar, ac, br, bc, iar, iac, ibr, ibc;
  if (r0 == r1) {
    int line = r0 == 0 ? 0 : 8, inner = r0 == 0 ? 1 : 7;
    ac = std::min(c0, c1), bc = std::max(c0, c1) + 1;
    ar = br = line, iar = ibr = inner, iac = ac, ibc = bc;
  } else {
    int line = c0 == 0 ? 0 : 8, inner = c0 == 0 ? 1 : 7;
    ar = std::min(r0, r1), br = std::max(r0, r1) + 1;
    ac = bc = line, iac = ibc = inner, iar = ar, ibr = br;
  }
  ScreenPoint a, b, ia, ib;
  if (!GridPoint(view, ar, ac, true, &a) || !GridPoint(view, br, bc, true, &b) ||
      !GridPoint(view, iar, iac, true, &ia) || !GridPoint(view, ibr, ibc, true, &ib))
    return;
  const ScreenRect& rect = view.parentRect;
  ScreenPoint ea = RayExit(a, a.x - ia.x, a.y - ia.y, rect);
  ScreenPoint eb = RayExit(b, b.x - ib.x, b.y - ib.y, rect);
  ScreenPoint* p = out->points;
  p[out->count++] = a;
  p[out->count++] = b;
  p[out->count++] = eb;
  bool onBoundary = (eb.x == rect.left || eb.x == rect.right || eb.y == rect.top || eb.y == rect.bottom) &&
                    (ea.x == rect.left || ea.x == rect.right || ea.y == rect.top || ea.y == rect.bottom);
  if (onBoundary) {
    const ScreenPoint corners[4] = {
        {rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left, rect.bottom}, {rect.left, rect.top}};
    int64_t perimeter = 2 * (int64_t{rect.right - rect.left} + (rect.bottom - rect.top));
    int64_t from = PerimeterPos(eb, rect), to = PerimeterPos(ea, rect);
    int64_t forward = ((to - from) % perimeter + perimeter) % perimeter;
    bool clockwise = perimeter > 0 && forward <= perimeter - forward;
    int64_t cornerPos[4] = {rect.right - rect.left, (rect.right - rect.left) + (rect.bottom - rect.top),
                            2 * int64_t{rect.right - rect.left} + (rect.bottom - rect.top), perimeter};
    // Corners strictly between the two exits, in walking order.
    for (int k = 0; k < 4 && perimeter > 0; ++k) {
      int i = clockwise ? k : 3 - k;
      int64_t along = clockwise ? ((cornerPos[i] % perimeter) - from + perimeter) % perimeter
                                : (from - (cornerPos[i] % perimeter) + perimeter) % perimeter;
      int64_t span = clockwise ? forward : perimeter - forward;
      if (along > 0 && along < span && out->count < kMaxEdgePoints - 1) p[out->count++] = corners[i];
    }
    // Sorting the corners by their distance along the walk keeps the outline simple.
    std::sort(p + 3, p + out->count, [&](ScreenPoint u, ScreenPoint v) {
      auto dist = [&](ScreenPoint q) {
        int64_t pos = PerimeterPos(q, rect);
        return clockwise ? (pos - from + perimeter) % perimeter : (from - pos + perimeter) % perimeter;
      };
      return dist(u) < dist(v);
    });
  }
  p[out->count++] = ea;
  out->box = {p[0].x, p[0].y, p[0].x, p[0].y};
  for (int i = 1; i < out->count; ++i) {
    out->box.left = std::min(out->box.left, p[i].x);
    out->box.top = std::min(out->box.top, p[i].y);
    out->box.right = std::max(out->box.right, p[i].x);
    out->box.bottom = std::max(out->box.bottom, p[i].y);
  }
}

void BuildCelRegions(BoardProjection* view) {
  TurnView turn = ClassifyTurn(view->geometry->turn);
  view->regionsValid = false;
  if (turn == TurnView::Other) return;
  for (int b = 0; b < 16; ++b) {
    const char* names = kNormalBlocks[turn == TurnView::Normal ? b : 15 - b];
    int n = 0;
    ForEachSquareName(names, [&](int column, int row) {
      if (n < 4) {
        view->blockSquares[b][n][0] = static_cast<int8_t>(row);
        view->blockSquares[b][n][1] = static_cast<int8_t>(column);
        ++n;
      }
    });
    BuildEdgeZone(*view, (turn == TurnView::Normal ? kNormalEdges : kTurnedEdges)[b], &view->edges[b]);
  }
  view->regionsValid = true;
}

}  // namespace

bool IsFlatBoard(const BoardSetRecord& geometry) { return geometry.tilt == 360; }

TurnView ClassifyTurn(int turn) {
  if (turn == 360 || turn == 0 || turn == 338) return TurnView::Normal;
  if (turn == 180 || turn == 158) return TurnView::Turned;
  return TurnView::Other;
}

bool ProjectBoardPoint(const BoardProjection& view, int32_t x, int32_t y, int32_t z, ScreenPoint* out,
                       int32_t* depth) {
  if (!view.geometry) return false;
  const BoardSetRecord& g = *view.geometry;
  FixMatrix m;
  FixPoint3 p{x, y, z};
  RotationZ(&m, g.turn);
  TransformPoint(&p, m);
  RotationX(&m, g.tilt);
  TransformPoint(&p, m);
  int32_t d = Trunc64(int64_t{ClampVanishing(g.vanishing)} * view.grid[8] / 100);
  p.z -= d;
  if (depth) *depth = std::abs(p.z);
  if (d != 0) {
    int64_t w = kFixedOne + int64_t{-kFixedOne} * p.z / d;
    if (w > 0) {
      p.x = Trunc64(int64_t{p.x} * kFixedOne / w);
      p.y = Trunc64(int64_t{p.y} * kFixedOne / w);
    }
  }
  *out = {p.x, p.y};
  return true;
}

bool GridPoint(const BoardProjection& view, int row, int column, bool addOffset, ScreenPoint* out) {
  if (row < 0 || row > 8 || column < 0 || column > 8) return false;
  if (!ProjectBoardPoint(view, view.grid[column], view.grid[row], 0, out, nullptr)) return false;
  if (addOffset) *out = Offset(view, *out);
  return true;
}

bool SquareCentre(const BoardProjection& view, int row, int column, ScreenPoint* out, int32_t* depth) {
  if (row < 0 || row > 7 || column < 0 || column > 7) return false;
  int32_t s = view.grid[5];
  if (!ProjectBoardPoint(view, view.grid[column] + s / 2, view.grid[row] + s / 2, 0, out, nullptr))
    return false;
  *out = Offset(view, *out);
  if (depth) *depth = DepthAtY(view, out->y);
  return true;
}

int32_t DepthAtY(const BoardProjection& view, int32_t y) {
  int32_t yNear = view.nearPoint.y, yFar = view.farPoint.y;
  if (yFar == yNear || y >= yNear) return view.nearDepth;
  if (y <= yFar) return view.farDepth;
  int64_t fraction = int64_t{yFar - y} * 32000 / (yFar - yNear);
  return Trunc64(view.farDepth - int64_t{view.farDepth - view.nearDepth} * fraction / 32000);
}

bool RebuildBoardOutline(BoardProjection* view) {
  if (!view->geometry) return false;
  const BoardSetRecord& g = *view->geometry;
  view->topMargin = IsFlatBoard(g) ? 5 : view->celHeight - view->celWidth / 2;
  view->leastX = view->leastY = 32000;
  view->greatestX = view->greatestY = 0;
  view->nearDepth = 32000;
  view->farDepth = -32000;
  ComputeGrid(view);
  for (int r = 0; r <= 8; ++r)
    for (int c = 0; c <= 8; ++c) {
      ScreenPoint p;
      GridPoint(*view, r, c, false, &p);
      view->leastX = std::min(view->leastX, p.x);
      view->leastY = std::min(view->leastY, p.y);
      view->greatestX = std::max(view->greatestX, p.x);
      view->greatestY = std::max(view->greatestY, p.y);
    }
  ScreenRect all{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  static const int kCorner[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) {
      ScreenPoint corners[4];
      for (int k = 0; k < 4; ++k) {
        int32_t depth;
        ProjectBoardPoint(*view, view->grid[c + kCorner[k][1]], view->grid[r + kCorner[k][0]], 0, &corners[k],
                          &depth);
        corners[k] = Offset(*view, corners[k]);
        if (depth < view->nearDepth) view->nearDepth = depth, view->nearPoint = corners[k];
        if (depth > view->farDepth) view->farDepth = depth, view->farPoint = corners[k];
      }
      ScreenRect box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
      for (const ScreenPoint& p : corners) {
        box.left = std::min(box.left, p.x), box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x), box.bottom = std::max(box.bottom, p.y);
      }
      if (box.right - box.left < 1 || box.bottom - box.top < 1) return false;
      std::copy(corners, corners + 4, view->squares[r][c]);
      all.left = std::min(all.left, box.left), all.top = std::min(all.top, box.top);
      all.right = std::max(all.right, box.right), all.bottom = std::max(all.bottom, box.bottom);
    }
  view->squareBox = all;
  if (g.kindWord & kCelRegionKindBits) BuildCelRegions(view);
  return true;
}

bool UpdateBoardOffset(BoardProjection* view, const ScreenPoint* customView) {
  if (!view->geometry) return false;
  // The extents do not depend on the offset; the outline is built again
  // once the offset is known so that it never lags one step behind.
  RebuildBoardOutline(view);
  BoardSetRecord& g = *view->geometry;
  view->offset = {view->leftMargin - view->leastX + g.originX, view->topMargin - view->leastY + g.originY};
  if (customView) {
    g.centreX = view->offset.x;
    g.centreY = view->offset.y;
    view->pictureOrigin = {view->offset.x - customView->x, view->offset.y - customView->y};
  } else {
    view->pictureOrigin = {view->offset.x - g.centreX, view->offset.y - g.centreY};
  }
  return RebuildBoardOutline(view);
}

bool PointInSquare(const ScreenPoint corners[4], int32_t x, int32_t y) {
  ScreenPoint p{x, y};
  // A point on an edge counts as inside, so that shared edges belong to the
  // first square asked and the outlines tile without gaps (outlines run
  // clockwise on the screen, where "same side" alone would leave every edge
  // to no square).
  for (int i = 0; i < 4; ++i) {
    ScreenPoint a = corners[i], b = corners[(i + 1) % 4], opposite = corners[(i + 2) % 4];
    int64_t side = Cross(a, b, p);
    if (side != 0 && (side > 0) != (Cross(a, b, opposite) > 0)) return false;
  }
  return true;
}

bool PointInEdgePolygon(const EdgePolygon& polygon, int32_t x, int32_t y) {
  if (polygon.count < 3) return false;
  if (x < polygon.box.left || x > polygon.box.right || y < polygon.box.top || y > polygon.box.bottom)
    return false;
  ScreenPoint p{x, y}, far{200000, y};
  int crossings = 0;
  for (int i = 0; i < polygon.count; ++i)
    if (SegmentsCross(p, far, polygon.points[i], polygon.points[(i + 1) % polygon.count])) ++crossings;
  return crossings % 2 == 1;
}

bool HitTestSquare(const BoardProjection& view, int32_t x, int32_t y, int* column, int* row) {
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c)
      if (PointInSquare(view.squares[r][c], x, y)) {
        *column = c;
        *row = r;
        return true;
      }
  return false;
}

bool IsOnBoardSquare(const BoardProjection& view, int32_t x, int32_t y) {
  int column, row;
  return HitTestSquare(view, x, y, &column, &row);
}

int BlockRegionAt(const BoardProjection& view, int32_t x, int32_t y) {
  if (!view.regionsValid) return -1;
  for (int b = 0; b < 16; ++b)
    for (const auto& sq : view.blockSquares[b])
      if (PointInSquare(view.squares[sq[0]][sq[1]], x, y)) return b;
  return -1;
}

int CelRegionAt(const BoardProjection& view, int32_t x, int32_t y) {
  int block = BlockRegionAt(view, x, y);
  if (block >= 0 || !view.regionsValid) return block;
  for (int i = 0; i < 16; ++i)
    if (PointInEdgePolygon(view.edges[i], x, y)) return kEdgeToBlock[i];
  return -1;
}

int SquareCelIndexAt(int turn, int column, int row) {
  if (column < 0 || column > 7 || row < 0 || row > 7) return -1;
  int index = row / 2 * 4 + column / 2;
  switch (ClassifyTurn(turn)) {
    case TurnView::Normal:
      return index;
    case TurnView::Turned:
      return 15 - index;
    default:
      return -1;
  }
}

int SquareCelIndex(int turn, const char* name) {
  int column, row;
  if (!ParseSquareName(name, &column, &row)) return -1;
  return SquareCelIndexAt(turn, column, row);
}

void TurnBoard180Geometry(BoardProjection* view) {
  if (!view->geometry) return;
  int turn = (view->geometry->turn + 180) % 360;
  if (turn < 0) turn += 360;
  view->geometry->turn = turn == 0 ? 360 : turn;
  RebuildBoardOutline(view);
}

bool GetSquareCornerPoints(const BoardProjection& view, const char* name, ScreenPoint out[4]) {
  int column, row;
  if (!ParseSquareName(name, &column, &row)) return false;
  std::copy(view.squares[row][column], view.squares[row][column] + 4, out);
  return true;
}
