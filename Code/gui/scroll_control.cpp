// CGUIScrollBar: a stand-alone scroll-bar window painted from bitmaps,
// around one ScrollBarPair with the bar of its orientation shown over the
// whole window. It answers the system's SBM_ messages and passes the scroll
// messages of its bar on to its parent, so that a dialog uses it like a
// system scroll bar.
//
// Interface: RegisterScrollBarClass.
#include <windows.h>

#include "controls.h"
#include "facet.h"
#include "lists.h"
#include "scroll_bars.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIScrollBar";
enum { kSlotPair = 0, kSlotVertical = kPointerSlotBytes };

ScrollBarPair* PairOf(HWND w) { return reinterpret_cast<ScrollBarPair*>(GetWindowLongPtrA(w, kSlotPair)); }
int BarOf(HWND w) { return GetWindowLongA(w, kSlotVertical) ? 1 : 0; }

ScrollInfo InfoOf(HWND w) {
  ScrollInfo info{sizeof(ScrollInfo), 7, 0, 0, 0, 0, 0};
  sbarGetInfo(PairOf(w), BarOf(w), &info);
  return info;
}

void Apply(HWND w, int mask, int minimum, int maximum, int page, int position) {
  ScrollInfo info{sizeof(ScrollInfo), mask, minimum, maximum, page, position, 0};
  sbarSetInfo(PairOf(w), BarOf(w), &info);
}

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  const bool vertical = (cs->style & SBS_VERT) != 0;
  DWORD flags = DWORD(cs->dwExStyle) | (vertical ? kSbVertical : kSbHorizontal);
  LONG style = GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL);
  SetWindowLongA(w, GWL_STYLE, style);
  ScrollBarPair* pair = sbarCreate(w, flags);
  if (!pair) return FALSE;
  SetWindowLongA(w, kSlotVertical, vertical ? 1 : 0);
  sbarShow(pair, vertical ? 1 : 0, 1);
  SetWindowLongPtrA(w, kSlotPair, reinterpret_cast<LONG_PTR>(pair));
  return DefWindowProcA(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

void PlaceBar(HWND w, const RECT& windowRect) {
  CcDefaults* d = ccGetDefaultData();
  int width = windowRect.right - windowRect.left, height = windowRect.bottom - windowRect.top;
  RECT bar{0, 0, width, height};
  if (BarOf(w) == 1 && d && d->scrollBar.verticalWidth > 0) bar.right = d->scrollBar.verticalWidth;
  if (BarOf(w) == 0 && d && d->scrollBar.horizontalHeight > 0) bar.bottom = d->scrollBar.horizontalHeight;
  sbarPlace(PairOf(w), BarOf(w), bar);
}

POINT ScreenPoint(LPARAM lParam) { return POINT{short(LOWORD(lParam)), short(HIWORD(lParam))}; }

LRESULT CALLBACK ScrollBarProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  ScrollBarPair* pair = message == WM_NCCREATE ? nullptr : PairOf(w);
  const int hit = BarOf(w) ? HTVSCROLL : HTHSCROLL;
  switch (message) {
    case WM_NCCREATE:
      return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_CREATE:
      Apply(w, 7, 0, 100, 100, 0);
      return 0;
    case WM_NCDESTROY:
      // The bar object belongs to the window: it goes with it.
      if (pair) sbarCancel(pair);
      sbarDestroy(pair);
      SetWindowLongPtrA(w, kSlotPair, 0);
      return DefWindowProcA(w, message, wParam, lParam);
    case WM_NCCALCSIZE: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (r) PlaceBar(w, *r);
      return DefWindowProcA(w, message, wParam, lParam);
    }
    case WM_NCPAINT:
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(w, &ps);
      EndPaint(w, &ps);
      sbarNcPaint(pair);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      sbarButtonDown(pair, hit, lParam);
      return 0;
    case WM_MOUSEMOVE:
      sbarMouseMove(pair, wParam, ScreenPoint(lParam));
      return 0;
    case WM_LBUTTONUP:
      sbarButtonUp(pair);
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (!pair || pair->heldPart == -1) return 0;
      sbarNcButtonDown(pair, hit, ScreenPoint(lParam));
      return 0;
    case WM_NCMOUSEMOVE:
      if (!pair || pair->heldPart == -1) return 0;
      sbarMouseMove(pair, wParam, ScreenPoint(lParam));
      return 0;
    case WM_NCLBUTTONUP:
      if (!pair || pair->heldPart == -1) return 0;
      sbarButtonUp(pair);
      return 0;
    case WM_TIMER:
      if (wParam == kScrollRepeatTimer) sbarTimerTick(pair);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case CCM_SETHPOS:
    case CCM_SETTOPROW:
    case CCM_HPOSCHANGED:
    case CCM_TOPROWCHANGED:
      return SendMessageA(GetParent(w), message, wParam, lParam);
    case WM_MOUSEWHEEL:
      return sbarWheel(pair, BarOf(w), short(HIWORD(wParam)));
    case SBM_SETPOS: {
      int previous = InfoOf(w).position;
      Apply(w, SB_MASK_POSITION, 0, 0, 0, int(wParam));
      return previous != int(wParam) ? previous : 0;
    }
    case SBM_GETPOS:
      return InfoOf(w).position;
    case SBM_SETRANGE: {
      ScrollInfo before = InfoOf(w);
      int maximum = before.page > 1 ? int(lParam) + before.page - 1 : int(lParam);
      Apply(w, SB_MASK_RANGE, int(wParam), maximum, 0, 0);
      int after = InfoOf(w).position;
      return after != before.position ? before.position : 0;
    }
    case SBM_GETRANGE: {
      ScrollInfo info = InfoOf(w);
      int maximum = info.page > 1 ? info.maximum - (info.page - 1) : info.maximum;
      return MAKELONG(info.minimum, maximum);
    }
    case SBM_SETSCROLLINFO:
      if (lParam) sbarSetInfo(pair, BarOf(w), reinterpret_cast<const ScrollInfo*>(lParam));
      return InfoOf(w).position;
    case CSBM_REDRAW:
      sbarNcPaint(pair);
      return 1;
    default:
      return DefWindowProcA(w, message, wParam, lParam);
  }
}

}  // namespace

ATOM RegisterScrollBarClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = 0x4083;
  wc.lpfnWndProc = ScrollBarProc;
  wc.cbWndExtra = kPointerSlotBytes + kValueSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
