// The arithmetic of the toolkit's painted scroll bars, free of the window
// system: scroll information and its normalisation, the five parts of a bar,
// thumb length and offset, positions for thumb pixels, scroll actions and
// the wheel remainder. scroll_bars.cpp puts it on windows.
//
// Interface: ScrollInfo, SbRect, sbHighest, sbNormalize, sbEffectivePageStep,
// sbThumbLength, sbThumbOffset, sbPositionForPixel, sbLayoutParts,
// sbActionPosition, sbWheelNotches.
#pragma once

#include <cstdint>

// The system's scroll-information record (28 bytes), field for field.
struct ScrollInfo {
  int32_t size;
  int32_t mask;
  int32_t minimum;
  int32_t maximum;
  int32_t page;
  int32_t position;
  int32_t trackPosition;
};
static_assert(sizeof(ScrollInfo) == 28, "the system's scroll-information record");

enum : int32_t { SB_MASK_RANGE = 1, SB_MASK_PAGE = 2, SB_MASK_POSITION = 4 };

// The parts of a bar, window-relative.
enum SbPart { SBP_FIRST_ARROW = 0, SBP_SECOND_ARROW, SBP_PAGE_BEFORE, SBP_PAGE_AFTER, SBP_THUMB, SBP_COUNT };
constexpr int kSbAllParts = 31;     // bits of all five parts
constexpr int kSbMovingParts = 28;  // page areas and thumb: they move with the position

// Scroll actions: the system's scroll codes for 0..8.
enum SbAction {
  SBA_LINE_BACK = 0,
  SBA_LINE_FORWARD = 1,
  SBA_PAGE_BACK = 2,
  SBA_PAGE_FORWARD = 3,
  SBA_THUMB_POSITION = 4,
  SBA_THUMB_TRACK = 5,
  SBA_END_SCROLL = 8
};

struct SbRect {
  int32_t left, top, right, bottom;
};
inline bool sbRectHolds(const SbRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// maximum - max(page - 1, 0): the highest position the thumb can reach.
int32_t sbHighest(const ScrollInfo& info);

// Maximum raised to minimum - 1, page lowered to the range's length,
// position held within minimum..highest. *change = final - entry position.
// True when a field changed.
bool sbNormalize(ScrollInfo* info, int32_t* change);

// A page step of 0 or -2 means the page less one line step; at least 1.
int32_t sbEffectivePageStep(const ScrollInfo& info, int32_t lineStep, int32_t pageStep);

// Track geometry for a track of `track` pixels. minThumb is the length of
// the thumb's two caps together.
int32_t sbThumbLength(const ScrollInfo& info, int32_t track, int32_t minThumb);
int32_t sbThumbOffset(const ScrollInfo& info, int32_t track, int32_t thumb);
int32_t sbPositionForPixel(const ScrollInfo& info, int32_t track, int32_t thumb, int32_t pixel);

// Lays out the parts chosen by `mask` inside the bar rectangle along its
// axis: arrows of firstArrow and secondArrow pixels at the ends, the thumb
// at thumbOffset from the first arrow with thumbLength pixels.
void sbLayoutParts(SbRect parts[SBP_COUNT], const SbRect& bar, bool vertical, int mask, int32_t firstArrow,
                   int32_t secondArrow, int32_t thumbOffset, int32_t thumbLength);

// The track length between the arrows of a laid-out bar (at least 0).
int32_t sbTrackLength(const SbRect parts[SBP_COUNT], bool vertical);

// The position one scroll action gives, or false when the action does
// nothing. `point` (window-relative, or null for none) is tested against
// the parts as a held press does: arrows stop on the thumb, page areas act
// only on their own area. `pixel` is the thumb offset of action 5.
bool sbActionPosition(const ScrollInfo& info, int action, const SbRect parts[SBP_COUNT], const int32_t* point,
                      int32_t lineStep, int32_t pageStep, int32_t track, int32_t thumb, int32_t pixel,
                      int32_t* newPosition);

// Adds the rotation to the remainder and takes out whole notches of 120:
// positive notches scroll back (up), negative forward. Returns the signed
// number of notches.
int32_t sbWheelNotches(int32_t* remainder, int32_t rotation);
