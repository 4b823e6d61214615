// The colour picker dialog ("Select Color"): three sliders and three number
// fields over a swatch and three colour strips.
//
// Interface: RunColorSelect.
#pragma once

#include <windows.h>

// 1 when the user confirmed (the colour then holds the choice), else 0 with
// the colour as it was.
int RunColorSelect(HWND owner, COLORREF* colour);
