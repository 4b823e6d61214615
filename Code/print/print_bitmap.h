// Small device-independent bitmap routines of the printing library: an
// empty 8-bit bitmap in one block, a pixel's address and a header's colour
// table size. Bitmaps here are bottom-up with rows padded to 4 bytes.
//
// Interface: kBitmapHeaderSize, MakeEmptyBitmap8, BitmapPixelAddress,
// BitmapColorTableBytes, BitmapRowStride.
#pragma once

#include <cstdint>
#include <vector>

constexpr uint32_t kBitmapHeaderSize = 40;

// (bits per pixel x width + 31) / 32 x 4.
uint32_t BitmapRowStride(int32_t width, int32_t bitsPerPixel);

// Header, a 256-entry colour table holding the indexes 0-255, zero pixels.
std::vector<uint8_t> MakeEmptyBitmap8(int32_t width, int32_t height);

// The pixel at (x, y), y counted from the top row; null outside the bitmap.
uint8_t* BitmapPixelAddress(std::vector<uint8_t>& bitmap, int32_t x, int32_t y);

// Bytes of the colour table after a header: 2, 16 or 256 entries for 1, 4
// and 8 bits, else the header's used-colour count; 3 bytes an entry after
// the old 12-byte header, else 4.
uint32_t BitmapColorTableBytes(const uint8_t* header);
