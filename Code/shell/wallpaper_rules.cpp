// Wallpaper arithmetic (see wallpaper_rules.h).
#include "wallpaper_rules.h"

#include <cstring>
#include <initializer_list>

#include "dibkit.h"

namespace {

uint32_t Channel(uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

int64_t Absolute(int64_t v) { return v < 0 ? -v : v; }

}  // namespace

uint32_t GradientColourAt(uint32_t top, uint32_t bottom, int y, int count) {
  if (count <= 0) return top & 0xFFFFFF;
  uint32_t colour = 0;
  for (int shift : {0, 8, 16}) {
    int64_t from = Channel(top, shift), to = Channel(bottom, shift);
    int64_t value = from + (to - from) * y / count;
    colour |= (static_cast<uint32_t>(value) & 0xFF) << shift;
  }
  return colour;
}

int WallpaperKindFromText(const char* text) { return text && std::strcmp(text, "bitmap") == 0 ? 1 : 0; }

uint32_t ColourFromEdits(int red, int green, int blue) {
  auto byte = [](int v) { return static_cast<uint32_t>(v) & 0xFF; };
  return byte(red) | byte(green) << 8 | byte(blue) << 16;
}

uint32_t WallpaperPixelBytes(const PackedDib* dib) {
  if (!dib || dib->biWidth <= 0 || dib->biHeight == 0) return 0;
  if (dib->biBitCount == 0 || dib->biBitCount > 32) return 0;
  uint64_t stride =
      (static_cast<uint64_t>(dib->biBitCount) * static_cast<uint64_t>(dib->biWidth) + 31) / 32 * 4;
  uint64_t bytes = stride * static_cast<uint64_t>(Absolute(dib->biHeight));
  return bytes > 0x7FFFFFFF ? 0 : static_cast<uint32_t>(bytes);
}

int FillGradientDib(PackedDib* dib, uint32_t top, uint32_t bottom) {
  if (!dib || (dib->biBitCount != 16 && dib->biBitCount != 24) || !WallpaperPixelBytes(dib)) return 0;
  const int height = static_cast<int>(Absolute(dib->biHeight));
  const uint32_t stride = dibRowStride(dib->biBitCount, dib->biWidth);
  auto* bits = static_cast<uint8_t*>(dibGetBits(dib));
  for (int y = 0; y < height; ++y) {
    uint32_t c = GradientColourAt(top, bottom, y, height);
    uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    int stored = dib->biHeight > 0 ? height - 1 - y : y;
    uint8_t* row = bits + static_cast<size_t>(stored) * stride;
    for (int x = 0; x < dib->biWidth; ++x) {
      if (dib->biBitCount == 16) {
        uint16_t v = static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
      } else {
        row[3 * x] = static_cast<uint8_t>(b);
        row[3 * x + 1] = static_cast<uint8_t>(g);
        row[3 * x + 2] = static_cast<uint8_t>(r);
      }
    }
  }
  return 1;
}
