// What the scene needs of the platform: its own memory, the canvas surface,
// the copy to a window, the clock, and the error display. Windows provides
// a DIB section and GDI (win/canvas_win32.cpp); the memory canvas
// (canvas_memory.cpp) serves native builds and tests.
//
// Interface: PlatformSceneAlloc, PlatformSceneFree, PlatformCreateCanvas,
// PlatformDestroyCanvas, PlatformCopyToTarget, PlatformOutline,
// PlatformFlush, PlatformMillis, PlatformWait, PlatformShowError.
#pragma once

#include <cstddef>
#include <cstdint>

#include "anim_scene.h"

namespace spriteset {

// A zero-filled scene block (the handle is kept in the scene), or null.
AnimScene* PlatformSceneAlloc(size_t size);
void PlatformSceneFree(AnimScene* scene);

// Makes the canvas surface of width x height at the screen's depth and
// fills canvas.info.header and canvas.bits/stride. 0, or the status of an
// error already reported through CanvasError.
int PlatformCreateCanvas(AnimCanvas* canvas, int32_t width, int32_t height);
void PlatformDestroyCanvas(AnimCanvas* canvas);

// Copies the inclusive canvas rectangle to the same place of the target;
// 0, or the status of a reported error.
int PlatformCopyToTarget(AnimCanvas* canvas, void* target, const DibRect& rect);
// Draws a focus-rectangle outline (its own inverse) on the target.
void PlatformOutline(void* target, const DibRect& rect);

// Pending drawing into the canvas is finished before its bits are written.
void PlatformFlush();
uint32_t PlatformMillis();
void PlatformWait(uint32_t ms);

// Shows a canvas error text (debugger output and a message box).
void PlatformShowError(const char* text);

}  // namespace spriteset
