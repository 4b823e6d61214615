// Where the combo box's drop-down list goes on the screen: below the edit,
// flipped above the combo when it would pass the bottom of the desktop, and
// kept on the desktop when it fits on neither side. OS-free;
// combobox_wnd.cpp measures the windows.
//
// Interface: ComboRect, ComboPoint, ComboListPosition.
#pragma once

#include <cstdint>

struct ComboRect {
  int32_t left, top, right, bottom;
};

struct ComboPoint {
  int32_t x, y;
};

// The top-left corner of a list of width by height: at (left, below), or
// at (left, comboTop - height) when the list would pass desktop.bottom;
// then moved just far enough to lie inside the desktop (its top-left edge
// wins when the list is larger than the desktop).
ComboPoint ComboListPosition(int32_t left, int32_t below, int32_t comboTop, int32_t width, int32_t height,
                             const ComboRect& desktop);
