// Arrows over the board: the ten slots of a board view, the arrow text that
// names one ("Te2e4": a colour letter, then the from and to squares), and
// the shape each is drawn in: a straight line, or a quarter ellipse for a
// knight's jump.
//
// Interface: ArrowSlot, kArrowSlots, ArrowPenKind, AddArrow, ClearArrows,
// ArrowCount, CopyArrowSlot, IsKnightJump, KnightArcClass, ArrowShape,
// ComputeArrowShape.
#pragma once

#include <cstdint>

#include "board_projection.h"

constexpr int kArrowSlots = 10;

struct ArrowSlot {
  char from[3];
  char to[3];
  int32_t penKind;  // 3 when free
  int32_t knight;
  int32_t inUse;
};

enum ArrowPen { PEN_TAN_DOTTED = 0, PEN_TAN_THIN = 1, PEN_TAN = 3, PEN_TAN_THICK = 5, PEN_BLACK = 6, PEN_WHITE = 7 };

// B 6, D 0, N 1, T 5, W 7, either case; anything else 3.
int ArrowPenKind(char letter);
// Takes the first free slot for an arrow text of five characters whose last
// four name two squares a1..h8; a full table or any other text adds nothing.
bool AddArrow(ArrowSlot slots[kArrowSlots], const char* text);
void ClearArrows(ArrowSlot slots[kArrowSlots]);
void InitArrowSlots(ArrowSlot slots[kArrowSlots]);
// Arrows added since the last clear, program-wide.
int ArrowCount();
void CopyArrowSlot(ArrowSlot slots[kArrowSlots], const ArrowSlot& slot);

bool IsKnightJump(int fromColumn, int fromRow, int toColumn, int toRow);
// The screen class 1..8 of a knight arrow from its jump (df files, dr ranks
// up) and its two window points.
int KnightArcClass(int df, int dr, ScreenPoint from, ScreenPoint to);

// Boxes with a side of this many pixels or fewer draw a knight arrow straight.
constexpr int32_t kSmallestArcSide = 4;

struct ArrowShape {
  bool curved;
  ScreenPoint from, to;
  // Curved: the ellipse's box and the arc drawn counter-clockwise from
  // arcStart to arcEnd (both on the ellipse).
  ScreenRect box;
  ScreenPoint arcStart, arcEnd;
};
// False when a square name is no square or the view has no geometry.
bool ComputeArrowShape(const BoardProjection& view, const ArrowSlot& slot, ArrowShape* out);
