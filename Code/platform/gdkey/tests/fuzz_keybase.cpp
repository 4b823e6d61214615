// The key base reader over arbitrary journal bytes: it must never crash,
// and whatever part it accepts must read again to the same base.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "keybase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> image(data, data + size);
  gdk::KeyBase base;
  size_t valid = 0;
  if (!base.Load(image, &valid)) return 0;
  if (valid > size) std::abort();
  image.resize(valid);
  gdk::KeyBase again;
  size_t valid2 = 0;
  if (!again.Load(image, &valid2) || valid2 != valid || again.KeyCount() != base.KeyCount() ||
      again.Filed() != base.Filed())
    std::abort();
  for (int32_t k = 1; k <= base.KeyCount(); ++k) {
    base.Descendants(k);
    if (base.Find(base.At(k).board) != k) std::abort();
  }
  return 0;
}
