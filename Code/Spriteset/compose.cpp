// The compositor: rebuilds rectangles of the canvas back to front (the
// background, then the sprites from the farthest depth to the nearest with
// the draw callbacks between them) and copies them to the window; and the
// paint calls and transitions built on it.
#include <algorithm>

#include "anim_scene.h"
#include "canvas_platform.h"
#include "dibkit.h"

using namespace spriteset;

namespace {

constexpr uint32_t kTransparent16 = 0xFC1F;
constexpr int kBand = 5;          // pixels per transition step
constexpr uint32_t kStepMs = 25;  // least time per transition step

struct Pixels {
  uint8_t* row0;  // address of pixel (0, 0)
  int32_t step;   // to the next row down
  int bytesPerPixel;
  uint8_t* at(int32_t x, int32_t y) const {
    return row0 + static_cast<ptrdiff_t>(y) * step + x * bytesPerPixel;
  }
};

Pixels CanvasPixels(const AnimCanvas& c) {
  const int32_t height = c.info.header.biHeight < 0 ? -c.info.header.biHeight : c.info.header.biHeight;
  if (c.topDown) return Pixels{c.bits, c.stride, c.info.header.biBitCount / 8};
  return Pixels{c.bits + static_cast<ptrdiff_t>(height - 1) * c.stride, -c.stride,
                c.info.header.biBitCount / 8};
}

Pixels DibPixels(const PackedDib* dib) {
  const int32_t stride = static_cast<int32_t>(dibRowStride(dib->biBitCount, dib->biWidth));
  return Pixels{static_cast<uint8_t*>(dibGetPixelAddress(dib, 0, 0)), dib->biHeight < 0 ? stride : -stride,
                dib->biBitCount / 8};
}

int32_t DibHeight(const PackedDib* dib) { return dib->biHeight < 0 ? -dib->biHeight : dib->biHeight; }

void CopyBackground(AnimScene* scene, const DibRect& rect) {
  const AnimBackground& bg = scene->background;
  if (bg.dib == nullptr) return;
  DibRect part;
  if (!Intersect(rect, DibRect{0, 0, bg.width - 1, bg.height - 1}, &part)) return;
  AnimCanvas& c = scene->canvas;
  const Pixels dst = CanvasPixels(c);
  const int bgBpp = bg.dib->biBitCount / 8;
  if (dst.bytesPerPixel == 0 || bgBpp == 0) {
    CanvasError(ANIM_CANVAS_BAD_DEPTH, __LINE__);
    return;
  }
  const uint8_t* src = bg.row0 + static_cast<ptrdiff_t>(part.top) * bg.rowStep + part.left * bgBpp;
  if (dibCopyBitsWide(dst.at(part.left, part.top), 0, dst.bytesPerPixel, src, part.right - part.left + 1,
                      part.bottom - part.top + 1, dst.step, bg.rowStep, bgBpp, c.colors16,
                      c.info.colors) != 0) {
    CanvasError(ANIM_CANVAS_BAD_DEPTH, __LINE__);
  }
}

// A sprite that can be drawn: in use, shown, with an entry showing an image.
bool Drawable(const AnimScene* scene, const AnimSprite& s) {
  return s.inUse && s.shown && s.dibIndex >= 0 && s.dibIndex < ANIM_MAX_SPRITE_DIBS &&
         scene->dibs[s.dibIndex].inUse && scene->dibs[s.dibIndex].dib != nullptr;
}

void DrawSprite(AnimScene* scene, const AnimSprite& s) {
  // Checked again: a draw callback may have changed the scene meanwhile.
  if (!Drawable(scene, s)) return;
  const AnimSpriteDib& e = scene->dibs[s.dibIndex];
  const PackedDib* dib = e.dib;
  // Screen rectangles of the whole image and of the entry's part of it; an
  // entry re-pointed since the sprite was placed never reads past either.
  const int32_t originX = s.rect.left - e.x, originY = s.rect.top - e.y;
  DibRect r;
  if (!Intersect(s.clip, DibRect{originX, originY, originX + dib->biWidth - 1, originY + DibHeight(dib) - 1},
                 &r) ||
      !Intersect(r, DibRect{s.rect.left, s.rect.top, s.rect.left + e.width - 1, s.rect.top + e.height - 1},
                 &r)) {
    return;
  }
  AnimCanvas& c = scene->canvas;
  const Pixels dst = CanvasPixels(c);
  const Pixels src = DibPixels(dib);
  const uint32_t key = dib->biBitCount == 16 ? kTransparent16 : 0;
  const int32_t width = r.right - r.left + 1, height = r.bottom - r.top + 1;
  const uint8_t* from = src.at(r.left - originX, r.top - originY);
  int status;
  if (s.effect != 0) {
    status = dibFXCopyBitsWide(dst.at(r.left, r.top), 0, dst.bytesPerPixel, from, width, height, dst.step,
                               src.step, src.bytesPerPixel, c.colors16, c.info.colors, DIB_FX_HAZE, key,
                               static_cast<uint32_t>(s.effectParameter) & 0xFF, r.left, r.top);
  } else {
    status = dibTransCopyBitsWide(dst.at(r.left, r.top), 0, dst.bytesPerPixel, from, width, height, dst.step,
                                  src.step, src.bytesPerPixel, c.colors16, c.info.colors, key);
  }
  if (status != 0) CanvasError(ANIM_CANVAS_BAD_DEPTH, __LINE__);
}

// Calls every draw callback whose depths overlap a..b (either order).
void RunCallbacks(AnimScene* scene, const DibRect& rect, int a, int b) {
  const int low = std::min(a, b), high = std::max(a, b);
  bool called = false;
  for (int i = 0; i < scene->callbackCount; ++i) {
    const AnimDrawCallbackEntry cb = scene->callbacks[i];
    if (cb.callback == nullptr || cb.low > high || cb.high < low) continue;
    cb.callback(scene->canvas.dc, &scene->canvas.info, scene->canvas.bits, std::min(cb.high, high),
                std::max(cb.low, low), rect.left, rect.top, rect.right, rect.bottom, cb.user);
    called = true;
  }
  if (called) PlatformFlush();  // the callbacks may have drawn with the platform
}

// Rebuilds one rectangle of the canvas for sprites of depths low..high.
void Compose(AnimScene* scene, const DibRect& rect, int low, int high) {
  int order[ANIM_MAX_SPRITES];
  int count = 0;
  for (int i = 0; i < ANIM_MAX_SPRITES; ++i) {
    AnimSprite& s = scene->sprites[i];
    if (!Drawable(scene, s) || s.depth < low || s.depth > high || !Intersect(s.rect, rect, &s.clip)) continue;
    order[count++] = i;
  }
  if (scene->sortMode != 0) {
    // Farthest first; equal depths keep slot order, so the higher slot is on top.
    std::stable_sort(order, order + count,
                     [scene](int a, int b) { return scene->sprites[a].depth > scene->sprites[b].depth; });
  }
  PlatformFlush();
  if (high == ANIM_DEPTH_FARTHEST) CopyBackground(scene, rect);
  int previous = high;
  for (int k = 0; k < count; ++k) {
    const AnimSprite& s = scene->sprites[order[k]];
    RunCallbacks(scene, rect, s.depth, previous);
    DrawSprite(scene, s);
    previous = s.depth;
  }
  RunCallbacks(scene, rect, 0, previous);
}

bool CanPaint(const AnimScene* scene) { return scene != nullptr && scene->canvas.bits != nullptr; }

// Composes the rectangle (clipped to the scene) and copies it to the target.
void PaintRect(AnimScene* scene, void* target, const DibRect& rect, int low, int high) {
  DibRect r;
  if (!Intersect(rect, scene->bounds, &r)) return;
  const bool timed = scene->paintTimesFlag != 0;
  const uint32_t start = timed ? PlatformMillis() : 0;
  Compose(scene, r, low, high);
  const uint32_t composed = timed ? PlatformMillis() : 0;
  PlatformCopyToTarget(&scene->canvas, target, r);
  if (timed) {
    scene->paintTimes[0] += composed - start;
    scene->paintTimes[1] += PlatformMillis() - composed;
  }
}

void PaintList(AnimScene* scene, void* target, int low, int high, bool outline) {
  if (outline && scene->invalidCount > 0) {
    for (int i = 0; i < scene->outlinedCount; ++i) PlatformOutline(target, scene->outlined[i]);  // erases
    scene->outlinedCount = 0;
  }
  for (int i = 0; i < scene->invalidCount; ++i) PaintRect(scene, target, scene->invalid[i], low, high);
  if (outline) {
    const int n = std::min(scene->invalidCount, 20);
    for (int i = 0; i < n; ++i) {
      DibRect r = scene->invalid[i];
      ++r.right;
      ++r.bottom;
      PlatformOutline(target, r);
      scene->outlined[scene->outlinedCount++] = r;
    }
  }
  EmptyInvalidList(scene);
}

}  // namespace

extern "C" {

void PaintScene(AnimScene* scene, void* dc) {
  if (scene == nullptr) return;
  if (!CanPaint(scene)) {
    EmptyInvalidList(scene);
    return;
  }
  PaintList(scene, dc, 0, ANIM_DEPTH_FARTHEST, scene->debugOutline != 0);
}

void PaintScenePartialDepth(AnimScene* scene, void* dc, int low, int high) {
  if (scene == nullptr) return;
  if (!CanPaint(scene)) {
    EmptyInvalidList(scene);
    return;
  }
  PaintList(scene, dc, low, high, false);
}

void PaintSceneRect(AnimScene* scene, void* dc, const DibRect* rect) {
  if (!CanPaint(scene) || rect == nullptr) return;
  PaintRect(scene, dc, *rect, 0, ANIM_DEPTH_FARTHEST);
}

void PaintSceneSFX(AnimScene* scene, void* dc, int kind) {
  if (scene == nullptr) return;
  DibRect t;
  if (CanPaint(scene) && Intersect(scene->transition, scene->bounds, &t)) {
    const bool vertical = kind == ANIM_WIPE_DOWN || kind == ANIM_WIPE_UP;
    const bool forward = kind == ANIM_WIPE_DOWN || kind == ANIM_WIPE_RIGHT;
    const int first = vertical ? t.top : t.left, last = vertical ? t.bottom : t.right;
    int done = 0;  // pixels revealed from the starting edge
    const int length = last - first + 1;
    while (done < length) {
      const int size = std::min(kBand, length - done);
      const int a = forward ? first + done : last - done - size + 1, b = a + size - 1;
      const DibRect band = vertical ? DibRect{t.left, a, t.right, b} : DibRect{a, t.top, b, t.bottom};
      const uint32_t start = PlatformMillis();
      PaintRect(scene, dc, band, 0, ANIM_DEPTH_FARTHEST);
      for (uint32_t spent = PlatformMillis() - start; spent < kStepMs; spent = PlatformMillis() - start) {
        PlatformWait(kStepMs - spent);
      }
      done += size;
    }
  }
  EmptyInvalidList(scene);
}

}  // extern "C"
