// The book builder's tree: a book held as linked nodes, read from the
// active book slot, given texts, and written back in the ".obk" layout.
//
// Interface: BookTree, BuildBookTree, AttachBookTexts, WriteBookTree,
// BookTreePreOrder, BookTreeLineMoves.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bookformat.h"
#include "moverecord.h"

constexpr int kGameFeatureCount = 10;

struct BookTreeNode {
  BookMoveWord word = 0;  // squares; flags and weight are set when written
  uint16_t number = 0;    // node number in the book it was read from
  std::string name;       // kind 128, empty for none
  std::string comment;    // kind 129
  std::string eco;        // kind 130, at most 3 characters
  int frequency = 0;
  int whiteWins = 0;
  int blackWins = 0;
  int otherResults = 0;
  int side = 0;  // 16 White, 32 Black
  int64_t features[kGameFeatureCount] = {};
  int firstChild = -1;
  int nextSibling = -1;
  int parent = -1;           // set on a first child
  int previousSibling = -1;  // set on a later sibling
};

class BookTree {
 public:
  BookTree();  // a root without a move
  static constexpr int kRoot = 0;

  BookTreeNode& operator[](int i) { return nodes_[static_cast<size_t>(i)]; }
  const BookTreeNode& operator[](int i) const { return nodes_[static_cast<size_t>(i)]; }
  // A new last child of `parent`.
  int AddChild(int parent, BookMoveWord word);
  int MoveCount() const { return static_cast<int>(nodes_.size()) - 1; }
  // Allocation counters (kept for diagnostics).
  size_t allocations() const { return nodes_.size(); }

 private:
  std::vector<BookTreeNode> nodes_;
};

struct BookTreeVisit {
  int node;
  int depth;  // 1 for a move from the initial position
  int rank;   // 1 for a first child
};
// Every node but the root, in pre-order.
std::vector<BookTreeVisit> BookTreePreOrder(const BookTree& tree);
// The words from the first move down to `node`.
std::vector<BookMoveWord> BookTreeLineWords(const BookTree& tree, int node);
// Those words as legal move records; stops at the first that is not legal.
std::vector<MoveRecord> BookTreeLineMoves(const BookTree& tree, int node);

// Reads the active slot's moves into the tree (which must be empty).
void BuildBookTree(BookTree* tree);
// Gives the tree the active slot's texts. False, with the node number in
// `missing`, when a record names a node that is not in the tree.
bool AttachBookTexts(BookTree* tree, int* missing);

using BookReport = std::function<void(const std::string&)>;
// Result 0, 20 when the book has too many moves, 2 when the file cannot be
// created.
int WriteBookTree(const BookTree& tree, const char* path, const BookReport& report);
