// Named events inside one process, for the native build.
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "named_event.h"

namespace {

struct EventState {
  std::mutex lock;
  std::condition_variable changed;
  bool signalled = false;
};

struct Entry {
  std::shared_ptr<EventState> state;
  int handles = 0;
};

std::mutex g_namesLock;
std::map<std::string, Entry>& Names() {
  static auto* names = new std::map<std::string, Entry>;
  return *names;
}

void Set(EventState* state) {
  std::lock_guard<std::mutex> hold(state->lock);
  state->signalled = true;
  state->changed.notify_all();
}

}  // namespace

struct NamedEvent {
  std::string name;
  std::shared_ptr<EventState> state;
};

namespace {
// NamedEventControl's non-null answer to "does it exist"; not an event, so
// the calls below ignore it.
NamedEvent g_existsAnswer;
bool Usable(const NamedEvent* event) { return event && event != &g_existsAnswer; }
}  // namespace

NamedEvent* CreateNamedEvent(const char* name) {
  if (!name || !*name) return nullptr;
  std::lock_guard<std::mutex> hold(g_namesLock);
  Entry& entry = Names()[name];
  if (entry.handles > 0) return nullptr;
  auto* event = new (std::nothrow) NamedEvent{name, std::make_shared<EventState>()};
  if (!event) {
    Names().erase(name);
    return nullptr;
  }
  entry.state = event->state;
  entry.handles = 1;
  return event;
}

bool NamedEventExists(const char* name) {
  if (!name) return false;
  std::lock_guard<std::mutex> hold(g_namesLock);
  auto found = Names().find(name);
  return found != Names().end() && found->second.handles > 0;
}

void SetNamedEvent(NamedEvent* event) {
  if (Usable(event)) Set(event->state.get());
}

bool SignalNamedEvent(const char* name) {
  if (!name) return false;
  std::shared_ptr<EventState> state;
  {
    std::lock_guard<std::mutex> hold(g_namesLock);
    auto found = Names().find(name);
    if (found == Names().end() || found->second.handles == 0) return false;
    state = found->second.state;
  }
  Set(state.get());
  return true;
}

void ResetNamedEvent(NamedEvent* event) {
  if (!Usable(event)) return;
  std::lock_guard<std::mutex> hold(event->state->lock);
  event->state->signalled = false;
}

bool WaitNamedEvent(NamedEvent* event, uint32_t timeoutMs) {
  if (!Usable(event)) return false;
  EventState* state = event->state.get();
  std::unique_lock<std::mutex> hold(state->lock);
  return state->changed.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                 [&] { return state->signalled; });
}

void CloseNamedEvent(NamedEvent* event) {
  if (!Usable(event)) return;
  {
    std::lock_guard<std::mutex> hold(g_namesLock);
    auto found = Names().find(event->name);
    if (found != Names().end() && --found->second.handles <= 0) Names().erase(found);
  }
  delete event;
}

NamedEvent* NamedEventControl(const char* name, NamedEvent* event, int mode) {
  switch (mode) {
    case 0:
      return CreateNamedEvent(name);
    case 1:
      return NamedEventExists(name) ? &g_existsAnswer : nullptr;
    case 2:
      CloseNamedEvent(event);
      return nullptr;
    default:
      return nullptr;
  }
}
