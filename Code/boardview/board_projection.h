// Board geometry and projection: the board plane turned, tilted, pushed back
// and projected in integer fixed point; square outlines, the drawing offset,
// hit tests, cel regions and depths for stacking sprites.
//
// Interface: BoardProjection with ProjectBoardPoint, GridPoint,
// SquareCentre, DepthAtY, RebuildBoardOutline, UpdateBoardOffset,
// HitTestSquare, IsOnBoardSquare, BlockRegionAt, CelRegionAt,
// SquareCelIndex, TurnBoard180Geometry, IsFlatBoard, GetSquareCornerPoints.
//
// Registration of a board picture: the projected board centre (0, 0) lies in
// the window at the drawing offset, which is (left margin - least x +
// origin x, top margin - least y + origin y); the picture's own pixel where
// the board centre lies is its registration pixel R (the board set's centre
// x, y), so the picture's top-left is the offset minus R.
#pragma once

#include <cstdint>

#include "chess_sets.h"

struct ScreenPoint {
  int32_t x, y;
};

struct ScreenRect {
  int32_t left, top, right, bottom;
};

constexpr int kMaxEdgePoints = 8;

struct EdgePolygon {
  ScreenPoint points[kMaxEdgePoints];
  int count;
  ScreenRect box;
};

struct BoardProjection {
  // Inputs, set by the board view.
  BoardSetRecord* geometry = nullptr;  // the room's copy of the board set
  int32_t leftMargin = 0;              // two average character widths of the screen font
  int32_t celWidth = 0;                // the piece set's cel size, for a tilted board's top margin
  int32_t celHeight = 0;
  ScreenRect parentRect{0, 0, 0, 0};  // client rectangle of the room window

  // Results.
  int32_t grid[9] = {};
  ScreenPoint squares[8][8][4] = {};  // window coordinates, corners running round the square
  ScreenRect squareBox{0, 0, 0, 0};   // all squares
  ScreenPoint offset{0, 0};           // window point of the projected board centre
  ScreenPoint pictureOrigin{0, 0};    // top-left of the board picture
  // Extents of the last outline build.
  int32_t topMargin = 0;
  int32_t leastX = 0, leastY = 0, greatestX = 0, greatestY = 0;
  ScreenPoint nearPoint{0, 0}, farPoint{0, 0};
  int32_t nearDepth = 0, farDepth = 0;
  // Cel regions: 16 blocks of four squares (row, column each) and 16 zones
  // round the board; regionsValid is false when the turn builds none.
  bool regionsValid = false;
  int8_t blockSquares[16][4][2] = {};
  EdgePolygon edges[16] = {};
};

bool IsFlatBoard(const BoardSetRecord& geometry);
// Normal view: turn 360, 0 or 338; turned view: 180 or 158.
enum class TurnView { Normal, Turned, Other };
TurnView ClassifyTurn(int turn);

// A board-plane point projected; the drawing offset is not added. False
// when the view has no geometry.
bool ProjectBoardPoint(const BoardProjection& view, int32_t x, int32_t y, int32_t z, ScreenPoint* out,
                       int32_t* depth);
// Grid indices 0..8; anything else projects nothing (false).
bool GridPoint(const BoardProjection& view, int row, int column, bool addOffset, ScreenPoint* out);
// Window point and stacking depth of a square's centre; false off the board.
bool SquareCentre(const BoardProjection& view, int row, int column, ScreenPoint* out, int32_t* depth);
int32_t DepthAtY(const BoardProjection& view, int32_t y);

// False when a square came out under one pixel (the build stopped there).
bool RebuildBoardOutline(BoardProjection* view);
// customView: the custom board's registration pixel, null for a regular set.
bool UpdateBoardOffset(BoardProjection* view, const ScreenPoint* customView);

// The first square in row-major order whose outline holds the point.
bool HitTestSquare(const BoardProjection& view, int32_t x, int32_t y, int* column, int* row);
bool IsOnBoardSquare(const BoardProjection& view, int32_t x, int32_t y);
bool PointInSquare(const ScreenPoint corners[4], int32_t x, int32_t y);
bool PointInEdgePolygon(const EdgePolygon& polygon, int32_t x, int32_t y);
int BlockRegionAt(const BoardProjection& view, int32_t x, int32_t y);
int CelRegionAt(const BoardProjection& view, int32_t x, int32_t y);
// The cel region of a named square for the turn, -1 for other turns or a
// name that is no square.
int SquareCelIndex(int turn, const char* name);
int SquareCelIndexAt(int turn, int column, int row);

// turn + 180 modulo 360, 0 written as 360; the outline is rebuilt.
void TurnBoard180Geometry(BoardProjection* view);
bool GetSquareCornerPoints(const BoardProjection& view, const char* name, ScreenPoint out[4]);
