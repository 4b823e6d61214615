#include "move_tree.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "heapkit.h"

struct MoveTreePoolBlock {
  MoveTreeNode nodes[kTreePoolBlockNodes];
  uint32_t used;
  MoveTreePoolBlock* previous;
};

namespace {

MoveTreeNode* NewNode(MoveTree* tree, const MoveRecord* move) {
  MoveTreePoolBlock* block = tree->pool;
  if (!block || block->used >= kTreePoolBlockNodes) {
    block = static_cast<MoveTreePoolBlock*>(memAlloc_rel(sizeof(MoveTreePoolBlock), HEAPKIT_TAG_RW));
    if (!block) return nullptr;
    block->used = 0;
    block->previous = tree->pool;
    tree->pool = block;
  }
  MoveRecord* copy = DuplicateMoveRecord(move);
  if (!copy) return nullptr;
  MoveTreeNode* node = &block->nodes[block->used++];
  *node = MoveTreeNode{nullptr, nullptr, nullptr, copy};
  return node;
}

// The node whose children are the current node and its siblings.
MoveTreeNode* ParentOfCurrent(MoveTree* tree) { return tree->current ? tree->current->parent : &tree->root; }
// The node whose children follow the current position.
MoveTreeNode* CurrentOrRoot(MoveTree* tree) { return tree->current ? tree->current : &tree->root; }
const MoveTreeNode* CurrentOrRoot(const MoveTree* tree) {
  return tree->current ? tree->current : &tree->root;
}

void Unlink(MoveTreeNode* node) {
  MoveTreeNode* parent = node->parent;
  if (parent->firstChild == node) {
    parent->firstChild = node->next;
  } else {
    MoveTreeNode* before = parent->firstChild;
    while (before && before->next != node) before = before->next;
    if (before) before->next = node->next;
  }
  node->next = nullptr;
}

void LinkFirst(MoveTreeNode* parent, MoveTreeNode* node) {
  node->parent = parent;
  node->next = parent->firstChild;
  parent->firstChild = node;
}

void LinkLast(MoveTreeNode* parent, MoveTreeNode* node) {
  node->parent = parent;
  node->next = nullptr;
  MoveTreeNode** link = &parent->firstChild;
  while (*link) link = &(*link)->next;
  *link = node;
}

MoveTreeNode* FindEqualChild(MoveTreeNode* parent, const MoveRecord* move) {
  for (MoveTreeNode* n = parent->firstChild; n; n = n->next)
    if (MovesIdentical(n->move, move)) return n;
  return nullptr;
}

// Deletes a node and everything below it; its pool slots are not reused.
void DeleteSubtree(MoveTreeNode* node) {
  Unlink(node);
  std::vector<MoveTreeNode*> pending{node};
  while (!pending.empty()) {
    MoveTreeNode* n = pending.back();
    pending.pop_back();
    for (MoveTreeNode* child = n->firstChild; child; child = child->next) pending.push_back(child);
    FreeMoveRecord(n->move);
    n->move = nullptr;
    n->firstChild = nullptr;
  }
}

void FreeAllNodes(MoveTree* tree) {
  while (tree->root.firstChild) DeleteSubtree(tree->root.firstChild);
  while (tree->pool) {
    MoveTreePoolBlock* previous = tree->pool->previous;
    memFree_rel(tree->pool);
    tree->pool = previous;
  }
}

// Copies the children of `source` (with their subtrees, in order) under
// `target`. False when a node could not be made.
bool CopyChildren(MoveTree* into, const MoveTreeNode* source, MoveTreeNode* target) {
  std::vector<std::pair<const MoveTreeNode*, MoveTreeNode*>> pending{{source, target}};
  while (!pending.empty()) {
    auto [from, to] = pending.back();
    pending.pop_back();
    for (const MoveTreeNode* child = from->firstChild; child; child = child->next) {
      MoveTreeNode* copy = NewNode(into, child->move);
      if (!copy) return false;
      LinkLast(to, copy);
      if (child->firstChild) pending.emplace_back(child, copy);
    }
  }
  return true;
}

}  // namespace

MoveTree* CreateMoveTree() {
  void* block = memAlloc_rel(sizeof(MoveTree), HEAPKIT_TAG_RW);
  if (!block) return nullptr;
  auto* tree = new (block) MoveTree;
  tree->root = MoveTreeNode{nullptr, nullptr, nullptr, nullptr};
  tree->current = nullptr;
  tree->ply = 0;
  tree->pool = nullptr;
  return tree;
}

MoveTree* CopyMoveTree(MoveTree* tree) {
  if (!tree) return nullptr;
  MoveTree* copy = CreateMoveTree();
  if (!copy) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  if (!CopyChildren(copy, &tree->root, &copy->root)) {
    FreeMoveTree(copy);
    return nullptr;
  }
  TreeGoToPly(copy, tree->ply);
  return copy;
}

void FreeMoveTree(MoveTree* tree) {
  if (!tree) return;
  FreeAllNodes(tree);
  tree->~MoveTree();
  memFree_rel(tree);
}

void ClearMoveTree(MoveTree* tree) {
  if (!tree) return;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  FreeAllNodes(tree);
  tree->current = nullptr;
  tree->ply = 0;
}

void LockMoveTree(MoveTree* tree) {
  if (tree) tree->lock.lock();
}
void UnlockMoveTree(MoveTree* tree) {
  if (tree) tree->lock.unlock();
}

int CountTreePoolBlocks(const MoveTree* tree) {
  int n = 0;
  for (const MoveTreePoolBlock* b = tree ? tree->pool : nullptr; b; b = b->previous) ++n;
  return n;
}

int32_t GetTreePly(const MoveTree* tree) { return tree ? tree->ply : kNoTreePly; }

MoveRecord* GetTreeMove(const MoveTree* tree) {
  return tree && tree->current ? tree->current->move : nullptr;
}

MoveRecord* TreeGoToFirst(MoveTree* tree) {
  if (!tree || !tree->root.firstChild) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  tree->current = tree->root.firstChild;
  tree->ply = 1;
  return tree->current->move;
}

bool TreeGoToPly(MoveTree* tree, int32_t ply) {
  if (!tree || ply < 0) return false;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* node = nullptr;
  MoveTreeNode* walk = &tree->root;
  for (int32_t i = 0; i < ply; ++i) {
    walk = walk->firstChild;
    if (!walk) return false;
    node = walk;
  }
  tree->current = node;
  tree->ply = ply;
  return true;
}

MoveRecord* TreeMoveAtPly(const MoveTree* tree, int32_t ply) {
  if (!tree || ply <= 0) return nullptr;
  if (ply == tree->ply) return GetTreeMove(tree);
  const MoveTreeNode* walk = &tree->root;
  for (int32_t i = 0; i < ply && walk; ++i) walk = walk->firstChild;
  return walk ? walk->move : nullptr;
}

int TreeCountMainLine(const MoveTree* tree) {
  int n = 0;
  for (const MoveTreeNode* walk = tree ? tree->root.firstChild : nullptr; walk; walk = walk->firstChild) ++n;
  return n;
}

MoveRecord* TreeStepForward(MoveTree* tree) {
  if (!tree) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* next = CurrentOrRoot(tree)->firstChild;
  if (!next) return nullptr;
  tree->current = next;
  tree->ply++;
  return next->move;
}

MoveRecord* TreeNextMove(const MoveTree* tree) {
  if (!tree) return nullptr;
  const MoveTreeNode* next = CurrentOrRoot(tree)->firstChild;
  return next ? next->move : nullptr;
}

MoveRecord* TreeStepBack(MoveTree* tree) {
  if (!tree || !tree->current) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* parent = tree->current->parent;
  tree->current = parent == &tree->root ? nullptr : parent;
  tree->ply--;
  return GetTreeMove(tree);
}

int TreeCountVariations(const MoveTree* tree) {
  if (!tree) return kNoTreePly;
  if (!tree->current) return -1;
  int n = 0;
  for (const MoveTreeNode* s = tree->current->next; s; s = s->next) ++n;
  return n;
}

MoveRecord* TreeRotateToNextVariation(MoveTree* tree) {
  if (!tree || !tree->current || !tree->current->next) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* old = tree->current;
  MoveTreeNode* parent = old->parent;
  MoveTreeNode* sibling = old->next;
  Unlink(old);
  Unlink(sibling);
  LinkFirst(parent, sibling);
  LinkLast(parent, old);
  tree->current = sibling;
  return sibling->move;
}

MoveRecord* TreeSelectSibling(MoveTree* tree, int n) {
  if (!tree || !tree->current || n < 0) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* node = tree->current->parent->firstChild;
  tree->current = node;
  for (int i = 0; i < n; ++i) {
    if (!node->next) return nullptr;
    node = node->next;
    tree->current = node;
  }
  return node->move;
}

MoveRecord* TreeSiblingMove(const MoveTree* tree, int n) {
  if (!tree || !tree->current || n < 0) return nullptr;
  const MoveTreeNode* node = tree->current->parent->firstChild;
  for (int i = 0; node && i < n; ++i) node = node->next;
  return node ? node->move : nullptr;
}

MoveRecord* TreeAddMove(MoveTree* tree, const MoveRecord* move) {
  if (!tree || !move) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* parent = CurrentOrRoot(tree);
  MoveTreeNode* node = FindEqualChild(parent, move);
  if (node) {
    Unlink(node);
  } else {
    node = NewNode(tree, move);
    if (!node) return nullptr;
  }
  LinkFirst(parent, node);
  tree->current = node;
  tree->ply++;
  return node->move;
}

MoveRecord* TreeAppendMove(MoveTree* tree, const MoveRecord* move) {
  if (!tree || !move) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* parent = CurrentOrRoot(tree);
  MoveTreeNode* node = FindEqualChild(parent, move);
  if (!node) {
    node = NewNode(tree, move);
    if (!node) return nullptr;
    LinkLast(parent, node);
  }
  tree->current = node;
  tree->ply++;
  return node->move;
}

MoveRecord* TreeReplaceMove(MoveTree* tree, const MoveRecord* move) {
  if (!tree || !move || !tree->current) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* parent = ParentOfCurrent(tree);
  MoveTreeNode* node = FindEqualChild(parent, move);
  if (node) {
    Unlink(node);
  } else {
    node = NewNode(tree, move);
    if (!node) return nullptr;
  }
  LinkFirst(parent, node);
  tree->current = node;
  return node->move;
}

MoveRecord* TreeAddAlternative(MoveTree* tree, const MoveRecord* move) {
  if (!tree || !move || !tree->current) return nullptr;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* parent = ParentOfCurrent(tree);
  if (FindEqualChild(parent, move)) return nullptr;
  MoveTreeNode* node = NewNode(tree, move);
  if (!node) return nullptr;
  LinkLast(parent, node);
  return node->move;
}

bool TreeMergeMoveList(MoveTree* tree, const MoveRecord* moves, int count) {
  if (!tree || (!moves && count > 0)) return false;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  TreeGoToPly(tree, 0);
  for (int i = 0; i < count; ++i) {
    const MoveRecord* move = &moves[i];
    if (!TreeStepForward(tree)) {
      if (!TreeAddMove(tree, move)) return false;
      continue;
    }
    if (MovesIdentical(GetTreeMove(tree), move)) continue;
    for (int turns = TreeCountVariations(tree); turns > 0; --turns) {
      if (MovesIdentical(TreeRotateToNextVariation(tree), move)) break;
    }
    if (!MovesIdentical(GetTreeMove(tree), move) && !TreeReplaceMove(tree, move)) return false;
  }
  return true;
}

bool TreeDeleteCurrent(MoveTree* tree) {
  if (!tree || !tree->current) return false;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* old = tree->current;
  TreeStepBack(tree);
  DeleteSubtree(old);
  return true;
}

std::vector<MoveTreeNode*> TreeLineNodes(const MoveTree* tree) {
  std::vector<MoveTreeNode*> line;
  if (!tree) return line;
  for (MoveTreeNode* n = tree->current; n && n != &tree->root; n = n->parent) line.push_back(n);
  return std::vector<MoveTreeNode*>(line.rbegin(), line.rend());
}

void TreeWalk(MoveTree* tree, TreeWalkCallback callback, void* argument) {
  if (!tree || !callback) return;
  std::lock_guard<std::recursive_mutex> hold(tree->lock);
  MoveTreeNode* start = tree->current ? tree->current : tree->root.firstChild;
  if (!start) return;
  // Depth-first without recursion, so that long lines cannot exhaust a
  // thread's stack: a node, then the walk of its next sibling, then the walk
  // of its first child.
  std::vector<MoveTreeNode*> pending{start};
  while (!pending.empty()) {
    MoveTreeNode* node = pending.back();
    pending.pop_back();
    MoveRecord* child = node->firstChild ? node->firstChild->move : nullptr;
    MoveRecord* sibling = node->next ? node->next->move : nullptr;
    if (!callback(argument, node->move, child, sibling)) continue;
    if (node->firstChild) pending.push_back(node->firstChild);
    if (node->next) pending.push_back(node->next);
  }
}
