// Bars composed into a bitmap from three pieces.
#include "bardib.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

PackedDib* Piece(int w, int h, uint8_t index) {
  PackedDib* dib = dibCreateWithColors(w, h, 8);
  dibFillWithColor(dib, index);
  return dib;
}

// The target's pixels along one row (or column), one character per pixel:
// '.' for the blank index 0, else 'a' + index - 1.
std::string Line(PackedDib* dib, int fixed, bool vertical) {
  int32_t size[2];
  dibGetDibDimensions(dib, size);
  std::string out;
  int n = vertical ? size[1] : size[0];
  for (int i = 0; i < n; ++i) {
    auto* p = static_cast<uint8_t*>(vertical ? dibGetPixelAddress(dib, fixed, i)
                                             : dibGetPixelAddress(dib, i, fixed));
    out += *p ? char('a' + *p - 1) : '.';
  }
  return out;
}

struct Bar {
  PackedDib* first;
  PackedDib* middle;
  PackedDib* last;
  ~Bar() {
    dibDelete(first);
    dibDelete(middle);
    dibDelete(last);
  }
};

}  // namespace

TEST(BuildBarDib, PiecesAlongTheBar) {
  struct Case {
    const char* name;
    int length;               // of the target along the bar
    int first, middle, last;  // piece lengths, 0 = no piece
    const char* line;
  };
  // Piece indices: first 1 ('a'), middle 2 ('b'), last 3 ('c').
  const Case cases[] = {
      {"all three", 12, 2, 3, 2, "aabbbbbbbbcc"},
      {"middle only, last tile cut", 8, 0, 3, 0, "bbbbbbbb"},
      {"last longer than the bar is left out", 6, 2, 3, 9, "aabbbb"},
      {"last as long as the bar is left out", 6, 1, 2, 6, "abbbbb"},
      {"first longer than the bar spans it, last still drawn", 5, 9, 3, 2, "aaacc"},
      {"first and last meet", 4, 2, 3, 2, "aacc"},
      {"no middle leaves a gap", 6, 1, 0, 2, "a...cc"},
  };
  for (bool vertical : {false, true}) {
    for (const Case& c : cases) {
      const int across = 3;
      Bar bar{c.first ? Piece(vertical ? across : c.first, vertical ? c.first : across, 1) : nullptr,
              c.middle ? Piece(vertical ? across : c.middle, vertical ? c.middle : across, 2) : nullptr,
              c.last ? Piece(vertical ? across : c.last, vertical ? c.last : across, 3) : nullptr};
      PackedDib* target = vertical ? Piece(across, c.length, 0) : Piece(c.length, across, 0);
      EXPECT_EQ(BuildBarDib(target, bar.first, bar.middle, bar.last, vertical), 1) << c.name;
      EXPECT_EQ(Line(target, 1, vertical), c.line) << c.name << (vertical ? " (vertical)" : "");
      dibDelete(target);
    }
  }
}

TEST(BuildBarDib, AcrossTheBarEachPieceKeepsItsOwnSize) {
  // A first piece lower than the target covers only its own rows.
  Bar bar{Piece(2, 2, 1), Piece(2, 4, 2), nullptr};
  PackedDib* target = Piece(6, 4, 0);
  BuildBarDib(target, bar.first, bar.middle, nullptr, 0);
  EXPECT_EQ(Line(target, 0, false), "aabbbb");
  EXPECT_EQ(Line(target, 3, false), "..bbbb");
  dibDelete(target);
}

TEST(BuildBarDib, TheTargetTakesTheColourTableOfTheFirstPiecePresent) {
  auto tableMark = [](PackedDib* dib) { return static_cast<uint8_t*>(dibGetColorArea(dib))[0]; };
  auto marked = [](int w, uint8_t mark) {
    PackedDib* dib = Piece(w, 2, 1);
    static_cast<uint8_t*>(dibGetColorArea(dib))[0] = mark;
    return dib;
  };
  struct Case {
    bool first, middle, last;
    uint8_t mark;
  };
  const Case cases[] = {{true, true, true, 11}, {false, true, true, 33}, {false, true, false, 22}};
  for (const Case& c : cases) {
    Bar bar{c.first ? marked(2, 11) : nullptr, c.middle ? marked(2, 22) : nullptr,
            c.last ? marked(2, 33) : nullptr};
    PackedDib* target = Piece(8, 2, 0);
    BuildBarDib(target, bar.first, bar.middle, bar.last, 0);
    EXPECT_EQ(tableMark(target), c.mark);
    dibDelete(target);
  }
}

TEST(BuildBarDib, RefusesNothingToDrawAndSurvivesEmptyPieces) {
  PackedDib* target = Piece(4, 4, 0);
  EXPECT_EQ(BuildBarDib(nullptr, target, target, target, 0), 0);
  EXPECT_EQ(BuildBarDib(target, nullptr, nullptr, nullptr, 0), 0);
  // A middle piece with no length must not loop for ever.
  std::vector<uint8_t> block(sizeof(PackedDib) + 1024);  // an 8-bit image of width 0
  auto* empty = reinterpret_cast<PackedDib*>(block.data());
  empty->biSize = 40;
  empty->biBitCount = 8;
  empty->biHeight = 4;
  EXPECT_EQ(BuildBarDib(target, nullptr, empty, nullptr, 0), 1);
  dibDelete(target);
}
