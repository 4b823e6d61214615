// Bitmap-file items turned into packed DIBs.
#include "bitmap_item.h"

#include <gtest/gtest.h>

#include <cstring>

#include "heapkit.h"
#include "pack_fixture.h"
#include "packfile.h"

using namespace packtest;

namespace {

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

Bytes Seq(size_t n, uint8_t start) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(start + i);
  return b;
}

}  // namespace

// 8-bit: the colour area is always 256 entries and the pixels come from the
// pixel offset, whatever lies between.
TEST(BitmapItems, EightBitGetsAFullColourTable) {
  Bytes table = Seq(16 * 4, 1);
  Bytes pixels = Seq(4 * 3, 100);  // 3 x 3 pixels, stride 4
  Bytes file = BitmapFile(InfoHeader(3, 3, 8, 16), table, pixels, 6);
  auto* dib = static_cast<uint8_t*>(packfile::BitmapItemToPackedDib(file.data(), file.size()));
  ASSERT_NE(dib, nullptr);
  ASSERT_EQ(memSize_rel(dib), 40u + 1024 + 12);
  EXPECT_EQ(U32(dib), 40u);
  EXPECT_EQ(U32(dib + 20), 12u);  // size image
  EXPECT_EQ(Bytes(dib + 40, dib + 40 + 64), table);
  EXPECT_EQ(Bytes(dib + 40 + 64, dib + 40 + 1024), Bytes(1024 - 64, 0));
  EXPECT_EQ(Bytes(dib + 1064, dib + 1076), pixels);
  memFree_rel(dib);
}

TEST(BitmapItems, CoreHeaderIsWidened) {
  Bytes core = {12, 0, 0, 0, 2, 0, 2, 0, 1, 0, 24, 0};  // 2 x 2 at 24 bits
  Bytes pixels = Seq(16, 1);
  Bytes file = BitmapFile(core, {}, pixels);
  auto* dib = static_cast<uint8_t*>(packfile::BitmapItemToPackedDib(file.data(), file.size()));
  ASSERT_NE(dib, nullptr);
  Bytes header(40, 0);
  header[0] = 40;
  header[4] = 2;
  header[8] = 2;
  header[12] = 1;
  header[14] = 24;
  EXPECT_EQ(Bytes(dib, dib + 40), header);
  EXPECT_EQ(Bytes(dib + 40, dib + 56), pixels);
  memFree_rel(dib);

  // 4 bits with a core header: three-byte colours become four-byte ones.
  Bytes core4 = {12, 0, 0, 0, 1, 0, 1, 0, 1, 0, 4, 0};
  Bytes table3 = Seq(16 * 3, 0);
  Bytes file4 = BitmapFile(core4, table3, {0x12, 0, 0, 0});
  dib = static_cast<uint8_t*>(packfile::BitmapItemToPackedDib(file4.data(), file4.size()));
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(Bytes(dib + 40, dib + 48), (Bytes{0, 1, 2, 0, 3, 4, 5, 0}));
  EXPECT_EQ(dib[40 + 64], 0x12);
  memFree_rel(dib);
}

TEST(BitmapItems, UnacceptableHeadersGiveNull) {
  Bytes pixels(12, 1);
  Bytes good = BitmapFile(InfoHeader(3, 3, 8), Bytes(1024, 0), pixels);
  Bytes core8 = BitmapFile({12, 0, 0, 0, 3, 0, 3, 0, 1, 0, 8, 0}, Bytes(768, 0), pixels);
  Bytes header64 = good;
  header64[14] = 64;
  Bytes cut = good;
  cut.resize(cut.size() - 1);
  Bytes hugeOffset = good;
  hugeOffset[13] = 0x7F;
  Bytes zeroWidth = BitmapFile(InfoHeader(0, 3, 8), Bytes(1024, 0), pixels);
  Bytes short24 = BitmapFile(InfoHeader(4, 4, 24), {}, Bytes(47, 0));
  Bytes depth7 = BitmapFile(InfoHeader(4, 4, 7), {}, Bytes(64, 0));
  struct Case {
    const char* what;
    const Bytes& file;
  } cases[] = {{"8 bits with a 12-byte header", core8},
               {"64-byte header", header64},
               {"pixels cut short", cut},
               {"pixel offset past the end", hugeOffset},
               {"zero width", zeroWidth},
               {"24 bits, rows missing", short24},
               {"7 bits", depth7}};
  for (const Case& c : cases) {
    EXPECT_EQ(packfile::BitmapItemToPackedDib(c.file.data(), c.file.size()), nullptr) << c.what;
  }
  void* dib = packfile::BitmapItemToPackedDib(good.data(), good.size());
  EXPECT_NE(dib, nullptr);
  memFree_rel(dib);
}

TEST(BitmapItems, LoadBitmapFromAPack) {
  Bytes bmp = BitmapFile(InfoHeader(2, 1, 8), Bytes(1024, 7), {9, 8, 0, 0});
  Bytes badBmp = bmp;
  badBmp[14] = 12;
  PackFiles files = WritePack(
      "bitmaps", {packfile::StoredItem("pic", bmp), packfile::StoredItem("bad", badBmp),
                  packfile::StoredItem("text", {'B', 'Z', 'x'}), packfile::ImplodedItem("packed", bmp)});
  DatIndexEntry info;
  for (const char* name : {"pic", "packed"}) {
    auto* dib =
        static_cast<uint8_t*>(datLoadBitmap(files.index.c_str(), files.data.c_str(), name, nullptr, &info));
    ASSERT_NE(dib, nullptr) << name;
    EXPECT_EQ(U32(dib), 40u);
    EXPECT_EQ(dib[40 + 1024], 9);
    datUnloadItem(dib);
  }
  auto* raw =
      static_cast<char*>(datLoadBitmap(files.index.c_str(), files.data.c_str(), "text", nullptr, &info));
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(std::string(raw, 3), "BZx");
  datUnloadItem(raw);
  EXPECT_EQ(datLoadBitmap(files.index.c_str(), files.data.c_str(), "bad", nullptr, &info), nullptr);
  EXPECT_EQ(datLoadBitmap(files.index.c_str(), files.data.c_str(), "none", nullptr, &info), nullptr);
}

// The size image of a deeper image is the pixel bytes its block holds, not
// what the file's header claims.
TEST(BitmapItems, SizeImageIsWhatTheBlockHolds) {
  Bytes info = InfoHeader(2, 2, 24);
  info[20] = 0xFF;
  info[23] = 0x7F;  // claims 2 GiB of pixels
  Bytes file = BitmapFile(info, {}, Bytes(16, 3));
  auto* dib = static_cast<uint8_t*>(packfile::BitmapItemToPackedDib(file.data(), file.size()));
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(U32(dib + 20), 16u);
  EXPECT_EQ(memSize_rel(dib), 40u + 16);
  memFree_rel(dib);
}
