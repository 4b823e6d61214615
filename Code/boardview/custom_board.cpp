#include "custom_board.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "board_drawing.h"

namespace {

constexpr int kSamples = 4;
constexpr int kPad = 3;  // room for the border outside the outermost squares

struct Quad {
  double x[4], y[4];
};

bool InsideQuad(const Quad& q, double px, double py) {
  // Convex, either winding: the point lies on one side of every edge.
  int sign = 0;
  for (int k = 0; k < 4; ++k) {
    int j = (k + 1) % 4;
    double cross = (q.x[j] - q.x[k]) * (py - q.y[k]) - (q.y[j] - q.y[k]) * (px - q.x[k]);
    int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
    if (s == 0) continue;
    if (sign == 0) sign = s;
    if (s != sign) return false;
  }
  return true;
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
  double u = l2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / l2, 0.0, 1.0) : 0.0;
  return std::hypot(px - ax - u * dx, py - ay - u * dy);
}

}  // namespace

int NearestPaletteIndex(const RasterColour palette[256], RasterColour c, int first, int last) {
  int best = first;
  long bestDistance = -1;
  for (int i = first; i <= last; ++i) {
    long dr = palette[i].red - c.red, dg = palette[i].green - c.green, db = palette[i].blue - c.blue;
    long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (bestDistance < 0 || d < bestDistance) best = i, bestDistance = d;
  }
  return best;
}

bool ComposeCustomBoardPixels(const BoardProjection& view, const RasterColour palette[256], ComposedBoard* out) {
  if (!view.geometry || !out) return false;
  ScreenPoint grid[9][9];
  int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
  for (int r = 0; r <= 8; ++r)
    for (int c = 0; c <= 8; ++c) {
      if (!GridPoint(view, r, c, false, &grid[r][c])) return false;
      minX = std::min(minX, grid[r][c].x), maxX = std::max(maxX, grid[r][c].x);
      minY = std::min(minY, grid[r][c].y), maxY = std::max(maxY, grid[r][c].y);
    }
  if (maxX - minX < 8 || maxY - minY < 8) return false;
  int32_t left = minX - kPad, top = minY - kPad;
  out->width = maxX - minX + 2 * kPad + 1;
  out->height = maxY - minY + 2 * kPad + 1;
  out->registration = {-left, -top};
  size_t area = static_cast<size_t>(out->width) * out->height;
  // Samples per pixel: light, dark.
  std::vector<uint8_t> light(area, 0), dark(area, 0);
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) {
      Quad q;
      const ScreenPoint corners[4] = {grid[r][c], grid[r][c + 1], grid[r + 1][c + 1], grid[r + 1][c]};
      double qx0 = 1e9, qy0 = 1e9, qx1 = -1e9, qy1 = -1e9;
      for (int k = 0; k < 4; ++k) {
        q.x[k] = corners[k].x - left, q.y[k] = corners[k].y - top;
        qx0 = std::min(qx0, q.x[k]), qx1 = std::max(qx1, q.x[k]);
        qy0 = std::min(qy0, q.y[k]), qy1 = std::max(qy1, q.y[k]);
      }
      // a8 (row 0, column 0) is light; colours alternate along rows and columns.
      std::vector<uint8_t>& counts = (r + c) % 2 == 0 ? light : dark;
      for (int y = std::max(0, int(qy0) - 1); y <= std::min(out->height - 1, int(qy1) + 1); ++y)
        for (int x = std::max(0, int(qx0) - 1); x <= std::min(out->width - 1, int(qx1) + 1); ++x) {
          int n = 0;
          for (int sy = 0; sy < kSamples; ++sy)
            for (int sx = 0; sx < kSamples; ++sx)
              n += InsideQuad(q, x - 0.5 + (sx + 0.5) / kSamples + 1e-4, y - 0.5 + (sy + 0.5) / kSamples + 2e-4);
          uint8_t& slot = counts[static_cast<size_t>(y) * out->width + x];
          slot = static_cast<uint8_t>(std::min(kSamples * kSamples, slot + n));
        }
    }
  const ScreenPoint outline[4] = {grid[0][0], grid[0][8], grid[8][8], grid[8][0]};
  const RasterColour lightColour = palette[PAL_CUSTOM_LIGHT], darkColour = palette[PAL_CUSTOM_DARK],
                     borderColour = palette[PAL_BORDER];
  out->pixels.assign(area, 0);
  for (int y = 0; y < out->height; ++y)
    for (int x = 0; x < out->width; ++x) {
      size_t i = static_cast<size_t>(y) * out->width + x;
      double l = light[i], d = dark[i];
      double inside = std::min(1.0, (l + d) / (kSamples * kSamples));
      // The border: a 2-pixel pen along the board's four outer edges.
      double edge = 1e9;
      for (int k = 0; k < 4; ++k) {
        const ScreenPoint a = outline[k], b = outline[(k + 1) % 4];
        edge = std::min(edge, SegmentDistance(x, y, a.x - left, a.y - top, b.x - left, b.y - top));
      }
      double border = std::clamp(1.0 + 0.5 - edge, 0.0, 1.0);
      double cover = std::max(inside, border);
      if (cover < 0.5) continue;  // transparent
      if (border >= 1.0) {
        out->pixels[i] = PAL_BORDER;
        continue;
      }
      if (border <= 0.0 && (l == 0 || d == 0)) {
        out->pixels[i] = l > 0 ? PAL_CUSTOM_LIGHT : PAL_CUSTOM_DARK;
        continue;
      }
      double total = l + d;
      double wr = 0, wg = 0, wb = 0;
      if (total > 0) {
        wr = (l * lightColour.red + d * darkColour.red) / total;
        wg = (l * lightColour.green + d * darkColour.green) / total;
        wb = (l * lightColour.blue + d * darkColour.blue) / total;
      } else {
        wr = borderColour.red, wg = borderColour.green, wb = borderColour.blue;
      }
      wr += (borderColour.red - wr) * border;
      wg += (borderColour.green - wg) * border;
      wb += (borderColour.blue - wb) * border;
      RasterColour mixed{uint8_t(std::lround(wr)), uint8_t(std::lround(wg)), uint8_t(std::lround(wb))};
      out->pixels[i] = static_cast<uint8_t>(NearestPaletteIndex(palette, mixed, 10, 245));
    }
  return true;
}
