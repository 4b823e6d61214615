// Fuzzes the markup dispatcher: the input is cut at newlines into event
// texts (arrows, square lists, positions, delays, piece codes) and played
// on a fake board in one run of the player, the clip finished so that every
// event plays.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../tests/support/fake_markup_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeMarkupHost host;
  host.hideMode = size > 0 && (data[0] & 1);
  host.kindFlags = size > 1 ? (data[1] & 1 ? kGameKeepsMarkup : 0) | (data[1] & 2 ? kGamePanelGame : 0) : 0;
  VoiceClip clip;
  clip.kind = size > 2 ? data[2] % 6 : 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  size_t at = 0;
  int32_t due = 0;
  while (at <= text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string event = text.substr(at, end - at);
    clip.events.push_back({due, event.c_str()});
    due += 10;
    at = end + 1;
  }
  if (!StartMarkupPlayer(&clip, &host)) return 0;
  clip.flags = CLIP_FINISHED;
  for (size_t i = 0; i < clip.events.size() + 2 && clip.player; ++i)
    if (StepMarkupPlayer(&clip)) EndMarkupPlayer(&clip);
  return 0;
}
