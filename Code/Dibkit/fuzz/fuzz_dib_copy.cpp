// Fuzz target: copies between images of every depth and row order, with any
// rectangle, effect and key, and the surface copies; nothing may be written
// or read outside the images.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dib_surface.h"
#include "dibkit.h"

namespace {

struct Input {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  int32_t Coord() { return static_cast<int8_t>(Byte()); }
};

PackedDib* MakeImage(Input& in) {
  static const int kDepths[3] = {8, 16, 24};
  int32_t w = 1 + in.Byte() % 24, h = 1 + in.Byte() % 24;
  uint8_t flags = in.Byte();
  PackedDib* d = dibCreateWithColors(w, (flags & 1) ? -h : h, kDepths[(flags >> 1) % 3]);
  if (d != nullptr) dibFillWithColor(d, flags);
  if (d != nullptr && d->biBitCount == 24) {
    auto* bits = static_cast<uint8_t*>(dibGetBits(d));
    for (uint32_t i = 0; i < d->biSizeImage; ++i) bits[i] = static_cast<uint8_t>(i * flags);
  }
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  PackedDib* dst = MakeImage(in);
  PackedDib* src = MakeImage(in);
  if (dst == nullptr || src == nullptr) {
    dibDelete(dst);
    dibDelete(src);
    return 0;
  }
  while (in.n > 0) {
    int32_t dx = in.Coord(), dy = in.Coord(), sx = in.Coord(), sy = in.Coord(), w = in.Coord(),
            h = in.Coord();
    uint8_t op = in.Byte();
    uint32_t key = in.Byte() | in.Byte() << 8;
    switch (op % 8) {
      case 0:
        dibCopyDIB(dst, src, dx, dy, sx, sy, w, h);
        break;
      case 1:
        dibTransCopyDIB(dst, src, dx, dy, sx, sy, w, h, key);
        break;
      case 2:
      case 3:
      case 4:
        dibFXCopyDIB(dst, src, dx, dy, sx, sy, w, h, op % 8 - 1, key, key >> 8);
        break;
      case 5: {
        DibRect r{sx, sy, sx + w, sy + h};
        dibPaintControlBackgroundOffset(src, dst, &r, dx, dy);
        dibFillRect(dst, dibGetBits(dst), &r, static_cast<uint8_t>(key));
        break;
      }
      case 6: {
        std::vector<uint8_t> bits(static_cast<size_t>(24) * 4 * 24);
        dibkit::Surface s{bits.data(),
                          static_cast<int32_t>(1 + (key & 15)),
                          static_cast<int32_t>(1 + ((key >> 4) & 15)),
                          (key & 0x100) != 0,
                          24 * 4,
                          static_cast<int>(8 * (1 + (op >> 3) % 3))};
        dibkit::CopyDibToSurface(s, dx, dy, src);
        dibkit::CopySurfaceToDib(s, dx, dy, dst);
        dibkit::TransCopyDibToSurface(s, dx, dy, src, key);
        dibkit::MaskedCopyDibToSurface(s, src, dx, dy, sx, sy, w, h);
        break;
      }
      default: {
        DibRect r{sx, sy, sx + w, sy + h};
        dibDelete(dibDuplicateFromRect(src, &r));
        dibDelete(dibDuplicatePadded(src, dx & 7, dy & 7, w & 7, h & 7));
        dibDelete(dibCropDIB(src, 1 + (w & 31), 1 + (h & 31)));
        dibTileRectDib(dst, src);
        break;
      }
    }
  }
  dibDelete(dst);
  dibDelete(src);
  return 0;
}
