// CGUIComboBox: a drop-down combo box built from three toolkit windows: a
// CGUIEdit that shows the selection, a CGUIBMPButton that opens the list and
// a CGUIListWnd pop-up that holds the entries. The combo answers the
// system's CB_ messages by passing them on to its list and tells its parent
// with the system's CBN_ notifications, posted: CBN_SELCHANGE before the
// selection is copied into the edit, then CBN_EDITCHANGE (not for a
// drop-down list), CBN_DROPDOWN and CBN_CLOSEUP.
//
// While the list is down it holds the library's mouse capture. Its
// procedure is replaced so that a click away from it closes the combo and
// still reaches the window under the mouse; the edit's procedure is
// replaced so that the list keys reach the combo.
//
// Window words: the edit, the button, the list.
//
// Interface: RegisterComboBoxClass.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "basic_controls.h"
#include "combo_layout.h"
#include "controls.h"
#include "facet.h"
#include "mousehook.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIComboBox";
enum { kSlotEdit = 0, kSlotButton = 1, kSlotList = 2 };
constexpr int kEditId = 100;
constexpr DWORD kOwnerDrawn = 0x10;  // CBS_OWNERDRAWFIXED
constexpr DWORD kButtonStyle = 0x50004082;
constexpr DWORD kListStyle = 0x80A04041;
constexpr DWORD kEditStyle = 0x50800180;
constexpr UINT LBM_GETOWNER = 0x86B0;
constexpr UINT CCM_CLOSEUP = 0x8670;   // the list's pick: close up
constexpr UINT kEditDrawItemType = 5;  // CtlType of the edit's draw-item record

// Process-wide: the procedures the combo's edit and list had before the
// combo replaced them, and the buffer through which a selection is copied
// into the edit (grown to the longest text copied).
WNDPROC g_editProc = nullptr;
WNDPROC g_listProc = nullptr;
std::vector<char> g_text;
// A left press that began on a dropped list: the moves that follow belong
// to the list (a thumb dragged past its edge) until the button goes up.
bool g_pressOnList = false;
// The dropped list that holds the library's mouse capture. A list destroyed
// while it holds it (its window goes with its top-level owner, before the
// combo) gives it back: the hook would otherwise swallow every later click.
HWND g_captureList = nullptr;

void ReleaseListCapture(HWND list) {
  if (!list || g_captureList != list) return;
  g_captureList = nullptr;
  EndMouseCapture();
}

// The three window slots hold handles (pointer-sized); three value words follow.
HWND Word(HWND c, int slot) { return HWND(GetWindowLongPtrA(c, slot * kPointerSlotBytes)); }
void SetWord(HWND c, int slot, HWND value) { SetWindowLongPtrA(c, slot * kPointerSlotBytes, LONG_PTR(value)); }
HWND EditOf(HWND c) { return Word(c, kSlotEdit); }
HWND ButtonOf(HWND c) { return Word(c, kSlotButton); }
HWND ListOf(HWND c) { return Word(c, kSlotList); }

DWORD Kind(HWND c) { return GetWindowLongA(c, GWL_STYLE) & 3; }
bool OwnerDrawn(HWND c) { return (GetWindowLongA(c, GWL_STYLE) & kOwnerDrawn) != 0; }
bool Dropped(HWND c) {
  HWND list = ListOf(c);
  return list && IsWindowVisible(list);
}

// The sizes from the control defaults; a record that leaves them at 0 gets
// the system's scroll-arrow width and a height that holds a line of the
// system font.
struct Sizes {
  int buttonWidth;
  int editHeight;
  int buttonId;
  int border;
};

Sizes GetSizes() {
  CcDefaults* d = ccGetDefaultData();
  Sizes s{d ? d->comboButtonWidth : 0, d ? d->comboEditHeight : 0, d ? d->comboButtonId : 0,
          d && d->ncFrameWidth > 0 ? d->ncFrameWidth : 1};
  if (s.buttonWidth <= 0) s.buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
  if (s.editHeight <= 0) s.editHeight = 20;
  return s;
}

void Notify(HWND c, WORD code) {
  PostMessageA(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), code), LPARAM(c));
}

// The list's current selection into the edit (nothing when there is none).
void CopySelection(HWND c) {
  HWND list = ListOf(c), edit = EditOf(c);
  if (!list || !edit) return;
  LRESULT item = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (item < 0) return;
  LRESULT length = SendMessageA(list, LB_GETTEXTLEN, WPARAM(item), 0);
  if (length < 0) return;
  // A list without strings copies its item's 32-bit value.
  size_t size = size_t(std::max<LRESULT>(length, 4)) + 1;
  if (g_text.size() < size) g_text.resize(size);
  std::fill(g_text.begin(), g_text.end(), '\0');
  if (SendMessageA(list, LB_GETTEXT, WPARAM(item), LPARAM(g_text.data())) < 0) return;
  SetWindowTextA(edit, g_text.data());
  if (Kind(c) == CBS_DROPDOWN && !OwnerDrawn(c)) SendMessageA(edit, EM_SETSEL, 0, -1);
  if (Kind(c) != CBS_DROPDOWNLIST) Notify(c, CBN_EDITCHANGE);
}

void DropDown(HWND c) {
  HWND list = ListOf(c), edit = EditOf(c);
  if (!list || !edit) return;
  RECT editClient, combo, listRect, desktop;
  GetClientRect(edit, &editClient);
  MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&editClient), 2);
  GetWindowRect(c, &combo);
  GetWindowRect(list, &listRect);
  GetWindowRect(GetDesktopWindow(), &desktop);
  ComboPoint at = ComboListPosition(combo.left, editClient.bottom + 1, combo.top,
                                    listRect.right - listRect.left, listRect.bottom - listRect.top,
                                    ComboRect{desktop.left, desktop.top, desktop.right, desktop.bottom});
  SetWindowPos(list, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  g_pressOnList = false;
  BeginMouseCapture(list);
  g_captureList = list;
  SetFocus(list);
  Notify(c, CBN_DROPDOWN);
}

// The keyboard's way down also makes the combo the hook's watching window.
void DropDownByKey(HWND c) {
  DropDown(c);
  SetMenuOwnerWindow(c);
  SetFocus(ListOf(c));
}

void CloseUp(HWND c) {
  HWND list = ListOf(c), button = ButtonOf(c);
  const bool focusInList = list && GetFocus() == list;
  if (g_captureList == list) g_captureList = nullptr;
  EndMouseCapture();
  // The watching window set by a drop-down from the keyboard goes with the
  // list: left in place it would keep the system capture on the hidden list.
  if (GetMenuOwnerWindow() == c) ClearMenuOwnerWindow();
  if (list && GetCapture() == list) ReleaseCapture();
  g_pressOnList = false;
  if (button) {
    SendMessageA(button, BM_SETCHECK, 0, 0);
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));  // a release away from it: no click
  }
  if (Kind(c) != CBS_SIMPLE && list) {
    SetWindowPos(list, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    Notify(c, CBN_CLOSEUP);
  }
  // A hidden list must not keep the keyboard.
  if (focusInList && IsWindow(EditOf(c))) SetFocus(EditOf(c));
}

// Closes the list once the focus has left the combo, its edit, its button
// and its list.
void CloseUpCheck(HWND c) {
  if (!Dropped(c)) return;
  HWND focus = GetFocus();
  if (focus && (focus == c || IsChild(c, focus) || focus == ListOf(c))) return;
  CloseUp(c);
}

bool IsListKey(WPARAM key) {
  switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
      return true;
    default:
      return false;
  }
}

LRESULT OnKeyDown(HWND c, WPARAM key, LPARAM lp) {
  if (key == VK_TAB) {
    HandleDialogNavigationKey(c, key);
    return 0;
  }
  if (key == VK_RETURN) {
    if (Dropped(c)) {
      Notify(c, CBN_SELCHANGE);
      CopySelection(c);
      CloseUp(c);
    }
    return 0;
  }
  if (!IsListKey(key)) return DefWindowProcA(c, WM_KEYDOWN, key, lp);
  if (!Dropped(c) && Kind(c) != CBS_DROPDOWNLIST) {
    DropDownByKey(c);
    return 0;
  }
  HWND list = ListOf(c);
  if (!list) return 0;
  // A hidden list steps its selection without taking the focus.
  if (Dropped(c)) SetFocus(list);
  SendMessageA(list, WM_KEYDOWN, key, lp);
  CopySelection(c);
  return 0;
}

LRESULT OnCommand(HWND c, WPARAM wp, LPARAM lp) {
  HWND from = HWND(lp);
  WORD code = HIWORD(wp);
  if (!from) return 0;
  if (from == ButtonOf(c)) {
    if (code == BN_CLICKED) {
      if (Dropped(c))
        CloseUp(c);
      else
        DropDown(c);
    } else if (code == BN_KILLFOCUS) {
      CloseUpCheck(c);
    }
  } else if (from == ListOf(c)) {
    if (code == LBN_SELCHANGE) {
      Notify(c, CBN_SELCHANGE);
      CopySelection(c);
    } else if (code == LBN_DBLCLK) {
      CloseUp(c);
      Notify(c, CBN_DBLCLK);
    } else if (code == LBN_KILLFOCUS) {
      CloseUpCheck(c);
    }
  } else if (from == EditOf(c) && code == EN_KILLFOCUS) {
    CloseUpCheck(c);
  }
  return 0;
}

// The edit's height for its font: one line and the edit's frame.
void SizeEdit(HWND c) {
  HWND edit = EditOf(c);
  if (!edit) return;
  RECT client, editWindow, editClient;
  GetClientRect(c, &client);
  GetWindowRect(edit, &editWindow);
  GetClientRect(edit, &editClient);
  int frame = (editWindow.bottom - editWindow.top) - (editClient.bottom - editClient.top);
  HDC dc = GetDC(edit);
  HFONT font = HFONT(SendMessageA(edit, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(edit, dc);
  int width = client.right - client.left - GetSizes().buttonWidth + 2;
  SetWindowPos(edit, nullptr, 0, 0, std::max(width, 0), tm.tmHeight + std::max(frame, 2),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK ComboEditProc(HWND e, UINT m, WPARAM wp, LPARAM lp);
LRESULT CALLBACK ComboListProc(HWND l, UINT m, WPARAM wp, LPARAM lp);

LRESULT OnCreate(HWND c, CREATESTRUCTA* cs) {
  const Sizes s = GetSizes();
  const DWORD style = DWORD(cs->style);
  HINSTANCE instance = cs->hInstance;
  HWND button =
      CreateWindowExA(0, "CGUIBMPButton", "COMBOBOXBTN", kButtonStyle, cs->cx - s.buttonWidth + 2, 0,
                      s.buttonWidth, s.editHeight, c, HMENU(INT_PTR(s.buttonId)), instance, nullptr);
  RECT combo;
  GetWindowRect(c, &combo);
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  ComboPoint at = ComboListPosition(combo.left, combo.top + s.editHeight + 1, combo.top, cs->cx, cs->cy,
                                    ComboRect{desktop.left, desktop.top, desktop.right, desktop.bottom});
  HWND list = CreateWindowExA(0, "CGUIListWnd", "", kListStyle | (style & kOwnerDrawn), at.x, at.y, cs->cx,
                              cs->cy, c, nullptr, instance, c);
  const DWORD readOnly = (style & (3 | kOwnerDrawn)) ? ES_READONLY : 0;
  HWND edit = CreateWindowExA(0, "CGUIEdit", "", kEditStyle | readOnly, 0, 0, cs->cx - s.buttonWidth + 1,
                              s.editHeight, c, HMENU(INT_PTR(kEditId)), instance, nullptr);
  if (!button || !list || !edit) {
    if (list) DestroyWindow(list);
    return -1;
  }
  SetWord(c, kSlotEdit, edit);
  SetWord(c, kSlotButton, button);
  SetWord(c, kSlotList, list);
  WNDPROC listProc = WNDPROC(SetWindowLongPtrA(list, GWLP_WNDPROC, LONG_PTR(ComboListProc)));
  if (!g_listProc) g_listProc = listProc;
  WNDPROC editProc = WNDPROC(SetWindowLongPtrA(edit, GWLP_WNDPROC, LONG_PTR(ComboEditProc)));
  if (!g_editProc) g_editProc = editProc;
  SetWindowPos(c, nullptr, 0, 0, cs->cx, s.editHeight + 1,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  return 0;
}

void OnDestroy(HWND c) {
  HWND list = ListOf(c);
  ReleaseListCapture(list);
  if (GetMenuOwnerWindow() == c) ClearMenuOwnerWindow();
  // The list is a pop-up owned by the top-level window: it would outlive
  // the combo and keep pointing at it.
  if (list) {
    SetWord(c, kSlotList, nullptr);
    DestroyWindow(list);
  }
}

LRESULT OnNcPaint(HWND c) {
  const DWORD style = GetWindowLongA(c, GWL_STYLE);
  if (!(style & WS_BORDER)) return 0;
  CcDefaults* d = ccGetDefaultData();
  const Sizes s = GetSizes();
  HDC dc = GetWindowDC(c);
  if (!dc) return 0;
  RECT r;
  GetWindowRect(c, &r);
  OffsetRect(&r, -r.left, -r.top);
  using Painter = void (*)(HWND, HDC, RECT*, int, int, DWORD);
  auto painter = d ? reinterpret_cast<Painter>(d->comboFramePainter) : nullptr;
  if (painter) painter(c, dc, &r, s.border, s.buttonWidth, style);
  if (d && d->comboFrameBrush) FrameRect(dc, &r, d->comboFrameBrush);
  if (!painter && !(d && d->comboFrameBrush)) FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
  ReleaseDC(c, dc);
  return 0;
}

LRESULT OnNcHitTest(HWND c, LPARAM lp) {
  POINT p{short(LOWORD(lp)), short(HIWORD(lp))};
  RECT r;
  GetWindowRect(c, &r);
  if (PtInRect(&r, p)) return HTCLIENT;
  return Dropped(c) ? HTBORDER : 0;
}

LRESULT PassToParent(HWND c, UINT m, WPARAM wp, LPARAM lp) {
  HWND parent = GetParent(c);
  return parent ? SendMessageA(parent, m, wp, lp) : 0;
}

// A CB_ message for the list: its LB_ number, or 0 when the combo answers
// it itself.
UINT ListMessageFor(UINT m) {
  switch (m) {
    case CB_ADDSTRING:
      return LB_ADDSTRING;
    case CB_DELETESTRING:
      return LB_DELETESTRING;
    case CB_DIR:
      return LB_DIR;
    case CB_GETCOUNT:
      return LB_GETCOUNT;
    case CB_GETCURSEL:
      return LB_GETCURSEL;
    case CB_GETLBTEXT:
      return LB_GETTEXT;
    // The length that CB_GETLBTEXT will copy, so that callers can size
    // their buffer.
    case CB_GETLBTEXTLEN:
      return LB_GETTEXTLEN;
    case CB_INSERTSTRING:
      return LB_INSERTSTRING;
    case CB_RESETCONTENT:
      return LB_RESETCONTENT;
    case CB_FINDSTRING:
      return LB_FINDSTRING;
    case CB_GETITEMDATA:
      return LB_GETITEMDATA;
    case CB_SETITEMDATA:
      return LB_SETITEMDATA;
    case CB_SETITEMHEIGHT:
      return LB_SETITEMHEIGHT;
    case CB_GETITEMHEIGHT:
      return LB_GETITEMHEIGHT;
    case CB_FINDSTRINGEXACT:
      return LB_FINDSTRINGEXACT;
    case CB_GETEDITSEL:
    case CB_LIMITTEXT:
    case CB_SETEDITSEL:
    case CB_SHOWDROPDOWN:
    case CB_GETDROPPEDCONTROLRECT:
      return m;  // passed on as they are
    default:
      return 0;
  }
}

LRESULT ComboMessage(HWND c, UINT m, WPARAM wp, LPARAM lp) {
  HWND list = ListOf(c);
  switch (m) {
    case CB_GETDROPPEDSTATE:
      return Dropped(c) ? TRUE : FALSE;
    case CB_SELECTSTRING: {
      if (!list) return CB_ERR;
      LRESULT found = SendMessageA(list, LB_SELECTSTRING, wp, lp);
      if (found == LB_ERR) return found;
      Notify(c, CBN_SELCHANGE);
      CopySelection(c);
      return found;
    }
    case CB_SETCURSEL: {
      if (!list) return CB_ERR;
      if (int(wp) == -1) {
        SendMessageA(list, LB_SETCURSEL, WPARAM(-1), 0);
        if (HWND edit = EditOf(c)) SetWindowTextA(edit, "");
        return -1;
      }
      LRESULT result = SendMessageA(list, LB_SETCURSEL, wp, 0);
      CopySelection(c);
      return result;
    }
    case CB_RESETCONTENT: {
      if (!list) return CB_ERR;
      LRESULT result = SendMessageA(list, LB_RESETCONTENT, wp, lp);
      // With the entries gone, the edit no longer shows one of them.
      if (HWND edit = EditOf(c)) SetWindowTextA(edit, "");
      return result;
    }
  }
  UINT forList = ListMessageFor(m);
  if (!forList) return DefWindowProcA(c, m, wp, lp);
  return list ? SendMessageA(list, forList, wp, lp) : CB_ERR;
}

LRESULT CALLBACK ComboProc(HWND c, UINT m, WPARAM wp, LPARAM lp) {
  if (m >= CB_GETEDITSEL && m <= CB_FINDSTRINGEXACT) return ComboMessage(c, m, wp, lp);
  if (m >= WM_CTLCOLORMSGBOX && m <= WM_CTLCOLORSTATIC) return PassToParent(c, m, wp, lp);
  switch (m) {
    case WM_CREATE:
      return OnCreate(c, reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_DESTROY:
      OnDestroy(c);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      SizeEdit(c);
      return 0;
    case WM_SETFOCUS:
      if (HWND(wp) == c) return 0;
      if (Dropped(c))
        SetFocus(ListOf(c));
      else if (HWND edit = EditOf(c))
        SetFocus(edit);
      return 0;
    case WM_KILLFOCUS:
      CloseUpCheck(c);
      return 0;
    case WM_ACTIVATEAPP:
      if (!wp && Dropped(c)) CloseUp(c);
      return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: {
      // Both records begin with the control type and id.
      auto* record = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (!record) return 0;
      record->CtlID = UINT(GetDlgCtrlID(c));
      return PassToParent(c, m, WPARAM(record->CtlID), lp);
    }
    case WM_SETFONT: {
      if (HWND button = ButtonOf(c)) SendMessageA(button, m, wp, lp);
      if (HWND list = ListOf(c)) SendMessageA(list, m, wp, lp);
      HWND edit = EditOf(c);
      return edit ? SendMessageA(edit, m, wp, lp) : 0;
    }
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (pos && !(pos->flags & SWP_NOSIZE)) pos->cy = GetSizes().editHeight + 1;
      return DefWindowProcA(c, m, wp, lp);
    }
    case WM_NCCALCSIZE:
      if (GetWindowLongA(c, GWL_STYLE) & WS_BORDER) {
        auto* r = reinterpret_cast<RECT*>(lp);
        int border = GetSizes().border;
        r->left += border;
        r->top += border;
        r->right = std::max(r->left, r->right - border);
        r->bottom = std::max(r->top, r->bottom - border);
      }
      return 0x300;
    case WM_NCHITTEST:
      return OnNcHitTest(c, lp);
    case WM_NCPAINT:
      return OnNcPaint(c);
    case WM_GETDLGCODE: {
      LRESULT code = 0;
      for (HWND w : {EditOf(c), ButtonOf(c), ListOf(c)})
        if (w) code |= SendMessageA(w, WM_GETDLGCODE, wp, lp);
      return code;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return 0;
    case WM_KEYDOWN:
      return OnKeyDown(c, wp, lp);
    case WM_COMMAND:
      return OnCommand(c, wp, lp);
    case CCM_CLOSEUP:
      CloseUp(c);
      return 0;
    default:
      return DefWindowProcA(c, m, wp, lp);
  }
}

// --- the combo's edit ---

LRESULT CallEdit(HWND e, UINT m, WPARAM wp, LPARAM lp) {
  return g_editProc ? CallWindowProcA(g_editProc, e, m, wp, lp) : DefWindowProcA(e, m, wp, lp);
}

// An owner-drawn combo's edit: the parent draws the current item.
void PaintOwnerDrawn(HWND e, HWND c) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(e, &ps);
  DRAWITEMSTRUCT di{};
  di.CtlType = kEditDrawItemType;
  di.CtlID = UINT(GetDlgCtrlID(e));
  di.itemID = UINT(SendMessageA(c, CB_GETCURSEL, 0, 0));
  di.hwndItem = e;
  di.hDC = dc;
  GetClientRect(e, &di.rcItem);
  if (SendMessageA(c, WM_MEASUREITEM, di.CtlID, LPARAM(&di)) == 0) {
    di.CtlID = UINT(GetDlgCtrlID(e));
    di.itemAction = di.itemState = 0;
    SendMessageA(c, WM_DRAWITEM, di.CtlID, LPARAM(&di));
  }
  EndPaint(e, &ps);
}

LRESULT CALLBACK ComboEditProc(HWND e, UINT m, WPARAM wp, LPARAM lp) {
  HWND c = GetParent(e);
  switch (m) {
    case WM_KEYDOWN:
      if (wp == VK_TAB) {
        HandleDialogNavigationKey(c, wp);
        return 0;
      }
      if (wp == VK_RETURN || wp == VK_ESCAPE || IsListKey(wp)) {
        if (wp == VK_DOWN && !Dropped(c) && Kind(c) != CBS_DROPDOWNLIST) DropDownByKey(c);
        if (wp == VK_ESCAPE && Dropped(c)) CloseUp(c);
        SendMessageA(c, WM_KEYDOWN, wp, lp);
        return 0;
      }
      break;
    case WM_PAINT:
      if (OwnerDrawn(c)) {
        PaintOwnerDrawn(e, c);
        return 0;
      }
      break;
    case EM_SETSEL:
      if (OwnerDrawn(c)) return 0;
      break;
    case WM_ERASEBKGND:
      return 1;
  }
  return CallEdit(e, m, wp, lp);
}

// --- the combo's list ---

LRESULT CallList(HWND l, UINT m, WPARAM wp, LPARAM lp) {
  return g_listProc ? CallWindowProcA(g_listProc, l, m, wp, lp) : DefWindowProcA(l, m, wp, lp);
}

bool IsPress(UINT nc) {
  return nc == WM_NCLBUTTONDOWN || nc == WM_NCLBUTTONDBLCLK || nc == WM_NCRBUTTONDOWN ||
         nc == WM_NCRBUTTONDBLCLK || nc == WM_NCMBUTTONDOWN || nc == WM_NCMBUTTONDBLCLK;
}

// A mouse message for the window under the point: a client message when
// the window answers HTCLIENT there, else the non-client one with its hit
// code.
void Deliver(HWND target, UINT nc, POINT screen) {
  const LPARAM point = MAKELPARAM(screen.x, screen.y);
  DWORD_PTR hit = 0;
  if (!SendMessageTimeoutA(target, WM_NCHITTEST, 0, point, SMTO_ABORTIFHUNG, 200, &hit)) return;
  if (LRESULT(hit) == HTCLIENT) {
    UINT m = nc;
    WPARAM keys = 0;
    LPARAM p = point;
    NonClientMouseToClient(target, &m, &keys, &p);
    PostMessageA(target, m, keys, p);
  } else {
    PostMessageA(target, nc, WPARAM(hit), point);
  }
}

LRESULT ListMouse(HWND l, UINT m, WPARAM wp, LPARAM lp) {
  const bool client = m >= WM_MOUSEFIRST;
  POINT screen{short(LOWORD(lp)), short(HIWORD(lp))};
  if (client) ClientToScreen(l, &screen);
  const UINT nc = client ? m - (WM_MOUSEMOVE - WM_NCMOUSEMOVE) : m;
  HWND c = HWND(SendMessageA(l, LBM_GETOWNER, 0, 0));
  HWND under = WindowFromPoint(screen);
  const bool move = nc == WM_NCMOUSEMOVE;
  if (!c || !IsWindowVisible(l) || under == l || (move && g_pressOnList && GetKeyState(VK_LBUTTON) < 0)) {
    if (nc == WM_NCLBUTTONDOWN || nc == WM_NCLBUTTONDBLCLK) g_pressOnList = under == l;
    if (nc == WM_NCLBUTTONUP) g_pressOnList = false;
    if (m == WM_NCLBUTTONUP && wp == HTCLIENT) {
      UINT cm = m;
      WPARAM keys = 0;
      LPARAM p = lp;
      NonClientMouseToClient(l, &cm, &keys, &p);
      return CallList(l, cm, keys, p);
    }
    return CallList(l, m, wp, lp);
  }
  // Elsewhere: a press or release closes the combo, except one on its own
  // button, whose click then closes (or keeps) it itself. A mere move
  // leaves the list down.
  const bool onButton = under && under == ButtonOf(c) && (IsPress(nc) || nc == WM_NCLBUTTONUP);
  if (!move && !onButton) CloseUp(c);
  if (nc == WM_NCLBUTTONUP) g_pressOnList = false;
  if (under) Deliver(under, nc, screen);
  return 0;
}

LRESULT CALLBACK ComboListProc(HWND l, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) {
    ReleaseListCapture(l);
    HWND c = HWND(SendMessageA(l, LBM_GETOWNER, 0, 0));
    if (c && GetMenuOwnerWindow() == c) ClearMenuOwnerWindow();
    if (c && IsWindow(c) && ListOf(c) == l) SetWord(c, kSlotList, nullptr);
  }
  if ((m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) || (m >= WM_MOUSEFIRST && m <= WM_MBUTTONDBLCLK))
    return ListMouse(l, m, wp, lp);
  if (m == WM_ACTIVATEAPP && !wp) {
    // Only top-level windows hear that another program became active: the
    // list does, the combo (a child) never does. An open list must not stay
    // on top of the other program holding the mouse.
    LRESULT result = CallList(l, m, wp, lp);
    HWND c = HWND(SendMessageA(l, LBM_GETOWNER, 0, 0));
    if (c && IsWindow(c) && ListOf(c) == l && Dropped(c)) CloseUp(c);
    return result;
  }
  if (m == WM_KEYDOWN && (wp == VK_ESCAPE || wp == VK_RETURN)) {
    // The dropped list has the focus: its keys that end the choice go to
    // the combo, as they do from the edit.
    if (HWND c = HWND(SendMessageA(l, LBM_GETOWNER, 0, 0))) {
      if (wp == VK_ESCAPE) {
        if (Dropped(c)) CloseUp(c);
      } else {
        SendMessageA(c, WM_KEYDOWN, wp, lp);
      }
      return 0;
    }
  }
  return CallList(l, m, wp, lp);
}

}  // namespace

ATOM RegisterComboBoxClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS | CS_PARENTDC;
  wc.lpfnWndProc = ComboProc;
  wc.cbWndExtra = 3 * kPointerSlotBytes + 3 * kValueSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
