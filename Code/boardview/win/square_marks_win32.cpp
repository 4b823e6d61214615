// Square marks drawn with GDI regions.
#include "square_marks_win32.h"

void DrawSquareMarks(void* dc, const void*, void*, int, int, int left, int top, int right, int bottom,
                     intptr_t user) {
  const MarkLayer* layer = reinterpret_cast<const MarkLayer*>(user);
  if (!layer || !layer->view || !layer->marks || !dc) return;
  HDC hdc = static_cast<HDC>(dc);
  HBRUSH light = CreateSolidBrush(layer->light), dark = CreateSolidBrush(layer->dark);
  // Only the rectangle being composed is touched.
  HRGN clip = CreateRectRgn(left, top, right + 1, bottom + 1);
  SelectClipRgn(hdc, clip);
  for (int row = 0; row < 8; ++row)
    for (int column = 0; column < 8; ++column) {
      MarkFill fill = MarkFillFor(layer->marks->words[row][column]);
      if (fill == MarkFill::None) continue;
      POINT points[4];
      for (int k = 0; k < 4; ++k)
        points[k] = {layer->view->squares[row][column][k].x, layer->view->squares[row][column][k].y};
      HRGN square = CreatePolygonRgn(points, 4, WINDING);
      if (!square) continue;
      bool isLight = (row + column) % 2 == 0;
      if (fill == MarkFill::OwnColour) FillRgn(hdc, square, isLight ? light : dark);
      if (fill == MarkFill::Frame) FrameRgn(hdc, square, isLight ? dark : light, 4, 4);
      if (fill == MarkFill::Invert) InvertRgn(hdc, square);
      DeleteObject(square);
    }
  SelectClipRgn(hdc, nullptr);
  DeleteObject(clip);
  DeleteObject(light);
  DeleteObject(dark);
}
