// The animated button's caption, picture names, cache tags, frame counter,
// pack paths and mask test.
#include "anim_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "caption.h"

namespace {

struct Names {
  std::string off, mask, click, frame0, frame29;
};

Names NamesOf(const char* pattern) {
  char buffer[64];
  Names n;
  AnimStillName(pattern, ANIM_STILL_OFF, buffer, sizeof buffer);
  n.off = buffer;
  AnimStillName(pattern, ANIM_STILL_MASK, buffer, sizeof buffer);
  n.mask = buffer;
  AnimStillName(pattern, ANIM_STILL_CLICK, buffer, sizeof buffer);
  n.click = buffer;
  AnimFrameName(pattern, 0, buffer, sizeof buffer);
  n.frame0 = buffer;
  AnimFrameName(pattern, 29, buffer, sizeof buffer);
  n.frame29 = buffer;
  return n;
}

TEST(AnimButtonCaption, CaptionsAsTheLobbyWritesThem) {
  struct Case {
    const char* caption;
    int32_t count, periodMs;
    Names names;
  };
  const Case cases[] = {
      {"Game {p:330,273 s:140,110 d:anim n:game_small%02d.bmp #:30 r:15}",
       30,
       66,
       {"game_small_off.bmp", "game_small_mask.bmp", "game_small_click.bmp", "game_small00.bmp",
        "game_small29.bmp"}},
      {"Exit {p:728,515 s:66,78 d:anim n:exit_small%02d.bmp #:1 r:1}",
       1,
       1000,
       {"exit_small_off.bmp", "exit_small_mask.bmp", "exit_small_click.bmp", "exit_small00.bmp",
        "exit_small29.bmp"}},
      {"{d:anim n:reg%d.bmp #:12 r:25}",
       12,
       40,
       {"reg_off.bmp", "reg_mask.bmp", "reg_click.bmp", "reg0.bmp", "reg29.bmp"}},
      // No "%": the bare names, and no frame name can be made from it.
      {"{d:anim n:plain.bmp #:3 r:0}", 3, 1000, {"_off.bmp", "_mask.bmp", "_click.bmp", "", ""}},
      // Rate and count absent: one frame a second.
      {"{d:anim n:a%02d.bmp}", 1, 1000, {"a_off.bmp", "a_mask.bmp", "a_click.bmp", "a00.bmp", "a29.bmp"}},
  };
  for (const Case& c : cases) {
    AnimCaptionKeys keys{};
    ASSERT_EQ(ParseAnimCaptionKeys(c.caption, &keys), 1) << c.caption;
    EXPECT_EQ(keys.frameCount, c.count) << c.caption;
    EXPECT_EQ(AnimFramePeriodMs(keys.rate), c.periodMs) << c.caption;
    Names n = NamesOf(keys.pattern);
    EXPECT_EQ(n.off, c.names.off) << c.caption;
    EXPECT_EQ(n.mask, c.names.mask) << c.caption;
    EXPECT_EQ(n.click, c.names.click) << c.caption;
    EXPECT_EQ(n.frame0, c.names.frame0) << c.caption;
    EXPECT_EQ(n.frame29, c.names.frame29) << c.caption;
  }
}

TEST(AnimButtonCaption, StillNamesThatDoNotFitAreRefused) {
  char small[12] = "junk";
  EXPECT_EQ(AnimStillName("abcdefg%02d.bmp", ANIM_STILL_CLICK, small, sizeof small), 0);
  EXPECT_STREQ(small, "");
  EXPECT_EQ(AnimStillName("abc%02d.bmp", ANIM_STILL_OFF, small, sizeof small), 1);
  EXPECT_STREQ(small, "abc_off.bmp");
  EXPECT_EQ(AnimStillName(nullptr, ANIM_STILL_OFF, small, sizeof small), 0);
  EXPECT_EQ(AnimStillName("a%d", AnimStill(7), small, sizeof small), 0);
}

TEST(AnimButtonCaption, PatternsSharingTheirFirstThreeAndLastCharacterShareATag) {
  auto tag = [](char a, char b, char c, char last) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(last)) << 24;
  };
  struct Case {
    const char* pattern;
    uint32_t tag;
  };
  const Case cases[] = {
      {"game%02d.bmp", tag('g', 'a', 'm', 'p')},
      {"game_small%02d.bmp", tag('g', 'a', 'm', 'p')},
      {"exit_small%02d.bmp", tag('e', 'x', 'i', 'p')},
      {"ab", tag('a', 'b', 0, 'b')},
      {"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(AnimPatternTag(c.pattern), c.tag) << c.pattern;
  EXPECT_EQ(AnimPatternTag(nullptr), 0u);
}

TEST(AnimButtonCaption, TheFrameCounterStaysInsideTheCache) {
  struct Case {
    int32_t frame, count, next;
  };
  const Case cases[] = {
      {0, 30, 1},   {29, 30, 0}, {0, 1, 0}, {5, 0, 0},  // a count of 0 would divide by zero
      {38, 50, 39}, {39, 50, 0},                        // more than 40 frames: 40
      {45, 50, 0},  {-3, 10, 0},                        // a frame outside the loop starts it again
  };
  for (const Case& c : cases) EXPECT_EQ(AnimNextFrame(c.frame, c.count), c.next) << c.frame << "/" << c.count;
}

TEST(AnimButtonCaption, PackPathsFromTheDataFolder) {
  struct Case {
    const char* folder;
    const char* name;
    const char* index;
    const char* items;
  };
  const Case cases[] = {
      {"C:\\Rookwell\\Data", "anim", "C:\\Rookwell\\Data\\anim.idx", "C:\\Rookwell\\Data\\anim.dat"},
      {"C:\\Rookwell\\", "anim", "C:\\Rookwell\\anim.idx", "C:\\Rookwell\\anim.dat"},
      {"", "anim", "anim.idx", "anim.dat"},
      {"C:\\x", "", "", ""},
  };
  for (const Case& c : cases) {
    char index[260] = "junk", items[260] = "junk";
    EXPECT_EQ(AnimDataPaths(c.folder, c.name, index, items, sizeof index), *c.index != 0) << c.folder;
    EXPECT_STREQ(index, c.index);
    EXPECT_STREQ(items, c.items);
  }
  // A folder too long for the record's 260-byte paths gives no paths, not cut ones.
  std::string folder(255, 'f');
  char index[260] = "junk", items[260] = "junk";
  EXPECT_EQ(AnimDataPaths(folder.c_str(), "anim", index, items, sizeof index), 0);
  EXPECT_STREQ(index, "");
  EXPECT_STREQ(items, "");
}

// A 3 x 2 mask of the given depth, stored bottom-up, every pixel the key
// except the top row's middle one.
struct Mask {
  std::vector<uint8_t> block;
  PackedDib* dib() { return reinterpret_cast<PackedDib*>(block.data()); }
};

Mask MakeMask(int bits) {
  int bytes = bits / 8;
  uint32_t stride = dibRowStride(bits, 3);
  uint32_t colours = dibColorAreaSize(bits);
  Mask m;
  m.block.assign(sizeof(PackedDib) + colours + stride * 2, 0);
  PackedDib* d = m.dib();
  d->biSize = 40;
  d->biWidth = 3;
  d->biHeight = 2;
  d->biPlanes = 1;
  d->biBitCount = uint16_t(bits);
  d->biSizeImage = stride * 2;
  uint8_t* pixels = m.block.data() + sizeof(PackedDib) + colours;
  uint32_t key = AnimKeyColour(bytes);
  for (int row = 0; row < 2; ++row)
    for (int x = 0; x < 3; ++x)
      for (int b = 0; b < bytes; ++b) pixels[row * stride + x * bytes + b] = uint8_t(key >> (8 * b));
  // Top row is the last one stored; its middle pixel differs in the low byte.
  pixels[stride + bytes] ^= 0x01;
  return m;
}

TEST(AnimButtonMask, OnlyPixelsOtherThanTheKeyAreOpaque) {
  for (int bits : {8, 16, 24, 32}) {
    Mask m = MakeMask(bits);
    struct Case {
      int32_t x, y;
      int opaque;
    };
    const Case cases[] = {{1, 0, 1},  {0, 0, 0},  {2, 0, 0}, {1, 1, 0},
                          {-1, 0, 0}, {1, -1, 0}, {3, 0, 0}, {1, 2, 0}};
    for (const Case& c : cases)
      EXPECT_EQ(AnimMaskIsOpaque(m.dib(), c.x, c.y), c.opaque) << bits << " bits at " << c.x << "," << c.y;
  }
  // An 8-bit mask pixel is judged by its own byte alone, not by its right
  // neighbour's too (and the last pixel of the image is read without going past it).
  Mask m = MakeMask(8);
  EXPECT_EQ(AnimMaskIsOpaque(m.dib(), 0, 0), 0);
  EXPECT_EQ(AnimMaskIsOpaque(nullptr, 0, 0), 0);
  Mask mono = MakeMask(8);
  mono.dib()->biBitCount = 1;
  EXPECT_EQ(AnimMaskIsOpaque(mono.dib(), 1, 0), 0);
}

TEST(AnimButtonMask, KeyColourByDepth) {
  EXPECT_EQ(AnimKeyColour(1), 0u);
  EXPECT_EQ(AnimKeyColour(2), 0xFC1Fu);
  EXPECT_EQ(AnimKeyColour(3), 0xFFFFFFu);
  EXPECT_EQ(AnimKeyColour(4), 0xFFFFFFu);
}

}  // namespace
