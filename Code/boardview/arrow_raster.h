// Antialiased drawing of arrows straight into a scene canvas of 16 (5-5-5)
// or 24 bits: a stroked path (a line or a quarter ellipse, dotted or solid)
// and round heads, each pixel blended by how much of it the shape covers.
//
// Interface: RasterTarget, RasterColour, ArrowPathPoints, StrokeRasterPath,
// FillRasterDisc, DrawArrowRaster, ArrowPenStyle.
#pragma once

#include <cstdint>
#include <vector>

#include "arrows.h"

struct RasterTarget {
  uint8_t* bits;
  int32_t stride;
  int32_t width, height;
  int bytesPerPixel;  // 2 (5-5-5) or 3
  bool topDown;
  ScreenRect clip;  // inclusive; pixels outside are never touched
};

struct RasterColour {
  uint8_t red, green, blue;
};

struct PathPoint {
  double x, y;
};

// The line of an arrow: two points, or the quarter ellipse sampled every
// few pixels from arcStart counter-clockwise (on screen) to arcEnd.
std::vector<PathPoint> ArrowPathPoints(const ArrowShape& shape);

void StrokeRasterPath(RasterTarget* target, const std::vector<PathPoint>& path, double width,
                      RasterColour colour, bool dotted);
void FillRasterDisc(RasterTarget* target, PathPoint centre, double radius, RasterColour colour);
// An ellipse in a box (inclusive corners): filled when ring is 0, else a
// ring of that width inside the box.
void FillRasterEllipse(RasterTarget* target, const ScreenRect& box, RasterColour colour, double ring);

struct ArrowPenStyle {
  double width;
  bool dotted;
  RasterColour line, head;
};
ArrowPenStyle ArrowPenStyleFor(int penKind);
constexpr RasterColour kArrowTan{231, 209, 148}, kArrowWhite{254, 254, 254}, kArrowBlack{1, 1, 1},
    kArrowRed{191, 0, 0};
constexpr int kArrowHeadRadius = 5, kArrowDotRadius = 2;

// Line, head of radius 5 in the pen's colour, red dot of radius 2.
void DrawArrowRaster(RasterTarget* target, const ArrowShape& shape, int penKind);
