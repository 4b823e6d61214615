// Painted scroll bars: a ScrollBarPair holds up to two bars (vertical and
// horizontal) in the non-client area of one window, painted from the
// scroll-bar bitmaps of CcDefaults. It lays out their parts, answers hit
// tests, follows a held press with auto-repeat (timer 111: 200 ms, then
// 25 ms), drags the thumb, turns wheel rotation into steps, and reports to
// its window with WM_VSCROLL / WM_HSCROLL and the private messages below.
//
// Looks: CcDefaults.scrollBar; arrows [0..2] the first arrow (normal,
// pressed, spare) and [3..5] the second; vertical thumb [0..2] start cap,
// [3..5] middle, [6..8] end cap; the horizontal thumb has one state of each.
// Page areas use trackBitmaps ([0], [1] vertical, [3], [4] horizontal) when
// loaded, else the track colour (a palette index below 256, an RGB colour
// above).
//
// Interface: the sbar* functions.
#pragma once

#include <windows.h>

#include "scroll_math.h"

enum : UINT {
  CCM_FRAMECHANGED = 0x8601,
  CCM_HPOSNOTIFY = 0x8602,  // to the parent: (window, horizontal offset)
  CCM_TOPNOTIFY = 0x8603,   // to the parent: (window, top row)
  CSBM_REDRAW = 0x8610,
  CCM_SETHPOS = 0x8611,      // thumb drag on the horizontal bar
  CCM_SETTOPROW = 0x8612,    // thumb drag on the vertical bar
  CCM_HPOSCHANGED = 0x8613,  // the horizontal position was clamped
  CCM_TOPROWCHANGED = 0x8614,
  CCM_BARSHOWN = 0x8615,  // to the parent: (bar, shown)
};

constexpr UINT_PTR kScrollRepeatTimer = 111;
constexpr UINT kScrollRepeatFirst = 200;
constexpr UINT kScrollRepeatNext = 25;

struct PaintedBar {
  ScrollInfo info;
  int32_t shown;
  int32_t pressed;  // bit k: part k is pressed
  SbRect parts[SBP_COUNT];
  SbRect bar;
  int32_t lineStep;
  int32_t pageStep;
  int32_t layoutPending;
  int32_t wheelRemainder;
};

struct ScrollBarPair {
  HWND window;
  int32_t repeatPeriod;
  int32_t heldPart;
  int32_t heldBar;  // 1 vertical, 0 horizontal, -1 none
  int32_t dragOffset;
  PaintedBar* vertical;
  PaintedBar* horizontal;
  int32_t redrawOff;
  int32_t captureTaken;
};

constexpr DWORD kSbVertical = 0x200;
constexpr DWORD kSbHorizontal = 0x400;

ScrollBarPair* sbarInit(ScrollBarPair* pair, HWND window, DWORD flags);
ScrollBarPair* sbarCreate(HWND window, DWORD flags);
void sbarFreeBars(ScrollBarPair* pair);
void sbarDestroy(ScrollBarPair* pair);

int sbarNcCalcSize(ScrollBarPair* pair, WPARAM wParam, RECT* clientInWindow);
int sbarHitTest(ScrollBarPair* pair, POINT screen);
// WM_NCHITTEST of a window with painted bars (pair may be null): a bar's
// code, HTCLIENT in the client area, else HTBORDER inside the window and 0
// outside it. With claimOutside a visible window answers HTBORDER outside it
// too, so that the toolkit's mouse capture reports a press elsewhere as a
// press on the border.
LRESULT sbarWindowHitTest(ScrollBarPair* pair, HWND w, POINT screen, bool claimOutside);
void sbarNcButtonDown(ScrollBarPair* pair, int hitCode, POINT screen);
void sbarButtonDown(ScrollBarPair* pair, int hitCode, LPARAM windowPoint);
void sbarButtonUp(ScrollBarPair* pair);
void sbarMouseMove(ScrollBarPair* pair, WPARAM wParam, POINT screen);
void sbarCancel(ScrollBarPair* pair);
void sbarTimerTick(ScrollBarPair* pair);
void sbarNcPaint(ScrollBarPair* pair);

int sbarIsShown(const ScrollBarPair* pair, int bar);
int sbarShow(ScrollBarPair* pair, int bar, int show);
int sbarGetInfo(const ScrollBarPair* pair, int bar, ScrollInfo* info);
int sbarSetInfo(ScrollBarPair* pair, int bar, const ScrollInfo* info);
int32_t sbarSetLineStep(ScrollBarPair* pair, int bar, int32_t value);
int32_t sbarSetPageStep(ScrollBarPair* pair, int bar, int32_t value);
int32_t sbarLineStep(const ScrollBarPair* pair, int bar);
int32_t sbarPageStep(const PaintedBar* bar);
int sbarThickness(const ScrollBarPair* pair, int bar);
void sbarSetRedraw(ScrollBarPair* pair, int on);
int sbarWheel(ScrollBarPair* pair, int bar, int rotation);
void sbarAction(ScrollBarPair* pair, int action, int pixel, const POINT* point);
// Places a bar over the given window-relative rectangle and lays it out
// (the stand-alone scroll-bar control, whose bar is its whole window).
void sbarPlace(ScrollBarPair* pair, int bar, const RECT& windowRect);
