// Tutorial file reader: any bytes give pages whose texts stay within their
// size and hold no page brackets, and a start page inside them.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tutorial_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  auto pages = ReadTutorial(text);
  for (const TutorialPageText& p : pages) {
    if (p.plain.size() > kTutorialTextMax || p.markup.size() > kTutorialTextMax) std::abort();
    if (p.plain.find_first_of("[]") != std::string::npos) std::abort();
    BackRestoreFor(p.markup);
  }
  int count = static_cast<int>(pages.size());
  int start = LessonStartPage(size > 0 ? data[0] : 0, size > 1 ? data[1] - 1 : -1, count);
  if (count > 0 && (start < 0 || start >= count)) std::abort();
  return 0;
}
