// The classroom (room 3) and the kids room (room 2): their room modules for
// the shell's room switch, the kids panel and the rooms' commands.
//
// Interface: RegisterTeachingRooms, ShowClassroom, HideClassroom,
// ReleaseClassroom, ShowKidsRoom, HideKidsRoom, ReleaseKidsRoom,
// ClassroomCommand, KidsRoomCommand, SetRoom2Menus, TeachingRoomHooks,
// SetTeachingRoomHooks, GetKidsPanel.
#pragma once

#include <windows.h>

#include "room_records.h"

// Puts both rooms' modules into the shell's room table; called before the
// room records are made.
void RegisterTeachingRooms();

int ShowClassroom(RoomRecord* record);
int HideClassroom(RoomRecord* record);
void ReleaseClassroom(RoomRecord* record, int isCurrent);
int ShowKidsRoom(RoomRecord* record);
int HideKidsRoom(RoomRecord* record);
void ReleaseKidsRoom(RoomRecord* record, int isCurrent);
int ClassroomCommand(void* window, int command);
int KidsRoomCommand(void* window, int command);
void SetRoom2Menus(int full);
HWND GetKidsPanel();

// What the rooms ask of the game room and the second teaching part: the
// current game's rated state, the game dialogs, the master class and
// diagnostic dialogs, and whether a drill or checkmate exercise runs (with
// the way to end it). Null members: nothing of that kind exists.
struct TeachingRoomHooks {
  bool (*ratedGameUnfinished)() = nullptr;
  bool (*drillRunning)() = nullptr;
  void (*pauseDrillClock)(int pause) = nullptr;
  void (*cancelDrill)() = nullptr;
  bool (*exerciseRunning)() = nullptr;
  void (*endExercise)() = nullptr;
  bool (*queryAdjournRatedGame)() = nullptr;  // true: the room may be left
  void (*newGame)(HWND main) = nullptr;
  void (*loadGame)(HWND main) = nullptr;
  void (*ratedGameDialog)(HWND main) = nullptr;
  void (*gameOptions)(HWND main) = nullptr;
  void (*showMasterClass)(HWND main) = nullptr;
  void (*showDiagnosticResults)(HWND main) = nullptr;
  void (*showAdvice)(HWND main) = nullptr;
};
void SetTeachingRoomHooks(const TeachingRoomHooks& hooks);
TeachingRoomHooks GetTeachingRoomHooks();
