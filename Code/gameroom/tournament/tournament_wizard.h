// The tournament wizard's decisions, apart from its windows: the candidate
// list and its order, the rows the entrant lists show and the names read
// back from them, the time-control fields of the first page with the values
// remembered between wizards, the rounds page's range and game count, the
// entrant-count checks, and the record Finish makes.
//
// Interface: TournamentCandidate, SortCandidates, CandidateRow,
// CandidateNameFromRow, WizardTimeValues, WizardTimeFields,
// ShowWizardTimeControl, StoreWizardTimeControl, WizardRounds,
// TournamentWizardRounds, TournamentWizardGames, ValidateTournamentEntrants,
// FinishWizardTournament, constants.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tournament.h"

// Personality kinds as the record stores them; 0 is a person.
constexpr int kCandidateGrandmaster = 129;
constexpr int kCandidateCustom = 132;
constexpr int kCandidateOutsideEngine = 178;

// The string ids of the wizard's messages and labels.
enum WizardStringId {
  kWizardMsgCustomRated = 158,
  kWizardMsgProvisional = 160,
  kWizardMsgRoundRobinFew = 576,
  kWizardMsgRoundRobinMany = 569,
  kWizardMsgSwissFew = 571,
  kWizardLabelMinutes = 1254,
  kWizardLabelMoves = 1255,
  kWizardLabelBonus = 1256,
  kWizardLabelSeconds = 1257,
  kWizardLabelPerMinutes = 1258,
};

struct TournamentCandidate {
  std::string name;                  // file name without extension, or the user's name
  std::vector<uint8_t> personality;  // the personality file's bytes; empty for a person
  int32_t kind = 0;                  // personality kind, 0 for a person
  int32_t rating = 0;
  int32_t userValue = 0;
  int selected = 0;
};

// Higher rating first; equal ratings by name in byte order.
void SortCandidates(std::vector<TournamentCandidate>* candidates);
// "%s (%d)", a grandmaster "%s".
std::string CandidateRow(const TournamentCandidate& c);
// The name in a row: computers cut at the first "(", people at the last,
// with the blank before it.
std::string CandidateNameFromRow(const std::string& row, bool computer);

// What the first page shows for each time kind, kept for the program's run.
struct WizardTimeValues {
  int fischerMinutes = 5, fischerBonus = 3;
  int hourglassSeconds = 30;
  int moves = 40, movesMinutes = 40;
  int minutes = 10;
};
// The two labelled spin edits of the first page for one time kind.
struct WizardTimeFields {
  int label1 = kWizardLabelMinutes, value1 = 0, low1 = 1, high1 = 999;
  int label2 = 0, value2 = 0;  // label2 0: the second pair is hidden
};
WizardTimeFields ShowWizardTimeControl(int kind, const WizardTimeValues& remembered);
// The shown values into the record's time control (of its kind), and into
// the remembered values.
void StoreWizardTimeControl(Tournament* t, int value1, int value2, WizardTimeValues* remembered);

struct WizardRounds {
  int preset, low, high;
};
// The rounds spin of the last page for P entrants.
WizardRounds TournamentWizardRounds(int kind, int players);
int TournamentWizardGames(int kind, int players, int rounds);

// 0 when the count suits the kind, else the message's string id.
int ValidateTournamentEntrants(int kind, int entrants);

// The selected candidates, in candidate order, become the record's
// entrants with their numbers and cleared scores; total games follow from
// the kind and rounds. The record's kind, rounds and clock are the
// wizard's already.
void FinishWizardTournament(Tournament* t, const std::vector<TournamentCandidate>& candidates);
