// Practice openings: the name tree and its search, the line store's cuts
// and the advancing rule over a fake game.
#include "practice_openings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bookreader.h"
#include "movegen.h"

namespace {

int Sq(const char* name) { return ('8' - name[1]) * 16 + (name[0] - 'a'); }

MoveRecord Move(const char* from, const char* to) {
  MoveRecord m{};
  m.from = uint8_t(Sq(from));
  m.to = uint8_t(Sq(to));
  return m;
}

std::vector<MoveRecord> Line(std::initializer_list<const char*> squares) {
  std::vector<MoveRecord> out;
  for (auto it = squares.begin(); it != squares.end(); it += 2) out.push_back(Move(*it, *(it + 1)));
  return out;
}

std::function<std::string(int)> Names(const std::vector<std::string>& names) {
  return [names](int i) { return i >= 0 && i < int(names.size()) ? names[size_t(i)] : std::string(); };
}

// "text@depth" for every item, in order.
std::vector<std::string> Shape(const std::vector<PracticeTreeNode>& tree) {
  std::vector<std::string> out;
  for (const PracticeTreeNode& n : tree) {
    int depth = 0;
    for (int p = n.parent; p >= 0; p = tree[size_t(p)].parent) ++depth;
    out.push_back(n.text + "@" + std::to_string(depth) + "#" + std::to_string(n.entry));
  }
  return out;
}

TEST(PracticeTree, PrefixHierarchyAndItemTexts) {
  const std::vector<std::string> names = {
      "B20/ Sicilian",
      "B20/ Sicilian, Smith-Morra",
      "B20/ Sicilian, Smith-Morra, declined",
      "B20/ Sicilian, wing gambit",  // not under Smith-Morra: back to Sicilian
      "C00/ French",                 // a new top item
      "Zukertort",                   // no slash: the whole name
      "",                            // the end, whatever follows
      "after the end"};
  EXPECT_EQ(Shape(BuildPracticeTree(Names(names), "")),
            (std::vector<std::string>{"Sicilian@0#0", "Sicilian, Smith-Morra@1#1", "Sicilian, Smith-Morra, declined@2#2",
                                      "Sicilian, wing gambit@1#3", "French@0#4", "Zukertort@0#5"}));
  EXPECT_EQ(PracticeItemText("A/"), "");
  EXPECT_EQ(PracticeItemText("A/x"), "");
  EXPECT_EQ(PracticeItemText("A/ x/ y"), "x/ y");
}

TEST(PracticeTree, SearchKeepsOnlyNamesHoldingTheText) {
  const std::vector<std::string> names = {"French defence", "Sicilian defence", "Sicilian, Najdorf", "Zukertort"};
  const struct {
    const char* search;
    std::vector<int> entries;
  } cases[] = {
      {"sicilian", {1, 2}},
      {"SICILIAN", {1, 2}},
      {"DEFENCE", {0, 1}},
      {"nothing like it", {}},
      {"", {0, 1, 2, 3}},
  };
  for (const auto& c : cases) {
    std::vector<int> got;
    for (const PracticeTreeNode& n : BuildPracticeTree(Names(names), c.search)) got.push_back(n.entry);
    EXPECT_EQ(got, c.entries) << c.search;
  }
}

TEST(PracticeTree, TheMainBookSearchedForSicilian) {
  ASSERT_TRUE(LoadBookFile(RW_MAIN_BOOK));
  ASSERT_TRUE(IndexBookWithProgress(nullptr));
  const auto all = BuildPracticeTree(GetBookEntryText, "");
  const auto sicilian = BuildPracticeTree(GetBookEntryText, "SICILIAN");
  EXPECT_EQ(int(all.size()), GetBookEntryCount());
  ASSERT_FALSE(sicilian.empty());
  EXPECT_LT(sicilian.size(), all.size());
  for (const PracticeTreeNode& n : sicilian)
    EXPECT_NE(UpperCaseText(GetBookEntryText(n.entry)).find("SICILIAN"), std::string::npos) << n.entry;
  EXPECT_TRUE(BuildPracticeTree(GetBookEntryText, "NO SUCH OPENING XYZ").empty());
  // Every top item's name is a prefix of its descendants'.
  for (const PracticeTreeNode& n : all)
    if (n.parent >= 0) {
      const std::string parent = GetBookEntryText(all[size_t(n.parent)].entry);
      EXPECT_EQ(GetBookEntryText(n.entry).compare(0, parent.size(), parent), 0);
    }
  FreeBookSlot();
}

TEST(PracticeStore, CutsTheLineToFiftyPliesAndTheNameToItsStore) {
  // Knights out and back: a legal line of 60 plies.
  std::vector<MoveRecord> longLine;
  const char* cycle[4][2] = {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}};
  for (int i = 0; i < 60; ++i) longLine.push_back(Move(cycle[i % 4][0], cycle[i % 4][1]));
  longLine[3].texts[0] = reinterpret_cast<char*>(0x1);  // the store never keeps a game's text pointers
  const std::string longName(900, 'N');
  const PracticeLine line = StorePracticeLine(7, longName, longLine, "C20 and more");
  EXPECT_EQ(line.moves.size(), 50u);
  EXPECT_EQ(line.name.size(), 499u);
  EXPECT_EQ(line.eco, "C20");
  EXPECT_EQ(line.entry, 7);
  EXPECT_EQ(line.moves[3].texts[0], nullptr);
  EXPECT_EQ(line.moves[49].to, longLine[49].to);
  // The rows and the position follow the stored 50 plies only.
  const auto rows = PracticeLineRows(line, -1, 0);
  EXPECT_EQ(rows.size(), 25u);
  EXPECT_EQ(rows.front(), "1. Nf3 Nf6");
  int side = -1;
  PracticePosition(line, -1, &side);
  EXPECT_EQ(side, WHITE);

  const PracticeLine shortOne = StorePracticeLine(0, "Short", Line({"e2", "e4", "c7", "c5"}), "B2");
  EXPECT_EQ(shortOne.moves.size(), 2u);
  EXPECT_EQ(shortOne.eco, "B2");
  EXPECT_EQ(PracticeLineRows(shortOne, 1, 0), std::vector<std::string>{"1. e4"});
  EXPECT_EQ(PracticeLineRows(shortOne, -1, 3), std::vector<std::string>{"1. e2-e4 c7-c5"});
}

// A game of plain plies and a log of what the practice did to it.
class FakeGame : public PracticeActions {
 public:
  std::vector<MoveRecord> played;
  std::vector<std::string> log;
  bool refuse = false;  // the game does not take the book's moves
  int CurrentPly() override { return int(played.size()); }
  void TakeBackMove() override {
    played.pop_back();
    log.push_back("back");
  }
  void ClearSquareMarks() override { log.push_back("clear"); }
  void PlayLineMove(const MoveRecord& m) override {
    if (refuse) return;
    played.push_back(m);
    log.push_back("play " + std::to_string(m.from) + "-" + std::to_string(m.to));
  }
  void ShowLine(int plies) override { log.push_back("show " + std::to_string(plies)); }
  void PromptMove(int side, int n) override {
    log.push_back(std::string(side == WHITE ? "white #" : "black #") + std::to_string(n));
  }
  void FinishPractice() override { log.push_back("finished"); }
  // The user's move as the board callback hands it on: added first.
  bool User(const MoveRecord& m, const PracticeLine& line, const PracticeSides& sides) {
    played.push_back(m);
    return AdvancePracticeLine(line, sides, this, &m);
  }
};

TEST(PracticeAdvance, BlackOnlyStartsWithTheBooksWhiteMove) {
  const PracticeLine line = StorePracticeLine(0, "Sicilian", Line({"e2", "e4", "c7", "c5", "g1", "f3"}), "B20");
  FakeGame game;
  PracticeSides black{false, true};
  EXPECT_TRUE(AdvancePracticeLine(line, black, &game, nullptr));
  EXPECT_EQ(game.log, (std::vector<std::string>{"show 0", "play " + std::to_string(Sq("e2")) + "-" +
                                                                  std::to_string(Sq("e4")),
                                                "show 1", "black #1"}));
  // A wrong answer is taken back and nothing else is said.
  game.log.clear();
  EXPECT_FALSE(game.User(Move("e7", "e5"), line, black));
  EXPECT_EQ(game.log, std::vector<std::string>{"back"});
  EXPECT_EQ(game.CurrentPly(), 1);
  // The right one: the book answers and the line ends.
  game.log.clear();
  EXPECT_TRUE(game.User(Move("c7", "c5"), line, black));
  EXPECT_EQ(game.log.front(), "clear");
  EXPECT_EQ(game.log.back(), "finished");
  EXPECT_EQ(game.log[game.log.size() - 2], "show -1");
  EXPECT_EQ(game.CurrentPly(), 3);
}

TEST(PracticeAdvance, SidesDecideWhoMoves) {
  const PracticeLine line = StorePracticeLine(0, "Open", Line({"e2", "e4", "e7", "e5"}), "C20");
  const struct {
    PracticeSides sides;
    std::string firstPrompt;
    int userMoves;
  } cases[] = {
      {{true, false}, "white #1", 1},
      {{false, true}, "black #1", 1},
      {{true, true}, "white #1", 2},
  };
  for (const auto& c : cases) {
    FakeGame game;
    AdvancePracticeLine(line, c.sides, &game, nullptr);
    ASSERT_FALSE(game.log.empty());
    EXPECT_EQ(game.log.back(), c.firstPrompt);
    int userMoves = 0;
    while (game.log.back() != "finished") {
      ASSERT_TRUE(game.User(line.moves[size_t(game.CurrentPly())], line, c.sides));
      ++userMoves;
    }
    EXPECT_EQ(userMoves, c.userMoves);
    EXPECT_EQ(game.CurrentPly(), 2);
  }
  // A move past the line's end is wrong, and a game that refuses the
  // book's move ends the walk instead of looping.
  FakeGame done;
  done.played = line.moves;
  EXPECT_FALSE(done.User(Move("g1", "f3"), line, {true, true}));
  FakeGame stuck;
  stuck.refuse = true;
  EXPECT_TRUE(AdvancePracticeLine(line, {false, true}, &stuck, nullptr));
  EXPECT_EQ(stuck.CurrentPly(), 0);
}

}  // namespace
