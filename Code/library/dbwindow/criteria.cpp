#include "criteria.h"

#include <cstring>

namespace {

bool IsPrefix(char c) { return c != 0 && std::strchr("!*= <>", c) != nullptr; }

// Applies `step` to each prefix character, removes the prefix and gives the
// final code, or 0 when no text is left.
template <typename Step>
int Parse(char* text, int code, Step step) {
  char* p = text;
  for (; IsPrefix(*p); ++p) code = step(code, *p);
  std::memmove(text, p, std::strlen(p) + 1);
  return text[0] ? code : 0;
}

}  // namespace

int ParseTextCriterion(char* text) {
  return Parse(text, 3, [](int code, char c) {
    switch (c) {
      case '!':
        return 4;
      case '=':
        return code == 4 ? 2 : 1;
      case '*':
        return code == 4 ? 6 : 5;
      default:
        return code;  // blanks, "<" and ">" do nothing here
    }
  });
}

int ParseNumberCriterion(char* text) {
  return Parse(text, 1, [](int code, char c) {
    switch (c) {
      case '!':
        return 2;
      case '<':
        return 3;
      case '>':
        return 6;
      case '=':
        if (code == 3) return 5;
        if (code == 6) return 4;
        return code == 2 ? 2 : 1;
      default:
        return code;  // blanks and "*"
    }
  });
}

int ParseFlagCriterion(char* text) {
  return Parse(text, 1, [](int code, char c) {
    if (c == '!') return 2;
    if (c == '=') return 1;
    return code;
  });
}

int CheckQueryName(std::string* name) {
  while (!name->empty() && std::strchr(" \t\r\n\v\f", name->back())) name->pop_back();
  for (size_t i = 0; i < name->size(); ++i) {
    unsigned char c = static_cast<unsigned char>((*name)[i]);
    if (c < 0x20 || c == 0x7F || c == '[' || c == ']' || c == ';') return static_cast<int>(i) + 1;
  }
  return 0;
}
