#include "game_windows_texts.h"

#include <cstdio>
#include <cstring>

const char kAnalysisBuildingText[] = " -- Building Text...";

namespace {

// True when the format holds exactly one %d, %i or %u (no flags, width or
// length) and every other '%' is doubled.
bool TakesOneNumber(const std::string& format) {
  int numbers = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 >= format.size()) return false;
    const char c = format[++i];
    if (c == '%') continue;
    if (c != 'd' && c != 'i' && c != 'u') return false;
    ++numbers;
  }
  return numbers == 1;
}

}  // namespace

std::string AnalysisProgressText(const std::string& format, int percent) {
  const std::string used = TakesOneNumber(format) ? format : std::string("%d%% complete");
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, used.c_str(), percent);
  std::string text = buffer;
  if (percent > 99) text += kAnalysisBuildingText;
  return text;
}

std::string CutComment(const std::string& text, size_t limit) {
  return text.size() > limit ? text.substr(0, limit) : text;
}

bool HasEmbeddedCommands(const char* text) { return text && std::strchr(text, '{') != nullptr; }
