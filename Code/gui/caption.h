// Caption blocks: a brace block in a control's caption text, as dialog
// templates write it, e.g. "Game {p:330,273 s:140,110 d:anim n:g%02d.bmp #:30 r:15}".
// Keys are one letter and a colon; values run to the next blank or "}".
//
// Interface: CaptionProperLength (the text a control shows),
// ParseCaptionPlacement (the "p" and "s" keys, read for
// ApplyCaptionPlacement), ParseCaptionPlacementAnywhere (the hot button's
// reading of them), ParseAnimCaptionKeys (the animated button's "d",
// "n", "#" and "r" keys), AnimFrameName (a frame's item name from "n").
// OS-free: the window side is in controls.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

// The caption proper: the text before the block's "{", without the blanks
// that stand before it. Returns its length (the whole text when there is no
// block); the caption is not changed.
size_t CaptionProperLength(const char* caption);

// Only this much of a caption is read, as GetWindowText with a 256-byte buffer.
constexpr size_t kCaptionMaxChars = 255;

struct CaptionPlacement {
  int move;  // "p" read: x, y hold the position in the parent's client area
  int size;  // "s" read: w, h hold the size
  int32_t x, y, w, h;
};

// 1 when the caption holds a "{" (out then says what to change, possibly
// nothing), else 0. "p" and "s" count only while they form an unbroken run
// of keys at the start of the block.
int ParseCaptionPlacement(const char* caption, CaptionPlacement* out);

// The hot button's reading of the same keys: anything that is not "p:",
// "s:" or "}" is stepped over one character at a time, so "p" and "s" count
// wherever they stand in the block (also behind other keys). Same result
// and cut as ParseCaptionPlacement otherwise.
int ParseCaptionPlacementAnywhere(const char* caption, CaptionPlacement* out);

constexpr size_t kAnimNameChars = 64;     // "d": base name of the data set
constexpr size_t kAnimPatternChars = 32;  // "n": at most 31 characters

struct AnimCaptionKeys {
  char dataName[kAnimNameChars];
  char pattern[kAnimPatternChars];
  int32_t frameCount;  // "#", 1..40 (one cache slot per frame)
  int32_t rate;        // "r" in frames per second, at least 1
};

// Fills out (zero-filled first) from the block; 1 when the caption holds a
// "{". A rate of 0 or below (or none) is read as 1 frame per second: the
// button's timer period is 1000 / rate. A frame count of 0 or below (or
// none) is read as 1, one above 40 as 40: frames go in a 40-slot cache.
// Values longer than their buffer are cut.
int ParseAnimCaptionKeys(const char* caption, AnimCaptionKeys* out);

// Timer period in milliseconds for a rate; never divides by zero.
int32_t AnimFramePeriodMs(int32_t rate);

// Writes the item name of frame n made from the pattern, which must hold
// exactly one integer conversion (flags and width allowed, "%%" as a literal
// percent). Returns 0 and writes "" for any other pattern, so that a caption
// can never hand printf a conversion it has no argument for.
int AnimFrameName(const char* pattern, int32_t frame, char* out, size_t outSize);
