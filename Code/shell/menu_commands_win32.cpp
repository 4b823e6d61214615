// The rules' headers first: windows.h defines names such as LANG_ENGLISH.
#include "advisor_requests.h"
#include "engine_player.h"
#include "game_end.h"
#include "game_record.h"
#include "game_registry.h"

#include "menu_commands_win32.h"

#include <cstdio>
#include <cstring>
#include <string>

// The shell names its own user and layout calls.
#undef GetUserName

#include "advisor_requests.h"
#include "app_globals.h"
#include "app_messages.h"
#include "clipboard.h"
#include "engine_player.h"
#include "facet_frame.h"
#include "file_dialog.h"
#include "game_end.h"
#include "game_record.h"
#include "game_registry.h"
#include "layout_file.h"
#include "main_frame.h"
#include "menu_commands.h"
#include "print_front.h"
#include "room_records.h"
#include "room_window.h"
#include "rw_strings.h"
#include "shell_services.h"
#include "sound_options_win32.h"
#include "wallpaper.h"
#include "web_launch.h"
#include "window_table.h"

namespace {

MenuCommandHooks g_hooks{};

HWND Frame() { return GetMainFrame(); }
HINSTANCE Program() { return GetModuleHandleA(nullptr); }

// The room board's orientation as the board windows take it: 1 when White
// will be at the bottom after the turn.
WPARAM TurnedOrientation() {
  RoomBoard* board = GetRoomBoard();
  const int flipped = board && board->view ? Services().getBoardFlipped(board->view) : 0;
  return flipped ? 1 : 0;
}

void SwitchSides(GameRecord* game) {
  StopGame(game);
  SwapPlayers(game);
  StartGame(game);
  Services().broadcastToWindows(RWM_BOARD_ORIENTATION, TurnedOrientation(), 0, 1);
  Services().broadcastToWindows(RWM_GAME_EVENT, 0, reinterpret_cast<intptr_t>(game), 0);
}

// The site's address is a setting; by default the program folder's own
// readme page.
void OpenWebSite() {
  char fallback[MAX_PATH + 16];
  std::snprintf(fallback, sizeof fallback, "%s\\readme.htm", GetProgramFolder());
  char address[1024] = "";
  GetPrivateProfileStringA("settings", "website", fallback, address, sizeof address, GetMainIniPath());
  OpenWebPage(address);
}

class ProgramMenuHost : public MenuCommandHost {
 public:
  int GetMenuItemState(void* window, int id) override {
    CmMenu* menu = window ? cmGetMenu(static_cast<HWND>(window)) : nullptr;
    if (!menu) return -1;
    MENUITEMINFOA info{};
    info.cbSize = 44;  // the toolkit's own item record (the 32-bit system layout)
    info.fMask = MIIM_STATE;
    if (!cmGetMenuItemInfo(menu, UINT(id), FALSE, &info)) return -1;
    return int(info.fState & 0x0B);
  }
  void SetMenuItemState(void* window, int id, int state) override {
    CmMenu* menu = window ? cmGetMenu(static_cast<HWND>(window)) : nullptr;
    if (!menu) return;
    MENUITEMINFOA info{};
    info.cbSize = 44;  // the toolkit's own item record (the 32-bit system layout)
    info.fMask = MIIM_STATE;
    info.fState = UINT(state);
    cmSetMenuItemInfo(menu, UINT(id), FALSE, &info);
  }
  void* MainFrame() override { return Frame(); }
  bool WindowExists(int id) override { return GetNumberedWindow(id) != nullptr; }
  bool WindowShown(int id) override { return IsNumberedWindowShown(id) != 0; }
  // A panel the user calls up comes in front of the others, which may
  // stand where the room's layout has no place for it.
  void ToggleWindow(int id) override {
    NumberedWindowOp(WOP_SHOW, id, WSC_TOGGLE);
    HWND window = static_cast<HWND>(GetNumberedWindow(id));
    if (window && IsNumberedWindowShown(id))
      SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  bool HaveGame() override { return GetCurrentGame() != nullptr; }
  int NotationStyle() override { return GetNotationStyle(); }
  void SetNotationStyle(int style) override { ::SetNotationStyle(style); }

  void Perform(MenuAction action, int arg) override;

  bool CurriculumShown() override { return IsNumberedWindowShown(WIN_CURRICULUM) != 0; }
  void ShowCurriculum() override {
    if (g_hooks.showCurriculum) g_hooks.showCurriculum();
  }
  bool ChooseLayoutFile(bool save, std::string* path) override {
    const std::string folder = GetFileDialogFolder() ? GetFileDialogFolder() : "";
    SetFileDialogFolder(GetLayoutsFolder());
    char chosen[MAX_PATH] = "";
    char title[MAX_PATH] = "";
    int type = 0, openAs = 0;
    const int ok = DoFileDialog(Frame(), Program(), chosen, title, save ? 1 : 0, 12, save ? 0 : 1, &type, &openAs,
                                nullptr);
    SetFileDialogFolder(folder.c_str());
    if (!ok) return false;
    *path = chosen;
    return true;
  }
  void SetLayoutName(const std::string& path) override { ::SetLayoutName(path.c_str()); }
  std::string CurrentLayoutPath() override {
    char path[MAX_PATH] = "";
    return GetCurrentLayoutPath(path) ? path : "";
  }
  std::string BackupLayoutPath() override {
    char path[MAX_PATH] = "";
    return GetBackupLayoutPath(path) ? path : "";
  }
  bool CopyLayoutFile(const std::string& from, const std::string& to) override {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
  }
  void RemoveLayoutFile(const std::string& path) override { DeleteFileA(path.c_str()); }
  void ApplyLayout(const std::string& path) override { ApplyLayoutFile(path.c_str()); }
  void SaveLayout(const std::string& path) override { SaveLayoutFile(path.c_str()); }
};

void ProgramMenuHost::Perform(MenuAction action, int arg) {
  using A = MenuAction;
  HWND frame = Frame();
  GameRecord* game = GetCurrentGame();
  switch (action) {
    case A::kFlipBoard:
      Services().broadcastToWindows(RWM_BOARD_ORIENTATION, TurnedOrientation(), 0, 1);
      break;
    case A::kSoundOptions:
      if (GetAppGlobals()) ShowSoundOptions(frame, GetAppGlobals()->settings);
      break;
    case A::kPersonalitySetUp:
      if (g_hooks.personalitySetUp) g_hooks.personalitySetUp(frame);
      break;
    case A::kHelp: {
      static const char* const kFiles[] = {"RWONYX.chm", "Engine.chm", "RWLive.chm"};
      if (arg >= 0 && arg < 3) OpenHelpFile(frame, kFiles[arg], arg == 1 ? 2 : 1);
      break;
    }
    case A::kAboutBox:
      ShowAboutBox(frame);
      break;
    case A::kCopyAsciiBoard:
      CopyPositionText(frame, &game->position);
      break;
    case A::kCopyFontBoard:
      CopyBoardDiagram(frame, &game->position);
      break;
    case A::kCopyMovesTabs:
    case A::kCopyMoves:
      CopyGameText(game, frame, action == A::kCopyMovesTabs ? 1 : 0, 0);
      break;
    case A::kCopyPicture:
      CopyBoardPicture(static_cast<HWND>(GetNumberedWindow(WIN_ROOM)));
      break;
    case A::kSaveGame:
      if (g_hooks.saveGame) g_hooks.saveGame(frame, game);
      break;
    case A::kTakeBack:
      TakeBackMove(game);
      break;
    case A::kReplay:
      ReplayMove(game);
      break;
    case A::kForceMove:
      EngineMoveNow(game);
      break;
    case A::kWakeUp:
      StartEngineTurn(game);
      break;
    case A::kPause:
      PauseGame(game);
      break;
    case A::kOfferDraw:
      OfferDraw(game);
      break;
    case A::kResign:
      ResignGame(game);
      break;
    case A::kQuickHint:
      RequestEngineHint(game);
      break;
    case A::kMoveAdvice:
      if (g_hooks.moveAdvice) g_hooks.moveAdvice(game);
      break;
    case A::kSolveForMate:
      if (g_hooks.solveForMate) g_hooks.solveForMate(frame, game);
      break;
    case A::kGameAnalysis:
      if (g_hooks.gameAnalysis) g_hooks.gameAnalysis();
      break;
    case A::kBoardSettings:
      if (GetRoomBoard() && g_hooks.boardSettings) g_hooks.boardSettings(frame);
      break;
    case A::kSwitchSides:
      SwitchSides(game);
      break;
    case A::kNavigationBar:
      if (arg)
        ShowNavigationBar();
      else
        HideNavigationBar();
      break;
    case A::kPlayerStatistics:
      if (g_hooks.loadPlayerProfile) g_hooks.loadPlayerProfile();
      break;
    case A::kWebSite:
      OpenWebSite();
      break;
    case A::kEngineMonitor:
      ToggleEngineDebugWindow(arg);
      break;
    case A::kGameInformation:
      if (g_hooks.gameInformation) g_hooks.gameInformation(frame, game);
      break;
    case A::kChessSet:
      if (g_hooks.chessSet) g_hooks.chessSet(frame);
      break;
    case A::kPrintMoveList:
      if (HasDefaultPrinter()) PrintGameMoveList(frame, game);
      break;
    case A::kPrintBoard:
      if (HasDefaultPrinter()) PrintBoardPosition(frame, game);
      break;
    case A::kPrinterSetUp:
      ShowPrintSetup(frame);
      break;
    case A::kDrillRecords:
      if (g_hooks.drillRecords) g_hooks.drillRecords(frame);
      break;
    case A::kWallpaper:
      if (RoomRecord* record = GetCurrentRoomRecord()) RunWallpaperDialog(record);
      break;
    case A::kImportEngine:
      if (g_hooks.importEngine) g_hooks.importEngine(frame);
      break;
    case A::kGoToRoom:
      GoToRoom(arg);
      break;
    default:
      break;
  }
}

ProgramMenuHost g_host;

int ServiceMenuCommand(void* window, int id) { return MainMenuCommand(window, id); }
void ServiceMenuState() { UpdateMainMenuState(); }
int AskSlot(HWND owner, GameRecord* game) {
  return g_hooks.askAnnotationType ? g_hooks.askAnnotationType(owner, game) : 0;
}

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

}  // namespace

MenuCommandHooks& GetMenuCommandHooks() { return g_hooks; }

void InstallMenuCommands() {
  SetMenuCommandHost(&g_host);
  ShellServices s = GetShellServices();
  s.mainMenuCommand = ServiceMenuCommand;
  s.updateMainMenuState = ServiceMenuState;
  SetShellServices(s);
  LayoutHooks layout = GetLayoutHooks();
  layout.updateMenuState = ServiceMenuState;
  SetLayoutHooks(layout);
  SetClipboardSlotChooser(AskSlot);
}

void RemoveMenuCommands() {
  SetMenuCommandHost(nullptr);
  ShellServices s = GetShellServices();
  const ShellServices defaults = DefaultShellServices();
  s.mainMenuCommand = defaults.mainMenuCommand;
  s.updateMainMenuState = defaults.updateMainMenuState;
  SetShellServices(s);
  SetClipboardSlotChooser(nullptr);
}

int OpenHelpFile(HWND owner, const char* name, int command) {
  char path[MAX_PATH + 64];
  std::snprintf(path, sizeof path, "%s\\%s", GetProgramFolder(), name);
  const bool present = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
  static HMODULE library = nullptr;
  if (present && !library) library = LoadLibraryA("hhctrl.ocx");
  auto help = library ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA"))) : nullptr;
  // HH_DISPLAY_TOC 1, HH_DISPLAY_INDEX 2.
  if (present && help && help(owner, path, UINT(command == 2 ? 2 : 1), 0)) return 1;
  char format[128] = "The help file %s could not be opened.";
  LoadStringA(Program(), IDS_HELP_NOT_OPENED, format, sizeof format);
  char text[sizeof format + sizeof path];
  std::snprintf(text, sizeof text, format, path);
  Services().appMessageBoxOwned(text, MB_OK | MB_ICONEXCLAMATION, owner);
  return 0;
}
