// Bars, frames and tiles on a device context: see barframe.h. Pieces are
// drawn with the bitmap library at their own size across the bar.
#include "barframe.h"

#include "dibkit_gdi.h"

namespace {

struct Size {
  int w = 0, h = 0;
};

Size SizeOf(PackedDib* dib) {
  Size s;
  int wh[2] = {0, 0};
  if (dib && dibGetDibDimensions(dib, wh)) {
    s.w = wh[0];
    s.h = wh[1] < 0 ? -wh[1] : wh[1];
  }
  return s;
}

int Along(Size s, int vertical) { return vertical ? s.h : s.w; }
int Across(Size s, int vertical) { return vertical ? s.w : s.h; }

// Draws a block of the piece on the DC at `pos` along the bar from `base`.
void DrawAlong(HDC dc, PackedDib* piece, int pos, int base, int length, int across, int vertical) {
  if (vertical) {
    dibDisplay(dc, base, pos, across, length, 0, 0, piece);
  } else {
    dibDisplay(dc, pos, base, length, across, 0, 0, piece);
  }
}

}  // namespace

int PaintBarOnDC(HDC dc, const RECT* rect, PackedDib* first, PackedDib* middle, PackedDib* last,
                 int vertical) {
  if (!dc || !rect || (!first && !middle && !last)) return 0;
  int start = vertical ? rect->top : rect->left;
  int end = vertical ? rect->bottom : rect->right;
  const int base = vertical ? rect->left : rect->top;
  if (first) {
    Size f = SizeOf(first);
    DrawAlong(dc, first, start, base, Along(f, vertical), Across(f, vertical), vertical);
    start += Along(f, vertical);
  }
  if (last) {
    Size l = SizeOf(last);
    end -= Along(l, vertical);
    DrawAlong(dc, last, end, base, Along(l, vertical), Across(l, vertical), vertical);
  }
  if (middle) {
    Size m = SizeOf(middle);
    int step = Along(m, vertical);
    for (int pos = start; step > 0 && pos < end; pos += step) {
      int piece = end - pos < step ? end - pos : step;
      DrawAlong(dc, middle, pos, base, piece, Across(m, vertical), vertical);
    }
  }
  return 1;
}

void TileDibOnDC(HDC dc, PackedDib* tile, const RECT* rect) {
  if (!dc || !tile || !rect) return;
  const Size t = SizeOf(tile);
  if (t.w <= 0 || t.h <= 0) return;
  for (int y = rect->top; y < rect->bottom; y += t.h) {
    int h = rect->bottom - y < t.h ? rect->bottom - y : t.h;
    for (int x = rect->left; x < rect->right; x += t.w) {
      int w = rect->right - x < t.w ? rect->right - x : t.w;
      dibDisplay(dc, x, y, w, h, 0, 0, tile);
    }
  }
}

void PaintFrameSet(HWND window, const RECT* windowRect, const FrameSet* frame, HPALETTE palette) {
  if (!window || !windowRect || !frame) return;
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  HPALETTE oldPalette = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  PackedDib* const* p = frame->pieces;
  const int width = windowRect->right - windowRect->left;
  const int height = windowRect->bottom - windowRect->top;
  const int topHeight = SizeOf(p[FP_TOP]).h;
  const int bottomHeight = SizeOf(p[FP_BOTTOM]).h;
  RECT top{0, 0, width, topHeight};
  PaintBarOnDC(dc, &top, p[FP_TOP_LEFT], p[FP_TOP], p[FP_TOP_RIGHT], 0);
  RECT bottom{0, height - bottomHeight, width, height};
  PaintBarOnDC(dc, &bottom, p[FP_BOTTOM_LEFT], p[FP_BOTTOM], p[FP_BOTTOM_RIGHT], 0);
  RECT left{0, SizeOf(p[FP_TOP_LEFT]).h, SizeOf(p[FP_LEFT]).w, height - SizeOf(p[FP_BOTTOM_LEFT]).h};
  PaintBarOnDC(dc, &left, nullptr, p[FP_LEFT], nullptr, 1);
  RECT right{width - SizeOf(p[FP_RIGHT]).w, SizeOf(p[FP_TOP_RIGHT]).h, width,
             height - SizeOf(p[FP_BOTTOM_RIGHT]).h};
  PaintBarOnDC(dc, &right, nullptr, p[FP_RIGHT], nullptr, 1);
  if (palette) SelectPalette(dc, oldPalette, FALSE);
  ReleaseDC(window, dc);
}
