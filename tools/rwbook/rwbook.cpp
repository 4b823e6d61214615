// rwbook: runs the book builder's commands ("KEY=value" arguments) or lists a
// book ("rwbook bookdump FILE").
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "board.h"
#include "bookbuilder.h"
#include "bookreader.h"

namespace {

void Usage() {
  std::fputs(
      "usage: rwbook COMMAND=name [INBOOK=file] [OUTBOOK=file] [PGN=file] [COLOR=WHITE|BLACK|BOTH]\n"
      "              [CRITERIA=name] [DEPTH=n]\n"
      "       rwbook bookdump FILE\n"
      "commands: TEST STRIP CSV VARIATIONS IMPORT DUPS EXPAND IMPORTCSV NOBRACES IMPORTTEST\n"
      "          MISSING STATS WAVES CHECKSUM\n",
      stderr);
}

std::string SquareName(int s) {
  std::string name;
  name += static_cast<char>('a' + (s & 7));
  name += static_cast<char>('1' + (s >> 3));
  return name;
}

void PrintEscaped(const std::string& text) {
  for (unsigned char c : text) {
    if (c == '\\')
      std::fputs("\\\\", stdout);
    else if (c < 32 || c == 127)
      std::printf("\\x%02x", c);
    else
      std::putchar(c);
  }
}

int BookDump(const char* path) {
  if (!LoadBookFile(path)) {
    std::fprintf(stderr, "Unable to load book data file %s\n", path);
    return 1;
  }
  int n = GetBookMoveCount();
  std::printf("Book %s: %d moves, text size %u, checksum %u\n", path, n, GetBookTextSize(), BookChecksum());
  // Depth of each node from its parent, which comes earlier in pre-order.
  std::vector<int> depth(static_cast<size_t>(n), 0);
  for (int node = 0; node < n; ++node) {
    uint16_t parent = ParentNode(node);
    depth[static_cast<size_t>(node)] = parent == kNoNode ? 0 : depth[parent] + 1;
    BookMoveWord w = GetBookMoveWord(node);
    std::printf("%5d %*s%s%s w%d%s%s", node, 2 * depth[static_cast<size_t>(node)], "",
                SquareName(BookWordFrom(w)).c_str(), SquareName(BookWordTo(w)).c_str(), BookWordWeight(w),
                BookWordIsLeaf(w) ? " leaf" : "", BookWordIsLast(w) ? " last" : "");
    const struct {
      int kind;
      const char* label;
    } kinds[] = {{BOOK_TEXT_ECO, "eco"}, {BOOK_TEXT_NAME, "name"}, {BOOK_TEXT_COMMENT, "comment"}};
    for (const auto& k : kinds) {
      std::string text = GetBookNodeText(node, k.kind);
      if (text.empty()) continue;
      std::printf(" %s=\"", k.label);
      PrintEscaped(text);
      std::putchar('"');
    }
    std::putchar('\n');
  }
  FreeBookSlot();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage();
    return 1;
  }
  if (std::strcmp(argv[1], "bookdump") == 0) {
    if (argc != 3) {
      Usage();
      return 1;
    }
    return BookDump(argv[2]);
  }
  BookBuilderIo io;
  io.print = [](const std::string& s) { std::fputs(s.c_str(), stdout); };
  io.report = [](const std::string& s) { std::fputs(s.c_str(), stderr); };
  io.input = FileLineSource(stdin);
  int result = BookBuilderMain(argc, argv, io);
  std::fflush(stdout);
  if (result == BUILDER_BAD_ARGUMENT) Usage();
  // A book that cannot be read ends the tool with exit code 1.
  if (result == BUILDER_BAD_IN_BOOK) return 1;
  return result;
}
