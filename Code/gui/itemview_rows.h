// The row store and scrolling arithmetic of the scrolling item view, free of
// the window system (itemview.cpp puts them on a window).
//
// A row store keeps, per item, a width and a data word, only one of them, or
// nothing at all (a virtual view: only the count), as its two layout flags
// say. It grows by 64 items when full.
//
// Interface: ItemRows and its rows* functions; svRowCounts, svVScrollDelta,
// svHScrollDelta, svEnsureTop, svHitRow, svVerticalBarWanted,
// svHorizontalBarWanted.
#pragma once

#include <cstdint>

constexpr int32_t kItemRowsGrowth = 64;

struct ItemRows {
  // Elements of pointer-sized words, so that a data word can hold a handle
  // (4 bytes each in the 32-bit build, 8 in the 64-bit one).
  intptr_t* words;  // null until the first insertion or reservation
  int32_t count;
  int32_t capacity;
  bool sharedWidth;  // items carry no width: every item counts as the document width
  bool indexData;    // items carry no data: an item's data is its index
};

void rowsInit(ItemRows* rows, bool indexData, bool sharedWidth);
void rowsFree(ItemRows* rows);
// Words per element: 2, 1 or 0.
int rowsElementWords(const ItemRows& rows);
// Changes the capacity by n (may be negative; never below the count).
// The new capacity, or -2 when memory runs out (nothing changed).
int32_t rowsReserve(ItemRows* rows, int32_t n);
// Inserts at index 0..count. The new count, -1 for a bad index, -2 when
// memory runs out (nothing changed).
int32_t rowsInsert(ItemRows* rows, int32_t index, intptr_t data, int32_t width);
// Removes first..last. The new count, or -1 for a bad range. *widest gets
// the greatest width among the removed items (0 when widths are shared).
int32_t rowsDelete(ItemRows* rows, int32_t first, int32_t last, int32_t* widest);
intptr_t rowsData(const ItemRows& rows, int32_t index);  // 0 for a bad index
int32_t rowsWidth(const ItemRows& rows, int32_t index);  // 0 without widths
int32_t rowsWidest(const ItemRows& rows);
// The first item from start (or 0 for -1) whose data equals data, wrapping
// round to the start when one was given; -1 when none.
int32_t rowsFind(const ItemRows& rows, int32_t start, intptr_t data);

// Rows of a client area `height` pixels high: whole rows, and rows with a
// partial last one. Nothing changes while the item height is 0.
void svRowCounts(int32_t height, int32_t itemHeight, int32_t* fullRows, int32_t* visibleRows);

// Rows the top moves by for a vertical scroll code (positive: down).
int32_t svVScrollDelta(int code, int32_t track, int32_t count, int32_t top, int32_t fullRows,
                       int32_t lineStep, int32_t pageStep);
// Pixels the offset moves by for a horizontal scroll code (positive: right).
int32_t svHScrollDelta(int code, int32_t track, int32_t docWidth, int32_t offset, int32_t clientWidth,
                       int32_t lineStep, int32_t pageStep);
// The top row that shows item i (0 <= i < count).
int32_t svEnsureTop(int32_t i, int32_t top, int32_t fullRows, int32_t count, bool asTop);
// The item under a point y pixels into the client area; -1 for no items.
int32_t svHitRow(int32_t y, int32_t itemHeight, int32_t top, int32_t count, int32_t visibleRows);

inline bool svVerticalBarWanted(int32_t count, int32_t fullRows) { return count >= 2 && count > fullRows; }
inline bool svHorizontalBarWanted(int32_t count, int32_t docWidth, int32_t clientWidth) {
  return count > 0 && docWidth > clientWidth;
}
