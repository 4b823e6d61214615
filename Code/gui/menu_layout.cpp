// Menu geometry; see menu_layout.h.
#include "menu_layout.h"

int LayoutBarRows(CmMenu* menu, const BarRowLook& look, int areaW, int areaH) {
  int x = look.offsetX, y = look.offsetY, rows = 1;
  for (int i = 0; i < menu->count; ++i) {
    int32_t* r = menu->items[i].rect;
    int w = r[2] - r[0];
    if (w > areaW) {
      r[1] = r[3] = 0;  // wider than the whole bar: not shown
      continue;
    }
    if (x + w > areaW) {
      if ((rows + 1) * look.rowHeight > areaH) return 0;
      x = look.offsetX;
      y += look.rowHeight;
      ++rows;
    }
    r[0] = x;
    r[1] = y;
    r[2] = x + w;
    r[3] = y + look.rowHeight;
    x += w + look.gap;
  }
  return rows;
}

void PlacePopup(const int32_t a[4], int width, int height, bool submenu, int W, int H, int* x, int* y) {
  if (submenu) {
    *x = a[2] + width >= W ? a[0] - width : a[2];
    *y = a[1] + height >= H ? a[3] - height : a[1];
  } else {
    *x = a[0] + width >= W ? a[2] - width : a[0];
    *y = a[3] + height >= H ? a[1] - height : a[3];
  }
}

int StepSelection(const CmMenu* menu, int from, int step) {
  int n = menu->count;
  if (n <= 0) return -1;
  int i = from;
  if (i < 0) i = step > 0 ? -1 : n;
  for (int tries = 0; tries < n; ++tries) {
    i = ((i + step) % n + n) % n;
    if (!(menu->items[i].flags & CMF_SEPARATOR)) return i;
  }
  return -1;
}

int ItemAt(const CmMenu* menu, int x, int y) {
  for (int i = 0; i < menu->count; ++i) {
    const int32_t* r = menu->items[i].rect;
    if (x >= r[0] && x < r[2] && y >= r[1] && y < r[3]) return i;
  }
  return -1;
}
