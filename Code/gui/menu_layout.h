// Menu geometry without the system: rows of a menu bar, the placement of a
// popup at the screen edges and stepping the selection of a popup.
// OS-free; the menu engine (menu_popup.cpp, menu_bar.cpp) measures text and
// paints.
//
// Interface: LayoutBarRows, PlacePopup, StepSelection, ItemAt.
#pragma once

#include <cstdint>

#include "menu_model.h"

struct BarRowLook {
  int rowHeight;
  int offsetX, offsetY;
  int gap;
};

// Places the measured items (rect holds 0,0,w,h) into rows of an area of
// areaWidth x areaHeight. Number of rows, or 0 when the items need more
// rows than the area allows (items placed so far keep their rectangles).
int LayoutBarRows(CmMenu* menu, const BarRowLook& look, int areaWidth, int areaHeight);

// Top-left corner of a popup of width x height for an anchor rectangle, on
// a screen of screenW x screenH. A submenu opens beside the anchor, any
// other popup below it.
void PlacePopup(const int32_t anchor[4], int width, int height, bool submenu, int screenW, int screenH,
                int* x, int* y);

// The next selectable index from `from` (-1: none) by step +1 or -1,
// wrapping and skipping separators; -1 when every item is a separator.
int StepSelection(const CmMenu* menu, int from, int step);

// Index of the item whose rectangle holds the point, or -1.
int ItemAt(const CmMenu* menu, int x, int y);
