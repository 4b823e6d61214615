// The drop-down list's place: see combo_layout.h.
#include "combo_layout.h"

#include <algorithm>

namespace {

// Start moved so that [start, start + length) lies in [low, high), the low
// edge winning when it cannot.
int32_t Inside(int32_t start, int32_t length, int32_t low, int32_t high) {
  return std::max(low, std::min(start, high - length));
}

}  // namespace

ComboPoint ComboListPosition(int32_t left, int32_t below, int32_t comboTop, int32_t width, int32_t height,
                             const ComboRect& desktop) {
  int32_t y = below;
  if (y + height > desktop.bottom) y = comboTop - height;
  return ComboPoint{Inside(left, width, desktop.left, desktop.right),
                    Inside(y, height, desktop.top, desktop.bottom)};
}
