// Brace groups of lesson and clip texts.
#include "markup_groups.h"

namespace {

bool IsLeadingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string DropLeading(const std::string& s, size_t maxChars) {
  size_t i = 0;
  while (i < s.size() && IsLeadingBlank(s[i])) ++i;
  std::string out = s.substr(i);
  if (out.size() > maxChars) out.resize(maxChars);
  return out;
}

}  // namespace

size_t FindGroupEnd(const std::string& text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (text[i] == '{') {
      ++depth;
    } else if (text[i] == '}') {
      if (--depth == 0) return i + 1;
    }
  }
  return text.size();
}

void SplitPlainAndMarkup(const std::string& text, std::string* plain, std::string* markup, size_t maxChars) {
  std::string p, m;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '{') {
      size_t end = FindGroupEnd(text, i);
      m.append(text, i, end - i);
      i = end;
    } else {
      p.push_back(text[i++]);
    }
  }
  if (plain) *plain = DropLeading(p, maxChars);
  if (markup) *markup = DropLeading(m, maxChars);
}

bool ContainsDataSetCode(const std::string& markup) {
  for (const char* code : {"W:", "w:", "L:", "l:"})
    if (markup.find(code) != std::string::npos) return true;
  return false;
}
