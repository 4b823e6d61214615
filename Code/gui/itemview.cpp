// The scrolling item view on a window: see itemview.h. Row arithmetic is in
// itemview_rows.cpp, the bars in scroll_bars.cpp.
#include "itemview.h"

#include <algorithm>
#include <cstring>

#include "barframe.h"
#include "facet.h"
#include "winutil.h"

namespace {

void RecalcFrame(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void SetBar(ScrollView* v, int bar, int minimum, int maximum, int page, int mask) {
  ScrollInfo info{sizeof(ScrollInfo), mask, minimum, maximum, page, 0, 0};
  sbarSetInfo(&v->bars, bar, &info);
}

void ShowBar(ScrollView* v, int bar, bool wanted) {
  if (!(bar == 1 ? v->bars.vertical : v->bars.horizontal)) return;
  if (bool(sbarIsShown(&v->bars, bar)) == wanted) return;
  sbarShow(&v->bars, bar, wanted ? 1 : 0);
  RecalcFrame(v->window);
}

int ClientWidth(const ScrollView* v) { return v->client.right - v->client.left; }

void NotifyTop(ScrollView* v) {
  if (v->notifyTop) SendMessageA(GetParent(v->window), CCM_TOPNOTIFY, WPARAM(v->window), LPARAM(v->top));
}
void NotifyOffset(ScrollView* v) {
  if (v->notifyOffset)
    SendMessageA(GetParent(v->window), CCM_HPOSNOTIFY, WPARAM(v->window), LPARAM(v->hOffset));
}

void RecountRows(ScrollView* v) {
  svRowCounts(v->client.bottom - v->client.top, v->itemHeight, &v->fullRows, &v->visibleRows);
  svUpdateVBar(v);
}

// Moves the top by d rows, scrolling the pixels that stay.
void MoveTop(ScrollView* v, int d) {
  if (!d) return;
  v->top += d;
  NotifyTop(v);
  // The bar follows without answering back: the top is already in range.
  if (PaintedBar* bar = v->bars.vertical) {
    bar->info.position = bar->info.trackPosition =
        std::clamp(v->top, bar->info.minimum, std::max(sbHighest(bar->info), bar->info.minimum));
    ScrollInfo none{sizeof(ScrollInfo), 0, 0, 0, 0, 0, 0};
    sbarSetInfo(&v->bars, 1, &none);
  }
  if (v->redrawOff) return;
  int pixels = d * v->itemHeight;
  if (std::abs(pixels) >= v->client.bottom - v->client.top) {
    InvalidateRect(v->window, &v->client, TRUE);
  } else {
    ScrollWindowEx(v->window, 0, -pixels, &v->client, &v->client, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  }
  UpdateWindow(v->window);
}

void MoveOffset(ScrollView* v, int d) {
  if (!d) return;
  v->hOffset += d;
  NotifyOffset(v);
  if (PaintedBar* bar = v->bars.horizontal) {
    bar->info.position = bar->info.trackPosition =
        std::clamp(v->hOffset, bar->info.minimum, std::max(sbHighest(bar->info), bar->info.minimum));
    ScrollInfo none{sizeof(ScrollInfo), 0, 0, 0, 0, 0, 0};
    sbarSetInfo(&v->bars, 0, &none);
  }
  if (v->redrawOff) return;
  ScrollWindowEx(v->window, -d, 0, &v->client, &v->client, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  UpdateWindow(v->window);
}

RECT RowRect(const ScrollView* v, int screenRow) {
  RECT r{v->client.left, v->client.top + screenRow * v->itemHeight, v->client.right,
         v->client.top + (screenRow + 1) * v->itemHeight};
  return r;
}

}  // namespace

int svInitEx(HWND window, ScrollView* view, DWORD flags, const RowPainterPair* painters, int indexData,
             int sharedWidth) {
  std::memset(view, 0, sizeof *view);
  view->window = window;
  if (painters) view->painters = *painters;
  view->painters.reserved = nullptr;
  rowsInit(&view->rows, indexData != 0, sharedWidth != 0);
  sbarInit(&view->bars, window, flags);
  return 1;
}

int svInit(HWND window, ScrollView* view, DWORD flags, const RowPainterPair* painters) {
  return svInitEx(window, view, flags, painters, 0, 0);
}

void svResetBars(ScrollView* view) {
  if (!view) return;
  GetClientRect(view->window, &view->client);
  SetBar(view, 1, 0, 0, view->fullRows, SB_MASK_RANGE | SB_MASK_PAGE);
  SetBar(view, 0, 0, ClientWidth(view) - 1, ClientWidth(view), SB_MASK_RANGE | SB_MASK_PAGE);
}

void svFree(ScrollView* view) {
  if (!view) return;
  rowsFree(&view->rows);
  sbarFreeBars(&view->bars);
}

void svUpdateVBar(ScrollView* v) {
  SetBar(v, 1, 0, v->rows.count - 1, v->fullRows, SB_MASK_RANGE | SB_MASK_PAGE);
  ShowBar(v, 1, svVerticalBarWanted(v->rows.count, v->fullRows));
}

void svUpdateHBar(ScrollView* v) {
  SetBar(v, 0, 0, v->docWidth - 1, ClientWidth(v), SB_MASK_RANGE | SB_MASK_PAGE);
  ShowBar(v, 0, svHorizontalBarWanted(v->rows.count, v->docWidth, ClientWidth(v)));
}

int svInsertItem(ScrollView* v, int index, intptr_t data, int width) {
  if (!v) return -1;
  int count = rowsInsert(&v->rows, index, data, width);
  if (count < 0) return count;
  for (int i = std::max(index, v->top); i <= v->top + v->visibleRows - 1; ++i) svInvalidateItem(v, i);
  if (count > v->fullRows) svUpdateVBar(v);
  if (!v->rows.sharedWidth && width > v->docWidth) {
    v->docWidth = width;
    svUpdateHBar(v);
  }
  return count;
}

int svDeleteRange(ScrollView* v, int first, int last) {
  if (!v) return -1;
  const int oldCount = v->rows.count;
  int32_t widest = 0;
  int count = rowsDelete(&v->rows, first, last, &widest);
  if (count < 0) return -1;
  // The top row itself went: the last page is shown instead.
  if (v->top >= count && v->top > 0) {
    v->top = std::max(count - std::max(v->fullRows, 1), 0);
    NotifyTop(v);
    svRedrawRect(v, nullptr);
  }
  svUpdateVBar(v);
  if (!v->rows.sharedWidth && widest != 0 && widest == v->docWidth) {
    v->docWidth = rowsWidest(v->rows);
    svUpdateHBar(v);
  }
  if (!v->redrawOff) {
    int from = std::max(first, v->top), to = std::min(oldCount, v->top + v->visibleRows);
    if (from <= to) {
      RECT r = RowRect(v, from - v->top);
      r.bottom = RowRect(v, to - v->top).bottom;
      if (IntersectRect(&r, &r, &v->client)) InvalidateRect(v->window, &r, TRUE);
    }
  }
  return count;
}

int svDeleteItem(ScrollView* v, int index) { return svDeleteRange(v, index, index); }

void svResetContent(ScrollView* v) {
  if (!v || v->rows.count == 0) return;
  v->rows.count = 0;
  if (v->top != 0) {
    v->top = 0;
    NotifyTop(v);
  }
  v->docWidth = 0;
  v->hOffset = 0;
  ScrollInfo vi{sizeof(ScrollInfo), 7, 0, -1, v->fullRows, 0, 0};
  sbarSetInfo(&v->bars, 1, &vi);
  ScrollInfo hi{sizeof(ScrollInfo), 7, 0, ClientWidth(v) - 1, ClientWidth(v), 0, 0};
  sbarSetInfo(&v->bars, 0, &hi);
  if (!sbarIsShown(&v->bars, 1) && !sbarIsShown(&v->bars, 0)) {
    svRedrawRect(v, nullptr);
  } else {
    sbarShow(&v->bars, 1, 0);
    sbarShow(&v->bars, 0, 0);
    RecalcFrame(v->window);
    svRedrawRect(v, nullptr);
  }
}

int svReserve(ScrollView* v, int n) { return v ? rowsReserve(&v->rows, n) : -2; }

int svSetCount(ScrollView* v, int count, int updateBar) {
  if (!v || count < 0) return 0;
  const int old = v->rows.count;
  if (svReserve(v, count - old) < 0) return 0;
  if (rowsElementWords(v->rows) == 0) {
    if (count > old) {
      v->rows.count = count;
      svInvalidateRange(v, old, count - 1);
    } else if (count < old) {
      svDeleteRange(v, count, old - 1);
    }
  }
  if (updateBar) svUpdateVBar(v);
  return 1;
}

int svGetCount(const ScrollView* v) { return v ? v->rows.count : 0; }
int32_t svItemData(const ScrollView* v, int index) { return v ? rowsData(v->rows, index) : 0; }
int svFindData(const ScrollView* v, int start, intptr_t data) {
  return v ? rowsFind(v->rows, start, data) : -1;
}

void svRedrawData(ScrollView* v, intptr_t data) {
  int i = svFindData(v, -1, data);
  if (i >= 0) svInvalidateItem(v, i);
}

void svSetDocWidth(ScrollView* v, int width) {
  if (!v || width < 1) return;
  v->docWidth = width;
  svUpdateHBar(v);
}

int svSize(ScrollView* v) {
  if (!v) return 0;
  GetClientRect(v->window, &v->client);
  RecountRows(v);
  svUpdateHBar(v);
  return 0;
}

int svSizeTo(ScrollView* v, int, int, const RECT* rect) {
  if (!v) return 0;
  if (!rect) return svSize(v);
  svSetClientRect(v, rect);
  RecountRows(v);
  svUpdateHBar(v);
  return 0;
}

int svGetTopIndex(const ScrollView* v) { return v && v->rows.count > 0 ? v->top : -1; }

int svSetTopIndex(ScrollView* v, int index) {
  if (!v || index < 0 || index >= v->rows.count) return -1;
  if (index == v->top) return 0;
  v->top = index;
  NotifyTop(v);
  ScrollInfo info{sizeof(ScrollInfo), SB_MASK_POSITION, 0, 0, 0, index, 0};
  sbarSetInfo(&v->bars, 1, &info);
  svRedrawRect(v, nullptr);
  return 0;
}

int svEnsureVisible(ScrollView* v, int index, int asTop, int* scrolled) {
  if (scrolled) *scrolled = 0;
  if (!v || index < 0 || index >= v->rows.count) return 0;
  int newTop = svEnsureTop(index, v->top, v->fullRows, v->rows.count, asTop != 0);
  if (newTop == v->top) return 1;
  if (svSetTopIndex(v, newTop) < 0) return 0;
  if (scrolled) *scrolled = 1;
  return 1;
}

int svEnsureOffsetVisible(ScrollView* v, int left, int right) {
  if (!v || left > right || !v->bars.horizontal) return 1;
  int page = v->bars.horizontal->info.page;
  int offset = v->hOffset;
  if (offset + page - 1 < right) offset = right - page + 1;
  if (offset > left) offset = left;
  if (offset == v->hOffset) return 0;
  v->hOffset = offset;
  NotifyOffset(v);
  ScrollInfo info{sizeof(ScrollInfo), SB_MASK_POSITION, 0, 0, 0, offset, 0};
  sbarSetInfo(&v->bars, 0, &info);
  svRedrawRect(v, nullptr);
  return 0;
}

void svSetItemHeight(ScrollView* v, int height, int redraw) {
  if (!v) return;
  bool changed = height != v->itemHeight;
  v->itemHeight = height;
  RecountRows(v);
  if (redraw && changed) svRedrawRect(v, nullptr);
}

int svGetItemHeight(const ScrollView* v) { return v ? v->itemHeight : 0; }
int svGetFullRows(const ScrollView* v) { return v ? v->fullRows : -1; }

int svKeyTargetRow(WPARAM key, int current, int count, int page) {
  if (count <= 0) return -1;
  page = std::max(page, 1);
  int row;
  switch (key) {
    case VK_PRIOR:
      row = current >= 0 ? current - (page - 1) : 0;
      break;
    case VK_NEXT:
      row = current >= 0 ? current + page - 1 : 0;
      break;
    case VK_END:
      row = count - 1;
      break;
    case VK_HOME:
      row = 0;
      break;
    case VK_UP:
      row = current >= 0 ? current - 1 : 0;
      break;
    case VK_DOWN:
      row = current >= 0 ? current + 1 : 0;
      break;
    default:
      return -1;
  }
  return std::clamp(row, 0, count - 1);
}
int svGetVisibleRows(const ScrollView* v) { return v ? v->visibleRows : -1; }
int svIsRowShown(const ScrollView* v, int index) {
  return v && index >= v->top && index < v->top + v->visibleRows ? 1 : 0;
}

int svGetLineStep(const ScrollView* v, int bar) { return v ? sbarLineStep(&v->bars, bar == 1 ? 1 : 0) : 0; }
int svGetPageStep(const ScrollView* v, int bar) {
  if (!v) return 0;
  return sbarPageStep(bar == 1 ? v->bars.vertical : v->bars.horizontal);
}
int svSetLineStep(ScrollView* v, int bar, int value) {
  return v ? sbarSetLineStep(&v->bars, bar == 1 ? 1 : 0, value) : 0;
}
int svSetPageStep(ScrollView* v, int bar, int value) {
  return v ? sbarSetPageStep(&v->bars, bar == 1 ? 1 : 0, value) : 0;
}

int svSetNotify(ScrollView* v, int mask) {
  if (!v) return 3;
  if (mask > 3 || mask < 0) return 4;
  v->notifyOffset = mask & 1;
  v->notifyTop = (mask >> 1) & 1;
  return 1;
}

void svSetRedraw(ScrollView* v, int on) {
  if (!v) return;
  v->redrawOff = on ? 0 : 1;
  v->bars.redrawOff = v->redrawOff;
  DefWindowProcA(v->window, WM_SETREDRAW, WPARAM(on), 0);
}

void svGetClientRect(const ScrollView* v, RECT* rect) {
  if (v && rect) *rect = v->client;
}

void svSetClientRect(ScrollView* v, const RECT* rect) {
  if (!v || !rect) return;
  v->client = *rect;
  v->client.right = std::max(v->client.right, v->client.left);
  v->client.bottom = std::max(v->client.bottom, v->client.top);
}

int svBarThickness(const ScrollView* v, int bar) { return v ? sbarThickness(&v->bars, bar) : 0; }

int svItemRect(const ScrollView* v, int index, RECT* out) {
  if (!v || !out || index < 0 || index >= v->rows.count) return -1;
  RECT r = RowRect(v, index - v->top);
  if (!IntersectRect(out, &r, &v->client)) return -1;
  return 0;
}

int svRangeRect(const ScrollView* v, int first, int last, RECT* out) {
  if (!v || !out || first < 0 || last < first || last >= v->rows.count) return -1;
  RECT r = RowRect(v, first - v->top);
  r.bottom = RowRect(v, last - v->top).bottom;
  if (!IntersectRect(out, &r, &v->client)) return -1;
  return 0;
}

void svInvalidateItem(ScrollView* v, int index) {
  RECT r;
  if (v && !v->redrawOff && svItemRect(v, index, &r) == 0) InvalidateRect(v->window, &r, TRUE);
}

void svInvalidateRange(ScrollView* v, int first, int last) {
  RECT r;
  if (v && !v->redrawOff && svRangeRect(v, first, last, &r) == 0) InvalidateRect(v->window, &r, TRUE);
}

void svRedrawRect(ScrollView* v, const RECT* rect) {
  if (!v || v->redrawOff) return;
  RedrawWindow(v->window, rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_INTERNALPAINT);
}

int svHitTest(const ScrollView* v, const POINT* p, int* outside) {
  if (!v || !p || v->rows.count == 0) return -1;
  if (outside) *outside = PtInRect(&v->client, *p) ? 0 : 1;
  return svHitRow(p->y - v->client.top, v->itemHeight, v->top, v->rows.count, v->visibleRows);
}

LRESULT svHitTestPacked(const ScrollView* v, POINT point) {
  int outside = 0;
  int row = svHitTest(v, &point, &outside);
  if (row < 0) return -1;
  return MAKELONG(row, outside);
}

int svHitTestDoc(const ScrollView* v, const POINT* p, int* outside, POINT* doc) {
  int row = svHitTest(v, p, outside);
  if (row >= 0 && doc)
    *doc = POINT{p->x - v->client.left + v->hOffset, p->y - v->client.top + v->top * v->itemHeight};
  return row;
}

int svPaint(ScrollView* v, HDC dc, const RECT* update, void* context, int paintFlag, int allRows) {
  if (!v || !v->painters.paint || v->itemHeight <= 0) return 0;
  int rows = allRows ? v->visibleRows : std::min(v->visibleRows, v->rows.count - v->top);
  for (int i = 0; i < rows; ++i) {
    RowPaintRecord r{};
    r.row = RowRect(v, i);
    r.row.left = v->client.left - v->hOffset;
    RECT meet;
    if (update && !IntersectRect(&meet, &r.row, update)) continue;
    r.context = context;
    r.item = v->top + i;
    r.paintFlag = paintFlag;
    r.dc = dc;
    r.data = r.item < v->rows.count ? rowsData(v->rows, r.item) : 0;
    v->painters.paint(&r);
  }
  return 0;
}

int svNcPaint(ScrollView* v, HRGN) {
  if (!v) return 0;
  HWND parent = GetParent(v->window);
  HDC dc = GetWindowDC(v->window);
  if (parent) SendMessageA(parent, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(v->window));
  LONG style = GetWindowLongA(v->window, GWL_STYLE), ex = GetWindowLongA(v->window, GWL_EXSTYLE);
  if ((style & WS_BORDER) || (ex & 0x800)) {
    RECT w;
    GetWindowRect(v->window, &w);
    OffsetRect(&w, -w.left, -w.top);
    CcDefaults* d = ccGetDefaultData();
    if (d && d->ncPainter) {
      d->ncPainter(v->window, &w, d);
    } else if (d && d->listFrame.pieces[0] && reinterpret_cast<uintptr_t>(d->listFrame.pieces[0]) > 0xFFFF) {
      PaintFrameSet(v->window, &w, &d->listFrame, d->palette);
    } else {
      FrameRect(dc, &w, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
  }
  ReleaseDC(v->window, dc);
  sbarNcPaint(&v->bars);
  return 0;
}

int svNcCalcSize(ScrollView* v, WPARAM wParam, RECT* rect) {
  return v ? sbarNcCalcSize(&v->bars, wParam, rect) : 0;
}
int svNcHitTest(ScrollView* v, POINT screen) { return v ? sbarHitTest(&v->bars, screen) : 0; }
int svNcButtonDown(ScrollView* v, int hitCode, POINT screen) {
  if (v && (hitCode == HTVSCROLL || hitCode == HTHSCROLL)) sbarNcButtonDown(&v->bars, hitCode, screen);
  return 0;
}
void svButtonUp(ScrollView* v) {
  if (v) sbarButtonUp(&v->bars);
}
void svMouseMove(ScrollView* v, WPARAM wParam, POINT screen) {
  if (v) sbarMouseMove(&v->bars, wParam, screen);
}
void svCancelTracking(ScrollView* v) {
  if (v) sbarCancel(&v->bars);
}
int svTimer(ScrollView* v, UINT_PTR id) {
  if (v && id == kScrollRepeatTimer) sbarTimerTick(&v->bars);
  return 0;
}
int svMouseWheel(ScrollView* v, WPARAM wParam) {
  return v ? sbarWheel(&v->bars, 1, short(HIWORD(wParam))) : 0;
}

int svEraseBackground(ScrollView* v, HDC dc) {
  if (!v) return 1;
  HWND parent = GetParent(v->window);
  HBRUSH brush =
      parent ? HBRUSH(SendMessageA(parent, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(v->window))) : nullptr;
  if (brush) {
    PaintRectWithBrush(dc, &v->client, brush);
  } else {
    CcDefaults* d = ccGetDefaultData();
    PaintRectWithPaletteIndex(dc, &v->client, d ? d->listBackground : 0);
  }
  return 1;
}

int svVScroll(ScrollView* v, WPARAM wParam) {
  if (!v) return 0;
  int step = svGetLineStep(v, 1), page = svGetPageStep(v, 1);
  MoveTop(v, svVScrollDelta(LOWORD(wParam), short(HIWORD(wParam)), v->rows.count, v->top, v->fullRows,
                            std::max(step, 1), std::max(page, 1)));
  return 0;
}

int svHScroll(ScrollView* v, WPARAM wParam) {
  if (!v) return 0;
  int step = svGetLineStep(v, 0), page = svGetPageStep(v, 0);
  MoveOffset(v, svHScrollDelta(LOWORD(wParam), short(HIWORD(wParam)), v->docWidth, v->hOffset, ClientWidth(v),
                               std::max(step, 1), std::max(page, 1)));
  return 0;
}

int svTrackTop(ScrollView* v, int position) {
  if (v) MoveTop(v, position - v->top);
  return 0;
}
int svTrackOffset(ScrollView* v, int position) {
  if (v) MoveOffset(v, position - v->hOffset);
  return 0;
}

namespace {

int ListFrameWidth() {
  CcDefaults* d = ccGetDefaultData();
  return d && d->listFrameWidth > 0 ? d->listFrameWidth : 1;
}

}  // namespace

bool svHasFrame(HWND w) {
  return (GetWindowLongA(w, GWL_STYLE) & WS_BORDER) || (GetWindowLongA(w, GWL_EXSTYLE) & 0x800);
}

void svFitWholeRows(ScrollView* v, int cx, int cy, bool framed) {
  int usable = cy - (framed ? 2 * ListFrameWidth() : 0), h = svGetItemHeight(v);
  if (h > 0 && usable % h)
    SetWindowPos(v->window, nullptr, 0, 0, cx, cy - usable % h, SWP_NOMOVE | SWP_NOZORDER);
}

LRESULT svFramedNcCalcSize(HWND w, ScrollView* view, WPARAM wParam, RECT* rect) {
  return svFramedNcCalcSize(w, view, wParam, rect, ListFrameWidth());
}

LRESULT svFramedNcCalcSize(HWND w, ScrollView* view, WPARAM wParam, RECT* rect, int frameWidth) {
  // The bars are placed in the window's own coordinates.
  const POINT origin{rect->left, rect->top};
  if (svHasFrame(w)) InflateRect(rect, -frameWidth, -frameWidth);
  OffsetRect(rect, -origin.x, -origin.y);
  svNcCalcSize(view, wParam, rect);
  OffsetRect(rect, origin.x, origin.y);
  return wParam ? 0x700 : 0;
}

LRESULT svFramedNcHitTest(HWND w, ScrollView* view, POINT screen, bool claimOutside) {
  return sbarWindowHitTest(view ? &view->bars : nullptr, w, screen, claimOutside);
}

int svPaintWindow(ScrollView* v, HWND colourTarget, void* context, int paintFlag, int allRows) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(v->window, &ps);
  if (!IsRectEmpty(&ps.rcPaint)) {
    if (colourTarget) SendMessageA(colourTarget, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(v->window));
    svPaint(v, dc, &ps.rcPaint, context, paintFlag, allRows);
  }
  EndPaint(v->window, &ps);
  return 0;
}

LRESULT svDefWindowProc(ScrollView* v, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND w = v->window;
  const POINT screen{short(LOWORD(lParam)), short(HIWORD(lParam))};
  switch (message) {
    case WM_NCCALCSIZE:
      return svFramedNcCalcSize(w, v, wParam, reinterpret_cast<RECT*>(lParam));
    case WM_NCHITTEST:
      return svFramedNcHitTest(w, v, screen);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return svNcButtonDown(v, int(wParam), screen);
    case WM_NCLBUTTONUP:
      svButtonUp(v);
      return 0;
    case WM_NCMOUSEMOVE:
      svMouseMove(v, wParam, screen);
      return 0;
    case WM_NCPAINT:
      return svNcPaint(v, HRGN(wParam));
    case WM_ERASEBKGND:
      return svEraseBackground(v, HDC(wParam));
    case WM_TIMER:
      return svTimer(v, wParam);
    case WM_MOUSEWHEEL:
      return svMouseWheel(v, wParam);
    case WM_VSCROLL:
      return svVScroll(v, wParam);
    case WM_HSCROLL:
      return svHScroll(v, wParam);
    case CCM_SETHPOS:
    case CCM_HPOSCHANGED:
      return svTrackOffset(v, int(wParam));
    case CCM_SETTOPROW:
    case CCM_TOPROWCHANGED:
      return svTrackTop(v, int(wParam));
    case CCM_FRAMECHANGED:
      RecalcFrame(w);
      return 0;
    case WM_CTLCOLORLISTBOX:
      return 0;
    default:
      return DefWindowProcA(w, message, wParam, lParam);
  }
}
