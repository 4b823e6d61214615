// The scrolling item view (ScrollView): the engine of every list-like
// control of the toolkit. It keeps a vertical sequence of equally high rows
// inside a client rectangle, the top row, the document width and the
// horizontal offset, owns the control's painted scroll bars, scrolls the
// window's pixels, answers hit tests, invalidates rows and calls the
// control's row painter for each row to paint. It has no window procedure:
// the control embeds a ScrollView and forwards its messages (WM_SIZE,
// WM_NC*, WM_PAINT, WM_TIMER, WM_VSCROLL, WM_HSCROLL, the bars' 0x8611 to
// 0x8614, WM_MOUSEWHEEL, WM_SETREDRAW) to the sv* functions, most of them
// through svDefWindowProc.
//
// Interface: ScrollView, RowPaintRecord, RowPainterPair and the sv*
// functions.
#pragma once

#include <windows.h>

#include "itemview_rows.h"
#include "scroll_bars.h"

struct RowPaintRecord {
  void* context;
  int32_t item;
  int32_t paintFlag;
  HDC dc;
  RECT row;
  intptr_t data;  // 0 for a row past the last item
};

using RowPainter = void (*)(RowPaintRecord* record);
struct RowPainterPair {
  void* reserved;
  RowPainter paint;
};

struct ScrollView {
  HWND window;
  RowPainterPair painters;
  ScrollBarPair bars;
  ItemRows rows;  // rows.count is the number of items
  int32_t top;
  int32_t fullRows;
  int32_t visibleRows;
  int32_t itemHeight;
  int32_t docWidth;
  int32_t hOffset;
  int32_t redrawOff;
  int32_t notifyOffset;
  int32_t notifyTop;
  RECT client;
};

int svInitEx(HWND window, ScrollView* view, DWORD flags, const RowPainterPair* painters, int indexData,
             int sharedWidth);
int svInit(HWND window, ScrollView* view, DWORD flags, const RowPainterPair* painters);
void svResetBars(ScrollView* view);
void svFree(ScrollView* view);

int svInsertItem(ScrollView* view, int index, intptr_t data, int width);
int svDeleteRange(ScrollView* view, int first, int last);
int svDeleteItem(ScrollView* view, int index);
void svResetContent(ScrollView* view);
int svSetCount(ScrollView* view, int count, int updateBar);
int svReserve(ScrollView* view, int n);
int32_t svItemData(const ScrollView* view, int index);
int svFindData(const ScrollView* view, int start, intptr_t data);
void svRedrawData(ScrollView* view, intptr_t data);
void svSetDocWidth(ScrollView* view, int width);
int svGetCount(const ScrollView* view);

int svSize(ScrollView* view);
int svSizeTo(ScrollView* view, int width, int height, const RECT* rect);
int svGetTopIndex(const ScrollView* view);
int svSetTopIndex(ScrollView* view, int index);
int svEnsureVisible(ScrollView* view, int index, int asTop, int* scrolled);
int svEnsureOffsetVisible(ScrollView* view, int left, int right);
void svSetItemHeight(ScrollView* view, int height, int redraw);
int svGetItemHeight(const ScrollView* view);
int svGetFullRows(const ScrollView* view);
// The row a list key leads to from `current` (-1: none, then row 0) among
// `count` rows with `page` whole rows shown (at least one counts): Page Up
// and Page Down move a page less one row, Home and End go to the ends, Up and
// Down one row; clamped to the rows. -1 for any other key or no rows.
int svKeyTargetRow(WPARAM key, int current, int count, int page);
int svGetVisibleRows(const ScrollView* view);
int svIsRowShown(const ScrollView* view, int index);
int svGetLineStep(const ScrollView* view, int bar);
int svGetPageStep(const ScrollView* view, int bar);
int svSetLineStep(ScrollView* view, int bar, int value);
int svSetPageStep(ScrollView* view, int bar, int value);
int svSetNotify(ScrollView* view, int mask);
void svSetRedraw(ScrollView* view, int on);
void svGetClientRect(const ScrollView* view, RECT* rect);
void svSetClientRect(ScrollView* view, const RECT* rect);
int svBarThickness(const ScrollView* view, int bar);

int svItemRect(const ScrollView* view, int index, RECT* out);
int svRangeRect(const ScrollView* view, int first, int last, RECT* out);
void svInvalidateItem(ScrollView* view, int index);
void svInvalidateRange(ScrollView* view, int first, int last);
void svRedrawRect(ScrollView* view, const RECT* rect);
int svHitTest(const ScrollView* view, const POINT* point, int* outside);
LRESULT svHitTestPacked(const ScrollView* view, POINT point);
int svHitTestDoc(const ScrollView* view, const POINT* point, int* outside, POINT* doc);
// allRows: paint every visible row, past the last item too.
int svPaint(ScrollView* view, HDC dc, const RECT* update, void* context, int paintFlag, int allRows = 0);
int svNcPaint(ScrollView* view, HRGN region);
int svNcCalcSize(ScrollView* view, WPARAM wParam, RECT* rect);
int svNcHitTest(ScrollView* view, POINT screen);
// The non-client work of a framed view control (list, tree, list view): the
// optional border of the list frame width (or the given one), then the bars.
// `rect` comes in the parent's coordinates, as WM_NCCALCSIZE gives it. The
// hit test is sbarWindowHitTest's.
LRESULT svFramedNcCalcSize(HWND w, ScrollView* view, WPARAM wParam, RECT* rect);
LRESULT svFramedNcCalcSize(HWND w, ScrollView* view, WPARAM wParam, RECT* rect, int frameWidth);
LRESULT svFramedNcHitTest(HWND w, ScrollView* view, POINT screen, bool claimOutside = false);
// A framed view control: WS_BORDER or the extended style bit 0x800.
bool svHasFrame(HWND w);
// Integral height at creation: a control created cx by cy loses the part of
// a row that would not fit inside its frame (`framed`: of the list frame
// width).
void svFitWholeRows(ScrollView* view, int cx, int cy, bool framed);
int svNcButtonDown(ScrollView* view, int hitCode, POINT screen);
void svButtonUp(ScrollView* view);
void svMouseMove(ScrollView* view, WPARAM wParam, POINT screen);
void svCancelTracking(ScrollView* view);
int svTimer(ScrollView* view, UINT_PTR id);
int svMouseWheel(ScrollView* view, WPARAM wParam);
int svEraseBackground(ScrollView* view, HDC dc);
int svVScroll(ScrollView* view, WPARAM wParam);
int svHScroll(ScrollView* view, WPARAM wParam);
int svTrackTop(ScrollView* view, int position);
int svTrackOffset(ScrollView* view, int position);
// WM_PAINT of a view control: unless the update rectangle is empty, sends
// WM_CTLCOLORLISTBOX to colourTarget (none when null), then svPaint.
int svPaintWindow(ScrollView* view, HWND colourTarget, void* context, int paintFlag, int allRows = 0);
// The view control's default window procedure: the messages a control
// forwards to its view, answered as the view does (WM_NCCALCSIZE and
// WM_NCHITTEST of a framed control, the bars' non-client mouse, WM_NCPAINT,
// WM_ERASEBKGND, the repeat timer, WM_MOUSEWHEEL, WM_VSCROLL, WM_HSCROLL,
// 0x8611 to 0x8614, 0x8601 recalculating the frame, WM_CTLCOLORLISTBOX
// answered with no brush); DefWindowProcA for anything else. A control
// handles first what it does otherwise.
LRESULT svDefWindowProc(ScrollView* view, UINT message, WPARAM wParam, LPARAM lParam);
// The vertical and horizontal bar updates (range, page, shown).
void svUpdateVBar(ScrollView* view);
void svUpdateHBar(ScrollView* view);
