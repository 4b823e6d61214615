// Bitmap routines.
#include <gtest/gtest.h>

#include "print_bitmap.h"

namespace {

TEST(PrintBitmap, EmptyBitmapAndItsPixels) {
  std::vector<uint8_t> b = MakeEmptyBitmap8(5, 3);
  ASSERT_EQ(b.size(), 40u + 1024u + 8u * 3u);
  EXPECT_EQ(b[40 + 4 * 200], 200);
  // The top row is stored last.
  *BitmapPixelAddress(b, 4, 0) = 9;
  EXPECT_EQ(b[40 + 1024 + 2 * 8 + 4], 9);
  *BitmapPixelAddress(b, 0, 2) = 7;
  EXPECT_EQ(b[40 + 1024], 7);
  EXPECT_EQ(BitmapPixelAddress(b, 5, 0), nullptr);
  EXPECT_EQ(BitmapPixelAddress(b, 0, -1), nullptr);
  EXPECT_TRUE(MakeEmptyBitmap8(0, 4).empty());
}

TEST(PrintBitmap, ColorTableSizes) {
  struct Case {
    uint32_t headerSize;
    uint16_t bits;
    uint32_t used;
    uint32_t bytes;
  } cases[] = {{40, 1, 0, 8}, {40, 4, 0, 64}, {40, 8, 0, 1024}, {40, 24, 0, 0}, {40, 16, 3, 12}, {12, 8, 0, 768}};
  for (const Case& c : cases) {
    uint8_t h[40] = {};
    h[0] = static_cast<uint8_t>(c.headerSize);
    if (c.headerSize == 12) {
      h[10] = static_cast<uint8_t>(c.bits);
    } else {
      h[14] = static_cast<uint8_t>(c.bits);
      h[32] = static_cast<uint8_t>(c.used);
    }
    EXPECT_EQ(BitmapColorTableBytes(h), c.bytes) << c.headerSize << " " << c.bits;
  }
  EXPECT_EQ(BitmapRowStride(720, 8), 720u);
  EXPECT_EQ(BitmapRowStride(5, 8), 8u);
  EXPECT_EQ(BitmapRowStride(33, 1), 8u);
}

}  // namespace
