// The drill builder's ten positions, read by another thread as they come,
// and the texts around a drill.
#include "drill_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <thread>

#include "movegen.h"

namespace {

bool SolutionIsLegal(const Board& b) {
  MoveRecord list[kMoveListRoom];
  uint16_t n = 0;
  GenerateLegalMoves(&b, list, &n, WHITE);
  for (int i = 0; i < n; ++i)
    if (list[i].from == b[kSolutionFromByte] && list[i].to == b[kSolutionToByte]) return true;
  return false;
}

TEST(DrillBuilder, TenPositionsSeenAsTheyAreBuiltAndRepeatableBySeed) {
  for (int kind = 0; kind < kDrillKinds; ++kind) {
    auto builder = std::make_unique<DrillBuilder>(kind, 5, 4242);
    int seen = 0;
    std::thread worker([&] {
      while (builder->Work()) {
      }
    });
    // The reader shows each position once it is counted as built.
    while (seen < kDrillPositions) {
      if (seen < builder->Built()) {
        EXPECT_TRUE(SolutionIsLegal(builder->Position(seen))) << "kind " << kind << " position " << seen;
        ++seen;
      }
    }
    worker.join();
    EXPECT_FALSE(builder->Work());
    EXPECT_EQ(builder->Built(), kDrillPositions);
    DrillBuilder again(kind, 5, 4242);
    while (again.Work()) {
    }
    for (int i = 0; i < kDrillPositions; ++i)
      EXPECT_EQ(0, std::memcmp(&again.Position(i), &builder->Position(i), sizeof(Board))) << kind << " " << i;
  }
}

TEST(DrillTexts, RecordRowsTitlesAndLessons) {
  for (int selector = 1; selector <= 5; ++selector) {
    EXPECT_TRUE(DrillRecordRowShown(DRILL_FORK, selector));
    EXPECT_EQ(DrillRecordRowShown(DRILL_AVERT_MATE, selector), selector == 5);
    EXPECT_EQ(DrillRecordRowShown(DRILL_PIN, selector), selector != 4);
  }
  EXPECT_EQ(FormatDrillTitle("Find Fork", "White", "Queen", 1, "to move"),
            "Find Fork -- White Queen to move");
  EXPECT_EQ(FormatDrillTitle("Mate in 1", "White", "Queen", 5, "to move"), "Mate in 1 -- White to move");
  const char* lesson = "In this drill, you must find the White %smove that checks Black's King.";
  EXPECT_EQ(FormatDrillLesson(lesson, "Rook", 2),
            "In this drill, you must find the White Rook move that checks Black's King.");
  EXPECT_EQ(FormatDrillLesson(lesson, "Rook", 5),
            "In this drill, you must find the White move that checks Black's King.");
}

}  // namespace
