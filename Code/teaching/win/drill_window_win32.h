// Drills: a timed run of ten built positions of one drill kind, solved on
// the classroom's or the kids room's board, with the records of best times
// in "Drills.rec" and the "Drill Records" dialog.
//
// Interface: StartDrill, GetDrillRun, GetDrillWindow, StopDrillClock,
// ResumeDrillClock, CancelDrill, ShowDrillRecords, DrillRun,
// PlaceAtTopRightOfMain, TeachingText.
#pragma once

#include <windows.h>

#include <string>

struct DrillRun;

// Starts a drill of `kind` (0..7) with the piece selector (1..5, 5 random)
// in the current room; the builder thread "DrillBuildingThread" makes the
// positions while the user solves them.
void StartDrill(HWND parent, int kind, int selector);
// The run of the current room, or null.
DrillRun* GetDrillRun();
HWND GetDrillWindow();
// Around the rooms' leave question: the awaited span is not counted.
void StopDrillClock();
void ResumeDrillClock();
// Ends the run without a record (as the dialog's Cancel).
void CancelDrill();
// The records dialog on its own (the main menu's).
void ShowDrillRecords(HWND owner);

// Shared by the training windows: the window's right edge on the main
// window client area's right edge, its top on the client's top, its left
// edge not below 0.
void PlaceAtTopRightOfMain(HWND window);
// Keeps a training window in front: of its owner (the main window), and of
// the other tool windows the owner has (the coach's) where they overlap it.
// A string of the program's resources.
std::string TeachingText(int id);
