// The gallery's framed window: caption, frame buttons, a menu bar with a
// drop-down and a submenu open, a status bar with a progress part, and text
// rendered into bitmaps in its client area, all painted by the toolkit.
#pragma once

#include <windows.h>

#include "ctt_glyph.h"
#include "dibkit_gdi.h"
#include "facet_frame.h"
#include "frame_look.h"
#include "guitest.h"

namespace galleryframe {

struct State {
  HPALETTE palette = nullptr;
  HFONT menuFont = nullptr;
  PackedDib* plainText = nullptr;
  PackedDib* threeColour = nullptr;
  PackedDib* raised = nullptr;
};
inline State s;

inline LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    HPALETTE old = SelectPalette(dc, s.palette, FALSE);
    RealizePalette(dc);
    RECT c;
    GetClientRect(window, &c);
    HBRUSH paper = CreateSolidBrush(PALETTEINDEX(framelook::kClient));
    FillRect(dc, &c, paper);
    DeleteObject(paper);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, PALETTEINDEX(framelook::kMenuText));
    SelectObject(dc, s.menuFont);
    const char title[] = "Rendered into bitmaps (cttBasicString, ctt3ColorString, cttString3D):";
    TextOutA(dc, 16, c.bottom - 92, title, int(sizeof title - 1));
    if (s.raised) dibDisplay(dc, 400, c.bottom - 72, s.raised->biWidth, s.raised->biHeight, 0, 0, s.raised);
    int y = c.bottom - 70;
    for (const PackedDib* image : {s.plainText, s.threeColour}) {
      if (!image) continue;
      dibDisplay(dc, 16, y, image->biWidth, image->biHeight, 0, 0, image);
      y += image->biHeight + 4;
    }
    SelectPalette(dc, old, FALSE);
    EndPaint(window, &ps);
    return 0;
  }
  return cwDefWindowProc(window, message, wParam, lParam);
}

// Makes the rendered text samples: a gradient and a three-colour text.
inline void RenderSamples(HWND window) {
  HDC dc = GetDC(window);
  HFONT big =
      CreateFontA(-24, 0, 0, 0, 700, 0, 0, 0, 0, OUT_TT_PRECIS, 0, NONANTIALIASED_QUALITY, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, big);
  PackedDib* gradient =
      framelook::Image(400, 40, [](int x, int) { return framelook::kCaption + (x / 60) % 2; });
  s.plainText = cttBasicString(dc, "Rookwell opening book", gradient, 0);
  PackedDib* plain = framelook::Solid(400, 40, framelook::kClient);
  s.threeColour = ctt3ColorString(dc, "GOOD OLD BOOK", plain, 0, framelook::kDark, framelook::kClient,
                                  framelook::kButton);
  MAT2 upright;
  cttSetMat(reinterpret_cast<CttMat2*>(&upright), 1.0, 1.0, 0, 0);
  GLYPHMETRICS metrics;
  PackedDib* gold = framelook::Image(
      400, 60, [](int, int y) { return y % 6 < 3 ? framelook::kButton : framelook::kLight; });
  s.raised = cttString3D("Checkmate!", "Arial", 0, -30, gold, &upright, &metrics, 3, framelook::kDark);
  cttFreeCache();
  dibDelete(gold);
  dibDelete(gradient);
  dibDelete(plain);
  SelectObject(dc, old);
  DeleteObject(big);
  ReleaseDC(window, dc);
  // Index 0 is the empty background: show it as the client colour.
  for (PackedDib* image : {s.plainText, s.threeColour, s.raised})
    if (image)
      for (int y = 0; y < image->biHeight; ++y)
        for (int x = 0; x < image->biWidth; ++x) {
          auto* p = static_cast<uint8_t*>(dibGetPixelAddress(image, x, y));
          if (*p == 0) *p = framelook::kClient;
        }
}

// Creates the framed window at the screen rectangle; appMain receives the
// toolkit's notifications.
inline HWND Create(HINSTANCE instance, HWND appMain, HPALETTE palette, const RECT& at) {
  s.palette = palette;
  s.menuFont =
      CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, OUT_TT_PRECIS, 0, NONANTIALIASED_QUALITY, 0, "Arial");
  CwDefaults* d = cwInit();
  if (!d) return nullptr;
  framelook::Fill(d, palette, s.menuFont, s.menuFont);
  cwSetDefaults(instance, d);
  cwSetAppMainWindow(instance, appMain);

  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = Proc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "RWFacetGalleryFrame";
  RegisterClassA(&wc);

  CwCreateParams params{};
  params.flags = 3;  // status bar and menu bar
  params.menuId = 100;
  params.systemMenuId = 101;
  params.menuModule = instance;
  DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | 0x20 | 1;
  HWND w = cwCreateWindowEx(0, "RWFacetGalleryFrame", "Rookwell - framed window", style, at.left, at.top,
                            at.right - at.left, at.bottom - at.top, nullptr, nullptr, instance, &params);
  if (!w) return nullptr;
  RenderSamples(w);
  const int32_t rights[3] = {300, 420, -1};
  SendMessageA(w, 0x8507, 3, LPARAM(rights));
  SendMessageA(w, 0x8504, 0, LPARAM("Ready"));
  SendMessageA(w, 0x8509, 1, 2);
  SendMessageA(w, 0x8511, 1, 65);
  SendMessageA(w, 0x8504, 2, LPARAM("White to move"));
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  return w;
}

// Opens the Game drop-down, moves to "Recent games" and opens its submenu
// with the selection on its first item.
inline void OpenMenus(HWND window) {
  CwWindowData* data = reinterpret_cast<CwWindowData*>(SendMessageA(window, CWM_GETWINDOWDATA, 0, 0));
  if (!data || !data->menuBar) return;
  SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'g');
  guitest::Pump(100);
  HWND drop = data->menuBar->dropDown;
  if (!drop) return;
  for (int i = 0; i < 3; ++i) SendMessageA(drop, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(drop, WM_KEYDOWN, VK_RIGHT, 0);
  guitest::Pump(100);
  HWND sub = nullptr;
  for (HWND h = FindWindowExA(nullptr, nullptr, "CGUIMenuPopup", nullptr); h;
       h = FindWindowExA(nullptr, h, "CGUIMenuPopup", nullptr))
    if (h != drop && IsWindowVisible(h)) sub = h;
  if (sub) SendMessageA(sub, WM_KEYDOWN, VK_DOWN, 0);
  guitest::Pump(100);
}

}  // namespace galleryframe
