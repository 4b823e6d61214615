// The seven basic-mate exercises: a random start position for each, built
// with the drill generators' helpers.
//
// Interface: MakeCheckmatePosition, PlaceCheckmatePiece, kCheckmateExercises,
// kCheckmatePieceTries.
//
// The enemy king starts on one of the central sixteen squares and nobody is
// in check. Where the enemy has a piece (exercises 3-5) the own side has no
// mate in one and no check that also attacks that piece; a placement of the
// own piece that keeps failing starts the whole set-up again.
#pragma once

#include "board.h"
#include "utils.h"

constexpr int kCheckmateExercises = 7;
// Tries of the own piece in exercises 3, 4 and 5 before starting again.
constexpr int kCheckmatePieceTries[3] = {10, 11, 11};

// Builds the exercise's position for `colour` on the board with the caller's
// random source; 99, or -1 for an exercise outside 0..6. `restarts`
// (optional) gets the number of set-ups started again.
int MakeCheckmatePosition(int exercise, int colour, Board* board, RandomSource& random,
                          int* restarts = nullptr);

// The own piece of exercises 3-5 (queen, rook, queen): up to the exercise's
// number of tries, each on a random empty square; the square, or -1 when
// every try failed (nothing is left on the board).
int PlaceCheckmatePiece(Board* board, RandomSource& random, int exercise, int colour, int enemyPiece);
