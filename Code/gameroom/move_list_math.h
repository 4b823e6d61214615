// The Game Status move list's arithmetic: which row holds a ply, which
// plies a row holds, the move columns and the cells' texts.
//
// Interface: MoveRowOfPly, WhitePlyOfRow, BlackPlyOfRow, IsWhitePly,
// MoveColumns, LayMoveColumns, MoveColumnAt, PlyOfClickedRow,
// IsMarkerClick, CutMoveText, kMoveCellChars.
#pragma once

#include <string>

// Plies count from 1; `blackFirst` when Black moved first in the game.
// -1: no row (ply 0 with White first).
int MoveRowOfPly(int ply, bool blackFirst);
int WhitePlyOfRow(int row, bool blackFirst);
int BlackPlyOfRow(int row, bool blackFirst);
bool IsWhitePly(int ply, bool blackFirst);

struct MoveColumns {
  int numberWidth = 0;   // extent of "999. "
  int moveWidth = 0;     // current move column width
  int markerWidth = 0;   // wider of the two marker bitmaps
  int whiteX = 0, blackX = 0;
};
// Spreads the spare width of the list in thirds before each move column.
void LayMoveColumns(MoveColumns* columns, int listClientWidth);
// 16 White, 32 Black, 0 between.
int MoveColumnAt(const MoveColumns& columns, int x);
// The ply a click on row `row` at x goes to.
int PlyOfClickedRow(const MoveColumns& columns, int row, int x, bool blackFirst);
// A marker click lies strictly inside a marker's width from a column's x.
bool IsMarkerClick(const MoveColumns& columns, int x);

// A move cell holds 15 characters.
constexpr int kMoveCellChars = 15;
std::string CutMoveText(const char* text);
