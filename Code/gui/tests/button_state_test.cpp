// The bitmap button's state choice, text placement and shape test.
#include "button_state.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Choice {
  uint32_t state;
  bool enabled;
  bool optional;
  const char* has;  // '1' where the image exists, indices 0..5
  int index;
};

TEST(ButtonStateIndex, FollowsStateEnabledAndImages) {
  const Choice cases[] = {
      {0, true, true, "111111", 0},
      {kButtonFocus, true, true, "111111", 3},
      {kButtonFocus, true, true, "111011", 0},                  // no focused face
      {kButtonFocus, true, false, "111111", 0},                 // optional images not allowed
      {0, false, true, "111111", 2},                            // disabled
      {0, false, true, "110111", 0},                            // no disabled face: normal
      {0, false, false, "111111", 0},                           // the repaint test's choice
      {kButtonFocus, false, true, "111111", 3},                 // focus before disabled
      {kButtonHover, true, true, "111111", 4},                  // hover over normal
      {kButtonHover | kButtonFocus, false, true, "111111", 4},  // hover overrides focus and disabled
      {kButtonHover, true, true, "111101", 0},                  // no hover image: keeps its face
      {kButtonPushed | kButtonHover, true, true, "111111", 1},  // pushed keeps image 1
      {kButtonChecked, true, true, "111111", 1},
      {kButtonChecked, false, true, "111111", 5},
      {kButtonChecked, false, true, "111110", 2},  // no image 5
      {kButtonChecked, false, false, "111111", 2},
      {kButtonPushed, false, true, "111111", 5},
  };
  for (const Choice& c : cases) {
    bool has[kButtonImages];
    for (int i = 0; i < kButtonImages; ++i) has[i] = c.has[i] == '1';
    EXPECT_EQ(ButtonStateIndex(c.state, c.enabled, c.optional, has), c.index)
        << std::hex << c.state << " enabled " << c.enabled << " optional " << c.optional << " " << c.has;
  }
}

TEST(ButtonIsPushLike, PushTypesAndPushLikeChecks) {
  const struct {
    uint32_t style;
    bool pushLike;
  } cases[] = {{0, true},          {1, true},           {2, false}, {3, false},
               {4, false},         {9, false},          {7, false}, {2 | 0x1000, true},
               {9 | 0x1000, true}, {7 | 0x1000, false}, {5, false}, {0 | 0x1000, true}};
  for (auto& c : cases) EXPECT_EQ(ButtonIsPushLike(c.style), c.pushLike) << std::hex << c.style;
}

TEST(ButtonTextOrigin, CentredNeverNegativeAndPressedOneLower) {
  const struct {
    int fw, fh, tw, th, state, x, y;
  } cases[] = {
      {80, 20, 30, 10, 0, 25, 5}, {80, 20, 30, 10, 1, 25, 6},
      {80, 20, 30, 10, 2, 25, 5}, {80, 21, 31, 11, 0, 25, 5},  // halves rounded down separately
      {20, 10, 30, 14, 0, 0, 0},  {20, 10, 30, 14, 1, 0, 1},
  };
  for (auto& c : cases) {
    ButtonPoint p = ButtonTextOrigin(c.fw, c.fh, c.tw, c.th, c.state);
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y) << c.fh << " " << c.th << " state " << c.state;
  }
}

// A 4 x 3 mask stored bottom-up whose top row is opaque only at x 1, the
// rest opaque but for (3, 2).
TEST(ButtonMaskOwnsPoint, PixelsCountFromTheTopRowAndOutsideIsNotOwned) {
  PackedDib* mask = dibCreateWithColors(4, 3, 8);
  ASSERT_NE(mask, nullptr);
  ASSERT_GT(mask->biHeight, 0) << "bottom-up, as bitmap resources are";
  dibFillWithColor(mask, 7);
  for (int x = 0; x < 4; ++x) *static_cast<uint8_t*>(dibGetPixelAddress(mask, x, 0)) = x == 1 ? 7 : 0;
  *static_cast<uint8_t*>(dibGetPixelAddress(mask, 3, 2)) = 0;
  // The top row is the last row in memory.
  const uint8_t* bits = static_cast<const uint8_t*>(dibGetBits(mask));
  EXPECT_EQ(bits[2 * 4 + 0], 0);
  EXPECT_EQ(bits[2 * 4 + 1], 7);
  const struct {
    int x, y;
    bool owned;
  } cases[] = {{0, 0, false}, {1, 0, true},   {0, 1, true},   {3, 1, true},  {3, 2, false},
               {0, 2, true},  {-1, 1, false}, {1, -1, false}, {4, 1, false}, {1, 3, false}};
  for (auto& c : cases) EXPECT_EQ(ButtonMaskOwnsPoint(mask, c.x, c.y), c.owned) << c.x << "," << c.y;
  EXPECT_TRUE(ButtonMaskOwnsPoint(nullptr, -5, 1000)) << "no mask: every point";
  dibDelete(mask);
}

}  // namespace
