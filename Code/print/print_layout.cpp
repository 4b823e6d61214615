// Column geometry, tab stops and font selection.

#include "print_layout.h"

#include <algorithm>
#include <cstdlib>

namespace {

int64_t SeparationPixels(const PrintJob& job, PrintSurface& surface) {
  const int64_t sep = std::clamp<int64_t>(job.columnSep, 0, kMarkupNumberLimit);
  return sep * surface.PixelsPerInchX() / 100;
}

int32_t ColumnWidthFor(const PrintJob& job, PrintSurface& surface, int32_t count) {
  if (count <= 1) return job.printable.Width();
  const int64_t width =
      (static_cast<int64_t>(job.printable.Width()) - (count - 1) * SeparationPixels(job, surface)) / count;
  return static_cast<int32_t>(width);
}

void SetColumnEdges(PrintJob& job, PrintSurface& surface) {
  job.columnWidth = ColumnWidthFor(job, surface, job.columnCount);
  if (job.columnCount <= 1) {
    job.column.left = job.printable.left;
    job.column.right = job.printable.right;
    return;
  }
  const int64_t left =
      (SeparationPixels(job, surface) + job.columnWidth) * job.columnIndex + job.printable.left;
  job.column.left = static_cast<int32_t>(left);
  job.column.right = static_cast<int32_t>(left + job.columnWidth);
}

}  // namespace

int32_t MaxColumnCount(const PrintJob& job, PrintSurface& surface) {
  const int64_t ave = std::max<int64_t>(1, surface.TextMetrics().aveCharWidth);
  const int64_t sep = SeparationPixels(job, surface);
  const int64_t most = (static_cast<int64_t>(job.printable.Width()) + sep) / (ave + sep);
  return static_cast<int32_t>(std::clamp<int64_t>(most, 1, 1000));
}

int32_t LinesPerPage(const PrintJob& job, PrintSurface& surface) {
  const int64_t height = std::max<int64_t>(1, surface.TextMetrics().height);
  return static_cast<int32_t>(std::clamp<int64_t>(job.printable.Height() / height, 1, 100000));
}

void SetColumnCount(PrintJob& job, PrintSurface& surface, int32_t count) {
  if (count < 1) return;
  job.columnCount = std::min(count, MaxColumnCount(job, surface));
  job.columnIndex = 0;
  SetColumnEdges(job, surface);
}

void ResetToFirstColumn(PrintJob& job, PrintSurface& surface) {
  job.columnIndex = 0;
  job.column = job.printable;
  SetColumnEdges(job, surface);
}

bool MoveToNextColumn(PrintJob& job, PrintSurface& surface) {
  if (job.columnCount <= 1 || job.columnIndex + 1 >= job.columnCount) {
    ResetToFirstColumn(job, surface);
    return true;
  }
  ++job.columnIndex;
  job.column.top = job.printable.top;
  job.column.bottom = job.printable.bottom;
  SetColumnEdges(job, surface);
  return false;
}

void SetTabStops(PrintJob& job, PrintSurface& surface, const std::vector<int64_t>& numbers) {
  const int64_t w = surface.TextMetrics().aveCharWidth;
  const int64_t edge = job.column.right;
  auto cap = [edge](int64_t stop) { return std::llabs(stop) > edge ? edge : stop; };
  std::vector<int32_t>& table = job.tabStops;
  size_t i = 0;
  int64_t previous = 0;
  for (int64_t n : numbers) {
    if (i >= table.size()) {
      // A table that cannot grow keeps its size; the rest of the line is dropped.
      if (table.size() + 10 > static_cast<size_t>(kMaxTabStops)) break;
      table.resize(table.size() + 10, 0);
    }
    int64_t stop = std::clamp(n, -kMarkupNumberLimit, kMarkupNumberLimit) * w;
    if (i > 0) stop = stop >= 1 ? stop + previous : stop - previous;
    stop = cap(stop);
    table[i++] = static_cast<int32_t>(stop);
    previous = std::llabs(stop);
  }
  for (; i < table.size(); ++i) {
    previous = std::min(previous + 8 * w, edge);
    table[i] = static_cast<int32_t>(previous);
    previous = std::llabs(previous);
  }
}

FontResult SelectJobFont(PrintJob& job, PrintSurface& surface) {
  if (job.faceName.empty()) return FontResult::kNotFound;
  PrintFontRequest request;
  request.face = job.faceName;
  const int64_t size = std::clamp<int64_t>(job.fontSize, 0, 10000);
  request.height = static_cast<int32_t>(-(surface.PixelsPerInchY() * size / 72));
  request.weight = job.bold ? 700 : 400;
  request.italic = job.italic != 0;
  request.underline = job.underline != 0;
  request.strikeOut = job.strikeOut != 0;
  return surface.SelectFont(request);
}
