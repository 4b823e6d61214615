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

// 16-bit 5-5-5 pictures; the see-through key of 3-D sets is 0xFC1F.
constexpr uint16_t kKey555 = 0xFC1F;
struct Bitmap16 {
  int width = 0, height = 0;
  std::vector<uint16_t> pixels;  // top row first
};
bool ReadBitmap16(const std::string& path, Bitmap16* out);
bool WriteBitmap16(const std::string& path, const Bitmap16& bitmap);

// Either kind as colours and a see-through mask, for checks and the contact sheet.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::array<uint8_t, 3>> rgb;
  std::vector<uint8_t> key;  // 1 where see-through
};
bool ReadPicture(const std::string& path, Picture* out);
Picture PictureOf(const Bitmap8& bitmap, bool keyed);
Picture PictureOf(const Bitmap16& bitmap);
bool WriteBitmap8(const std::string& path, const Bitmap8& bitmap);
// rgb: width * height * 3 bytes, top row first.
bool WriteBitmap24(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
