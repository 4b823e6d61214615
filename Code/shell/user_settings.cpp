// Loading and saving the user's settings, key by key.
#include "user_settings.h"

#include <cstdio>
#include <cstring>

#include "game_record.h"
#include "game_registry.h"
#include "profile.h"
#include "settings_scan.h"

namespace {

const char* const kRoomSections[kRoomCount] = {"lobbyroom",    "gameroom",       "kidsroom",
                                               "classroom",    "libraryroom",    "databaseroom",
                                               "tournamentroom", "onlineroom"};

// The ten switches of [settings] with their defaults.
struct Switch {
  const char* key;
  int32_t SettingsRecord::*field;
  int32_t fallback;
};
const Switch kSwitches[] = {
    {"notation_style", &SettingsRecord::notationStyle, 3},
    {"piece_sounds", &SettingsRecord::pieceSounds, 0},
    {"NLAVoice", &SettingsRecord::nlaVoice, 1},
    {"IVAVoice", &SettingsRecord::ivaVoice, 1},
    {"TutorialVoice", &SettingsRecord::tutorialVoice, 1},
    {"IllegalMoveVoice", &SettingsRecord::illegalMoveVoice, 1},
    {"WindowClose", &SettingsRecord::windowClose, 1},
    {"Buddy", &SettingsRecord::buddy, 1},
    {"ChatTell", &SettingsRecord::chatTell, 1},
    {"Challenge", &SettingsRecord::challenge, 1},
};

// The game options in their record order, with their defaults.
struct Option {
  const char* key;
  int32_t RoomGameOptions::*field;
  int32_t fallback;
};
const Option kOptions[] = {
    {"turn_lights", &RoomGameOptions::turnLights, 0},
    {"quick_entry", &RoomGameOptions::quickEntry, 0},
    {"announce_check", &RoomGameOptions::announceCheck, 1},
    {"announce_openings", &RoomGameOptions::announceOpenings, 1},
    {"timestamp_annotation", &RoomGameOptions::timestampAnnotation, 1},
    {"highlight_moves", &RoomGameOptions::highlightMoves, 1},
    {"sliding_pieces", &RoomGameOptions::slidingPieces, 1},
    {"board_coordinates", &RoomGameOptions::boardCoordinates, 1},
};

SettingsRecord* Settings() { return GetAppGlobals() ? GetAppGlobals()->settings : nullptr; }

int ResolveRoom(int room) { return room == kCurrentRoom ? Services().getCurrentRoom() : room; }

// The section of a room; false for a room that has none.
bool RoomSection(int room, char* section) {
  section[0] = '\0';
  GetRoomName(section, room);
  return section[0] != '\0';
}

// A room key's text; without a room section only the fallback.
void ReadText(const char* section, const char* key, const char* fallback, char* buffer, uint32_t size) {
  if (section[0]) {
    ProfileReadString(section, key, fallback, buffer, size, GetSettingsIniPath());
  } else {
    std::snprintf(buffer, size, "%s", fallback);
  }
}

void ReadPlayer(PlayerRecord* player, const char* section, const char* prefix, const char* colour) {
  char key[32];
  std::snprintf(key, sizeof key, "%s_player_name", prefix);
  ReadText(section, key, colour, player->name, kPlayerNameSize);
  std::snprintf(key, sizeof key, "%s_player", prefix);
  char text[256];
  ReadText(section, key, "", text, sizeof text);
  int32_t v[4];
  if (ScanPlayerValues(text, v) == 4) {
    player->kind = static_cast<uint32_t>(v[0]);
    player->baseMs = static_cast<uint32_t>(v[1]);
    player->periodOrIncrement = static_cast<uint32_t>(v[2]);
    player->timeControl = static_cast<uint32_t>(v[3]);
  } else {
    player->kind = 0;
    player->baseMs = 0;
    player->periodOrIncrement = 0;
    player->timeControl = 7;
  }
  if (player->name[0]) return;
  // An empty name: the user for a person, the program for the engine,
  // the colour for anyone else.
  if (player->kind == 0) {
    std::snprintf(player->name, kPlayerNameSize, "%.*s", kUserNameSize - 1, GetUserName());
  } else if (player->kind != 1) {
    std::snprintf(player->name, kPlayerNameSize, "%s", colour);
  } else {
    std::snprintf(player->name, kPlayerNameSize, "Rookwell");
  }
}

bool WritePlayer(const PlayerRecord* player, const char* section, const char* prefix) {
  char key[32];
  std::snprintf(key, sizeof key, "%s_player_name", prefix);
  ProfileWriteString(section, key, player->name, GetSettingsIniPath());
  std::snprintf(key, sizeof key, "%s_player", prefix);
  int32_t v[4] = {static_cast<int32_t>(player->kind), static_cast<int32_t>(player->baseMs),
                  static_cast<int32_t>(player->periodOrIncrement), static_cast<int32_t>(player->timeControl)};
  char text[64];
  FormatPlayerValues(v, text, sizeof text);
  return ProfileWriteString(section, key, text, GetSettingsIniPath());
}

}  // namespace

void ReadLastUser(SettingsRecord* settings) {
  if (!settings) return;
  ProfileReadString("lookandfeel", "LastUser", "", settings->lastUser, sizeof settings->lastUser,
                    GetMainIniPath());
}

void LoadUserSettings() {
  SettingsRecord* settings = Settings();
  if (!settings) return;
  ClearAppSpareFlag();
  const char* ini = GetSettingsIniPath();
  settings->cheatSwitch = ProfileReadInt("debug", "champ_cheat", 0, ini);
  for (const Switch& s : kSwitches) settings->*s.field = ProfileReadInt("settings", s.key, s.fallback, ini);
  Services().loadPersonalityFilters();
}

void SaveGlobalSettings() {
  SettingsRecord* settings = Settings();
  if (!settings) return;
  const char* ini = GetSettingsIniPath();
  for (const Switch& s : kSwitches) ProfileWriteInt("settings", s.key, settings->*s.field, ini);
  Services().savePersonalityFilters();
  // The engine link reads the hash size from the program's own ini only.
  ProfileWriteInt("engine", "ttable_size", settings->hashTableSize, GetMainIniPath());
}

char* GetRoomName(char* buffer, int room) {
  room = ResolveRoom(room);
  if (buffer && room >= 0 && room < kRoomCount) std::strcpy(buffer, kRoomSections[room]);
  return buffer;
}

char* ReadRoomEngine(char* buffer, int room, int side) {
  if (!buffer) return buffer;
  room = ResolveRoom(room);
  const char* fallback = room == ROOM_KIDS ? "Tarn - Age 12" : "Rookwell";
  char section[kRoomNameSize];
  RoomSection(room, section);
  ReadText(section, side == kSideWhite ? "white_ai" : "black_ai", fallback, buffer, kRoomEngineSize);
  return buffer;
}

void WriteRoomEngine(const char* name, int room, int side) {
  char section[kRoomNameSize];
  if (!name || !RoomSection(room, section)) return;
  ProfileWriteString(section, side == kSideWhite ? "white_ai" : "black_ai", name, GetSettingsIniPath());
}

int ReadRoomPlayers(PlayerRecord* white, PlayerRecord* black, int room) {
  if (!white || !black) return 0;
  std::memset(white, 0, sizeof *white);
  std::memset(black, 0, sizeof *black);
  white->slot = 1;
  black->slot = 0;
  char section[kRoomNameSize];
  RoomSection(room, section);
  ReadPlayer(white, section, "white", "white");
  ReadPlayer(black, section, "black", "black");
  return 1;
}

int WriteRoomPlayers(const PlayerRecord* white, const PlayerRecord* black, int room) {
  char section[kRoomNameSize];
  if (!white || !black || !RoomSection(room, section)) return 0;
  bool whiteOk = WritePlayer(white, section, "white");
  bool blackOk = WritePlayer(black, section, "black");
  return whiteOk && blackOk;
}

void ReadRoomGameOptions(RoomGameOptions* options, const char* section) {
  if (!options || !section) return;
  for (const Option& o : kOptions) options->*o.field = ProfileReadInt(section, o.key, o.fallback, GetSettingsIniPath());
}

void WriteRoomGameOptions(const RoomGameOptions* options, const char* section) {
  if (!options || !section) return;
  for (const Option& o : kOptions) ProfileWriteInt(section, o.key, options->*o.field, GetSettingsIniPath());
}

void ReadBlackOnBottom(BoardView* view, const char* section) {
  if (!view || !section) return;
  Services().setBoardFlipped(view, ProfileReadInt(section, "black_on_bottom", 0, GetSettingsIniPath()));
}

void WriteBlackOnBottom(BoardView* view, const char* section) {
  if (!view || !section) return;
  ProfileWriteInt(section, "black_on_bottom", Services().getBoardFlipped(view), GetSettingsIniPath());
}

int SaveAllSettings() {
  AppGlobals* globals = GetAppGlobals();
  for (int room = 0; globals && room < kRoomCount; ++room) {
    RoomRecord* record = globals->rooms[room];
    if (!record || !record->setUp) continue;
    char section[kRoomNameSize];
    if (!RoomSection(room, section)) continue;
    if (GameRecord* game = GetGameForOwner(static_cast<uint32_t>(room))) WriteRoomPlayers(&game->white, &game->black, room);
    if (record->board) {
      WriteRoomGameOptions(&record->board->options, section);
      WriteBlackOnBottom(record->board->view, section);
    }
    const char* ini = GetSettingsIniPath();
    // The kind, not the picture: a gradient room also holds a (1 x 1) source
    // picture, and writing "bitmap" for it would lose the user's gradient.
    ProfileWriteString(section, "WallpaperType", record->wallpaperIsBitmap ? "bitmap" : "gradient", ini);
    ProfileWriteString(section, "WallpaperFile", record->wallpaperFile, ini);
    char gradient[48];
    FormatGradient(record->gradient, gradient, sizeof gradient);
    ProfileWriteString(section, "gradient", gradient, ini);
  }
  SaveGlobalSettings();
  return Services().saveDatabaseSettings(GetSettingsIniPath());
}
