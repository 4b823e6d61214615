// CGUITreeViewWnd: the toolkit's tree view. It answers the system's TVM_
// messages and sends the system's tree-view notifications, keeps its items
// in a TreeList (an item handle is the item's node in its parent's list)
// and shows each visible item as one row of an embedded ScrollView, drawn
// with connecting lines, plus/minus buttons, images and palette colours.
//
// Interface: RegisterTreeClass.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "controls.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "itemview.h"
#include "lists.h"
#include "treelist.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUITreeViewWnd";
constexpr int kBoldIndex = 140;  // palette index of bold items
constexpr int kDispTextChars = 500;
#define TVITEM_CALLBACK (reinterpret_cast<char*>(LPSTR_TEXTCALLBACKA))

struct TreeItem {
  TVITEMA fields;
  int16_t rowWidth;  // -1 until measured
  int16_t textWidth;
};

struct TreeViewData {
  int32_t count;
  TreeList* root;
  ScrollView view;
  int32_t indent;
  HTREEITEM selected;
  int32_t selectedRow;
  HIMAGELIST images;
  HIMAGELIST stateImages;
  int32_t redrawOff;
  DWORD style;
};

TreeViewData* Rec(HWND w) { return reinterpret_cast<TreeViewData*>(GetWindowLongPtrA(w, 0)); }

KeyedListNode* Node(HTREEITEM h) { return reinterpret_cast<KeyedListNode*>(h); }
HTREEITEM Handle(KeyedListNode* n) { return reinterpret_cast<HTREEITEM>(n); }
TreeList* Children(HTREEITEM h) { return TreeListOfNode(Node(h)); }
TreeItem* Item(HTREEITEM h) {
  return h ? static_cast<TreeItem*>(TreeListPayload(Children(h), nullptr)) : nullptr;
}
TreeListHead* Head(TreeList* list) { return static_cast<TreeListHead*>(list->user); }
int Depth(HTREEITEM h) { return Head(Children(h))->depth; }
// The list that holds the item (its siblings).
TreeList* Container(HTREEITEM h) { return Head(Children(h))->parent; }
HTREEITEM Parent(HTREEITEM h) {
  TreeList* container = Container(h);
  return Head(container)->parent ? Handle(KeyedListNodeOf(container)) : nullptr;
}
HTREEITEM Next(HTREEITEM h) { return Handle(Node(h)->next); }
HTREEITEM Prev(HTREEITEM h) { return Handle(Node(h)->prev); }
HTREEITEM FirstChild(HTREEITEM h) { return Handle(Children(h)->first); }
bool Expanded(HTREEITEM h) { return (Item(h)->fields.state & TVIS_EXPANDED) != 0; }

COLORREF Colour(long value) { return value >= 0 && value <= 0xFF ? PALETTEINDEX(value) : COLORREF(value); }

int Indent(const TreeViewData* d) { return d->indent ? d->indent : 32; }

int RowOf(TreeViewData* d, HTREEITEM h) { return h ? svFindData(&d->view, -1, intptr_t(h)) : -1; }
HTREEITEM ItemOfRow(TreeViewData* d, int row) {
  if (row < 0 || row >= svGetCount(&d->view)) return nullptr;
  return reinterpret_cast<HTREEITEM>(intptr_t(svItemData(&d->view, row)));
}

bool Visible(HTREEITEM h) {
  for (HTREEITEM p = Parent(h); p; p = Parent(p))
    if (!Expanded(p)) return false;
  return true;
}

// The last row of the item's visible subtree.
HTREEITEM LastVisibleDescendant(HTREEITEM h) {
  while (Expanded(h) && Children(h)->last) h = Handle(Children(h)->last);
  return h;
}

// --- notifications ---

void FillItem(TVITEMA* out, HTREEITEM h) {
  std::memset(out, 0, sizeof *out);
  if (!h) return;
  *out = Item(h)->fields;
}

LRESULT SendNotify(HWND w, NMHDR* header, UINT code) {
  header->hwndFrom = w;
  header->idFrom = UINT_PTR(GetDlgCtrlID(w));
  header->code = code;
  HWND parent = GetParent(w);
  return parent ? SendMessageA(parent, WM_NOTIFY, header->idFrom, LPARAM(header)) : 0;
}

LRESULT NotifyTree(HWND w, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem) {
  NMTREEVIEWA nm{};
  nm.action = action;
  FillItem(&nm.itemOld, oldItem);
  FillItem(&nm.itemNew, newItem);
  return SendNotify(w, &nm.hdr, code);
}

// Callback fields are asked for before drawing or measuring.
void FetchDisplay(HWND w, HTREEITEM h, char* buffer) {
  TVITEMA& f = Item(h)->fields;
  UINT mask = 0;
  if ((f.mask & TVIF_TEXT) && f.pszText == TVITEM_CALLBACK) mask |= TVIF_TEXT;
  if ((f.mask & TVIF_IMAGE) && f.iImage == I_IMAGECALLBACK) mask |= TVIF_IMAGE;
  if ((f.mask & TVIF_SELECTEDIMAGE) && f.iSelectedImage == I_IMAGECALLBACK) mask |= TVIF_SELECTEDIMAGE;
  if ((f.mask & TVIF_CHILDREN) && f.cChildren == I_CHILDRENCALLBACK) mask |= TVIF_CHILDREN;
  if (!mask) return;
  NMTVDISPINFOA nm{};
  nm.item.mask = mask;
  nm.item.hItem = h;
  nm.item.lParam = f.lParam;
  buffer[0] = 0;
  nm.item.pszText = buffer;
  nm.item.cchTextMax = kDispTextChars;
  SendNotify(w, &nm.hdr, TVN_GETDISPINFOA);
  if (!(nm.item.mask & TVIF_DI_SETITEM)) return;
  if ((mask & TVIF_TEXT) && nm.item.pszText) {
    size_t n = std::strlen(nm.item.pszText);
    if (char* copy = static_cast<char*>(std::malloc(n + 1))) {
      std::memcpy(copy, nm.item.pszText, n + 1);
      f.pszText = copy;
    }
  }
  if (mask & TVIF_IMAGE) f.iImage = nm.item.iImage;
  if (mask & TVIF_SELECTEDIMAGE) f.iSelectedImage = nm.item.iSelectedImage;
  if (mask & TVIF_CHILDREN) f.cChildren = nm.item.cChildren;
}

// The text to show: the stored one or the display answer.
const char* TextOf(HWND w, HTREEITEM h, char* buffer) {
  FetchDisplay(w, h, buffer);
  const TVITEMA& f = Item(h)->fields;
  if (!(f.mask & TVIF_TEXT) || !f.pszText) return "";
  return f.pszText == TVITEM_CALLBACK ? buffer : f.pszText;
}

bool ImageExists(HIMAGELIST list, int index) {
  return list && index >= 0 && index < ImageList_GetImageCount(list);
}

int MeasureRow(HWND w, TreeViewData* d, HTREEITEM h) {
  TreeItem* item = Item(h);
  if (item->rowWidth >= 0) return item->rowWidth;
  const int indent = Indent(d);
  int width = (d->style & TVS_HASLINES) ? (Depth(h) + ((d->style & TVS_LINESATROOT) ? 1 : 0)) * indent
                                        : Depth(h) * indent;
  const TVITEMA& f = item->fields;
  if (ImageExists(d->stateImages, int((f.state & TVIS_STATEIMAGEMASK) >> 12)) &&
      (f.state & TVIS_STATEIMAGEMASK))
    width += indent;
  if (ImageExists(d->images, f.iImage) || ImageExists(d->images, f.iSelectedImage)) width += indent;
  char buffer[kDispTextChars + 1];
  const char* text = TextOf(w, h, buffer);
  SIZE size{};
  if (*text) {
    HDC dc = GetDC(w);
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
    ReleaseDC(w, dc);
  }
  item->textWidth = int16_t(size.cx);
  item->rowWidth = *text ? int16_t(width + size.cx) : 0;
  return item->rowWidth;
}

void RedrawRow(TreeViewData* d, HTREEITEM h) {
  int row = RowOf(d, h);
  if (row >= 0) svInvalidateItem(&d->view, row);
}

// Insertion step 4 and deletion: children 1 when the item has children, 0 otherwise.
void UpdateChildrenField(TreeViewData* d, HTREEITEM parent) {
  if (!parent) return;
  TVITEMA& f = Item(parent)->fields;
  int now = Children(parent)->count > 0 ? 1 : 0;
  bool wasSet = (f.mask & TVIF_CHILDREN) != 0;
  int before = wasSet ? f.cChildren : 0;
  f.mask |= TVIF_CHILDREN;
  f.cChildren = now;
  if (before != now) RedrawRow(d, parent);
}

// Rows for the visible children of an expanded item, after row `after`;
// returns the row after the last one given.
int AddChildRows(HWND w, TreeViewData* d, HTREEITEM parent, int row) {
  for (HTREEITEM c = FirstChild(parent); c; c = Next(c)) {
    if (svInsertItem(&d->view, row, intptr_t(c), MeasureRow(w, d, c)) < 0) return row;
    svEnsureVisible(&d->view, row, 0, nullptr);
    ++row;
    if (Expanded(c)) row = AddChildRows(w, d, c, row);
  }
  return row;
}

int Expand(HWND w, TreeViewData* d, HTREEITEM h, bool notify) {
  if (Expanded(h)) return 0;
  if (notify) NotifyTree(w, TVN_ITEMEXPANDINGA, TVE_EXPAND, nullptr, h);
  Item(h)->fields.state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  int shown = 0;
  int row = RowOf(d, h);
  if (row >= 0) {
    int end = AddChildRows(w, d, h, row + 1);
    shown = end > row + 1 ? 1 : 0;
    svEnsureVisible(&d->view, row, 0, nullptr);
  }
  if (notify) NotifyTree(w, TVN_ITEMEXPANDEDA, TVE_EXPAND, nullptr, h);
  RedrawRow(d, h);
  return shown;
}

void Collapse(HWND w, TreeViewData* d, HTREEITEM h, bool notify) {
  if (!Expanded(h)) return;
  if (notify) NotifyTree(w, TVN_ITEMEXPANDINGA, TVE_COLLAPSE, nullptr, h);
  int row = RowOf(d, h);
  HTREEITEM last = LastVisibleDescendant(h);
  if (row >= 0 && last != h) {
    int lastRow = RowOf(d, last);
    svDeleteRange(&d->view, row + 1, lastRow);
    // A selection inside the collapsed rows no longer has a row.
    if (d->selectedRow > row && d->selectedRow <= lastRow) d->selectedRow = -1;
  }
  Item(h)->fields.state &= ~TVIS_EXPANDED;
  if (notify) NotifyTree(w, TVN_ITEMEXPANDEDA, TVE_COLLAPSE, nullptr, h);
  RedrawRow(d, h);
}

int Toggle(HWND w, TreeViewData* d, HTREEITEM h) {
  if (Expanded(h)) {
    Collapse(w, d, h, true);
    return 0;
  }
  return Expand(w, d, h, true);
}

bool Select(HWND w, TreeViewData* d, HTREEITEM h, UINT action) {
  if (h == d->selected) return true;
  if (NotifyTree(w, TVN_SELCHANGINGA, action, d->selected, h)) return false;
  HTREEITEM old = d->selected;
  if (old) {
    Item(old)->fields.state &= ~TVIS_SELECTED;
    RedrawRow(d, old);
  }
  d->selected = h;
  d->selectedRow = h ? RowOf(d, h) : -1;
  if (h) {
    Item(h)->fields.state |= TVIS_SELECTED;
    RedrawRow(d, h);
  }
  NotifyTree(w, TVN_SELCHANGEDA, action, old, h);
  return true;
}

// Expands the ancestors from the top down, then scrolls to the row.
bool BringIntoView(HWND w, TreeViewData* d, HTREEITEM h, bool asTop, bool horizontal, int* scrolled) {
  if (scrolled) *scrolled = 0;
  if (RowOf(d, h) < 0) {
    HTREEITEM chain[64];
    int n = 0;
    for (HTREEITEM p = Parent(h); p && n < 64; p = Parent(p)) chain[n++] = p;
    while (n > 0) Expand(w, d, chain[--n], true);
  }
  int row = RowOf(d, h);
  if (row < 0) return false;
  if (!svEnsureVisible(&d->view, row, asTop ? 1 : 0, scrolled)) return false;
  if (horizontal) {
    TreeItem* item = Item(h);
    int right = MeasureRow(w, d, h) - 1;
    svEnsureOffsetVisible(&d->view, std::max(right - item->textWidth, 0), std::max(right, 0));
  }
  return true;
}

void FreeText(TreeItem* item) {
  if ((item->fields.mask & TVIF_TEXT) && item->fields.pszText != TVITEM_CALLBACK)
    std::free(item->fields.pszText);
  item->fields.pszText = nullptr;
}

struct DeleteContext {
  HWND window;
  TreeViewData* data;
  bool notify;
};

// Each removed item: its deletion notice, its text, its row.
int OnItemRemoved(void* payload, uint32_t, void* context) {
  auto* c = static_cast<DeleteContext*>(context);
  auto* item = static_cast<TreeItem*>(payload);
  if (!item) return TW_DESCEND;
  HTREEITEM h = item->fields.hItem;
  if (c->notify) NotifyTree(c->window, TVN_DELETEITEMA, 0, h, nullptr);
  FreeText(item);
  int row = RowOf(c->data, h);
  if (row >= 0) svDeleteItem(&c->data->view, row);
  // A deleted item cannot stay selected.
  if (c->data->selected == h) {
    c->data->selected = nullptr;
    c->data->selectedRow = -1;
  }
  return TW_DESCEND;
}

int DeleteItem(HWND w, TreeViewData* d, HTREEITEM h) {
  HTREEITEM parent = Parent(h);
  TreeList* container = Container(h);
  bool wasSelected = false;
  for (HTREEITEM s = d->selected; s; s = Parent(s))
    if (s == h) wasSelected = true;
  if (wasSelected) Select(w, d, nullptr, TVC_UNKNOWN);
  --d->count;
  if (!Next(h) && Prev(h)) RedrawRow(d, Prev(h));
  DeleteContext context{w, d, true};
  TreeListRemoveChild(container, Node(h), OnItemRemoved, &context);
  UpdateChildrenField(d, parent);
  if (d->selected) d->selectedRow = RowOf(d, d->selected);
  return 1;
}

HTREEITEM Insert(HWND w, TreeViewData* d, const TVINSERTSTRUCTA* in) {
  if (!in) return nullptr;
  HTREEITEM parent = in->hParent == TVI_ROOT ? nullptr : in->hParent;
  TreeList* container = parent ? Children(parent) : d->root;
  TreeItem item{};
  item.fields = in->item;
  item.fields.state &= ~(TVIS_SELECTED);
  item.rowWidth = -1;
  if ((item.fields.mask & TVIF_TEXT) && item.fields.pszText && item.fields.pszText != TVITEM_CALLBACK) {
    size_t n = std::strlen(in->item.pszText);
    item.fields.pszText = static_cast<char*>(std::malloc(n + 1));
    if (!item.fields.pszText) return nullptr;
    std::memcpy(item.fields.pszText, in->item.pszText, n + 1);
  }
  KeyedListNode* node;
  if (in->hInsertAfter == TVI_FIRST)
    node = TreeListAddChild(container, &item, sizeof item, KL_AT_HEAD);
  else if (in->hInsertAfter && in->hInsertAfter != TVI_LAST && in->hInsertAfter != TVI_SORT &&
           in->hInsertAfter != TVI_ROOT)
    node = TreeListAddChildAfter(container, Node(in->hInsertAfter), &item, sizeof item);
  else
    node = TreeListAddChild(container, &item, sizeof item, KL_AT_TAIL);
  if (!node) {
    FreeText(&item);
    return nullptr;
  }
  HTREEITEM h = Handle(node);
  TreeItem* stored = Item(h);
  stored->fields.hItem = h;
  stored->fields.mask |= TVIF_HANDLE;
  UpdateChildrenField(d, parent);
  if (Visible(h)) {
    // After the previous sibling's visible subtree, else right after the
    // parent's row, else first.
    int row = 0;
    if (Prev(h))
      row = RowOf(d, LastVisibleDescendant(Prev(h))) + 1;
    else if (parent)
      row = RowOf(d, parent) + 1;
    const bool found = row > 0 || (!Prev(h) && !parent);
    if (!found || svInsertItem(&d->view, row, intptr_t(h), MeasureRow(w, d, h)) < 0) {
      DeleteContext context{w, d, false};
      TreeListRemoveChild(container, node, OnItemRemoved, &context);
      UpdateChildrenField(d, parent);
      return nullptr;
    }
    if (Prev(h) && !Next(h)) svInvalidateItem(&d->view, row - 1);
    if (d->selected) d->selectedRow = RowOf(d, d->selected);
  }
  ++d->count;
  return h;
}

// --- painting ---

void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void PaintRow(RowPaintRecord* r) {
  HWND w = static_cast<HWND>(r->context);
  TreeViewData* d = Rec(w);
  HTREEITEM h = reinterpret_cast<HTREEITEM>(intptr_t(r->data));
  if (!d || !h) return;
  char buffer[kDispTextChars + 1];
  const char* text = TextOf(w, h, buffer);
  const TVITEMA& f = Item(h)->fields;
  HDC dc = r->dc;
  SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  CcDefaults* defaults = ccGetDefaultData();
  if (defaults && defaults->palette) SelectAndRealizePalette(dc, nullptr, defaults->palette);
  const int indent = Indent(d);
  const bool atRoot = (d->style & TVS_LINESATROOT) != 0;
  RECT rect = r->row;
  const int mid = (rect.top + rect.bottom) / 2;
  const int depth = Depth(h);
  if (d->style & TVS_HASLINES) {
    HPEN pen = CreatePen(PS_SOLID, 1, Colour(defaults ? long(defaults->treeColours[0]) : 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    // Ancestors' columns, outermost first.
    HTREEITEM ancestors[64];
    int n = 0;
    for (HTREEITEM p = Parent(h); p && n < 64; p = Parent(p)) ancestors[n++] = p;
    for (int i = n - 1; i >= 0; --i) {
      if (Depth(ancestors[i]) == 0 && !atRoot) continue;
      int x = rect.left + indent / 2;
      if (Next(ancestors[i])) DrawLine(dc, x, rect.top, x, rect.bottom);
      rect.left += indent;
    }
    if (depth > 0 || atRoot) {
      int x = rect.left + indent / 2;
      bool firstRow = depth == 0 && !Prev(h);
      DrawLine(dc, x, firstRow ? mid : rect.top, x, Next(h) ? rect.bottom : mid + 1);
      DrawLine(dc, x, mid, rect.left + indent, mid);
      rect.left += indent;
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  } else {
    rect.left += depth * indent;
  }
  // Buttons.
  const bool hasChildren =
      (f.mask & TVIF_CHILDREN) && (f.cChildren == 1 || f.cChildren == I_CHILDRENCALLBACK);
  if ((d->style & TVS_HASBUTTONS) && (d->style & TVS_HASLINES) && hasChildren && (depth > 0 || atRoot)) {
    int level = atRoot ? depth : depth - 1;
    PackedDib* button = defaults ? defaults->treeBitmaps[(f.state & TVIS_EXPANDED) ? 1 : 0] : nullptr;
    if (reinterpret_cast<uintptr_t>(button) <= 0xFFFF) button = nullptr;
    int32_t size[2] = {9, 9};
    if (button) dibGetDibDimensions(button, size);
    size[1] = std::abs(size[1]);
    int x = r->row.left + (indent + 1 - size[0]) / 2 + level * indent;
    int y = mid - size[1] / 2;
    if (button) {
      dibDisplay(dc, x, y, size[0], size[1], 0, 0, button);
    } else {
      RECT box{x, y, x + size[0], y + size[1]};
      FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
      FrameRect(dc, &box, GetSysColorBrush(COLOR_GRAYTEXT));
      DrawLine(dc, x + 2, y + size[1] / 2, x + size[0] - 2, y + size[1] / 2);
      if (!(f.state & TVIS_EXPANDED)) DrawLine(dc, x + size[0] / 2, y + 2, x + size[0] / 2, y + size[1] - 2);
    }
  }
  // State image and image.
  int stateIndex = int((f.state & TVIS_STATEIMAGEMASK) >> 12);
  if (d->stateImages && stateIndex > 0) {
    int cx = 16, cy = 16;
    ImageList_GetIconSize(d->stateImages, &cx, &cy);
    ImageList_Draw(d->stateImages, stateIndex, dc, rect.left, mid - cy / 2, ILD_TRANSPARENT);
    rect.left += cx + indent;
  }
  if (d->images) {
    const bool selected = (f.state & TVIS_SELECTED) != 0;
    int image = selected ? ((f.mask & TVIF_SELECTEDIMAGE) ? f.iSelectedImage : -1)
                         : ((f.mask & TVIF_IMAGE) ? f.iImage : -1);
    int cx = 16, cy = 16;
    if (!ImageList_GetIconSize(d->images, &cx, &cy)) cy = 16;
    if (image >= 0) {
      ImageList_Draw(d->images, image, dc, rect.left, mid - cy / 2,
                     ILD_TRANSPARENT | (f.state & TVIS_OVERLAYMASK));
      rect.left += cx + 2;
    }
  }
  if (f.state & TVIS_SELECTED) {
    RECT fill{rect.left, rect.top, r->row.right, rect.bottom};
    PaintRectWithPaletteIndex(dc, &fill, defaults ? defaults->listSelection : 0);
  }
  int colour = (f.state & TVIS_BOLD)       ? kBoldIndex
               : (f.state & TVIS_SELECTED) ? (defaults ? defaults->listSelectedText : 0)
                                           : (defaults ? defaults->listText : 0);
  SetTextColor(dc, PALETTEINDEX(colour));
  RECT textRect{rect.left + 2, rect.top, r->row.right, rect.bottom};
  DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  RestoreDC(dc, -1);
}

// The button's rectangle of an item's row, in client coordinates.
bool OnButton(TreeViewData* d, HTREEITEM h, POINT p, int row) {
  const TVITEMA& f = Item(h)->fields;
  const bool atRoot = (d->style & TVS_LINESATROOT) != 0;
  if (!(d->style & TVS_HASBUTTONS) || !(d->style & TVS_HASLINES) || !(f.mask & TVIF_CHILDREN) ||
      !(f.cChildren == 1 || f.cChildren == I_CHILDRENCALLBACK) || (Depth(h) == 0 && !atRoot))
    return false;
  RECT rowRect;
  if (svItemRect(&d->view, row, &rowRect) != 0) return false;
  int level = atRoot ? Depth(h) : Depth(h) - 1;
  int left = rowRect.left + level * Indent(d) - d->view.hOffset;
  return p.x >= left && p.x < left + Indent(d);
}

// --- window messages ---

LRESULT GetNextItem(TreeViewData* d, WPARAM code, HTREEITEM h) {
  switch (code) {
    case TVGN_ROOT:
      return LRESULT(Handle(d->root->first));
    case TVGN_NEXT:
      return h ? LRESULT(Next(h)) : 0;
    case TVGN_PREVIOUS:
      return h ? LRESULT(Prev(h)) : 0;
    case TVGN_PARENT:
      return h ? LRESULT(Parent(h)) : 0;
    case TVGN_CHILD:
      return h ? LRESULT(FirstChild(h)) : LRESULT(Handle(d->root->first));
    case TVGN_FIRSTVISIBLE:
      return LRESULT(ItemOfRow(d, svGetTopIndex(&d->view)));
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      int row = RowOf(d, h);
      if (row < 0) return 0;
      row += code == TVGN_NEXTVISIBLE ? 1 : -1;
      return svIsRowShown(&d->view, row) ? LRESULT(ItemOfRow(d, row)) : 0;
    }
    case TVGN_CARET:
      return LRESULT(d->selected);
    default:
      return 0;
  }
}

LRESULT GetItem(HWND w, TreeViewData* d, TVITEMA* out) {
  if (!out || !out->hItem) return 0;
  (void)d;
  const TVITEMA& f = Item(out->hItem)->fields;
  if (out->mask & TVIF_CHILDREN)
    out->cChildren = (f.mask & TVIF_CHILDREN) ? f.cChildren : (Children(out->hItem)->count ? 1 : 0);
  if (out->mask & TVIF_IMAGE) out->iImage = (f.mask & TVIF_IMAGE) ? f.iImage : -1;
  if (out->mask & TVIF_SELECTEDIMAGE)
    out->iSelectedImage = (f.mask & TVIF_SELECTEDIMAGE) ? f.iSelectedImage : -1;
  if (out->mask & TVIF_PARAM) {
    if (!(f.mask & TVIF_PARAM)) return 0;
    out->lParam = f.lParam;
  }
  if (out->mask & TVIF_STATE) {
    out->state = f.state & out->stateMask;
    if (!f.state) out->stateMask &= ~TVIF_STATE;
  }
  if (out->mask & TVIF_TEXT) {
    char buffer[kDispTextChars + 1];
    const char* text = TextOf(w, out->hItem, buffer);
    if (!(f.mask & TVIF_TEXT) || f.pszText == TVITEM_CALLBACK || !out->pszText ||
        int(std::strlen(text)) >= out->cchTextMax)
      return 0;
    std::strcpy(out->pszText, text);
  }
  return 1;
}

LRESULT SetItem(HWND w, TreeViewData* d, const TVITEMA* in) {
  if (!in || !in->hItem) return 0;
  HTREEITEM h = in->hItem;
  TreeItem* item = Item(h);
  TVITEMA& f = item->fields;
  bool changed = false, redrawn = false;
  if (in->mask & TVIF_TEXT) {
    char* copy = TVITEM_CALLBACK;
    if (in->pszText && in->pszText != TVITEM_CALLBACK) {
      size_t n = std::strlen(in->pszText);
      copy = static_cast<char*>(std::malloc(n + 1));
      if (!copy) return 0;
      std::memcpy(copy, in->pszText, n + 1);
    }
    FreeText(item);
    f.pszText = copy;
    f.mask |= TVIF_TEXT;
    item->rowWidth = -1;
    changed = true;
  }
  if (in->mask & TVIF_CHILDREN) {
    if ((d->style & TVS_HASBUTTONS) && (!(f.mask & TVIF_CHILDREN) || f.cChildren != in->cChildren))
      changed = true;
    f.cChildren = in->cChildren;
    f.mask |= TVIF_CHILDREN;
  }
  auto store = [&](UINT bit, int& field, int value) {
    if (!(in->mask & bit)) return;
    if (!(f.mask & bit) || field != value) changed = true;
    field = value;
    f.mask |= bit;
  };
  store(TVIF_IMAGE, f.iImage, in->iImage);
  store(TVIF_SELECTEDIMAGE, f.iSelectedImage, in->iSelectedImage);
  if (in->mask & TVIF_PARAM) {
    if (!(f.mask & TVIF_PARAM) || f.lParam != in->lParam) changed = true;
    f.lParam = in->lParam;
    f.mask |= TVIF_PARAM;
  }
  if (in->mask & TVIF_STATE) {
    UINT direct = in->stateMask & ~UINT(1 | TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    UINT state = (f.state & ~direct) | (in->state & direct);
    if (state != f.state) changed = true;
    f.state = state;
    if (in->stateMask & TVIS_EXPANDEDONCE)
      f.state = (f.state & ~TVIS_EXPANDEDONCE) | (in->state & TVIS_EXPANDEDONCE);
    if ((in->stateMask & TVIS_EXPANDED) && ((in->state ^ f.state) & TVIS_EXPANDED)) {
      Toggle(w, d, h);
      redrawn = true;
    }
    if ((in->stateMask & TVIS_SELECTED) && ((in->state ^ f.state) & TVIS_SELECTED)) {
      Select(w, d, (in->state & TVIS_SELECTED) ? h : nullptr, TVC_UNKNOWN);
      redrawn = true;
    }
    item->rowWidth = -1;
  }
  if (changed && !redrawn) RedrawRow(d, h);
  return 1;
}

void OnClick(HWND w, TreeViewData* d, LPARAM lParam, bool dbl) {
  if (!dbl) SetFocus(w);
  POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
  int outside = 0;
  int row = svHitTest(&d->view, &p, &outside);
  if (row < 0 || outside) return;
  RECT rowRect;
  if (svItemRect(&d->view, row, &rowRect) != 0 || p.y >= rowRect.bottom) return;
  HTREEITEM h = ItemOfRow(d, row);
  bool onButton = OnButton(d, h, p, row);
  if (dbl) {
    Toggle(w, d, h);
    if (!onButton) {
      NMHDR nm{};
      SendNotify(w, &nm, NM_DBLCLK);
    }
    return;
  }
  BringIntoView(w, d, h, false, false, nullptr);
  Select(w, d, h, TVC_BYMOUSE);
  if (onButton) Toggle(w, d, h);
}

void OnKey(HWND w, TreeViewData* d, WPARAM key) {
  NMTVKEYDOWN nm{};
  nm.wVKey = WORD(key);
  SendNotify(w, &nm.hdr, TVN_KEYDOWN);
  const int rows = svGetCount(&d->view);
  // A tree shorter than one row counts one: Page Down never moves up.
  const int visible = std::max(svGetFullRows(&d->view), 1);
  if (GetKeyState(VK_CONTROL) < 0) {
    int top = std::max(svGetTopIndex(&d->view), 0);
    switch (key) {
      case VK_PRIOR:
        if (top >= visible - 1) svTrackTop(&d->view, top - (visible - 1));
        break;
      case VK_NEXT:
        if (top + visible - 1 < rows) svVScroll(&d->view, SB_PAGEDOWN);
        break;
      case VK_END:
        svEnsureVisible(&d->view, rows - 1, 0, nullptr);
        break;
      case VK_HOME:
        svEnsureVisible(&d->view, 0, 0, nullptr);
        break;
      case VK_UP:
        svVScroll(&d->view, SB_LINEUP);
        break;
      case VK_DOWN:
        svVScroll(&d->view, SB_LINEDOWN);
        break;
    }
    return;
  }
  if (rows == 0) return;
  const int sel = d->selected ? RowOf(d, d->selected) : -1;
  int row;
  switch (key) {
    case VK_LEFT:
      if (sel < 0) {
        row = 0;
        break;
      }
      if (Expanded(d->selected) && Children(d->selected)->count) {
        Collapse(w, d, d->selected, true);
        return;
      }
      row = Parent(d->selected) ? RowOf(d, Parent(d->selected)) : sel;
      break;
    case VK_RIGHT:
      if (sel < 0) {
        row = 0;
        break;
      }
      if (!Children(d->selected)->count) return;
      if (!Expanded(d->selected)) {
        Expand(w, d, d->selected, true);
        return;
      }
      row = sel + 1;
      break;
    default:
      row = svKeyTargetRow(key, sel, rows, visible);
      if (row < 0) return;
  }
  row = std::clamp(row, 0, rows - 1);
  HTREEITEM h = ItemOfRow(d, row);
  BringIntoView(w, d, h, false, false, nullptr);
  Select(w, d, h, TVC_BYKEYBOARD);
}

LRESULT OnSetFont(HWND w, TreeViewData* d, WPARAM font, LPARAM redraw) {
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPoint32A(dc, "AWXZyjpg", 8, &size);
  ReleaseDC(w, dc);
  svSetItemHeight(&d->view, size.cy, 0);
  if (redraw) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return LRESULT(old);
}

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  HGLOBAL hg = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(TreeViewData));
  auto* d = hg ? static_cast<TreeViewData*>(GlobalLock(hg)) : nullptr;
  if (!d) return FALSE;
  d->selectedRow = -1;
  d->style = cs->style;
  DWORD flags = DWORD(cs->dwExStyle);
  if (cs->style & WS_HSCROLL) flags |= kSbHorizontal;
  if (cs->style & WS_VSCROLL) flags |= kSbVertical;
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
  RowPainterPair painters{nullptr, PaintRow};
  svInit(w, &d->view, flags, &painters);
  svReserve(&d->view, 64);
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(d));
  return DefWindowProcA(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

LRESULT OnCreate(HWND w, TreeViewData* d, CREATESTRUCTA* cs) {
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
  d->root = TreeListCreateRoot();
  if (!d->root) return -1;
  OnSetFont(w, d, 0, 0);
  svResetBars(&d->view);
  svSize(&d->view);
  svFitWholeRows(&d->view, cs->cx, cs->cy, svHasFrame(w));
  svSetLineStep(&d->view, 1, 1);
  svSetPageStep(&d->view, 1, 0);
  svSetLineStep(&d->view, 0, 6);
  svSetPageStep(&d->view, 0, 50);
  return 0;
}

void OnNcDestroy(HWND w, TreeViewData* d) {
  if (d->root) {
    DeleteContext context{w, d, true};
    TreeListDestroy(d->root, OnItemRemoved, &context);
  }
  svCancelTracking(&d->view);
  svFree(&d->view);
  if (d->images) ImageList_Destroy(d->images);
  if (d->stateImages) ImageList_Destroy(d->stateImages);
  SetWindowLongPtrA(w, 0, 0);
  HGLOBAL hg = GlobalHandle(d);
  GlobalUnlock(hg);
  GlobalFree(hg);
}

LRESULT TreeMessage(HWND w, TreeViewData* d, UINT message, WPARAM wParam, LPARAM lParam) {
  auto item = reinterpret_cast<HTREEITEM>(lParam);
  switch (message) {
    case TVM_INSERTITEMA:
      return LRESULT(Insert(w, d, reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM:
      if (item == TVI_ROOT) {
        DeleteContext context{w, d, false};
        TreeListDestroy(d->root, OnItemRemoved, &context);
        d->root = TreeListCreateRoot();
        svResetContent(&d->view);
        d->count = 0;
        d->selected = nullptr;
        d->selectedRow = -1;
        return 1;
      }
      return item ? DeleteItem(w, d, item) : 0;
    case TVM_EXPAND: {
      if (!item) return 0;
      UINT code = UINT(wParam);
      bool notify = !(Item(item)->fields.state & TVIS_EXPANDEDONCE);
      if (code & TVE_COLLAPSERESET) {
        bool any = Children(item)->count > 0;
        Collapse(w, d, item, false);
        Item(item)->fields.state &= ~(TVIS_EXPANDED | TVIS_EXPANDEDONCE);
        while (HTREEITEM c = FirstChild(item)) DeleteItem(w, d, c);
        return any ? 1 : 0;
      }
      switch (code & 3) {
        case TVE_COLLAPSE:
          Collapse(w, d, item, false);
          return 0;
        case TVE_EXPAND:
          return Expand(w, d, item, notify);
        case TVE_TOGGLE:
          if (Expanded(item)) {
            Collapse(w, d, item, false);
            return 0;
          }
          return Expand(w, d, item, notify);
      }
      return 0;
    }
    case TVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect) return 0;
      HTREEITEM h = *reinterpret_cast<HTREEITEM*>(rect);
      int row = RowOf(d, h);
      if (row < 0 || svItemRect(&d->view, row, rect) != 0) return 0;
      if (wParam) {
        int width = MeasureRow(w, d, h);
        RECT client;
        svGetClientRect(&d->view, &client);
        rect->left = std::max(int(client.left), width - 1 - Item(h)->textWidth - d->view.hOffset);
        rect->right = std::min(int(client.right), width - 1 - d->view.hOffset);
      }
      return 1;
    }
    case TVM_GETCOUNT:
      return d->count;
    case TVM_GETINDENT:
      return d->indent;
    case TVM_SETINDENT:
      d->indent = int(wParam);
      if (!d->redrawOff)
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
      return 0;
    case TVM_GETIMAGELIST:
      return wParam == TVSIL_NORMAL  ? LRESULT(d->images)
             : wParam == TVSIL_STATE ? LRESULT(d->stateImages)
                                     : 0;
    case TVM_SETIMAGELIST: {
      HIMAGELIST* slot = wParam == TVSIL_NORMAL  ? &d->images
                         : wParam == TVSIL_STATE ? &d->stateImages
                                                 : nullptr;
      if (!slot) return 0;
      HIMAGELIST old = *slot;
      *slot = reinterpret_cast<HIMAGELIST>(lParam);
      return LRESULT(old);
    }
    case TVM_GETNEXTITEM:
      return GetNextItem(d, wParam, item);
    case TVM_SELECTITEM:
      if (!item) {
        Select(w, d, nullptr, TVC_UNKNOWN);
        return 1;
      }
      if (wParam == TVGN_CARET) {
        if (!BringIntoView(w, d, item, false, false, nullptr)) return 0;
        Select(w, d, item, TVC_UNKNOWN);
        return 1;
      }
      if (wParam == TVGN_FIRSTVISIBLE) return BringIntoView(w, d, item, true, true, nullptr) ? 1 : 0;
      return 0;
    case TVM_GETITEMA:
      return GetItem(w, d, reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA:
      return SetItem(w, d, reinterpret_cast<const TVITEMA*>(lParam));
    case TVM_GETVISIBLECOUNT:
      return svGetFullRows(&d->view);
    case TVM_ENSUREVISIBLE: {
      if (!item) return 0;
      int scrolled = 0;
      BringIntoView(w, d, item, false, true, &scrolled);
      return scrolled;
    }
    default:
      return 0;  // editing, hit testing, drag images, sorting and search are not offered
  }
}

LRESULT CALLBACK TreeProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lParam));
  TreeViewData* d = Rec(w);
  if (!d) return DefWindowProcA(w, message, wParam, lParam);
  if (message >= TV_FIRST && message < TV_FIRST + 0x40 && d->root)
    return TreeMessage(w, d, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      return OnCreate(w, d, reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_NCDESTROY:
      OnNcDestroy(w, d);
      return DefWindowProcA(w, message, wParam, lParam);
    case WM_SIZE:
      return svSize(&d->view);
    case WM_PAINT:
      return svPaintWindow(&d->view, GetParent(w), w, 0);
    case WM_SETFONT:
      return OnSetFont(w, d, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    case WM_SETREDRAW:
      d->redrawOff = wParam ? 0 : 1;
      svSetRedraw(&d->view, int(wParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wParam == VK_TAB) {
        HandleDialogNavigationKey(w, wParam);
        return 0;
      }
      OnKey(w, d, wParam);
      return 0;
    case WM_SYSKEYDOWN: {
      HWND parent = GetParent(w);
      return parent ? SendMessageA(parent, message, wParam, lParam) : 0;
    }
    case WM_LBUTTONDOWN:
      OnClick(w, d, lParam, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnClick(w, d, lParam, true);
      return 0;
    case WM_LBUTTONUP:
      return 0;
    case 0x8604:  // CCM_SETSCROLLREPORT
      return svSetNotify(&d->view, int(wParam));
    default:
      return svDefWindowProc(&d->view, message, wParam, lParam);
  }
}

}  // namespace

ATOM RegisterTreeClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = 0x402B;
  wc.lpfnWndProc = TreeProc;
  wc.cbWndExtra = kPointerSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}
