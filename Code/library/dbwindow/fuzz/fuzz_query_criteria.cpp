// Criterion texts of every field kind and query names: the prefix is removed
// in place, the code is in its table's range, and the text never grows.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "criteria.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  char text[64];
  size_t n = size - 1 < sizeof text - 1 ? size - 1 : sizeof text - 1;
  std::memcpy(text, data + 1, n);
  text[n] = 0;
  size_t before = std::strlen(text);
  int code;
  switch (data[0] % 4) {
    case 0:
      code = ParseTextCriterion(text);
      break;
    case 1:
      code = ParseNumberCriterion(text);
      break;
    case 2:
      code = ParseFlagCriterion(text);
      break;
    default: {
      std::string name(reinterpret_cast<const char*>(data + 1), size - 1);
      int bad = CheckQueryName(&name);
      if (bad < 0 || static_cast<size_t>(bad) > name.size()) std::abort();
      return 0;
    }
  }
  if (code < 0 || code > 6 || std::strlen(text) > before) std::abort();
  if ((code == 0) != (text[0] == 0)) std::abort();
  return 0;
}
