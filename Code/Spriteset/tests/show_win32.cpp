// spriteset_show [handshake folder]: shows a board scene through
// Spriteset.dll (bound by ordinal) in a window, then reveals it again with a
// wipe of each kind, checking the window's pixels on the way. With a
// folder it writes "ready-<name>" there at each stage and waits for
// "shot-<name>", so that a script can take a screenshot. Exit code 0 when
// every check passed.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "ordinals_win32.h"

using namespace spritetest;

namespace {

constexpr int kSize = 320, kSquare = 40, kPiece = 32;
constexpr int kLight = 1, kDark = 2, kLight2 = 3, kDark2 = 4, kWhite = 5, kBlack = 6, kRim = 7, kGold = 8,
              kFrame = 9;

struct DibDeleter {
  void operator()(PackedDib* d) const { dibDelete(d); }
};
using DibPtr = std::unique_ptr<PackedDib, DibDeleter>;

// An 8-bit image with pixel (x, y) = f(x, y).
template <typename F>
DibPtr ImageOf(int width, int height, F f) {
  DibPtr d(dibCreateWithColors(width, height, 8));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      *static_cast<uint8_t*>(dibGetPixelAddress(d.get(), x, y)) = uint8_t(f(x, y));
  return d;
}

DibRgbQuad Rgb(int r, int g, int b) { return DibRgbQuad{uint8_t(b), uint8_t(g), uint8_t(r), 0}; }
DibRgbQuad g_colours[256];
COLORREF Ref(int index) { return RGB(g_colours[index].red, g_colours[index].green, g_colours[index].blue); }

std::string g_folder;
int g_failures = 0;
HWND g_window = nullptr;

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Lets the script take a screenshot named `name`.
void Shot(const std::string& name) {
  GdiFlush();
  Pump();
  if (g_folder.empty()) return;
  const std::string ready = g_folder + "\\ready-" + name, shot = g_folder + "\\shot-" + name;
  HANDLE f = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  for (int i = 0; i < 400 && GetFileAttributesA(shot.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(50);
    Pump();
  }
}

void Expect(const char* what, int x, int y, int index) {
  HDC dc = GetDC(g_window);
  const COLORREF got = GetPixel(dc, x, y);
  ReleaseDC(g_window, dc);
  if (got != Ref(index)) {
    std::printf("FAIL %s: pixel (%d, %d) is %06lx, expected colour %d (%06lx)\n", what, x, y,
                static_cast<unsigned long>(got), index, static_cast<unsigned long>(Ref(index)));
    ++g_failures;
  }
}

int SquareColour(int x, int y, bool second) {
  const bool light = ((x / kSquare + y / kSquare) & 1) == 0;
  return second ? (light ? kLight2 : kDark2) : (light ? kLight : kDark);
}

DibPtr Board(bool second) {
  return ImageOf(kSize, kSize, [second](int x, int y) { return uint32_t(SquareColour(x, y, second)); });
}

DibPtr Disc(int fill) {
  return ImageOf(kPiece, kPiece, [fill](int x, int y) {
    const int dx = 2 * x - (kPiece - 1), dy = 2 * y - (kPiece - 1), d = dx * dx + dy * dy;
    return uint32_t(d > 29 * 29 ? 0 : d > 25 * 25 ? kRim : fill);
  });
}

// A draw callback between the board and the pieces: a frame drawn with GDI
// on the canvas around square (4, 4).
void Frame(void* dc, const void*, void*, int, int, int, int, int, int, intptr_t) {
  HBRUSH brush = CreateSolidBrush(Ref(kFrame));
  RECT r{4 * kSquare, 4 * kSquare, 5 * kSquare, 5 * kSquare};
  FrameRect(static_cast<HDC>(dc), &r, brush);
  DeleteObject(brush);
}

// Counts the bands of a wipe; at the middle one it checks and photographs.
struct Wipe {
  int kind, bands;
  const char* name;
} g_wipe;

void Band(void*, const void*, void*, int, int, int, int, int, int, intptr_t) {
  if (++g_wipe.bands != kSize / 5 / 2 + 1) return;
  // Bands 1..32 (160 pixels from the starting edge) are on the window.
  const bool vertical = g_wipe.kind == 2 || g_wipe.kind == 3;
  const bool forward = g_wipe.kind == 2 || g_wipe.kind == 4;
  const int shown = forward ? 100 : 220, hidden = forward ? 220 : 100;
  const bool second = g_wipe.kind == 2 || g_wipe.kind == 4;  // the board being revealed
  const int fx = vertical ? 140 : shown, fy = vertical ? shown : 140;
  const int ox = vertical ? 140 : hidden, oy = vertical ? hidden : 140;
  Expect(g_wipe.name, fx, fy, SquareColour(fx, fy, second));
  Expect(g_wipe.name, ox, oy, SquareColour(ox, oy, !second));
  Shot(g_wipe.name);
}

AnimScene* g_scene = nullptr;
Spriteset* g_dll = nullptr;
// While a wipe runs, the screenshot pumps messages: a paint handled then
// would call the band callback once more, so it waits until the wipe ends.
bool g_wiping = false;

LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT && g_scene && !g_wiping) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    const DibRect r{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - 1, ps.rcPaint.bottom - 1};
    g_dll->PaintSceneRect(g_scene, dc, &r);
    EndPaint(w, &ps);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) g_folder = argv[1];
  Spriteset dll;
  if (!dll.Load()) {
    std::printf("FAIL: Spriteset.dll or an ordinal is missing\n");
    return 1;
  }
  g_dll = &dll;
  g_colours[kLight] = Rgb(240, 217, 181);
  g_colours[kDark] = Rgb(181, 136, 99);
  g_colours[kLight2] = Rgb(238, 238, 210);
  g_colours[kDark2] = Rgb(118, 150, 86);
  g_colours[kWhite] = Rgb(250, 250, 250);
  g_colours[kBlack] = Rgb(30, 30, 30);
  g_colours[kRim] = Rgb(0, 0, 0);
  g_colours[kGold] = Rgb(255, 200, 0);
  g_colours[kFrame] = Rgb(200, 0, 0);

  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SpritesetShow";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassA(&wc);
  g_window = CreateWindowExA(WS_EX_TOPMOST, "SpritesetShow", "Spriteset", WS_POPUP | WS_VISIBLE, 0, 0, kSize,
                             kSize, nullptr, nullptr, wc.hInstance, nullptr);
  AnimScene* scene = dll.InitAnimate(reinterpret_cast<intptr_t>(g_window));
  if (g_window == nullptr || scene == nullptr || dll.SetCanvasSize(scene, kSize, kSize) != 0) {
    std::printf("FAIL: no window or canvas\n");
    return 1;
  }
  dll.SetCanvasColorTable(scene, g_colours, 256);
  DibPtr boards[2] = {Board(false), Board(true)};
  DibPtr white = Disc(kWhite), black = Disc(kBlack);
  dll.BackgroundSetDibFromPtr(scene, boards[0].get());
  const int whiteDib = dll.AddSpriteDib(scene, white.get()), blackDib = dll.AddSpriteDib(scene, black.get());
  int hazed = -1;
  for (int file = 0; file < 8; ++file) {
    for (int rank : {0, 1, 6, 7}) {
      const int s = dll.AddSprite(scene);
      dll.SetSpriteSpriteDib(scene, s, rank < 2 ? blackDib : whiteDib);
      dll.ShowSprite(scene, s, file * kSquare + kSquare / 2, rank * kSquare + kSquare / 2, 100, 0);
      if (file == 3 && rank == 6) hazed = s;
    }
  }
  dll.DoFXSprite(scene, hazed, 2, kGold);
  dll.RegisterDrawCallback(scene, Frame, 9999, 9999, 0);
  g_scene = scene;

  HDC dc = GetDC(g_window);
  dll.PaintScene(scene, dc);
  ReleaseDC(g_window, dc);
  Pump();
  Expect("scene: empty light square", 10, 90, kLight);
  Expect("scene: empty dark square", 50, 90, kDark);
  Expect("scene: black piece", 20, 20, kBlack);
  Expect("scene: piece transparency shows the board", 1, 1, kLight);
  Expect("scene: white piece", 60, 300, kWhite);
  Expect("scene: frame drawn by a callback", 160, 180, kFrame);
  Shot("scene");

  // Each wipe reveals the other board over the one on the window.
  dll.UnregisterAllDrawCallbacks(scene);
  dll.RegisterDrawCallback(scene, Band, ANIM_DEPTH_FARTHEST, ANIM_DEPTH_FARTHEST, 0);
  const Wipe wipes[] = {
      {2, 0, "wipe-2-down"}, {3, 0, "wipe-3-up"}, {4, 0, "wipe-4-right"}, {7, 0, "wipe-7-left"}};
  bool second = false;
  for (const Wipe& w : wipes) {
    second = w.kind == 2 || w.kind == 4;
    dll.BackgroundSetDibFromPtr(scene, boards[second ? 1 : 0].get());
    g_wipe = w;
    HDC wdc = GetDC(g_window);
    g_wiping = true;
    dll.PaintSceneSFX(scene, wdc, w.kind);
    g_wiping = false;
    ReleaseDC(g_window, wdc);
    if (g_wipe.bands != kSize / 5) {
      std::printf("FAIL %s: %d bands\n", w.name, g_wipe.bands);
      ++g_failures;
    }
  }
  Expect("after the wipes", 10, 90, kLight);
  Shot("final");
  dll.TerminateAnimate(scene);
  g_scene = nullptr;
  DestroyWindow(g_window);
  std::printf("%s\n", g_failures ? "FAILED" : "all checks passed");
  return g_failures ? 1 : 0;
}
