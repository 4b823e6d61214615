// The user's settings over real ini files: the switches and their defaults,
// the rooms' players, engines, options and orientation, where each key
// lands, and the full save.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app_globals.h"
#include "game_record.h"
#include "game_registry.h"
#include "heapkit.h"
#include "profile.h"
#include "shell_services.h"
#include "user_settings.h"

namespace {

int g_currentRoom = 9999;
int CurrentRoom() { return g_currentRoom; }
int g_flipped[2];  // per fake board view
int GetFlipped(void* view) { return *static_cast<int*>(view); }
void SetFlipped(void* view, int flipped) { *static_cast<int*>(view) = flipped; }
int g_filtersLoaded, g_filtersSaved;
void LoadFilters() { ++g_filtersLoaded; }
void SaveFilters() { ++g_filtersSaved; }
std::string g_databaseIni;
int SaveDatabase(const char* ini) {
  g_databaseIni = ini;
  return 1;
}
int32_t NoBenchmark(int32_t, char*) { return 1; }

class UserSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShellServices s = DefaultShellServices();
    s.cpuBenchmark = NoBenchmark;
    s.getCurrentRoom = CurrentRoom;
    s.getBoardFlipped = GetFlipped;
    s.setBoardFlipped = SetFlipped;
    s.loadPersonalityFilters = LoadFilters;
    s.savePersonalityFilters = SaveFilters;
    s.saveDatabaseSettings = SaveDatabase;
    SetShellServices(s);
    g_currentRoom = 9999;
    g_filtersLoaded = g_filtersSaved = 0;

    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = (std::filesystem::current_path() / "settings_root" / test->name()).string();
    // Natively the backslashes are part of file names: a run's files lie
    // beside the test's folder, named after it.
    std::filesystem::path parent = std::filesystem::path(root_).parent_path();
    std::filesystem::create_directories(parent);
    for (const auto& entry : std::filesystem::directory_iterator(parent)) {
      if (entry.path().filename().string().rfind(test->name(), 0) == 0) std::filesystem::remove_all(entry.path());
    }
    std::filesystem::create_directories(std::filesystem::path(root_) / "Users" / "Alice");
    SetAppModulePath((root_ + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
  }
  void TearDown() override {
    AppGlobals* g = GetAppGlobals();
    for (RoomRecord*& room : g->rooms) {
      if (room) memFree_rel(room->board), memFree_rel(room), room = nullptr;
    }
    memFree_rel(g->currentUser);
    g->currentUser = nullptr;
    FreeAppGlobals();
    SetAppModulePath(nullptr);
    SetShellServices(DefaultShellServices());
  }

  // Alice logs in: her ini in her folder becomes the settings ini, with
  // `text` as its content.
  void LogInAlice(const char* text) {
    auto* user = static_cast<UserProfile*>(memAlloc_rel(sizeof(UserProfile), 66));
    std::memset(user, 0, sizeof *user);
    std::strcpy(user->name, "Alice");
    GetAppGlobals()->currentUser = user;
    userIni_ = SetSettingsIniPath("Alice.ini", 1);
    WriteFile(userIni_, text);
  }
  static void WriteFile(const std::string& path, const char* text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fputs(text, f);
    std::fclose(f);
  }
  static std::string Read(const char* section, const char* key, const std::string& ini) {
    char buffer[300];
    ProfileReadString(section, key, "<none>", buffer, sizeof buffer, ini.c_str());
    return buffer;
  }

  std::string root_;
  std::string userIni_;
};

TEST_F(UserSettingsTest, NoSettingsSectionGivesTheDefaults) {
  LogInAlice("[debug]\r\nchamp_cheat=1\r\n");
  SetAppSpareFlag();
  LoadUserSettings();
  const SettingsRecord* s = GetAppGlobals()->settings;
  EXPECT_EQ(GetNotationStyle(), 3);
  EXPECT_EQ(GetPieceSoundsSetting(), 0);
  EXPECT_EQ(s->nlaVoice + s->ivaVoice + s->tutorialVoice + s->illegalMoveVoice + s->windowClose + s->buddy +
                s->chatTell + s->challenge,
            8);
  EXPECT_EQ(s->cheatSwitch, 1);
  EXPECT_EQ(GetAppSpareFlag(), 0u);
  EXPECT_EQ(g_filtersLoaded, 1);
}

TEST_F(UserSettingsTest, SwitchesAreReadFromTheUsersIni) {
  LogInAlice(
      "[Settings]\r\nnotation_style=1\r\npiece_sounds=1\r\nnlavoice=0\r\nIVAVoice=0\r\nWindowClose=0\r\n"
      "Challenge=0\r\n");
  LoadUserSettings();
  const SettingsRecord* s = GetAppGlobals()->settings;
  EXPECT_EQ(s->notationStyle, 1);
  EXPECT_EQ(s->pieceSounds, 1);
  EXPECT_EQ(s->nlaVoice, 0);
  EXPECT_EQ(s->ivaVoice, 0);
  EXPECT_EQ(s->windowClose, 0);
  EXPECT_EQ(s->challenge, 0);
  EXPECT_EQ(s->buddy, 1);
}

TEST_F(UserSettingsTest, HashSizeLandsInTheProgramsIniWhileAUserIniIsCurrent) {
  LogInAlice("");
  SettingsRecord* s = GetAppGlobals()->settings;
  s->notationStyle = 4;
  s->buddy = 1;
  s->hashTableSize = 48;
  SaveGlobalSettings();
  EXPECT_EQ(Read("engine", "ttable_size", GetMainIniPath()), "48");
  EXPECT_EQ(Read("engine", "ttable_size", userIni_), "<none>");
  EXPECT_EQ(Read("settings", "notation_style", userIni_), "4");
  EXPECT_EQ(Read("settings", "Buddy", userIni_), "1");
  EXPECT_EQ(Read("settings", "piece_sounds", userIni_), "0");
  EXPECT_EQ(Read("settings", "notation_style", GetMainIniPath()), "<none>");
  EXPECT_EQ(g_filtersSaved, 1);
}

TEST_F(UserSettingsTest, PlayersReadWithTheirFallbacks) {
  struct Case {
    const char* keys;  // the gameroom section's lines
    const char* white;
    uint32_t whiteValues[4];  // kind, base ms, second value, time-control type
    const char* black;
    uint32_t blackValues[4];
  } cases[] = {
      {"", "white", {0, 0, 0, 7}, "black", {0, 0, 0, 7}},
      {"white_player_name=\r\nwhite_player=1 2 3\r\n", "Alice", {0, 0, 0, 7}, "black", {0, 0, 0, 7}},
      {"black_player_name=\r\nblack_player=0 1 2 3\r\n", "white", {0, 0, 0, 7}, "Alice", {0, 1, 2, 3}},
      {"black_player_name=\r\nblack_player=1 300000 0 4\r\n", "white", {0, 0, 0, 7}, "Rookwell", {1, 300000, 0, 4}},
      {"black_player_name=\r\nblack_player=2 5 6 1\r\n", "white", {0, 0, 0, 7}, "black", {2, 5, 6, 1}},
      {"white_player_name=Zed\r\nwhite_player= 1  600000 12 3 99\r\n", "Zed", {1, 600000, 12, 3}, "black", {0, 0, 0, 7}},
      {"white_player=1,2,3,4\r\n", "white", {0, 0, 0, 7}, "black", {0, 0, 0, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    LogInAlice((std::string("[gameroom]\r\n") + c.keys).c_str());
    PlayerRecord white, black;
    std::memset(&white, 0xAB, sizeof white);
    ASSERT_EQ(ReadRoomPlayers(&white, &black, ROOM_GAME), 1);
    EXPECT_STREQ(white.name, c.white);
    EXPECT_STREQ(black.name, c.black);
    EXPECT_EQ(white.slot, 1u);
    EXPECT_EQ(black.slot, 0u);
    EXPECT_EQ(white.personality, nullptr);  // cleared first
    uint32_t w[4] = {white.kind, white.baseMs, white.periodOrIncrement, white.timeControl};
    uint32_t b[4] = {black.kind, black.baseMs, black.periodOrIncrement, black.timeControl};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(w[i], c.whiteValues[i]) << i;
      EXPECT_EQ(b[i], c.blackValues[i]) << i;
    }
    memFree_rel(GetAppGlobals()->currentUser);
    GetAppGlobals()->currentUser = nullptr;
  }
}

TEST_F(UserSettingsTest, PersonWithoutANameWhileNobodyIsLoggedIn) {
  WriteFile(GetSettingsIniPath(), "[gameroom]\r\nwhite_player_name=\r\n");
  PlayerRecord white, black;
  ASSERT_EQ(ReadRoomPlayers(&white, &black, ROOM_GAME), 1);
  EXPECT_STREQ(white.name, "");
  EXPECT_EQ(ReadRoomPlayers(nullptr, &black, ROOM_GAME), 0);
  EXPECT_EQ(WriteRoomPlayers(&white, nullptr, ROOM_GAME), 0);
}

TEST_F(UserSettingsTest, PlayersRoundTrip) {
  LogInAlice("");
  PlayerRecord white{}, black{};
  std::strcpy(white.name, "Alice");
  white.kind = 0, white.baseMs = 900000, white.periodOrIncrement = 10, white.timeControl = 2;
  std::strcpy(black.name, "Tarn - Age 12");
  black.kind = 1, black.baseMs = 900000, black.periodOrIncrement = 10, black.timeControl = 2;
  ASSERT_EQ(WriteRoomPlayers(&white, &black, ROOM_CLASS), 1);
  EXPECT_EQ(Read("classroom", "white_player", userIni_), "0 900000 10 2");
  PlayerRecord w, b;
  ReadRoomPlayers(&w, &b, ROOM_CLASS);
  EXPECT_STREQ(b.name, "Tarn - Age 12");
  EXPECT_EQ(b.kind, 1u);
  EXPECT_EQ(w.baseMs, 900000u);
}

TEST_F(UserSettingsTest, EnginesByRoomAndSide) {
  LogInAlice("[gameroom]\r\nwhite_ai=Morgan\r\nblack_ai=A personality name far beyond thirty-one\r\n");
  char name[kRoomEngineSize];
  EXPECT_STREQ(ReadRoomEngine(name, ROOM_KIDS, kSideBlack), "Tarn - Age 12");
  EXPECT_STREQ(ReadRoomEngine(name, ROOM_KIDS, kSideWhite), "Tarn - Age 12");
  EXPECT_STREQ(ReadRoomEngine(name, ROOM_LIBRARY, kSideBlack), "Rookwell");
  EXPECT_STREQ(ReadRoomEngine(name, ROOM_GAME, kSideWhite), "Morgan");
  EXPECT_STREQ(ReadRoomEngine(name, ROOM_GAME, 0), "A personality name far beyond t");
  WriteRoomEngine("Vera", ROOM_KIDS, kSideBlack);
  EXPECT_STREQ(ReadRoomEngine(name, ROOM_KIDS, kSideBlack), "Vera");
  g_currentRoom = ROOM_KIDS;  // the current room is the kids room
  EXPECT_STREQ(ReadRoomEngine(name, kCurrentRoom, kSideWhite), "Tarn - Age 12");
}

TEST_F(UserSettingsTest, RoomNamesAndRoomsWithoutOne) {
  const char* names[kRoomCount] = {"lobbyroom",   "gameroom",     "kidsroom",       "classroom",
                                   "libraryroom", "databaseroom", "tournamentroom", "onlineroom"};
  char buffer[kRoomNameSize];
  for (int room = 0; room < kRoomCount; ++room) EXPECT_STREQ(GetRoomName(buffer, room), names[room]);
  // Before the first room switch the current room is 9999: like any room
  // outside 0..7 it leaves the caller's buffer alone.
  for (int room : {kCurrentRoom, 8, 9, -2, 9999, 0x7fffffff}) {
    std::strcpy(buffer, "as it was");
    EXPECT_EQ(GetRoomName(buffer, room), buffer);
    EXPECT_STREQ(buffer, "as it was") << room;
  }
  g_currentRoom = ROOM_ONLINE;
  EXPECT_STREQ(GetRoomName(buffer, kCurrentRoom), "onlineroom");
  g_currentRoom = -1;
  std::strcpy(buffer, "as it was");
  EXPECT_STREQ(GetRoomName(buffer, kCurrentRoom), "as it was");
  // Without a room the engine and players keep their fallbacks, and nothing
  // is written.
  g_currentRoom = 9999;
  WriteRoomEngine("Morgan", kCurrentRoom, kSideWhite);
  EXPECT_STREQ(ReadRoomEngine(buffer, kCurrentRoom, kSideWhite), "Rookwell");
  PlayerRecord w{}, b{};
  EXPECT_EQ(WriteRoomPlayers(&w, &b, 12), 0);
}

TEST_F(UserSettingsTest, GameOptionsAndOrientation) {
  LogInAlice("[kidsroom]\r\nturn_lights=1\r\nsliding_pieces=0\r\nblack_on_bottom=1\r\n");
  RoomGameOptions o;
  std::memset(&o, 0x55, sizeof o);
  ReadRoomGameOptions(&o, "gameroom");
  int32_t defaults[8] = {0, 0, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(std::memcmp(&o, defaults, sizeof o), 0);
  ReadRoomGameOptions(&o, "kidsroom");
  EXPECT_EQ(o.turnLights, 1);
  EXPECT_EQ(o.slidingPieces, 0);
  o.quickEntry = 1, o.boardCoordinates = 0;
  WriteRoomGameOptions(&o, "classroom");
  RoomGameOptions back{};
  ReadRoomGameOptions(&back, "classroom");
  EXPECT_EQ(std::memcmp(&o, &back, sizeof o), 0);
  ReadRoomGameOptions(nullptr, "classroom");
  WriteRoomGameOptions(&o, nullptr);

  auto* view = reinterpret_cast<BoardView*>(&g_flipped[0]);
  g_flipped[0] = 0;
  ReadBlackOnBottom(view, "kidsroom");
  EXPECT_EQ(g_flipped[0], 1);
  WriteBlackOnBottom(view, "lobbyroom");
  EXPECT_EQ(Read("lobbyroom", "black_on_bottom", userIni_), "1");
  ReadBlackOnBottom(nullptr, "kidsroom");
}

TEST_F(UserSettingsTest, SaveAllSettingsWritesRoomsInUse) {
  LogInAlice("");
  AppGlobals* g = GetAppGlobals();
  for (int room : {ROOM_GAME, ROOM_CLASS}) {
    auto* record = static_cast<RoomRecord*>(memAlloc_rel(sizeof(RoomRecord), 66));
    std::memset(record, 0, sizeof *record);
    record->room = room;
    record->board = static_cast<RoomBoard*>(memAlloc_rel(sizeof(RoomBoard), 66));
    std::memset(record->board, 0, sizeof *record->board);
    g->rooms[room] = record;
  }
  RoomRecord* game = g->rooms[ROOM_GAME];
  game->setUp = 1;
  game->board->options.highlightMoves = 1;
  game->board->view = reinterpret_cast<BoardView*>(&g_flipped[1]);
  g_flipped[1] = 1;
  game->wallpaperBitmap = reinterpret_cast<PackedDib*>(game);  // any non-null picture
  game->wallpaperIsBitmap = 1;
  std::strcpy(game->wallpaperFile, "Oak.bmp");
  game->gradient[0] = 0xffffff, game->gradient[1] = 0;
  g->rooms[ROOM_CLASS]->setUp = 0;  // not in use: skipped
  g->settings->hashTableSize = 32;

  EXPECT_EQ(SaveAllSettings(), 1);
  EXPECT_EQ(Read("gameroom", "WallpaperType", userIni_), "bitmap");
  EXPECT_EQ(Read("gameroom", "WallpaperFile", userIni_), "Oak.bmp");
  EXPECT_EQ(Read("gameroom", "gradient", userIni_), "ffffff 0");
  EXPECT_EQ(Read("gameroom", "highlight_moves", userIni_), "1");
  EXPECT_EQ(Read("gameroom", "announce_check", userIni_), "0");
  EXPECT_EQ(Read("gameroom", "black_on_bottom", userIni_), "1");
  EXPECT_EQ(Read("gameroom", "white_player", userIni_), "<none>");  // the room owns no game
  EXPECT_EQ(Read("classroom", "WallpaperType", userIni_), "<none>");
  EXPECT_EQ(Read("settings", "notation_style", userIni_), "0");
  EXPECT_EQ(Read("engine", "ttable_size", GetMainIniPath()), "32");
  EXPECT_EQ(g_databaseIni, userIni_);

  // A gradient room keeps a one-pixel source picture: still a gradient.
  game->wallpaperIsBitmap = 0;
  SaveAllSettings();
  EXPECT_EQ(Read("gameroom", "WallpaperType", userIni_), "gradient");
}

TEST_F(UserSettingsTest, SaveAllSettingsWritesTheRoomsGamePlayers) {
  LogInAlice("");
  AppGlobals* g = GetAppGlobals();
  auto* record = static_cast<RoomRecord*>(memAlloc_rel(sizeof(RoomRecord), 66));
  std::memset(record, 0, sizeof *record);
  record->room = ROOM_KIDS;
  record->setUp = 1;
  g->rooms[ROOM_KIDS] = record;  // no board: no options or orientation written
  PlayerDescriptor white{}, black{};
  std::strcpy(white.name, "Alice");
  white.timeControl = 3, white.baseMs = 300000, white.periodOrIncrement = 2;
  std::strcpy(black.name, "Tarn - Age 12");
  black.kind = 2, black.timeControl = 7;
  GameRecord* game = CreateGame(0, nullptr, &white, &black, nullptr, nullptr, nullptr, kSideWhite, 1, 0);
  ASSERT_NE(game, nullptr);
  ASSERT_EQ(RegisterGame(game, ROOM_KIDS), 0);
  SaveAllSettings();
  EXPECT_EQ(Read("kidsroom", "white_player_name", userIni_), "Alice");
  EXPECT_EQ(Read("kidsroom", "white_player", userIni_), "0 300000 2 3");
  EXPECT_EQ(Read("kidsroom", "black_player", userIni_), "2 0 0 7");
  EXPECT_EQ(Read("kidsroom", "black_on_bottom", userIni_), "<none>");
  EXPECT_EQ(Read("kidsroom", "WallpaperType", userIni_), "gradient");
  DestroyAllGames();
}

GameRecord* g_renderedGame;
int g_renderedStyle;
void RecordRender(GameRecord* game, int style) {
  g_renderedGame = game;
  g_renderedStyle = style;
}
intptr_t g_broadcastGame;
int RecordBroadcast(uint32_t, uintptr_t, intptr_t lParam, int) {
  g_broadcastGame = lParam;
  return 1;
}

TEST_F(UserSettingsTest, NotationChangeReRendersTheCurrentGame) {
  ShellServices s = GetShellServices();
  s.changeGameNotation = RecordRender;
  s.broadcastToWindows = RecordBroadcast;
  SetShellServices(s);
  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kSideWhite, 1, 0);
  ASSERT_NE(game, nullptr);
  ASSERT_EQ(RegisterGame(game, ROOM_GAME), 0);
  ASSERT_EQ(GetCurrentGame(), game);
  SetNotationStyle(1);
  EXPECT_EQ(g_renderedGame, game);
  EXPECT_EQ(g_renderedStyle, 1);
  EXPECT_EQ(g_broadcastGame, reinterpret_cast<intptr_t>(game));
  DestroyAllGames();
}

// A new user's ini is a copy of the template the build writes: every key
// the shell reads must be there with the value the shell expects.
TEST_F(UserSettingsTest, TheNewUserTemplateReadsAsWritten) {
  std::string source = std::string(RW_PROGDATA_DIR) + "/RWDEFAULT.INI";
  FILE* f = std::fopen(source.c_str(), "rb");
  ASSERT_NE(f, nullptr) << source;
  std::string text;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) text.append(chunk, n);
  std::fclose(f);
  LogInAlice(text.c_str());
  LoadUserSettings();
  const SettingsRecord* s = GetAppGlobals()->settings;
  EXPECT_EQ(s->notationStyle, 3);
  EXPECT_EQ(s->windowClose, 1);
  EXPECT_EQ(s->cheatSwitch, 0);
  PlayerRecord white, black;
  ReadRoomPlayers(&white, &black, ROOM_GAME);
  EXPECT_STREQ(white.name, "white");
  EXPECT_EQ(white.timeControl, 7u);
  EXPECT_STREQ(black.name, "Rookwell");
  EXPECT_EQ(black.kind, 1u);
  char name[kRoomEngineSize];
  EXPECT_STREQ(ReadRoomEngine(name, ROOM_KIDS, kSideBlack), "Tarn - Age 12");
  EXPECT_STREQ(ReadRoomEngine(name, ROOM_ONLINE, kSideWhite), "Rookwell");
  for (int room = 0; room < kRoomCount; ++room) {
    char section[kRoomNameSize];
    RoomGameOptions fromFile, defaults;
    ReadRoomGameOptions(&fromFile, GetRoomName(section, room));
    ReadRoomGameOptions(&defaults, "no such room");
    EXPECT_EQ(std::memcmp(&fromFile, &defaults, sizeof defaults), 0) << section;
  }
}

TEST_F(UserSettingsTest, LastUserReadsFromTheProgramsIni) {
  WriteFile(GetMainIniPath(), "[lookandfeel]\r\nLastUser=Alice\r\n");
  LogInAlice("[lookandfeel]\r\nLastUser=Bob\r\n");
  SettingsRecord* s = GetAppGlobals()->settings;
  ReadLastUser(s);
  EXPECT_STREQ(s->lastUser, "Alice");
  ReadLastUser(nullptr);
}

}  // namespace
