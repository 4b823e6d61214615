// Tiling into packed DIBs, and the piece plan for tiling on a device context.
#include "dib_tile.h"

#include "dib_internal.h"
#include "dibkit.h"

using namespace dibkit;

namespace dibkit {

namespace {
int32_t Mod(int64_t v, int32_t m) {
  int64_t r = v % m;
  return static_cast<int32_t>(r < 0 ? r + m : r);
}
}  // namespace

void PlanTilePieces(int32_t tileWidth, int32_t tileHeight, int32_t srcX, int32_t srcY, int32_t x, int32_t y,
                    int32_t width, int32_t height, const std::function<void(const TilePiece&)>& piece) {
  if (tileWidth <= 0 || tileHeight <= 0 || width <= 0 || height <= 0) return;
  const int32_t firstTileY = Mod(srcY, tileHeight);
  const int32_t firstTileX = Mod(srcX, tileWidth);
  for (int32_t done_y = 0, ty = firstTileY; done_y < height;) {
    int32_t h = tileHeight - ty < height - done_y ? tileHeight - ty : height - done_y;
    for (int32_t done_x = 0, tx = firstTileX; done_x < width;) {
      int32_t w = tileWidth - tx < width - done_x ? tileWidth - tx : width - done_x;
      piece(TilePiece{x + done_x, y + done_y, tx, ty, w, h});
      done_x += w;
      tx = 0;
    }
    done_y += h;
    ty = 0;
  }
}

}  // namespace dibkit

extern "C" {

void dibTileRectDib(PackedDib* dst, const PackedDib* tile) {
  if (dst == nullptr || tile == nullptr || tile->biWidth <= 0 || tile->biHeight == 0) return;
  const int32_t tw = tile->biWidth, th = AbsHeight(tile);
  for (int32_t y = 0; y < AbsHeight(dst); y += th) {
    for (int32_t x = 0; x < dst->biWidth; x += tw) {
      int32_t w = dst->biWidth - x < tw ? dst->biWidth - x : tw;
      int32_t h = AbsHeight(dst) - y < th ? AbsHeight(dst) - y : th;
      dibCopyDIB(dst, tile, x, y, 0, 0, w, h);
    }
  }
}

int dibPaintControlBackgroundOffset(const PackedDib* tile, PackedDib* dst, const DibRect* rect, int32_t dx,
                                    int32_t dy) {
  if (tile == nullptr || dst == nullptr || rect == nullptr) return 0;
  if (tile->biWidth <= 0 || tile->biHeight == 0 || tile->biHeight == INT32_MIN) return 0;
  if (tile->biBitCount != 8 || dst->biBitCount != 8 || dst->biWidth <= 0 || dst->biHeight == 0) return 0;
  const int32_t tw = tile->biWidth, th = AbsHeight(tile);
  const int64_t rectWidth = int64_t{rect->right} - rect->left, rectHeight = int64_t{rect->bottom} - rect->top;
  const int32_t width = static_cast<int32_t>(rectWidth < dst->biWidth ? rectWidth : dst->biWidth);
  const int32_t height = static_cast<int32_t>(rectHeight < AbsHeight(dst) ? rectHeight : AbsHeight(dst));
  const int64_t startX = int64_t{rect->left} + Mod(dx, tw), startY = int64_t{rect->top} + Mod(dy, th);
  PlanTilePieces(tw, th, static_cast<int32_t>(startX % tw), static_cast<int32_t>(startY % th), 0, 0, width,
                 height, [&](const TilePiece& p) {
                   CopyDIBBits(RowAddress(dst, p.y) + p.x, RowAddress(tile, p.srcY) + p.srcX, p.width,
                               p.height, RowStep(dst), RowStep(tile));
                 });
  return 1;
}

}  // extern "C"
