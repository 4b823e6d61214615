// Practice openings in the classroom: the main book's named variations are
// indexed (a wait the user may cancel), one is chosen from the tree of
// names with the sides to practise, and the line is played on the
// classroom board: the book's side moves by itself, the user's moves are
// checked against the line and wrong ones taken back, a hint marks the
// expected move. "New" starts over, "Cancel" goes back to the curriculum.
//
// Interface: RunPracticeOpenings, GetPracticeWindow, PracticeBoardCallback,
// AdvancePractice, ConnectPracticeOpenings.
#pragma once

#include <windows.h>

#include "moverecord.h"

void RunPracticeOpenings(HWND owner, HINSTANCE instance);
// The practice dialog while a line is practised, else null.
HWND GetPracticeWindow();
// The classroom board's callback while practising.
LRESULT PracticeBoardCallback(HWND board, UINT message, WPARAM first, LPARAM second, intptr_t data);
// Judges the user's move (null: none) and plays on to the user's next move.
void AdvancePractice(const MoveRecord* move);

// Puts RunPracticeOpenings into the curriculum's launch hooks.
void ConnectPracticeOpenings();
