// Text rendered into 8-bit images by the system's text drawing: the string
// is drawn into an 8-bit DIB section and its pixels take their colours from
// a colour image. Index 0 of every result is the empty background.
//
// Interface: cttBasicStringSize, cttBasicString, ctt3ColorString,
// cttStringSimple, cttString3ColorSimple, cttFreeDib, cttSetMat,
// cttSetRotationMat, CopyPixels8.
#include <windows.h>

#include <cstring>
#include <vector>

#include "facet_frame.h"
#include "winutil.h"

namespace {

int Height(const PackedDib* d) { return d->biHeight < 0 ? -d->biHeight : d->biHeight; }

// An 8-bit top-down DIB section of w x h with the given colour table.
struct Section {
  HBITMAP bitmap = nullptr;
  uint8_t* bits = nullptr;
  int stride = 0;
  Section(int w, int h, const RGBQUAD* table) {
    std::vector<uint8_t> block(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 8, BI_RGB, 0, 0, 0, 256, 0};
    std::memcpy(info->bmiColors, table, 256 * sizeof(RGBQUAD));
    void* p = nullptr;
    bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint8_t*>(p);
    stride = (w + 3) & ~3;
  }
  ~Section() {
    if (bitmap) DeleteObject(bitmap);
  }
  uint8_t* Row(int y) { return bits + size_t(y) * stride; }
};

// The colour image's table as RGB quads (an image whose table was turned
// into palette indices has no colours left; grey ramp then).
void ColourTable(const PackedDib* colours, RGBQUAD* out) {
  std::memcpy(out, dibGetColorArea(colours), 256 * sizeof(RGBQUAD));
}

struct TextSize {
  int w = 0, h = 0;
};

TextSize Measure(HDC dc, const char* text) {
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
  return {r.right - r.left, r.bottom - r.top};
}

// Draws the text into the section's bottom-left text-sized block with the
// DC's font; the DC holds the default GUI font meanwhile.
bool DrawInto(HDC dc, Section& s, int colourH, TextSize size, const char* text, int prefix, COLORREF colour) {
  HDC mem = CreateCompatibleDC(dc);
  if (!mem) return false;
  HGDIOBJ font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  HGDIOBJ oldFont = SelectObject(mem, font);
  HGDIOBJ oldBitmap = SelectObject(mem, s.bitmap);
  SetTextColor(mem, colour);
  SetBkMode(mem, TRANSPARENT);
  RECT r{0, colourH - size.h, size.w, colourH};
  DrawTextA(mem, text, -1, &r, prefix ? DT_SINGLELINE : DT_SINGLELINE | DT_NOPREFIX);
  GdiFlush();
  SelectObject(mem, oldBitmap);
  SelectObject(mem, oldFont);
  DeleteDC(mem);
  SelectObject(dc, font);
  return true;
}

PackedDib* NewResult(TextSize size, const PackedDib* colours) {
  PackedDib* result = dibCreateWithColors(size.w, size.h, 8);
  if (!result) return nullptr;
  dibFillWithColor(result, 0);
  dibCopyPalette(result, colours);
  return result;
}

HFONT MakeFont(const char* face, int width, int height, int weight) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfWeight = weight;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  std::strncpy(lf.lfFaceName, face ? face : "Courier New", LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

// A hidden drawing window with a font in its DC, for the simple variants.
struct DrawingDc {
  HWND window = nullptr;
  HDC dc = nullptr;
  HFONT font = nullptr;
  HGDIOBJ old = nullptr;
  DrawingDc(const char* face, int width, int height) {
    window = CreateWindowExA(0, "static", "", WS_POPUP, 0, 0, width > 0 ? width : 1, height > 0 ? height : 1,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    font = MakeFont(face, width, height, 400);
    if (window) dc = GetDC(window);
    if (dc && font) old = SelectObject(dc, font);
  }
  ~DrawingDc() {
    if (dc) {
      if (old) SelectObject(dc, old);
      ReleaseDC(window, dc);
    }
    if (font) DeleteObject(font);
    if (window) DestroyWindow(window);
  }
  bool ok() const { return dc && font; }
};

}  // namespace

void CopyPixels8(PackedDib* dst, const PackedDib* src, int dx, int dy, int sx, int sy, int w, int h,
                 bool transparent) {
  if (!dst || !src) return;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      auto* s = static_cast<const uint8_t*>(dibGetPixelAddress(src, sx + x, sy + y));
      auto* d = static_cast<uint8_t*>(dibGetPixelAddress(dst, dx + x, dy + y));
      if (!s || !d || (transparent && *s == 0)) continue;
      *d = *s;
    }
  }
}

extern "C" {

void cttSetMat(CttMat2* mat, double a, double b, double c, double d) { CttSetMat(mat, a, b, c, d); }
void cttSetRotationMat(CttMat2* mat, double degrees) { CttSetRotationMat(mat, degrees); }
void cttFreeDib(PackedDib* image) { dibDelete(image); }

unsigned long long cttBasicStringSize(HDC dc, const char* text) {
  SIZE size{0, 0};
  if (!dc || !text || !GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size)) return 0;
  return (unsigned long long)(uint32_t)size.cx | (unsigned long long)(uint32_t)size.cy << 32;
}

PackedDib* cttBasicString(HDC dc, const char* text, const PackedDib* colours, int prefix) {
  if (!dc || !text || !*text || !colours || colours->biBitCount != 8) return nullptr;
  TextSize size = Measure(dc, text);
  int cw = colours->biWidth, ch = Height(colours);
  if (size.w <= 0 || size.h <= 0 || cw < size.w || ch < size.h) return nullptr;
  // The section's table is black at index 0 and white elsewhere, so every
  // pixel the text touches reads non-zero whatever the colour image holds.
  RGBQUAD mask[256];
  mask[0] = {0, 0, 0, 0};
  for (int i = 1; i < 256; ++i) mask[i] = {255, 255, 255, 0};
  Section s(cw, ch, mask);
  if (!s.bits) return nullptr;
  std::memset(s.bits, 0, size_t(s.stride) * ch);
  PackedDib* result = NewResult(size, colours);
  if (!result) return nullptr;
  if (!DrawInto(dc, s, ch, size, text, prefix, RGB(255, 255, 255))) {
    dibDelete(result);
    return nullptr;
  }
  int top = ch - size.h;
  for (int y = 0; y < size.h; ++y) {
    const uint8_t* row = s.Row(top + y);
    for (int x = 0; x < size.w; ++x) {
      if (!row[x]) continue;
      auto* from = static_cast<const uint8_t*>(dibGetPixelAddress(colours, x, top + y));
      auto* to = static_cast<uint8_t*>(dibGetPixelAddress(result, x, y));
      if (from && to) *to = *from;
    }
  }
  return result;
}

PackedDib* ctt3ColorString(HDC dc, const char* text, const PackedDib* colours, int prefix, int textColour,
                           int outsideColour, int insideColour) {
  if (!dc || !text || !*text || !colours || colours->biBitCount != 8) return nullptr;
  TextSize size = Measure(dc, text);
  int cw = colours->biWidth, ch = Height(colours);
  if (size.w <= 0 || size.h <= 0 || cw < size.w || ch < size.h) return nullptr;
  RGBQUAD table[256];
  ColourTable(colours, table);
  Section s(cw, ch, table);
  if (!s.bits) return nullptr;
  std::memset(s.bits, uint8_t(insideColour), size_t(s.stride) * ch);
  PackedDib* result = NewResult(size, colours);
  if (!result) return nullptr;
  bool ok = DrawInto(dc, s, ch, size, text, prefix, DIBINDEX(textColour & 0xFF));
  if (ok) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ oldBitmap = SelectObject(mem, s.bitmap);
    HBRUSH brush = CreateSolidBrush(DIBINDEX(outsideColour & 0xFF));
    HGDIOBJ oldBrush = SelectObject(mem, brush);
    ExtFloodFill(mem, 0, 0, DIBINDEX(insideColour & 0xFF), FLOODFILLSURFACE);
    GdiFlush();
    SelectObject(mem, oldBrush);
    DeleteObject(brush);
    SelectObject(mem, oldBitmap);
    DeleteDC(mem);
    int top = ch - size.h;
    for (int y = 0; y < size.h; ++y)
      std::memcpy(dibGetPixelAddress(result, 0, y), s.Row(top + y), size_t(size.w));
  }
  if (!ok) {
    dibDelete(result);
    return nullptr;
  }
  return result;
}

PackedDib* cttStringSimple(const char* text, const char* face, int width, int height,
                           const PackedDib* colours) {
  DrawingDc d(face, width, height);
  return d.ok() ? cttBasicString(d.dc, text, colours, 0) : nullptr;
}

PackedDib* cttString3ColorSimple(const char* text, const char* face, int width, int height,
                                 const PackedDib* colours, CttMat2*, GLYPHMETRICS*, int textColour,
                                 int outsideColour, int insideColour) {
  DrawingDc d(face, width, height);
  return d.ok() ? ctt3ColorString(d.dc, text, colours, 0, textColour, outsideColour, insideColour) : nullptr;
}

}  // extern "C"
