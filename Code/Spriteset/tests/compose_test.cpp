// The compositor: drawing order, draw callbacks, canvas depths and colour
// tables, effects, partial paints, transitions and canvas errors.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "anim_scene.h"
#include "test_image.h"

using namespace spritetest;

namespace {

DibPtr Solid(int w, int h, uint32_t v) {
  return ImageOf(w, h, 8, [v](int, int) { return v; });
}

TEST(Compose, DrawingOrder) {
  struct Case {
    int sortMode, depth0, depth1;
    uint32_t shown;
  } cases[] = {
      {1, 5, 5, 2},  // equal depths: the higher slot on top
      {1, 3, 5, 1},  // smaller depth is nearer
      {1, 5, 3, 2},
      {0, 3, 5, 2},  // slot order: the later slot on top whatever the depths
  };
  DibPtr one = Solid(4, 4, 1), two = Solid(4, 4, 2);
  for (const Case& c : cases) {
    Scene scene(8, 8);
    SetSortMode(scene, c.sortMode);
    scene.Add(one.get(), 2, 2, c.depth0);
    scene.Add(two.get(), 2, 2, c.depth1);
    scene.Paint();
    EXPECT_EQ(Pixel(scene.image(), 3, 3), c.shown) << c.sortMode << " " << c.depth0 << " " << c.depth1;
  }
}

struct CallbackLog {
  struct Call {
    int high, low;
    DibRect rect;
    uint32_t pixel;  // canvas pixel (0, 0) when called
  };
  std::vector<Call> calls;
};

void Record(void*, const void* info, void* bits, int high, int low, int l, int t, int r, int b,
            intptr_t user) {
  const auto* h = static_cast<const PackedDib*>(info);
  const uint8_t* p =
      static_cast<uint8_t*>(bits) + static_cast<size_t>(h->biHeight - 1) * dibRowStride(8, h->biWidth);
  reinterpret_cast<CallbackLog*>(user)->calls.push_back({high, low, {l, t, r, b}, p[0]});
}

TEST(Compose, CallbacksRunBetweenTheDepthsTheyOverlap) {
  Scene scene(6, 6);
  DibPtr bg = Solid(6, 6, 1);
  BackgroundSetDibFromPtr(scene, bg.get());
  DibPtr a = Solid(3, 3, 0xA), b = Solid(3, 3, 0x5), c = Solid(3, 3, 0x3);
  scene.Add(c.get(), 0, 0, 3);
  scene.Add(a.get(), 0, 0, 10);
  scene.Add(b.get(), 0, 0, 5);
  CallbackLog log;
  ASSERT_EQ(RegisterDrawCallback(scene, Record, 5, 5, reinterpret_cast<intptr_t>(&log)), 0);
  scene.Paint();
  // Before the sprite at depth 5 (sprite 10 drawn) and before the one at 3
  // (sprite 5 drawn), each time with the overlap 5..5.
  ASSERT_EQ(log.calls.size(), 2u);
  EXPECT_EQ(log.calls[0].pixel, 0xAu);
  EXPECT_EQ(log.calls[1].pixel, 0x5u);
  for (const auto& call : log.calls) {
    EXPECT_EQ(call.high, 5);
    EXPECT_EQ(call.low, 5);
    EXPECT_EQ(call.rect.right, 5);  // the whole scene was dirty
    EXPECT_EQ(call.rect.bottom, 5);
  }
  // With no sprite in the rectangle a callback of any depth runs once, over
  // the part of its range below 0x7FFF.
  UnregisterAllDrawCallbacks(scene);
  log.calls.clear();
  RegisterDrawCallback(scene, Record, 40000, 100, reinterpret_cast<intptr_t>(&log));
  MakeRectInvalid(scene, 4, 4, 5, 5);
  scene.Paint();
  ASSERT_EQ(log.calls.size(), 1u);
  EXPECT_EQ(log.calls[0].high, ANIM_DEPTH_FARTHEST);
  EXPECT_EQ(log.calls[0].low, 100);
}

struct Deletion {
  AnimScene* scene;
  int sprite, entry;
};
void DeleteDuringPaint(void*, const void*, void*, int, int, int, int, int, int, intptr_t user) {
  auto* d = reinterpret_cast<Deletion*>(user);
  DeleteSprite(d->scene, d->sprite);
  DeleteSpriteDib(d->scene, d->entry);
}

// A callback may change the scene while it is composed; sprites gone by
// the time their turn comes are not drawn.
TEST(Compose, CallbacksMayDeleteSpritesBeingPainted) {
  Scene scene(4, 1);
  DibPtr far = Solid(4, 1, 2), near = Solid(2, 1, 3);
  scene.Add(far.get(), 0, 0, 20);
  const int s = scene.Add(near.get(), 0, 0, 10);
  Deletion d{scene, s, scene.get()->sprites[s].dibIndex};
  RegisterDrawCallback(scene, DeleteDuringPaint, 15, 15, reinterpret_cast<intptr_t>(&d));
  scene.Paint();
  EXPECT_EQ(Text(scene.image()), "2222\n");
}

TEST(Compose, EightBitImagesTakeTheCanvasColours) {
  DibRgbQuad table[256] = {};
  table[7] = DibRgbQuad{8, 128, 255, 0};  // blue, green, red
  table[1] = DibRgbQuad{255, 0, 0, 0};
  struct Case {
    int screenBits;
    uint32_t sprite, background;
  } cases[] = {
      {16, 31u << 10 | 16u << 5 | 1u, 31u},  // 5-5-5
      {24, 0xFF8008u, 0x0000FFu},            // blue, green, red bytes
      {32, 0xFF8008u, 0x0000FFu},            // deeper screens get a 24-bit canvas
  };
  for (const Case& c : cases) {
    Scene scene(6, 4, c.screenBits, 0);
    EXPECT_EQ(scene.get()->canvas.info.header.biBitCount, c.screenBits > 24 ? 24 : c.screenBits);
    EXPECT_EQ(SetCanvasColorTable(scene, table, 256), 0);
    DibPtr bg = Solid(6, 4, 1), sprite = Solid(2, 2, 7);
    BackgroundSetDibFromPtr(scene, bg.get());
    scene.Add(sprite.get(), 1, 1, 0);
    scene.Paint();
    EXPECT_EQ(Pixel(scene.image(), 2, 2), c.sprite) << c.screenBits;
    EXPECT_EQ(Pixel(scene.image(), 0, 0), c.background) << c.screenBits;
  }
}

TEST(Compose, DeepImagesKeepTheirOwnTransparentValue) {
  struct Case {
    int bits;
    uint32_t key, colour, background;
  } cases[] = {
      {16, 0xFC1F, 0x1234, 0x0421}, {24, 0x000000, 0x123456, 0x010203},  // black, whatever the key
  };
  for (const Case& c : cases) {
    Scene scene(4, 1, c.bits, 0);
    DibPtr bg = ImageOf(4, 1, c.bits, [&](int, int) { return c.background; });
    DibPtr sprite = ImageOf(4, 1, c.bits, [&](int x, int) { return x % 2 ? c.key : c.colour; });
    BackgroundSetDibFromPtr(scene, bg.get());
    scene.Add(sprite.get(), 0, 0, 0);
    scene.Paint();
    EXPECT_EQ(Pixel(scene.image(), 0, 0), c.colour) << c.bits;
    EXPECT_EQ(Pixel(scene.image(), 1, 0), c.background) << c.bits;
  }
}

TEST(Compose, DebugOutlinesAreErasedBeforeTheNextPaint) {
  Scene scene(200, 200);
  SetDebugInvalidRects(scene, 1);
  MakeRectInvalid(scene, 0, 0, 9, 9);
  MakeRectInvalid(scene, 150, 150, 159, 159);
  scene.Paint();
  EXPECT_EQ(scene.target()->outlines, 2);
  MakeRectInvalid(scene, 50, 50, 59, 59);
  scene.Paint();
  EXPECT_EQ(scene.target()->outlines, 2 + 2 + 1);  // two erased, one drawn
  scene.Paint();                                   // nothing dirty: the outline stays
  EXPECT_EQ(scene.target()->outlines, 5);
  ResetFixupPaintTimes(scene);
  uint32_t compose = 99, copy = 99;
  GetFixupPaintTimes(scene, &compose, &copy);
  EXPECT_EQ(compose + copy, 0u);
}

TEST(Compose, HazeEffectFollowsTheCanvasCheckerboard) {
  Scene scene(6, 3);
  DibPtr sprite = Solid(4, 2, 6);
  const int s = scene.Add(sprite.get(), 1, 0, 0);
  EXPECT_EQ(DoFXSprite(scene, s, 2, 0x109), 1);  // low byte: colour 9
  MakeRectInvalid(scene, 0, 0, 5, 2);
  scene.Paint();
  EXPECT_EQ(Text(scene.image()), "096960\n069690\n000000\n");
  EXPECT_EQ(UndoFXSprite(scene, s), 1);
  MakeRectInvalid(scene, 0, 0, 5, 2);
  scene.Paint();
  EXPECT_EQ(Text(scene.image()), "066660\n066660\n000000\n");
}

TEST(Compose, PartialDepthAndSingleRectangle) {
  Scene scene(6, 2);
  DibPtr bg = Solid(6, 2, 1), near = Solid(2, 2, 2), far = Solid(2, 2, 3);
  BackgroundSetDibFromPtr(scene, bg.get());
  scene.Add(near.get(), 0, 0, 10);
  scene.Add(far.get(), 2, 0, 20);
  PaintScenePartialDepth(scene, scene.target(), 15, ANIM_DEPTH_FARTHEST);
  EXPECT_EQ(Text(scene.image()), "113311\n113311\n");
  EXPECT_EQ(scene.get()->invalidCount, 0);
  // Without the farthest depth the background is not drawn again.
  scene.Fill(0xF);
  MakeRectInvalid(scene, 0, 0, 5, 1);
  PaintScenePartialDepth(scene, scene.target(), 0, 15);
  EXPECT_EQ(Text(scene.image()), "223311\n223311\n");

  scene.Fill(0xF);
  MakeRectInvalid(scene, 0, 0, 0, 0);
  const DibRect r{3, -4, 40, 0};
  const int before = scene.target()->copies;
  PaintSceneRect(scene, scene.target(), &r);
  EXPECT_EQ(Text(scene.image()), "fff311\nffffff\n");
  EXPECT_EQ(scene.target()->copies, before + 1);
  EXPECT_EQ(scene.get()->invalidCount, 1);  // left alone
}

TEST(Compose, CutsFromTemplatesStayInsideTheImage) {
  Scene scene(6, 6);
  DibPtr bg = Solid(6, 6, 0);
  BackgroundSetDibFromPtr(scene, bg.get());
  PackedDib* tpl = Image8({"1234", "5678", "9abc", "def1"}).release();
  const int slot = AddSpriteTemplate(scene, tpl);
  const int cut = AddSpriteDibFromTemplate(scene, slot, 1, 1, 2, 2);
  const int wide = AddSpriteDibFromTemplate(scene, slot, 2, 2, 10, 10);  // reaches past the image
  const int a = AddSprite(scene), b = AddSprite(scene);
  SetSpriteSpriteDib(scene, a, cut);
  SetSpriteSpriteDib(scene, b, wide);
  ShowSprite(scene, a, 0, 0, 1, -1);
  ShowSprite(scene, b, 3, 3, 1, -1);
  scene.Paint();
  EXPECT_EQ(Text(scene.image()), "670000\nab0000\n000000\n000bc0\n000f10\n000000\n");
  // Closing the template frees its image; the entries cut from it draw nothing.
  EXPECT_EQ(CloseSpriteTemplate(scene, slot), 0);
  EXPECT_EQ(GetSpritePBIH(scene, cut), nullptr);
  MakeRectInvalid(scene, 0, 0, 5, 5);
  scene.Paint();
  EXPECT_EQ(Text(scene.image()), "000000\n000000\n000000\n000000\n000000\n000000\n");
}

// A fake millisecond clock: waiting moves it on.
uint32_t g_now = 0;
uint32_t Now() { return g_now; }
void Wait(uint32_t ms) { g_now += ms; }

struct Band {
  DibRect rect;
  uint32_t at;
};
void RecordBand(void*, const void*, void*, int, int, int l, int t, int r, int b, intptr_t user) {
  reinterpret_cast<std::vector<Band>*>(user)->push_back({{l, t, r, b}, g_now});
}

TEST(Transitions, BandsOfFivePixelsEachAtLeast25Ms) {
  struct Case {
    int kind, width, height;
    DibRect first, last;
    size_t steps;
  } cases[] = {
      {ANIM_WIPE_DOWN, 30, 100, {0, 0, 29, 4}, {0, 95, 29, 99}, 20},
      {ANIM_WIPE_UP, 30, 23, {0, 18, 29, 22}, {0, 0, 29, 2}, 5},
      {ANIM_WIPE_RIGHT, 12, 10, {0, 0, 4, 9}, {10, 0, 11, 9}, 3},
      {7, 12, 10, {7, 0, 11, 9}, {0, 0, 1, 9}, 3},  // any other kind: right to left
  };
  spriteset::MemoryCanvasSetClock(Now, Wait);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Scene scene(c.width, c.height);
    std::vector<Band> bands;
    RegisterDrawCallback(scene, RecordBand, ANIM_DEPTH_FARTHEST, 0, reinterpret_cast<intptr_t>(&bands));
    MakeRectInvalid(scene, 0, 0, 3, 3);
    const uint32_t start = g_now = 1000;
    PaintSceneSFX(scene, scene.target(), c.kind);
    ASSERT_EQ(bands.size(), c.steps);
    EXPECT_EQ(std::memcmp(&bands.front().rect, &c.first, sizeof(DibRect)), 0);
    EXPECT_EQ(std::memcmp(&bands.back().rect, &c.last, sizeof(DibRect)), 0);
    for (size_t i = 1; i < bands.size(); ++i) EXPECT_GE(bands[i].at - bands[i - 1].at, 25u);
    EXPECT_GE(g_now - start, 25u * c.steps);
    EXPECT_EQ(scene.get()->invalidCount, 0);
    EXPECT_EQ(Text(scene.image()).find('f'), std::string::npos);  // everything revealed
  }
  spriteset::MemoryCanvasSetClock(nullptr, nullptr);
  AnimScene* bare = InitAnimate(0);  // no canvas: nothing to reveal
  PaintSceneSFX(bare, nullptr, ANIM_WIPE_DOWN);
  PaintScene(bare, nullptr);
  TerminateAnimate(bare);
}

std::vector<std::string> g_errors;
void Sink(const char* text) { g_errors.push_back(text); }

// The status of "Canvas error %d at line %d\r\n", or -1 for another text.
int StatusOf(const std::string& text) {
  int status = -1, line = -1;
  char end[3] = {};
  if (std::sscanf(text.c_str(), "Canvas error %d at line %d%2c", &status, &line, end) != 3 || line <= 0 ||
      std::string(end) != "\r\n") {
    return -1;
  }
  return status;
}

TEST(CanvasErrors, ReportedWithStatusAndLine) {
  spriteset::MemoryCanvasSetErrorSink(Sink);
  struct Case {
    int bits, planes, width, height;
    int status;
  } cases[] = {
      {4, 1, 10, 10, 1},  // unsupported screen depth
      {8, 2, 10, 10, 6},  // planes
      {8, 1, 0, 10, 5},   // nothing to create
  };
  for (const Case& c : cases) {
    g_errors.clear();
    AnimScene* scene = InitAnimate(0);
    spriteset::MemoryCanvasSetScreen(c.bits, c.planes);
    EXPECT_EQ(SetCanvasSize(scene, c.width, c.height), 1);
    spriteset::MemoryCanvasSetScreen(8, 1);
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(StatusOf(g_errors[0]), c.status) << g_errors[0];
    EXPECT_EQ(MakeRectInvalid(scene, 0, 0, 5, 5), 1);  // no canvas: nothing to paint
    EXPECT_EQ(scene->invalidCount, 0);
    TerminateAnimate(scene);
  }
  // A 16-bit sprite cannot be drawn into an 8-bit canvas: status 7.
  g_errors.clear();
  {
    Scene scene(4, 4);
    DibPtr deep = ImageOf(2, 2, 16, [](int, int) { return 0x1234u; });
    scene.Add(deep.get(), 0, 0, 0);
    scene.Paint();
  }
  ASSERT_EQ(g_errors.size(), 1u);
  EXPECT_EQ(StatusOf(g_errors[0]), 7) << g_errors[0];
  spriteset::MemoryCanvasSetErrorSink(nullptr);
}

}  // namespace
