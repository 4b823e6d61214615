// The move tree of a game: every move with its alternatives as a first-child
// / next-sibling tree of MoveRecord copies, with a current node and its ply.
//
// Interface: CreateMoveTree, CopyMoveTree, FreeMoveTree, ClearMoveTree, LockMoveTree,
// UnlockMoveTree; GetTreePly, GetTreeMove, TreeGoToFirst, TreeGoToPly,
// TreeMoveAtPly, TreeCountMainLine, TreeStepForward, TreeNextMove,
// TreeStepBack, TreeCountVariations, TreeRotateToNextVariation,
// TreeSelectSibling, TreeSiblingMove; TreeAddMove, TreeAppendMove,
// TreeReplaceMove, TreeAddAlternative, TreeMergeMoveList, TreeDeleteCurrent;
// TreeLineNodes, TreeWalk.
//
// The line being followed is always the chain of first children from the
// root: entering or selecting an alternative moves it to the first place
// among its siblings, and stepping forward takes the first child.
//
// Nodes come from pool blocks of kTreePoolBlockNodes and are only returned
// when the tree is freed. The tree is changed on the user-interface thread;
// every operation that changes it (links, current node or ply) holds the
// tree's lock, as do the walks and the copies that other threads make, so a
// copy never sees a half-made change or a freed move. Queries do not lock:
// the changing thread may read without it, others must hold the lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "moverecord.h"

constexpr int kTreePoolBlockNodes = 4096;
constexpr int32_t kNoTreePly = -3;

struct MoveTreeNode {
  MoveTreeNode* parent;
  MoveTreeNode* next;  // next sibling
  MoveTreeNode* firstChild;
  MoveRecord* move;  // owned copy with its texts
};

struct MoveTreePoolBlock;

struct MoveTree {
  // The root: top-level nodes have it as their parent, so the first move of
  // the game is found as root.firstChild like any other node's child.
  MoveTreeNode root;
  MoveTreeNode* current;  // null at ply 0
  int32_t ply;
  MoveTreePoolBlock* pool;  // newest block
  std::recursive_mutex lock;
};

MoveTree* CreateMoveTree();
// A deep copy standing at the same ply on the first-child chain; null when
// memory is short (nothing is left allocated).
MoveTree* CopyMoveTree(MoveTree* tree);
void FreeMoveTree(MoveTree* tree);
// Empties the tree in place (ply 0), so that a thread holding it never sees
// it freed.
void ClearMoveTree(MoveTree* tree);
void LockMoveTree(MoveTree* tree);
void UnlockMoveTree(MoveTree* tree);
// Pool blocks in use (for tests and diagnostics).
int CountTreePoolBlocks(const MoveTree* tree);

int32_t GetTreePly(const MoveTree* tree);
MoveRecord* GetTreeMove(const MoveTree* tree);
MoveRecord* TreeGoToFirst(MoveTree* tree);
// Ply 0 goes before the first move; a ply beyond the line (or negative)
// changes nothing. True when the tree now stands at the ply.
bool TreeGoToPly(MoveTree* tree, int32_t ply);
MoveRecord* TreeMoveAtPly(const MoveTree* tree, int32_t ply);
int TreeCountMainLine(const MoveTree* tree);
MoveRecord* TreeStepForward(MoveTree* tree);
MoveRecord* TreeNextMove(const MoveTree* tree);
// The new current move (null at ply 0).
MoveRecord* TreeStepBack(MoveTree* tree);
// Next siblings of the current node; -1 at ply 0, kNoTreePly without a tree.
int TreeCountVariations(const MoveTree* tree);
MoveRecord* TreeRotateToNextVariation(MoveTree* tree);
MoveRecord* TreeSelectSibling(MoveTree* tree, int n);
MoveRecord* TreeSiblingMove(const MoveTree* tree, int n);

// Adding moves; "equal" is MovesIdentical. Each returns the tree's record of
// the move, or null when no node could be made.
MoveRecord* TreeAddMove(MoveTree* tree, const MoveRecord* move);
MoveRecord* TreeAppendMove(MoveTree* tree, const MoveRecord* move);
// Null at ply 0 (there is no current move to replace).
MoveRecord* TreeReplaceMove(MoveTree* tree, const MoveRecord* move);
// Null when an equal sibling exists or at ply 0; the current node stays.
MoveRecord* TreeAddAlternative(MoveTree* tree, const MoveRecord* move);
// Makes the moves the first-child chain from the root and leaves the tree at
// the last of them. False when a node could not be made.
bool TreeMergeMoveList(MoveTree* tree, const MoveRecord* moves, int count);
// Steps back and deletes the old current node with everything below it.
bool TreeDeleteCurrent(MoveTree* tree);

// The nodes from the first move to the current one, found through the
// parents, so the answer holds even when the current node is not on the
// chain of first children (after TreeSelectSibling).
std::vector<MoveTreeNode*> TreeLineNodes(const MoveTree* tree);

// Visits, from the current node (the first top-level node at ply 0), each
// node, then its next siblings, then its first child, under the tree's lock.
// A callback result of 0 skips that node's siblings and children.
using TreeWalkCallback = int (*)(void* argument, MoveRecord* move, MoveRecord* firstChild,
                                 MoveRecord* nextSibling);
void TreeWalk(MoveTree* tree, TreeWalkCallback callback, void* argument);
