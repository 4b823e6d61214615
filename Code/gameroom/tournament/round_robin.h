// The round-robin pairing tables: one table per size of field, each a list
// of (White, Black) entrant numbers grouped in rounds of N/2 games. A table
// for an even N also serves N - 1 entrants, whose missing entrant rests in
// the round where it would have played.
//
// Interface: RoundRobinPair, RoundRobinTable, ForEachRoundRobinGame.
#pragma once

struct RoundRobinPair {
  int white;  // entrant numbers from 1; `white` has White in odd cycles
  int black;
};

// The table for n entrants (2; 3..4; 5..6; 7..8) with its length in *count;
// null and 0 for any other n.
const RoundRobinPair* RoundRobinTable(int entrants, int* count);

// Calls visit(white, black) for every game of cycles 1..cycles in order:
// pairs naming an entrant above n are skipped and colours are reversed in
// even cycles. Returns the number of games visited; stops early when visit
// returns false.
template <typename Visit>
int ForEachRoundRobinGame(int entrants, int cycles, Visit visit) {
  int count = 0;
  const RoundRobinPair* table = RoundRobinTable(entrants, &count);
  int games = 0;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    for (int i = 0; i < count; ++i) {
      const RoundRobinPair& pair = table[i];
      if (pair.white > entrants || pair.black > entrants) continue;
      const bool odd = (cycle & 1) != 0;
      if (!visit(odd ? pair.white : pair.black, odd ? pair.black : pair.white)) return games;
      ++games;
    }
  }
  return games;
}
