// Facet's item containers, shared by every control of the library.
//
// KeyedList: doubly linked list of nodes that carry caller data of any size,
// with a cursor, searches by a comparison callback and walks by a visitor.
// Interface: KeyedListCreate, KeyedListClear, KeyedListDestroy,
// KeyedListNewNodeAt/NewNode, KeyedListInsertCopyAt, KeyedListAddCopy,
// KeyedListLinkNodeAt/LinkNode, KeyedListRemoveNode, KeyedListRemoveAt,
// KeyedListMoveCursor, KeyedListFind, KeyedListForEach.
//
// Header and nodes are Heapkit blocks (tag 66); a node's data and a list's
// user data live in the same block, directly after the header.
#pragma once

#include <cstddef>
#include <cstdint>

struct KeyedListNode {
  KeyedListNode* prev;
  KeyedListNode* next;
  void* data;  // the bytes after this header
};

struct KeyedList {
  int32_t count;
  KeyedListNode* first;
  KeyedListNode* last;
  KeyedListNode* cursor;  // null only while empty or after a clear
  void* user;             // the bytes after this header, null when userSize is 0
  uint32_t userSize;
};

// Insertion modes. Any other value is refused on a non-empty list; into an
// empty list every mode inserts the single node.
enum KeyedListWhere {
  KL_AT_HEAD = 0,
  KL_AFTER = 1,
  KL_AT_TAIL = 2,
  KL_BEFORE = 4,
};

// Bases of a cursor walk.
enum KeyedListBase { KL_FIRST = 0, KL_CURSOR = 1, KL_LAST = 2 };

using KeyedListCompare = int (*)(const void* key, const void* data);
using KeyedListVisit = int (*)(void* data, void* context);

KeyedList* KeyedListCreate(uint32_t userSize);
// Sets up a list header in caller storage, empty and without user data (the
// list view keeps its selection set inside its own record this way).
void KeyedListInit(KeyedList* list);
int KeyedListClear(KeyedList* list);
void KeyedListDestroy(KeyedList* list);

KeyedListNode* KeyedListNewNodeAt(KeyedList* list, uint32_t size, KeyedListNode* ref, int where);
KeyedListNode* KeyedListNewNode(KeyedList* list, uint32_t size, int where);
KeyedListNode* KeyedListInsertCopyAt(KeyedList* list, const void* data, uint32_t size, KeyedListNode* ref,
                                     int where);
void* KeyedListAddCopy(KeyedList* list, const void* data, uint32_t size, int where);
int KeyedListLinkNodeAt(KeyedList* list, KeyedListNode* node, KeyedListNode* ref, int where);
int KeyedListLinkNode(KeyedList* list, KeyedListNode* node, int where);

int KeyedListRemoveNode(KeyedList* list, KeyedListNode* node);
int KeyedListRemoveAt(KeyedList* list, int32_t offset, int base);
void* KeyedListMoveCursor(KeyedList* list, int32_t offset, int base);
void* KeyedListFind(KeyedList* list, const void* key, KeyedListCompare compare);
int KeyedListForEach(KeyedList* list, KeyedListVisit visit, void* context);

// The node whose data pointer is `data`, or null (a node's data follows it).
inline KeyedListNode* KeyedListNodeOf(void* data) {
  return data ? reinterpret_cast<KeyedListNode*>(static_cast<char*>(data) - sizeof(KeyedListNode)) : nullptr;
}
