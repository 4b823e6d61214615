// CGUIColorText: a flowing text of coloured, styled entries wrapped word by
// word to the control's width and scrolled line by line. Selectable entries
// can be made current with the mouse or the arrow keys, and the parent hears
// of each change. The layout (colortext_layout.cpp) knows nothing of
// windows; here it is measured with the control's fonts, its lines become
// the rows of an embedded ScrollView, and each row is painted part by part.
//
// Interface: RegisterColorTextClass, UnregisterColorTextClass.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "basic_controls.h"
#include "colortext_layout.h"
#include "controls.h"
#include "facet.h"
#include "heapkit.h"
#include "itemview.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIColorText";
constexpr DWORD kNoClickSelection = 0x1;  // style: clicks select nothing
constexpr DWORD kWholeLines = 0x200;      // style: the height is cut to whole lines
constexpr int kLineGrowth = 10;
// A scroll bar that comes or goes changes the width and so the wrap; this
// many passes settle any layout.
constexpr int kMaxWrapPasses = 4;
enum : UINT { CTM_UNUSED1 = 0x8622, CTM_UNUSED2 = 0x862B };
enum : WORD { kCodeChanged = 1, kCodeDoubleClick = 2 };

struct ColorTextRecord {
  HWND window;
  ColorTextLayout layout;  // entries, lines, parts, separators, margin, wrap width, selection
  int32_t lineHeight;
  int32_t lineCapacity;
  HFONT font;  // the control's; null: the system font
  HFONT italic;
  HFONT bold;
  ScrollView view;
  bool rewrapping;
  bool rewrapPending;
};

ColorTextRecord* Rec(HWND w) { return reinterpret_cast<ColorTextRecord*>(GetWindowLongPtrA(w, 0)); }

HGDIOBJ FontFor(const ColorTextRecord* r, uint32_t flags) {
  if ((flags & kCtBold) && r->bold) return r->bold;
  if ((flags & kCtItalic) && r->italic) return r->italic;
  return r->font ? HGDIOBJ(r->font) : GetStockObject(SYSTEM_FONT);
}

HFONT MakeStyleFont(int weight, bool italic) {
  return CreateFontA(-14, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH, nullptr);
}

int BorderWidth() {
  CcDefaults* d = ccGetDefaultData();
  if (d && d->ncPainter) return d->ncFrameWidth;
  return d && d->listFrameWidth > 0 ? d->listFrameWidth : 1;
}

// Measures with the entries' own fonts on a memory DC (the class DC is
// shared by every colour text window) and keeps the view's rows in step
// with the lines.
class WindowHost : public CtHost {
 public:
  explicit WindowHost(ColorTextRecord* r) : r_(r), dc_(CreateCompatibleDC(nullptr)) {
    if (dc_) old_ = SelectObject(dc_, FontFor(r, 0));
  }
  ~WindowHost() override {
    if (!dc_) return;
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  WindowHost(const WindowHost&) = delete;
  WindowHost& operator=(const WindowHost&) = delete;

  int32_t Fit(uint32_t flags, const char* text, int32_t length, int32_t room) override {
    if (!dc_ || length <= 0) return 0;
    SelectObject(dc_, FontFor(r_, flags));
    INT fit = 0;
    SIZE size{};
    if (!GetTextExtentExPointA(dc_, text, length, room, &fit, nullptr, &size)) return 0;
    return fit;
  }
  int32_t Width(uint32_t flags, const char* text, int32_t length) override {
    if (!dc_ || length <= 0) return 0;
    SelectObject(dc_, FontFor(r_, flags));
    SIZE size{};
    return GetTextExtentPoint32A(dc_, text, length, &size) ? size.cx : 0;
  }
  bool LineAdded(int32_t index) override {
    if (index >= r_->lineCapacity - 1) {
      if (svReserve(&r_->view, kLineGrowth) < 0) return false;
      r_->lineCapacity += kLineGrowth;
    }
    return svInsertItem(&r_->view, index, index, r_->layout.wrapWidth()) >= 0;
  }
  void LineChanged(int32_t index) override { svInvalidateItem(&r_->view, index); }

 private:
  ColorTextRecord* r_;
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

void Notify(HWND w, WORD code, bool post) {
  HWND parent = GetParent(w);
  if (!parent) return;
  WPARAM wp = MAKEWPARAM(GetDlgCtrlID(w), code);
  if (post)
    PostMessageA(parent, WM_COMMAND, wp, LPARAM(w));
  else
    SendMessageA(parent, WM_COMMAND, wp, LPARAM(w));
}

void InvalidateLines(ColorTextRecord* r, const std::vector<int32_t>& lines) {
  for (int32_t line : lines) svInvalidateItem(&r->view, line);
}

void InvalidateCurrent(ColorTextRecord* r) {
  int32_t first, last;
  r->layout.EntryLines(r->layout.current(), &first, &last);
  if (first <= last) svInvalidateRange(&r->view, std::max(first, r->view.top), last);
}

void SelectPart(ColorTextRecord* r, int32_t part) {
  std::vector<int32_t> changed;
  r->layout.Select(part, &changed);
  InvalidateLines(r, changed);
}

// The top row after the lines changed under it: never past the last page.
void ClampTop(ColorTextRecord* r) {
  ScrollView& v = r->view;
  int count = svGetCount(&v);
  int highest = std::max(0, count - std::max(v.fullRows, 1));
  if (v.top <= highest) return;
  if (count > 0)
    svSetTopIndex(&v, highest);
  else
    v.top = 0;
}

// Lays every entry out again at the current wrap width, keeping the
// current entry current and in view.
void Rewrap(HWND w, ColorTextRecord* r) {
  if (r->rewrapping) {
    r->rewrapPending = true;  // a bar came or went meanwhile: the running pass starts over
    return;
  }
  r->rewrapping = true;
  const int32_t remembered = r->layout.current();
  for (int pass = 0; pass < kMaxWrapPasses; ++pass) {
    r->rewrapPending = false;
    r->layout.ClearLayout();
    // The rows go without the bars hearing of it (which would hide a bar and
    // widen the text only to narrow it again); the bars follow below.
    r->view.rows.count = 0;
    r->view.docWidth = 0;
    {
      WindowHost host(r);
      r->layout.WrapAll(host);
    }
    if (r->rewrapPending) continue;
    ClampTop(r);
    svUpdateVBar(&r->view);
    if (!r->rewrapPending) break;
  }
  r->rewrapping = false;
  int32_t part = remembered >= 0 ? r->layout.FirstPartOf(remembered) : -1;
  if (part >= 0) {
    r->layout.Select(part, nullptr);
    svEnsureVisible(&r->view, r->layout.parts()[size_t(part)].line, 0, nullptr);
  }
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// --- painting ---

void PaintLine(RowPaintRecord* rec) {
  auto* r = static_cast<ColorTextRecord*>(rec->context);
  const std::vector<CtLine>& lines = r->layout.lines();
  if (rec->item < 0 || rec->item >= int32_t(lines.size())) return;
  const CtLine& line = lines[size_t(rec->item)];
  CcDefaults* d = ccGetDefaultData();
  const int background = d ? d->colorTextBackground : 255, text = d ? d->colorTextText : 0;
  const int selection = d ? d->colorTextSelection : 4, selectedText = d ? d->colorTextSelectedText : 255;
  const bool focused = GetFocus() == r->window;
  HDC dc = rec->dc;
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = nullptr;
  for (int32_t i = line.firstPart; i < line.firstPart + line.partCount; ++i) {
    const CtPart& part = r->layout.parts()[size_t(i)];
    const ColorTextEntry& e = r->layout.entry(part.entry);
    RECT box{rec->row.left + part.x, rec->row.top, rec->row.left + part.x + part.width, rec->row.bottom};
    const bool selected = part.selected != 0;
    PaintRectWithPaletteIndex(dc, &box, selected ? selection : background);
    COLORREF ink = selected                   ? PALETTEINDEX(selectedText)
                   : (e.flags & kCtOwnColour) ? COLORREF(e.colour)
                                              : PALETTEINDEX(text);
    SetTextColor(dc, ink);
    HGDIOBJ previous = SelectObject(dc, FontFor(r, e.flags));
    if (!oldFont) oldFont = previous;
    if (part.length > 0)
      DrawTextA(dc, e.text + part.textPos, part.length, &box,
                DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
    if (focused && selected) {
      RECT focus = box;
      focus.right -= std::min(std::max(r->layout.margin(), 0), kCtMaxMargin);
      if (focus.right > focus.left) DrawFocusRect(dc, &focus);
    }
  }
  if (oldFont) SelectObject(dc, oldFont);
}

HPALETTE SelectDefaultsPalette(HDC dc) {
  CcDefaults* d = ccGetDefaultData();
  return d && d->palette ? SelectAndRealizePalette(dc, nullptr, d->palette) : nullptr;
}

LRESULT OnEraseBackground(HWND w, HDC dc) {
  HPALETTE old = SelectDefaultsPalette(dc);
  HWND parent = GetParent(w);
  HBRUSH brush = parent ? HBRUSH(SendMessageA(parent, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(w))) : nullptr;
  RECT client;
  GetClientRect(w, &client);
  if (brush) {
    FillRect(dc, &client, brush);
  } else {
    CcDefaults* d = ccGetDefaultData();
    PaintRectWithPaletteIndex(dc, &client, d ? d->colorTextBackground : 255);
  }
  if (old) SelectPalette(dc, old, FALSE);
  return 1;
}

void OnPaint(HWND w, ColorTextRecord* r, HDC given) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  RECT update = ps.rcPaint;
  if (given) {
    dc = given;
    GetClientRect(w, &update);
  }
  if (dc) {
    HPALETTE old = SelectDefaultsPalette(dc);
    if (HWND parent = GetParent(w)) SendMessageA(parent, WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(w));
    svPaint(&r->view, dc, &update, r, 0);
    if (old) SelectPalette(dc, old, FALSE);
  }
  EndPaint(w, &ps);
}

// --- mouse and keys ---

void OnClick(HWND w, ColorTextRecord* r, LPARAM lp) {
  if (GetWindowLongA(w, GWL_STYLE) & kNoClickSelection) return;
  const POINT p{short(LOWORD(lp)), short(HIWORD(lp))};
  LRESULT hit = svHitTestPacked(&r->view, p);
  if (hit == -1 || HIWORD(hit)) return;
  const int line = LOWORD(hit);
  // The hit test gives the last line for a point below it.
  if (p.y - r->view.client.top >= (line - r->view.top + 1) * r->view.itemHeight) return;
  const int32_t part = r->layout.HitPart(line, p.x - r->view.client.left + r->view.hOffset);
  if (part < 0) return;
  const CtPart& q = r->layout.parts()[size_t(part)];
  if (q.selected || !(r->layout.entry(q.entry).flags & kCtSelectable)) return;
  SelectPart(r, part);
  Notify(w, kCodeChanged, false);
}

void OnKey(HWND w, ColorTextRecord* r, WPARAM key) {
  if (key == VK_PRIOR || key == VK_NEXT) {
    // The keys move no selection; they turn a page of the text.
    svVScroll(&r->view, MAKEWPARAM(key == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN, 0));
    return;
  }
  if (key < VK_END || key > VK_DOWN) return;
  const int32_t part = r->layout.NavigationTarget(int(key));
  if (part < 0) return;
  svEnsureVisible(&r->view, r->layout.parts()[size_t(part)].line, 0, nullptr);
  SelectPart(r, part);
  Notify(w, kCodeChanged, false);
}

// --- the control's messages ---

LRESULT ColorTextMessage(HWND w, ColorTextRecord* r, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case CTM_ADDENTRY: {
      if (!lp) return 0;
      WindowHost host(r);
      return LRESULT(r->layout.Add(*reinterpret_cast<const ColorTextEntry*>(lp), host));
    }
    case CTM_GETCURENTRY: {
      auto* out = reinterpret_cast<ColorTextEntry*>(lp);
      if (r->layout.current() < 0 || !out) return 0;
      *out = r->layout.entry(r->layout.current());
      return 1;
    }
    case CTM_SETCURENTRY: {
      if (!lp) {
        std::vector<int32_t> changed;
        r->layout.ClearSelection(&changed);
        InvalidateLines(r, changed);
        return 1;
      }
      // Only the control's own stored entries are taken.
      const int32_t e = r->layout.IndexOf(reinterpret_cast<const ColorTextEntry*>(lp));
      if (e < 0) return 0;
      if (e == r->layout.current()) return 1;
      const int32_t part = r->layout.FirstPartOf(e);
      if (part < 0) return 0;
      SelectPart(r, part);
      return 1;
    }
    case CTM_FINDENTRY: {
      const int mode = int(wp);
      const int32_t e =
          r->layout.Find(mode, mode == 3 ? nullptr : reinterpret_cast<const char*>(lp), uint32_t(lp));
      return e < 0 ? 0 : LRESULT(&r->layout.entry(e));
    }
    case CTM_SETMARGIN:
      return r->layout.setMargin(int32_t(wp));
    case CTM_GETMARGIN:
      return r->layout.margin();
    case CTM_RESETCONTENT:
      r->layout.Clear();
      svResetContent(&r->view);
      if (lp) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return 0;
    case CTM_GETSEPARATORS:
      return LRESULT(r->layout.separators().c_str());
    case CTM_SETSEPARATORS: {
      const char* s = reinterpret_cast<const char*>(lp);
      if (!s) return 0;
      const size_t n = std::strlen(s);
      if (n < size_t(wp)) return 0;
      r->layout.setSeparators(s);
      return LRESULT(n);
    }
    default:  // CTM_UNUSED1, CTM_UNUSED2
      return 0;
  }
}

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  void* block = memAlloc_rel(sizeof(ColorTextRecord), HEAPKIT_TAG_RW);
  if (!block) return FALSE;
  auto* r = new (block) ColorTextRecord();
  r->window = w;
  if (cs->style & WS_HSCROLL) cs->dwExStyle |= kSbHorizontal;
  if (cs->style & WS_VSCROLL) cs->dwExStyle |= kSbVertical;
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
  if (!GetClassLongPtrA(w, GCLP_HBRBACKGROUND)) {
    CcDefaults* d = ccGetDefaultData();
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(d ? d->colorTextBackground : 255));
    if (brush) SetClassLongPtrA(w, GCLP_HBRBACKGROUND, LONG_PTR(brush));
  }
  r->italic = MakeStyleFont(400, true);
  r->bold = MakeStyleFont(700, false);
  RowPainterPair painters{nullptr, PaintLine};
  svInit(w, &r->view, DWORD(cs->dwExStyle), &painters);  // a width and a data word per line
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(r));
  return DefWindowProcA(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

LRESULT OnSetFont(HWND w, ColorTextRecord* r, HFONT font, bool redraw) {
  r->font = font;
  HDC dc = GetDC(w);  // the class DC keeps the font
  HGDIOBJ held = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPoint32A(dc, "WAXZyjpg", 8, &size);
  ReleaseDC(w, dc);
  r->lineCapacity = kLineGrowth;
  svReserve(&r->view, kLineGrowth);
  r->lineHeight = size.cy;
  svSetItemHeight(&r->view, size.cy, 0);
  r->layout.setMargin(kCtDefaultMargin);
  // Text measured in the old font would overlap or leave gaps.
  if (r->layout.entryCount() > 0) Rewrap(w, r);
  if (redraw) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return LRESULT(held);
}

LRESULT OnCreate(HWND w, ColorTextRecord* r, const CREATESTRUCTA* cs) {
  CcDefaults* d = ccGetDefaultData();
  OnSetFont(w, r, d ? d->font : nullptr, false);
  svResetBars(&r->view);
  svSize(&r->view);
  if ((cs->style & kWholeLines) && r->lineHeight > 0) {
    int usable = cs->cy - (svHasFrame(w) ? 2 * BorderWidth() : 0);
    if (usable > 0 && usable % r->lineHeight)
      SetWindowPos(w, nullptr, 0, 0, cs->cx, cs->cy - usable % r->lineHeight, SWP_NOMOVE | SWP_NOZORDER);
  }
  return 0;
}

LRESULT OnNcCalcSize(HWND w, ColorTextRecord* r, WPARAM wp, RECT* rect) {
  LRESULT result = svFramedNcCalcSize(w, &r->view, wp, rect, BorderWidth());
  r->layout.setWrapWidth(std::max<LONG>(0, rect->right - rect->left));
  return result;
}

void OnNcDestroy(HWND w, ColorTextRecord* r) {
  svCancelTracking(&r->view);
  svFree(&r->view);
  if (r->italic) DeleteObject(r->italic);
  if (r->bold) DeleteObject(r->bold);
  SetWindowLongPtrA(w, 0, 0);
  r->~ColorTextRecord();
  memFree_rel(r);
}

LRESULT CALLBACK ColorTextProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE) return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp));
  ColorTextRecord* r = Rec(w);
  if (!r) return DefWindowProcA(w, m, wp, lp);
  if (m >= CTM_ADDENTRY && m <= CTM_SETSEPARATORS) return ColorTextMessage(w, r, m, wp, lp);
  const POINT screen{short(LOWORD(lp)), short(HIWORD(lp))};
  switch (m) {
    case WM_CREATE:
      return OnCreate(w, r, reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_NCDESTROY:
      OnNcDestroy(w, r);
      return DefWindowProcA(w, m, wp, lp);
    case WM_SIZE:
      svSize(&r->view);
      if (r->layout.entryCount() > 0) Rewrap(w, r);
      return 0;
    case WM_NCCALCSIZE:
      return OnNcCalcSize(w, r, wp, reinterpret_cast<RECT*>(lp));
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      svNcButtonDown(&r->view, int(wp), screen);
      SetFocus(w);
      return 0;
    case CCM_TOPROWCHANGED:
      return 0;
    case WM_HSCROLL:  // left to the system: the text wraps, and the wheel goes on to the parent
    case WM_MOUSEWHEEL:
    case WM_CTLCOLORLISTBOX:
      return DefWindowProcA(w, m, wp, lp);
    case WM_ERASEBKGND:
      return OnEraseBackground(w, HDC(wp));
    case WM_CTLCOLOREDIT:
      return GetClassLongPtrA(w, GCLP_HBRBACKGROUND);
    case WM_PAINT:
      OnPaint(w, r, HDC(wp));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      LRESULT result = DefWindowProcA(w, m, wp, lp);
      InvalidateCurrent(r);
      return result;
    }
    case WM_SETFONT:
      return OnSetFont(w, r, HFONT(wp), lp != 0);
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) != SC_KEYMENU) return DefWindowProcA(w, m, wp, lp);
      if (HWND parent = GetParent(w)) SendMessageA(parent, m, wp, lp);
      return 0;
    case WM_KEYDOWN:
      // The control asks for every key, Tab too: Tab has to move the
      // dialog's focus on, or the keyboard could never leave the control.
      if (wp == VK_TAB) {
        HandleDialogNavigationKey(w, wp);
        return 0;
      }
      OnKey(w, r, wp);
      return 0;
    case WM_LBUTTONDOWN:
      OnClick(w, r, lp);
      SetFocus(w);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnClick(w, r, lp);
      SetFocus(w);
      Notify(w, kCodeDoubleClick, true);
      return 0;
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      return 0;
    default:
      return svDefWindowProc(&r->view, m, wp, lp);
  }
}

}  // namespace

ATOM RegisterColorTextClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_CLASSDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ColorTextProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;  // made with the first window, from the control defaults
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}

void UnregisterColorTextClass(HINSTANCE module) {
  WNDCLASSA wc{};
  HBRUSH brush = GetClassInfoA(module, kClass, &wc) ? wc.hbrBackground : nullptr;
  if (UnregisterClassA(kClass, module) && brush) DeleteObject(brush);
}
