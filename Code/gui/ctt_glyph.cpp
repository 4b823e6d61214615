// Text rendered into 8-bit images glyph by glyph: each character is fetched
// as a 1-bit bitmap under a 2 x 2 matrix (scaling, mirroring, rotation),
// takes its colours from a colour image and is placed on a pen line. Glyph
// bitmaps are cached per text height and matrix. Also the builder record
// that bundles font, colour image, matrix and metrics.
//
// Interface: cttLetter, cttString, cttStringVertical, cttLetterSize,
// cttStringSize, cttStringSimpleVertical, cttString3D, cttParagraph,
// cttStringRect, cttResizeDib, cttFreeCache, cttCreateBuildStruct,
// cttFreeBuildStruct, cttSetBuilderMat, cttSetBuilderFont,
// cttSetBuilderCharDib, cttSetBuilderTextColor, cttBuilder*.
#include "ctt_glyph.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ctt_lines.h"
#include "heapkit.h"

namespace {

constexpr int kCacheLists = 6;
constexpr size_t kGlyphStringMax = 256;  // characters of one glyph-family string

struct GlyphEntry {
  BITMAPINFOHEADER* image;
  GLYPHMETRICS metrics;
};
struct GlyphList {
  bool used;
  uint8_t key[20];  // tmHeight, then the matrix
  GlyphEntry entries[256];
};
GlyphList g_lists[kCacheLists];
BITMAPINFOHEADER* g_lastGlyph = nullptr;

int Height(const PackedDib* d) { return d->biHeight < 0 ? -d->biHeight : d->biHeight; }

void MakeKey(HDC dc, const MAT2* mat, uint8_t key[20]) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  int32_t h = tm.tmHeight;
  std::memcpy(key, &h, 4);
  std::memcpy(key + 4, mat, 16);
}

bool HeldByCache(const BITMAPINFOHEADER* image) {
  for (const GlyphList& l : g_lists)
    if (l.used)
      for (const GlyphEntry& e : l.entries)
        if (e.image == image) return true;
  return false;
}

void ReleaseGlyph(BITMAPINFOHEADER* image) {
  if (image && image != g_lastGlyph && !HeldByCache(image)) memFree_rel(image);
}

BITMAPINFOHEADER* LookupGlyph(HDC dc, unsigned ch, const MAT2* mat, GLYPHMETRICS* metrics) {
  if (ch >= 256) return nullptr;
  uint8_t key[20];
  MakeKey(dc, mat, key);
  for (GlyphList& l : g_lists) {
    if (!l.used) break;
    if (std::memcmp(l.key, key, sizeof key) != 0) continue;
    if (!l.entries[ch].image) return nullptr;
    *metrics = l.entries[ch].metrics;
    return g_lastGlyph = l.entries[ch].image;
  }
  return nullptr;
}

void CacheGlyph(HDC dc, unsigned ch, const MAT2* mat, BITMAPINFOHEADER* image, const GLYPHMETRICS& metrics) {
  if (ch >= 256) return;
  uint8_t key[20];
  MakeKey(dc, mat, key);
  GlyphList* list = nullptr;
  for (GlyphList& l : g_lists) {
    if (l.used && std::memcmp(l.key, key, sizeof key) == 0) {
      list = &l;
      break;
    }
    if (!l.used) {
      l.used = true;
      std::memcpy(l.key, key, sizeof key);
      std::memset(l.entries, 0, sizeof l.entries);
      list = &l;
      break;
    }
  }
  if (!list) return;
  GlyphEntry& e = list->entries[ch];
  if (e.image && e.image != image) {
    BITMAPINFOHEADER* old = e.image;
    e.image = nullptr;
    if (old == g_lastGlyph) g_lastGlyph = nullptr;
    if (!HeldByCache(old)) memFree_rel(old);
  }
  e.image = image;
  e.metrics = metrics;
  g_lastGlyph = image;
}

int RowBytes(int width) { return (width + 31) / 32 * 4; }

BITMAPINFOHEADER* RenderGlyph(HDC dc, unsigned ch, const MAT2* mat, GLYPHMETRICS* metrics) {
  MAT2 flipped = *mat;
  flipped.eM22.value = short(-flipped.eM22.value);
  GLYPHMETRICS first{};
  DWORD size = GetGlyphOutlineA(dc, ch, GGO_BITMAP, &first, 0, nullptr, &flipped);
  if (size == GDI_ERROR) return nullptr;
  int w = int(first.gmBlackBoxX), h = int(first.gmBlackBoxY);
  size_t bytes = sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + size_t(RowBytes(w)) * h;
  auto* image = static_cast<BITMAPINFOHEADER*>(memAlloc_rel(bytes, HEAPKIT_TAG_RW));
  if (!image) return nullptr;
  std::memset(image, 0, bytes);
  *image = {sizeof(BITMAPINFOHEADER), w, h, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
  auto* colours = reinterpret_cast<RGBQUAD*>(image + 1);
  colours[1] = {255, 255, 255, 0};
  GLYPHMETRICS second{};
  uint8_t* bits = reinterpret_cast<uint8_t*>(colours + 2);
  DWORD got = size ? GetGlyphOutlineA(dc, ch, GGO_BITMAP, &second, size, bits, mat) : 0;
  if (size && got != size) {
    memFree_rel(image);
    return nullptr;
  }
  if (!size) second = first;  // a blank (a space): no bits
  second.gmptGlyphOrigin = first.gmptGlyphOrigin;
  *metrics = second;
  return image;
}

BITMAPINFOHEADER* GetGlyph(HDC dc, unsigned ch, const MAT2* mat, GLYPHMETRICS* metrics) {
  if (BITMAPINFOHEADER* cached = LookupGlyph(dc, ch, mat, metrics)) return cached;
  BITMAPINFOHEADER* image = RenderGlyph(dc, ch, mat, metrics);
  if (image) CacheGlyph(dc, ch, mat, image, *metrics);
  return image;
}

bool GlyphBit(const BITMAPINFOHEADER* g, int x, int yFromTop) {
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(g) + sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD);
  // Stored bottom-up: the glyph was fetched under the vertically mirrored
  // matrix's partner, so row 0 in memory is the bottom row.
  const uint8_t* row = bits + size_t(RowBytes(g->biWidth)) * (g->biHeight - 1 - yFromTop);
  return row[x / 8] & (0x80 >> (x % 8));
}

PackedDib* NewImage(int w, int h, const PackedDib* colours) {
  PackedDib* d = dibCreateWithColors(w, h, 8);
  if (!d) return nullptr;
  dibFillWithColor(d, 0);
  if (colours) dibCopyPalette(d, colours);
  return d;
}

// Letters of a string; each freed by the caller.
struct Letter {
  PackedDib* image;
  GLYPHMETRICS m;
};

std::string Clip(const char* text) { return std::string(text).substr(0, kGlyphStringMax); }

bool RenderLetters(HDC dc, const std::string& text, const PackedDib* colours, const MAT2* mat,
                   std::vector<Letter>* out) {
  for (unsigned char c : text) {
    GLYPHMETRICS m{};
    PackedDib* image = cttLetter(dc, c, colours, const_cast<MAT2*>(mat), &m);
    if (!image && (m.gmBlackBoxX == 0 || m.gmBlackBoxY == 0)) {
      // A blank letter (a space) has no image but still advances.
      if (m.gmCellIncX == 0 && m.gmCellIncY == 0) {
        for (Letter& l : *out) dibDelete(l.image);
        return false;
      }
    }
    out->push_back({image, m});
  }
  return true;
}

struct DrawingDc {
  HWND window = nullptr;
  HDC dc = nullptr;
  HFONT font = nullptr;
  HGDIOBJ old = nullptr;
  DrawingDc(const char* face, int width, int height, int weight = 400) {
    window = CreateWindowExA(0, "static", "", WS_POPUP, 0, 0, std::max(1, width), std::max(1, height),
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = weight;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    std::strncpy(lf.lfFaceName, face ? face : "Courier New", LF_FACESIZE - 1);
    font = CreateFontIndirectA(&lf);
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

extern "C" {

PackedDib* cttLetter(HDC dc, unsigned character, const PackedDib* colours, MAT2* mat, GLYPHMETRICS* metrics) {
  if (!dc || !colours || !mat || !metrics) return nullptr;
  std::memset(metrics, 0, sizeof *metrics);
  BITMAPINFOHEADER* glyph = GetGlyph(dc, character, mat, metrics);
  if (!glyph) return nullptr;
  int w = glyph->biWidth, h = glyph->biHeight;
  PackedDib* image = w > 0 && h > 0 ? NewImage(w, h, colours) : nullptr;
  if (image) {
    int top = Height(colours) - h;  // the colour image's bottom-left block
    CopyPixels8(image, colours, 0, 0, 0, top, w, h, false);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (!GlyphBit(glyph, x, y)) *static_cast<uint8_t*>(dibGetPixelAddress(image, x, y)) = 0;
  }
  ReleaseGlyph(glyph);
  return image;
}

PackedDib* cttString(HDC dc, const char* text, const PackedDib* colours, MAT2* mat, GLYPHMETRICS* metrics) {
  TEXTMETRICA tm{};
  if (!dc || !text || !*text || !colours || !mat || !metrics || !GetTextMetricsA(dc, &tm)) return nullptr;
  std::vector<Letter> letters;
  if (!RenderLetters(dc, Clip(text), colours, mat, &letters)) return nullptr;
  int W = 0, H = tm.tmHeight;
  for (const Letter& l : letters) {
    W += std::max(int(l.m.gmBlackBoxX), int(l.m.gmCellIncX));
    H = std::max(H, int(l.m.gmBlackBoxY));
  }
  PackedDib* result = W > 0 && H > 0 ? NewImage(W, H, colours) : nullptr;
  int pen = 0;
  for (size_t i = 0; i < letters.size(); ++i) {
    const Letter& l = letters[i];
    if (i) pen += letters[i - 1].m.gmCellIncX;
    if (result && l.image) {
      int x = pen + std::max(0, int(l.m.gmptGlyphOrigin.x));
      int top = tm.tmAscent - l.m.gmptGlyphOrigin.y;
      CopyPixels8(result, l.image, x, top, 0, 0, l.image->biWidth, Height(l.image), false);  // clipped
    }
  }
  if (result) {
    *metrics = GLYPHMETRICS{};
    metrics->gmBlackBoxX = UINT(W);
    metrics->gmBlackBoxY = UINT(H);
    metrics->gmptGlyphOrigin = letters.front().m.gmptGlyphOrigin;
    metrics->gmCellIncX = short(W + letters.back().m.gmCellIncX);
  }
  for (Letter& l : letters) dibDelete(l.image);
  return result;
}

PackedDib* cttStringVertical(HDC dc, const char* text, const PackedDib* colours, MAT2* mat,
                             GLYPHMETRICS* metrics) {
  TEXTMETRICA tm{};
  if (!dc || !text || !*text || !colours || !mat || !metrics || !GetTextMetricsA(dc, &tm)) return nullptr;
  std::vector<Letter> letters;
  if (!RenderLetters(dc, Clip(text), colours, mat, &letters)) return nullptr;
  int W = 0, H = tm.tmHeight;
  for (const Letter& l : letters) {
    W = std::max(W, int(l.m.gmBlackBoxX));
    H += std::max(int(l.m.gmBlackBoxY), int(l.m.gmCellIncY < 0 ? -l.m.gmCellIncY : l.m.gmCellIncY));
  }
  PackedDib* result = W > 0 && H > 0 ? NewImage(W, H, colours) : nullptr;
  int pen = 0;
  for (size_t i = 0; i < letters.size(); ++i) {
    const Letter& l = letters[i];
    if (i) pen += std::abs(int(letters[i - 1].m.gmCellIncY));
    if (result && l.image) {
      // Placed from the glyph's origin; a letter that would fall outside the
      // image is cut at its edges.
      int x = std::max(0, std::min(W - l.image->biWidth, int(l.m.gmptGlyphOrigin.x)));
      int y = pen + std::max(0, int(l.m.gmptGlyphOrigin.y) - int(l.m.gmBlackBoxY));
      CopyPixels8(result, l.image, x, y, 0, 0, l.image->biWidth, Height(l.image), false);
    }
  }
  if (result) {
    *metrics = GLYPHMETRICS{};
    metrics->gmBlackBoxX = UINT(W);
    metrics->gmBlackBoxY = UINT(H);
    metrics->gmptGlyphOrigin = letters.front().m.gmptGlyphOrigin;
    metrics->gmCellIncY = short(H + letters.back().m.gmCellIncY);
  }
  for (Letter& l : letters) dibDelete(l.image);
  return result;
}

unsigned long long cttLetterSize(HDC dc, unsigned character, MAT2* mat, GLYPHMETRICS* metrics) {
  if (!dc || !mat || !metrics) return 0;
  MAT2 flipped = *mat;
  flipped.eM22.value = short(-flipped.eM22.value);
  if (GetGlyphOutlineA(dc, character, GGO_METRICS, metrics, 0, nullptr, &flipped) == GDI_ERROR) return 0;
  return (unsigned long long)metrics->gmBlackBoxX | (unsigned long long)metrics->gmBlackBoxY << 32;
}

unsigned long long cttStringSize(HDC dc, const char* text, MAT2* mat, GLYPHMETRICS* metrics) {
  TEXTMETRICA tm{};
  if (!dc || !text || !*text || !mat || !metrics || !GetTextMetricsA(dc, &tm)) return 0;
  int W = 0, H = tm.tmHeight;
  for (unsigned char c : Clip(text)) {
    GLYPHMETRICS m{};
    if (!cttLetterSize(dc, c, mat, &m) && m.gmCellIncX == 0) return 0;
    W += std::max(int(m.gmBlackBoxX), int(m.gmCellIncX));
    H = std::max(H, int(m.gmBlackBoxY));
  }
  return (unsigned long long)(uint32_t)W | (unsigned long long)(uint32_t)H << 32;
}

PackedDib* cttStringSimpleVertical(const char* text, const char* face, int width, int height,
                                   const PackedDib* colours, MAT2* mat, GLYPHMETRICS* metrics) {
  DrawingDc d(face, width, height);
  return d.ok() ? cttStringVertical(d.dc, text, colours, mat, metrics) : nullptr;
}

PackedDib* cttString3D(const char* text, const char* face, int width, int height, const PackedDib* colours,
                       MAT2* mat, GLYPHMETRICS* metrics, int depth, int shadowColour) {
  if (depth < 1) return cttStringSimple(text, face, width, height, colours);
  if (!colours) return nullptr;
  DrawingDc d(face, width, height);
  if (!d.ok()) return nullptr;
  PackedDib* shadowColours = NewImage(std::max(1, colours->biWidth), std::max(1, Height(colours)), colours);
  if (!shadowColours) return nullptr;
  dibFillWithColor(shadowColours, uint32_t(shadowColour & 0xFF));
  PackedDib* shadow = cttString(d.dc, text, shadowColours, mat, metrics);
  dibDelete(shadowColours);
  if (!shadow) return nullptr;
  int sw = shadow->biWidth, sh = Height(shadow);
  PackedDib* result = NewImage(sw + 1 + depth, sh + 1 + depth, colours);
  PackedDib* face2 = result ? cttString(d.dc, text, colours, mat, metrics) : nullptr;
  if (!face2) {
    dibDelete(result);
    dibDelete(shadow);
    return nullptr;
  }
  // Layers step one pixel right and down from the front to the back; the
  // face sits at the top-left over them.
  int rh = sh + 1 + depth;
  for (int i = 0; i < depth; ++i) CopyPixels8(result, shadow, depth - i, rh - i - sh, 0, 0, sw, sh, true);
  CopyPixels8(result, face2, 0, rh - depth - Height(face2), 0, 0, face2->biWidth, Height(face2), true);
  dibDelete(shadow);
  dibDelete(face2);
  return result;
}

PackedDib* cttParagraph(const char* text, const char* face, int width, int height, const PackedDib* colours,
                        MAT2* mat, GLYPHMETRICS* metrics, int lineWidth) {
  if (!text || !colours || !mat || !metrics) return nullptr;
  size_t length = std::strlen(text);
  if (length < 1 || length > 511) return nullptr;
  DrawingDc d(face, width, height);
  if (!d.ok()) return nullptr;
  std::vector<std::string> lines = BreakParagraph(
      text,
      [&](unsigned char c) {
        GLYPHMETRICS m{};
        return int(cttLetterSize(d.dc, c, mat, &m) & 0xFFFFFFFF);
      },
      lineWidth);
  std::vector<PackedDib*> images;
  int W = 0, lineH = 0;
  for (const std::string& line : lines) {
    PackedDib* image = line.empty() ? nullptr : cttString(d.dc, line.c_str(), colours, mat, metrics);
    images.push_back(image);
    if (image) {
      W = std::max(W, image->biWidth);
      lineH = std::max(lineH, Height(image));
    }
  }
  PackedDib* result = W > 0 && lineH > 0 ? NewImage(W, lineH * int(images.size()), colours) : nullptr;
  for (size_t i = 0; i < images.size(); ++i) {
    if (result && images[i])
      CopyPixels8(result, images[i], 0, int(i + 1) * lineH - Height(images[i]), 0, 0, images[i]->biWidth,
                  Height(images[i]), false);
    dibDelete(images[i]);
  }
  return result;
}

PackedDib* cttResizeDib(const PackedDib* image, int width, int height) {
  if (!image || width <= 0 || height <= 0) return nullptr;
  PackedDib* result = NewImage(width, height, image);
  if (!result) return nullptr;
  int iw = image->biWidth, ih = Height(image);
  if (width >= iw && height >= ih) {
    CopyPixels8(result, image, (width - iw) / 2, (height - ih) / 2, 0, 0, iw, ih, false);
  } else {
    int w = std::min(width, iw), h = std::min(height, ih);
    CopyPixels8(result, image, 0, height - h, 0, ih - h, w, h, false);
  }
  return result;
}

PackedDib* cttStringRect(const char* text, const RECT* rect, const char* face, const PackedDib* colours,
                         MAT2* mat, GLYPHMETRICS* metrics) {
  if (!text || !*text || !rect || !colours || !mat || !metrics) return nullptr;
  int rw = rect->right - rect->left, rh = rect->bottom - rect->top;
  int W = rw, H = rh;
  bool grown = false;
  DrawingDc window(face, std::max(1, W), std::max(1, H));
  if (!window.dc) return nullptr;
  HFONT font = nullptr;
  // Shrinks until the text fits; a text that fits nowhere gives null.
  while (W > 0 && H > 0) {
    LOGFONTA lf{};
    lf.lfHeight = H - (H / 6 + 1);
    lf.lfWeight = 700;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    std::strncpy(lf.lfFaceName, face ? face : "Courier New", LF_FACESIZE - 1);
    HFONT next = CreateFontIndirectA(&lf);
    if (!next) return nullptr;
    SelectObject(window.dc, next);
    if (font) DeleteObject(font);
    font = next;
    unsigned long long size = cttStringSize(window.dc, text, mat, metrics);
    int tw = int(size & 0xFFFFFFFF), th = int(size >> 32);
    if (tw > W || th > H) {
      --W;
      --H;
      continue;
    }
    if (!grown && tw + 2 + int(std::strlen(text)) < W) {
      grown = true;
      ++W;
      ++H;
      continue;
    }
    break;
  }
  PackedDib* result = nullptr;
  if (W > 0 && H > 0) {
    result = cttString(window.dc, text, colours, mat, metrics);
    if (result && result->biWidth != rw && Height(result) != rh) {
      PackedDib* resized = cttResizeDib(result, rw, rh);
      dibDelete(result);
      result = resized;
    }
  }
  SelectObject(window.dc, window.font);
  if (font) DeleteObject(font);
  return result;
}

void cttFreeCache(void) {
  g_lastGlyph = nullptr;
  for (int i = kCacheLists - 1; i >= 0; --i) {
    GlyphList& l = g_lists[i];
    if (!l.used) continue;
    for (GlyphEntry& e : l.entries) {
      memFree_rel(e.image);
      e.image = nullptr;
    }
    l.used = false;
  }
}

// ---------------------------------------------------------------- builder

CttBuildStruct* cttCreateBuildStruct(void) {
  auto* b = static_cast<CttBuildStruct*>(memAlloc_rel(sizeof(CttBuildStruct), HEAPKIT_TAG_RW));
  if (!b) return nullptr;
  std::memset(b, 0, sizeof *b);
  b->size = 128;
  b->flags = 0x10;
  CttSetMat(reinterpret_cast<CttMat2*>(&b->matrix), 1.0, 1.0, 0, 0);
  if (HFONT f = cttSetBuilderFont(b, "Courier New", 9, 10, 400, 0, 0, 0)) DeleteObject(f);
  cttSetBuilderCharDib(b, 64, 64, 70);
  return b;
}

int cttFreeBuildStruct(CttBuildStruct* b) {
  if (!b || !(b->flags & 0x10)) return 0;
  dibDelete(b->charImage);
  b->flags = 0;
  memFree_rel(b);
  return 1;
}

int cttSetBuilderMat(CttBuildStruct* b, double a, double bb, double c, double d) {
  if (b) CttSetMat(reinterpret_cast<CttMat2*>(&b->matrix), a, bb, c, d);
  return 1;
}

HFONT cttSetBuilderFont(CttBuildStruct* b, const char* face, int width, int height, int weight, int underline,
                        int italic, int strikeOut) {
  if (!b) return nullptr;
  LOGFONTA lf{};
  lf.lfHeight = height == -1 ? 12 : height;
  lf.lfWidth = width == -1 ? 11 : width;
  lf.lfWeight = weight == -1 ? 400 : weight;
  lf.lfUnderline = BYTE(underline != 0);
  lf.lfItalic = BYTE(italic != 0);
  lf.lfStrikeOut = BYTE(strikeOut != 0);
  lf.lfOutPrecision = OUT_TT_PRECIS;
  std::strncpy(lf.lfFaceName, face ? face : "Courier New", LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectA(&lf);
  if (!font) return nullptr;
  std::memset(b->face, 0, sizeof b->face);
  std::memcpy(b->face, lf.lfFaceName, std::min(sizeof b->face - 1, std::strlen(lf.lfFaceName)));
  b->width = lf.lfWidth;
  b->height = lf.lfHeight;
  b->weight = lf.lfWeight;
  b->italic = italic != 0;
  b->strikeOut = strikeOut != 0;
  b->underline = underline != 0;
  return font;
}

int cttSetBuilderTextColor(CttBuildStruct* b, int index) {
  if (!b || index >= 256 || index < 0) return 0;
  b->textColour = index;
  if (b->charImage) dibFillWithColor(b->charImage, uint32_t(index));
  return 1;
}

int cttSetBuilderCharDib(CttBuildStruct* b, int width, int height, int colour) {
  if (!b || height > 1024 || width > 1024) return 0;
  if (height == 0 || height == -1)
    height = 64;
  else if (height < 0)
    height = -height;
  if (width == 0 || width == -1)
    width = 64;
  else if (width < 0)
    width = 2 * height;
  dibDelete(b->charImage);
  b->charImage = dibCreateWithColors(width, height, 8);
  if (!b->charImage) return 0;
  if (colour != -1) cttSetBuilderTextColor(b, colour);
  return 1;
}

#define CTT_BUILDER_CALL(expr) \
  if (!b) return nullptr;      \
  PackedDib* image = (expr);   \
  cttFreeCache();              \
  return image

PackedDib* cttBuilderString(CttBuildStruct* b, const char* text) {
  CTT_BUILDER_CALL(cttStringSimple(text, b->face, b->width, b->height, b->charImage));
}
PackedDib* cttBuilderString3Color(CttBuildStruct* b, const char* text, int textColour, int outside,
                                  int inside) {
  CTT_BUILDER_CALL(cttString3ColorSimple(text, b->face, b->width, b->height, b->charImage,
                                         reinterpret_cast<CttMat2*>(&b->matrix), &b->metrics, textColour,
                                         outside, inside));
}
PackedDib* cttBuilderStringVertical(CttBuildStruct* b, const char* text) {
  CTT_BUILDER_CALL(
      cttStringSimpleVertical(text, b->face, b->width, b->height, b->charImage, &b->matrix, &b->metrics));
}
PackedDib* cttBuilderString3D(CttBuildStruct* b, const char* text, int shadowColour, int depth) {
  CTT_BUILDER_CALL(cttString3D(text, b->face, b->width, b->height, b->charImage, &b->matrix, &b->metrics,
                               depth, shadowColour));
}
PackedDib* cttBuilderStringParagraph(CttBuildStruct* b, const char* text, int lineWidth) {
  CTT_BUILDER_CALL(
      cttParagraph(text, b->face, b->width, b->height, b->charImage, &b->matrix, &b->metrics, lineWidth));
}
PackedDib* cttBuilderStringRect(CttBuildStruct* b, const char* text) {
  CTT_BUILDER_CALL(cttStringRect(text, &b->rect, b->face, b->charImage, &b->matrix, &b->metrics));
}

}  // extern "C"
