// Markup text through the reader and the page printer over the fixed-width
// fake. The first byte picks the margins, so that narrow, short and inverted
// printable rectangles are tried as well.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fake_surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  PrintJob job;
  FakeSurface surface(&job);
  surface.faces.insert("RookwellJade");
  const uint8_t shape = data[0];
  job.marginLeft = 100 + (shape & 3) * 150;
  job.marginRight = 100 + ((shape >> 2) & 3) * 150;
  job.marginTop = 100 + ((shape >> 4) & 3) * 300;
  job.marginBottom = 100 + ((shape >> 6) & 3) * 300;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  job.SetMarkup(text.c_str(), true);
  // A page that moves a block on is followed by one that places it, so two
  // pages per byte is already far more than any text can need.
  const int most = 2 * static_cast<int>(size) + 4;
  if (PrintAllMarkupPages(job, surface, most) >= most) __builtin_trap();
  return 0;
}
