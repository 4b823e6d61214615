// List view painting and header: the row painter (every visible row, empty
// rows below the last item too), the "SysHeader32" header child with its
// owner-drawn items and background, and its layout above the rows.
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "facet.h"
#include "listview.h"
#include "winutil.h"

namespace {

#define LV_CALLBACK (reinterpret_cast<char*>(LPSTR_TEXTCALLBACKA))
constexpr int kDispTextChars = 499;

// Colours of the list and its header: palette indices of CcDefaults where
// it has them, and fixed indices of the program's palette for the header.
struct Colours {
  int background, selectedBackground, text, selectedText, dropText;
  int headerBackground, headerFace, headerText, headerLight, headerDark, headerShadow;
};

Colours ColoursOf(const CcDefaults* d) {
  Colours c{};
  if (!d) return c;
  c.background = d->listBackground;
  c.selectedBackground = d->listSelection;
  c.text = d->listText;
  c.selectedText = d->listSelectedText;
  c.dropText = d->listValue;
  c.headerBackground = d->trackBackground;
  c.headerFace = d->trackChannel;
  c.headerText = d->listText;
  c.headerLight = d->lightEdge;
  c.headerDark = d->darkEdge;
  c.headerShadow = d->trackThumb;
  return c;
}

void Line(HDC dc, int colour, std::initializer_list<POINT> points) {
  HPEN pen = CreatePen(PS_SOLID, 1, PALETTEINDEX(colour));
  HGDIOBJ old = SelectObject(dc, pen);
  bool first = true;
  for (POINT p : points) {
    if (first)
      MoveToEx(dc, p.x, p.y, nullptr);
    else
      LineTo(dc, p.x, p.y);
    first = false;
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

// The header's redraw turned back on as the system's WM_SETREDRAW does it
// (the visible bit set again), without the repaint some systems add to it,
// which would start the header painting over and over.
void HeaderRedrawOn(HWND header) {
  LONG style = GetWindowLongA(header, GWL_STYLE);
  if (!(style & WS_VISIBLE)) SetWindowLongA(header, GWL_STYLE, style | WS_VISIBLE);
}

LRESULT CALLBACK HeaderSubclass(HWND header, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND list = GetParent(header);
  auto* d = reinterpret_cast<ListViewData*>(GetWindowLongPtrA(list, 0));
  if (!d) return DefWindowProcA(header, message, wParam, lParam);
  if (message == WM_ERASEBKGND) {
    CcDefaults* defaults = ccGetDefaultData();
    HDC dc = HDC(wParam);
    HPALETTE old =
        defaults && defaults->palette ? SelectAndRealizePalette(dc, nullptr, defaults->palette) : nullptr;
    RECT r;
    GetClientRect(header, &r);
    PaintRectWithPaletteIndex(dc, &r, ColoursOf(defaults).headerBackground);
    if (old) SelectPalette(dc, old, FALSE);
    return 1;
  }
  LRESULT result = CallWindowProcA(d->headerProc, header, message, wParam, lParam);
  const bool wakes =
      (message >= 0x200 && message <= 0x209) || (message >= 0xA0 && message <= 0xA9) || message == 0x2A1 ||
      message == 0x2A3 || (message >= 0x100 && message <= 0x108) || message == WM_PAINT ||
      message == WM_SIZE || message == WM_NCPAINT || message == WM_NCACTIVATE || message == WM_NCCALCSIZE ||
      message == WM_WINDOWPOSCHANGED || message == WM_STYLECHANGING || message == WM_DISPLAYCHANGE ||
      message == WM_SYSCOLORCHANGE || message == WM_QUERYNEWPALETTE || message == WM_PALETTECHANGED;
  if (wakes && !d->headerRedrawOff && IsWindow(header)) HeaderRedrawOn(header);
  return result;
}

}  // namespace

void lvDrawCellText(HDC dc, const char* text, RECT rect, int position, int headerFormat) {
  UINT align = DT_LEFT;
  if (position > 0) {
    if (headerFormat & HDF_CENTER)
      align = DT_CENTER;
    else if (headerFormat & HDF_RIGHT)
      align = DT_RIGHT;
  }
  SIZE size{};
  GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
  if (size.cx > rect.right - rect.left) align = DT_LEFT;
  DrawTextA(dc, text, -1, &rect, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LvCell lvDisplayCell(HWND list, ListViewData* d, int item, int subItem, int columnFormat, char* buffer) {
  LvCell cell{};
  buffer[0] = 0;
  UINT ask = 0;
  LvCell* stored = nullptr;
  if (lvOwnerData(d)) {
    cell.item = item;
    cell.subItem = subItem;
    ask = LVIF_TEXT | LVIF_STATE | LVIF_INDENT | ((columnFormat & LVCFMT_IMAGE) ? LVIF_IMAGE : 0);
  } else {
    LvRow& row = d->rows[item];
    if (subItem >= row.cellCount) return cell;
    stored = &row.cells[subItem];
    cell = *stored;
    if ((cell.mask & LVIF_TEXT) && cell.text == LV_CALLBACK) ask |= LVIF_TEXT;
    if ((cell.mask & LVIF_IMAGE) && cell.image == I_IMAGECALLBACK) ask |= LVIF_IMAGE;
  }
  if (ask) {
    NMLVDISPINFOA nm{};
    nm.item.mask = ask;
    nm.item.iItem = item;
    nm.item.iSubItem = subItem;
    nm.item.pszText = buffer;
    nm.item.cchTextMax = kDispTextChars;
    nm.item.lParam = cell.data;
    nm.item.stateMask = ~0u;
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = UINT_PTR(GetDlgCtrlID(list));
    nm.hdr.code = UINT(LVN_GETDISPINFOA);
    if (HWND parent = GetParent(list)) SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, LPARAM(&nm));
    if (ask & LVIF_TEXT) {
      cell.mask |= LVIF_TEXT;
      cell.text = nm.item.pszText ? nm.item.pszText : buffer;
    }
    if (ask & LVIF_IMAGE) {
      cell.mask |= LVIF_IMAGE;
      cell.image = nm.item.iImage;
    }
    if (lvOwnerData(d)) {
      cell.state = nm.item.state;
      cell.stateMask = nm.item.stateMask;
      cell.indent = nm.item.iIndent;
      cell.mask |= LVIF_STATE | LVIF_INDENT;
    } else if (stored && (nm.item.mask & LVIF_DI_SETITEM)) {
      if ((ask & LVIF_TEXT) && cell.text) {
        size_t n = std::strlen(cell.text);
        if (char* copy = static_cast<char*>(std::malloc(n + 1))) {
          std::memcpy(copy, cell.text, n + 1);
          stored->text = copy;
          stored->textSize = int(n + 1);
        }
      }
      if (ask & LVIF_IMAGE) stored->image = cell.image;
    }
  }
  return cell;
}

void lvPaintRow(RowPaintRecord* r) {
  auto* context = static_cast<std::pair<ListViewData*, CcDefaults*>*>(r->context);
  ListViewData* d = context->first;
  const int i = r->item;
  if (i < 0 || (d->style & LVS_TYPEMASK) != LVS_REPORT) return;
  HWND list = d->view.window;
  HDC dc = r->dc;
  SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  CcDefaults* defaults = context->second;
  if (defaults && defaults->palette) SelectAndRealizePalette(dc, nullptr, defaults->palette);
  const Colours colours = ColoursOf(defaults);
  int unit = 10, iconHeight = 10;
  if (d->images[LVSIL_SMALL]) {
    int cx = 0, cy = 0;
    if (ImageList_GetIconSize(d->images[LVSIL_SMALL], &cx, &cy)) {
      unit = cx;
      iconHeight = cy;
    }
  }
  const bool focus = GetFocus() == list;
  const bool selected = i < d->count && lvIsSelected(d, i) && (focus || (d->style & LVS_SHOWSELALWAYS));
  int textColour = selected ? colours.selectedText : colours.text;
  if (!lvOwnerData(d) && i < d->count && d->rows[i].cellCount > 0 &&
      (d->rows[i].cells[0].state & LVIS_DROPHILITED))
    textColour = colours.dropText;
  PaintRectWithPaletteIndex(dc, &r->row, selected ? colours.selectedBackground : colours.background);
  if (i < d->count && d->header) {
    if (lvOwnerData(d)) {
      NMLVCACHEHINT hint{};
      hint.iFrom = hint.iTo = i;
      hint.hdr.hwndFrom = list;
      hint.hdr.idFrom = UINT_PTR(GetDlgCtrlID(list));
      hint.hdr.code = UINT(LVN_ODCACHEHINT);
      if (HWND parent = GetParent(list)) SendMessageA(parent, WM_NOTIFY, hint.hdr.idFrom, LPARAM(&hint));
    }
    SetTextColor(dc, PALETTEINDEX(textColour));
    const int columns = int(SendMessageA(d->header, HDM_GETITEMCOUNT, 0, 0));
    std::vector<int> order(std::max(columns, 1));
    if (columns > 0) SendMessageA(d->header, HDM_GETORDERARRAY, columns, LPARAM(order.data()));
    int x = r->row.left;
    for (int p = 0; p < columns; ++p) {
      HDITEMA hi{};
      hi.mask = HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
      SendMessageA(d->header, HDM_GETITEMA, order[p], LPARAM(&hi));
      auto* column = reinterpret_cast<LvColumn*>(hi.lParam);
      const int sub = column ? column->subItem : p;
      RECT cell{x, r->row.top, x + hi.cxy, r->row.bottom};
      RECT clip{cell.left + d->textMargin, cell.top, cell.right - d->textMargin, cell.bottom};
      char buffer[kDispTextChars + 1];
      LvCell c = lvDisplayCell(list, d, i, sub, column ? column->format : 0, buffer);
      int pos = clip.left;
      if (sub == 0 && (c.mask & LVIF_INDENT)) pos += c.indent * unit;
      if (sub == 0 || (d->privateFlags & 1)) {
        int stateImage = int((c.state & c.stateMask & LVIS_STATEIMAGEMASK) >> 12);
        if (d->images[LVSIL_STATE] && stateImage > 0) {
          ImageList_Draw(d->images[LVSIL_STATE], stateImage, dc, pos,
                         (cell.top + cell.bottom - iconHeight) / 2, ILD_TRANSPARENT);
          pos += unit;
        }
        if (d->images[LVSIL_SMALL] && (c.mask & LVIF_IMAGE) && c.image >= 0) {
          UINT overlay = (c.stateMask & LVIS_OVERLAYMASK) ? (c.state & LVIS_OVERLAYMASK) : 0;
          ImageList_Draw(d->images[LVSIL_SMALL], c.image, dc, pos, (cell.top + cell.bottom - iconHeight) / 2,
                         ILD_TRANSPARENT | overlay);
          pos += unit;
        }
      }
      if ((c.mask & LVIF_TEXT) && c.text && c.text != LV_CALLBACK) {
        RECT text{pos, clip.top, clip.right, clip.bottom};
        if (text.right > text.left) lvDrawCellText(dc, c.text, text, p, hi.fmt);
      }
      x = cell.right;
    }
  }
  if (i == d->focused && focus) {
    RECT f = r->row;
    InflateRect(&f, -1, -1);
    DrawFocusRect(dc, &f);
  }
  RestoreDC(dc, -1);
}

int lvCreateHeader(HWND list, ListViewData* d) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  DWORD style = WS_CHILD | WS_VISIBLE | HDS_BUTTONS | ((d->style & LVS_NOCOLUMNHEADER) ? HDS_HIDDEN : 0);
  d->header = CreateWindowExA(0, "SysHeader32", "", style, 0, 0, 400, 30, list, HMENU(kLvHeaderId),
                              HINSTANCE(GetWindowLongPtrA(list, GWLP_HINSTANCE)), nullptr);
  if (!d->header) return 0;
  d->headerProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(d->header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HeaderSubclass)));
  if (!lvLayoutHeader(list, d)) {
    DestroyWindow(d->header);
    d->header = nullptr;
    return 0;
  }
  return 1;
}

int lvLayoutHeader(HWND list, ListViewData* d) {
  if (!d->header) return 0;
  RECT client;
  GetClientRect(list, &client);
  // The header follows the rows sideways.
  RECT area = client;
  area.left -= d->view.hOffset;
  WINDOWPOS pos{};
  HDLAYOUT layout{&area, &pos};
  if (!SendMessageA(d->header, HDM_LAYOUT, 0, LPARAM(&layout))) return 0;
  SetWindowPos(d->header, pos.hwndInsertAfter, pos.x, pos.y,
               std::max(pos.cx, int(client.right) + d->view.hOffset), pos.cy,
               pos.flags | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT rows = client;
  rows.top = pos.y + ((d->style & LVS_NOCOLUMNHEADER) ? 0 : pos.cy);
  svSizeTo(&d->view, rows.right - rows.left, rows.bottom - rows.top, &rows);
  return 1;
}

LRESULT lvDrawHeaderItem(HWND, ListViewData* d, const DRAWITEMSTRUCT* item) {
  HDC dc = item->hDC;
  SaveDC(dc);
  HeaderRedrawOn(d->header);
  CcDefaults* defaults = ccGetDefaultData();
  if (defaults && defaults->palette) SelectAndRealizePalette(dc, nullptr, defaults->palette);
  const Colours colours = ColoursOf(defaults);
  RECT r = item->rcItem;
  PaintRectWithPaletteIndex(dc, &r, colours.headerFace);
  char text[300] = "";
  HDITEMA hi{};
  hi.mask = HDI_TEXT | HDI_FORMAT;
  hi.pszText = text;
  hi.cchTextMax = 299;
  SendMessageA(d->header, HDM_GETITEMA, item->itemID, LPARAM(&hi));
  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  RECT t = r;
  InflateRect(&t, -1, -1);
  if (pressed) {
    OffsetRect(&t, 1, 1);
  } else {
    t.right -= 1;
    t.bottom -= 1;
  }
  t.left += d->textMargin;
  t.right -= d->textMargin;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, PALETTEINDEX(colours.headerText));
  if (t.right > t.left) lvDrawCellText(dc, text, t, int(item->itemID), hi.fmt);
  const int L = r.left, T = r.top, R = r.right, B = r.bottom;
  if (!pressed) {
    Line(dc, colours.headerLight, {{L, B - 2}, {L, T}, {R - 1, T}});
    Line(dc, colours.headerDark, {{R - 1, T}, {R - 1, B}});
    Line(dc, colours.headerDark, {{L, B - 1}, {R, B - 1}});
    Line(dc, colours.headerShadow, {{R - 2, T + 1}, {R - 2, B - 2}, {L, B - 2}});
  } else {
    Line(dc, colours.headerLight, {{L + 1, B - 1}, {R, B - 1}});
    Line(dc, colours.headerLight, {{R - 1, T}, {R - 1, B}});
    Line(dc, colours.headerDark, {{L, T}, {R, T}});
    Line(dc, colours.headerDark, {{L, T}, {L, B}});
    Line(dc, colours.headerShadow, {{L + 1, T + 1}, {R - 1, T + 1}});
    Line(dc, colours.headerShadow, {{L + 1, T + 1}, {L + 1, B - 1}});
  }
  RestoreDC(dc, -1);
  // The header's redraw stays on: turned off here, the system's header
  // would skip the items after this one in the same paint.
  return 1;
}
