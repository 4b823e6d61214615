// The online room (room 7) in Rookwell.exe: the live window's board with
// the online game, its menu and keys, its wallpaper, the live menus by game
// state and the live window's commands; the session and its games behind
// them.
//
// Interface: RegisterOnlineRoom, GetOnlineGames, IsOnlineRoomReady.
#pragma once

class OnlineGames;

// Called once before the room records are made.
void RegisterOnlineRoom();
// The program's one live-game layer (null before the room was set up).
OnlineGames* GetOnlineGames();
// The room is set up and a session is open.
bool IsOnlineRoomReady();
