#include "composer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "selectable_messages.h"
#include "test_positions.h"

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Collected {
  std::vector<std::pair<int, std::string>> comments;
  int cancelAfter = -1;  // cancel once this many comments came
};

int Collect(int number, const std::string& text, void* context) {
  static_cast<Collected*>(context)->comments.emplace_back(number, text);
  return number;
}
int CancelWhenAsked(void* context) {
  Collected* c = static_cast<Collected*>(context);
  return c->cancelAfter >= 0 && static_cast<int>(c->comments.size()) >= c->cancelAfter;
}

// A stretch of moves from a FEN, each analysed with the given score and the
// engine's first move equal to the played one unless `engine` says otherwise.
struct Stretch {
  Position start;
  std::vector<MoveRecord> moves;
  std::vector<MoveAnalysis> analysis;
  explicit Stretch(const char* fen) : start(fen) {}
  void Add(const char* from, const char* to, int score, const char* engineFrom = nullptr,
           const char* engineTo = nullptr) {
    MoveRecord m{};
    m.from = static_cast<uint8_t>(Sq(from));
    m.to = static_cast<uint8_t>(Sq(to));
    moves.push_back(m);
    MoveAnalysis a{};
    a.score = static_cast<int16_t>(score);
    a.line[0] = m;
    if (engineFrom) {
      a.line[0].from = static_cast<uint8_t>(Sq(engineFrom));
      a.line[0].to = static_cast<uint8_t>(Sq(engineTo));
    }
    a.lineLength = 1;
    analysis.push_back(a);
  }
  Collected Run(int winner = -1, int cancelAfter = -1, AnnotationStats* stats = nullptr) {
    std::vector<MoveAnalysis> records = analysis;
    records.push_back(MoveAnalysis{});  // the stretch ends the game
    Collected out;
    out.cancelAfter = cancelAfter;
    AnnotateGameArgs args;
    args.board = &start.board;
    args.side = start.side;
    args.moves = moves.data();
    args.count = static_cast<int>(moves.size());
    args.firstMoveNumber = 10;
    args.analysis = records.data();
    args.comment = Collect;
    args.summaryNumber = 5;
    args.winner = winner;
    args.cancel = CancelWhenAsked;
    args.context = &out;
    args.stats = stats;
    AnnotateGame(args);
    return out;
  }
};

class Composer : public ::testing::Test {
 protected:
  FixturePhrasebook book;
  PhrasebookScope scope{&book};
};

TEST_F(Composer, EngineMovesOnlyGetGoodMoveComments) {
  Stretch s("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  s.Add("e2", "e4", 20);
  s.Add("e7", "e5", -20);
  s.Add("g1", "f3", 25);
  s.Add("b8", "c6", -25);
  AnnotationStats stats[2];
  Collected c = s.Run(-1, -1, stats);
  ASSERT_EQ(c.comments.size(), 5u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(c.comments[i].first, 10 + i);
    EXPECT_FALSE(Has(c.comments[i].second, "[151/")) << c.comments[i].second;
    EXPECT_FALSE(Has(c.comments[i].second, "[83/")) << c.comments[i].second;
  }
  EXPECT_TRUE(Has(c.comments[3].second, "[82/1/0")) << "no result";
  EXPECT_EQ(c.comments[4].first, -1);
  EXPECT_EQ(stats[1].goodMoves, 2);
  EXPECT_EQ(stats[0].goodMoves, 2);
  EXPECT_EQ(stats[1].worstMove, -1);
  EXPECT_EQ(stats[1].story, 0);
  EXPECT_EQ(stats[1].goodPercentage, 100);
}

TEST_F(Composer, BadMovesAreJudgedAndTheWorstIsNamed) {
  // 2. Qh5?? hangs nothing here but loses 3 pawns by the scores given.
  Stretch s("rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2");
  s.Add("d1", "h5", 30, "g1", "f3");
  s.Add("b8", "c6", 280);  // Black is now 2.80 up: White lost 3.10
  s.Add("h5", "f7", -280);
  AnnotationStats stats[2];
  Collected c = s.Run(BLACK, -1, stats);
  ASSERT_GE(c.comments.size(), 4u);
  const std::string& first = c.comments[0].second;
  EXPECT_TRUE(Has(first, "[151/1/0")) << first;  // severity 1: worse than "better", not "much"
  EXPECT_TRUE(Has(first, "[83/17/")) << "White's only mistake: " << first;
  EXPECT_EQ(stats[1].badMoves, 1) << "the last move has no next score and counts as good";
  EXPECT_EQ(stats[1].mistakes, 1);
  EXPECT_EQ(stats[1].worstMove, 0);
  EXPECT_EQ(stats[1].worstLoss, 310);
  EXPECT_TRUE(Has(c.comments[2].second, "[82/4/0")) << c.comments[2].second;
}

TEST_F(Composer, ALosingPositionRecordsNoLoss) {
  Stretch s("rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2");
  s.Add("d1", "h5", -500, "g1", "f3");
  s.Add("b8", "c6", 700);
  s.Add("h5", "f7", -700);
  AnnotationStats stats[2];
  Collected c = s.Run(-1, -1, stats);
  EXPECT_TRUE(Has(c.comments[0].second, "[151/1/0")) << "still judged bad: " << c.comments[0].second;
  EXPECT_EQ(stats[1].badMoves, 1);
  EXPECT_EQ(stats[1].mistakes, 0);
  EXPECT_EQ(stats[1].worstMove, -1);
  EXPECT_EQ(stats[1].totalRecordedLoss, 0);
  EXPECT_EQ(stats[1].totalLoss, 200);
}

TEST_F(Composer, MateAnnouncementsCountOnAfterTheFirst) {
  // Two white moves in a row of a long mating line: 78 with N, then N + 100.
  Stretch s("7k/8/5K2/8/8/8/8/R7 w - - 0 1");
  s.Add("a1", "a2", 9990);
  s.analysis.back().lineLength = 7;
  s.Add("h8", "g8", -9991);
  s.analysis.back().lineLength = 6;
  s.Add("a2", "a3", 9992);
  s.analysis.back().lineLength = 5;
  s.Add("g8", "h8", -9993);
  s.analysis.back().lineLength = 4;
  Collected c = s.Run(-1);
  ASSERT_GE(c.comments.size(), 3u);
  EXPECT_TRUE(Has(c.comments[0].second, "[78/16/3:3")) << c.comments[0].second;
  EXPECT_TRUE(Has(c.comments[2].second, "[78/16/102:2")) << c.comments[2].second;
}

TEST_F(Composer, CancelSends141WithTheFollowingNumberAndTheSummary) {
  for (int after : {1, 2}) {
    Stretch s("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    s.Add("e2", "e4", 20);
    s.Add("e7", "e5", -20);
    Collected c = s.Run(-1, after);
    ASSERT_EQ(c.comments.size(), static_cast<size_t>(after + 2)) << after;
    EXPECT_EQ(c.comments[after].first, 10 + after);
    EXPECT_EQ(c.comments[after].second, "[141/0/0:|||]");
    const std::string& summary = c.comments.back().second;
    EXPECT_EQ(c.comments.back().first, -1);
    EXPECT_EQ(summary.rfind("[150/0/0:5", 0), 0u) << summary;
    for (int row = 0; row <= 8; ++row)
      EXPECT_TRUE(Has(summary, "[184/" + std::to_string(row) + "/0:")) << row << summary;
  }
}

TEST_F(Composer, UnanalysedMovesGetTheBookSentence) {
  Stretch s("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  s.Add("e2", "e4", 0);
  s.analysis.back().lineLength = -1;
  s.Add("e7", "e5", -20);
  AnnotationStats stats[2];
  Collected c = s.Run(-1, -1, stats);
  EXPECT_TRUE(Has(c.comments[0].second, "[132/0/0")) << c.comments[0].second;
  EXPECT_EQ(stats[1].unanalysedMoves, 1);
}

}  // namespace
