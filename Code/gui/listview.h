// The list view control's record, shared by its message handling
// (listview_wnd.cpp) and its painting and header (listview_paint.cpp).
//
// Interface: ListViewData, LvCell, LvRow, LvColumn and the lv* helpers
// below.
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "itemview.h"
#include "keyedlist.h"
#include "rangeset.h"

// One cell: the fields of the platform's list-view item record.
struct LvCell {
  UINT mask;
  int32_t item;
  int32_t subItem;
  UINT state;
  UINT stateMask;
  char* text;  // heap copy, or LPSTR_TEXTCALLBACKA
  int32_t textSize;
  int32_t image;
  LPARAM data;
  int32_t indent;
};

struct LvRow {
  LvCell* cells;  // highest sub-item + 1 of them
  int32_t sortKey;
  int32_t cellCount;
};

struct LvColumn {
  UINT mask;  // LVCF_FMT and LVCF_SUBITEM as given
  int32_t format;
  int32_t subItem;
  int32_t headerIndex;
};

struct ListViewData {
  DWORD style;
  UINT privateFlags;
  int32_t count;
  ScrollView view;
  LvRow* rows;
  int32_t highestSubItem;
  int32_t rowCapacity;
  HIMAGELIST images[3];  // normal, small, state
  RangeSet selection;    // owner data
  int32_t selected;      // single selection
  int32_t focused;
  int32_t anchor;
  int32_t redrawOff;
  HWND header;
  int32_t headerRedrawOff;
  KeyedList columns;
  int32_t textMargin;
  int32_t sorting;
  WNDPROC headerProc;
};

constexpr int kLvHeaderId = 1;

inline bool lvOwnerData(const ListViewData* d) { return (d->style & LVS_OWNERDATA) != 0; }
inline bool lvSingle(const ListViewData* d) { return (d->style & LVS_SINGLESEL) != 0; }
bool lvIsSelected(const ListViewData* d, int item);
LvColumn* lvColumnOfHeaderItem(HWND header, int index);

// Painting and header (listview_paint.cpp).
void lvPaintRow(RowPaintRecord* record);
int lvCreateHeader(HWND list, ListViewData* d);
int lvLayoutHeader(HWND list, ListViewData* d);
LRESULT lvDrawHeaderItem(HWND list, ListViewData* d, const DRAWITEMSTRUCT* item);
// Draws a cell text in the rectangle: left-aligned at position 0, else as
// the header format says; too wide a text left-aligned with an ellipsis.
void lvDrawCellText(HDC dc, const char* text, RECT rect, int position, int headerFormat);
// Fills the cell's display values, asking the parent for callback fields.
LvCell lvDisplayCell(HWND list, ListViewData* d, int item, int subItem, int columnFormat, char* buffer);
