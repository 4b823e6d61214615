// The application globals: the record, its paths, the folder accessors and
// the settings accessors. Paths are joined as they stand, folder, backslash,
// name: a drive root gives "D:\\rw.ini", which the file system accepts.
#include "app_globals.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "data_sets.h"
#include "game_registry.h"
#include "heapkit.h"
#include "profile.h"
#include "registry.h"

// The system's full path of the program's module (app_globals_win32.cpp,
// app_globals_native.cpp).
std::string PlatformModulePath();

namespace {

constexpr int kHeapTag = 66;
constexpr int kResourceLibrarySet = 7;

AppGlobals* g_globals = nullptr;
bool g_moduleInjected = false;
std::string g_modulePath;

// The folder accessors' one buffer, and the main ini path made before
// start-up.
char g_folder[kAppPathSize];
char g_earlyIniPath[kAppPathSize];

std::string ModulePath() { return g_moduleInjected ? g_modulePath : PlatformModulePath(); }

// The folder part of a module path: cut at the last backslash, but a cut
// right behind "X:" keeps the backslash so that the root stays "X:\".
std::string FolderOf(const std::string& module) {
  size_t cut = module.rfind('\\');
  if (cut == std::string::npos) return std::string();
  return module.substr(0, cut == 2 ? 3 : cut);
}

std::string Join(const std::string& folder, const char* name) { return folder + "\\" + name; }

// Copies a whole text into a path buffer, or leaves it empty when the text
// does not fit: a cut path would name another file.
const char* Fill(char* buffer, const std::string& text) {
  if (text.size() >= kAppPathSize) {
    buffer[0] = '\0';
  } else {
    std::memcpy(buffer, text.c_str(), text.size() + 1);
  }
  return buffer;
}

char* Dup(const std::string& text) { return memStrdup_rel(text.c_str(), kHeapTag); }

void Replace(char** field, const std::string& text) {
  char* copy = Dup(text);
  if (!copy) return;
  if (*field) memFree_rel(*field);
  *field = copy;
}

SettingsRecord* Settings() { return g_globals ? g_globals->settings : nullptr; }

const char* Folder(const char* sub) {
  if (!g_globals || !g_globals->programFolder) return Fill(g_folder, "");
  return Fill(g_folder, Join(g_globals->programFolder, sub));
}

const char* UserName() {
  return g_globals && g_globals->currentUser ? g_globals->currentUser->name : "";
}

// A user name held in its 32-character field, even one without its NUL.
std::string UserNameText() { return std::string(UserName(), strnlen(UserName(), kUserNameSize)); }

}  // namespace

void SetAppModulePath(const char* path) {
  g_moduleInjected = path != nullptr;
  g_modulePath = path ? path : "";
}

AppGlobals* GetAppGlobals() { return g_globals; }

int InitAppPaths(AppGlobals* globals) {
  if (!globals) return 0;
  std::string folder = FolderOf(ModulePath());
  std::string ini = Join(folder, "rw.ini");
  char* paths[3] = {Dup(folder), Dup(ini), Dup(ini)};
  if (!paths[0] || !paths[1] || !paths[2]) {
    for (char* p : paths) memFree_rel(p);
    return 0;
  }
  char** fields[3] = {&globals->programFolder, &globals->mainIniPath, &globals->settingsIniPath};
  for (int i = 0; i < 3; ++i) {
    if (*fields[i]) memFree_rel(*fields[i]);
    *fields[i] = paths[i];
  }
  return 1;
}

int CreateSettingsRecord(AppGlobals* globals) {
  if (!globals) return 0;
  auto* settings = static_cast<SettingsRecord*>(memAlloc_rel(sizeof(SettingsRecord), kHeapTag));
  if (!settings) return 0;
  std::memset(settings, 0, sizeof *settings);
  ProfileReadString("lookandfeel", "LastUser", "", settings->lastUser, sizeof settings->lastUser,
                    globals->mainIniPath ? globals->mainIniPath : GetMainIniPath());
  if (globals->settings) memFree_rel(globals->settings);
  globals->settings = settings;
  return 1;
}

int CreateAppGlobals() {
  if (g_globals) FreeAppGlobals();
  auto* globals = static_cast<AppGlobals*>(memAlloc_rel(sizeof(AppGlobals), kHeapTag));
  if (!globals) return 0;
  std::memset(globals, 0, sizeof *globals);
  g_globals = globals;
  globals->benchmarkScore = static_cast<uint32_t>(Services().cpuBenchmark(50, nullptr));
  InitAppPaths(globals);
  CreateSettingsRecord(globals);
  InitGameRegistry();
  globals->gameRegistry = GetGameRegistry();
  return globals->gameRegistry != nullptr;
}

int FreeAppGlobals() {
  if (!g_globals) return 0;
  AppGlobals* globals = g_globals;
  g_globals = nullptr;
  memFree_rel(globals->settings);
  memFree_rel(globals->programFolder);
  memFree_rel(globals->mainIniPath);
  memFree_rel(globals->settingsIniPath);
  if (globals->gameRegistry) FreeGameRegistry();
  memFree_rel(globals);
  return 1;
}

const char* GetProgramFolder() { return g_globals ? g_globals->programFolder : nullptr; }

void SetProgramFolder(const char* folder) {
  if (g_globals && folder) Replace(&g_globals->programFolder, folder);
}

const char* GetMainIniPath() {
  if (g_globals && g_globals->mainIniPath) return g_globals->mainIniPath;
  return Fill(g_earlyIniPath, Join(FolderOf(ModulePath()), "rw.ini"));
}

const char* GetSettingsIniPath() {
  if (g_globals && g_globals->settingsIniPath) return g_globals->settingsIniPath;
  return GetMainIniPath();
}

const char* SetSettingsIniPath(const char* name, int inUserFolder) {
  if (!g_globals) return nullptr;
  std::string folder = inUserFolder ? std::string(GetUserFolder()) : std::string(GetProgramFolder() ? GetProgramFolder() : "");
  Replace(&g_globals->settingsIniPath, Join(folder, name ? name : "rw.ini"));
  return g_globals->settingsIniPath;
}

const char* GetUsersFolder() { return Folder("Users"); }
const char* GetUserFolder() { return Folder(("Users\\" + UserNameText()).c_str()); }
const char* GetAdjournedGamesFolder() {
  return Folder(("Users\\" + UserNameText() + "\\Adjourned Games").c_str());
}
const char* GetPersonalitiesFolder() { return Folder("Personalities"); }
const char* GetOpeningBooksFolder() { return Folder("Opening Books"); }
const char* GetLayoutsFolder() { return Folder("Layouts"); }
const char* GetWallpaperFolder() { return Folder("Wallpaper"); }
const char* GetTutorialsFolder() { return Folder("Tutorials"); }
const char* GetCoachGamesFolder() { return Folder("Tarn Games"); }
const char* GetMidiFolder() { return Folder("Midi"); }
const char* GetDatabaseFolder() { return Folder("Database"); }
const char* GetRateMyPlayFolder() { return Folder("Rate My Play"); }

UserProfile* GetUserRecord() { return g_globals ? g_globals->currentUser : nullptr; }

void SetUserRecord(const UserProfile* profile) {
  UserProfile* user = GetUserRecord();
  if (!user) return;
  if (profile) {
    std::memcpy(user, profile, sizeof *user);
  } else {
    user->name[0] = '\0';
  }
}

const char* GetUserName() { return UserName(); }

RoomRecord* GetCurrentRoomRecord() { return g_globals ? g_globals->currentRoom : nullptr; }

RoomBoard* GetRoomBoard() {
  RoomRecord* room = GetCurrentRoomRecord();
  return room ? room->board : nullptr;
}

const char* GetRoomBoardSetName() {
  RoomBoard* board = GetRoomBoard();
  return board ? board->boardSetName : nullptr;
}

void GetBoardViewRect(void** boardWindow, ShellRect* rect) {
  if (rect) *rect = ShellRect{0, 0, 0, 0};
  if (boardWindow) *boardWindow = nullptr;
  RoomBoard* board = GetRoomBoard();
  if (board && board->view) Services().getBoardSceneRect(board->view, rect, boardWindow);
}

uint32_t GetBenchmarkScore() { return g_globals ? g_globals->benchmarkScore : 0; }

int GetNotationStyle() { return Settings() ? Settings()->notationStyle : 2; }

int SetNotationStyle(int style) {
  SettingsRecord* settings = Settings();
  if (!settings) return style;
  int old = settings->notationStyle;
  settings->notationStyle = style;
  GameRecord* game = GetCurrentGame();
  if (game) Services().changeGameNotation(game, style);
  Services().broadcastToWindows(kMsgGameChanged, kGameChangedNotation, reinterpret_cast<intptr_t>(game), 0);
  return old;
}

int GetHashTableSize() { return Settings() ? Settings()->hashTableSize : 0; }
void SetHashTableSize(int size) {
  if (Settings()) Settings()->hashTableSize = size;
}

int GetPieceSoundsSetting() { return Settings() ? Settings()->pieceSounds : 0; }
int GetNLAVoiceSetting() { return Settings() ? Settings()->nlaVoice : 0; }
int GetTutorialVoiceSetting() { return Settings() ? Settings()->tutorialVoice : 0; }
int GetIllegalMoveVoiceSetting() { return Settings() ? Settings()->illegalMoveVoice : 0; }
int GetWindowCloseSetting() { return Settings() ? Settings()->windowClose : 0; }
int GetBuddySetting() { return Settings() ? Settings()->buddy : 0; }
int GetChatTellSetting() { return Settings() ? Settings()->chatTell : 0; }
int GetChallengeSetting() { return Settings() ? Settings()->challenge : 0; }

const char* GetLayoutName() { return Settings() ? Settings()->layoutName : ""; }

int SetLayoutName(const char* name) {
  if (!Settings()) return 0;
  std::snprintf(Settings()->layoutName, sizeof Settings()->layoutName, "%s", name ? name : "");
  return 1;
}

void SetAppSpareFlag() {
  if (g_globals) g_globals->spareFlag = 1;
}
void ClearAppSpareFlag() {
  if (g_globals) g_globals->spareFlag = 0;
}
uint32_t GetAppSpareFlag() { return g_globals ? g_globals->spareFlag : 0; }

void* GetResourceLibrary() { return GetDataSetLibrary(kResourceLibrarySet); }

int GetInstallDrive() {
  const char* folder = regGetString("Directory", nullptr);
  return folder ? static_cast<unsigned char>(folder[0]) : 0;
}
