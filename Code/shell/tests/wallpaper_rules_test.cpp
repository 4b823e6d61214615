// Gradient rows, the wallpaper kind and dialog colours, and the pixel bytes
// a gradient may fill in a bitmap.
#include "wallpaper_rules.h"

#include <gtest/gtest.h>

#include "dibkit.h"
#include "settings_scan.h"

namespace {

TEST(Wallpaper, GradientRowsPerChannel) {
  const uint32_t black_to_white[] = {0x000000, 0x3F3F3F, 0x7F7F7F, 0xBFBFBF};
  for (int y = 0; y < 4; ++y) EXPECT_EQ(GradientColourAt(0, 0xFFFFFF, y, 4), black_to_white[y]) << y;
  // Downwards per channel, with the truncating divide: 255 - 63 = 192.
  EXPECT_EQ(GradientColourAt(0xFF00FF, 0x00FF00, 1, 4), 0xC03FC0u);
  EXPECT_EQ(GradientColourAt(0x123456, 0x123456, 3, 7), 0x123456u);
  EXPECT_EQ(GradientColourAt(0xFF000000 | 0x10, 0x20, 1, 2), 0x18u);  // the high byte is no channel
  EXPECT_EQ(GradientColourAt(0x10, 0x20, 5, 0), 0x10u);
}

TEST(Wallpaper, KindAndDefaultGradientAndEdits) {
  EXPECT_EQ(WallpaperKindFromText("bitmap"), 1);
  for (const char* other : {"Bitmap", "gradient", "", " bitmap"})
    EXPECT_EQ(WallpaperKindFromText(other), 0) << other;
  EXPECT_EQ(WallpaperKindFromText(nullptr), 0);
  uint32_t colours[2] = {1, 1};
  EXPECT_EQ(ScanGradient("0 0x00ffffff", colours), 2);
  EXPECT_EQ(colours[0], 0u);
  EXPECT_EQ(colours[1], 0xFFFFFFu);
  EXPECT_EQ(ColourFromEdits(300, 0, 0), 44u);
  EXPECT_EQ(ColourFromEdits(1, 2, 3), 0x030201u);
  EXPECT_EQ(ColourFromEdits(-1, 256, 511), 0xFF00FFu);
}

TEST(Wallpaper, PixelBytesAreComputedNotTakenFromTheHeader) {
  struct Case {
    int32_t width, height;
    int bits;
    uint32_t bytes;
  } cases[] = {{5, 3, 16, 36}, {5, -3, 24, 48}, {7, 2, 8, 16}, {0, 4, 16, 0}, {4, 0, 16, 0}, {1, 1, 16, 4}};
  for (const Case& c : cases) {
    PackedDib header{40, c.width, c.height, 1, uint16_t(c.bits), 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(WallpaperPixelBytes(&header), c.bytes) << c.width << "x" << c.height << "@" << c.bits;
  }
  PackedDib huge{40, 0x7FFFFFFF, 0x7FFFFFFF, 1, 24, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(WallpaperPixelBytes(&huge), 0u);
  EXPECT_EQ(WallpaperPixelBytes(nullptr), 0u);
}

TEST(Wallpaper, GradientFillsSixteenBitRowsTopFirst) {
  PackedDib* dib = dibCreateWithColors(3, 4, 16);
  ASSERT_NE(dib, nullptr);
  dib->biSizeImage = 0;  // as many headers have it
  ASSERT_EQ(FillGradientDib(dib, 0, 0xFFFFFF), 1);
  for (int y = 0; y < 4; ++y) {
    auto* pixel = static_cast<uint16_t*>(dibGetPixelAddress(dib, 2, y));
    uint32_t c = GradientColourAt(0, 0xFFFFFF, y, 4) & 0xFF;
    uint16_t expected = uint16_t((c >> 3) << 10 | (c >> 3) << 5 | (c >> 3));
    EXPECT_EQ(*pixel, expected) << y;
  }
  dibDelete(dib);
  PackedDib* eight = dibCreateWithColors(2, 2, 8);
  EXPECT_EQ(FillGradientDib(eight, 0, 1), 0);
  dibDelete(eight);
}

}  // namespace
