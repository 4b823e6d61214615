// The user-interface thread's message loop and the process-wide switches
// that steer it: the main frame's accelerator table (parked while
// accelerators are disabled), the one active modeless dialog, the poll
// counter (work that needs the loop to keep turning) and the idle level
// (whether the deferred-callback queues run and whether the loop sleeps).
//
// Idle level: below 0 no queue work and no sleeping; 0 queue work with
// 10 ms sleeps; above 0 queue work without sleeping. The main frame sets -1
// when the program closes.
//
// Interface: MainLoopHost, SetMainLoopHost, RunMainLoop,
// PassToModelessDialog, GetActiveModelessDialog, SetActiveModelessDialog,
// ClearActiveModelessDialog, EnableActiveModelessDialog,
// SetActiveAccelerators, GetActiveAccelerators, EnableAccelerators,
// ChangeIdleLevel, SetIdleLevel, GetIdleLevel, ChangePollCount,
// GetPollCount. Everything runs on the user-interface thread.
#pragma once

// What the loop needs from the rest of the shell. Null members: no main
// frame, room 0.
struct MainLoopHost {
  void* (*mainFrame)();  // the main frame window (HWND), or null
  int (*currentRoom)();  // the current room's number
  // Offered each message after the active modeless dialog: the open
  // modeless message boxes (1 when one took it).
  int (*passToMessageBoxes)(void* msg);
};
void SetMainLoopHost(const MainLoopHost& host);
const MainLoopHost& GetMainLoopHost();

// Runs until the quit message is taken, waiting for messages while the poll
// counter is 0 and polling while it is above 0. Returns 1. (Windows only.)
int RunMainLoop();
// 1 when the active modeless dialog exists and took the message (MSG*).
// (Windows only.)
int PassToModelessDialog(void* message);

// Window handles (HWND) of the one modeless dialog that gets dialog keys.
void* GetActiveModelessDialog();
void* SetActiveModelessDialog(void* window);  // the previous one
void* ClearActiveModelessDialog();            // the previous one
// 0 when there is none; else enables or disables it and answers 1 when it
// is enabled afterwards. (Windows only.)
int EnableActiveModelessDialog(int enable);

// The table (HACCEL) translated against the main frame; rooms install their
// own when they are entered.
void SetActiveAccelerators(void* table);
void* GetActiveAccelerators();
// 0 parks the active table and remembers the room; non-zero brings the
// parked table back only in the room that parked it.
void EnableAccelerators(int enable);

// Non-zero raises the level by 1; 0 lowers it by 1 but not below 0 (a level
// of -1 stays -1). 1 when the level is above 0 afterwards.
int ChangeIdleLevel(int raise);
// Level -1 or above: keeps the current level and sets this one. -2: brings
// a kept level back (once). Other values change nothing. 1 when the level
// is above 0 afterwards.
int SetIdleLevel(int level);
int GetIdleLevel();

// Non-zero adds 1; 0 subtracts 1 but not below 0. The new count.
int ChangePollCount(int raise);
int GetPollCount();
