// The board drawing of a board view: the custom board's picture and
// palette colours, and the scene callbacks that draw in-square names, edge
// labels, turn lamps and arrows over the board.
//
// Interface: InitBoardDrawing, TermBoardDrawing, ApplyBoardColoursToPalette,
// ComposeCustomBoard, BoardBounds, RegisterBoardDrawing,
// UnregisterBoardDrawing, RegisterCustomBoardDrawing,
// UnregisterCustomBoardDrawing, AddBoardArrow, ClearBoardArrows,
// CopyArrowSlots, GetArrowSlots.
#pragma once

#include <windows.h>

#include "arrows.h"

struct BoardView;

constexpr int kCustomBoardSet = -2;

// The program-wide pens and brushes of the arrows (an 8-bit canvas draws
// with them; deeper canvases blend).
void InitBoardDrawing();
void TermBoardDrawing();

int ApplyBoardColoursToPalette(BoardView* view, int boardSet);
// Builds the custom board picture for the view's geometry and makes it the
// board bitmap (the view owns it); false when nothing could be drawn.
bool ComposeCustomBoard(BoardView* view, HWND window);
bool BoardBounds(BoardView* view, RECT* out);

// In-square names and arrows on every board; edge labels and lamps on the custom board.
void RegisterBoardDrawing(BoardView* view);
void UnregisterBoardDrawing(BoardView* view);
void RegisterCustomBoardDrawing(BoardView* view);
void UnregisterCustomBoardDrawing(BoardView* view);

// Arrows of a board view; each change repaints the board.
void AddBoardArrow(BoardView* view, const char* text);
void ClearBoardArrows(BoardView* view);
void CopyArrowSlots(BoardView* view, const ArrowSlot& slot);
ArrowSlot* GetArrowSlots(BoardView* view);
