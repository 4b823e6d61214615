// The packed DIB: layout, creation, duplication, addressing and fills.
#include <gtest/gtest.h>

#include <cstring>

#include "dib_test_util.h"
#include "dibkit.h"
#include "heapkit.h"

using namespace dibtest;

TEST(DibLayout, ColourAreaAndStrideByDepth) {
  struct Case {
    int bits;
    int32_t width;
    uint32_t area, stride;
  } cases[] = {{8, 1, 1024, 4}, {8, 5, 1024, 8}, {8, 8, 1024, 8}, {16, 3, 12, 8},
               {16, 2, 12, 4},  {24, 1, 0, 4},   {24, 3, 0, 12},  {24, 4, 0, 12},
               {1, 33, 12, 8},  {4, 9, 12, 8},   {32, 3, 12, 12}};
  for (const Case& c : cases) {
    EXPECT_EQ(dibColorAreaSize(c.bits), c.area) << c.bits;
    EXPECT_EQ(dibRowStride(c.bits, c.width), c.stride) << c.bits << " x " << c.width;
  }
}

TEST(DibLayout, CreationSizesTheBlockByTheLayout) {
  struct Case {
    int bits;
    size_t block;
    uint32_t colorsUsed;
  } cases[] = {{8, 40 + 1024 + 8 * 3, 256}, {16, 40 + 12 + 12 * 3, 0}, {24, 40 + 0 + 20 * 3, 0}};
  for (const Case& c : cases) {
    DibPtr d = Make(6, 3, c.bits);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(memSize_rel(d.get()), c.block) << c.bits;
    EXPECT_EQ(memTag_rel(d.get()), HEAPKIT_TAG_RW);
    EXPECT_EQ(d->biSize, 40u);
    EXPECT_EQ(d->biPlanes, 1);
    EXPECT_EQ(d->biCompression, 0u);
    EXPECT_EQ(d->biSizeImage, c.block - 40 - dibColorAreaSize(c.bits));
    EXPECT_EQ(d->biClrUsed, c.colorsUsed);
    EXPECT_EQ(static_cast<uint8_t*>(dibGetBits(d.get())) - reinterpret_cast<uint8_t*>(d.get()),
              40 + static_cast<ptrdiff_t>(dibColorAreaSize(c.bits)));
  }
  DibPtr d = Make(2, 2, 8);
  auto* table = static_cast<uint16_t*>(dibGetColorArea(d.get()));
  for (int i = 0; i < 256; ++i) ASSERT_EQ(table[i], i);
  for (auto args :
       {std::make_tuple(0, 1, 8), std::make_tuple(1, 0, 8), std::make_tuple(-1, 1, 8),
        std::make_tuple(1, 1, 32), std::make_tuple(1, 1, 4), std::make_tuple(100000, 100000, 24)}) {
    EXPECT_EQ(dibCreateWithColors(std::get<0>(args), std::get<1>(args), std::get<2>(args)), nullptr);
  }
}

TEST(DibLayout, PixelAddressing) {
  DibPtr up = Make(5, 3, 8);
  uint8_t* bits = static_cast<uint8_t*>(dibGetBits(up.get()));
  EXPECT_EQ(dibGetPixelAddress(up.get(), 0, 0), bits + 2 * 8);  // the last stored row
  EXPECT_EQ(dibGetPixelAddress(up.get(), 4, 2), bits + 4);
  EXPECT_EQ(dibGetPixelOffset(up.get(), 1, 1), 8u + 1);
  EXPECT_EQ(dibGetPixelAddress(up.get(), 5, 0), nullptr);
  EXPECT_EQ(dibGetPixelAddress(up.get(), 0, 3), nullptr);
  EXPECT_EQ(dibGetPixelAddress(up.get(), -1, 0), nullptr);
  EXPECT_EQ(dibGetPixelOffset(up.get(), 5, 0), 0u);

  DibPtr down = Make(3, -2, 24);
  uint8_t* dbits = static_cast<uint8_t*>(dibGetBits(down.get()));
  EXPECT_EQ(dibGetPixelAddress(down.get(), 0, 0), dbits);
  EXPECT_EQ(dibGetPixelAddress(down.get(), 2, 1), dbits + 12 + 6);
  EXPECT_EQ(dibGetPixelOffsetTopDownWide(1, 1, 3, 2, 0, 2), 0u + 2);
  EXPECT_EQ(dibGetPixelOffsetTopDownWide(1, 0, 3, 2, 0, 2), 8u + 2);
  EXPECT_EQ(dibGetPixelAddressBits(dbits, 3, 0, 3, 2, 1, 3), nullptr);
}

TEST(DibLayout, DuplicatesAndCrops) {
  DibPtr src = Make(5, 4, 8);
  Paint(src.get(), [](int x, int y) { return 10 * y + x; });
  src->biSizeImage = 0;
  DibPtr dup(dibDuplicate(src.get()));
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(src->biSizeImage, 8u * 4);  // full rows, not width x height
  EXPECT_EQ(std::memcmp(dup.get(), src.get(), 40 + 1024 + 32), 0);
  // A header claiming more pixel bytes than the rows hold copies only the rows.
  src->biSizeImage = 1u << 30;
  DibPtr held(dibDuplicate(src.get()));
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(memSize_rel(held.get()), 40u + 1024 + 32);
  EXPECT_EQ(held->biSizeImage, 32u);
  ASSERT_EQ(dibWriteFile("dibkit_test_claims.bmp", src.get()), 1);
  DibPtr reread(dibReadFile("dibkit_test_claims.bmp"));
  ASSERT_NE(reread, nullptr);
  EXPECT_EQ(std::memcmp(dibGetBits(reread.get()), dibGetBits(src.get()), 32), 0);
  src->biSizeImage = 32;

  DibRect r{1, 2, 3, 3};
  DibPtr part(dibDuplicateFromRect(src.get(), &r));
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(part->biWidth, 3);
  EXPECT_EQ(part->biHeight, 2);
  EXPECT_EQ(Px(part.get(), 0, 0), 21u);
  EXPECT_EQ(Px(part.get(), 2, 1), 33u);
  EXPECT_EQ(static_cast<uint8_t*>(dibGetPixelAddress(part.get(), 2, 1))[1],
            33);  // padding repeats the last byte
  DibRect outside{3, 0, 5, 1};
  EXPECT_EQ(dibDuplicateFromRect(src.get(), &outside), nullptr);
  DibPtr deep = Make(4, 4, 24);
  EXPECT_EQ(dibDuplicateFromRect(deep.get(), &r), nullptr);

  DibPtr padded(dibDuplicatePadded(src.get(), 1, 2, 3, 0));
  ASSERT_NE(padded, nullptr);
  EXPECT_EQ(padded->biWidth, 9);
  EXPECT_EQ(padded->biHeight, 6);
  EXPECT_EQ(Px(padded.get(), 0, 0), 0u);
  EXPECT_EQ(Px(padded.get(), 1, 2), 0u + 0);
  EXPECT_EQ(Px(padded.get(), 2, 3), 11u);
  EXPECT_EQ(Px(padded.get(), 8, 5), 0u);
  EXPECT_EQ(dibDuplicatePadded(deep.get(), 1, 1, 1, 1), nullptr);

  DibPtr ten = Make(10, 10, 8);
  dibFillWithColor(ten.get(), 7);
  DibPtr grown(dibCropDIB(ten.get(), 20, 20));
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(Px(grown.get(), 4, 5), 0u);
  EXPECT_EQ(Px(grown.get(), 5, 5), 7u);
  EXPECT_EQ(Px(grown.get(), 14, 14), 7u);
  EXPECT_EQ(Px(grown.get(), 15, 14), 0u);
  DibPtr shrunk(dibCropDIB(src.get(), 3, 2));  // keeps the lower-left corner
  ASSERT_NE(shrunk, nullptr);
  EXPECT_EQ(Px(shrunk.get(), 0, 0), 20u);
  EXPECT_EQ(Px(shrunk.get(), 2, 1), 32u);
  EXPECT_EQ(dibCropDIB(deep.get(), 8, 8), nullptr);
}

TEST(DibLayout, Fills) {
  DibPtr d8 = Make(5, 3, 8);
  dibFillWithColor(d8.get(), 0x1FF);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(Px(d8.get(), x, y), 0xFFu);
  DibPtr d16 = Make(3, 2, 16);
  dibFillWithColor(d16.get(), 0x7C1F);
  EXPECT_EQ(Px(d16.get(), 2, 1), 0x7C1Fu);

  DibRect r{3, 1, 10, 10};  // clipped to the image
  EXPECT_EQ(dibFillRect(d8.get(), dibGetBits(d8.get()), &r, 4), 1);
  EXPECT_EQ(Px(d8.get(), 2, 1), 0xFFu);
  EXPECT_EQ(Px(d8.get(), 3, 1), 4u);
  EXPECT_EQ(Px(d8.get(), 4, 2), 4u);
  EXPECT_EQ(Px(d8.get(), 4, 0), 0xFFu);
  DibRect empty{4, 2, 3, 2};
  EXPECT_EQ(dibFillRect(d8.get(), dibGetBits(d8.get()), &empty, 4), 0);
  EXPECT_EQ(dibFillRect(d8.get(), dibGetBits(d8.get()), nullptr, 4), 0);

  DibPtr down = Make(4, -2, 8);
  DibRect top{0, 0, 3, 0};
  dibFillWithColor(down.get(), 0);
  dibFillRect(down.get(), dibGetBits(down.get()), &top, 9);
  EXPECT_EQ(static_cast<uint8_t*>(dibGetBits(down.get()))[0], 9);  // row 0 is stored first

  int32_t size[2];
  EXPECT_EQ(dibGetDibDimensions(down.get(), size), 1);
  EXPECT_EQ(size[0], 4);
  EXPECT_EQ(size[1], -2);
  EXPECT_EQ(dibGetDibDimensions(nullptr, size), 0);
  EXPECT_EQ(dibGetDibDimensions(down.get(), nullptr), 0);
}
