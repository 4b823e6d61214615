// Small Win32 helpers: see winutil.h.
#include "winutil.h"

#include <vector>

#include "dibkit.h"

HFONT CreateFontForPoints(const char* face, int points, int weight, int charset) {
  HDC screen = GetDC(nullptr);
  int perInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  int height = -MulDiv(points, perInch, 72);
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DWORD(charset), OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH, face);
}

PackedDib* LoadWritableBitmapResource(HINSTANCE module, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  // Used in place, the resource must have the library's own layout: the
  // header, a full colour area (256 entries for 8 bits) and every row.
  // Anything else would be read, and its colour table written, past its end.
  const DWORD size = SizeofResource(module, found);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(data);
  if (size < sizeof(BITMAPINFOHEADER) || header->biSize != sizeof(BITMAPINFOHEADER)) return nullptr;
  const int bits = header->biBitCount;
  if (bits != 8 && bits != 16 && bits != 24) return nullptr;
  if (bits == 8 && header->biClrUsed != 0 && header->biClrUsed != 256) return nullptr;
  if (header->biWidth <= 0 || header->biHeight == 0 || header->biHeight == INT32_MIN) return nullptr;
  const uint64_t rows = uint64_t(header->biHeight < 0 ? -int64_t(header->biHeight) : header->biHeight);
  const uint64_t needed =
      sizeof(BITMAPINFOHEADER) + dibColorAreaSize(bits) + uint64_t(dibRowStride(bits, header->biWidth)) * rows;
  if (needed > size) return nullptr;
  // The caller turns the colour table into palette indices in place; the
  // resource's pages are read-only until we say otherwise.
  DWORD oldProtect = 0;
  VirtualProtect(data, SizeofResource(module, found), PAGE_READWRITE, &oldProtect);
  return static_cast<PackedDib*>(data);
}

int GetWindowRectInParent(HWND window, RECT* out) {
  if (!window || !out) return 0;
  GetWindowRect(window, out);
  HWND parent = GetParent(window);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(out), 2);
  return 1;
}

void ScreenRectToClient(HWND window, RECT* rect) {
  if (!rect) return;
  ScreenToClient(window, reinterpret_cast<POINT*>(&rect->left));
  ScreenToClient(window, reinterpret_cast<POINT*>(&rect->right));
}

LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  return proc ? CallWindowProcA(proc, window, message, wParam, lParam) : 0;
}

LONG GetExtraLong(HWND window, int base, int slot) { return GetWindowLongA(window, base + 4 * slot); }

LONG SetExtraLong(HWND window, int base, int slot, LONG value) {
  return SetWindowLongA(window, base + 4 * slot, value);
}

void NonClientMouseToClient(HWND window, UINT* message, WPARAM* keyFlags, LPARAM* point) {
  if (message && *message >= WM_NCMOUSEMOVE && *message <= WM_NCMBUTTONDBLCLK)
    *message += WM_MOUSEMOVE - WM_NCMOUSEMOVE;
  if (keyFlags) {
    WPARAM flags = 0;
    if (GetKeyState(VK_LBUTTON) < 0) flags |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0) flags |= MK_RBUTTON;
    if (GetKeyState(VK_SHIFT) < 0) flags |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) flags |= MK_CONTROL;
    if (GetKeyState(VK_MBUTTON) < 0) flags |= MK_MBUTTON;
    *keyFlags = flags;
  }
  if (point) {
    POINT p{short(LOWORD(*point)), short(HIWORD(*point))};
    ScreenToClient(window, &p);
    *point = MAKELPARAM(p.x, p.y);
  }
}

int HandleDialogNavigationKey(HWND window, WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB:
      SendMessageA(GetParent(window), WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
      return 1;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      SendMessageA(window, WM_GETDLGCODE, virtualKey, 0);
      return 0;
    default:
      return 0;
  }
}

const WCHAR* SkipWideString(const WCHAR* text) {
  while (*text) ++text;
  return text + 1;
}

int NarrowWideString(char* out, const WCHAR* text) {
  int n = 0;
  for (; text[n]; ++n) out[n] = char(text[n] & 0xFF);
  return n;
}

int PaintRectWithBrush(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!dc || !rect || !brush) return 1;
  LOGBRUSH lb{};
  if (!GetObjectA(brush, sizeof lb, &lb)) return 1;
  if (lb.lbStyle != BS_SOLID) return FillRect(dc, rect, brush) ? 0 : 1;
  // A solid brush is drawn with a pen of its colour so that the border row
  // and column are painted too (Rectangle leaves them to the pen).
  HPEN pen = CreatePen(PS_SOLID, 1, lb.lbColor);
  if (!pen) return 1;
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  int ok = oldPen && oldBrush && Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
  if (oldBrush) SelectObject(dc, oldBrush);
  if (oldPen) SelectObject(dc, oldPen);
  DeleteObject(pen);
  return ok ? 0 : 1;
}

int PaintRectWithPaletteIndex(HDC dc, const RECT* rect, int colourIndex) {
  if (!dc || !rect) return 1;
  HBRUSH brush = CreateSolidBrush(PALETTEINDEX(colourIndex));
  if (!brush) return 1;
  int result = PaintRectWithBrush(dc, rect, brush);
  DeleteObject(brush);
  return result;
}

namespace {

BOOL CALLBACK RedrawIfModule(HWND window, LPARAM module) {
  if (GetWindowLongPtrA(window, GWLP_HINSTANCE) == module)
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_INTERNALPAINT | RDW_ALLCHILDREN);
  return TRUE;
}

}  // namespace

void RedrawWindowsOfInstance(HWND window) {
  if (!window) return;
  EnumWindows(RedrawIfModule, GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

void RedrawWindowsOfModule(HINSTANCE module) {
  EnumWindows(RedrawIfModule, reinterpret_cast<LPARAM>(module));
}

HPALETTE SelectAndRealizePalette(HDC dc, void*, HPALETTE palette) {
  HPALETTE old = SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  return old;
}

UINT SetDibSectionColorsFromPalette(HDC sectionDc, HPALETTE palette) {
  PALETTEENTRY entries[256]{};
  RGBQUAD quads[256]{};
  GetPaletteEntries(palette, 0, 256, entries);
  PaletteEntriesToRgbQuads(entries, quads, 256);
  return SetDIBColorTable(sectionDc, 0, 256, quads);
}

int PaletteEntriesToRgbQuads(const PALETTEENTRY* entries, RGBQUAD* quads, int count) {
  if (!entries || !quads) return 1;
  for (int i = 0; i < count; ++i) quads[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  return 0;
}

HPALETTE CopyPalette(HPALETTE palette) {
  if (!palette) return nullptr;
  UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
  if (count > 256) count = 256;
  std::vector<char> block(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = WORD(count);
  GetPaletteEntries(palette, 0, count, lp->palPalEntry);
  return CreatePalette(lp);
}
