// The database window: the database room's one window, made at start-up and
// shown while room 5 is current. The tabbed panel (with its Key Info page)
// on top, the game list, the splitter and the opening-key tree below; the
// status line of the main frame shows its counts.
//
// Interface: ConnectDatabaseRoom, CreateDatabaseWindow, ShutdownDatabaseWindow,
// ActivateDatabaseRoom, DeactivateDatabaseRoom, DatabaseRoomCommand,
// DatabaseRoomMessageHook, LoadDatabaseSettings, SaveDatabaseSettings,
// LoadDatabaseLayout, SaveDatabaseLayout, GetDatabaseWindow; for the
// coach: CopyGameToGlobal, FreeGlobalGame, FindOpeningKeyMoves,
// WaitForDatabaseJob, kCoachFindingsMessage.
#pragma once

#include <windows.h>

#include <cstdint>

#include "keystats.h"

struct GameRecord;
struct RoomRecord;

// Registers the room's module and points start-up and the main frame at the
// window. Called once with the program's other joins.
void ConnectDatabaseRoom();

// 1 when the window was made.
int CreateDatabaseWindow(HWND frame, HINSTANCE instance);
void ShutdownDatabaseWindow();
int ActivateDatabaseRoom(RoomRecord* record);
int DeactivateDatabaseRoom(RoomRecord* record);
// The room's commands: 1 when taken.
int DatabaseRoomCommand(void* window, int command);
void DatabaseRoomMessageHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void LoadDatabaseSettings();
// Writes the five keys only when one of them changed.
void SaveDatabaseSettings(const char* ini);
void LoadDatabaseLayout(const char* ini);
void SaveDatabaseLayout(const char* ini);

HWND GetDatabaseWindow();

// ---- the coach's Database Findings

// The end of a collecting lookup, posted to the coach's window: wParam the
// request number, lParam the entries used.
constexpr UINT kCoachFindingsMessage = 0x830D;

// The game as PGN text in a moveable global block, returned locked (null
// when it cannot be made); FreeGlobalGame unlocks and frees it.
HGLOBAL CopyGameToGlobal(GameRecord* game);
void FreeGlobalGame(HGLOBAL block);
// The moves played from the game's position at `ply` in the open database
// (see keystats.h for the results). Runs on a statistics job of its own:
// a running game-list search is stopped with its hits kept, and the list's
// rows stay as they were.
int FindOpeningKeyMoves(HWND notify, HGLOBAL gameText, int ply, OpeningMoveEntry* entries, int* count,
                        uint32_t tag);
// Stops a running lookup and waits for it; 0 without the window or state.
int WaitForDatabaseJob();
