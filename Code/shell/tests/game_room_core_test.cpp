// The game room's tables and decisions: copy-from items, the repairs of a
// copied game's players, the refused rated game, the first game's template,
// the context menu by click place, the engine message's length.
#include "game_room_core.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "board.h"

namespace {

TEST(GameRoomCore, CopyFromItemsNameTheirRooms) {
  const struct {
    int command, room;
  } cases[] = {{40136, 3}, {40134, 5}, {40137, 2}, {40138, 4}, {40139, 7}, {40140, 6},
               {40135, -1}, {40141, -1}, {40007, -1}, {0, -1}};
  for (const auto& c : cases) EXPECT_EQ(CopyGameSourceRoom(c.command), c.room) << c.command;
  // Never the game room itself, never the same room twice.
  std::set<int> rooms;
  for (const auto& item : kCopyGameFromItems) {
    EXPECT_NE(item.room, 1);
    EXPECT_TRUE(rooms.insert(item.room).second);
  }
  EXPECT_EQ(CopyGameItemState(false, 0), CopyItemState::Grey);
  EXPECT_EQ(CopyGameItemState(false, 5), CopyItemState::Grey);
  EXPECT_EQ(CopyGameItemState(true, 0), CopyItemState::Unchanged);
  EXPECT_EQ(CopyGameItemState(true, 1), CopyItemState::Enable);
}

TEST(GameRoomCore, OnlyUnfinishedRatedGamesAreRefused) {
  const struct {
    uint32_t kind, result;
    bool refused;
  } cases[] = {{0x20, 0, true},   {0x20, 15, true},  {0x120, 0, true}, {0x20, 1, false},
               {0x20, 9, false},  {0x100, 0, false}, {0, 15, false},   {0xFFFFFFDF, 0, false}};
  for (const auto& c : cases) EXPECT_EQ(IsUnfinishedRatedGame(c.kind, c.result), c.refused) << c.kind << " " << c.result;
}

PlayerDescriptor Player(const char* name, uint32_t slot, uint32_t control, uint32_t base, uint32_t second) {
  PlayerDescriptor p{};
  std::snprintf(p.name, sizeof p.name, "%s", name);
  p.slot = slot;
  p.timeControl = control;
  p.baseMs = base;
  p.periodOrIncrement = second;
  return p;
}

TEST(GameRoomCore, CopiedPlayersAreRepaired) {
  const struct {
    PlayerDescriptor in;
    uint32_t kind;
    const char* name;
    uint32_t slot, control;
  } cases[] = {
      {Player("Ann", 1, 4, 300000, 0), 0, "Ann", 1, 4},        // timed: kept
      {Player("Ann", 0, 5, 0, 10000), 0, "Ann", 0, 5},         // increment alone counts as time
      {Player("Ann", 2, 4, 300000, 0), 0, "Ann", 0, 4},        // the third player's side
      {Player("Ann", 77, 4, 300000, 0), 0, "Ann", 0, 4},       // nonsense side
      {Player("", 1, 4, 300000, 0), 0, "TestUser", 1, 4},      // nameless: the user
      {Player("Ann", 1, 4, 0, 0), 0, "Ann", 1, 7},             // no time values
      {Player("Ann", 1, 4, 300000, 0), 0x20000000, "Ann", 1, 7},  // clocks off
  };
  for (const auto& c : cases) {
    PlayerDescriptor p = c.in;
    RepairCopiedPlayer(&p, "TestUser", c.kind);
    EXPECT_STREQ(p.name, c.name);
    EXPECT_EQ(p.slot, c.slot);
    EXPECT_EQ(p.timeControl, c.control) << c.in.name << " " << c.in.baseMs;
    EXPECT_EQ(p.baseMs, c.in.baseMs);
  }
  RepairCopiedPlayer(nullptr, "TestUser", 0);  // ignored
  PlayerDescriptor p = Player("", 1, 4, 1, 0);
  RepairCopiedPlayer(&p, nullptr, 0);
  EXPECT_STREQ(p.name, "");
}

TEST(GameRoomCore, TemplateIsZeroButPlayersKindSideAndStart) {
  static GameRecord game;
  std::memset(&game, 0xAB, sizeof game);
  PlayerDescriptor white = Player("TestUser", 7, 4, 300000, 0), black = Player("Rookwell", 7, 4, 300000, 0);
  black.kind = PLAYER_ENGINE;
  FillDefaultGameTemplate(&game, white, black);
  EXPECT_EQ(game.kind, 0x100u);
  EXPECT_EQ(game.sideToMove, WHITE);
  EXPECT_STREQ(game.white.name, "TestUser");
  EXPECT_STREQ(game.black.name, "Rookwell");
  EXPECT_EQ(game.white.slot, 1u);
  EXPECT_EQ(game.black.slot, 0u);
  EXPECT_EQ(game.black.kind, 1u);
  EXPECT_EQ(game.white.personality, nullptr);
  EXPECT_EQ(game.tree, nullptr);
  EXPECT_EQ(game.result, 0u);
  Board initial;
  SetInitialBoard(&initial);
  EXPECT_EQ(std::memcmp(&game.start, &initial, sizeof initial), 0);
  EXPECT_EQ(std::memcmp(&game.position, &initial, sizeof initial), 0);
}

std::string Describe(const std::vector<BoardMenuItem>& items) {
  std::string s;
  for (const BoardMenuItem& i : items) {
    if (!s.empty()) s += ' ';
    if (i.popup) s += "[" + std::to_string(i.stringId);
    else if (i.command == 0) s += "|";
    else s += (i.inPopup ? ">" : "") + std::to_string(i.command);
  }
  return s;
}

TEST(GameRoomCore, ContextMenuByClickPlace) {
  const struct {
    BoardClickPlace place;
    bool full;
    const char* items;
  } cases[] = {
      {BoardClickPlace::PersonPiece, false, "40087 | 40027 40022 40024 40025 40031 | 40"},
      {BoardClickPlace::PersonPiece, true, "40087 | 40"},
      {BoardClickPlace::EnginePiece, false, "40087 | 40021 40020 21 40031 | 40"},
      {BoardClickPlace::EnginePiece, true, "40087 | 40"},
      {BoardClickPlace::EmptySquare, false, "40007 40031 | 40087 11 | 40017 40163 | 40009 | 40"},
      {BoardClickPlace::EmptySquare, true, "40087 11 | 40009 | 40"},
      {BoardClickPlace::OffBoard, false,
       "40007 40014 40013 40022 | 40165 40166 40178 [2153 >40032 >40088 >40036 >40037 >32 >40034 | 40"},
      {BoardClickPlace::OffBoard, true, "40"},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(ChooseBoardMenuItems(c.place, c.full)), c.items);
  // Every item has its caption.
  for (auto place : {BoardClickPlace::PersonPiece, BoardClickPlace::EnginePiece, BoardClickPlace::EmptySquare,
                     BoardClickPlace::OffBoard})
    for (const BoardMenuItem& i : ChooseBoardMenuItems(place, false))
      if (i.command) {
        EXPECT_GE(i.stringId, 2100) << i.command;
      }
}

TEST(GameRoomCore, EngineMessageKeepsThirtyOneCharacters) {
  EXPECT_EQ(TakeEngineMessage("hint"), "hint");
  EXPECT_EQ(TakeEngineMessage(""), "");
  EXPECT_EQ(TakeEngineMessage(nullptr), "");
  const std::string long_text(512, 'x');
  EXPECT_EQ(TakeEngineMessage(long_text.c_str()).size(), 31u);
  EXPECT_EQ(TakeEngineMessage(std::string(31, 'y').c_str()), std::string(31, 'y'));
}

}  // namespace
