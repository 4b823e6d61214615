// The classic games dialog: the collection "classicOnyx.pgn" of the program
// folder listed by title, narrowed by a search text, and the chosen game
// read into a game record.
//
// Interface: RunClassicGamesDialog, ClassicGamesDlgProc, ClassicGamesPath.
#pragma once

#include <windows.h>

#include <string>

struct GameRecord;

// The collection in the program folder.
std::string ClassicGamesPath();

// Runs the dialog modally over the main window. On Load the chosen game is
// read into `game` (a fresh record the caller owns), `*out` is set to 0 and
// the collection stays open for the game's reader; on Cancel the collection
// is closed and the result is false.
bool RunClassicGamesDialog(GameRecord* game, int* out);
// Ends with the chosen game's number, or -1 for Cancel.
INT_PTR CALLBACK ClassicGamesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
