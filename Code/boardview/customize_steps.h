// Shaping the custom board: the four ranges of the customize tool (depth,
// size, turn, tilt), one step of a button, and what a modifier drag steps.
//
// Interface: CustomizeButton, CustomizeRange, CustomizeRanges,
// BeginCustomizeRanges, CustomizeStepValue, CustomizeDragSteps,
// ReadCustomizedView.
#pragma once

#include <cstdint>
#include <vector>

#include "board_drawing.h"
#include "chess_sets.h"

enum CustomizeButton {
  BTN_DEPTH_OUT = 21905,
  BTN_DEPTH_IN = 21910,
  BTN_ROTATE_UP = 21915,
  BTN_ROTATE_DOWN = 21920,
  BTN_ROTATE_LEFT = 21925,
  BTN_ROTATE_RIGHT = 21930,
  BTN_ZOOM_OUT = 21935,
  BTN_ZOOM_IN = 21940,
};

struct CustomizeRange {
  int32_t minimum, maximum, step, value;
};

struct CustomizeRanges {
  CustomizeRange vanishing, size, turn, tilt;
};

// The ranges with the geometry's current values; the size reaches up to
// the screen height.
void BeginCustomizeRanges(CustomizeRanges* ranges, const BoardSetRecord& geometry, int32_t screenHeight);
// One press of a button times amount, clamped (the turn wraps through 360);
// the new value goes into the geometry. False for another id.
bool CustomizeStepValue(CustomizeRanges* ranges, int button, int amount, BoardSetRecord* geometry);

// Modifier keys of a drag.
enum CustomizeKeys { KEY_CONTROL = 1, KEY_SHIFT = 2, KEY_ALT = 4 };
struct CustomizeStepRequest {
  int button, amount;
};
// The steps one mouse move makes: the amount is (pixels moved + 1) / 2.
std::vector<CustomizeStepRequest> CustomizeDragSteps(int dx, int dy, int keys);

// The custom view written back from the geometry.
void ReadCustomizedView(const BoardSetRecord& geometry, CustomBoardView* view);
