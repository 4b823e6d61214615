// The apply steps of ccSetControlData: each control family replaces the
// resource ids in its part of CcDefaults by the bitmaps of the resource
// module. Bitmaps stay inside the resource module's memory (made writable
// so that their colour tables can become palette indices) and are never
// freed.
#include <cstdint>

#include "controls.h"
#include "dibkit.h"
#include "winutil.h"

namespace {

// Resource ids are small numbers; anything else in a field is already a
// bitmap (a second ccSetControlData with the same record).
bool IsResourceId(CcBitmap field) { return reinterpret_cast<uintptr_t>(field) <= 0xFFFF; }

void Load(const CcDefaults* d, CcBitmap* field) {
  if (!IsResourceId(*field)) return;
  int id = int(reinterpret_cast<uintptr_t>(*field));
  PackedDib* dib = id ? LoadWritableBitmapResource(d->resourceModule, id) : nullptr;
  if (dib && d->mapColours) dibColorsToIndices(dib);
  *field = dib;
}

void LoadAll(const CcDefaults* d, CcBitmap* fields, int count) {
  for (int i = 0; i < count; ++i) Load(d, &fields[i]);
}

int WidthOf(CcBitmap dib) {
  int size[2] = {0, 0};
  if (!dib || !dibGetDibDimensions(dib, size)) return 0;
  return size[0];
}

int HeightOf(CcBitmap dib) {
  int size[2] = {0, 0};
  if (!dib || !dibGetDibDimensions(dib, size)) return 0;
  return size[1];
}

void LoadScrollBar(CcDefaults* d) {
  CcScrollBarSection& sb = d->scrollBar;
  if (!sb.notLoaded) return;
  LoadAll(d, sb.verticalArrows, 6);
  LoadAll(d, sb.verticalThumb, 9);
  LoadAll(d, sb.horizontalArrows, 6);
  LoadAll(d, sb.horizontalThumb, 3);
  LoadAll(d, sb.trackBitmaps, 6);
  sb.verticalWidth = WidthOf(sb.verticalArrows[0]);
  sb.horizontalHeight = HeightOf(sb.horizontalArrows[0]);
  sb.notLoaded = 0;
}

void LoadButton(CcDefaults* d) {
  LoadAll(d, d->checkImages, 5);
  LoadAll(d, d->radioImages, 5);
  LoadAll(d, d->pushLeft, 4);
  LoadAll(d, d->pushMiddle, 4);
  LoadAll(d, d->pushRight, 4);
  if (d->textColourMode == 0) {
    for (uintptr_t& texture : d->buttonTextColours) {
      CcBitmap field = reinterpret_cast<CcBitmap>(texture);
      Load(d, &field);
      texture = reinterpret_cast<uintptr_t>(field);
    }
  }
}

void LoadEdit(CcDefaults* d) {
  LoadAll(d, d->editFrame.pieces, FP_COUNT);
  int width = WidthOf(d->editFrame.pieces[FP_LEFT]);
  d->editFrameWidth = width ? width : 1;
}

void LoadList(CcDefaults* d) {
  LoadAll(d, d->listFrame.pieces, FP_COUNT);
  int width = WidthOf(d->listFrame.pieces[FP_COUNT - 1]);
  d->listFrameWidth = width ? width : 1;
}

void LoadTree(CcDefaults* d) { LoadAll(d, d->treeBitmaps, 2); }

void LoadTab(CcDefaults* d) {
  Load(d, &d->tabBody);
  LoadAll(d, d->tabPairs, 6);
}

}  // namespace

void LoadControlFamilyBitmaps(CcDefaults* record) {
  LoadScrollBar(record);
  LoadButton(record);
  LoadEdit(record);
  LoadList(record);
  LoadTree(record);
  LoadTab(record);
  // The track bar has nothing to load.
}
