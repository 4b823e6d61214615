// Named worker threads: a work callback runs again and again on a thread of
// its own until it reports that it is finished (returns 0) or the owner stops
// the thread; then the done or the stopped callback runs, on that thread.
//
// Interface: StartWorkerThread, StopWorkerThread, IsWorkerThreadRunning,
// WorkerThreadExists, SetWorkerCleanupWait.
//
// A named event (named_event.h) per thread name keeps a second thread of the
// same name from starting. The thread frees its own record when it ends; the
// owner's calls first check that the record is still alive, and
// StopWorkerThread waits on a completion that outlives the record, so a call
// after the thread has ended is answered safely.
#pragma once

#include <cstdint>

using WorkerCallback = uint32_t (*)(void* argument);

struct WorkerThread;

// Thread names in use; each is also the name of the thread's event.
constexpr const char* kAdviceThreadName = "RWADVICE_THREAD";
constexpr const char* kAnalysisThreadName = "RWANAL_THREAD";
constexpr const char* kPgnImportThreadName = "PGN_IMPORT_THREAD";
constexpr const char* kNotationChangeThreadName = "NOTATION_CHANGE";

// Null when a thread of that name runs, or the record or thread cannot be
// made. `done` runs when the work finished by itself, `stopped` when the
// owner stopped it; when `stopped` returns non-zero the thread waits (up to
// 10 s) for the owner to set the thread's named event (SignalNamedEvent)
// before it ends, and shows an alert when the owner never does.
WorkerThread* StartWorkerThread(const char* name, void* argument, WorkerCallback work, WorkerCallback done,
                                WorkerCallback stopped);
// Asks the thread to stop after its current work call and waits up to the
// time-out for it to end. False when the thread had already ended or did not
// end in time.
bool StopWorkerThread(WorkerThread* thread, uint32_t timeoutMs);
// True while the thread runs and has not been asked to stop.
bool IsWorkerThreadRunning(WorkerThread* thread);
bool WorkerThreadExists(const char* name);

// How long a stopped thread waits for its owner's clean-up (10,000 ms);
// tests shorten it.
void SetWorkerCleanupWait(uint32_t ms);
