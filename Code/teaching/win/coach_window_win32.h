// The "Chess Coach" window (dialog 1928, numbered window 16): a modeless
// tabbed window that follows the current game. "Advice" lists every legal
// move of the side to move with what it does (a double-click plays it);
// "Database Findings" shows the open database's continuations from the
// position with their results; "Teaching Mode" switches the board's
// teaching marks.
//
// Interface: CreateCoachWindow, ShowCoachWindow, DestroyCoachWindow,
// GetCoachWindow, GetAdviceMove, PlayAdviceMove, ConnectCoachWindow.
#pragma once

#include <windows.h>

#include "moverecord.h"

// Creates the window hidden under the main window; null on failure.
HWND CreateCoachWindow(HWND main, HINSTANCE instance);
void ShowCoachWindow(int show);
void DestroyCoachWindow();
HWND GetCoachWindow();

// On the current game's position: index -1 fills the legal-move list and
// returns its first entry (null when none); another index returns that
// move, its text in the current notation written into `text` (at least 64
// bytes) when given.
const MoveRecord* GetAdviceMove(int index, char* text);
// Plays advice move `index` when a human is to move and the window takes
// moves; else beeps. 65535 does nothing.
void PlayAdviceMove(HWND coach, int index);

// Start-up makes the window with the other modeless windows and ends it
// with them.
void ConnectCoachWindow();
