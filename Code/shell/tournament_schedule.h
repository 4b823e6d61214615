// The round-robin schedule of the tournament room and the wizard's record
// defaults, as the shell offers them to the tournament code: pairing tables
// by the number of entrants, the pairings of every cycle written into the
// room's `Tournament`, the defaults the room's set-up gives the wizard, and
// the reset each new wizard starts from. The record, its pairing slots and
// the tables are the tournament core's; nothing here keeps a copy.
//
// Interface: TournamentPair, GetPairingTable, TournamentScheduleHost,
// SetTournamentScheduleHost, BuildRoundRobinSchedule, SetTournamentDefaults,
// ResetWizardTournament.
#pragma once

#include "round_robin.h"
#include "tournament.h"

// One game of a round: entrant numbers, 1-based; `white` has White in odd
// cycles.
using TournamentPair = RoundRobinPair;

// The pairing table for n entrants (2; 3..4; 5..6; 7..8), its length in
// *count; null and 0 for any other n. Tables for an even n serve n - 1
// entrants too, without the pairings of the missing entrant.
const TournamentPair* GetPairingTable(int entrants, int* count);

// What the schedule needs from the room and tournament code. Null members
// do nothing (no tournament).
struct TournamentScheduleHost {
  Tournament* (*roomTournament)();    // the tournament held as room 6's data, or null
  Tournament* (*wizardTournament)();  // the wizard's working record, or null
  // The tournament code shows the change (the room's menu follows the state).
  void (*refresh)(Tournament* tournament);
};
void SetTournamentScheduleHost(const TournamentScheduleHost& host);

// The room's tournament gets its schedule: every slot is cleared, then for
// each cycle 1..rounds and each pairing (a, b) of the table with both
// entrants present the next slot from 0 gets White a and Black b in odd
// cycles, the reverse in even ones, and the text "<White>\t <vs> <Black>".
// Stops when the 256 slots are used up. 1, or 0 without a tournament.
int BuildRoundRobinSchedule();
// The wizard's record: rounds 4, round robin, unrated, minutes per game.
void SetTournamentDefaults();
// The wizard's record before a new wizard: the run-state fields (auto play
// to saved game present) cleared, every pairing slot free.
void ResetWizardTournament();
