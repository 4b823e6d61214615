// The coach window's rules: game events and the lock, when advice is due,
// the findings rows' texts and what each lookup result shows.
#include "coach_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(CoachEvents, LockHoldsRefreshesUntilUnlocked) {
  const struct {
    int code;
    bool locked;
    bool reset, lock, unlock, reattach;
  } cases[] = {
      {0, false, false, false, false, true},   {9, false, false, false, false, true},
      {10, false, false, false, false, true},  {11, false, false, false, false, true},
      {12, false, false, false, false, true},  {15, false, false, false, false, true},
      {1, false, true, false, false, false},   {2, false, false, false, false, false},
      {16, false, false, false, false, false}, {13, false, false, true, false, false},
      // While locked nothing re-attaches ...
      {0, true, false, false, false, false},   {9, true, false, false, false, false},
      {15, true, false, false, false, false},  {1, true, true, false, false, false},
      // ... until event 14, which unlocks and refreshes at once.
      {14, true, false, false, true, true},    {14, false, false, false, true, true},
      {13, true, false, true, false, false},
  };
  for (const auto& c : cases) {
    const CoachEventAction a = DecideCoachEvent(c.code, c.locked);
    EXPECT_EQ(a.resetAdvice, c.reset) << c.code << " " << c.locked;
    EXPECT_EQ(a.lock, c.lock) << c.code << " " << c.locked;
    EXPECT_EQ(a.unlock, c.unlock) << c.code << " " << c.locked;
    EXPECT_EQ(a.reattach, c.reattach) << c.code << " " << c.locked;
  }
}

TEST(CoachAdvice, NotWhileHiddenOrForTeachingKinds) {
  EXPECT_TRUE(CoachAdviceDue(false, true, true, 0));
  EXPECT_TRUE(CoachAdviceDue(false, true, true, 0x100 | 0x10000 | 0x2000 | 0x12000));
  EXPECT_FALSE(CoachAdviceDue(true, true, true, 0));
  EXPECT_FALSE(CoachAdviceDue(false, false, true, 0));
  EXPECT_FALSE(CoachAdviceDue(false, true, false, 0));
  for (uint32_t bit : {0x1000u, 0x4000u, 0x8000u, 0x20000u})
    EXPECT_FALSE(CoachAdviceDue(false, true, true, bit | 0x100)) << std::hex << bit;
}

TEST(CoachFindingsRows, ResultsPercentAndMoveTexts) {
  const struct {
    uint32_t w, d, l;
    const char* results;
    const char* pct;
  } cases[] = {
      {0, 0, 0, "+0 =0 -0", "NA"},
      {1, 1, 0, "+1 =1 -0", "75.0%"},
      {0, 0, 3, "+0 =0 -3", "0.0%"},
      {2, 0, 1, "+2 =0 -1", "66.7%"},
      {4000000000u, 0, 4000000000u, "+4000000000 =0 -4000000000", "50.0%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CoachResultsText(c.w, c.d, c.l), c.results);
    EXPECT_EQ(CoachPctText(c.w, c.d, c.l), c.pct);
  }
  EXPECT_EQ(CoachAdviceLine("e4\tTakes the centre."), " e4\tTakes the centre.   ");
  EXPECT_EQ(CoachMoveColumnText(CoachAdviceLine("e4\tTakes the centre."), "e2e4"), "e4");
  EXPECT_EQ(CoachMoveColumnText("   Nf3", "g1f3"), "Nf3");
  EXPECT_EQ(CoachMoveColumnText("", "g1f3"), "g1f3");
  EXPECT_EQ(CoachMoveColumnText("    ", "g1f3"), "g1f3");
  EXPECT_EQ(CoachMoveColumnText(" \tsomething", "g1f3"), "g1f3");
}

TEST(CoachFindingsRows, EachLookupResultShowsItsRow) {
  const struct {
    int result, rows;
    bool show, keep, add;
    const char* last;
  } cases[] = {
      {0, 3, true, false, false, "None"}, {0, 0, false, false, true, "None"},
      {1, 2, true, true, true, "Search..."}, {1, 0, true, true, true, "Search..."},
      {11, 0, false, false, true, "No database is open."}, {12, 0, false, false, true, "Can't open database."},
      {13, 0, false, false, true, "Database lacks key information."}, {10, 0, false, false, true, ""},
      {14, 0, false, false, true, ""}, {15, 0, false, false, true, ""},
  };
  for (const auto& c : cases) {
    const CoachLookupShow s = DescribeCoachLookup(c.result, c.rows);
    EXPECT_EQ(s.showRows, c.show) << c.result;
    EXPECT_EQ(s.keepRows, c.keep) << c.result;
    EXPECT_EQ(s.addLastRow, c.add) << c.result;
    if (c.add) {
      EXPECT_EQ(s.lastRow, c.last) << c.result;
    }
  }
}

TEST(CoachRequests, CounterSkipsZero) {
  uint32_t counter = 0xFFFFFFFEu;
  EXPECT_EQ(NextCoachRequest(&counter), 0xFFFFFFFFu);
  EXPECT_EQ(NextCoachRequest(&counter), 1u);
  EXPECT_EQ(NextCoachRequest(&counter), 2u);
  std::set<int> styles, commands;
  for (const CoachNotationItem& item : kCoachNotationItems) {
    styles.insert(item.style);
    commands.insert(item.command);
  }
  EXPECT_EQ(styles, (std::set<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(commands, (std::set<int>{40153, 40154, 40155, 40156, 40157, 40158}));
  EXPECT_EQ(kCoachNotationItems[0].style, 3);
}

}  // namespace
