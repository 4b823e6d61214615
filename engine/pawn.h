// Corvane engine core: pawn structure, passed pawns and strong squares.
//
// Interface: YPawn (cached), XPawn (uncached), EvalPawnY, EvalPawnX,
// EvalPawnBoth, PawnTableClear, PawnEntryFor.  The pawn-only part of the work
// is kept in a 128-entry table keyed by the pawn key.
#pragma once

#include "board.h"
#include "eval.h"

namespace corvane {

struct PawnEntry {
  u8 files[2][10];   // per side, by file + 1: bit (rank index) for each pawn
  u8 squares[2][8];  // pawn squares, zero-terminated when fewer
  u8 flags[8];       // white pawn i low nibble, black high: class 1-4, 8 passed
  i16 score[2];      // static structure score
  i16 doubled[2];    // the doubled-pawn sum d of each side
  u32 key;
  u8 valid;
};

struct PawnResult {
  int structure[2], strong[2], passed[2], race;
};
extern PawnResult g_pawn;

void PawnTableClear();
// Entry for the board's pawns (cached when useCache).
const PawnEntry& PawnEntryFor(const SearchBoard& bd, bool useCache);
int YPawn(SearchBoard& bd, int phaseWeight);
int XPawn(SearchBoard& bd, int phaseWeight);
int EvalPawnY(SearchBoard& bd, int phaseWeight);
int EvalPawnX(SearchBoard& bd, int phaseWeight);
// Runs both and writes a line for every differing result; returns the count.
int EvalPawnBoth(SearchBoard& bd, int phaseWeight, PrintFn log, void* ctx);

}  // namespace corvane
