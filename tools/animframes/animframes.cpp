// animframes: writes a frame set of an animated button as 8-bit bitmap
// files, 48 x 48 pixels each, and a list of them for mkpack.
//
//   animframes FOLDER PREFIX COUNT VARIANT
//
// writes PREFIX00.bmp .. (COUNT frames), PREFIX_off.bmp, PREFIX_mask.bmp,
// PREFIX_click.bmp and PREFIX.list in FOLDER. Every file shares one colour
// table: 0 the see-through key (black), 1 white, 2 the panel, 3 the disc,
// 4 the click picture, 5 the spinner's hand, 6 the panel's edge; the centre
// of frame k is index 16 + k, RGB(10 + 6k, 250 - 5k, 100), in variant 0 and
// index 60 + k, RGB(100, 250 - 5k, 10 + 6k), in variant 1. (A button draws
// its frames onto its own background, with that bitmap's colour table, so
// the variants differ in their pixels, not in their tables.) The mask is a
// disc of radius 22 around (24, 24); its corners are see-through, and so
// are the frames'.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dibkit.h"

namespace {

constexpr int kSize = 48;
constexpr int kMaxFrames = 40;

void SetColours(PackedDib* dib) {
  auto* table = static_cast<DibRgbQuad*>(dibGetColorArea(dib));
  auto set = [&](int i, int r, int g, int b) { table[i] = {uint8_t(b), uint8_t(g), uint8_t(r), 0}; };
  for (int i = 0; i < 256; ++i) set(i, 0, 0, 0);
  set(1, 255, 255, 255);
  set(2, 150, 150, 160);
  set(3, 40, 80, 200);
  set(4, 200, 40, 40);
  set(5, 250, 220, 40);
  set(6, 20, 20, 40);
  for (int k = 0; k < kMaxFrames; ++k) {
    set(16 + k, 10 + 6 * k, 250 - 5 * k, 100);
    set(60 + k, 100, 250 - 5 * k, 10 + 6 * k);
  }
}

// Pixel index at (x, y) of picture `what`: -1 the panel, -2 the mask,
// -3 the click picture, k >= 0 frame k of `count`.
int PixelOf(int what, int count, int variant, int x, int y) {
  double dx = x + 0.5 - kSize / 2.0, dy = y + 0.5 - kSize / 2.0;
  double r = std::sqrt(dx * dx + dy * dy);
  if (what == -1) return x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1 ? 6 : 2;
  if (r > 22) return 0;
  if (what == -2) return 1;
  if (what == -3) return r > 20 ? 6 : 4;
  if (r <= 10) return (variant == 0 ? 16 : 60) + what;
  double angle = 2 * 3.14159265358979 * what / count;
  double hx = 16 * std::sin(angle), hy = -16 * std::cos(angle);
  if (std::fabs(dx - hx) <= 3 && std::fabs(dy - hy) <= 3) return 5;
  return r > 20 ? 6 : 3;
}

bool Write(const std::string& path, int what, int count, int variant) {
  PackedDib* dib = dibCreateWithColors(kSize, kSize, 8);
  if (!dib) return false;
  SetColours(dib);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      *static_cast<uint8_t*>(dibGetPixelAddress(dib, x, y)) = uint8_t(PixelOf(what, count, variant, x, y));
  bool ok = dibWriteFile(path.c_str(), dib) != 0;
  dibDelete(dib);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: animframes FOLDER PREFIX COUNT VARIANT\n");
    return 2;
  }
  std::string folder = argv[1], prefix = argv[2];
  int count = std::atoi(argv[3]), variant = std::atoi(argv[4]);
  if (count < 1 || count > kMaxFrames) {
    std::fprintf(stderr, "animframes: COUNT must be 1..%d\n", kMaxFrames);
    return 2;
  }
  std::string list;
  auto add = [&](const std::string& name, int what) {
    std::string path = folder + "/" + name;
    if (!Write(path, what, count, variant)) {
      std::fprintf(stderr, "animframes: %s: cannot be written\n", path.c_str());
      std::exit(1);
    }
    list += path + "\n";
  };
  for (int k = 0; k < count; ++k) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%02d.bmp", prefix.c_str(), k);
    add(name, k);
  }
  add(prefix + "_off.bmp", -1);
  add(prefix + "_mask.bmp", -2);
  add(prefix + "_click.bmp", -3);
  FILE* f = std::fopen((folder + "/" + prefix + ".list").c_str(), "w");
  if (!f || std::fputs(list.c_str(), f) < 0 || std::fclose(f) != 0) {
    std::fprintf(stderr, "animframes: %s.list: cannot be written\n", prefix.c_str());
    return 1;
  }
  return 0;
}
