// Reads the 8-bit bitmap files the picture scripts write: size, colour
// table and pixels (top row first).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct Bitmap8 {
  int width = 0, height = 0;
  std::array<Rgb, 256> table{};
  std::vector<uint8_t> pixels;
};

// False when the file is missing or not an uncompressed 8-bit bitmap with
// a full colour table.
bool ReadBitmap8(const std::string& path, Bitmap8* out);
