// The best-line board's position: the line the advisor engine thinks best,
// read from its thinking-line text and stepped through move by move from
// the game's position.
//
// Interface: kMaxBestLine, BestLine, BestLineStep, LoadBestLine,
// StepBestLine, RefreshBestLine, BestLineSquareOrigin.
#pragma once

#include <cstdint>

#include "board.h"
#include "moverecord.h"

constexpr int kMaxBestLine = 63;

struct BestLine {
  int active = 1;  // 1 follows the engine (Resume), 0 held
  Board current{};
  Board start{};
  MoveRecord line[kMaxBestLine] = {};
  int dirty = 1;
  int ply = 0;
  int count = 0;
};

enum BestLineStep { STEP_TO_END = 1, STEP_FORWARD = 2, STEP_BACK = 3, STEP_TO_START = 4 };

// At most 63 moves of the text played from the position; false when none.
bool LoadBestLine(const Board& position, int side, const char* text, MoveRecord* moves, int* count);
void StepBestLine(BestLine* board, int command);
// While active: the position becomes the start, the line is read anew and
// played to its end. analysing: the game's advisor analyses it.
void RefreshBestLine(BestLine* board, const Board& position, int side, bool analysing, const char* text);

// Top-left of a square in the composed picture: 3 + 19 per square, White at the bottom.
inline int BestLineSquareOrigin(int index) { return 3 + 19 * index; }
