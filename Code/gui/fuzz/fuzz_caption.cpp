// Caption blocks come from dialog templates in resource files: any bytes
// must parse without reading past the text, and frame names built from a
// parsed pattern must stay inside their buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "caption.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CaptionPlacement placement{};
  ParseCaptionPlacement(text.c_str(), &placement);
  ParseCaptionPlacementAnywhere(text.c_str(), &placement);
  AnimCaptionKeys keys{};
  ParseAnimCaptionKeys(text.c_str(), &keys);
  if (keys.rate < 1 || keys.frameCount < 0) __builtin_trap();
  char name[32];
  AnimFrameName(keys.pattern, keys.frameCount, name, sizeof name);
  AnimFrameName(text.c_str(), 7, name, sizeof name);
  return 0;
}
