#include "bmp_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {
uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}
}  // namespace

bool ReadBitmap8(const std::string& path, Bitmap8* out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (d.size() < 54 + 1024 || d[0] != 'B' || d[1] != 'M') return false;
  const uint32_t offset = U32(d, 10), infoSize = U32(d, 14);
  const int32_t width = static_cast<int32_t>(U32(d, 18)), height = static_cast<int32_t>(U32(d, 22));
  const unsigned bits = d[28] | d[29] << 8;
  const uint32_t compression = U32(d, 30), used = U32(d, 46);
  if (bits != 8 || compression != 0 || (used != 0 && used != 256) || width <= 0 || height == 0) return false;
  const size_t rows = static_cast<size_t>(height < 0 ? -height : height);
  const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t(3);
  if (14 + infoSize + 1024 > offset || offset + stride * rows > d.size()) return false;
  for (int i = 0; i < 256; ++i) {
    const size_t at = 14 + infoSize + 4 * i;
    out->table[i] = Rgb{d[at + 2], d[at + 1], d[at]};
  }
  out->width = width;
  out->height = static_cast<int>(rows);
  out->pixels.resize(static_cast<size_t>(width) * rows);
  for (size_t y = 0; y < rows; ++y) {
    const size_t fileRow = height > 0 ? rows - 1 - y : y;
    std::copy_n(d.begin() + offset + fileRow * stride, width, out->pixels.begin() + y * width);
  }
  return true;
}
