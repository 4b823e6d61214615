// The 0x88 board: set-up, attacks, making and taking back moves, the
// position hash.
//
// Interface: ClearBoard, SetInitialBoard, FinishBoardSetup,
// SetCastlingFromPieces, CopyBoard, ResetBoard, IsInitialBoard,
// FindAttackers, CanAttackFrom, IsSquareAttacked, IsSideInCheck, MakeMove,
// UnmakeMove, UpdateCastlingRights, ComputeBoardHash.
//
// Square = row * 16 + file, row 0 is rank 8, file 0 is the a-file; a square
// is on the board exactly when (square & 0x88) == 0. A piece byte is colour
// (16 white, 32 black) plus type (0 king .. 5 pawn); 0 is an empty square.
// The off-board bytes 8..11 of row 0 hold the state; bytes 12 and 13 are free
// for callers (a puzzle keeps its solution there); the others stay 0.
#pragma once

#include <cstdint>

#include "moverecord.h"

enum PieceColour : uint8_t { WHITE = 16, BLACK = 32, COLOUR_MASK = 48 };
enum PieceType : uint8_t { KING = 0, QUEEN = 1, ROOK = 2, BISHOP = 3, KNIGHT = 4, PAWN = 5, TYPE_MASK = 7 };

enum BoardStateByte : uint8_t {
  WHITE_KING_SQUARE = 8,
  BLACK_KING_SQUARE = 9,
  EN_PASSANT_SQUARE = 10,  // the pawn that has just advanced two squares
  CASTLING_RIGHTS = 11,
};

enum CastlingBit : uint8_t { WHITE_SHORT = 1, WHITE_LONG = 2, BLACK_SHORT = 4, BLACK_LONG = 8 };

constexpr uint8_t NO_SQUARE = 255;

struct Board {
  uint8_t sq[128];

  uint8_t& operator[](int square) { return sq[square]; }
  uint8_t operator[](int square) const { return sq[square]; }
};
static_assert(sizeof(Board) == 128, "a Board is the 128-byte 0x88 array");

inline bool OnBoard(int square) { return (square & ~0x77) == 0; }
inline int SquareRow(int square) { return square >> 4; }
inline int SquareFile(int square) { return square & 7; }
inline int MakeSquare(int row, int file) { return row * 16 + file; }
inline int OtherSide(int side) { return side ^ COLOUR_MASK; }
inline int KingSquareByte(int side) { return side == WHITE ? WHITE_KING_SQUARE : BLACK_KING_SQUARE; }

// Direction tables, indexed 1..8 (index 0 unused): rays 1-4 orthogonal,
// 5-8 diagonal.
extern const int kRayDirections[9];
extern const int kKnightSteps[9];
// Piece types of the back rank, files a..h.
extern const uint8_t kBackRankOrder[8];

void ClearBoard(Board* board);
void SetInitialBoard(Board* board);
void FinishBoardSetup(Board* board);
void SetCastlingFromPieces(Board* board);
bool CopyBoard(Board* destination, const Board* source);
bool ResetBoard(Board* board);
bool IsInitialBoard(const Board* board);

// Counts pieces of `colour` attacking `square`, stopping once the count
// reaches `limit` (a limit of 0 or less counts them all). Pieces standing
// behind an attacker on the same line count as further attackers. `out`
// (optional) gets the square of the last one found, NO_SQUARE when none.
int FindAttackers(const Board* board, int square, int colour, int limit, uint8_t* out);
bool CanAttackFrom(int type, int colour, int direction, int distance);
bool IsSquareAttacked(const Board* board, int square, int colour);
bool IsSideInCheck(const Board* board, int colour);

// Plays the move and keeps what UnmakeMove needs in the record's undo bytes;
// returns the captured piece byte (0 when none). A record whose squares are
// off the board leaves the board untouched.
uint8_t MakeMove(MoveRecord* move, Board* board);
void UnmakeMove(const MoveRecord* move, Board* board);
void UpdateCastlingRights(Board* board, int from, int to);

// 32-bit hash of the pieces only (not side, castling or en passant), from a
// fixed table that never changes between runs or builds.
uint32_t ComputeBoardHash(const Board* board);
// The table entry of one piece byte on one square; used by tests.
uint32_t BoardHashKey(int piece, int square);
