// CGUITabWnd: a row of tabs along the top and a body below, painted from
// bitmaps in the shared palette. Each tab's faces (selected, normal and,
// once disabled, disabled) are built when the tab is inserted; painting
// only copies them. A click on another tab tells the parent before and
// after the change, as the system tab control does.
//
// Interface: RegisterTabClass, GetTabRect.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "barframe.h"
#include "basic_controls.h"
#include "control_art.h"
#include "dibkit.h"
#include "dibkit_gdi.h"
#include "facet.h"
#include "facet_frame.h"
#include "heapkit.h"
#include "keyedlist.h"
#include "tab_layout.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUITabWnd";
enum : UINT { CCM_SETDIB = 0x8600, CCM_ENABLETAB = 0x8691 };
constexpr int32_t kTabPadding = 12;  // around a tab's text or image, 6 each side
constexpr int32_t kImageInset = 6;

struct Tab {
  int32_t position;  // as given at insertion
  PackedDib* selectedFace;
  PackedDib* normalFace;
  PackedDib* disabledFace;  // made the first time the tab is disabled
  PackedDib* spareFace;     // stays empty
  TCITEMA item;             // the caller's item; its text is our own copy
  TabBox rect;              // client coordinates
  int32_t disabled;
};

struct TabRecord {
  HWND window;
  int32_t busy;  // set while a tab is inserted: no painting meanwhile
  int32_t count;
  KeyedList* tabs;  // display order
  int32_t current;
  int32_t firstHeight;  // of the first tab inserted
  int32_t margin;
  HIMAGELIST images;
  PackedDib* bodyTile;
};

TabRecord* RecordOf(HWND w) { return reinterpret_cast<TabRecord*>(GetWindowLongPtrA(w, 0)); }

Tab* TabAt(const TabRecord* r, int32_t index) {
  if (index < 0 || index >= r->count) return nullptr;
  KeyedListNode* node = r->tabs->first;
  for (int32_t i = 0; node && i < index; ++i) node = node->next;
  return node ? static_cast<Tab*>(node->data) : nullptr;
}

std::vector<Tab*> AllTabs(const TabRecord* r) {
  std::vector<Tab*> all;
  for (KeyedListNode* node = r->tabs->first; node; node = node->next)
    all.push_back(static_cast<Tab*>(node->data));
  return all;
}

int32_t HeightOf(const PackedDib* dib) { return dib->biHeight < 0 ? -dib->biHeight : dib->biHeight; }

bool HasImage(const TabRecord* r, const Tab* t) { return (t->item.mask & TCIF_IMAGE) && r->images; }

// The window's DC with the default font selected, for measuring and
// rendering tab texts.
struct TextDc {
  HWND window;
  HDC dc;
  HGDIOBJ oldFont = nullptr;
  TextDc(HWND w, const CcDefaults* d) : window(w), dc(GetDC(w)) {
    if (dc && d && d->font) oldFont = SelectObject(dc, d->font);
  }
  ~TextDc() {
    if (!dc) return;
    if (oldFont) SelectObject(dc, oldFont);
    ReleaseDC(window, dc);
  }
};

// The text centred on the face in the colour index (offsets never below 0),
// its other pixels leaving the face as it is.
void DrawFaceText(HDC dc, PackedDib* face, const char* text, int32_t colour) {
  if (!face || !text || !*text) return;
  PackedDib* source = dibCreateWithColors(face->biWidth, HeightOf(face), 8);
  if (!source) return;
  dibColorsToIndices(source);
  dibFillWithColor(source, uint8_t(colour));
  if (PackedDib* rendered = cttBasicString(dc, text, source, 0)) {
    int32_t x = (face->biWidth - rendered->biWidth) / 2;
    int32_t y = (HeightOf(face) - HeightOf(rendered)) / 2;
    ArtClippedCopy(face, rendered, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, rendered->biWidth, HeightOf(rendered),
                   true);
    dibDelete(rendered);
  }
  dibDelete(source);
}

// The shared palette's entry nearest to black, for the outer edge of a face.
uint8_t BlackIndex(const CcDefaults* d) {
  UINT index = d && d->palette ? GetNearestPaletteIndex(d->palette, RGB(0, 0, 0)) : 0;
  return index == CLR_INVALID ? 0 : uint8_t(index);
}

PackedDib* NewFace(int32_t width, int32_t height, const PackedDib* tile, const CcDefaults* d) {
  PackedDib* face = dibCreateWithColors(width, height, 8);
  if (!face) return nullptr;
  dibColorsToIndices(face);
  dibFillWithColor(face, 0);
  if (tile) dibTileRectDib(face, tile);
  ArtTabFaceEdges(face, uint8_t(d ? d->lightEdge : 0), uint8_t(d ? d->darkEdge : 0), BlackIndex(d));
  return face;
}

void BuildFaces(const TabRecord* r, Tab* t, HDC dc, const CcDefaults* d) {
  const int32_t width = t->rect.right - t->rect.left, height = t->rect.bottom - t->rect.top;
  t->selectedFace = NewFace(width, height, r->bodyTile, d);
  t->normalFace = t->selectedFace ? dibDuplicate(t->selectedFace) : nullptr;
  if (HasImage(r, t)) return;
  DrawFaceText(dc, t->selectedFace, t->item.pszText, d ? d->tabTextSelected : 0);
  DrawFaceText(dc, t->normalFace, t->item.pszText, d ? d->tabTextNormal : 0);
}

void FreeTab(Tab* t) {
  dibDelete(t->selectedFace);
  dibDelete(t->normalFace);
  dibDelete(t->disabledFace);
  dibDelete(t->spareFace);
  memFree_rel(t->item.pszText);
}

// The size of a tab: its image, or its text in the default font, and the
// padding around it.
TabBox MeasureTab(const TabRecord* r, const Tab* t, HDC dc) {
  int32_t width = 0, height = 0;
  if (HasImage(r, t)) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(r->images, &cx, &cy);
    width = cx, height = cy;
  } else if (t->item.pszText) {
    unsigned long long size = cttBasicStringSize(dc, t->item.pszText);
    width = int32_t(uint32_t(size)), height = int32_t(uint32_t(size >> 32));
  }
  return TabBox{0, 0, width + kTabPadding, height + kTabPadding};
}

// Inserts the tab at `position` (0..count, else at the end of the row) and
// moves the tabs after it to the right. Returns its index, -1 on failure.
LRESULT InsertTab(HWND w, TabRecord* r, WPARAM position, const TCITEMA* item) {
  if (!item) return -1;
  const CcDefaults* d = ccGetDefaultData();
  r->busy = 1;
  Tab tab{};
  tab.position = int32_t(position);
  tab.item = *item;
  // The text is copied: callers fill tab items from buffers that do not
  // outlive the call, and a tab draws its text again when it is disabled.
  tab.item.pszText =
      (item->mask & TCIF_TEXT) && item->pszText ? memStrdup_rel(item->pszText, HEAPKIT_TAG_RW) : nullptr;
  const int32_t index = TabInsertIndex(r->count, int32_t(position));
  {
    TextDc text(w, d);
    tab.rect = MeasureTab(r, &tab, text.dc);
    BuildFaces(r, &tab, text.dc, d);
  }
  Tab* before = TabAt(r, index);
  KeyedListNode* node =
      before ? KeyedListInsertCopyAt(r->tabs, &tab, sizeof tab, KeyedListNodeOf(before), KL_BEFORE)
             : KeyedListInsertCopyAt(r->tabs, &tab, sizeof tab, r->tabs->last, KL_AT_TAIL);
  if (!node) {
    FreeTab(&tab);
    r->busy = 0;
    return -1;
  }
  if (r->count == 0) r->firstHeight = tab.rect.bottom - tab.rect.top;
  // A tab put in before the current one leaves that tab current.
  if (r->count > 0 && index <= r->current) ++r->current;
  ++r->count;
  std::vector<Tab*> all = AllTabs(r);
  std::vector<TabBox> boxes;
  for (Tab* t : all) boxes.push_back(t->rect);
  TabLayoutFrom(boxes.data(), int32_t(boxes.size()), index);
  for (size_t i = 0; i < all.size(); ++i) all[i]->rect = boxes[i];
  r->busy = 0;
  InvalidateRect(w, nullptr, FALSE);
  return index;
}

void RedrawNow(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void EnableTab(HWND w, TabRecord* r, WPARAM position, bool enable) {
  Tab* t = int32_t(position) >= 0 ? TabAt(r, int32_t(position)) : nullptr;
  if (!t) return;
  if (enable) {
    t->disabled = 0;
  } else {
    t->disabled = 1;
    if (!t->disabledFace && t->selectedFace) {
      t->disabledFace = dibDuplicate(t->selectedFace);
      const CcDefaults* d = ccGetDefaultData();
      if (!HasImage(r, t)) {
        TextDc text(w, d);
        DrawFaceText(text.dc, t->disabledFace, t->item.pszText, d ? d->tabTextDisabled : 0);
      }
    }
  }
  RedrawNow(w);
}

void Notify(HWND w, int code) {
  HWND parent = GetParent(w);
  if (!parent) return;
  NMHDR header{w, UINT_PTR(GetDlgCtrlID(w)), UINT(code)};
  SendMessageA(parent, WM_NOTIFY, WPARAM(header.idFrom), LPARAM(&header));
}

void Click(HWND w, TabRecord* r, LPARAM point) {
  std::vector<TabBox> boxes;
  for (Tab* t : AllTabs(r)) boxes.push_back(t->rect);
  int32_t hit =
      TabHitTest(boxes.data(), int32_t(boxes.size()), short(LOWORD(point)), short(HIWORD(point)), r->current);
  Tab* t = TabAt(r, hit);
  if (!t || t->disabled) return;
  Notify(w, TCN_SELCHANGING);    // the answer is not asked for: the change cannot be refused
  if (RecordOf(w) != r) return;  // the parent destroyed the control
  r->current = hit;
  Notify(w, TCN_SELCHANGE);
  if (RecordOf(w) == r) RedrawNow(w);
}

// After an image left the list, the images behind it moved down one
// place: each tab keeps showing its own image, and a tab that showed the
// removed one shows none.
void RemoveImage(HWND w, TabRecord* r, int removed) {
  for (Tab* t : AllTabs(r)) {
    if (!(t->item.mask & TCIF_IMAGE)) continue;
    if (t->item.iImage == removed)
      t->item.iImage = -1;
    else if (t->item.iImage > removed)
      --t->item.iImage;
  }
  InvalidateRect(w, nullptr, FALSE);
}

LRESULT SetCurrent(HWND w, TabRecord* r, WPARAM position) {
  Tab* t = int32_t(position) >= 0 ? TabAt(r, int32_t(position)) : nullptr;
  if (t && !t->disabled) {
    r->current = int32_t(position);
    RedrawNow(w);
  }
  return r->current;
}

void AdjustRect(const TabRecord* r, bool larger, RECT* rect) {
  const CcDefaults* d = ccGetDefaultData();
  if (!d || !rect) return;
  int32_t rowHeight = 0;
  if (Tab* first = TabAt(r, 0)) {
    rowHeight = first->selectedFace ? HeightOf(first->selectedFace) : first->rect.bottom - first->rect.top;
  } else if (d->tabPairs[0]) {
    rowHeight = HeightOf(d->tabPairs[0]);
  }
  TabBox box{rect->left, rect->top, rect->right, rect->bottom};
  TabAdjustRect(&box, rowHeight, larger);
  *rect = RECT{box.left, box.top, box.right, box.bottom};
}

void FillLine(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom, HBRUSH brush) {
  if (right <= left || bottom <= top) return;
  RECT r{left, top, right, bottom};
  FillRect(dc, &r, brush);
}

void PaintTabs(HWND w, HDC dc, const TabRecord* r, const CcDefaults* d) {
  HPALETTE oldPalette = d && d->palette ? SelectAndRealizePalette(dc, nullptr, d->palette) : nullptr;
  if (HWND parent = GetParent(w)) SendMessageA(parent, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(w));
  RECT client;
  GetClientRect(w, &client);
  std::vector<Tab*> all = AllTabs(r);
  const int32_t rowHeight = all[0]->rect.bottom - all[0]->rect.top;
  const int32_t rowLine = rowHeight - 1;
  // Body and row background: tiles behind the tabs too, so that a tab lower
  // than the row leaves no unpainted gap under it.
  RECT body{0, rowHeight, client.right, client.bottom};
  RECT row{0, 0, client.right, rowHeight};
  if (r->bodyTile) {
    TileDibOnDC(dc, r->bodyTile, &body);
    TileDibOnDC(dc, r->bodyTile, &row);
  }
  HBRUSH light = CreateSolidBrush(PALETTEINDEX(d ? d->lightEdge : 0));
  HBRUSH dark = CreateSolidBrush(PALETTEINDEX(d ? d->darkEdge : 0));
  for (int32_t i = 0; i < int32_t(all.size()); ++i) {
    const Tab* t = all[i];
    const PackedDib* face = i == r->current                  ? t->selectedFace
                            : t->disabled && t->disabledFace ? t->disabledFace
                                                             : t->normalFace;
    if (!face) continue;
    const int32_t fw = face->biWidth, fh = HeightOf(face);
    dibDisplay(dc, t->rect.left, t->rect.top, fw, fh, 0, 0, face);
    if (HasImage(r, t))
      ImageList_Draw(r->images, t->item.iImage, dc, t->rect.left + kImageInset, t->rect.top + kImageInset,
                     ILD_TRANSPARENT);
    if (i != r->current)
      FillLine(dc, t->rect.left, t->rect.top + fh - 1, t->rect.left + fw, t->rect.top + fh, light);
  }
  // The border: the current tab opens into the body.
  const Tab* current = r->current >= 0 && r->current < int32_t(all.size()) ? all[r->current] : nullptr;
  FillLine(dc, 0, rowLine, 1, client.bottom, light);
  if (current && r->current != 0) FillLine(dc, 0, rowLine, current->rect.left, rowLine + 1, light);
  FillLine(dc, all.back()->rect.right, rowLine, client.right, rowLine + 1, light);
  FillLine(dc, client.right - 1, rowLine, client.right, client.bottom, dark);
  FillLine(dc, 0, client.bottom - 1, client.right, client.bottom, dark);
  DeleteObject(light);
  DeleteObject(dark);
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
}

LRESULT CreateRecord(HWND w) {
  auto* r = static_cast<TabRecord*>(memAlloc_rel(sizeof(TabRecord), HEAPKIT_TAG_RW));
  if (!r) return -1;
  std::memset(r, 0, sizeof *r);
  r->tabs = KeyedListCreate(0);
  if (!r->tabs) {
    memFree_rel(r);
    return -1;
  }
  r->window = w;
  r->margin = kTabSideMargin;
  const CcDefaults* d = ccGetDefaultData();
  r->bodyTile = d ? d->tabBody : nullptr;
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(r));
  return 0;
}

void DestroyRecord(HWND w, TabRecord* r) {
  for (Tab* t : AllTabs(r)) FreeTab(t);
  KeyedListDestroy(r->tabs);
  memFree_rel(r);
  SetWindowLongPtrA(w, 0, 0);
}

LRESULT CALLBACK TabProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CREATE) {
    if (CreateRecord(w) < 0) return -1;
    return DefWindowProcA(w, m, wp, lp);
  }
  TabRecord* r = RecordOf(w);
  if (!r) return DefWindowProcA(w, m, wp, lp);
  switch (m) {
    case WM_DESTROY:
      DestroyRecord(w, r);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      if (!r->busy && r->count > 0) PaintTabs(w, dc, r, ccGetDefaultData());
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 0;
    case WM_NCCALCSIZE:
      return wp ? WVR_VALIDRECTS | WVR_REDRAW : 0;
    case WM_NCPAINT:
      return 0;
    case WM_LBUTTONDOWN:
      Click(w, r, lp);
      return 0;
    case TCM_GETIMAGELIST:
      return LRESULT(r->images);
    case TCM_SETIMAGELIST: {
      HIMAGELIST previous = r->images;
      r->images = reinterpret_cast<HIMAGELIST>(lp);
      return LRESULT(previous);
    }
    case TCM_INSERTITEMA:
      return InsertTab(w, r, wp, reinterpret_cast<const TCITEMA*>(lp));
    case TCM_GETCURSEL:
      return r->current;
    case TCM_SETCURSEL:
      return SetCurrent(w, r, wp);
    case TCM_ADJUSTRECT:
      AdjustRect(r, wp != 0, reinterpret_cast<RECT*>(lp));
      return 0;
    case TCM_REMOVEIMAGE:
      if (r->images && ImageList_Remove(r->images, int(wp))) RemoveImage(w, r, int(wp));
      return 0;
    case CCM_SETDIB: {
      const CcDefaults* d = ccGetDefaultData();
      r->bodyTile = lp ? reinterpret_cast<PackedDib*>(lp) : d ? d->tabBody : nullptr;
      return 0;
    }
    case CCM_ENABLETAB:
      EnableTab(w, r, wp, lp != 0);
      return 0;
    default:
      return DefWindowProcA(w, m, wp, lp);
  }
}

}  // namespace

ATOM RegisterTabClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_CLASSDC | CS_GLOBALCLASS;
  wc.lpfnWndProc = TabProc;
  wc.cbWndExtra = kPointerSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc);
}

int GetTabRect(HWND tabs, int index, RECT* out) {
  char name[16] = "";
  if (!tabs || !out || !GetClassNameA(tabs, name, sizeof name) || std::strcmp(name, kClass) != 0) return 0;
  TabRecord* r = RecordOf(tabs);
  Tab* t = r ? TabAt(r, index) : nullptr;
  if (!t) return 0;
  *out = RECT{t->rect.left, t->rect.top, t->rect.right, t->rect.bottom};
  return 1;
}
