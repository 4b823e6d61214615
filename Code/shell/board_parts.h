// Rookwell.exe's joins to the board view's dialogs and windows.
//
// Interface: ConnectBoardParts, CreateBoardPartWindows,
// DestroyBoardPartWindows, KeepBoardToolsAbove.
#pragma once

// Points the main menu's board settings, chess-set and advice hooks, the
// game room's set-up position seam, the layouts' chess-set names and the
// engine link's best-line update at the board view. Called once at start.
void ConnectBoardParts();
// The Captured window (7) and the best-line board (9), made hidden with
// the other modeless windows and ended with them.
void CreateBoardPartWindows();
void DestroyBoardPartWindows();
// The room timer's call: the set-up and customize tools stay above the
// main frame when a click on the board brings the frame forward.
void KeepBoardToolsAbove();
