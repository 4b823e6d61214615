// Move scripts: the short command texts that animate a move on the board.
//
// Interface: BuildMoveScript, ParseMoveScript, PieceCode.
//
// Commands, square names as two characters, piece codes as colour letter
// W/B and kind letter K Q R B N P ("--" = no piece):
//   S from to       slide the piece; what stood on "to" is removed
//   K from via to   slide a knight in two straight legs
//   D code square   put a new piece there ("--" empties the square)
//   G code square   take a free sprite with that picture, not placed
//   E square        no effect
// Any other character is skipped.
#pragma once

#include <string>
#include <vector>

#include "board.h"
#include "moverecord.h"

// "WK" for a white king, "--" for an empty byte.
std::string PieceCode(uint8_t piece);

// Forward: the position after the move; backwards: the position after the
// take-back. moverColour is WHITE or BLACK. Empty for a move whose squares
// are off the board.
std::string BuildMoveScript(const MoveRecord& move, const Board& position, int moverColour, bool backwards);

struct ScriptCommand {
  char op;            // 'S', 'K', 'D', 'G', 'E'
  int colour;         // 0 White, 1 Black, -1 no piece (D and G)
  int kind;           // 0 king .. 5 pawn, -1 no piece
  int squares[3][2];  // column, row of the operands
  bool valid;         // false when an operand names no square or no piece code
};

// The script's commands in order; a command cut short by the end of the
// text is left out.
std::vector<ScriptCommand> ParseMoveScript(const std::string& script);
