// Bitmap files: no time stamps or variable fields, so the same pixels give
// the same bytes.
#include "bmp_io.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

void Put16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(v & 0xFF);
  out->push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
uint32_t Get32(const std::vector<uint8_t>& d, size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | uint32_t{d[at + 3]} << 24;
}

std::vector<uint8_t> Header(int width, int height, int bits, size_t tableBytes, size_t imageBytes) {
  std::vector<uint8_t> h;
  uint32_t offset = 14 + 40 + static_cast<uint32_t>(tableBytes);
  h.push_back('B');
  h.push_back('M');
  Put32(&h, offset + static_cast<uint32_t>(imageBytes));
  Put32(&h, 0);
  Put32(&h, offset);
  Put32(&h, 40);
  Put32(&h, width);
  Put32(&h, height);
  Put16(&h, 1);
  Put16(&h, bits);
  Put32(&h, 0);
  Put32(&h, static_cast<uint32_t>(imageBytes));
  Put32(&h, 2835);
  Put32(&h, 2835);
  Put32(&h, bits == 8 ? 256 : 0);
  Put32(&h, 0);
  return h;
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return static_cast<bool>(out);
}

}  // namespace

bool ReadBitmap8(const std::string& path, Bitmap8* out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), {});
  if (d.size() < 54 + 1024 || d[0] != 'B' || d[1] != 'M') return false;
  uint32_t offset = Get32(d, 10), infoSize = Get32(d, 14);
  int32_t width = static_cast<int32_t>(Get32(d, 18)), height = static_cast<int32_t>(Get32(d, 22));
  if ((d[28] | d[29] << 8) != 8 || width <= 0 || height == 0 || width > 20000) return false;
  bool bottomUp = height > 0;
  if (height < 0) height = -height;
  if (height > 20000) return false;
  size_t stride = (width + 3) & ~3u;
  if (offset + stride * height > d.size() || 14 + infoSize + 1024 > d.size()) return false;
  out->width = width;
  out->height = height;
  for (int i = 0; i < 256; ++i) {
    size_t at = 14 + infoSize + 4 * i;
    out->table[i] = {d[at + 2], d[at + 1], d[at]};
  }
  out->pixels.resize(size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    size_t row = bottomUp ? height - 1 - y : y;
    std::copy_n(d.begin() + offset + row * stride, width, out->pixels.begin() + size_t(y) * width);
  }
  return true;
}

bool WriteBitmap8(const std::string& path, const Bitmap8& bitmap) {
  size_t stride = (bitmap.width + 3) & ~3u;
  std::vector<uint8_t> bytes = Header(bitmap.width, bitmap.height, 8, 1024, stride * bitmap.height);
  for (const auto& c : bitmap.table) {
    bytes.push_back(c[2]);
    bytes.push_back(c[1]);
    bytes.push_back(c[0]);
    bytes.push_back(0);
  }
  for (int y = bitmap.height - 1; y >= 0; --y) {
    auto row = bitmap.pixels.begin() + size_t(y) * bitmap.width;
    bytes.insert(bytes.end(), row, row + bitmap.width);
    bytes.insert(bytes.end(), stride - bitmap.width, 0);
  }
  return WriteAll(path, bytes);
}

bool WriteBitmap24(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
  size_t stride = (size_t(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> bytes = Header(width, height, 24, 0, stride * height);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
      bytes.push_back(p[2]);
      bytes.push_back(p[1]);
      bytes.push_back(p[0]);
    }
    bytes.insert(bytes.end(), stride - size_t(width) * 3, 0);
  }
  return WriteAll(path, bytes);
}

bool ReadBitmap16(const std::string& path, Bitmap16* out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), {});
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M' || (d[28] | d[29] << 8) != 16) return false;
  uint32_t offset = Get32(d, 10);
  int32_t width = static_cast<int32_t>(Get32(d, 18)), height = static_cast<int32_t>(Get32(d, 22));
  bool bottomUp = height > 0;
  if (height < 0) height = -height;
  if (width <= 0 || height == 0 || width > 20000 || height > 20000) return false;
  size_t stride = (size_t(width) * 2 + 3) & ~size_t{3};
  if (offset + stride * height > d.size()) return false;
  out->width = width;
  out->height = height;
  out->pixels.resize(size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    size_t row = bottomUp ? height - 1 - y : y;
    for (int x = 0; x < width; ++x) {
      size_t at = offset + row * stride + 2 * x;
      out->pixels[size_t(y) * width + x] = static_cast<uint16_t>(d[at] | d[at + 1] << 8);
    }
  }
  return true;
}

bool WriteBitmap16(const std::string& path, const Bitmap16& bitmap) {
  size_t stride = (size_t(bitmap.width) * 2 + 3) & ~size_t{3};
  std::vector<uint8_t> bytes = Header(bitmap.width, bitmap.height, 16, 0, stride * bitmap.height);
  for (int y = bitmap.height - 1; y >= 0; --y) {
    for (int x = 0; x < bitmap.width; ++x) Put16(&bytes, bitmap.pixels[size_t(y) * bitmap.width + x]);
    bytes.insert(bytes.end(), stride - size_t(bitmap.width) * 2, 0);
  }
  return WriteAll(path, bytes);
}

Picture PictureOf(const Bitmap8& bitmap, bool keyed) {
  Picture p;
  p.width = bitmap.width, p.height = bitmap.height;
  for (uint8_t v : bitmap.pixels) {
    p.rgb.push_back(bitmap.table[v]);
    p.key.push_back(keyed && v == 0);
  }
  return p;
}

Picture PictureOf(const Bitmap16& bitmap) {
  Picture p;
  p.width = bitmap.width, p.height = bitmap.height;
  for (uint16_t v : bitmap.pixels) {
    auto five = [](int c) { return static_cast<uint8_t>(c << 3 | c >> 2); };
    p.rgb.push_back({five(v >> 10 & 31), five(v >> 5 & 31), five(v & 31)});
    p.key.push_back(v == kKey555);
  }
  return p;
}

bool ReadPicture(const std::string& path, Picture* out) {
  Bitmap8 b8;
  if (ReadBitmap8(path, &b8)) {
    *out = PictureOf(b8, true);
    return true;
  }
  Bitmap16 b16;
  if (ReadBitmap16(path, &b16)) {
    *out = PictureOf(b16);
    return true;
  }
  return false;
}
