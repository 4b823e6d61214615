// The arithmetic and texts of the game windows: clocks and time controls,
// move list rows and columns, new-game set-up, thinking lines and the
// advice print-out.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "advice_print.h"
#include "game_setup_core.h"
#include "move_list_math.h"
#include "status_texts.h"
#include "thinking_text.h"

TEST(StatusTexts, Clocks) {
  struct {
    int32_t seconds;
    const char* text;
  } cases[] = {
      {0, "00:00"},         {59, "00:59"},        {3599, "59:59"},
      {3600, "01:00:00"},   {-5, "-00:05"},       {-3599, "-59:59"},
      {-3605, "-01:00:05"}, {359999, "99:59:59"}, {INT32_MIN, "-596523:14:08"},
  };
  for (auto c : cases) EXPECT_EQ(FormatClockSeconds(c.seconds), c.text) << c.seconds;
  EXPECT_STREQ(kWidestClockText, "-99:59:59");
  for (uint32_t t = 0; t < 10; ++t)
    EXPECT_EQ(ClockShowsRemaining(t), t == 1 || t == 4 || t == 5 || t == 6) << t;
}

TEST(StatusTexts, TimeControlsRatingsAndLabels) {
  struct {
    uint32_t type, base, second;
    bool rated;
    const char* text;
  } cases[] = {
      {1, 7200000, 40, false, "40/120  moves/min"},
      {0, 7200000, 0, false, ""},
      {2, 10000, 0, true, "10  sec/move (R)"},
      {2, 999, 0, true, ""},
      {4, 300000, 0, false, "5  min/game"},
      {3, 59999, 0, true, ""},
      {5, 300000, 3000, true, "5/3 Fischer (R)"},
      {6, 30000, 0, false, "hourglass"},
      {6, 0, 0, false, ""},
      {7, 0, 0, true, "infinite (R)"},
      {8, 0, 0, false, "equal"},
      {9, 0, 0, false, "fixed depth"},
      {10, 60000, 1, true, ""},
  };
  for (auto c : cases) EXPECT_EQ(TimeControlLabelText(c.type, c.base, c.second, c.rated), c.text) << c.type;

  EXPECT_EQ(FormatPlayerRating(1500, false), "(1500)");
  EXPECT_EQ(FormatPlayerRating(2600, true), "");
  EXPECT_EQ(FormatPlayerRating(0, false), "");

  std::string name(256, 'n');
  EXPECT_EQ(CutStatusLabel(name.c_str()).size(), 63u);
  EXPECT_EQ(CutStatusLabel("Tarn"), "Tarn");
  EXPECT_EQ(CutStatusLabel(nullptr), "");

  EXPECT_STREQ(NicknamePortrait("wizard"), "NickWizard.BMP");
  EXPECT_STREQ(NicknamePortrait("Ace"), "NickAce.BMP");
  EXPECT_EQ(NicknamePortrait("Aces"), nullptr);
  EXPECT_EQ(NicknamePortrait(""), nullptr);
  EXPECT_EQ(NicknamePortrait(nullptr), nullptr);
}

TEST(MoveList, RowsAndPlies) {
  struct {
    int ply;
    bool blackFirst;
    int row;
  } cases[] = {
      {0, false, -1}, {1, false, 0}, {2, false, 0}, {3, false, 1}, {10, false, 4},
      {0, true, 0},   {1, true, 0},  {2, true, 1},  {3, true, 1},  {10, true, 5},
  };
  for (auto c : cases) EXPECT_EQ(MoveRowOfPly(c.ply, c.blackFirst), c.row) << c.ply << c.blackFirst;
  for (bool blackFirst : {false, true})
    for (int row = 0; row < 20; ++row) {
      int w = WhitePlyOfRow(row, blackFirst), b = BlackPlyOfRow(row, blackFirst);
      EXPECT_EQ(b, w + 1);
      EXPECT_TRUE(IsWhitePly(w, blackFirst));
      EXPECT_FALSE(IsWhitePly(b, blackFirst));
      EXPECT_EQ(MoveRowOfPly(b, blackFirst), row);
      if (w > 0) {
        EXPECT_EQ(MoveRowOfPly(w, blackFirst), row);
      }
    }
  // With Black first row 0 has no White ply (its cell is empty).
  EXPECT_EQ(WhitePlyOfRow(0, true), 0);
  EXPECT_EQ(CutMoveText("exd8=Q+ and more text").size(), 15u);
}

TEST(MoveList, ColumnsAndClicks) {
  MoveColumns c;
  c.numberWidth = 30;
  c.moveWidth = 40;
  c.markerWidth = 8;
  LayMoveColumns(&c, 170);  // spare 60, a third 20
  EXPECT_EQ(c.whiteX, 50);
  EXPECT_EQ(c.blackX, 110);
  LayMoveColumns(&c, 50);  // narrower than the columns: no spare
  EXPECT_EQ(c.whiteX, 30);
  EXPECT_EQ(c.blackX, 70);
  LayMoveColumns(&c, 170);
  struct {
    int x, column, plyWhiteFirst, plyBlackFirst;
    bool marker;
  } cases[] = {
      {0, 16, 7, 6, false},  {51, 16, 7, 6, true},  {50, 16, 7, 6, false},
      {58, 16, 7, 6, false}, {89, 16, 7, 6, false}, {95, 0, 7, 6, false},
      {110, 0, 7, 6, false}, {111, 32, 8, 7, true}, {160, 32, 8, 7, false},
  };
  for (auto k : cases) {
    EXPECT_EQ(MoveColumnAt(c, k.x), k.column) << k.x;
    EXPECT_EQ(PlyOfClickedRow(c, 3, k.x, false), k.plyWhiteFirst) << k.x;
    EXPECT_EQ(PlyOfClickedRow(c, 3, k.x, true), k.plyBlackFirst) << k.x;
    EXPECT_EQ(IsMarkerClick(c, k.x), k.marker) << k.x;
  }
}

TEST(MoveList, CountersAndAutoPlay) {
  MoveListCounters c;
  EXPECT_FALSE(c.ForwardPlayStarts());
  EXPECT_FALSE(c.BackwardPlayStarts());
  EXPECT_EQ(c.SelectedRow(false), -1);  // White first: ply 0 clears the selection
  EXPECT_EQ(c.SelectedRow(true), 0);    // Black first: ply 0 selects row 0
  c.listed = c.shown = 6;
  EXPECT_FALSE(c.AppendRebuilds());
  EXPECT_FALSE(c.ForwardPlayStarts());  // ">" at the end
  for (int i = 0; i < 3; ++i) c.TakenBack();
  EXPECT_EQ(c.shown, 3);
  EXPECT_TRUE(c.AppendRebuilds());  // stepped back three, then a move: rebuild
  EXPECT_TRUE(c.ForwardPlayStarts());
  for (int i = 0; i < 5; ++i) c.Replayed();
  EXPECT_EQ(c.shown, 6);
  for (int i = 0; i < 9; ++i) c.TakenBack();
  EXPECT_EQ(c.shown, 0);
  EXPECT_FALSE(c.BackwardPlayStarts());  // "<" at the start
}

namespace {
PlayerRecord Player(const char* name, uint32_t kind, uint32_t slot) {
  PlayerRecord p{};
  std::snprintf(p.name, sizeof p.name, "%s", name);
  p.kind = kind;
  p.slot = slot;
  p.timeControl = 4;
  p.baseMs = 600000;
  return p;
}
}  // namespace

TEST(GameSetup, ChangeMask) {
  PlayerRecord w = Player("player", 0, SLOT_WHITE), b = Player("Rookwell", 1, SLOT_BLACK);
  Board start;
  SetInitialBoard(&start);
  EXPECT_EQ(SetupChangeMask(w, b, w, b, false, true, start), 0);
  struct {
    void (*change)(PlayerRecord*, PlayerRecord*, Board*, bool*);
    int mask;
  } cases[] = {
      {[](PlayerRecord* w, PlayerRecord*, Board*, bool*) { w->kind = 1; }, 1},
      {[](PlayerRecord* w, PlayerRecord*, Board*, bool*) { w->blindfold = 1; }, 1},
      {[](PlayerRecord* w, PlayerRecord*, Board*, bool*) { w->baseMs = 300000; }, 2},
      {[](PlayerRecord*, PlayerRecord* b, Board*, bool*) { std::strcpy(b->name, "Tarn - Age 12"); }, 4},
      {[](PlayerRecord*, PlayerRecord* b, Board*, bool*) { b->periodOrIncrement = 1; }, 8},
      {[](PlayerRecord*, PlayerRecord*, Board*, bool* top) { *top = true; }, 32},
      {[](PlayerRecord*, PlayerRecord*, Board* s, bool*) {
         OddsBoardClick(s, 13 + 19 * 0 + 5, 22 + 19 * 7 + 5);
       },
       64},
  };
  for (auto& c : cases) {
    PlayerRecord w2 = w, b2 = b;
    Board s2 = start;
    bool top = false;
    c.change(&w2, &b2, &s2, &top);
    EXPECT_EQ(SetupChangeMask(w, b, w2, b2, top, true, s2), c.mask) << c.mask;
  }
}

TEST(GameSetup, TimePages) {
  SetupTimeValues values;
  PlayerRecord top = Player("a", 1, SLOT_BLACK), bottom = Player("b", 0, SLOT_WHITE);
  bool same = false;
  // Seconds per move forces "Same" and hides the radios and the bottom row.
  TimePageView v = ViewTimePage(2, &same, &top, &bottom, values);
  EXPECT_TRUE(same);
  EXPECT_FALSE(v.radiosShown);
  EXPECT_EQ(top.baseMs, 10000u);
  EXPECT_EQ(bottom.baseMs, 10000u);
  EXPECT_EQ(v.spinValue[0], 10);
  EXPECT_STREQ(v.label[0], "Seconds per move");
  EXPECT_FALSE(v.spinShown[1] || v.spinShown[2] || v.spinShown[3]);

  // Infinite time zeroes and hides every spin.
  same = false;
  StoreSpinValues(7, 5, 5, 5, 5, same, &top, &bottom, &values);
  v = ViewTimePage(7, &same, &top, &bottom, values);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(v.spinShown[i]);
    EXPECT_EQ(v.spinValue[i], 0);
  }
  EXPECT_EQ(top.baseMs + bottom.baseMs + top.periodOrIncrement, 0u);

  // Separate Fischer rows, then the values are remembered for the kind.
  same = false;
  StoreSpinValues(5, 3, 2, 15, 10, same, &top, &bottom, &values);
  EXPECT_EQ(top.baseMs, 180000u);
  EXPECT_EQ(top.periodOrIncrement, 2000u);
  EXPECT_EQ(bottom.baseMs, 900000u);
  EXPECT_EQ(bottom.periodOrIncrement, 10000u);
  v = ViewTimePage(5, &same, &top, &bottom, values);
  EXPECT_EQ(v.spinValue[0], 3);
  EXPECT_EQ(v.spinValue[3], 10);
  EXPECT_TRUE(v.spinShown[3]);
  EXPECT_STREQ(v.label[1], "Bonus seconds");

  // Hourglass seconds stay at 5 or more; other spins between 1 and 999.
  same = true;
  StoreSpinValues(6, 2, 0, 0, 0, same, &top, &bottom, &values);
  EXPECT_EQ(top.baseMs, 5000u);
  EXPECT_EQ(bottom.baseMs, 5000u);
  EXPECT_EQ(ViewTimePage(6, &same, &top, &bottom, values).firstMin, 5);
  StoreSpinValues(4, 0, 0, 0, 0, same, &top, &bottom, &values);
  EXPECT_EQ(top.baseMs, 60000u);
  StoreSpinValues(1, 5000, 5000, 0, 0, same, &top, &bottom, &values);
  EXPECT_EQ(top.periodOrIncrement, 999u);
  EXPECT_EQ(top.baseMs, 999u * 60000);
  EXPECT_TRUE(ViewTimePage(9, &same, &top, &bottom, values).unchanged);
}

TEST(GameSetup, FlipAndNames) {
  PlayerRecord white = Player("Ann", 0, SLOT_WHITE), black = Player("Rookwell", 1, SLOT_BLACK);
  GameSetupPlayers p{&white, &black, false, {}, {}};
  CopySetupName(p.personName[1], "Ann");
  CopySetupName(p.computerName[0], "Rookwell");
  // Box 1631 ticked: the human stays at the bottom and plays Black.
  FlipSetupPlayers(&p, true);
  EXPECT_TRUE(p.whiteOnTop);
  EXPECT_STREQ(p.Row(1)->name, "Ann");
  EXPECT_EQ(p.Row(1), &black);
  EXPECT_EQ(black.slot, static_cast<uint32_t>(SLOT_BLACK));
  EXPECT_EQ(white.kind, 1u);
  // Not ticked: the human goes to the top keeping the colour.
  FlipSetupPlayers(&p, false);
  EXPECT_FALSE(p.whiteOnTop);
  EXPECT_STREQ(p.Row(0)->name, "Ann");
  EXPECT_STREQ(p.personName[0], "Ann");

  std::string longName(300, 'x');
  CopySetupName(p.personName[0], longName.c_str());
  EXPECT_EQ(std::strlen(p.personName[0]), 255u);
}

TEST(GameSetup, OddsBoard) {
  Board start;
  SetInitialBoard(&start);
  auto click = [&](int row, int file) {
    return OddsBoardClick(&start, 13 + 19 * file + 9, 22 + 19 * row + 9);
  };
  EXPECT_TRUE(click(0, 0));  // a8 rook off
  EXPECT_EQ(start[MakeSquare(0, 0)], 0);
  EXPECT_EQ(start[CASTLING_RIGHTS] & BLACK_LONG, 0);
  // Further odds still work with a8 empty: the clicked square counts.
  EXPECT_TRUE(click(7, 1));
  EXPECT_EQ(start[MakeSquare(7, 1)], 0);
  EXPECT_TRUE(click(7, 1));
  EXPECT_EQ(start[MakeSquare(7, 1)], WHITE + KNIGHT);
  EXPECT_TRUE(click(0, 0));
  Board initial;
  SetInitialBoard(&initial);
  EXPECT_EQ(std::memcmp(&start, &initial, sizeof start), 0) << "the rook and its castling came back";
  // A king stays; rows 2 to 5 and clicks outside are ignored.
  EXPECT_TRUE(click(7, 4));
  EXPECT_EQ(start[MakeSquare(7, 4)], WHITE + KING);
  for (int row = 2; row <= 5; ++row) EXPECT_FALSE(click(row, 3));
  EXPECT_FALSE(OddsBoardClick(&start, 5, 30));
  EXPECT_FALSE(OddsBoardClick(&start, 30, 10));
  EXPECT_FALSE(OddsBoardClick(&start, 13 + 19 * 8 + 1, 30));
  EXPECT_EQ(std::memcmp(&start, &initial, sizeof start), 0);
}

TEST(ThinkingLines, Texts) {
  struct {
    int32_t score;
    const char* text;
  } scores[] = {{-5, "-0.05"},   {-105, "-1.05"}, {250, "2.50"}, {0, "0.00"},
                {-100, "-1.00"}, {-99, "-0.99"},  {7, "0.07"}};
  for (auto c : scores) EXPECT_EQ(FormatThinkingScore(c.score), c.text) << c.score;
  struct {
    uint32_t seconds;
    const char* text;
  } times[] = {{0, "0:00"},     {59, "0:59"},      {60, "1:00"},
               {3599, "59:59"}, {3600, "1:00:00"}, {36061, "10:01:01"}};
  for (auto c : times) EXPECT_EQ(FormatThinkingTime(c.seconds), c.text) << c.seconds;
  EXPECT_EQ(ThinkingMovesText("e4 e5", "Nf3", false), "Nf3 e4 e5");
  EXPECT_EQ(ThinkingMovesText("e4 e5", "Nf3", true), "e4 e5");
  EXPECT_EQ(ThinkingMovesText("", "Nf3", false), "");
}

TEST(ThinkingLines, Sections) {
  const bool ticked[3] = {true, true, true};
  {
    const bool engines[2] = {false, false};
    const char* names[2] = {"Ann", "Bob"};
    ThinkingSections s = ChooseThinkingSections(engines, names, ticked, true, false);
    EXPECT_FALSE(s.enabled[0] || s.enabled[1] || s.shown[0] || s.shown[1]);
    EXPECT_TRUE(s.shown[kThinkAdvisor]);
    EXPECT_TRUE(s.startAdvisorAnalysis);
  }
  {
    const bool engines[2] = {false, true};
    const char* names[2] = {"Ann", "rOOKWELL"};
    ThinkingSections s = ChooseThinkingSections(engines, names, ticked, true, true);
    EXPECT_TRUE(s.shown[kThinkBlack]);
    EXPECT_FALSE(s.enabled[kThinkAdvisor] || s.shown[kThinkAdvisor]);
    EXPECT_TRUE(s.stopAdvisorAnalysis);
    const char* others[2] = {"Ann", "Rookwells"};
    s = ChooseThinkingSections(engines, others, ticked, false, true);
    EXPECT_TRUE(s.enabled[kThinkAdvisor]);
    EXPECT_FALSE(s.shown[kThinkAdvisor]);
    EXPECT_TRUE(s.stopAdvisorAnalysis);
  }
}

TEST(ThinkingLines, Layout) {
  ThinkingLayoutInput in{600, 400, {60, 60, 80}, 20, 16, 40, {true, false, true}};
  ThinkingSectionRects r = LayThinkingLines(in);
  EXPECT_EQ(r.buttons[2].x, 5 + 65 + 65);
  int list = (400 - 20 - 10 - 2 * (25 + 32 + 4)) / 2;
  EXPECT_EQ(r.caption[0].y, 30);
  EXPECT_EQ(r.thinking[0].y, 46);
  EXPECT_EQ(r.thinking[0].height, list);
  EXPECT_EQ(r.thinking[0].width, 590);
  EXPECT_EQ(r.statistics[0].y, 46 + list + 1);
  EXPECT_EQ(r.splitter[0].y, 46 + list + 1 + 40 + 5);
  EXPECT_EQ(r.caption[2].y, r.splitter[0].y + 4 + 5);
  EXPECT_EQ(r.lastColumnWidth, 290);
  int w, h;
  const int captions[3] = {300, 0, 100};
  ThinkingMinimumSize(in, captions, 14, &w, &h);
  EXPECT_EQ(w, 315);
  EXPECT_EQ(h, 35 + (5 + 16 + 14) + (5 + 16 + 14 + 5));
}

TEST(AdvicePrint, LinesAndFrame) {
  EXPECT_TRUE(AdvicePrintLines("", "Advice").empty());
  std::string words;
  while (words.size() < 200) words += "word ";
  auto calls = AdvicePrintLines("No markup here.\n\n" + words, "Advice");
  ASSERT_GE(calls.size(), 12u);
  EXPECT_EQ(calls.front(), "START");
  EXPECT_EQ(calls[1], std::string(97, '-'));
  EXPECT_EQ(calls[3], "Advice");
  EXPECT_EQ(calls.back(), "DONE");
  EXPECT_EQ(calls[7], "No markup here.");
  // The first space after 66 characters breaks the line.
  EXPECT_EQ(calls[8].size(), 69u);
  EXPECT_EQ(calls[8].substr(0, 10), "word word ");
  // A run without spaces breaks at 119 characters.
  calls = AdvicePrintLines(std::string(300, 'x'), "T");
  EXPECT_EQ(calls[7].size(), 119u);
  EXPECT_EQ(calls[8].size(), 119u);
  EXPECT_EQ(calls[9].size(), 62u);
}
