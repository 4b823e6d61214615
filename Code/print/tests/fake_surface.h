// A fixed-width printer for the layout tests and the fuzz target: every
// character 10 pixels wide, lines 20 high with 2 of external leading, 100
// pixels per inch, a letter page in portrait (850 x 1100). It records every
// placed block with its page and column.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "print_job.h"
#include "print_surface.h"

struct PlacedBlock {
  int page = 0;
  int column = 0;
  PrintRect rect;
  std::string text;
  bool tabbed = false;
  bool clipped = false;  // tabbed output cut to a rectangle
  TextAlign align = TextAlign::kLeft;
};

class FakeSurface : public PrintSurface {
 public:
  static constexpr int kCharWidth = 10, kCharHeight = 20, kLeading = 2, kPpi = 100;

  explicit FakeSurface(const PrintJob* job = nullptr) : job_(job) {}

  int32_t PixelsPerInchX() override { return kPpi; }
  int32_t PixelsPerInchY() override { return kPpi; }
  PrintSize PageSize() override { return page; }
  PrintTextMetrics TextMetrics() override { return {kCharHeight, kLeading, kCharWidth}; }
  bool HasFace(const std::string& face) override { return faces.count(face) != 0; }
  FontResult SelectFont(const PrintFontRequest& request) override;
  PrintRect MeasureText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) override;
  void DrawText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) override;
  PrintSize TabbedExtent(const char* text, int32_t length, const std::vector<int32_t>& stops) override;
  PrintSize TabbedOut(int32_t x, int32_t y, const char* text, int32_t length, const std::vector<int32_t>& stops,
                      int32_t origin, bool alignRight, const PrintRect* clip) override;
  bool HasBackground() override { return background; }
  bool LoadBackground() override;
  void StretchBackground(const PrintRect& rect) override { stretched.push_back(rect); }
  void FrameRect(const PrintRect& rect) override { frames.push_back(rect); }
  void SetTransparentMode() override { transparent = true; }
  void ShowMessage(const char* text) override { messages.push_back(text); }

  // The lines a word-wrapped text takes in a width.
  static std::vector<std::string> Wrap(const std::string& text, int32_t width);

  PrintSize page{850, 1100};
  std::set<std::string> faces{"RookwellOnyx"};
  std::set<int> backgroundIds{403, 404};
  bool background = false;
  bool transparent = false;
  int currentPage = 1;
  std::vector<PlacedBlock> placed;
  std::vector<PrintFontRequest> fonts;
  std::vector<PrintRect> stretched, frames;
  std::vector<std::string> messages;

 private:
  const PrintJob* job_;
};

// Prints the job's markup as StartPrint does, over the fake: layout reset,
// the job's font, pages until the page printer says the last. Returns the
// page count (stops at `maxPages`).
int PrintAllMarkupPages(PrintJob& job, FakeSurface& surface, int maxPages = 1000);
