// Piece sheet layout.
#include "piece_cels.h"

int SheetColumn(int kind) {
  static const int kColumn[6] = {5, 4, 1, 3, 2, 0};  // king .. pawn
  return kind >= 0 && kind < 6 ? kColumn[kind] : -1;
}

bool PieceCelRect(int colour, int kind, int cel, int32_t* x, int32_t* y, int32_t celWidth,
                  int32_t celHeight) {
  int column = SheetColumn(kind);
  if (column < 0 || colour < 0 || colour > 1 || cel < -1 || cel >= kMultiCels) return false;
  if (cel < 0) {
    *x = (celWidth + 1) * column + 1;
    *y = (celHeight + 1) * colour + 1;
  } else {
    *x = (celWidth + 1) * cel + 1;
    *y = (celHeight + 2) * column + (celHeight + 2) * 6 * colour + 1;
  }
  return true;
}

void PieceSheetSize(bool multiCel, int32_t celWidth, int32_t celHeight, int32_t* width, int32_t* height) {
  int32_t x, y;
  if (multiCel) {
    PieceCelRect(1, 0, kMultiCels - 1, &x, &y, celWidth, celHeight);
  } else {
    PieceCelRect(1, 0, -1, &x, &y, celWidth, celHeight);
  }
  *width = x + celWidth + 1;
  *height = y + celHeight + 1;
}

int ChoosePieceCursorKind(int32_t boardSize) {
  if (boardSize < 300) return 0;
  return boardSize < 450 ? 1 : 2;
}
