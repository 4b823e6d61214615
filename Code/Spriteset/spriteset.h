// Spriteset: sprite scenes painted by dirty rectangles.
//
// A scene is an off-screen canvas of the screen's colour depth with an
// optional background image, up to 512 sprites placed at a depth (0 is
// nearest) and up to 50 draw callbacks hooked between depths. Moving,
// showing or hiding a sprite records the rectangles that must be repainted;
// PaintScene rebuilds only those in the canvas, back to front, and copies
// them to the window. Sprites show sprite-DIB entries (a rectangle of a
// packed DIB, often cut from one of 16 template images).
//
// Every call takes the scene first. The library is bound by ordinal (see
// Spriteset.def): the numbers are part of its interface. Rectangles are
// inclusive (right and bottom are the last pixel). Device contexts and the
// canvas' bitmap info travel as plain pointers so that this header needs no
// operating system; on Windows they are HDC and BITMAPINFO*.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "dibkit.h"

#if defined(_WIN32) && defined(SPRITESET_DLL)
#define SPRITESET_API __declspec(dllimport)
#else
#define SPRITESET_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct AnimScene AnimScene;

// Limits of a scene's tables.
enum {
  ANIM_MAX_TEMPLATES = 16,
  ANIM_MAX_SPRITE_DIBS = 256,
  ANIM_MAX_SPRITES = 512,
  ANIM_MAX_INVALID_RECTS = 256,
  ANIM_MAX_SCANLINES = 256,
  ANIM_MAX_DRAW_CALLBACKS = 50,
  ANIM_DEPTH_FARTHEST = 0x7FFF,  // painting covers depths 0..0x7FFF
  ANIM_HIT_DEPTH_LIMIT = 32000,  // sprites this deep or deeper never win a hit test
};

// Results of the draw-callback registry.
enum { ANIM_CB_OK = 0, ANIM_CB_FULL = 8, ANIM_CB_NOT_FOUND = 9, ANIM_CB_BAD_RANGE = 10 };

// Canvas error statuses (reported as "Canvas error %d at line %d").
enum {
  ANIM_CANVAS_PLATFORM_CALL = 1,
  ANIM_CANVAS_NO_MEMORY = 2,
  ANIM_CANVAS_NULL_ARGUMENT = 3,
  ANIM_CANVAS_NO_DC = 4,
  ANIM_CANVAS_NOT_CREATED = 5,
  ANIM_CANVAS_BAD_PLANES = 6,
  ANIM_CANVAS_BAD_DEPTH = 7,
};

// Transition kinds of PaintSceneSFX; any other value wipes right to left.
enum { ANIM_WIPE_DOWN = 2, ANIM_WIPE_UP = 3, ANIM_WIPE_RIGHT = 4, ANIM_WIPE_LEFT = 5 };

// Called while a rectangle is composed, between the sprites of its depth
// range: (canvas device context, canvas bitmap info, canvas bits, overlap
// high depth, overlap low depth, rectangle left, top, right, bottom, user).
typedef void (*AnimDrawCallback)(void* dc, const void* bitmapInfo, void* bits, int high, int low, int left,
                                 int top, int right, int bottom, intptr_t user);

// ---------------------------------------------------------------- scene
SPRITESET_API AnimScene* InitAnimate(intptr_t user);  // null when memory runs out
SPRITESET_API void TerminateAnimate(AnimScene* scene);
SPRITESET_API int AnimRevision(AnimScene* scene);                     // 1
SPRITESET_API int AnimVersion(AnimScene* scene);                      // 800
SPRITESET_API int AnimVersionString(AnimScene* scene, char* buffer);  // "8.00.01"; length written
SPRITESET_API int SetSortMode(AnimScene* scene, int mode);            // previous mode
SPRITESET_API void SetDebugInvalidRects(AnimScene* scene, int on);
SPRITESET_API void ResetFixupPaintTimes(AnimScene* scene);
SPRITESET_API void GetFixupPaintTimes(AnimScene* scene, uint32_t* composeMs, uint32_t* copyMs);

// ---------------------------------------------------------------- dirty rectangles
// 1 for an empty rectangle or a merge, the new count after appending, and
// 256 when the list was full and the rectangle dropped.
SPRITESET_API int MakeRectInvalid(AnimScene* scene, int left, int top, int right, int bottom);
// Records a canvas row 0..height; the new count, or 0 when refused.
SPRITESET_API int MakeScanlineInvalid(AnimScene* scene, int row);
// Shifts the rectangle so that it starts at or after (0, 0) and then ends
// inside the scene bounds. 1, or 0 for a null rectangle.
SPRITESET_API int OffsetRectInsideBackground(AnimScene* scene, DibRect* rect);

// ---------------------------------------------------------------- painting
SPRITESET_API void PaintScene(AnimScene* scene, void* dc);
SPRITESET_API void PaintSceneRect(AnimScene* scene, void* dc, const DibRect* rect);
SPRITESET_API void PaintScenePartialDepth(AnimScene* scene, void* dc, int low, int high);
SPRITESET_API void PaintSceneSFX(AnimScene* scene, void* dc, int kind);

// ---------------------------------------------------------------- templates
SPRITESET_API int AddSpriteTemplate(AnimScene* scene, PackedDib* dib);            // slot or -1
SPRITESET_API int OpenSpriteTemplate(AnimScene* scene, const char* path);         // slot or -1
SPRITESET_API int SetSpriteTemplate(AnimScene* scene, int slot, PackedDib* dib);  // slot or -1
SPRITESET_API int DeleteSpriteTemplate(AnimScene* scene, int slot);               // 0, or -1 for a bad slot
SPRITESET_API int CloseSpriteTemplate(AnimScene* scene, int slot);                // 0, or -1 for a bad slot

// ---------------------------------------------------------------- sprite DIB entries
SPRITESET_API int AddSpriteDibFromTemplate(AnimScene* scene, int slot, int x, int y, int width, int height);
SPRITESET_API int SetSpriteDibFromTemplate(AnimScene* scene, int entry, int slot, int x, int y, int width,
                                           int height);                                        // 0, or -1
SPRITESET_API int AddSpriteDib(AnimScene* scene, PackedDib* dib);                              // entry or -1
SPRITESET_API int SetSpriteDib(AnimScene* scene, int entry, PackedDib* dib);                   // 0, or -1
SPRITESET_API int SetSpriteDibSizeFromRect(AnimScene* scene, int entry, const DibRect* rect);  // 0, or -1
SPRITESET_API int DeleteSpriteDib(AnimScene* scene, int entry);  // 0, -1 not in use, -2 none in use
SPRITESET_API int GetDibSize(AnimScene* scene, int entry, int* width, int* height);  // 1, or 0
SPRITESET_API PackedDib* GetSpritePBIH(AnimScene* scene, int entry);

// ---------------------------------------------------------------- sprites
SPRITESET_API int AddSprite(AnimScene* scene);                 // slot or -1
SPRITESET_API int DeleteSprite(AnimScene* scene, int sprite);  // 0, -1 not in use, -2 none in use
SPRITESET_API int SetSpriteSpriteDib(AnimScene* scene, int sprite, int entry);  // 1 when done, else 0
// Anchor 0: (x, y) is the centre; 1: the point a quarter of the width above
// the bottom centre; any other: the top-left corner.
SPRITESET_API void ShowSprite(AnimScene* scene, int sprite, int x, int y, int depth, int anchor);
SPRITESET_API void SetSpritePosition(AnimScene* scene, int sprite, int x, int y, int depth, int anchor);
SPRITESET_API int HideSprite(AnimScene* scene, int sprite);    // 1 when it changed
SPRITESET_API int UnHideSprite(AnimScene* scene, int sprite);  // 1 when it changed
SPRITESET_API int IsSpriteVisible(AnimScene* scene, int sprite);
SPRITESET_API int GetSpritePosition(AnimScene* scene, int sprite, int* x, int* y, int* depth);  // 1, or 0
SPRITESET_API int GetSpriteRect(AnimScene* scene, DibRect* rect, int sprite);                   // 1, or 0
// 1 and the frontmost sprite with a visible pixel at the point, or 0 and -1.
SPRITESET_API int GetSpriteFromPoint(AnimScene* scene, int x, int y, int* sprite);
SPRITESET_API int DoFXSprite(AnimScene* scene, int sprite, int effect, int parameter);  // 1, or 0
SPRITESET_API int UndoFXSprite(AnimScene* scene, int sprite);                           // 1, or 0

// ---------------------------------------------------------------- background
SPRITESET_API int BackgroundSetDibFromFile(AnimScene* scene, const char* path);  // 1, or 0
SPRITESET_API int BackgroundSetDibFromPtr(AnimScene* scene, PackedDib* dib);     // 1, or 0 for null
SPRITESET_API void BackgroundDestroyDib(AnimScene* scene);
SPRITESET_API int BackgroundSetStretch(AnimScene* scene, int on);  // previous setting
SPRITESET_API void BackgroundSetFlags(AnimScene* scene, int flags);

// ---------------------------------------------------------------- draw callbacks
SPRITESET_API int RegisterDrawCallback(AnimScene* scene, AnimDrawCallback callback, int high, int low,
                                       intptr_t user);
SPRITESET_API int UnregisterDrawCallback(AnimScene* scene, AnimDrawCallback callback, int high, int low);
SPRITESET_API int UnregisterAllDrawCallbacks(AnimScene* scene);

// ---------------------------------------------------------------- canvas
// (Re)creates the canvas at the screen's depth; 1 when an error was reported.
SPRITESET_API int SetCanvasSize(AnimScene* scene, int width, int height);
SPRITESET_API int SetCanvasColorTable(AnimScene* scene, const DibRgbQuad* colours, int count);  // 0

#ifdef __cplusplus
}
#endif
