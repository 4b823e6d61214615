// Named events: manual-reset events that exist under a name while any handle
// to them is open. The worker threads use one per thread name, so that only
// one thread of a name runs at a time and others can ask whether it runs.
//
// Interface: CreateNamedEvent, NamedEventExists, SetNamedEvent,
// SignalNamedEvent, ResetNamedEvent, WaitNamedEvent, CloseNamedEvent,
// NamedEventControl.
#pragma once

#include <cstdint>

struct NamedEvent;

// A new event, not signalled; null when one of that name already exists (or
// it cannot be made).
NamedEvent* CreateNamedEvent(const char* name);
bool NamedEventExists(const char* name);
void SetNamedEvent(NamedEvent* event);
// Sets the event of that name when it exists; false when there is none.
bool SignalNamedEvent(const char* name);
void ResetNamedEvent(NamedEvent* event);
// True when the event was (or became) signalled within the time-out.
bool WaitNamedEvent(NamedEvent* event, uint32_t timeoutMs);
void CloseNamedEvent(NamedEvent* event);

// Mode 0: create the named event (the handle, null when it already existed);
// mode 1: non-null when an event of that name exists; mode 2: close `event`.
NamedEvent* NamedEventControl(const char* name, NamedEvent* event, int mode);
