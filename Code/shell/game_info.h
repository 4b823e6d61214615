// The game's header dialogs: Game Information and the annotation type a
// copied or saved game takes.
//
// Interface: ShowGameInfoDialog, AskAnnotationType.
#pragma once

#include <windows.h>

struct GameRecord;

// Modal, with the clocks paused: 1 when OK stored the fields (every
// numbered window then hears game event 2), 0 on Cancel.
int ShowGameInfoDialog(HWND owner, GameRecord* game);
// -1 "None", 0 "Player", 1 "Auto-Annotation", 2 "Analysis", -2 Cancel.
// With `noNone` "None" is disabled and "Player" chosen first.
int AskAnnotationType(HWND owner, int noNone);
