// The English table: every sentence the code can select has a wording, and
// whole comments on well-known positions read as correct chess.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "annotator.h"
#include "composer.h"
#include "markup.h"
#include "message_table.h"
#include "selectable_messages.h"
#include "tactics_text.h"
#include "test_positions.h"

namespace {

class English : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(LoadMessageTable("ENGMESS")) << "ENGMESS.CEL/.STR beside the tests";
  }
  static void TearDownTestSuite() { FreeMessageTables(); }
  void SetUp() override { SelectMessageTable("ENGMESS"); }
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(English, EverySelectableSentenceHasEveryWording) {
  char text[2048];
  for (const MessageKey& k : SelectableMessages()) {
    // Walk the variants too: ask often enough to see each random wording.
    for (int round = 0; round < 8; ++round) {
      GetMessageText(std::get<0>(k), std::get<1>(k), std::get<2>(k), text, sizeof text);
      ASSERT_NE(text[0], '\0') << "message " << std::get<0>(k) << " keys " << std::get<1>(k) << ", "
                               << std::get<2>(k);
    }
  }
}

std::string Tactics(const char* fen, const char* from, const char* to) {
  Position p(fen);
  MoveRecord m = p.Move(from, to);
  int one = 1;
  return StripMarkupGroups(DescribeMoveTactics(&p.board, &m, &one, 3, 0, 0, 0));
}

TEST_F(English, ForksPinsAndHangingPiecesAreCalledSo) {
  EXPECT_EQ(Tactics("r3k3/8/8/1N6/8/8/8/4K3 w - - 0 1", "b5", "c7"),
            "This forks the black rook and the black king.");
  EXPECT_EQ(Tactics("4k3/8/2n5/8/8/8/4B3/4K3 w - - 0 1", "e2", "b5"),
            "This pins the black knight and this attacks the black knight.");
  EXPECT_EQ(Tactics("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1", "a8"), "This checkmates Black.");

  Position hang("4k3/8/3p4/8/8/8/7Q/4K3 w - - 0 1");
  MoveRecord qe5 = hang.Move("h2", "e5");
  EXPECT_EQ(StripMarkupGroups(DescribeMoveFault(&hang.board, &qe5)), "This leaves the white queen hanging. ");
}

TEST_F(English, IllegalMovesInWords) {
  Position pin("4r1k1/8/8/8/8/8/4N3/4K3 w - - 0 1");
  EXPECT_EQ(StripMarkupGroups(ExplainIllegalMove(&pin.board, WHITE, Sq("e2"), Sq("c3"))),
            "That piece is pinned: moving it would expose your king to the attack shown by the arrow.");
  Position block("4k3/8/8/8/8/8/P7/R3K3 w - - 0 1");
  EXPECT_EQ(StripMarkupGroups(ExplainIllegalMove(&block.board, WHITE, Sq("a1"), Sq("a5"))),
            "The way is blocked by the white pawn on a2.");
}

TEST_F(English, AdviceOnTheItalianOpening) {
  // 1. e4 e5 2. Nf3 Nc6 3. Bc4 Nf6: advice 4. Ng5, attacking f7.
  Position p("r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4");
  MoveRecord line[1] = {p.Move("f3", "g5")};
  std::string text = StripMarkupGroups(ExplainLine(&p.board, WHITE, line, 1));
  EXPECT_EQ(text.rfind("Coach: Knight to g5.", 0), 0u) << text;
  EXPECT_TRUE(
      Has(text, "Here is the idea: Play the knight to g5, which rescues the white pawn on e4 from attack"))
      << text;
}

int Keep(int, const std::string& text, void* context) {
  static_cast<std::vector<std::string>*>(context)->push_back(text);
  return 0;
}

TEST_F(English, ScholarsMateAnnotated) {
  // 1. e4 e5 2. Bc4 Nc6 3. Qh5 Nf6?? 4. Qxf7#
  Position start("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  const char* moves[7][2] = {{"e2", "e4"}, {"e7", "e5"}, {"f1", "c4"}, {"b8", "c6"},
                             {"d1", "h5"}, {"g8", "f6"}, {"h5", "f7"}};
  const int scores[8] = {30, -30, 35, -35, 20, -20, 10000, 0};
  std::vector<MoveRecord> line;
  std::vector<MoveAnalysis> analysis(8);
  for (int i = 0; i < 7; ++i) {
    MoveRecord m{};
    m.from = static_cast<uint8_t>(Sq(moves[i][0]));
    m.to = static_cast<uint8_t>(Sq(moves[i][1]));
    line.push_back(m);
  }
  for (int i = 0; i < 8; ++i) {
    analysis[i].score = static_cast<int16_t>(scores[i]);
    analysis[i].lineLength = i < 7 ? 1 : 0;
    if (i < 7) analysis[i].line[0] = line[i];
  }
  // Black's best was 3... g6; Nf6 walks into mate.
  analysis[5].line[0].from = static_cast<uint8_t>(Sq("g7"));
  analysis[5].line[0].to = static_cast<uint8_t>(Sq("g6"));
  analysis[6].score = 9999;
  analysis[6].lineLength = 1;
  std::vector<std::string> comments;
  AnnotateGameArgs args;
  args.board = &start.board;
  args.moves = line.data();
  args.count = 7;
  args.analysis = analysis.data();
  args.comment = Keep;
  args.summaryNumber = 5;
  args.winner = WHITE;
  args.context = &comments;
  AnnotateGame(args);
  ASSERT_EQ(comments.size(), 8u);
  const std::string black = StripMarkupGroups(comments[5]);
  EXPECT_TRUE(Has(black, "This walks into a forced mate.")) << black;
  EXPECT_TRUE(Has(black, "pawn to g6")) << black;
  const std::string mate = StripMarkupGroups(comments[6]);
  EXPECT_TRUE(Has(mate, "Queen takes f7 checkmate.")) << mate;
  EXPECT_TRUE(Has(mate, "White wins by checkmate.")) << mate;
  EXPECT_TRUE(Has(comments[7], "Good moves: 4 / 2")) << comments[7];
}

}  // namespace
