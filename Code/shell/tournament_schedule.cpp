// The tournament room's schedule text: see tournament_schedule.h.
#include "tournament_schedule.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "shell_strings.h"

namespace {

constexpr int kVsString = 394;

constexpr TournamentPair kTwo[] = {{1, 2}};
constexpr TournamentPair kFour[] = {{1, 4}, {2, 3}, {3, 1}, {4, 2}, {1, 2}, {3, 4}};
constexpr TournamentPair kSix[] = {{3, 6}, {5, 4}, {1, 2}, {2, 6}, {4, 1}, {3, 5}, {6, 5}, {1, 3},
                                   {2, 4}, {6, 4}, {5, 1}, {2, 3}, {1, 6}, {2, 5}, {3, 4}};
constexpr TournamentPair kEight[] = {{4, 8}, {5, 3}, {6, 2}, {7, 1}, {8, 7}, {1, 6}, {2, 5},
                                     {3, 4}, {3, 8}, {4, 2}, {5, 1}, {6, 7}, {8, 6}, {7, 5},
                                     {1, 4}, {2, 3}, {2, 8}, {3, 1}, {4, 7}, {5, 6}, {8, 5},
                                     {6, 4}, {7, 3}, {1, 2}, {1, 8}, {2, 7}, {3, 6}, {4, 5}};

TournamentScheduleHost g_host{};

TournamentData* RoomTournament() { return g_host.roomTournament ? g_host.roomTournament() : nullptr; }

void Refresh(TournamentData* tournament) {
  if (g_host.refresh) g_host.refresh(tournament);
}

}  // namespace

const TournamentPair* GetPairingTable(int entrants, int* count) {
  const TournamentPair* table = nullptr;
  int n = 0;
  switch (entrants) {
    case 2:
      table = kTwo, n = int(std::size(kTwo));
      break;
    case 3:
    case 4:
      table = kFour, n = int(std::size(kFour));
      break;
    case 5:
    case 6:
      table = kSix, n = int(std::size(kSix));
      break;
    case 7:
    case 8:
      table = kEight, n = int(std::size(kEight));
      break;
    default:
      break;
  }
  if (count) *count = n;
  return table;
}

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
