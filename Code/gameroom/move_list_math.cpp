// Move list rows, plies and columns.
#include "move_list_math.h"

#include <cstring>

int MoveRowOfPly(int ply, bool blackFirst) { return blackFirst ? ply / 2 : (ply + 1) / 2 - 1; }
int WhitePlyOfRow(int row, bool blackFirst) { return blackFirst ? 2 * row : 2 * row + 1; }
int BlackPlyOfRow(int row, bool blackFirst) { return blackFirst ? 2 * row + 1 : 2 * row + 2; }
bool IsWhitePly(int ply, bool blackFirst) { return blackFirst ? ply % 2 == 0 : ply % 2 == 1; }

void LayMoveColumns(MoveColumns* c, int listClientWidth) {
  int spare = listClientWidth - c->numberWidth - 2 * c->moveWidth;
  int third = spare > 0 ? spare / 3 : 0;
  c->whiteX = c->numberWidth + third;
  c->blackX = c->numberWidth + third + c->moveWidth + third;
}

int MoveColumnAt(const MoveColumns& c, int x) {
  if (x < c.whiteX + c.moveWidth) return 16;
  if (x > c.blackX) return 32;
  return 0;
}

int PlyOfClickedRow(const MoveColumns& c, int row, int x, bool blackFirst) {
  int ply = blackFirst ? 2 * row : 2 * row + 1;
  if (MoveColumnAt(c, x) == 32) ++ply;
  return ply;
}

bool IsMarkerClick(const MoveColumns& c, int x) {
  return (x > c.whiteX && x < c.whiteX + c.markerWidth) || (x > c.blackX && x < c.blackX + c.markerWidth);
}

std::string CutMoveText(const char* text) {
  if (!text) return std::string();
  return std::string(text, strnlen(text, kMoveCellChars));
}
