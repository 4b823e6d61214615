// The tournament file reader takes whatever a file holds; the appended game
// goes through the game file reader as the loader hands it on.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "game_file.h"
#include "game_record.h"
#include "tournament_file.h"
#include "tournament_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto t = std::make_unique<Tournament>();
  std::string name, saved;
  if (ParseTournamentFile(data, size, t.get(), &name, &saved) != 0) return 0;
  // An accepted record must survive pairing and standings.
  SeededTournamentRandom random(size);
  StandingsOrder order;
  ComputeStandings(t.get(), 1, &order);
  for (int i = 0; i < t->entrantCount; ++i) AverageOpponentRating(*t, t->entrants[i]);
  if (t->kind == TOURNAMENT_SWISS && t->gamesPlayed < t->totalGames) PairNextSwissRound(*t, random, "vs");
  if (!saved.empty()) {
    if (GameRecord* game = CreateGame(80, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16, 1, 0)) {
      ReadGameFileV8(game, reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
      DestroyGame(game);
    }
  }
  return 0;
}
