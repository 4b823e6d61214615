// Fuzzes the reader for play and the builder's tree reading over book
// images: walks, lookups, picks, the name index and rewriting.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "board.h"
#include "bookreader.h"
#include "booktree.h"
#include "notation.h"

namespace {
std::vector<MoveRecord> Line(const char* text) {
  MoveRecord moves[16];
  int count = 16;
  Board board;
  SetInitialBoard(&board);
  ParseMoveListText(moves, &count, text, &board, WHITE);
  return std::vector<MoveRecord>(moves, moves + count);
}
int FixedDraw(int n) { return n / 2; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<MoveRecord> lines[] = {Line("e4 e5 Nf3"), Line("d4 d5 c4 e6"), Line("Nf3 d5 d4")};
  SetBookRandomSource(FixedDraw);
  SelectBookSlot(1);
  if (!LoadBookImage(data, size)) return 0;
  int n = GetBookMoveCount();
  for (int node = 0; node < n && node < 512; ++node) {
    NextSiblingNode(node);
    ParentNode(node);
    FirstChildNode(GetBookMoveWord(node), node);
  }
  std::vector<MoveRecord> line;
  BuildBookLine(n - 1, &line);
  for (const auto& l : lines) {
    for (int count = 1; count <= static_cast<int>(l.size()); ++count) {
      std::string comment, name, eco;
      LookupBookPosition(l.data(), count, &comment, &name, &eco);
      MoveRecord m;
      PickBookMove(l.data(), count, true, &m);
    }
  }
  MoveRecord m;
  PickBookMove(nullptr, 0, true, &m);
  char buffer[kOpeningNameBufferSize];
  SelectBookSlot(0);
  GetBookOpeningName(lines[0].data(), 2, buffer, sizeof(buffer));
  SelectBookSlot(1);
  if (IndexBookWithProgress(nullptr)) {
    int entries = GetBookEntryCount();
    for (int i = 0; i < entries && i < 64; ++i) {
      GetBookEntryText(i);
      GetBookEntryLine(i, &line);
    }
  }
  BookChecksum();
  BookTree tree;
  BuildBookTree(&tree);
  int missing = 0;
  AttachBookTexts(&tree, &missing);
  BookTreePreOrder(tree);
  FreeBookSlot();
  return 0;
}
