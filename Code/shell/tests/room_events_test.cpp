// The room-event queue the room window drains: blocks posted from several
// reader threads come out in the order each thread posted them, and a
// game's blocks (or, with no game, all) can be dropped unhandled.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "engine_reply.h"

namespace {

Guid GameId(uint8_t n) {
  Guid g{};
  g.bytes[0] = n;
  return g;
}

// A text block "<thread> <sequence>" of game `thread`.
EngineReplyBlock* Block(int thread, int sequence) {
  const Guid game = GameId(uint8_t(thread + 1));
  EngineReplyBlock* b = AllocEngineReply(REPLY_TEXT, &game, 0);
  if (b) std::snprintf(b->text, sizeof b->text, "%d %d", thread, sequence);
  return b;
}

struct Taken {
  int thread, sequence;
};

std::vector<Taken> TakeAll(LockedRoomReplyQueue* queue) {
  std::vector<Taken> out;
  while (EngineReplyBlock* b = queue->Take()) {
    Taken t{};
    std::sscanf(b->text, "%d %d", &t.thread, &t.sequence);
    out.push_back(t);
    FreeEngineReply(b);
  }
  return out;
}

TEST(RoomEvents, FourThreadsPostAndEachThreadsEventsComeOutInOrder) {
  LockedRoomReplyQueue queue;
  SetRoomReplyQueue(&queue);
  constexpr int kThreads = 4, kEach = 2000;
  std::vector<std::thread> readers;
  for (int t = 0; t < kThreads; ++t)
    readers.emplace_back([t] {
      for (int i = 0; i < kEach; ++i) PostRoomEvent(Block(t, i));
    });
  for (std::thread& r : readers) r.join();
  const std::vector<Taken> taken = TakeAll(&queue);
  ASSERT_EQ(taken.size(), size_t(kThreads * kEach));
  int next[kThreads] = {};
  for (const Taken& t : taken) {
    ASSERT_GE(t.thread, 0);
    ASSERT_LT(t.thread, kThreads);
    EXPECT_EQ(t.sequence, next[t.thread]) << t.thread;
    next[t.thread] = t.sequence + 1;
  }
  SetRoomReplyQueue(nullptr);
}

TEST(RoomEvents, DiscardingDropsOneGamesEventsAndWithNoGameAll) {
  LockedRoomReplyQueue queue;
  SetRoomReplyQueue(&queue);
  for (int i = 0; i < 3; ++i)
    for (int t = 0; t < 3; ++t) PostRoomEvent(Block(t, i));
  const Guid second = GameId(2);
  DiscardRoomEvents(&second);
  const std::vector<Taken> left = TakeAll(&queue);
  ASSERT_EQ(left.size(), 6u);
  for (const Taken& t : left) EXPECT_NE(t.thread, 1);
  EXPECT_EQ(left.front().thread, 0);  // the oldest comes first
  EXPECT_EQ(left.front().sequence, 0);

  for (int t = 0; t < 3; ++t) PostRoomEvent(Block(t, 0));
  DiscardRoomEvents(nullptr);
  EXPECT_EQ(queue.Size(), 0u);
  SetRoomReplyQueue(nullptr);
  // Without a queue a posted block is freed at once (the sanitizer sees a
  // leak otherwise).
  PostRoomEvent(Block(0, 0));
}

}  // namespace
