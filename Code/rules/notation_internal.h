// Shared between the printing and reading halves of the notation code.
#pragma once

#include <cstddef>

#include "board.h"
#include "moverecord.h"
#include "notation.h"

// Appends to a caller buffer, never beyond its capacity, always NUL-terminated.
struct TextOut {
  char* out;
  size_t capacity;
  size_t n = 0;

  TextOut(char* buffer, size_t size) : out(buffer), capacity(size) {
    if (capacity) out[0] = '\0';
  }
  void Put(char c);
  void Put(const char* s);
};

// The move's text at one level into `out` (kNotationTextSize bytes); returns
// the length, 0 when the style has no such level.
int PrintMoveAtLevel(const Board& board, const MoveRecord& move, int style, const NotationOptions& options,
                     int level, char* out);

// The calling thread's scratch list for notation (kMoveListRoom records).
MoveRecord* NotationScratch();
