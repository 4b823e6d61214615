#include "engine_link_host.h"

namespace {

// Markup groups are the texts in braces; `inside` picks which part is kept.
void SplitMarkup(const char* text, char* out, int size, bool inside) {
  if (!out || size <= 0) return;
  int n = 0, depth = 0;
  for (const char* p = text ? text : ""; *p; ++p) {
    bool keep;
    if (*p == '{') {
      keep = inside;
      ++depth;
    } else if (*p == '}' && depth > 0) {
      keep = inside;
      --depth;
    } else {
      keep = (depth > 0) == inside;
    }
    if (keep && n + 1 < size) out[n++] = *p;
  }
  out[n] = '\0';
}

}  // namespace

void EngineLinkHost::StripMarkup(const char* text, char* out, int size) {
  SplitMarkup(text, out, size, false);
}
void EngineLinkHost::ExtractMarkup(const char* text, char* out, int size) {
  SplitMarkup(text, out, size, true);
}
