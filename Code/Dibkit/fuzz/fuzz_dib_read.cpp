// Fuzz target: bitmap files read into packed DIBs; what is read is written
// back and read again, and must come back equal.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "dib_internal.h"
#include "dibkit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PackedDib* dib = dibkit::DibFromFileBytes(data, size);
  if (dib == nullptr) return 0;
  std::vector<uint8_t> file = dibkit::DibToFileBytes(dib);
  PackedDib* again = dibkit::DibFromFileBytes(file.data(), file.size());
  if (again == nullptr) __builtin_trap();
  if (std::memcmp(again, dib, 40 + dibColorAreaSize(dib->biBitCount) + dib->biSizeImage) != 0)
    __builtin_trap();
  dibDelete(again);
  dibDelete(dib);
  return 0;
}
