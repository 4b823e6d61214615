#include "move_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

MoveRecord M(int from, int to) {
  MoveRecord m{};
  m.from = static_cast<uint8_t>(from);
  m.to = static_cast<uint8_t>(to);
  return m;
}

// The move's "to" square as a letter: a tree's shape in a few characters.
char Tag(const MoveRecord* m) { return m ? static_cast<char>('A' + m->to) : '-'; }

// The children of the current node's parent, in order.
std::string Siblings(MoveTree* t) {
  std::string s;
  for (int n = 0; TreeSiblingMove(t, n); ++n) s += Tag(TreeSiblingMove(t, n));
  return s;
}

std::string MainLine(const MoveTree* t) {
  std::string s;
  for (int p = 1; TreeMoveAtPly(t, p); ++p) s += Tag(TreeMoveAtPly(t, p));
  return s;
}

struct TreeHolder {
  MoveTree* tree = CreateMoveTree();
  ~TreeHolder() { FreeMoveTree(tree); }
};

TEST(MoveTree, AddingAnEqualAlternativeMakesItFirst) {
  TreeHolder h;
  MoveTree* t = h.tree;
  MoveRecord a = M(0, 0), b = M(0, 1), c = M(0, 2);
  TreeAddMove(t, &a);
  TreeStepBack(t);
  TreeAppendMove(t, &b);
  TreeStepBack(t);
  TreeAppendMove(t, &c);
  EXPECT_EQ(Siblings(t), "ABC");
  TreeStepBack(t);
  EXPECT_EQ(GetTreePly(t), 0);
  EXPECT_EQ(Tag(TreeAddMove(t, &b)), 'B');
  EXPECT_EQ(Siblings(t), "BAC");
  TreeStepBack(t);
  EXPECT_EQ(Tag(TreeStepForward(t)), 'B');
  EXPECT_EQ(TreeCountVariations(t), 2);
}

TEST(MoveTree, RotateGivesNextAlternativeAndMovesOldToEnd) {
  TreeHolder h;
  MoveTree* t = h.tree;
  MoveRecord first = M(1, 25), a = M(0, 0), b = M(0, 1), c = M(0, 2);
  TreeAddMove(t, &first);
  TreeAppendMove(t, &a);
  TreeAddAlternative(t, &b);
  TreeAddAlternative(t, &c);
  EXPECT_EQ(TreeAddAlternative(t, &b), nullptr);  // already there
  EXPECT_EQ(Siblings(t), "ABC");
  EXPECT_EQ(Tag(TreeRotateToNextVariation(t)), 'B');
  EXPECT_EQ(Siblings(t), "BCA");
  EXPECT_EQ(Tag(GetTreeMove(t)), 'B');
  EXPECT_EQ(GetTreePly(t), 2);
  EXPECT_EQ(MainLine(t), "ZB");
  TreeSelectSibling(t, 2);
  EXPECT_EQ(Tag(GetTreeMove(t)), 'A');
  EXPECT_EQ(TreeRotateToNextVariation(t), nullptr);  // last one has no next
  EXPECT_EQ(TreeSelectSibling(t, 7), nullptr);
  EXPECT_EQ(Tag(GetTreeMove(t)), 'A');  // the last one reached
}

TEST(MoveTree, ReplaceAndAppendKeepTheirPlaces) {
  TreeHolder h;
  MoveTree* t = h.tree;
  MoveRecord a = M(0, 0), b = M(0, 1), c = M(0, 2);
  EXPECT_EQ(TreeReplaceMove(t, &a), nullptr);  // nothing to replace at ply 0
  TreeAddMove(t, &a);
  TreeAppendMove(t, &b);  // child of A
  MoveRecord* replaced = TreeReplaceMove(t, &c);
  EXPECT_EQ(replaced, GetTreeMove(t));
  EXPECT_EQ(GetTreePly(t), 2);
  EXPECT_EQ(Siblings(t), "CB");
  EXPECT_EQ(Tag(TreeReplaceMove(t, &b)), 'B');
  EXPECT_EQ(Siblings(t), "BC");
  TreeStepBack(t);
  TreeAppendMove(t, &c);  // equal child: current, no reordering
  EXPECT_EQ(Siblings(t), "BC");
  EXPECT_EQ(Tag(GetTreeMove(t)), 'C');
}

TEST(MoveTree, GoToPlyBeyondTheLineChangesNothing) {
  TreeHolder h;
  MoveTree* t = h.tree;
  for (int i = 0; i < 5; ++i) {
    MoveRecord m = M(0, i);
    TreeAddMove(t, &m);
  }
  EXPECT_EQ(TreeCountMainLine(t), 5);
  EXPECT_TRUE(TreeGoToPly(t, 3));
  EXPECT_FALSE(TreeGoToPly(t, 6));
  EXPECT_FALSE(TreeGoToPly(t, -1));
  EXPECT_EQ(GetTreePly(t), 3);
  EXPECT_EQ(Tag(GetTreeMove(t)), 'C');
  EXPECT_EQ(Tag(TreeNextMove(t)), 'D');
  EXPECT_EQ(Tag(TreeMoveAtPly(t, 5)), 'E');
  EXPECT_EQ(TreeMoveAtPly(t, 6), nullptr);
  EXPECT_TRUE(TreeGoToPly(t, 0));
  EXPECT_EQ(GetTreeMove(t), nullptr);
  EXPECT_EQ(TreeCountVariations(t), -1);
  EXPECT_EQ(TreeStepBack(t), nullptr);
  EXPECT_EQ(GetTreePly(t), 0);
  EXPECT_EQ(GetTreePly(nullptr), kNoTreePly);
  EXPECT_EQ(TreeCountVariations(nullptr), kNoTreePly);
}

TEST(MoveTree, DeleteAtPlyOneKeepsTheAlternatives) {
  TreeHolder h;
  MoveTree* t = h.tree;
  MoveRecord a = M(0, 0), b = M(0, 1), reply = M(0, 7);
  TreeAddMove(t, &b);
  TreeStepBack(t);
  TreeAddMove(t, &a);
  SetMoveString(GetTreeMove(t), "comment", 0);  // freed with the node
  TreeAddMove(t, &reply);
  TreeGoToPly(t, 1);
  EXPECT_TRUE(TreeDeleteCurrent(t));
  EXPECT_EQ(GetTreePly(t), 0);
  EXPECT_EQ(GetTreeMove(t), nullptr);
  EXPECT_EQ(Tag(TreeStepForward(t)), 'B');
  EXPECT_EQ(Siblings(t), "B");
  EXPECT_EQ(TreeNextMove(t), nullptr);
}

TEST(MoveTree, MergeMakesTheListTheMainLine) {
  TreeHolder h;
  MoveTree* t = h.tree;
  std::vector<MoveRecord> first = {M(0, 0), M(0, 1), M(0, 2)};
  ASSERT_TRUE(TreeMergeMoveList(t, first.data(), 3));
  std::vector<MoveRecord> second = {M(0, 0), M(0, 3), M(0, 4), M(0, 5)};
  ASSERT_TRUE(TreeMergeMoveList(t, second.data(), 4));
  EXPECT_EQ(MainLine(t), "ADEF");
  EXPECT_EQ(GetTreePly(t), 4);
  TreeGoToPly(t, 2);
  EXPECT_EQ(Siblings(t), "DB");
  // Merging the first line again brings B back to the front by rotation.
  ASSERT_TRUE(TreeMergeMoveList(t, first.data(), 2));
  EXPECT_EQ(MainLine(t), "ABC");
  EXPECT_EQ(Siblings(t), "BD");
  EXPECT_EQ(GetTreePly(t), 2);
}

int Record(void* arg, MoveRecord* move, MoveRecord*, MoveRecord*) {
  static_cast<std::string*>(arg)->push_back(Tag(move));
  return 1;
}
int StopAtFirst(void* arg, MoveRecord* move, MoveRecord*, MoveRecord*) {
  static_cast<std::string*>(arg)->push_back(Tag(move));
  return 0;
}

TEST(MoveTree, WalkOrderAndStop) {
  TreeHolder h;
  MoveTree* t = h.tree;
  // A (B (C) | D) | E : A and E at the top; after A, B with child C, and D.
  MoveRecord a = M(0, 0), b = M(0, 1), c = M(0, 2), d = M(0, 3), e = M(0, 4);
  TreeAppendMove(t, &a);
  TreeAppendMove(t, &b);
  TreeAppendMove(t, &c);
  TreeGoToPly(t, 1);
  TreeAppendMove(t, &d);
  TreeGoToPly(t, 0);
  TreeAppendMove(t, &e);
  TreeGoToPly(t, 0);
  std::string seen;
  TreeWalk(t, Record, &seen);
  EXPECT_EQ(seen, "AEBDC");
  seen.clear();
  TreeWalk(t, StopAtFirst, &seen);
  EXPECT_EQ(seen, "A");
}

TEST(MoveTree, SecondPoolBlockAndDeepCopy) {
  TreeHolder h;
  MoveTree* t = h.tree;
  for (int i = 0; i < kTreePoolBlockNodes; ++i) {
    MoveRecord m = M(i % 64, i % 60);
    TreeAppendMove(t, &m);
  }
  EXPECT_EQ(CountTreePoolBlocks(t), 1);
  MoveRecord last = M(1, 2);
  SetMoveString(&last, "note", 2);
  ASSERT_NE(TreeAppendMove(t, &last), nullptr);
  FreeMoveStrings(&last);
  EXPECT_EQ(CountTreePoolBlocks(t), 2);
  EXPECT_EQ(TreeCountMainLine(t), kTreePoolBlockNodes + 1);

  TreeGoToPly(t, 100);
  MoveTree* copy = CopyMoveTree(t);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(GetTreePly(copy), 100);
  EXPECT_EQ(TreeCountMainLine(copy), kTreePoolBlockNodes + 1);
  MoveRecord* copied = TreeMoveAtPly(copy, kTreePoolBlockNodes + 1);
  ASSERT_NE(copied, nullptr);
  ASSERT_NE(copied->texts[2], nullptr);
  EXPECT_STREQ(copied->texts[2], "note");
  EXPECT_NE(copied->texts[2], TreeMoveAtPly(t, kTreePoolBlockNodes + 1)->texts[2]);
  FreeMoveTree(copy);
}

}  // namespace
