// Fuzz target: bitmap-file items turned into packed DIBs.
#include <cstddef>
#include <cstdint>

#include "bitmap_item.h"
#include "heapkit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  memFree_rel(packfile::BitmapItemToPackedDib(data, size));
  return 0;
}
