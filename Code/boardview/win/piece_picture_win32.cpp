// Piece pictures from a piece sheet.
#include "win/piece_picture_win32.h"

#include <algorithm>
#include <cstdlib>

#include "piece_cels.h"
#include "win/board_view_win32.h"

void DrawPiecePicture(HDC dc, const RECT& box, BoardView* view, int colour, int kind) {
  if (!view || !view->host || !view->pieceSet) return;
  const PackedDib* sheet = view->host->RoomPieceSheet();
  int32_t w = view->pieceSet->celWidth, h = view->pieceSet->celHeight, sx, sy;
  if (!sheet || w <= 0 || h <= 0 ||
      !PieceCelRect(colour, kind, view->pieceSet->celFlag ? 0 : -1, &sx, &sy, w, h))
    return;
  DrawSheetCel(dc, box, sheet, sx, sy, w, h);
}

void DrawSheetCel(HDC dc, const RECT& box, const PackedDib* sheet, int sx, int sy, int w, int h) {
  if (!sheet || w <= 0 || h <= 0) return;
  int bpp = sheet->biBitCount, sheetW = sheet->biWidth, sheetH = std::abs(sheet->biHeight);
  if ((bpp != 8 && bpp != 16 && bpp != 24) || sx + w > sheetW || sy + h > sheetH) return;
  // Scaled to fit, keeping its shape; key pixels let the button show through.
  int bw = box.right - box.left, bh = box.bottom - box.top;
  double scale = std::min(double(bw) / w, double(bh) / h);
  int dw = std::max(1, int(w * scale)), dh = std::max(1, int(h * scale));
  int ox = box.left + (bw - dw) / 2, oy = box.top + (bh - dh) / 2;
  const uint8_t* bits = static_cast<const uint8_t*>(dibGetBits(sheet));
  const DibRgbQuad* table = bpp == 8 ? static_cast<const DibRgbQuad*>(dibGetColorArea(sheet)) : nullptr;
  int stride = ((sheetW * bpp + 31) / 32) * 4;
  auto sample = [&](int x, int y, COLORREF* out) {
    int row = sheet->biHeight > 0 ? sheetH - 1 - y : y;
    const uint8_t* p = bits + static_cast<size_t>(row) * stride + x * (bpp / 8);
    if (bpp == 8) {
      if (p[0] == 0) return false;
      *out = RGB(table[p[0]].red, table[p[0]].green, table[p[0]].blue);
    } else if (bpp == 16) {
      uint16_t v = static_cast<uint16_t>(p[0] | p[1] << 8);
      if (v == 0xFC1F || v == 0x7C1F) return false;
      *out = RGB((v >> 10 & 31) << 3, (v >> 5 & 31) << 3, (v & 31) << 3);
    } else {
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) return false;
      *out = RGB(p[2], p[1], p[0]);
    }
    return true;
  };
  // Area-averaged, with the key's share leaving the background.
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x) {
      int x0 = sx + x * w / dw, x1 = std::max(x0 + 1, sx + (x + 1) * w / dw);
      int y0 = sy + y * h / dh, y1 = std::max(y0 + 1, sy + (y + 1) * h / dh);
      int n = 0, hit = 0, r = 0, g = 0, b = 0;
      for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) {
          ++n;
          COLORREF c;
          if (!sample(xx, yy, &c)) continue;
          ++hit, r += GetRValue(c), g += GetGValue(c), b += GetBValue(c);
        }
      if (hit == 0) continue;
      COLORREF under = GetPixel(dc, ox + x, oy + y);
      double a = double(hit) / n;
      auto mix = [a](int u, int o) { return static_cast<BYTE>(u + (o - u) * a + 0.5); };
      SetPixelV(dc, ox + x, oy + y,
                RGB(mix(GetRValue(under), r / hit), mix(GetGValue(under), g / hit), mix(GetBValue(under), b / hit)));
    }
}
