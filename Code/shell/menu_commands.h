// The main menu's commands: which command does what, the check marks that
// follow the numbered windows and the notation style, the four wrappers
// that set one item's state, and the layout load and save. The rules live
// here without a window system; everything they act on (menus, numbered
// windows, dialogs, the game, files) goes through a MenuCommandHost, which
// the program fills with the real calls (menu_commands_win32.cpp) and the
// tests with a recording fake.
//
// Interface: MenuAction, MenuCommandEntry, FindMenuCommand, kMenuChecked,
// kMenuGrey, MenuCommandHost, SetMenuCommandHost, GetMenuCommandHost,
// ToggleMenuCheck, CheckMenuCommand, UncheckMenuCommand, EnableMenuCommand,
// MainMenuCommand, UpdateMainMenuState, kWindowMenuChecks, kNotationFirst.
#pragma once

#include <string>

// Item states, the system's menu flags: checked, and greyed and disabled.
constexpr int kMenuChecked = 0x08;
constexpr int kMenuGrey = 0x03;

// What a command does. The host carries out the ones that need a window,
// a dialog or the game; the rest the handler does itself.
enum class MenuAction {
  kFlipBoard,
  kSoundOptions,
  kPersonalitySetUp,
  kToggleWindow,  // arg: the numbered window
  kHelp,          // arg: 0 contents of "RWONYX", 1 index of "Engine", 2 contents of "RWLive"
  kAboutBox,
  kCopyAsciiBoard,
  kCopyFontBoard,
  kCopyMovesTabs,
  kCopyMoves,
  kCopyPicture,
  kSaveGame,
  kTakeBack,
  kReplay,
  kForceMove,
  kWakeUp,
  kPause,
  kOfferDraw,
  kResign,
  kQuickHint,
  kMoveAdvice,
  kSolveForMate,
  kGameAnalysis,
  kBoardSettings,
  kSwitchSides,
  kNavigationBar,
  kPlayerStatistics,
  kWebSite,
  kEngineMonitor,  // arg: the player (1 White, 0 Black, 2 the advisor)
  kGameInformation,
  kChessSet,
  kNotation,  // arg: the style 0..5
  kPrintMoveList,
  kPrintBoard,
  kPrinterSetUp,
  kLoadLayout,
  kSaveLayout,
  kDrillRecords,
  kWallpaper,
  kImportEngine,
  kGoToRoom,  // arg: the room
};

struct MenuCommandEntry {
  int id;
  MenuAction action;
  int arg;
  bool needsGame;  // does nothing without a current game
};

// The entry of a command id, or null for an id that is none of the table's.
const MenuCommandEntry* FindMenuCommand(int id);

// The check marks UpdateMainMenuState keeps: command and the numbered
// window whose shown flag it mirrors.
struct WindowMenuCheck {
  int command;
  int window;
};
extern const WindowMenuCheck kWindowMenuChecks[14];
// 40153..40158: notation styles 0..5.
constexpr int kNotationFirst = 40153;
constexpr int kNotationCount = 6;

class MenuCommandHost {
 public:
  virtual ~MenuCommandHost() = default;

  // The state of item `id` in the window's menu (searched by command id
  // through its submenus), -1 when the window has no such item.
  virtual int GetMenuItemState(void* /*window*/, int /*id*/) { return -1; }
  virtual void SetMenuItemState(void* /*window*/, int /*id*/, int /*state*/) {}
  virtual void* MainFrame() { return nullptr; }

  // Numbered windows: whether window n exists and is shown (in the current
  // room's layout), and show command 9 (toggle) on it.
  virtual bool WindowExists(int /*id*/) { return false; }
  virtual bool WindowShown(int /*id*/) { return false; }
  virtual void ToggleWindow(int /*id*/) {}

  virtual bool HaveGame() { return false; }
  virtual int NotationStyle() { return 0; }
  virtual void SetNotationStyle(int /*style*/) {}

  // The commands that need the program's windows, dialogs and the game.
  virtual void Perform(MenuAction /*action*/, int /*arg*/) {}

  // Layout files. ChooseLayoutFile runs the file dialog in the layouts
  // folder (the dialog's folder kept as it was) and gives the chosen path.
  virtual bool CurriculumShown() { return false; }
  virtual void ShowCurriculum() {}
  virtual bool ChooseLayoutFile(bool /*save*/, std::string* /*path*/) { return false; }
  virtual void SetLayoutName(const std::string& /*path*/) {}
  virtual std::string CurrentLayoutPath() { return {}; }
  virtual std::string BackupLayoutPath() { return {}; }
  // Replaces `to` with a copy of `from`; false when it could not.
  virtual bool CopyLayoutFile(const std::string& /*from*/, const std::string& /*to*/) { return false; }
  virtual void RemoveLayoutFile(const std::string& /*path*/) {}
  virtual void ApplyLayout(const std::string& /*path*/) {}
  virtual void SaveLayout(const std::string& /*path*/) {}
};

// Null restores the do-nothing host.
void SetMenuCommandHost(MenuCommandHost* host);
MenuCommandHost* GetMenuCommandHost();

// The state of the item is replaced whole (a toggled item is also enabled).
// ToggleMenuCheck answers 1 when the item is now checked.
int ToggleMenuCheck(void* window, int id);
void CheckMenuCommand(void* window, int id);
void UncheckMenuCommand(void* window, int id);
void EnableMenuCommand(void* window, int id, int enable);

// 1 when `id` is one of the commands (run, or nothing to do without a
// game), 0 for any other id, which the caller passes on.
int MainMenuCommand(void* window, int id);
// The window checks from the numbered windows' shown flags, and the one
// notation item of the current style.
void UpdateMainMenuState();
