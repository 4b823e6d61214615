// The message loop under Windows: waiting and polling, the idle queues and
// sleeps, accelerators against the main frame and the modeless dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include "callback_queue.h"
#include "guitest.h"
#include "main_loop.h"

namespace {

HWND g_frame = nullptr;
int g_queueRuns[2] = {0, 0};

uint32_t CountRun0(void*) { return ++g_queueRuns[0], 0; }
uint32_t CountRun1(void*) { return ++g_queueRuns[1], 0; }

void CALLBACK QuitNow(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostQuitMessage(0);
}

double Seconds(const FILETIME& t) {
  return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

// CPU seconds (user and kernel) the process has used so far.
double ProcessCpuSeconds() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  return Seconds(kernel) + Seconds(user);
}

struct MainLoop : ::testing::Test {
  void SetUp() override {
    while (GetPollCount() > 0) ChangePollCount(0);
    SetIdleLevel(-2);
    SetIdleLevel(0);
    SetIdleLevel(0);
    SetIdleLevel(-2);
    g_queueRuns[0] = g_queueRuns[1] = 0;
    ASSERT_TRUE(CreateCallbackQueue(0, 0));
    ASSERT_TRUE(CreateCallbackQueue(1, 0));
    QueuedCallback entry{};
    entry.callback = CountRun0;
    ASSERT_NE(AddQueuedCallback(0, &entry), nullptr);
    entry.callback = CountRun1;
    ASSERT_NE(AddQueuedCallback(1, &entry), nullptr);
    MainLoopHost host{};
    host.mainFrame = [] { return static_cast<void*>(g_frame); };
    SetMainLoopHost(host);
  }
  void TearDown() override {
    DestroyCallbackQueue(0);
    DestroyCallbackQueue(1);
    SetMainLoopHost(MainLoopHost{});
    SetActiveAccelerators(nullptr);
    ClearActiveModelessDialog();
    if (g_frame) DestroyWindow(g_frame);
    g_frame = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

TEST_F(MainLoop, PollingAtLevelZeroRunsTheQueuesAndSleeps) {
  ChangePollCount(1);
  SetTimer(nullptr, 0, 5000, QuitNow);
  const DWORD start = GetTickCount();
  const double cpuBefore = ProcessCpuSeconds();
  EXPECT_EQ(RunMainLoop(), 1) << "the quit message taken while polling ends the loop";
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  const double wall = (GetTickCount() - start) / 1000.0;
  std::printf("polling at level 0: %.3f s of CPU in %.2f s (%.1f %% of a core), queues ran %d and %d times\n",
              cpu, wall, 100.0 * cpu / wall, g_queueRuns[0], g_queueRuns[1]);
  EXPECT_GE(wall, 4.9);
  EXPECT_LT(cpu / wall, 0.05);
  // One pass of both queues per empty poll, each followed by a 10 ms sleep.
  EXPECT_GT(g_queueRuns[0], 100);
  EXPECT_LE(g_queueRuns[0], 520);
  EXPECT_EQ(g_queueRuns[1], g_queueRuns[0]);
}

TEST_F(MainLoop, ClosingLevelStopsQueueWork) {
  ChangePollCount(1);
  SetIdleLevel(-1);
  SetTimer(nullptr, 0, 300, QuitNow);
  EXPECT_EQ(RunMainLoop(), 1);
  EXPECT_EQ(g_queueRuns[0], 0);
  EXPECT_EQ(g_queueRuns[1], 0);
}

// Quits the loop from the queue once it has run kQuitAfterRuns times.
constexpr int kQuitAfterRuns = 300;
uint32_t CountRunAndQuit(void*) {
  if (++g_queueRuns[0] == kQuitAfterRuns) PostQuitMessage(0);
  return 0;
}

TEST_F(MainLoop, AboveZeroSpinsThroughTheQueues) {
  // Counted, not timed against a share of the processor: with the 10 ms
  // sleep of level 0, 300 passes would take at least 3 s; without it they
  // take a few milliseconds of work, however busy the machine is.
  DestroyCallbackQueue(0);
  ASSERT_TRUE(CreateCallbackQueue(0, 0));
  QueuedCallback entry{};
  entry.callback = CountRunAndQuit;
  ASSERT_NE(AddQueuedCallback(0, &entry), nullptr);
  ChangePollCount(1);
  ChangeIdleLevel(1);
  const DWORD start = GetTickCount();
  EXPECT_EQ(RunMainLoop(), 1);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(g_queueRuns[0], kQuitAfterRuns);
  EXPECT_LT(elapsed, 2000u) << "no sleeps between the passes above level 0";
  ChangeIdleLevel(0);
}

TEST_F(MainLoop, WaitingEndsOnQuitAndRunsNoQueues) {
  PostQuitMessage(0);
  EXPECT_EQ(RunMainLoop(), 1);
  EXPECT_EQ(g_queueRuns[0], 0);
}

// A frame that records commands and keys, and a key posted to it.
struct Seen {
  int command = 0;
  int keys = 0;
} g_seen;

void RunWithKey(HWND target, WORD key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(g_frame, WM_APP, 0, 0);  // quits once the key has gone through
  RunMainLoop();
}

TEST_F(MainLoop, AcceleratorsTranslateAgainstTheMainFrame) {
  g_seen = Seen{};
  g_frame =
      guitest::CreateTestWindow({10, 10, 210, 110}, [](HWND, UINT msg, WPARAM wp, LPARAM, bool* handled) {
        if (msg == WM_COMMAND) g_seen.command = LOWORD(wp);
        if (msg == WM_KEYDOWN) ++g_seen.keys;
        if (msg == WM_APP) PostQuitMessage(0);
        *handled = msg == WM_COMMAND || msg == WM_APP;
        return LRESULT(0);
      });
  ACCEL accel{FVIRTKEY, VK_F5, 40123};
  HACCEL table = CreateAcceleratorTableA(&accel, 1);
  SetActiveAccelerators(table);
  RunWithKey(g_frame, VK_F5);
  EXPECT_EQ(g_seen.command, 40123);
  EXPECT_EQ(g_seen.keys, 0) << "the accelerator took the key";

  g_seen = Seen{};
  EnableAccelerators(0);
  RunWithKey(g_frame, VK_F5);
  EXPECT_EQ(g_seen.command, 0);
  EXPECT_EQ(g_seen.keys, 1) << "parked: the key is dispatched";
  EnableAccelerators(1);
  EXPECT_EQ(GetActiveAccelerators(), table);
  DestroyAcceleratorTable(table);
}

TEST_F(MainLoop, TheModelessDialogTakesItsKeys) {
  static int childKeys = 0;
  childKeys = 0;
  g_frame = guitest::CreateTestWindow({10, 10, 210, 110}, [](HWND, UINT msg, WPARAM, LPARAM, bool* handled) {
    if (msg == WM_APP) PostQuitMessage(0);
    *handled = msg == WM_APP;
    return LRESULT(0);
  });
  HWND dialog = guitest::CreateTestWindow({220, 10, 420, 110});
  HWND child = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 80, 24, dialog,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(child, nullptr);
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(child, GWLP_WNDPROC));
  static WNDPROC s_original = nullptr;
  s_original = original;
  SetWindowLongPtrA(child, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) {
                      if (m == WM_KEYDOWN && wp == VK_TAB) ++childKeys;
                      return CallWindowProcA(s_original, w, m, wp, lp);
                    }));
  // No modeless dialog: the tab key is dispatched to the control.
  EXPECT_EQ(EnableActiveModelessDialog(1), 0);
  RunWithKey(child, VK_TAB);
  EXPECT_EQ(childKeys, 1);
  // The dialog's keys go to dialog navigation instead.
  SetActiveModelessDialog(dialog);
  RunWithKey(child, VK_TAB);
  EXPECT_EQ(childKeys, 1);
  EXPECT_EQ(EnableActiveModelessDialog(0), 0);
  EXPECT_FALSE(IsWindowEnabled(dialog));
  EXPECT_EQ(EnableActiveModelessDialog(1), 1);
  EXPECT_TRUE(IsWindowEnabled(dialog));
  ClearActiveModelessDialog();
  DestroyWindow(dialog);
}

}  // namespace
