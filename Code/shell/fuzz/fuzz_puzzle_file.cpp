// "Puzzle.drill" lies in the current folder, where anything may replace it:
// any bytes must be judged without fault, and a file that is used must hold
// a position whose solution is its one mate and write back to its bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "login_puzzle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Board board{};
  int side = 0;
  if (ReadPuzzleBytes(data, size, &board, &side) != PuzzleCheck::kGood) return 0;
  uint8_t again[kPuzzleFileSize];
  EncodePuzzle(board, side, again);
  if (std::memcmp(again, data, kPuzzleFileSize) != 0) std::abort();
  const int from = board[kSolutionFromByte], to = board[kSolutionToByte];
  if (JudgePuzzleMove(board, side, from, to) != PuzzleVerdict::kSolved) std::abort();
  return 0;
}
