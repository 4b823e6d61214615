// Spin edit texts come from dialog templates (the creation text) and from
// the keyboard (the field): any bytes must give an ordered range with a
// positive step, and every scroll action must land inside the range.
#include <cstddef>
#include <cstdint>
#include <string>

#include "spin_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  SpinValues v = speParseCreationText(text.c_str());
  if (v.minimum > v.maximum || v.step < 1) __builtin_trap();
  if (v.firstMinimum != v.minimum || v.firstMaximum != v.maximum) __builtin_trap();
  for (int code = 0; code < 9; ++code) {
    int32_t out = 0;
    if (speScroll(v, code, &out) && (out < v.minimum || out > v.maximum)) __builtin_trap();
  }
  bool empty = false;
  int32_t typed = speReadText(text.c_str(), &empty);
  if (empty != (text.c_str()[0] == '\0')) __builtin_trap();
  int32_t clamped = speClamp(v, typed);
  if (clamped < v.minimum || clamped > v.maximum) __builtin_trap();
  speCouldReach(v, text.c_str());
  return 0;
}
