// Layout arithmetic, status texts, the "Columns" reader, criteria prefixes
// and the key tree's texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "columns.h"
#include "criteria.h"
#include "keymove.h"
#include "layout.h"
#include "status.h"

namespace {

// Client 600 x 400, panel 100, splitter 4: 296 rows below the panel.
DatabaseLayoutInput Window(int list, int key) {
  DatabaseLayoutInput in;
  in.width = 600;
  in.height = 400;
  in.panelHeight = 100;
  in.splitterHeight = 4;
  in.listHeight = list;
  in.keyHeight = key;
  return in;
}

TEST(DatabaseLayoutTest, RequestsGiveTheKeyAreaHeight) {
  struct Case {
    int list, key, request;
    bool done;
    int keyHeight;
  } cases[] = {
      {200, 96, kLayoutKeep, true, 96},
      {200, 96, kLayoutHalf, true, 148},
      // free = 400 - 100 - 150 - 4 - 50 = 96: (50 + 150 + 96) * 50 / 200.
      {150, 50, kLayoutShare, true, 74},
      {0, 50, kLayoutShare, true, 50},
      {10, 100, kLayoutListFirst, true, 148},
      {200, 96, 250, true, 146},  // splitter top 250
      {200, 96, 20, true, 296},   // above the panel: kept at the panel
      {200, 96, 1000, true, 0},   // below the window: kept at H - S
      {200, 2000, kLayoutKeep, true, 296},
  };
  for (const Case& c : cases) {
    int remembered = 0;
    DatabaseLayout out{};
    DatabaseLayoutInput in = Window(c.list, c.key);
    in.listShowsFullRow = c.list >= 20;
    ASSERT_EQ(ComputeDatabaseLayout(in, c.request, &remembered, &out), c.done) << c.request;
    EXPECT_EQ(out.keyHeight, c.keyHeight) << "request " << c.request << " list " << c.list;
    EXPECT_EQ(out.listTop, 100);
    EXPECT_EQ(out.listTop + out.listHeight + 4 + out.keyHeight, 400);
    EXPECT_EQ(out.splitterTop, 100 + out.listHeight);
    EXPECT_EQ(out.stripTop, out.splitterTop + 4);
    EXPECT_EQ(out.treeTop + out.treeHeight, 400);
  }
}

TEST(DatabaseLayoutTest, ConditionalRequestsAndHiddenPane) {
  int remembered = 0;
  DatabaseLayout out{};
  DatabaseLayoutInput in = Window(200, 96);
  EXPECT_FALSE(ComputeDatabaseLayout(in, kLayoutListFirst, &remembered, &out));  // list shows rows
  in.keyTreeHasItems = true;
  EXPECT_FALSE(ComputeDatabaseLayout(in, kLayoutKeyFirst, &remembered, &out));
  in.keyTreeHasItems = false;
  ASSERT_TRUE(ComputeDatabaseLayout(in, kLayoutKeyFirst, &remembered, &out));
  EXPECT_EQ(out.keyHeight, 148);
  DatabaseLayoutInput empty = in;
  empty.height = 0;
  EXPECT_FALSE(ComputeDatabaseLayout(empty, kLayoutKeep, &remembered, &out));
  in.keyPaneShown = false;
  ASSERT_TRUE(ComputeDatabaseLayout(in, kLayoutHalf, &remembered, &out));
  EXPECT_EQ(out.keyHeight, 0);
  EXPECT_EQ(out.listHeight, 300);  // to the bottom
}

TEST(DatabaseLayoutTest, KeyAreaGrowsBackToTheRememberedHeight) {
  int remembered = 0;
  DatabaseLayout out{};
  ASSERT_TRUE(ComputeDatabaseLayout(Window(100, 196), 200, &remembered, &out));
  EXPECT_EQ(remembered, 196);
  // The window shrinks to 250: the key area is cut to what is left.
  DatabaseLayoutInput small = Window(96, 196);
  small.height = 250;
  ASSERT_TRUE(ComputeDatabaseLayout(small, kLayoutKeep, &remembered, &out));
  EXPECT_EQ(out.keyHeight, 146);
  EXPECT_EQ(remembered, 196);
  // Back at 400, it grows back from the list's height.
  ASSERT_TRUE(ComputeDatabaseLayout(Window(150, 146), kLayoutKeep, &remembered, &out));
  EXPECT_EQ(out.keyHeight, 196);
}

TEST(DatabaseLayoutTest, StatusPartsAreFortyAndSixtyPercent) {
  int parts[3];
  DatabaseStatusParts(800, parts);
  EXPECT_EQ(parts[0], 320);
  EXPECT_EQ(parts[1], 480);
  EXPECT_EQ(parts[2], -1);
}

TEST(DatabaseStatusTest, CountsAndText) {
  DatabaseStatusCounts counts;
  EXPECT_EQ(FormatDatabaseStatus(counts), "Games 0");
  EXPECT_TRUE(ApplyDatabaseStatus(&counts, 1, 12));
  EXPECT_TRUE(ApplyDatabaseStatus(&counts, 2, 3));
  EXPECT_TRUE(ApplyDatabaseStatus(&counts, 3, 1));
  EXPECT_EQ(FormatDatabaseStatus(counts), "Games 12\tFound 3\tSelected 1");
  ApplyDatabaseStatus(&counts, 3, 0);  // 0 leaves the selection count
  EXPECT_EQ(counts.selected, 1u);
  ApplyDatabaseStatus(&counts, 2, 0);
  EXPECT_EQ(FormatDatabaseStatus(counts), "Games 12\tFound 0");
  ApplyDatabaseStatus(&counts, 2, 5);
  ApplyDatabaseStatus(&counts, 1, 0);
  EXPECT_EQ(FormatDatabaseStatus(counts), "Games 0");
  EXPECT_FALSE(ApplyDatabaseStatus(&counts, 4, 0));
  counts.games = 4000000000u;
  EXPECT_EQ(FormatDatabaseStatus(counts), "Games 4000000000");
}

TEST(ColumnsLayoutTest, ReadsCompleteGroupsUpToThirtyTwo) {
  DatabaseColumn table[kMaxDatabaseColumns + 1];
  EXPECT_EQ(ReadColumnsLayout("5 0 120 0 6 0 120 1 17 1 80 2 ", table), 3);
  EXPECT_EQ(table[2].id, 17);
  EXPECT_EQ(table[2].format, 1);
  EXPECT_EQ(table[2].width, 80);
  EXPECT_EQ(table[2].position, 2);
  EXPECT_EQ(table[3].id, 0);
  EXPECT_EQ(ReadColumnsLayout("5 0 120 0 6 0 120", table), 1);  // trailing group dropped
  EXPECT_EQ(table[1].id, 0);
  EXPECT_EQ(ReadColumnsLayout("", table), 0);
  EXPECT_EQ(ReadColumnsLayout(nullptr, table), 0);
  EXPECT_EQ(ReadColumnsLayout("5 0 x 0 6 0 120 1", table), 0);
  EXPECT_EQ(ReadColumnsLayout("5 0 99999999999 0", table), 0);
  EXPECT_EQ(ReadColumnsLayout("  5   0 120  0  ", table), 1);
  std::string many;
  for (int i = 1; i <= 33; ++i)
    many += std::to_string(i) + " 0 " + std::to_string(40 + i) + " " + std::to_string(i - 1) + " ";
  ASSERT_GT(many.size(), 0u);
  // 33 groups of short numbers fit in 639 characters; 32 are kept.
  ASSERT_LT(many.size(), 640u);
  EXPECT_EQ(ReadColumnsLayout(many.c_str(), table), 32);
  EXPECT_EQ(table[31].id, 32);
  EXPECT_EQ(table[32].id, 0);
  // Round trip.
  EXPECT_EQ(ReadColumnsLayout(FormatColumnsLayout(table).c_str(), table), 32);
  EXPECT_EQ(table[31].width, 72);
}

TEST(ColumnsLayoutTest, OnlyTheFirst639CharactersCount) {
  DatabaseColumn table[kMaxDatabaseColumns + 1];
  std::string text(630, ' ');
  text += "5 0 120 0";  // the group ends at character 639: complete
  EXPECT_EQ(ReadColumnsLayout(text.c_str(), table), 1);
  text = std::string(632, ' ') + "5 0 120 0";  // cut after "5 0 120"
  EXPECT_EQ(ReadColumnsLayout(text.c_str(), table), 0);
}

TEST(CriteriaTest, PrefixesGiveOperatorCodes) {
  struct Case {
    char kind;  // t text, n number, f flag
    const char* text;
    int code;
    const char* rest;
  } cases[] = {
      {'n', ">=2200", 4, "2200"}, {'n', "2200", 1, "2200"},   {'n', "=2200", 1, "2200"},
      {'n', "!2200", 2, "2200"},  {'n', "!=2200", 2, "2200"}, {'n', "<2200", 3, "2200"},
      {'n', "<=2200", 5, "2200"}, {'n', ">2200", 6, "2200"},  {'n', "*> 2200", 6, "2200"},
      {'n', "", 0, ""},           {'n', ">=", 0, ""},         {'t', "!*abc", 6, "abc"},
      {'t', "abc", 3, "abc"},     {'t', "=abc", 1, "abc"},    {'t', "!=abc", 2, "abc"},
      {'t', "!abc", 4, "abc"},    {'t', "*abc", 5, "abc"},    {'t', "<> abc", 3, "abc"},
      {'t', "=!abc", 4, "abc"},   {'t', "", 0, ""},           {'t', "! ", 0, ""},
      {'t', "a!b", 3, "a!b"},     {'f', "!1", 2, "1"},        {'f', "=1", 1, "1"},
      {'f', "1", 1, "1"},         {'f', "", 0, ""},
  };
  for (const Case& c : cases) {
    char text[64];
    std::strcpy(text, c.text);
    int code = c.kind == 't'   ? ParseTextCriterion(text)
               : c.kind == 'n' ? ParseNumberCriterion(text)
                               : ParseFlagCriterion(text);
    EXPECT_EQ(code, c.code) << c.kind << " \"" << c.text << "\"";
    EXPECT_STREQ(text, c.rest) << c.kind << " \"" << c.text << "\"";
  }
}

TEST(CriteriaTest, QueryNames) {
  struct Case {
    const char* name;
    int result;
    const char* kept;
  } cases[] = {
      {"Sicilian games  ", 0, "Sicilian games"},
      {"a[b", 2, "a[b"},
      {"[", 1, "["},
      {"x;y", 2, "x;y"},
      {"ok]\t ", 3, "ok]"},
      {"tab\there", 4, "tab\there"},
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    std::string name = c.name;
    EXPECT_EQ(CheckQueryName(&name), c.result) << c.name;
    EXPECT_EQ(name, c.kept);
  }
}

TEST(KeyTreeTextsTest, LevelLabelsAndHeaderColumns) {
  const char* labels[] = {"Root", "1.", "1...", "2.", "2...", "3."};
  for (int level = 0; level < 6; ++level) EXPECT_EQ(KeyTreeLevelLabel(level), labels[level]);
  int left, right;
  KeyTreeHeaderColumn(0, 40, 0, &left, &right);
  EXPECT_EQ(left, 40);
  EXPECT_EQ(right, 80);
  KeyTreeHeaderColumn(1, 40, 0, &left, &right);
  EXPECT_EQ(left, 80);
  KeyTreeHeaderColumn(1, 40, 30, &left, &right);
  EXPECT_EQ(left, 50);
}

uint16_t KeyWord(int from, int to, int piece, bool capture) {
  return static_cast<uint16_t>(from | to << 6 | (capture ? 0x1000 : 0) | piece << 13);
}

TEST(KeyTreeTextsTest, KeyMoves) {
  // Squares: rank * 8 + file.
  const int e2 = 12, e4 = 28, g1 = 6, f3 = 21, f1 = 5, b5 = 33, d4 = 27, e5 = 36, c6 = 42, e1 = 4, g1k = 6;
  struct Case {
    KeyMoveRecord move;
    int notation;
    const char* text;
  } cases[] = {
      {{KeyWord(g1, f3, 1, false), 1}, 1, "Nf3"},
      {{KeyWord(g1, f3, 1, false), 1},
       0,
       "\x87"
       "f3"},
      {{KeyWord(f1, b5, 2, false), 1},
       0,
       "\x86"
       "b5"},
      {{KeyWord(f1, b5, 2, false), 1 | 0x10}, 1, "Bb5+"},
      {{KeyWord(d4, c6, 4, true), 1 | 0x30}, 1, "Qxc6#"},
      {{KeyWord(e1, g1k, 5, false), 1 | 4}, 1, "0-0"},
      {{KeyWord(d4, e5, 0, true), 0}, 1, "dxe5"},
      {{0, 0}, 1, ""},
  };
  for (const Case& c : cases) {
    char text[32] = "junk";
    FormatKeyMove(c.move, 4, c.notation, text);
    EXPECT_STREQ(text, c.text) << std::hex << c.move.word;
  }
  char text[32];
  // Pawn pushes as the key base stores them (kind 0), en passant, promotion.
  const int e7 = 52, e8 = 60, d5 = 35, d6 = 43;
  struct Pawn {
    KeyMoveRecord move;
    const char* text;
  } pawns[] = {
      {{KeyWord(e2, e4, 0, false), 0}, "e4"},      {{KeyWord(e2, e4, 0, false), 0x10}, "e4+"},
      {{KeyWord(e5, d6, 0, true), 8}, "exd6ep"},   {{KeyWord(e7, e8, 0, false), 12}, "e8=Q"},
      {{KeyWord(d5, e4 + 8, 0, true), 0}, "dxe5"},
  };
  for (const Pawn& p : pawns) {
    FormatKeyMove(p.move, 4, 1, text);
    EXPECT_STREQ(text, p.text);
  }
}

}  // namespace
