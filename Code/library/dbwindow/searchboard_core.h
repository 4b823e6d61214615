// The position-search board's arithmetic: square geometry and the point
// under the mouse, the piece-set picture's cells, the piece codes as the
// board and the database module each write them, and the slide of a piece's
// picture paced by an injected clock.
//
// Interface: SquareOrigin, PointToSquare, PieceSetCells, PieceSetGeometry,
// PieceCell, BackgroundCell, SquareDrawable, BoardCodeFromModule,
// ModuleCodeFromBoard, BoardFromPosition, PositionFromBoard, SlidePath,
// SlideClock, RunSlide.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "position.h"

struct BoardPoint {
  int x = 0;
  int y = 0;
  bool operator==(const BoardPoint& o) const { return x == o.x && y == o.y; }
};

// The top-left corner of square `sq` (a1 = 0) on a board of squares `size`
// pixels wide; a flipped board shows h8 where a1 was.
BoardPoint SquareOrigin(int sq, int size, bool flipped);
// The square under (x, y), or -1 outside the eight by eight squares.
int PointToSquare(int x, int y, int size, bool flipped);

// The piece set picture: 9 columns of framed cells, each `cell` pixels with
// a one-pixel frame; `gutter` is what the width leaves beside them.
struct PieceSetCells {
  int cell = 0;
  int gutter = 0;
};
PieceSetCells PieceSetGeometry(int pictureWidth);

// Cells of the off-screen strip (9 columns by 12 rows of cells): the piece
// and its mask one row below; the square backgrounds in column 6.
struct StripCell {
  int column = 0;
  int row = 0;
};
constexpr StripCell kCompositionCell{6, 1};
// Board piece codes: bits 0-2 the piece (1 pawn .. 6 king), bit 3 Black.
StripCell PieceCell(uint8_t code);
StripCell BackgroundCell(int sq);  // light where (file + rank) is odd
// Squares of 1 to 100 pixels are drawn; any other size draws nothing.
bool SquareDrawable(int size);

// The board writes White 1-6 and Black 9-14; the database module's
// positions have White 9-14 and Black 1-6. Each side keeps its piece, the
// colour bit swaps where a position crosses between them.
uint8_t BoardCodeFromModule(uint8_t code);
uint8_t ModuleCodeFromBoard(uint8_t code);
void BoardFromPosition(const sPosition& position, uint8_t board[64]);
void PositionFromBoard(const uint8_t board[64], sPosition* position);

// A piece's picture moving from one point to another: one pixel a step on
// each axis, two at the animation speed -2.
struct SlidePath {
  BoardPoint current;
  BoardPoint end;
  int step = 1;
  bool Done() const { return current == end; }
  void Step();
};
SlidePath MakeSlidePath(BoardPoint start, BoardPoint end, int animationSpeed);

class SlideClock {
 public:
  virtual ~SlideClock() = default;
  virtual int64_t Now() = 0;        // performance-counter ticks
  virtual int64_t Frequency() = 0;  // ticks a second
  virtual void Pause() = 0;         // gives the processor away briefly
};

// Runs the slide: `move` is called with each new point; with a positive
// speed each step waits until 1/speed second has passed since the one
// before. Ends at the end point, or early when `stop` is set; `move` then
// gets the end point once. True when it was stopped.
bool RunSlide(SlidePath* path, int animationSpeed, SlideClock* clock, const std::atomic<int>& stop,
              const std::function<void(BoardPoint)>& move);
