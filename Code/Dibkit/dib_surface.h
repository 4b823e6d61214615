// Pixel memory that is not a packed DIB (a DIB section's bits), and the
// copies between it and packed DIBs. The Windows layer describes a DIB
// section as a Surface; the copies themselves need no operating system.
//
// Interface: Surface, CopyDibToSurface, CopySurfaceToDib, TransCopyDibToSurface,
// MaskedCopyDibToSurface, BeforeEffectCopy.
#pragma once

#include <cstdint>

#include "dibkit.h"

namespace dibkit {

struct Surface {
  uint8_t* bits;
  int32_t width;
  int32_t height;  // rows, positive
  bool topDown;
  int32_t stride;  // bytes per row
  int bitsPerPixel;
};

// The whole 8-bit image into an 8-bit surface with its top-left pixel at
// surface pixel (x, y); what falls outside the surface is left out. 1, or 0
// for a null image or an unusable surface.
int CopyDibToSurface(const Surface& s, int32_t x, int32_t y, const PackedDib* dib);
// The surface's pixels from (x, y), the image's size, into the whole image.
int CopySurfaceToDib(const Surface& s, int32_t x, int32_t y, PackedDib* dib);
// Transparent copy of the whole image, converting depth with the image's
// own colour area as the table.
int TransCopyDibToSurface(const Surface& s, int32_t x, int32_t y, const PackedDib* dib, uint32_t key);
// The rectangle of the 8-bit image into the 8-bit surface where the surface
// pixel is not 0; 0 when the rectangle is outside either.
int MaskedCopyDibToSurface(const Surface& s, const PackedDib* dib, int32_t dstX, int32_t dstY, int32_t srcX,
                           int32_t srcY, int32_t width, int32_t height);

// Finishes pending drawing into DIB sections before an effect copy (GdiFlush
// on Windows, nothing natively).
void BeforeEffectCopy();

}  // namespace dibkit
