// WinMain, start-up and shut-down (see app_main.h).
#include <windows.h>
#include <mmsystem.h>
// The shell names its own user; not the system's account call.
#undef GetUserName

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "annotator.h"
#include "app_globals.h"
#include "app_main.h"
#include "bookreader.h"
#include "callback_queue.h"
#include "cursor_set.h"
#include "data_sets.h"
#include "frame_links.h"
#include "game_registry.h"
#include "heapkit.h"
#include "lobby_room.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "main_loop.h"
#include "message_box.h"
#include "message_table.h"
#include "program_parts.h"
#include "profile.h"
#include "registry.h"
#include "room_switch.h"
#include "room_window.h"
#include "shell_connect.h"
#include "shell_hosts.h"
#include "shell_services.h"
#include "splash.h"
#include "startup_rules.h"
#include "time_source.h"
#include "user_profile.h"
#include "users.h"
#include "win_utils.h"
#include "window_table.h"
#include "window_table_win32.h"

namespace {

HINSTANCE g_instance = nullptr;
HANDLE g_mutex = nullptr;
HANDLE g_semaphore = nullptr;

int Ok() { return 1; }
int OkMode(int) { return 1; }
void Nothing() {}
void NoMovie(HWND) {}
int NoUser(const char*) { return 0; }
int NoUserMade(const char*, HWND) { return 0; }
int NoLobbyName(char*, int) { return 1; }
void NoDatabase(HWND, HINSTANCE) {}

StartupServices g_services = {OkMode, Nothing, Ok,          Nothing,   NoMovie, NoUser, NoUserMade, NoUserMade,
                              Nothing, NoLobbyName, NoDatabase, Nothing, Ok,      Ok,     Ok,         Nothing};

void Fatal(int stringId) {
  const char* text = LoadOwnString(uint32_t(stringId));
  Services().appMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

int ReadMainIniInt(const char* section, const char* key, int fallback) {
  return ProfileReadInt(section, key, fallback, GetMainIniPath());
}

void ReadMainIniText(const char* section, const char* key, const char* fallback, char* out, int size) {
  ProfileReadString(section, key, fallback, out, uint32_t(size), GetMainIniPath());
}

int CreateUserRecord() {
  AppGlobals* g = GetAppGlobals();
  if (!g) return 0;
  if (g->currentUser) return 1;
  g->currentUser = static_cast<UserProfile*>(memAlloc_rel(sizeof(UserProfile), 66));
  if (!g->currentUser) return 0;
  std::memset(g->currentUser, 0, sizeof(UserProfile));
  return 1;
}

void FreeUserRecord() {
  AppGlobals* g = GetAppGlobals();
  if (!g || !g->currentUser) return;
  memFree_rel(g->currentUser);
  g->currentUser = nullptr;
}

// The name a data set is opened by: the table's file name, without its
// extension for the packed sets (their index and data files share it).
// The name of a set number: the packed sets by their numbers (the table
// rows are another order), the others by their table rows.
std::string DataSetName(int set) {
  static const char* const kPackedSets[7] = {"rwsets", "faces", "tutorial", "tnaudio", "nla", "moves", "about"};
  if (set >= 0 && set <= 6) return kPackedSets[set];
  return kDataSetTable[set].fileName;
}

void FreeBookSlots() {
  for (int slot = 0; slot < kBookSlots; ++slot) {
    SelectBookSlot(slot);
    FreeBookSlot();
  }
}

// Finds, or makes, the user of a name that has been cleaned as making a
// user cleans it, and makes the user current. 0 when no user came of it.
int LogInUser(const char* raw, HWND frame) {
  char name[kUserNameChars + 1];
  if (!CleanUserName(raw, name, sizeof name)) return 0;
  StartupServices& s = g_services;
  if (!s.findUser(name) && !s.setUpNewUser(name, frame)) return 0;
  return s.switchUser(name, frame);
}

void ChooseFirstUserAndRoom(const char* commandLine, HWND frame) {
  if (const char* user = CommandLineUser(commandLine)) {
    ShellTrace("user from the command line");
    SwitchRoom(LogInUser(user, frame) ? ROOM_ONLINE : ROOM_LOBBY);
    return;
  }
  char lobbyName[64] = "";
  if (g_services.lobbyLoginName(lobbyName, sizeof lobbyName) == 0) {
    ShellTrace("user from the lobby login");
    SwitchRoom(LogInUser(lobbyName, frame) ? ROOM_ONLINE : ROOM_LOBBY);
    return;
  }
  if (ReadMainIniInt("debug", "auto_login", 0)) {
    char user[kUserNameChars + 1] = "";
    ReadMainIniText("debug", "auto_login_user", "TestUser", user, sizeof user);
    if (user[0]) LogInUser(user, frame);
  }
  const int room = ReadMainIniInt("debug", "auto_room_select", ROOM_LOBBY);
  // The room comes from a file the user may edit: anything but a room is
  // the lobby.
  SwitchRoom(ValidRoomNumber(room) ? room : ROOM_LOBBY);
}

void InstallHosts() {
  // The shell's own parts first, then what this program adds over them: the
  // numbered windows, the rooms and the message box.
  ConnectShellParts(g_instance);
  InstallSystemWindowTable();
  InstallRoomSwitchHost();
  RegisterLobbyRoom();
  InstallMessageBox();
  InstallUserServices();
  ConnectProgramParts();
  MainLoopHost loop = GetMainLoopHost();
  loop.passToMessageBoxes = [](void* msg) { return PassToMessageBoxes(static_cast<MSG*>(msg)); };
  SetMainLoopHost(loop);
}

}  // namespace

StartupServices& GetStartupServices() { return g_services; }

void ShellTrace(const char* step) {
  const char* path = std::getenv("RW_SHELL_TRACE");
  if (!path || !*path) return;
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", step);
    std::fclose(f);
  }
}

int CheckDisplayDepth() {
  HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (!ic) return 1;
  const int bits = GetDeviceCaps(ic, BITSPIXEL) * GetDeviceCaps(ic, PLANES);
  DeleteDC(ic);
  return bits >= 16 ? 1 : 0;
}

int CheckSingleInstance() {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ROOKWELLONYX_MUTEX");
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    HWND running = FindRunningMainFrame();
    if (running) {
      WINDOWPLACEMENT placement{};
      placement.length = sizeof placement;
      GetWindowPlacement(running, &placement);
      placement.showCmd = SW_RESTORE;
      SetWindowPlacement(running, &placement);
      // A window of another process may keep its state; ask it once more,
      // without waiting for it.
      if (IsIconic(running)) ShowWindowAsync(running, SW_RESTORE);
    }
    ShellTrace(running ? "another copy runs: restored" : "another copy runs: no window");
    return 0;
  }
  g_mutex = mutex;
  if (mutex) {
    HANDLE semaphore = CreateSemaphoreA(nullptr, 0, 1, "ROOKWELL_SEMAPHORE");
    if (semaphore && GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseHandle(semaphore);
      return 0;
    }
    g_semaphore = semaphore;
  }
  regInitKeys("Veltmoor", "Rookwell Onyx");
  return 1;
}

int RegisterWindowClasses() {
  if (!RegisterMainFrameClass()) return 0;
  if (!RegisterRoomWindowClass()) return 0;
  if (!RegisterNavigationBarClass()) return 0;
  return g_services.registerBoardWindowClass();
}

int StartApplication(HINSTANCE, HINSTANCE) {
  if (!CheckSingleInstance()) return 0;
  ShellTrace("single instance");
  CreateAppPalette();
  CreateCursorSet();
  RegisterWindowClasses();
  std::srand(unsigned(timeGetTime()));
  InitWindowTable();
  InitLookAndFeel();
  ShellTrace("look and feel");
  return 1;
}

int LoadStartupData() {
  if (!g_services.startSound(1)) {
    ShellTrace("sound failed");
    Fatal(317);
    return 0;
  }
  ShellTrace("sound");
  CloseAllDataSets();
  const struct {
    const char* name;
    int (*run)();
  } steps[] = {
      {"globals", [] { return CreateAppGlobals(); }},
      {"user record", [] { return CreateUserRecord(); }},
      {"room records", [] { return CreateRoomRecords(); }},
      {"faces", [] { return OpenDataSet(DataSetName(1).c_str(), 1, 1); }},
      {"rwsets", [] { return OpenDataSet(DataSetName(0).c_str(), 0, 1); }},
      {"chess sets", [] { return g_services.loadChessSets(); }},
  };
  for (const auto& step : steps) {
    if (step.run()) continue;
    char line[64];
    std::snprintf(line, sizeof line, "resources failed: %s", step.name);
    ShellTrace(line);
    Fatal(314);
    return 0;
  }
  ShellTrace("settings and data sets");
  FillGameSoundHost();
  for (int set : {5, 2, 3, 4, 8, 9, 10, 11}) OpenDataSet(DataSetName(set).c_str(), set, 0);
  if (!LoadDataSetLibrary(kDataSetTable[7].fileName, 7)) {
    ShellTrace("resource library failed");
    Fatal(314);
    return 0;
  }
  ShellTrace("resource library");
  char nla[20] = "";
  ReadMainIniText("language", "NLA", "ENGMESS", nla, sizeof nla);
  // The illegal-move explanation always reads the English table: load it
  // as well, and leave the chosen one current.
  LoadMessageTable("ENGMESS");
  if (std::strcmp(nla, "ENGMESS") != 0) LoadMessageTable(nla);
  SelectMessageTable(nla);
  InitCommentaryLabels();
  ShellTrace("messages");
  SelectBookSlot(0);
  char book[128] = "";
  ReadMainIniText("engine", "book", "duzuru.obk", book, sizeof book);
  char path[MAX_PATH];
  const char* books = GetOpeningBooksFolder();
  const size_t n = std::strlen(books);
  std::snprintf(path, sizeof path, "%s%s%s", books, n && books[n - 1] != '\\' ? "\\" : "", book);
  if (!LoadBookFile(path)) {
    ShellTrace("book failed");
    Fatal(316);
    return 0;
  }
  ShellTrace("book");
  return 1;
}

void StopApplication() {
  ShellTrace("stop: store user");
  if (GetUserName()[0]) g_services.storeUserOnExit();
  ShellTrace("stop: modeless windows");
  g_services.destroyModelessWindows();
  ShellTrace("stop: database window");
  g_services.shutDownDatabaseWindow();
  ShellTrace("stop: room records");
  FreeRoomRecords();
  ShellTrace("stop: sound");
  g_services.stopSound();
  ShellTrace("stop: games");
  DestroyAllGames();
  ShellTrace("stop: user record");
  FreeUserRecord();
  ShellTrace("stop: chess sets");
  g_services.unloadChessSets();
  ShellTrace("stop: book slots");
  FreeBookSlots();
  ShellTrace("stop: message tables");
  FreeMessageTables();
  ShellTrace("stop: window classes");
  // A start that failed leaves the hidden frame: it goes before its class.
  if (GetMainFrame()) DestroyMainFrame();
  UnregisterMainFrameClass();
  UnregisterRoomWindowClass();
  UnregisterNavigationBarClass();
  ShellTrace("stop: board views");
  g_services.terminateBoardViews();
  ShellTrace("stop: cursors and palette");
  FreeCursorSet();
  DeleteAppPalette();
  ShellTrace("stop: data sets");
  CloseAllDataSets();
  ShellTrace("stop: look and feel");
  FreeLookAndFeel(g_instance);
  ShellTrace("stop: globals");
  FreeAppGlobals();
  ShellTrace("stop: semaphore and mutex");
  if (g_semaphore) CloseHandle(g_semaphore);
  if (g_mutex) CloseHandle(g_mutex);
  g_semaphore = g_mutex = nullptr;
  ShellTrace("stopped");
}

int RunRookwell(HINSTANCE instance, const char* commandLine) {
  if (!CheckDisplayDepth()) {
    char text[256], caption[128], command[256], format[256];
    std::snprintf(text, sizeof text, "%s", LoadOwnString(92));
    std::snprintf(caption, sizeof caption, "%s", LoadOwnString(93));
    if (MessageBoxA(nullptr, text, caption, MB_YESNO) == IDYES) {
      char windows[MAX_PATH], system[MAX_PATH];
      GetWindowsDirectoryA(windows, MAX_PATH);
      GetSystemDirectoryA(system, MAX_PATH);
      std::snprintf(format, sizeof format, "%s", LoadOwnString(94));
      std::snprintf(command, sizeof command, format, windows, system);
      WinExec(command, SW_SHOWNORMAL);
    }
    return 0;
  }
  g_instance = instance;
  InstallHosts();
  StartSplash("SPLASH");
  ShellTrace("splash");
  InitTimeSource();
  if (!StartApplication(instance, nullptr)) {
    ShellTrace("another copy runs");
    return 0;
  }
  CreateMainFrame();
  ShellTrace("main frame");
  if (!LoadStartupData()) {
    EndSplash();
    StopApplication();
    return 0;
  }
  if (ReadMainIniInt("settings", "IntroMovie", 1)) {
    g_services.playIntroMovie(GetMainFrame());
    ShellTrace("intro movie");
  }
  CreateCallbackQueue(0, 0);
  CreateCallbackQueue(1, 0);
  CreateRoomWindow();
  CreateNavigationBar();
  g_services.createModelessWindows();
  g_services.createDatabaseWindow(GetMainFrame(), instance);
  ShellTrace("windows");
  ChooseFirstUserAndRoom(commandLine, GetMainFrame());
  ShellTrace("first room");
  EndSplash();
  ShowMainFrame(0);
  ShellTrace("shown");
  RunMainLoop();
  ShellTrace("main loop ended");
  StopApplication();
  DestroyCallbackQueue(0);
  DestroyCallbackQueue(1);
  return 0;
}
