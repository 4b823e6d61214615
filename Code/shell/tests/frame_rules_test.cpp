// The frame's arithmetic: its opening rectangle, the splash's place, the
// answers to toolkit notices and the status line's parts.
#include <gtest/gtest.h>

#include "frame_rules.h"

namespace {

using shell::Rect;

struct StoredCase {
  const char* name;
  bool stored;
  Rect rect;
  bool reset;
};

TEST(FrameRect, StoredRectangleIsUsedOnlyWhenItFitsTheScreen) {
  const int w = 1024, h = 768;
  const StoredCase cases[] = {
      {"nothing stored", false, {}, true},
      {"empty", true, {100, 100, 100, 400}, true},
      {"upside down", true, {100, 400, 500, 100}, true},
      {"one pixel too wide", true, {0, 0, w + 1, 600}, true},
      {"one pixel too high", true, {10, 10, 510, 10 + h + 1}, true},
      {"exactly the screen", true, {0, 0, w, h}, false},
      {"ordinary", true, {40, 30, 840, 630}, false},
      {"off the corner but not larger", true, {-20, -10, 780, 590}, false},
  };
  for (const StoredCase& c : cases) {
    bool reset = !c.reset;
    const Rect r = shell::ChooseFrameRect(c.stored ? &c.rect : nullptr, w, h, &reset);
    EXPECT_EQ(reset, c.reset) << c.name;
    const Rect want = c.reset ? Rect{0, 0, 800, 600} : c.rect;
    EXPECT_EQ(r.left, want.left) << c.name;
    EXPECT_EQ(r.top, want.top) << c.name;
    EXPECT_EQ(r.right, want.right) << c.name;
    EXPECT_EQ(r.bottom, want.bottom) << c.name;
  }
}

TEST(SplashPlace, CentredWithIntegerHalvesAndNegativeWhenTooLarge) {
  struct Case {
    Rect desktop;
    int w, h, left, top;
  } cases[] = {
      {{0, 0, 1024, 768}, 400, 300, 312, 234},
      {{0, 0, 1024, 768}, 401, 301, 312, 234},    // odd sizes: the half rounds down
      {{0, 0, 1024, 768}, 1600, 1200, -288, -216},  // larger than the screen
      {{0, 0, 1280, 1024}, 640, 480, 320, 272},
  };
  for (const Case& c : cases) {
    const Rect r = shell::CentreOnDesktop(c.desktop, c.w, c.h);
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.top, c.top);
    EXPECT_EQ(r.Width(), c.w);
    EXPECT_EQ(r.Height(), c.h);
  }
}

TEST(FrameNotice, CloseAsksForTheSoundOnlyWhenSwitchedOn) {
  for (unsigned code = 0; code < 40; ++code) {
    for (bool on : {false, true}) {
      bool play = !on;
      const int answer = shell::NotifyAnswer(code, on, &play);
      if (code == 2) {
        EXPECT_EQ(answer, on ? 1 : 0);
        EXPECT_EQ(play, on);
      } else {
        EXPECT_EQ(answer, code > 9 ? 1 : 0) << code;
        EXPECT_FALSE(play) << code;
      }
    }
  }
}

TEST(StatusParts, RoomsHaveThreePartsAndTheLobbyOne) {
  int rights[3] = {-7, -7, -7};
  ASSERT_EQ(shell::StatusPartRights(3, 1000, rights), 3);
  EXPECT_EQ(rights[0], 590);
  EXPECT_EQ(rights[1], 790);
  EXPECT_EQ(rights[2], 980);
  for (int room : {1, 7}) EXPECT_EQ(shell::StatusPartRights(room, 1000, rights), 3) << room;

  for (int room : {0, -1, 8, 9999}) {  // the lobby, and room numbers outside the table
    int one[3] = {-7, -7, -7};
    ASSERT_EQ(shell::StatusPartRights(room, 1000, one), 1) << room;
    EXPECT_EQ(one[0], 980) << room;
    EXPECT_EQ(one[1], -7) << room;  // nothing written past the one part
  }
}

TEST(StatusParts, ProgressIsThePercentageHeldInRange) {
  const int cases[][2] = {{-5, 0}, {0, 0}, {1, 1}, {40, 40}, {100, 100}, {250, 100}};
  for (const auto& c : cases) EXPECT_EQ(shell::ProgressPosition(c[0]), c[1]) << c[0];
}

}  // namespace
