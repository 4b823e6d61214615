// "filter.txt" is whatever the user put there: any bytes load, and any
// line is then tested against them.
#include <cstddef>
#include <cstdint>

#include "chat_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first half is the file, the rest a chat line.
  const size_t split = size / 2;
  LoadChatFilterText(reinterpret_cast<const char*>(data), split);
  IsChatTextFiltered(reinterpret_cast<const char*>(data) + split, size - split);
  IsChatTextFiltered(reinterpret_cast<const char*>(data), split);
  FreeChatFilter();
  return 0;
}
