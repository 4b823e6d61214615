// Hash table: sizes, mate scores relative to the node, replacement and ttu.
#include <cstring>

#include "test_util.h"

namespace corvane {
namespace {

TEST(EngineTrans, ClusterCountsArePrime) {
  TransInit(8192);
  ASSERT_NE(TransInit(4096), nullptr);
  EXPECT_EQ(TransClusters(), 101u);
  const char* text = TransInit(1048576);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(TransClusters(), 26209u);
  EXPECT_NE(std::strstr(text, " x 4 @ "), nullptr) << text;
  EXPECT_NE(std::strstr(text, " =  1048360 byte =  1023 kB"), nullptr) << text;
  // Sizes a host could send that would end the engine are clamped.
  ASSERT_NE(TransInit(4095), nullptr);
  EXPECT_EQ(TransClusters(), 101u);
  TransInit(1048576);
  ASSERT_NE(TransInit(-5), nullptr);
  EXPECT_EQ(TransClusters(), 101u);
  ASSERT_NE(TransInit(1LL << 40), nullptr);
  EXPECT_GE(TransBytes(), kTransMinBytes);
  EXPECT_LE(TransBytes(), kTransMaxBytes);
  TransInit(4096);
}

TEST(EngineTrans, SameSizeKeepsEntries) {
  SetUpEngine("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
  TransInit(1 << 16);
  TransStore(Board(0), 1, 5, -100, 100, 0, false, FindMove("h1h8"), 42);
  EXPECT_EQ(TransInit(1 << 16), nullptr);
  u32 hint;
  bool threat;
  EXPECT_EQ(TransProbe(Board(0), 1, 5, -100, 100, 0, &hint, &threat), kNoValue);  // exact but inside window
  EXPECT_EQ(hint, u32(SqNum(7, 0)) << 24 | u32(SqNum(7, 7)));
}

TEST(EngineTrans, MateScoresAreRelativeToTheNode) {
  SetUpEngine("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
  const SearchBoard& bd = Board(0);
  // Mate at ply 9 found at ply 5: 16000 - 36 = 15964, stored as 15984.
  TransStore(bd, 5, 9, 15000, 15970, 0, false, 0, 15964);
  TransEntry* c = TransCluster(bd);
  bool found = false;
  for (int i = 0; i < 4; ++i)
    if (c[i].check == bd.key2) {
      EXPECT_EQ(c[i].score, 15984);
      found = true;
    }
  ASSERT_TRUE(found);
  // Met again at ply 7: a mate four plies from there, 15956, a lower bound that cuts.
  u32 hint;
  bool threat;
  EXPECT_EQ(TransProbe(bd, 7, 12, 0, 15900, 0, &hint, &threat), 15956);
  // Mated scores likewise.
  TransClear(0);
  TransStore(bd, 5, 9, -15900, 100, 0, false, 0, -15964);
  EXPECT_EQ(TransProbe(bd, 7, 12, -15900, 100, 0, &hint, &threat), -15956);
}

TEST(EngineTrans, ShallowResultGoesToEntryThree) {
  SetUpEngine("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
  const SearchBoard& bd = Board(0);
  TransStore(bd, 1, 8, -50, 50, 0, false, 0, 10);  // depth 7
  TransStore(bd, 1, 4, -50, 50, 0, false, 0, 20);  // depth 3, same position
  TransEntry* c = TransCluster(bd);
  EXPECT_EQ(c[2].depth, 7);
  EXPECT_EQ(c[2].score, 10);
  EXPECT_EQ(c[3].depth, 3);
  EXPECT_EQ(c[3].score, 20);
  // A deeper result replaces the deep one and pushes it into entry 3.
  TransStore(bd, 1, 10, -50, 50, 0, false, 0, 30);
  EXPECT_EQ(c[2].depth, 9);
  EXPECT_EQ(c[3].depth, 7);
}

TEST(EngineTrans, NoCutsWithTtuZeroButHintsStay) {
  i32 p[kParamCount];
  DefaultParams(p);
  p[kPTtu] = 0;
  SetUpEngine("4k3/8/8/8/8/8/8/4K2R w K - 0 1", p);
  const SearchBoard& bd = Board(0);
  TransStore(bd, 1, 9, -50, 50, 0, true, FindMove("h1h8"), 300);  // lower bound, threat
  u32 hint;
  bool threat;
  EXPECT_EQ(TransProbe(bd, 1, 5, -50, 50, 0, &hint, &threat), kNoValue);
  EXPECT_NE(hint, 0u);
  EXPECT_TRUE(threat);
  DefaultParams(p);
  OptsXlat(p);
  EXPECT_EQ(TransProbe(bd, 1, 5, -50, 50, 0, &hint, &threat), 300);
  // The singular test's shallow searches neither cut nor store.
  g_testSearch[1] = 1;
  EXPECT_EQ(TransProbe(bd, 1, 5, -50, 50, 0, &hint, &threat), kNoValue);
  g_testSearch[1] = 0;
}

}  // namespace
}  // namespace corvane
