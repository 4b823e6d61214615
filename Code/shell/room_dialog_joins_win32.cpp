// Joins Rookwell.exe to the game room's dialogs around players and
// personalities: the Player Profile window (window 15, made with the other
// modeless windows and fed with the current user's record by the main
// menu's command), and the import of an outside xboard engine.
#include <windows.h>

#include <string>

#include "app_globals.h"
#include "app_main.h"
#include "file_dialog.h"
#include "game_room_parts.h"
#include "import_xboard_dialog.h"
#include "main_frame.h"
#include "menu_commands_win32.h"
#include "player_profile_dialog.h"

namespace {

int (*g_createModeless)() = nullptr;
int (*g_destroyModeless)() = nullptr;

bool ChooseFile(HWND owner, const char* folder, int type, char* path, char* title) {
  SetFileDialogFolder((std::string(folder) + "\\").c_str());
  int outType = 0, openAs = 0;
  return DoFileDialog(owner, GetModuleHandleA(nullptr), path, title, 0, type, 1, &outType, &openAs, nullptr) != 0;
}

int CreateWindows() {
  const int made = g_createModeless ? g_createModeless() : 1;
  OpenPlayerProfileDialog(GetMainFrame(), GetModuleHandleA(nullptr), nullptr);
  SetPlayerProfile(GetUserRecord());
  return made;
}

int DestroyWindows() {
  ClosePlayerProfile();
  return g_destroyModeless ? g_destroyModeless() : 1;
}

}  // namespace

void ConnectGameRoomDialogs() {
  StartupServices& startup = GetStartupServices();
  g_createModeless = startup.createModelessWindows;
  g_destroyModeless = startup.destroyModelessWindows;
  startup.createModelessWindows = CreateWindows;
  startup.destroyModelessWindows = DestroyWindows;

  MenuCommandHooks& hooks = GetMenuCommandHooks();
  SetImportFileChooser(ChooseFile);
  hooks.importEngine = [](HWND) { RunImportXboardDialog(); };
  hooks.loadPlayerProfile = [] { SetPlayerProfile(GetUserRecord()); };
}
