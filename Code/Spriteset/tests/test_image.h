// Helpers of the Spriteset tests: small 8-bit images written as text (one
// hex digit per pixel, '.' for the transparent 0), golden files, and a
// scene painted into a memory target.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "canvas_memory.h"
#include "dibkit.h"
#include "spriteset.h"

inline bool operator==(const DibRect& a, const DibRect& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

namespace spritetest {

struct DibDeleter {
  void operator()(PackedDib* d) const { dibDelete(d); }
};
using DibPtr = std::unique_ptr<PackedDib, DibDeleter>;

// An 8-bit bottom-up image from rows of hex digits ('.' is 0).
DibPtr Image8(const std::vector<std::string>& rows);
// An image of the given depth with every pixel f(x, y).
template <typename F>
DibPtr ImageOf(int width, int height, int bits, F f);
uint32_t Pixel(const PackedDib* dib, int x, int y);
void SetPixel(PackedDib* dib, int x, int y, uint32_t value);
// An 8-bit image as rows of hex digits joined by '\n'.
std::string Text(const PackedDib* dib);
// A golden file from tests/golden: its rows, without '#' comment lines.
std::string Golden(const std::string& name);

// A scene with a canvas of the given size at the given screen depth and a
// target of the same shape filled with `sentinel`.
class Scene {
 public:
  Scene(int width, int height, int bits = 8, uint32_t sentinel = 0xF);
  ~Scene();
  AnimScene* get() const { return scene_; }
  operator AnimScene*() const { return scene_; }
  spriteset::MemoryTarget* target() { return &target_; }
  PackedDib* image() const { return image_.get(); }
  void Fill(uint32_t value);
  void Paint() { PaintScene(scene_, &target_); }
  // A sprite showing the whole image, placed top-left at (x, y).
  int Add(PackedDib* dib, int x, int y, int depth);

 private:
  AnimScene* scene_;
  DibPtr image_;
  spriteset::MemoryTarget target_{};
};

template <typename F>
DibPtr ImageOf(int width, int height, int bits, F f) {
  DibPtr d(dibCreateWithColors(width, height, bits));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixel(d.get(), x, y, f(x, y));
  return d;
}

}  // namespace spritetest
