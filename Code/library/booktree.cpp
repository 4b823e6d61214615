// The builder's linked book tree and its reading and writing.
#include "booktree.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "board.h"
#include "bookreader.h"

BookTree::BookTree() { nodes_.emplace_back(); }

int BookTree::AddChild(int parent, BookMoveWord word) {
  int index = static_cast<int>(nodes_.size());
  nodes_.emplace_back();
  nodes_.back().word = word;
  BookTreeNode& p = nodes_[static_cast<size_t>(parent)];
  if (p.firstChild < 0) {
    p.firstChild = index;
    nodes_.back().parent = parent;
  } else {
    int last = p.firstChild;
    while (nodes_[static_cast<size_t>(last)].nextSibling >= 0)
      last = nodes_[static_cast<size_t>(last)].nextSibling;
    nodes_[static_cast<size_t>(last)].nextSibling = index;
    nodes_.back().previousSibling = last;
  }
  return index;
}

std::vector<BookTreeVisit> BookTreePreOrder(const BookTree& tree) {
  std::vector<BookTreeVisit> order;
  std::vector<BookTreeVisit> stack;
  if (tree[BookTree::kRoot].firstChild >= 0) stack.push_back({tree[BookTree::kRoot].firstChild, 1, 1});
  while (!stack.empty()) {
    BookTreeVisit v = stack.back();
    stack.pop_back();
    order.push_back(v);
    const BookTreeNode& n = tree[v.node];
    if (n.nextSibling >= 0) stack.push_back({n.nextSibling, v.depth, v.rank + 1});
    if (n.firstChild >= 0) stack.push_back({n.firstChild, v.depth + 1, 1});
  }
  return order;
}

std::vector<BookMoveWord> BookTreeLineWords(const BookTree& tree, int node) {
  std::vector<BookMoveWord> words;
  while (node > 0) {
    words.push_back(tree[node].word);
    while (tree[node].previousSibling >= 0) node = tree[node].previousSibling;
    node = tree[node].parent;
  }
  std::reverse(words.begin(), words.end());
  return words;
}

std::vector<MoveRecord> BookTreeLineMoves(const BookTree& tree, int node) {
  std::vector<MoveRecord> moves;
  Board board;
  SetInitialBoard(&board);
  int side = WHITE;
  for (BookMoveWord w : BookTreeLineWords(tree, node)) {
    MoveRecord m;
    if (!BookMoveToMoveRecord(&board, side, w, &m)) break;
    MakeMove(&m, &board);
    moves.push_back(m);
    side = OtherSide(side);
  }
  return moves;
}

void BuildBookTree(BookTree* tree) {
  if (GetBookMoveCount() == 0) return;
  struct Item {
    uint16_t node;
    int parent;
  };
  // Siblings in order: a sibling is added after the whole subtree of its
  // elder sibling, which a stack of pending siblings gives.
  std::vector<Item> stack{{0, BookTree::kRoot}};
  while (!stack.empty()) {
    Item item = stack.back();
    stack.pop_back();
    if (item.node > kMaxBookNodes) continue;
    BookMoveWord w = GetBookMoveWord(item.node);
    int index = tree->AddChild(item.parent, static_cast<BookMoveWord>(w & 0xFF3F));
    (*tree)[index].number = item.node;
    uint16_t sibling = NextSiblingNode(item.node);
    if (sibling != kNoNode) stack.push_back({sibling, item.parent});
    uint16_t child = FirstChildNode(w, item.node);
    if (child != kNoNode) stack.push_back({child, index});
  }
}

namespace {
int FindTreeNode(const BookTree& tree, int number) {
  int n = tree[BookTree::kRoot].firstChild;
  while (n >= 0) {
    if (tree[n].number == number) return n;
    int sibling = tree[n].nextSibling;
    if (sibling >= 0 && tree[sibling].number <= number)
      n = sibling;
    else
      n = tree[n].firstChild;
  }
  return -1;
}

std::string SingleQuotes(std::string text) {
  std::replace(text.begin(), text.end(), '"', '\'');
  return text;
}
}  // namespace

bool AttachBookTexts(BookTree* tree, int* missing) {
  uint32_t size = GetBookTextSize();
  std::vector<uint8_t> area(size);
  ReadBookBytes(area.data(), size, kBookHeaderSize + 2 * static_cast<size_t>(GetBookMoveCount()));
  BookTextRecord r;
  for (uint32_t off = 0; ReadTextRecord(area.data(), size, off, &r); off = r.next) {
    int n = FindTreeNode(*tree, r.node);
    if (n < 0) {
      if (missing) *missing = r.node;
      return false;
    }
    BookTreeNode& node = (*tree)[n];
    if (r.kind == BOOK_TEXT_NAME)
      node.name = SingleQuotes(ReadNodeText(area.data(), size, r.node, r.kind));
    else if (r.kind == BOOK_TEXT_COMMENT)
      node.comment = SingleQuotes(ReadNodeText(area.data(), size, r.node, r.kind));
    else if (r.kind == BOOK_TEXT_ECO)
      node.eco = std::string(reinterpret_cast<const char*>(r.text), std::min<size_t>(r.length, 3));
  }
  return true;
}

namespace {
void AppendRecords(std::vector<uint8_t>* out, int node, int kind, const std::string& text) {
  size_t pos = 0;
  do {
    size_t piece = std::min<size_t>(255, text.size() - pos);
    out->push_back(static_cast<uint8_t>((node + 1) & 0xFF));
    out->push_back(static_cast<uint8_t>((node + 1) >> 8));
    out->push_back(static_cast<uint8_t>(piece));
    out->push_back(static_cast<uint8_t>(kind));
    out->insert(out->end(), text.begin() + static_cast<long>(pos),
                text.begin() + static_cast<long>(pos + piece));
    pos += piece;
  } while (pos < text.size());
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof(buffer), format, args);
  va_end(args);
  return buffer;
}
}  // namespace

int WriteBookTree(const BookTree& tree, const char* path, const BookReport& report) {
  auto say = [&report](const std::string& text) {
    if (report) report(text);
  };
  std::vector<BookTreeVisit> order = BookTreePreOrder(tree);
  int n = static_cast<int>(order.size());
  if (n > kMaxBookNodes) {
    say(Format("Error: Book size of %d is greater than allowed (%d)\n", n, kMaxBookNodes));
    return 20;
  }
  std::vector<uint8_t> words(2 * static_cast<size_t>(n));
  std::vector<uint8_t> texts;
  for (int i = 0; i < n; ++i) {
    const BookTreeNode& node = tree[order[static_cast<size_t>(i)].node];
    BookMoveWord w = static_cast<BookMoveWord>(node.word & 0xFF3F);
    if (node.firstChild < 0) w |= BOOK_LEAF;
    if (node.nextSibling < 0) w |= BOOK_LAST_SIBLING;
    WriteLe16(&words[2 * static_cast<size_t>(i)], w);
    if (!node.name.empty()) AppendRecords(&texts, i, BOOK_TEXT_NAME, node.name.substr(0, 255));
    if (!node.comment.empty()) AppendRecords(&texts, i, BOOK_TEXT_COMMENT, node.comment);
    if (!node.eco.empty()) AppendRecords(&texts, i, BOOK_TEXT_ECO, node.eco.substr(0, 255));
  }
  std::vector<uint8_t> image(8);
  image[0] = 'U', image[1] = 'G', image[2] = 'W', image[3] = 'S';
  WriteLe16(&image[4], static_cast<uint16_t>(n));
  WriteLe16(&image[6], texts.size() < 65536 ? static_cast<uint16_t>(texts.size()) : 0);
  image.insert(image.end(), words.begin(), words.end());
  image.insert(image.end(), texts.begin(), texts.end());
  // The out-book is often the in-book, which a failed write must not destroy.
  if (!WriteBookFile(path, image.data(), image.size())) {
    say(Format("Unable to open %s\n", path ? path : ""));
    return 2;
  }
  say(Format("File %s created. %u moves, comment size = %u (%d).\n", path, static_cast<unsigned>(n),
             static_cast<unsigned>(texts.size()), static_cast<int>(texts.size())));
  return 0;
}
