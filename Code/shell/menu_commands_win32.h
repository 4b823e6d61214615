// The main menu's commands in the program: the host that carries them out
// with the program's windows, dialogs and the current game, and the hooks
// through which the dialogs of other parts of the program join it (each a
// do-nothing default until that part installs it).
//
// Interface: MenuCommandHooks, GetMenuCommandHooks, InstallMenuCommands,
// RemoveMenuCommands, OpenHelpFile, ShowAboutBox.
#pragma once

#include <windows.h>

struct GameRecord;

struct MenuCommandHooks {
  void (*personalitySetUp)(HWND owner);
  void (*saveGame)(HWND owner, GameRecord* game);
  void (*moveAdvice)(GameRecord* game);
  void (*solveForMate)(HWND owner, GameRecord* game);
  void (*gameAnalysis)();
  // Runs the board settings dialog and redraws the room's board.
  void (*boardSettings)(HWND owner);
  void (*chessSet)(HWND owner);
  void (*gameInformation)(HWND owner, GameRecord* game);
  void (*drillRecords)(HWND owner);
  void (*importEngine)(HWND owner);
  // Loads the user's profile into the player statistics window (15).
  void (*loadPlayerProfile)();
  void (*showCurriculum)();
  // The annotation set a copied move list takes, -2 when cancelled.
  int (*askAnnotationType)(HWND owner, GameRecord* game);
};

// The table in use; entries may be replaced at any time (null: nothing).
MenuCommandHooks& GetMenuCommandHooks();

// Points the shell's menu-command and menu-state services and the layout
// files' menu update at the handler, with the program's host.
void InstallMenuCommands();
void RemoveMenuCommands();

// Opens a help file of the program folder: command 1 its contents, 2 its
// index. A file that cannot be shown is reported. 1 when shown.
int OpenHelpFile(HWND owner, const char* name, int command);
// The about box, modal over `owner`.
INT_PTR ShowAboutBox(HWND owner);
