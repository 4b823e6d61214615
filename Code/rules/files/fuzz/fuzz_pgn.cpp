// Fuzzes the PGN reader: every game of the input is read; each game read
// without error is written and must read back with the same moves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game_record.h"
#include "pgn_read.h"
#include "pgn_write.h"
#include "line_source.h"

namespace {

using Source = FuzzLineSource;
constexpr auto NextLine = &NextFuzzPiece<kPgnLineSize>;

int CountMoves(const MoveTreeNode* node) {
  int n = 0;
  for (; node; node = node->next) n += 1 + CountMoves(node->firstChild);
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 20000) return 0;
  Source source{reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size};
  PgnReader reader;
  for (int games = 0; games < 50; ++games) {
    GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16, 1, 0);
    int code = reader.ParseGame(NextLine, &source, game);
    bool any = reader.SawContent();
    if (code == 0) {
      std::string pgn = WritePgnToString(game, 0, true);
      GameRecord* back = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16, 1, 0);
      if (ReadPgnFromMemory(pgn.c_str(), back) != 0 ||
          CountMoves(back->tree->root.firstChild) != CountMoves(game->tree->root.firstChild))
        std::abort();
      DestroyGame(back);
    } else {
      reader.SkipToNextGame(NextLine, &source);
    }
    DestroyGame(game);
    if (!any && code == 0) break;
  }
  return 0;
}
