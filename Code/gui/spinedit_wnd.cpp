// CGUISpinEdit: a numeric entry field. A library edit shows the value; two
// bitmap buttons on its right, one above the other, step it up and down.
// The value is an integer within a range and moves by a step; the creation
// text gives "minimum:maximum:value:step" (spin_value.cpp does the
// arithmetic). The edit is subclassed so that Page Up/Down, Home/End and
// the arrow keys step the value and only characters of a number are typed.
//
// Window data: word 0 holds the SpinEditRecord.
//
// Interface: RegisterSpinEditClass.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "barframe.h"
#include "basic_controls.h"
#include "controls.h"
#include "dibkit.h"
#include "facet.h"
#include "heapkit.h"
#include "spin_value.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUISpinEdit";
constexpr DWORD kReadOnly = 0x800;         // the spin edit's style: a read-only field (ES_READONLY)
constexpr DWORD kFieldStyle = 0x50800000;  // child, visible, border
constexpr DWORD kArrowStyle = 0x50001080;  // child, visible, bitmap faces, auto-repeat

struct SpinEditRecord {
  HWND edit;
  HWND up;
  HWND down;
  int32_t editId;
  int32_t upId;
  int32_t downId;
  SpinValues values;   // minimum, value, maximum, first-set range, step
  int32_t arrowWidth;  // the arrow bitmap's size: the buttons' size
  int32_t arrowHeight;
  int32_t ownText;  // set while the control writes the field: its notices are not typing
};

SpinEditRecord* Record(HWND w) {
  return reinterpret_cast<SpinEditRecord*>(GetWindowLongPtrA(w, 0));
}

bool ReadOnly(HWND w) { return (GetWindowLongA(w, GWL_STYLE) & kReadOnly) != 0; }

void Command(HWND w, WORD code, LPARAM lp) {
  if (HWND parent = GetParent(w)) SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), code), lp);
}

void NotifyChanged(HWND w) { Command(w, SPEN_CHANGED, reinterpret_cast<LPARAM>(w)); }

// Writes the value into the field. A read-only spin edit first lets its
// parent rewrite the text (SPEN_FORMAT with the buffer).
void ShowValue(HWND w) {
  SpinEditRecord* r = Record(w);
  if (!r || !r->edit) return;
  char text[kSpinTextBuffer];
  std::snprintf(text, sizeof text, "%d", int(r->values.value));
  if (ReadOnly(w)) {
    Command(w, SPEN_FORMAT, reinterpret_cast<LPARAM>(text));
    text[sizeof text - 1] = '\0';
    r = Record(w);  // the parent may have destroyed the control
    if (!r || !r->edit) return;
  }
  ++r->ownText;
  SetWindowTextA(r->edit, text);
  if ((r = Record(w)) != nullptr) --r->ownText;
}

void SetValue(HWND w, int32_t value) {
  SpinEditRecord* r = Record(w);
  if (!r) return;
  r->values.value = value;
  ShowValue(w);
}

// The arrow bitmap named in the control defaults: from the resource module,
// or from the library itself when that module does not hold it.
PackedDib* ArrowBitmap(const CcDefaults* d) {
  if (!d || d->spinEdit[kSpinArrowBitmap] <= 0 || d->spinEdit[kSpinArrowBitmap] > 0xFFFF) return nullptr;
  const int id = d->spinEdit[kSpinArrowBitmap];
  PackedDib* dib = d->resourceModule ? LoadWritableBitmapResource(d->resourceModule, id) : nullptr;
  if (!dib && GetControlModule() && GetControlModule() != d->resourceModule)
    dib = LoadWritableBitmapResource(GetControlModule(), id);
  return dib;
}

// Moves the formatting rectangle down so that the line of text sits in the
// middle of the field.
void CentreText(SpinEditRecord* r) {
  if (!r->edit) return;
  RECT client;
  GetClientRect(r->edit, &client);
  HDC dc = GetDC(r->edit);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(r->edit, WM_GETFONT, 0, 0)));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  if (old) SelectObject(dc, old);
  ReleaseDC(r->edit, dc);
  RECT format = client;
  format.top += speTextInset(client.bottom, tm.tmHeight);
  format.bottom = std::max(format.top, std::min<LONG>(client.bottom, format.top + tm.tmHeight));
  SendMessageA(r->edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
}

// The buttons at the right edge, top and bottom; the edit fills the rest.
void Layout(HWND w) {
  SpinEditRecord* r = Record(w);
  if (!r) return;
  RECT c;
  GetClientRect(w, &c);
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (r->up) SetWindowPos(r->up, nullptr, c.right - r->arrowWidth, 0, r->arrowWidth, r->arrowHeight, flags);
  if (r->down)
    SetWindowPos(r->down, nullptr, c.right - r->arrowWidth, c.bottom - r->arrowHeight, r->arrowWidth,
                 r->arrowHeight, flags);
  if (r->edit)
    SetWindowPos(r->edit, nullptr, 0, 0, std::max<LONG>(0, c.right - r->arrowWidth), c.bottom, flags);
  CentreText(r);
}

LRESULT CALLBACK FieldProc(HWND e, UINT m, WPARAM wp, LPARAM lp);

LRESULT OnCreate(HWND w, CREATESTRUCTA* cs) {
  auto* r = static_cast<SpinEditRecord*>(memAlloc_rel(sizeof(SpinEditRecord), HEAPKIT_TAG_RW));
  if (!r) return -1;
  std::memset(r, 0, sizeof *r);
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(r));
  // A dialog template may give an ordinal for the text: that is no range.
  const char* text = IS_INTRESOURCE(cs->lpszName) ? "" : cs->lpszName;
  r->values = speParseCreationText(text);

  CcDefaults* d = ccGetDefaultData();
  if (d) {
    r->editId = d->spinEdit[kSpinFieldId];
    r->upId = d->spinEdit[kSpinUpId];
    r->downId = d->spinEdit[kSpinDownId];
  }
  HINSTANCE instance = cs->hInstance;
  r->edit = CreateWindowExA(0, "CGUIEdit", "", kFieldStyle | (cs->style & kReadOnly), 0, 0,
                            std::max(0, cs->cx - 20), std::max(0, cs->cy - 2), w,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(r->editId)), instance, nullptr);
  if (!r->edit) return -1;
  SetWindowLongA(r->edit, GWL_STYLE, GetWindowLongA(r->edit, GWL_STYLE) | WS_BORDER);
  SetWindowPos(r->edit, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetWindowLongPtrA(r->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc));
  if (d && d->font) SendMessageA(r->edit, WM_SETFONT, reinterpret_cast<WPARAM>(d->font), 0);
  ShowValue(w);

  int size[2] = {0, 0};
  PackedDib* arrow = ArrowBitmap(d);
  if (!arrow || !dibGetDibDimensions(arrow, size)) return -1;
  r->arrowWidth = size[0];
  r->arrowHeight = size[1];
  r->up = CreateWindowExA(0, "CGUIBMPButton", "", kArrowStyle, cs->cx - size[0], 0, size[0], size[1], w,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(r->upId)), instance, nullptr);
  r->down = CreateWindowExA(0, "CGUIBMPButton", "", kArrowStyle, cs->cx - size[0], cs->cy - size[1], size[0],
                            size[1], w, reinterpret_cast<HMENU>(static_cast<INT_PTR>(r->downId)), instance,
                            nullptr);
  return r->up || r->down ? 0 : -1;
}

void OnDestroyed(HWND w) {
  SpinEditRecord* r = Record(w);
  SetWindowLongPtrA(w, 0, 0);
  memFree_rel(r);
}

// An arrow held down repeats; moving the focus to the field then would
// take the press away from the button.
bool ArrowHeld(const SpinEditRecord* r) {
  HWND capture = GetCapture();
  return capture && (capture == r->up || capture == r->down);
}

LRESULT OnVScroll(HWND w, int code) {
  SpinEditRecord* r = Record(w);
  if (!r) return 0;
  if (r->edit && !ArrowHeld(r)) SetFocus(r->edit);
  int32_t value = 0;
  if (!speScroll(r->values, code, &value)) return 0;
  SetValue(w, value);
  NotifyChanged(w);
  return 0;
}

// What the field says to its parent.
void OnFieldNotice(HWND w, SpinEditRecord* r, WORD code) {
  switch (code) {
    case EN_SETFOCUS:
      SendMessageA(r->edit, EM_SETSEL, 0, -1);
      return;
    case EN_UPDATE: {
      if (ReadOnly(w) || r->ownText) return;
      char text[16] = "";
      GetWindowTextA(r->edit, text, sizeof text);
      bool empty = false;
      const int32_t typed = speReadText(text, &empty);
      const int32_t clamped = speClamp(r->values, typed);
      if (!empty && clamped == typed) return;
      // A start that more digits can bring into range ("2" on the way to 25
      // in 10..255) stays until the field loses the focus.
      if (!empty && speCouldReach(r->values, text)) return;
      // Otherwise the field shows the nearest value, selected so that the
      // next digit typed replaces it.
      SetValue(w, clamped);
      if ((r = Record(w)) != nullptr && r->edit) SendMessageA(r->edit, EM_SETSEL, 0, -1);
      return;
    }
    case EN_KILLFOCUS: {
      // Leaving the field, it shows the value it stands for: a start left
      // below the range, "-" or "12.7" become the number.
      if (ReadOnly(w) || r->ownText) return;
      char text[16] = "";
      GetWindowTextA(r->edit, text, sizeof text);
      const int32_t value = speClamp(r->values, speReadText(text, nullptr));
      char shown[16];
      std::snprintf(shown, sizeof shown, "%d", int(value));
      if (std::strcmp(text, shown) != 0) SetValue(w, value);
      return;
    }
    case EN_CHANGE: {
      if (ReadOnly(w) || r->ownText) return;
      char text[16] = "";
      GetWindowTextA(r->edit, text, sizeof text);
      r->values.value = speClamp(r->values, speReadText(text, nullptr));
      NotifyChanged(w);
      return;
    }
    default:
      return;
  }
}

LRESULT OnCommand(HWND w, WPARAM wp, LPARAM lp) {
  SpinEditRecord* r = Record(w);
  HWND from = reinterpret_cast<HWND>(lp);
  if (!r || !from) return 0;
  if (from == r->up || from == r->down)
    return SendMessageA(w, WM_VSCROLL, from == r->up ? kSpinLineUp : kSpinLineDown, 0);
  if (from == r->edit) OnFieldNotice(w, r, HIWORD(wp));
  return 0;
}

LRESULT OnSetRange(HWND w, WPARAM wp, LPARAM lp) {
  SpinEditRecord* r = Record(w);
  if (!r) return 0;
  speSetRange(&r->values, short(LOWORD(lp)), short(HIWORD(lp)));
  const int32_t before = r->values.value;
  const int32_t value = speClamp(r->values, wp == WPARAM(0xFFFFFFFF) ? before : int32_t(wp));
  if (value != before) SetValue(w, value);
  return value;
}

LRESULT OnNcCalcSize(HWND w, WPARAM wp, LPARAM lp) {
  EditFrameNcCalcSize(w, reinterpret_cast<RECT*>(lp));  // also rgrc[0] when wParam is set
  return wp ? 0x700 : 0;
}

LRESULT OnNcPaint(HWND w) {
  EditFrameNcPaint(w);  // the edit's frame
  return 0;
}

LRESULT CALLBACK SpinEditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_CREATE:
      return OnCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_NCDESTROY:  // after the children: the field may still report to us until then
      OnDestroyed(w);
      return DefWindowProcA(w, m, wp, lp);
    case WM_MOVE:
    case WM_SIZE:
      Layout(w);
      return 0;
    case WM_SETFOCUS:
      if (SpinEditRecord* r = Record(w); r && r->edit) SetFocus(r->edit);
      return 0;
    case WM_ENABLE:  // the field and arrows look as the control is
      if (SpinEditRecord* r = Record(w))
        for (HWND part : {r->edit, r->up, r->down})
          if (part) EnableWindow(part, BOOL(wp));
      return 0;
    case WM_SETFONT:
    case WM_GETDLGCODE: {
      SpinEditRecord* r = Record(w);
      if (!r || !r->edit) return 0;
      LRESULT result = SendMessageA(r->edit, m, wp, lp);
      if (m == WM_SETFONT) CentreText(r);
      return result;
    }
    case WM_VSCROLL:
      return OnVScroll(w, LOWORD(wp));
    case WM_COMMAND:
      return OnCommand(w, wp, lp);
    case WM_NCCALCSIZE:
      return OnNcCalcSize(w, wp, lp);
    case WM_NCPAINT:
      return OnNcPaint(w);
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        if (HWND parent = GetParent(w)) return SendMessageA(parent, m, wp, lp);
        return 0;
      }
      return DefWindowProcA(w, m, wp, lp);
    case SPE_SETRANGE:
    case SPE_SETRANGE_ALT:
      return OnSetRange(w, wp, lp);
    case SPE_GETRANGE:
    case SPE_GETRANGE_ALT: {
      SpinEditRecord* r = Record(w);
      return r ? LRESULT(MAKELONG(WORD(r->values.minimum), WORD(r->values.maximum))) : 0;
    }
    case SPE_GETVALUE:
    case SBM_GETPOS: {
      SpinEditRecord* r = Record(w);
      return r ? r->values.value : 0;
    }
    case SPE_SETVALUE:
    case SBM_SETPOS: {
      SpinEditRecord* r = Record(w);
      if (!r) return 0;
      const int32_t value = speClamp(r->values, int32_t(wp));
      SetValue(w, value);
      return value;
    }
    default:
      if (m >= WM_CTLCOLORMSGBOX && m <= WM_CTLCOLORSTATIC) {
        if (HWND parent = GetParent(w)) return SendMessageA(parent, m, wp, lp);
      }
      return DefWindowProcA(w, m, wp, lp);
  }
}

// The keys of the field: paging and stepping keys go to the spin edit as
// scroll codes, Escape goes to it as a key, and only the characters of a
// number are typed.
int ScrollCodeForKey(WPARAM key) {
  switch (key) {
    case VK_PRIOR:
      return kSpinPageUp;
    case VK_NEXT:
      return kSpinPageDown;
    case VK_END:
      return kSpinBottom;
    case VK_HOME:
      return kSpinTop;
    case VK_UP:
      return kSpinLineUp;
    case VK_DOWN:
      return kSpinLineDown;
    default:
      return -1;
  }
}

bool NumberCharacter(WPARAM c) { return (c >= '0' && c <= '9') || c == VK_BACK || c == '-' || c == '.'; }

// The clipboard keys (Ctrl with C, V, X or Z) come as control characters:
// they are no typing, and copying the value out or a number in must work
// (pasted text is read as typed text is).
bool ClipboardCharacter(WPARAM c) { return c == 3 || c == 22 || c == 24 || c == 26; }

LRESULT CALLBACK FieldProc(HWND e, UINT m, WPARAM wp, LPARAM lp) {
  // The class procedure of the library edit: every field shares it.
  auto base = reinterpret_cast<WNDPROC>(GetClassLongPtrA(e, GCLP_WNDPROC));
  HWND spin = GetParent(e);
  switch (m) {
    case WM_KEYDOWN: {
      const int code = ScrollCodeForKey(wp);
      if (code >= 0) {
        SendMessageA(spin, WM_VSCROLL, WPARAM(code), 0);
        return 0;
      }
      if (wp == VK_ESCAPE) {
        SendMessageA(spin, WM_KEYDOWN, wp, lp);
        return 0;
      }
      break;
    }
    case WM_CHAR:
      if (wp == VK_ESCAPE) return 0;  // the key itself went to the spin edit
      if (!NumberCharacter(wp) && !ClipboardCharacter(wp)) {
        MessageBeep(0);
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(base, e, m, wp, lp);
}

}  // namespace

ATOM RegisterSpinEditClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = SpinEditProc;
  wc.cbWndExtra = kPointerSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
