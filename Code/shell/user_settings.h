// The user's settings: the global switches of the settings record and, per
// room, the players, the engine personalities, the game options, the board
// orientation and the wallpaper. They live in the current settings ini
// (rw.ini while nobody is logged in, the user's ini after login), except the
// engine hash table size, which always goes to rw.ini in the program folder.
//
// Interface: kSideWhite, ReadLastUser, LoadUserSettings, SaveGlobalSettings,
// GetRoomName, ReadRoomEngine, WriteRoomEngine, ReadRoomPlayers,
// WriteRoomPlayers, ReadRoomGameOptions, WriteRoomGameOptions,
// ReadBlackOnBottom, WriteBlackOnBottom, SaveAllSettings.
#pragma once

#include "app_globals.h"

struct PlayerRecord;
struct BoardView;

// Colour values of the sides.
constexpr int kSideWhite = 16;
constexpr int kSideBlack = 32;
// Room -1 asks for the current room.
constexpr int kCurrentRoom = -1;
// Size of a room section name buffer; of an engine personality name.
constexpr int kRoomNameSize = 32;
constexpr int kRoomEngineSize = 32;

void ReadLastUser(SettingsRecord* settings);
void LoadUserSettings();
void SaveGlobalSettings();

// Copies the room's section name into `buffer` (kRoomNameSize bytes) and
// returns it; a room outside 0..7 (also the current room before the first
// switch) leaves the buffer as it was.
char* GetRoomName(char* buffer, int room);

// The engine personality of a side (16 White, anything else Black) into a
// buffer of kRoomEngineSize bytes; returns the buffer.
char* ReadRoomEngine(char* buffer, int room, int side);
void WriteRoomEngine(const char* name, int room, int side);

int ReadRoomPlayers(PlayerRecord* white, PlayerRecord* black, int room);
int WriteRoomPlayers(const PlayerRecord* white, const PlayerRecord* black, int room);

void ReadRoomGameOptions(RoomGameOptions* options, const char* section);
void WriteRoomGameOptions(const RoomGameOptions* options, const char* section);
void ReadBlackOnBottom(BoardView* view, const char* section);
void WriteBlackOnBottom(BoardView* view, const char* section);

int SaveAllSettings();
