// Opening-move statistics for the coach over real databases with opening
// keys: answers from the keys, moves collected from the games, and the
// rejected requests.
#include "keystats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "db_fixture.h"
#include "gdbase.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "native_host.h"
#endif

namespace {

// The coach hands over whole PGN games, tags first.
const char kSicilian[] = "[Event \"?\"]\n[Result \"*\"]\n\n1. e4 c5 *\n";

void* TextBlock(const std::string& text) {
#if defined(_WIN32)
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
#else
  return gdbase::NativeGlobalText(text.c_str());
#endif
}

void FreeBlock(void* block) {
#if defined(_WIN32)
  GlobalFree(block);
#else
  gdbase::NativeGlobalFree(block);
#endif
}

struct DoneSink : StatisticsSink {
  std::atomic<int> calls{0};
  uint32_t tag = 0;
  int used = -1;
  void StatisticsDone(uint32_t t, int u) override {
    tag = t;
    used = u;
    ++calls;
  }
};

struct Request {
  std::vector<OpeningMoveEntry> entries;
  int count;
  explicit Request(int n) : entries(n), count(n) {
    for (auto& e : entries) {
      std::memset(&e, 0, sizeof e);
      e.size = 44;
      e.tag = 99;
    }
  }
  std::map<std::string, OpeningMoveEntry> ByMove() const {
    std::map<std::string, OpeningMoveEntry> out;
    for (int i = 0; i < count; ++i) out[entries[i].move] = entries[i];
    return out;
  }
};

class KeyStats : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteTextFile("keystats_keys.pgn", "[ECO \"B20\"]\n[Opening \"Sicilian defence\"]\n\n1. e4 c5 *\n\n");
    db_ = std::make_unique<TestDatabase>("keystats_test", kSixGames, "keystats_keys.pgn");
    ASSERT_EQ(db_->keys(), 1);
    db_->Close();
  }
  void TearDown() override {
    WaitForSearchJob(&job_);
    std::remove("keystats_keys.pgn");
  }
  int Ask(const std::string& pgn, int ply, Request* r, uint32_t tag = 7, const char* path = nullptr) {
    void* text = TextBlock(pgn);
    int result = FindOpeningKeyMoves(&job_, &list_, path ? path : db_->path().c_str(), &sink_, text, ply,
                                     r->entries.data(), &r->count, tag);
    FreeBlock(text);  // the text stays the caller's
    return result;
  }
  void AwaitEnd() {
    while (sink_.calls == 0 && IsSearchRunning(&job_))
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    WaitForSearchJob(&job_);
  }

  std::unique_ptr<TestDatabase> db_;
  SearchJob job_;
  SearchJob list_;
  DoneSink sink_;
};

TEST_F(KeyStats, MovesCollectedFromTheGamesMatchThePgn) {
  // After 1.e4 c5 (a key without children) the moves are collected: 2.Nf3
  // in games 1 (1-0, 2210/2105) and 6 (0-1, no ratings), 2.Nc3 in game 4.
  Request r(10);
  ASSERT_EQ(Ask(kSicilian, 2, &r, 31), 1);
  AwaitEnd();
  ASSERT_EQ(sink_.calls, 1);
  EXPECT_EQ(sink_.tag, 31u);
  r.count = sink_.used;
  ASSERT_EQ(sink_.used, 2);
  auto moves = r.ByMove();
  ASSERT_EQ(moves.count("g1f3"), 1u);
  ASSERT_EQ(moves.count("b1c3"), 1u);
  const OpeningMoveEntry& nf3 = moves["g1f3"];
  EXPECT_EQ(nf3.size, 44u);
  EXPECT_EQ(nf3.tag, 31u);
  EXPECT_EQ(nf3.fromKey, 0u);
  EXPECT_EQ(nf3.games, 2u);
  EXPECT_EQ(nf3.whiteWins, 1u);
  EXPECT_EQ(nf3.draws, 0u);
  EXPECT_EQ(nf3.blackWins, 1u);
  EXPECT_EQ(nf3.whiteRating, 2210u);
  EXPECT_EQ(nf3.blackRating, 2105u);
  const OpeningMoveEntry& nc3 = moves["b1c3"];
  EXPECT_EQ(nc3.games, 1u);
  EXPECT_EQ(nc3.whiteWins, 1u);
  EXPECT_EQ(nc3.whiteRating, 0u);
  // Entries past the used ones are untouched but for their tag.
  EXPECT_EQ(r.entries[2].tag, 0u);
  EXPECT_EQ(r.entries[2].move[0], 0);
}

TEST_F(KeyStats, DeeperPositionAndAFullEntryArray) {
  Request deep(10);
  ASSERT_EQ(Ask("[Event \"?\"]\n\n1. e4 c5 2. Nf3 d6 *\n", 4, &deep), 1);
  AwaitEnd();
  ASSERT_EQ(sink_.used, 1);
  EXPECT_STREQ(deep.entries[0].move, "d2d4");
  EXPECT_EQ(deep.entries[0].games, 1u);
  // One entry: the collection ends when it is used.
  sink_.calls = 0;
  Request one(1);
  ASSERT_EQ(Ask(kSicilian, 2, &one), 1);
  AwaitEnd();
  EXPECT_EQ(sink_.used, 1);
}

TEST_F(KeyStats, ARunningListSearchStopsFirstAndKeepsItsRows) {
  // The list searches the same database; a statistics request stops it but
  // leaves its hits and counts for the rows it shows.
  TestDatabase other("keystats_list", kSixGames);
  SearchQuery all;
  std::memset(&all, 0, sizeof all);
  all.kind = 1;
  all.includeFlagged = 1;
  all.conditions[0][0].field = 8;  // Event starts with "Club": games 3 and 4
  all.conditions[0][0].op = 3;
  std::strcpy(all.conditions[0][0].value, "Club");
  ResetSearchJob(&list_, other.count());
  ASSERT_TRUE(StartSearchJob(&list_, other.file(), all));
  while (IsSearchRunning(&list_)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(list_.hitCount, 2);
  Request r(10);
  ASSERT_EQ(Ask(kSicilian, 2, &r), 1);
  AwaitEnd();
  EXPECT_EQ(sink_.used, 2);
  ASSERT_EQ(list_.hitCount, 2);
  for (int row = 0; row < 2; ++row) EXPECT_EQ(GetHitGameNumber(&list_, row), static_cast<uint32_t>(row + 3));
}

TEST_F(KeyStats, RejectedRequests) {
  Request r(4);
  r.entries[0].size = 45;
  EXPECT_EQ(Ask(kSicilian, 2, &r), 10);
  EXPECT_EQ(r.count, 0);
  for (auto& e : r.entries) EXPECT_EQ(e.tag, 0u);  // tags cleared, nothing filled
  Request ok(4);
  EXPECT_EQ(Ask(kSicilian, -1, &ok), 10);
  ok.count = 0;
  EXPECT_EQ(Ask(kSicilian, 2, &ok), 10);
  ok.count = 4;
  EXPECT_EQ(Ask(kSicilian, 2, &ok, 7, ""), 11);
  ok.count = 4;
  EXPECT_EQ(Ask(kSicilian, 2, &ok, 7, "C:\\Games\\"), 11);
  ok.count = 4;
  EXPECT_EQ(Ask(kSicilian, 2, &ok, 7, "no_such_database.gdg"), 12);
  TestDatabase plain("keystats_plain", kSixGames);
  plain.Close();
  ok.count = 4;
  EXPECT_EQ(Ask(kSicilian, 2, &ok, 7, plain.path().c_str()), 13);
  EXPECT_EQ(sink_.calls, 0);
}

TEST(KeyStatsEco, ChildKeysAnswerAtOnce) {
  std::string eco = std::string(RW_TESTDATA_DIR) + "/eco.pgn";
  if (std::FILE* f = std::fopen(eco.c_str(), "rb")) {
    std::fclose(f);
  } else {
    eco = RW_ECO_FILE;
  }
  if (std::FILE* f = std::fopen(eco.c_str(), "rb")) {
    std::fclose(f);
  } else {
    GTEST_SKIP() << eco << " is missing";
  }
  TestDatabase db("keystats_eco", kSixGames, eco);
  ASSERT_EQ(db.keys(), 1);
  db.Close();
  SearchJob job, list;
  DoneSink sink;
  Request r(40);
  void* text = TextBlock(kSicilian);
  int result =
      FindOpeningKeyMoves(&job, &list, db.path().c_str(), &sink, text, 2, r.entries.data(), &r.count, 5);
  FreeBlock(text);
  ASSERT_EQ(result, 0);
  ASSERT_GT(r.count, 1);
  EXPECT_EQ(sink.calls, 0);
  auto moves = r.ByMove();
  ASSERT_EQ(moves.count("g1f3"), 1u);
  EXPECT_EQ(moves["g1f3"].fromKey, 1u);
  EXPECT_EQ(moves["g1f3"].tag, 5u);
  EXPECT_EQ(moves["g1f3"].games, 2u);
  EXPECT_EQ(moves["g1f3"].whiteWins, 1u);
  EXPECT_EQ(moves["g1f3"].blackWins, 1u);
  EXPECT_EQ(moves["g1f3"].whiteRating, 2210u);
  ASSERT_EQ(moves.count("b1c3"), 1u);
  EXPECT_EQ(moves["b1c3"].games, 1u);
}

}  // namespace
