// Corvane engine core: perft over the engine's own generator (test and
// benchmark aid).  Counts leaf nodes of the legal move tree from the root.
#pragma once

#include "board.h"

namespace corvane {

u64 Perft(int depth);                                                    // from the board at ply 0
u64 PerftDivide(int depth, EngineMove* moves, u64* counts, int* count);  // per root move

}  // namespace corvane
