// Dibkit's GDI part: DIB sections, drawing, tiling on device contexts and
// palettes.
#include <windows.h>

#include <vector>

#include "../dib_internal.h"
#include "../dib_surface.h"
#include "../dib_tile.h"
#include "../dibkit_gdi.h"
#include "heapkit.h"

using namespace dibkit;

namespace {

bool SectionSurface(HBITMAP section, Surface* s) {
  DIBSECTION ds;
  if (section == nullptr || GetObjectA(section, sizeof ds, &ds) != sizeof ds || ds.dsBm.bmBits == nullptr) {
    return false;
  }
  int32_t height = ds.dsBmih.biHeight;
  *s = Surface{static_cast<uint8_t*>(ds.dsBm.bmBits),
               ds.dsBm.bmWidth,
               height < 0 ? -height : height,
               height < 0,
               ds.dsBm.bmWidthBytes,
               ds.dsBm.bmBitsPixel};
  return true;
}

// The bottom-up source row of a block whose top row is srcY.
int SourceRow(const PackedDib* dib, int height, int srcY, bool clamp) {
  int row = AbsHeight(dib) - height - srcY;
  return clamp && row < 0 ? 0 : row;
}

int Draw(HDC dc, int x, int y, int width, int height, int srcX, int srcY, const PackedDib* dib, UINT usage,
         DWORD rop, bool clamp) {
  if (dib == nullptr) return 0;
  return StretchDIBits(dc, x, y, width, height, srcX, SourceRow(dib, height, srcY, clamp), width, height,
                       Bits(dib), reinterpret_cast<const BITMAPINFO*>(dib), usage, rop);
}

// A LOGPALETTE of 256 entries.
struct Palette256 {
  WORD version = 0x300;
  WORD count = 256;
  PALETTEENTRY entries[256];
  const LOGPALETTE* get() const { return reinterpret_cast<const LOGPALETTE*>(this); }
};

PALETTEENTRY Entry(const DibRgbQuad& q, BYTE flags) { return PALETTEENTRY{q.red, q.green, q.blue, flags}; }

}  // namespace

extern "C" {

PackedDib* dibFromBitmap(HBITMAP bitmap, void*, int force8) {
  BITMAP bm;
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof bm, &bm) == 0) return nullptr;
  int bits = force8 ? 8 : bm.bmBitsPixel;
  if (bits > 24) bits = 24;
  if (bits != 8 && bits != 16 && bits != 24) bits = 8;
  return dibCreateWithColors(bm.bmWidth, bm.bmHeight, bits);
}

int dibCopyToDibSection(int x, int y, const PackedDib* dib, HBITMAP section) {
  Surface s;
  return dib != nullptr && SectionSurface(section, &s) ? CopyDibToSurface(s, x, y, dib) : 0;
}

int dibCopyDIBSectionToDIB(int x, int y, PackedDib* dib, HBITMAP section) {
  Surface s;
  if (dib == nullptr || !SectionSurface(section, &s)) return 0;
  GdiFlush();
  return CopySurfaceToDib(s, x, y, dib);
}

int dibTransCopyToDibSection(int x, int y, const PackedDib* dib, HBITMAP section, uint32_t key) {
  Surface s;
  return dib != nullptr && SectionSurface(section, &s) ? TransCopyDibToSurface(s, x, y, dib, key) : 0;
}

int dibCopyMaskedToDIBSection(HBITMAP section, const PackedDib* dib, int dstX, int dstY, int srcX, int srcY,
                              int width, int height) {
  Surface s;
  if (dib == nullptr || !SectionSurface(section, &s)) return 0;
  GdiFlush();
  return MaskedCopyDibToSurface(s, dib, dstX, dstY, srcX, srcY, width, height);
}

int dibDisplay(HDC dc, int x, int y, int width, int height, int srcX, int srcY, const PackedDib* dib) {
  if (dib == nullptr) return 0;
  if (dib->biBitCount > 8) return dibDisplayRGB(dc, x, y, width, height, srcX, srcY, dib);
  return Draw(dc, x, y, width, height, srcX, srcY, dib, DIB_PAL_COLORS, SRCCOPY, true);
}

int dibDisplayRGB(HDC dc, int x, int y, int width, int height, int srcX, int srcY, const PackedDib* dib) {
  return Draw(dc, x, y, width, height, srcX, srcY, dib, DIB_RGB_COLORS, SRCCOPY, true);
}

int dibDisplayResource(HDC dc, int x, int y, int width, int height, int srcX, int srcY,
                       const void* resource) {
  return Draw(dc, x, y, width, height, srcX, srcY, static_cast<const PackedDib*>(resource), DIB_PAL_COLORS,
              SRCCOPY, true);
}

int dibRasterOp(HDC dc, int x, int y, int width, int height, int srcX, int srcY, UINT usage,
                const PackedDib* dib, DWORD rop) {
  return Draw(dc, x, y, width, height, srcX, srcY, dib, usage, rop, false);
}

int dibTileBackground(void*, HDC dc, const PackedDib* tile, const RECT* rect) {
  if (dc == nullptr || tile == nullptr || rect == nullptr || tile->biWidth <= 0 || tile->biHeight == 0)
    return 0;
  const int tw = tile->biWidth, th = AbsHeight(tile);
  for (int x = tw * (rect->left / tw); x < rect->right; x += tw) {
    for (int y = th * (rect->top / th); y < rect->bottom; y += th) dibDisplay(dc, x, y, tw, th, 0, 0, tile);
  }
  return 1;
}

int dibTileRectDC(HDC dc, const PackedDib* tile, int srcX, int srcY, int x, int y, int width, int height) {
  if (dc != nullptr && tile != nullptr && tile->biHeight != INT32_MIN) {
    PlanTilePieces(tile->biWidth, AbsHeight(tile), srcX, srcY, x, y, width, height, [&](const TilePiece& p) {
      dibDisplay(dc, p.x, p.y, p.width, p.height, p.srcX, p.srcY, tile);
    });
  }
  return x + width;
}

HPALETTE dibCreatePalette(const PackedDib* dib) {
  if (dib == nullptr || dib->biBitCount != 8) return nullptr;
  const auto* colours = reinterpret_cast<const DibRgbQuad*>(ColorArea(dib));
  Palette256 pal;
  for (int i = 0; i < 256; ++i) pal.entries[i] = Entry(colours[i], 0);
  return CreatePalette(pal.get());
}

HPALETTE palCreateCustomPalette(const DibRgbQuad* colours, int first, int last) {
  if (colours == nullptr) return nullptr;
  Palette256 pal;
  for (int i = 0; i < 256; ++i) {
    pal.entries[i] = Entry(colours[i], i >= first && i <= last ? PC_NOCOLLAPSE : 0);
  }
  return CreatePalette(pal.get());
}

int palReviseCustomPalette(HPALETTE* palette, const DibRgbQuad* colours, int start, int count) {
  if (palette == nullptr || *palette == nullptr) {
    Report("bad pal coming in!", "pal");
    return 0;
  }
  if (start < 0 || count < 0 || start + count >= 256) {
    Report("invalid pal indices", "pal");
    return 0;
  }
  if (colours == nullptr || count == 0) return 0;
  PALETTEENTRY entries[256];
  for (int k = 0; k < count; ++k) entries[k] = Entry(colours[k], PC_NOCOLLAPSE);
  return SetPaletteEntries(*palette, static_cast<UINT>(start), static_cast<UINT>(count), entries) ==
                 static_cast<UINT>(count)
             ? 1
             : 0;
}

DibRgbQuad* palCopySystemPalette(int count) {
  HDC dc = GetDC(nullptr);
  if (dc == nullptr) return nullptr;
  PALETTEENTRY low[10], high[10];
  bool fromScreen =
      GetSystemPaletteEntries(dc, 0, 10, low) == 10 && GetSystemPaletteEntries(dc, 246, 10, high) == 10;
  ReleaseDC(nullptr, dc);
  if (!fromScreen) {
    // A screen without a palette: the static colours of the default palette.
    auto stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    if (GetPaletteEntries(stock, 0, 10, low) != 10 || GetPaletteEntries(stock, 10, 10, high) != 10)
      return nullptr;
  }
  const size_t entries = count > 256 ? static_cast<size_t>(count) : 256;
  auto* table = static_cast<DibRgbQuad*>(memAlloc_rel(entries * sizeof(DibRgbQuad), HEAPKIT_TAG_RW));
  if (table == nullptr) return nullptr;
  for (size_t i = 0; i < entries; ++i) table[i] = DibRgbQuad{0, 0, 0, 0};
  for (int i = 0; i < 10; ++i) {
    table[i] = DibRgbQuad{low[i].peBlue, low[i].peGreen, low[i].peRed, 0};
    table[246 + i] = DibRgbQuad{high[i].peBlue, high[i].peGreen, high[i].peRed, 0};
  }
  return table;
}

int palGetColorTable(HPALETTE palette, int start, int count, DibRgbQuad* table) {
  if (table == nullptr || start < 0 || count <= 0 || start + count > 256) return 0;
  PALETTEENTRY entries[256];
  if (GetPaletteEntries(palette, static_cast<UINT>(start), static_cast<UINT>(count), entries) !=
      static_cast<UINT>(count)) {
    return 0;
  }
  for (int k = 0; k < count; ++k) {
    table[start + k] = DibRgbQuad{entries[k].peBlue, entries[k].peGreen, entries[k].peRed, 0};
  }
  return count;
}

}  // extern "C"
