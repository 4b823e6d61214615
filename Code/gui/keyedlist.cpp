// Keyed list container: see keyedlist.h.
#include "keyedlist.h"

#include <cstring>

#include "heapkit.h"

namespace {

// The node `offset` whole steps from the base, or null when the walk leaves
// the list (or the base does not exist).
KeyedListNode* NodeFrom(const KeyedList* list, int32_t offset, int base) {
  KeyedListNode* node = nullptr;
  switch (base) {
    case KL_FIRST:
      node = list->first;
      break;
    case KL_CURSOR:
      node = list->cursor;
      break;
    case KL_LAST:
      node = list->last;
      break;
    default:
      return nullptr;
  }
  for (; node && offset > 0; --offset) node = node->next;
  for (; node && offset < 0; ++offset) node = node->prev;
  return node;
}

}  // namespace

KeyedList* KeyedListCreate(uint32_t userSize) {
  auto* list = static_cast<KeyedList*>(memAlloc_rel(sizeof(KeyedList) + userSize, HEAPKIT_TAG_RW));
  if (!list) return nullptr;
  KeyedListInit(list);
  list->userSize = userSize;
  list->user = userSize ? static_cast<void*>(list + 1) : nullptr;
  return list;
}

void KeyedListInit(KeyedList* list) {
  if (!list) return;
  list->count = 0;
  list->first = list->last = list->cursor = nullptr;
  list->user = nullptr;
  list->userSize = 0;
}

int KeyedListClear(KeyedList* list) {
  if (!list) return 0;
  KeyedListNode* node = list->last;
  while (node) {
    KeyedListNode* prev = node->prev;
    memFree_rel(node);
    node = prev;
  }
  list->count = 0;
  list->first = list->last = list->cursor = nullptr;
  return 1;
}

void KeyedListDestroy(KeyedList* list) {
  if (!list) return;
  KeyedListClear(list);
  memFree_rel(list);
}

int KeyedListLinkNodeAt(KeyedList* list, KeyedListNode* node, KeyedListNode* ref, int where) {
  if (!list || !node) return 0;
  if (!list->first) {
    node->prev = node->next = nullptr;
    list->first = list->last = list->cursor = node;
    return 1;
  }
  switch (where) {
    case KL_AT_HEAD:
      node->prev = nullptr;
      node->next = list->first;
      list->first->prev = node;
      list->first = node;
      break;
    case KL_AT_TAIL:
      node->next = nullptr;
      node->prev = list->last;
      list->last->next = node;
      list->last = node;
      break;
    case KL_AFTER:
      if (!ref) return 0;
      node->prev = ref;
      node->next = ref->next;
      if (ref->next)
        ref->next->prev = node;
      else
        list->last = node;
      ref->next = node;
      break;
    case KL_BEFORE:
      if (!ref) return 0;
      node->next = ref;
      node->prev = ref->prev;
      if (ref->prev)
        ref->prev->next = node;
      else
        list->first = node;
      ref->prev = node;
      break;
    default:
      return 0;
  }
  if (!list->cursor) list->cursor = node;
  return 1;
}

int KeyedListLinkNode(KeyedList* list, KeyedListNode* node, int where) {
  return list ? KeyedListLinkNodeAt(list, node, list->cursor, where) : 0;
}

KeyedListNode* KeyedListNewNodeAt(KeyedList* list, uint32_t size, KeyedListNode* ref, int where) {
  if (!list) return nullptr;
  auto* node = static_cast<KeyedListNode*>(memAlloc_rel(sizeof(KeyedListNode) + size, HEAPKIT_TAG_RW));
  if (!node) return nullptr;
  node->prev = node->next = nullptr;
  node->data = node + 1;
  if (!KeyedListLinkNodeAt(list, node, ref, where)) {
    memFree_rel(node);
    return nullptr;
  }
  ++list->count;
  return node;
}

KeyedListNode* KeyedListNewNode(KeyedList* list, uint32_t size, int where) {
  return list ? KeyedListNewNodeAt(list, size, list->cursor, where) : nullptr;
}

KeyedListNode* KeyedListInsertCopyAt(KeyedList* list, const void* data, uint32_t size, KeyedListNode* ref,
                                     int where) {
  KeyedListNode* node = KeyedListNewNodeAt(list, size, ref, where);
  if (node && data && size) std::memcpy(node->data, data, size);
  return node;
}

void* KeyedListAddCopy(KeyedList* list, const void* data, uint32_t size, int where) {
  if (!list) return nullptr;
  KeyedListNode* node = KeyedListInsertCopyAt(list, data, size, list->cursor, where);
  return node ? node->data : nullptr;
}

int KeyedListRemoveNode(KeyedList* list, KeyedListNode* node) {
  if (!list || !node) return 0;
  if (node->prev)
    node->prev->next = node->next;
  else
    list->first = node->next;
  if (node->next)
    node->next->prev = node->prev;
  else
    list->last = node->prev;
  // The cursor goes back to the head rather than to a neighbour: callers
  // that walk with (1, 1) restart from a known place.
  if (list->cursor == node) list->cursor = list->first;
  --list->count;
  memFree_rel(node);
  return 1;
}

int KeyedListRemoveAt(KeyedList* list, int32_t offset, int base) {
  if (!list || !list->cursor) return 0;
  KeyedListNode* node = NodeFrom(list, offset, base);
  return node ? KeyedListRemoveNode(list, node) : 0;
}

void* KeyedListMoveCursor(KeyedList* list, int32_t offset, int base) {
  if (!list || !list->first) return nullptr;
  KeyedListNode* node = NodeFrom(list, offset, base);
  if (node) {
    list->cursor = node;
    return node->data;
  }
  if (offset < 0)
    list->cursor = list->first;
  else if (offset > 0)
    list->cursor = list->last;
  return nullptr;
}

void* KeyedListFind(KeyedList* list, const void* key, KeyedListCompare compare) {
  if (!list || !list->cursor || !key || !compare) return nullptr;
  for (KeyedListNode* node = list->cursor; node; node = node->next) {
    list->cursor = node;
    if (compare(key, node->data)) return node->data;
  }
  return nullptr;
}

int KeyedListForEach(KeyedList* list, KeyedListVisit visit, void* context) {
  if (!list || !list->first) return 1;
  if (!visit) return 0;
  int result = 1;
  for (KeyedListNode* node = list->first; node;) {
    KeyedListNode* next = node->next;
    result = visit(node->data, context);
    if (result == 0) break;
    node = next;
  }
  return result;
}
