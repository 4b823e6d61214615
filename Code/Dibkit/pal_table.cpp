// Colour tables: the palette functions that need no display.
#include "dib_internal.h"
#include "dibkit.h"

using namespace dibkit;

namespace {

// Tables hold 256 colours; ranges are kept inside them.
bool ClampRange(int* first, int* last) {
  if (*first < 0) *first = 0;
  if (*last > 255) *last = 255;
  return *first <= *last;
}

}  // namespace

extern "C" {

void palSyncCustomPalette(void*, DibRgbQuad* table, const DibRgbQuad* colours, int start, int count) {
  if (table == nullptr || colours == nullptr) return;
  for (int k = 0; k < count; ++k) {
    int i = start + k;
    if (i < 0 || i > 255) continue;
    table[i] = colours[k];
    table[i].reserved = 4;  // no-collapse
  }
}

int palColorsFromDIB(const PackedDib* dib, DibRgbQuad* table, int first, int last) {
  if (dib == nullptr) {
    Report("NULL pDIB in palColorsFromDIB", "pal");
    return 0;
  }
  if (table == nullptr) return 0;
  // Only an 8-bit image has a colour table of 256 entries.
  if (dib->biBitCount == 8 && ClampRange(&first, &last)) {
    const auto* colours = reinterpret_cast<const DibRgbQuad*>(ColorArea(dib));
    for (int i = first; i <= last; ++i) table[i] = colours[i];
  }
  return 1;
}

int palMergeColorTables(const DibRgbQuad* source, DibRgbQuad* destination, int first, int last) {
  if (source == nullptr || destination == nullptr) {
    Report("NULL param to UpdateColorTable", "utils");
    return 0;
  }
  if (ClampRange(&first, &last)) {
    for (int i = first; i <= last; ++i) destination[i] = source[i];
  }
  return 1;
}

int palGetDibNumColors(const PackedDib* dib) {
  if (dib == nullptr) return 0;
  int bits = dib->biBitCount;
  if (dib->biSize == 12) {
    // The short header: width and height are 16-bit, the bit count at offset 10.
    bits = reinterpret_cast<const uint16_t*>(dib)[5];
  } else if (dib->biClrUsed != 0) {
    return static_cast<int>(dib->biClrUsed);
  }
  switch (bits) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

int palGetSize(const PackedDib* dib) {
  if (dib == nullptr) return 0;
  return palGetDibNumColors(dib) * (dib->biSize == 12 ? 3 : 4);
}

}  // extern "C"
