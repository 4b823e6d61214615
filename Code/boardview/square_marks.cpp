// Square mark words.
#include "square_marks.h"

#include "square_names.h"

namespace {

bool OnBoard88(int square) { return square >= 0 && (square & ~0x77) == 0; }

void ChangeBit(SquareMarks* marks, int square, bool set) {
  if (!OnBoard88(square)) return;
  uint32_t& word = marks->words[square >> 4][square & 7];
  word = set ? word | MARK_LAST_MOVE : word & ~MARK_LAST_MOVE;
}

}  // namespace

MarkFill MarkFillFor(uint32_t word) {
  if (word & MARK_LAST_MOVE) return MarkFill::Frame;
  if (word & (MARK_WHITE_COVER | MARK_BLACK_COVER | MARK_TEACHING)) return MarkFill::OwnColour;
  if (word & MARK_INVERT) return MarkFill::Invert;
  return MarkFill::None;
}

void SquareMarks::MarkSquares(const char* squares, uint32_t flag) {
  ForEachSquareName(squares, [&](int column, int row) {
    uint32_t& word = words[row][column];
    word = flag ? word | flag : 0;
  });
}

void SquareMarks::ClearAll() {
  for (auto& row : words)
    for (uint32_t& w : row) w = 0;
}

void SquareMarks::ClearFlag(uint32_t flag) {
  for (auto& row : words)
    for (uint32_t& w : row) w &= ~flag;
}

void SquareMarks::SetLastMoveMarks(int from, int to, bool on) {
  if (on) {
    if (haveLastMove) {
      ChangeBit(this, lastFrom, false);
      ChangeBit(this, lastTo, false);
    }
    haveLastMove = true;
    lastFrom = from;
    lastTo = to;
    ChangeBit(this, from, true);
    ChangeBit(this, to, true);
  } else {
    haveLastMove = false;
    ChangeBit(this, from, false);
    ChangeBit(this, to, false);
  }
}
