// The library room (room 4) in Rookwell.exe: its room record (menu 24, keys
// 38, the shortcut tile 140, the wallpaper, the board and the room's game of
// owner 4), entering and leaving it, its commands over the rules of
// library_room.h, the board's callback and right-click menus, and the
// re-enable timer 10101 on the main frame.
//
// The windows it opens but does not own come through LibraryRoomSeams: the
// classic-games dialog, the Annotation dialog's lock and the help viewer.
// Each default does what the program does without that window (the
// classic-games dialog answers "cancelled").
//
// Interface: LibraryRoomSeams, GetLibraryRoomSeams, SetLibraryRoomSeams,
// RegisterLibraryRoom, ActivateLibraryRoom, DeactivateLibraryRoom,
// LibraryRoomCommand, LibraryRoomTile, GetLibraryRoomMode,
// kLibraryReenableTimer.
#pragma once

#include <windows.h>

#include "room_records.h"

struct GameRecord;

constexpr UINT_PTR kLibraryReenableTimer = 10101;
constexpr UINT kLibraryReenableMs = 250;

struct LibraryRoomSeams {
  // Fills `game` with the chosen classic game; 0 when cancelled.
  int (*runClassicGamesDialog)(GameRecord* game, int* out);
  void (*lockAnnotationDialog)(int locked);
  // Opens a help file of the program folder at its contents (1) or index
  // (2); 1 when it opened.
  int (*openHelp)(HWND owner, const char* name, int command);
};
LibraryRoomSeams GetLibraryRoomSeams();
// A null entry takes its default.
void SetLibraryRoomSeams(const LibraryRoomSeams& seams);

void RegisterLibraryRoom();
int ActivateLibraryRoom(RoomRecord* record);
int DeactivateLibraryRoom(RoomRecord* record);
int LibraryRoomCommand(void* window, int command);
void LibraryRoomTile(int buttonId);
// -1 before the room's first entry.
int GetLibraryRoomMode();
