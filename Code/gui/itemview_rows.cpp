// Row store and scrolling arithmetic of the item view: see itemview_rows.h.
#include "itemview_rows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

void rowsInit(ItemRows* rows, bool indexData, bool sharedWidth) {
  *rows = ItemRows{};
  rows->indexData = indexData;
  rows->sharedWidth = sharedWidth;
}

void rowsFree(ItemRows* rows) {
  std::free(rows->words);
  rows->words = nullptr;
  rows->capacity = 0;
  rows->count = 0;
}

int rowsElementWords(const ItemRows& rows) { return (rows.sharedWidth ? 0 : 1) + (rows.indexData ? 0 : 1); }

int32_t rowsReserve(ItemRows* rows, int32_t n) {
  int32_t capacity = std::max(rows->capacity + n, rows->count);
  const int words = rowsElementWords(*rows);
  if (words && capacity != rows->capacity) {
    size_t bytes = size_t(std::max(capacity, 1)) * words * sizeof(intptr_t);
    auto* grown = static_cast<intptr_t*>(std::realloc(rows->words, bytes));
    if (!grown) return -2;
    if (capacity > rows->capacity)
      std::memset(grown + size_t(rows->capacity) * words, 0,
                  size_t(capacity - rows->capacity) * words * sizeof(intptr_t));
    rows->words = grown;
  }
  rows->capacity = capacity;
  return capacity;
}

namespace {
// Word offsets in an element: width first, then data.
int WidthWord(const ItemRows& rows) { return rows.sharedWidth ? -1 : 0; }
int DataWord(const ItemRows& rows) { return rows.indexData ? -1 : (rows.sharedWidth ? 0 : 1); }
}  // namespace

int32_t rowsInsert(ItemRows* rows, int32_t index, intptr_t data, int32_t width) {
  if (index < 0 || index > rows->count) return -1;
  const int words = rowsElementWords(*rows);
  if (words) {
    if (rows->count >= rows->capacity && rowsReserve(rows, kItemRowsGrowth) < 0) return -2;
    intptr_t* at = rows->words + size_t(index) * words;
    std::memmove(at + words, at, size_t(rows->count - index) * words * sizeof(intptr_t));
    if (WidthWord(*rows) >= 0) at[WidthWord(*rows)] = width;
    if (DataWord(*rows) >= 0) at[DataWord(*rows)] = data;
  }
  return ++rows->count;
}

int32_t rowsDelete(ItemRows* rows, int32_t first, int32_t last, int32_t* widest) {
  if (widest) *widest = 0;
  if (first < 0 || first > last || last >= rows->count) return -1;
  const int words = rowsElementWords(*rows);
  if (widest && WidthWord(*rows) >= 0)
    for (int32_t i = first; i <= last; ++i) *widest = std::max(*widest, rowsWidth(*rows, i));
  if (words) {
    intptr_t* at = rows->words + size_t(first) * words;
    std::memmove(at, at + size_t(last - first + 1) * words, size_t(rows->count - last - 1) * words * sizeof(intptr_t));
  }
  rows->count -= last - first + 1;
  return rows->count;
}

intptr_t rowsData(const ItemRows& rows, int32_t index) {
  if (index < 0 || index >= rows.count) return 0;
  if (DataWord(rows) < 0) return index;
  return rows.words[size_t(index) * rowsElementWords(rows) + DataWord(rows)];
}

int32_t rowsWidth(const ItemRows& rows, int32_t index) {
  if (index < 0 || index >= rows.count || WidthWord(rows) < 0) return 0;
  return int32_t(rows.words[size_t(index) * rowsElementWords(rows)]);
}

int32_t rowsWidest(const ItemRows& rows) {
  int32_t widest = 0;
  for (int32_t i = 0; i < rows.count; ++i) widest = std::max(widest, rowsWidth(rows, i));
  return widest;
}

int32_t rowsFind(const ItemRows& rows, int32_t start, intptr_t data) {
  if (DataWord(rows) < 0) return int32_t(data);
  const int32_t from = start < 0 || start >= rows.count ? 0 : start;
  for (int32_t i = from; i < rows.count; ++i)
    if (rowsData(rows, i) == data) return i;
  if (start >= 0)
    for (int32_t i = 0; i < from; ++i)
      if (rowsData(rows, i) == data) return i;
  return -1;
}

void svRowCounts(int32_t height, int32_t itemHeight, int32_t* fullRows, int32_t* visibleRows) {
  if (itemHeight <= 0) return;
  height = std::max(height, 0);
  *fullRows = height / itemHeight;
  *visibleRows = (height + itemHeight - 1) / itemHeight;
}

int32_t svVScrollDelta(int code, int32_t track, int32_t count, int32_t top, int32_t fullRows,
                       int32_t lineStep, int32_t pageStep) {
  switch (code) {
    case 0:
      return count > fullRows && top >= 1 ? -std::min(lineStep, top) : 0;
    case 1:
      return count > top + fullRows ? std::min(lineStep, count - top - fullRows) : 0;
    case 2:
      return top > 0 && count >= fullRows ? -std::min(pageStep, top) : 0;
    case 3:
      return top + fullRows < count ? std::min(pageStep, count - top - fullRows) : 0;
    case 5:
      return track - top;
    default:
      return 0;
  }
}

int32_t svHScrollDelta(int code, int32_t track, int32_t docWidth, int32_t offset, int32_t clientWidth,
                       int32_t lineStep, int32_t pageStep) {
  switch (code) {
    case 0:
      return docWidth > clientWidth && offset > 0 ? -std::min(lineStep, offset) : 0;
    case 1:
      return docWidth > offset + clientWidth ? std::min(lineStep, docWidth - offset - clientWidth) : 0;
    case 2:
      return offset > 0 && docWidth >= clientWidth ? -std::min(pageStep, offset) : 0;
    case 3:
      return offset + clientWidth < docWidth ? std::min(pageStep, docWidth - offset - clientWidth) : 0;
    case 5:
      return track - offset;
    default:
      return 0;
  }
}

int32_t svEnsureTop(int32_t i, int32_t top, int32_t fullRows, int32_t count, bool asTop) {
  if (i == top) return top;
  if (fullRows >= count) return 0;
  int32_t newTop;
  if (!asTop && i >= top)
    newTop = i >= top + fullRows ? i - fullRows + 1 : top;
  else
    newTop = i;
  if (newTop + fullRows > count) newTop = count - fullRows;
  return newTop;
}

int32_t svHitRow(int32_t y, int32_t itemHeight, int32_t top, int32_t count, int32_t visibleRows) {
  if (count <= 0) return -1;
  int32_t row = (itemHeight > 0 ? y / itemHeight : 0) + top;
  row = std::min(row, count - 1);
  row = std::min(row, top + visibleRows - 1);
  return std::max(row, top);
}
