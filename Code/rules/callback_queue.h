// Deferred callback queues: numbered lists of callbacks that the main loop
// runs on every idle pass; an entry stays queued until its callback reports
// that it is finished. Used from the user-interface thread only.
//
// Interface: CreateCallbackQueue, DestroyCallbackQueue, AddQueuedCallback,
// RunCallbackQueue, RemoveQueuedCallback, FindQueuedCallback.
#pragma once

#include <cstdint>

// Returns non-zero when the entry is to be removed (for `callback`); the
// result of a removal callback is not used.
using QueueCallback = uint32_t (*)(void* argument);

struct QueuedCallback {
  uint32_t key1;
  uint32_t key2;
  uint32_t runCount;
  QueueCallback callback;
  QueueCallback removal;  // may be null
  void* argument;
};

constexpr int kCallbackQueues = 8;  // queue numbers 0..7; the program uses 0 and 1

enum QueueFindMode { QUEUE_FIND_FIRST = 0, QUEUE_FIND_KEY1 = 1, QUEUE_FIND_KEY2 = 2, QUEUE_FIND_BOTH = 3 };

// False when the queue exists already, the number is out of range or memory
// is short.
bool CreateCallbackQueue(int queue, uint32_t userDataSize);
// Frees every entry (without calling removal callbacks) and the queue.
void DestroyCallbackQueue(int queue);
// Appends a copy of the entry; the queued copy, or null.
QueuedCallback* AddQueuedCallback(int queue, const QueuedCallback* entry);
// One pass: every entry's run count goes up and its callback runs; an entry
// whose callback returns non-zero is removed (its removal callback runs).
// Callbacks may add or remove entries; the pass then goes on from the entry
// that followed, or stops when that entry is gone. Returns the number of
// entries visited.
int RunCallbackQueue(int queue);
// Removes the first entry with the entry's two keys, after calling its
// removal callback.
void RemoveQueuedCallback(int queue, const QueuedCallback* entry);
// Keys from the entry, or from key1/key2 when no entry is given. Mode 0 gives
// the first entry; modes 1-3 search from the queue's cursor onward by key 1,
// key 2 or both.
QueuedCallback* FindQueuedCallback(const QueuedCallback* entry, int queue, uint32_t key1, uint32_t key2,
                                   int mode);
