// The main loop's switches: idle level with its one kept level, poll
// counter, parked accelerators and the modeless dialog slot.
#include "main_loop.h"

#include <gtest/gtest.h>

namespace {

int g_room = 1;

struct LoopSwitches : ::testing::Test {
  void SetUp() override {
    // Level 0 with nothing kept.
    SetIdleLevel(-2);
    SetIdleLevel(0);
    SetIdleLevel(0);
    SetIdleLevel(-2);
    while (GetPollCount() > 0) ChangePollCount(0);
    g_room = 1;
    MainLoopHost host{};
    host.currentRoom = [] { return g_room; };
    SetMainLoopHost(host);
    SetActiveAccelerators(nullptr);
    EnableAccelerators(1);  // nothing parked in room 1 from an earlier test matters: cleared below
    SetActiveAccelerators(nullptr);
    ClearActiveModelessDialog();
  }
  void TearDown() override { SetMainLoopHost(MainLoopHost{}); }
};

TEST_F(LoopSwitches, ChangeIdleLevelNeverLowersBelowZero) {
  EXPECT_EQ(GetIdleLevel(), 0);
  EXPECT_EQ(ChangeIdleLevel(0), 0);
  EXPECT_EQ(GetIdleLevel(), 0);
  EXPECT_EQ(ChangeIdleLevel(1), 1);
  EXPECT_EQ(ChangeIdleLevel(1), 1);
  EXPECT_EQ(GetIdleLevel(), 2);
  EXPECT_EQ(ChangeIdleLevel(0), 1);
  EXPECT_EQ(ChangeIdleLevel(0), 0);
  EXPECT_EQ(GetIdleLevel(), 0);
  // The closing program's -1 stays.
  SetIdleLevel(-1);
  EXPECT_EQ(ChangeIdleLevel(0), 0);
  EXPECT_EQ(GetIdleLevel(), -1);
  EXPECT_EQ(ChangeIdleLevel(1), 0);
  EXPECT_EQ(GetIdleLevel(), 0) << "raising from -1 counts up as usual";
}

TEST_F(LoopSwitches, SetIdleLevelKeepsOneLevel) {
  ChangeIdleLevel(1);  // level 1
  EXPECT_EQ(SetIdleLevel(5), 1);
  EXPECT_EQ(GetIdleLevel(), 5);
  EXPECT_EQ(SetIdleLevel(-2), 1);
  EXPECT_EQ(GetIdleLevel(), 1) << "restored";
  EXPECT_EQ(SetIdleLevel(-2), 1);
  EXPECT_EQ(GetIdleLevel(), 1) << "nothing kept any more";
  // A second set keeps the level the first one set.
  SetIdleLevel(3);
  SetIdleLevel(-1);
  EXPECT_EQ(GetIdleLevel(), -1);
  EXPECT_EQ(SetIdleLevel(-2), 1);
  EXPECT_EQ(GetIdleLevel(), 3);
  // Values below -2 change nothing.
  EXPECT_EQ(SetIdleLevel(-3), 1);
  EXPECT_EQ(SetIdleLevel(-100), 1);
  EXPECT_EQ(GetIdleLevel(), 3);
  EXPECT_EQ(SetIdleLevel(0), 0);
  EXPECT_EQ(SetIdleLevel(-2), 1);
  EXPECT_EQ(GetIdleLevel(), 3);
}

TEST_F(LoopSwitches, PollCount) {
  EXPECT_EQ(ChangePollCount(0), 0);
  EXPECT_EQ(ChangePollCount(1), 1);
  EXPECT_EQ(ChangePollCount(7), 2) << "any non-zero adds one";
  EXPECT_EQ(ChangePollCount(0), 1);
  EXPECT_EQ(ChangePollCount(0), 0);
  EXPECT_EQ(ChangePollCount(0), 0);
  EXPECT_EQ(GetPollCount(), 0);
}

TEST_F(LoopSwitches, ParkedAcceleratorsComeBackOnlyInTheirRoom) {
  int tableA = 0, tableB = 0;
  EnableAccelerators(0);  // nothing active: nothing parked
  EnableAccelerators(1);
  EXPECT_EQ(GetActiveAccelerators(), nullptr);

  SetActiveAccelerators(&tableA);
  EnableAccelerators(0);
  EXPECT_EQ(GetActiveAccelerators(), nullptr);
  EnableAccelerators(1);
  EXPECT_EQ(GetActiveAccelerators(), &tableA);
  EnableAccelerators(1);
  EXPECT_EQ(GetActiveAccelerators(), &tableA) << "enabling twice changes nothing";

  // Park, switch rooms, enable: the new room's table (or none) stays.
  EnableAccelerators(0);
  g_room = 2;
  EnableAccelerators(1);
  EXPECT_EQ(GetActiveAccelerators(), nullptr);
  SetActiveAccelerators(&tableB);
  EnableAccelerators(1);
  EXPECT_EQ(GetActiveAccelerators(), &tableB);
}

TEST_F(LoopSwitches, ModelessDialogSlot) {
  int first = 0, second = 0;
  EXPECT_EQ(GetActiveModelessDialog(), nullptr);
  EXPECT_EQ(SetActiveModelessDialog(&first), nullptr);
  EXPECT_EQ(SetActiveModelessDialog(&second), &first);
  EXPECT_EQ(GetActiveModelessDialog(), &second);
  EXPECT_EQ(ClearActiveModelessDialog(), &second);
  EXPECT_EQ(GetActiveModelessDialog(), nullptr);
}

}  // namespace
