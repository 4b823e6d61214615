// The page printers' surface over a printer device context: fonts by the
// printer's font enumeration, text through RwCDC, the certificate picture.
#pragma once

#include <windows.h>

#include "print_surface.h"
#include "quill_state_win32.h"
#include "rwcdc.h"

class GdiSurface : public PrintSurface {
 public:
  GdiSurface(QuillJob& q, RwCDC& dc, HDC hdc) : q_(q), dc_(dc), hdc_(hdc) {}

  int32_t PixelsPerInchX() override { return static_cast<int32_t>(dc_.GetDeviceCaps(LOGPIXELSX)); }
  int32_t PixelsPerInchY() override { return static_cast<int32_t>(dc_.GetDeviceCaps(LOGPIXELSY)); }
  PrintSize PageSize() override;
  PrintTextMetrics TextMetrics() override;
  bool HasFace(const std::string& face) override;
  FontResult SelectFont(const PrintFontRequest& request) override;
  PrintRect MeasureText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) override;
  void DrawText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) override;
  PrintSize TabbedExtent(const char* text, int32_t length, const std::vector<int32_t>& stops) override;
  PrintSize TabbedOut(int32_t x, int32_t y, const char* text, int32_t length, const std::vector<int32_t>& stops,
                      int32_t origin, bool alignRight, const PrintRect* clip) override;
  bool HasBackground() override { return q_.background != nullptr; }
  bool LoadBackground() override { return LoadCertificateBackground(q_); }
  void StretchBackground(const PrintRect& rect) override;
  void FrameRect(const PrintRect& rect) override;
  void SetTransparentMode() override { dc_.SetBkMode(TRANSPARENT); }
  void ShowMessage(const char* text) override { QuillMessage(text); }

  // A context without a page of its own (a bitmap) is given one.
  void SetPageSize(PrintSize page) { page_ = page; }

 private:
  QuillJob& q_;
  RwCDC& dc_;
  HDC hdc_;
  PrintSize page_{0, 0};
};
