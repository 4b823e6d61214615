// 8-bit and 24-bit Windows bitmap files for the chess-set generator.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Bitmap8 {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // top row first
  std::array<std::array<uint8_t, 3>, 256> table{};
};

bool ReadBitmap8(const std::string& path, Bitmap8* out);
bool WriteBitmap8(const std::string& path, const Bitmap8& bitmap);
// rgb: width * height * 3 bytes, top row first.
bool WriteBitmap24(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
