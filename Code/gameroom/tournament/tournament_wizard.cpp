// The tournament wizard's decisions: see tournament_wizard.h.
#include "tournament_wizard.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Where the personality file keeps its stored rating (little-endian).
constexpr size_t kRatingOffset = 56;

}  // namespace

void SortCandidates(std::vector<TournamentCandidate>* candidates) {
  std::stable_sort(candidates->begin(), candidates->end(),
                   [](const TournamentCandidate& a, const TournamentCandidate& b) {
                     if (a.rating != b.rating) return a.rating > b.rating;
                     return std::strcmp(a.name.c_str(), b.name.c_str()) < 0;
                   });
}

std::string CandidateRow(const TournamentCandidate& c) {
  if (c.kind == kCandidateGrandmaster) return c.name;
  return c.name + " (" + std::to_string(c.rating) + ")";
}

std::string CandidateNameFromRow(const std::string& row, bool computer) {
  const size_t at = computer ? row.find('(') : row.rfind('(');
  if (at == std::string::npos) return row;
  size_t end = at;
  if (end > 0 && row[end - 1] == ' ') --end;
  return row.substr(0, end);
}

WizardTimeFields ShowWizardTimeControl(int kind, const WizardTimeValues& v) {
  WizardTimeFields f;
  switch (kind) {
    case 1:
      f.label1 = kWizardLabelMoves, f.value1 = v.moves;
      f.label2 = kWizardLabelPerMinutes, f.value2 = v.movesMinutes;
      break;
    case 5:
      f.value1 = v.fischerMinutes;
      f.label2 = kWizardLabelBonus, f.value2 = v.fischerBonus;
      break;
    case 6:
      f.label1 = kWizardLabelSeconds, f.value1 = v.hourglassSeconds, f.low1 = 5;
      break;
    default:
      f.value1 = v.minutes;
      break;
  }
  return f;
}

void StoreWizardTimeControl(Tournament* t, int value1, int value2, WizardTimeValues* v) {
  TournamentTimeControl& tc = t->timeControl;
  switch (tc.kind) {
    case 1:
      tc.increment = value1, tc.base = value2 * 60000;
      v->moves = value1, v->movesMinutes = value2;
      break;
    case 4:
      tc.base = value1 * 60000;
      v->minutes = value1;
      break;
    case 5:
      tc.base = value1 * 60000, tc.increment = value2 * 1000;
      v->fischerMinutes = value1, v->fischerBonus = value2;
      break;
    case 6:
      tc.base = value1 * 1000;
      v->hourglassSeconds = value1;
      break;
  }
}

WizardRounds TournamentWizardRounds(int kind, int p) {
  if (kind == TOURNAMENT_SWISS) {
    const int preset = p <= 6 ? 3 : p <= 8 ? 4 : p <= 16 ? 5 : p <= 24 ? 6 : 7;
    int high = 3;
    if (p >= 5) high = std::min(256 / (p / 2), p - 3);
    return {preset, 3, std::max(high, 3)};
  }
  const int perCycle = p * (p - 1) / 2;
  return {4, 1, p > 2 ? 256 / perCycle : 256};
}

int TournamentWizardGames(int kind, int p, int rounds) {
  return kind == TOURNAMENT_SWISS ? p / 2 * rounds : p * (p - 1) / 2 * rounds;
}

int ValidateTournamentEntrants(int kind, int n) {
  if (kind == TOURNAMENT_ROUND_ROBIN) {
    if (n < 2) return kWizardMsgRoundRobinFew;
    if (n > 8) return kWizardMsgRoundRobinMany;
    return 0;
  }
  return n < 6 ? kWizardMsgSwissFew : 0;
}

void FinishWizardTournament(Tournament* t, const std::vector<TournamentCandidate>& candidates) {
  int n = 0;
  for (const TournamentCandidate& c : candidates) {
    if (!c.selected || n == kTournamentEntrants) continue;
    TournamentEntrant& e = t->entrants[n];
    e = TournamentEntrant{};
    std::snprintf(e.name, sizeof e.name, "%s", c.name.c_str());
    e.computer = c.kind != 0;
    if (e.computer)
      std::memcpy(e.personality, c.personality.data(), std::min(c.personality.size(), sizeof e.personality));
    e.number = n + 1;
    // A person has no personality copy: the rating is the one the list showed.
    int32_t rating = c.rating;
    if (e.computer && c.personality.size() >= kRatingOffset + 4)
      rating =
          int32_t(uint32_t(e.personality[kRatingOffset]) | uint32_t(e.personality[kRatingOffset + 1]) << 8 |
                  uint32_t(e.personality[kRatingOffset + 2]) << 16 |
                  uint32_t(e.personality[kRatingOffset + 3]) << 24);
    e.rating = rating;
    ++n;
  }
  t->entrantCount = n;
  t->totalGames = TournamentTotalGames(t->kind, n, t->rounds);
}
