// The scene's background image, copied into every rectangle before the
// sprites are drawn.
#include <cstring>

#include "anim_scene.h"
#include "dibkit.h"

using namespace spriteset;

namespace {

void Forget(AnimBackground* bg) {
  const int stretch = bg->stretch;
  *bg = AnimBackground{};
  bg->stretch = stretch;
}

void Release(AnimBackground* bg) {
  if (bg->flags & ANIM_BG_OWNED) dibDelete(bg->dib);
  Forget(bg);
}

void Take(AnimScene* scene, PackedDib* dib, int flags) {
  AnimBackground* bg = &scene->background;
  if (bg->dib != dib) Release(bg);
  bg->dib = dib;
  bg->width = dib->biWidth;
  bg->height = dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
  const int32_t stride = static_cast<int32_t>(dibRowStride(dib->biBitCount, dib->biWidth));
  bg->row0 = static_cast<uint8_t*>(dibGetPixelAddress(dib, 0, 0));
  bg->rowStep = dib->biHeight < 0 ? stride : -stride;
  bg->flags = flags;
  InvalidateAll(scene);
}

}  // namespace

extern "C" {

int BackgroundSetDibFromFile(AnimScene* scene, const char* path) {
  if (scene == nullptr) return 0;
  EmptyInvalidList(scene);
  if (path == nullptr) return 0;
  PackedDib* dib = dibReadFile(path);
  if (dib == nullptr) return 0;
  Take(scene, dib, ANIM_BG_OWNED | ANIM_BG_FROM_FILE);
  AnimBackground& bg = scene->background;
  std::strncpy(bg.fileName, path, sizeof bg.fileName - 1);
  bg.fileName[sizeof bg.fileName - 1] = '\0';
  return 1;
}

int BackgroundSetDibFromPtr(AnimScene* scene, PackedDib* dib) {
  if (scene == nullptr) return 0;
  EmptyInvalidList(scene);
  if (dib == nullptr) return 0;
  Take(scene, dib, 0);
  return 1;
}

// A caller's image stays the caller's: only an image the scene read itself
// is freed.
void BackgroundDestroyDib(AnimScene* scene) {
  if (scene) Release(&scene->background);
}

int BackgroundSetStretch(AnimScene* scene, int on) {
  if (scene == nullptr) return 0;
  const int previous = scene->background.stretch;
  scene->background.stretch = on;
  return previous;
}

void BackgroundSetFlags(AnimScene*, int) {}

}  // extern "C"
