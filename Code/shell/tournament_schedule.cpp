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
  int count = 0;
  const TournamentPair* table = GetPairingTable(t->entrantCount, &count);
  const std::string vs = ShellString(kVsString);
  int slot = 0;
  for (int cycle = 1; cycle <= t->cycles && slot < kTournamentSlots; ++cycle) {
    for (int i = 0; i < count; ++i) {
      const TournamentPair& pair = table[i];
      if (pair.white > t->entrantCount || pair.black > t->entrantCount) continue;
      while (slot < kTournamentSlots && t->slots[slot].white != kTournamentSlotFree) ++slot;
      if (slot == kTournamentSlots) break;  // every slot is taken: the schedule ends here
      const bool odd = cycle % 2 == 1;
      TournamentPairing& out = t->slots[slot];
      out.white = odd ? pair.white : pair.black;
      out.black = odd ? pair.black : pair.white;
      char line[kTournamentLineSize];
      std::snprintf(line, sizeof line, "%.*s\t %s %.*s", kTournamentNameSize - 1, t->names[out.white - 1],
                    vs.c_str(), kTournamentNameSize - 1, t->names[out.black - 1]);
      std::memcpy(out.line, line, sizeof line);
    }
  }
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
