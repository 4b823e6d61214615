// The tournament room's schedule and the wizard's record defaults: see
// tournament_schedule.h.
#include "tournament_schedule.h"

#include <string>

#include "shell_strings.h"

namespace {

constexpr int kVsString = 394;

TournamentScheduleHost g_host{};

Tournament* RoomTournament() { return g_host.roomTournament ? g_host.roomTournament() : nullptr; }
Tournament* WizardTournament() { return g_host.wizardTournament ? g_host.wizardTournament() : nullptr; }

void Refresh(Tournament* tournament) {
  if (g_host.refresh) g_host.refresh(tournament);
}

void FreeSlots(Tournament* t) {
  for (int i = 0; i < kTournamentPairings; ++i) {
    t->pairings[i] = TournamentPairing{0, 0, kResultNotPlayed};
    t->texts[i][0] = '\0';
  }
}

}  // namespace

const TournamentPair* GetPairingTable(int entrants, int* count) { return RoundRobinTable(entrants, count); }

void SetTournamentScheduleHost(const TournamentScheduleHost& host) { g_host = host; }

int BuildRoundRobinSchedule() {
  Tournament* t = RoomTournament();
  if (!t) return 0;
  FreeSlots(t);
  // The tournament core's rule: missing entrants skipped, colours reversed
  // in even cycles, texts cut to the slot.
  const std::string vs = ShellString(kVsString);  // the loader's buffer may be shared
  BuildRoundRobinPairings(t, vs.c_str());
  Refresh(t);
  return 1;
}

void SetTournamentDefaults() {
  Tournament* t = WizardTournament();
  if (!t) return;
  t->rounds = 4;
  t->kind = TOURNAMENT_ROUND_ROBIN;
  t->rated = 0;
  t->timeControl.kind = 4;
}

void ResetWizardTournament() {
  Tournament* t = WizardTournament();
  if (!t) return;
  t->autoPlay = t->started = t->gameInProgress = t->adjourned = 0;
  t->gameStarting = t->savedGamePresent = 0;
  for (TournamentPairing& p : t->pairings) p.result = kResultNotPlayed;
  Refresh(t);
}
