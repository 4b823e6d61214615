// The tournament wizard's decisions: rounds ranges and game counts, time
// fields that come back after a change of kind, candidate order and rows,
// entrant-count checks and the record Finish makes.
#include "tournament_wizard.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(TournamentWizard, RoundsRangesAndGames) {
  struct Case {
    int kind, players, preset, low, high, gamesAtPreset;
  };
  const Case cases[] = {
      {TOURNAMENT_SWISS, 7, 4, 3, 4, 12},  // 256 / 3 = 85, P - 3 = 4
      {TOURNAMENT_SWISS, 6, 3, 3, 3, 9},         {TOURNAMENT_SWISS, 16, 5, 3, 13, 40},
      {TOURNAMENT_SWISS, 32, 7, 3, 16, 112},  // 256 / 16 = 16
      {TOURNAMENT_SWISS, 4, 3, 3, 3, 6},      // below 5: never below 3
      {TOURNAMENT_ROUND_ROBIN, 8, 4, 1, 9, 112}, {TOURNAMENT_ROUND_ROBIN, 3, 4, 1, 85, 12},
      {TOURNAMENT_ROUND_ROBIN, 2, 4, 1, 256, 4},
  };
  for (const Case& c : cases) {
    const WizardRounds r = TournamentWizardRounds(c.kind, c.players);
    EXPECT_EQ(r.preset, c.preset) << c.kind << "/" << c.players;
    EXPECT_EQ(r.low, c.low) << c.kind << "/" << c.players;
    EXPECT_EQ(r.high, c.high) << c.kind << "/" << c.players;
    EXPECT_EQ(TournamentWizardGames(c.kind, c.players, r.preset), c.gamesAtPreset)
        << c.kind << "/" << c.players;
  }
  EXPECT_EQ(TournamentWizardGames(TOURNAMENT_ROUND_ROBIN, 8, 9), 252);
}

TEST(TournamentWizard, TimeFieldsComeBackAfterAnotherKind) {
  std::unique_ptr<Tournament> t(new Tournament{});
  WizardTimeValues remembered;
  WizardTimeFields f = ShowWizardTimeControl(5, remembered);
  EXPECT_EQ(f.label1, kWizardLabelMinutes);
  EXPECT_EQ(f.value1, 5);
  EXPECT_EQ(f.label2, kWizardLabelBonus);
  EXPECT_EQ(f.value2, 3);

  t->timeControl.kind = 5;
  StoreWizardTimeControl(t.get(), 5, 3, &remembered);  // leaving Fischer for hourglass
  t->timeControl.kind = 6;
  f = ShowWizardTimeControl(6, remembered);
  EXPECT_EQ(f.label1, kWizardLabelSeconds);
  EXPECT_EQ(f.value1, 30);
  EXPECT_EQ(f.low1, 5);
  EXPECT_EQ(f.label2, 0) << "hourglass has no second field";
  StoreWizardTimeControl(t.get(), 45, 0, &remembered);
  EXPECT_EQ(t->timeControl.base, 45000);

  t->timeControl.kind = 5;
  f = ShowWizardTimeControl(5, remembered);
  EXPECT_EQ(f.value1, 5);
  EXPECT_EQ(f.value2, 3);
  StoreWizardTimeControl(t.get(), f.value1, f.value2, &remembered);
  EXPECT_EQ(t->timeControl.base, 300000);
  EXPECT_EQ(t->timeControl.increment, 3000);

  t->timeControl.kind = 1;
  f = ShowWizardTimeControl(1, remembered);
  EXPECT_EQ(f.label1, kWizardLabelMoves);
  EXPECT_EQ(f.label2, kWizardLabelPerMinutes);
  StoreWizardTimeControl(t.get(), 30, 90, &remembered);
  EXPECT_EQ(t->timeControl.increment, 30);
  EXPECT_EQ(t->timeControl.base, 90 * 60000);
  EXPECT_EQ(remembered.hourglassSeconds, 45) << "each kind keeps its own values";
  EXPECT_EQ(ShowWizardTimeControl(4, remembered).value1, 10);
}

TEST(TournamentWizard, CandidatesOrderRowsAndNames) {
  std::vector<TournamentCandidate> c(4);
  c[0].name = "Wren - Age 10", c[0].rating = 900, c[0].kind = 179;
  c[1].name = "Grandmaster", c[1].rating = 2600, c[1].kind = kCandidateGrandmaster;
  c[2].name = "Anna", c[2].rating = 900, c[2].kind = 0;
  c[3].name = "Custom (old)", c[3].rating = 0, c[3].kind = kCandidateCustom;
  SortCandidates(&c);
  EXPECT_EQ(c[0].name, "Grandmaster");
  EXPECT_EQ(c[1].name, "Anna") << "equal ratings by name in byte order";
  EXPECT_EQ(c[2].name, "Wren - Age 10");
  EXPECT_EQ(CandidateRow(c[0]), "Grandmaster");
  EXPECT_EQ(CandidateRow(c[2]), "Wren - Age 10 (900)");
  EXPECT_EQ(CandidateRow(c[3]), "Custom (old) (0)");
  // A computer's name is cut at its first "(", a person's at the last.
  EXPECT_EQ(CandidateNameFromRow("Wren - Age 10 (900)", true), "Wren - Age 10");
  EXPECT_EQ(CandidateNameFromRow("Grandmaster", true), "Grandmaster");
  EXPECT_EQ(CandidateNameFromRow("Jo (Jr) (1400)", false), "Jo (Jr)");
}

TEST(TournamentWizard, EntrantCounts) {
  EXPECT_EQ(ValidateTournamentEntrants(TOURNAMENT_ROUND_ROBIN, 1), 576);
  EXPECT_EQ(ValidateTournamentEntrants(TOURNAMENT_ROUND_ROBIN, 2), 0);
  EXPECT_EQ(ValidateTournamentEntrants(TOURNAMENT_ROUND_ROBIN, 8), 0);
  EXPECT_EQ(ValidateTournamentEntrants(TOURNAMENT_ROUND_ROBIN, 9), 569);
  EXPECT_EQ(ValidateTournamentEntrants(TOURNAMENT_SWISS, 5), 571);
  EXPECT_EQ(ValidateTournamentEntrants(TOURNAMENT_SWISS, 32), 0);
}

TEST(TournamentWizard, FinishMakesTheEntrants) {
  std::unique_ptr<Tournament> t(new Tournament{});
  ClearTournament(t.get());
  t->kind = TOURNAMENT_ROUND_ROBIN;
  t->rounds = 2;
  t->entrants[2].wins = 7;  // left from an earlier tournament
  std::vector<TournamentCandidate> c(4);
  c[0].name = "Rookwell", c[0].kind = 179, c[0].rating = 2400, c[0].selected = 1;
  c[0].personality.assign(3104, 0);
  c[0].personality[56] = 0x2E, c[0].personality[57] = 0x09;  // stored rating 2350
  c[1].name = "Not chosen", c[1].kind = 179, c[1].selected = 0;
  c[2].name = "Anna", c[2].kind = 0, c[2].rating = 1420, c[2].selected = 1;
  c[3].name = std::string(40, 'L'), c[3].kind = 179, c[3].selected = 1;
  c[3].personality.assign(3104, 0);
  FinishWizardTournament(t.get(), c);
  EXPECT_EQ(t->entrantCount, 3);
  EXPECT_EQ(t->totalGames, 6);
  EXPECT_STREQ(t->entrants[0].name, "Rookwell");
  EXPECT_EQ(t->entrants[0].rating, 2350) << "the personality copy's own rating";
  EXPECT_EQ(t->entrants[0].computer, 1);
  EXPECT_STREQ(t->entrants[1].name, "Anna");
  EXPECT_EQ(t->entrants[1].computer, 0);
  EXPECT_EQ(t->entrants[1].rating, 1420);
  EXPECT_EQ(std::string(t->entrants[2].name), std::string(31, 'L')) << "names keep 31 characters";
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(t->entrants[i].number, i + 1);
    EXPECT_EQ(t->entrants[i].wins + t->entrants[i].score + t->entrants[i].byeRound, 0);
  }
}

}  // namespace
