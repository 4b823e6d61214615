// Fuzzes the chess-set catalogue loader: the input is cut into the four
// items (three length bytes first), loaded, and every record looked up.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "chess_sets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  // Item lengths in units that let small inputs reach whole records.
  size_t lengths[3] = {data[0] * 64u, data[1] * 16u, data[2] * 8u};
  bool present = data[3] & 1;
  data += 4, size -= 4;
  std::vector<uint8_t> items[4];
  size_t headerLength = size < 24 ? size : 24;
  items[0].assign(data, data + headerLength);
  size_t at = headerLength;
  for (int i = 0; i < 3; ++i) {
    size_t n = lengths[i] < size - at ? lengths[i] : size - at;
    items[i + 1].assign(data + at, data + at + n);
    at += n;
  }
  ChessSetCatalogue catalogue;
  if (!catalogue.LoadFromItems(&items[0], &items[1], present ? &items[2] : nullptr, &items[3])) return 0;
  for (int i = -1; i <= catalogue.boardCount(); ++i) {
    const BoardSetRecord* b = catalogue.GetBoardSetRecord(i);
    if (b) catalogue.FindBoardSet(b->name);
    BoardSetRecord copy;
    catalogue.CopyBoardSet(&copy, i);
  }
  for (int i = -1; i <= catalogue.pieceCount(); ++i) {
    const PieceSetRecord* p = catalogue.GetPieceSetRecord(i);
    if (p) catalogue.FindPieceSet(p->name);
  }
  return 0;
}
