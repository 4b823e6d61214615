// Whole scenes composed into an 8-bit memory canvas and compared with
// golden images (tests/golden, one hex digit per pixel index).
#include <gtest/gtest.h>

#include "test_image.h"

using namespace spritetest;

namespace {

// Checkerboard of indices 1 and 2 in cells of `cell` pixels, 1 at the top left.
DibPtr Checker(int w, int h, int cell) {
  return ImageOf(w, h, 8, [cell](int x, int y) { return 1u + ((x / cell + y / cell) & 1); });
}

TEST(Golden, Background) {
  Scene scene(16, 12);
  DibPtr bg = Checker(16, 12, 4);
  ASSERT_EQ(BackgroundSetDibFromPtr(scene, bg.get()), 1);
  scene.Paint();
  EXPECT_EQ(Text(scene.image()), Golden("background.txt"));
}

TEST(Golden, ThreeOverlappingSpritesAtDifferentDepths) {
  Scene scene(16, 12);
  DibPtr bg = Checker(16, 12, 4);
  BackgroundSetDibFromPtr(scene, bg.get());
  DibPtr a = Image8({"aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa"});
  DibPtr b = Image8({"bbbbb", "bbbbb", "bb.bb", "bbbbb", "bbbbb"});
  DibPtr c = Image8({".ccc", "cccc", "cccc", "cccc"});
  const int sa = AddSprite(scene), sb = AddSprite(scene), sc = AddSprite(scene);
  // The nearest first, so that slot order alone would draw them wrongly.
  SetSpriteSpriteDib(scene, sc, AddSpriteDib(scene, c.get()));
  SetSpriteSpriteDib(scene, sb, AddSpriteDib(scene, b.get()));
  SetSpriteSpriteDib(scene, sa, AddSpriteDib(scene, a.get()));
  ShowSprite(scene, sa, 2, 2, 30, -1);  // a: top-left (2, 2), farthest
  ShowSprite(scene, sb, 7, 6, 20, 0);   // b: centred on (7, 6)
  ShowSprite(scene, sc, 8, 7, 10, -1);  // c: top-left (8, 7), nearest
  scene.Paint();
  EXPECT_EQ(Text(scene.image()), Golden("three_sprites.txt"));
}

TEST(Golden, MovedSpriteRepaintsOnlyItsOldAndNewRectangles) {
  Scene scene(64, 64);
  DibPtr bg = Checker(64, 64, 8);
  BackgroundSetDibFromPtr(scene, bg.get());
  DibPtr e = Image8({"eeee", "eee.", "eeee", "eeee"});
  const int s = scene.Add(e.get(), 2, 2, 0);
  scene.Paint();
  // Forget what was copied; the move must bring back the background where
  // the sprite was and show it where it went, and touch nothing else.
  scene.Fill(0xF);
  const int copiesBefore = scene.target()->copies;
  ShowSprite(scene, s, 54, 54, 0, -1);
  scene.Paint();
  EXPECT_EQ(scene.target()->copies - copiesBefore, 2);
  EXPECT_EQ(Text(scene.image()), Golden("moved_sprite.txt"));
}

}  // namespace
