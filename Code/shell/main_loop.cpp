// The main loop's switches, free of the operating system: see main_loop.h.
// The loop itself is in main_loop_win32.cpp.
#include "main_loop.h"

namespace {

constexpr int kNoKeptLevel = -2;

MainLoopHost g_host{};
void* g_activeAccelerators = nullptr;
void* g_parkedAccelerators = nullptr;
int g_parkedRoom = 0;
void* g_modelessDialog = nullptr;
int g_idleLevel = 0;
int g_keptIdleLevel = kNoKeptLevel;
int g_pollCount = 0;

int CurrentRoom() { return g_host.currentRoom ? g_host.currentRoom() : 0; }

}  // namespace

void SetMainLoopHost(const MainLoopHost& host) { g_host = host; }
const MainLoopHost& GetMainLoopHost() { return g_host; }

void* GetActiveModelessDialog() { return g_modelessDialog; }

void* SetActiveModelessDialog(void* window) {
  void* previous = g_modelessDialog;
  g_modelessDialog = window;
  return previous;
}

void* ClearActiveModelessDialog() { return SetActiveModelessDialog(nullptr); }

void SetActiveAccelerators(void* table) { g_activeAccelerators = table; }
void* GetActiveAccelerators() { return g_activeAccelerators; }

void EnableAccelerators(int enable) {
  if (!enable) {
    if (!g_activeAccelerators) return;
    g_parkedAccelerators = g_activeAccelerators;
    g_parkedRoom = CurrentRoom();
    g_activeAccelerators = nullptr;
    return;
  }
  // After a room switch the new room has installed its own table; the
  // parked one belongs to the room that was left.
  if (g_parkedAccelerators && CurrentRoom() == g_parkedRoom) {
    g_activeAccelerators = g_parkedAccelerators;
    g_parkedAccelerators = nullptr;
  }
}

int ChangeIdleLevel(int raise) {
  if (raise)
    ++g_idleLevel;
  else if (g_idleLevel > 0)
    --g_idleLevel;
  return g_idleLevel > 0 ? 1 : 0;
}

int SetIdleLevel(int level) {
  if (level >= -1) {
    g_keptIdleLevel = g_idleLevel;
    g_idleLevel = level;
  } else if (level == kNoKeptLevel && g_keptIdleLevel != kNoKeptLevel) {
    g_idleLevel = g_keptIdleLevel;
    g_keptIdleLevel = kNoKeptLevel;
  }
  return g_idleLevel > 0 ? 1 : 0;
}

int GetIdleLevel() { return g_idleLevel; }

int ChangePollCount(int raise) {
  if (raise)
    ++g_pollCount;
  else if (g_pollCount > 0)
    --g_pollCount;
  return g_pollCount;
}

int GetPollCount() { return g_pollCount; }
