// The game side panel's rules without its window: stops, ranges, which
// moves show, clicks, completion and the layout.
#include "game_panel_core.h"

#include <gtest/gtest.h>

namespace {

std::string Tag(const std::string& comment) {
  const size_t at = comment.find("{W:");
  if (at == std::string::npos) return std::string();
  return comment.substr(at + 3, comment.find('}', at) - at - 3);
}

// Ten plies with voice tags on plies 3, 6 and 8.
GamePanelStops Lesson() {
  std::vector<std::string> comments(10);
  comments[2] = "{W:intro}";
  comments[5] = "{A:e2e4}{W:attack}";
  comments[7] = "{W:end}";
  comments[8] = "{H:e4}";  // markup, no voice
  return BuildGamePanelStops(comments, Tag);
}

}  // namespace

TEST(GamePanel, StopsAndTheirRanges) {
  const GamePanelStops s = Lesson();
  ASSERT_EQ(s.Count(), 3);
  EXPECT_EQ(s.StopPly(0), 3);
  EXPECT_EQ(s.StopPly(2), 8);
  EXPECT_EQ(s.StopPly(-1), kGamePanelNoPly);
  EXPECT_EQ(s.LastPlyOfRange(0, 10), 5);
  EXPECT_EQ(s.LastPlyOfRange(2, 10), 10);
  struct { int ply, stop; } cases[] = {{-1, -1}, {1, 2}, {2, 2}, {3, 0}, {5, 0}, {6, 1}, {7, 1}, {8, 2}, {300, 2}};
  for (auto c : cases) EXPECT_EQ(s.StopOfPly(c.ply), c.stop) << c.ply;
}

TEST(GamePanel, HiddenMovesShowAfterTheirStopIsRevealed) {
  GamePanelStops s = Lesson();
  // At stop 0 (ply 3): plies 1 and 2 show, ply 3 on is "???".
  for (int ply = 1; ply <= 10; ++ply) EXPECT_EQ(s.MoveShown(ply, 0), ply < 3) << ply;
  s[0].revealed = true;
  for (int ply = 1; ply <= 10; ++ply) EXPECT_EQ(s.MoveShown(ply, 0), ply <= 5) << ply;
  // A game without stops shows only White's first move, and counts as done.
  GamePanelStops none = BuildGamePanelStops(std::vector<std::string>(6), Tag);
  EXPECT_EQ(none.Count(), 0);
  for (int ply = 1; ply <= 6; ++ply) EXPECT_EQ(none.MoveShown(ply, -1), ply == 1) << ply;
  EXPECT_TRUE(none.LessonCompleted());
  EXPECT_FALSE(s.LessonCompleted());
  s[0].played = s[1].played = s[2].played = true;
  EXPECT_TRUE(s.LessonCompleted());
}

TEST(GamePanel, StopsBeyondAHundredAndPliesBeyond255) {
  std::vector<std::string> comments(400, "{W:x}");
  const GamePanelStops s = BuildGamePanelStops(comments, Tag);
  EXPECT_EQ(s.Count(), kGamePanelMaxStops);
  EXPECT_EQ(s.StopPly(99), 100);
  std::vector<std::string> late(300);
  late[255] = "{W:late}";  // ply 256
  late[254] = "{W:ply255}";
  const GamePanelStops l = BuildGamePanelStops(late, Tag);
  ASSERT_EQ(l.Count(), 2);
  EXPECT_EQ(l.StopPly(0), 255) << "a real ply, not the end marker";
  EXPECT_EQ(l.StopOfPly(255), 0);
  EXPECT_EQ(l.LastPlyOfRange(0, 300), 255);
}

TEST(GamePanel, ClicksAndLayout) {
  // Columns: White at 40, Black at 100, moves 50 wide.
  EXPECT_EQ(GamePanelClickPly(0, 45, 40, 100, 50), 1);
  EXPECT_EQ(GamePanelClickPly(0, 101, 40, 100, 50), 2);
  EXPECT_EQ(GamePanelClickPly(3, 100, 40, 100, 50), 7) << "the edge belongs to White";
  EXPECT_EQ(GamePanelClickPly(3, 5, 40, 100, 50), 7) << "the number column counts as White";

  GamePanelMeasures m;
  m.lineHeight = 16;
  m.numberWidth = 30;
  m.moveWidth = 50;
  m.stepWidth = 28;
  m.stepHeight = 22;
  m.playWidth = 60;
  m.playHeight = 24;
  m.blackAreaHeight = m.whiteAreaHeight = 40;
  m.listClientWidthLess = 20;
  const GamePanelPlacement p = LayOutGamePanel(250, 400, m);
  ASSERT_TRUE(p.listShown);
  EXPECT_EQ(p.list.width, 225);  // 9/10 of 250
  EXPECT_EQ(p.steps[0].x, 12);
  EXPECT_EQ(p.steps[6].x + p.steps[6].width, p.list.x + p.list.width - (225 - 7 * 28) % 6);
  EXPECT_EQ(p.steps[0].y, 52);
  EXPECT_EQ(p.list.y, 80);
  EXPECT_EQ(p.list.height, 400 - 22 - 80 - 24 - 40);
  EXPECT_EQ(p.whiteColumnX, 30 + (205 - 30 - 100) / 3);
  EXPECT_EQ(p.blackColumnX, p.whiteColumnX + 50 + (205 - 30 - 100) / 3);
  EXPECT_EQ(p.whitePictureY, p.list.y + p.list.height + 6);
  EXPECT_EQ(p.play.y, p.whitePictureY + 40 + 6);
  EXPECT_EQ(p.play.x, (250 - 120) / 3);
  EXPECT_EQ(p.stop.x, 60 + 2 * ((250 - 120) / 3));
  // Too narrow for seven step buttons: no list, White's area under Black's.
  const GamePanelPlacement narrow = LayOutGamePanel(190, 400, m);
  EXPECT_FALSE(narrow.listShown);
  EXPECT_EQ(narrow.whitePictureY, 6 + 40 + 12);
}

#include "classic_games_core.h"

TEST(ClassicGames, SearchIgnoresCaseAndAnEmptyTextListsAll) {
  const std::vector<std::string> titles = {"ANDERSSEN - KIESERITZKY, London 1851", "Morphy - Duke Karl, Paris 1858",
                                           "Steinitz - von Bardeleben, Hastings 1895"};
  EXPECT_EQ(FilterClassicGames(titles, "morphy"), std::vector<int>{1});
  EXPECT_EQ(FilterClassicGames(titles, "anderssen"), std::vector<int>{0});
  EXPECT_EQ(FilterClassicGames(titles, "18"), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(FilterClassicGames(titles, ""), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(FilterClassicGames(titles, "Fischer").empty());
  EXPECT_TRUE(FilterClassicGames({}, "").empty());
}
