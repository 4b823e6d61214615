// Pixel drawing of the small painted controls into 8-bit bitmaps of palette
// indices: fills, the one-pixel raised edge of the track bar's thumb and
// channel, the edges of a tab face, and copies clipped to both bitmaps.
// Coordinates count from a bitmap's top row; rectangles are half-open
// (right and bottom excluded). Nothing here needs the operating system.
//
// Interface: ArtFill, ArtRaisedEdge, ArtTabFaceEdges, ArtClippedCopy.
#pragma once

#include <cstdint>

#include "dibkit.h"

// Fills the part of the rectangle that lies inside the 8-bit bitmap.
void ArtFill(PackedDib* dib, const DibRect& rect, uint8_t index);

// A one-pixel edge around the rectangle: light along the left column and the
// top row (up from the bottom-left corner and across to the top-right), dark
// down the right column and back along the bottom row. The light edge holds
// the bottom-left pixel, the dark edge the top-right one.
void ArtRaisedEdge(PackedDib* dib, const DibRect& rect, uint8_t light, uint8_t dark);

// The edges of a tab face (the whole bitmap, w x h): light up the left
// column and along the top row to two pixels short of the right edge; dark
// down the inner right column (x = w - 2) from the second row to one pixel
// above the bottom; `black` up the outer right column from the bottom to the
// second row. No bottom edge: the current tab opens into the body below it.
void ArtTabFaceEdges(PackedDib* dib, uint8_t light, uint8_t dark, uint8_t black);

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst, cut to what
// lies inside both 8-bit bitmaps; with `transparent`, source pixels of index
// 0 are left out. Returns the pixels the copied block covers (0 when none).
int32_t ArtClippedCopy(PackedDib* dst, const PackedDib* src, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                       int32_t w, int32_t h, bool transparent);
