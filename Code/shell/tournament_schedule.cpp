// The tournament room's schedule text: see tournament_schedule.h.
#include "tournament_schedule.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "shell_strings.h"

namespace {

constexpr int kVsString = 394;

TournamentScheduleHost g_host{};

TournamentData* RoomTournament() { return g_host.roomTournament ? g_host.roomTournament() : nullptr; }

void Refresh(TournamentData* tournament) {
  if (g_host.refresh) g_host.refresh(tournament);
}

}  // namespace

const TournamentPair* GetPairingTable(int entrants, int* count) { return RoundRobinTable(entrants, count); }

void SetTournamentScheduleHost(const TournamentScheduleHost& host) { g_host = host; }

int BuildTournamentSchedule() {
  TournamentData* t = RoomTournament();
  if (!t) return 0;
  const std::string vs = ShellString(kVsString);
  int slot = 0;
  // The tournament core's rule: missing entrants skipped, colours reversed
  // in even cycles.
  ForEachRoundRobinGame(t->entrantCount, t->cycles, [&](int white, int black) {
    while (slot < kTournamentSlots && t->slots[slot].white != kTournamentSlotFree) ++slot;
    if (slot == kTournamentSlots) return false;  // every slot is taken: the schedule ends here
    TournamentPairing& out = t->slots[slot];
    out.white = white;
    out.black = black;
    char line[kTournamentLineSize];
    std::snprintf(line, sizeof line, "%.*s\t %s %.*s", kTournamentNameSize - 1, t->names[white - 1],
                  vs.c_str(), kTournamentNameSize - 1, t->names[black - 1]);
    std::memcpy(out.line, line, sizeof line);
    return true;
  });
  Refresh(t);
  return 1;
}

void ResetTournamentClock() {
  TournamentData* t = RoomTournament();
  if (!t) return;
  t->settings[TOURNAMENT_CLOCK_KIND] = 4;
  t->settings[TOURNAMENT_CLOCK_COMPANION] = 4;
  t->settings[TOURNAMENT_CLOCK_FIRST] = 0;
  t->settings[TOURNAMENT_CLOCK_SECOND] = 0;
}

void RestoreTournamentSettings() {
  TournamentData* t = RoomTournament();
  if (!t) return;
  std::memcpy(t->settings, t->remembered, sizeof t->settings);
  for (TournamentPairing& slot : t->slots) slot.white = kTournamentSlotFree;
  Refresh(t);
}
