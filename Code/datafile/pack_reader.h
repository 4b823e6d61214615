// Item loading below the exported functions, for tests and fuzz targets that
// work on files held in memory.
//
// Interface: Item, LoadItemFrom, DecodeItem, BitmapFromItem.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pack_io.h"
#include "packfile.h"

namespace packfile {

// A Heapkit block and the number of meaningful bytes in it.
struct Item {
  uint8_t* data;
  size_t size;
};

// Reads an entry's stored bytes from the item file and decodes them. A
// stored item that reaches past the end of the file is refused with the
// "Data read - incorrect size!" message.
Item LoadItemFrom(InputFile& itemFile, const DatIndexEntry& entry);
// Decodes stored bytes by the entry's kind; takes ownership of `stored`.
Item DecodeItem(uint8_t* stored, const DatIndexEntry& entry);
// A bitmap-file item turned into a packed DIB (the item is freed); any other
// item unchanged.
Item BitmapFromItem(Item item);

}  // namespace packfile
