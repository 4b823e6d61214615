// Readers of the numbers kept as text in the settings: a side's four player
// values ("%d %d %d %d") and a wallpaper's two gradient colours ("%x %x").
// They read as the C library's scanf does with those formats: blanks before
// each number, a sign, decimal or hexadecimal digits (an optional "0x"
// before hexadecimal ones); reading stops at the first number that is not
// there. Values wrap around in 32 bits.
//
// Interface: ScanPlayerValues, ScanGradient, FormatPlayerValues,
// FormatGradient.
#pragma once

#include <cstddef>
#include <cstdint>

// The numbers read, 0..4, into values[0..3].
int ScanPlayerValues(const char* text, int32_t values[4]);
// The numbers read, 0..2, into colours[0..1].
int ScanGradient(const char* text, uint32_t colours[2]);

// "%d %d %d %d" and "%x %x" into a buffer of `size` bytes (at least 48).
void FormatPlayerValues(const int32_t values[4], char* text, size_t size);
void FormatGradient(const uint32_t colours[2], char* text, size_t size);
