// Scene tables, dirty rectangles, anchors, hit tests and the draw-callback
// registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "anim_scene.h"
#include "test_image.h"

using namespace spritetest;

namespace {

std::vector<DibRect> Invalid(AnimScene* s) {
  return std::vector<DibRect>(s->invalid, s->invalid + s->invalidCount);
}

TEST(SceneVersion, NumbersAndText) {
  EXPECT_EQ(AnimVersion(nullptr), 800);
  EXPECT_EQ(AnimRevision(nullptr), 1);
  char text[16];
  std::memset(text, 'X', sizeof text);
  EXPECT_EQ(AnimVersionString(nullptr, text), 7);
  EXPECT_STREQ(text, "8.00.01");
}

TEST(DirtyRects, MergeRuleAndClipping) {
  struct Case {
    const char* what;
    DibRect a, b;
    std::vector<DibRect> listed;
  } cases[] = {
      {"10x10 neighbours merge", {0, 0, 9, 9}, {10, 0, 19, 9}, {{0, 0, 19, 9}}},
      {"far apart stay separate", {0, 0, 9, 9}, {100, 50, 109, 59}, {{0, 0, 9, 9}, {100, 50, 109, 59}}},
      // Bounding box 55 x 55 = 3,025 against 9 + 9 + 3,000: just too far.
      {"slack just exceeded", {2, 2, 5, 5}, {54, 54, 57, 57}, {{2, 2, 5, 5}, {54, 54, 57, 57}}},
      // 54 x 54 = 2,916 < 3,018: merged.
      {"slack just enough", {2, 2, 5, 5}, {53, 53, 56, 56}, {{2, 2, 56, 56}}},
      {"clipped to the scene", {-5, -5, 3, 3}, {190, 90, 300, 300}, {{0, 0, 3, 3}, {190, 90, 199, 99}}},
      {"outside is dropped", {0, 0, 9, 9}, {200, 0, 210, 9}, {{0, 0, 9, 9}}},
      {"inverted is dropped", {0, 0, 9, 9}, {50, 50, 40, 60}, {{0, 0, 9, 9}}},
  };
  for (const Case& c : cases) {
    Scene scene(200, 100);
    spriteset::EmptyInvalidList(scene);
    MakeRectInvalid(scene, c.a.left, c.a.top, c.a.right, c.a.bottom);
    MakeRectInvalid(scene, c.b.left, c.b.top, c.b.right, c.b.bottom);
    EXPECT_EQ(Invalid(scene), c.listed) << c.what;
  }
}

TEST(DirtyRects, ReturnValuesAndThe257thSeparateRectangle) {
  // Columns one pixel wide, 20 apart: each pair's bounding box is at least
  // 20 x 199 = 3,980, beyond the slack, so none merge.
  Scene scene(5200, 200);
  spriteset::EmptyInvalidList(scene);
  EXPECT_EQ(MakeRectInvalid(scene, 5, 5, 4, 9), 1);  // empty
  for (int i = 0; i < 256; ++i) ASSERT_EQ(MakeRectInvalid(scene, 20 * i, 0, 20 * i, 199), i + 1);
  EXPECT_EQ(MakeRectInvalid(scene, 20 * 256, 0, 20 * 256, 199), 256);  // dropped
  EXPECT_EQ(scene.get()->invalidCount, 256);
  EXPECT_EQ(scene.get()->invalid[255].left, 20 * 255);
  EXPECT_EQ(MakeRectInvalid(scene, 1, 0, 1, 199), 1);  // still merges into the first
  EXPECT_EQ(scene.get()->invalid[0].right, 1);
}

TEST(Sprites, AnchorRules) {
  struct Case {
    int anchor;
    DibRect rect;
  } cases[] = {
      {0, {20 - 4, 30 - 6, 20 - 4 + 7, 30 - 6 + 11}},          // centre
      {1, {20 - 4, 30 - (12 - 2), 20 - 4 + 7, 30 - 10 + 11}},  // a quarter width above the bottom centre
      {-1, {20, 30, 27, 41}},                                  // top-left
      {7, {20, 30, 27, 41}},
  };
  DibPtr img = ImageOf(8, 12, 8, [](int, int) { return 1u; });
  for (const Case& c : cases) {
    Scene scene(100, 100);
    const int s = scene.Add(img.get(), 0, 0, 5);
    ShowSprite(scene, s, 20, 30, 5, c.anchor);
    DibRect r{};
    ASSERT_EQ(GetSpriteRect(scene, &r, s), 1);
    EXPECT_EQ(r, c.rect) << "anchor " << c.anchor;
    int x, y, depth;
    ASSERT_EQ(GetSpritePosition(scene, s, &x, &y, &depth), 1);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 30);
    EXPECT_EQ(depth, 5);
  }
}

TEST(Sprites, ShowMarksOldAndNewRectangles) {
  DibPtr img = ImageOf(10, 10, 8, [](int, int) { return 1u; });
  Scene scene(400, 400);
  const int s = AddSprite(scene);
  SetSpriteSpriteDib(scene, s, AddSpriteDib(scene, img.get()));
  spriteset::EmptyInvalidList(scene);

  ShowSprite(scene, s, 10, 10, 1, -1);  // first show: the new rectangle only
  EXPECT_EQ(Invalid(scene), (std::vector<DibRect>{{10, 10, 19, 19}}));
  spriteset::EmptyInvalidList(scene);

  ShowSprite(scene, s, 15, 12, 1, -1);  // overlapping move: the union
  EXPECT_EQ(Invalid(scene), (std::vector<DibRect>{{10, 10, 24, 21}}));
  spriteset::EmptyInvalidList(scene);

  ShowSprite(scene, s, 300, 300, 1, -1);  // far move: both, separately
  EXPECT_EQ(Invalid(scene), (std::vector<DibRect>{{15, 12, 24, 21}, {300, 300, 309, 309}}));
  spriteset::EmptyInvalidList(scene);

  SetSpritePosition(scene, s, 100, 100, 1, -1);  // no repaint request
  EXPECT_TRUE(Invalid(scene).empty());

  EXPECT_EQ(HideSprite(scene, s), 1);
  EXPECT_EQ(HideSprite(scene, s), 0);
  EXPECT_EQ(IsSpriteVisible(scene, s), 0);
  EXPECT_EQ(Invalid(scene), (std::vector<DibRect>{{100, 100, 109, 109}}));
  EXPECT_EQ(UnHideSprite(scene, s), 1);
  EXPECT_EQ(UnHideSprite(scene, s), 0);
  EXPECT_EQ(IsSpriteVisible(scene, s), 1);
}

TEST(Sprites, TablesFillAndFree) {
  Scene scene(10, 10);
  for (int i = 0; i < ANIM_MAX_SPRITES; ++i) ASSERT_EQ(AddSprite(scene), i);
  EXPECT_EQ(AddSprite(scene), -1);
  EXPECT_EQ(DeleteSprite(scene, 7), 0);
  EXPECT_EQ(DeleteSprite(scene, 7), -1);
  EXPECT_EQ(AddSprite(scene), 7);  // first free slot

  DibPtr img = ImageOf(2, 2, 8, [](int, int) { return 1u; });
  for (int i = 0; i < ANIM_MAX_SPRITE_DIBS; ++i) ASSERT_EQ(AddSpriteDib(scene, img.get()), i);
  EXPECT_EQ(AddSpriteDib(scene, img.get()), -1);
  for (int i = 0; i < ANIM_MAX_TEMPLATES; ++i) ASSERT_EQ(AddSpriteTemplate(scene, img.get()), i);
  EXPECT_EQ(AddSpriteTemplate(scene, img.get()), -1);
  EXPECT_EQ(AddSpriteDibFromTemplate(scene, 0, 0, 0, 1, 1), -1);  // entries full

  Scene empty(10, 10);
  EXPECT_EQ(DeleteSprite(empty, 0), -2);
  EXPECT_EQ(DeleteSpriteDib(empty, 0), -2);
  EXPECT_EQ(AddSpriteDibFromTemplate(empty, 0, 0, 0, 1, 1), -1);  // no template
  EXPECT_EQ(AddSpriteTemplate(empty, img.get()), 0);
  EXPECT_EQ(AddSpriteTemplate(empty, img.get()), 1);
  EXPECT_EQ(DeleteSpriteTemplate(empty, 0), 0);
  const int cut = AddSpriteDibFromTemplate(empty, 1, 1, 0, 1, 2);  // slot 1 stays usable
  ASSERT_GE(cut, 0);
  int w = 0, h = 0;
  EXPECT_EQ(GetDibSize(empty, cut, &w, &h), 1);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(GetSpritePBIH(empty, cut), img.get());
  EXPECT_EQ(AddSpriteDibFromTemplate(empty, 0, 0, 0, 1, 1), -1);  // deleted slot
  EXPECT_EQ(DeleteSpriteDib(empty, cut), 0);
  EXPECT_EQ(GetSpritePBIH(empty, cut), nullptr);
  const int blank = AddSpriteDib(empty, nullptr);  // a null image: an all-zero rectangle
  EXPECT_EQ(GetDibSize(empty, blank, &w, &h), 1);
  EXPECT_EQ(w + h, 0);
}

// Every index a caller passes is checked: out-of-range values get the
// failure value and touch nothing.
TEST(Sprites, IndexesOutsideTheTablesAreRefused) {
  Scene scene(50, 50);
  DibPtr img = ImageOf(4, 4, 8, [](int, int) { return 1u; });
  const int s = scene.Add(img.get(), 0, 0, 1);
  const int entry = 0;
  DibRect r{0, 0, 1, 1};
  int x = 0, y = 0, d = 0;
  for (int bad : std::vector<int>{-1, -100, ANIM_MAX_SPRITES, 1 << 20}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(DeleteSprite(scene, bad), -1);
    EXPECT_EQ(HideSprite(scene, bad), 0);
    EXPECT_EQ(UnHideSprite(scene, bad), 0);
    EXPECT_EQ(IsSpriteVisible(scene, bad), 0);
    EXPECT_EQ(GetSpritePosition(scene, bad, &x, &y, &d), 0);
    EXPECT_EQ(GetSpriteRect(scene, &r, bad), 0);
    EXPECT_EQ(DoFXSprite(scene, bad, 2, 1), 0);
    EXPECT_EQ(UndoFXSprite(scene, bad), 0);
    EXPECT_EQ(SetSpriteSpriteDib(scene, bad, entry), 0);
    ShowSprite(scene, bad, 1, 1, 1, 0);
    SetSpritePosition(scene, bad, 1, 1, 1, 0);
  }
  for (int bad : std::vector<int>{-1, -2, ANIM_MAX_SPRITE_DIBS, 1 << 20}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(SetSpriteSpriteDib(scene, s, bad), 0);
    EXPECT_EQ(DeleteSpriteDib(scene, bad), -1);
    EXPECT_EQ(SetSpriteDib(scene, bad, img.get()), -1);
    EXPECT_EQ(SetSpriteDibSizeFromRect(scene, bad, &r), -1);
    EXPECT_EQ(SetSpriteDibFromTemplate(scene, bad, 0, 0, 0, 1, 1), -1);
    EXPECT_EQ(GetDibSize(scene, bad, &x, &y), 0);
    EXPECT_EQ(GetSpritePBIH(scene, bad), nullptr);
  }
  for (int bad : std::vector<int>{-1, ANIM_MAX_TEMPLATES, 1 << 20}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(SetSpriteTemplate(scene, bad, img.get()), -1);
    EXPECT_EQ(DeleteSpriteTemplate(scene, bad), -1);
    EXPECT_EQ(CloseSpriteTemplate(scene, bad), -1);
    EXPECT_EQ(AddSpriteDibFromTemplate(scene, bad, 0, 0, 1, 1), -1);
    EXPECT_EQ(SetSpriteDibFromTemplate(scene, entry, bad, 0, 0, 1, 1), -1);
  }
  EXPECT_EQ(GetSpritePBIH(scene, entry), img.get());  // nothing was disturbed
  EXPECT_EQ(IsSpriteVisible(scene, s), 1);
}

TEST(HitTest, NearestVisiblePixelWins) {
  Scene scene(60, 60);
  DibPtr solid = ImageOf(10, 10, 8, [](int, int) { return 3u; });
  DibPtr holed = ImageOf(10, 10, 8, [](int x, int y) { return x == 5 && y == 5 ? 0u : 4u; });
  DibPtr img16 = ImageOf(10, 10, 16, [](int x, int) { return x < 5 ? 0xFC1Fu : 0x1234u; });
  const int back = scene.Add(solid.get(), 0, 0, 20);
  const int front = scene.Add(holed.get(), 0, 0, 10);
  const int twin = scene.Add(solid.get(), 0, 0, 10);  // equal depth, higher slot
  const int deep = scene.Add(solid.get(), 30, 30, 32000);
  const int deep2 = scene.Add(solid.get(), 30, 45, 31999);
  const int sixteen = scene.Add(img16.get(), 45, 0, 1);
  struct Case {
    int x, y, sprite;
  } cases[] = {
      {2, 2, front},    // front and twin tie at depth 10: the lower slot
      {5, 5, twin},     // front's transparent pixel: the next one behind
      {32, 32, -1},     // only the sprite at depth 32,000 is here
      {32, 47, deep2},  // 31,999 still wins
      {47, 5, -1},      // 16-bit key 0xFC1F is transparent
      {52, 5, sixteen}, {59, 59, -1},
  };
  for (const Case& c : cases) {
    int hit = 99;
    EXPECT_EQ(GetSpriteFromPoint(scene, c.x, c.y, &hit), c.sprite >= 0 ? 1 : 0) << c.x << "," << c.y;
    EXPECT_EQ(hit, c.sprite) << c.x << "," << c.y;
  }
  // A hidden sprite never hits.
  HideSprite(scene, front);
  int hit;
  GetSpriteFromPoint(scene, 2, 2, &hit);
  EXPECT_EQ(hit, twin);
  (void)back;
  (void)deep;
}

void Nop(void*, const void*, void*, int, int, int, int, int, int, intptr_t) {}
void Nop2(void*, const void*, void*, int, int, int, int, int, int, intptr_t) {}

TEST(DrawCallbacks, RegistrationResults) {
  Scene scene(10, 10);
  EXPECT_EQ(RegisterDrawCallback(scene, Nop, 5, 10, 0), ANIM_CB_BAD_RANGE);
  for (int i = 0; i < 50; ++i) ASSERT_EQ(RegisterDrawCallback(scene, i % 2 ? Nop : Nop2, 10, i % 3, i), 0);
  EXPECT_EQ(RegisterDrawCallback(scene, Nop, 10, 0, 51), ANIM_CB_FULL);  // the 51st
  EXPECT_EQ(UnregisterDrawCallback(scene, Nop, 10, 7), ANIM_CB_NOT_FOUND);
  // Every entry with the three values goes: Nop at odd i with i % 3 == 0.
  EXPECT_EQ(UnregisterDrawCallback(scene, Nop, 10, 0), 0);
  EXPECT_EQ(scene.get()->callbackCount, 50 - 8);
  EXPECT_EQ(UnregisterDrawCallback(scene, Nop, 10, 0), ANIM_CB_NOT_FOUND);
  EXPECT_EQ(RegisterDrawCallback(scene, Nop, 10, 0, 51), 0);
  EXPECT_EQ(UnregisterAllDrawCallbacks(scene), 0);
  EXPECT_EQ(scene.get()->callbackCount, 0);
}

TEST(Background, PointerAndFile) {
  Scene scene(30, 20);
  MakeRectInvalid(scene, 0, 0, 3, 3);
  EXPECT_EQ(BackgroundSetDibFromPtr(scene, nullptr), 0);
  EXPECT_TRUE(Invalid(scene).empty());  // emptied first
  DibPtr bg = ImageOf(30, 20, 8, [](int, int) { return 1u; });
  EXPECT_EQ(BackgroundSetDibFromPtr(scene, bg.get()), 1);
  EXPECT_EQ(Invalid(scene), (std::vector<DibRect>{{0, 0, 29, 19}}));
  EXPECT_EQ(BackgroundSetDibFromFile(scene, "/nonexistent/bg.bmp"), 0);
  EXPECT_EQ(BackgroundSetStretch(scene, 1), 0);
  EXPECT_EQ(BackgroundSetStretch(scene, 0), 1);
  BackgroundDestroyDib(scene);  // the caller's image stays the caller's
  EXPECT_EQ(Pixel(bg.get(), 0, 0), 1u);
}

TEST(Geometry, OffsetRectInsideBackground) {
  Scene scene(100, 50);
  struct Case {
    DibRect in, out;
  } cases[] = {
      {{-5, -3, 4, 6}, {0, 0, 9, 9}},
      {{95, 45, 104, 54}, {90, 40, 99, 49}},
      {{10, 10, 20, 20}, {10, 10, 20, 20}},
      {{-10, 0, 200, 10}, {-111, 0, 99, 10}},  // wider than the scene: right edge wins
  };
  for (const Case& c : cases) {
    DibRect r = c.in;
    EXPECT_EQ(OffsetRectInsideBackground(scene, &r), 1);
    EXPECT_EQ(r, c.out);
  }
  EXPECT_EQ(OffsetRectInsideBackground(scene, nullptr), 0);
}

}  // namespace

namespace {

// Images the scene reads from files are its own: freed when replaced or
// closed and at TerminateAnimate (the leak checker of the native build
// watches), with the entries cut from them left showing nothing.
TEST(Files, TemplatesAndBackgroundsReadFromFiles) {
  const char* path = "spriteset_test_image.bmp";
  DibPtr img = Image8({"12", "34"});
  ASSERT_EQ(dibWriteFile(path, img.get()), 1);
  Scene scene(4, 2);
  ASSERT_EQ(BackgroundSetDibFromFile(scene, path), 1);
  EXPECT_STREQ(scene.get()->background.fileName, path);
  const int slot = OpenSpriteTemplate(scene, path);
  ASSERT_EQ(slot, 0);
  const int entry = AddSpriteDibFromTemplate(scene, slot, 1, 0, 1, 2);
  const int s = AddSprite(scene);
  SetSpriteSpriteDib(scene, s, entry);
  ShowSprite(scene, s, 3, 0, 0, -1);
  scene.Paint();
  EXPECT_EQ(Text(scene.image()), "1202\n3404\n");  // background 2 x 2, an empty canvas column, the cut
  EXPECT_EQ(SetSpriteTemplate(scene, slot, img.get()), slot);  // the file's image is freed
  EXPECT_EQ(GetSpritePBIH(scene, entry), nullptr);
  EXPECT_EQ(OpenSpriteTemplate(scene, "/nonexistent/x.bmp"), -1);
  EXPECT_EQ(OpenSpriteTemplate(scene, path), 1);  // freed with the scene
  std::remove(path);
}

}  // namespace
