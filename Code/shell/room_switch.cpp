#include "room_switch.h"

#include <cstring>

#include "app_globals.h"
#include "app_messages.h"
#include "dibkit.h"
#include "heapkit.h"
#include "shell_services.h"
#include "window_table.h"

namespace {

RoomSwitchHost g_quietHost;
RoomSwitchHost* g_host = &g_quietHost;
RoomModule g_modules[kRoomCount];
bool g_registered[kRoomCount];
int g_roomNumber = kNoRoom;
int g_timerHolds = 0;

bool ValidRoom(int room) { return room >= 0 && room < kRoomCount; }

int PlaceholderActivate(RoomRecord*) {
  g_host->ShowNavigationBar();
  return 1;
}
int PlaceholderDeactivate(RoomRecord*) { return 1; }
int HandlesNothing(void*, int) { return 0; }

const RoomModule kPlaceholder = {PlaceholderActivate, PlaceholderDeactivate, nullptr, nullptr, HandlesNothing,
                                 nullptr, nullptr};

RoomRecord* NewRoomRecord(int room) {
  RoomRecord* r = static_cast<RoomRecord*>(memAlloc_rel(sizeof(RoomRecord), 66));
  if (!r) return nullptr;
  std::memset(r, 0, sizeof *r);
  r->board = static_cast<RoomBoard*>(memAlloc_rel(sizeof(RoomBoard), 66));
  if (!r->board) {
    memFree_rel(r);
    return nullptr;
  }
  std::memset(r->board, 0, sizeof *r->board);
  r->room = room;
  r->gradient[0] = 0xFFFFFF;  // white
  r->gradient[1] = 0x000000;  // black
  const RoomModule* m = GetRoomModule(room);
  r->release = m->release;
  r->commandHandler = m->commandHandler;
  r->messageCallback = m->messageCallback;
  r->accelerators = m->accelerators ? m->accelerators(room) : nullptr;
  r->menu = m->makeMenu ? m->makeMenu(room) : g_host->CopyMainMenu();
  return r;
}

void FreeRoomRecord(RoomRecord* r, int isCurrent) {
  if (!r) return;
  g_host->DestroyBoardView(r);
  if (r->release) r->release(r, isCurrent);
  if (r->menu) g_host->FreeMenu(r->menu);
  // The wallpaper's source picture belongs to the record; the room window
  // keeps its own built copy.
  dibDelete(r->wallpaperBitmap);
  memFree_rel(r->board);
  memFree_rel(r);
}

}  // namespace

void RegisterRoomModule(int room, const RoomModule* module) {
  if (!ValidRoom(room)) return;
  g_registered[room] = module != nullptr;
  g_modules[room] = module ? *module : RoomModule{};
}

const RoomModule* GetRoomModule(int room) {
  if (!ValidRoom(room)) return nullptr;
  return g_registered[room] ? &g_modules[room] : &kPlaceholder;
}

int HasRoomModule(int room) { return ValidRoom(room) && g_registered[room] ? 1 : 0; }

void SetRoomSwitchHost(RoomSwitchHost* host) { g_host = host ? host : &g_quietHost; }

int CreateRoomRecords() {
  AppGlobals* g = GetAppGlobals();
  if (!g) return 0;
  for (int room = 0; room < kRoomCount; ++room) {
    if (g->rooms[room]) continue;
    g->rooms[room] = NewRoomRecord(room);
    if (!g->rooms[room]) return 0;
  }
  g->currentRoom = g->rooms[0];
  return 1;
}

void FreeRoomRecords() {
  AppGlobals* g = GetAppGlobals();
  if (!g) return;
  for (int room = 0; room < kRoomCount; ++room) {
    FreeRoomRecord(g->rooms[room], 1);
    g->rooms[room] = nullptr;
  }
  g->currentRoom = nullptr;
}

int ResetRoomRecord(int room) {
  AppGlobals* g = GetAppGlobals();
  if (!g || !ValidRoom(room) || g->currentRoom == g->rooms[room]) return 0;
  RoomRecord* fresh = NewRoomRecord(room);
  if (!fresh) return 0;
  FreeRoomRecord(g->rooms[room], 1);
  g->rooms[room] = fresh;
  return 1;
}

RoomRecord* GetRoomRecord(int room) {
  AppGlobals* g = GetAppGlobals();
  return g && ValidRoom(room) ? g->rooms[room] : nullptr;
}

void* GetRoomData(int room) {
  RoomRecord* r = GetRoomRecord(room);
  return r ? r->roomData : nullptr;
}

int GetRoomNumber() { return g_roomNumber; }
void SetRoomNumber(int room) { g_roomNumber = room; }

int SwitchRoom(int room) {
  const int current = g_roomNumber;
  if (room == current) return room;
  // A room number may come from a user-editable file: only 0..7 are rooms.
  RoomRecord* next = GetRoomRecord(room);
  if (!next) return current;
  if (ValidRoom(current)) {
    RoomRecord* old = GetRoomRecord(current);
    const RoomModule* m = GetRoomModule(current);
    if (old && m->deactivate && !m->deactivate(old)) return current;
  }
  GetAppGlobals()->currentRoom = next;
  g_roomNumber = room;
  g_host->ClearStatusText();
  ApplyRoomLayout(room);
  g_host->SelectNavigationRoom(room);
  const RoomModule* m = GetRoomModule(room);
  if (m->activate) m->activate(next);
  g_host->SetMainMenu(next->menu, next->commandHandler);
  g_host->SetAccelerators(next->accelerators);
  g_host->UpdateMainMenuState();
  GameRecord* game = g_host->RoomGame(room);
  if (game) g_host->PrepareRoomBoard(next, game);
  if (next->tileId) g_host->ShowShortcutTiles(next);
  g_host->SetWallpaper(next);
  g_host->PlaceBoardWindow(next, room != ROOM_LOBBY);
  g_host->SetCursors(next);
  BroadcastToWindows(RWM_GAME_EVENT, GE_GAME_SET, reinterpret_cast<intptr_t>(game), 1);
  return room;
}

void HoldRoomTimer() { ++g_timerHolds; }
void ReleaseRoomTimer() {
  if (g_timerHolds > 0) --g_timerHolds;
}
int IsRoomTimerHeld() { return g_timerHolds > 0 ? 1 : 0; }
int SuspendRoomTimer(int flag) {
  if (flag) HoldRoomTimer();
  else ReleaseRoomTimer();
  return IsRoomTimerHeld();
}
