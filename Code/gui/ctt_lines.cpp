// Paragraph line breaking; see ctt_lines.h.
#include "ctt_lines.h"

namespace {

bool IsBreak(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

}  // namespace

std::vector<std::string> BreakParagraph(const std::string& text,
                                        const std::function<int(unsigned char)>& width, int lineWidth) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    int sum = 0;
    size_t i = start, lastBreak = std::string::npos;
    while (i < text.size()) {
      int w = width(static_cast<unsigned char>(text[i]));
      if (i > start && sum + w >= lineWidth) break;
      sum += w;
      if (i > start && IsBreak(text[i])) lastBreak = i;
      ++i;
    }
    if (i >= text.size()) {
      lines.push_back(text.substr(start));
      break;
    }
    if (lastBreak != std::string::npos) {
      lines.push_back(text.substr(start, lastBreak - start));
      start = lastBreak + 1;
    } else {
      size_t end = i > start + 1 ? i - 1 : i;
      lines.push_back(text.substr(start, end - start));
      start = end;
    }
  }
  return lines;
}
