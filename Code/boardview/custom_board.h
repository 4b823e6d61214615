// The custom board's picture: the 64 projected squares in the two custom
// colours with a 2-pixel border round the board, on a transparent
// background (palette index 0), sampled 4 x 4 per pixel so that square and
// border edges blend; a blended pixel takes the nearest colour of the
// program palette's ramps.
//
// Interface: ComposedBoard, ComposeCustomBoardPixels, NearestPaletteIndex.
#pragma once

#include <cstdint>
#include <vector>

#include "arrow_raster.h"
#include "board_projection.h"

struct ComposedBoard {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> pixels;  // palette indexes, top row first
  ScreenPoint registration{0, 0};  // where the board centre lies in the picture
};

// Palette: the 256 program colours (entries 11 and 12 the custom dark and
// light squares, 23 the border). False without geometry or when the board
// projects to nothing.
bool ComposeCustomBoardPixels(const BoardProjection& view, const RasterColour palette[256], ComposedBoard* out);

// Among entries first..last.
int NearestPaletteIndex(const RasterColour palette[256], RasterColour colour, int first, int last);
