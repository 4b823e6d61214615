// The markup page printer.
//
// A block that does not fit where it stands moves on to the next column or
// page; a paragraph that is taller than the space left is cut there. A block
// that meets the top of an empty column is always placed, clipped to the
// column where it cannot fit, so that no block is retried for ever.

#include "page_printer.h"

#include <algorithm>
#include <string>

#include "markup_reader.h"
#include "print_layout.h"

namespace {

class PagePrinter {
 public:
  PagePrinter(PrintJob& job, PrintSurface& surface) : job_(job), surface_(surface) { StartColumn(); }

  int32_t Run();

 private:
  void StartColumn() {
    x_ = job_.column.left;
    y_ = job_.column.top;
    bottom_ = y_;
  }
  bool AtColumnTop() const { return y_ == job_.column.top; }
  const char* Text(const MarkupItem& item) const { return job_.working.data() + item.start; }

  // Moves on to the next column; false when that needs a new page, the
  // read position then being back at `saved` for the next page.
  bool NextColumn(int32_t saved) {
    if (MoveToNextColumn(job_, surface_)) {
      job_.readPos = saved;
      return false;
    }
    StartColumn();
    return true;
  }

  int32_t EndPage() {
    ResetToFirstColumn(job_, surface_);
    return 1;
  }

  void Draw(const MarkupItem& item, PrintRect rect, bool clipped);

  PrintJob& job_;
  PrintSurface& surface_;
  int32_t x_ = 0, y_ = 0, bottom_ = 0;
  int32_t limit_ = 0;
  bool forcedCut_ = false;
  bool shortened_ = false;  // the block was re-read to fit the column's width
};

void PagePrinter::Draw(const MarkupItem& item, PrintRect rect, bool clipped) {
  const TextAlign align = static_cast<TextAlign>(job_.justify);
  const PrintRect& column = job_.column;
  if (clipped) {
    rect.left = std::max(rect.left, column.left);
    rect.right = std::min(rect.right, column.right);
    rect.bottom = std::min(rect.bottom, column.bottom);
  }
  if (item.tabbed) {
    // Right-justified lines end at the column's right edge.
    const bool right = align == TextAlign::kRight;
    const int32_t at = right ? column.right : x_;
    const PrintRect clip = column;
    const PrintSize drawn = surface_.TabbedOut(at, y_, Text(item), item.length, job_.tabStops, column.left, right,
                                               clipped ? &clip : nullptr);
    bottom_ = y_ + drawn.cy;
  } else {
    surface_.DrawText(Text(item), item.length, rect, align);
    bottom_ = rect.bottom;
  }
  if (clipped) bottom_ = std::max(bottom_, column.bottom + 1);
}

int32_t PagePrinter::Run() {
  for (;;) {
    const int32_t saved = job_.readPos;
    const MarkupItem item = ReadMarkupItem(job_, surface_, limit_ > 0 ? -limit_ : 0);
    const PrintTextMetrics tm = surface_.TextMetrics();
    const int32_t lineHeight = tm.height + tm.externalLeading;
    const PrintRect& column = job_.column;

    if (item.kind == MarkupItemKind::kNewPage) return EndPage();
    if (item.kind == MarkupItemKind::kEnd) return 0;
    if (item.kind == MarkupItemKind::kNewLines) {
      // Below the column's bottom every further line is the same.
      const int64_t y = static_cast<int64_t>(y_) + static_cast<int64_t>(job_.lineGap - 1) * tm.height;
      y_ = static_cast<int32_t>(std::min<int64_t>(y, static_cast<int64_t>(column.bottom) + 1));
      job_.lineGap = 2;
      limit_ = 0;
      shortened_ = false;
      continue;
    }

    job_.lineGap = 1;
    const bool keepTogetherFails =
        job_.keepTogether && static_cast<int64_t>(column.bottom) < static_cast<int64_t>(bottom_) + 9LL * lineHeight;
    if ((keepTogetherFails || bottom_ > column.bottom) && !AtColumnTop()) {
      if (!NextColumn(saved)) return 1;
    }
    job_.keepTogether = false;

    // Measure from the column's right edge, so one narrow block does not
    // narrow the next.
    const TextAlign align = static_cast<TextAlign>(job_.justify);
    PrintRect rect{x_, y_, column.right, y_};
    if (item.tabbed) {
      const PrintSize size = surface_.TabbedExtent(Text(item), item.length, job_.tabStops);
      rect.right = x_ + size.cx;
      rect.bottom = y_ + size.cy;
    } else {
      rect = surface_.MeasureText(Text(item), item.length, rect, align);
      if (align != TextAlign::kLeft) {
        // Centred and right-aligned text is placed across the whole column.
        rect.left = column.left;
        rect.right = column.right;
      }
    }
    bottom_ = rect.bottom;

    bool clipped = false;
    if (!forcedCut_) {
      if (bottom_ > column.bottom) {
        const int64_t space = static_cast<int64_t>(column.bottom) - y_;
        if (item.tabbed || space <= lineHeight) {
          if (AtColumnTop()) {
            clipped = true;
          } else {
            job_.readPos = saved;
            if (!NextColumn(saved)) return 1;
            continue;
          }
        } else {
          const int64_t width = std::max<int64_t>(1, rect.Width());
          const int64_t chars =
              space * width / std::max(1, tm.height) / std::max(1, tm.aveCharWidth);
          limit_ = static_cast<int32_t>(std::clamp<int64_t>(chars, 1, item.length));
          job_.readPos = saved;
          bottom_ = y_;
          forcedCut_ = true;
          continue;
        }
      }
      if (!clipped && rect.right > column.right) {
        if (item.tabbed && !shortened_) {
          int32_t length = item.length;
          while (length > 0 &&
                 x_ + surface_.TabbedExtent(Text(item), length, job_.tabStops).cx > column.right) {
            --length;
          }
          job_.readPos = saved;
          if (length > 0) {
            limit_ = length;
            shortened_ = true;
            continue;
          }
          if (!AtColumnTop()) {
            if (!NextColumn(saved)) return 1;
            continue;
          }
          job_.readPos = item.start + item.length;
          clipped = true;
        } else if (item.tabbed) {
          clipped = true;  // re-read to fit and still too wide
        } else {
          rect.right = column.right;
        }
      }
    }

    Draw(item, rect, clipped);
    limit_ = 0;
    shortened_ = false;
    if (forcedCut_) {
      bottom_ = column.bottom + 1;
      forcedCut_ = false;
    }
    if (bottom_ > column.bottom) {
      if (!NextColumn(job_.readPos)) return 1;
    } else {
      y_ = bottom_;
    }
  }
}

}  // namespace

int32_t PrintMarkupPage(PrintJob& job, PrintSurface& surface) {
  PagePrinter printer(job, surface);
  return printer.Run();
}

int32_t PrintTestPage(PrintJob&, PrintSurface& surface) {
  const std::string line = kTestPageLine;
  surface.TabbedOut(0, 0, line.data(), static_cast<int32_t>(line.size()), {}, 0, false, nullptr);
  return 0;
}
