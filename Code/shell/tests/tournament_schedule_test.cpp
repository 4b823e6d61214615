// The tournament schedule: pairings by the number of entrants, colours
// swapped in even cycles, lines, and the 256 slots as the limit.
#include "tournament_schedule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {

TournamentData* g_tournament = nullptr;
int g_refreshed = 0;

struct Schedule : ::testing::Test {
  std::unique_ptr<TournamentData> t{new TournamentData{}};
  void SetUp() override {
    g_tournament = t.get();
    g_refreshed = 0;
    TournamentScheduleHost host{};
    host.roomTournament = [] { return g_tournament; };
    host.refresh = [](TournamentData* data) { g_refreshed += data == g_tournament; };
    SetTournamentScheduleHost(host);
    for (int i = 0; i < kTournamentMaxEntrants; ++i)
      std::snprintf(t->names[i], kTournamentNameSize, "P%d", i + 1);
    for (TournamentPairing& slot : t->slots) slot.white = kTournamentSlotFree;
  }
  void TearDown() override { SetTournamentScheduleHost(TournamentScheduleHost{}); }
  std::vector<std::pair<int, int>> Pairings() const {
    std::vector<std::pair<int, int>> out;
    for (const TournamentPairing& slot : t->slots)
      if (slot.white != kTournamentSlotFree) out.emplace_back(slot.white, slot.black);
    return out;
  }
};

using Pairs = std::vector<std::pair<int, int>>;

TEST_F(Schedule, ThreeEntrantsUseTheFourTableWithoutEntrantFour) {
  t->entrantCount = 3;
  t->cycles = 2;
  ASSERT_EQ(BuildTournamentSchedule(), 1);
  EXPECT_EQ(Pairings(), (Pairs{{2, 3}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 1}}));
  EXPECT_STREQ(t->slots[0].line, "P2\t vs P3");
  EXPECT_STREQ(t->slots[3].line, "P3\t vs P2") << "colours reversed in the second cycle";
  EXPECT_EQ(g_refreshed, 1);
}

TEST_F(Schedule, EveryTableIsARoundRobin) {
  // Each table, for the largest n it serves, pairs every two entrants
  // exactly once; one entrant fewer drops only the missing one's games.
  for (int n = 2; n <= 8; ++n) {
    int count = 0;
    const TournamentPair* table = GetPairingTable(n, &count);
    ASSERT_NE(table, nullptr) << n;
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < count; ++i) {
      const int a = table[i].white, b = table[i].black;
      ASSERT_NE(a, b);
      ASSERT_TRUE(a >= 1 && b >= 1 && a <= n + n % 2 && b <= n + n % 2);
      EXPECT_TRUE(seen.insert({std::min(a, b), std::max(a, b)}).second)
          << "n " << n << " pair " << a << "," << b;
    }
    const int full = n + n % 2;
    EXPECT_EQ(count, full * (full - 1) / 2) << n;
  }
  int count = -1;
  EXPECT_EQ(GetPairingTable(1, &count), nullptr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(GetPairingTable(9, &count), nullptr);
}

TEST_F(Schedule, StopsAtTheLastSlot) {
  // 8 entrants, 28 pairings a cycle: ten cycles would need 280 slots.
  t->entrantCount = 8;
  t->cycles = 10;
  t->slots[0].white = 5;  // a slot in use is kept
  t->slots[0].black = 6;
  ASSERT_EQ(BuildTournamentSchedule(), 1);
  EXPECT_EQ(Pairings().size(), size_t(kTournamentSlots));
  EXPECT_EQ(t->slots[0].white, 5);
  EXPECT_EQ(t->slots[1].white, 4) << "the schedule starts in the first free slot";
  EXPECT_EQ(t->slots[1].black, 8);
  EXPECT_EQ(t->slots[29].white, 8) << "cycle 2 reverses the first pairing";
  EXPECT_EQ(t->slots[29].black, 4);
}

TEST_F(Schedule, NoTournamentOrNoTable) {
  t->entrantCount = 9;
  t->cycles = 3;
  EXPECT_EQ(BuildTournamentSchedule(), 1);
  EXPECT_TRUE(Pairings().empty());
  g_tournament = nullptr;
  EXPECT_EQ(BuildTournamentSchedule(), 0);
  ResetTournamentClock();
  RestoreTournamentSettings();
  EXPECT_EQ(g_refreshed, 1);
}

TEST_F(Schedule, LongNamesAreCutNotOverrun) {
  t->entrantCount = 2;
  t->cycles = 1;
  std::memset(t->names[0], 'W', kTournamentNameSize);  // no terminating NUL
  std::memset(t->names[1], 'B', kTournamentNameSize);
  ASSERT_EQ(BuildTournamentSchedule(), 1);
  EXPECT_EQ(std::strlen(t->slots[0].line), size_t(2 * (kTournamentNameSize - 1) + 5));
}

TEST_F(Schedule, ClockAndRememberedSettings) {
  for (int i = 0; i < kTournamentSettings; ++i) {
    t->settings[i] = 100 + i;
    t->remembered[i] = 200 + i;
  }
  ResetTournamentClock();
  EXPECT_EQ(t->settings[TOURNAMENT_CLOCK_KIND], 4);
  EXPECT_EQ(t->settings[TOURNAMENT_CLOCK_COMPANION], 4);
  EXPECT_EQ(t->settings[TOURNAMENT_CLOCK_FIRST], 0);
  EXPECT_EQ(t->settings[TOURNAMENT_CLOCK_SECOND], 0);
  EXPECT_EQ(t->settings[4], 104);
  t->entrantCount = 4;
  t->cycles = 1;
  BuildTournamentSchedule();
  RestoreTournamentSettings();
  for (int i = 0; i < kTournamentSettings; ++i) EXPECT_EQ(t->settings[i], 200 + i);
  EXPECT_TRUE(Pairings().empty());
  EXPECT_EQ(g_refreshed, 2);
}

}  // namespace
