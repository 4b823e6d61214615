// The combo box's drop-down list on the desktop: below, flipped above, and
// kept on the desktop when it fits on neither side.
#include "combo_layout.h"

#include <gtest/gtest.h>

TEST(ComboLayout, ListGoesBelowAboveOrStaysOnTheDesktop) {
  const ComboRect desktop{0, 0, 1024, 768};
  struct Case {
    int left, below, comboTop, width, height;
    ComboPoint at;
  } cases[] = {
      {100, 121, 100, 150, 200, {100, 121}},  // room below
      {100, 568, 547, 150, 200, {100, 568}},  // ends exactly at the bottom
      {100, 569, 548, 150, 200, {100, 348}},  // one pixel too low: above the combo
      {100, 700, 679, 150, 200, {100, 479}},  // above
      {100, 300, 279, 150, 600, {100, 0}},    // fits neither side: inside the desktop, from its top
      {100, 100, 79, 150, 900, {100, 0}},     // taller than the desktop: from its top
      {950, 121, 100, 150, 200, {874, 121}},  // would pass the right edge
      {-40, 121, 100, 150, 200, {0, 121}},    // starts left of the desktop
      {100, -80, -101, 150, 200, {100, 0}},   // combo above the top edge
      {100, 121, 100, 2000, 200, {0, 121}},   // wider than the desktop
  };
  for (const Case& c : cases) {
    ComboPoint at = ComboListPosition(c.left, c.below, c.comboTop, c.width, c.height, desktop);
    EXPECT_EQ(at.x, c.at.x) << "left " << c.left << " below " << c.below;
    EXPECT_EQ(at.y, c.at.y) << "left " << c.left << " below " << c.below;
  }
  // A desktop that does not start at 0 (monitors left of or above the first).
  ComboPoint at = ComboListPosition(-1500, 50, 30, 200, 100, ComboRect{-1280, -200, 1024, 768});
  EXPECT_EQ(at.x, -1280);
  EXPECT_EQ(at.y, 50);
}
