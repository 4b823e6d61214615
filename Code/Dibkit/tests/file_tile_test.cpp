// Bitmap files and tiling.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dib_internal.h"
#include "dib_test_util.h"
#include "dib_tile.h"
#include "dibkit.h"

using namespace dibtest;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& b) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

uint32_t U32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

TEST(DibFiles, WrittenFileReadsBackEqual) {
  for (int bits : {8, 16, 24}) {
    for (int32_t height : {3, -3}) {
      DibPtr d = Make(5, height, bits);
      Paint(d.get(), [](int x, int y) { return 0x123456u * (1 + x + 7 * y); });
      if (bits == 8) {
        auto* rgb = static_cast<DibRgbQuad*>(dibGetColorArea(d.get()));
        for (int i = 0; i < 256; ++i) rgb[i] = DibRgbQuad{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
      }
      std::string path = "dibkit_test_" + std::to_string(bits) + ".bmp";
      ASSERT_EQ(dibWriteFile(path.c_str(), d.get()), 1);
      Bytes file = ReadBytes(path);
      const uint32_t area = dibColorAreaSize(bits);
      ASSERT_EQ(file.size(), 54 + area + d->biSizeImage);
      EXPECT_EQ(file[0], 'B');
      EXPECT_EQ(file[1], 'M');
      EXPECT_EQ(U32(file, 2), file.size());
      EXPECT_EQ(U32(file, 6), 0u);
      EXPECT_EQ(U32(file, 10), 54 + area);
      EXPECT_EQ(std::memcmp(&file[14], d.get(), 40), 0);

      DibPtr back(dibReadFile(path.c_str()));
      ASSERT_NE(back, nullptr) << bits;
      ASSERT_EQ(std::memcmp(back.get(), d.get(), 40 + area + d->biSizeImage), 0) << bits << " bits";
      // The same bytes held in memory, as a packed data item hands them over.
      DibPtr held(dibReadFileImage(file.data(), file.size()));
      ASSERT_NE(held, nullptr) << bits;
      EXPECT_EQ(std::memcmp(held.get(), d.get(), 40 + area + d->biSizeImage), 0) << bits << " bits";
      EXPECT_EQ(dibReadFileImage(file.data(), file.size() - 1), nullptr);
    }
  }
  EXPECT_EQ(dibWriteFile("dibkit_test_null.bmp", nullptr), 0);
  EXPECT_EQ(dibWriteFile("no_such_folder/x.bmp", Make(1, 1, 8).get()), 0);
  EXPECT_EQ(dibReadFile("dibkit_test_missing.bmp"), nullptr);
  EXPECT_EQ(dibReadFile(nullptr), nullptr);
  EXPECT_EQ(dibReadFileImage(nullptr, 100), nullptr);
}

TEST(DibFiles, InfoHeaderAtTheStartAndShortColourTables) {
  DibPtr d = Make(2, 2, 8);
  Paint(d.get(), [](int x, int y) { return 1 + x + 2 * y; });
  Bytes file = dibkit::DibToFileBytes(d.get());
  // Without the file header, the pixels follow the 1,024-byte colour area.
  Bytes headless(file.begin() + 14, file.end());
  DibPtr a(dibkit::DibFromFileBytes(headless.data(), headless.size()));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(Px(a.get(), 1, 1), 4u);

  // A file with 2 colours: the rest of the 256 entries are black, pixels
  // come from the pixel offset.
  Bytes small(14 + 40 + 8 + 8);
  small[0] = 'B';
  small[1] = 'M';
  Put32(small, 10, 14 + 40 + 8);
  std::memcpy(&small[14], d.get(), 40);
  Put32(small, 14 + 32, 2);  // colours used
  Put32(small, 14 + 20, 0);  // size image unset
  small[54] = 0x11;          // colour 0 blue
  small[58 + 2] = 0x22;      // colour 1 red
  small[62] = 7;             // pixel (0, 1): bottom row first
  small[62 + 4 + 1] = 8;     // pixel (1, 0)
  DibPtr b(dibkit::DibFromFileBytes(small.data(), small.size()));
  ASSERT_NE(b, nullptr);
  auto* rgb = static_cast<DibRgbQuad*>(dibGetColorArea(b.get()));
  EXPECT_EQ(rgb[0].blue, 0x11);
  EXPECT_EQ(rgb[1].red, 0x22);
  EXPECT_EQ(rgb[2].red + rgb[255].blue, 0);
  EXPECT_EQ(b->biSizeImage, 8u);
  EXPECT_EQ(Px(b.get(), 0, 1), 7u);
  EXPECT_EQ(Px(b.get(), 1, 0), 8u);
}

TEST(DibFiles, DamagedFilesAreRefused) {
  DibPtr d = Make(4, 4, 24);
  Bytes good = dibkit::DibToFileBytes(d.get());
  auto with = [&](size_t at, uint32_t v) {
    Bytes b = good;
    Put32(b, at, v);
    return b;
  };
  auto with16 = [&](size_t at, uint16_t v) {
    Bytes b = good;
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
    return b;
  };
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"empty", {}},
      {"file header only", Bytes(good.begin(), good.begin() + 14)},
      {"one pixel byte short", Bytes(good.begin(), good.end() - 1)},
      {"header size 12", with(14, 12)},
      {"header size 124", with(14, 124)},
      {"zero width", with(18, 0)},
      {"negative width", with(18, 0xFFFFFFFF)},
      {"zero height", with(22, 0)},
      {"huge size", with(18, 0x40000000)},
      {"depth 4", with16(28, 4)},
      {"run-length compressed", with(30, 1)},
      {"pixel offset beyond the file", with(10, 0x7FFFFFF0)},
      {"pixel offset inside the header", with(10, 20)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dibkit::DibFromFileBytes(c.bytes.data(), c.bytes.size()), nullptr) << c.what;
    WriteBytes("dibkit_test_damaged.bmp", c.bytes);
    EXPECT_EQ(dibReadFile("dibkit_test_damaged.bmp"), nullptr) << c.what;
  }
  DibPtr ok(dibkit::DibFromFileBytes(good.data(), good.size()));
  EXPECT_NE(ok, nullptr);
}

TEST(DibTiling, PiecesStartAtTheSourceOffset) {
  struct Piece {
    int32_t x, y, sx, sy, w, h;
  };
  std::vector<Piece> pieces;
  dibkit::PlanTilePieces(4, 8, 3, 5, 10, 20, 6, 7, [&](const dibkit::TilePiece& p) {
    pieces.push_back({p.x, p.y, p.srcX, p.srcY, p.width, p.height});
  });
  // The corner shows tile pixel (3, 5); every piece stays inside the tile and
  // together they cover the rectangle once.
  ASSERT_FALSE(pieces.empty());
  EXPECT_EQ(pieces[0].x, 10);
  EXPECT_EQ(pieces[0].y, 20);
  EXPECT_EQ(pieces[0].sx, 3);
  EXPECT_EQ(pieces[0].sy, 5);
  std::vector<int> covered(6 * 7, 0);
  for (const Piece& p : pieces) {
    EXPECT_LE(p.sx + p.w, 4);
    EXPECT_LE(p.sy + p.h, 8);
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) {
        // The tile pixel shown at rectangle (rx, ry) is ((3 + rx) mod 4, (5 + ry) mod 8).
        int rx = p.x - 10 + x, ry = p.y - 20 + y;
        EXPECT_EQ((p.sx + x), (3 + rx) % 4);
        EXPECT_EQ((p.sy + y), (5 + ry) % 8);
        covered[ry * 6 + rx]++;
      }
  }
  EXPECT_EQ(covered, std::vector<int>(42, 1));
  pieces.clear();
  dibkit::PlanTilePieces(4, 8, -1, -9, 0, 0, 1, 1, [&](const dibkit::TilePiece& p) {
    pieces.push_back({p.x, p.y, p.srcX, p.srcY, p.width, p.height});
  });
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].sx, 3);
  EXPECT_EQ(pieces[0].sy, 7);
}

TEST(DibTiling, TileIntoImages) {
  DibPtr tile = Make(3, 2, 8);
  Paint(tile.get(), [](int x, int y) { return 10 * y + x; });
  DibPtr dst = Make(7, 5, 8);
  dibTileRectDib(dst.get(), tile.get());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(Px(dst.get(), x, y), 10u * (y % 2) + x % 3) << x << "," << y;

  // A control at (5, 4) in its parent, offset (-1, 3): its (0, 0) shows tile
  // pixel ((5 + 2) mod 3, (4 + 1) mod 2) = (1, 1).
  DibPtr control = Make(4, 3, 8);
  dibFillWithColor(control.get(), 99);
  DibRect rect{5, 4, 5 + 3, 4 + 10};  // narrower than the image, taller
  ASSERT_EQ(dibPaintControlBackgroundOffset(tile.get(), control.get(), &rect, -1, 3), 1);
  EXPECT_EQ(Px(control.get(), 0, 0), 11u);
  EXPECT_EQ(Px(control.get(), 1, 0), 12u);
  EXPECT_EQ(Px(control.get(), 2, 1), 0u);
  EXPECT_EQ(Px(control.get(), 3, 0), 99u);  // beyond the rectangle's width
  EXPECT_EQ(Px(control.get(), 0, 2), 11u);
  DibPtr empty = Make(1, 1, 8);
  empty->biWidth = 0;
  EXPECT_EQ(dibPaintControlBackgroundOffset(empty.get(), control.get(), &rect, 0, 0), 0);
  EXPECT_EQ(dibPaintControlBackgroundOffset(tile.get(), nullptr, &rect, 0, 0), 0);
}
