// The database window: the database room's one window, made at start-up and
// shown while room 5 is current. The tabbed panel (with its Key Info page)
// on top, the game list, the splitter and the opening-key tree below; the
// status line of the main frame shows its counts.
//
// Interface: ConnectDatabaseRoom, CreateDatabaseWindow, ShutdownDatabaseWindow,
// ActivateDatabaseRoom, DeactivateDatabaseRoom, DatabaseRoomCommand,
// DatabaseRoomMessageHook, LoadDatabaseSettings, SaveDatabaseSettings,
// LoadDatabaseLayout, SaveDatabaseLayout, GetDatabaseWindow.
#pragma once

#include <windows.h>

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
