// CGUIListWnd: the toolkit's list box. It answers the system's LB_ messages
// so that dialog code written for a list box works unchanged, keeps its
// items itself (texts or 32-bit data, flags, item data) and leaves rows,
// scrolling, bars, frame and row painting to an embedded ScrollView. Single
// selection, multiple selection (LBS_MULTIPLESEL) and extended selection
// (LBS_EXTENDEDSEL: anchor, ranges, add mode), and multi-column lists whose
// engine rows each show one item per column. As the drop-down list of the
// combo box (style 0x4000) it reports mouse events to its owner.
//
// Interface: RegisterListClass.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "controls.h"
#include "facet.h"
#include "itemview.h"
#include "lists.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIListWnd";
enum { kSlotRecord = 0, kSlotOwner = kPointerSlotBytes };
enum : UINT {
  LBM_GETOWNER = 0x86B0,
  LBM_GETVSCROLLWIDTH = 0x86B1,
  LBM_GETVSCROLLWIDTH2 = 0x86B2,
  CCM_DROPDOWNPICK = 0x8670,
};
constexpr DWORD kDropDown = 0x4000;
constexpr UINT_PTR kAddModeTimer = 131;
constexpr int kGrowth = 64;
enum : uint32_t { kSelected = 1, kHighlighted = 16 };

struct ListItem {
  uint32_t flags;
  int32_t width;
  char* text;  // or the caller's data in a list without strings
  LPARAM data;  // the item data of a list with strings
};

struct ListWndData {
  int32_t count;
  int32_t selection;
  int32_t anchor;
  int32_t extentEnd;
  int32_t caret;
  ListItem* items;
  int32_t capacity;
  UINT_PTR addModeTimer;
  int32_t blinkPhase;
  DWORD style;
  int32_t averageCharWidth;
  int32_t tabCount;
  int32_t* tabStops;
  int32_t redrawOff;
  int32_t columnWidth;
  ScrollView view;
};

ListWndData* Rec(HWND w) { return reinterpret_cast<ListWndData*>(GetWindowLongPtrA(w, kSlotRecord)); }

bool HasStrings(const ListWndData* d) {
  return !(d->style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (d->style & LBS_HASSTRINGS);
}
bool IsMulti(const ListWndData* d) { return (d->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
bool IsExtended(const ListWndData* d) { return (d->style & LBS_EXTENDEDSEL) != 0; }
bool IsMultiColumn(const ListWndData* d) { return (d->style & LBS_MULTICOLUMN) != 0; }
bool Notifies(const ListWndData* d) { return (d->style & LBS_NOTIFY) != 0; }

HWND Target(HWND w) {
  if (GetWindowLongA(w, GWL_STYLE) & kDropDown) return HWND(GetWindowLongPtrA(w, kSlotOwner));
  return GetParent(w);
}

void Notify(HWND w, int code, bool post) {
  HWND target = Target(w);
  if (!target) return;
  WPARAM wp = MAKEWPARAM(GetDlgCtrlID(w), code);
  if (post)
    PostMessageA(target, WM_COMMAND, wp, LPARAM(w));
  else
    SendMessageA(target, WM_COMMAND, wp, LPARAM(w));
}

// Rows per column of a multi-column list: the whole visible rows, at least 1.
int RowsPerColumn(const ListWndData* d) { return std::max(svGetFullRows(&d->view), 1); }

void RecomputeColumns(HWND w, ListWndData* d) {
  int r = RowsPerColumn(d);
  int columns = (d->count + r - 1) / r;
  svSetCount(&d->view, std::min(r, d->count), 1);
  svSetDocWidth(&d->view, std::max(d->columnWidth * columns, 1));
  RECT client;
  svGetClientRect(&d->view, &client);
  int width = client.right - client.left;
  int visibleColumns = std::max(width / std::max(d->columnWidth, 1), 2);
  svSetLineStep(&d->view, 0, d->columnWidth <= width ? d->columnWidth : 6);
  svSetPageStep(&d->view, 0, d->columnWidth * (visibleColumns - 1));
  if (!d->redrawOff) InvalidateRect(w, nullptr, TRUE);
}

// The engine row and column of an item.
void RedrawItem(HWND w, ListWndData* d, int item) {
  if (item < 0 || item >= d->count || d->redrawOff) return;
  if (!IsMultiColumn(d)) {
    svInvalidateItem(&d->view, item);
    return;
  }
  int r = RowsPerColumn(d);
  RECT rect;
  if (svItemRect(&d->view, item % r, &rect) != 0) return;
  rect.left = rect.left + (item / r) * d->columnWidth - d->view.hOffset;
  rect.right = rect.left + d->columnWidth;
  InvalidateRect(w, &rect, TRUE);
}

void SetSelected(HWND w, ListWndData* d, int item, bool on) {
  if (item < 0 || item >= d->count) return;
  uint32_t& f = d->items[item].flags;
  uint32_t want = on ? (f | kSelected | kHighlighted) : (f & ~(kSelected | kHighlighted));
  if (want == f) return;
  f = want;
  RedrawItem(w, d, item);
}

bool IsSelected(const ListWndData* d, int item) { return (d->items[item].flags & kSelected) != 0; }

void SetCaret(HWND w, ListWndData* d, int item) {
  if (d->caret == item) return;
  int old = d->caret;
  d->caret = item;
  RedrawItem(w, d, old);
  RedrawItem(w, d, item);
}

// Exactly first..last (either order) selected; true when anything changed.
bool SelectRange(HWND w, ListWndData* d, int a, int b) {
  int lo = std::min(a, b), hi = std::max(a, b);
  bool changed = false;
  for (int i = 0; i < d->count; ++i) {
    bool want = i >= lo && i <= hi;
    if (want != IsSelected(d, i)) {
      SetSelected(w, d, i, want);
      changed = true;
    }
  }
  return changed;
}

bool SelectSingle(HWND w, ListWndData* d, int item) {
  if (d->selection == item) return false;
  if (d->selection >= 0) SetSelected(w, d, d->selection, false);
  d->selection = item;
  if (item >= 0) SetSelected(w, d, item, true);
  return true;
}

void EndAddMode(HWND w, ListWndData* d) {
  if (!d->addModeTimer) return;
  KillTimer(w, kAddModeTimer);
  d->addModeTimer = 0;
  RedrawItem(w, d, d->caret);
}

void StartAddMode(HWND w, ListWndData* d) {
  d->blinkPhase = 0;
  d->addModeTimer = SetTimer(w, kAddModeTimer, 500, nullptr);
}

int MeasureText(HWND w, const char* text) {
  HDC dc = GetDC(w);  // the list's own DC, with its font selected
  SIZE size{};
  GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
  ReleaseDC(w, dc);
  return size.cx;
}

int Insert(HWND w, ListWndData* d, int p, LPARAM value) {
  if (d->count >= d->capacity) {
    auto* grown = static_cast<ListItem*>(std::realloc(d->items, sizeof(ListItem) * (d->capacity + kGrowth)));
    if (!grown) return LB_ERRSPACE;
    d->items = grown;
    d->capacity += kGrowth;
  }
  ListItem item{};
  if (HasStrings(d)) {
    const char* text = reinterpret_cast<const char*>(value);
    size_t length = std::strlen(text);
    item.text = static_cast<char*>(std::malloc(length + 1));
    if (!item.text) return LB_ERRSPACE;
    std::memcpy(item.text, text, length + 1);
    item.width = MeasureText(w, text);
  } else {
    item.text = reinterpret_cast<char*>(value);
  }
  std::memmove(d->items + p + 1, d->items + p, sizeof(ListItem) * (d->count - p));
  d->items[p] = item;
  ++d->count;
  for (int32_t* tracked : {&d->selection, &d->anchor, &d->extentEnd, &d->caret})
    if (*tracked >= p) ++*tracked;
  if (IsMultiColumn(d)) {
    RecomputeColumns(w, d);
  } else if (svInsertItem(&d->view, p, p, item.width) < 0) {
    if (HasStrings(d)) std::free(item.text);
    std::memmove(d->items + p, d->items + p + 1, sizeof(ListItem) * (d->count - p - 1));
    --d->count;
    for (int32_t* tracked : {&d->selection, &d->anchor, &d->extentEnd, &d->caret})
      if (*tracked > p) --*tracked;
    return LB_ERRSPACE;
  }
  return p;
}

int Delete(HWND w, ListWndData* d, int p) {
  if (HasStrings(d)) std::free(d->items[p].text);
  std::memmove(d->items + p, d->items + p + 1, sizeof(ListItem) * (d->count - p - 1));
  --d->count;
  for (int32_t* tracked : {&d->selection, &d->anchor, &d->extentEnd, &d->caret}) {
    if (*tracked == p || *tracked == p + 1)
      *tracked = -1;
    else if (*tracked > p + 1)
      --*tracked;
  }
  if (IsMultiColumn(d))
    RecomputeColumns(w, d);
  else
    svDeleteItem(&d->view, p);
  return d->count;
}

int CompareOwnerDrawn(HWND w, ListWndData* d, LPARAM data, int index) {
  COMPAREITEMSTRUCT c{};
  c.CtlType = ODT_LISTBOX;
  c.CtlID = UINT(GetDlgCtrlID(w));
  c.hwndItem = w;
  c.itemID1 = UINT(-1);
  c.itemData1 = ULONG_PTR(data);
  c.itemID2 = UINT(index);
  c.itemData2 = ULONG_PTR(d->items[index].text);
  return int(SendMessageA(Target(w), WM_COMPAREITEM, c.CtlID, LPARAM(&c)));
}

// <0, 0, >0 as the new value sorts before, with or after item i.
int Compare(HWND w, ListWndData* d, LPARAM value, int i) {
  if (HasStrings(d)) return lstrcmpiA(reinterpret_cast<const char*>(value), d->items[i].text);
  return CompareOwnerDrawn(w, d, value, i);
}

int SortedPosition(HWND w, ListWndData* d, LPARAM value) {
  if (d->count == 0) return 0;
  if (Compare(w, d, value, d->count - 1) >= 0) return d->count;
  int first = Compare(w, d, value, 0);
  if (first < 0) return 0;
  if (first == 0) return 1;
  int lo = 0, hi = d->count - 1;
  while (hi - lo > 1) {
    int mid = (lo + hi) / 2;
    int c = Compare(w, d, value, mid);
    if (c == 0) return mid + 1;
    if (c < 0)
      hi = mid;
    else
      lo = mid;
  }
  return hi;
}

bool Matches(HWND w, ListWndData* d, int i, LPARAM value, bool exact) {
  if (HasStrings(d)) {
    const char* text = reinterpret_cast<const char*>(value);
    if (exact) return lstrcmpiA(text, d->items[i].text) == 0;
    int n = int(std::strlen(text));
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text, n, d->items[i].text,
                          std::min(n, int(std::strlen(d->items[i].text)))) == CSTR_EQUAL;
  }
  if (exact && (d->style & LBS_SORT)) return CompareOwnerDrawn(w, d, value, i) == 0;
  return reinterpret_cast<LPARAM>(d->items[i].text) == value;
}

int Find(HWND w, ListWndData* d, WPARAM start, LPARAM value, bool exact) {
  int s = int(start);
  if (s == -1)
    s = 0;
  else if (s < 0 || s >= d->count)
    return LB_ERR;
  if (HasStrings(d) && !value) return LB_ERR;
  for (int i = s; i < d->count; ++i)
    if (Matches(w, d, i, value, exact)) return i;
  for (int i = 0; i < s; ++i)
    if (Matches(w, d, i, value, exact)) return i;
  return LB_ERR;
}

void FreeItems(ListWndData* d) {
  if (HasStrings(d))
    for (int i = 0; i < d->count; ++i) std::free(d->items[i].text);
  d->count = 0;
}

// --- painting ---

void DrawItem(HWND w, ListWndData* d, HDC dc, int item, const RECT& rect) {
  const ListItem& it = d->items[item];
  const bool focus = item == d->caret && GetFocus() == w && (!d->addModeTimer || d->blinkPhase == 0);
  CcDefaults* defaults = ccGetDefaultData();
  if (d->style & LBS_OWNERDRAWFIXED) {
    HBRUSH brush = CreateSolidBrush(PALETTEINDEX(defaults ? defaults->listBackground : 0));
    HGDIOBJ old = SelectObject(dc, brush);
    DRAWITEMSTRUCT di{};
    di.CtlType = ODT_LISTBOX;
    di.CtlID = UINT(GetDlgCtrlID(w));
    di.itemID = UINT(item);
    di.itemAction = ODA_DRAWENTIRE;
    di.itemState = ((it.flags & kSelected) ? ODS_SELECTED : 0) | (focus ? ODS_FOCUS : 0);
    di.hwndItem = w;
    di.hDC = dc;
    di.rcItem = rect;
    di.itemData = ULONG_PTR(it.text);
    if (SendMessageA(Target(w), WM_MEASUREITEM, 0, LPARAM(&di)) == 0)
      SendMessageA(Target(w), WM_DRAWITEM, di.CtlID, LPARAM(&di));
    SelectObject(dc, old);
    DeleteObject(brush);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  if (defaults && defaults->palette) SelectAndRealizePalette(dc, nullptr, defaults->palette);
  if (it.flags & kHighlighted) {
    PaintRectWithPaletteIndex(dc, &rect, defaults ? defaults->listSelection : 0);
    SetTextColor(dc, PALETTEINDEX(defaults ? defaults->listSelectedText : 0));
  } else {
    SetTextColor(dc, PALETTEINDEX(defaults ? defaults->listText : 0));
  }
  const char* text = HasStrings(d) ? it.text : "";
  RECT textRect = rect;
  textRect.left += 2;
  if ((d->style & LBS_USETABSTOPS) && d->tabCount > 0) {
    SaveDC(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    TabbedTextOutA(dc, textRect.left, rect.top, text, int(std::strlen(text)), d->tabCount, d->tabStops,
                   textRect.left);
    RestoreDC(dc, -1);
  } else {
    DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (focus) {
    RECT f = rect;
    InflateRect(&f, -1, -1);
    DrawFocusRect(dc, &f);
  }
}

struct PaintContext {
  HWND window;
  ListWndData* data;
};

void PaintRow(RowPaintRecord* r) {
  auto* c = static_cast<PaintContext*>(r->context);
  ListWndData* d = c->data;
  if (!IsMultiColumn(d)) {
    if (r->item < d->count) DrawItem(c->window, d, r->dc, r->item, r->row);
    return;
  }
  const int rows = RowsPerColumn(d);
  for (int item = r->item, column = 0; item < d->count; item += rows, ++column) {
    RECT rect = r->row;
    rect.left = r->row.left + column * d->columnWidth;
    rect.right = rect.left + d->columnWidth;
    DrawItem(c->window, d, r->dc, item, rect);
  }
}

// --- mouse and keys ---

int ItemAt(ListWndData* d, POINT p, int* outside) {
  POINT doc{};
  int row = svHitTestDoc(&d->view, &p, outside, &doc);
  if (row < 0) return -1;
  if (!IsMultiColumn(d)) return row;
  int item = row + (doc.x / std::max(d->columnWidth, 1)) * RowsPerColumn(d);
  return item < d->count ? item : -1;
}

void OnClick(HWND w, ListWndData* d, LPARAM lParam, WPARAM keys) {
  SetFocus(w);
  POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
  int outside = 0;
  int item = ItemAt(d, p, &outside);
  if (item < 0 || outside) return;
  EndAddMode(w, d);
  SetCaret(w, d, item);
  bool changed = false;
  if (!IsExtended(d)) {
    if (IsMulti(d)) {
      for (int i = 0; i < d->count; ++i)
        if (i != item && IsSelected(d, i)) {
          SetSelected(w, d, i, false);
          changed = true;
        }
      changed |= !IsSelected(d, item);
      SetSelected(w, d, item, true);
      d->selection = item;
    } else {
      changed = SelectSingle(w, d, item);
    }
  } else if (!(keys & MK_SHIFT)) {
    if (keys & MK_CONTROL) {
      SetSelected(w, d, item, !IsSelected(d, item));
      d->anchor = item;
      changed = true;
    } else {
      d->anchor = item;
      changed = SelectRange(w, d, item, item);
    }
  } else {
    if (d->anchor < 0) {
      d->anchor = item;
      changed = SelectRange(w, d, item, item);
    } else {
      changed = SelectRange(w, d, d->anchor, item);
    }
  }
  if (changed && Notifies(d)) Notify(w, LBN_SELCHANGE, false);
}

int PageSize(ListWndData* d) {
  if (!IsMultiColumn(d)) return svGetFullRows(&d->view);
  RECT client;
  svGetClientRect(&d->view, &client);
  int columns = std::max(int(client.right - client.left) / std::max(d->columnWidth, 1), 1);
  return RowsPerColumn(d) * columns;
}

bool BringIntoView(ListWndData* d, int item) {
  if (!IsMultiColumn(d)) return svEnsureVisible(&d->view, item, 0, nullptr) != 0;
  int r = RowsPerColumn(d);
  int left = (item / r) * d->columnWidth;
  svEnsureOffsetVisible(&d->view, left, left + d->columnWidth - 1);
  return svEnsureVisible(&d->view, item % r, 0, nullptr) != 0;
}

void OnKey(HWND w, ListWndData* d, WPARAM key) {
  if (d->count == 0) return;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  int current = d->caret >= 0 ? d->caret : (IsMulti(d) ? -1 : d->selection);
  if (d->style & LBS_WANTKEYBOARDINPUT) {
    LRESULT r = SendMessageA(Target(w), WM_VKEYTOITEM, MAKEWPARAM(key, current), LPARAM(w));
    if (r == -2) return;
    if (r >= 0) current = int(r);
  }
  const int page = std::max(PageSize(d), 1);
  const int rows = RowsPerColumn(d);
  int next;
  switch (key) {
    case VK_SPACE:
      next = current;
      break;
    case VK_PRIOR:
      next = d->caret >= 0 ? d->caret - (page - 1) : 0;
      break;
    case VK_NEXT:
      next = current >= 0 ? current + page - 1 : 0;
      break;
    case VK_END:
      next = d->count - 1;
      break;
    case VK_HOME:
      next = 0;
      break;
    case VK_LEFT:
      if (!IsMultiColumn(d)) return;
      if (current >= 0 && current < rows) return;
      next = current >= 0 ? current - rows : 0;
      break;
    case VK_RIGHT:
      if (!IsMultiColumn(d)) return;
      next = current >= 0 ? current + rows : 0;
      break;
    case VK_UP:
      next = current >= 0 ? current - 1 : 0;
      break;
    case VK_DOWN:
      next = current >= 0 ? current + 1 : 0;
      break;
    case VK_F8:
      if (shift && (d->addModeTimer || IsExtended(d))) {
        if (d->addModeTimer)
          EndAddMode(w, d);
        else
          StartAddMode(w, d);
      }
      return;
    default:
      return;
  }
  next = std::clamp(next, 0, d->count - 1);
  if (!BringIntoView(d, next)) return;
  SetCaret(w, d, next);
  bool changed = false;
  if (!IsMulti(d)) {
    changed = SelectSingle(w, d, next);
  } else if (IsExtended(d) && !d->addModeTimer) {
    if (shift) {
      if (d->anchor < 0) d->anchor = next;
      SelectRange(w, d, d->anchor, next);
    } else {
      d->anchor = next;
      SelectRange(w, d, next, next);
    }
  } else if (d->addModeTimer && !shift) {
    if (key == VK_SPACE) {
      d->anchor = next;
      SetSelected(w, d, next, !IsSelected(d, next));
    }
  } else if (d->addModeTimer && shift) {
    if (d->anchor < 0) {
      d->anchor = next;
      SetSelected(w, d, next, !IsSelected(d, next));
    } else {
      bool on = IsSelected(d, d->anchor);
      if (d->extentEnd >= 0 && d->extentEnd != d->anchor)
        for (int i = std::min(d->extentEnd, d->anchor); i <= std::max(d->extentEnd, d->anchor); ++i)
          if (i != d->anchor) SetSelected(w, d, i, false);
      for (int i = std::min(next, d->anchor); i <= std::max(next, d->anchor); ++i) SetSelected(w, d, i, on);
      d->extentEnd = next;
    }
  } else if (key == VK_SPACE) {
    SetSelected(w, d, next, !IsSelected(d, next));  // multiple selection: Space toggles
  }
  if (IsMulti(d) && key != VK_SPACE) changed = true;
  if (changed && Notifies(d)) Notify(w, LBN_SELCHANGE, false);
}

// --- creation ---

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  if (cs->style & LBS_OWNERDRAWVARIABLE) return FALSE;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(ListWndData));
  auto* d = h ? static_cast<ListWndData*>(GlobalLock(h)) : nullptr;
  if (!d) return FALSE;
  d->selection = d->anchor = d->extentEnd = d->caret = -1;
  d->columnWidth = 80;
  d->style = cs->style;
  DWORD flags = DWORD(cs->dwExStyle);
  if (cs->style & (WS_HSCROLL | LBS_MULTICOLUMN)) flags |= kSbHorizontal;
  if (cs->style & WS_VSCROLL) flags |= kSbVertical;
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
  RowPainterPair painters{nullptr, PaintRow};
  const bool multiColumn = (cs->style & LBS_MULTICOLUMN) != 0;
  svInitEx(w, &d->view, flags, &painters, 1, multiColumn ? 1 : 0);
  d->items = static_cast<ListItem*>(std::malloc(sizeof(ListItem) * kGrowth));
  d->capacity = d->items ? kGrowth : 0;
  if (!multiColumn) svReserve(&d->view, kGrowth);
  SetWindowLongPtrA(w, kSlotRecord, reinterpret_cast<LONG_PTR>(d));
  return DefWindowProcA(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

LRESULT OnSetFont(HWND w, ListWndData* d, WPARAM font, LPARAM redraw) {
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPoint32A(dc, "AWXZyjpg", 8, &size);
  svSetItemHeight(&d->view, size.cy, 0);
  const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GetTextExtentPoint32A(dc, letters, 52, &size);
  d->averageCharWidth = (size.cx / 26 + 1) / 2;
  ReleaseDC(w, dc);
  if (redraw) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return LRESULT(old);
}

void SetScrollSteps(HWND w, ListWndData* d) {
  svSetLineStep(&d->view, 1, 1);
  svSetPageStep(&d->view, 1, 0);
  if (IsMultiColumn(d)) {
    RecomputeColumns(w, d);
  } else {
    svSetLineStep(&d->view, 0, 6);
    svSetPageStep(&d->view, 0, 50);
  }
}

LRESULT OnCreate(HWND w, ListWndData* d, CREATESTRUCTA* cs) {
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
  if (cs->style & kDropDown) SetWindowLongPtrA(w, kSlotOwner, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  OnSetFont(w, d, 0, 0);
  svResetBars(&d->view);
  svSize(&d->view);
  svFitWholeRows(&d->view, cs->cx, cs->cy, (cs->style & WS_BORDER) || (cs->dwExStyle & 0x800));
  SetScrollSteps(w, d);
  return 0;
}

void OnNcDestroy(HWND w, ListWndData* d) {
  FreeItems(d);
  std::free(d->items);
  if (d->addModeTimer) KillTimer(w, kAddModeTimer);
  std::free(d->tabStops);
  svCancelTracking(&d->view);
  svFree(&d->view);
  SetWindowLongPtrA(w, kSlotRecord, 0);
  HGLOBAL h = GlobalHandle(d);
  GlobalUnlock(h);
  GlobalFree(h);
}

}  // namespace

namespace {

LRESULT ListMessage(HWND w, ListWndData* d, UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = int(wParam);
  const bool validIndex = index >= 0 && index < d->count;
  switch (message) {
    case LB_ADDSTRING:
      if (!lParam) return LB_ERR;
      if (HasStrings(d) && !*reinterpret_cast<const char*>(lParam)) return LB_ERR;
      return Insert(w, d, (d->style & LBS_SORT) ? SortedPosition(w, d, lParam) : d->count, lParam);
    case LB_INSERTSTRING:
      if (!lParam || (HasStrings(d) && !*reinterpret_cast<const char*>(lParam))) return LB_ERR;
      if ((d->style & LBS_SORT) && d->count > 0) return LB_ERR;
      if (index < 0 || index > d->count) return LB_ERR;
      return Insert(w, d, index, lParam);
    case LB_DELETESTRING:
      if (!validIndex) return LB_ERR;
      return Delete(w, d, index);
    case LB_RESETCONTENT:
      if (d->count == 0) return LB_ERR;
      FreeItems(d);
      d->selection = d->anchor = d->extentEnd = d->caret = -1;
      if (IsMultiColumn(d)) {
        RecomputeColumns(w, d);
        svResetContent(&d->view);
      } else {
        svResetContent(&d->view);
      }
      return 0;
    case LB_SETSEL: {
      if (!IsMulti(d)) return LB_ERR;
      int item = int(lParam);
      if (item == -1) {
        for (int i = 0; i < d->count; ++i) SetSelected(w, d, i, wParam != 0);
        return 0;
      }
      if (item < 0 || item >= d->count) return LB_ERR;
      SetSelected(w, d, item, wParam != 0);
      return 0;
    }
    case LB_SETCURSEL:
      if (IsMulti(d) || index < -1 || index >= d->count) return LB_ERR;
      if (!SelectSingle(w, d, index)) RedrawItem(w, d, index);
      if (index < 0) return LB_ERR;
      BringIntoView(d, index);
      return index;
    case LB_GETSEL:
      return validIndex ? (IsSelected(d, index) ? 1 : 0) : LB_ERR;
    case LB_GETCURSEL:
      return IsMulti(d) ? d->caret : d->selection;
    case LB_GETTEXT:
      if (!validIndex || !lParam) return LB_ERR;
      if (!HasStrings(d)) {
        std::memcpy(reinterpret_cast<void*>(lParam), &d->items[index].text, 4);
        return 4;
      }
      std::strcpy(reinterpret_cast<char*>(lParam), d->items[index].text);
      return LRESULT(std::strlen(d->items[index].text));
    case LB_GETTEXTLEN:
      if (!validIndex) return LB_ERR;
      return HasStrings(d) ? LRESULT(std::strlen(d->items[index].text)) : 4;
    case LB_GETCOUNT:
      return d->count;
    case LB_SELECTSTRING: {
      if (IsMulti(d) || d->count == 0) return LB_ERR;
      int found = Find(w, d, wParam, lParam, false);
      if (found >= 0) {
        SelectSingle(w, d, found);
        BringIntoView(d, found);
      }
      return found;
    }
    case LB_DIR: {
      DWORD drives = GetLogicalDrives();
      for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        char entry[8];
        std::snprintf(entry, sizeof entry, "[-%c-]", 'a' + i);
        SendMessageA(w, LB_ADDSTRING, 0, LPARAM(entry));
      }
      return d->count;
    }
    case LB_GETTOPINDEX:
      return svGetTopIndex(&d->view);
    case LB_FINDSTRING:
      return Find(w, d, wParam, lParam, false);
    case LB_FINDSTRINGEXACT:
      return Find(w, d, wParam, lParam, true);
    case LB_GETSELCOUNT: {
      if (!IsMulti(d)) return LB_ERR;
      int n = 0;
      for (int i = 0; i < d->count; ++i) n += IsSelected(d, i);
      return n;
    }
    case LB_GETSELITEMS: {
      if (!IsMulti(d)) return LB_ERR;
      auto* out = reinterpret_cast<int*>(lParam);
      int n = 0;
      for (int i = 0; i < d->count && n < int(wParam) && out; ++i)
        if (IsSelected(d, i)) out[n++] = i;
      return n;
    }
    case LB_SETTABSTOPS: {
      if (!(d->style & LBS_USETABSTOPS) || index < 0) return 0;
      if (index > 0 && !lParam) return 0;
      int unit = d->averageCharWidth ? d->averageCharWidth : 4 * LOWORD(GetDialogBaseUnits());
      int count = index ? index : 1;
      auto* stops = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * count));
      if (!stops) return 0;
      if (index == 0) {
        stops[0] = unit / 2;
      } else {
        const int* given = reinterpret_cast<const int*>(lParam);
        for (int i = 0; i < index; ++i) stops[i] = given[i] * unit / 4;
      }
      std::free(d->tabStops);
      d->tabStops = stops;
      d->tabCount = count;
      return 1;
    }
    case LB_SETCOLUMNWIDTH:
      if (!IsMultiColumn(d) || index < 1) return LB_ERR;
      d->columnWidth = index;
      RecomputeColumns(w, d);
      return 0;
    case LB_SETTOPINDEX:
      if (!validIndex) return LB_ERR;
      if (IsMultiColumn(d)) {
        int left = (index / RowsPerColumn(d)) * d->columnWidth;
        return svEnsureOffsetVisible(&d->view, left, left + d->columnWidth - 1);
      }
      return svSetTopIndex(&d->view, index);
    case LB_GETITEMRECT:
      if (!validIndex || !lParam) return LB_ERR;
      return svItemRect(&d->view, IsMultiColumn(d) ? index % RowsPerColumn(d) : index,
                        reinterpret_cast<RECT*>(lParam)) == 0
                 ? 1
                 : LB_ERR;
    case LB_GETITEMDATA:
      if (!validIndex) return LB_ERR;
      return HasStrings(d) ? LRESULT(d->items[index].data) : reinterpret_cast<LRESULT>(d->items[index].text);
    case LB_SETITEMDATA:
      if (!validIndex) return LB_ERR;
      if (HasStrings(d)) {
        if (d->items[index].data != lParam) RedrawItem(w, d, index);
        d->items[index].data = lParam;
      } else {
        if (d->items[index].text != reinterpret_cast<char*>(lParam)) RedrawItem(w, d, index);
        d->items[index].text = reinterpret_cast<char*>(lParam);
      }
      return 0;
    case LB_SETITEMHEIGHT:
      if ((d->style & LBS_OWNERDRAWVARIABLE) || LOWORD(lParam) == 0) return LB_ERR;
      svSetItemHeight(&d->view, LOWORD(lParam), 1);
      if (IsMultiColumn(d)) RecomputeColumns(w, d);
      return 0;
    case LB_GETITEMHEIGHT:
      return (d->style & LBS_OWNERDRAWVARIABLE) ? LB_ERR : svGetItemHeight(&d->view);
    case LB_INITSTORAGE: {
      auto* grown = static_cast<ListItem*>(std::realloc(d->items, sizeof(ListItem) * (d->capacity + index)));
      if (!grown) return LB_ERRSPACE;
      d->items = grown;
      d->capacity += index;
      int capacity = svReserve(&d->view, index);
      return capacity < 0 ? LB_ERRSPACE : capacity;
    }
    case LB_ITEMFROMPOINT: {
      if (!lParam || d->count == 0) return LB_ERR;
      POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
      int outside = 0;
      int item = ItemAt(d, p, &outside);
      if (item < 0) return LB_ERR;
      return MAKELONG(item, outside);
    }
  }
  return DefWindowProcA(w, message, wParam, lParam);
}

void SendOwnerMouse(HWND w, WPARAM code) {
  if (GetWindowLongA(w, GWL_STYLE) & kDropDown)
    SendMessageA(HWND(GetWindowLongPtrA(w, kSlotOwner)), CWM_MOUSEEVENT, code, LPARAM(w));
}

LRESULT CALLBACK ListProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lParam));
  ListWndData* d = Rec(w);
  if (!d) return DefWindowProcA(w, message, wParam, lParam);
  if (message >= LB_ADDSTRING && message <= LB_MSGMAX) return ListMessage(w, d, message, wParam, lParam);
  const POINT screen{short(LOWORD(lParam)), short(HIWORD(lParam))};
  switch (message) {
    case WM_CREATE:
      return OnCreate(w, d, reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_NCDESTROY:
      OnNcDestroy(w, d);
      return DefWindowProcA(w, message, wParam, lParam);
    case WM_NCLBUTTONUP:
      svButtonUp(&d->view);
      SendOwnerMouse(w, 0x00A20000);
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCLIENT) {
        UINT m = message;
        WPARAM keys = 0;
        LPARAM point = lParam;
        NonClientMouseToClient(w, &m, &keys, &point);
        SendMessageA(w, m, keys, point);
      } else if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
        svNcButtonDown(&d->view, int(wParam), screen);
      } else if (wParam == HTBORDER) {
        SendOwnerMouse(w, 0x02020000);
      }
      return 0;
    case WM_NCHITTEST:
      // A press outside the drop-down list comes as one on its border.
      return svFramedNcHitTest(w, &d->view, screen, true);
    case WM_SIZE:
      svSize(&d->view);
      if (IsMultiColumn(d))
        RecomputeColumns(w, d);
      else
        RedrawItem(w, d, d->caret);
      return 0;
    case WM_PAINT: {
      PaintContext context{w, d};
      return svPaintWindow(&d->view, Target(w), &context, 0);
    }
    case WM_SETFONT:
      return OnSetFont(w, d, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (HWND(wParam) == w) return 0;
      if (message == WM_SETFOCUS) d->blinkPhase = 0;
      RedrawItem(w, d, d->caret);
      Notify(w, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS, false);
      return 0;
    case WM_SETREDRAW:
      d->redrawOff = wParam ? 0 : 1;
      svSetRedraw(&d->view, int(wParam));
      return 0;
    case WM_SHOWWINDOW:
      if (!wParam) svCancelTracking(&d->view);
      return DefWindowProcA(w, message, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
      if (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) svCancelTracking(&d->view);
      return DefWindowProcA(w, message, wParam, lParam);
    case WM_ACTIVATEAPP:
      if (!wParam) SendOwnerMouse(w, 0x02020000);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wParam == VK_TAB) {
        HandleDialogNavigationKey(w, wParam);
        return 0;
      }
      OnKey(w, d, wParam);
      return 0;
    case WM_SYSKEYDOWN:
      return SendMessageA(Target(w), message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnClick(w, d, lParam, wParam);
      if (Notifies(d)) Notify(w, message == WM_LBUTTONDOWN ? LBN_SELCHANGE : LBN_DBLCLK, true);
      return 0;
    case WM_LBUTTONUP:
      if (GetWindowLongA(w, GWL_STYLE) & kDropDown) {
        SendOwnerMouse(w, 0x02020000);
        SendMessageA(HWND(GetWindowLongPtrA(w, kSlotOwner)), CCM_DROPDOWNPICK, 0, 0);
      }
      return 0;
    case WM_MOUSEMOVE:
      return 0;
    case WM_TIMER:
      if (wParam == kAddModeTimer && d->addModeTimer) {
        d->blinkPhase ^= 1;
        RedrawItem(w, d, d->caret);
      }
      return svTimer(&d->view, wParam);
    case WM_VSCROLL:
    case WM_HSCROLL:
      svDefWindowProc(&d->view, message, wParam, lParam);
      RedrawItem(w, d, d->caret);
      return 0;
    case CCM_TOPROWCHANGED:
      return 0;
    case LBM_GETOWNER:
      return LRESULT(Target(w));
    case LBM_GETVSCROLLWIDTH:
    case LBM_GETVSCROLLWIDTH2:
      return svBarThickness(&d->view, 1);
    default:
      return svDefWindowProc(&d->view, message, wParam, lParam);
  }
}

}  // namespace

ATOM RegisterListClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = 0x402B;
  wc.lpfnWndProc = ListProc;
  wc.cbWndExtra = 2 * kPointerSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
