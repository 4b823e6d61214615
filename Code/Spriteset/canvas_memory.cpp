// The memory canvas (see canvas_memory.h).
#include "canvas_memory.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "canvas_platform.h"

namespace spriteset {

namespace {

int g_bitsPerPixel = 8;
int g_planes = 1;
uint32_t (*g_now)() = nullptr;
void (*g_wait)(uint32_t) = nullptr;
void (*g_sink)(const char*) = nullptr;

}  // namespace

void MemoryCanvasSetScreen(int bitsPerPixel, int planes) {
  g_bitsPerPixel = bitsPerPixel;
  g_planes = planes;
}

void MemoryCanvasSetClock(uint32_t (*now)(), void (*wait)(uint32_t)) {
  g_now = now;
  g_wait = wait;
}

void MemoryCanvasSetErrorSink(void (*sink)(const char*)) { g_sink = sink; }

AnimScene* PlatformSceneAlloc(size_t size) { return static_cast<AnimScene*>(std::calloc(1, size)); }
void PlatformSceneFree(AnimScene* scene) { std::free(scene); }

int PlatformCreateCanvas(AnimCanvas* canvas, int32_t width, int32_t height) {
  int bits = g_bitsPerPixel > 24 ? 24 : g_bitsPerPixel;
  if (bits != 8 && bits != 16 && bits != 24) return CanvasError(ANIM_CANVAS_PLATFORM_CALL, __LINE__);
  if (g_planes != 1) return CanvasError(ANIM_CANVAS_BAD_PLANES, __LINE__);
  PlatformDestroyCanvas(canvas);
  const int32_t stride = static_cast<int32_t>(dibRowStride(bits, width));
  auto* memory = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(stride), static_cast<size_t>(height)));
  if (memory == nullptr) return CanvasError(ANIM_CANVAS_NOT_CREATED, __LINE__);
  PackedDib& h = canvas->info.header;
  h = PackedDib{};
  h.biSize = sizeof(PackedDib);
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<uint16_t>(bits);
  canvas->bits = memory;
  canvas->stride = stride;
  return 0;
}

void PlatformDestroyCanvas(AnimCanvas* canvas) {
  std::free(canvas->bits);
  canvas->bits = nullptr;
}

int PlatformCopyToTarget(AnimCanvas* canvas, void* target, const DibRect& rect) {
  auto* t = static_cast<MemoryTarget*>(target);
  if (t == nullptr) return 0;
  ++t->copies;
  t->last = rect;
  PackedDib* img = t->image;
  const PackedDib& h = canvas->info.header;
  if (img == nullptr || img->biBitCount != h.biBitCount || img->biWidth != h.biWidth ||
      img->biHeight != h.biHeight) {
    return CanvasError(ANIM_CANVAS_BAD_DEPTH, __LINE__);
  }
  // Both are laid out alike: the same rows at the same offsets.
  const int bpp = h.biBitCount / 8;
  const int32_t rowOfTop = h.biHeight < 0 ? rect.top : h.biHeight - 1 - rect.top;
  const int32_t step = h.biHeight < 0 ? canvas->stride : -canvas->stride;
  const size_t offset = static_cast<size_t>(rowOfTop) * canvas->stride + static_cast<size_t>(rect.left) * bpp;
  return dibCopyBitsWide(static_cast<uint8_t*>(dibGetBits(img)) + offset, 0, bpp, canvas->bits + offset,
                         rect.right - rect.left + 1, rect.bottom - rect.top + 1, step, step, bpp, nullptr,
                         nullptr) == 0
             ? 0
             : CanvasError(ANIM_CANVAS_BAD_DEPTH, __LINE__);
}

void PlatformOutline(void* target, const DibRect&) {
  if (target) ++static_cast<MemoryTarget*>(target)->outlines;
}
void PlatformFlush() {}

uint32_t PlatformMillis() {
  if (g_now) return g_now();
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void PlatformWait(uint32_t ms) {
  if (g_wait) return g_wait(ms);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void PlatformShowError(const char* text) {
  if (g_sink) return g_sink(text);
  std::fputs(text, stderr);
}

}  // namespace spriteset
