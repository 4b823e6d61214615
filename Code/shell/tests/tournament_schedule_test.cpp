// The tournament schedule over the tournament core's record: pairings by
// the number of entrants, colours swapped in even cycles, texts, the 256
// slots as the limit, and the wizard record's defaults and reset.
#include "tournament_schedule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {

Tournament* g_room = nullptr;
Tournament* g_wizard = nullptr;
int g_refreshed = 0;

struct Schedule : ::testing::Test {
  std::unique_ptr<Tournament> t{new Tournament{}};
  std::unique_ptr<Tournament> wizard{new Tournament{}};
  void SetUp() override {
    ClearTournament(t.get());
    ClearTournament(wizard.get());
    g_room = t.get();
    g_wizard = wizard.get();
    g_refreshed = 0;
    TournamentScheduleHost host{};
    host.roomTournament = [] { return g_room; };
    host.wizardTournament = [] { return g_wizard; };
    host.refresh = [](Tournament* data) { g_refreshed += data == g_room || data == g_wizard; };
    SetTournamentScheduleHost(host);
    for (int i = 0; i < 8; ++i) {
      std::snprintf(t->entrants[i].name, kEntrantNameSize, "P%d", i + 1);
      t->entrants[i].number = i + 1;
    }
  }
  void TearDown() override { SetTournamentScheduleHost(TournamentScheduleHost{}); }
  std::vector<std::pair<int, int>> Pairings() const {
    std::vector<std::pair<int, int>> out;
    for (const TournamentPairing& slot : t->pairings)
      if (slot.white != 0) out.emplace_back(slot.white, slot.black);
    return out;
  }
};

using Pairs = std::vector<std::pair<int, int>>;

TEST_F(Schedule, ThreeEntrantsUseTheFourTableWithoutEntrantFour) {
  t->entrantCount = 3;
  t->rounds = 2;
  ASSERT_EQ(BuildRoundRobinSchedule(), 1);
  EXPECT_EQ(Pairings(), (Pairs{{2, 3}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 1}}));
  EXPECT_STREQ(t->texts[0], "P2\t vs P3");
  EXPECT_STREQ(t->texts[3], "P3\t vs P2") << "colours reversed in the second cycle";
  EXPECT_EQ(t->pairings[0].result, kResultNotPlayed);
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

TEST_F(Schedule, StartsFromSlotZeroAndStopsAtTheLastSlot) {
  // 8 entrants, 28 pairings a cycle: ten cycles would need 280 slots. What
  // an earlier tournament left in the slots is cleared first.
  t->entrantCount = 8;
  t->rounds = 10;
  t->pairings[0] = TournamentPairing{5, 6, 2};
  t->pairings[255] = TournamentPairing{1, 2, 0};
  ASSERT_EQ(BuildRoundRobinSchedule(), 1);
  EXPECT_EQ(Pairings().size(), size_t(kTournamentPairings));
  EXPECT_EQ(t->pairings[0].white, 4);
  EXPECT_EQ(t->pairings[0].black, 8);
  EXPECT_EQ(t->pairings[0].result, kResultNotPlayed);
  EXPECT_EQ(t->pairings[28].white, 8) << "cycle 2 reverses the first pairing";
  EXPECT_EQ(t->pairings[28].black, 4);
  EXPECT_EQ(t->pairings[255].result, kResultNotPlayed);
}

TEST_F(Schedule, NoTournamentOrNoTable) {
  t->entrantCount = 9;
  t->rounds = 3;
  EXPECT_EQ(BuildRoundRobinSchedule(), 1);
  EXPECT_TRUE(Pairings().empty());
  g_room = nullptr;
  g_wizard = nullptr;
  EXPECT_EQ(BuildRoundRobinSchedule(), 0);
  SetTournamentDefaults();
  ResetWizardTournament();
  EXPECT_EQ(g_refreshed, 1);
}

TEST_F(Schedule, LongNamesAreCutNotOverrun) {
  t->entrantCount = 2;
  t->rounds = 1;
  std::memset(t->entrants[0].name, 'W', kEntrantNameSize);  // no terminating NUL
  std::memset(t->entrants[1].name, 'B', kEntrantNameSize);
  ASSERT_EQ(BuildRoundRobinSchedule(), 1);
  EXPECT_LT(std::strlen(t->texts[0]), size_t(kTournamentTextSize));
  EXPECT_EQ(std::strncmp(t->texts[0], "WWWW", 4), 0);
}

TEST_F(Schedule, WizardDefaultsAndReset) {
  wizard->rounds = 9;
  wizard->kind = TOURNAMENT_SWISS;
  wizard->rated = 1;
  wizard->timeControl = TournamentTimeControl{5, {}, 300000, 3000, 0};
  SetTournamentDefaults();
  EXPECT_EQ(wizard->rounds, 4);
  EXPECT_EQ(wizard->kind, TOURNAMENT_ROUND_ROBIN);
  EXPECT_EQ(wizard->rated, 0);
  EXPECT_EQ(wizard->timeControl.kind, 4);
  EXPECT_EQ(wizard->timeControl.base, 300000) << "the remembered values are kept";

  // The run-state fields (auto play .. saved game present) are cleared, the
  // fields before them and the choices are kept, every result is freed.
  wizard->entrantCount = 5;
  wizard->gamesPlayed = 3;
  wizard->autoPlay = wizard->started = wizard->gameInProgress = 1;
  wizard->adjourned = wizard->gameStarting = wizard->savedGamePresent = 1;
  wizard->pairings[7].result = 2;
  ResetWizardTournament();
  EXPECT_EQ(wizard->entrantCount, 5);
  EXPECT_EQ(wizard->gamesPlayed, 3);
  EXPECT_EQ(wizard->autoPlay + wizard->started + wizard->gameInProgress + wizard->adjourned +
                wizard->gameStarting + wizard->savedGamePresent,
            0);
  EXPECT_EQ(wizard->pairings[7].result, kResultNotPlayed);
  EXPECT_EQ(wizard->timeControl.kind, 4);
  EXPECT_EQ(g_refreshed, 1);
  EXPECT_EQ(t->rounds, 0) << "the room's tournament is not the wizard's";
}

}  // namespace
