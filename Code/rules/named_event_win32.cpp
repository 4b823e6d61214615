// Named events of the system, so that a name is taken across the session.
#include <windows.h>

#include <new>

#include "named_event.h"

struct NamedEvent {
  HANDLE handle;
};

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
  if (event) SetEvent(event->handle);
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
  if (event) ResetEvent(event->handle);
}

bool WaitNamedEvent(NamedEvent* event, uint32_t timeoutMs) {
  return event && WaitForSingleObject(event->handle, timeoutMs) == WAIT_OBJECT_0;
}

void CloseNamedEvent(NamedEvent* event) {
  if (!event) return;
  CloseHandle(event->handle);
  delete event;
}

NamedEvent* NamedEventControl(const char* name, NamedEvent* event, int mode) {
  static NamedEvent exists{nullptr};  // a non-null answer for mode 1, never dereferenced by callers
  switch (mode) {
    case 0:
      return CreateNamedEvent(name);
    case 1:
      return NamedEventExists(name) ? &exists : nullptr;
    case 2:
      CloseNamedEvent(event);
      return nullptr;
    default:
      return nullptr;
  }
}
