#include "lists.h"

#include <cstring>
#include <new>

#include "heapkit.h"

namespace {

// Unlinks a node; a cursor on it moves to the (new) first item, so walks that
// remove under the cursor carry on from the head.
void UnlinkNode(LinkedList* list, ListNode* node) {
  if (node->prev) node->prev->next = node->next;
  else list->first = node->next;
  if (node->next) node->next->prev = node->prev;
  else list->last = node->prev;
  if (list->cursor == node) list->cursor = list->first;
  list->count--;
  memFree_rel(node);
}

ListNode* OriginNode(LinkedList* list, int origin) {
  switch (origin) {
    case LIST_FIRST: return list->first;
    case LIST_CURSOR: return list->cursor;
    case LIST_LAST: return list->last;
    default: return nullptr;
  }
}

// Steps |count| nodes from `node`, backwards for a negative count; null when
// the walk runs off either end.
ListNode* Walk(ListNode* node, int32_t count) {
  for (int32_t i = 0; node && i < count; ++i) node = node->next;
  for (int32_t i = 0; node && i > count; --i) node = node->prev;
  return node;
}

}  // namespace

LinkedList* CreateList(uint32_t userDataSize) {
  auto* list = static_cast<LinkedList*>(memAlloc_rel(sizeof(LinkedList) + userDataSize, HEAPKIT_TAG_RW));
  if (!list) return nullptr;
  std::memset(list, 0, sizeof(LinkedList) + userDataSize);
  list->userDataSize = userDataSize;
  list->userData = list + 1;
  return list;
}

void ResetList(LinkedList* list) {
  if (!list) return;
  list->count = 0;
  list->first = list->last = list->cursor = nullptr;
  list->userData = list + 1;
}

void* GetListData(LinkedList* list) { return list ? list->userData : nullptr; }

bool ClearList(LinkedList* list) {
  if (!list) return false;
  while (list->last) UnlinkNode(list, list->last);
  ResetList(list);
  return true;
}

void DestroyList(LinkedList* list) {
  if (!list) return;
  ClearList(list);
  memFree_rel(list);
}

void* AddListItem(LinkedList* list, const void* bytes, uint32_t size, int position, ListNode* at) {
  if (!list || position < LIST_AT_HEAD || position > LIST_BEFORE) return nullptr;
  if (!at) at = list->cursor;
  bool empty = list->first == nullptr;
  if (!empty && (position == LIST_AFTER || position == LIST_BEFORE) && !at) return nullptr;

  auto* node = static_cast<ListNode*>(memAlloc_rel(sizeof(ListNode) + size, HEAPKIT_TAG_RW));
  if (!node) return nullptr;
  node->data = node + 1;
  if (bytes && size) std::memcpy(node->data, bytes, size);
  else if (size) std::memset(node->data, 0, size);

  if (empty) {
    node->prev = node->next = nullptr;
    list->first = list->last = node;
  } else {
    ListNode* before = nullptr;  // the new node goes after `before`
    switch (position) {
      case LIST_AT_HEAD: before = nullptr; break;
      case LIST_AFTER: before = at; break;
      case LIST_AT_TAIL: before = list->last; break;
      case LIST_BEFORE: before = at->prev; break;
    }
    node->prev = before;
    node->next = before ? before->next : list->first;
    if (node->next) node->next->prev = node;
    else list->last = node;
    if (before) before->next = node;
    else list->first = node;
  }
  if (!list->cursor) list->cursor = node;
  list->count++;
  return node->data;
}

bool RemoveListItem(LinkedList* list, int32_t count, int origin) {
  if (!list || !list->cursor) return false;
  ListNode* node = Walk(OriginNode(list, origin), count);
  if (!node) return false;
  UnlinkNode(list, node);
  return true;
}

void* SeekListItem(LinkedList* list, int32_t count, int origin) {
  if (!list || !list->first) return nullptr;
  ListNode* start = OriginNode(list, origin);
  if (!start) return nullptr;
  ListNode* node = Walk(start, count);
  if (!node) {
    list->cursor = count < 0 ? list->first : list->last;
    return nullptr;
  }
  list->cursor = node;
  return node->data;
}

void* FindListItem(LinkedList* list, const void* key, ListMatch match) {
  if (!list || !match) return nullptr;
  for (ListNode* node = list->cursor; node; node = node->next) {
    list->cursor = node;
    if (match(key, node->data)) return node->data;
  }
  return nullptr;
}

void LockedListInit(LockedList* list) {
  list->first = list->last = list->cursor = nullptr;
}

void LockedListFree(LockedList* list) {
  while (list->first) {
    LockedListNode* next = list->first->next;
    delete list->first;
    list->first = next;
  }
  list->last = list->cursor = nullptr;
}

uintptr_t LockedListFirst(LockedList* list) {
  list->cursor = list->first;
  return list->cursor ? list->cursor->value : 0;
}

uintptr_t LockedListNext(LockedList* list) {
  if (!list->cursor || !list->cursor->next) return 0;
  list->cursor = list->cursor->next;
  return list->cursor->value;
}

bool LockedListAppend(LockedList* list, uintptr_t value) {
  auto* node = new (std::nothrow) LockedListNode{list->last, nullptr, value};
  if (!node) return false;
  if (list->last) list->last->next = node;
  else list->first = list->cursor = node;
  list->last = node;
  return true;
}

void LockedListRemove(LockedList* list, uintptr_t value) {
  LockedListNode* node = list->first;
  while (node && node->value != value) node = node->next;
  if (!node) return;
  list->cursor = node->next ? node->next : node->prev;
  if (node->prev) node->prev->next = node->next;
  else list->first = node->next;
  if (node->next) node->next->prev = node->prev;
  else list->last = node->prev;
  delete node;
}

uintptr_t LockedListPopFront(LockedList* list) {
  LockedListNode* node = list->first;
  if (!node) return 0;
  list->first = node->next;
  if (list->first) list->first->prev = nullptr;
  else list->last = nullptr;
  list->cursor = list->first;
  uintptr_t value = node->value;
  delete node;
  return value;
}
