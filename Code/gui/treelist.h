// Tree lists: a KeyedList whose every node holds a complete child tree list
// (header, parent link and depth, payload), so a child is both a node of its
// parent and the list of its own children. The tree view keeps its items so.
//
// Interface: TreeListCreateRoot, TreeListAddChild, TreeListAddChildAfter,
// TreeListWalk, TreeListFind, TreeListClear, TreeListDestroy,
// TreeListRemoveChildAt, TreeListRemoveChild, TreeListSetCursor,
// TreeListMoveCursor, TreeListPayload.
#pragma once

#include "keyedlist.h"

using TreeList = KeyedList;

// The start of every tree list's user data; the payload follows it.
struct TreeListHead {
  TreeList* parent;  // null for the root
  int32_t depth;     // 0 for the root and its children, +1 per further level
};

// Walk answers in pre-order: stop the walk, skip the children, go into them.
enum TreeWalkAnswer { TW_STOP = 0, TW_SKIP_CHILDREN = 1, TW_DESCEND = 2 };
// Walk flags.
enum TreeWalkFlags { TW_POST_ORDER = 1, TW_NOT_START = 2 };

using TreeListVisit = int (*)(void* payload, uint32_t payloadSize, void* context);
using TreeListCompare = int (*)(void* context, void* payload, uint32_t payloadSize);

// A root: a KeyedList with a head and no payload.
TreeList* TreeListCreateRoot();
void* TreeListPayload(TreeList* list, uint32_t* payloadSize);
TreeList* TreeListOfNode(KeyedListNode* node);

KeyedListNode* TreeListAddChild(TreeList* parent, const void* payload, uint32_t size, int where);
KeyedListNode* TreeListAddChildAfter(TreeList* parent, KeyedListNode* sibling, const void* payload,
                                     uint32_t size);
int TreeListWalk(TreeList* list, TreeListVisit visit, void* context, int flags);
void* TreeListFind(TreeList* list, void* context, TreeListCompare compare, uint32_t* payloadSize);
int TreeListClear(TreeList* list, TreeListVisit visit, void* context);
void TreeListDestroy(TreeList* list, TreeListVisit visit, void* context);
int TreeListRemoveChildAt(TreeList* parent, int32_t offset, int base, TreeListVisit visit, void* context);
int TreeListRemoveChild(TreeList* parent, KeyedListNode* child, TreeListVisit visit, void* context);
int TreeListSetCursor(TreeList* parent, KeyedListNode* node);
void* TreeListMoveCursor(TreeList* parent, int32_t offset, int base);
