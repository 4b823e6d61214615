// The scene record and its tables, shared by the library's source files.
//
// Interface: AnimSprite, AnimSpriteDib, AnimBackground, AnimCanvas,
// AnimDrawCallbackEntry, AnimScene, and the helpers below.
#pragma once

#include <cstdint>

#include "spriteset.h"

// One of 256 sprite-DIB entries: a rectangle of a packed DIB.
struct AnimSpriteDib {
  int inUse;
  int rawBits;  // cut from a template
  int32_t x, y, width, height;
  PackedDib* dib;
};

// One of 512 sprites.
struct AnimSprite {
  int32_t x, y, depth;  // depth 0 is nearest
  int shown;
  int inUse;
  int dibIndex;         // -1: none
  int effect;           // non-zero: drawn hazed
  int effectParameter;  // low byte: the haze colour index
  DibRect rect;         // current screen rectangle (inclusive)
  DibRect previous;     // the one before the last move
  DibRect clip;         // part inside the rectangle being composed
};

struct AnimBackground {
  PackedDib* dib;
  int32_t width, height;  // height positive
  uint8_t* row0;          // address of pixel row 0 (the top row)
  int32_t rowStep;        // signed step to the next row down
  int flags;              // bit 1 owned by the scene, bit 2 read from a file
  char fileName[260];
  int stretch;
};
enum { ANIM_BG_OWNED = 2, ANIM_BG_FROM_FILE = 4 };

// The canvas: pixel memory at the screen's depth and its description.
struct AnimCanvas {
  void* dc;         // memory device context (Windows)
  void* section;    // DIB section selected into it
  void* oldBitmap;  // the bitmap it replaced
  uint8_t* bits;    // first stored row
  int32_t stride;   // bytes per row
  int topDown;
  // The header followed by the colour table: a BITMAPINFO in memory.
  struct {
    PackedDib header;
    DibRgbQuad colors[256];
  } info;
  uint16_t colors16[256];  // the same colours as 5-5-5 values
  void* palette;
  int colorsChanged;
};

struct AnimDrawCallbackEntry {
  AnimDrawCallback callback;
  int high, low;
  intptr_t user;
};

struct AnimScene {
  intptr_t user;
  void* memoryHandle;  // the platform's handle of this block
  int sortMode;
  PackedDib* templates[ANIM_MAX_TEMPLATES];
  int templateCount;                       // one past the highest occupied slot
  bool templateOwned[ANIM_MAX_TEMPLATES];  // read from a file by the scene, freed with it
  AnimSpriteDib dibs[ANIM_MAX_SPRITE_DIBS];
  int dibCount;
  AnimSprite sprites[ANIM_MAX_SPRITES];
  int spriteCount;
  DibRect invalid[ANIM_MAX_INVALID_RECTS];
  int invalidCount;
  int32_t scanlines[ANIM_MAX_SCANLINES];
  int scanlineCount;
  DibRect bounds;      // (0, 0, canvas width - 1, canvas height - 1); empty before SetCanvasSize
  DibRect transition;  // what PaintSceneSFX reveals
  AnimBackground background;
  AnimCanvas canvas;
  AnimDrawCallbackEntry callbacks[ANIM_MAX_DRAW_CALLBACKS];
  int callbackCount;
  int debugOutline;
  DibRect outlined[20];
  int outlinedCount;
  uint32_t paintTimes[2];
  int paintTimesFlag;
};

namespace spriteset {

inline bool RectEmpty(const DibRect& r) { return r.right < r.left || r.bottom < r.top; }
inline bool Intersect(const DibRect& a, const DibRect& b, DibRect* out) {
  DibRect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  if (out) *out = r;
  return !RectEmpty(r);
}
inline DibRect Union(const DibRect& a, const DibRect& b) {
  return DibRect{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                 a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

// Clears the dirty list.
void EmptyInvalidList(AnimScene* scene);
// Marks the whole scene dirty.
void InvalidateAll(AnimScene* scene);

// Reports a canvas failure ("Canvas error %d at line %d\r\n") and returns
// the status.
int CanvasError(int status, int line);

// Frees the canvas' platform objects.
void DestroyCanvas(AnimScene* scene);

}  // namespace spriteset
