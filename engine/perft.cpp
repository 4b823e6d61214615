// Corvane engine core: perft.  The last ply counts the generated moves
// without making them (the generator is fully legal).
#include "perft.h"

#include <cstring>

namespace corvane {

namespace {
u64 PerftAt(int ply, int depth) {
  int n = GenLegal(Board(ply));
  if (depth == 1) return u64(n);
  EngineMove moves[kGenMax];
  std::memcpy(moves, g_gen, sizeof(EngineMove) * n);
  u64 total = 0;
  for (int i = 0; i < n; ++i) {
    DoMove(moves[i], ply);
    total += PerftAt(ply + 1, depth - 1);
  }
  return total;
}
}  // namespace

u64 Perft(int depth) {
  if (depth <= 0) return 1;
  if (depth > 40) depth = 40;
  return PerftAt(0, depth);
}

u64 PerftDivide(int depth, EngineMove* moves, u64* counts, int* count) {
  int n = GenLegal(Board(0));
  std::memcpy(moves, g_gen, sizeof(EngineMove) * n);
  *count = n;
  u64 total = 0;
  for (int i = 0; i < n; ++i) {
    DoMove(moves[i], 0);
    counts[i] = depth <= 1 ? 1 : PerftAt(1, depth - 1);
    total += counts[i];
  }
  return total;
}

}  // namespace corvane
