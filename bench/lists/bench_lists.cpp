// bench_lists [items]: fill a list of items (100,000 by default) and page it
// from top to bottom; prints the time of each phase. On Windows this is the
// toolkit's list box in a window (run under Wine with a display); natively
// the item view's row store and its page arithmetic alone.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "controls.h"
#include "facet.h"
#else
#include "itemview_rows.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int items = argc > 1 ? std::atoi(argv[1]) : 100000;
  if (items <= 0) {
    std::fprintf(stderr, "bench_lists: the item count must be positive\n");
    return 2;
  }
#ifdef _WIN32
  HINSTANCE module = GetModuleHandleA(nullptr);
  ccInit(module);
  RegisterControlClasses(module);
  HWND list = CreateWindowExA(0, "CGUIListWnd", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_BORDER, 0, 0, 300,
                              400, nullptr, nullptr, module, nullptr);
  if (!list) {
    std::fprintf(stderr, "bench_lists: no list window\n");
    return 1;
  }
  UpdateWindow(list);
  char text[64];
  auto t0 = Clock::now();
  for (int i = 0; i < items; ++i) {
    std::snprintf(text, sizeof text, "Game %06d  White - Black  1-0", i);
    if (SendMessageA(list, LB_ADDSTRING, 0, LPARAM(text)) < 0) {
      std::fprintf(stderr, "bench_lists: adding item %d failed\n", i);
      return 1;
    }
  }
  UpdateWindow(list);
  auto t1 = Clock::now();
  SendMessageA(list, WM_KEYDOWN, VK_HOME, 0);
  UpdateWindow(list);
  int pages = 0;
  auto t2 = Clock::now();
  while (SendMessageA(list, LB_GETCURSEL, 0, 0) < items - 1) {
    SendMessageA(list, WM_KEYDOWN, VK_NEXT, 0);
    UpdateWindow(list);  // each page painted before the next
    ++pages;
  }
  auto t3 = Clock::now();
  int top = int(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  DestroyWindow(list);
  std::printf(
      "list box, %d items: fill %.1f ms (%.2f us per item); page top to bottom %d pages in %.1f ms "
      "(%.3f ms per page); last top row %d\n",
      items, Ms(t0, t1), Ms(t0, t1) * 1000.0 / items, pages, Ms(t2, t3), Ms(t2, t3) / pages, top);
#else
  ItemRows rows;
  rowsInit(&rows, true, false);
  auto t0 = Clock::now();
  for (int i = 0; i < items; ++i) rowsInsert(&rows, i, i, 100 + i % 37);
  auto t1 = Clock::now();
  int top = 0, pages = 0;
  const int full = 24;
  auto t2 = Clock::now();
  for (int moved; (moved = svVScrollDelta(3, 0, rows.count, top, full, 1, full - 1)) != 0; ++pages)
    top += moved;
  auto t3 = Clock::now();
  std::printf("row store, %d items: fill %.1f ms; page top to bottom %d pages in %.3f ms; widest %d\n", items,
              Ms(t0, t1), pages, Ms(t2, t3), rowsWidest(rows));
  rowsFree(&rows);
#endif
  return 0;
}
