// Bitmap-file items: a Windows bitmap file ("BM", 14-byte file header, then
// a 40-byte or 12-byte info header) turned into a packed DIB: a 40-byte
// header, the colour table, then the pixels, in one Heapkit block.
//
// Interface: IsBitmapItem, BitmapItemToPackedDib.
#pragma once

#include <cstddef>
#include <cstdint>

namespace packfile {

bool IsBitmapItem(const uint8_t* item, size_t size);

// A new Heapkit block, or null when the headers are not accepted or the
// item is too short for what they describe. Every read stays inside `size`.
void* BitmapItemToPackedDib(const uint8_t* item, size_t size);

}  // namespace packfile
