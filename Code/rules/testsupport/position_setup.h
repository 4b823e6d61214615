// Test and benchmark support for the rules core: positions from the first
// four fields of a FEN text, and perft.
//
// This is a minimal reader for tests and the perft tool only (no move
// counters, no error codes); the program's own FEN reader lives elsewhere.
#pragma once

#include <cstdint>

#include "board.h"

// Placement, side to move, castling and en-passant fields; the counters, when
// present, are ignored. False (board undefined) on malformed text.
bool SetupPositionFromFen(const char* fen, Board* board, int* side);

// Leaf nodes `depth` plies below the position, counted with
// GenerateLegalMoves and MakeMove/UnmakeMove (the last ply is counted from
// the legal list without being made).
uint64_t Perft(Board* board, int side, int depth);
