// The rooms: their records, the modules that plug into them, the room
// timer's hold count and the room switch. OS-free: what the switch does to
// windows, menus and the status line goes through a RoomSwitchHost, which
// the room window fills in the Windows build and the tests with fakes.
//
// Every room takes part through one RoomModule. A room whose module is not
// built yet gets the placeholder: activating it shows the navigation bar,
// leaving it is always agreed, and its menu is a copy of the main menu whose
// handler handles nothing.
//
// Interface: RoomModule, RegisterRoomModule, GetRoomModule, RoomSwitchHost,
// SetRoomSwitchHost, CreateRoomRecords, FreeRoomRecords, ResetRoomRecord,
// GetRoomRecord, GetRoomData, SwitchRoom, GetRoomNumber, SetRoomNumber,
// HoldRoomTimer, ReleaseRoomTimer, IsRoomTimerHeld, SuspendRoomTimer.
#pragma once

#include <cstdint>

#include "room_records.h"

struct GameRecord;

struct RoomModule {
  // Non-zero from deactivate: the room may be left.
  int (*activate)(RoomRecord* record);
  int (*deactivate)(RoomRecord* record);
  RoomReleaseCallback release;
  // The room's menu, made once when the record is made (null: none).
  CmMenu* (*makeMenu)(int room);
  RoomCommandHandler commandHandler;
  RoomMessageCallback messageCallback;
  void* (*accelerators)(int room);
};

// Null puts the placeholder back.
void RegisterRoomModule(int room, const RoomModule* module);
// The module in use for a room (the placeholder's when none registered);
// null outside 0..7.
const RoomModule* GetRoomModule(int room);
// 1 when a room has its own module.
int HasRoomModule(int room);

class RoomSwitchHost {
 public:
  virtual ~RoomSwitchHost() = default;
  virtual void ClearStatusText() {}
  virtual void SelectNavigationRoom(int /*room*/) {}
  virtual void ShowNavigationBar() {}
  virtual void SetMainMenu(CmMenu* /*menu*/, RoomCommandHandler /*handler*/) {}
  virtual void SetAccelerators(void* /*table*/) {}
  virtual void UpdateMainMenuState() {}
  // The placeholder's menu: a copy of the main menu.
  virtual CmMenu* CopyMainMenu() { return nullptr; }
  virtual void FreeMenu(CmMenu* /*menu*/) {}
  // The game that room `room` owns, or null.
  virtual GameRecord* RoomGame(int /*room*/) { return nullptr; }
  // Board appearance of a room that owns a game.
  virtual void PrepareRoomBoard(RoomRecord* /*record*/, GameRecord* /*game*/) {}
  virtual void ShowShortcutTiles(RoomRecord* /*record*/) {}
  virtual void SetWallpaper(RoomRecord* /*record*/) {}
  // Window 4 becomes the room's board window; shown unless the room is 0.
  virtual void PlaceBoardWindow(RoomRecord* /*record*/, int /*show*/) {}
  virtual void SetCursors(RoomRecord* /*record*/) {}
  virtual void DestroyBoardView(RoomRecord* /*record*/) {}
};

// Null: a host that does nothing.
void SetRoomSwitchHost(RoomSwitchHost* host);

// The eight records into the application globals (room 0 current); 0 when
// there are no globals or memory is short.
int CreateRoomRecords();
void FreeRoomRecords();
// A fresh record for a room that is not current (user switch).
int ResetRoomRecord(int room);
RoomRecord* GetRoomRecord(int room);
void* GetRoomData(int room);

// The room the room window shows: kNoRoom before the first switch.
int GetRoomNumber();
void SetRoomNumber(int room);
// Goes to `room` (0..7); answers the room current afterwards. A refused
// leave, a room outside 0..7 or the current room change nothing.
int SwitchRoom(int room);

// The room timer does no work while it is held. Holds nest: a message box
// inside a modal dialog releases only its own hold.
void HoldRoomTimer();
void ReleaseRoomTimer();
int IsRoomTimerHeld();
// The older one-flag form: non-zero holds, zero releases; answers whether
// the timer is held afterwards.
int SuspendRoomTimer(int flag);
