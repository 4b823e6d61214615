// The colour picker's arithmetic: a channel typed into a field, a channel
// replaced in a colour (red in bits 0-7, green 8-15, blue 16-23), and the
// colour of one column of a channel's strip.
//
// Interface: ReadColorChannel, SetColorChannel, ColorChannel, StripColumnColor.
#pragma once

#include <cstdint>

// The field's text as a channel value: read signed so that a negative number
// gives 0, clamped to 0..255; text that cannot be read gives 0.
int ReadColorChannel(const char* text);

// `color` with channel 0 (red), 1 (green) or 2 (blue) set to `value`.
uint32_t SetColorChannel(uint32_t color, int channel, int value);
int ColorChannel(uint32_t color, int channel);

// Column x of a strip `width` pixels wide for `channel`: that channel runs
// from 16 to 255, the others are 0.
uint32_t StripColumnColor(int channel, int x, int width);
