// The checked square-name reader.
#include "square_names.h"

bool ParseSquareName(const char* name, int* column, int* row) {
  if (!name || name[0] < 'a' || name[0] > 'h' || name[1] < '1' || name[1] > '8') return false;
  *column = name[0] - 'a';
  *row = '8' - name[1];
  return true;
}

std::string SquareName(int column, int row) {
  if (column < 0 || column > 7 || row < 0 || row > 7) return std::string();
  return std::string{static_cast<char>('a' + column), static_cast<char>('8' - row)};
}
