// Colour picker arithmetic.
#include "color_select.h"

#include <cctype>

int ReadColorChannel(const char* text) {
  if (!text) return 0;
  while (*text == ' ' || *text == '\t') ++text;
  bool negative = false;
  if (*text == '-' || *text == '+') negative = *text++ == '-';
  long value = 0;
  // Digits past 255 cannot lower the clamped result, so stop counting there.
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
    if (value <= 255) value = value * 10 + (*text - '0');
  if (negative) return 0;
  return value > 255 ? 255 : static_cast<int>(value);
}

uint32_t SetColorChannel(uint32_t color, int channel, int value) {
  const int shift = 8 * channel;
  return (color & ~(0xFFu << shift)) | (static_cast<uint32_t>(value & 0xFF) << shift);
}

int ColorChannel(uint32_t color, int channel) { return (color >> (8 * channel)) & 0xFF; }

uint32_t StripColumnColor(int channel, int x, int width) {
  if (width <= 0) return 0;
  const int value = 16 + x * (255 - 16) / width;
  return SetColorChannel(0, channel, value);
}
