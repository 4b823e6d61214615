// bench_sprites: frames per second of a board scene.
//   bench_sprites [seconds per case]
// The scene is a 640 x 640 board background with 32 piece sprites (80 x 80
// images, transparent around a disc) at depth 100. "slide" moves one piece
// 4 pixels per frame across the board and back, repainting the dirty
// rectangles; "full" repaints the whole board every frame. Each case runs
// at 8, 16 and 24 bits per pixel natively; on Windows at the screen's
// depth, into a window.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "dibkit.h"
#include "spriteset.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "canvas_memory.h"
#endif

namespace {

constexpr int kBoard = 640, kSquare = 80;

double FramesPerSecond(double seconds, const std::function<void(int)>& frame) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  int frames = 0;
  double elapsed = 0;
  do {
    frame(frames++);
  } while ((elapsed = std::chrono::duration<double>(Clock::now() - start).count()) < seconds);
  return frames / elapsed;
}

PackedDib* Image(int size, uint8_t (*pixel)(int x, int y)) {
  PackedDib* d = dibCreateWithColors(size, size, 8);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(d, x, y)) = pixel(x, y);
  return d;
}

uint8_t Square(int x, int y) { return ((x / kSquare + y / kSquare) & 1) ? 20 : 21; }
uint8_t Disc(int x, int y) {
  const int dx = 2 * x - 79, dy = 2 * y - 79;
  return dx * dx + dy * dy > 70 * 70 ? 0 : (x + y) % 7 + 30;
}

struct Result {
  double slide, full;
};

// Builds the scene, runs both cases on `target` and tears it down.
Result Run(double seconds, void* target) {
  AnimScene* scene = InitAnimate(0);
  if (scene == nullptr || SetCanvasSize(scene, kBoard, kBoard) != 0) {
    std::fprintf(stderr, "bench_sprites: no canvas\n");
    std::exit(1);
  }
  DibRgbQuad colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = DibRgbQuad{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
  SetCanvasColorTable(scene, colours, 256);
  PackedDib* board = Image(kBoard, Square);
  PackedDib* piece = Image(kSquare, Disc);
  BackgroundSetDibFromPtr(scene, board);
  const int entry = AddSpriteDib(scene, piece);
  int slider = -1;
  for (int file = 0; file < 8; ++file) {
    for (int rank : {0, 1, 6, 7}) {
      const int s = AddSprite(scene);
      SetSpriteSpriteDib(scene, s, entry);
      ShowSprite(scene, s, file * kSquare + kSquare / 2, rank * kSquare + kSquare / 2, 100, 0);
      if (file == 4 && rank == 6) slider = s;
    }
  }
  PaintScene(scene, target);
  Result r;
  const int travel = kBoard - kSquare;  // left edge from 0 to 560 and back
  r.slide = FramesPerSecond(seconds, [&](int frame) {
    const int step = (frame * 4) % (2 * travel);
    const int x = step < travel ? step : 2 * travel - step;
    ShowSprite(scene, slider, x + kSquare / 2, 4 * kSquare + kSquare / 2, 50, 0);  // above the others
    PaintScene(scene, target);
  });
  r.full = FramesPerSecond(seconds, [&](int) {
    MakeRectInvalid(scene, 0, 0, kBoard - 1, kBoard - 1);
    PaintScene(scene, target);
  });
  TerminateAnimate(scene);
  dibDelete(board);
  dibDelete(piece);
  return r;
}

void Print(int bits, const Result& r) {
  std::printf("%2d-bit canvas: slide %8.0f frames/s   full repaint %7.0f frames/s\n", bits, r.slide, r.full);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
  std::printf("640 x 640 board, 32 pieces of 80 x 80, one sliding 4 pixels a frame\n");
#ifdef _WIN32
  HWND window = CreateWindowExA(0, "STATIC", "bench_sprites", WS_POPUP | WS_VISIBLE, 0, 0, kBoard, kBoard,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HDC dc = GetDC(window);
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  Print(bits > 24 ? 24 : bits, Run(seconds, dc));
  ReleaseDC(window, dc);
  DestroyWindow(window);
#else
  for (int bits : {8, 16, 24}) {
    spriteset::MemoryCanvasSetScreen(bits, 1);
    PackedDib* image = dibCreateWithColors(kBoard, kBoard, bits);
    spriteset::MemoryTarget target{image, 0, {}, 0};
    Print(bits, Run(seconds, &target));
    dibDelete(image);
  }
#endif
  return 0;
}
