// CC20SpinList: a one-line list that shows one entry at a time between two
// arrow buttons and slides to the previous or next entry. Entries are
// pictures, given by the caller or rendered from their text with the text
// builder. The parent hears of changes through WM_COMMAND: 0x5D when a slide
// starts, 0x5C 20 ms after it ends and at once after any other move the user
// makes (a letter, Home, End).
//
// State lives in nine window words (Slot below); entries and their table
// are moveable, zero-filled global blocks kept locked. Only one slide runs
// at a time in the process: a slide that starts while another runs ends
// that one at once, drawing its new entry whole.
//
// Interface: RegisterSpinListClass.
#include <windows.h>

#include <cstring>
#include <initializer_list>

#include "basic_controls.h"
#include "controls.h"
#include "ctt_glyph.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "mousehook.h"
#include "spinlist_model.h"
#include "winutil.h"

namespace {

const char kClass[] = "CC20SpinList";
enum Slot {
  kSlotLeftButton = 0,
  kSlotRightButton,
  kSlotCurrent,
  kSlotCount,
  kSlotTable,
  kSlotItemSize,
  kSlotBuilder,
  kSlotForward,  // the window that non-client mouse moves go to
  kSlotUnused,
  kSlots
};
enum : UINT {
  SPL_GETENTRY = 0x0187,
  SPL_FREEPICTURES = 0x8640,
  SPL_RESETCONTENT = 0x8641,
  SPL_SORT = 0x8643,
  SPL_SETBUILDER = 0x8644,
  SPL_SETITEMSIZE = 0x8645,
};
enum : WORD { kNotifyChanged = 0x5C, kNotifySlideStarts = 0x5D };
enum { kLeftId = 15, kRightId = 16, kLeftAltId = 18, kRightAltId = 17 };
constexpr DWORD kButtonStyle = 0x50001080;
constexpr UINT_PTR kStepTimer = 1, kDoneTimer = 2;
constexpr UINT kFirstStepMs = 1, kStepMs = 10, kDoneMs = 20;
constexpr COLORREF kFrameColour = 0x02437F23;
constexpr int kFrameThickness = 3;
constexpr UINT kBuilderOwned = 0x10;

// Every word may hold a handle or pointer, so each is pointer-sized: nine
// 4-byte words in the 32-bit build.
LONG_PTR Word(HWND w, int slot) { return GetWindowLongPtrA(w, slot * kPointerSlotBytes); }
void SetWord(HWND w, int slot, LONG_PTR v) { SetWindowLongPtrA(w, slot * kPointerSlotBytes, v); }

int Count(HWND w) { return int(Word(w, kSlotCount)); }
int Current(HWND w) { return int(Word(w, kSlotCurrent)); }
SpinListEntry** Table(HWND w) { return reinterpret_cast<SpinListEntry**>(Word(w, kSlotTable)); }
SpinListEntry* EntryAt(HWND w, int i) {
  SpinListEntry** table = Table(w);
  return table && i >= 0 && i < Count(w) ? table[i] : nullptr;
}
CttBuildStruct* Builder(HWND w) { return reinterpret_cast<CttBuildStruct*>(Word(w, kSlotBuilder)); }
void ItemSize(HWND w, int* width, int* height) {
  SpinListUnpackSize(uint32_t(Word(w, kSlotItemSize)), width, height);
}

// --- global blocks ---

void* AllocBlock(SIZE_T bytes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  void* p = h ? GlobalLock(h) : nullptr;
  if (h && !p) GlobalFree(h);
  return p;
}

// True when the block is gone (or there was none).
bool FreeBlock(const void* p) {
  if (!p) return true;
  HGLOBAL h = GlobalHandle(p);
  if (!h) return false;
  GlobalUnlock(h);
  return GlobalFree(h) == nullptr;
}

void Fail(const char* text, const char* title) { MessageBoxA(nullptr, text, title, MB_OK); }

// --- drawing ---

int BorderWidth() {
  CcDefaults* d = ccGetDefaultData();
  return d && d->ncFrameWidth > 0 ? d->ncFrameWidth : 1;
}

HPALETTE SelectDefaultsPalette(HDC dc) {
  CcDefaults* d = ccGetDefaultData();
  return d && d->palette ? SelectAndRealizePalette(dc, nullptr, d->palette) : nullptr;
}

// The list draws only inside its client area and not over its arrows: its
// class shares the parent's clipping.
void ClipToItemArea(HWND w, HDC dc) {
  RECT client;
  GetClientRect(w, &client);
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  for (int slot : {kSlotLeftButton, kSlotRightButton}) {
    HWND button = reinterpret_cast<HWND>(Word(w, slot));
    RECT r;
    if (button && IsWindowVisible(button) && GetWindowRectInParent(button, &r))
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

// A device context of the list ready for pictures: the defaults' palette
// and the list's clipping.
struct ListDc {
  HWND window;
  HDC dc;
  HPALETTE oldPalette;
};
ListDc OpenListDc(HWND w) {
  ListDc l{w, GetDC(w), nullptr};
  if (l.dc) {
    l.oldPalette = SelectDefaultsPalette(l.dc);
    ClipToItemArea(w, l.dc);
  }
  return l;
}
void CloseListDc(ListDc* l) {
  if (!l->dc) return;
  if (l->oldPalette) SelectPalette(l->dc, l->oldPalette, FALSE);
  ReleaseDC(l->window, l->dc);
  l->dc = nullptr;
}

void AskParentForColours(HWND w, HDC dc) {
  if (HWND parent = GetParent(w)) SendMessageA(parent, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(w));
}

int Rows(const PackedDib* d) { return d->biHeight < 0 ? -d->biHeight : d->biHeight; }

// Draws a block of a picture at the item's place; never past the picture.
void DrawBlock(HWND w, HDC dc, const PackedDib* picture, int dstX, int dstY, int srcX, int srcY, int width,
               int height) {
  int iw, ih;
  ItemSize(w, &iw, &ih);
  if (!picture) return;
  if (width > picture->biWidth - srcX) width = picture->biWidth - srcX;
  if (height > Rows(picture) - srcY) height = Rows(picture) - srcY;
  if (width > iw - dstX) width = iw - dstX;
  if (height > ih - dstY) height = ih - dstY;
  if (width <= 0 || height <= 0) return;
  dibDisplay(dc, kSpinItemX + dstX, kSpinItemY + dstY, width, height, srcX, srcY, picture);
}

void PaintEntry(HWND w, HDC dc, int index) {
  SpinListEntry* e = EntryAt(w, index);
  if (!e || !e->picture) return;
  AskParentForColours(w, dc);
  DrawBlock(w, dc, e->picture, 0, 0, 0, 0, e->picture->biWidth, Rows(e->picture));
}

void DrawEntryNow(HWND w, int index) {
  ListDc l = OpenListDc(w);
  if (!l.dc) return;
  PaintEntry(w, l.dc, index);
  CloseListDc(&l);
}

void Notify(HWND w, WORD code) {
  if (HWND parent = GetParent(w))
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), code), LPARAM(w));
}

// --- the slide (one per process) ---

struct Slide {
  HWND list;
  ListDc dc;
  int from, to;
  int step;
  bool forward;
  SpinSlideStyle style;
  PackedDib* work;  // the roll's composed picture
};
Slide g_slide{};

void ResetSlide() {
  CloseListDc(&g_slide.dc);
  dibDelete(g_slide.work);
  g_slide = Slide{};
}

// Ends the running slide: the new entry is drawn whole and the parent hears
// of the change 20 ms later, unless another slide of the same list follows
// at once and will tell it.
void FinishSlide(bool notify = true) {
  HWND list = g_slide.list;
  if (!list) return;
  KillTimer(list, kStepTimer);
  if (g_slide.dc.dc) PaintEntry(list, g_slide.dc.dc, g_slide.to);
  ResetSlide();
  if (notify) SetTimer(list, kDoneTimer, kDoneMs, nullptr);
}

void FinishSlideOf(HWND w) {
  if (g_slide.list == w) FinishSlide();
}

// The list's entries are going away: the slide stops without a word.
void AbandonSlideOf(HWND w) {
  if (g_slide.list != w) return;
  KillTimer(w, kStepTimer);
  ResetSlide();
}

void StartSlide(HWND w, int from, int to) {
  if (g_slide.list) FinishSlide(g_slide.list != w);
  ListDc l = OpenListDc(w);
  if (!l.dc) {
    InvalidateRect(w, nullptr, TRUE);  // the new entry shows at the next paint
    return;
  }
  AskParentForColours(w, l.dc);
  g_slide.list = w;
  g_slide.dc = l;
  g_slide.from = from;
  g_slide.to = to;
  g_slide.step = 0;
  g_slide.forward = SpinListSlidesForward(from, to);
  g_slide.style = SpinSlideStyleFor(DWORD(GetWindowLongA(w, GWL_STYLE)));
  g_slide.work = nullptr;
  SetTimer(w, kStepTimer, kFirstStepMs, nullptr);
  Notify(w, kNotifySlideStarts);
}

// One step of the roll; false when it cannot go on (no work image).
bool RollStep(HWND w, const PackedDib* from, const PackedDib* to) {
  if (!to || to->biBitCount != 8) return false;
  if (!g_slide.work) {
    g_slide.work = dibCreateWithColors(to->biWidth, Rows(to), 8);
    if (!g_slide.work) return false;
  }
  if (!SpinRollCompose(g_slide.work, from, to, g_slide.step, g_slide.forward)) return false;
  dibCopyPalette(g_slide.work, from && from->biBitCount == 8 ? from : to);
  DrawBlock(w, g_slide.dc.dc, g_slide.work, 0, 0, 0, 0, g_slide.work->biWidth, Rows(g_slide.work));
  return true;
}

void SlideStep(HWND w) {
  KillTimer(w, kStepTimer);
  if (g_slide.list != w) return;
  const SpinListEntry* fromEntry = EntryAt(w, g_slide.from);
  const SpinListEntry* toEntry = EntryAt(w, g_slide.to);
  const PackedDib* from = fromEntry ? fromEntry->picture : nullptr;
  const PackedDib* to = toEntry ? toEntry->picture : nullptr;
  ++g_slide.step;
  bool goOn = to != nullptr;
  if (goOn && g_slide.style == SpinSlideStyle::Roll) {
    goOn = RollStep(w, from, to);
  } else if (goOn) {
    int iw, ih;
    ItemSize(w, &iw, &ih);
    const int width = to->biWidth < iw ? to->biWidth : iw;
    const int height = Rows(to) < ih ? Rows(to) : ih;
    SpinSlideBand b = SpinSlidePlan(g_slide.style, g_slide.forward, g_slide.step, width, height);
    HDC dc = g_slide.dc.dc;
    if (b.scroll) {
      RECT area{kSpinItemX, kSpinItemY, kSpinItemX + width, kSpinItemY + height};
      ScrollDC(dc, b.scroll, 0, &area, &area, nullptr, nullptr);
    }
    DrawBlock(w, dc, to, b.dstX, b.dstY, b.srcX, b.srcY, b.width, b.height);
  }
  if (!goOn || g_slide.step >= SpinSlideSteps(g_slide.style))
    FinishSlide();
  else
    SetTimer(w, kStepTimer, kStepMs, nullptr);
}

// --- entries ---

CttBuildStruct* DefaultBuilder(HWND w) {
  CttBuildStruct* b = cttCreateBuildStruct();
  if (!b) return nullptr;
  if (HFONT font = cttSetBuilderFont(b, "Courier New", 8, 10, 400, 0, 0, 0)) DeleteObject(font);
  int iw, ih;
  ItemSize(w, &iw, &ih);
  b->rect = RECT{0, 0, iw, ih};
  SetWord(w, kSlotBuilder, reinterpret_cast<LONG_PTR>(b));
  return b;
}

PackedDib* RenderText(HWND w, const char* text) {
  CttBuildStruct* b = Builder(w);
  if (!b) b = DefaultBuilder(w);
  if (!b) return nullptr;
  PackedDib* picture = cttBuilderStringRect(b, text);
  int iw, ih;
  ItemSize(w, &iw, &ih);
  if (picture && iw > 0 && ih > 0 && (picture->biWidth != iw || Rows(picture) != ih)) {
    PackedDib* fitted = cttResizeDib(picture, iw, ih);
    cttFreeDib(picture);
    picture = fitted;
  }
  return picture;
}

// The list's own copy of an entry. Callers see only `entry` (at the start);
// the list remembers which picture it rendered itself.
struct HeldEntry {
  SpinListEntry entry;
  PackedDib* renderedPicture;
};

bool NewTable(HWND w) {
  void* table = AllocBlock(kSpinListTableStep * sizeof(SpinListEntry*));
  SetWord(w, kSlotTable, reinterpret_cast<LONG_PTR>(table));
  return table != nullptr;
}

// Room for one more entry; false when the table could not grow.
bool MakeRoom(HWND w) {
  const int count = Count(w);
  if (!Table(w)) return NewTable(w);
  if (!SpinListTableMustGrow(count)) return true;
  auto* grown =
      static_cast<SpinListEntry**>(AllocBlock((count + kSpinListTableStep) * sizeof(SpinListEntry*)));
  if (!grown) return false;
  std::memcpy(grown, Table(w), count * sizeof(SpinListEntry*));
  FreeBlock(Table(w));
  SetWord(w, kSlotTable, reinterpret_cast<LONG_PTR>(grown));
  return true;
}

LRESULT AddEntry(HWND w, const SpinListEntry* given) {
  if (!given) return LB_ERR;
  SpinListEntry record;
  std::memcpy(&record, given, sizeof record);
  record.text[sizeof record.text - 1] = '\0';
  bool rendered = false;
  if (record.kind == SLE_TEXT && !record.picture) {
    record.picture = RenderText(w, record.text);
    rendered = record.picture != nullptr;
  }
  auto* held = MakeRoom(w) ? static_cast<HeldEntry*>(AllocBlock(sizeof(HeldEntry))) : nullptr;
  if (!held) {
    if (rendered) cttFreeDib(record.picture);
    return LB_ERRSPACE;
  }
  SpinListEntry* copy = &held->entry;
  std::memcpy(copy, &record, sizeof record);
  held->renderedPicture = rendered ? record.picture : nullptr;
  if (copy->picture && copy->picture->biBitCount == 8) dibColorsToIndices(copy->picture);
  const int count = Count(w);
  Table(w)[count] = copy;
  SetWord(w, kSlotCount, count + 1);
  if (count == 0) {
    SetWord(w, kSlotCurrent, 0);
    DrawEntryNow(w, 0);
  }
  return count + 1;
}

// The pictures the list rendered itself have no other owner; the caller's
// stay the caller's until SPL_FREEPICTURES.
void FreeRenderedPicture(SpinListEntry* entry) {
  auto* held = reinterpret_cast<HeldEntry*>(entry);
  if (held && held->renderedPicture && held->entry.picture == held->renderedPicture)
    cttFreeDib(held->entry.picture);
}

// Frees the entries and the table and starts an empty one.
bool ResetContent(HWND w) {
  AbandonSlideOf(w);
  SpinListEntry** table = Table(w);
  bool ok = true;
  for (int i = 0; i < Count(w) && table; ++i) {
    FreeRenderedPicture(table[i]);
    ok = FreeBlock(table[i]) && ok;
  }
  ok = FreeBlock(table) && ok;
  SetWord(w, kSlotTable, 0);
  SetWord(w, kSlotCount, 0);
  SetWord(w, kSlotCurrent, -1);
  ok = NewTable(w) && ok;
  InvalidateRect(w, nullptr, TRUE);
  return ok;
}

void FreePictures(HWND w) {
  AbandonSlideOf(w);
  for (int i = 0; i < Count(w); ++i) {
    SpinListEntry* e = EntryAt(w, i);
    if (!e || !e->picture) continue;
    if (e->kind == SLE_PICTURE) {
      if (!FreeBlock(e->picture)) Fail("GlobalFree Error", "SPINLIST");
    } else if (e->kind == SLE_TEXT) {
      dibDelete(e->picture);
    }
    e->picture = nullptr;
  }
}

void SetCurrentAndDraw(HWND w, int index) {
  SetWord(w, kSlotCurrent, index);
  DrawEntryNow(w, index);
}

// --- messages ---

void Layout(HWND w) {
  RECT client;
  GetClientRect(w, &client);
  SpinListLayout l = SpinListLayoutFor(client.right, client.bottom);
  if (HWND left = reinterpret_cast<HWND>(Word(w, kSlotLeftButton)))
    MoveWindow(left, l.leftX, 0, l.buttonWidth, l.buttonHeight, TRUE);
  if (HWND right = reinterpret_cast<HWND>(Word(w, kSlotRightButton)))
    MoveWindow(right, l.rightX, 0, l.buttonWidth, l.buttonHeight, TRUE);
  SetWord(w, kSlotItemSize, LONG_PTR(SpinListPackSize(l.itemWidth, l.itemHeight)));
}

LRESULT OnCreate(HWND w, const CREATESTRUCTA* cs) {
  for (int slot = 0; slot < kSlots; ++slot) SetWord(w, slot, 0);
  SetWord(w, kSlotCurrent, -1);
  HINSTANCE module = GetControlModule() ? GetControlModule() : cs->hInstance;
  const int ids[2] = {kLeftId, kRightId};
  for (int i = 0; i < 2; ++i) {
    HWND button = CreateWindowExA(0, "CGUIBMPButton", "", kButtonStyle, 0, 0, kSpinArrowWidth, 1, w,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids[i])), module, nullptr);
    SetWord(w, i == 0 ? kSlotLeftButton : kSlotRightButton, reinterpret_cast<LONG_PTR>(button));
  }
  Layout(w);
  if (!NewTable(w)) Fail("SpinList allocation fail!", "error");
  return 0;
}

void OnDestroy(HWND w) {
  AbandonSlideOf(w);
  if (GetCapture() == w) EndMouseCapture();
  KillTimer(w, kDoneTimer);
  SpinListEntry** table = Table(w);
  for (int i = 0; i < Count(w) && table; ++i) {
    FreeRenderedPicture(table[i]);
    FreeBlock(table[i]);
  }
  FreeBlock(table);
  SetWord(w, kSlotTable, 0);
  SetWord(w, kSlotCount, 0);
  CttBuildStruct* b = Builder(w);
  if (b && (b->flags & kBuilderOwned)) cttFreeBuildStruct(b);
  SetWord(w, kSlotBuilder, 0);
}

void OnNcPaint(HWND w) {
  HDC dc = GetWindowDC(w);
  if (!dc) return;
  HPALETTE old = SelectDefaultsPalette(dc);
  RECT r;
  GetWindowRect(w, &r);
  OffsetRect(&r, -r.left, -r.top);
  if (HBRUSH brush = CreateSolidBrush(kFrameColour)) {
    RECT f = r;
    for (int i = 0; i < kFrameThickness; ++i) {
      FrameRect(dc, &f, brush);
      InflateRect(&f, -1, -1);
    }
    DeleteObject(brush);
  }
  if (GetFocus() == w) {
    RECT inner = r;
    InflateRect(&inner, -(kFrameThickness - 1), -(kFrameThickness - 1));
    DrawFocusRect(dc, &r);
    DrawFocusRect(dc, &inner);
  }
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(w, dc);
}

LRESULT OnNcHitTest(HWND w, LPARAM lp) {
  POINT p{short(LOWORD(lp)), short(HIWORD(lp))};
  RECT r;
  GetWindowRect(w, &r);
  if (p.x >= r.right) return HTBORDER;
  return PtInRect(&r, p) ? HTCLIENT : HTNOWHERE;
}

// Moves to the entry a scroll code gives: Home and End at once, the others
// with a slide.
void OnScroll(HWND w, int code) {
  const int count = Count(w);
  if (count == 0) return;
  const int current = Current(w);
  const int target = SpinListMoveTarget(code, current, count);
  if (target == current) return;
  if (code == SPC_TOP || code == SPC_BOTTOM) {
    FinishSlideOf(w);
    SetCurrentAndDraw(w, target);
    Notify(w, kNotifyChanged);
    return;
  }
  // Current first: the parent may ask for it when the slide starts.
  SetWord(w, kSlotCurrent, target);
  StartSlide(w, current, target);
}

LRESULT OnKeyDown(HWND w, WPARAM key, LPARAM lp) {
  int code = -1;
  switch (key) {
    case VK_TAB:
      HandleDialogNavigationKey(w, key);
      return 0;
    case VK_ESCAPE:
      // Escape belongs to the dialog the list sits in.
      if (HWND parent = GetParent(w)) SendMessageA(parent, WM_KEYDOWN, key, lp);
      return 0;
    case VK_PRIOR:
      code = SPC_PAGE_UP;
      break;
    case VK_NEXT:
      code = SPC_PAGE_DOWN;
      break;
    case VK_END:
      code = SPC_BOTTOM;
      break;
    case VK_HOME:
      code = SPC_TOP;
      break;
    case VK_LEFT:
    case VK_UP:
      code = SPC_LINE_UP;
      break;
    case VK_RIGHT:
    case VK_DOWN:
      code = SPC_LINE_DOWN;
      break;
    default:
      return DefWindowProcA(w, WM_KEYDOWN, key, lp);
  }
  SendMessageA(w, WM_VSCROLL, WPARAM(code), 0);
  return 0;
}

LRESULT OnChar(HWND w, WPARAM ch, LPARAM lp) {
  const int index = SpinListFindByLetter(Table(w), Count(w), Current(w), int(ch));
  if (index < 0) return DefWindowProcA(w, WM_CHAR, ch, lp);
  FinishSlideOf(w);
  SetCurrentAndDraw(w, index);
  Notify(w, kNotifyChanged);
  return 0;
}

LRESULT OnSort(HWND w, WPARAM order, LPARAM mode) {
  if ((order != 0 && order != 1) || Count(w) < 2) return -1;
  FinishSlideOf(w);
  const int current = SpinListSort(Table(w), Count(w), int(order), Current(w), int(mode));
  SetCurrentAndDraw(w, current);
  return current;
}

LRESULT OnSetItemSize(HWND w, WPARAM width, LPARAM height) {
  // The size is kept in two 16-bit halves.
  if (Count(w) != 0 || width > 0xFFFF || height < 0 || height > 0xFFFF) return 0;
  const bool bordered = (GetWindowLongA(w, GWL_STYLE) & WS_BORDER) != 0;
  int ww, wh;
  SpinListWindowSize(int(width), int(height), bordered, BorderWidth(), &ww, &wh);
  SetWindowPos(w, nullptr, 0, 0, ww, wh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWord(w, kSlotItemSize, LONG_PTR(SpinListPackSize(int(width), int(height))));
  return 1;
}

LRESULT CALLBACK SpinListProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_CREATE:
      return OnCreate(w, reinterpret_cast<const CREATESTRUCTA*>(lp));
    case WM_DESTROY:
      OnDestroy(w);
      return 0;
    case WM_SIZE:
      Layout(w);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(wp) != w) PostMessageA(w, WM_NCPAINT, 1, 0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      HPALETTE old = SelectDefaultsPalette(dc);
      ClipToItemArea(w, dc);
      PaintEntry(w, dc, Current(w));
      if (old) SelectPalette(dc, old, FALSE);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      InvalidateRect(w, nullptr, TRUE);
      SetFocus(w);
      return MA_ACTIVATE;
    case WM_NCCALCSIZE:
      if (GetWindowLongA(w, GWL_STYLE) & WS_BORDER) {
        const int b = BorderWidth();
        InflateRect(reinterpret_cast<RECT*>(lp), -b, -b);
      }
      return 0x300;
    case WM_NCHITTEST:
      return OnNcHitTest(w, lp);
    case WM_NCPAINT:
      OnNcPaint(w);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_NCMOUSEMOVE:
      if (wp != HTNOWHERE && wp != HTBORDER) break;
      if (HWND forward = reinterpret_cast<HWND>(Word(w, kSlotForward))) SendMessageA(forward, m, wp, lp);
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
      if (wp != HTNOWHERE && wp != HTBORDER) break;
      if (m == WM_NCLBUTTONDOWN)
        BeginMouseCapture(w);
      else
        EndMouseCapture();
      return 0;
    case WM_KEYDOWN:
      return OnKeyDown(w, wp, lp);
    case WM_CHAR:
      return OnChar(w, wp, lp);
    case WM_COMMAND: {
      SetFocus(w);
      const int id = LOWORD(wp);
      if (id == kLeftId || id == kLeftAltId || id == kRightId || id == kRightAltId) {
        KillTimer(w, kDoneTimer);
        OnScroll(w, id == kLeftId || id == kLeftAltId ? SPC_LINE_UP : SPC_LINE_DOWN);
      }
      return 1;
    }
    case WM_TIMER:
      if (wp == kStepTimer) {
        SlideStep(w);
      } else if (wp == kDoneTimer) {
        KillTimer(w, kDoneTimer);
        Notify(w, kNotifyChanged);
      }
      return 0;
    case WM_VSCROLL:
      OnScroll(w, int(LOWORD(wp)));
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      HWND parent = GetParent(w);
      return parent ? SendMessageA(parent, m, wp, lp) : 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(w);
      return 0;
    case LB_ADDSTRING:
      return AddEntry(w, reinterpret_cast<const SpinListEntry*>(lp));
    case LB_DELETESTRING:
    case LB_SETSEL:
      return LB_ERR;
    case LB_SETCURSEL:
      if (int(wp) < 0 || int(wp) >= Count(w)) return LB_ERR;
      FinishSlideOf(w);
      SetCurrentAndDraw(w, int(wp));
      return LRESULT(wp);
    case SPL_GETENTRY:
      return reinterpret_cast<LRESULT>(EntryAt(w, int(wp)));
    case LB_GETCURSEL:
      return Current(w);
    case LB_GETCOUNT:
      return Count(w);
    case LB_FINDSTRING:
      return SpinListFindText(Table(w), Count(w), reinterpret_cast<const char*>(lp));
    case SPL_FREEPICTURES:
      FreePictures(w);
      if (!ResetContent(w)) Fail("SpinList clear fail!", "error");
      return 1;
    case SPL_RESETCONTENT:
      if (!ResetContent(w)) Fail("SpinList clear fail!", "error");
      return 1;
    case SPL_SORT:
      return OnSort(w, wp, lp);
    case SPL_SETBUILDER: {
      auto* b = reinterpret_cast<CttBuildStruct*>(lp);
      if (!b || b->size == 0) return 0;
      CttBuildStruct* previous = Builder(w);
      SetWord(w, kSlotBuilder, reinterpret_cast<LONG_PTR>(b));
      return reinterpret_cast<LRESULT>(previous);
    }
    case SPL_SETITEMSIZE:
      return OnSetItemSize(w, wp, lp);
    default:
      break;
  }
  return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

ATOM RegisterSpinListClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = SpinListProc;
  wc.cbWndExtra = kSlots * kPointerSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
