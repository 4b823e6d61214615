#include "worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "alerts.h"
#include "named_event.h"

namespace {

// Names are unique per test: under Wine the events are visible across the
// test programs that CTest runs side by side.
std::string Name(const char* what) { return std::string("RWTEST_") + what; }

struct Counters {
  std::atomic<int> work{0}, done{0}, stopped{0};
  std::atomic<int> workLimit{1};  // work returns 0 on this call
  std::atomic<uint32_t> stoppedResult{0};
  std::atomic<bool> release{false};  // lets a blocked work call finish
};

uint32_t Work(void* arg) {
  auto* c = static_cast<Counters*>(arg);
  int n = ++c->work;
  return n >= c->workLimit ? 0 : 1;
}
uint32_t SlowWork(void* arg) {
  auto* c = static_cast<Counters*>(arg);
  ++c->work;
  while (!c->release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return 1;
}
uint32_t Done(void* arg) { return ++static_cast<Counters*>(arg)->done; }
uint32_t Stopped(void* arg) {
  auto* c = static_cast<Counters*>(arg);
  ++c->stopped;
  return c->stoppedResult;
}

template <typename F>
bool WaitFor(F condition) {
  for (int i = 0; i < 5000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return condition();
}

std::atomic<int> g_alerts{0};
std::string g_alertText, g_alertTitle;
void CountAlert(const char* text, const char* title) {
  g_alertText = text;
  g_alertTitle = title;
  ++g_alerts;
}

TEST(WorkerThread, FinishedWorkCallsDoneOnceAndFreesTheName) {
  Counters c;
  std::string name = Name("DONE");
  WorkerThread* t = StartWorkerThread(name.c_str(), &c, Work, Done, Stopped);
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(WaitFor([&] { return !WorkerThreadExists(name.c_str()); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(c.work, 1);
  EXPECT_EQ(c.done, 1);
  EXPECT_EQ(c.stopped, 0);
  // The record is gone: the owner's late calls are answered, not crashed on.
  EXPECT_FALSE(IsWorkerThreadRunning(t));
  EXPECT_FALSE(StopWorkerThread(t, 100));
}

// An owner whose stop call finds the record gone (the thread has just ended)
// starts the next job of the same name at once: the name is free by then.
TEST(WorkerThread, TheNameIsFreeOnceTheStopCallReturns) {
  std::string name = Name("AGAIN");
  for (int i = 0; i < 200; ++i) {
    Counters c;
    WorkerThread* t = StartWorkerThread(name.c_str(), &c, Work, Done, Stopped);
    ASSERT_NE(t, nullptr) << "round " << i;
    ASSERT_TRUE(WaitFor([&] { return c.done == 1; }));
    StopWorkerThread(t, 1000);
    ASSERT_FALSE(WorkerThreadExists(name.c_str())) << "round " << i;
  }
}

TEST(WorkerThread, DuplicateNameRefusedAndRunningOneUntouched) {
  Counters c, other;
  std::string name = Name("DUP");
  WorkerThread* t = StartWorkerThread(name.c_str(), &c, SlowWork, Done, Stopped);
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(WorkerThreadExists(name.c_str()));
  EXPECT_EQ(StartWorkerThread(name.c_str(), &other, Work, Done, Stopped), nullptr);
  EXPECT_TRUE(IsWorkerThreadRunning(t));
  EXPECT_EQ(other.work, 0);
  c.release = true;
  EXPECT_TRUE(StopWorkerThread(t, 5000));
  EXPECT_EQ(c.stopped, 1);
  EXPECT_EQ(c.done, 0);
  EXPECT_FALSE(WorkerThreadExists(name.c_str()));
  // The name is free again.
  Counters again;
  ASSERT_NE(StartWorkerThread(name.c_str(), &again, Work, Done, nullptr), nullptr);
  EXPECT_TRUE(WaitFor([&] { return again.done == 1; }));
}

TEST(WorkerThread, StopTimesOutWhileWorkIsBusy) {
  Counters c;
  std::string name = Name("BUSY");
  WorkerThread* t = StartWorkerThread(name.c_str(), &c, SlowWork, Done, Stopped);
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(WaitFor([&] { return c.work == 1; }));
  EXPECT_FALSE(StopWorkerThread(t, 50));
  EXPECT_FALSE(IsWorkerThreadRunning(t));  // asked to stop
  c.release = true;
  ASSERT_TRUE(WaitFor([&] { return !WorkerThreadExists(name.c_str()); }));
  EXPECT_EQ(c.stopped, 1);
}

TEST(WorkerThread, StoppedCallbackWaitsForOwnerCleanup) {
  SetAlertSink(CountAlert);
  SetWorkerCleanupWait(200);
  g_alerts = 0;
  {
    // The owner never signals: the thread gives up and alerts.
    Counters c;
    c.stoppedResult = 1;
    c.release = true;
    std::string name = Name("NOCLEAN");
    WorkerThread* t = StartWorkerThread(name.c_str(), &c, SlowWork, Done, Stopped);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(StopWorkerThread(t, 5000));
    EXPECT_EQ(g_alerts, 1);
    EXPECT_EQ(g_alertTitle, "ThreadAPI");
    EXPECT_EQ(g_alertText, "Too much time waiting for the client to clean up!!!");
  }
  {
    // The owner signals through the thread's event: no alert.
    Counters c;
    c.stoppedResult = 1;
    c.release = true;
    std::string name = Name("CLEAN");
    SetWorkerCleanupWait(5000);
    WorkerThread* t = StartWorkerThread(name.c_str(), &c, SlowWork, Done, Stopped);
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(StopWorkerThread(t, 20));  // the thread now waits for the clean-up
    ASSERT_TRUE(WaitFor([&] { return c.stopped == 1; }));
    EXPECT_TRUE(SignalNamedEvent(name.c_str()));
    ASSERT_TRUE(WaitFor([&] { return !WorkerThreadExists(name.c_str()); }));
    EXPECT_EQ(g_alerts, 1);
  }
  SetWorkerCleanupWait(10000);
  SetAlertSink(nullptr);
}

TEST(NamedEvent, ControlModes) {
  std::string name = Name("EVENT");
  NamedEvent* e = NamedEventControl(name.c_str(), nullptr, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(NamedEventControl(name.c_str(), nullptr, 0), nullptr);
  NamedEvent* answer = NamedEventControl(name.c_str(), nullptr, 1);
  EXPECT_NE(answer, nullptr);
  NamedEventControl(nullptr, answer, 2);  // the answer is no handle: nothing closes
  EXPECT_TRUE(NamedEventExists(name.c_str()));
  EXPECT_FALSE(WaitNamedEvent(e, 1));
  EXPECT_TRUE(SignalNamedEvent(name.c_str()));
  EXPECT_TRUE(WaitNamedEvent(e, 1));
  ResetNamedEvent(e);
  EXPECT_FALSE(WaitNamedEvent(e, 1));
  NamedEventControl(nullptr, e, 2);
  EXPECT_EQ(NamedEventControl(name.c_str(), nullptr, 1), nullptr);
  EXPECT_FALSE(SignalNamedEvent(name.c_str()));
}

}  // namespace
