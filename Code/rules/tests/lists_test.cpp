#include "lists.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

LinkedList* ListOf(std::initializer_list<int> values) {
  LinkedList* list = CreateList(0);
  for (int v : values) AddListItem(list, &v, sizeof v, LIST_AT_TAIL);
  return list;
}

std::vector<int> Items(LinkedList* list) {
  std::vector<int> out;
  for (ListNode* n = list->first; n; n = n->next) out.push_back(*static_cast<int*>(n->data));
  return out;
}

int Cursor(LinkedList* list) { return list->cursor ? *static_cast<int*>(list->cursor->data) : -1; }

int MatchInt(const void* key, const void* item) {
  return *static_cast<const int*>(key) == *static_cast<const int*>(item);
}

}  // namespace

TEST(LinkedList, UserDataLivesInlineAndSurvivesReset) {
  LinkedList* list = CreateList(32);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(GetListData(list), static_cast<void*>(list + 1));
  static_cast<char*>(GetListData(list))[31] = 'x';
  int v = 1;
  AddListItem(list, &v, sizeof v, LIST_AT_TAIL);
  ClearList(list);
  EXPECT_EQ(list->count, 0u);
  EXPECT_EQ(list->userDataSize, 32u);
  EXPECT_EQ(static_cast<char*>(GetListData(list))[31], 'x');
  DestroyList(list);
}

TEST(LinkedList, InsertPositionsRelativeToCursor) {
  LinkedList* list = CreateList(0);
  int v = 5;
  // The first insertion makes first, last and cursor whatever the position.
  ASSERT_NE(AddListItem(list, &v, sizeof v, LIST_BEFORE), nullptr);
  EXPECT_EQ(Cursor(list), 5);
  v = 1; AddListItem(list, &v, sizeof v, LIST_AT_HEAD);
  v = 9; AddListItem(list, &v, sizeof v, LIST_AT_TAIL);
  v = 6; AddListItem(list, &v, sizeof v, LIST_AFTER);   // after cursor 5
  v = 4; AddListItem(list, &v, sizeof v, LIST_BEFORE);  // before cursor 5
  EXPECT_EQ(Items(list), (std::vector<int>{1, 4, 5, 6, 9}));
  EXPECT_EQ(list->count, 5u);
  EXPECT_EQ(Cursor(list), 5);
  EXPECT_EQ(AddListItem(list, &v, sizeof v, 7), nullptr);
  DestroyList(list);
}

TEST(LinkedList, SeekMovesTheCursorAndStopsAtTheEnds) {
  LinkedList* empty = CreateList(0);
  EXPECT_EQ(SeekListItem(empty, 0, LIST_FIRST), nullptr);
  DestroyList(empty);

  LinkedList* list = ListOf({10, 20, 30, 40});
  struct Case { int count, origin, expect, cursorAfter; };
  const Case cases[] = {
      {0, LIST_FIRST, 10, 10}, {2, LIST_FIRST, 30, 30}, {1, LIST_CURSOR, 40, 40},
      {1, LIST_CURSOR, -1, 40},   // past the end: none, cursor on the last item
      {-5, LIST_LAST, -1, 10},    // before the start: none, cursor on the first
      {-1, LIST_LAST, 30, 30},    {0, 3, -1, 30},  // unknown origin
  };
  for (const Case& c : cases) {
    void* got = SeekListItem(list, c.count, c.origin);
    EXPECT_EQ(got ? *static_cast<int*>(got) : -1, c.expect) << c.count << "/" << c.origin;
    EXPECT_EQ(Cursor(list), c.cursorAfter) << c.count << "/" << c.origin;
  }
  DestroyList(list);
}

TEST(LinkedList, FindAfterSeekingPastTheEndTestsOnlyTheLastItem) {
  LinkedList* list = ListOf({1, 2, 3});
  SeekListItem(list, 0, LIST_LAST);
  EXPECT_EQ(SeekListItem(list, 1, LIST_CURSOR), nullptr);
  int key = 1;
  EXPECT_EQ(FindListItem(list, &key, MatchInt), nullptr);
  key = 3;
  SeekListItem(list, 1, LIST_CURSOR);
  EXPECT_NE(FindListItem(list, &key, MatchInt), nullptr);
  SeekListItem(list, 0, LIST_FIRST);
  key = 2;
  EXPECT_EQ(*static_cast<int*>(FindListItem(list, &key, MatchInt)), 2);
  EXPECT_EQ(Cursor(list), 2);
  DestroyList(list);
}

TEST(LinkedList, RemovingTheCursorItemMovesTheCursorToTheFirst) {
  LinkedList* list = ListOf({1, 2, 3, 4});
  SeekListItem(list, 2, LIST_FIRST);
  EXPECT_TRUE(RemoveListItem(list, 0, LIST_CURSOR));
  EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(Cursor(list), 1);
  EXPECT_TRUE(RemoveListItem(list, -1, LIST_LAST));  // the item before the last
  EXPECT_EQ(Items(list), (std::vector<int>{1, 4}));
  EXPECT_FALSE(RemoveListItem(list, -3, LIST_LAST));  // ran off the list
  EXPECT_FALSE(RemoveListItem(list, 5, LIST_FIRST));
  EXPECT_EQ(list->count, 2u);
  EXPECT_TRUE(ClearList(list));
  EXPECT_FALSE(RemoveListItem(list, 0, LIST_FIRST));  // no cursor
  DestroyList(list);
}

TEST(LockedList, CursorFollowsRemovalsAndPops) {
  LockedList list;
  LockedListInit(&list);
  EXPECT_EQ(LockedListFirst(&list), 0u);
  for (uintptr_t v : {11, 22, 33}) LockedListAppend(&list, v);
  EXPECT_EQ(LockedListFirst(&list), 11u);
  EXPECT_EQ(LockedListNext(&list), 22u);
  EXPECT_EQ(LockedListNext(&list), 33u);
  EXPECT_EQ(LockedListNext(&list), 0u);
  EXPECT_EQ(list.cursor->value, 33u);  // stays on the last node

  LockedListRemove(&list, 33);  // the last node: cursor on the new last
  EXPECT_EQ(list.cursor->value, 22u);
  LockedListRemove(&list, 11);  // not the last: cursor on the next node
  EXPECT_EQ(list.cursor->value, 22u);
  LockedListRemove(&list, 99);  // absent: nothing happens
  EXPECT_EQ(LockedListPopFront(&list), 22u);
  EXPECT_EQ(list.cursor, nullptr);
  EXPECT_EQ(LockedListPopFront(&list), 0u);
  LockedListFree(&list);
}

TEST(LockedList, HoldsUnderTwoThreads) {
  LockedList list;
  LockedListInit(&list);
  constexpr int kPerThread = 20000;
  std::vector<uintptr_t> popped;
  std::thread producer([&] {
    for (int i = 1; i <= kPerThread; ++i) {
      std::lock_guard<std::recursive_mutex> hold(list.lock);
      LockedListAppend(&list, static_cast<uintptr_t>(i));
    }
  });
  std::thread consumer([&] {
    while (popped.size() < static_cast<size_t>(kPerThread)) {
      std::lock_guard<std::recursive_mutex> hold(list.lock);
      uintptr_t v = LockedListPopFront(&list);
      if (v) popped.push_back(v);
    }
  });
  producer.join();
  consumer.join();
  ASSERT_EQ(popped.size(), static_cast<size_t>(kPerThread));
  for (int i = 0; i < kPerThread; ++i) ASSERT_EQ(popped[i], static_cast<uintptr_t>(i + 1));
  EXPECT_EQ(list.first, nullptr);
  LockedListFree(&list);
}
