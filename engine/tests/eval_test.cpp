// Evaluation, pawn structure and the exchange tables.
#include "attack.h"
#include "pawn.h"
#include "test_util.h"

namespace corvane {
namespace {

int Eval(const char* fen, const i32* params = nullptr) {
  SetUpEngine(fen, params);
  int lo, hi;
  Board(0).scanned = 0;
  return EvalFull(Board(0), &lo, &hi);
}

TEST(EngineEval, PercentagesBecomeWeights) {
  i32 p[kParamCount];
  DefaultParams(p);
  OptsXlat(p);
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(g_weights[i], 1024) << i;
    EXPECT_EQ(g_weights[kWSide + i], 1024) << i;
  }
  EXPECT_EQ(PercentWeight(150), 1536);
  EXPECT_EQ(PercentWeight(100), 1024);
  EXPECT_EQ(PercentWeight(1), 10);  // (1024 + 50) / 100
  p[kPMyp] = 150;
  OptsXlat(p);
  EXPECT_EQ(g_weights[kWPawn], 1536);
  EXPECT_EQ(g_weights[kWSide + kWPawn], 1024);
  EXPECT_EQ(g_weights[kWNoise], 0);
  p[kPSop] = 90;
  OptsXlat(p);
  EXPECT_EQ(g_weights[kWNoise], 35);
  p[kPSop] = 0;
  OptsXlat(p);
  EXPECT_EQ(g_weights[kWNoise], 5300);
}

TEST(EngineEval, HostValuesThatWouldBreakTheEngineAreClamped) {
  i32 p[kParamCount];
  DefaultParams(p);
  p[kPSop] = 250;  // negative noise range: a modulo by zero or less
  p[kPRnd] = -1;   // root bonus modulo rnd + 1 = 0
  p[kPMd] = -3;    // no ply could be searched
  p[kPMyq] = 2000000000;
  p[kPSel] = -40;
  OptsXlat(p);
  EXPECT_EQ(g_weights[kWNoise], 0);
  EXPECT_EQ(g_weights[kWRnd], 0);
  EXPECT_EQ(g_weights[kWMd], 1);
  EXPECT_EQ(g_weights[kWQueen], PercentWeight(1000));
  EXPECT_EQ(g_weights[kWSel], 0);
  SetUpEngine("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", p);
  int lo, hi;
  EvalFast(Board(0), &lo, &hi);
}

TEST(EngineEval, MirroredPositionsEvaluateAlike) {
  const char* fens[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
      "2r3k1/5pp1/p3p2p/1p1bP3/3P4/P4N2/1P3PPP/2R3K1 w - - 0 28",
      "8/5pk1/6p1/8/3P4/6P1/5PK1/8 w - - 0 45",
      "r2q1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2Q1RK1 b - - 0 10",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
      "6k1/5p2/6p1/8/7P/8/5PK1/3R4 b - - 0 40",
  };
  for (const char* fen : fens) {
    int a = Eval(fen);
    std::string m = MirrorFen(fen);
    int b = Eval(m.c_str());
    EXPECT_EQ(a, b) << fen << " / " << m;
  }
}

TEST(EngineEval, FiftyMoveDampingAndClamp) {
  // A rook up: damped to nothing at a fifty counter of 100.
  EXPECT_EQ(Eval("4k3/8/8/8/8/8/8/R3K3 w - - 100 80"), 0);
  EXPECT_NE(Eval("4k3/8/8/8/8/8/8/R3K3 w - - 0 80"), 0);
  // A queen and rooks up: clamped below the mate range.
  int big = Eval("4k3/8/8/8/8/8/8/RRQQK3 w - - 0 80");
  EXPECT_LE(big, 7900);
  EXPECT_GT(big, 2000);
}

TEST(EngineEval, LoneMinorPieceCannotWin) {
  int lo, hi;
  SetUpEngine("4k3/8/8/8/8/8/8/2N1K3 w - - 0 1");
  EXPECT_EQ(EvalFull(Board(0), &lo, &hi), 0);
  SetUpEngine("4k3/8/8/8/8/8/8/2B1K3 b - - 0 1");
  EXPECT_EQ(EvalFast(Board(0), &lo, &hi), 0);
}

TEST(EngineEval, ContemptFavoursTheRootSide) {
  i32 p[kParamCount];
  DefaultParams(p);
  int base = Eval("4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1", p);
  p[kPCfd] = 50;
  int with = Eval("4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1", p);
  EXPECT_GT(with, base);
  int withBlack = Eval("4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 b - - 0 1", p);
  p[kPCfd] = 0;
  int baseBlack = Eval("4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 b - - 0 1", p);
  EXPECT_GT(withBlack, baseBlack);
}

TEST(EngineEval, ContemptTakesTheHostsWholeRange) {
  // The host may send cfd up to +-4000: the weight keeps it, and more contempt
  // gives more (a clamp at 1000 made 1000 and 3000 alike).
  const struct {
    i32 cfd, weight;
  } cases[] = {{4000, 4000}, {-4000, -4000}, {3000, 3000}, {5000, 4000}, {-9000, -4000}};
  i32 p[kParamCount];
  DefaultParams(p);
  for (const auto& c : cases) {
    p[kPCfd] = c.cfd;
    OptsXlat(p);
    EXPECT_EQ(g_weights[kWCfd], c.weight) << c.cfd;
  }
  const char* fen = "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1";
  p[kPCfd] = 1000;
  int some = Eval(fen, p);
  p[kPCfd] = 3000;
  int more = Eval(fen, p);
  p[kPCfd] = -3000;
  int against = Eval(fen, p);
  EXPECT_GT(more, some);
  EXPECT_LT(against, some);
  EXPECT_LE(more, 7900);
}

TEST(EngineEval, PhaseCacheMatchesTheWholeKey) {
  SetUpEngine("r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4");
  Phase cached = GetPhase(Board(0));
  // Another position whose first key half collides: queens, rooks and knights
  // gone from the material, so that it counts as an ending.
  SearchBoard other = Board(0);
  for (int side = 0; side < 2; ++side) other.sig[side] -= (1 << 16) + (2 << 12) + (2 << 4);
  other.key2 ^= 0x5A5A5A5Au;
  Phase ph = GetPhase(other);
  EXPECT_GT(ph.phi2, 0);
  EXPECT_FALSE(ph.phi0 == cached.phi0 && ph.phi1 == cached.phi1 && ph.phi2 == cached.phi2);
  EXPECT_EQ(ph.phi0 + ph.phi1 + ph.phi2, 256);
  // And the real position still finds its own phase.
  Phase again = GetPhase(Board(0));
  EXPECT_EQ(again.phi1, cached.phi1);
  EXPECT_EQ(again.phi2, cached.phi2);
}

struct DoubledCase {
  const char* fen;
  int doubled;
};

TEST(EnginePawns, DoubledPawnCosts) {
  const DoubledCase cases[] = {
      {"4k3/8/8/8/8/5P2/4PPP1/4K3 w - - 0 1", 0},  // f-pawns with e and g neighbours
      {"4k3/8/8/8/8/5P2/5P2/4K3 w - - 0 1", 19},   // no neighbours
      {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", 34},     // on the a-file
      {"4k3/8/8/8/8/5P2/4PP2/4K3 w - - 0 1", 13},  // one neighbouring file
  };
  for (const auto& c : cases) {
    SetUpEngine(c.fen);
    const PawnEntry& e = PawnEntryFor(Board(0), false);
    EXPECT_EQ(e.doubled[0], c.doubled) << c.fen;
  }
  // The static score carries the doubled cost through the structure weight.
  SetUpEngine("4k3/8/8/8/8/5P2/5P2/4K3 w - - 0 1");
  const PawnEntry& e = PawnEntryFor(Board(0), false);
  EXPECT_EQ(e.score[0], -3 - 3 - ((1024 * 19 + 512) >> 10));
}

TEST(EnginePawns, PassedPawnAndCache) {
  SetUpEngine("4k3/p6p/8/3P4/8/8/8/4K3 w - - 0 1");
  const PawnEntry& e = PawnEntryFor(Board(0), true);
  EXPECT_TRUE(e.flags[0] & 8);  // d5 passed
  SetUpEngine("4k3/p1p4p/8/3P4/8/8/8/4K3 w - - 0 1");
  EXPECT_FALSE(PawnEntryFor(Board(0), true).flags[0] & 8);  // c7 stands ahead on a neighbouring file
  // Cached and uncached results agree.
  const char* fens[] = {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
                        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
                        "8/5pk1/6p1/8/3P4/6P1/5PK1/8 w - - 0 45"};
  for (const char* fen : fens) {
    SetUpEngine(fen);
    EnsureScanned(Board(0));
    EXPECT_EQ(EvalPawnBoth(Board(0), 200, nullptr, nullptr), 0) << fen;
  }
  // An unstoppable passer in a pawn ending.
  SetUpEngine("8/8/1P6/8/8/8/6k1/K7 w - - 0 1");
  EnsureScanned(Board(0));
  EXPECT_EQ(XPawn(Board(0), 0), 480);
}

TEST(EnginePawns, RaceDoesNotDependOnThePawnsListOrder) {
  // Two white passers promote equally fast; only the one on a8 sees the black
  // king (a8-d5), which slows Black's d-pawn and wins the race term.  The list
  // order of the pawns follows the moves played, so it must not pick.
  SetUpEngine("8/8/P6P/3k4/8/3p4/8/7K w - - 0 1");
  EnsureScanned(Board(0));
  int asRead = XPawn(Board(0), 0);
  u8* l = Board(0).list[kWP & 15];
  std::swap(l[0], l[1]);
  int swapped = XPawn(Board(0), 0);
  EXPECT_EQ(asRead, swapped);
  EXPECT_EQ(asRead, 400);
}

TEST(EngineAttacks, ExchangeTable) {
  InitAttackTables();
  // Two white rooks on a file: beyond the front rook both count.
  SetUpEngine("4k3/8/8/8/R7/8/8/R3K3 w - - 0 1");
  EnsureScanned(Board(0));
  EXPECT_EQ(AttackMap(Board(0), 0)[SqNum(0, 5)], 8);
  // A rook behind a queen adds only 1 beyond the queen.
  SetUpEngine("7k/8/8/8/Q7/8/8/R3K3 w - - 0 1");
  EnsureScanned(Board(0));
  EXPECT_EQ(AttackMap(Board(0), 0)[SqNum(0, 5)], 2 + 1);
  // Outcomes (bits by value class: pawn 6-7, minor 4-5, rook 2-3, queen 0-1).
  auto outcome = [](u8 attackers, u8 defenders, int pieceIndex) {
    return Outcome(g_exchange[g_attClass[attackers]][g_attClass[defenders]], pieceIndex);
  };
  EXPECT_EQ(outcome(1, 16, 3), 2);   // attacked only by the king, defended once: safe
  EXPECT_EQ(outcome(64, 16, 2), 0);  // knight attacked by a pawn: lost
  EXPECT_EQ(outcome(64, 80, 2), 0);  // ... whatever defends it
  EXPECT_EQ(outcome(4, 4, 6), 1);    // rook attacked by a rook and defended: even
  EXPECT_EQ(outcome(16, 0, 0), 0);   // undefended pawn attacked: lost
  EXPECT_EQ(outcome(0, 0, 8), 2);    // nobody attacks: safe
}

TEST(EngineAttacks, OrderingPutsWinningCapturesFirstAndLosingOnesAmongPlainCaptures) {
  // Nc3 takes a free rook on b5; Qxd5 and Nxd5 lose the capturer to the e6 pawn.
  SetUpEngine("4k3/8/4p3/1r1p4/8/2N5/8/3QK3 w - - 0 1");
  g_slot[1] = g_slot[0];  // order as a node at ply 1 does
  int n = GenLegal(Board(1));
  n = SortFull(1, n, 0);
  ASSERT_GT(n, 10);
  EngineMove* list = PlyList(1);
  EXPECT_EQ(MoveText(list[0]), "c3b5");
  int qxp = -1, nxp = -1, firstQuiet = -1;
  for (int i = 0; i < n; ++i) {
    std::string t = MoveText(list[i]);
    if (t == "d1d5") qxp = i;
    if (t == "c3d5") nxp = i;
    if (Board(1).sq()[MoveTo(list[i])] == kEmpty && firstQuiet < 0) firstQuiet = i;
  }
  ASSERT_GE(qxp, 0);
  ASSERT_GE(nxp, 0);
  EXPECT_LT(qxp, firstQuiet);
  EXPECT_LT(nxp, firstQuiet);
  EnsureScanned(Board(1));
  EXPECT_EQ(CapGain(FindMove("d1d5", 1), Board(1)), 0u);
  EXPECT_NE(CapGain(FindMove("c3b5", 1), Board(1)), 0u);
  // The hash move goes first whatever it is.
  n = GenLegal(Board(1));
  EngineMove hash = FindMove("e1f2", 1);
  n = GenLegal(Board(1));
  n = SortFull(1, n, hash);
  EXPECT_EQ(MoveText(PlyList(1)[0]), "e1f2");
  // The d5 pawn is defended but attacked twice (queen and knight): taking it is no kamikaze.
  EXPECT_FALSE(IsKamiKaze(Board(1), SqNum(3, 4)));
  SetUpEngine("4k3/8/4p3/3p4/8/2N5/8/4K3 w - - 0 1");
  EXPECT_TRUE(IsKamiKaze(Board(0), SqNum(3, 4)));  // defended, attacked by the knight alone
}

}  // namespace
}  // namespace corvane
