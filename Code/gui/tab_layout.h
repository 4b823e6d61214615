// The tab row of the tab control: where an inserted tab goes, the tabs'
// rectangles laid left to right, which tab a click hits, and the conversion
// between the control's window rectangle and its display area. Rectangles
// are half-open (right and bottom excluded). Nothing here needs the
// operating system.
//
// Interface: TabBox, kTabSideMargin, TabInsertIndex, TabLayoutFrom,
// TabHitTest, TabAdjustRect.
#pragma once

#include <cstdint>

struct TabBox {
  int32_t left, top, right, bottom;
};

// The body's margin at the left, right and bottom of the display area.
constexpr int32_t kTabSideMargin = 8;

// The index an inserted tab takes among `count` tabs: the position asked
// for when it is 0..count, else the end of the row.
int32_t TabInsertIndex(int32_t count, int32_t position);

// Lays the boxes from index `first` on end to end along the top row: each
// keeps its width and height and starts at the right edge of the one before
// (the first at 0).
void TabLayoutFrom(TabBox* boxes, int32_t count, int32_t first);

// The first tab in row order whose box holds the point and which is not the
// current one; -1 when there is none.
int32_t TabHitTest(const TabBox* boxes, int32_t count, int32_t x, int32_t y, int32_t current);

// larger: display area -> window (the row above, the margin at the three
// other sides); otherwise window -> display area.
void TabAdjustRect(TabBox* rect, int32_t rowHeight, bool larger);
