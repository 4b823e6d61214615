// The spin list's arithmetic, free of the window system: its entry record,
// where a scroll code moves the current entry (wrapping, page steps), which
// entry a typed letter selects, finding and sorting by text, the layout of
// the arrows and the item, and the plan of each step of the slide between
// two pictures. spinlist_wnd.cpp puts it on windows.
//
// Interface: SpinListEntry, SpinListMoveTarget, SpinListSlidesForward,
// SpinListFindByLetter, SpinListFindText, SpinListSort, SpinListTableMustGrow,
// SpinListLayout, SpinListLayoutFor, SpinListWindowSize, SpinListPackSize,
// SpinSlideStyle, SpinSlideStyleFor, SpinSlideSteps, SpinSlideBand,
// SpinSlidePlan, SpinRollCompose.
#pragma once

#include <cstdint>

#include "dibkit.h"

// One entry as callers hand it to LB_ADDSTRING (72 bytes on the 32-bit
// program); the list keeps a copy.
struct SpinListEntry {
  char text[64];  // NUL-terminated
  PackedDib* picture;
  uint32_t kind;  // SLE_PICTURE or SLE_TEXT
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(SpinListEntry) == 72, "the entry record callers fill");
#endif

enum : uint32_t {
  SLE_PICTURE = 1,  // a picture in a global-memory block, freed by the list
  SLE_TEXT = 3,     // a text whose picture the list renders and frees
};

// The list's table of entry pointers has room for 32 and grows by 32.
constexpr int kSpinListTableStep = 32;

// Scroll codes of WM_VSCROLL that move the list (the system's SB_ values).
enum SpinScrollCode {
  SPC_LINE_UP = 0,
  SPC_LINE_DOWN = 1,
  SPC_PAGE_UP = 2,
  SPC_PAGE_DOWN = 3,
  SPC_TOP = 6,
  SPC_BOTTOM = 7,
};
constexpr int kSpinPageStep = 10;

// The index a scroll code moves to from `current` in a list of `count`
// entries; `current` itself when the code does not move (an unknown code or
// an empty list). Line moves wrap around; page moves stop at the ends.
int SpinListMoveTarget(int code, int current, int count);

// A slide runs forward to the next index and on a jump down by more than one
// (as when wrapping from the last entry to the first), backward otherwise.
bool SpinListSlidesForward(int from, int to);

// The entry a typed letter selects (letters compared ignoring case): the
// next one when the current entry and the next both begin with it, else the
// first that does; -1 when none does or `letter` is not a letter.
int SpinListFindByLetter(const SpinListEntry* const* table, int count, int current, int letter);

// The first entry whose text equals `text` ignoring case; -1 for none and
// for a null or empty text.
int SpinListFindText(const SpinListEntry* const* table, int count, const char* text);

// Sorting modes of SPL_SORT's lParam.
enum SpinSortMode { SPS_FOLLOW = 0, SPS_FIRST = 6, SPS_KEEP_INDEX = 7 };
// Sorts the table by text ignoring case (order 0 ascending, 1 descending;
// entries of equal text keep their order) and returns the new current index:
// SPS_KEEP_INDEX keeps `current`, SPS_FIRST gives 0, any other mode the new
// index of the entry that was current. -1, and the table untouched, for
// another order or fewer than 2 entries.
int SpinListSort(SpinListEntry** table, int count, int order, int current, int mode);

// True when adding one more entry to `count` needs a larger table.
bool SpinListTableMustGrow(int count);

// Client-area layout: an arrow button 16 wide at each end, full height, the
// right one at the right edge less 15; the item between them.
struct SpinListLayout {
  int leftX, rightX;
  int buttonWidth, buttonHeight;
  int itemWidth, itemHeight;
};
constexpr int kSpinArrowWidth = 16;
constexpr int kSpinItemX = 16;  // where pictures are drawn
constexpr int kSpinItemY = 1;
SpinListLayout SpinListLayoutFor(int clientWidth, int clientHeight);

// The window size that gives an item of width x height, with a border of
// `border` pixels on every side when `bordered`.
void SpinListWindowSize(int itemWidth, int itemHeight, bool bordered, int border, int* windowWidth,
                        int* windowHeight);

// The item size as the list keeps it in one word: width low, height high.
uint32_t SpinListPackSize(int width, int height);
void SpinListUnpackSize(uint32_t packed, int* width, int* height);

// How the slide between two entries looks, chosen by window style.
enum class SpinSlideStyle { Scroll, UncoverDown, UncoverRight, Roll };
SpinSlideStyle SpinSlideStyleFor(uint32_t windowStyle);
int SpinSlideSteps(SpinSlideStyle style);

// What one step draws, in pixels relative to the picture's place: first the
// drawn area scrolls sideways by `scroll` (negative to the left), then the
// block of the new picture at (srcX, srcY) (counted from its top row) of
// width x height goes to (dstX, dstY). Nothing is drawn for an empty block.
struct SpinSlideBand {
  int scroll;
  int srcX, srcY;
  int dstX, dstY;
  int width, height;
};
// Step 1 .. SpinSlideSteps(style) of a slide over a picture of width x
// height. Scroll: each step scrolls a fifth of the width and draws the fifth
// uncovered; UncoverDown and UncoverRight: step k shows k sixths of the new
// picture, growing from the top (left) edge forward and from the bottom
// (right) edge backward. Roll is composed by SpinRollCompose and has no band.
SpinSlideBand SpinSlidePlan(SpinSlideStyle style, bool forward, int step, int width, int height);

// Step `step` (1..5) of the roll: `work`, an 8-bit image of the new
// picture's size, gets k fifths of the new picture's height (height / 5 x k)
// and the rest from the old picture one above the other; forward the new
// picture enters from the bottom, backward from the top. Parts the old
// picture does not cover (another size, or none) are index 0. Both pictures
// must be 8-bit; false when an image is missing or of another depth.
bool SpinRollCompose(PackedDib* work, const PackedDib* from, const PackedDib* to, int step, bool forward);
