#include "callback_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Probe {
  int finishOnRun = 0;  // the callback returns non-zero on this run (0 = never)
  int runs = 0;
  int removals = 0;
  uint32_t runCountAtRemoval = 0;
  QueuedCallback* self = nullptr;
  std::string* log = nullptr;
  char tag = '?';
};

uint32_t RunProbe(void* arg) {
  auto* p = static_cast<Probe*>(arg);
  ++p->runs;
  if (p->log) p->log->push_back(p->tag);
  return p->finishOnRun != 0 && p->runs >= p->finishOnRun;
}
uint32_t Removed(void* arg) {
  auto* p = static_cast<Probe*>(arg);
  ++p->removals;
  if (p->self) p->runCountAtRemoval = p->self->runCount;
  return 0;
}

class CallbackQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateCallbackQueue(0, 0)); }
  void TearDown() override { DestroyCallbackQueue(0); }
  QueuedCallback* Add(uint32_t key1, uint32_t key2, Probe* p) {
    QueuedCallback entry{key1, key2, 0, RunProbe, Removed, p};
    QueuedCallback* queued = AddQueuedCallback(0, &entry);
    p->self = queued;
    return queued;
  }
};

TEST_F(CallbackQueueTest, EntryRemovedOnItsThirdRun) {
  Probe p;
  p.finishOnRun = 3;
  Add(1, 1, &p);
  for (int pass = 0; pass < 5; ++pass) RunCallbackQueue(0);
  EXPECT_EQ(p.runs, 3);
  EXPECT_EQ(p.runCountAtRemoval, 3u);
  EXPECT_EQ(p.removals, 1);
  EXPECT_EQ(FindQueuedCallback(nullptr, 0, 0, 0, QUEUE_FIND_FIRST), nullptr);
}

TEST_F(CallbackQueueTest, PassRunsEachEntryOnceWhateverIsRemoved) {
  // Removing the first, a middle or the last entry must neither skip the
  // next entry nor run an earlier one twice.
  for (int finishing = 0; finishing < 4; ++finishing) {
    std::string log;
    Probe probes[4];
    for (int k = 0; k < 4; ++k) {
      probes[k].tag = static_cast<char>('A' + k);
      probes[k].log = &log;
      if (k == finishing) probes[k].finishOnRun = 1;
      Add(k, 0, &probes[k]);
    }
    EXPECT_EQ(RunCallbackQueue(0), 4) << finishing;
    EXPECT_EQ(log, "ABCD") << finishing;
    log.clear();
    EXPECT_EQ(RunCallbackQueue(0), 3) << finishing;
    std::string rest = "ABCD";
    rest.erase(finishing, 1);
    EXPECT_EQ(log, rest);
    DestroyCallbackQueue(0);
    ASSERT_TRUE(CreateCallbackQueue(0, 0));
  }
}

TEST_F(CallbackQueueTest, FindAndRemoveByKeys) {
  Probe a, b, c;
  Add(1, 10, &a);
  Add(2, 20, &b);
  Add(2, 30, &c);
  EXPECT_EQ(FindQueuedCallback(nullptr, 0, 0, 0, QUEUE_FIND_FIRST)->argument, &a);
  EXPECT_EQ(FindQueuedCallback(nullptr, 0, 2, 0, QUEUE_FIND_KEY1)->argument, &b);
  EXPECT_EQ(FindQueuedCallback(nullptr, 0, 0, 30, QUEUE_FIND_KEY2)->argument, &c);
  EXPECT_EQ(FindQueuedCallback(nullptr, 0, 1, 10, QUEUE_FIND_BOTH), nullptr);  // behind the cursor
  EXPECT_EQ(FindQueuedCallback(nullptr, 0, 0, 0, QUEUE_FIND_FIRST)->argument, &a);
  EXPECT_EQ(FindQueuedCallback(nullptr, 0, 1, 10, QUEUE_FIND_BOTH)->argument, &a);
  QueuedCallback key{2, 30, 0, nullptr, nullptr, nullptr};
  EXPECT_EQ(FindQueuedCallback(&key, 0, 9, 9, QUEUE_FIND_BOTH)->argument, &c);
  RemoveQueuedCallback(0, &key);
  EXPECT_EQ(c.removals, 1);
  EXPECT_EQ(FindQueuedCallback(&key, 0, 0, 0, QUEUE_FIND_BOTH), nullptr);
  RemoveQueuedCallback(0, &key);  // nothing left with those keys
  EXPECT_EQ(c.removals, 1);
}

TEST(CallbackQueue, QueueNumbersAndDuplicates) {
  EXPECT_FALSE(CreateCallbackQueue(-1, 0));
  EXPECT_FALSE(CreateCallbackQueue(kCallbackQueues, 0));
  ASSERT_TRUE(CreateCallbackQueue(1, 16));
  EXPECT_FALSE(CreateCallbackQueue(1, 0));
  QueuedCallback entry{};
  EXPECT_EQ(AddQueuedCallback(2, &entry), nullptr);
  EXPECT_EQ(RunCallbackQueue(2), 0);
  EXPECT_NE(AddQueuedCallback(1, &entry), nullptr);  // no callback: stays queued
  EXPECT_EQ(RunCallbackQueue(1), 1);
  EXPECT_EQ(RunCallbackQueue(1), 1);
  DestroyCallbackQueue(1);
  EXPECT_EQ(RunCallbackQueue(1), 0);
}

}  // namespace
