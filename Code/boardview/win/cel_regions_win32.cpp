// GDI block regions.
#include "cel_regions_win32.h"

bool CelRegionSet::Rebuild(const BoardProjection& view) {
  Delete();
  if (!view.regionsValid) return false;
  for (int b = 0; b < 16; ++b) {
    HRGN block = nullptr;
    for (const auto& sq : view.blockSquares[b]) {
      POINT points[4];
      for (int k = 0; k < 4; ++k)
        points[k] = {view.squares[sq[0]][sq[1]][k].x, view.squares[sq[0]][sq[1]][k].y};
      HRGN square = CreatePolygonRgn(points, 4, WINDING);
      if (!square) continue;
      if (!block) {
        block = square;
      } else {
        CombineRgn(block, block, square, RGN_OR);
        DeleteObject(square);
      }
    }
    regions_[b] = block;
  }
  return true;
}

void CelRegionSet::Delete() {
  for (HRGN& r : regions_) {
    if (r) DeleteObject(r);
    r = nullptr;
  }
}

int CelRegionSet::BlockAt(int x, int y) const {
  for (int b = 0; b < 16; ++b)
    if (regions_[b] && PtInRegion(regions_[b], x, y)) return b;
  return -1;
}
