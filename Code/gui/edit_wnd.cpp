// CGUIEdit: the system edit control with the library's look. The system
// edit class does the editing; this superclass paints the frame from the
// edit frame pieces of the control defaults (or through the main program's
// non-client painter), fills the background and colours the text from the
// shared palette, keeps read-only edits read-only against the keys the
// system lets through, scrolls one more line on Up and Down, tells the
// parent when it gains or loses the focus, and, for an edit with a vertical
// scroll bar, shows the library's painted bar in place of the system one and
// keeps it in step with the edit's scroll state.
//
// Window data: the system edit's extra bytes, then three 32-bit slots:
// slot 1 is set while the bar is being brought in step, slot 2 holds the
// library scroll bar (null: none).
//
// Interface: RegisterEditClass, UnregisterEditClass.
#include <windows.h>

#include <algorithm>

#include "barframe.h"
#include "basic_controls.h"
#include "controls.h"
#include "facet.h"
#include "scroll_bars.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIEdit";
constexpr DWORD kExLibraryFrame = 0x800;  // extended style: framed by the library
constexpr DWORD kExLibraryBar = 0x200;    // extended style: the library scroll bar
// Our bytes after the system edit's: value words 0 and 1 (1: inside a scroll
// step), then the pointer to the scroll-bar pair.
enum { kSlotInStep = 1 };
constexpr int kBarOffset = 2 * kValueSlotBytes;
constexpr int kOwnExtraBytes = kBarOffset + kPointerSlotBytes;

WNDPROC g_systemProc = nullptr;  // the system edit's window procedure
int g_systemExtra = 0;           // the system edit's extra bytes; our slots follow

LRESULT System(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return g_systemProc ? CallWindowProcA(g_systemProc, w, m, wp, lp) : DefWindowProcA(w, m, wp, lp);
}

ScrollBarPair* Bar(HWND w) {
  return reinterpret_cast<ScrollBarPair*>(GetWindowLongPtrA(w, g_systemExtra + kBarOffset));
}
void SetBar(HWND w, ScrollBarPair* bar) {
  SetWindowLongPtrA(w, g_systemExtra + kBarOffset, reinterpret_cast<LONG_PTR>(bar));
}

bool ReadOnly(HWND w) { return (GetWindowLongA(w, GWL_STYLE) & ES_READONLY) != 0; }
bool Framed(HWND w) {
  return (GetWindowLongA(w, GWL_STYLE) & WS_BORDER) || (GetWindowLongA(w, GWL_EXSTYLE) & kExLibraryFrame);
}

bool Loaded(CcBitmap b) { return reinterpret_cast<uintptr_t>(b) > 0xFFFF; }

int FrameWidth() {
  CcDefaults* d = ccGetDefaultData();
  if (!d) return 1;
  int width = d->ncPainter ? d->ncFrameWidth : d->editFrameWidth;
  return width > 0 ? width : 1;
}

HBRUSH ClassBrush(HWND w) { return reinterpret_cast<HBRUSH>(GetClassLongPtrA(w, GCLP_HBRBACKGROUND)); }

// The class brush, made by the first edit from the edit background colour:
// the stock black brush when that palette entry is near black.
void MakeClassBrush(HWND w) {
  if (ClassBrush(w)) return;
  CcDefaults* d = ccGetDefaultData();
  if (!d) return;
  PALETTEENTRY entry{};
  HPALETTE palette = d->palette ? d->palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  GetPaletteEntries(palette, UINT(d->editBackground), 1, &entry);
  HBRUSH brush = entry.peRed < 16 && entry.peGreen < 10 && entry.peBlue < 10
                     ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))
                     : CreateSolidBrush(PALETTEINDEX(d->editBackground));
  if (brush) SetClassLongPtrA(w, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
}

// The edit's own vertical scroll state: range and page as it gives them to
// the system bar, the position its first visible line (the system bar's
// position lags while the thumb is dragged).
ScrollInfo EditScroll(HWND w) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(w, SB_VERT, &si)) si.nMin = si.nMax = si.nPage = si.nPos = 0;
  ScrollInfo info{};
  info.size = sizeof info;
  info.mask = SB_MASK_RANGE | SB_MASK_PAGE | SB_MASK_POSITION;
  info.minimum = si.nMin;
  info.maximum = si.nMax;
  info.page = int32_t(si.nPage);
  info.position = (GetWindowLongA(w, GWL_STYLE) & ES_MULTILINE)
                      ? int32_t(System(w, EM_GETFIRSTVISIBLELINE, 0, 0))
                      : si.nPos;
  return info;
}

// Brings the library bar in step with the edit and paints it again (the
// system may have drawn its own bar over the strip).
void BringBarInStep(HWND w) {
  ScrollBarPair* bar = Bar(w);
  if (!bar || GetExtraLong(w, g_systemExtra, kSlotInStep)) return;
  SetExtraLong(w, g_systemExtra, kSlotInStep, 1);
  ScrollInfo edit = EditScroll(w);
  ScrollInfo shown{};
  shown.size = sizeof shown;
  sbarGetInfo(bar, 1, &shown);
  if (shown.position != edit.position || shown.page != edit.page || shown.maximum != edit.maximum)
    sbarSetInfo(bar, 1, &edit);
  if (Bar(w) == bar) sbarNcPaint(bar);
  SetExtraLong(w, g_systemExtra, kSlotInStep, 0);
}

void DestroyBar(HWND w) {
  ScrollBarPair* bar = Bar(w);
  if (!bar) return;
  SetBar(w, nullptr);
  sbarCancel(bar);
  sbarDestroy(bar);
}

LRESULT OnNcCreate(HWND w, WPARAM wp, CREATESTRUCTA* cs) {
  SetWindowLongA(w, GWL_STYLE, cs->style);
  MakeClassBrush(w);
  DWORD ex = DWORD(cs->dwExStyle);
  if (cs->style & WS_VSCROLL) {
    ex |= kExLibraryBar;
    SetWindowLongA(w, GWL_EXSTYLE, LONG(ex));
  }
  if (ex & kExLibraryBar) {
    if (ScrollBarPair* bar = sbarCreate(w, kSbVertical)) {
      SetBar(w, bar);
      sbarShow(bar, 1, 1);
    }
  }
  // The frame is ours: the system edit would draw a line of its own inside
  // the client area of an edit created with a border.
  CREATESTRUCTA own = *cs;
  own.style &= ~WS_BORDER;
  LRESULT result = System(w, WM_NCCREATE, wp, reinterpret_cast<LPARAM>(&own));
  if (cs->style & WS_BORDER) SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) | WS_BORDER);
  return result;
}

LRESULT OnNcCalcSize(HWND w, WPARAM wp, LPARAM lp) {
  RECT* r = reinterpret_cast<RECT*>(lp);  // also rgrc[0] when wParam is set
  if (!r) return 0;
  const POINT origin{r->left, r->top};  // the window's top-left corner
  EditFrameNcCalcSize(w, r);
  if (ScrollBarPair* bar = Bar(w)) {
    // The bar is placed in the window's own coordinates.
    OffsetRect(r, -origin.x, -origin.y);
    sbarNcCalcSize(bar, wp, r);
    OffsetRect(r, origin.x, origin.y);
  }
  return wp ? 0x700 : 0;
}

LRESULT OnNcPaint(HWND w) {
  EditFrameNcPaint(w);
  if (ScrollBarPair* bar = Bar(w)) sbarNcPaint(bar);
  return 0;
}

void NotifyFocus(HWND w, WORD code) {
  HWND parent = GetParent(w);
  if (!parent) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), code), reinterpret_cast<LPARAM>(w));
}

LRESULT OnCtlColor(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  CcDefaults* d = ccGetDefaultData();
  HBRUSH brush = ClassBrush(w);
  if (!d || !brush) return System(w, m, wp, lp);
  HDC dc = reinterpret_cast<HDC>(wp);
  if (d->palette) SelectAndRealizePalette(dc, nullptr, d->palette);
  SetTextColor(dc, PALETTEINDEX(d->editText));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, PALETTEINDEX(d->editBackground));
  return reinterpret_cast<LRESULT>(brush);
}

// Messages after which the edit's scroll state may have moved.
bool MayScroll(HWND w, UINT m) {
  switch (m) {
    case WM_UNDO:
    case WM_SIZE:
    case WM_SETFONT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_TIMER:  // the edit's own scrolling while the mouse selects
      return true;
    case WM_MOUSEMOVE:
      return GetCapture() == w;
    default:
      return m >= EM_GETSEL && m <= EM_GETIMESTATUS;
  }
}

LRESULT CALLBACK EditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_NCCREATE:
      return OnNcCreate(w, wp, reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_CREATE:
      if (ScrollBarPair* bar = Bar(w)) {
        ScrollInfo zero{};
        zero.size = sizeof zero;
        zero.mask = SB_MASK_RANGE | SB_MASK_PAGE | SB_MASK_POSITION;
        sbarSetInfo(bar, 1, &zero);
      }
      return System(w, m, wp, lp);
    case WM_DESTROY:
    case WM_NCDESTROY:  // also when creation failed after the bar was made
      DestroyBar(w);
      return System(w, m, wp, lp);
    case WM_NCCALCSIZE:
      return OnNcCalcSize(w, wp, lp);
    case WM_NCPAINT:
      return OnNcPaint(w);
    case WM_NCHITTEST:
      return sbarWindowHitTest(Bar(w), w, POINT{short(LOWORD(lp)), short(HIWORD(lp))}, true);
    case WM_NCMOUSEMOVE: {
      ScrollBarPair* bar = Bar(w);
      if (!bar) return 0;
      // A held thumb follows the mouse wherever it goes.
      if (wp == HTBORDER || wp == 0 || wp == HTVSCROLL || bar->heldBar >= 0)
        sbarMouseMove(bar, wp, POINT{short(LOWORD(lp)), short(HIWORD(lp))});
      return 0;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (ScrollBarPair* bar = Bar(w); bar && wp == HTVSCROLL)
        sbarNcButtonDown(bar, HTVSCROLL, POINT{short(LOWORD(lp)), short(HIWORD(lp))});
      return 0;
    case WM_NCLBUTTONUP:
      if (ScrollBarPair* bar = Bar(w)) sbarButtonUp(bar);
      return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (ScrollBarPair* bar = Bar(w); bar && m == WM_CANCELMODE) sbarCancel(bar);
      return System(w, m, wp, lp);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(wp) != w) {
        InvalidateRect(w, nullptr, FALSE);
        NotifyFocus(w, m == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
      }
      return System(w, m, wp, lp);
    case WM_ERASEBKGND: {
      HBRUSH brush = ClassBrush(w);
      CcDefaults* d = ccGetDefaultData();
      if (!brush) return System(w, m, wp, lp);  // no defaults: the system look
      HDC dc = reinterpret_cast<HDC>(wp);
      if (d && d->palette) SelectAndRealizePalette(dc, nullptr, d->palette);
      RECT client;
      GetClientRect(w, &client);
      PaintRectWithBrush(dc, &client, brush);
      return 0;
    }
    case WM_PAINT: {
      LRESULT result = System(w, m, wp, lp);
      BringBarInStep(w);
      return result;
    }
    case WM_KEYDOWN: {
      if (wp == VK_DELETE && ReadOnly(w)) return 0;
      LRESULT result = System(w, m, wp, lp);
      if (wp == VK_DOWN || wp == VK_UP) {
        SendMessageA(w, WM_VSCROLL, wp == VK_DOWN ? SB_LINEDOWN : SB_LINEUP, 0);
        result = 0;
      }
      BringBarInStep(w);
      return result;
    }
    case WM_CHAR: {
      if (wp == 3) return System(w, m, wp, lp);  // Ctrl+C copies, read-only or not
      if (ReadOnly(w)) return 0;
      LRESULT result = System(w, m, wp, lp);
      BringBarInStep(w);
      return result;
    }
    case WM_CLEAR:
      if (ReadOnly(w)) return 0;
      return System(w, m, wp, lp);
    case WM_SETTEXT:
    case WM_WINDOWPOSCHANGED:
    case WM_CUT:
    case WM_PASTE:
    case WM_VSCROLL: {
      LRESULT result = System(w, m, wp, lp);
      BringBarInStep(w);
      return result;
    }
    case CCM_TOPROWCHANGED:
      // Sent while the bar takes the edit's own state: the edit already is
      // where the bar says.
      if (GetExtraLong(w, g_systemExtra, kSlotInStep)) return 0;
      [[fallthrough]];
    case CCM_SETTOPROW:
      return EditProc(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, LOWORD(wp)), 0);
    case WM_MOUSEWHEEL:
      if (ScrollBarPair* bar = Bar(w)) return sbarWheel(bar, 1, short(HIWORD(wp)));
      return System(w, m, wp, lp);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(w, m, wp, lp);
    default: {
      if (m == WM_TIMER && wp == kScrollRepeatTimer) {
        if (ScrollBarPair* bar = Bar(w)) {
          sbarTimerTick(bar);
          return 0;
        }
      }
      LRESULT result = System(w, m, wp, lp);
      if (Bar(w) && MayScroll(w, m)) BringBarInStep(w);
      return result;
    }
  }
}

}  // namespace

void EditFrameNcCalcSize(HWND w, RECT* r) {
  if (!r || !Framed(w)) return;
  int width = FrameWidth();
  r->left += width;
  r->top += width;
  r->right = std::max(r->left, r->right - width);
  r->bottom = std::max(r->top, r->bottom - width);
}

void EditFrameNcPaint(HWND w) {
  if (!Framed(w)) return;
  RECT r;
  GetWindowRect(w, &r);
  OffsetRect(&r, -r.left, -r.top);
  CcDefaults* d = ccGetDefaultData();
  if (d && d->ncPainter) {
    d->ncPainter(w, &r, d);
  } else if (d && Loaded(d->editFrame.pieces[FP_TOP_LEFT])) {
    PaintFrameSet(w, &r, &d->editFrame, d->palette);
  } else if (HDC dc = GetWindowDC(w)) {  // without defaults: a plain line
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    ReleaseDC(w, dc);
  }
}

ATOM RegisterEditClass(HINSTANCE module) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, "edit", &wc)) return 0;
  g_systemProc = wc.lpfnWndProc;
  g_systemExtra = wc.cbWndExtra;
  wc.lpfnWndProc = EditProc;
  wc.style |= CS_GLOBALCLASS;
  wc.cbWndExtra += kOwnExtraBytes;
  wc.hInstance = module;
  wc.hbrBackground = nullptr;  // made by the first edit
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}

void UnregisterEditClass(HINSTANCE module) {
  WNDCLASSA wc{};
  HBRUSH brush = GetClassInfoA(module, kClass, &wc) ? wc.hbrBackground : nullptr;
  if (UnregisterClassA(kClass, module) && brush && brush != GetStockObject(BLACK_BRUSH)) DeleteObject(brush);
}
