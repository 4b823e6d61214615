// The settings' number readers: a small scanf of their two formats, written
// out so that no library quirk decides what a damaged ini file gives.
#include "settings_scan.h"

#include <cstdio>

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int Digit(char c, int base) {
  int d = -1;
  if (c >= '0' && c <= '9') {
    d = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    d = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    d = c - 'A' + 10;
  }
  return d < base ? d : -1;
}

// One number of the given base at *p; false (and *p unchanged) when there is
// none.
bool ScanNumber(const char** p, int base, uint32_t* out) {
  const char* s = *p;
  while (IsSpace(*s)) ++s;
  bool minus = false;
  if (*s == '+' || *s == '-') minus = *s++ == '-';
  if (base == 16 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') && Digit(s[2], 16) >= 0) s += 2;
  if (Digit(*s, base) < 0) return false;
  uint32_t value = 0;
  for (int d; (d = Digit(*s, base)) >= 0; ++s) value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
  *out = minus ? 0u - value : value;
  *p = s;
  return true;
}

}  // namespace

int ScanPlayerValues(const char* text, int32_t values[4]) {
  if (!text) return 0;
  int count = 0;
  uint32_t v;
  while (count < 4 && ScanNumber(&text, 10, &v)) values[count++] = static_cast<int32_t>(v);
  return count;
}

int ScanGradient(const char* text, uint32_t colours[2]) {
  if (!text) return 0;
  int count = 0;
  uint32_t v;
  while (count < 2 && ScanNumber(&text, 16, &v)) colours[count++] = v;
  return count;
}

void FormatPlayerValues(const int32_t values[4], char* text, size_t size) {
  std::snprintf(text, size, "%d %d %d %d", static_cast<int>(values[0]), static_cast<int>(values[1]),
                static_cast<int>(values[2]), static_cast<int>(values[3]));
}

void FormatGradient(const uint32_t colours[2], char* text, size_t size) {
  std::snprintf(text, size, "%x %x", static_cast<unsigned>(colours[0]), static_cast<unsigned>(colours[1]));
}
