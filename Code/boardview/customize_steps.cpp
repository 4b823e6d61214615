#include "customize_steps.h"

#include <algorithm>
#include <cstdlib>

void BeginCustomizeRanges(CustomizeRanges* r, const BoardSetRecord& g, int32_t screenHeight) {
  r->vanishing = {kVanishingMin, kVanishingMax, kVanishingStep, g.vanishing};
  r->size = {kSizeMin, std::max(kSizeMin, screenHeight), kSizeStep, g.size};
  r->turn = {kTurnMin, kTurnMax, 1, g.turn};
  r->tilt = {kTiltMin, kTiltMax, 1, g.tilt};
}

bool CustomizeStepValue(CustomizeRanges* r, int button, int amount, BoardSetRecord* g) {
  CustomizeRange* range;
  int direction;
  switch (button) {
    case BTN_DEPTH_OUT: range = &r->vanishing, direction = 1; break;
    case BTN_DEPTH_IN: range = &r->vanishing, direction = -1; break;
    case BTN_ZOOM_IN: range = &r->size, direction = 1; break;
    case BTN_ZOOM_OUT: range = &r->size, direction = -1; break;
    case BTN_ROTATE_RIGHT: range = &r->turn, direction = 1; break;
    case BTN_ROTATE_LEFT: range = &r->turn, direction = -1; break;
    case BTN_ROTATE_DOWN: range = &r->tilt, direction = 1; break;
    case BTN_ROTATE_UP: range = &r->tilt, direction = -1; break;
    default: return false;
  }
  int32_t value = range->value;
  if (range == &r->turn) {
    if (direction < 0 && value <= range->minimum) value = range->maximum;
    if (direction > 0 && value >= range->maximum) value = range->minimum;
  }
  value = std::clamp(value + direction * range->step * amount, range->minimum, range->maximum);
  range->value = value;
  if (range == &r->vanishing) g->vanishing = value;
  if (range == &r->size) g->size = value;
  if (range == &r->turn) g->turn = value;
  if (range == &r->tilt) g->tilt = std::min(value, 360);
  return true;
}

std::vector<CustomizeStepRequest> CustomizeDragSteps(int dx, int dy, int keys) {
  std::vector<CustomizeStepRequest> steps;
  auto amount = [](int pixels) { return (std::abs(pixels) + 1) / 2; };
  if (keys & KEY_CONTROL) {
    if (dx) steps.push_back({dx > 0 ? BTN_ROTATE_RIGHT : BTN_ROTATE_LEFT, amount(dx)});
    if (dy) steps.push_back({dy > 0 ? BTN_ROTATE_DOWN : BTN_ROTATE_UP, amount(dy)});
    return steps;
  }
  int larger = std::abs(dx) >= std::abs(dy) ? dx : dy;
  if (!larger) return steps;
  if (keys & KEY_SHIFT) steps.push_back({larger > 0 ? BTN_DEPTH_IN : BTN_DEPTH_OUT, amount(larger)});
  else if (keys & KEY_ALT) steps.push_back({larger > 0 ? BTN_ZOOM_IN : BTN_ZOOM_OUT, amount(larger)});
  return steps;
}

void ReadCustomizedView(const BoardSetRecord& g, CustomBoardView* view) {
  view->size = g.size;
  view->tilt = g.tilt;
  view->turn = g.turn;
  view->vanishing = g.vanishing;
}
