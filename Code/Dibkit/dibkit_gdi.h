// Dibkit's Windows part: DIB sections, drawing on device contexts, tiling
// there, and the GDI palettes with which the program keeps one 256-colour
// palette for the screen.
//
// The display runs in 256-colour palette mode: every 8-bit image that is
// drawn carries the identity index table (dibColorsToIndices), so pixel
// value n shows entry n of the palette selected into the device context.
// Entries 10..245 are the program's own (no-collapse); 0..9 and 246..255
// are the system's static colours.
#pragma once

#include <windows.h>

#include "dibkit.h"

#ifdef __cplusplus
extern "C" {
#endif

// An empty image of the bitmap's width and height, at 8 bits when force8 is
// non-zero, else at the bitmap's depth (8, 16 or 24). Null on failure.
DIBKIT_API PackedDib* dibFromBitmap(HBITMAP bitmap, void* unused, int force8);

// Copies with a DIB section (x, y count from the section's top row). What
// would fall outside the section is left out. 1, or 0 when the image is null
// or the section cannot be read.
// The whole 8-bit image into an 8-bit section at (x, y).
DIBKIT_API int dibCopyToDibSection(int x, int y, const PackedDib* dib, HBITMAP section);
// The section's pixels from (x, y), the image's size, into the whole image.
DIBKIT_API int dibCopyDIBSectionToDIB(int x, int y, PackedDib* dib, HBITMAP section);
// Transparent copy of the whole image, converted to the section's depth with
// the image's own colour area as the table.
DIBKIT_API int dibTransCopyToDibSection(int x, int y, const PackedDib* dib, HBITMAP section, uint32_t key);
// The rectangle of the image into the section wherever the section pixel is
// not 0; 0 when the rectangle lies outside either.
DIBKIT_API int dibCopyMaskedToDIBSection(HBITMAP section, const PackedDib* dib, int dstX, int dstY, int srcX,
                                         int srcY, int width, int height);

// Drawing, without stretching, raster operation copy unless said. Source
// coordinates count from the image's top row. A null image draws nothing.
// Results are those of StretchDIBits (scan lines drawn), 0 for nothing.
// Images of 8 bits or fewer with palette-index colours; deeper ones as RGB.
DIBKIT_API int dibDisplay(HDC dc, int x, int y, int width, int height, int srcX, int srcY,
                          const PackedDib* dib);
DIBKIT_API int dibDisplayRGB(HDC dc, int x, int y, int width, int height, int srcX, int srcY,
                             const PackedDib* dib);
// A locked bitmap resource laid out as a packed DIB, with palette indices.
DIBKIT_API int dibDisplayResource(HDC dc, int x, int y, int width, int height, int srcX, int srcY,
                                  const void* resource);
// With the given colour usage (DIB_RGB_COLORS, DIB_PAL_COLORS) and raster
// operation.
DIBKIT_API int dibRasterOp(HDC dc, int x, int y, int width, int height, int srcX, int srcY, UINT usage,
                           const PackedDib* dib, DWORD rop);

// Fills the rectangle with whole tiles on a grid aligned to the tile size.
// 1, or 0 for a null argument. The first argument is not used.
DIBKIT_API int dibTileBackground(void* unused, HDC dc, const PackedDib* tile, const RECT* rect);
// Fills (x, y, width, height) with the tile so that its top-left corner
// shows tile pixel (srcX mod tile width, srcY mod tile height). Returns
// x + width.
DIBKIT_API int dibTileRectDC(HDC dc, const PackedDib* tile, int srcX, int srcY, int x, int y, int width,
                             int height);

// Palettes of 256 entries (version 0x300).
// From an 8-bit image's colour table, no flags; null otherwise.
DIBKIT_API HPALETTE dibCreatePalette(const PackedDib* dib);
// From 256 colours; entries first..last carry PC_NOCOLLAPSE.
DIBKIT_API HPALETTE palCreateCustomPalette(const DibRgbQuad* colours, int first, int last);
// Sets entries start .. start + count - 1 from colours, each PC_NOCOLLAPSE.
// start + count must be below 256 ("invalid pal indices"); a null palette is
// reported ("bad pal coming in!"). 1 when the entries were set, else 0.
DIBKIT_API int palReviseCustomPalette(HPALETTE* palette, const DibRgbQuad* colours, int start, int count);
// A new Heapkit table of 256 colours: the system's static colours in 0..9
// and 246..255, black in 10..245. Null without a device context or memory.
DIBKIT_API DibRgbQuad* palCopySystemPalette(int count);
// Reads count entries from start into table[start + k]; returns count, or 0
// when the table is null or fewer entries came back.
DIBKIT_API int palGetColorTable(HPALETTE palette, int start, int count, DibRgbQuad* table);

#ifdef __cplusplus
}
#endif
