// Search: mates and their scores, draws by repetition and the fifty-move
// rule, the depth cap, the host's polling hook and the node signature.
#include "attack.h"
#include "signature.h"
#include "test_util.h"

namespace corvane {
namespace {

TEST(EngineSearch, MateInTwoScoresByPlies) {
  SetUpEngine("k7/8/2K5/8/8/8/8/7R w - - 0 1");  // 1.Kb6 Kb8 2.Rh8# (or 1.Kc7 Ka7 2.Ra1#)
  SearchResult r = SearchFixedDepth(5);
  EXPECT_EQ(r.score, 16000 - 4 * 3);
  EXPECT_EQ(ReportScore(r.score), 10000 - 3);
  EXPECT_EQ(ReportScore(-r.score), -(10000 - 3));
  // Mate in one from the same kind of position.
  SetUpEngine("k7/8/1K6/8/8/8/8/7R w - - 0 1");
  r = SearchFixedDepth(3);
  EXPECT_EQ(r.score, 16000 - 4);
  EXPECT_EQ(MoveText(r.best), "h1h8");
}

TEST(EngineSearch, MatedAndStalemated) {
  SetUpEngine("k7/8/1K6/8/8/8/8/8 w - - 0 1");
  SearchResult r = SearchFixedDepth(4);
  EXPECT_EQ(r.score, 0);  // kings only: a dead draw
  SetUpEngine("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
  r = SearchFixedDepth(2);
  EXPECT_EQ(r.best, 0u);
  EXPECT_EQ(r.score, 0);  // stalemate
  SetUpEngine("7k/6Q1/6K1/8/8/8/8/8 b - - 0 1");
  r = SearchFixedDepth(2);
  EXPECT_EQ(r.score, -kInfinity);  // mated
}

TEST(EngineSearch, FiftyMoveRuleGivesADrawAtOnce) {
  SetUpEngine("4k3/8/8/8/8/8/8/R3K3 w - - 99 90");
  SearchResult r = SearchFixedDepth(3);
  EXPECT_EQ(r.score, 0);  // every reply reaches a counter of 100
}

TEST(EngineSearch, RepetitionInsideTheSearchIsADraw) {
  // The root was reached by a king shuffle; returning to it scores 0 from ply 3 on.
  i32 p[kParamCount];
  DefaultParams(p);
  OptsXlat(p);
  TransInit(1 << 16);
  TransClear(0);
  EnginePosition pos;
  ASSERT_TRUE(PositionFromFen("7k/8/8/8/8/8/r7/K7 w - - 0 1", &pos));
  const EngineMove moves[] = {MakeMove(1, 2), MakeMove(11, 12), MakeMove(2, 1), MakeMove(12, 11)};
  SetupRoot(pos, moves, 4);  // a1-b1 a2-b2 b1-a1 b2-a2: the start position again
  EXPECT_EQ(Board(0).fifty, 4);
  Planner();
  // The black rook up is worth a lot, yet going round again is a draw for White.
  EXPECT_EQ(Board(0).key1, [] {
    EnginePosition q;
    PositionFromFen("7k/8/8/8/8/8/r7/K7 w - - 0 1", &q);
    SetupRoot(q);
    u32 k = Board(0).key1;
    return k;
  }());
  SetupRoot(pos, moves, 4);
  Planner();
  DoMove(MakeMove(1, 2), 0);
  DoMove(MakeMove(11, 12), 1);
  DoMove(MakeMove(2, 1), 2);
  DoMove(MakeMove(12, 11), 3);  // position at ply 4 repeats ply 0 and the game's start
  g_sw[kWAna] = 1;
  EXPECT_EQ(Branch(4, 6, -100, 100), 0);
}

TEST(EngineSearch, EarlyRepetitionNeedsThreeOccurrencesUnlessAnaIsZero) {
  // Game: Kb1 Rb2 Ka1; the search's first reply Ra2 repeats the start once (at ply 1).
  EnginePosition pos;
  ASSERT_TRUE(PositionFromFen("7k/8/8/8/8/8/r7/K7 w - - 0 1", &pos));
  const EngineMove game[] = {MakeMove(1, 2), MakeMove(11, 12), MakeMove(2, 1)};
  for (int ana : {0, 1}) {
    i32 p[kParamCount];
    DefaultParams(p);
    p[kPAna] = ana;
    OptsXlat(p);
    ASSERT_TRUE(SetupRoot(pos, game, 3));
    Planner();
    DoMove(MakeMove(12, 11), 0);
    EXPECT_EQ(SearchNodeEntry(1), ana ? kNoValue : 0) << ana;
  }
}

TEST(EngineSearch, LastPlyReturnsTheFastEvaluation) {
  SetUpEngine("r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4");
  g_slot[47] = g_slot[0];
  Board(47).ply = 47;
  int lo, hi;
  int fast = EvalFast(Board(47), &lo, &hi);
  EXPECT_EQ(Quiesce(47, 47, -kInfinity, kInfinity), fast);
  EXPECT_EQ(Branch(47, 60, -kInfinity, kInfinity), fast);
}

// The published signature: the same count in the native build and in both
// Windows builds, whatever their pointer size.
TEST(EngineSearch, SignatureOfEveryBuild) {
  EXPECT_EQ(SearchSignature(6), 529036u);
}

TEST(EngineSearch, DepthCapAndFixedSignature) {
  i32 p[kParamCount];
  DefaultParams(p);
  const char* fen = "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4";
  SetUpEngine(fen, p);
  SearchResult a = SearchFixedDepth(4);
  SetUpEngine(fen, p);
  SearchResult b = SearchFixedDepth(4);
  EXPECT_EQ(a.nodes, b.nodes);
  EXPECT_EQ(a.best, b.best);
  EXPECT_GT(a.nodes, 1000u);
  p[kPMd] = 3;
  SetUpEngine(fen, p);
  SearchResult c = SearchFixedDepth(8);
  EXPECT_EQ(c.depth, 3);
}

int g_polls = 0;
int StopAfterTwo(void*, int) { return ++g_polls >= 2 ? 1 : 0; }
int AbortNow(void*, int) { return 2; }

TEST(EngineSearch, HostPollStopsAndAborts) {
  const char* fen = "r2q1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2Q1RK1 b - - 0 10";
  SetUpEngine(fen);
  g_polls = 0;
  SetHostPoll(StopAfterTwo, nullptr);
  SearchResult r = SearchFixedDepth(30);
  EXPECT_EQ(r.interrupted, 1);
  EXPECT_NE(r.best, 0u);  // stop keeps the best move so far
  EXPECT_LE(r.nodes, 2048u);
  SetUpEngine(fen);
  SetHostPoll(AbortNow, nullptr);
  r = SearchFixedDepth(30);
  EXPECT_EQ(r.interrupted, 2);
  EXPECT_EQ(r.best, 0u);
  SetHostPoll(nullptr, nullptr);
  // The search runs again normally after an interruption.
  SetUpEngine(fen);
  r = SearchFixedDepth(3);
  EXPECT_EQ(r.interrupted, 0);
  EXPECT_NE(r.best, 0u);
}

TEST(EngineSearch, WinsMaterialAndAvoidsBlunders) {
  struct Case {
    const char* fen;
    const char* move;
  } cases[] = {
      {"2r3k1/5pp1/p3p2p/1p1bP3/3P4/P4N2/1P3PPP/2R3K1 w - - 0 28", "c1c8"},  // free rook
      {"4k3/8/8/3q4/8/8/8/3RK3 w - - 0 1", "d1d5"},                          // the queen hangs
      {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "d1d8"},                     // back-rank mate
  };
  for (const auto& c : cases) {
    SetUpEngine(c.fen);
    SearchResult r = SearchFixedDepth(5);
    EXPECT_EQ(MoveText(r.best), c.move) << c.fen;
  }
}

}  // namespace
}  // namespace corvane
