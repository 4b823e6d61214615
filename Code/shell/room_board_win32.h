// The rooms' boards in the program: the chess-set catalogue read from the
// "rwsets" data set, each room's board and piece set from its settings,
// and the board view's host over the room's game in the game registry.
//
// Interface: LoadProgramChessSets, UnloadProgramChessSets,
// InitBoardViewsForProgram, TermBoardViewsForProgram,
// CreateRoomBoardView, DestroyRoomBoardView, GetRoomBoardView,
// HitRoomBoard, RoomBoardHit, RoomBoardWindow, UpdateRoomBoardInputLock,
// ClearRoomBoardTurn, ProgramChessSetCatalogue, LoadChessSetPicture,
// InstallRoomBoardLayoutHooks.
#pragma once

#include <windows.h>

#include "room_records.h"

struct BoardView;
class ChessSetCatalogue;
struct PackedDib;

// Start-up's chess-set entries: 1 when the catalogue loaded.
int LoadProgramChessSets();
void UnloadProgramChessSets();
// The board window's class, registered once and unregistered at the end.
int InitBoardViewsForProgram();
void TermBoardViewsForProgram();

// The room's board view in its board window (window 4 while the room is
// current), made from the room's "board_set" and "piece_set" settings; the
// record's boardWindow and board->view are set. Null when the sets or
// their pictures cannot be had.
BoardView* CreateRoomBoardView(RoomRecord* record);
void DestroyRoomBoardView(RoomRecord* record);
BoardView* GetRoomBoardView(int room);

// What lies under a point of the board window: a piece (its colour, 16 or
// 32), an empty square, or nothing of the board.
enum class RoomBoardHit { Piece, Square, Outside };
RoomBoardHit HitRoomBoard(BoardView* view, POINT client, int* pieceColour);

// The room's board window (null without a board view); its blindfold lock
// brought up to date; a turned board set back (true when it was turned).
HWND RoomBoardWindow(int room);
void UpdateRoomBoardInputLock(int room);
bool ClearRoomBoardTurn(int room);
// A right-click on the room's board goes to `handler` with its screen point.
void SetRoomBoardRightClick(int room, void (*handler)(HWND board, POINT screen));

// The catalogue the rooms' boards are made from (empty until loaded).
const ChessSetCatalogue& ProgramChessSetCatalogue();
// A picture item of the "rwsets" data set, read afresh (the caller deletes
// it with dibDelete); null when missing.
PackedDib* LoadChessSetPicture(const char* item, int itemSize);
// Points the layout files' chess-set names and their room switch at the
// catalogue and the rooms' board views.
void InstallRoomBoardLayoutHooks();
