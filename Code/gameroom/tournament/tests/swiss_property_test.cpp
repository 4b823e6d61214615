// Whole Swiss tournaments with random results over many seeds: every round
// pairs each entrant once or gives the bye, byes are never repeated, the
// rules hold unless a relaxation was recorded, and numbers stay with their
// entrants.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

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

struct SeedsOutcome {
  long rounds = 0, relaxedRounds = 0;
  std::string failure;  // the first, with where it happened
};

// A thousand tournaments of n entrants, each played to the end.
SeedsOutcome PlayThousandSeeds(int n) {
  SeedsOutcome out;
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
      out.relaxedRounds += relaxed;
      ++out.rounds;
      if (!failure.empty()) {
        out.failure = failure + " (seed " + std::to_string(seed) + " round " + std::to_string(r) + ")";
        return out;
      }
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
  return out;
}

// The sizes are independent of each other and share nothing: they are
// played side by side, one size per processor at a time.
TEST(SwissProperty, ThousandSeedsForSixToThirtyTwoEntrants) {
  constexpr int kFewest = 6, kMost = 32;
  std::vector<SeedsOutcome> outcomes(kMost + 1);
  std::atomic<int> next{kFewest};
  const unsigned workers = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w)
    threads.emplace_back([&] {
      for (int n; (n = next.fetch_add(1)) <= kMost;) outcomes[n] = PlayThousandSeeds(n);
    });
  for (std::thread& t : threads) t.join();
  long relaxedRounds = 0, rounds = 0;
  for (int n = kFewest; n <= kMost; ++n) {
    EXPECT_EQ(outcomes[n].failure, "") << "n " << n;
    rounds += outcomes[n].rounds;
    relaxedRounds += outcomes[n].relaxedRounds;
  }
  RecordProperty("relaxed_rounds", std::to_string(relaxedRounds));
  std::printf("%ld rounds paired, %ld with a recorded relaxation\n", rounds, relaxedRounds);
}

}  // namespace
