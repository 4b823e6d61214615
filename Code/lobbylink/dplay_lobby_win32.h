// The login name a DirectPlay lobby handed to this process, when it started
// the program. Interface: LobbyLoginNameFrom (over any lobby object, so that
// tests can hand it one), GetLobbyLoginName (over the system's).
#pragma once

#include <windows.h>
#include <dplobby.h>

namespace lobbylink {

// Longest name copied: login names are 15 bytes and a NUL.
constexpr size_t kLobbyLoginNameSize = 16;

// 0 with the player's short name in `buffer` (at most 15 bytes and a NUL;
// an empty name without one), or the lobby's error; -1 for a null buffer.
// The buffer is left untouched on failure.
int LobbyLoginNameFrom(IDirectPlayLobby3A* lobby, char* buffer);
int GetLobbyLoginName(char* buffer);

}  // namespace lobbylink
