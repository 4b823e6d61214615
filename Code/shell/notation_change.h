// The notation change of a game: every cached move text emptied on the
// worker thread "NOTATION_CHANGE", the game's notation set, and a wait box
// while it takes longer than a second.
//
// Interface: ChangeGameNotationWithWait, InstallNotationChange.
#pragma once

struct GameRecord;

// Returns when the change is done; the texts are made again in the new
// style when they are next asked for.
int ChangeGameNotationWithWait(GameRecord* game, int style);
// Points the shell's notation service at it.
void InstallNotationChange();
