#include "board_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "fixed_math.h"

BoardColour FixPureBlack(BoardColour colour) {
  if (colour.blue == 0 && colour.green == 0 && colour.red == 0) colour.blue = colour.green = colour.red = 1;
  return colour;
}

void ClampCustomView(CustomBoardView* view, int32_t maxSize) {
  if (!view) return;
  view->vanishing = std::clamp(view->vanishing, kVanishingMin, kVanishingMax);
  view->tilt = std::clamp(view->tilt, kTiltMin, kTiltMax);
  view->turn = std::clamp(view->turn, kTurnMin, kTurnMax);
  int32_t top = maxSize > kSizeMin ? maxSize : kSizeMin;
  view->size = std::clamp(view->size, kSizeMin, top);
}

void TakeOverCustomView(CustomBoardView* view, BoardSetRecord* geometry, int32_t maxSize) {
  if (!view || !geometry) return;
  ClampCustomView(view, maxSize);
  geometry->size = view->size;
  geometry->tilt = view->tilt;
  geometry->turn = view->turn;
  geometry->vanishing = view->vanishing;
  geometry->kindWord = CustomBoardKindWord(*view);
}

uint32_t CustomBoardKindWord(const CustomBoardView& view) {
  if (view.tilt != 360) {
    uint32_t sizeClass = view.size >= 401 ? 4 : view.size < 301 ? 1 : 2;
    return MakeKindWord(2, sizeClass);
  }
  uint32_t sizeClass = view.size >= 401 ? 4 : view.size < 201 ? 1 : 2;
  return MakeKindWord(1, sizeClass);
}

namespace {

// Board-plane units per screen pixel along the board's width: character
// measures are pixels, the plane runs at its own scale.
int32_t PlaneUnits(const BoardProjection& view, int pixels) {
  ScreenPoint a, b;
  if (!GridPoint(view, 4, 0, false, &a) || !GridPoint(view, 4, 8, false, &b)) return pixels;
  double dx = b.x - a.x, dy = b.y - a.y;
  double length = std::sqrt(dx * dx + dy * dy);
  if (length < 1) return pixels;
  return static_cast<int32_t>(pixels * (view.grid[8] - view.grid[0]) / length);
}

}  // namespace

EdgeLabelSides EdgeLabelSidesForTurn(int turn) {
  int q = (AngleIndex(turn) + 45) % 360;
  if (q <= 90) return {7, 0};
  if (q <= 180) return {7, 7};
  if (q <= 270) return {0, 7};
  return {0, 0};
}

std::vector<EdgeLabel> EdgeLabelPlacements(const BoardProjection& view, int charHeight, int maxCharWidth) {
  std::vector<EdgeLabel> labels;
  if (!view.geometry) return labels;
  EdgeLabelSides sides = EdgeLabelSidesForTurn(view.geometry->turn);
  int32_t half = view.grid[5] / 2;
  int32_t height = PlaneUnits(view, charHeight), width = PlaneUnits(view, maxCharWidth);
  int32_t letterY = sides.letterRow == 0 ? view.grid[0] - height : view.grid[8] + height;
  int32_t digitX = sides.digitColumn == 0 ? view.grid[0] - width : view.grid[8] + width;
  for (int i = 0; i < 8; ++i) {
    ScreenPoint p;
    if (ProjectBoardPoint(view, view.grid[i] + half, letterY, 0, &p, nullptr))
      labels.push_back({static_cast<char>('a' + i), {p.x + view.offset.x, p.y + view.offset.y}});
    if (ProjectBoardPoint(view, digitX, view.grid[i] + half, 0, &p, nullptr))
      labels.push_back({static_cast<char>('8' - i), {p.x + view.offset.x, p.y + view.offset.y}});
  }
  return labels;
}

bool LampsOnHFileSide(int turn) {
  int t = turn == 360 ? 360 : AngleIndex(turn);
  return t >= 226 || t < 45;
}

bool LampPoint(const BoardProjection& view, bool white, int maxCharWidth, ScreenPoint* out) {
  if (!view.geometry || !out) return false;
  int row = white ? 5 : 2;
  int32_t reach = PlaneUnits(view, maxCharWidth * 3 / 2);
  int32_t x = LampsOnHFileSide(view.geometry->turn) ? view.grid[8] + reach : view.grid[0] - reach;
  ScreenPoint p;
  if (!ProjectBoardPoint(view, x, view.grid[row] + view.grid[5] / 2, 0, &p, nullptr)) return false;
  *out = {p.x + view.offset.x, p.y + view.offset.y};
  return true;
}

ScreenRect LampBox(int turn, int tilt, ScreenPoint lamp, int charHeight, const ScreenPoint c[4]) {
  int t = turn == 360 ? 360 : AngleIndex(turn);
  int32_t a, b;
  if (t < 45 || t >= 316) {
    a = std::abs(c[1].x - c[0].x), b = std::abs(c[3].y - c[0].y);
  } else if (t <= 135) {
    a = std::abs(c[0].x - c[3].x), b = std::abs(c[2].y - c[3].y);
  } else if (t <= 225) {
    a = std::abs(c[3].x - c[2].x), b = std::abs(c[1].y - c[2].y);
  } else {
    a = std::abs(c[2].x - c[1].x), b = std::abs(c[0].y - c[1].y);
  }
  ScreenRect r;
  r.left = lamp.x - charHeight / 2;
  r.top = lamp.y - charHeight / 2 + (tilt < 301 ? 5 : 0);
  r.right = lamp.x + a / 5;
  r.bottom = lamp.y + b / 5;
  return r;
}
