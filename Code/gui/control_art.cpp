// Pixel drawing of the small painted controls: see control_art.h.
#include "control_art.h"

#include <algorithm>
#include <cstdlib>

namespace {

int32_t Height(const PackedDib* dib) { return std::abs(dib->biHeight); }

bool Usable(const PackedDib* dib) { return dib && dib->biBitCount == 8 && dib->biWidth > 0 && dib->biHeight; }

void Put(PackedDib* dib, int32_t x, int32_t y, uint8_t index) {
  if (auto* p = static_cast<uint8_t*>(dibGetPixelAddress(dib, x, y))) *p = index;
}

void Column(PackedDib* dib, int32_t x, int32_t top, int32_t bottom, uint8_t index) {
  for (int32_t y = top; y <= bottom; ++y) Put(dib, x, y, index);
}

void Row(PackedDib* dib, int32_t y, int32_t left, int32_t right, uint8_t index) {
  for (int32_t x = left; x <= right; ++x) Put(dib, x, y, index);
}

}  // namespace

void ArtFill(PackedDib* dib, const DibRect& rect, uint8_t index) {
  if (!Usable(dib) || rect.right <= rect.left || rect.bottom <= rect.top) return;
  DibRect inclusive{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
  dibFillRect(dib, dibGetBits(dib), &inclusive, index);
}

void ArtRaisedEdge(PackedDib* dib, const DibRect& rect, uint8_t light, uint8_t dark) {
  if (!Usable(dib) || rect.right <= rect.left || rect.bottom <= rect.top) return;
  const int32_t l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
  Column(dib, l, t, b, light);
  Row(dib, t, l, r - 1, light);
  Column(dib, r, t, b, dark);
  Row(dib, b, l + 1, r, dark);
}

void ArtTabFaceEdges(PackedDib* dib, uint8_t light, uint8_t dark, uint8_t black) {
  if (!Usable(dib)) return;
  const int32_t w = dib->biWidth, h = Height(dib);
  Column(dib, 0, 0, h - 1, light);
  Row(dib, 0, 0, w - 3, light);
  if (w >= 2) Column(dib, w - 2, 1, h - 2, dark);
  Column(dib, w - 1, 1, h - 1, black);
}

int32_t ArtClippedCopy(PackedDib* dst, const PackedDib* src, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                       int32_t w, int32_t h, bool transparent) {
  if (!Usable(dst) || !Usable(src)) return 0;
  // Cut the block at each side where either bitmap ends.
  int32_t cutLeft = std::max({0, -dx, -sx});
  int32_t cutTop = std::max({0, -dy, -sy});
  dx += cutLeft, sx += cutLeft, w -= cutLeft;
  dy += cutTop, sy += cutTop, h -= cutTop;
  w = std::min({w, dst->biWidth - dx, src->biWidth - sx});
  h = std::min({h, Height(dst) - dy, Height(src) - sy});
  if (w <= 0 || h <= 0) return 0;
  if (transparent)
    dibTransCopyDIB(dst, src, dx, dy, sx, sy, w, h, 0);
  else
    dibCopyDIB(dst, src, dx, dy, sx, sy, w, h);
  return w * h;
}
