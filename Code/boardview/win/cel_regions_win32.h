// GDI regions of the cel blocks: the screen side of the OS-free block
// polygons, for painting and clipping a multi-cel board's regions.
//
// Interface: CelRegionSet with Rebuild, Delete, Region, BlockAt.
#pragma once

#include <windows.h>

#include "board_projection.h"

class CelRegionSet {
 public:
  CelRegionSet() = default;
  CelRegionSet(const CelRegionSet&) = delete;
  CelRegionSet& operator=(const CelRegionSet&) = delete;
  ~CelRegionSet() { Delete(); }

  // Deletes the old regions and makes the 16 block regions anew, each the
  // union of its four square outlines; none when the view has no regions.
  bool Rebuild(const BoardProjection& view);
  void Delete();
  HRGN Region(int block) const { return block >= 0 && block < 16 ? regions_[block] : nullptr; }
  // The first block whose region holds the point, -1 when none.
  int BlockAt(int x, int y) const;

 private:
  HRGN regions_[16] = {};
};
