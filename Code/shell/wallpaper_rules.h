// The OS-free half of room wallpapers: the vertical gradient's colours, the
// wallpaper keys' values, the colours edited in the wallpaper dialog, and
// how many pixel bytes a gradient drawn into a bitmap may fill.
//
// Interface: GradientColourAt, WallpaperKindFromText, ColourFromEdits,
// WallpaperPixelBytes, FillGradientDib.
#pragma once

#include <cstdint>

struct PackedDib;

// Colours are 0x00BBGGRR. Row (or column) `y` of `count`: each channel is
// top + (bottom - top) * y / count, integer multiply-divide, modulo 256.
uint32_t GradientColourAt(uint32_t top, uint32_t bottom, int y, int count);

// 1 (bitmap) only for exactly "bitmap"; anything else is the gradient (0).
int WallpaperKindFromText(const char* text);

// A colour from the three edits of the wallpaper dialog, each taken modulo
// 256 (300 becomes 44).
uint32_t ColourFromEdits(int red, int green, int blue);

// The bytes behind the header and colour area that hold the pixels:
// stride x height, computed from the header's width, height and bit count
// (the header's own image size is often 0). 0 for a null or empty bitmap
// or one too large to address.
uint32_t WallpaperPixelBytes(const PackedDib* dib);

// Fills a 16-bit (5-5-5) or 24-bit bitmap with the vertical gradient, top
// row first whatever the row order; other depths are left alone. 1 when
// filled.
int FillGradientDib(PackedDib* dib, uint32_t top, uint32_t bottom);
