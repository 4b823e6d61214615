// Fuzzes the position readers: FEN (whose output must read back the same)
// and the board position text, with the plausibility check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "position_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  Board board;
  int side = 0, number = 1;
  if (ParseFen(text.c_str(), &board, &side, &number) == 0) {
    ValidateBoard(&board);
    char fen[kFenTextSize];
    BoardToFen(&board, side, number, fen);
    Board back;
    int side2 = 0, number2 = 1;
    if (ParseFen(fen, &back, &side2, &number2) != 0 || std::memcmp(back.sq, board.sq, sizeof board.sq) != 0 ||
        side2 != side || number2 != number)
      std::abort();
    char boardText[kBoardTextSize];
    PositionToText(&board, boardText);
  }
  int line = 0;
  if (ParseBoardTextCode(text.c_str(), &board, &line) == 0) ValidateBoard(&board);
  return 0;
}
