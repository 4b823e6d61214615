// Small tournaments for the tests: entrants named "E<number>" with given
// ratings.
#pragma once

#include <cstdio>
#include <memory>

#include "tournament.h"

inline std::unique_ptr<Tournament> MakeTournament(int kind, int entrants, int rounds) {
  auto t = std::make_unique<Tournament>();
  ClearTournament(t.get());
  t->kind = kind;
  t->entrantCount = entrants;
  t->rounds = rounds;
  t->totalGames = TournamentTotalGames(kind, entrants, rounds);
  for (int i = 0; i < entrants; ++i) {
    TournamentEntrant& e = t->entrants[i];
    e.number = i + 1;
    std::snprintf(e.name, sizeof e.name, "E%d", i + 1);
    e.rating = 2000 - 10 * i;
    e.computer = 1;
  }
  return t;
}

// A fixed list of words as the random source.
class ScriptedRandom : public TournamentRandom {
 public:
  explicit ScriptedRandom(uint32_t word) : word_(word) {}
  uint32_t Next() override { return word_; }

 private:
  uint32_t word_;
};
