#include "tactical_map.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_positions.h"

namespace {

TEST(TacticalGeometry, DirectionsAndSquares) {
  EXPECT_EQ(DirectionBetween(Sq("e4"), Sq("e4")), 2) << "zero counts as a rightward step";
  EXPECT_EQ(DirectionBetween(Sq("a1"), Sq("b3")), 0);
  EXPECT_EQ(DirectionBetween(Sq("e1"), Sq("e8")), 1);
  EXPECT_EQ(DirectionBetween(Sq("a1"), Sq("h8")), 5);
  EXPECT_EQ(StepsBetween(Sq("a1"), Sq("h8"), 5), 7);
  EXPECT_EQ(IsOnHomeSquare(WHITE | KNIGHT, Sq("g1")), 1);
  EXPECT_EQ(IsOnHomeSquare(BLACK | KING, Sq("e8")), 1);
  EXPECT_EQ(IsOnHomeSquare(BLACK | PAWN, Sq("e2")), 0);
  EXPECT_EQ(IsOnHomeSquare(40, Sq("e2")), 0);
  EXPECT_EQ(IsCornerSquare(Sq("h8")), 1);
  EXPECT_EQ(IsEdgeSquare(Sq("d4")), 0);
}

TEST(TacticalMap, CaptureRatings) {
  struct Case {
    const char* fen;
    const char* from;
    const char* to;
    int rating;
  } cases[] = {
      {"4k3/8/8/8/8/4p3/3p4/4K3 w - - 0 1", "e1", "d2", RATE_LOSES},  // a king takes a defended pawn
      {"4k3/8/8/8/8/8/3p4/4K3 w - - 0 1", "e1", "d2", RATE_UNANSWERED},
      {"4k3/2p5/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5", "d6", RATE_EVEN},  // en passant rates as a pawn capture
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5", "d6", RATE_UNANSWERED},
      {"3rk3/8/8/8/8/8/3Q4/4K3 w - - 0 1", "d2", "d8", RATE_LOSES},
      {"3rk3/8/8/8/8/8/3R4/4K3 w - - 0 1", "d2", "d8", RATE_EVEN},
      {"3qk3/8/8/8/8/8/3R4/4K3 w - - 0 1", "d2", "d8", RATE_WINS},
  };
  for (const Case& c : cases) {
    Position p(c.fen);
    // Ratings are taken of pseudo-legal captures too (the king's capture of a
    // defended pawn is not legal).
    MoveRecord m{};
    m.from = static_cast<uint8_t>(Sq(c.from));
    m.to = static_cast<uint8_t>(Sq(c.to));
    m.flags = MOVE_CAPTURE | (p.board[m.to] ? 0 : MOVE_EN_PASSANT);
    EXPECT_EQ(RateCapture(&p.board, &m), c.rating) << c.fen;
  }
  // Capturing a king always rates 1 (pseudo-legal: Black has just left it in check).
  Position p("4k3/8/8/8/8/8/4Q3/4K3 w - - 0 1");
  MoveRecord take{};
  take.from = static_cast<uint8_t>(Sq("e2"));
  take.to = static_cast<uint8_t>(Sq("e8"));
  take.flags = MOVE_CAPTURE;
  EXPECT_EQ(RateCapture(&p.board, &take), RATE_UNANSWERED);
}

TEST(TacticalMap, PinsOfARookAndABishopOnAFile) {
  Position rook("4r1k1/8/8/8/8/8/4R3/4K3 w - - 0 1");
  SquareAnalysisMap map;
  BuildFullAnalysisMap(&rook.board, WHITE, &map);
  EXPECT_TRUE(map.sq[Sq("e2")].flags & AF_PINNED);
  EXPECT_TRUE(map.sq[Sq("e2")].flags & AF_HAS_FREE_MOVE) << "it can move along the pin";
  EXPECT_EQ(map.sq[Sq("e2")].pinner, Sq("e8"));
  EXPECT_EQ(map.sq[Sq("e2")].exposed, Sq("e1"));

  Position bishop("4r1k1/8/8/8/8/8/4B3/4K3 w - - 0 1");
  BuildFullAnalysisMap(&bishop.board, WHITE, &map);
  EXPECT_TRUE(map.sq[Sq("e2")].flags & AF_PINNED);
  EXPECT_FALSE(map.sq[Sq("e2")].flags & AF_HAS_FREE_MOVE);
}

TEST(TacticalMap, HangingPiecesAndEscapes) {
  // The black knight on c6 is attacked by the bishop and defended by nothing.
  Position p("4k3/8/2n5/8/4B3/8/8/4K3 b - - 0 1");
  SquareAnalysisMap map;
  BuildFullAnalysisMap(&p.board, BLACK, &map);
  EXPECT_TRUE(map.sq[Sq("c6")].flags & AF_CAPTURABLE);
  EXPECT_EQ(map.sq[Sq("c6")].attacker, Sq("e4"));
  EXPECT_TRUE(map.sq[Sq("c6")].flags & AF_ATTACKED);
  // A defended knight is attacked but not capturable with profit.
  Position d("4k3/1p6/2n5/8/4B3/8/8/4K3 b - - 0 1");
  BuildFullAnalysisMap(&d.board, BLACK, &map);
  EXPECT_FALSE(map.sq[Sq("c6")].flags & AF_CAPTURABLE);
  EXPECT_TRUE(map.sq[Sq("c6")].flags & AF_ATTACKED);
}

TEST(TacticalMap, PawnsPassedIsolatedPromotable) {
  SquareAnalysisMap map;
  Position justMoved("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
  ClearAnalysisMap(&map);
  MarkPassedPawns(&justMoved.board, &map);
  EXPECT_FALSE(map.sq[Sq("e4")].flags & AF_PASSED) << "the pawn beside it can take en passant";
  Position later("4k3/8/8/8/3pP3/8/8/4K3 w - - 0 1");
  ClearAnalysisMap(&map);
  MarkPassedPawns(&later.board, &map);
  EXPECT_TRUE(map.sq[Sq("e4")].flags & AF_PASSED);
  EXPECT_TRUE(map.sq[Sq("d4")].flags & AF_PASSED);

  struct Case {
    const char* fen;
    bool promotable;
  } cases[] = {
      {"3nr2k/4P3/8/8/8/8/8/K7 w - - 0 1", true},  {"4rn1k/4P3/8/8/8/8/8/K7 w - - 0 1", true},
      {"4r2k/4P3/8/8/8/8/8/K7 w - - 0 1", false},  {"7k/4P3/8/8/8/8/8/K7 w - - 0 1", true},
      {"3N3k/4P3/8/8/8/8/8/K4R2 w - - 0 1", true},
  };
  for (const Case& c : cases) {
    Position p(c.fen);
    ClearAnalysisMap(&map);
    MarkPromotablePawns(&p.board, &map);
    EXPECT_EQ((map.sq[Sq("e7")].flags & AF_PROMOTABLE) != 0, c.promotable) << c.fen;
  }
  Position iso("4k3/8/8/8/8/P7/PP6/4K3 w - - 0 1");
  ClearAnalysisMap(&map);
  MarkIsolatedPawns(&iso.board, &map);
  EXPECT_FALSE(map.sq[Sq("a2")].flags & AF_ISOLATED);
  Position iso2("4k3/8/8/8/8/P7/P2P4/4K3 w - - 0 1");
  ClearAnalysisMap(&map);
  MarkIsolatedPawns(&iso2.board, &map);
  EXPECT_TRUE(map.sq[Sq("a2")].flags & AF_ISOLATED);
  EXPECT_TRUE(map.sq[Sq("d2")].flags & AF_ISOLATED);
}

MoveFeatures Features(const Position& p, const MoveRecord& m, SquareAnalysisMap* after = nullptr) {
  Board b = p.board;
  SquareAnalysisMap before, scratch;
  BuildFullAnalysisMap(&b, p.side, &before);
  MoveFeatures f = EmptyMoveFeatures();
  AnalyzeMoveFeatures(&b, &m, &before, after ? after : &scratch, &f);
  EXPECT_EQ(std::memcmp(&b, &p.board, sizeof b), 0) << "the board is unchanged afterwards";
  return f;
}

TEST(MoveFeatures, AMateFillsOnlyGivesMate) {
  Position p("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
  MoveFeatures f = Features(p, p.Move("a1", "a8"));
  EXPECT_EQ(f.givesMate, 1);
  EXPECT_EQ(f.threatTargetCount, 0);
  EXPECT_EQ(f.takesOpenFile, 0);
  EXPECT_EQ(f.promotionThreat, NO_SQUARE);
  Board b = p.board;
  MoveRecord m = p.Move("a1", "a8");
  SquareAnalysisMap before, after;
  BuildFullAnalysisMap(&b, WHITE, &before);
  MoveFeatures g = EmptyMoveFeatures();
  EXPECT_EQ(AnalyzeMoveFeatures(&b, &m, &before, &after, &g), 1);
}

TEST(MoveFeatures, KnightForkThreatensKingAndRook) {
  Position p("r3k3/8/8/1N6/8/8/8/4K3 w - - 0 1");
  MoveFeatures f = Features(p, p.Move("b5", "c7"));
  ASSERT_EQ(f.threatTargetCount, 2);
  EXPECT_EQ(f.threatTargets[0], Sq("a8"));
  EXPECT_EQ(f.threatTargets[1], Sq("e8"));
  EXPECT_EQ(f.discoveredCheck, 0);
  EXPECT_EQ(f.hanging.count, 0);
}

TEST(MoveFeatures, PinsHangingPiecesAndOpenFiles) {
  // Bb5 pins the knight on c6 to the king on e8.
  Position pin("4k3/8/2n5/8/8/8/8/3BK3 w - - 0 1");
  MoveFeatures f = Features(pin, pin.Move("d1", "b3"));
  EXPECT_EQ(f.newPins.count, 0);
  Position pin2("4k3/8/2n5/8/8/8/4B3/4K3 w - - 0 1");
  f = Features(pin2, pin2.Move("e2", "b5"));
  ASSERT_EQ(f.newPins.count, 1);
  EXPECT_EQ(f.newPins.squares[0], Sq("c6"));
  EXPECT_EQ(f.newPins.pinnedBy[0], Sq("b5"));
  EXPECT_EQ(f.newPins.shielding[0], Sq("e8"));

  // A queen to a square the pawn attacks is left hanging.
  Position hang("4k3/8/3p4/8/8/8/7Q/4K3 w - - 0 1");
  f = Features(hang, hang.Move("h2", "e5"));
  ASSERT_EQ(f.hanging.count, 1);
  EXPECT_EQ(f.hanging.squares[0], Sq("e5"));

  Position open("6k1/pppp1ppp/8/8/8/8/PPPP1PPP/3R2K1 w - - 0 1");
  EXPECT_EQ(Features(open, open.Move("d1", "e1")).takesOpenFile, 1);
  Position twoOpen("6k1/ppp3pp/8/8/8/8/PPP3PP/3R2K1 w - - 0 1");
  EXPECT_EQ(Features(twoOpen, twoOpen.Move("d1", "e1")).takesOpenFile, 0);
}

}  // namespace
