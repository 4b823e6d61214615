// Tree lists: see treelist.h.
#include "treelist.h"

#include <cstring>

namespace {

TreeListHead* HeadOf(TreeList* list) {
  return list && list->userSize >= sizeof(TreeListHead) ? static_cast<TreeListHead*>(list->user) : nullptr;
}

// Pre-order or post-order walk of one node and its subtree; false when the
// visitor stopped it.
bool Walk(TreeList* list, TreeListVisit visit, void* context, int flags, bool visitSelf) {
  uint32_t size = 0;
  void* payload = TreeListPayload(list, &size);
  bool post = flags & TW_POST_ORDER;
  if (!post && visitSelf) {
    int answer = visit(payload, size, context);
    if (answer == TW_STOP) return false;
    if (answer == TW_SKIP_CHILDREN) return true;
  }
  for (KeyedListNode* node = list->first; node; node = node->next) {
    if (!Walk(TreeListOfNode(node), visit, context, flags, true)) return false;
  }
  if (post && visitSelf && visit(payload, size, context) == TW_STOP) return false;
  return true;
}

TreeList* FindPre(TreeList* list, void* context, TreeListCompare compare) {
  uint32_t size = 0;
  void* payload = TreeListPayload(list, &size);
  if (compare(context, payload, size) == 0) return list;
  for (KeyedListNode* node = list->first; node; node = node->next) {
    if (TreeList* found = FindPre(TreeListOfNode(node), context, compare)) return found;
  }
  return nullptr;
}

// Visits every descendant's payload depth first and frees their nodes.
void ClearChildren(TreeList* list, TreeListVisit visit, void* context) {
  while (list->first) {
    KeyedListNode* node = list->first;
    TreeListClear(TreeListOfNode(node), visit, context);
    KeyedListRemoveNode(list, node);
  }
  KeyedListClear(list);
}

}  // namespace

TreeList* TreeListCreateRoot() {
  TreeList* root = KeyedListCreate(sizeof(TreeListHead));
  if (root) {
    TreeListHead* head = HeadOf(root);
    head->parent = nullptr;
    head->depth = 0;
  }
  return root;
}

// The root carries no payload: null for it, never a pointer past its block.
void* TreeListPayload(TreeList* list, uint32_t* payloadSize) {
  TreeListHead* head = HeadOf(list);
  const uint32_t size = head ? list->userSize - uint32_t(sizeof(TreeListHead)) : 0;
  if (payloadSize) *payloadSize = size;
  return size ? static_cast<void*>(head + 1) : nullptr;
}

TreeList* TreeListOfNode(KeyedListNode* node) { return node ? static_cast<TreeList*>(node->data) : nullptr; }

KeyedListNode* TreeListAddChild(TreeList* parent, const void* payload, uint32_t size, int where) {
  TreeListHead* parentHead = HeadOf(parent);
  if (!parentHead || !payload || size == 0) return nullptr;
  uint32_t userSize = sizeof(TreeListHead) + size;
  KeyedListNode* node = KeyedListNewNode(parent, sizeof(TreeList) + userSize, where);
  if (!node) return nullptr;
  TreeList* child = TreeListOfNode(node);
  KeyedListInit(child);
  child->userSize = userSize;
  child->user = child + 1;
  TreeListHead* head = HeadOf(child);
  head->parent = parent;
  head->depth = parentHead->parent ? parentHead->depth + 1 : 0;
  std::memcpy(head + 1, payload, size);
  return node;
}

KeyedListNode* TreeListAddChildAfter(TreeList* parent, KeyedListNode* sibling, const void* payload,
                                     uint32_t size) {
  if (!parent) return nullptr;
  if (parent->first) {
    KeyedListNode* node = parent->first;
    while (node->next && !(sibling && node->data == sibling->data)) node = node->next;
    parent->cursor = node;
  }
  return TreeListAddChild(parent, payload, size, KL_AFTER);
}

int TreeListWalk(TreeList* list, TreeListVisit visit, void* context, int flags) {
  if (!HeadOf(list) || !visit) return 0;
  return Walk(list, visit, context, flags, !(flags & TW_NOT_START)) ? 1 : 0;
}

void* TreeListFind(TreeList* list, void* context, TreeListCompare compare, uint32_t* payloadSize) {
  if (!HeadOf(list) || !compare) return nullptr;
  TreeList* found = FindPre(list, context, compare);
  return found ? TreeListPayload(found, payloadSize) : nullptr;
}

int TreeListClear(TreeList* list, TreeListVisit visit, void* context) {
  if (!HeadOf(list)) return 0;
  if (visit) {
    uint32_t size = 0;
    void* payload = TreeListPayload(list, &size);
    visit(payload, size, context);
  }
  ClearChildren(list, visit, context);
  return 1;
}

void TreeListDestroy(TreeList* list, TreeListVisit visit, void* context) {
  TreeListHead* head = HeadOf(list);
  if (!head) return;
  if (head->parent) {
    // A child lives inside its parent's node: removing the node frees it.
    TreeListRemoveChild(head->parent, KeyedListNodeOf(list), visit, context);
    return;
  }
  TreeListClear(list, visit, context);
  KeyedListDestroy(list);
}

int TreeListRemoveChildAt(TreeList* parent, int32_t offset, int base, TreeListVisit visit, void* context) {
  if (!HeadOf(parent) || !parent->cursor) return 0;
  KeyedListNode* node = nullptr;
  switch (base) {
    case KL_FIRST:
      node = parent->first;
      break;
    case KL_CURSOR:
      node = parent->cursor;
      break;
    case KL_LAST:
      node = parent->last;
      break;
    default:
      return 0;
  }
  for (; node && offset > 0; --offset) node = node->next;
  for (; node && offset < 0; ++offset) node = node->prev;
  if (!node) return 0;
  TreeListClear(TreeListOfNode(node), visit, context);
  return KeyedListRemoveNode(parent, node);
}

int TreeListRemoveChild(TreeList* parent, KeyedListNode* child, TreeListVisit visit, void* context) {
  if (!TreeListSetCursor(parent, child)) return 0;
  TreeListClear(TreeListOfNode(child), visit, context);
  return KeyedListRemoveNode(parent, child);
}

int TreeListSetCursor(TreeList* parent, KeyedListNode* node) {
  if (!parent || !node) return 0;
  for (KeyedListNode* n = parent->first; n; n = n->next) {
    if (n == node) {
      parent->cursor = n;
      return 1;
    }
  }
  return 0;
}

void* TreeListMoveCursor(TreeList* parent, int32_t offset, int base) {
  void* data = KeyedListMoveCursor(parent, offset, base);
  return data ? TreeListPayload(static_cast<TreeList*>(data), nullptr) : nullptr;
}
