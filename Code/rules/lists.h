// List containers of the main program.
//
// LinkedList: doubly linked list that keeps copies of fixed-size items inside
// its nodes, with a block of user data inline after its header, navigated by a
// cursor. Interface: CreateList, ResetList, GetListData, ClearList,
// DestroyList, AddListItem, RemoveListItem, SeekListItem, FindListItem.
//
// LockedList: small list of pointer-sized values with a cursor and a lock.
// The operations do not lock; the owner holds `lock` around them.
#pragma once

#include <cstdint>
#include <mutex>

// Where a walk starts.
enum ListOrigin { LIST_FIRST = 0, LIST_CURSOR = 1, LIST_LAST = 2 };
// Where an item goes, relative to the cursor (or a given node).
enum ListInsert { LIST_AT_HEAD = 0, LIST_AFTER = 1, LIST_AT_TAIL = 2, LIST_BEFORE = 3 };

struct ListNode {
  ListNode* prev;
  ListNode* next;
  void* data;  // points at the item's bytes, which follow the node
};

struct LinkedList {
  uint32_t count;
  ListNode* first;
  ListNode* last;
  ListNode* cursor;
  void* userData;  // points at the inline block after the header
  uint32_t userDataSize;
};

LinkedList* CreateList(uint32_t userDataSize);
// Empties the header (count, ends, cursor) without freeing nodes: for a list
// whose nodes are already gone; ClearList empties a list that has items.
void ResetList(LinkedList* list);
void* GetListData(LinkedList* list);
bool ClearList(LinkedList* list);
void DestroyList(LinkedList* list);

// Copies `size` bytes into a new node placed at `position`; `at` names the
// node that LIST_AFTER/LIST_BEFORE refer to (the cursor when null). Returns
// the item's data, or null on failure.
void* AddListItem(LinkedList* list, const void* bytes, uint32_t size, int position,
                  ListNode* at = nullptr);
bool RemoveListItem(LinkedList* list, int32_t count, int origin);
void* SeekListItem(LinkedList* list, int32_t count, int origin);

using ListMatch = int (*)(const void* key, const void* item);
void* FindListItem(LinkedList* list, const void* key, ListMatch match);

struct LockedListNode {
  LockedListNode* prev;
  LockedListNode* next;
  uintptr_t value;  // not owned by the list
};

struct LockedList {
  LockedListNode* first = nullptr;
  LockedListNode* last = nullptr;
  LockedListNode* cursor = nullptr;
  std::recursive_mutex lock;
};

void LockedListInit(LockedList* list);
void LockedListFree(LockedList* list);
uintptr_t LockedListFirst(LockedList* list);
uintptr_t LockedListNext(LockedList* list);
bool LockedListAppend(LockedList* list, uintptr_t value);
void LockedListRemove(LockedList* list, uintptr_t value);
uintptr_t LockedListPopFront(LockedList* list);
