// Painted scroll bars on windows: see scroll_bars.h. The arithmetic is in
// scroll_math.cpp.
#include "scroll_bars.h"

#include <algorithm>
#include <cstring>

#include "barframe.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "mousehook.h"
#include "winutil.h"

namespace {

template <typename T>
T* AllocLocked() {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(T));
  return h ? static_cast<T*>(GlobalLock(h)) : nullptr;
}

void FreeLocked(void* p) {
  if (!p) return;
  HGLOBAL h = GlobalHandle(p);
  GlobalUnlock(h);
  GlobalFree(h);
}

PaintedBar* Bar(const ScrollBarPair* pair, int bar) {
  if (!pair) return nullptr;
  return bar == 1 ? pair->vertical : pair->horizontal;
}

struct Looks {
  PackedDib* firstArrow[2];
  PackedDib* secondArrow[2];
  PackedDib* thumb[3][2];  // start, middle, end; normal, pressed
  PackedDib* page[2];
  COLORREF pageColour;
};

bool Loaded(CcBitmap b) { return reinterpret_cast<uintptr_t>(b) > 0xFFFF; }
PackedDib* Dib(CcBitmap b) { return Loaded(b) ? b : nullptr; }

Looks LooksFor(bool vertical) {
  Looks l{};
  CcDefaults* d = ccGetDefaultData();
  if (!d || d->scrollBar.notLoaded) return l;
  const CcScrollBarSection& s = d->scrollBar;
  const CcBitmap* arrows = vertical ? s.verticalArrows : s.horizontalArrows;
  for (int st = 0; st < 2; ++st) {
    l.firstArrow[st] = Dib(arrows[st]);
    l.secondArrow[st] = Dib(arrows[3 + st]);
    for (int piece = 0; piece < 3; ++piece)
      l.thumb[piece][st] = vertical ? Dib(s.verticalThumb[piece * 3 + st]) : Dib(s.horizontalThumb[piece]);
    l.page[st] = Dib(s.trackBitmaps[(vertical ? 0 : 3) + st]);
  }
  l.pageColour = vertical ? s.verticalTrack : s.horizontalTrack;
  return l;
}

int Length(PackedDib* dib, bool vertical) {
  int32_t wh[2] = {0, 0};
  if (!dib || !dibGetDibDimensions(dib, wh)) return 0;
  return vertical ? std::abs(wh[1]) : wh[0];
}

int Across(PackedDib* dib, bool vertical) {
  int32_t wh[2] = {0, 0};
  if (!dib || !dibGetDibDimensions(dib, wh)) return 0;
  return vertical ? wh[0] : std::abs(wh[1]);
}

// Track length, thumb length and the layout of the chosen parts.
void Layout(PaintedBar* b, bool vertical, int mask) {
  Looks l = LooksFor(vertical);
  int first = Length(l.firstArrow[0], vertical), second = Length(l.secondArrow[0], vertical);
  const SbRect& r = b->bar;
  int barLength = vertical ? r.bottom - r.top : r.right - r.left;
  if (first + second > barLength) first = second = barLength / 2;
  int track = std::max(barLength - first - second, 0);
  int minThumb = Length(l.thumb[0][0], vertical) + Length(l.thumb[2][0], vertical);
  int thumb = sbThumbLength(b->info, track, minThumb);
  int offset = sbThumbOffset(b->info, track, thumb);
  sbLayoutParts(b->parts, b->bar, vertical, mask, first, second, offset, thumb);
  b->layoutPending = 0;
}

int TrackOf(const PaintedBar* b, bool vertical) { return sbTrackLength(b->parts, vertical); }
int ThumbOf(const PaintedBar* b, bool vertical) {
  const SbRect& t = b->parts[SBP_THUMB];
  return vertical ? t.bottom - t.top : t.right - t.left;
}

RECT ToRect(const SbRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

bool Unset(const SbRect& r, bool vertical) {
  return vertical ? (r.right == r.left && r.top == 0 && r.bottom == 0)
                  : (r.bottom == r.top && r.left == 0 && r.right == 0);
}

void FillPage(HDC dc, const RECT& rect, const Looks& l, bool pressed) {
  PackedDib* tile = l.page[pressed ? 1 : 0];
  if (tile) {
    TileDibOnDC(dc, tile, &rect);
  } else if (l.pageColour <= 0xFF) {
    PaintRectWithPaletteIndex(dc, &rect, int(l.pageColour) + (pressed ? 1 : 0));
  } else {
    COLORREF c = l.pageColour;
    if (pressed) c = RGB(GetRValue(c) * 3 / 4, GetGValue(c) * 3 / 4, GetBValue(c) * 3 / 4);
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
}

void PaintParts(ScrollBarPair* pair, int bar, int mask) {
  PaintedBar* b = Bar(pair, bar);
  if (!b || !b->shown || pair->redrawOff || !IsWindowVisible(pair->window)) return;
  const bool vertical = bar == 1;
  Looks l = LooksFor(vertical);
  HDC dc = GetWindowDC(pair->window);
  if (!dc) return;
  CcDefaults* d = ccGetDefaultData();
  HPALETTE old = d && d->palette ? SelectAndRealizePalette(dc, nullptr, d->palette) : nullptr;
  for (int k = 0; k < SBP_COUNT; ++k) {
    if (!(mask & (1 << k))) continue;
    if (Unset(b->parts[k], vertical)) break;
    const bool pressed = (b->pressed >> k) & 1;
    RECT r = ToRect(b->parts[k]);
    if (r.right <= r.left || r.bottom <= r.top) continue;
    switch (k) {
      case SBP_FIRST_ARROW:
      case SBP_SECOND_ARROW: {
        PackedDib* dib = (k == 0 ? l.firstArrow : l.secondArrow)[pressed ? 1 : 0];
        if (!dib) dib = (k == 0 ? l.firstArrow : l.secondArrow)[0];
        if (dib)
          dibDisplay(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0, dib);
        else
          FillRect(dc, &r, GetSysColorBrush(pressed ? COLOR_3DSHADOW : COLOR_BTNFACE));
        break;
      }
      case SBP_PAGE_BEFORE:
      case SBP_PAGE_AFTER:
        FillPage(dc, r, l, pressed);
        break;
      case SBP_THUMB: {
        int s = pressed ? 1 : 0;
        PackedDib* start = l.thumb[0][s] ? l.thumb[0][s] : l.thumb[0][0];
        PackedDib* middle = l.thumb[1][s] ? l.thumb[1][s] : l.thumb[1][0];
        PackedDib* end = l.thumb[2][s] ? l.thumb[2][s] : l.thumb[2][0];
        if (!PaintBarOnDC(dc, &r, start, middle, end, vertical ? 1 : 0))
          FillRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        break;
      }
    }
  }
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(pair->window, dc);
}

void PaintCorner(ScrollBarPair* pair) {
  if (!sbarIsShown(pair, 1) || !sbarIsShown(pair, 0)) return;
  RECT corner{pair->vertical->bar.left, pair->horizontal->bar.top, pair->vertical->bar.right,
              pair->horizontal->bar.bottom};
  if (IsRectEmpty(&corner)) return;
  HDC dc = GetWindowDC(pair->window);
  HWND parent = GetParent(pair->window);
  RECT place{};
  if (parent && GetWindowRectInParent(pair->window, &place)) {
    IntersectClipRect(dc, corner.left, corner.top, corner.right, corner.bottom);
    POINT oldOrigin;
    SetWindowOrgEx(dc, place.left, place.top, &oldOrigin);
    CallWindowProcedure(parent, WM_ERASEBKGND, WPARAM(dc), 0);
    SetWindowOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  } else {
    FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
  }
  ReleaseDC(pair->window, dc);
}

POINT ScreenToWindow(HWND window, POINT p) {
  RECT w;
  GetWindowRect(window, &w);
  return POINT{p.x - w.left, p.y - w.top};
}

void Press(ScrollBarPair* pair, int hitCode, POINT p) {
  HWND window = pair->window;
  bool held = GetCapture() == window;
  BeginMouseCapture(window);
  pair->captureTaken = held ? 0 : 1;
  pair->repeatPeriod = kScrollRepeatFirst;
  pair->heldBar = hitCode == HTVSCROLL ? 1 : 0;
  PaintedBar* b = Bar(pair, pair->heldBar);
  int part = -1;
  if (b)
    for (int k = 0; k < SBP_COUNT && part < 0; ++k)
      if (sbRectHolds(b->parts[k], p.x, p.y)) part = k;
  if (part < 0) {
    if (pair->captureTaken) EndMouseCapture();
    pair->captureTaken = 0;
    pair->heldBar = -1;
    return;
  }
  b->pressed |= 1 << part;
  pair->heldPart = part;
  PaintParts(pair, pair->heldBar, 1 << part);
  if (part < SBP_THUMB) {
    sbarAction(pair, part, 0, &p);
    SetTimer(window, kScrollRepeatTimer, pair->repeatPeriod, nullptr);
  } else {
    pair->dragOffset = pair->heldBar == 1 ? p.y - b->parts[SBP_THUMB].top : p.x - b->parts[SBP_THUMB].left;
  }
}

}  // namespace

ScrollBarPair* sbarInit(ScrollBarPair* pair, HWND window, DWORD flags) {
  std::memset(pair, 0, sizeof *pair);
  pair->window = window;
  pair->heldPart = -1;
  pair->heldBar = -1;
  pair->repeatPeriod = kScrollRepeatFirst;
  auto make = [](PaintedBar** slot) {
    *slot = AllocLocked<PaintedBar>();
    if (*slot) {
      (*slot)->info.size = sizeof(ScrollInfo);
      (*slot)->lineStep = 1;
    }
  };
  if (flags & kSbVertical) make(&pair->vertical);
  if (flags & kSbHorizontal) make(&pair->horizontal);
  return pair->vertical || pair->horizontal ? pair : nullptr;
}

ScrollBarPair* sbarCreate(HWND window, DWORD flags) {
  if (!(flags & (kSbVertical | kSbHorizontal))) return nullptr;
  ScrollBarPair* pair = AllocLocked<ScrollBarPair>();
  if (!pair) return nullptr;
  if (!sbarInit(pair, window, flags)) {
    FreeLocked(pair);
    return nullptr;
  }
  return pair;
}

void sbarFreeBars(ScrollBarPair* pair) {
  if (!pair) return;
  FreeLocked(pair->vertical);
  FreeLocked(pair->horizontal);
  pair->vertical = pair->horizontal = nullptr;
}

void sbarDestroy(ScrollBarPair* pair) {
  if (!pair) return;
  sbarFreeBars(pair);
  FreeLocked(pair);
}

void sbarPlace(ScrollBarPair* pair, int bar, const RECT& r) {
  PaintedBar* b = Bar(pair, bar);
  if (!b) return;
  b->bar = SbRect{r.left, r.top, r.right, r.bottom};
  Layout(b, bar == 1, kSbAllParts);
}

int sbarNcCalcSize(ScrollBarPair* pair, WPARAM, RECT* r) {
  if (!pair || !r) return 0;
  const RECT old = *r;
  int v = sbarIsShown(pair, 1) ? Across(LooksFor(true).firstArrow[0], true) : 0;
  int h = sbarIsShown(pair, 0) ? Across(LooksFor(false).firstArrow[0], false) : 0;
  if (sbarIsShown(pair, 1) && !v) v = GetSystemMetrics(SM_CXVSCROLL);
  if (sbarIsShown(pair, 0) && !h) h = GetSystemMetrics(SM_CYHSCROLL);
  r->right = std::max(r->left, r->right - v);
  r->bottom = std::max(r->top, r->bottom - h);
  if (sbarIsShown(pair, 1)) sbarPlace(pair, 1, RECT{r->right, old.top, old.right, r->bottom});
  if (sbarIsShown(pair, 0)) sbarPlace(pair, 0, RECT{old.left, r->bottom, r->right, old.bottom});
  return v || h ? 1 : 0;
}

int sbarHitTest(ScrollBarPair* pair, POINT screen) {
  if (!pair) return 0;
  POINT p = ScreenToWindow(pair->window, screen);
  if (sbarIsShown(pair, 1) && sbRectHolds(pair->vertical->bar, p.x, p.y)) return HTVSCROLL;
  if (sbarIsShown(pair, 0) && sbRectHolds(pair->horizontal->bar, p.x, p.y)) return HTHSCROLL;
  return 0;
}

LRESULT sbarWindowHitTest(ScrollBarPair* pair, HWND w, POINT screen, bool claimOutside) {
  if (int hit = sbarHitTest(pair, screen)) return hit;
  POINT p = screen;
  ScreenToClient(w, &p);
  RECT client, window;
  GetClientRect(w, &client);
  if (PtInRect(&client, p)) return HTCLIENT;
  GetWindowRect(w, &window);
  return PtInRect(&window, screen) || (claimOutside && IsWindowVisible(w)) ? HTBORDER : 0;
}

void sbarNcButtonDown(ScrollBarPair* pair, int hitCode, POINT screen) {
  if (pair) Press(pair, hitCode, ScreenToWindow(pair->window, screen));
}

void sbarButtonDown(ScrollBarPair* pair, int hitCode, LPARAM point) {
  if (pair) Press(pair, hitCode, POINT{short(LOWORD(point)), short(HIWORD(point))});
}

void sbarButtonUp(ScrollBarPair* pair) {
  if (!pair || pair->heldBar < 0) return;
  if (pair->captureTaken) EndMouseCapture();
  pair->captureTaken = 0;
  KillTimer(pair->window, kScrollRepeatTimer);
  PaintedBar* b = Bar(pair, pair->heldBar);
  if (b && pair->heldPart >= 0) {
    b->pressed &= ~(1 << pair->heldPart);
    PaintParts(pair, pair->heldBar, 1 << pair->heldPart);
  }
  sbarAction(pair, SBA_END_SCROLL, 0, nullptr);
  pair->heldPart = -1;
  pair->heldBar = -1;
}

void sbarMouseMove(ScrollBarPair* pair, WPARAM, POINT) {
  if (!pair || pair->heldPart != SBP_THUMB || pair->heldBar < 0) return;
  if (GetAsyncKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_LBUTTON) >= 0) return;
  PaintedBar* b = Bar(pair, pair->heldBar);
  if (!b) return;
  POINT cursor;
  GetCursorPos(&cursor);
  POINT p = ScreenToWindow(pair->window, cursor);
  int pixel = pair->heldBar == 1 ? p.y - b->parts[SBP_PAGE_BEFORE].top - pair->dragOffset
                                 : p.x - b->parts[SBP_PAGE_BEFORE].left - pair->dragOffset;
  sbarAction(pair, SBA_THUMB_TRACK, pixel, nullptr);
}

void sbarCancel(ScrollBarPair* pair) {
  if (!pair) return;
  if (pair->captureTaken) EndMouseCapture();
  pair->captureTaken = 0;
  KillTimer(pair->window, kScrollRepeatTimer);
  if (PaintedBar* b = Bar(pair, pair->heldBar)) b->pressed = 0;
  pair->heldPart = -1;
}

void sbarTimerTick(ScrollBarPair* pair) {
  if (!pair || pair->heldPart < 0) return;
  POINT cursor;
  GetCursorPos(&cursor);
  POINT p = ScreenToWindow(pair->window, cursor);
  sbarAction(pair, pair->heldPart, 0, &p);
  if (pair->repeatPeriod == int(kScrollRepeatFirst)) {
    pair->repeatPeriod = kScrollRepeatNext;
    KillTimer(pair->window, kScrollRepeatTimer);
    SetTimer(pair->window, kScrollRepeatTimer, pair->repeatPeriod, nullptr);
  }
}

void sbarNcPaint(ScrollBarPair* pair) {
  if (!pair) return;
  for (int bar = 1; bar >= 0; --bar) {
    PaintedBar* b = Bar(pair, bar);
    if (!b || !b->shown) continue;
    if (b->layoutPending) Layout(b, bar == 1, kSbAllParts);
    PaintParts(pair, bar, kSbAllParts);
  }
  PaintCorner(pair);
}

int sbarIsShown(const ScrollBarPair* pair, int bar) {
  const PaintedBar* b = Bar(pair, bar);
  return b && b->shown ? 1 : 0;
}

int sbarShow(ScrollBarPair* pair, int bar, int show) {
  PaintedBar* b = Bar(pair, bar);
  if (!b) return 0;
  int now = show ? 1 : 0;
  if (b->shown == now) return 1;
  HWND parent = GetParent(pair->window);
  if (parent && IsWindow(parent)) SendMessageA(parent, CCM_BARSHOWN, WPARAM(bar), LPARAM(now));
  b->shown = now;
  return 1;
}

int sbarGetInfo(const ScrollBarPair* pair, int bar, ScrollInfo* info) {
  const PaintedBar* b = Bar(pair, bar);
  if (!b || !info) return 0;
  size_t size = std::min<size_t>(std::max<int32_t>(info->size, 4), sizeof(ScrollInfo));
  std::memcpy(reinterpret_cast<char*>(info) + 4, reinterpret_cast<const char*>(&b->info) + 4, size - 4);
  return 1;
}

int sbarSetInfo(ScrollBarPair* pair, int bar, const ScrollInfo* info) {
  PaintedBar* b = Bar(pair, bar);
  if (!b || !info) return 0;
  if (info->mask & SB_MASK_PAGE) b->info.page = info->page;
  if (info->mask & SB_MASK_POSITION) b->info.position = info->position;
  if (info->mask & SB_MASK_RANGE) {
    b->info.minimum = info->minimum;
    b->info.maximum = info->maximum;
  }
  int32_t change = 0;
  sbNormalize(&b->info, &change);
  b->info.trackPosition = b->info.position;
  if (change)
    SendMessageA(pair->window, bar == 1 ? CCM_TOPROWCHANGED : CCM_HPOSCHANGED, WPARAM(b->info.position),
                 LPARAM(pair->window));
  if (pair->redrawOff) {
    b->layoutPending = 1;
  } else {
    // Only a bar that looks different is painted again: filling a long
    // list changes the range at every item while the thumb stays put.
    SbRect before[SBP_COUNT];
    std::memcpy(before, b->parts, sizeof before);
    Layout(b, bar == 1, kSbAllParts);
    if (std::memcmp(before, b->parts, sizeof before) != 0) PaintParts(pair, bar, kSbAllParts);
  }
  return 1;
}

int32_t sbarSetLineStep(ScrollBarPair* pair, int bar, int32_t value) {
  PaintedBar* b = Bar(pair, bar);
  if (!b) return 0;
  std::swap(b->lineStep, value);
  return value;
}

int32_t sbarSetPageStep(ScrollBarPair* pair, int bar, int32_t value) {
  PaintedBar* b = Bar(pair, bar);
  if (!b) return 0;
  std::swap(b->pageStep, value);
  return value;
}

int32_t sbarLineStep(const ScrollBarPair* pair, int bar) {
  const PaintedBar* b = Bar(pair, bar);
  return b ? b->lineStep : 0;
}

int32_t sbarPageStep(const PaintedBar* b) {
  return b ? sbEffectivePageStep(b->info, b->lineStep, b->pageStep) : 0;
}

int sbarThickness(const ScrollBarPair* pair, int bar) {
  const PaintedBar* b = Bar(pair, bar);
  if (!b || !b->shown) return 0;
  return bar == 1 ? b->bar.right - b->bar.left : b->bar.bottom - b->bar.top;
}

void sbarSetRedraw(ScrollBarPair* pair, int on) {
  if (!pair) return;
  pair->redrawOff = on ? 0 : 1;
  DefWindowProcA(pair->window, WM_SETREDRAW, WPARAM(on), 0);
}

int sbarWheel(ScrollBarPair* pair, int bar, int rotation) {
  PaintedBar* b = Bar(pair, bar);
  if (!b) return 0;
  pair->heldBar = bar;
  int32_t remainder = b->wheelRemainder;
  int32_t notches = sbWheelNotches(&remainder, rotation);
  const int lines = ccWheelScrollLines();
  for (; notches != 0; notches += notches > 0 ? -1 : 1) {
    bool back = notches > 0;
    if (lines != -1) {
      for (int i = 0; i < lines; ++i) sbarAction(pair, back ? SBA_LINE_BACK : SBA_LINE_FORWARD, 0, nullptr);
    } else {
      sbarAction(pair, back ? SBA_PAGE_BACK : SBA_PAGE_FORWARD, 0, nullptr);
    }
  }
  // The actions clear the remainder: keep what the rotation left over.
  b->wheelRemainder = remainder;
  pair->heldBar = -1;
  return 0;
}

void sbarAction(ScrollBarPair* pair, int action, int pixel, const POINT* point) {
  PaintedBar* b = pair ? Bar(pair, pair->heldBar) : nullptr;
  if (!b) return;
  b->wheelRemainder = 0;
  const bool vertical = pair->heldBar == 1;
  const UINT scroll = vertical ? WM_VSCROLL : WM_HSCROLL;
  if (action == SBA_END_SCROLL)
    SendMessageA(pair->window, scroll, MAKEWPARAM(SBA_THUMB_POSITION, b->info.position), 0);
  int32_t pt[2] = {point ? point->x : 0, point ? point->y : 0};
  int32_t position = b->info.position;
  if (!sbActionPosition(b->info, action, b->parts, point ? pt : nullptr, b->lineStep, b->pageStep,
                        TrackOf(b, vertical), ThumbOf(b, vertical), pixel, &position))
    return;
  b->info.position = b->info.trackPosition = position;
  Layout(b, vertical, kSbMovingParts);
  PaintParts(pair, pair->heldBar, kSbMovingParts);
  if (action == SBA_THUMB_TRACK)
    SendMessageA(pair->window, vertical ? CCM_SETTOPROW : CCM_SETHPOS, WPARAM(position),
                 LPARAM(pair->window));
  else
    SendMessageA(pair->window, scroll, MAKEWPARAM(action, position), LPARAM(pair->window));
}
