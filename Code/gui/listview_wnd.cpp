// CGUIListViewWnd: the toolkit's multi-column list (report view only). It
// accepts the platform's list-view messages and records, keeps its rows of
// cells itself (or only a count for LVS_OWNERDATA), and leaves rows,
// scrolling and hit testing to an embedded virtual ScrollView. Painting and
// the header live in listview_paint.cpp.
//
// Interface: RegisterListViewClass.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "controls.h"
#include "facet.h"
#include "lists.h"
#include "listview.h"
#include "sortswap.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUIListViewWnd";
#define LV_CALLBACK (reinterpret_cast<char*>(LPSTR_TEXTCALLBACKA))
constexpr int kRowGrowth = 64;

ListViewData* Rec(HWND w) { return reinterpret_cast<ListViewData*>(GetWindowLongPtrA(w, 0)); }

LvCell* Cell(ListViewData* d, int item, int sub) {
  if (lvOwnerData(d) || item < 0 || item >= d->count || sub < 0) return nullptr;
  LvRow& row = d->rows[item];
  return sub < row.cellCount ? &row.cells[sub] : nullptr;
}

char* CopyText(const char* text) {
  if (text == LV_CALLBACK || !text) return text ? LV_CALLBACK : nullptr;
  size_t n = std::strlen(text);
  char* copy = static_cast<char*>(std::malloc(n + 1));
  if (copy) std::memcpy(copy, text, n + 1);
  return copy;
}

void FreeText(LvCell* c) {
  if (c->text && c->text != LV_CALLBACK) std::free(c->text);
  c->text = nullptr;
}

void FreeRow(LvRow* row) {
  for (int i = 0; i < row->cellCount; ++i) FreeText(&row->cells[i]);
  std::free(row->cells);
  *row = LvRow{};
}

// Gives a row cells up to the highest sub-item: rows made before a later
// column, or by a larger item count, would otherwise be shorter than
// painting and freeing expect.
bool WidenRow(ListViewData* d, int item) {
  LvRow& row = d->rows[item];
  int want = std::max(d->highestSubItem + 1, 1);
  if (row.cellCount >= want) return true;
  auto* cells = static_cast<LvCell*>(std::realloc(row.cells, sizeof(LvCell) * want));
  if (!cells) return false;
  for (int s = row.cellCount; s < want; ++s) cells[s] = LvCell{0, item, s, 0, 0, nullptr, 0, 0, 0, 0};
  row.cells = cells;
  row.cellCount = want;
  return true;
}

void Renumber(ListViewData* d, int item) {
  for (int s = 0; s < d->rows[item].cellCount; ++s) d->rows[item].cells[s].item = item;
}

LRESULT Notify(HWND w, NMHDR* header, int code) {
  header->hwndFrom = w;
  header->idFrom = UINT_PTR(GetDlgCtrlID(w));
  header->code = UINT(code);
  HWND parent = GetParent(w);
  return parent ? SendMessageA(parent, WM_NOTIFY, header->idFrom, LPARAM(header)) : 0;
}

void NotifyItem(HWND w, int code, int item) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  Notify(w, &nm.hdr, code);
}

void NotifyStateChange(HWND w, ListViewData* d, int item, UINT newState, UINT oldState, UINT changed) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  LvCell* c = Cell(d, item, 0);
  nm.lParam = c ? c->data : 0;
  Notify(w, &nm.hdr, LVN_ITEMCHANGED);
  NMLVODSTATECHANGE od{};
  od.iFrom = od.iTo = item;
  od.uNewState = newState;
  od.uOldState = oldState;
  Notify(w, &od.hdr, LVN_ODSTATECHANGED);
}

void NotifyRange(HWND w, int from, int to, bool on) {
  NMLVODSTATECHANGE od{};
  od.iFrom = from;
  od.iTo = to;
  od.uNewState = on ? LVIS_SELECTED : 0;
  od.uOldState = on ? 0 : LVIS_SELECTED;
  Notify(w, &od.hdr, LVN_ODSTATECHANGED);
}

void Invalidate(ListViewData* d, int item) { svInvalidateItem(&d->view, item); }

void SetFocused(HWND w, ListViewData* d, int item) {
  if (d->focused == item) return;
  int old = d->focused;
  d->focused = item;
  Invalidate(d, old);
  Invalidate(d, item);
  if (old >= 0) NotifyStateChange(w, d, old, 0, LVIS_FOCUSED, LVIF_STATE);
  if (item >= 0) NotifyStateChange(w, d, item, LVIS_FOCUSED, 0, LVIF_STATE);
}

void SetSelected(HWND w, ListViewData* d, int item, bool on) {
  if (item < 0 || item >= d->count) return;
  if (lvSingle(d)) {
    int want = on ? item : (d->selected == item ? -1 : d->selected);
    if (want == d->selected) return;
    int old = d->selected;
    d->selected = want;
    Invalidate(d, old);
    Invalidate(d, want);
    if (old >= 0) NotifyStateChange(w, d, old, 0, LVIS_SELECTED, LVIF_STATE);
    if (want >= 0) NotifyStateChange(w, d, want, LVIS_SELECTED, 0, LVIF_STATE);
    return;
  }
  if (lvOwnerData(d)) {
    if (RangeSetContains(&d->selection, item) == (on ? 1 : 0)) return;
    RangeSetSet(&d->selection, item, on ? 1 : 0);
    NotifyRange(w, item, item, on);
    Invalidate(d, item);
    return;
  }
  LvCell* c = Cell(d, item, 0);
  if (!c || ((c->state & LVIS_SELECTED) != 0) == on) return;
  c->state = on ? (c->state | LVIS_SELECTED) : (c->state & ~LVIS_SELECTED);
  Invalidate(d, item);
}

// Exactly a..b selected (multiple selection).
void SelectOnly(HWND w, ListViewData* d, int a, int b) {
  int lo = std::min(a, b), hi = std::max(a, b);
  if (lvOwnerData(d)) {
    if (lo > 0) RangeSetRemoveRange(&d->selection, 0, lo - 1);
    if (hi < d->count - 1) RangeSetRemoveRange(&d->selection, hi + 1, d->count - 1);
    RangeSetAddRange(&d->selection, lo, hi);
    NotifyRange(w, lo, hi, true);
    svRedrawRect(&d->view, nullptr);
    return;
  }
  for (int i = 0; i < d->count; ++i) SetSelected(w, d, i, i >= lo && i <= hi);
}

int ColumnAt(ListViewData* d, int docX) {
  if (!d->header) return -1;
  int count = int(SendMessageA(d->header, HDM_GETITEMCOUNT, 0, 0));
  std::vector<int> order(count > 0 ? count : 0);
  if (count <= 0) return -1;
  SendMessageA(d->header, HDM_GETORDERARRAY, count, LPARAM(order.data()));
  int right = 0;
  for (int p = 0; p < count; ++p) {
    HDITEMA hi{};
    hi.mask = HDI_WIDTH;
    SendMessageA(d->header, HDM_GETITEMA, order[p], LPARAM(&hi));
    right += hi.cxy;
    if (docX < right) return order[p];
  }
  return -1;
}

UINT KeyFlags(WPARAM keys) {
  return (GetKeyState(VK_MENU) < 0 ? LVKF_ALT : 0) | ((keys & MK_CONTROL) ? LVKF_CONTROL : 0) |
         ((keys & MK_SHIFT) ? LVKF_SHIFT : 0);
}

void Activate(HWND w, ListViewData* d, int code, int item, int column, POINT p, WPARAM keys) {
  NMITEMACTIVATE nm{};
  nm.iItem = item;
  nm.iSubItem = column;
  nm.ptAction = p;
  LvCell* c = Cell(d, item, 0);
  nm.lParam = c ? c->data : 0;
  nm.uKeyFlags = KeyFlags(keys);
  Notify(w, &nm.hdr, code);
}

// Selection by a click or key on item with the modifier keys.
void ChooseItem(HWND w, ListViewData* d, int item, bool shift, bool ctrl, bool moveOnly) {
  SetFocused(w, d, item);
  if (lvSingle(d)) {
    SetSelected(w, d, item, true);
  } else if (shift) {
    if (d->anchor < 0) d->anchor = item;
    SelectOnly(w, d, d->anchor, item);
  } else if (ctrl) {
    if (!moveOnly) SetSelected(w, d, item, !lvIsSelected(d, item));
  } else {
    d->anchor = item;
    SelectOnly(w, d, item, item);
  }
  UpdateWindow(w);
}

void OnClick(HWND w, ListViewData* d, WPARAM keys, LPARAM lParam) {
  SetFocus(w);
  POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
  int outside = 0;
  POINT doc{};
  int item = svHitTestDoc(&d->view, &p, &outside, &doc);
  if (item < 0 || outside || item >= d->count) return;
  RECT r;
  if (svItemRect(&d->view, item, &r) != 0 || p.y >= r.bottom) return;
  ChooseItem(w, d, item, (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, false);
  Activate(w, d, NM_CLICK, item, ColumnAt(d, doc.x), p, keys);
}

int ItemAtPoint(ListViewData* d, LPARAM lParam, POINT* p, POINT* doc) {
  *p = POINT{short(LOWORD(lParam)), short(HIWORD(lParam))};
  int outside = 0;
  int item = svHitTestDoc(&d->view, p, &outside, doc);
  RECT r;
  if (item < 0 || outside || item >= d->count || svItemRect(&d->view, item, &r) != 0 || p->y >= r.bottom)
    return -1;
  return item;
}

void OnKey(HWND w, ListViewData* d, WPARAM key) {
  NMLVKEYDOWN nm{};
  nm.wVKey = WORD(key);
  Notify(w, &nm.hdr, LVN_KEYDOWN);
  if (d->count == 0) return;
  const int f = d->focused;
  const int target = key == VK_SPACE ? std::clamp(f, 0, d->count - 1)
                                     : svKeyTargetRow(key, f, d->count, svGetFullRows(&d->view));
  if (target < 0) return;
  svEnsureVisible(&d->view, target, 0, nullptr);
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  if (key == VK_SPACE && !lvSingle(d) && !shift) {
    SetFocused(w, d, target);
    if (ctrl)
      SetSelected(w, d, target, !lvIsSelected(d, target));
    else
      SelectOnly(w, d, target, target);
    UpdateWindow(w);
    return;
  }
  ChooseItem(w, d, target, shift, ctrl, true);
}

// --- items ---

int InsertItem(HWND, ListViewData* d, const LVITEMA* in) {
  if (!in || in->iSubItem != 0 || in->iItem < 0 || in->iItem > d->count) return -1;
  const int index = in->iItem;
  if (!lvOwnerData(d)) {
    LvRow row{};
    row.cellCount = d->highestSubItem + 1 > 0 ? d->highestSubItem + 1 : 1;
    row.cells = static_cast<LvCell*>(std::calloc(row.cellCount, sizeof(LvCell)));
    if (!row.cells) return -1;
    for (int s = 0; s < row.cellCount; ++s) {
      row.cells[s].item = index;
      row.cells[s].subItem = s;
    }
    LvCell& c = row.cells[0];
    c.mask = in->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT | LVIF_NORECOMPUTE |
                         LVIF_DI_SETITEM);
    c.image = in->iImage;
    c.indent = in->iIndent;
    c.data = in->lParam;
    if (in->mask & LVIF_STATE) c.state = in->state & in->stateMask;
    if (in->mask & LVIF_TEXT) {
      c.text = CopyText(in->pszText);
      if (in->pszText && !c.text) {
        FreeRow(&row);
        return -1;
      }
      c.textSize = c.text && c.text != LV_CALLBACK ? int(std::strlen(c.text)) + 1 : 0;
    }
    if (d->count >= d->rowCapacity) {
      auto* grown = static_cast<LvRow*>(std::realloc(d->rows, sizeof(LvRow) * (d->rowCapacity + kRowGrowth)));
      if (!grown) {
        FreeRow(&row);
        return -1;
      }
      d->rows = grown;
      d->rowCapacity += kRowGrowth;
    }
    std::memmove(d->rows + index + 1, d->rows + index, sizeof(LvRow) * (d->count - index));
    d->rows[index] = row;
    ++d->count;
    for (int i = index + 1; i < d->count; ++i) Renumber(d, i);
  } else {
    ++d->count;
  }
  if (lvSingle(d) && d->selected >= index) ++d->selected;
  if (lvOwnerData(d) && !lvSingle(d)) RangeSetInsertItem(&d->selection, index, 0);
  if (d->focused >= index) ++d->focused;
  if (svInsertItem(&d->view, index, index, 0) < 0) {
    if (!lvOwnerData(d)) {
      FreeRow(&d->rows[index]);
      std::memmove(d->rows + index, d->rows + index + 1, sizeof(LvRow) * (d->count - index - 1));
    }
    --d->count;
    if (!lvOwnerData(d))
      for (int i = index; i < d->count; ++i) Renumber(d, i);
    if (lvSingle(d) && d->selected > index) --d->selected;
    if (lvOwnerData(d) && !lvSingle(d)) RangeSetDeleteItem(&d->selection, index);
    if (d->focused > index) --d->focused;
    return -1;
  }
  return index;
}

void DeleteItem(HWND w, ListViewData* d, int i, bool notify) {
  if (notify) NotifyItem(w, LVN_DELETEITEM, i);
  if (!lvOwnerData(d)) {
    FreeRow(&d->rows[i]);
    std::memmove(d->rows + i, d->rows + i + 1, sizeof(LvRow) * (d->count - i - 1));
  }
  --d->count;
  if (!lvOwnerData(d))
    for (int k = i; k < d->count; ++k) Renumber(d, k);
  if (d->selected == i)
    d->selected = -1;
  else if (d->selected > i)
    --d->selected;
  if (lvOwnerData(d) && !lvSingle(d)) RangeSetDeleteItem(&d->selection, i);
  if (d->focused == i)
    d->focused = -1;
  else if (d->focused > i)
    --d->focused;
  if (d->anchor == i)
    d->anchor = -1;
  else if (d->anchor > i)
    --d->anchor;
  svDeleteRange(&d->view, i, i);
}

LRESULT SetItemState(HWND w, ListViewData* d, int i, const LVITEMA* in) {
  if (!in) return 0;
  const bool all = i == -1;
  if (!all && (i < 0 || i >= d->count)) return 0;
  const UINT mask = in->stateMask, state = in->state;
  if (all && d->count >= 2 && (mask & state & LVIS_FOCUSED)) return 0;
  if (all && lvSingle(d) && (mask & state & LVIS_SELECTED)) return 0;
  if (mask & LVIS_SELECTED) {
    const bool on = (state & LVIS_SELECTED) != 0;
    if (lvSingle(d)) {
      if (all) {
        if (!on && d->selected >= 0)
          SetSelected(w, d, d->selected, false);
        else if (on && d->count == 1)
          SetSelected(w, d, 0, true);
      } else {
        SetSelected(w, d, i, on);
      }
    } else if (lvOwnerData(d) && all) {
      if (d->count > 0) {
        if (on)
          RangeSetAddRange(&d->selection, 0, d->count - 1);
        else
          RangeSetRemoveRange(&d->selection, 0, d->count - 1);
        NotifyRange(w, 0, d->count - 1, on);
      }
      svRedrawRect(&d->view, nullptr);
    } else if (all) {
      for (int k = 0; k < d->count; ++k) SetSelected(w, d, k, on);
    } else {
      SetSelected(w, d, i, on);
    }
  }
  if (mask & LVIS_FOCUSED) {
    if (state & LVIS_FOCUSED) {
      if (!all)
        SetFocused(w, d, i);
      else if (d->count == 1)
        SetFocused(w, d, 0);
    } else if (all || d->focused == i) {
      SetFocused(w, d, -1);
    }
  }
  UINT other = mask & ~UINT(LVIS_SELECTED | LVIS_FOCUSED);
  if (other && !lvOwnerData(d)) {
    for (int k = all ? 0 : i; k < (all ? d->count : i + 1); ++k) {
      LvCell* c = Cell(d, k, 0);
      if (!c) continue;
      UINT next = (c->state & ~other) | (state & other);
      if (next != c->state) {
        c->state = next;
        Invalidate(d, k);
      }
    }
  }
  return 1;
}

LRESULT SetItem(HWND w, ListViewData* d, const LVITEMA* in) {
  if (!in) return 0;
  LvCell* c = Cell(d, in->iItem, in->iSubItem);
  if (!c || c->item != in->iItem || c->subItem != in->iSubItem || in->iSubItem > d->highestSubItem) return 0;
  bool changed = false;
  if (in->mask & LVIF_TEXT) {
    char* copy = CopyText(in->pszText);
    if (in->pszText && !copy) return 0;
    FreeText(c);
    c->text = copy;
    c->textSize = copy && copy != LV_CALLBACK ? int(std::strlen(copy)) + 1 : 0;
    c->mask |= LVIF_TEXT;
    changed = true;
  }
  if (in->iSubItem == 0) {
    if (in->mask & LVIF_STATE) SetItemState(w, d, in->iItem, in);
    if (in->mask & LVIF_PARAM) {
      changed |= !(c->mask & LVIF_PARAM) || c->data != in->lParam;
      c->data = in->lParam;
      c->mask |= LVIF_PARAM;
    }
  }
  if (in->mask & LVIF_IMAGE) {
    changed |= !(c->mask & LVIF_IMAGE) || c->image != in->iImage;
    c->image = in->iImage;
    c->mask |= LVIF_IMAGE;
  }
  if (changed) Invalidate(d, in->iItem);
  return 1;
}

LRESULT GetItem(ListViewData* d, LVITEMA* out) {
  if (!out) return 0;
  LvCell* c = Cell(d, out->iItem, out->iSubItem);
  if (!c || c->item != out->iItem || c->subItem != out->iSubItem) return 0;
  LVITEMA result = *out;
  if (out->mask & LVIF_TEXT) {
    if (!out->pszText || !c->text || c->text == LV_CALLBACK || c->textSize > out->cchTextMax) return 0;
    std::strcpy(result.pszText, c->text);
  }
  if (out->iSubItem == 0) {
    if (out->mask & LVIF_STATE) {
      UINT state = c->state;
      if (lvSingle(d)) state = (state & ~LVIS_SELECTED) | (d->selected == out->iItem ? LVIS_SELECTED : 0);
      state = (state & ~LVIS_FOCUSED) | (d->focused == out->iItem ? LVIS_FOCUSED : 0);
      result.state = state & out->stateMask;
    }
    if (out->mask & LVIF_PARAM) {
      if (!(c->mask & LVIF_PARAM)) return 0;
      result.lParam = c->data;
    }
    if (out->mask & LVIF_INDENT) {
      if (!(c->mask & LVIF_INDENT)) return 0;
      result.iIndent = c->indent;
    }
  }
  if (out->mask & LVIF_IMAGE) {
    if (!(c->mask & LVIF_IMAGE)) return 0;
    result.iImage = c->image;
  }
  *out = result;
  return 1;
}

LRESULT GetNextItem(ListViewData* d, int start, UINT flags) {
  const UINT states = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
  if (!states) return -1;
  if (lvOwnerData(d) && (flags & (LVNI_CUT | LVNI_DROPHILITED))) return -1;
  if ((flags & 0xF00) || start < -1 || start > d->count - 2) return -1;
  auto hasOthers = [&](int i) {
    LvCell* c = Cell(d, i, 0);
    UINT s = c ? c->state : 0;
    if ((flags & LVNI_CUT) && !(s & LVIS_CUT)) return false;
    if ((flags & LVNI_DROPHILITED) && !(s & LVIS_DROPHILITED)) return false;
    return true;
  };
  if (flags & LVNI_FOCUSED) {
    int f = d->focused;
    if (f > start && (!(flags & LVNI_SELECTED) || lvIsSelected(d, f)) && hasOthers(f)) return f;
    return -1;
  }
  if (flags & LVNI_SELECTED) {
    if (lvSingle(d)) return d->selected >= start + 1 && hasOthers(d->selected) ? d->selected : -1;
    if (lvOwnerData(d)) {
      int32_t next = -1;
      return RangeSetNextMember(&d->selection, start + 1, &next) && next < d->count ? next : -1;
    }
    for (int i = start + 1; i < d->count; ++i)
      if (lvIsSelected(d, i) && hasOthers(i)) return i;
    return -1;
  }
  for (int i = start + 1; i < d->count; ++i)
    if (hasOthers(i)) return i;
  return -1;
}

LRESULT HitTest(ListViewData* d, LVHITTESTINFO* info) {
  if (!info || d->count == 0) return -1;
  info->flags = 0;
  RECT client;
  svGetClientRect(&d->view, &client);
  POINT p = info->pt;
  if (!PtInRect(&client, p)) {
    info->iItem = info->iSubItem = -1;
    if (p.x < client.left) info->flags |= LVHT_TOLEFT;
    if (p.x >= client.right) info->flags |= LVHT_TORIGHT;
    if (p.y < client.top) info->flags |= LVHT_ABOVE;
    if (p.y >= client.bottom) info->flags |= LVHT_BELOW;
    return -1;
  }
  int outside = 0;
  POINT doc{};
  int row = svHitTestDoc(&d->view, &p, &outside, &doc);
  info->iSubItem = ColumnAt(d, doc.x);
  if (info->iSubItem >= 0 && row >= 0) {
    info->iItem = row;
    info->flags = LVHT_ONITEMLABEL;
    return row;
  }
  info->iItem = -1;
  return -1;
}

LRESULT SetItemCount(HWND w, ListViewData* d, int count, UINT flags) {
  if (count < 0) return 0;
  for (int32_t* index : {&d->selected, &d->focused, &d->anchor})
    if (*index >= count) *index = -1;
  const int old = d->count;
  if (!lvOwnerData(d)) {
    for (int i = count; i < old; ++i) FreeRow(&d->rows[i]);
    if (count != d->rowCapacity) {
      auto* resized = static_cast<LvRow*>(std::realloc(d->rows, sizeof(LvRow) * std::max(count, 1)));
      if (!resized) return 0;
      d->rows = resized;
      d->rowCapacity = std::max(count, 1);
    }
    // New rows get their cells now, empty, so that every row is whole.
    for (int i = old; i < count; ++i) {
      d->rows[i] = LvRow{};
      if (!WidenRow(d, i)) {
        count = i;
        break;
      }
    }
  } else if (!lvSingle(d) && count < old) {
    RangeSetRemoveRange(&d->selection, count, INT32_MAX);
  }
  d->count = count;
  // The view follows the count both ways (the view is virtual).
  svSetCount(&d->view, count, 1);
  if (!(flags & LVSICF_NOINVALIDATEALL)) svRedrawRect(&d->view, nullptr);
  (void)w;
  return 1;
}

struct SortContext {
  ListViewData* d;
  PFNLVCOMPARE compare;
  LPARAM value;
};

int CompareRows(const void* a, const void* b, void* context) {
  auto* c = static_cast<SortContext*>(context);
  auto* ra = static_cast<const LvRow*>(a);
  auto* rb = static_cast<const LvRow*>(b);
  int r = c->compare(ra->cells[0].data, rb->cells[0].data, c->value);
  if (r) return r;
  return ra->sortKey < rb->sortKey ? -1 : ra->sortKey > rb->sortKey ? 1 : 0;
}

void SwapRows(void* a, void* b, void* context) {
  auto* c = static_cast<SortContext*>(context);
  auto* ra = static_cast<LvRow*>(a);
  auto* rb = static_cast<LvRow*>(b);
  int ia = int(ra - c->d->rows), ib = int(rb - c->d->rows);
  std::swap(*ra, *rb);
  Renumber(c->d, ia);
  Renumber(c->d, ib);
  for (int32_t* index : {&c->d->selected, &c->d->focused}) {
    if (*index == ia)
      *index = ib;
    else if (*index == ib)
      *index = ia;
  }
}

LRESULT SortItems(HWND w, ListViewData* d, LPARAM value, PFNLVCOMPARE compare) {
  if (lvOwnerData(d) || d->sorting || !compare) return 0;
  if (d->count < 2) return 1;
  d->sorting = 1;
  for (int i = 0; i < d->count; ++i) d->rows[i].sortKey = i;
  SortContext context{d, compare, value};
  SortWithSwap(d->rows, uint32_t(d->count), sizeof(LvRow), CompareRows, SwapRows, &context);
  d->sorting = 0;
  if (!d->redrawOff) InvalidateRect(w, nullptr, TRUE);
  return 1;
}

// --- columns ---

// The document is as wide as the columns together.
void UpdateDocWidth(ListViewData* d) {
  if (!d->header) return;
  int count = int(SendMessageA(d->header, HDM_GETITEMCOUNT, 0, 0)), width = 0;
  for (int i = 0; i < count; ++i) {
    HDITEMA hi{};
    hi.mask = HDI_WIDTH;
    SendMessageA(d->header, HDM_GETITEMA, i, LPARAM(&hi));
    width += hi.cxy;
  }
  svSetDocWidth(&d->view, std::max(width, 1));
}

int HeaderFormat(int lvFormat) {
  int f = 0;
  if ((lvFormat & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) f |= HDF_CENTER;
  if ((lvFormat & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) f |= HDF_RIGHT;
  if (lvFormat & LVCFMT_BITMAP_ON_RIGHT) f |= HDF_BITMAP_ON_RIGHT;
  if (lvFormat & LVCFMT_COL_HAS_IMAGES) f |= HDF_IMAGE;
  return f;
}

HDITEMA HeaderItemFrom(const LVCOLUMNA* in, bool first) {
  HDITEMA hi{};
  if (in->mask & LVCF_TEXT) {
    hi.mask |= HDI_TEXT;
    hi.pszText = in->pszText;
    hi.cchTextMax = in->pszText ? int(std::strlen(in->pszText)) : 0;
  }
  hi.mask |= HDI_FORMAT;
  hi.fmt = (in->mask & LVCF_FMT) ? HeaderFormat(in->fmt) : 0;
  if (first) hi.fmt &= ~(HDF_CENTER | HDF_RIGHT);
  if (in->mask & LVCF_IMAGE) {
    hi.mask |= HDI_IMAGE;
    hi.iImage = in->iImage;
  }
  if (in->mask & LVCF_ORDER) {
    hi.mask |= HDI_ORDER;
    hi.iOrder = in->iOrder;
  }
  if (in->mask & LVCF_WIDTH) {
    hi.mask |= HDI_WIDTH;
    hi.cxy = in->cx;
  }
  return hi;
}

LRESULT InsertColumn(ListViewData* d, int position, const LVCOLUMNA* in) {
  if (!in || position < 0 || !d->header) return -1;
  if (!(in->mask & LVCF_TEXT) || !in->pszText) return -1;
  LvColumn record{};
  record.mask = in->mask & (LVCF_FMT | LVCF_SUBITEM);
  record.format = (in->mask & LVCF_FMT) ? in->fmt : 0;
  record.subItem = (in->mask & LVCF_SUBITEM) ? in->iSubItem : (in->mask & LVCF_ORDER) ? in->iOrder : position;
  auto* stored = static_cast<LvColumn*>(KeyedListAddCopy(&d->columns, &record, sizeof record, KL_AT_TAIL));
  if (!stored) return -1;
  bool first = (in->mask & LVCF_ORDER) ? in->iOrder == 0 : position == 0;
  HDITEMA hi = HeaderItemFrom(in, first);
  hi.fmt |= HDF_OWNERDRAW;
  hi.mask |= HDI_LPARAM | HDI_FORMAT;
  hi.lParam = reinterpret_cast<LPARAM>(stored);
  int index = int(SendMessageA(d->header, HDM_INSERTITEMA, position, LPARAM(&hi)));
  if (index < 0) {
    KeyedListRemoveNode(&d->columns, KeyedListNodeOf(stored));
    return -1;
  }
  stored->headerIndex = index;
  UpdateDocWidth(d);
  // Later columns move one place along in the header.
  for (KeyedListNode* n = d->columns.first; n; n = n->next) {
    auto* c = static_cast<LvColumn*>(n->data);
    if (c != stored && c->headerIndex >= index) ++c->headerIndex;
  }
  if (record.subItem > d->highestSubItem) {
    d->highestSubItem = record.subItem;
    for (int i = 0; i < d->count; ++i) WidenRow(d, i);
  }
  return index;
}

LRESULT GetColumn(ListViewData* d, int column, LVCOLUMNA* out) {
  if (!out || !d->header) return 0;
  HDITEMA hi{};
  char text[300] = "";
  if (out->mask & LVCF_FMT) hi.mask |= HDI_FORMAT;
  if (out->mask & LVCF_WIDTH) hi.mask |= HDI_WIDTH;
  if (out->mask & LVCF_TEXT) {
    hi.mask |= HDI_TEXT;
    hi.pszText = text;
    hi.cchTextMax = sizeof text - 1;
  }
  if (out->mask & LVCF_IMAGE) hi.mask |= HDI_IMAGE;
  if (out->mask & LVCF_ORDER) hi.mask |= HDI_ORDER;
  hi.mask |= HDI_LPARAM;
  if (!SendMessageA(d->header, HDM_GETITEMA, column, LPARAM(&hi))) return 0;
  auto* record = reinterpret_cast<LvColumn*>(hi.lParam);
  if (out->mask & LVCF_FMT) {
    int f = 0;
    if (hi.fmt & HDF_CENTER) f |= LVCFMT_CENTER;
    if (hi.fmt & HDF_RIGHT) f |= LVCFMT_RIGHT;
    if (hi.fmt & HDF_BITMAP_ON_RIGHT) f |= LVCFMT_BITMAP_ON_RIGHT;
    if (hi.fmt & HDF_IMAGE) f |= LVCFMT_COL_HAS_IMAGES;
    if (record && (column == 0 || (d->privateFlags & 1))) f |= record->format & LVCFMT_IMAGE;
    out->fmt = f;
  }
  if (out->mask & LVCF_WIDTH) out->cx = hi.cxy;
  if ((out->mask & LVCF_TEXT) && out->pszText && out->cchTextMax > 0) {
    std::strncpy(out->pszText, text, out->cchTextMax - 1);
    out->pszText[out->cchTextMax - 1] = 0;
  }
  if (out->mask & LVCF_IMAGE) out->iImage = hi.iImage;
  if (out->mask & LVCF_ORDER) out->iOrder = hi.iOrder;
  if (out->mask & LVCF_SUBITEM) {
    if (record && (record->mask & LVCF_SUBITEM))
      out->iSubItem = record->subItem;
    else
      out->mask &= ~LVCF_SUBITEM;
  }
  return 1;
}

LRESULT SetColumn(ListViewData* d, int column, const LVCOLUMNA* in) {
  if (!in || !d->header) return 0;
  HDITEMA hi = HeaderItemFrom(in, column == 0);
  HDITEMA current{};
  current.mask = HDI_LPARAM;
  if (!SendMessageA(d->header, HDM_GETITEMA, column, LPARAM(&current))) return 0;
  if (!SendMessageA(d->header, HDM_SETITEMA, column, LPARAM(&hi))) return 0;
  if (auto* record = reinterpret_cast<LvColumn*>(current.lParam)) {
    if (in->mask & LVCF_FMT) record->format = in->fmt;
    if (in->mask & LVCF_SUBITEM) {
      record->subItem = in->iSubItem;
      record->mask |= LVCF_SUBITEM;
      if (in->iSubItem > d->highestSubItem) {
        d->highestSubItem = in->iSubItem;
        for (int i = 0; i < d->count; ++i) WidenRow(d, i);
      }
    }
  }
  return 1;
}

LRESULT DeleteColumn(ListViewData* d, int column) {
  if (!d->header) return 1;
  for (KeyedListNode* n = d->columns.first; n; n = n->next) {
    if (static_cast<LvColumn*>(n->data)->headerIndex == column) {
      KeyedListRemoveNode(&d->columns, n);
      break;
    }
  }
  LRESULT result = SendMessageA(d->header, HDM_DELETEITEM, column, 0);
  UpdateDocWidth(d);
  return result;
}

// --- window ---

LRESULT OnSetFont(HWND w, ListViewData* d, WPARAM font, LPARAM redraw) {
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
  if (d->header) SendMessageA(d->header, WM_SETFONT, font, 0);
  SIZE size{};
  GetTextExtentPoint32A(dc, "AWXZyjpg", 8, &size);
  svSetItemHeight(&d->view, size.cy, 0);
  GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
  d->textMargin = (size.cx / 26 + 1) / 2;
  if (!d->textMargin) d->textMargin = 4 * LOWORD(GetDialogBaseUnits());
  ReleaseDC(w, dc);
  if (d->header) lvLayoutHeader(w, d);
  if (redraw) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return LRESULT(old);
}

bool IsReport(DWORD style) { return (style & LVS_TYPEMASK) == LVS_REPORT; }

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  if (!IsReport(cs->style)) return FALSE;
  HGLOBAL hg = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(ListViewData));
  auto* d = hg ? static_cast<ListViewData*>(GlobalLock(hg)) : nullptr;
  if (!d) return FALSE;
  d->style = cs->style;
  d->selected = d->focused = d->anchor = d->highestSubItem = -1;
  KeyedListInit(&d->columns);
  KeyedListInit(&d->selection);
  SetWindowLongA(w, GWL_STYLE, (GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL)) | WS_CLIPCHILDREN);
  RowPainterPair painters{nullptr, lvPaintRow};
  svInitEx(w, &d->view, DWORD(cs->dwExStyle) | kSbVertical | kSbHorizontal, &painters, 1, 1);
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(d));
  return DefWindowProcA(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

LRESULT OnCreate(HWND w, ListViewData* d, CREATESTRUCTA* cs) {
  if (!IsReport(cs->style)) return -1;
  SetWindowLongA(w, GWL_STYLE, (GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL)) | WS_CLIPCHILDREN);
  OnSetFont(w, d, 0, 0);
  if (!lvCreateHeader(w, d)) return -1;
  svResetBars(&d->view);
  lvLayoutHeader(w, d);
  svFitWholeRows(&d->view, cs->cx, cs->cy, svHasFrame(w));
  svSetLineStep(&d->view, 1, 1);
  svSetPageStep(&d->view, 1, -2);
  svSetLineStep(&d->view, 0, 6);
  svSetPageStep(&d->view, 0, 50);
  return 0;
}

void OnNcDestroy(HWND w, ListViewData* d) {
  if (!lvOwnerData(d))
    for (int i = 0; i < d->count; ++i) FreeRow(&d->rows[i]);
  std::free(d->rows);
  svCancelTracking(&d->view);
  svFree(&d->view);
  KeyedListClear(&d->columns);
  KeyedListClear(&d->selection);
  if (!(d->style & LVS_SHAREIMAGELISTS))
    for (HIMAGELIST list : d->images)
      if (list) ImageList_Destroy(list);
  SetWindowLongPtrA(w, 0, 0);
  HGLOBAL hg = GlobalHandle(d);
  GlobalUnlock(hg);
  GlobalFree(hg);
}

LRESULT OnHeaderNotify(HWND w, ListViewData* d, NMHDR* nm, WPARAM wParam, LPARAM lParam) {
  switch (nm->code) {
    case HDN_ENDDRAG:
      InvalidateRect(w, nullptr, TRUE);
      break;
    case HDN_ITEMCLICKA: {
      auto* hn = reinterpret_cast<NMHEADERA*>(nm);
      LvColumn* c = lvColumnOfHeaderItem(d->header, hn->iItem);
      NMLISTVIEW lv{};
      lv.iItem = -1;
      lv.iSubItem = c && (c->mask & LVCF_SUBITEM) ? c->subItem : hn->iItem;
      Notify(w, &lv.hdr, LVN_COLUMNCLICK);
      return 0;
    }
    case HDN_ITEMCHANGEDA:
      if (!d->redrawOff) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      UpdateDocWidth(d);
      return 0;
    case HDN_ITEMCHANGINGA:
      return 0;
    case NM_RCLICK: {
      DWORD pos = GetMessagePos();
      POINT p{short(LOWORD(pos)), short(HIWORD(pos))};
      ScreenToClient(w, &p);
      Activate(w, d, NM_RCLICK, -1, -1, p, 0);
      return 0;
    }
  }
  HWND parent = GetParent(w);
  (void)wParam;
  return parent ? SendMessageA(parent, WM_NOTIFY, GetDlgCtrlID(w), lParam) : 0;
}

LRESULT ListViewMessage(HWND w, ListViewData* d, UINT message, WPARAM wParam, LPARAM lParam) {
  const int index = int(wParam);
  switch (message) {
    case LVM_GETIMAGELIST:
      return index >= 0 && index <= 2 ? LRESULT(d->images[index]) : 0;
    case LVM_SETIMAGELIST: {
      if (index < 0 || index > 2) return 0;
      HIMAGELIST old = d->images[index];
      d->images[index] = reinterpret_cast<HIMAGELIST>(lParam);
      if (old != d->images[index]) svRedrawRect(&d->view, nullptr);
      return LRESULT(old);
    }
    case LVM_GETITEMCOUNT:
      return d->count;
    case LVM_GETITEMA:
      return GetItem(d, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMA:
      return SetItem(w, d, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_INSERTITEMA:
      return InsertItem(w, d, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_DELETEITEM:
      if (index < 0 || index >= d->count) return 0;
      DeleteItem(w, d, index, true);
      return 1;
    case LVM_DELETEALLITEMS: {
      NMLISTVIEW nm{};
      nm.iItem = -1;
      bool notify = Notify(w, &nm.hdr, LVN_DELETEALLITEMS) == 0;
      for (int i = d->count - 1; i >= 0; --i) DeleteItem(w, d, i, notify);
      return 1;
    }
    case LVM_GETNEXTITEM:
      return GetNextItem(d, index, LOWORD(lParam));
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST:
      return HitTest(d, reinterpret_cast<LVHITTESTINFO*>(lParam));
    case LVM_ENSUREVISIBLE:
      if (index < 0) return 0;
      svEnsureVisible(&d->view, index, 0, nullptr);
      return 1;
    case LVM_REDRAWITEMS: {
      int last = int(lParam);
      if (index < 0 || last < index || last >= d->count) return 0;
      RECT r;
      if (svRangeRect(&d->view, index, last, &r) == 0) InvalidateRect(w, &r, TRUE);
      return 1;
    }
    case LVM_GETCOLUMNA:
      return GetColumn(d, index, reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_SETCOLUMNA:
      return SetColumn(d, index, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_INSERTCOLUMNA:
      return InsertColumn(d, index, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN:
      return DeleteColumn(d, index);
    case LVM_GETCOLUMNWIDTH: {
      HDITEMA hi{};
      hi.mask = HDI_WIDTH;
      return d->header && SendMessageA(d->header, HDM_GETITEMA, index, LPARAM(&hi)) ? hi.cxy : 0;
    }
    case LVM_SETCOLUMNWIDTH: {
      int width = short(LOWORD(lParam));
      if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER || !d->header) return 0;
      HDITEMA hi{};
      hi.mask = HDI_WIDTH;
      hi.cxy = width;
      SendMessageA(d->header, HDM_SETITEMA, index, LPARAM(&hi));
      UpdateDocWidth(d);
      return 0;
    }
    case LVM_GETHEADER:
      return LRESULT(d->header);
    case LVM_GETCOUNTPERPAGE:
      return svGetFullRows(&d->view);
    case LVM_UPDATE:
      if (index < 0 || index >= d->count) return 0;
      Invalidate(d, index);
      return 1;
    case LVM_SETITEMSTATE:
      return SetItemState(w, d, index, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMSTATE: {
      if (index < 0 || index >= d->count) return 0;
      UINT mask = UINT(lParam), state = 0;
      if ((mask & LVIS_FOCUSED) && d->focused == index) state |= LVIS_FOCUSED;
      if ((mask & LVIS_SELECTED) && lvIsSelected(d, index)) state |= LVIS_SELECTED;
      return state;
    }
    case LVM_SETITEMTEXTA: {
      auto* in = reinterpret_cast<const LVITEMA*>(lParam);
      if (!in || in->iSubItem < 0 || in->iSubItem > d->highestSubItem) return 0;
      LvCell* c = Cell(d, index, in->iSubItem);
      if (!c || c->subItem != in->iSubItem) return 0;
      char* copy = CopyText(in->pszText);
      if (in->pszText && !copy) return 0;
      FreeText(c);
      c->text = copy;
      c->textSize = copy && copy != LV_CALLBACK ? int(std::strlen(copy)) + 1 : 0;
      c->mask |= LVIF_TEXT;
      Invalidate(d, index);
      return 1;
    }
    case LVM_SETITEMCOUNT:
      return SetItemCount(w, d, index, UINT(lParam));
    case LVM_SORTITEMS:
      return SortItems(w, d, LPARAM(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_GETSELECTEDCOUNT: {
      if (lvSingle(d)) return d->selected >= 0 ? 1 : 0;
      if (lvOwnerData(d)) return RangeSetCount(&d->selection);
      int n = 0;
      for (int i = 0; i < d->count; ++i) n += lvIsSelected(d, i);
      return n;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      LRESULT previous = d->header && (GetWindowLongA(d->header, GWL_STYLE) & HDS_DRAGDROP) ? 0x10 : 0;
      UINT mask = wParam ? UINT(wParam) : ~0u;
      if (d->header && (mask & LVS_EX_HEADERDRAGDROP)) {
        LONG style = GetWindowLongA(d->header, GWL_STYLE);
        style = (lParam & LVS_EX_HEADERDRAGDROP) ? (style | HDS_DRAGDROP) : (style & ~HDS_DRAGDROP);
        SetWindowLongA(d->header, GWL_STYLE, style);
      }
      return previous;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return d->header && (GetWindowLongA(d->header, GWL_STYLE) & HDS_DRAGDROP) ? 0x10 : 0;
    case LVM_GETSELECTIONMARK:
      return d->anchor;
    case LVM_SETSELECTIONMARK: {
      int previous = d->anchor;
      if (lParam >= 0) d->anchor = int(lParam);
      return previous;
    }
    case 0x86A0:
      if (lvSingle(d)) return -1;
      {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        state.state = (wParam & 1) ? LVIS_SELECTED : 0;
        SetItemState(w, d, -1, &state);
      }
      return d->count;
    case 0x86A1:
      if (lParam) *reinterpret_cast<UINT*>(lParam) = d->privateFlags & UINT(wParam);
      return 1;
    case 0x86A2:
      d->privateFlags = (d->privateFlags & ~UINT(wParam)) | (UINT(lParam) & UINT(wParam));
      return 1;
    default:
      return 0;
  }
}

LRESULT CALLBACK ListViewProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lParam));
  ListViewData* d = Rec(w);
  if (!d) return DefWindowProcA(w, message, wParam, lParam);
  if ((message >= LVM_FIRST && message < LVM_FIRST + 0x100) || (message >= 0x86A0 && message <= 0x86A2))
    return ListViewMessage(w, d, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      return OnCreate(w, d, reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_NCDESTROY:
      OnNcDestroy(w, d);
      return DefWindowProcA(w, message, wParam, lParam);
    case WM_SIZE:
      lvLayoutHeader(w, d);
      return 0;
    case WM_HSCROLL:
    case CCM_SETHPOS:
    case CCM_HPOSCHANGED:
      // The header follows the rows sideways.
      svDefWindowProc(&d->view, message, wParam, lParam);
      lvLayoutHeader(w, d);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      std::pair<ListViewData*, CcDefaults*> context{d, ccGetDefaultData()};
      return svPaintWindow(&d->view, GetParent(w), &context, 1, 1);
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (HWND(wParam) == w) return 0;
      if (message == WM_SETFOCUS)
        for (int i = std::max(svGetTopIndex(&d->view), 0); i < d->count && svIsRowShown(&d->view, i); ++i)
          if (lvIsSelected(d, i)) Invalidate(d, i);
      Invalidate(d, d->focused);
      return 0;
    case WM_SETREDRAW:
      d->redrawOff = wParam ? 0 : 1;
      if (d->header) {
        SendMessageA(d->header, WM_SETREDRAW, wParam, 0);
        d->headerRedrawOff = d->redrawOff;
      }
      svSetRedraw(&d->view, int(wParam));
      return 0;
    case WM_SETFONT:
      return OnSetFont(w, d, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU)
        if (HWND parent = GetParent(w)) SendMessageA(parent, message, wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN: {
      HWND parent = GetParent(w);
      return parent ? SendMessageA(parent, message, wParam, lParam) : 0;
    }
    case WM_KEYDOWN:
      if (HandleDialogNavigationKey(w, wParam)) return 0;
      OnKey(w, d, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnClick(w, d, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      POINT p, doc;
      int item = ItemAtPoint(d, lParam, &p, &doc);
      if (item >= 0)
        Activate(w, d, message == WM_LBUTTONDBLCLK ? LVN_ITEMACTIVATE : NM_RCLICK, item, ColumnAt(d, doc.x),
                 p, wParam);
      return 0;
    }
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lParam);
      if (nm && nm->hwndFrom == d->header) return OnHeaderNotify(w, d, nm, wParam, lParam);
      return DefWindowProcA(w, message, wParam, lParam);
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && item->hwndItem == d->header) return lvDrawHeaderItem(w, d, item);
      return 0;
    }
    case 0x2005:
    case 0x2006:
      return 0;
    default:
      return svDefWindowProc(&d->view, message, wParam, lParam);
  }
}

}  // namespace

bool lvIsSelected(const ListViewData* d, int item) {
  if (item < 0 || item >= d->count) return false;
  if (lvSingle(d)) return d->selected == item;
  if (lvOwnerData(d)) return RangeSetContains(&d->selection, item) != 0;
  const LvRow& row = d->rows[item];
  return row.cellCount > 0 && (row.cells[0].state & LVIS_SELECTED) != 0;
}

LvColumn* lvColumnOfHeaderItem(HWND header, int index) {
  HDITEMA hi{};
  hi.mask = HDI_LPARAM;
  if (!header || !SendMessageA(header, HDM_GETITEMA, index, LPARAM(&hi))) return nullptr;
  return reinterpret_cast<LvColumn*>(hi.lParam);
}

ATOM RegisterListViewClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ListViewProc;
  wc.cbWndExtra = kPointerSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
