// The Load and Save commands: a game read from a saved game file, a PGN
// file (through the list of its games) or a position file, and a game
// written to one of them, with the program's file dialog and questions.
//
// Interface: LoadGameCommand, LoadPgnGameList, SaveGameCommand.
#pragma once

#include <windows.h>

struct GameRecord;

// A new game read from `path` (a saved game file) or, without a path, from
// the file the file dialog gives; null when cancelled or unreadable (the
// reason was shown).
GameRecord* LoadGameCommand(HWND owner, const char* path);
// "PGNLISTDLG": a file of one game is read at once, of several the user
// picks one. True when a game was read into `game`.
bool LoadPgnGameList(const char* path, GameRecord* game);
// 1 when written, 0 when cancelled or failed (the failure was shown).
int SaveGameCommand(HWND owner, const char* path, GameRecord* game);
