// Bitmap routines.

#include "print_bitmap.h"

#include <cstring>

namespace {

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
uint32_t Get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

uint32_t BitmapRowStride(int32_t width, int32_t bitsPerPixel) {
  return static_cast<uint32_t>((static_cast<int64_t>(bitsPerPixel) * width + 31) / 32 * 4);
}

std::vector<uint8_t> MakeEmptyBitmap8(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || width > 65536 || height > 65536) return {};
  const uint32_t stride = BitmapRowStride(width, 8);
  const uint32_t table = 256 * 4;
  std::vector<uint8_t> block(kBitmapHeaderSize + table + static_cast<size_t>(stride) * height, 0);
  uint8_t* h = block.data();
  Put32(h, kBitmapHeaderSize);
  Put32(h + 4, static_cast<uint32_t>(width));
  Put32(h + 8, static_cast<uint32_t>(height));
  Put16(h + 12, 1);
  Put16(h + 14, 8);
  Put32(h + 20, stride * static_cast<uint32_t>(height));
  Put32(h + 32, 256);
  for (uint32_t i = 0; i < 256; ++i) Put32(h + kBitmapHeaderSize + 4 * i, i);
  return block;
}

uint8_t* BitmapPixelAddress(std::vector<uint8_t>& bitmap, int32_t x, int32_t y) {
  if (bitmap.size() < kBitmapHeaderSize) return nullptr;
  const uint8_t* h = bitmap.data();
  const int32_t width = static_cast<int32_t>(Get32(h + 4));
  const int32_t height = static_cast<int32_t>(Get32(h + 8));
  if (Get16(h + 14) != 8 || x < 0 || y < 0 || x >= width || y >= height) {
    // "Warning, Attempt to get out of range pixel addr": no trace is kept.
    return nullptr;
  }
  const size_t offset = kBitmapHeaderSize + BitmapColorTableBytes(h) +
                        static_cast<size_t>(BitmapRowStride(width, 8)) * (height - 1 - y) + x;
  return offset < bitmap.size() ? bitmap.data() + offset : nullptr;
}

uint32_t BitmapColorTableBytes(const uint8_t* header) {
  const uint32_t size = Get32(header);
  const bool old = size == 12;
  const uint16_t bits = old ? Get16(header + 10) : Get16(header + 14);
  uint32_t entries;
  switch (bits) {
    case 1: entries = 2; break;
    case 4: entries = 16; break;
    case 8: entries = 256; break;
    default: entries = old ? 0 : Get32(header + 32); break;
  }
  return entries * (old ? 3 : 4);
}
