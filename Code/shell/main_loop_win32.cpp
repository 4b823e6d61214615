// The user-interface thread's message loop: see main_loop.h.
#include <windows.h>

#include "callback_queue.h"
#include "main_loop.h"

namespace {

constexpr DWORD kIdleSleepMs = 10;

HWND MainFrame() {
  const MainLoopHost& host = GetMainLoopHost();
  return host.mainFrame ? static_cast<HWND>(host.mainFrame()) : nullptr;
}

// Accelerators against the main frame first, then the modeless dialog, the
// modeless message boxes, then the window the message is for.
void HandleMessage(MSG* msg) {
  HACCEL table = static_cast<HACCEL>(GetActiveAccelerators());
  HWND frame = table ? MainFrame() : nullptr;
  if (frame && TranslateAcceleratorA(frame, table, msg)) return;
  if (PassToModelessDialog(msg)) return;
  const MainLoopHost& host = GetMainLoopHost();
  if (host.passToMessageBoxes && host.passToMessageBoxes(msg)) return;
  TranslateMessage(msg);
  DispatchMessageA(msg);
}

}  // namespace

int RunMainLoop() {
  static HANDLE process = nullptr;  // the program's own process, taken once
  if (!process) process = GetCurrentProcess();
  MSG msg{};
  msg.message = WM_USER;  // anything but the quit message, so that the loop is entered
  while (msg.message != WM_QUIT) {
    if (GetPollCount() == 0) {
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == -1) break;  // the queue itself failed: nothing more will come
      if (!got) break;       // the quit message
      HandleMessage(&msg);
      // Sleeping while the input queue is empty keeps a busy stream of
      // posted messages from holding a core.
      if (GetIdleLevel() >= 0 && WaitForInputIdle(process, 0) == 0) Sleep(kIdleSleepMs);
    } else if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) HandleMessage(&msg);
    } else {
      if (GetIdleLevel() >= 0) {
        RunCallbackQueue(0);
        RunCallbackQueue(1);
      }
      if (GetIdleLevel() <= 0) Sleep(kIdleSleepMs);
    }
  }
  return 1;
}

int PassToModelessDialog(void* message) {
  HWND dialog = static_cast<HWND>(GetActiveModelessDialog());
  if (!dialog || !message || !IsWindow(dialog)) return 0;
  return IsDialogMessageA(dialog, static_cast<MSG*>(message)) ? 1 : 0;
}

int EnableActiveModelessDialog(int enable) {
  HWND dialog = static_cast<HWND>(GetActiveModelessDialog());
  if (!dialog) return 0;
  EnableWindow(dialog, enable ? TRUE : FALSE);
  return IsWindowEnabled(dialog) ? 1 : 0;
}
