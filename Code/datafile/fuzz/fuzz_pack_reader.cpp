// Fuzz target: an index file and an item file, every entry looked up by name
// and loaded (decoders and bitmap items included). The first two bytes give
// the length of the index part.
#include <cstddef>
#include <cstdint>

#include "heapkit.h"
#include "pack_index.h"
#include "pack_io.h"
#include "pack_reader.h"

namespace {
void Quiet(const char*, const char*, unsigned) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  datSetMessageHook(Quiet);
  if (size < 2) return 0;
  size_t indexSize = static_cast<size_t>(data[0] | data[1] << 8);
  data += 2;
  size -= 2;
  if (indexSize > size) indexSize = size;
  packfile::MemoryFile indexFile(data, indexSize);
  packfile::MemoryFile itemFile(data + indexSize, size - indexSize);
  DatIndex* index = packfile::ReadIndex(indexFile);
  if (index == nullptr) return 0;
  for (int32_t i = 0; i < index->count && i < 64; ++i) {
    char name[65] = {};
    for (int k = 0; k < 64; ++k) name[k] = index->entries[i].name[k];
    int at = packfile::FindEntry(index->entries, index->count, name);
    if (at < 0) __builtin_trap();  // every stored name must be found
    packfile::Item item = packfile::BitmapFromItem(packfile::LoadItemFrom(itemFile, index->entries[at]));
    memFree_rel(item.data);
  }
  datUnloadFileIndex(index);
  return 0;
}
