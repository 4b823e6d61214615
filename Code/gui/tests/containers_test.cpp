// Keyed lists, tree lists, range sets and the swap sort.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "heapkit.h"
#include "keyedlist.h"
#include "rangeset.h"
#include "sortswap.h"
#include "treelist.h"

namespace {

KeyedList* ListOf(std::initializer_list<int> values) {
  KeyedList* list = KeyedListCreate(0);
  for (int v : values) KeyedListAddCopy(list, &v, sizeof v, KL_AT_TAIL);
  return list;
}

std::vector<int> Items(const KeyedList* list) {
  std::vector<int> out;
  for (KeyedListNode* n = list->first; n; n = n->next) out.push_back(*static_cast<int*>(n->data));
  return out;
}

std::vector<int> ItemsBackward(const KeyedList* list) {
  std::vector<int> out;
  for (KeyedListNode* n = list->last; n; n = n->prev) out.push_back(*static_cast<int*>(n->data));
  std::reverse(out.begin(), out.end());
  return out;
}

int Cursor(const KeyedList* list) { return list->cursor ? *static_cast<int*>(list->cursor->data) : -1; }

int Equal(const void* key, const void* data) {
  return *static_cast<const int*>(key) == *static_cast<const int*>(data);
}

}  // namespace

TEST(KeyedList, InsertionModesAndCursor) {
  struct Case {
    int where;
    bool ok;
    std::vector<int> after;
  };
  // The list is {1, 2, 3} with the cursor on 2; insert 9 relative to it.
  const Case cases[] = {
      {KL_AT_HEAD, true, {9, 1, 2, 3}}, {KL_AFTER, true, {1, 2, 9, 3}}, {KL_AT_TAIL, true, {1, 2, 3, 9}},
      {KL_BEFORE, true, {1, 9, 2, 3}},  {3, false, {1, 2, 3}},          {5, false, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    KeyedList* list = ListOf({1, 2, 3});
    ASSERT_NE(KeyedListMoveCursor(list, 1, KL_FIRST), nullptr);
    int nine = 9;
    void* data = KeyedListAddCopy(list, &nine, sizeof nine, c.where);
    EXPECT_EQ(data != nullptr, c.ok) << c.where;
    EXPECT_EQ(Items(list), c.after) << c.where;
    EXPECT_EQ(ItemsBackward(list), c.after) << c.where;
    EXPECT_EQ(list->count, int32_t(c.after.size()));
    EXPECT_EQ(Cursor(list), 2) << "an insertion does not move an existing cursor";
    KeyedListDestroy(list);
  }
  // Into an empty list every mode inserts the one node, which becomes the cursor.
  for (int where : {0, 1, 2, 3, 4, 7}) {
    KeyedList* list = KeyedListCreate(0);
    int v = 5;
    ASSERT_NE(KeyedListAddCopy(list, &v, sizeof v, where), nullptr) << where;
    EXPECT_EQ(list->first, list->last);
    EXPECT_EQ(list->cursor, list->first);
    KeyedListDestroy(list);
  }
}

TEST(KeyedList, UserDataFollowsTheHeaderAndSurvivesClear) {
  KeyedList* list = KeyedListCreate(16);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(memTag_rel(list), 66) << "the toolkit's heap records carry tag 66";
  EXPECT_EQ(list->user, static_cast<void*>(list + 1));
  std::fill_n(static_cast<char*>(list->user), 16, 'u');
  int v = 1;
  EXPECT_EQ(memTag_rel(KeyedListNodeOf(KeyedListAddCopy(list, &v, sizeof v, KL_AT_TAIL))), 66);
  EXPECT_EQ(KeyedListClear(list), 1);
  EXPECT_EQ(list->count, 0);
  EXPECT_EQ(list->cursor, nullptr);
  EXPECT_EQ(static_cast<char*>(list->user)[15], 'u');
  KeyedListDestroy(list);
  KeyedList* bare = KeyedListCreate(0);
  EXPECT_EQ(bare->user, nullptr);
  KeyedListDestroy(bare);
}

TEST(KeyedList, RemovingTheCursorMovesItToTheHead) {
  KeyedList* list = ListOf({1, 2, 3, 4});
  KeyedListMoveCursor(list, 2, KL_FIRST);
  EXPECT_EQ(Cursor(list), 3);
  EXPECT_EQ(KeyedListRemoveNode(list, list->cursor), 1);
  EXPECT_EQ(Cursor(list), 1);
  EXPECT_EQ(KeyedListRemoveAt(list, 0, KL_LAST), 1);   // removes 4
  EXPECT_EQ(KeyedListRemoveAt(list, 0, KL_FIRST), 1);  // removes 1, cursor to the new head
  EXPECT_EQ(Items(list), (std::vector<int>{2}));
  EXPECT_EQ(Cursor(list), 2);
  EXPECT_EQ(KeyedListRemoveAt(list, 5, KL_FIRST), 0);
  EXPECT_EQ(list->count, 1);
  KeyedListDestroy(list);
}

TEST(KeyedList, MoveCursorWalksAndClampsAtTheEnds) {
  KeyedList* list = ListOf({10, 20, 30});
  struct Step {
    int32_t offset;
    int base;
    int result;  // -1 = null
    int cursorAfter;
  };
  const Step steps[] = {
      {0, KL_FIRST, 10, 10}, {1, KL_CURSOR, 20, 20}, {1, KL_CURSOR, 30, 30}, {1, KL_CURSOR, -1, 30},
      {-5, KL_LAST, -1, 10}, {-1, KL_LAST, 20, 20},  {7, KL_FIRST, -1, 30},  {0, KL_CURSOR, 30, 30},
  };
  for (const Step& s : steps) {
    void* data = KeyedListMoveCursor(list, s.offset, s.base);
    EXPECT_EQ(data ? *static_cast<int*>(data) : -1, s.result) << s.offset << "/" << s.base;
    EXPECT_EQ(Cursor(list), s.cursorAfter) << s.offset << "/" << s.base;
  }
  KeyedListDestroy(list);
  KeyedList* empty = KeyedListCreate(0);
  EXPECT_EQ(KeyedListMoveCursor(empty, 0, KL_FIRST), nullptr);
  KeyedListDestroy(empty);
}

TEST(KeyedList, FindStartsAtTheCursor) {
  KeyedList* list = ListOf({1, 2, 3, 4});
  KeyedListMoveCursor(list, 2, KL_FIRST);
  int key = 1;
  EXPECT_EQ(KeyedListFind(list, &key, Equal), nullptr) << "nodes before the cursor are not seen";
  EXPECT_EQ(Cursor(list), 4) << "a failed search leaves the cursor on the last node";
  KeyedListMoveCursor(list, 0, KL_FIRST);
  int* found = static_cast<int*>(KeyedListFind(list, &key, Equal));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(*found, 1);
  EXPECT_EQ(KeyedListFind(list, nullptr, Equal), nullptr);
  KeyedListDestroy(list);
}

TEST(KeyedList, ForEachStopsAtTheFirstZero) {
  KeyedList* list = ListOf({1, 2, 3, 4});
  std::vector<int> seen;
  auto visit = [](void* data, void* context) {
    auto* out = static_cast<std::vector<int>*>(context);
    out->push_back(*static_cast<int*>(data));
    return *static_cast<int*>(data) == 2 ? 0 : 7;
  };
  EXPECT_EQ(KeyedListForEach(list, visit, &seen), 0);
  EXPECT_EQ(seen, (std::vector<int>{1, 2}));
  EXPECT_EQ(KeyedListForEach(list, nullptr, nullptr), 0);
  EXPECT_EQ(KeyedListForEach(nullptr, visit, &seen), 1);
  KeyedListDestroy(list);
}

namespace {

struct Walked {
  std::vector<std::string> names;
  std::string stopAt;
  std::string skipChildrenOf;
};

int Record(void* payload, uint32_t size, void* context) {
  auto* w = static_cast<Walked*>(context);
  std::string name = size ? std::string(static_cast<char*>(payload)) : std::string("root");
  w->names.push_back(name);
  if (name == w->stopAt) return TW_STOP;
  if (name == w->skipChildrenOf) return TW_SKIP_CHILDREN;
  return TW_DESCEND;
}

KeyedListNode* Add(TreeList* parent, const char* name) {
  return TreeListAddChild(parent, name, uint32_t(std::strlen(name) + 1), KL_AT_TAIL);
}

// root: a (a1, a2 (a2x)), b
TreeList* SampleTree() {
  TreeList* root = TreeListCreateRoot();
  TreeList* a = TreeListOfNode(Add(root, "a"));
  Add(root, "b");
  Add(a, "a1");
  TreeList* a2 = TreeListOfNode(Add(a, "a2"));
  Add(a2, "a2x");
  return root;
}

}  // namespace

TEST(TreeList, DepthsAndParents) {
  TreeList* root = SampleTree();
  TreeList* a = TreeListOfNode(root->first);
  TreeList* a2 = TreeListOfNode(a->last);
  TreeList* a2x = TreeListOfNode(a2->first);
  auto head = [](TreeList* l) { return static_cast<TreeListHead*>(l->user); };
  EXPECT_EQ(head(root)->depth, 0);
  EXPECT_EQ(head(a)->depth, 0) << "children of the root have depth 0";
  EXPECT_EQ(head(a2)->depth, 1);
  EXPECT_EQ(head(a2x)->depth, 2);
  EXPECT_EQ(head(a2x)->parent, a2);
  EXPECT_EQ(head(a)->parent, root);
  EXPECT_EQ(TreeListAddChild(root, nullptr, 4, KL_AT_TAIL), nullptr);
  EXPECT_EQ(TreeListAddChild(root, "x", 0, KL_AT_TAIL), nullptr);
  TreeListDestroy(root, nullptr, nullptr);
}

TEST(TreeList, WalkOrdersAndAnswers) {
  struct Case {
    int flags;
    std::string stopAt, skip;
    int result;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {0, "", "", 1, {"root", "a", "a1", "a2", "a2x", "b"}},
      {TW_POST_ORDER, "", "", 1, {"a1", "a2x", "a2", "a", "b", "root"}},
      {TW_NOT_START, "", "", 1, {"a", "a1", "a2", "a2x", "b"}},
      {TW_POST_ORDER | TW_NOT_START, "", "", 1, {"a1", "a2x", "a2", "a", "b"}},
      {0, "a2", "", 0, {"root", "a", "a1", "a2"}},
      {0, "", "a", 1, {"root", "a", "b"}},
      {TW_POST_ORDER, "a2", "", 0, {"a1", "a2x", "a2"}},
  };
  for (const Case& c : cases) {
    TreeList* root = SampleTree();
    Walked w{{}, c.stopAt, c.skip};
    EXPECT_EQ(TreeListWalk(root, Record, &w, c.flags) != 0, c.result != 0) << c.flags << c.stopAt << c.skip;
    EXPECT_EQ(w.names, c.order) << c.flags << c.stopAt << c.skip;
    TreeListDestroy(root, nullptr, nullptr);
  }
}

TEST(TreeList, FindClearAndRemove) {
  TreeList* root = SampleTree();
  auto byName = [](void* context, void* payload, uint32_t size) {
    return size && std::strcmp(static_cast<char*>(payload), static_cast<char*>(context)) == 0 ? 0 : 1;
  };
  uint32_t size = 0;
  char* found = static_cast<char*>(TreeListFind(root, const_cast<char*>("a2x"), byName, &size));
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found, "a2x");
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(TreeListFind(root, const_cast<char*>("zz"), byName, nullptr), nullptr);

  // Removing "a" visits a, then its subtree depth first.
  Walked w;
  KeyedListNode* other = TreeListAddChild(TreeListCreateRoot(), "x", 2, KL_AT_TAIL);
  EXPECT_EQ(TreeListRemoveChild(root, other, Record, &w), 0) << "a node of another list is refused";
  EXPECT_EQ(TreeListRemoveChild(root, root->first, Record, &w), 1);
  EXPECT_EQ(w.names, (std::vector<std::string>{"a", "a1", "a2", "a2x"}));
  EXPECT_EQ(root->count, 1);
  EXPECT_EQ(TreeListRemoveChildAt(root, 3, KL_FIRST, nullptr, nullptr), 0);
  EXPECT_EQ(TreeListRemoveChildAt(root, 0, KL_FIRST, nullptr, nullptr), 1);
  EXPECT_EQ(root->count, 0);
  TreeListDestroy(root, nullptr, nullptr);
  TreeListDestroy(static_cast<TreeListHead*>(TreeListOfNode(other)->user)->parent, nullptr, nullptr);
}

// Visitors get no payload for the root: a pointer past its block would be
// read (and its "text" freed) by a visitor that trusts it.
TEST(TreeList, TheRootHasNoPayload) {
  TreeList* root = SampleTree();
  uint32_t size = 99;
  EXPECT_EQ(TreeListPayload(root, &size), nullptr);
  EXPECT_EQ(size, 0u);
  std::vector<void*> payloads;
  TreeListDestroy(
      root,
      [](void* payload, uint32_t, void* context) {
        static_cast<std::vector<void*>*>(context)->push_back(payload);
        return int(TW_DESCEND);
      },
      &payloads);
  ASSERT_FALSE(payloads.empty());
  EXPECT_EQ(payloads.front(), nullptr) << "the root comes first and carries nothing";
}

TEST(TreeList, DestroyingAChildTakesItOutOfItsParent) {
  TreeList* root = SampleTree();
  TreeList* a = TreeListOfNode(root->first);
  Walked w;
  TreeListDestroy(a, Record, &w);
  EXPECT_EQ(w.names, (std::vector<std::string>{"a", "a1", "a2", "a2x"}));
  ASSERT_EQ(root->count, 1);
  EXPECT_STREQ(static_cast<char*>(TreeListPayload(TreeListOfNode(root->first), nullptr)), "b");
  TreeListDestroy(root, nullptr, nullptr);
}

TEST(KeyedList, LinkingAPreparedNodeLeavesTheCountToTheCaller) {
  KeyedList* list = ListOf({1, 3});
  KeyedListNode* node = KeyedListNewNodeAt(list, sizeof(int), list->first, KL_AFTER);
  ASSERT_NE(node, nullptr);
  *static_cast<int*>(node->data) = 2;
  EXPECT_EQ(list->count, 3) << "a new node is counted when it is linked";
  EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 3}));
  // Unlink by hand and link again: LinkNode does not count.
  list->first->next = node->next;
  node->next->prev = list->first;
  EXPECT_EQ(KeyedListLinkNodeAt(list, node, list->last, KL_AFTER), 1);
  EXPECT_EQ(Items(list), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(ItemsBackward(list), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(list->count, 3);
  EXPECT_EQ(KeyedListLinkNodeAt(list, node, nullptr, KL_BEFORE), 0) << "no reference node";
  EXPECT_EQ(KeyedListNewNodeAt(list, 4, nullptr, KL_AFTER), nullptr);
  EXPECT_EQ(list->count, 3) << "a refused node is freed, not counted";
  KeyedListDestroy(list);
}

TEST(TreeList, AddChildAfterASibling) {
  TreeList* root = TreeListCreateRoot();
  KeyedListNode* a = Add(root, "a");
  Add(root, "c");
  TreeListAddChildAfter(root, a, "b", 2);
  TreeListAddChildAfter(root, nullptr, "z", 2);  // not found: after the last node
  std::vector<std::string> names;
  for (KeyedListNode* n = root->first; n; n = n->next)
    names.push_back(static_cast<char*>(TreeListPayload(TreeListOfNode(n), nullptr)));
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c", "z"}));
  EXPECT_STREQ(static_cast<char*>(TreeListMoveCursor(root, 1, KL_FIRST)), "b");
  EXPECT_EQ(TreeListSetCursor(root, a), 1);
  TreeListDestroy(root, nullptr, nullptr);
}

namespace {

using Runs = std::vector<std::pair<int32_t, int32_t>>;  // first, last

Runs RunsOf(const RangeSet* set) {
  Runs out;
  for (KeyedListNode* n = set->first; n; n = n->next) {
    auto* r = static_cast<RangeRun*>(n->data);
    out.push_back({r->first, r->last});
  }
  return out;
}

RangeSet* SetOf(const Runs& runs) {
  RangeSet* set = KeyedListCreate(0);
  for (auto [f, l] : runs) EXPECT_EQ(RangeSetAddRange(set, f, l), 0);
  return set;
}

}  // namespace

TEST(RangeSet, SingleValuesMergeAndSplit) {
  RangeSet* set = KeyedListCreate(0);
  for (int v : {5, 7, 6}) EXPECT_EQ(RangeSetSet(set, v, 1), 0);
  EXPECT_EQ(RunsOf(set), (Runs{{5, 7}}));
  EXPECT_EQ(RangeSetSet(set, 6, 0), 0);
  EXPECT_EQ(RunsOf(set), (Runs{{5, 5}, {7, 7}}));
  EXPECT_EQ(RangeSetCount(set), 2);
  KeyedListDestroy(set);

  struct Case {
    Runs before;
    int32_t value;
    int on;
    Runs after;
  };
  const Case cases[] = {
      {{}, 3, 1, {{3, 3}}},
      {{{1, 2}}, 3, 1, {{1, 3}}},
      {{{1, 2}}, 5, 1, {{1, 2}, {5, 5}}},
      {{{4, 6}}, 3, 1, {{3, 6}}},
      {{{1, 1}, {4, 6}}, 2, 1, {{1, 2}, {4, 6}}},
      {{{4, 6}}, 5, 1, {{4, 6}}},
      {{{4, 6}}, 4, 0, {{5, 6}}},
      {{{4, 6}}, 6, 0, {{4, 5}}},
      {{{4, 4}, {8, 9}}, 4, 0, {{8, 9}}},
      {{{4, 6}}, 2, 0, {{4, 6}}},
      {{{INT32_MIN, INT32_MIN}}, INT32_MIN + 1, 1, {{INT32_MIN, INT32_MIN + 1}}},
      {{{5, INT32_MAX}}, INT32_MAX, 0, {{5, INT32_MAX - 1}}},
  };
  for (const Case& c : cases) {
    RangeSet* s = SetOf(c.before);
    EXPECT_EQ(RangeSetSet(s, c.value, c.on), 0);
    EXPECT_EQ(RunsOf(s), c.after) << c.value << " on=" << c.on;
    KeyedListDestroy(s);
  }
  EXPECT_EQ(RangeSetSet(nullptr, 1, 1), 1);
}

TEST(RangeSet, AddAndRemoveRanges) {
  struct Case {
    Runs before;
    bool add;
    int32_t first, last;
    Runs after;
  };
  const Case cases[] = {
      {{{1, 2}, {10, 12}}, true, 4, 6, {{1, 2}, {4, 6}, {10, 12}}},
      {{{1, 2}, {10, 12}}, true, 3, 9, {{1, 12}}},
      {{{1, 2}, {5, 6}, {10, 12}, {20, 20}}, true, 4, 11, {{1, 2}, {4, 12}, {20, 20}}},
      {{{1, 2}}, true, 3, 5, {{1, 5}}},
      {{{1, 2}}, true, 8, 9, {{1, 2}, {8, 9}}},
      {{{5, 9}}, true, 0, 3, {{0, 3}, {5, 9}}},
      {{{5, 9}}, true, 0, 4, {{0, 9}}},
      {{{5, 9}}, true, 6, 7, {{5, 9}}},
      {{{5, 9}}, true, 7, 6, {{5, 9}}},
      {{{0, 3}}, true, 10, INT32_MAX, {{0, 3}, {10, INT32_MAX}}},
      {{{1, 12}}, false, 4, 6, {{1, 3}, {7, 12}}},
      {{{1, 2}, {5, 6}, {10, 12}}, false, 2, 10, {{1, 1}, {11, 12}}},
      {{{1, 2}, {5, 6}}, false, 0, 9, {}},
      {{{1, 9}}, false, 6, 5, {{1, 9}}},
      {{{3, INT32_MAX}}, false, 7, INT32_MAX, {{3, 6}}},
  };
  for (const Case& c : cases) {
    RangeSet* s = SetOf(c.before);
    int r = c.add ? RangeSetAddRange(s, c.first, c.last) : RangeSetRemoveRange(s, c.first, c.last);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(RunsOf(s), c.after) << (c.add ? "add " : "remove ") << c.first << ".." << c.last;
    KeyedListDestroy(s);
  }
}

TEST(RangeSet, InsertAndDeleteItemsKeepSelectionsOnTheirItems) {
  struct Case {
    Runs before;
    bool insert;
    int32_t index;
    int on;
    Runs after;
  };
  const Case cases[] = {
      {{{3, 5}}, true, 3, 1, {{3, 6}}},
      {{{3, 5}}, true, 3, 0, {{4, 6}}},
      {{{3, 5}}, true, 4, 0, {{3, 3}, {5, 6}}},
      {{{3, 5}}, true, 9, 1, {{3, 5}, {9, 9}}},
      {{{5, 5}, {7, 7}}, false, 6, 0, {{5, 6}}},
      {{{7, 7}}, false, 6, 0, {{6, 6}}},
      {{{3, 5}}, false, 3, 0, {{3, 4}}},
      {{{3, 5}}, false, 4, 0, {{3, 4}}},
      {{{3, 5}}, false, 5, 0, {{3, 4}}},
      {{{3, 3}, {5, 6}}, false, 3, 0, {{4, 5}}},
      {{{1, 1}, {4, 4}}, false, 2, 0, {{1, 1}, {3, 3}}},
      {{{1, 2}}, false, 9, 0, {{1, 2}}},
      {{{2, INT32_MAX}}, false, 0, 0, {{1, INT32_MAX}}},
  };
  for (const Case& c : cases) {
    RangeSet* s = SetOf(c.before);
    int r = c.insert ? RangeSetInsertItem(s, c.index, c.on) : RangeSetDeleteItem(s, c.index);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(RunsOf(s), c.after) << (c.insert ? "insert " : "delete ") << c.index;
    KeyedListDestroy(s);
  }
}

TEST(RangeSet, Queries) {
  RangeSet* s = SetOf({{2, 4}, {8, 8}, {20, INT32_MAX}});
  int32_t next = 0;
  struct Case {
    int32_t value;
    int contains;
    int hasNext;
    int32_t next;
  };
  const Case cases[] = {{1, 0, 1, 2}, {3, 1, 1, 3},  {5, 0, 1, 8},
                        {8, 1, 1, 8}, {9, 0, 1, 20}, {INT32_MAX, 1, 1, INT32_MAX}};
  for (const Case& c : cases) {
    EXPECT_EQ(RangeSetContains(s, c.value), c.contains) << c.value;
    EXPECT_EQ(RangeSetNextMember(s, c.value, &next), c.hasNext) << c.value;
    if (c.hasNext) {
      EXPECT_EQ(next, c.next) << c.value;
    }
  }
  EXPECT_EQ(RangeSetCount(s), INT32_MAX - 15);
  RangeSetAddRange(s, INT32_MIN, 0);
  EXPECT_EQ(RangeSetCount(s), INT32_MAX) << "a count past 32 bits is clamped, not wrapped";
  RangeSetRemoveRange(s, INT32_MIN, 0);
  RangeSetRemoveRange(s, 20, INT32_MAX);
  EXPECT_EQ(RangeSetCount(s), 4);
  EXPECT_EQ(RangeSetNextMember(s, 9, &next), 0);
  EXPECT_EQ(RangeSetContains(nullptr, 1), 0);
  EXPECT_EQ(RangeSetCount(nullptr), 0);
  KeyedListDestroy(s);
}

namespace {

struct SortLog {
  std::vector<std::pair<int, int>> swaps;  // element indices
  int* base;
};

int CompareInt(const void* a, const void* b, void*) {
  int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
  return (x > y) - (x < y);
}

void SwapInt(void* a, void* b, void* context) {
  auto* log = static_cast<SortLog*>(context);
  int* x = static_cast<int*>(a);
  int* y = static_cast<int*>(b);
  log->swaps.push_back({int(x - log->base), int(y - log->base)});
  std::swap(*x, *y);
}

}  // namespace

TEST(SortWithSwap, EightUseSelectionOnlyNinePartitionFirst) {
  std::vector<int> eight = {5, 3, 8, 1, 9, 2, 7, 4};
  SortLog log{{}, eight.data()};
  SortWithSwap(eight.data(), 8, sizeof(int), CompareInt, SwapInt, &log);
  EXPECT_TRUE(std::is_sorted(eight.begin(), eight.end()));
  // Selection: 7 exchanges, each putting the largest at the high end, even in place.
  ASSERT_EQ(log.swaps.size(), 7u);
  EXPECT_EQ(log.swaps[0], std::make_pair(4, 7));
  for (size_t i = 0; i < log.swaps.size(); ++i) EXPECT_EQ(log.swaps[i].second, 7 - int(i));

  std::vector<int> nine = {5, 3, 8, 1, 9, 2, 7, 4, 6};
  SortLog log9{{}, nine.data()};
  SortWithSwap(nine.data(), 9, sizeof(int), CompareInt, SwapInt, &log9);
  EXPECT_TRUE(std::is_sorted(nine.begin(), nine.end()));
  ASSERT_FALSE(log9.swaps.empty());
  EXPECT_EQ(log9.swaps[0], std::make_pair(4, 0)) << "the middle element goes to the low end as the pivot";
}

TEST(SortWithSwap, SortsLargeInputsThroughTheCallbackOnly) {
  for (uint32_t n : {0u, 1u, 2u, 9u, 17u, 100u, 5000u}) {
    for (int pattern = 0; pattern < 4; ++pattern) {
      std::vector<int> v(n);
      for (uint32_t i = 0; i < n; ++i) {
        v[i] = pattern == 0 ? int(i) : pattern == 1 ? int(n - i) : pattern == 2 ? 7 : int((i * 7919u) % 101u);
      }
      std::vector<int> expect = v;
      std::sort(expect.begin(), expect.end());
      SortLog log{{}, v.data()};
      SortWithSwap(v.data(), n, sizeof(int), CompareInt, SwapInt, &log);
      EXPECT_EQ(v, expect) << n << "/" << pattern;
    }
  }
  int two[2] = {2, 1};
  SortLog log{{}, two};
  SortWithSwap(two, 2, 0, CompareInt, SwapInt, &log);
  EXPECT_TRUE(log.swaps.empty()) << "element size 0 sorts nothing";
}
