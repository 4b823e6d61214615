// Room 0, the lobby: the login screen over the room window, with its
// animated buttons for the rooms, "Register" and "Exit", and the login
// dialog it brings back (message 0x8104) until someone logs in. The login
// puzzle's board comes through LoginPuzzleBoard.
//
// Interface: RegisterLobbyRoom, ActivateLobbyRoom, DeactivateLobbyRoom,
// ReleaseLobbyRoom, LobbyRoomCommand, CreateLoginScreen, ResizeLoginScreen,
// GetLoginScreen, kLobbyMenuId, kLobbyAcceleratorsId.
#pragma once

#include <windows.h>

struct RoomRecord;

constexpr int kLobbyMenuId = 26;
constexpr int kLobbyAcceleratorsId = 43;

// Makes the lobby room 0's module.
void RegisterLobbyRoom();

int ActivateLobbyRoom(RoomRecord* room);
int DeactivateLobbyRoom(RoomRecord* room);
void ReleaseLobbyRoom(RoomRecord* room, int keepMenu);
int LobbyRoomCommand(void* window, int command);

// The screen for a room window of this size, made the active modeless
// dialog; null when it could not be made.
HWND CreateLoginScreen(int width, int height);
// Made anew when a user is logged in and the size picks another screen;
// else centred. 1 when it was made anew.
int ResizeLoginScreen(int width, int height);
HWND GetLoginScreen();
// The dialog id of the screen up now, 0 for none.
int GetLoginScreenDialog();
