// Square marks: a flag word per square that the scene paints under the
// pieces.
//
// Interface: SquareMarks with MarkSquares, ClearAll, ClearFlag,
// SetLastMoveMarks, and MarkFill (how one mark word is drawn).
#pragma once

#include <cstdint>

enum SquareMarkBit : uint32_t {
  MARK_INVERT = 1,  // lessons, markup, set-up: the outline inverted
  MARK_WHITE_COVER = 2,
  MARK_BLACK_COVER = 4,
  MARK_LAST_MOVE = 8,  // a frame in the other square colour
  MARK_TEACHING = 16,
};

enum class MarkFill { None, Invert, OwnColour, Frame };
// Bit 8 wins over the refills, any refill over the inversion.
MarkFill MarkFillFor(uint32_t word);

struct SquareMarks {
  uint32_t words[8][8] = {};  // row 0 = rank 8
  // The remembered last-move pair (0x88 squares), valid when haveLastMove.
  bool haveLastMove = false;
  int lastFrom = 0, lastTo = 0;

  // Each well-formed square of the text ORed with flag, or cleared with 0.
  void MarkSquares(const char* squares, uint32_t flag);
  void ClearAll();
  void ClearFlag(uint32_t flag);
  // Squares are 0x88 numbers; squares off the board are ignored.
  void SetLastMoveMarks(int from, int to, bool on);
};
