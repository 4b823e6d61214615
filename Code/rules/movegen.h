// Move generation: pseudo-legal moves in a fixed order, the marking pass
// (illegal, check, mate), legal move lists and the end-of-game test.
//
// Interface: GenerateMoves, GenerateLegalMoves, CountLegalMoves,
// GetMateState, PositionsEqual.
//
// Order: squares a8, b8, ..., h1; per square the piece's own order (rays or
// knight steps in table order, each pawn's single push before its double
// push, captures lower file first, then en passant); castling last.
//
// Every list given to generation must have room for kMoveListRoom records.
// The scratch lists used by the marking pass and by comparisons belong to the
// calling thread, so worker threads may generate at the same time.
#pragma once

#include <cstdint>

#include "board.h"
#include "moverecord.h"

// Pseudo-legal moves of `side`. With `mark`, each move is tried: one leaving
// the own king attacked gets MOVE_ILLEGAL, one giving check MOVE_CHECK and,
// when the other side has no answer, MOVE_MATE. `legalCount` (optional) gets
// the number of moves without MOVE_ILLEGAL (the count itself when not marked).
void GenerateMoves(const Board* board, MoveRecord* list, uint16_t* count, uint16_t* legalCount, int side,
                   bool mark);
// The legal moves of `side` in generation order; the count is stored (when
// `count` is given) and returned.
int GenerateLegalMoves(const Board* board, MoveRecord* list, uint16_t* count, int side);
int CountLegalMoves(const Board* board, int side);
// 2 checkmate, 3 stalemate (no legal moves), 0 when there are moves.
int GetMateState(const Board* board, int legalCount, int side);
// Same 64 squares and the same number of legal moves for `side` (which tells
// differing castling or en-passant rights apart when they matter).
bool PositionsEqual(const Board* a, const Board* b, int side);
