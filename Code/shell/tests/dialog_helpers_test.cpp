// Markup groups, spacing, list columns, placing clear of the board, and the
// modal dialog's pause of the current game.
#include "dialog_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <string>

#include "chess_clock.h"
#include "game_record.h"
#include "game_registry.h"
#include "room_switch.h"
#include "user_settings.h"

namespace {

TEST(Markup, StripAndExtract) {
  struct Case {
    const char* source;
    const char* stripped;
    int strippedAnswer;
    const char* groups;
  };
  const Case cases[] = {
      {"a{x}b", "ab", 1, "{x}"},
      {"plain text", "plain text", 0, ""},
      {"", "", 0, ""},
      {"{one}mid{two}", "mid", 1, "{one}{two}"},
      {"a{x{y}z}b", "ab", 1, "{x{y}z}"},
      {"a{never closed", "a", 1, "{never closed"},
      {"a{x{y", "a", 1, "{x{y"},
      {"}stray", "}stray", 0, ""},
  };
  for (const Case& c : cases) {
    char out[64];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(StripMarkup(c.source, out, sizeof out), c.strippedAnswer) << c.source;
    EXPECT_STREQ(out, c.stripped) << c.source;
    EXPECT_EQ(ExtractMarkup(c.source, out, sizeof out), c.strippedAnswer) << c.source;
    EXPECT_STREQ(out, c.groups) << c.source;
  }
}

TEST(Markup, NeverReadsOrWritesPastEitherEnd) {
  // The source ends at its NUL, even in an open group: an exact-size heap
  // copy lets the sanitizer see any read past it.
  const std::string text = "ab{cd";
  char* source = new char[text.size() + 1];
  std::memcpy(source, text.c_str(), text.size() + 1);
  char out[4];
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(ExtractMarkup(source, out, 3), 1);
  EXPECT_STREQ(out, "{c");  // cut to the destination's size
  EXPECT_EQ(out[3], '#');
  EXPECT_EQ(StripMarkup("abcdef", out, 3), 0);
  EXPECT_STREQ(out, "ab");
  delete[] source;
  EXPECT_EQ(StripMarkup(nullptr, out, 4), 0);
  EXPECT_EQ(StripMarkup("a", nullptr, 4), 0);
  EXPECT_EQ(ExtractMarkup("a", out, 0), 0);
}

TEST(Spacing, ButtonsSpreadAndCentre) {
  int a, b, c;
  SpaceThreeItemsX(400, 60, 60, 60, &a, &b, &c);
  EXPECT_EQ(a, 55);
  EXPECT_EQ(b, 170);
  EXPECT_EQ(c, 285);
  SpaceTwoItemsX(300, 75, 75, &a, &b);
  EXPECT_EQ(a, 50);
  EXPECT_EQ(b, 175);
  EXPECT_EQ(CenterItemX(300, 100), 100);
}

TEST(ListColumns, StretchedColumnsFillTheClientWidth) {
  const ListColumn cols[] = {{100, 0}, {50, 1}, {30, 2}, {20, 3}};
  int32_t w[4];
  FitListColumnWidths(cols, 4, 0, 517, w);
  EXPECT_EQ(std::accumulate(w, w + 4, 0), 517);
  EXPECT_NEAR(w[0], 258, 1);
  // From column order 2 on: columns 0 and 1 keep their widths.
  FitListColumnWidths(cols, 4, 2, 400, w);
  EXPECT_EQ(w[0], 100);
  EXPECT_EQ(w[1], 50);
  EXPECT_EQ(w[2] + w[3], 250);
  // first == count: all but the last displayed column.
  FitListColumnWidths(cols, 4, 4, 400, w);
  EXPECT_EQ(w[3], 20);
  EXPECT_EQ(w[0] + w[1] + w[2], 380);
  const ListColumn zero[] = {{0, 0}, {0, 1}, {0, 2}};
  FitListColumnWidths(zero, 3, 0, 400, w);
  EXPECT_EQ(w[0], 10);
  EXPECT_EQ(w[1], 10);
  EXPECT_EQ(w[2], 10);
}

bool Same(const ShellRect& a, const ShellRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(WorkArea, PlacementInsideTheAreaAndClearOfTheBoard) {
  const ShellRect area{0, 0, 1000, 700};
  const ShellRect board{300, 100, 700, 500};
  struct Case {
    ShellRect rect;
    int dock;
    ShellRect placed;
    int answer;
  };
  const Case cases[] = {
      {{10, 10, 110, 60}, 0, {10, 10, 110, 60}, 1},          // clear already: unchanged
      {{950, 650, 1050, 750}, 0, {900, 600, 1000, 700}, 1},  // pulled inside
      {{400, 200, 500, 250}, 0, {400, 50, 500, 100}, 1},     // above the board
      {{400, 200, 500, 400}, 0, {200, 200, 300, 400}, 1},    // too tall for above: left
      {{-50, -50, 50, 50}, 1, {0, 0, 100, 100}, 1},          // docked to the corner
  };
  for (const Case& c : cases) {
    ShellRect r = c.rect;
    EXPECT_EQ(PlaceInWorkArea(area, board, &r, c.dock), c.answer) << c.rect.left << "," << c.rect.top;
    EXPECT_TRUE(Same(r, c.placed)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  // A window as large as the area cannot clear the board.
  ShellRect big{0, 0, 1000, 700};
  EXPECT_EQ(PlaceInWorkArea(area, board, &big, 0), 0);
}

class ModalPauseTest : public ::testing::Test {
 protected:
  GameRecord* game = nullptr;
  void SetUp() override {
    game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kSideWhite, 1, 0);
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(RegisterGame(game, 1), 0);
    SetCurrentGame(game);
    ResumeClock(game);
  }
  void TearDown() override { DestroyAllGames(); }
};

TEST_F(ModalPauseTest, PausesOnlyARunningClockWhenAsked) {
  ModalPause p = BeginModalPause(0);
  EXPECT_EQ(p.paused, 0);
  EXPECT_FALSE(IsClockPaused(game));
  EndModalPause(p);

  PauseClock(game);
  p = BeginModalPause(1);  // already paused: stays paused afterwards
  EXPECT_EQ(p.paused, 0);
  EndModalPause(p);
  EXPECT_TRUE(IsClockPaused(game));
  ResumeClock(game);

  p = BeginModalPause(1);
  EXPECT_EQ(p.paused, 1);
  EXPECT_TRUE(IsClockPaused(game));
  EXPECT_EQ(IsRoomTimerHeld(), 1);
  EndModalPause(p);
  EXPECT_FALSE(IsClockPaused(game));
  EXPECT_EQ(IsRoomTimerHeld(), 0);
}

TEST_F(ModalPauseTest, AGameDestroyedUnderTheDialogIsLeftAlone) {
  ModalPause p = BeginModalPause(1);
  ASSERT_EQ(p.paused, 1);
  UnregisterGame(&game->id);
  DestroyGame(game);
  EndModalPause(p);  // the sanitizer sees any touch of the freed game
  EXPECT_EQ(IsRoomTimerHeld(), 0);
}

TEST(ModalPause, NoGameNoPause) {
  SetCurrentGame(nullptr);
  ModalPause p = BeginModalPause(1);
  EXPECT_EQ(p.paused, 0);
  EXPECT_EQ(IsRoomTimerHeld(), 0);
}

}  // namespace
