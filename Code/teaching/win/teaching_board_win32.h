// The board of the classroom and the kids room while a lesson runs: the
// room's board view over a position the lesson owns, with the lesson's
// hooks (positions, picked squares, the L picture, captions, moves taken
// back) and the board codes the lesson itself can play until the markup
// player is installed in the teaching board seam.
//
// Interface: TeachingBoard, CreateTeachingBoard, DestroyTeachingBoard,
// UseTeachingBoard, TeachingTrace.
#pragma once

#include <windows.h>

struct RoomRecord;
struct TeachingBoard;

// The room's board view and board window (null when the chess sets or the
// room window are missing); record->boardWindow is set.
TeachingBoard* CreateTeachingBoard(RoomRecord* record, HINSTANCE instance);
void DestroyTeachingBoard(TeachingBoard* board);
// Points the lesson's board hooks (and the seam's board codes, unless the
// markup player filled them) at this board.
void UseTeachingBoard(TeachingBoard* board);

// A line for the tests that drive the rooms with real input (the board's
// squares on the screen, the moves a lesson took), appended to the file
// RW_TEACHING_TRACE names; nothing without it.
void TeachingTrace(const char* line);
