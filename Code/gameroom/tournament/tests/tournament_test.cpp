#include "tournament.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "round_robin.h"
#include "tests/tournament_fixture.h"

namespace {

std::pair<int, int> Slot(const Tournament& t, int i) { return {t.pairings[i].white, t.pairings[i].black}; }

TEST(RoundRobin, ThreeEntrantsUseTheFourTableWithoutEntrantFour) {
  auto t = MakeTournament(TOURNAMENT_ROUND_ROBIN, 3, 2);
  ASSERT_EQ(BuildRoundRobinPairings(t.get(), "vs"), 6);
  const std::pair<int, int> want[] = {{2, 3}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 1}};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Slot(*t, i), want[i]) << i;
  EXPECT_STREQ(t->texts[0], "E2\t vs E3");
  EXPECT_EQ(t->pairings[6].white, 0);
}

TEST(RoundRobin, EveryPairMeetsOncePerCycleWithColoursReversed) {
  for (int n = 2; n <= 8; ++n) {
    const int perCycle = n * (n - 1) / 2;
    for (int cycles = 1; perCycle * cycles <= kTournamentPairings; ++cycles) {
      auto t = MakeTournament(TOURNAMENT_ROUND_ROBIN, n, cycles);
      ASSERT_EQ(BuildRoundRobinPairings(t.get(), "vs"), perCycle * cycles) << n << " " << cycles;
      ASSERT_EQ(t->totalGames, perCycle * cycles);
      for (int c = 0; c < cycles; ++c) {
        std::set<std::pair<int, int>> met;
        for (int g = 0; g < perCycle; ++g) {
          auto [w, b] = Slot(*t, c * perCycle + g);
          ASSERT_TRUE(w >= 1 && w <= n && b >= 1 && b <= n && w != b);
          EXPECT_TRUE(met.insert({std::min(w, b), std::max(w, b)}).second) << n << " cycle " << c;
          if (c > 0) {  // the same game a cycle earlier had the other colours
            auto [w0, b0] = Slot(*t, (c - 1) * perCycle + g);
            EXPECT_EQ(w, b0);
            EXPECT_EQ(b, w0);
          }
        }
      }
    }
  }
}

TEST(RoundRobin, TheMissingEntrantOfAnOddFieldRests) {
  // Five entrants: the six-table's rounds of three lose the game of 6.
  int count = 0;
  const RoundRobinPair* table = RoundRobinTable(6, &count);
  auto t = MakeTournament(TOURNAMENT_ROUND_ROBIN, 5, 1);
  BuildRoundRobinPairings(t.get(), "vs");
  int slot = 0;
  for (int round = 0; round < 5; ++round) {
    std::set<int> playing;
    for (int g = 0; g < 3; ++g) {
      const RoundRobinPair& p = table[round * 3 + g];
      if (p.white == 6 || p.black == 6) continue;
      EXPECT_EQ(Slot(*t, slot), std::make_pair(p.white, p.black));
      playing.insert(p.white), playing.insert(p.black);
      ++slot;
    }
    EXPECT_EQ(playing.size(), 4u);
  }
}

TEST(Swiss, RoundZeroPairsTopHalfWithBottomAndGivesTheLastTheBye) {
  auto t = MakeTournament(TOURNAMENT_SWISS, 7, 4);
  ScriptedRandom upperWhite(0x80000000u);  // the bit is set: board 1's upper entrant has White
  PairNextSwissRound(*t, upperWhite, "vs");
  EXPECT_EQ(Slot(*t, 0), std::make_pair(1, 4));
  EXPECT_EQ(Slot(*t, 1), std::make_pair(5, 2));
  EXPECT_EQ(Slot(*t, 2), std::make_pair(3, 6));
  EXPECT_EQ(t->entrants[6].number, 7);
  EXPECT_EQ(t->entrants[6].byeRound, 1);
  EXPECT_EQ(t->entrants[6].score, 10);
  EXPECT_EQ(t->pairings[3].white, 0);
}

void Played(Tournament* t, int slot, int white, int black) {
  t->pairings[slot].white = uint8_t(white);
  t->pairings[slot].black = uint8_t(black);
  t->pairings[slot].result = 3;
}

TEST(Swiss, ColourDueFollowsTheColoursPlayed) {
  struct Case {
    const char* colours;
    int32_t due;
  } cases[] = {{"", 0},         {"W", 2},      {"B", 1},       {"WB", 1},  {"WWB", 2},
               {"WWWB", 0x102}, {"BB", 0x101}, {"WWW", 0x102}, {"BBW", 1}, {"BBBW", 0x101}};
  for (const Case& c : cases) {
    auto t = MakeTournament(TOURNAMENT_SWISS, 6, 5);
    int slot = 0;
    for (const char* p = c.colours; *p; ++p, ++slot)
      Played(t.get(), slot, *p == 'W' ? 1 : 2, *p == 'W' ? 2 : 1);
    EXPECT_EQ(ColourDue(*t, 1), c.due) << c.colours;
  }
}

TEST(Swiss, CanPairEntrantsKeepsTheWindowAndColourRules) {
  auto t = MakeTournament(TOURNAMENT_SWISS, 6, 5);
  // Entrants 1 and 2 met in round 1 (slots 3..5); rounds 0 and 2 are others.
  const int games[][2] = {{1, 4}, {2, 5}, {3, 6}, {1, 2}, {3, 4}, {5, 6}, {1, 3}, {2, 6}, {4, 5}};
  for (int i = 0; i < 9; ++i) Played(t.get(), i, games[i][0], games[i][1]);
  t->gamesPlayed = 9;
  t->currentRound = 3;
  SeededTournamentRandom random(1);
  EXPECT_EQ(CanPairEntrants(*t, 1, 2, random), 0);  // window r mod 5 = 3 rounds reaches round 1
  EXPECT_NE(CanPairEntrants(*t, 1, 5, random), 0);
  EXPECT_EQ(CanPairEntrants(*t, 1, 1, random), 0);
  EXPECT_EQ(CanPairEntrants(*t, 0, 2, random), 0);
  EXPECT_EQ(CanPairEntrants(*t, 1, 33, random), 0);

  auto u = MakeTournament(TOURNAMENT_SWISS, 6, 5);
  u->entrants[0].colourDue = kDueWhite;
  u->entrants[1].colourDue = kDueWhite;
  for (uint32_t word : {0u, 0x80000000u}) {
    ScriptedRandom fixed(word);
    u->currentRound = 1;
    const int32_t flags = CanPairEntrants(*u, 1, 2, fixed);
    EXPECT_EQ(flags & 0xFF, 0);  // a due White in an odd round
    EXPECT_EQ(flags & 0x300, word ? kPairAWhite : kPairABlack);
    u->currentRound = 2;
    EXPECT_EQ(CanPairEntrants(*u, 1, 2, fixed) & 0xFF, 2);
  }
  u->entrants[0].colourDue = kDueBlack;
  u->entrants[1].colourDue = kDueBlack;
  u->currentRound = 1;
  SeededTournamentRandom any(3);
  EXPECT_EQ(CanPairEntrants(*u, 1, 2, any) & 0xFF, 1);
  u->entrants[0].colourDue = kDueBlack | kDueAbsolute;
  EXPECT_EQ(CanPairEntrants(*u, 1, 2, any) & 0x300, kPairABlack);
  EXPECT_EQ(CanPairEntrants(*u, 2, 1, any) & 0x300, kPairAWhite);
  u->entrants[1].colourDue = kDueBlack | kDueAbsolute;
  EXPECT_EQ(CanPairEntrants(*u, 1, 2, any), 0);
  u->entrants[1].colourDue = kDueWhite;
  EXPECT_EQ(CanPairEntrants(*u, 1, 2, any), 4 | kPairABlack);
}

TEST(Standings, TiesGoByOpponentsAverageThenRating) {
  auto t = MakeTournament(TOURNAMENT_SWISS, 6, 3);
  // E1 and E2 both score 1; E1 beat the weaker E6, E2 beat E3.
  const int games[][3] = {{1, 6, 2}, {2, 3, 2}, {4, 5, 3}};
  for (int i = 0; i < 3; ++i) {
    Played(t.get(), i, games[i][0], games[i][1]);
    t->pairings[i].result = games[i][2];
    ScoreTournamentGame(FindEntrant(t.get(), games[i][0], nullptr),
                        FindEntrant(t.get(), games[i][1], nullptr), games[i][2]);
  }
  t->gamesPlayed = 3;
  ComputeStandings(t.get(), 0, nullptr);
  EXPECT_STREQ(t->entrants[0].name, "E1");  // simple order: the higher rating
  ComputeStandings(t.get(), 1, nullptr);
  EXPECT_STREQ(t->entrants[0].name, "E2");  // tie-break: stronger opponents
  EXPECT_EQ(AverageOpponentRating(*t, t->entrants[0]), 1980);
  // Drawn E4 and E5, and beaten E3 and E6: the stronger opponent first.
  EXPECT_STREQ(t->entrants[2].name, "E5");
  EXPECT_EQ(t->entrants[2].score, 5);
  EXPECT_STREQ(t->entrants[4].name, "E6");
  EXPECT_EQ(FindEntrant(t.get(), 2, nullptr), &t->entrants[0]);  // numbers moved with their entrants
  EXPECT_EQ(FindEntrant(t.get(), 0, "E6"), &t->entrants[4]);
  EXPECT_EQ(FindEntrant(t.get(), 33, nullptr), nullptr);
  EXPECT_EQ(FindEntrant(nullptr, 1, nullptr), nullptr);
}

TEST(Standings, RoundRobinEntrantsStayAndTheOrderStringSorts) {
  auto t = MakeTournament(TOURNAMENT_ROUND_ROBIN, 3, 1);
  t->entrants[2].wins = 2;
  t->entrants[1].draws = 1;
  StandingsOrder order;
  ComputeStandings(t.get(), 1, &order);
  EXPECT_EQ(std::string(order.positions, 3), "210");
  EXPECT_STREQ(t->entrants[0].name, "E1");
}

TEST(Scoring, ResultCodesGivePoints) {
  struct Case {
    int32_t result;
    int whiteScore, blackScore;
  } cases[] = {{2, 10, 0}, {11, 10, 0}, {13, 10, 0}, {1, 0, 10}, {10, 0, 10}, {12, 0, 10},
               {3, 5, 5},  {9, 5, 5},   {14, 5, 5},  {15, 0, 0}, {16, 0, 0}};
  for (const Case& c : cases) {
    TournamentEntrant w{}, b{};
    ScoreTournamentGame(&w, &b, c.result);
    EXPECT_EQ(w.score, c.whiteScore) << c.result;
    EXPECT_EQ(b.score, c.blackScore) << c.result;
    EXPECT_EQ(w.gamesPlayed + b.gamesPlayed, 2);
    EXPECT_EQ(w.wins + w.draws + w.losses, c.whiteScore || c.blackScore ? 1 : 0) << c.result;
  }
}

// No complete pairing exists: four entrants left, every pair met inside
// the window and two absolutely due the same colour.
TEST(Swiss, RandomPairingWithoutALegalPairingRelaxesAndRecordsIt) {
  auto t = MakeTournament(TOURNAMENT_SWISS, 6, 5);
  const int games[][2] = {{1, 2}, {3, 4}, {5, 6}, {1, 3}, {2, 5}, {4, 6},
                          {1, 4}, {2, 6}, {3, 5}, {1, 5}, {2, 4}, {3, 6}};
  for (int i = 0; i < 12; ++i) Played(t.get(), i, games[i][0], games[i][1]);
  t->gamesPlayed = 12;
  t->currentRound = 4;  // window 4 rounds: every pair but 1-6, 2-3, 4-5 is barred
  for (int i = 0; i < 6; ++i) t->entrants[i].colourDue = ColourDue(*t, i + 1);
  // Bar the remaining three pairs too: make both absolutely due White.
  for (int n : {1, 6, 2, 3, 4, 5}) FindEntrant(t.get(), n, nullptr)->colourDue = kDueWhite | kDueAbsolute;
  SeededTournamentRandom random(7);
  PairingRelaxation relaxation;
  PairRoundAtRandom(*t, random, "vs", &relaxation);
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(t->entrants[i].paired) << i;
  EXPECT_EQ(relaxation.usedRandom, 1);
  EXPECT_EQ(relaxation.ignoredAbsolute, 1);
  EXPECT_GT(relaxation.attempts, 0);
  for (int s = 12; s < 15; ++s) EXPECT_NE(t->pairings[s].white, 0) << s;
}

}  // namespace
