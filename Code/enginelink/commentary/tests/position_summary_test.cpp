#include "position_summary.h"

#include <gtest/gtest.h>

#include <vector>

#include "markup.h"
#include "test_positions.h"

namespace {

PositionSummary Summary(const char* fen) {
  Position p(fen);
  PositionSummary s;
  SummarizePosition(&p.board, &s);
  return s;
}

TEST(PositionSummary, MaterialAndEndings) {
  PositionSummary bare = Summary("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(bare.material[0], 0);
  EXPECT_EQ(bare.material[1], 0);
  EXPECT_EQ(bare.insufficientMaterial, 1);
  EXPECT_EQ(bare.basicMate, 0);
  EXPECT_EQ(bare.kingDistance, 7);
  EXPECT_EQ(bare.kingCentrality[1], 3 + 0) << "e1: three rows from the centre, the e-file is central";

  PositionSummary kr = Summary("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
  EXPECT_EQ(kr.basicMate, 1);
  EXPECT_EQ(kr.weakerSide, BLACK);
  EXPECT_EQ(kr.material[1], 5);
  PositionSummary krBlack = Summary("r3k3/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(krBlack.basicMate, 1);
  EXPECT_EQ(krBlack.weakerSide, WHITE);
  PositionSummary kbk = Summary("4k3/8/8/8/8/8/8/2B1K3 w - - 0 1");
  EXPECT_EQ(kbk.basicMate, 0);
  EXPECT_EQ(kbk.insufficientMaterial, 1);

  PositionSummary start = Summary("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(start.material[0], 39);
  EXPECT_EQ(start.material[1], 39);
  EXPECT_EQ(start.pawnCount[1], 8);
  EXPECT_EQ(start.pieceCounts[1][KNIGHT], 2);
  EXPECT_EQ(start.pieceCounts[1][KING], 0);
  EXPECT_EQ(start.pawnScore[0], start.pawnScore[1]) << "mirrored positions score alike";
  EXPECT_EQ(start.activity[0], start.activity[1]);
}

TEST(PositionSummary, PawnScores) {
  struct Case {
    const char* fen;
    int white;
  } cases[] = {
      // Doubled isolated a-pawns (not passed: the b7 pawn guards the way): -68 each.
      {"4k3/1p6/8/8/8/P7/P7/4K3 w - - 0 1", -136},
      // A single isolated a-pawn: -20.
      {"4k3/1p6/8/8/8/8/P7/4K3 w - - 0 1", -20},
  };
  (void)cases;
  for (int i = 0; i < 2; ++i) {
    PositionSummary s = Summary(cases[i].fen);
    EXPECT_EQ(s.pawnScore[1], cases[i].white) << cases[i].fen;
  }
  // A passed d-pawn on d2 that is isolated: passed rank score[1] 0 + (1 + 2) * 5 - 20.
  EXPECT_EQ(Summary("4k3/8/8/8/8/8/3P4/4K3 w - - 0 1").pawnScore[1], 15 - 20);
  // A doubled, not isolated pawn pays 8: c2, c3 and d2.
  // c2: neighbour d2 +6; k=1: 0 + 3*2 = 6; -8 => 4. c3: diagonal behind d2 +3; k=2: 0 + 4*2 = 8; -8 => 3.
  // d2: neighbour c2 +6; diagonal ahead c3 +3; k=1: 0 + 3*5 = 15 => 24.  Passed pawns: no black pawns, so the
  // passed table applies: c2 k=1 -> 0, c3 k=2 -> 10, d2 k=1 -> 0.
  EXPECT_EQ(Summary("4k3/8/8/8/8/2P5/2PP4/4K3 w - - 0 1").pawnScore[1], 4 + (3 + 10) + 24);
}

TEST(PositionSummary, PawnMarkupShowsThePawnsOfOneSide) {
  Position p("4k3/8/8/8/8/8/P2P4/4K3 w - - 0 1");
  ResetMarkupDirty();
  std::string markup;
  DescribePawnStructure(&p.board, WHITE, 1, &markup);
  EXPECT_NE(markup.find("{G:WPa2}"), std::string::npos);
  EXPECT_NE(markup.find("{H:b2}"), std::string::npos) << "the isolated a-pawn's neighbour square";
  EXPECT_NE(markup.find("{H:d3d4d5d6d7d8}"), std::string::npos) << "the passed d-pawn's way";
  DescribePawnStructure(&p.board, BLACK, 1, &markup);
  EXPECT_EQ(markup, "");
}

TEST(PositionSummary, CompareMaterialCountsTradesAndPromotions) {
  PositionSummary before{}, after{};
  before.pieceCounts[1][KNIGHT] = 1;
  before.pieceCounts[0][BISHOP] = 1;
  before.pieceCounts[0][PAWN] = 1;
  before.material[1] = 3 + 10;
  before.material[0] = 4 + 10;
  after = before;
  after.pieceCounts[1][KNIGHT] = 0;
  after.pieceCounts[0][BISHOP] = 0;
  after.pieceCounts[0][PAWN] = 0;
  after.material[1] = 10;
  after.material[0] = 10;
  MaterialChange change;
  Board unused{};
  CompareMaterial(&unused, &before, &after, nullptr, 0, WHITE, WHITE, &change);
  EXPECT_EQ(change.lost[1][KNIGHT], 1);
  EXPECT_EQ(change.lost[0][BISHOP], 1);
  EXPECT_EQ(change.trade, 0) << "White is not 3 points ahead afterwards";

  // A promotion: the pawn that became a queen is not counted as lost.
  Position p("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  SummarizePosition(&p.board, &before);
  MoveRecord promote = p.Move("a7", "a8", 1);
  Board b = p.board;
  MakeMove(&promote, &b);
  SummarizePosition(&b, &after);
  CompareMaterial(&p.board, &before, &after, &promote, 1, WHITE, WHITE, &change);
  EXPECT_EQ(change.lost[1][PAWN], 0);
  EXPECT_EQ(change.gained[1][QUEEN], 1);
}

TEST(PositionSummary, ThresholdsBelongToTheThread) {
  SetAnnotatorThresholds(70, 0, 0);
  AnnotatorThresholds t = GetAnnotatorThresholds();
  EXPECT_EQ(t.slightly, 70);
  EXPECT_EQ(t.better, 135);
  EXPECT_EQ(t.much, 450);
  SetAnnotatorThresholds(65, 135, 450);
}

}  // namespace
