// Where a piece's picture lies in a piece set's sheet, and the piece cursor
// size for a board.
//
// Interface: PieceCelRect, PieceSheetSize, SheetColumn, ChoosePieceCursorKind.
//
// Kinds count king 0, queen 1, rook 2, bishop 3, knight 4, pawn 5; the sheet
// lays them out in the column order pawn, rook, knight, bishop, queen, king.
#pragma once

#include <cstdint>

constexpr int kMultiCels = 17;  // cel 0 off the board, cel b + 1 in cel region b

int SheetColumn(int kind);
// cel -1 for a single-cel set. False for a colour, kind or cel out of range.
bool PieceCelRect(int colour, int kind, int cel, int32_t* x, int32_t* y, int32_t celWidth, int32_t celHeight);
// The least sheet that holds every picture of the set.
void PieceSheetSize(bool multiCel, int32_t celWidth, int32_t celHeight, int32_t* width, int32_t* height);
// Below 300: 0, 300 to 449: 1, 450 and above: 2.
int ChoosePieceCursorKind(int32_t boardSize);
