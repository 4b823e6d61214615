// The animated button's arithmetic: item names of its pictures, the tag
// that decides which buttons share a cached frame, the frame counter, the
// pack paths and the see-through test of its mask. The caption keys
// themselves are read by ParseAnimCaptionKeys (caption.h).
//
// Interface: AnimStillName, AnimPatternTag, AnimNextFrame, AnimDataPaths,
// AnimKeyColour, AnimMaskIsOpaque. OS-free: the window side is
// animbutton_wnd.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dibkit.h"

// Frame numbers run 0..kAnimMaxFrames - 1: one cache slot each.
constexpr int32_t kAnimMaxFrames = 40;

// The three still pictures beside the frames.
enum AnimStill { ANIM_STILL_OFF, ANIM_STILL_MASK, ANIM_STILL_CLICK };

// The pattern up to (not including) its first "%", then "_off", "_mask" or
// "_click" and ".bmp": "game_small%02d.bmp" gives "game_small_off.bmp"; a
// pattern without "%" gives the bare "_off.bmp" and so on.
// Returns 0 and writes "" when the name does not fit.
int AnimStillName(const char* pattern, AnimStill which, char* out, size_t outSize);

// The pattern's first three characters and its last one in one u32, first
// character in the low byte, last in the high byte ("game%02d.bmp" and
// "game_small%02d.bmp" both give "gam" + "p"). Missing characters count 0.
uint32_t AnimPatternTag(const char* pattern);

// The frame after `frame` in a loop of `count` frames (count read as
// 1..kAnimMaxFrames), always a valid slot number.
int32_t AnimNextFrame(int32_t frame, int32_t count);

// The pack's index and item paths: folder, a backslash, the name and
// ".idx" / ".dat" (no second backslash when the folder ends in one; just
// the name for an empty folder). Returns 0 and writes "" to both when a
// path does not fit `size` bytes or the name is empty.
int AnimDataPaths(const char* folder, const char* name, char* indexPath, char* itemPath, size_t size);

// The see-through colour of frames and masks by bytes per pixel: 0 at one
// byte, 0xFC1F at two, 0xFFFFFF at three or four.
uint32_t AnimKeyColour(int bytesPerPixel);

// 1 when (x, y), counted from the mask's top-left pixel, lies inside the
// mask and its pixel is not the key colour (at 2 to 4 bytes per pixel the
// low 16 bits are compared). 0 outside, for a null mask, or for depths other
// than 8, 16, 24 and 32 bits.
int AnimMaskIsOpaque(const PackedDib* mask, int32_t x, int32_t y);
