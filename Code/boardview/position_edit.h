// Editing a position by hand: the checked edits of the set-up tool, the
// material test that refuses what no game can reach, and the choices of the
// Complete Board Setup step (side to move, castling rights).
//
// Interface: SetUpResult, SetUpResultText, CountBoardPieces,
// IsSetUpMaterialImpossible, RemoveSetUpPiece, AddSetUpPiece,
// MoveSetUpPiece, ClearSetUpBoard, CompleteSetupChoices,
// InitCompleteSetupChoices, ApplyCompleteSetupChoices.
#pragma once

#include <cstdint>

#include "board.h"

enum SetUpResult {
  SETUP_OK = 0,
  SETUP_REMOVE_EMPTY = 1,
  SETUP_REMOVE_KING = 2,
  SETUP_MOVE_EMPTY = 3,
  SETUP_PAWN_TO_FIRST = 4,
  SETUP_PAWN_TO_EIGHTH = 5,
  SETUP_MOVE_ONTO_KING = 6,
  SETUP_ADD_ONTO_KING = 7,
  SETUP_ADD_PAWN_FIRST = 8,
  SETUP_ADD_PAWN_EIGHTH = 9,
  SETUP_TOO_MANY = 10,
  SETUP_ILLEGAL = 11,
  SETUP_NOTHING = 12,
};

// The status-line text of a code; empty for 0 and 12.
const char* SetUpResultText(int code);

struct PieceCounts {
  int white, black;
};
// The 64 squares only: the state bytes and callers' bytes beside the
// squares are no pieces.
PieceCounts CountBoardPieces(const Board& board);

// True when no game can reach this material: each side has a king, a
// queen, two rooks, a light and a dark bishop, two knights and eight pawns,
// and every piece beyond its kind's allowance stands for a promoted pawn.
bool IsSetUpMaterialImpossible(const Board& board);

// Rows count from rank 8 (row 0); "first rank" is row 7 whatever the colour.
int RemoveSetUpPiece(Board* board, int row, int file);
// Also refuses a 33rd piece or a 17th of one colour (code 10).
int AddSetUpPiece(Board* board, int piece, int row, int file);
int MoveSetUpPiece(Board* board, int fromRow, int fromFile, int toRow, int toFile);
// Kings on e1 and e8 and nothing else, with king squares and rights worked out.
void ClearSetUpBoard(Board* board);

// The Complete Board Setup step.
struct CompleteSetupChoices {
  bool whiteToMove;
  bool whiteEnabled, blackEnabled;
  // White long, White short, Black long, Black short.
  bool castleEnabled[4];
  bool castleChecked[4];
};
extern const uint8_t kCastleBoxBits[4];
// False when both kings are in check: the position is refused.
bool InitCompleteSetupChoices(const Board& board, CompleteSetupChoices* out);
// Writes the checked rights into the board and returns the side byte.
uint8_t ApplyCompleteSetupChoices(const CompleteSetupChoices& choices, Board* board);
