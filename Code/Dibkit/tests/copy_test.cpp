// The copy family: bounds, transparency, effects, depth conversions, raw
// forms, kernels and surfaces.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dib_surface.h"
#include "dib_test_util.h"
#include "dibkit.h"

using namespace dibtest;

TEST(DibCopy, RectangleMustLieInsideBothImages) {
  struct Case {
    int32_t dx, dy, sx, sy, w, h;
    bool copies;
  } cases[] = {
      {0, 0, 0, 0, 4, 3, true},   {2, 1, 0, 0, 2, 2, true},
      {3, 0, 0, 0, 2, 1, false},  // one past dst right
      {0, 2, 0, 0, 1, 2, false},  {0, 0, 3, 0, 2, 1, false},
      {0, 0, 0, 2, 1, 2, false},  // past src edges
      {-1, 0, 0, 0, 1, 1, false}, {0, 0, 0, -1, 1, 1, false},
      {0, 0, 0, 0, -1, 1, false},
  };
  for (const Case& c : cases) {
    DibPtr dst = Make(4, 3, 8), src = Make(4, 3, 8);
    dibFillWithColor(dst.get(), 1);
    dibFillWithColor(src.get(), 2);
    dibCopyDIB(dst.get(), src.get(), c.dx, c.dy, c.sx, c.sy, c.w, c.h);
    int changed = 0;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) changed += Px(dst.get(), x, y) == 2;
    EXPECT_EQ(changed, c.copies ? c.w * c.h : 0) << c.dx << "," << c.dy << " " << c.sx << "," << c.sy;
  }
  DibPtr a = Make(2, 2, 8);
  DibPtr zeroDepth = Make(2, 2, 8);
  zeroDepth->biBitCount = 0;
  dibFillWithColor(a.get(), 1);
  dibCopyDIB(a.get(), zeroDepth.get(), 0, 0, 0, 0, 1, 1);
  dibCopyDIB(a.get(), nullptr, 0, 0, 0, 0, 1, 1);
  EXPECT_EQ(Px(a.get(), 0, 0), 1u);
}

TEST(DibCopy, PlacesRowsFromTheTopInEitherRowOrder) {
  for (int32_t srcHeight : {3, -3}) {
    for (int32_t dstHeight : {4, -4}) {
      DibPtr src = Make(3, srcHeight, 8), dst = Make(4, dstHeight, 8);
      Paint(src.get(), [](int x, int y) { return 10 * y + x; });
      dibFillWithColor(dst.get(), 99);
      dibCopyDIB(dst.get(), src.get(), 1, 2, 1, 0, 2, 2);
      EXPECT_EQ(Px(dst.get(), 1, 2), 1u);
      EXPECT_EQ(Px(dst.get(), 2, 3), 12u);
      EXPECT_EQ(Px(dst.get(), 0, 2), 99u);
      EXPECT_EQ(Px(dst.get(), 1, 1), 99u);
    }
  }
}

TEST(DibCopy, TransparencyByDepth) {
  DibPtr src8 = Make(2, 1, 8), dst8 = Make(2, 1, 8);
  SetPx(src8.get(), 0, 0, 5);
  SetPx(src8.get(), 1, 0, 6);
  dibFillWithColor(dst8.get(), 1);
  dibTransCopyDIB(dst8.get(), src8.get(), 0, 0, 0, 0, 2, 1, 5);
  EXPECT_EQ(Px(dst8.get(), 0, 0), 1u);
  EXPECT_EQ(Px(dst8.get(), 1, 0), 6u);

  DibPtr src16 = Make(2, 1, 16), dst16 = Make(2, 1, 16);
  SetPx(src16.get(), 0, 0, 0xFC1F);
  SetPx(src16.get(), 1, 0, 0x1234);
  dibFillWithColor(dst16.get(), 0x1111);
  dibTransCopyDIB(dst16.get(), src16.get(), 0, 0, 0, 0, 2, 1, 0xFC1F);
  EXPECT_EQ(Px(dst16.get(), 0, 0), 0x1111u);
  EXPECT_EQ(Px(dst16.get(), 1, 0), 0x1234u);

  // 24 bits: black is transparent whatever the key.
  DibPtr src24 = Make(3, 1, 24), dst24 = Make(3, 1, 24);
  SetPx(src24.get(), 0, 0, 0x000000);
  SetPx(src24.get(), 1, 0, 0x0000FF);
  SetPx(src24.get(), 2, 0, 0x010101);
  Paint(dst24.get(), [](int, int) { return 0xABCDEF; });
  dibTransCopyDIB(dst24.get(), src24.get(), 0, 0, 0, 0, 3, 1, 0x0000FF);
  EXPECT_EQ(Px(dst24.get(), 0, 0), 0xABCDEFu);
  EXPECT_EQ(Px(dst24.get(), 1, 0), 0x0000FFu);
  EXPECT_EQ(Px(dst24.get(), 2, 0), 0x010101u);
}

TEST(DibCopy, DepthConversions) {
  // 5-5-5 to 24 bits and back.
  struct Case {
    uint32_t p555, rgb;
  } cases[] = {
      {0x7C00, 0xF80000}, {0x03E0, 0x00F800}, {0x001F, 0x0000F8}, {0x7FFF, 0xF8F8F8}, {0x4210, 0x808080}};
  for (const Case& c : cases) {
    DibPtr s16 = Make(1, 1, 16), d24 = Make(1, 1, 24), d16 = Make(1, 1, 16);
    SetPx(s16.get(), 0, 0, c.p555);
    dibCopyDIB(d24.get(), s16.get(), 0, 0, 0, 0, 1, 1);
    EXPECT_EQ(Px(d24.get(), 0, 0), c.rgb) << std::hex << c.p555;
    SetPx(d24.get(), 0, 0, c.rgb | 0x070707);  // the low three bits of each channel are dropped
    dibCopyDIB(d16.get(), d24.get(), 0, 0, 0, 0, 1, 1);
    EXPECT_EQ(Px(d16.get(), 0, 0), c.p555) << std::hex << c.rgb;
  }

  // 8 bits into 16 and 24 bits: the table is the 8-bit source's colour area.
  DibPtr s8 = Make(2, 1, 8);
  SetPx(s8.get(), 0, 0, 3);
  SetPx(s8.get(), 1, 0, 200);
  auto* as16 = static_cast<uint16_t*>(dibGetColorArea(s8.get()));
  as16[3] = 0x1234;
  as16[200] = 0x7C00;
  DibPtr d16 = Make(2, 1, 16);
  dibCopyDIB(d16.get(), s8.get(), 0, 0, 0, 0, 2, 1);
  EXPECT_EQ(Px(d16.get(), 0, 0), 0x1234u);
  EXPECT_EQ(Px(d16.get(), 1, 0), 0x7C00u);
  auto* asRgb = static_cast<DibRgbQuad*>(dibGetColorArea(s8.get()));
  asRgb[3] = DibRgbQuad{0x11, 0x22, 0x33, 0};
  asRgb[200] = DibRgbQuad{0xAA, 0xBB, 0xCC, 0};
  DibPtr d24 = Make(2, 1, 24);
  dibCopyDIB(d24.get(), s8.get(), 0, 0, 0, 0, 2, 1);
  EXPECT_EQ(Px(d24.get(), 0, 0), 0x332211u);
  EXPECT_EQ(Px(d24.get(), 1, 0), 0xCCBBAAu);

  // Into 8 bits from deeper images: not handled, nothing written.
  DibPtr d8 = Make(1, 1, 8);
  SetPx(d8.get(), 0, 0, 9);
  dibCopyDIB(d8.get(), d24.get(), 0, 0, 0, 0, 1, 1);
  EXPECT_EQ(Px(d8.get(), 0, 0), 9u);
}

// The pattern bit of destination pixel (x, y) is 1 when x + y is even:
// ghost keeps the destination there, haze copies the source there.
TEST(DibCopy, GhostHazeAndShadowFollowTheDestinationPattern) {
  for (int32_t dstX : {0, 1, 2, 3}) {
    for (int32_t dstY : {0, 1}) {
      DibPtr src = Make(4, 3, 8);
      Paint(src.get(), [](int x, int) { return x == 1 ? 0 : 50 + x; });  // column 1 transparent (key 0)
      for (int effect : {DIB_FX_GHOST, DIB_FX_HAZE, DIB_FX_SHADOW}) {
        DibPtr dst = Make(8, 5, 8);
        dibFillWithColor(dst.get(), 9);
        dibFXCopyDIB(dst.get(), src.get(), dstX, dstY, 0, 0, 4, 3, effect, 0, 77);
        for (int y = 0; y < 3; ++y) {
          for (int x = 0; x < 4; ++x) {
            const bool bit = ((dstX + x + dstY + y) & 1) == 0;
            uint32_t expected;
            if (x == 1)
              expected = 9;
            else if (effect == DIB_FX_GHOST)
              expected = bit ? 9 : 50 + x;
            else if (effect == DIB_FX_HAZE)
              expected = bit ? 50 + x : 77;
            else
              expected = 77;
            ASSERT_EQ(Px(dst.get(), dstX + x, dstY + y), expected)
                << "effect " << effect << " at " << dstX << "," << dstY << " pixel " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(DibCopy, HazeIntoDeeperImagesUsesTheTableColour) {
  DibPtr src = Make(2, 1, 8);
  Paint(src.get(), [](int, int) { return 1; });
  auto* rgb = static_cast<DibRgbQuad*>(dibGetColorArea(src.get()));
  rgb[1] = DibRgbQuad{0x10, 0x20, 0x30, 0};
  rgb[77] = DibRgbQuad{0x01, 0x02, 0x03, 0};
  DibPtr dst = Make(2, 1, 24);
  dibFXCopyDIB(dst.get(), src.get(), 0, 0, 0, 0, 2, 1, DIB_FX_HAZE, 0, 77);
  EXPECT_EQ(Px(dst.get(), 0, 0), 0x302010u);  // pattern bit 1: the source
  EXPECT_EQ(Px(dst.get(), 1, 0), 0x030201u);  // pattern bit 0: the haze colour
}

TEST(DibCopy, RawFormsReportUnhandledPairs) {
  uint8_t dst[64] = {}, src[64] = {};
  uint16_t t16[256] = {};
  DibRgbQuad trgb[256] = {};
  struct Case {
    int effect;  // 0 plain copy
    int dstBpp, srcBpp;
    int result;
  } cases[] = {
      {0, 1, 1, 0},
      {0, 2, 1, 0},
      {0, 3, 1, 0},
      {0, 2, 3, 0},
      {0, 3, 2, 0},
      {0, 1, 2, 1},
      {0, 1, 3, 1},
      {0, 4, 4, 1},
      {DIB_FX_HAZE, 1, 2, 2},
      {DIB_FX_HAZE, 2, 2, 0},
      {DIB_FX_HAZE, 3, 3, 0},
      {DIB_FX_SHADOW, 2, 2, 3},
      {DIB_FX_SHADOW, 1, 1, 0},
      {DIB_FX_GHOST, 2, 1, 1},
      {DIB_FX_GHOST, 1, 1, 0},
      {9, 1, 1, 1},
  };
  for (const Case& c : cases) {
    int r = c.effect == 0 ? dibCopyBitsWide(dst, 0, c.dstBpp, src, 2, 2, 16, 16, c.srcBpp, t16, trgb)
                          : dibFXCopyBitsWide(dst, 0, c.dstBpp, src, 2, 2, 16, 16, c.srcBpp, t16, trgb,
                                              c.effect, 0, 0, 0, 0);
    EXPECT_EQ(r, c.result) << "effect " << c.effect << " " << c.srcBpp << "->" << c.dstBpp;
  }
  EXPECT_EQ(dibCopyBitsWide(nullptr, 0, 1, src, 2, 2, 16, 16, 1, t16, trgb), 1);
  EXPECT_EQ(dibCopyBitsWide(dst, 0, 2, src, 2, 2, 16, 16, 1, nullptr, trgb), 1);  // no 16-bit table
  EXPECT_EQ(dibTransCopyBitsWide(dst, 20, 1, src, 2, 2, -16, 16, 1, nullptr, nullptr, 0),
            0);  // 8 bits: no table
  EXPECT_EQ(dibHazeCopyBitsWide(dst, 0, 1, src, 2, 2, 16, 16, 1, nullptr, nullptr, 0, 5, 0, 0), 0);
}

TEST(DibCopy, RawCopyWalksByStrideFromTheOffset) {
  std::vector<uint8_t> dst(4 * 3, 0);
  const uint8_t src[] = {1, 2, 0, 0, 3, 4, 0, 0};
  // Walk the destination upwards (negative stride) from its last row.
  ASSERT_EQ(dibCopyBitsWide(dst.data(), 8 + 1, 1, src, 2, 2, -4, 4, 1, nullptr, nullptr), 0);
  EXPECT_EQ(dst, (std::vector<uint8_t>{0, 0, 0, 0, 0, 3, 4, 0, 0, 1, 2, 0}));
}

TEST(DibKernels, EightBitRowRules) {
  const uint8_t src[8] = {0, 1, 2, 0, 3, 0, 4, 5};
  struct Case {
    const char* kernel;
    std::vector<uint8_t> expected;
  } cases[] = {
      {"copy", {0, 1, 2, 0, 3, 0, 4, 5}},  {"trans", {9, 1, 2, 9, 3, 9, 4, 5}},
      {"mask", {0, 1, 2, 0, 3, 0, 4, 5}},  {"shadow", {9, 7, 7, 9, 7, 9, 7, 7}},
      {"ghost", {9, 1, 9, 9, 9, 9, 9, 5}}, {"haze", {9, 7, 2, 9, 3, 9, 4, 7}},
      {"paint", {7, 7, 7, 9, 9, 9, 9, 9}}, {"fill", {7, 7, 9, 9, 7, 7, 9, 9}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> dst(8, 9);
    std::string k = c.kernel;
    if (k == "copy") CopyDIBBits(dst.data(), src, 8, 1, 8, 8);
    if (k == "trans") TransCopyDIBBits(dst.data(), src, 8, 1, 8, 8, 0);
    if (k == "mask") MaskCopyDIBBits(dst.data(), src, 8, 1, 8, 8, 0);
    if (k == "shadow") ShadowCopyDIBBits(dst.data(), src, 8, 1, 8, 8, 0, 7);
    if (k == "ghost") GhostCopyDIBBits(dst.data(), src, 8, 1, 8, 8, 0, 0, 0);
    if (k == "haze") HazeCopyDIBBits(dst.data(), src, 8, 1, 8, 8, 0, 7, 0, 0);
    if (k == "paint") PaintHorizDIBBits(dst.data(), 3, 7);
    if (k == "fill") FillDIBBits(dst.data(), 2, 2, 4, 7);
    EXPECT_EQ(dst, c.expected) << c.kernel;
  }
  // Mask copy writes only where the destination is not the key.
  std::vector<uint8_t> dst = {0, 5, 0, 5};
  MaskCopyDIBBits(dst.data(), src + 4, 4, 1, 4, 4, 0);
  EXPECT_EQ(dst, (std::vector<uint8_t>{0, 0, 0, 5}));
  // Offsets and widths of 0.
  dst.assign(4, 9);
  CopyDIBBitsX(dst.data(), 2, src + 1, 2, 1, 4, 4);
  TransCopyDIBBitsX(dst.data(), 0, src, 0, 1, 4, 4, 0);
  EXPECT_EQ(dst, (std::vector<uint8_t>{9, 9, 1, 2}));
}

TEST(DibKernels, WidenedMonoMask) {
  // Mask bits 0100 0001 | 1000 0000 over ten pixels: pixels 1, 2, 7, 8, 9 stay.
  const uint8_t mask[2] = {0x41, 0x80};
  std::vector<uint8_t> row(10, 5);
  ZeroDIBUsingWidenedMonoMask(row.data(), mask, 10, 1, 12, 2);
  EXPECT_EQ(row, (std::vector<uint8_t>{0, 5, 5, 0, 0, 0, 0, 5, 5, 5}));
}

TEST(DibSurface, CopiesClipToTheSurface) {
  std::vector<uint8_t> bits(8 * 4, 0);  // 6 x 4 bottom-up, stride 8
  dibkit::Surface s{bits.data(), 6, 4, false, 8, 8};
  DibPtr img = Make(3, 2, 8);
  Paint(img.get(), [](int x, int y) { return 1 + 10 * y + x; });
  ASSERT_EQ(dibkit::CopyDibToSurface(s, 4, 3, img.get()), 1);  // only the top-left 2 x 1 fits
  auto at = [&](int x, int y) { return bits[(3 - y) * 8 + x]; };
  EXPECT_EQ(at(4, 3), 1);
  EXPECT_EQ(at(5, 3), 2);
  EXPECT_EQ(bits[0 * 8 + 6], 0);  // nothing in the row padding
  ASSERT_EQ(dibkit::CopyDibToSurface(s, -1, -1, img.get()), 1);
  EXPECT_EQ(at(0, 0), 12);
  EXPECT_EQ(at(1, 0), 13);

  DibPtr back = Make(3, 2, 8);
  dibFillWithColor(back.get(), 0);
  ASSERT_EQ(dibkit::CopySurfaceToDib(s, 4, 2, back.get()), 1);
  EXPECT_EQ(Px(back.get(), 0, 1), 1u);
  EXPECT_EQ(Px(back.get(), 2, 1), 0u);  // outside the surface: unchanged

  // Masked: only where the surface pixel is not 0.
  std::fill(bits.begin(), bits.end(), 0);
  bits[3 * 8 + 1] = 9;  // (1, 0)
  EXPECT_EQ(dibkit::MaskedCopyDibToSurface(s, img.get(), 0, 0, 0, 0, 3, 2), 1);
  EXPECT_EQ(at(0, 0), 0);
  EXPECT_EQ(at(1, 0), 2);
  EXPECT_EQ(dibkit::MaskedCopyDibToSurface(s, img.get(), 4, 0, 0, 0, 3, 2), 0);

  // Transparent into a 24-bit surface through the image's own table.
  std::vector<uint8_t> deep(12 * 2, 0);
  dibkit::Surface s24{deep.data(), 4, 2, true, 12, 24};
  auto* rgb = static_cast<DibRgbQuad*>(dibGetColorArea(img.get()));
  rgb[1] = DibRgbQuad{1, 2, 3, 0};
  rgb[2] = DibRgbQuad{4, 5, 6, 0};
  ASSERT_EQ(dibkit::TransCopyDibToSurface(s24, 0, 0, img.get(), 2), 1);
  EXPECT_EQ(std::vector<uint8_t>(deep.begin(), deep.begin() + 6), (std::vector<uint8_t>{1, 2, 3, 0, 0, 0}));
}
