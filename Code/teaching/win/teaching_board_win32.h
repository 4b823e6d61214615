// The board of the classroom and the kids room while a lesson runs: the
// room's board view over a position the lesson owns, with the lesson's
// hooks (positions, picked squares, the L picture, captions, moves taken
// back) and the board codes the lesson itself can play until the markup
// player is installed in the teaching board seam.
//
// Interface: TeachingBoard, CreateTeachingBoard, DestroyTeachingBoard,
// UseTeachingBoard, TeachingTrace, SetTeachingPlay, ShowTeachingPosition,
// PlayTeachingMove, TakeTeachingMoveBack, TeachingPosition.
#pragma once

#include <windows.h>

#include "board.h"
#include "moverecord.h"

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

// A training screen (a drill, a checkmate exercise) playing on the room's
// board: while a sink is set, White's moves dragged on the board are made on
// the shown position and handed to the sink instead of the lesson, and the
// right button does nothing. Null gives the board back to the lesson.
using TeachingMoveSink = void (*)(const MoveRecord& move);
void SetTeachingPlay(TeachingMoveSink sink);
// Shows a position with the side to move; false without a board.
bool ShowTeachingPosition(const Board& board, int sideToMove);
// Makes a move of the side to move on the shown position (the other side's
// answer), animated as the board animates a game's move.
void PlayTeachingMove(const MoveRecord& move);
// Takes the last move back.
void TakeTeachingMoveBack();
// The shown position, or null without a board.
const Board* TeachingPosition();
