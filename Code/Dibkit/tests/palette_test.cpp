// Colour tables and the library's reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dib_test_util.h"
#include "dibkit.h"

using namespace dibtest;

namespace {

std::vector<std::string>& Reports() {
  static std::vector<std::string> reports;
  return reports;
}
void Capture(const char* text, const char* caption) {
  Reports().push_back(std::string(caption) + ": " + text);
}

}  // namespace

TEST(DibPalettes, TablesCopyTheirRanges) {
  std::vector<DibRgbQuad> table(256, DibRgbQuad{0, 0, 0, 0});
  const DibRgbQuad colours[3] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
  palSyncCustomPalette(nullptr, table.data(), colours, 10, 3);
  EXPECT_EQ(table[10].blue, 1);
  EXPECT_EQ(table[12].red, 9);
  EXPECT_EQ(table[11].reserved, 4);
  EXPECT_EQ(table[13].reserved, 0);
  palSyncCustomPalette(nullptr, table.data(), colours, 254, 3);  // the entry past 255 is left out
  EXPECT_EQ(table[255].blue, 4);

  std::vector<DibRgbQuad> merged(256, DibRgbQuad{0, 0, 0, 0});
  EXPECT_EQ(palMergeColorTables(table.data(), merged.data(), 11, 12), 1);
  EXPECT_EQ(merged[10].blue, 0);
  EXPECT_EQ(merged[11].blue, 4);
  EXPECT_EQ(merged[12].blue, 7);

  DibPtr d = Make(1, 1, 8);
  auto* rgb = static_cast<DibRgbQuad*>(dibGetColorArea(d.get()));
  rgb[200] = DibRgbQuad{9, 9, 9, 0};
  EXPECT_EQ(palColorsFromDIB(d.get(), merged.data(), 200, 300), 1);
  EXPECT_EQ(merged[200].green, 9);
}

TEST(DibPalettes, NullArgumentsAreReported) {
  Reports().clear();
  dibSetMessageHook(Capture);
  std::vector<DibRgbQuad> table(256);
  EXPECT_EQ(palColorsFromDIB(nullptr, table.data(), 0, 255), 0);
  EXPECT_EQ(palMergeColorTables(nullptr, table.data(), 0, 255), 0);
  EXPECT_EQ(palMergeColorTables(table.data(), nullptr, 0, 255), 0);
  dibSetMessageHook(nullptr);
  EXPECT_EQ(Reports(), (std::vector<std::string>{"pal: NULL pDIB in palColorsFromDIB",
                                                 "utils: NULL param to UpdateColorTable",
                                                 "utils: NULL param to UpdateColorTable"}));
}

TEST(DibPalettes, ColourCounts) {
  struct Case {
    uint32_t headerSize;
    int bits;
    uint32_t used;
    int colours, size;
  } cases[] = {{40, 1, 0, 2, 8},  {40, 4, 0, 16, 64}, {40, 8, 0, 256, 1024}, {40, 8, 16, 16, 64},
               {40, 24, 0, 0, 0}, {40, 16, 0, 0, 0},  {12, 8, 0, 256, 768},  {12, 4, 0, 16, 48}};
  for (const Case& c : cases) {
    PackedDib h{};
    h.biSize = c.headerSize;
    if (c.headerSize == 12) {
      reinterpret_cast<uint16_t*>(&h)[5] = static_cast<uint16_t>(c.bits);  // the short header's bit count
    } else {
      h.biBitCount = static_cast<uint16_t>(c.bits);
      h.biClrUsed = c.used;
    }
    EXPECT_EQ(palGetDibNumColors(&h), c.colours) << c.headerSize << "/" << c.bits;
    EXPECT_EQ(palGetSize(&h), c.size) << c.headerSize << "/" << c.bits;
  }
}
