// The tab row of the tab control: see tab_layout.h.
#include "tab_layout.h"

int32_t TabInsertIndex(int32_t count, int32_t position) {
  return position >= 0 && position <= count ? position : count;
}

void TabLayoutFrom(TabBox* boxes, int32_t count, int32_t first) {
  if (!boxes || first < 0) return;
  for (int32_t i = first; i < count; ++i) {
    TabBox& b = boxes[i];
    int32_t width = b.right - b.left, height = b.bottom - b.top;
    b.left = i == 0 ? 0 : boxes[i - 1].right;
    b.top = 0;
    b.right = b.left + width;
    b.bottom = height;
  }
}

int32_t TabHitTest(const TabBox* boxes, int32_t count, int32_t x, int32_t y, int32_t current) {
  if (!boxes) return -1;
  for (int32_t i = 0; i < count; ++i) {
    const TabBox& b = boxes[i];
    if (i != current && x >= b.left && x < b.right && y >= b.top && y < b.bottom) return i;
  }
  return -1;
}

void TabAdjustRect(TabBox* rect, int32_t rowHeight, bool larger) {
  if (!rect) return;
  const int32_t sign = larger ? 1 : -1;
  rect->top -= sign * rowHeight;
  rect->bottom += sign * kTabSideMargin;
  rect->left -= sign * kTabSideMargin;
  rect->right += sign * kTabSideMargin;
}
