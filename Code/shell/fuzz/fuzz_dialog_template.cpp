// The template rewriter over any bytes: never reads or writes out of bounds,
// and whatever it accepts it writes within the block.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A small block as well as the real one, so that the refusal path runs.
  for (size_t capacity : {size_t{64}, kSkinnedTemplateCapacity}) {
    std::vector<uint8_t> out(capacity, 0);
    const size_t n = RewriteDialogTemplate(out.data(), out.size(), data, size);
    if (n > capacity) std::abort();
  }
  return 0;
}
