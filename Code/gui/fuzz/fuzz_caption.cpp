// Caption blocks come from dialog templates in resource files: any bytes
// must parse without reading past the text, and frame names built from a
// parsed pattern must stay inside their buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "anim_frames.h"
#include "caption.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CaptionPlacement placement{};
  ParseCaptionPlacement(text.c_str(), &placement);
  ParseCaptionPlacementAnywhere(text.c_str(), &placement);
  AnimCaptionKeys keys{};
  ParseAnimCaptionKeys(text.c_str(), &keys);
  if (keys.rate < 1 || keys.frameCount < 1 || keys.frameCount > kAnimMaxFrames) __builtin_trap();
  char name[32];
  AnimFrameName(keys.pattern, keys.frameCount, name, sizeof name);
  AnimFrameName(text.c_str(), 7, name, sizeof name);
  // The animated button's other names and its frame counter.
  for (AnimStill still : {ANIM_STILL_OFF, ANIM_STILL_MASK, ANIM_STILL_CLICK})
    AnimStillName(keys.pattern, still, name, sizeof name);
  AnimPatternTag(keys.pattern);
  int32_t next = AnimNextFrame(keys.frameCount - 1, keys.frameCount);
  if (next < 0 || next >= kAnimMaxFrames) __builtin_trap();
  char index[260], items[260];
  AnimDataPaths(text.c_str(), keys.dataName, index, items, sizeof index);
  return 0;
}
