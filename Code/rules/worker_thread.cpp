#include "worker_thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <thread>

#include "alerts.h"
#include "heapkit.h"
#include "named_event.h"

namespace {

// Signalled when the thread has ended; shared by the thread and any owner
// that waits, so it outlives the thread's record.
struct WorkerExit {
  std::mutex lock;
  std::condition_variable ended;
  bool done = false;
};

std::atomic<uint32_t> g_cleanupWaitMs{10000};

std::mutex g_liveLock;
std::set<const WorkerThread*>& LiveThreads() {
  static auto* live = new std::set<const WorkerThread*>;
  return *live;
}

}  // namespace

struct WorkerThread {
  WorkerCallback work;
  WorkerCallback done;
  WorkerCallback stopped;
  void* argument;
  NamedEvent* event;
  std::atomic<uint32_t> keepRunning;
  char name[260];
  std::shared_ptr<WorkerExit> exit;
};

namespace {

void WorkerThreadProc(WorkerThread* thread) {
  ResetNamedEvent(thread->event);
  while (thread->work) {
    if (thread->work(thread->argument) == 0 || thread->keepRunning.load() == 0) break;
  }
  if (thread->keepRunning.load()) {
    if (thread->done) thread->done(thread->argument);
  } else if (thread->stopped && thread->stopped(thread->argument) != 0) {
    if (!WaitNamedEvent(thread->event, g_cleanupWaitMs.load()))
      ShowAlert("Too much time waiting for the client to clean up!!!", "ThreadAPI");
  }
  // The name is given back before the record leaves the live set: an owner
  // that no longer finds the record may start a thread of the same name.
  CloseNamedEvent(thread->event);
  {
    std::lock_guard<std::mutex> hold(g_liveLock);
    LiveThreads().erase(thread);
  }
  std::shared_ptr<WorkerExit> exit = thread->exit;
  thread->~WorkerThread();
  memFree_rel(thread);
  std::lock_guard<std::mutex> hold(exit->lock);
  exit->done = true;
  exit->ended.notify_all();
}

}  // namespace

WorkerThread* StartWorkerThread(const char* name, void* argument, WorkerCallback work, WorkerCallback done,
                                WorkerCallback stopped) {
  if (!name || std::strlen(name) >= sizeof(WorkerThread::name)) return nullptr;
  NamedEvent* event = CreateNamedEvent(name);
  if (!event) return nullptr;
  void* block = memAlloc_rel(sizeof(WorkerThread), HEAPKIT_TAG_RW);
  std::shared_ptr<WorkerExit> exit(new (std::nothrow) WorkerExit);
  if (!block || !exit) {
    memFree_rel(block);
    CloseNamedEvent(event);
    return nullptr;
  }
  auto* thread = new (block) WorkerThread{work, done, stopped, argument, event, {1u}, {}, exit};
  std::strcpy(thread->name, name);
  {
    std::lock_guard<std::mutex> hold(g_liveLock);
    LiveThreads().insert(thread);
  }
  try {
    std::thread(WorkerThreadProc, thread).detach();
  } catch (...) {
    {
      std::lock_guard<std::mutex> hold(g_liveLock);
      LiveThreads().erase(thread);
    }
    CloseNamedEvent(event);
    thread->~WorkerThread();
    memFree_rel(thread);
    return nullptr;
  }
  return thread;
}

bool StopWorkerThread(WorkerThread* thread, uint32_t timeoutMs) {
  std::shared_ptr<WorkerExit> exit;
  {
    std::lock_guard<std::mutex> hold(g_liveLock);
    if (!thread || LiveThreads().count(thread) == 0) return false;
    thread->keepRunning.store(0);
    exit = thread->exit;
  }
  std::unique_lock<std::mutex> hold(exit->lock);
  return exit->ended.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] { return exit->done; });
}

bool IsWorkerThreadRunning(WorkerThread* thread) {
  std::lock_guard<std::mutex> hold(g_liveLock);
  return thread && LiveThreads().count(thread) != 0 && thread->keepRunning.load() != 0;
}

bool WorkerThreadExists(const char* name) { return NamedEventExists(name); }

void SetWorkerCleanupWait(uint32_t ms) { g_cleanupWaitMs.store(ms); }
