// Column geometry, tab stops and font selection of a print job: the pieces
// the markup commands and the page printers share.
//
// Interface: SetColumnCount, MoveToNextColumn, ResetToFirstColumn,
// SetTabStops, SelectJobFont, MaxColumnCount, LinesPerPage.
#pragma once

#include <cstdint>
#include <vector>

#include "print_job.h"
#include "print_surface.h"

// Markup numbers are kept within this magnitude before any arithmetic.
constexpr int64_t kMarkupNumberLimit = 1000000;
// The tab stop table grows in steps of 10 up to this many entries.
constexpr int32_t kMaxTabStops = 1000;

// The largest column count whose columns are still one average character wide.
int32_t MaxColumnCount(const PrintJob& job, PrintSurface& surface);
// Lines of the current font on one printable page (at least 1).
int32_t LinesPerPage(const PrintJob& job, PrintSurface& surface);

// A valid count (1 or more, clamped to MaxColumnCount) moves to column 0 and
// recomputes the width and column 0's left and right edges.
void SetColumnCount(PrintJob& job, PrintSurface& surface, int32_t count);
// Column 0 of a new page.
void ResetToFirstColumn(PrintJob& job, PrintSurface& surface);
// The next column; true when that needs a new page (the job is then on
// column 0 of the next page).
bool MoveToNextColumn(PrintJob& job, PrintSurface& surface);

// ".t n0 n1 ...": numbers in average character widths, each after the first
// relative to the previous stop; the rest of the table continues every 8
// characters. Stops are capped at the column's right edge.
void SetTabStops(PrintJob& job, PrintSurface& surface, const std::vector<int64_t>& numbers);

// Builds the job's current font for the surface and selects it.
FontResult SelectJobFont(PrintJob& job, PrintSurface& surface);
