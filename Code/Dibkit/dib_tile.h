// Tiling plans: how a rectangle is covered by pieces of a repeated tile.
//
// Interface: TilePiece, PlanTilePieces.
#pragma once

#include <cstdint>
#include <functional>

namespace dibkit {

struct TilePiece {
  int32_t x, y;        // where the piece goes
  int32_t srcX, srcY;  // its top-left pixel in the tile
  int32_t width, height;
};

// Covers the rectangle (x, y, width, height) so that its top-left corner
// shows tile pixel (srcX mod tile width, srcY mod tile height); each piece
// is the largest that leaves neither the tile nor the rectangle. Rows of
// pieces from the top, left to right.
void PlanTilePieces(int32_t tileWidth, int32_t tileHeight, int32_t srcX, int32_t srcY, int32_t x, int32_t y,
                    int32_t width, int32_t height, const std::function<void(const TilePiece&)>& piece);

}  // namespace dibkit
