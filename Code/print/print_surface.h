// What the page printers need of a printer: its resolution and page, the
// selected font's metrics, word-wrapped and tabbed text, and the few pictures
// of a certificate page. The Windows side implements it over the printer's
// device context; the tests over a fixed-width fake.
//
// Interface: PrintRect, PrintSize, PrintTextMetrics, PrintFontRequest,
// FontResult, TextAlign, PrintSurface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PrintRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const PrintRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct PrintSize {
  int32_t cx = 0, cy = 0;
};

// Of the selected font, in device pixels.
struct PrintTextMetrics {
  int32_t height = 0;
  int32_t externalLeading = 0;
  int32_t aveCharWidth = 0;
};

// A font as the job asks for it: the face's own description comes from the
// printer's font enumeration; these fields override it.
struct PrintFontRequest {
  std::string face;
  int32_t height = 0;  // negative: character height in pixels
  int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

enum class FontResult { kSelected, kNotFound, kNotSelected };

// The job's justification values.
enum class TextAlign : int32_t { kLeft = 0, kRight = 1, kCentre = 2 };

class PrintSurface {
 public:
  virtual ~PrintSurface() = default;

  virtual int32_t PixelsPerInchX() = 0;
  virtual int32_t PixelsPerInchY() = 0;
  virtual PrintSize PageSize() = 0;  // the whole page in pixels
  virtual PrintTextMetrics TextMetrics() = 0;

  // True when the printer lists a font family of this face.
  virtual bool HasFace(const std::string& face) = 0;
  // Finds the face, makes the font and selects it; on failure the font
  // selected before stays.
  virtual FontResult SelectFont(const PrintFontRequest& request) = 0;

  // Word-wrapped text: the measure gives the rectangle the text needs from
  // the given top left corner (right = left + widest line, bottom = top +
  // lines), the draw puts it into the rectangle, clipped to it.
  virtual PrintRect MeasureText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) = 0;
  virtual void DrawText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) = 0;

  // One line whose tabs go to absolute stops (magnitudes, from `origin`).
  virtual PrintSize TabbedExtent(const char* text, int32_t length, const std::vector<int32_t>& stops) = 0;
  // Draws at (x, y), right-aligned at x when asked; with `clip` the output
  // is cut to that rectangle. Returns the drawn extent.
  virtual PrintSize TabbedOut(int32_t x, int32_t y, const char* text, int32_t length,
                              const std::vector<int32_t>& stops, int32_t origin, bool alignRight,
                              const PrintRect* clip) = 0;

  // Certificate pages: the job's background picture and the plain frame.
  virtual bool HasBackground() = 0;
  virtual bool LoadBackground() = 0;  // the job's current id; reports its own failure
  virtual void StretchBackground(const PrintRect& rect) = 0;
  virtual void FrameRect(const PrintRect& rect) = 0;
  virtual void SetTransparentMode() = 0;

  // A message box in the library's style (stop icon, OK).
  virtual void ShowMessage(const char* text) = 0;
};
