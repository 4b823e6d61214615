// The canvas calls and the canvas error report; the surface itself comes
// from the platform (canvas_platform.h).
#include <cstdio>
#include <cstring>

#include "anim_scene.h"
#include "canvas_platform.h"

using namespace spriteset;

namespace spriteset {

int CanvasError(int status, int line) {
  char text[64];
  std::snprintf(text, sizeof text, "Canvas error %d at line %d\r\n", status, line);
  PlatformShowError(text);
  return status;
}

void DestroyCanvas(AnimScene* scene) {
  PlatformDestroyCanvas(&scene->canvas);
  scene->canvas.bits = nullptr;
  scene->canvas.stride = 0;
}

}  // namespace spriteset

extern "C" {

int SetCanvasSize(AnimScene* scene, int width, int height) {
  if (scene == nullptr) return CanvasError(ANIM_CANVAS_NULL_ARGUMENT, __LINE__) != 0;
  EmptyInvalidList(scene);
  // Until a canvas stands nothing may be painted into it.
  scene->bounds = scene->transition = DibRect{0, 0, -1, -1};
  if (width <= 0 || height <= 0) {
    DestroyCanvas(scene);
    return CanvasError(ANIM_CANVAS_NOT_CREATED, __LINE__) != 0;
  }
  if (PlatformCreateCanvas(&scene->canvas, width, height) != 0) {
    scene->canvas.bits = nullptr;
    return 1;
  }
  scene->canvas.topDown = scene->canvas.info.header.biHeight < 0;
  scene->bounds = DibRect{0, 0, width - 1, height - 1};
  // A transition reveals the whole scene.
  scene->transition = scene->bounds;
  return 0;
}

int SetCanvasColorTable(AnimScene* scene, const DibRgbQuad* colours, int count) {
  if (scene == nullptr || colours == nullptr) return 0;
  if (count > 256) count = 256;
  AnimCanvas& c = scene->canvas;
  for (int i = 0; i < count; ++i) {
    const DibRgbQuad q = colours[i];
    c.info.colors[i] = q;
    c.colors16[i] = static_cast<uint16_t>((q.red >> 3) << 10 | (q.green >> 3) << 5 | q.blue >> 3);
  }
  c.colorsChanged = 1;
  return 0;
}

}  // extern "C"
