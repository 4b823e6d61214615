// The search job on its worker thread over a real database: the hit list and
// its growth, the progress throttle, stopping, and the two jobs kept apart.
#include "searchjob.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "db_fixture.h"
#include "gdbase.h"

namespace {

constexpr int kGames = 12000;

std::string ManyGames(int n) {
  std::string pgn;
  for (int i = 1; i <= n; ++i) {
    pgn += "[Event \"Bulk\"]\n[White \"Player " + std::to_string(i) +
           "\"]\n[Black \"Other\"]\n[Result \"1-0\"]\n\n";
    pgn += i % 2 ? "1. e4 e5 1-0\n\n" : "1. d4 d5 1-0\n\n";
  }
  return pgn;
}

// The header query "White Player starts with <text>".
SearchQuery WhiteStartsWith(const char* text) {
  SearchQuery q;
  std::memset(&q, 0, sizeof q);
  q.kind = 1;
  q.includeFlagged = 1;
  q.conditions[0][0].field = 15;
  q.conditions[0][0].op = 3;
  std::strcpy(q.conditions[0][0].value, text);
  return q;
}

// Records every progress message with the clock's time; may stop the job.
struct RecordingSink : SearchSink {
  SearchJob* job = nullptr;
  int stopAfter = 0;  // messages
  uint64_t* now = nullptr;
  std::mutex lock;
  std::vector<std::pair<int, uint64_t>> messages;
  void SearchProgress(int stage) override {
    std::lock_guard<std::mutex> hold(lock);
    messages.push_back({stage, *now});
    if (stopAfter && static_cast<int>(messages.size()) >= stopAfter) job->stop = true;
  }
};

class SearchJobTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { db_ = new TestDatabase("searchjob_test", ManyGames(kGames)); }
  static void TearDownTestSuite() {
    delete db_;
    db_ = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(db_->count(), kGames);
    sink_.job = &job_;
    sink_.now = &now_;
    job_.notify = &sink_;
    // Each call of the clock moves it on by 250 ms.
    job_.clock = [this] { return now_ += 250; };
  }
  void TearDown() override { WaitForSearchJob(&job_); }

  static TestDatabase* db_;
  SearchJob job_;
  RecordingSink sink_;
  uint64_t now_ = 0;
};
TestDatabase* SearchJobTest::db_ = nullptr;

// Lets the worker run to its end, then joins it.
void Finish(SearchJob* job) {
  while (IsSearchRunning(job)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  WaitForSearchJob(job);
}

TEST_F(SearchJobTest, EveryMatchIsKeptAsTheListGrows) {
  ResetSearchJob(&job_, kGames);
  ASSERT_TRUE(StartSearchJob(&job_, db_->file(), WhiteStartsWith("Player")));
  Finish(&job_);
  EXPECT_FALSE(IsSearchRunning(&job_));
  ASSERT_EQ(job_.hitCount, kGames);
  EXPECT_LE(job_.largestGrowth, kHitListStep);
  EXPECT_GT(job_.largestGrowth, 0);
  for (int row : {0, 4999, 5000, 9999, 10000, kGames - 1})
    EXPECT_EQ(GetHitGameNumber(&job_, row), static_cast<uint32_t>(row + 1));
  EXPECT_EQ(GetHitGameNumber(&job_, kGames), 1u);  // past the hits
  // The hits are the matching games only.
  ResetSearchJob(&job_, kGames);
  ASSERT_TRUE(StartSearchJob(&job_, db_->file(), WhiteStartsWith("Player 11")));
  Finish(&job_);
  ASSERT_EQ(job_.hitCount, 1 + 10 + 100 + 1000);  // 11, 110-119, 1100-1199, 11000-11999
  EXPECT_EQ(GetHitGameNumber(&job_, 0), 11u);
  EXPECT_EQ(GetHitGameNumber(&job_, 1), 110u);
  EXPECT_EQ(GetHitGameNumber(&job_, 1110), 11999u);
}

TEST_F(SearchJobTest, ProgressAtMostOncePer1001Milliseconds) {
  ResetSearchJob(&job_, kGames);
  ASSERT_TRUE(StartSearchJob(&job_, db_->file(), WhiteStartsWith("Player")));
  Finish(&job_);
  ASSERT_GE(sink_.messages.size(), 3u);
  EXPECT_EQ(sink_.messages.front().first, 1);
  EXPECT_EQ(sink_.messages.back().first, 2);  // once, though the last game matched
  uint64_t last = sink_.messages.front().second;
  int between = 0;
  for (size_t i = 1; i + 1 < sink_.messages.size(); ++i) {
    EXPECT_EQ(sink_.messages[i].first, 0);
    EXPECT_GE(sink_.messages[i].second - last, kProgressInterval) << i;
    last = sink_.messages[i].second;
    ++between;
  }
  // 12,000 calls, 250 ms each: one message per five calls.
  EXPECT_NEAR(between, kGames / 5, 2);
}

TEST_F(SearchJobTest, StopKeepsTheHitsFound) {
  ResetSearchJob(&job_, kGames);
  job_.clock = [this] { return now_ += 2000; };  // every call may post
  sink_.stopAfter = 100;
  ASSERT_TRUE(StartSearchJob(&job_, db_->file(), WhiteStartsWith("Player")));
  Finish(&job_);
  int found = job_.hitCount;
  EXPECT_GE(found, 99);
  EXPECT_LT(found, 110);
  EXPECT_EQ(sink_.messages.back().first, 2);  // the end still arrives
  EXPECT_EQ(GetHitGameNumber(&job_, found - 1), static_cast<uint32_t>(found));
  // Waiting again changes nothing.
  WaitForSearchJob(&job_);
  EXPECT_EQ(job_.hitCount, found);
}

TEST_F(SearchJobTest, AnotherJobStopsTheListSearchButLeavesItsHits) {
  // The list's search, stopped by the coach's job starting: its hits and
  // counts stay, and the coach's results go to the coach's own record.
  ResetSearchJob(&job_, kGames);
  job_.clock = [this] { return now_ += 2000; };
  ASSERT_TRUE(StartSearchJob(&job_, db_->file(), WhiteStartsWith("Player")));
  SearchJob coach;
  ResetSearchJob(&coach, kGames);
  ASSERT_TRUE(StartSearchJob(&coach, db_->file(), WhiteStartsWith("Player 7")));
  EXPECT_FALSE(job_.worker.joinable() && IsSearchRunning(&job_));
  int listHits = job_.hitCount;
  std::vector<uint32_t> rows;
  for (int r = 0; r < listHits; ++r) rows.push_back(GetHitGameNumber(&job_, r));
  Finish(&coach);
  EXPECT_EQ(coach.hitCount, 1 + 10 + 100 + 1000);
  ASSERT_EQ(job_.hitCount, listHits);
  for (int r = 0; r < listHits; ++r) ASSERT_EQ(GetHitGameNumber(&job_, r), rows[r]) << r;
  for (int r = 0; r < listHits; ++r) ASSERT_EQ(rows[r], static_cast<uint32_t>(r + 1));
}

TEST_F(SearchJobTest, ResetAndAllGamesLists) {
  ResetSearchJob(&job_, 7);
  EXPECT_EQ(job_.hitCount, 7);
  EXPECT_EQ(GetHitGameNumber(&job_, 3), 4u);  // no list: row + 1
  ASSERT_TRUE(FillAllGamesHitList(&job_, 7));
  EXPECT_EQ(job_.capacity, 7);
  EXPECT_EQ(GetHitGameNumber(&job_, 6), 7u);
  EXPECT_EQ(GetHitGameNumber(&job_, 7), 1u);
  ResetSearchJob(&job_, 0);
  EXPECT_FALSE(StartSearchJob(&job_, db_->file(), WhiteStartsWith("Player")));  // nothing to search
  EXPECT_FALSE(IsSearchRunning(&job_));
}

TEST_F(SearchJobTest, SearchButtonOutcomes) {
  SearchQuery empty;
  std::memset(&empty, 0, sizeof empty);
  empty.kind = 8;
  empty.includeFlagged = 1;
  EXPECT_EQ(StartDatabaseSearch(&job_, &sink_, db_->file(), kGames, empty), DatabaseSearchStart::kShowNone);
  EXPECT_EQ(job_.hitCount, 0);
  empty.kind = 1;
  EXPECT_EQ(StartDatabaseSearch(&job_, &sink_, db_->file(), kGames, empty), DatabaseSearchStart::kShowAll);
  EXPECT_EQ(job_.hitCount, kGames);
  EXPECT_EQ(GetHitGameNumber(&job_, 41), 42u);
  EXPECT_TRUE(sink_.messages.empty());
  // A header query runs, and starting another stops the first.
  ASSERT_EQ(StartDatabaseSearch(&job_, &sink_, db_->file(), kGames, WhiteStartsWith("Player")),
            DatabaseSearchStart::kStarted);
  ASSERT_EQ(StartDatabaseSearch(&job_, &sink_, db_->file(), kGames, WhiteStartsWith("Player 9")),
            DatabaseSearchStart::kStarted);
  Finish(&job_);
  EXPECT_EQ(job_.hitCount, 1111);
  EXPECT_EQ(StartDatabaseSearch(&job_, &sink_, db_->file(), 0, WhiteStartsWith("Player")),
            DatabaseSearchStart::kNotStarted);
}

TEST(SearchMoveTextsTest, Coordinates) {
  // e7-e8 as a key move: a pawn move (bit 0 clear) of kind 3, piece 1.
  const uint16_t e7 = 52, e8 = 60, e2 = 12, e4 = 28;
  EXPECT_EQ(KeyMoveCoordinates(static_cast<uint16_t>(e7 | e8 << 6 | 1 << 13), 3 << 2), "e7e8N");
  EXPECT_EQ(KeyMoveCoordinates(static_cast<uint16_t>(e7 | e8 << 6 | 4 << 13), 3 << 2), "e7e8");
  EXPECT_EQ(KeyMoveCoordinates(static_cast<uint16_t>(e2 | e4 << 6), 0), "e2e4");
  EXPECT_EQ(KeyMoveCoordinates(static_cast<uint16_t>(6 | 21 << 6 | 1 << 13), 1 | 3 << 2), "g1f3");
  EXPECT_EQ(GameMoveCoordinates(static_cast<uint16_t>(e7 | e8 << 8 | 3 << 14)), "e7e8N");
  EXPECT_EQ(GameMoveCoordinates(static_cast<uint16_t>(e7 | e8 << 8 | 1 << 14)), "e7e8R");
  EXPECT_EQ(GameMoveCoordinates(static_cast<uint16_t>(e2 | e4 << 8)), "e2e4");
}

}  // namespace
