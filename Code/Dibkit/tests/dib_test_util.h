// Helpers of the Dibkit tests.
#pragma once

#include <cstdint>
#include <memory>

#include "dibkit.h"

namespace dibtest {

struct DibDeleter {
  void operator()(PackedDib* d) const { dibDelete(d); }
};
using DibPtr = std::unique_ptr<PackedDib, DibDeleter>;

inline DibPtr Make(int32_t w, int32_t h, int bits) { return DibPtr(dibCreateWithColors(w, h, bits)); }

inline uint8_t& Px8(PackedDib* d, int32_t x, int32_t y) {
  return *static_cast<uint8_t*>(dibGetPixelAddress(d, x, y));
}

inline uint32_t Px(const PackedDib* d, int32_t x, int32_t y) {
  auto* p = static_cast<const uint8_t*>(dibGetPixelAddress(d, x, y));
  switch (d->biBitCount) {
    case 8:
      return p[0];
    case 16:
      return p[0] | p[1] << 8;
    default:
      return p[0] | p[1] << 8 | p[2] << 16;
  }
}

inline void SetPx(PackedDib* d, int32_t x, int32_t y, uint32_t v) {
  auto* p = static_cast<uint8_t*>(dibGetPixelAddress(d, x, y));
  for (int i = 0; i < d->biBitCount / 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Every pixel set to f(x, y).
template <typename F>
void Paint(PackedDib* d, F f) {
  int32_t h = d->biHeight < 0 ? -d->biHeight : d->biHeight;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < d->biWidth; ++x) SetPx(d, x, y, f(x, y));
}

}  // namespace dibtest
