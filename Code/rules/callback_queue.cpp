#include "callback_queue.h"

#include "lists.h"

namespace {

LinkedList* g_queues[kCallbackQueues];

LinkedList* Queue(int queue) { return queue >= 0 && queue < kCallbackQueues ? g_queues[queue] : nullptr; }

bool Contains(const LinkedList* list, const ListNode* node) {
  for (const ListNode* n = list->first; n; n = n->next)
    if (n == node) return true;
  return false;
}

// Calls the removal callback and unlinks the node.
void RemoveNode(int queue, LinkedList* list, ListNode* node) {
  auto* item = static_cast<QueuedCallback*>(node->data);
  if (item->removal) item->removal(item->argument);
  if (Queue(queue) != list || !Contains(list, node)) return;  // the removal callback took it out itself
  list->cursor = node;
  RemoveListItem(list, 0, LIST_CURSOR);
}

ListNode* FindNode(ListNode* from, uint32_t key1, uint32_t key2, int mode) {
  for (ListNode* n = from; n; n = n->next) {
    auto* item = static_cast<QueuedCallback*>(n->data);
    bool match = (mode == QUEUE_FIND_KEY1 && item->key1 == key1) ||
                 (mode == QUEUE_FIND_KEY2 && item->key2 == key2) ||
                 (mode == QUEUE_FIND_BOTH && item->key1 == key1 && item->key2 == key2);
    if (match) return n;
  }
  return nullptr;
}

}  // namespace

bool CreateCallbackQueue(int queue, uint32_t userDataSize) {
  if (queue < 0 || queue >= kCallbackQueues || g_queues[queue]) return false;
  g_queues[queue] = CreateList(userDataSize);
  return g_queues[queue] != nullptr;
}

void DestroyCallbackQueue(int queue) {
  LinkedList* list = Queue(queue);
  if (!list) return;
  DestroyList(list);
  g_queues[queue] = nullptr;
}

QueuedCallback* AddQueuedCallback(int queue, const QueuedCallback* entry) {
  LinkedList* list = Queue(queue);
  if (!list || !entry) return nullptr;
  return static_cast<QueuedCallback*>(AddListItem(list, entry, sizeof *entry, LIST_AT_TAIL));
}

int RunCallbackQueue(int queue) {
  LinkedList* list = Queue(queue);
  if (!list) return 0;
  int visited = 0;
  for (ListNode* node = list->first; node;) {
    ListNode* next = node->next;
    auto* item = static_cast<QueuedCallback*>(node->data);
    item->runCount++;
    visited++;
    bool finished = item->callback && item->callback(item->argument) != 0;
    // Callbacks may change the queue, even destroy it: go on only from an
    // entry that is still in it.
    if (Queue(queue) != list) break;
    if (finished && Contains(list, node)) RemoveNode(queue, list, node);
    if (Queue(queue) != list) break;
    if (next && !Contains(list, next)) break;
    node = next;
  }
  return visited;
}

void RemoveQueuedCallback(int queue, const QueuedCallback* entry) {
  LinkedList* list = Queue(queue);
  if (!list || !entry) return;
  ListNode* node = FindNode(list->first, entry->key1, entry->key2, QUEUE_FIND_BOTH);
  if (node) RemoveNode(queue, list, node);
}

QueuedCallback* FindQueuedCallback(const QueuedCallback* entry, int queue, uint32_t key1, uint32_t key2,
                                   int mode) {
  LinkedList* list = Queue(queue);
  if (!list || !list->first) return nullptr;
  if (entry) {
    key1 = entry->key1;
    key2 = entry->key2;
  }
  if (mode == QUEUE_FIND_FIRST) {
    list->cursor = list->first;
    return static_cast<QueuedCallback*>(list->first->data);
  }
  if (mode < QUEUE_FIND_KEY1 || mode > QUEUE_FIND_BOTH) return nullptr;
  ListNode* node = FindNode(list->cursor ? list->cursor : list->first, key1, key2, mode);
  if (!node) return nullptr;
  list->cursor = node;
  return static_cast<QueuedCallback*>(node->data);
}
