// Caption blocks: placement keys and the animated button's keys.
#include "caption.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

struct PlacementCase {
  const char* caption;
  int hasBlock, move, size;
  int32_t x, y, w, h;
};

template <size_t N>
void ExpectPlacements(int (*parse)(const char*, CaptionPlacement*), const PlacementCase (&cases)[N]) {
  for (const PlacementCase& c : cases) {
    CaptionPlacement p{};
    EXPECT_EQ(parse(c.caption, &p), c.hasBlock) << c.caption;
    EXPECT_EQ(p.move, c.move) << c.caption;
    EXPECT_EQ(p.size, c.size) << c.caption;
    if (c.move) {
      EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(c.x, c.y)) << c.caption;
    }
    if (c.size) {
      EXPECT_EQ(std::make_pair(p.w, p.h), std::make_pair(c.w, c.h)) << c.caption;
    }
  }
  EXPECT_EQ(parse(nullptr, nullptr), 0);
}

}  // namespace

TEST(CaptionProper, TheTextBeforeTheBlock) {
  const std::pair<const char*, size_t> cases[] = {
      {"Undo {p:608,470 s:120,24}", 4}, {"Undo{p:1,2}", 4}, {"Plain text ", 11},
      {"{p:1,2}", 0},                   {"", 0},            {"a \t {x} {y}", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(CaptionProperLength(c.first), c.second) << c.first;
  EXPECT_EQ(CaptionProperLength(nullptr), 0u);
}

TEST(CaptionPlacement, KeysAsDialogTemplatesWriteThem) {
  const PlacementCase cases[] = {
      {"Plain text", 0, 0, 0, 0, 0, 0, 0},
      {"{p:10,20}", 1, 1, 0, 10, 20, 0, 0},
      {"{s:94,80}", 1, 0, 1, 0, 0, 94, 80},
      {"{p:8,6 s:94,80}", 1, 1, 1, 8, 6, 94, 80},
      {"{s:94,80 p:8,6}", 1, 1, 1, 8, 6, 94, 80},
      {"Game {p:330,273 s:140,110 d:anim n:game_small%02d.bmp #:30 r:15}", 1, 1, 1, 330, 273, 140, 110},
      {"{ p:10,20}", 1, 0, 0, 0, 0, 0, 0},                // a blank after the brace: nothing
      {"{p:10,20 d:anim s:5,6}", 1, 1, 0, 10, 20, 0, 0},  // s after another key is not read
      {"{d:anim p:10,20}", 1, 0, 0, 0, 0, 0, 0},
      {"{p:1,2} s:5,6", 1, 1, 0, 1, 2, 0, 0},  // text after the closing brace is not read
      {"{px s:5,6}", 1, 0, 0, 0, 0, 0, 0},     // "p" without a colon is stepped over, "x" ends it
      {"{ps:5,6}", 1, 0, 1, 0, 0, 5, 6},
      {"{p:12", 1, 1, 0, 12, 0, 0, 0},
      {"{p:99999999999,7}", 1, 1, 0, INT32_MAX, 7, 0, 0},
      {"label {{p:3,4}", 1, 1, 0, 3, 4, 0, 0},
  };
  ExpectPlacements(ParseCaptionPlacement, cases);
}

// The hot button's reading steps over anything else one character at a
// time, so the keys count wherever they stand in the block.
TEST(CaptionPlacement, HotButtonReadingFindsKeysAnywhereInTheBlock) {
  const PlacementCase cases[] = {
      {"Plain text p:1,2", 0, 0, 0, 0, 0, 0, 0},
      {"Hint {p:392,330 s:110,24}", 1, 1, 1, 392, 330, 110, 24},
      {"{ p:10,20}", 1, 1, 0, 10, 20, 0, 0},              // a blank after the brace is stepped over
      {"{p:10,20 d:anim s:5,6}", 1, 1, 1, 10, 20, 5, 6},  // s behind another key
      {"{d:anim p:10,20}", 1, 1, 0, 10, 20, 0, 0},
      {"{d:map:7,8}", 1, 1, 0, 7, 8, 0, 0},  // even inside another key's value
      {"{px s:5,6}", 1, 0, 1, 0, 0, 5, 6},
      {"{p:1,2} s:5,6", 1, 1, 0, 1, 2, 0, 0},  // text after the closing brace is not read
      {"{p:1,2 p:3,4}", 1, 1, 0, 3, 4, 0, 0},  // the last one counts
      {"{s:", 1, 0, 1, 0, 0, 0, 0},
      {"{p:99999999999,7}", 1, 1, 0, INT32_MAX, 7, 0, 0},
      {"label {{p:3,4}", 1, 1, 0, 3, 4, 0, 0},
  };
  ExpectPlacements(ParseCaptionPlacementAnywhere, cases);
  std::string late(250, 'x');
  late += " {a:b p:1,2}";  // cut at 255 characters, before the key
  CaptionPlacement p{};
  EXPECT_EQ(ParseCaptionPlacementAnywhere(late.c_str(), &p), 1);
  EXPECT_EQ(p.move, 0);
}

TEST(CaptionPlacement, OnlyTheFirst255CharactersAreRead) {
  std::string caption(250, 'x');
  caption += " {p:1,2}";  // the block starts at character 251 and is cut at "p:1"
  CaptionPlacement p{};
  EXPECT_EQ(ParseCaptionPlacement(caption.c_str(), &p), 1);
  EXPECT_EQ(p.move, 1);
  EXPECT_EQ(p.x, 1);
  std::string late(255, 'x');
  late += "{p:1,2}";
  EXPECT_EQ(ParseCaptionPlacement(late.c_str(), &p), 0);
}

TEST(AnimCaption, KeysAndTheirValues) {
  struct Case {
    const char* caption;
    const char* name;
    const char* pattern;
    int32_t count, rate;
  };
  const Case cases[] = {
      {"Game {p:330,273 s:140,110 d:anim n:game_small%02d.bmp #:30 r:15}", "anim", "game_small%02d.bmp", 30,
       15},
      {"Exit {d:lobby n:exit%02d.bmp #:1 r:1}", "lobby", "exit%02d.bmp", 1, 1},
      {"{r:0 #:3}", "", "", 3, 1},    // a zero rate would divide by zero: read as 1
      {"{r:-4 #:-2}", "", "", 1, 1},  // negative values make no sense either
      {"{#:0}", "", "", 1, 1},        // nor does a loop of no frames (the advance is modulo the count)
      {"{#:40}", "", "", 40, 1},      // the cache has 40 slots
      {"{#:41}", "", "", 40, 1},      // so frame 40 would index past it
      {"{#:99999999999}", "", "", 40, 1},
      {"{d n:x #:2}", "", "x", 2, 1},  // a key letter without a colon is stepped over
      {"{zz:1 r:5}", "", "", 1, 5},
      {"{#:12}", "", "", 12, 1},
      {"{r:abc}", "", "", 1, 1},
      {"{n:abcdefghijklmnopqrstuvwxyz0123456789}", "", "abcdefghijklmnopqrstuvwxyz01234", 1, 1},
      {"no block", "", "", 1, 1},
  };
  for (const Case& c : cases) {
    AnimCaptionKeys k{};
    ParseAnimCaptionKeys(c.caption, &k);
    EXPECT_STREQ(k.dataName, c.name) << c.caption;
    EXPECT_STREQ(k.pattern, c.pattern) << c.caption;
    EXPECT_EQ(k.frameCount, c.count) << c.caption;
    EXPECT_EQ(k.rate, c.rate) << c.caption;
  }
  EXPECT_EQ(AnimFramePeriodMs(15), 66);
  EXPECT_EQ(AnimFramePeriodMs(0), 1000);
}

TEST(AnimCaption, FrameNamesOnlyFromSafePatterns) {
  struct Case {
    const char* pattern;
    int ok;
    const char* name;  // of frame 7
  };
  const Case cases[] = {
      {"game_small%02d.bmp", 1, "game_small07.bmp"},
      {"f%d", 1, "f7"},
      {"100%%_%03u.bmp", 1, "100%_007.bmp"},
      {"none.bmp", 0, ""},
      {"%s.bmp", 0, ""},
      {"%d%d", 0, ""},
      {"%n", 0, ""},
      {"trail%", 0, ""},
      {"%-4x|", 1, "7   |"},
      {"%031d", 1, "0000000000000000000000000000007"},
      {"%032d", 0, ""},        // wider than the name buffer
      {"%999999999d", 0, ""},  // would keep printf busy for seconds
  };
  for (const Case& c : cases) {
    char out[32] = "junk";
    EXPECT_EQ(AnimFrameName(c.pattern, 7, out, sizeof out), c.ok) << c.pattern;
    EXPECT_STREQ(out, c.name) << c.pattern;
  }
  char tiny[4];
  EXPECT_EQ(AnimFrameName("long%02d", 1, tiny, sizeof tiny), 0);
}
