// Fuzz target: the player and gradient readers over arbitrary text, and the
// formatted values read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  int32_t v[4] = {0, 0, 0, 0};
  uint32_t g[2] = {0, 0};
  int n = ScanPlayerValues(text.c_str(), v);
  int m = ScanGradient(text.c_str(), g);
  if (n < 0 || n > 4 || m < 0 || m > 2) std::abort();
  char out[64];
  int32_t back[4];
  FormatPlayerValues(v, out, sizeof out);
  if (ScanPlayerValues(out, back) != 4) std::abort();
  for (int i = 0; i < 4; ++i) {
    if (back[i] != v[i]) std::abort();
  }
  uint32_t gb[2];
  FormatGradient(g, out, sizeof out);
  if (ScanGradient(out, gb) != 2 || gb[0] != g[0] || gb[1] != g[1]) std::abort();
  return 0;
}
