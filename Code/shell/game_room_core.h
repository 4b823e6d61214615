// The game room's decisions without windows: its command ids and the rooms
// whose games it copies, the repairs a copied game's players get, the
// unfinished rated game it refuses, its first game's template, the items of
// the board's context menu by where the click lies, and the text the Send
// Engine Message dialog takes.
//
// Interface: GameRoomCommandId, kCopyGameFromItems, CopyGameSourceRoom,
// CopyItemState, CopyGameItemState, IsUnfinishedRatedGame,
// RepairCopiedPlayer, FillDefaultGameTemplate, BoardClickPlace,
// BoardMenuItem, ChooseBoardMenuItems, TakeEngineMessage,
// kEngineMessageChars, GameRoomTileCommandId.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game_record.h"

enum GameRoomCommandId : int {
  kCmdNewGame = 40007,
  kCmdLoadGame = 40014,
  kCmdSetUpPosition = 40017,
  kCmdSetUpGame = 40086,
  kCmdSendEngineMessage = 40208,
  kGameRoomFirstCommand = 40007,
  kGameRoomLastCommand = 40208,
};

// The "Copy Game From" items and the room each copies from.
struct CopyGameFromItem {
  int command;
  int room;
};
extern const CopyGameFromItem kCopyGameFromItems[6];
// The room of a "Copy Game From" command, or -1.
int CopyGameSourceRoom(int command);

// What entering the game room does to a "Copy Game From" item.
enum class CopyItemState { Grey, Enable, Unchanged };
// No game greys the item, a game with moves enables it, an empty game
// leaves it as it was.
CopyItemState CopyGameItemState(bool roomHasGame, int moveCount);

// A rated game (kind bit 0x20) whose result is 0 or 15 is not finished.
bool IsUnfinishedRatedGame(uint32_t kind, uint32_t result);

// A player copied from another room's game: a side above 1 becomes 0, an
// empty name the user's, and a player without time values, or any player
// of a game whose clocks are off, an untimed control (7).
void RepairCopiedPlayer(PlayerDescriptor* player, const char* userName, uint32_t gameKind);

// The game room's template: all zero but the two players, kind 256, White
// to move and the initial position.
constexpr uint32_t kDefaultTemplateKind = 0x100;
void FillDefaultGameTemplate(GameRecord* game, const PlayerDescriptor& white, const PlayerDescriptor& black);

// Where a right-click on the board lies.
enum class BoardClickPlace { PersonPiece, EnginePiece, EmptySquare, OffBoard };

// One entry of the context menu: a command and its caption string; command
// 0 with string 0 a separator; `popup` an entry opening the sub-menu that
// the following entries with `inPopup` fill.
struct BoardMenuItem {
  int command;
  int stringId;
  bool popup;
  bool inPopup;
};
// The entries for a click place; with a full-room window the game-play
// entries are left out.
std::vector<BoardMenuItem> ChooseBoardMenuItems(BoardClickPlace place, bool fullRoomWindow);

// Send Engine Message: the message is the first 31 characters of the edit.
constexpr int kEngineMessageChars = 31;
std::string TakeEngineMessage(const char* text);

// The game room's shortcut tiles (template 117).
enum GameRoomTileCommandId : int {
  kTileSetUpGame = 21650,
  kTileNewGame = 21655,
  kTileAdvice = 21660,
  kTileAnalysis = 21665,
};
