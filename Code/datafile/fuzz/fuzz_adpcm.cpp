// Fuzz target: the ADPCM item decoder; the first two bytes give the capacity.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "adpcm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  size_t capacity = static_cast<size_t>(data[0] | data[1] << 8);
  std::vector<uint8_t> out(capacity);
  size_t n = packfile::AdpcmDecodeItem(data + 2, size - 2, out.data(), capacity);
  if (n > capacity) __builtin_trap();
  return 0;
}
