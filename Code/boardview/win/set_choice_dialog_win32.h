// Choosing and switching a room's chess sets: the "Select Chess Pieces &
// Board" dialog with live previews, and the switch of a board view to other
// sets (after the dialog, on room entry and when a layout is applied).
//
// Interface: SetChoiceHost, RunSelectPiecesBoardDialog, ChangeChessSets,
// ApplyRoomChessSets, SwitchRoomBoardSet, SwitchRoomPieceSet,
// MakeDeviceBitmap, DrawDibStretched.
#pragma once

#include <windows.h>

#include "board_drawing.h"
#include "chess_sets.h"
#include "dibkit.h"

struct BoardView;

class SetChoiceHost {
 public:
  virtual ~SetChoiceHost() = default;
  virtual HINSTANCE Instance() = 0;
  virtual HWND MainWindow() = 0;
  virtual const ChessSetCatalogue& Catalogue() = 0;
  // Bitmap items of a set, read afresh (the caller deletes them); null when missing.
  virtual PackedDib* LoadBoardPicture(int index, int kind) = 0;
  virtual PackedDib* LoadPiecePicture(int index, int which) = 0;
  // "CUSTOM_PREVIEW" of the resource library (the host keeps it).
  virtual PackedDib* CustomPreview() = 0;
  virtual CustomBoardView CustomView() = 0;
  virtual HPALETTE Palette() = 0;
  virtual INT_PTR RunModalDialog(HWND owner, int resource, DLGPROC procedure, LPARAM parameter) {
    return DialogBoxParamA(Instance(), MAKEINTRESOURCEA(resource), owner, procedure, parameter);
  }
};

// 1 on OK with both indexes written back (board -2: the custom board), 0 on Cancel.
int RunSelectPiecesBoardDialog(SetChoiceHost* host, int* pieceIndex, int* boardIndex, int room);

// The view's room switches to the sets through its host (which copies the
// records and loads the pictures). 0 when nothing changed (the same sets,
// the custom board excepted) or there is no view.
int ChangeChessSets(BoardView* view, int boardIndex, int pieceIndex);
// Both sets applied without comparing (layouts and room entry).
int ApplyRoomChessSets(BoardView* view, int boardIndex, int pieceIndex);
bool SwitchRoomBoardSet(BoardView* view, int boardIndex);
bool SwitchRoomPieceSet(BoardView* view, int pieceIndex);

HBITMAP MakeDeviceBitmap(const PackedDib* dib, HPALETTE palette);
// A packed bitmap stretched into a rectangle, halftoned.
void DrawDibStretched(HDC dc, const RECT& box, const PackedDib* dib);
