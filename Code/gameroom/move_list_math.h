// The Game Status move list's arithmetic: which row holds a ply, which
// plies a row holds, the move columns and the cells' texts.
//
// Interface: MoveRowOfPly, WhitePlyOfRow, BlackPlyOfRow, IsWhitePly,
// MoveColumns, LayMoveColumns, MoveColumnAt, PlyOfClickedRow,
// IsMarkerClick, CutMoveText, kMoveCellChars, MoveListCounters.
#pragma once

#include <string>

// Plies count from 1; `blackFirst` when Black moved first in the game.
// -1: no row (ply 0 with White first).
int MoveRowOfPly(int ply, bool blackFirst);
int WhitePlyOfRow(int row, bool blackFirst);
int BlackPlyOfRow(int row, bool blackFirst);
bool IsWhitePly(int ply, bool blackFirst);

struct MoveColumns {
  int numberWidth = 0;  // extent of "999. "
  int moveWidth = 0;    // current move column width
  int markerWidth = 0;  // wider of the two marker bitmaps
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

// The list's two counters and what the game events and buttons do to them.
struct MoveListCounters {
  int listed = 0;  // plies in the list
  int shown = 0;   // the ply whose row is selected; 0 the start position

  // A move played after the user stepped back rebuilds the whole list.
  bool AppendRebuilds() const { return listed > shown; }
  // The row to select for the shown ply; -1 clears the selection.
  int SelectedRow(bool blackFirst) const { return MoveRowOfPly(shown, blackFirst); }
  void TakenBack() { shown = shown > 0 ? shown - 1 : 0; }
  void Replayed() { shown = shown < listed ? shown + 1 : listed; }
  // ">" and "<" start their 2-second timers only when there is a move to
  // play forwards or take back.
  bool ForwardPlayStarts() const { return shown != listed; }
  bool BackwardPlayStarts() const { return shown != 0; }
};
