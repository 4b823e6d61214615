// Facet gallery (a test program, not shipped): one window that shows what
// the toolkit has, drawn through Facet.dll's exports: named fonts, palette
// fills, bars and tiles from bitmap pieces, a frame set around a child
// window, and the control classes registered at load with a control placed
// by its caption block; beside it a framed window with its menu bar, an
// open drop-down with a submenu, a status bar and rendered text.
//
//   facet_gallery.exe              runs until the window is closed
//   facet_gallery.exe --shot NAME  paints, saves the screenshot NAME and exits
//                                  (exit code 0 when the screenshot was saved)
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "dibkit.h"
#include "facet.h"
#include "facet_classes.h"
#include "guitest.h"
// framed windows and menus
#include "gallery_frame.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

// The gallery's palette: a ramp of the program's own range 10..245 and a few
// named entries.
enum {
  kInk = 10,
  kPaper = 11,
  kAccent = 12,
  kBarFirst = 13,
  kBarMiddle = 14,
  kBarLast = 15,
  kFrameBase = 16
};

HPALETTE MakePalette() {
  std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) {
    BYTE v = BYTE(i);
    lp->palPalEntry[i] = {v, BYTE(255 - v), BYTE(v / 2 + 64), BYTE(i >= 10 && i < 246 ? PC_NOCOLLAPSE : 0)};
  }
  auto set = [&](int i, BYTE r, BYTE g, BYTE b) { lp->palPalEntry[i] = {r, g, b, PC_NOCOLLAPSE}; };
  set(kInk, 20, 20, 30);
  set(kPaper, 236, 230, 210);
  set(kAccent, 150, 40, 40);
  set(kBarFirst, 40, 90, 160);
  set(kBarMiddle, 90, 150, 220);
  set(kBarLast, 20, 50, 110);
  const BYTE frame[8][3] = {{120, 80, 30}, {200, 160, 80}, {120, 80, 30}, {160, 120, 50},
                            {90, 60, 20},  {140, 100, 40}, {90, 60, 20},  {180, 140, 60}};
  for (int i = 0; i < 8; ++i) set(kFrameBase + i, frame[i][0], frame[i][1], frame[i][2]);
  // framed windows and menus: the test skin's colours
  for (int i = 0; i < int(sizeof framelook::kRgb / sizeof framelook::kRgb[0]); ++i)
    set(200 + i, framelook::kRgb[i][0], framelook::kRgb[i][1], framelook::kRgb[i][2]);
  return CreatePalette(lp);
}

PackedDib* Piece(int w, int h, int index) {
  PackedDib* dib = dibCreateWithColors(w, h, 8);
  if (dib) dibFillWithColor(dib, index);
  return dib;
}

struct Gallery {
  HPALETTE palette = nullptr;
  PackedDib* barFirst = nullptr;
  PackedDib* barMiddle = nullptr;
  PackedDib* barLast = nullptr;
  PackedDib* tile = nullptr;
  FrameSet frame{};
  HWND framed = nullptr;
  HWND placed = nullptr;
};
Gallery g;

void Text(HDC dc, int slot, int x, int y, const char* text) {
  HGDIOBJ old = SelectObject(dc, cguiGetFont(slot));
  TextOutA(dc, x, y, text, int(std::strlen(text)));
  SelectObject(dc, old);
}

// The gallery is a list of sections, each a title over an area of the
// window with the function that paints it; toolkit parts that come later add
// a section here (and child windows in main when they are controls).
struct Section {
  const char* title;
  RECT area;  // below the title
  void (*paint)(HDC dc, const RECT& area);
};

void PaintFonts(HDC dc, const RECT& a) {
  Text(dc, 1, a.left, a.top, "slot 0 Arial 16 bold (the title), slot 1 Courier New 10, slot 2 Arial 9");
}

void PaintPaletteFills(HDC dc, const RECT& a) {
  for (int i = 0; i < 230; ++i) {
    int x = a.left + (i % 46) * 12;
    int y = a.top + (i / 46) * 12;
    RECT r{x, y, x + 11, y + 11};
    ccFillRectPalette(dc, &r, 16 + i);
  }
}

void PaintBars(HDC dc, const RECT& a) {
  RECT h{a.left, a.top, a.left + 284, a.top + 20};
  ccDrawThreePiece(dc, &h, g.barFirst, g.barMiddle, g.barLast, 0);
  RECT v{a.left + 304, a.top, a.left + 324, a.bottom};
  ccDrawThreePiece(dc, &v, g.barFirst, g.barMiddle, g.barLast, 1);
  RECT tiled{a.left, a.top + 30, a.left + 284, a.bottom};
  TileBitmap(dc, g.tile, &tiled);
}

void PaintNothing(HDC, const RECT&) {}  // child windows paint themselves

void PaintClasses(HDC dc, const RECT& a) {
  int y = a.top;
  int x = a.left;
  for (const char* name : kFacetControlClasses) {
    WNDCLASSA wc{};
    bool ok = GetClassInfoA(GetModuleHandleA("Facet.dll"), name, &wc);
    std::string line = std::string(ok ? "+ " : "- ") + name;
    Text(dc, 1, x, y, line.c_str());
    y += 16;
    if (y + 16 > a.bottom) {
      y = a.top;
      x += 200;
    }
  }
}

const Section kSections[] = {
    {"Named fonts", {16, 56, 624, 70}, PaintFonts},
    {"Palette fills (indices 16..245)", {16, 96, 624, 156}, PaintPaletteFills},
    {"Bars from three pieces (horizontal, vertical) and a tiled area", {16, 176, 340, 300}, PaintBars},
    {"Frame set around a child window", {360, 176, 600, 300}, PaintNothing},
    {"Control classes registered at load", {16, 334, 460, 470}, PaintClasses},
    {"Caption {p:470,330 s:150,40}", {470, 330, 620, 370}, PaintNothing},
};

void Paint(HDC dc) {
  HPALETTE old = ccSelectPalette(dc, nullptr, g.palette);
  RECT all{0, 0, kWidth, kHeight};
  ccFillRectPalette(dc, &all, kPaper);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, PALETTEINDEX(kInk));
  Text(dc, 0, 16, 10, "Facet gallery");
  for (const Section& section : kSections) {
    Text(dc, 2, section.area.left, section.area.top - 18, section.title);
    section.paint(dc, section.area);
  }
  SelectPalette(dc, old, FALSE);
}

LRESULT CALLBACK FramedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      // The frame pieces are 6 pixels thick: the client area sits inside them.
      auto* r = reinterpret_cast<RECT*>(lParam);
      InflateRect(r, -6, -6);
      return 0;
    }
    case WM_NCPAINT: {
      RECT r;
      GetWindowRect(window, &r);
      OffsetRect(&r, -r.left, -r.top);
      ccDrawFrameBorder(window, &r, &g.frame, g.palette);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      HPALETTE old = ccSelectPalette(dc, nullptr, g.palette);
      RECT c;
      GetClientRect(window, &c);
      ccFillRectPalette(dc, &c, kPaper);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, PALETTEINDEX(kAccent));
      HGDIOBJ oldFont = SelectObject(dc, cguiGetFont(2));
      TextOutA(dc, 8, 8, "client area", 11);
      SelectObject(dc, oldFont);
      SelectPalette(dc, old, FALSE);
      EndPaint(window, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void Setup(HINSTANCE instance) {
  g.palette = MakePalette();
  ccSetControlPalette(nullptr, g.palette);
  g.barFirst = Piece(8, 20, kBarFirst);
  g.barMiddle = Piece(10, 20, kBarMiddle);
  g.barLast = Piece(8, 20, kBarLast);
  // A two-colour tile built as a bar of two pieces.
  g.tile = dibCreateWithColors(16, 16, 8);
  PackedDib* left = Piece(8, 16, kAccent);
  PackedDib* right = Piece(8, 16, kPaper);
  ccBuildThreePiece(g.tile, left, nullptr, right, 0);
  dibDelete(left);
  dibDelete(right);
  const int sizes[8][2] = {{6, 6}, {10, 6}, {6, 6}, {6, 10}, {6, 6}, {10, 6}, {6, 6}, {6, 10}};
  for (int i = 0; i < FP_COUNT; ++i) g.frame.pieces[i] = Piece(sizes[i][0], sizes[i][1], kFrameBase + i);

  cguiFontInit();
  cguiRegisterFont(0, nullptr, "Arial", 16, 700, 0);
  cguiRegisterFont(1, nullptr, "Courier New", 10, 400, 0);
  cguiRegisterFont(2, nullptr, "Arial", 9, 400, 0);

  WNDCLASSA wc{};
  wc.lpfnWndProc = GalleryProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "RWFacetGallery";
  RegisterClassA(&wc);
  wc.lpfnWndProc = FramedProc;
  wc.lpszClassName = "RWFacetGalleryFramed";
  RegisterClassA(&wc);
}

}  // namespace

int main(int argc, char** argv) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  ccInit(instance);
  Setup(instance);
  HWND window = CreateWindowExA(0, "RWFacetGallery", "Facet gallery", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                kHeight, nullptr, nullptr, instance, nullptr);
  g.framed = CreateWindowExA(0, "RWFacetGalleryFramed", "", WS_CHILD | WS_VISIBLE, 360, 176, 240, 124, window,
                             nullptr, instance, nullptr);
  // A library control placed by its caption block: "{p:..}" moves it, "s:" sizes it.
  g.placed =
      CreateWindowExA(0, "CGUIStatic", "Placed {p:470,330 s:150,40}", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0,
                      10, 10, window, nullptr, instance, nullptr);
  ccApplyCaptionPlacement(g.placed);
  UpdateWindow(window);
  // framed windows and menus
  HWND framed = galleryframe::Create(instance, window, g.palette, RECT{300, 250, 1000, 740});

  if (argc == 3 && std::strcmp(argv[1], "--shot") == 0) {
    guitest::Pump(200);
    if (framed) galleryframe::OpenMenus(framed);  // framed windows and menus
    bool saved = guitest::Screenshot(argv[2]);
    DestroyWindow(window);
    return saved ? 0 : 1;
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  cguiFontDestroy();
  return 0;
}
