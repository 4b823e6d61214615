#include "arrow_raster.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

uint8_t* PixelAt(RasterTarget* t, int x, int y) {
  int row = t->topDown ? y : t->height - 1 - y;
  return t->bits + static_cast<ptrdiff_t>(row) * t->stride + x * t->bytesPerPixel;
}

uint8_t Mix(uint8_t under, uint8_t over, double a) {
  return static_cast<uint8_t>(std::lround(under + (over - under) * a));
}

void Blend(RasterTarget* t, int x, int y, RasterColour c, double a) {
  if (a <= 0) return;
  if (a > 1) a = 1;
  uint8_t* p = PixelAt(t, x, y);
  if (t->bytesPerPixel >= 3) {
    p[0] = Mix(p[0], c.blue, a);
    p[1] = Mix(p[1], c.green, a);
    p[2] = Mix(p[2], c.red, a);
    return;
  }
  uint16_t v = static_cast<uint16_t>(p[0] | p[1] << 8);
  auto expand = [](int five) { return static_cast<uint8_t>(five << 3 | five >> 2); };
  uint8_t r = Mix(expand(v >> 10 & 31), c.red, a), g = Mix(expand(v >> 5 & 31), c.green, a),
          b = Mix(expand(v & 31), c.blue, a);
  v = static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
  p[0] = static_cast<uint8_t>(v), p[1] = static_cast<uint8_t>(v >> 8);
}

// The drawable box of a shape's bounds, clipped to the target.
bool Bounds(const RasterTarget* t, double x0, double y0, double x1, double y1, int* l, int* tp, int* r, int* b) {
  *l = std::max({static_cast<int>(std::floor(x0)), static_cast<int>(t->clip.left), 0});
  *tp = std::max({static_cast<int>(std::floor(y0)), static_cast<int>(t->clip.top), 0});
  *r = std::min({static_cast<int>(std::ceil(x1)), static_cast<int>(t->clip.right), t->width - 1});
  *b = std::min({static_cast<int>(std::ceil(y1)), static_cast<int>(t->clip.bottom), t->height - 1});
  return *l <= *r && *tp <= *b;
}

double AngleOf(PathPoint p, double cx, double cy, double rx, double ry) {
  // Screen y runs down: counter-clockwise on screen is the angle of (x, -y).
  return std::atan2(-(p.y - cy) / ry, (p.x - cx) / rx);
}

}  // namespace

std::vector<PathPoint> ArrowPathPoints(const ArrowShape& s) {
  std::vector<PathPoint> points;
  if (!s.curved) {
    points.push_back({double(s.from.x), double(s.from.y)});
    points.push_back({double(s.to.x), double(s.to.y)});
    return points;
  }
  double cx = (s.box.left + s.box.right) / 2.0, cy = (s.box.top + s.box.bottom) / 2.0;
  double rx = (s.box.right - s.box.left) / 2.0, ry = (s.box.bottom - s.box.top) / 2.0;
  PathPoint start{double(s.arcStart.x), double(s.arcStart.y)}, end{double(s.arcEnd.x), double(s.arcEnd.y)};
  double a0 = AngleOf(start, cx, cy, rx, ry), a1 = AngleOf(end, cx, cy, rx, ry);
  while (a1 <= a0) a1 += 2 * kPi;
  int steps = std::max(8, static_cast<int>((a1 - a0) * std::max(rx, ry) / 3));
  for (int i = 0; i <= steps; ++i) {
    double a = a0 + (a1 - a0) * i / steps;
    points.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
  }
  points.front() = start;
  points.back() = end;
  return points;
}

void StrokeRasterPath(RasterTarget* t, const std::vector<PathPoint>& path, double width, RasterColour colour,
                      bool dotted) {
  if (!t || !t->bits || path.size() < 2) return;
  double half = width / 2;
  double minX = path[0].x, maxX = minX, minY = path[0].y, maxY = minY;
  for (const PathPoint& p : path) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  int l, tp, r, b;
  if (!Bounds(t, minX - half - 1, minY - half - 1, maxX + half + 1, maxY + half + 1, &l, &tp, &r, &b)) return;
  int w = r - l + 1, h = b - tp + 1;
  // Coverage of each pixel by the whole path, so joints are not blended twice.
  std::vector<float> mask(static_cast<size_t>(w) * h, 0.0f);
  double along = 0;
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    PathPoint a = path[i], c = path[i + 1];
    double dx = c.x - a.x, dy = c.y - a.y, length2 = dx * dx + dy * dy, length = std::sqrt(length2);
    int sl, st, sr, sb;
    if (Bounds(t, std::min(a.x, c.x) - half - 1, std::min(a.y, c.y) - half - 1, std::max(a.x, c.x) + half + 1,
               std::max(a.y, c.y) + half + 1, &sl, &st, &sr, &sb)) {
      for (int y = st; y <= sb; ++y)
        for (int x = sl; x <= sr; ++x) {
          double px = x - a.x, py = y - a.y;
          double u = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
          double ex = px - u * dx, ey = py - u * dy;
          double cover = std::clamp(half + 0.5 - std::sqrt(ex * ex + ey * ey), 0.0, 1.0);
          if (dotted && std::fmod(along + u * length, 4.0) >= 2.0) cover = 0;
          float& m = mask[static_cast<size_t>(y - tp) * w + (x - l)];
          m = std::max(m, static_cast<float>(cover));
        }
    }
    along += length;
  }
  for (int y = tp; y <= b; ++y)
    for (int x = l; x <= r; ++x) Blend(t, x, y, colour, mask[static_cast<size_t>(y - tp) * w + (x - l)]);
}

void FillRasterDisc(RasterTarget* t, PathPoint centre, double radius, RasterColour colour) {
  if (!t || !t->bits) return;
  int l, tp, r, b;
  if (!Bounds(t, centre.x - radius - 1, centre.y - radius - 1, centre.x + radius + 1, centre.y + radius + 1, &l,
              &tp, &r, &b))
    return;
  for (int y = tp; y <= b; ++y)
    for (int x = l; x <= r; ++x) {
      double d = std::hypot(x - centre.x, y - centre.y);
      Blend(t, x, y, colour, std::clamp(radius + 0.5 - d, 0.0, 1.0));
    }
}

void FillRasterEllipse(RasterTarget* t, const ScreenRect& box, RasterColour colour, double ring) {
  if (!t || !t->bits) return;
  double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  double rx = std::max(0.5, (box.right - box.left + 1) / 2.0), ry = std::max(0.5, (box.bottom - box.top + 1) / 2.0);
  // Roughly how many pixels a point lies inside an ellipse shrunk by `by`.
  auto inside = [&](double x, double y, double by) {
    double ax = rx - by, ay = ry - by;
    if (ax <= 0 || ay <= 0) return -1e9;
    double n = std::sqrt((x - cx) * (x - cx) / (ax * ax) + (y - cy) * (y - cy) / (ay * ay));
    return (1 - n) * std::min(ax, ay);
  };
  int l, tp, r, b;
  if (!Bounds(t, box.left - 1, box.top - 1, box.right + 1, box.bottom + 1, &l, &tp, &r, &b)) return;
  for (int y = tp; y <= b; ++y)
    for (int x = l; x <= r; ++x) {
      double cover = std::clamp(inside(x, y, 0) + 0.5, 0.0, 1.0);
      if (ring > 0) cover -= std::clamp(inside(x, y, ring) + 0.5, 0.0, 1.0);
      Blend(t, x, y, colour, cover);
    }
}

ArrowPenStyle ArrowPenStyleFor(int penKind) {
  switch (penKind) {
    case PEN_TAN_DOTTED: return {1, true, kArrowTan, kArrowTan};
    case PEN_TAN_THIN: return {1, false, kArrowTan, kArrowTan};
    case PEN_TAN_THICK: return {5, false, kArrowTan, kArrowTan};
    case PEN_BLACK: return {3, false, kArrowBlack, kArrowBlack};
    case PEN_WHITE: return {3, false, kArrowWhite, kArrowWhite};
    default: return {3, false, kArrowTan, kArrowTan};
  }
}

void DrawArrowRaster(RasterTarget* t, const ArrowShape& shape, int penKind) {
  ArrowPenStyle style = ArrowPenStyleFor(penKind);
  StrokeRasterPath(t, ArrowPathPoints(shape), style.width, style.line, style.dotted);
  PathPoint head{double(shape.to.x), double(shape.to.y)};
  FillRasterDisc(t, head, kArrowHeadRadius, style.head);
  FillRasterDisc(t, head, kArrowDotRadius, kArrowRed);
}
