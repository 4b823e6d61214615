// The fixed-width fake printer.

#include "fake_surface.h"

#include <algorithm>

#include "page_printer.h"
#include "print_layout.h"

FontResult FakeSurface::SelectFont(const PrintFontRequest& request) {
  if (!HasFace(request.face)) return FontResult::kNotFound;
  fonts.push_back(request);
  return FontResult::kSelected;
}

std::vector<std::string> FakeSurface::Wrap(const std::string& text, int32_t width) {
  const size_t perLine = static_cast<size_t>(std::max(1, width / kCharWidth));
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  auto flush = [&] {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
    line.clear();
  };
  while (i < text.size()) {
    if (text[i] == '\n') {
      flush();
      ++i;
      continue;
    }
    if (text[i] == ' ') {
      if (!line.empty()) line.push_back(' ');
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != '\n') ++end;
    const std::string word = text.substr(i, end - i);
    std::string trimmed = line;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    if (!trimmed.empty() && trimmed.size() + 1 + word.size() > perLine) {
      flush();
      line = word;
    } else {
      line = trimmed.empty() ? word : trimmed + " " + word;
    }
    i = end;
  }
  if (!line.empty() || lines.empty()) flush();
  return lines;
}

PrintRect FakeSurface::MeasureText(const char* text, int32_t length, const PrintRect& rect, TextAlign) {
  const std::vector<std::string> lines = Wrap(std::string(text, length), rect.Width());
  size_t widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, line.size());
  PrintRect out = rect;
  out.right = rect.left + static_cast<int32_t>(widest) * kCharWidth;
  out.bottom = rect.top + static_cast<int32_t>(lines.size()) * kCharHeight;
  return out;
}

void FakeSurface::DrawText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) {
  PlacedBlock block;
  block.page = currentPage;
  block.column = job_ ? job_->columnIndex : 0;
  block.rect = rect;
  block.text.assign(text, length);
  block.align = align;
  placed.push_back(block);
}

namespace {

int32_t ExpandTabs(const char* text, int32_t length, const std::vector<int32_t>& stops, int32_t start) {
  int32_t x = start;
  for (int32_t i = 0; i < length; ++i) {
    if (text[i] != '\t') {
      x += FakeSurface::kCharWidth;
      continue;
    }
    int32_t next = -1;
    for (int32_t stop : stops) {
      const int32_t at = std::abs(stop);
      if (at > x) {
        next = at;
        break;
      }
    }
    x = next >= 0 ? next : (x / (8 * FakeSurface::kCharWidth) + 1) * 8 * FakeSurface::kCharWidth;
  }
  return x;
}

}  // namespace

PrintSize FakeSurface::TabbedExtent(const char* text, int32_t length, const std::vector<int32_t>& stops) {
  return PrintSize{ExpandTabs(text, length, stops, 0), kCharHeight};
}

PrintSize FakeSurface::TabbedOut(int32_t x, int32_t y, const char* text, int32_t length,
                                 const std::vector<int32_t>& stops, int32_t origin, bool alignRight,
                                 const PrintRect* clip) {
  const int32_t width = ExpandTabs(text, length, stops, alignRight ? 0 : x - origin) - (alignRight ? 0 : x - origin);
  PlacedBlock block;
  block.page = currentPage;
  block.column = job_ ? job_->columnIndex : 0;
  block.rect = alignRight ? PrintRect{x - width, y, x, y + kCharHeight} : PrintRect{x, y, x + width, y + kCharHeight};
  if (clip) {
    block.rect.right = std::min(block.rect.right, clip->right);
    block.rect.bottom = std::min(block.rect.bottom, clip->bottom);
    block.clipped = true;
  }
  block.text.assign(text, length);
  block.tabbed = true;
  block.align = alignRight ? TextAlign::kRight : TextAlign::kLeft;
  placed.push_back(block);
  return PrintSize{width, kCharHeight};
}

bool FakeSurface::LoadBackground() {
  background = job_ && backgroundIds.count(job_->certBackgroundId) != 0;
  if (!background) ShowMessage("Certificate Background Creation Failed");
  return background;
}

int PrintAllMarkupPages(PrintJob& job, FakeSurface& surface, int maxPages) {
  ResetPrintLayout(job, surface);
  SelectJobFont(job, surface);
  int pages = 0;
  int more = 1;
  while (more && pages < maxPages) {
    ++pages;
    surface.currentPage = pages;
    more = PrintMarkupPage(job, surface);
  }
  return pages;
}
