// GdiSurface.

#include "gdi_surface_win32.h"

#include <cstring>

#include "print_bitmap.h"

namespace {

struct FaceSearch {
  bool found = false;
  LOGFONTA logFont = {};
  TEXTMETRICA metric = {};
};

int CALLBACK TakeFirstFace(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD, LPARAM data) {
  auto* search = reinterpret_cast<FaceSearch*>(data);
  search->found = true;
  search->logFont = *lf;
  search->metric = *tm;
  return 0;  // the first match is enough
}

FaceSearch FindFace(HDC dc, const std::string& face) {
  FaceSearch search;
  if (face.empty() || face.size() >= LF_FACESIZE) return search;
  EnumFontFamiliesA(dc, face.c_str(), reinterpret_cast<FONTENUMPROCA>(TakeFirstFace),
                    reinterpret_cast<LPARAM>(&search));
  return search;
}

// Word-wrapped text; "&" is printed as it stands.
UINT DrawFormat(TextAlign align) {
  UINT format = DT_WORDBREAK | DT_NOPREFIX;
  if (align == TextAlign::kRight) format |= DT_RIGHT;
  if (align == TextAlign::kCentre) format |= DT_CENTER;
  return format;
}

}  // namespace

PrintSize GdiSurface::PageSize() {
  if (page_.cx > 0) return page_;
  return PrintSize{static_cast<int32_t>(dc_.GetDeviceCaps(HORZRES)), static_cast<int32_t>(dc_.GetDeviceCaps(VERTRES))};
}

PrintTextMetrics GdiSurface::TextMetrics() {
  TEXTMETRICA tm = {};
  if (!dc_.GetTextMetrics(&tm)) return PrintTextMetrics{1, 0, 1};
  return PrintTextMetrics{tm.tmHeight, tm.tmExternalLeading, tm.tmAveCharWidth};
}

bool GdiSurface::HasFace(const std::string& face) { return FindFace(hdc_, face).found; }

FontResult GdiSurface::SelectFont(const PrintFontRequest& request) {
  const FaceSearch search = FindFace(hdc_, request.face);
  if (!search.found) return FontResult::kNotFound;
  LOGFONTA lf = search.logFont;
  lf.lfHeight = request.height;
  lf.lfWidth = 0;
  lf.lfWeight = request.weight;
  lf.lfItalic = request.italic;
  lf.lfUnderline = request.underline;
  lf.lfStrikeOut = request.strikeOut;
  lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  lf.lfClipPrecision = CLIP_EMBEDDED;
  HFONT font = CreateFontIndirectA(&lf);
  if (!font) return FontResult::kNotSelected;
  // The new font is selected before the old one goes, so the context never
  // holds a deleted font.
  if (!dc_.SelectFont(reinterpret_cast<DcValue>(font))) {
    DeleteObject(font);
    return FontResult::kNotSelected;
  }
  if (q_.font) DeleteObject(q_.font);
  q_.font = font;
  q_.logFont = lf;
  q_.textMetric = search.metric;
  return FontResult::kSelected;
}

PrintRect GdiSurface::MeasureText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) {
  RECT r = {rect.left, rect.top, rect.right, rect.bottom};
  dc_.DrawText(text, length, reinterpret_cast<DcRect*>(&r), DrawFormat(align) | DT_CALCRECT);
  return PrintRect{r.left, r.top, r.right, r.bottom};
}

void GdiSurface::DrawText(const char* text, int32_t length, const PrintRect& rect, TextAlign align) {
  RECT r = {rect.left, rect.top, rect.right, rect.bottom};
  dc_.DrawText(text, length, reinterpret_cast<DcRect*>(&r), DrawFormat(align));
}

PrintSize GdiSurface::TabbedExtent(const char* text, int32_t length, const std::vector<int32_t>& stops) {
  const DWORD size = static_cast<DWORD>(dc_.GetTabbedTextExtent(text, length, static_cast<int32_t>(stops.size()),
                                                                stops.empty() ? nullptr : stops.data()));
  return PrintSize{LOWORD(size), HIWORD(size)};
}

PrintSize GdiSurface::TabbedOut(int32_t x, int32_t y, const char* text, int32_t length,
                                const std::vector<int32_t>& stops, int32_t origin, bool alignRight,
                                const PrintRect* clip) {
  DcValue saved = 0;
  if (clip) {
    saved = dc_.SaveDC();
    dc_.IntersectClipRect(clip->left, clip->top, clip->right, clip->bottom);
  }
  const DcValue oldAlign = dc_.SetTextAlign((alignRight ? TA_RIGHT : TA_LEFT) | TA_TOP | TA_NOUPDATECP);
  const LONG size = static_cast<LONG>(dc_.TabbedTextOut(x, y, text, length, static_cast<int32_t>(stops.size()),
                                                        stops.empty() ? nullptr : stops.data(), origin));
  dc_.SetTextAlign(oldAlign);
  if (clip) dc_.RestoreDC(saved);
  return PrintSize{LOWORD(size), HIWORD(size)};
}

void GdiSurface::StretchBackground(const PrintRect& rect) {
  const BITMAPINFO* info = q_.background;
  if (!info) return;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const auto* bits = reinterpret_cast<const uint8_t*>(info) + h.biSize +
                     BitmapColorTableBytes(reinterpret_cast<const uint8_t*>(info));
  StretchDIBits(hdc_, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, h.biWidth, std::abs(h.biHeight),
                bits, info, DIB_RGB_COLORS, SRCCOPY);
}

void GdiSurface::FrameRect(const PrintRect& rect) {
  const DcValue old = dc_.SelectStockObject(HOLLOW_BRUSH);
  dc_.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
  if (old) dc_.SelectObject(old);
}
