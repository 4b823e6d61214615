// Fuzzes the readers of move text: parsing, matching in every style, typed
// keys and coordinates, on a few fixed positions.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "movegen.h"
#include "notation.h"
#include "position_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kPositions[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "1n2k3/P7/8/3pP3/8/8/8/R3K2R w KQ d6",
  };
  if (size < 1) return 0;
  Board board;
  int side = 0;
  SetupPositionFromFen(kPositions[data[0] % 3], &board, &side);
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  MoveRecord list[kMoveListRoom];
  int count = GenerateLegalMoves(&board, list, nullptr, side);
  MoveRecord out{};
  ParseAlgebraicMove(&out, text.c_str(), &board, side);

  MoveRecord moves[16];
  int n = 16;
  ParseMoveListText(moves, &n, text.c_str(), &board, side);

  bool matched[kMoveListRoom];
  for (int style = -1; style <= 6; ++style) {
    int first = 0, matches = 0;
    bool full = false;
    MatchMoveTextEx(text.c_str(), &board, list, count, style, matched, &matches, false, &first, false, &full);
    std::string copy = text;
    NormalizeMoveInput(&copy[0], style);
    FindMoveMatches(copy.c_str(), &board, list, count, style, matched, &matches, &first, &full);
  }

  char typed[20] = "";
  char squares[kSquareListTextSize];
  const int style = data[0] % 6;
  for (size_t i = 1; i < size; ++i) {
    int matches = 0, first = 0;
    bool full = false, ambiguous = false;
    TypeMoveKey(typed, sizeof typed, data[i], &board, list, count, style, true, &matches, squares, &first,
                &full, &ambiguous);
  }

  if (size >= 21) {
    MoveCoords c;
    std::memcpy(&c, data + 1, sizeof c);
    MoveRecord m{};
    if (CoordsToMove(&c, &m)) {
      char printed[kNotationTextSize];
      MoveToNotation(&board, &m, side, style, printed);
    }
  }
  return 0;
}
