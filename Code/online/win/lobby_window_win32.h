// The lobby window ("Online Information"): numbered window 18, dialog 150,
// with the players online, the games in progress and the posted challenges
// on three tab pages and a counter for each. User-table changes reach it as
// RWM_ONLINE_USER.
//
// Interface: CreateLobbyWindow, LobbyPageWindow.
#pragma once

#include <windows.h>

HWND CreateLobbyWindow(HWND parent, HINSTANCE instance);
// The page dialog 0..2 (players, games, challenges), for tests.
HWND LobbyPageWindow(HWND lobby, int page);
