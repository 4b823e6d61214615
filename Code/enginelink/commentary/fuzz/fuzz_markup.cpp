// Commentary and lesson texts with markup groups, read for display, playback
// and the voice tag.
#include <cstddef>
#include <cstdint>
#include <string>

#include "annotator.h"
#include "markup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string shown = StripMarkupGroups(text);
  std::string groups = ExtractMarkupGroups(text);
  if (shown.size() + groups.size() > text.size()) __builtin_trap();
  MarkupVoiceTag(text);
  std::string copy = text;
  StripMarkupCodes(&copy);
  if (copy.size() > text.size()) __builtin_trap();
  return 0;
}
