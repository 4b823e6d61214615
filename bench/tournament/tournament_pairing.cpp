// Times Swiss pairing: for each field of 6 to 32 entrants, whole
// tournaments (the wizard's largest round count) with random results over
// many seeds. Prints per field the mean round, the slowest round and how
// many rounds needed a relaxation of the rules.
//
//   tournament_pairing [seeds]   (default 200)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tournament.h"

namespace {

using Clock = std::chrono::steady_clock;

int MaxRounds(int n) {
  const int byGames = 256 / (n / 2);
  const int max = byGames < n - 3 ? byGames : n - 3;
  return max < 3 ? 3 : max;
}

}  // namespace

int main(int argc, char** argv) {
  const int seeds = argc > 1 ? std::atoi(argv[1]) : 200;
  auto t = std::make_unique<Tournament>();
  double slowestOverall = 0;
  std::printf("%8s %8s %12s %12s %10s\n", "entrants", "rounds", "mean ms", "slowest ms", "relaxed");
  for (int n = 6; n <= 32; ++n) {
    const int rounds = MaxRounds(n);
    double total = 0, slowest = 0;
    long paired = 0, relaxed = 0;
    for (int seed = 0; seed < seeds; ++seed) {
      ClearTournament(t.get());
      t->kind = TOURNAMENT_SWISS;
      t->entrantCount = n;
      t->rounds = rounds;
      t->totalGames = TournamentTotalGames(TOURNAMENT_SWISS, n, rounds);
      for (int i = 0; i < n; ++i) {
        t->entrants[i].number = i + 1;
        std::snprintf(t->entrants[i].name, sizeof t->entrants[i].name, "Entrant %d", i + 1);
        t->entrants[i].rating = 2400 - 20 * i;
      }
      SeededTournamentRandom random(uint64_t(seed) * 131 + uint64_t(n));
      SeededTournamentRandom results(uint64_t(seed) + 99);
      for (int r = 0; r < rounds; ++r) {
        t->currentRound = r;
        PairingRelaxation relaxation;
        const auto start = Clock::now();
        PairNextSwissRound(*t, random, "vs", &relaxation);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        total += ms;
        if (ms > slowest) slowest = ms;
        ++paired;
        if (relaxation.windowRounds >= 0 || relaxation.ignoredAbsolute) ++relaxed;
        for (int s = (n / 2) * r; s < (n / 2) * (r + 1); ++s) {
          const int32_t result = 1 + results.Below(3);
          t->pairings[s].result = result;
          ScoreTournamentGame(FindEntrant(t.get(), t->pairings[s].white, nullptr),
                              FindEntrant(t.get(), t->pairings[s].black, nullptr), result);
          ++t->gamesPlayed;
        }
      }
    }
    if (slowest > slowestOverall) slowestOverall = slowest;
    std::printf("%8d %8d %12.4f %12.4f %10ld\n", n, rounds, total / double(paired), slowest, relaxed);
  }
  std::printf("slowest round: %.4f ms\n", slowestOverall);
  return 0;
}
