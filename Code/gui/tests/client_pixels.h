// A window's client area read back in one go (one BitBlt instead of a
// GetPixel per point), for tests that count the colours a control painted.
#pragma once

#include <windows.h>

#include <vector>

struct ClientPixels {
  int width = 0, height = 0;
  std::vector<COLORREF> rgb;

  COLORREF At(int x, int y) const { return rgb[size_t(y * width + x)]; }
  // Pixels of the colour in rows top .. bottom - 1 (all rows by default).
  int Count(COLORREF c, int top = 0, int bottom = -1) const {
    if (bottom < 0) bottom = height;
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < width; ++x) n += At(x, y) == c;
    return n;
  }
  int FirstRow(COLORREF c) const {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (At(x, y) == c) return y;
    return -1;
  }
  int LastRow(COLORREF c) const {
    for (int y = height - 1; y >= 0; --y)
      for (int x = 0; x < width; ++x)
        if (At(x, y) == c) return y;
    return -1;
  }
};

inline ClientPixels GrabClient(HWND w) {
  ClientPixels p;
  RECT r;
  GetClientRect(w, &r);
  p.width = r.right;
  p.height = r.bottom;
  if (p.width <= 0 || p.height <= 0) return p;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = GetDC(w);
  HBITMAP section = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, p.width, p.height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* q = static_cast<const DWORD*>(bits);
  for (int i = 0; i < p.width * p.height; ++i)
    p.rgb.push_back(RGB((q[i] >> 16) & 0xFF, (q[i] >> 8) & 0xFF, q[i] & 0xFF));
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(w, dc);
  return p;
}
