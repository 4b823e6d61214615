// Which sentences and markup the commentary writes, checked with a
// phrasebook that renders each sentence as "[number/key1/key2:arguments]".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "annotator.h"
#include "coach.h"
#include "line_effects.h"
#include "markup.h"
#include "move_words.h"
#include "selectable_messages.h"
#include "square_lists.h"
#include "tactics_text.h"
#include "test_positions.h"

namespace {

class Commentary : public ::testing::Test {
 protected:
  FixturePhrasebook book;
  PhrasebookScope scope{&book};
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(Commentary, DescribeMoveNamesAndDisambiguates) {
  Position one("4k3/8/8/8/8/8/8/4K1N1 w - - 0 1");
  std::vector<MoveRecord> legal = one.Legal();
  int i = one.IndexOf(one.Move("g1", "f3"));
  EXPECT_EQ(DescribeMove(&one.board, legal.data(), static_cast<int>(legal.size()), i, 1, 0, 1),
            "[18/4/1:|||] [31/0/1:|||] [103/0/8:f3|||]");
  Position two("4k3/8/8/8/8/8/3N4/4K1N1 w - - 0 1");
  legal = two.Legal();
  i = two.IndexOf(two.Move("g1", "f3"));
  EXPECT_EQ(DescribeMove(&two.board, legal.data(), static_cast<int>(legal.size()), i, 1, 0, 1),
            "[18/4/1:|||] [30/0/1:|||] [103/0/1:g1|||] [31/0/1:|||] [103/0/8:f3|||]");

  Position castle("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  legal = castle.Legal();
  EXPECT_EQ(DescribeMove(&castle.board, legal.data(), static_cast<int>(legal.size()),
                         castle.IndexOf(castle.Move("e1", "g1")), 1, 0, 1),
            "[24/2/2:|||]");
  Position shortOnly("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
  legal = shortOnly.Legal();
  EXPECT_EQ(DescribeMove(&shortOnly.board, legal.data(), static_cast<int>(legal.size()),
                         shortOnly.IndexOf(shortOnly.Move("e1", "g1")), 0, 1, 1),
            "[24/10/3:|||]");

  Position capture("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
  legal = capture.Legal();
  EXPECT_EQ(DescribeMove(&capture.board, legal.data(), static_cast<int>(legal.size()),
                         capture.IndexOf(capture.Move("e4", "d5")), 0, 0, 1),
            "[18/5/1:|||] [29/37/1:|||]");
}

TEST_F(Commentary, MarkupPlaysAndTakesBackMoves) {
  Position castle("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
  MoveRecord oo = castle.Move("e1", "g1");
  EXPECT_EQ(MarkupPlayMove(&oo, WHITE), "{S:e1g1}{S:h1f1}");
  MoveRecord ooo = castle.Move("e1", "c1");
  EXPECT_EQ(MarkupPlayMove(&ooo, WHITE), "{S:e1c1}{S:a1d1}");
  EXPECT_EQ(MarkupUndoMove(&ooo, WHITE), "{S:c1e1}{S:d1a1}");

  Position capture("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
  MoveRecord exd5 = capture.Move("e4", "d5");
  Board b = capture.board;
  MakeMove(&exd5, &b);
  EXPECT_EQ(MarkupUndoMove(&exd5, WHITE), "{S:d5e4}{P:BPd5}");

  Position ep("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
  MoveRecord exd6 = ep.Move("e5", "d6");
  EXPECT_EQ(MarkupPlayMove(&exd6, WHITE), "{S:e5d6}{O:d5}");
  b = ep.board;
  MakeMove(&exd6, &b);
  EXPECT_EQ(MarkupUndoMove(&exd6, WHITE), "{S:d6e5}{P:BPd5}");

  Position promo("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  MoveRecord a8 = promo.Move("a7", "a8", KNIGHT);
  EXPECT_EQ(MarkupPlayMove(&a8, WHITE), "{S:a7a8}{P:WNa8}");
  EXPECT_EQ(MarkupUndoMove(&a8, WHITE), "{S:a8a7}{P:WPa7}");
}

TEST_F(Commentary, PhrasesOfCountsAndDegrees) {
  EXPECT_EQ(CountPhrase(1, 3, 0, 1), "");
  EXPECT_EQ(CountPhrase(1, 3, 1, 1), " ");
  EXPECT_EQ(CountPhrase(2, 3, 0, 1), "[183/0/0:|||]");
  EXPECT_EQ(CountPhrase(3, 3, 0, 1), "[183/0/0:|||][32/0/1:|||] ");
  EXPECT_EQ(CountPhrase(2, 2, 0, 2), " [32/0/2:|||] ");
  EXPECT_EQ(DegreePhrase(10, 70, 1, WHITE, 2, 69, 70, 10, 25, 50, 1), "[69/0/23:|||]");
  EXPECT_EQ(DegreePhrase(70, 60, 0, BLACK, 2, 69, 70, 10, 25, 50, 0), "[70/32/10:|||]");
  EXPECT_EQ(KingPressurePhrase(4, 0, 0, WHITE, 1, 1), "[73/16/204:|||]");
  EXPECT_EQ(KingPressurePhrase(2, 10, 1, WHITE, 2, 0), "[73/0/112:|||]");
  EXPECT_EQ(SentenceToneCode("Well done\\G"), 1);
  EXPECT_EQ(SentenceToneCode("Oops\\A and more"), 3);
  EXPECT_EQ(SentenceToneCode("plain"), 0);
  EXPECT_EQ(MoveNumberText(12), "[16/12/0:12|||]");
}

TEST_F(Commentary, ALineThatMatesSaysOnlyTheMate) {
  // White: Qh5xf7 mate is one move; add a capture so other categories could apply.
  Position p("r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4");
  MoveRecord mate = p.Move("h5", "f7");
  std::string text = ExplainLineEffects(&p.board, &mate, 1, WHITE, 2, 1, 99, 0, 10, 1);
  EXPECT_EQ(text.rfind("[98/0/0:[76/0/0:[15/1/2", 0), 0u) << text;
  EXPECT_FALSE(Has(text, "[50/")) << text;
  EXPECT_FALSE(Has(text, "[87/")) << text;
}

TEST_F(Commentary, LineEffectsOfWinningMaterial) {
  // Rxd8 wins the undefended queen.
  Position p("3qk3/8/8/8/8/8/8/3RK3 w - - 0 1");
  MoveRecord take = p.Move("d1", "d8");
  std::string text = ExplainLineEffects(&p.board, &take, 1, WHITE, 2, 1, 99, 0, 10, 1);
  EXPECT_TRUE(Has(text, "[51/8/232:[54/8/211:")) << text;  // Black loses a queen
  EXPECT_TRUE(Has(text, "[86/0/0")) << "a basic mate is left: " << text;
}

TEST_F(Commentary, AnnotateMoveStatesAndOneLegalMove) {
  Position mated("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
  MoveRecord m = mated.Move("a1", "a8");
  Board after = mated.board;
  MakeMove(&m, &after);
  EXPECT_EQ(AnnotateMove(&after, BLACK, &m, 1, nullptr), "[0/0/0:|||] [3/0/0:|||]");

  Position stale("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
  EXPECT_EQ(AnnotateMove(&stale.board, BLACK, nullptr, 0, nullptr), "[0/0/0:|||] [4/0/0:|||]");
  Position dead("7k/8/6K1/8/8/8/8/2B5 b - - 0 1");
  EXPECT_EQ(AnnotateMove(&dead.board, BLACK, nullptr, 0, nullptr), "[0/0/0:|||] [5/0/0:|||]");

  Position one("k7/8/1K6/8/8/8/8/7R b - - 0 1");  // only Ka8-a... let the test find it
  std::string text = AnnotateMove(&one.board, BLACK, nullptr, 0, nullptr);
  ASSERT_EQ(one.Legal().size(), 1u);
  EXPECT_EQ(text.rfind("[0/0/0:|||] [18/0/1", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 16), ".\r\n\r\n[2/0/0:|||]") << text;

  Position many("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(AnnotateMove(&many.board, WHITE, nullptr, 0, nullptr), "") << "no book: nothing to say";
}

TEST_F(Commentary, IllegalMovesAreExplained) {
  struct Case {
    const char* fen;
    const char* from;
    const char* to;
    std::string expected;
  } cases[] = {
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "d4", "d5", "[121/0/0:|||]"},
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "e8", "e7", "[122/0/0:|||]"},
      {"4k3/8/8/8/8/8/P7/R3K3 w - - 0 1", "a1", "a5",
       "{H:a2}[118/0/0:[22/5/1:|||] [30/0/1:|||] [103/0/3:a2|||]|||]"},
      {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1", "b3", "[120/2/0:a1|||]"},
      // The knight on e2 is pinned by the rook on e8.
      {"4r1k1/8/8/8/8/8/4N3/4K3 w - - 0 1", "e2", "c3", "{A:Be8e1}[112/0/0:|||]"},
      {"4r1k1/8/8/8/8/8/8/4K3 w - - 0 1", "e1", "e2", "{A:Be8e2}[114/0/0:|||]"},
      {"5rk1/8/8/8/8/8/8/4K3 w - - 0 1", "e1", "f2", "{A:Bf8f2}[113/0/0:|||]"},
      {"4k3/8/8/8/8/8/8/R3KB1R w KQ - 0 1", "e1", "g1",
       "{H:f1}[119/0/0:[22/3/1:|||] [30/0/1:|||] [103/0/3:f1|||]|||]"},
      {"4k3/8/8/8/8/8/8/R3K2R w Q - 0 1", "e1", "g1", "{A:We1h1}[123/0/0:|||]"},
      {"4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", "e1", "g1", "[111/0/0:|||]"},
      {"4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1", "e1", "g1", "{A:Be2e1}[115/0/0:|||]"},
      {"4k3/8/8/8/8/8/6r1/R3K2R w KQ - 0 1", "e1", "g1", "{A:Bg2g1}[113/0/0:|||]"},
      {"4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1", "e1", "g1", "{A:Bf8f1}[116/0/0:|||]"},
      {"4k3/8/8/8/4P3/8/8/4K3 w - - 0 1", "e4", "e3", "[126/0/0:|||]"},
      {"4k3/8/8/8/4P3/8/8/4K3 w - - 0 1", "e4", "e6", "[127/0/0:|||]"},
      {"4k3/8/8/8/8/4n3/4P3/4K3 w - - 0 1", "e2", "e4",
       "{H:e3}[117/0/0:[23/4/1:|||] [30/0/1:|||] [103/0/3:e3|||]|||]"},
      {"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", "e2", "d3", "[128/0/0:|||]"},
      {"4k3/8/8/8/8/8/4P3/4KN2 w - - 0 1", "f1", "e2", "[129/0/0:|||]"},
  };
  for (const Case& c : cases) {
    Position p(c.fen);
    std::string text = ExplainIllegalMove(&p.board, p.side, Sq(c.from), Sq(c.to));
    if (std::string(c.from) == "a1" && std::string(c.to) == "b3") {
      EXPECT_TRUE(Has(text, "[120/2/0:a1")) << text;
      EXPECT_TRUE(Has(text, "{H:a8a7a6a5a4a3a2b1c1d1}")) << "where the rook can go: " << text;
      continue;
    }
    if (std::string(c.from) == "e4" && std::string(c.to) == "e3") {
      EXPECT_TRUE(Has(text, "[126/0/0")) << text;
      EXPECT_TRUE(Has(text, "{H:e5}")) << "the pawn's legal squares are marked: " << text;
      continue;
    }
    EXPECT_EQ(text, c.expected) << c.fen << " " << c.from << c.to;
  }
}

TEST_F(Commentary, StripMarkupCodesCutsGroups) {
  std::string text = "one {S:e2e4}two {H:e4}three";
  StripMarkupCodes(&text);
  EXPECT_EQ(text, "one two three");
  std::string early = "a } b {H:e4} c";
  StripMarkupCodes(&early);
  EXPECT_EQ(early, "a } b {H:e4} c") << "a closing brace before the first opening one stops the stripping";
}

TEST_F(Commentary, SquareListsAndCoach) {
  Position start("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  uint8_t coverage[128];
  std::string covered = ComputeBoardCoverage(&start.board, WHITE, coverage);
  EXPECT_TRUE(Has(covered, "a3b3c3d3e3f3g3h3")) << covered;
  EXPECT_EQ(coverage[Sq("c3")], Sq("b1")) << "the last piece in board order that reaches it";
  EXPECT_EQ(GetPieceLegalTargets(&start.board, WHITE, Sq("b1")), "a3c3");

  Position hang("4k3/8/2n5/8/4B3/8/8/4K3 b - - 0 1");
  EXPECT_EQ(ListCapturablePieces(&hang.board, BLACK), "c6");
  EXPECT_EQ(ListPinnedPieces(&hang.board, BLACK), "");

  Position promo("4k3/4P3/8/8/8/8/8/4K3 w - - 0 1");
  (void)promo;
  Position pr("2r4k/4P3/8/8/8/8/8/4K3 w - - 0 1");
  CoachSession coach;
  coach.AnalyzeCoachPosition(&pr.board, WHITE);
  int queen = coach.FindMoveByCoordinates("e7e8");
  ASSERT_GE(queen, 0);
  EXPECT_EQ(coach.legalMoves()[queen].flags & MOVE_PROMOTION_TYPE, QUEEN);
  int knight = coach.FindMoveByCoordinates("e7e8n");
  ASSERT_GE(knight, 0);
  EXPECT_EQ(coach.legalMoves()[knight].flags & MOVE_PROMOTION_TYPE, KNIGHT);
  EXPECT_EQ(coach.FindMoveByCoordinates("e7e8x"), -1);
  EXPECT_EQ(coach.FindMoveByCoordinates("e1e2"), static_cast<int>(coach.FindMoveByCoordinates("e1e2 ")));
  EXPECT_EQ(coach.FindMoveByCoordinates("z9e2"), -1);
}

TEST_F(Commentary, CoachCachesTextsPerPlyAndGoesBeyondItsCache) {
  Position start("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  // A long line: knights going back and forth, 400 plies.
  std::vector<MoveRecord> line;
  const char* cycle[4][2] = {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}};
  for (int i = 0; i < 400; ++i) {
    MoveRecord m{};
    m.from = static_cast<uint8_t>(Sq(cycle[i % 4][0]));
    m.to = static_cast<uint8_t>(Sq(cycle[i % 4][1]));
    line.push_back(m);
  }
  CoachSession coach;
  coach.SetCoachLine(&start.board, WHITE, line.data(), static_cast<int>(line.size()));
  MoveRecord slot[2] = {};
  std::string first = coach.DescribeCoachMove(0, slot, 0, 0, 0);
  EXPECT_EQ(first.rfind("Nf3\t", 0), 0u) << first;
  EXPECT_EQ(slot[0].to, Sq("f3"));
  // The second time the cached text comes back, whatever the list holds.
  slot[1] = MoveRecord{};
  EXPECT_EQ(coach.DescribeCoachMove(0, slot, 1, 0, 0), first);
  EXPECT_FALSE(Has(first, "{")) << "markup is removed";
  std::string late = coach.DescribeCoachMove(389, slot, 0, 0, 0);
  EXPECT_EQ(late.rfind("Nf6\t", 0), 0u) << late;
  coach.RequestCoachReset();
  EXPECT_EQ(coach.DescribeCoachMove(0, slot, 0, 0, 0), first);
}

TEST_F(Commentary, CoachPhrasesTheFirstThingThatHolds) {
  Position fork("r3k3/8/8/1N6/8/8/8/4K3 w - - 0 1");
  CoachSession coach;
  MoveRecord nc7 = fork.Move("b5", "c7");
  coach.SetCoachLine(&fork.board, WHITE, &nc7, 1);
  MoveRecord slot{};
  std::string text = coach.DescribeCoachMove(0, &slot, 0, 0, 0);
  EXPECT_EQ(text, "Nc7+\t[177/2/1:[18/2/1:|||] [32/0/1:|||] [18/0/1:|||]|||]") << text;
}

TEST_F(Commentary, GoodMoveTactics) {
  struct Case {
    const char* fen;
    const char* from;
    const char* to;
    std::vector<std::string> has;
    std::vector<std::string> hasNot;
  } cases[] = {
      // A mate is told alone.
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1",
       "a1",
       "a8",
       {"[39/32/12:", "{D:250}{D:250}{D:250}", "{A:Wa8g8}"},
       {"[92/", "[59/"}},
      // The knight fork of king and rook.
      {"r3k3/8/8/1N6/8/8/8/4K3 w - - 0 1", "b5", "c7", {"[59/34/", "{A:Wc7a8}", "{A:Wc7e8}"}, {}},
      // The bishop pins the knight to the king: a pin, and the knight leaves the rim is not said.
      {"4k3/8/2n5/8/8/8/4B3/4K3 w - - 0 1", "e2", "b5", {"[42/32/11:", "{A:Wb5e8}", "{H:c6}"}, {"[90/"}},
      // Rook to the only open file.
      {"6k1/pppp1ppp/8/8/8/8/PPPP1PPP/3R2K1 w - - 0 1", "d1", "e1", {"[92/0/12", "{H:e8e7e6e5e4e3e2e1}"}, {}},
  };
  for (const Case& c : cases) {
    Position p(c.fen);
    MoveRecord m = p.Move(c.from, c.to);
    int one = 1;
    std::string text = DescribeMoveTactics(&p.board, &m, &one, 3, 0, 0, 0);
    for (const std::string& part : c.has) EXPECT_TRUE(Has(text, part)) << c.fen << "\n" << text;
    for (const std::string& part : c.hasNot) EXPECT_FALSE(Has(text, part)) << c.fen << "\n" << text;
  }
}

TEST_F(Commentary, OnlyMoveNotShownSays133) {
  Position one("k7/8/1K6/8/8/8/8/7R b - - 0 1");
  std::vector<MoveRecord> legal = one.Legal();
  MoveFeatures f = EmptyMoveFeatures();
  EXPECT_EQ(DescribeMoveFeatures(&one.board, legal.data(), 1, 1, 0, &f, 1, 1, 0, 99, 22, 0),
            "[133/0/0:|||].");
}

TEST_F(Commentary, BadMoveFaults) {
  Position hang("4k3/8/3p4/8/8/8/7Q/4K3 w - - 0 1");
  MoveRecord qe5 = hang.Move("h2", "e5");
  std::string text = DescribeMoveFault(&hang.board, &qe5);
  EXPECT_EQ(text.rfind("[61/2/0:{G:WQe5}[22/1/1:|||]", 0), 0u) << text;
  Position rim("4k3/8/8/8/8/8/8/3NK3 w - - 0 1");
  MoveRecord na3 = rim.Move("d1", "c3");
  EXPECT_EQ(DescribeMoveFault(&rim.board, &na3), "");
  Position rim2("4k3/8/8/8/8/2N5/8/4K3 w - - 0 1");
  MoveRecord toRim = rim2.Move("c3", "a4");
  EXPECT_EQ(DescribeMoveFault(&rim2.board, &toRim), "[93/0/0:|||]. ");
}

TEST_F(Commentary, DescribeLineNumbersMoves) {
  Position start("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
  MoveRecord line[2] = {start.Move("e7", "e5"), MoveRecord{}};
  line[1].from = static_cast<uint8_t>(Sq("g1"));
  line[1].to = static_cast<uint8_t>(Sq("f3"));
  std::string text = DescribeLine(&start.board, line, 2, 0, 1, BLACK, 0, 1, 1);
  EXPECT_EQ(StripMarkupGroups(text),
            "1... e5 ([188/5/0:|||] [191/0/2:e5|||]) 2. Nf3 ([188/4/0:|||] [191/0/2:f3|||])");
  EXPECT_TRUE(Has(text, "{S:e7e5}{G:BPe5}"));
}

}  // namespace
