// CGUIHotButton: a bitmap button that lights up while the mouse is over it.
// A copy of the bitmap button's class with its own procedure in front: it
// tracks the hover (one hot button per process, holding the toolkit's mouse
// capture so that it hears of every mouse event and so learns when the
// cursor leaves), keeps the check and push bits itself, hides while
// disabled and takes its place from the "p:"/"s:" keys of its caption.
//
// Interface: RegisterHotButtonClass, CurrentHotButton.
#include <windows.h>

#include "basic_controls.h"
#include "bmpbutton.h"
#include "caption.h"
#include "mousehook.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIHotButton";
const char kBaseClass[] = "CGUIBMPButton";
constexpr DWORD kExHoverImages = 0x200000;

WNDPROC g_baseProc = nullptr;

// The process's hover: the hot button and what it was when it became hot.
struct Hover {
  HWND hot;
  LONG savedWord;       // first window word (the system button's state)
  uint32_t savedState;  // the bitmap button's state value
};
Hover g_hover{};

LRESULT Base(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return g_baseProc ? CallWindowProcA(g_baseProc, w, m, wp, lp) : DefWindowProcA(w, m, wp, lp);
}

void Redraw(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE); }

void MakeHot(HWND w) {
  BeginMouseCapture(w);
  g_hover.hot = w;
  g_hover.savedWord = GetWindowLongA(w, 0);
  BmpButtonData* data = BmpButtonRecord(w);
  g_hover.savedState = data ? data->state : 0;
  if (data) data->state |= kButtonHover;
  Redraw(w);
}

// Ends the hover of the hot button, if any. The check and push bits (and
// the system's own tracking bits) stay as they are now, so that a check set
// or a press begun while the button was hot survives; only the hover look
// and the focus bit go back to what they were. The focus bit goes back
// because the button ignores WM_KILLFOCUS: the focus a click gave while hot
// would otherwise stay shown for good.
void ReleaseHover() {
  HWND w = g_hover.hot;
  if (!w) return;
  g_hover.hot = nullptr;  // first: releasing the capture comes back here
  EndMouseCapture();
  if (IsWindow(w)) {
    LONG word = GetWindowLongA(w, 0);
    LONG restored = (word & ~LONG(kButtonFocus)) | (g_hover.savedWord & LONG(kButtonFocus));
    if (restored != word) SetWindowLongA(w, 0, restored);
    if (BmpButtonData* data = BmpButtonRecord(w)) {
      uint32_t keep = data->state & ~(kButtonFocus | kButtonHover);
      data->state = keep | (g_hover.savedState & kButtonFocus);
    }
    Redraw(w);
  }
  g_hover.savedWord = 0;
  g_hover.savedState = 0;
}

void HoverStep(HWND w, LRESULT hit) {
  if (g_hover.hot && (g_hover.hot != w || hit == HTNOWHERE)) ReleaseHover();
  if (hit != HTNOWHERE && g_hover.hot != w) MakeHot(w);
}

// BM_SETCHECK and BM_SETSTATE: one bit of the first window word, mirrored
// into the state value; the hover bit stays while the button is lit.
LRESULT SetStateBit(HWND w, LONG bit, bool on) {
  LONG word = GetWindowLongA(w, 0);
  LONG next = on ? (word | bit) : (word & ~bit);
  if (next == word) return 0;
  SetWindowLongA(w, 0, next);
  if (BmpButtonData* data = BmpButtonRecord(w))
    data->state = (uint32_t(next) & ~kButtonHover) | (data->state & kButtonHover);
  InvalidateRect(w, nullptr, TRUE);
  return 0;
}

// The caption's "p:" and "s:" keys, wherever they stand in its block.
void ApplyPlacement(HWND w) {
  char caption[kCaptionMaxChars + 1] = "";
  GetWindowTextA(w, caption, sizeof caption);
  CaptionPlacement p{};
  if (!ParseCaptionPlacementAnywhere(caption, &p) || !(p.move || p.size)) return;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!p.move) flags |= SWP_NOMOVE;
  if (!p.size) flags |= SWP_NOSIZE;
  SetWindowPos(w, nullptr, p.x, p.y, p.w, p.h, flags);
}

LRESULT OnNcCreate(HWND w, WPARAM wp, LPARAM lp) {
  LRESULT result = Base(w, WM_NCCREATE, wp, lp);
  if (!result) return result;
  LONG ex = GetWindowLongA(w, GWL_EXSTYLE);
  if (!(ex & kExHoverImages)) SetWindowLongA(w, GWL_EXSTYLE, ex | LONG(kExHoverImages));
  ApplyPlacement(w);
  return result;
}

LRESULT CALLBACK HotButtonProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_NCCREATE:
      return OnNcCreate(w, wp, lp);
    case WM_DESTROY:
      if (g_hover.hot == w) ReleaseHover();
      break;
    case WM_KILLFOCUS:
      return 0;
    case WM_ENABLE:
      ShowWindow(w, wp ? SW_SHOW : SW_HIDE);
      InvalidateRect(w, nullptr, TRUE);
      return 0;
    case WM_SHOWWINDOW:
      // A hidden button cannot be under the mouse: its hover (and the
      // capture with it) ends. Other buttons' hover is theirs.
      if (!wp && g_hover.hot == w) ReleaseHover();
      break;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (pos && g_hover.hot == w && (!(pos->flags & SWP_NOZORDER) || (pos->flags & SWP_HIDEWINDOW)))
        ReleaseHover();
      break;
    }
    case WM_NCHITTEST: {
      LRESULT hit = Base(w, m, wp, lp);
      HoverStep(w, hit);
      return hit;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK: {
      // The capture hook hands the hot button its mouse events as
      // non-client ones; the button underneath wants them as clicks.
      UINT message = m;
      WPARAM keys = wp;
      LPARAM point = lp;
      NonClientMouseToClient(w, &message, &keys, &point);
      return Base(w, message, keys, point);
    }
    case BM_SETCHECK:
      return SetStateBit(w, kButtonChecked, wp != 0);
    case BM_SETSTATE:
      return SetStateBit(w, kButtonPushed, wp != 0);
    case WM_CAPTURECHANGED:
      if (HWND(lp) == w) return 0;
      if (g_hover.hot == w) ReleaseHover();
      // The button underneath ends a press that loses the capture (the
      // mouse dragged off while held), so it does not stay drawn pushed.
      Base(w, m, wp, lp);
      return 0;
    default:
      break;
  }
  return Base(w, m, wp, lp);
}

}  // namespace

HWND CurrentHotButton() { return g_hover.hot; }

ATOM RegisterHotButtonClass(HINSTANCE module) {
  g_hover = Hover{};
  WNDCLASSA wc{};
  if (!GetClassInfoA(module, kBaseClass, &wc)) return 0;
  g_baseProc = wc.lpfnWndProc;
  wc.lpfnWndProc = HotButtonProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
