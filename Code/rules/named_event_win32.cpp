// Named events of the system, so that a name is taken across the session.
#include <windows.h>

#include <new>

#include "named_event.h"

struct NamedEvent {
  HANDLE handle;
};

namespace {
// NamedEventControl's non-null answer to "does it exist"; not an event, so
// the calls below ignore it.
NamedEvent g_existsAnswer{nullptr};
bool Usable(const NamedEvent* event) { return event && event != &g_existsAnswer; }
}  // namespace

NamedEvent* CreateNamedEvent(const char* name) {
  if (!name || !*name) return nullptr;
  HANDLE handle = CreateEventA(nullptr, TRUE, FALSE, name);
  if (!handle) return nullptr;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(handle);
    return nullptr;
  }
  auto* event = new (std::nothrow) NamedEvent{handle};
  if (!event) CloseHandle(handle);
  return event;
}

bool NamedEventExists(const char* name) {
  if (!name || !*name) return false;
  HANDLE handle = OpenEventA(EVENT_ALL_ACCESS, FALSE, name);
  if (!handle) return false;
  CloseHandle(handle);
  return true;
}

void SetNamedEvent(NamedEvent* event) {
  if (Usable(event)) SetEvent(event->handle);
}

bool SignalNamedEvent(const char* name) {
  if (!name || !*name) return false;
  HANDLE handle = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
  if (!handle) return false;
  SetEvent(handle);
  CloseHandle(handle);
  return true;
}

void ResetNamedEvent(NamedEvent* event) {
  if (Usable(event)) ResetEvent(event->handle);
}

bool WaitNamedEvent(NamedEvent* event, uint32_t timeoutMs) {
  return Usable(event) && WaitForSingleObject(event->handle, timeoutMs) == WAIT_OBJECT_0;
}

void CloseNamedEvent(NamedEvent* event) {
  if (!Usable(event)) return;
  CloseHandle(event->handle);
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
