// Caption blocks: see caption.h.
#include "caption.h"

#include <cstdio>
#include <cstring>

#include "anim_frames.h"

namespace {

// The caption cut to what a control reads of its text.
struct CaptionText {
  char text[kCaptionMaxChars + 1];
  size_t length;
};

CaptionText Cut(const char* caption) {
  CaptionText c{};
  if (caption) {
    while (c.length < kCaptionMaxChars && caption[c.length]) {
      c.text[c.length] = caption[c.length];
      ++c.length;
    }
  }
  c.text[c.length] = 0;
  return c;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Unsigned decimal digits from *pos on, clamped so that it fits a signed
// 32-bit coordinate.
int32_t ReadDigits(const char* s, size_t* pos) {
  int64_t v = 0;
  while (IsDigit(s[*pos])) {
    if (v < INT32_MAX) v = v * 10 + (s[*pos] - '0');
    ++*pos;
  }
  return v > INT32_MAX ? INT32_MAX : int32_t(v);
}

// Leading sign and digits, as the standard decimal conversion reads them;
// no digits give 0.
int32_t ReadInteger(const char* s) {
  size_t pos = 0;
  bool negative = false;
  if (s[pos] == '+' || s[pos] == '-') negative = s[pos++] == '-';
  int64_t v = ReadDigits(s, &pos);
  return int32_t(negative ? -v : v);
}

void CopyCut(char* out, size_t outSize, const char* from, size_t length) {
  if (length >= outSize) length = outSize - 1;
  std::memcpy(out, from, length);
  out[length] = 0;
}

// Reads the "p:" and "s:" keys of a caption's block. Strictly, any other key
// ends the reading; stepping over others, any other character is passed over
// one at a time, so the keys count wherever they stand in the block.
int ParsePlacementKeys(const char* caption, CaptionPlacement* out, bool stepOverOthers) {
  CaptionPlacement result{};
  CaptionText c = Cut(caption);
  const char* brace = std::strchr(c.text, '{');
  if (!brace) {
    if (out) *out = result;
    return 0;
  }
  const char* s = c.text;
  size_t i = size_t(brace - s);
  while (i < c.length && s[i] != '}') {
    char ch = s[i];
    bool key = (ch == 'p' || ch == 's') && s[i + 1] == ':';
    if (!key) {
      if (ch == '{' || ch == 'p' || ch == 's' || stepOverOthers) {
        ++i;
        continue;
      }
      // Any other key (or a blank right after the brace): the rest of the
      // block is passed over token by token, so nothing later is honoured.
      break;
    }
    i += 2;
    int32_t a = ReadDigits(s, &i);
    if (s[i] == ',') ++i;
    int32_t b = ReadDigits(s, &i);
    if (ch == 'p') {
      result.move = 1;
      result.x = a;
      result.y = b;
    } else {
      result.size = 1;
      result.w = a;
      result.h = b;
    }
    if (!stepOverOthers) {
      if (s[i] == 0 || s[i] == '}') break;
      ++i;  // the separator behind the second number
    }
  }
  if (out) *out = result;
  return 1;
}

}  // namespace

size_t CaptionProperLength(const char* caption) {
  if (!caption) return 0;
  const char* brace = std::strchr(caption, '{');
  size_t length = brace ? size_t(brace - caption) : std::strlen(caption);
  if (brace)
    while (length > 0 && (caption[length - 1] == ' ' || caption[length - 1] == '\t')) --length;
  return length;
}

int ParseCaptionPlacement(const char* caption, CaptionPlacement* out) {
  return ParsePlacementKeys(caption, out, false);
}

int ParseCaptionPlacementAnywhere(const char* caption, CaptionPlacement* out) {
  return ParsePlacementKeys(caption, out, true);
}

int ParseAnimCaptionKeys(const char* caption, AnimCaptionKeys* out) {
  AnimCaptionKeys keys{};
  CaptionText c = Cut(caption);
  const char* brace = std::strchr(c.text, '{');
  if (brace) {
    const char* s = c.text;
    size_t i = size_t(brace - s);
    while (i < c.length) {
      char ch = s[i];
      if (ch == ' ' || ch == '{') {
        ++i;
        continue;
      }
      if (ch == '}') break;
      bool ours = ch == 'd' || ch == 'n' || ch == '#' || ch == 'r';
      if (ours && s[i + 1] != ':') {
        ++i;
        continue;
      }
      size_t start = ours ? i + 2 : i;
      size_t end = start;
      while (end < c.length && s[end] != ' ' && s[end] != '}') ++end;
      if (ch == 'd') CopyCut(keys.dataName, sizeof keys.dataName, s + start, end - start);
      if (ch == 'n') CopyCut(keys.pattern, sizeof keys.pattern, s + start, end - start);
      if (ch == '#') keys.frameCount = ReadInteger(s + start);
      if (ch == 'r') keys.rate = ReadInteger(s + start);
      if (s[end] == '}') break;
      i = end;
    }
  }
  if (keys.frameCount < 1) keys.frameCount = 1;
  if (keys.frameCount > kAnimMaxFrames) keys.frameCount = kAnimMaxFrames;
  if (keys.rate < 1) keys.rate = 1;
  if (out) *out = keys;
  return brace != nullptr;
}

int32_t AnimFramePeriodMs(int32_t rate) { return 1000 / (rate < 1 ? 1 : rate); }

int AnimFrameName(const char* pattern, int32_t frame, char* out, size_t outSize) {
  if (!out || outSize == 0) return 0;
  out[0] = 0;
  if (!pattern) return 0;
  int conversions = 0;
  for (const char* p = pattern; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    // A field wider than the buffer can never fit; refusing it also spares
    // printf counting out a width of millions.
    size_t width = 0;
    for (; IsDigit(*p); ++p)
      if (width < outSize) width = width * 10 + size_t(*p - '0');
    if (width >= outSize) return 0;
    if (!*p || !std::strchr("diuxX", *p)) return 0;
    ++conversions;
  }
  if (conversions != 1) return 0;
  int n = std::snprintf(out, outSize, pattern, frame);
  if (n < 0 || size_t(n) >= outSize) {
    out[0] = 0;
    return 0;
  }
  return 1;
}
