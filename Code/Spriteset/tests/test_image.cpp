#include "test_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace spritetest {

namespace {
uint8_t* Address(const PackedDib* dib, int x, int y) {
  const int h = dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
  const int row = dib->biHeight < 0 ? y : h - 1 - y;
  return static_cast<uint8_t*>(dibGetBits(dib)) +
         static_cast<size_t>(row) * dibRowStride(dib->biBitCount, dib->biWidth) +
         static_cast<size_t>(x) * (dib->biBitCount / 8);
}
}  // namespace

uint32_t Pixel(const PackedDib* dib, int x, int y) {
  const uint8_t* p = Address(dib, x, y);
  uint32_t v = 0;
  for (int i = 0; i < dib->biBitCount / 8; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
  return v;
}

void SetPixel(PackedDib* dib, int x, int y, uint32_t value) {
  uint8_t* p = Address(dib, x, y);
  for (int i = 0; i < dib->biBitCount / 8; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

DibPtr Image8(const std::vector<std::string>& rows) {
  const int w = static_cast<int>(rows.at(0).size()), h = static_cast<int>(rows.size());
  return ImageOf(w, h, 8, [&](int x, int y) -> uint32_t {
    const char c = rows[y].at(x);
    return c == '.' ? 0 : static_cast<uint32_t>(std::stoi(std::string(1, c), nullptr, 16));
  });
}

std::string Text(const PackedDib* dib) {
  const int h = dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
  std::string out;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < dib->biWidth; ++x) out += "0123456789abcdef"[Pixel(dib, x, y) & 0xF];
    out += '\n';
  }
  return out;
}

std::string Golden(const std::string& name) {
  std::ifstream in(std::string(SPRITESET_GOLDEN_DIR) + "/" + name);
  EXPECT_TRUE(in.good()) << "missing golden file " << name;
  std::string line, out;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    out += line + '\n';
  }
  return out;
}

Scene::Scene(int width, int height, int bits, uint32_t sentinel) {
  spriteset::MemoryCanvasSetScreen(bits, 1);
  scene_ = InitAnimate(0);
  EXPECT_NE(scene_, nullptr);
  EXPECT_EQ(SetCanvasSize(scene_, width, height), 0);
  image_.reset(dibCreateWithColors(width, height, bits == 32 ? 24 : bits));
  target_.image = image_.get();
  Fill(sentinel);
  spriteset::MemoryCanvasSetScreen(8, 1);
}

Scene::~Scene() { TerminateAnimate(scene_); }

void Scene::Fill(uint32_t value) {
  const int h = image_->biHeight;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < image_->biWidth; ++x) SetPixel(image_.get(), x, y, value);
}

int Scene::Add(PackedDib* dib, int x, int y, int depth) {
  const int sprite = AddSprite(scene_);
  const int entry = AddSpriteDib(scene_, dib);
  SetSpriteSpriteDib(scene_, sprite, entry);
  ShowSprite(scene_, sprite, x, y, depth, -1);
  return sprite;
}

}  // namespace spritetest
