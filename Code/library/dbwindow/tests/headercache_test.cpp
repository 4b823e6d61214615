// The game list's header cache over a real database: which hints read what,
// the texts it keeps, and the arena after many hints and evictions.
#include "headercache.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "db_fixture.h"
#include "gdbase.h"

namespace {

// White, Black, Event, Date, Result, ECO, Site, Round.
const int32_t kColumns[] = {5, 6, 1, 17, 16, 15, 2, 3, 0};

class HeaderCache : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = std::make_unique<TestDatabase>("headercache_test", kSixGames);
    ASSERT_EQ(db_->count(), 6);
    game_ = GdAllocGameBuffer();
    cache_ = std::make_unique<GameHeaderCache>();
  }
  void TearDown() override { GdFreeGameBuffer(game_); }

  // A list of `rows` rows over the six games, in turn.
  void MakeRows(int rows, int margin) {
    rowGames_.resize(rows);
    for (int r = 0; r < rows; ++r) rowGames_[r] = r % 6 + 1;
    source_.file = db_->file();
    source_.game = game_;
    source_.rowGames = rowGames_.data();
    source_.rowCount = rows;
    ResetHeaderCache(cache_.get(), margin);
    SetHeaderCacheColumns(cache_.get(), kColumns);
  }
  // Headers read by one hint.
  int Reads(int first, int last) {
    int before = cache_->headersRead;
    FillHeaderCache(cache_.get(), source_, first, last);
    return cache_->headersRead - before;
  }
  bool Cached(int row) { return FindCachedHeader(cache_.get(), source_, row) != nullptr; }
  // Rows in list order, checking the arena's invariants on the way.
  std::vector<int> CheckedRows() {
    std::vector<int> rows;
    uint32_t bytes = 0;
    for (uint32_t at = cache_->head; at != kNoHeaderEntry;) {
      EXPECT_LT(at, cache_->fill);
      const auto* e = reinterpret_cast<const HeaderCacheEntry*>(cache_->arena + at);
      EXPECT_NE(e->game, 0);
      if (!rows.empty()) {
        EXPECT_GT(e->row, rows.back()) << "rows out of order or repeated";
      }
      rows.push_back(e->row);
      bytes += e->size;
      at = e->next;
      if (rows.size() > 70000) break;
    }
    EXPECT_LE(cache_->fill, static_cast<uint32_t>(kHeaderCacheArenaSize));
    EXPECT_EQ(bytes, cache_->fill) << "entries do not lie back to back";
    return rows;
  }

  std::unique_ptr<TestDatabase> db_;
  GdGameBuffer game_ = nullptr;
  std::unique_ptr<GameHeaderCache> cache_;
  std::vector<int32_t> rowGames_;
  HeaderCacheSource source_;
};

TEST_F(HeaderCache, TextsAreTheModulesForEachRow) {
  MakeRows(12, 4);
  FillHeaderCache(cache_.get(), source_, 0, 11);
  for (int row = 0; row < 12; ++row) {
    const HeaderCacheEntry* e = FindCachedHeader(cache_.get(), source_, row);
    ASSERT_NE(e, nullptr) << row;
    EXPECT_EQ(e->game, row % 6 + 1);
    ASSERT_EQ(GdReadGameHeader(game_, db_->file(), e->game), 1);
    for (int c = 0; kColumns[c]; ++c) {
      char text[256];
      GdGetHeaderInfo(game_, kColumns[c], text, sizeof text);
      EXPECT_STREQ(GetCachedHeaderText(e, c), text) << "row " << row << " column " << c;
    }
  }
  EXPECT_STREQ(GetCachedHeaderText(FindCachedHeader(cache_.get(), source_, 0), 0), "Abbot, Ann");
  EXPECT_STREQ(GetCachedHeaderText(FindCachedHeader(cache_.get(), source_, 3), 2), "Club Match");
}

TEST_F(HeaderCache, TextPastTheLastColumnIsEmptyAndNoEntryIsAQuestionMark) {
  MakeRows(30, 4);
  FillHeaderCache(cache_.get(), source_, 0, 29);
  // Entry 0's next neighbour in the arena is entry 1: walking past the
  // texts must not run into it.
  const HeaderCacheEntry* e = FindCachedHeader(cache_.get(), source_, 0);
  ASSERT_NE(e, nullptr);
  for (int c = 8; c < 40; ++c) EXPECT_STREQ(GetCachedHeaderText(e, c), "") << c;
  EXPECT_STREQ(GetCachedHeaderText(nullptr, 0), "?");
  // The last entry: past it lies the unwritten arena.
  const HeaderCacheEntry* last = FindCachedHeader(cache_.get(), source_, 29);
  ASSERT_NE(last, nullptr);
  EXPECT_STREQ(GetCachedHeaderText(last, 8), "");
}

TEST_F(HeaderCache, UnreadableHeaderShowsQuestionMarksInEveryColumn) {
  MakeRows(10, 3);
  rowGames_[4] = 999;  // no such game
  FillHeaderCache(cache_.get(), source_, 0, 9);
  const HeaderCacheEntry* e = FindCachedHeader(cache_.get(), source_, 4);
  ASSERT_NE(e, nullptr);
  for (int c = 0; kColumns[c]; ++c) EXPECT_STREQ(GetCachedHeaderText(e, c), "??") << c;
  EXPECT_STREQ(GetCachedHeaderText(FindCachedHeader(cache_.get(), source_, 5), 0), "Fox, Fay");
}

TEST_F(HeaderCache, HintsReadOnlyWhatIsMissing) {
  MakeRows(1000, 20);
  // One row reads margin + 1 rows, forward where it can, back at the end.
  EXPECT_EQ(Reads(500, 500), 21);
  for (int r = 500; r <= 520; ++r) EXPECT_TRUE(Cached(r)) << r;
  EXPECT_EQ(Reads(999, 999), 21);
  for (int r = 979; r <= 999; ++r) EXPECT_TRUE(Cached(r)) << r;
  // Cached rows read nothing, whole or in part of a gapless run.
  EXPECT_EQ(Reads(500, 520), 0);
  EXPECT_EQ(Reads(505, 510), 0);
  EXPECT_EQ(Reads(979, 999), 0);
  // A range over a cached tail reads only the rows before it, batched back
  // from the row before the tail: 479..499, then 458..478.
  EXPECT_EQ(Reads(490, 510), 21);
  EXPECT_TRUE(Cached(479));
  EXPECT_FALSE(Cached(478));
  EXPECT_EQ(Reads(470, 479), 21);
  EXPECT_TRUE(Cached(458));
  EXPECT_FALSE(Cached(457));
  // A first row outside the list becomes row 0.
  EXPECT_EQ(Reads(-5, 3), 21);
  EXPECT_TRUE(Cached(0));
  EXPECT_TRUE(Cached(20));
  EXPECT_FALSE(Cached(21));
  CheckedRows();
}

TEST_F(HeaderCache, ShortListReadsEveryRowOnce) {
  MakeRows(3, 20);
  EXPECT_EQ(Reads(1, 1), 3);
  EXPECT_EQ(Reads(0, 2), 0);
  EXPECT_EQ(CheckedRows(), (std::vector<int>{0, 1, 2}));
}

TEST_F(HeaderCache, NothingWithoutADatabase) {
  MakeRows(10, 3);
  FillHeaderCache(cache_.get(), source_, 0, 9);
  HeaderCacheSource closed = source_;
  closed.file = 0;
  EXPECT_EQ(FindCachedHeader(cache_.get(), closed, 0), nullptr);
  ResetHeaderCache(cache_.get(), 3);
  FillHeaderCache(cache_.get(), closed, 0, 9);
  EXPECT_EQ(cache_->headersRead, 0);
  EXPECT_EQ(cache_->head, kNoHeaderEntry);
}

TEST_F(HeaderCache, LookupOfTheNextRowStepsThroughTheLastHit) {
  MakeRows(50, 10);
  FillHeaderCache(cache_.get(), source_, 0, 49);
  const HeaderCacheEntry* e = FindCachedHeader(cache_.get(), source_, 7);
  ASSERT_NE(e, nullptr);
  // Break the list ahead of the last hit: the next row is still found
  // through it, which a walk from the head would not.
  uint32_t savedHead = cache_->head;
  cache_->head = kNoHeaderEntry;
  const HeaderCacheEntry* next = FindCachedHeader(cache_.get(), source_, 8);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->row, 8);
  EXPECT_EQ(FindCachedHeader(cache_.get(), source_, 8), next);
  EXPECT_EQ(FindCachedHeader(cache_.get(), source_, 30), nullptr);
  cache_->head = savedHead;
  EXPECT_EQ(FindCachedHeader(cache_.get(), source_, 30)->row, 30);
}

TEST_F(HeaderCache, EvictionKeepsTheEndsOfTheListAndTheWindow) {
  const int rows = 100000, margin = 25;
  MakeRows(rows, margin);
  FillHeaderCache(cache_.get(), source_, 0, margin - 1);
  FillHeaderCache(cache_.get(), source_, rows - margin, rows - 1);
  // Page down far enough to fill the arena several times over.
  for (int top = 1000; top < 20000; top += margin)
    FillHeaderCache(cache_.get(), source_, top, top + margin - 1);
  std::vector<int> kept = CheckedRows();
  EXPECT_LT(kept.size(), 2000u) << "nothing was evicted";
  for (int r = 0; r < margin; ++r) EXPECT_TRUE(Cached(r)) << r;
  for (int r = rows - margin; r < rows; ++r) EXPECT_TRUE(Cached(r)) << r;
  int top = 19975;
  for (int r = top; r < top + margin; ++r) EXPECT_TRUE(Cached(r)) << r;
  // Jumping to either end reads nothing.
  EXPECT_EQ(Reads(0, margin - 1), 0);
  EXPECT_EQ(Reads(rows - margin, rows - 1), 0);
  // Texts survive compaction.
  for (int r : {0, 1, rows - 1, top}) {
    const HeaderCacheEntry* e = FindCachedHeader(cache_.get(), source_, r);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->game, r % 6 + 1);
  }
}

TEST_F(HeaderCache, RandomHintsOverAMillionRowsKeepTheArenaSound) {
  const int rows = 1000000, margin = 21;
  MakeRows(rows, margin);
  std::mt19937 random(36);
  std::uniform_int_distribution<int> pick(-3, rows + 3);
  // The list shows its first page first and is soon scrolled to the end.
  FillHeaderCache(cache_.get(), source_, 0, margin - 1);
  FillHeaderCache(cache_.get(), source_, rows - margin, rows - 1);
  for (int i = 0; i < 3000; ++i) {
    int first = pick(random);
    int last = first + static_cast<int>(random() % 40) - 5;
    FillHeaderCache(cache_.get(), source_, first, last);
    if (first >= 0 && first < rows && last >= first && last < rows) {
      for (int r = first; r <= last; ++r) ASSERT_TRUE(Cached(r)) << "hint " << first << ".." << last;
    }
    if (i % 100 == 0) CheckedRows();
  }
  std::vector<int> kept = CheckedRows();
  EXPECT_EQ(std::set<int>(kept.begin(), kept.end()).size(), kept.size());
  for (int r = 0; r < margin; ++r) EXPECT_TRUE(Cached(r)) << r;
  for (int r = rows - margin; r < rows; ++r) EXPECT_TRUE(Cached(r)) << r;
}

}  // namespace
