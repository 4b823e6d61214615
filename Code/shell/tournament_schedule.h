// The round-robin schedule of the tournament room: pairing tables by the
// number of entrants, the pairing lines of every cycle, and the wizard's
// clock and remembered settings.
//
// Interface: TournamentPair, GetPairingTable, TournamentScheduleHost,
// SetTournamentScheduleHost, BuildTournamentSchedule, ResetTournamentClock,
// RestoreTournamentSettings.
#pragma once

#include "round_robin.h"
#include "tournament.h"

// One game of a round: entrant numbers, 1-based; `white` has White in odd
// cycles. The tables are the tournament core's.
using TournamentPair = RoundRobinPair;

// The pairing table for n entrants (2; 3..4; 5..6; 7..8), its length in
// *count; null and 0 for any other n. Tables for an even n serve n - 1
// entrants too, without the pairings of the missing entrant.
const TournamentPair* GetPairingTable(int entrants, int* count);

// What the schedule needs from the room and tournament code. Null members
// do nothing (no tournament).
struct TournamentScheduleHost {
  TournamentData* (*roomTournament)();          // the tournament held as room 6's data, or null
  void (*refresh)(TournamentData* tournament);  // the tournament code shows the change
};
void SetTournamentScheduleHost(const TournamentScheduleHost& host);

// For each cycle 1..cycles and each pairing (a, b) of the table with both
// entrants present, the next free pairing slot gets White a and Black b in
// odd cycles, the reverse in even ones, and the line "<White>\t <vs>
// <Black>". Stops when the 256 slots are used up. 1, or 0 without a
// tournament.
int BuildTournamentSchedule();
// Wizard's clock kind and companion to 4, the two time values to 0.
void ResetTournamentClock();
// The remembered settings become the current ones; every slot is freed.
void RestoreTournamentSettings();
