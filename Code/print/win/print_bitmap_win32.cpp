// PackBitmap.

#include "print_bitmap_win32.h"

#include "print_bitmap.h"

#include <cstdlib>

HGLOBAL PackBitmap(HBITMAP bitmap, HPALETTE palette, DWORD compression) {
  BITMAP bm = {};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return nullptr;
  if (!palette) palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = bm.bmWidth;
  header.biHeight = bm.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
  header.biCompression = compression;
  const DWORD table = BitmapColorTableBytes(reinterpret_cast<const uint8_t*>(&header));

  HDC dc = GetDC(nullptr);
  HPALETTE old = SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  HGLOBAL block = nullptr;
  // First the header alone, which the query completes with the image size.
  HGLOBAL head = GlobalAlloc(GMEM_MOVEABLE, header.biSize + table);
  auto* info = head ? static_cast<BITMAPINFO*>(GlobalLock(head)) : nullptr;
  if (info) {
    info->bmiHeader = header;
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), nullptr, info, DIB_RGB_COLORS);
    header = info->bmiHeader;
    GlobalUnlock(head);
    if (header.biSizeImage == 0) {
      header.biSizeImage = BitmapRowStride(header.biWidth, header.biBitCount) * std::abs(header.biHeight);
      if (compression != BI_RGB) header.biSizeImage = header.biSizeImage * 3 / 2;
    }
    block = GlobalReAlloc(head, header.biSize + table + header.biSizeImage, GMEM_MOVEABLE);
    if (block) {
      head = nullptr;
      info = static_cast<BITMAPINFO*>(GlobalLock(block));
      info->bmiHeader = header;
      const bool ok = GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight),
                                reinterpret_cast<uint8_t*>(info) + header.biSize + table, info, DIB_RGB_COLORS) != 0;
      GlobalUnlock(block);
      if (!ok) {
        GlobalFree(block);
        block = nullptr;
      }
    }
  }
  if (head) GlobalFree(head);
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(nullptr, dc);
  return block;
}
