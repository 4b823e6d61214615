#include "best_line.h"

#include <cstring>

#include "notation.h"

bool LoadBestLine(const Board& position, int side, const char* text, MoveRecord* moves, int* count) {
  if (!moves || !count) return false;
  *count = kMaxBestLine;
  ParseMoveListText(moves, count, text, &position, side);
  // The records keep no texts of their own: only squares and flags matter here.
  for (int i = 0; i < *count; ++i) std::memset(moves[i].texts, 0, sizeof moves[i].texts);
  return *count > 0;
}

void StepBestLine(BestLine* b, int command) {
  if (!b) return;
  switch (command) {
    case STEP_TO_END:
      while (b->ply < b->count) {
        MakeMove(&b->line[b->ply++], &b->current);
        b->dirty = 1;
      }
      break;
    case STEP_FORWARD:
      if (b->ply < b->count) {
        MakeMove(&b->line[b->ply++], &b->current);
        b->dirty = 1;
      }
      break;
    case STEP_BACK:
      if (b->ply > 0) {
        UnmakeMove(&b->line[--b->ply], &b->current);
        b->dirty = 1;
      }
      break;
    case STEP_TO_START:
      while (b->ply > 0) {
        UnmakeMove(&b->line[--b->ply], &b->current);
        b->dirty = 1;
      }
      break;
    default: break;
  }
}

void RefreshBestLine(BestLine* b, const Board& position, int side, bool analysing, const char* text) {
  if (!b || !b->active) return;
  b->start = position;
  b->current = position;
  b->ply = 0;
  b->count = 0;
  b->dirty = 1;
  int count = 0;
  if (analysing && text && LoadBestLine(position, side, text, b->line, &count)) {
    b->count = count;
    StepBestLine(b, STEP_TO_END);
  }
}
