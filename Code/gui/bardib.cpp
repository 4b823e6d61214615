// Bars composed into a bitmap: see bardib.h. The bitmap library's block
// copy does nothing for a block that does not fit inside both bitmaps.
#include "bardib.h"

namespace {

struct Size {
  int w = 0, h = 0;
};

Size SizeOf(const PackedDib* dib) {
  Size s;
  int32_t wh[2] = {0, 0};
  if (dib && dibGetDibDimensions(dib, wh)) {
    s.w = wh[0];
    s.h = wh[1] < 0 ? -wh[1] : wh[1];
  }
  return s;
}

int Along(Size s, int vertical) { return vertical ? s.h : s.w; }
int Across(Size s, int vertical) { return vertical ? s.w : s.h; }

// Copies a block of the piece to the target at `pos` along the bar.
void CopyAlong(PackedDib* target, const PackedDib* piece, int pos, int length, int across, int vertical) {
  if (vertical) {
    dibCopyDIB(target, piece, 0, pos, 0, 0, across, length);
  } else {
    dibCopyDIB(target, piece, pos, 0, 0, 0, length, across);
  }
}

}  // namespace

int BuildBarDib(PackedDib* target, PackedDib* first, PackedDib* middle, PackedDib* last, int vertical) {
  if (!target || (!first && !middle && !last)) return 0;
  const Size t = SizeOf(target);
  const int length = Along(t, vertical);
  int start = 0;
  int end = length;
  if (first) {
    Size f = SizeOf(first);
    int along = Along(f, vertical) < length ? Along(f, vertical) : length;
    CopyAlong(target, first, 0, along, Across(f, vertical), vertical);
    start = Along(f, vertical);
  }
  if (last) {
    Size l = SizeOf(last);
    if (Along(l, vertical) < length) {
      end = length - Along(l, vertical);
      CopyAlong(target, last, end, Along(l, vertical), Across(t, vertical), vertical);
    }
  }
  if (middle) {
    Size m = SizeOf(middle);
    int step = Along(m, vertical);
    // A piece with no length would never advance.
    for (int pos = start; step > 0 && pos < end; pos += step) {
      int piece = end - pos < step ? end - pos : step;
      CopyAlong(target, middle, pos, piece, Across(m, vertical), vertical);
    }
  }
  dibCopyPalette(target, first ? first : last ? last : middle);
  return 1;
}
