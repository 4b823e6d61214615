// Checkmate practice: a basic endgame set up on the room's board for the
// user (White) to win against the engine, in the small window "IDD_DRILL"
// shows as "Checkmate Black's King"; a win by mate is reported to the
// curriculum.
//
// Interface: StartCheckmatePractice, StartCheckmateGame,
// GetCheckmateWindow, SendDrillEndCommand.
#pragma once

#include <windows.h>

// Shows the exercise's lesson text and opens its window (exercise 0..6).
void StartCheckmatePractice(HWND parent, int exercise);
// Sets the exercise's position up on the room's board, White to move.
void StartCheckmateGame(int exercise);
HWND GetCheckmateWindow();
// Closes the exercise window when it is open (the game's end, leaving the
// room).
void SendDrillEndCommand();
