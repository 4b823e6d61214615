#include "pgn_text.h"

#include <cstdint>

namespace pgntext {
namespace {

// Length of the well-formed UTF-8 sequence at `p` (lead byte 0x80 or above),
// 0 when it is not one. Overlong forms and surrogates are refused.
size_t SequenceLength(const unsigned char* p, const unsigned char* end) {
  unsigned char c = p[0];
  size_t n;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (static_cast<size_t>(end - p) < n) return 0;
  if (p[1] < low || p[1] > high) return 0;
  for (size_t i = 2; i < n; ++i)
    if ((p[i] & 0xC0) != 0x80) return 0;
  return n;
}

uint32_t Decode(const unsigned char* p, size_t n) {
  if (n == 2) return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
  if (n == 3) return (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
  return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
}

// The characters of Windows-1252's 0x80..0x9F row, 0 where the row is empty.
const uint16_t kHighRow[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                               0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The letters of Latin Extended-A (U+0100..U+017F) that Windows-1252 lacks,
// as their base letter, so names from Central and Eastern Europe stay
// readable (and a name never turns into "?", which PGN reads as unknown);
// "_" marks the ones the 0x80 row has.
const char kLatinBase[129] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOo__RrRrRrSsSsSs__"
    "TtTtTtUuUuUuUuUuUuWwYy_ZzZz__s";

char ToWindows(uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int i = 0; i < 32; ++i)
    if (kHighRow[i] == code) return static_cast<char>(0x80 + i);
  if (code >= 0x100 && code < 0x180 && kLatinBase[code - 0x100] != '_') return kLatinBase[code - 0x100];
  // Romanian S and T with comma below.
  if (code >= 0x218 && code <= 0x21B) return "SsTt"[code - 0x218];
  return '?';
}

}  // namespace

size_t Utf8BomLength(const char* text, size_t size) {
  return size >= 3 && static_cast<unsigned char>(text[0]) == 0xEF && static_cast<unsigned char>(text[1]) == 0xBB &&
                 static_cast<unsigned char>(text[2]) == 0xBF
             ? 3
             : 0;
}

bool IsUtf8Text(const char* text, size_t size) {
  auto p = reinterpret_cast<const unsigned char*>(text);
  auto end = p + size;
  bool multi = false;
  while (p < end) {
    if (*p < 0x80) {
      ++p;
      continue;
    }
    size_t n = SequenceLength(p, end);
    if (!n) return false;
    multi = true;
    p += n;
  }
  return multi;
}

void Utf8ToWindows(std::string* text) {
  if (!IsUtf8Text(text->data(), text->size())) return;
  auto p = reinterpret_cast<const unsigned char*>(text->data());
  auto end = p + text->size();
  size_t out = 0;
  // The Windows text is never longer, so it is written over the UTF-8.
  while (p < end) {
    if (*p < 0x80) {
      (*text)[out++] = static_cast<char>(*p++);
      continue;
    }
    size_t n = SequenceLength(p, end);
    (*text)[out++] = ToWindows(Decode(p, n));
    p += n;
  }
  text->resize(out);
}

bool IsPgnNullMove(const char* token, size_t size) {
  while (size > 2 && (token[size - 1] == '+' || token[size - 1] == '#')) --size;
  return size == 2 && ((token[0] == '-' && token[1] == '-') || (token[0] == 'Z' && token[1] == '0'));
}

}  // namespace pgntext
