// The database room's game rebuilt from the window's game text: a text that
// reads replaces the room's game; one that does not, or a full registry,
// leaves no game registered and nothing allocated (the leak checker sees
// any record left behind). And the window's error text.
#include <gtest/gtest.h>

#include "fake_game_host.h"
#include "game_record.h"
#include "game_registry.h"
#include "roomgame.h"

namespace {

constexpr uint32_t kDatabaseRoom = 5;
const char kGame[] =
    "[Event \"Club\"]\n[White \"Ames\"]\n[Black \"Brook\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 1-0\n";

class RoomGame : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InitGameRegistry()); }
  void TearDown() override {
    DestroyAllGames();
    FreeGameRegistry();
  }
  FakeGameHost host_;
};

TEST_F(RoomGame, AGameTextReplacesTheRoomsGame) {
  GameRecord* first = RebuildRoomGameFromText(kGame, 17, kDatabaseRoom);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetGameForOwner(kDatabaseRoom), first);
  EXPECT_EQ(GetMoveCount(first), 5);
  EXPECT_EQ(first->reserved, 17u);
  GameRecord* second = RebuildRoomGameFromText(kGame, 18, kDatabaseRoom);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetGameForOwner(kDatabaseRoom), second);
  EXPECT_EQ(CountRegisteredGames(), 1);
}

TEST_F(RoomGame, WhatCannotBeRegisteredIsFreed) {
  ASSERT_NE(RebuildRoomGameFromText(kGame, 1, kDatabaseRoom), nullptr);
  // A text that does not read: the old game goes, no new one comes.
  EXPECT_EQ(RebuildRoomGameFromText("1. e4 e5 2. Qxf7 *", 2, kDatabaseRoom), nullptr);
  EXPECT_EQ(GetGameForOwner(kDatabaseRoom), nullptr);
  EXPECT_EQ(RebuildRoomGameFromText(nullptr, 3, kDatabaseRoom), nullptr);
  // A full registry refuses the record; it is destroyed, not leaked.
  for (uint32_t room = 10; CountRegisteredGames() < 10; ++room)
    ASSERT_NE(RebuildRoomGameFromText(kGame, 4, room), nullptr);
  EXPECT_EQ(RebuildRoomGameFromText(kGame, 5, kDatabaseRoom), nullptr);
  EXPECT_EQ(GetGameForOwner(kDatabaseRoom), nullptr);
}

TEST(DbEnvText, TheAllocationErrorIsSpelledRight) {
  EXPECT_EQ(DbEnvErrorText(kCannotAllocateText), "Error!\nCannot allocate memory.");
}

}  // namespace
