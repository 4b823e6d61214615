// The tournament of the tournament room (room 6) as the shell's schedule
// text sees it: entrants, cycles, the 256 pairing slots and the wizard's
// settings with the five it remembers. The tournament code owns the object
// and adds its own fields; the shell reads and writes only these.
//
// Interface: TournamentPairing, TournamentData, constants.
#pragma once

#include <cstdint>

constexpr int kTournamentMaxEntrants = 8;
constexpr int kTournamentNameSize = 260;
constexpr int kTournamentSlots = 256;
constexpr int kTournamentLineSize = 2 * kTournamentNameSize + 64;
constexpr int32_t kTournamentSlotFree = -2;  // a pairing slot's first value when it is unused
constexpr int kTournamentSettings = 5;

// The wizard's settings, by index: the clock kind and its companion setting,
// then the two time values that go with them.
enum TournamentSetting {
  TOURNAMENT_CLOCK_KIND = 0,
  TOURNAMENT_CLOCK_COMPANION = 1,
  TOURNAMENT_CLOCK_FIRST = 2,
  TOURNAMENT_CLOCK_SECOND = 3,
};

struct TournamentPairing {
  int32_t white;  // 1-based entrant numbers; white is kTournamentSlotFree in a free slot
  int32_t black;
  char line[kTournamentLineSize];  // "<White>\t <vs> <Black>"
};

struct TournamentData {
  int32_t entrantCount;
  int32_t cycles;
  char names[kTournamentMaxEntrants][kTournamentNameSize];
  TournamentPairing slots[kTournamentSlots];
  int32_t settings[kTournamentSettings];    // what the wizard shows now
  int32_t remembered[kTournamentSettings];  // what RestoreTournamentSettings brings back
};
