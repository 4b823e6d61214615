// The database room's own game (the one the board shows in room 5), made
// from the window's game as PGN text; and the window's error texts.
//
// Interface: RebuildRoomGameFromText, DbEnvErrorText, kCannotAllocateText.
#pragma once

#include <cstdint>
#include <string>

struct GameRecord;

// Unregisters and destroys the game registered for `room`, reads `pgn` into
// a new record that keeps `gameNumber`, and registers it for the room.
// Null when any step failed; a record that could not be registered is
// destroyed, never left behind.
GameRecord* RebuildRoomGameFromText(const char* pgn, int32_t gameNumber, uint32_t room);

constexpr const char kCannotAllocateText[] = "Cannot allocate memory.";
// "Error!\n" followed by the detail: the text of the window's error box.
std::string DbEnvErrorText(const std::string& detail);
