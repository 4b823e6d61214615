// Whole Swiss tournaments with random results over many seeds: every round
// pairs each entrant once or gives the bye, byes are never repeated, the
// rules hold unless a relaxation was recorded, and numbers stay with their
// entrants.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/tournament_fixture.h"
#include "tournament.h"

namespace {

int WizardMaxRounds(int n) {
  const int byGames = 256 / (n / 2);
  const int max = byGames < n - 3 ? byGames : n - 3;
  return max < 3 ? 3 : max;
}

void CheckRound(const Tournament& t, const PairingRelaxation& relaxation, const int32_t* dueBefore,
                const int* byeBefore, int* relaxed, std::string* failure) {
  const int n = t.entrantCount, half = n / 2, r = t.currentRound;
  int seen[kTournamentEntrants + 1] = {};
  for (int s = half * r; s < half * (r + 1); ++s) {
    const TournamentPairing& p = t.pairings[s];
    if (p.white == 0 || p.black == 0 || p.white == p.black) {
      *failure = "slot " + std::to_string(s) + " unpaired";
      return;
    }
    ++seen[p.white], ++seen[p.black];
    if (relaxation.windowRounds < 0) {
      const int window = r % (n - 1);
      for (int old = t.gamesPlayed - window * half; old < t.gamesPlayed; ++old) {
        const TournamentPairing& q = t.pairings[old < 0 ? 0 : old];
        if ((q.white == p.white && q.black == p.black) || (q.white == p.black && q.black == p.white))
          *failure = "rematch inside the window";
      }
    }
    if (!relaxation.ignoredAbsolute) {
      if (dueBefore[p.white] == (kDueBlack | kDueAbsolute) ||
          dueBefore[p.black] == (kDueWhite | kDueAbsolute))
        *failure = "absolute colour broken";
    }
  }
  int byes = 0;
  for (int i = 0; i < n; ++i) {
    const TournamentEntrant& e = t.entrants[i];
    char want[8];
    std::snprintf(want, sizeof want, "E%d", e.number);
    if (std::strcmp(e.name, want) != 0) *failure = "number left its entrant";
    const bool bye = e.byeRound == r + 1;
    if (bye) {
      ++byes;
      if (byeBefore[e.number] != 0) *failure = "second bye";
    }
    if (seen[e.number] + (bye ? 1 : 0) != 1)
      *failure = "entrant " + std::to_string(e.number) + " paired wrongly";
  }
  if (byes != (n & 1)) *failure = "bye count";
  if (relaxation.usedRandom && (relaxation.windowRounds >= 0 || relaxation.ignoredAbsolute)) ++*relaxed;
}

TEST(SwissProperty, ThousandSeedsForSixToThirtyTwoEntrants) {
  long relaxedRounds = 0, rounds = 0;
  for (int n = 6; n <= 32; ++n) {
    const int maxRounds = WizardMaxRounds(n);
    for (uint64_t seed = 0; seed < 1000; ++seed) {
      const int tournamentRounds = 3 + int(seed % uint64_t(maxRounds - 2));
      auto t = MakeTournament(TOURNAMENT_SWISS, n, tournamentRounds);
      SeededTournamentRandom random(seed * 977 + uint64_t(n));
      SeededTournamentRandom results(seed + 12345);
      for (int r = 0; r < tournamentRounds; ++r) {
        t->currentRound = r;
        int32_t due[kTournamentEntrants + 1] = {};
        int bye[kTournamentEntrants + 1] = {};
        for (int i = 0; i < n; ++i) {
          due[t->entrants[i].number] = r ? ColourDue(*t, t->entrants[i].number) : 0;
          bye[t->entrants[i].number] = t->entrants[i].byeRound;
        }
        PairingRelaxation relaxation;
        PairNextSwissRound(*t, random, "vs", &relaxation);
        std::string failure;
        int relaxed = 0;
        CheckRound(*t, relaxation, due, bye, &relaxed, &failure);
        relaxedRounds += relaxed;
        ++rounds;
        ASSERT_EQ(failure, "") << "n " << n << " seed " << seed << " round " << r;
        for (int s = (n / 2) * r; s < (n / 2) * (r + 1); ++s) {
          static const int32_t kResults[] = {1, 2, 3};
          const int32_t result = kResults[results.Below(3)];
          t->pairings[s].result = result;
          ScoreTournamentGame(FindEntrant(t.get(), t->pairings[s].white, nullptr),
                              FindEntrant(t.get(), t->pairings[s].black, nullptr), result);
          ++t->gamesPlayed;
        }
      }
    }
  }
  RecordProperty("relaxed_rounds", std::to_string(relaxedRounds));
  std::printf("%ld rounds paired, %ld with a recorded relaxation\n", rounds, relaxedRounds);
}

}  // namespace
