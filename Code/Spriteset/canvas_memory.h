// The memory canvas: the platform layer of native builds and of the tests.
// The canvas is plain memory; a paint target is a MemoryTarget (a packed
// DIB of the canvas' depth and size) that receives the copied rectangles.
//
// Interface: MemoryTarget, MemoryCanvasSetScreen, MemoryCanvasSetClock,
// MemoryCanvasSetErrorSink.
#pragma once

#include <cstdint>

#include "dibkit.h"

namespace spriteset {

// What a paint copies into: pass its address where a device context goes.
struct MemoryTarget {
  PackedDib* image;  // same depth as the canvas
  int copies;        // rectangles copied so far
  DibRect last;      // the last one
  int outlines;      // debug outlines drawn (each its own inverse)
};

// The depth and planes that canvases are made at (8 and 1 unless set).
void MemoryCanvasSetScreen(int bitsPerPixel, int planes);
// The millisecond clock and the wait of transitions; null restores the
// steady clock and a real sleep.
void MemoryCanvasSetClock(uint32_t (*now)(), void (*wait)(uint32_t ms));
// Where canvas error texts go; null restores standard error.
void MemoryCanvasSetErrorSink(void (*sink)(const char* text));

}  // namespace spriteset
