// Room 1, the game room: its room record (menu 15, keys 19, the shortcut
// tiles, the wallpaper, the board and its first game), entering and
// leaving it, its commands (new game, load, set up position, set up game,
// copy a game from another room, a text to the engine), the board's context
// menu, and the Shortcuts window (numbered window 10) with the tiles of the
// current room.
//
// The windows it opens but does not own come through GameRoomSeams: the
// new-game set-up dialog, the set-up position window, loading a game, the
// advice dialog and game analysis. Each default does what the program does
// without that window (the set-up dialog answers "cancelled", the set-up
// position window cannot open).
//
// Interface: GameRoomSeams, GetGameRoomSeams, SetGameRoomSeams,
// RegisterGameRoomModule, SetUpGameRoom, ActivateGameRoom,
// DeactivateGameRoom, ReleaseGameRoom, GameRoomCommand,
// GameRoomTileCommand, GameRoomContextMenu, NewGameInGameRoom,
// CopyGameToGameRoom, SetUpGameInGameRoom, SetUpPositionInGameRoom,
// SetUpPositionEnd, LockGameRoomForSetUp, CreateShortcutsWindow,
// ShowShortcutsWindow, DestroyShortcutsWindow, ShowShortcutTiles,
// RaiseGameRoomPanels, RaiseRoomPanelsSoon.
#pragma once

#include <windows.h>

#include <cstdint>

#include "room_records.h"

struct Board;
struct GameRecord;

// The set-up position window's end: code 1 accepted with the new position
// and side to move; any other code cancelled.
using SetUpPositionEndCallback = void (*)(int code, const Board* position, int side);

struct GameRoomSeams {
  // The new-game dialog (100) over a template game it edits in place: 4096
  // when cancelled, else the change bits (1/2 White, 4/8 Black, 32 turn the
  // board, 64 another start position).
  int (*runGameSetupDialog)(GameRecord* templateGame);
  // Opens the set-up position window on a copy of a position; non-zero
  // when it opened (it calls `end` when it closes).
  int (*openSetUpPosition)(HWND owner, const Board* position, int side, SetUpPositionEndCallback end);
  // Asks for a game file and reads it into a new game record (null: none).
  GameRecord* (*loadGame)(HWND owner);
  void (*showAdvice)(GameRecord* game);
  void (*startGameAnalysis)();
  // The board's teaching display: the current mode, a new one, and the
  // display applied to a position.
  int (*getTeachingMode)();
  void (*setTeachingMode)(int mode);
  void (*applyTeachingDisplay)();
};
GameRoomSeams GetGameRoomSeams();
// A null entry takes its default.
void SetGameRoomSeams(const GameRoomSeams& seams);

// The room module of room 1 (activate, deactivate, release, the menu, the
// command handler, the context menu and the keys).
void RegisterGameRoomModule();

void* SetUpGameRoom(RoomRecord* record);
int ActivateGameRoom(RoomRecord* record);
int DeactivateGameRoom(RoomRecord* record);
void ReleaseGameRoom(RoomRecord* record, int isCurrent);
int GameRoomCommand(void* window, int id);
int GameRoomTileCommand(int id);
intptr_t GameRoomContextMenu(void* window, uintptr_t wParam, intptr_t lParam);

void NewGameInGameRoom();
// Copies `source` (which the caller keeps) into the room as its new game.
int CopyGameToGameRoom(const GameRecord* source);
void SetUpGameInGameRoom();
void SetUpPositionInGameRoom();
void SetUpPositionEnd(int code, const Board* position, int side);
void LockGameRoomForSetUp(int flag);

HWND CreateShortcutsWindow();
void ShowShortcutsWindow(int show);
void DestroyShortcutsWindow();
void ShowShortcutTiles(int room, int tileId, const char* tileBitmap);
// The room timer's call: the room's panels raised above the main frame once
// after each entry, when the frame is on screen.
void RaiseGameRoomPanels();
// The panels raised at the room timer's next tick (rooms 1 and 4).
void RaiseRoomPanelsSoon();
