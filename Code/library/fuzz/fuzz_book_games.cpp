// Fuzzes the PGN game source that feeds the book builder, and the import of
// the games it reads into a book tree.
#include <cstddef>
#include <cstdint>
#include <string>

#include "bookbuilder.h"
#include "bookgames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  PgnGameSource games(StringLineSource(text), 380);
  BookGame game;
  BookGameError error;
  BookTree tree;
  for (int i = 0; i < 1000 && games.NextGame(&game, &error) == GAME_READ_GAME; ++i) {
    int64_t features[kGameFeatureCount];
    ComputeGameFeatures(game.moves, features);
    int node = BookTree::kRoot;
    for (const MoveRecord& m : game.moves) {
      int found = -1;
      for (int c = tree[node].firstChild; c >= 0; c = tree[c].nextSibling)
        if (BookMoveMatches(tree[c].word, &m)) found = c;
      if (found < 0)
        found = tree.AddChild(
            node, MakeBookMoveWord(BoardSquareToBook(m.from), BoardSquareToBook(m.to), 0, false, false));
      node = found;
    }
  }
  BookTreePreOrder(tree);
  return 0;
}
