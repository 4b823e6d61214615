// Square names in texts: two characters, file letter a-h then rank digit
// 1-8, run together ("e4d5"). Texts come from lessons, markup files and
// scripts, so one checked reader serves every caller.
//
// Interface: ParseSquareName, ForEachSquareName, SquareName.
#pragma once

#include <string>

// Row 0 is rank 8, column 0 the a-file. False (and nothing written) for
// anything but a1..h8.
bool ParseSquareName(const char* name, int* column, int* row);

// Calls visit(column, row) for every well-formed pair of the text, two
// characters at a time; a pair that names no square is skipped, and a
// trailing odd character is ignored. A null text names nothing.
template <typename Visit>
void ForEachSquareName(const char* text, Visit visit) {
  if (!text) return;
  for (; text[0] && text[1]; text += 2) {
    int column, row;
    if (ParseSquareName(text, &column, &row)) visit(column, row);
  }
}

// "a8" for column 0, row 0; empty for a square off the board.
std::string SquareName(int column, int row);
