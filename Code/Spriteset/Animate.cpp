// The scene: creation and version, templates, sprite-DIB entries, sprites,
// the hit test and the draw-callback registry.
//
// Every index a caller passes is checked against its table before use; a
// bad one gets the call's failure value.
#include <cstdio>
#include <cstring>

#include "anim_scene.h"
#include "canvas_platform.h"
#include "dibkit.h"

using namespace spriteset;

namespace {

constexpr int kVersionMajor = 8, kVersionMinor = 0, kRevision = 1;
constexpr uint32_t kTransparent16 = 0xFC1F;
constexpr DibRect kEmptyRect{0, 0, -1, -1};

bool ValidTemplate(int slot) { return slot >= 0 && slot < ANIM_MAX_TEMPLATES; }
bool ValidEntry(int entry) { return entry >= 0 && entry < ANIM_MAX_SPRITE_DIBS; }
bool ValidSprite(int sprite) { return sprite >= 0 && sprite < ANIM_MAX_SPRITES; }

AnimSprite* SpriteInUse(AnimScene* scene, int sprite) {
  if (scene == nullptr || !ValidSprite(sprite) || !scene->sprites[sprite].inUse) return nullptr;
  return &scene->sprites[sprite];
}

AnimSpriteDib* EntryInUse(AnimScene* scene, int entry) {
  if (scene == nullptr || !ValidEntry(entry) || !scene->dibs[entry].inUse) return nullptr;
  return &scene->dibs[entry];
}

void RecountTemplates(AnimScene* scene) {
  int count = 0;
  for (int i = 0; i < ANIM_MAX_TEMPLATES; ++i)
    if (scene->templates[i] != nullptr) count = i + 1;
  scene->templateCount = count;
}

void PointEntryAtWholeImage(AnimSpriteDib* e, PackedDib* dib) {
  e->rawBits = 0;
  e->dib = dib;
  e->x = e->y = 0;
  e->width = dib ? dib->biWidth : 0;
  e->height = dib ? (dib->biHeight < 0 ? -dib->biHeight : dib->biHeight) : 0;
}

void PointEntryAtTemplate(AnimSpriteDib* e, PackedDib* dib, int x, int y, int width, int height) {
  e->rawBits = 1;
  e->dib = dib;
  e->x = x;
  e->y = y;
  e->width = width;
  e->height = height;
}

// The screen rectangle of an image of width x height placed at (x, y).
DibRect AnchoredRect(int x, int y, int w, int h, int anchor) {
  int left, top;
  if (anchor == 0) {
    left = x - w / 2;
    top = y - h / 2;
  } else if (anchor == 1) {
    left = x - w / 2;
    top = y - (h - w / 4);
  } else {
    left = x;
    top = y;
  }
  return DibRect{left, top, left + w - 1, top + h - 1};
}

void Place(AnimScene* scene, AnimSprite* s, int x, int y, int depth, int anchor) {
  int w = 0, h = 0;
  if (const AnimSpriteDib* e = EntryInUse(scene, s->dibIndex)) {
    w = e->width;
    h = e->height;
  }
  s->previous = s->rect;
  s->x = x;
  s->y = y;
  s->depth = depth;
  s->rect = AnchoredRect(x, y, w, h, anchor);
}

// Frees a template image; entries cut from it would otherwise read freed
// memory, so they are left showing nothing.
void ForgetImage(AnimScene* scene, PackedDib* dib) {
  if (dib == nullptr) return;
  for (auto& e : scene->dibs)
    if (e.dib == dib) e.dib = nullptr;
  dibDelete(dib);
}

bool Inside(const DibRect& r, int x, int y) {
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

// Whether the sprite's image shows a pixel at screen point (x, y).
bool PixelVisible(AnimScene* scene, const AnimSprite& s, int x, int y) {
  const AnimSpriteDib* e = EntryInUse(scene, s.dibIndex);
  if (e == nullptr || e->dib == nullptr) return false;
  const int32_t dx = x - s.rect.left, dy = y - s.rect.top;
  if (dx >= e->width || dy >= e->height) return false;
  const PackedDib* dib = e->dib;
  const auto* p = static_cast<const uint8_t*>(dibGetPixelAddress(dib, e->x + dx, e->y + dy));
  if (p == nullptr) return false;  // outside the image
  switch (dib->biBitCount) {
    case 8:
      return p[0] != 0;
    case 16: {
      const uint32_t v = p[0] | p[1] << 8;
      return v != 0 && v != kTransparent16;
    }
    case 24:
      return (p[0] | p[1] | p[2]) != 0;
    default:
      return false;
  }
}

}  // namespace

namespace spriteset {

void EmptyInvalidList(AnimScene* scene) {
  for (int i = 0; i < scene->invalidCount; ++i) scene->invalid[i] = kEmptyRect;
  scene->invalidCount = 0;
}

void InvalidateAll(AnimScene* scene) {
  const DibRect& b = scene->bounds;
  MakeRectInvalid(scene, b.left, b.top, b.right, b.bottom);
}

}  // namespace spriteset

extern "C" {

// ---------------------------------------------------------------- scene

AnimScene* InitAnimate(intptr_t user) {
  AnimScene* scene = PlatformSceneAlloc(sizeof(AnimScene));
  if (scene == nullptr) return nullptr;
  scene->user = user;
  scene->sortMode = 1;
  scene->bounds = kEmptyRect;  // nothing can be painted before SetCanvasSize
  scene->transition = kEmptyRect;
  for (auto& s : scene->sprites) s.dibIndex = -1;
  return scene;
}

void TerminateAnimate(AnimScene* scene) {
  if (scene == nullptr) return;
  DestroyCanvas(scene);
  BackgroundDestroyDib(scene);
  for (int i = 0; i < ANIM_MAX_TEMPLATES; ++i)
    if (scene->templateOwned[i]) dibDelete(scene->templates[i]);
  PlatformSceneFree(scene);
}

int AnimRevision(AnimScene*) { return kRevision; }
int AnimVersion(AnimScene*) { return kVersionMajor * 100 + kVersionMinor; }
int AnimVersionString(AnimScene*, char* buffer) {
  if (buffer == nullptr) return 0;
  return std::sprintf(buffer, "%d.%02d.%02d", kVersionMajor, kVersionMinor, kRevision);
}

int SetSortMode(AnimScene* scene, int mode) {
  if (scene == nullptr) return 0;
  const int previous = scene->sortMode;
  scene->sortMode = mode;
  return previous;
}

void SetDebugInvalidRects(AnimScene* scene, int on) {
  if (scene) scene->debugOutline = on;
}

void ResetFixupPaintTimes(AnimScene* scene) {
  if (scene == nullptr) return;
  scene->paintTimes[0] = scene->paintTimes[1] = 0;
  scene->paintTimesFlag = 1;
}

void GetFixupPaintTimes(AnimScene* scene, uint32_t* composeMs, uint32_t* copyMs) {
  if (scene == nullptr) return;
  if (composeMs) *composeMs = scene->paintTimes[0];
  if (copyMs) *copyMs = scene->paintTimes[1];
}

int MakeScanlineInvalid(AnimScene* scene, int row) {
  if (scene == nullptr || RectEmpty(scene->bounds)) return 0;
  if (row < 0 || row > scene->bounds.bottom + 1 || scene->scanlineCount >= ANIM_MAX_SCANLINES) return 0;
  scene->scanlines[scene->scanlineCount++] = row;
  return scene->scanlineCount;
}

int OffsetRectInsideBackground(AnimScene* scene, DibRect* rect) {
  if (scene == nullptr || rect == nullptr) return 0;
  if (rect->left < 0) {
    rect->right -= rect->left;
    rect->left = 0;
  }
  if (rect->top < 0) {
    rect->bottom -= rect->top;
    rect->top = 0;
  }
  if (rect->right > scene->bounds.right) {
    rect->left -= rect->right - scene->bounds.right;
    rect->right = scene->bounds.right;
  }
  if (rect->bottom > scene->bounds.bottom) {
    rect->top -= rect->bottom - scene->bounds.bottom;
    rect->bottom = scene->bounds.bottom;
  }
  return 1;
}

// ---------------------------------------------------------------- templates

int SetSpriteTemplate(AnimScene* scene, int slot, PackedDib* dib) {
  if (scene == nullptr || !ValidTemplate(slot)) return -1;
  if (scene->templateOwned[slot] && scene->templates[slot] != dib) ForgetImage(scene, scene->templates[slot]);
  scene->templates[slot] = dib;
  scene->templateOwned[slot] = false;
  RecountTemplates(scene);
  return slot;
}

int AddSpriteTemplate(AnimScene* scene, PackedDib* dib) {
  if (scene == nullptr || dib == nullptr) return -1;
  for (int i = 0; i < ANIM_MAX_TEMPLATES; ++i)
    if (scene->templates[i] == nullptr) return SetSpriteTemplate(scene, i, dib);
  return -1;
}

int OpenSpriteTemplate(AnimScene* scene, const char* path) {
  if (scene == nullptr || path == nullptr) return -1;
  PackedDib* dib = dibReadFile(path);
  const int slot = AddSpriteTemplate(scene, dib);
  if (slot < 0) {
    dibDelete(dib);
    return -1;
  }
  scene->templateOwned[slot] = true;
  return slot;
}

int DeleteSpriteTemplate(AnimScene* scene, int slot) {
  if (scene == nullptr || !ValidTemplate(slot)) return -1;
  scene->templates[slot] = nullptr;
  scene->templateOwned[slot] = false;
  RecountTemplates(scene);
  return 0;
}

int CloseSpriteTemplate(AnimScene* scene, int slot) {
  if (scene == nullptr || !ValidTemplate(slot)) return -1;
  ForgetImage(scene, scene->templates[slot]);
  return DeleteSpriteTemplate(scene, slot);
}

// ---------------------------------------------------------------- sprite DIB entries

static int NewEntry(AnimScene* scene) {
  if (scene->dibCount >= ANIM_MAX_SPRITE_DIBS) return -1;
  for (int i = 0; i < ANIM_MAX_SPRITE_DIBS; ++i) {
    if (!scene->dibs[i].inUse) {
      scene->dibs[i] = AnimSpriteDib{};
      scene->dibs[i].inUse = 1;
      ++scene->dibCount;
      return i;
    }
  }
  return -1;
}

int AddSpriteDibFromTemplate(AnimScene* scene, int slot, int x, int y, int width, int height) {
  if (scene == nullptr || !ValidTemplate(slot) || slot >= scene->templateCount) return -1;
  PackedDib* dib = scene->templates[slot];
  if (dib == nullptr) return -1;
  const int entry = NewEntry(scene);
  if (entry >= 0) PointEntryAtTemplate(&scene->dibs[entry], dib, x, y, width, height);
  return entry;
}

int SetSpriteDibFromTemplate(AnimScene* scene, int entry, int slot, int x, int y, int width, int height) {
  AnimSpriteDib* e = EntryInUse(scene, entry);
  if (e == nullptr || !ValidTemplate(slot) || scene->templates[slot] == nullptr) return -1;
  PointEntryAtTemplate(e, scene->templates[slot], x, y, width, height);
  return 0;
}

int AddSpriteDib(AnimScene* scene, PackedDib* dib) {
  if (scene == nullptr) return -1;
  const int entry = NewEntry(scene);
  if (entry >= 0) PointEntryAtWholeImage(&scene->dibs[entry], dib);
  return entry;
}

int SetSpriteDib(AnimScene* scene, int entry, PackedDib* dib) {
  AnimSpriteDib* e = EntryInUse(scene, entry);
  if (e == nullptr) return -1;
  PointEntryAtWholeImage(e, dib);
  return 0;
}

int SetSpriteDibSizeFromRect(AnimScene* scene, int entry, const DibRect* rect) {
  AnimSpriteDib* e = EntryInUse(scene, entry);
  if (e == nullptr || rect == nullptr) return -1;
  e->x = rect->left;
  e->y = rect->top;
  e->width = rect->right - rect->left + 1;
  e->height = rect->bottom - rect->top + 1;
  return 0;
}

int DeleteSpriteDib(AnimScene* scene, int entry) {
  if (scene == nullptr) return -1;
  if (scene->dibCount == 0) return -2;
  AnimSpriteDib* e = EntryInUse(scene, entry);
  if (e == nullptr) return -1;
  *e = AnimSpriteDib{};
  --scene->dibCount;
  return 0;
}

int GetDibSize(AnimScene* scene, int entry, int* width, int* height) {
  const AnimSpriteDib* e = EntryInUse(scene, entry);
  if (e == nullptr) return 0;
  if (width) *width = e->width;
  if (height) *height = e->height;
  return 1;
}

PackedDib* GetSpritePBIH(AnimScene* scene, int entry) {
  const AnimSpriteDib* e = EntryInUse(scene, entry);
  return e ? e->dib : nullptr;
}

// ---------------------------------------------------------------- sprites

int AddSprite(AnimScene* scene) {
  if (scene == nullptr || scene->spriteCount >= ANIM_MAX_SPRITES) return -1;
  for (int i = 0; i < ANIM_MAX_SPRITES; ++i) {
    AnimSprite& s = scene->sprites[i];
    if (!s.inUse) {
      s = AnimSprite{};
      s.inUse = 1;
      s.dibIndex = -1;
      s.rect = s.previous = s.clip = kEmptyRect;
      ++scene->spriteCount;
      return i;
    }
  }
  return -1;
}

int DeleteSprite(AnimScene* scene, int sprite) {
  if (scene == nullptr) return -1;
  if (scene->spriteCount == 0) return -2;
  AnimSprite* s = SpriteInUse(scene, sprite);
  if (s == nullptr) return -1;
  *s = AnimSprite{};
  s->dibIndex = -1;
  --scene->spriteCount;
  return 0;
}

int SetSpriteSpriteDib(AnimScene* scene, int sprite, int entry) {
  AnimSprite* s = SpriteInUse(scene, sprite);
  if (s == nullptr || EntryInUse(scene, entry) == nullptr) return 0;
  s->dibIndex = entry;
  s->effect = 0;
  return 1;
}

void ShowSprite(AnimScene* scene, int sprite, int x, int y, int depth, int anchor) {
  AnimSprite* s = SpriteInUse(scene, sprite);
  if (s == nullptr) return;
  const bool wasShown = s->shown != 0;
  Place(scene, s, x, y, depth, anchor);
  s->shown = 1;
  const DibRect& a = s->previous;
  const DibRect& b = s->rect;
  if (wasShown && Intersect(a, b, nullptr)) {
    const DibRect u = Union(a, b);
    MakeRectInvalid(scene, u.left, u.top, u.right, u.bottom);
    return;
  }
  if (wasShown) MakeRectInvalid(scene, a.left, a.top, a.right, a.bottom);
  MakeRectInvalid(scene, b.left, b.top, b.right, b.bottom);
}

void SetSpritePosition(AnimScene* scene, int sprite, int x, int y, int depth, int anchor) {
  AnimSprite* s = SpriteInUse(scene, sprite);
  if (s != nullptr) Place(scene, s, x, y, depth, anchor);
}

static int SetShown(AnimScene* scene, int sprite, int shown) {
  AnimSprite* s = SpriteInUse(scene, sprite);
  if (s == nullptr || (s->shown != 0) == (shown != 0)) return 0;
  s->shown = shown;
  MakeRectInvalid(scene, s->rect.left, s->rect.top, s->rect.right, s->rect.bottom);
  return 1;
}

int HideSprite(AnimScene* scene, int sprite) { return SetShown(scene, sprite, 0); }
int UnHideSprite(AnimScene* scene, int sprite) { return SetShown(scene, sprite, 1); }

int IsSpriteVisible(AnimScene* scene, int sprite) {
  const AnimSprite* s = SpriteInUse(scene, sprite);
  return s ? s->shown : 0;
}

int GetSpritePosition(AnimScene* scene, int sprite, int* x, int* y, int* depth) {
  const AnimSprite* s = SpriteInUse(scene, sprite);
  if (s == nullptr) return 0;
  if (x) *x = s->x;
  if (y) *y = s->y;
  if (depth) *depth = s->depth;
  return 1;
}

int GetSpriteRect(AnimScene* scene, DibRect* rect, int sprite) {
  const AnimSprite* s = SpriteInUse(scene, sprite);
  if (s == nullptr || rect == nullptr) return 0;
  *rect = s->rect;
  return 1;
}

int GetSpriteFromPoint(AnimScene* scene, int x, int y, int* sprite) {
  int best = -1;
  if (scene != nullptr) {
    for (int i = 0; i < ANIM_MAX_SPRITES; ++i) {
      const AnimSprite& s = scene->sprites[i];
      if (!s.inUse || !s.shown || s.depth >= ANIM_HIT_DEPTH_LIMIT || !Inside(s.rect, x, y)) continue;
      if (best >= 0 && s.depth >= scene->sprites[best].depth) continue;  // lowest slot wins a tie
      if (PixelVisible(scene, s, x, y)) best = i;
    }
  }
  if (sprite) *sprite = best;
  return best >= 0 ? 1 : 0;
}

int DoFXSprite(AnimScene* scene, int sprite, int effect, int parameter) {
  AnimSprite* s = SpriteInUse(scene, sprite);
  if (s == nullptr) return 0;
  s->effect = effect;
  s->effectParameter = parameter;
  return 1;
}

int UndoFXSprite(AnimScene* scene, int sprite) {
  AnimSprite* s = SpriteInUse(scene, sprite);
  if (s == nullptr) return 0;
  s->effect = 0;
  return 1;
}

// ---------------------------------------------------------------- draw callbacks

int RegisterDrawCallback(AnimScene* scene, AnimDrawCallback callback, int high, int low, intptr_t user) {
  if (scene == nullptr) return ANIM_CB_BAD_RANGE;
  if (high < low) return ANIM_CB_BAD_RANGE;
  if (scene->callbackCount >= ANIM_MAX_DRAW_CALLBACKS) return ANIM_CB_FULL;
  scene->callbacks[scene->callbackCount++] = AnimDrawCallbackEntry{callback, high, low, user};
  return ANIM_CB_OK;
}

int UnregisterDrawCallback(AnimScene* scene, AnimDrawCallback callback, int high, int low) {
  if (scene == nullptr) return ANIM_CB_NOT_FOUND;
  int kept = 0;
  for (int i = 0; i < scene->callbackCount; ++i) {
    const AnimDrawCallbackEntry& c = scene->callbacks[i];
    if (c.callback == callback && c.high == high && c.low == low) continue;
    scene->callbacks[kept++] = c;
  }
  const bool removed = kept != scene->callbackCount;
  scene->callbackCount = kept;
  return removed ? ANIM_CB_OK : ANIM_CB_NOT_FOUND;
}

int UnregisterAllDrawCallbacks(AnimScene* scene) {
  if (scene) scene->callbackCount = 0;
  return ANIM_CB_OK;
}

}  // extern "C"
