// The numbered-window table over the system's windows, and the links that
// point the main frame and the shell's service table at it.
#include <windows.h>

#include "frame_links.h"
#include "room_switch.h"
#include "shell_services.h"
#include "window_table.h"
#include "window_table_win32.h"

static_assert(sizeof(WindowPosRecord) == sizeof(WINDOWPOS), "a window-position record is the system's");
static_assert(sizeof(ShellRect) == sizeof(RECT), "a rectangle is the system's");

namespace {

HWND H(void* w) { return static_cast<HWND>(w); }

class SystemWindows final : public WindowSystem {
 public:
  void ScreenSize(int* width, int* height) override {
    *width = GetSystemMetrics(SM_CXSCREEN);
    *height = GetSystemMetrics(SM_CYSCREEN);
  }
  bool WindowRect(void* w, ShellRect* r) override {
    return IsWindow(H(w)) && GetWindowRect(H(w), reinterpret_cast<RECT*>(r));
  }
  bool ClientRect(void* w, ShellRect* r) override {
    return IsWindow(H(w)) && GetClientRect(H(w), reinterpret_cast<RECT*>(r));
  }
  void Show(void* w, bool show) override {
    if (IsWindow(H(w))) ShowWindow(H(w), show ? SW_SHOW : SW_HIDE);
  }
  void Enable(void* w, bool enable) override {
    if (IsWindow(H(w))) EnableWindow(H(w), enable);
  }
  void Place(void* w, const ShellRect& r, int show) override {
    if (!IsWindow(H(w))) return;
    SetWindowPos(H(w), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, Flags(show));
  }
  void BeginBatch(int count) override { batch_ = BeginDeferWindowPos(count); }
  void PlaceInBatch(void* w, const ShellRect& r, int show) override {
    if (!IsWindow(H(w))) return;
    if (batch_) batch_ = DeferWindowPos(batch_, H(w), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                        Flags(show));
    else Place(w, r, show);
  }
  void EndBatch() override {
    if (batch_) EndDeferWindowPos(batch_);
    batch_ = nullptr;
  }
  intptr_t Send(void* w, uint32_t m, uintptr_t wp, intptr_t lp) override {
    return IsWindow(H(w)) ? SendMessageA(H(w), m, wp, lp) : 0;
  }
  intptr_t Post(void* w, uint32_t m, uintptr_t wp, intptr_t lp) override {
    return IsWindow(H(w)) ? PostMessageA(H(w), m, wp, lp) : 0;
  }

 private:
  static UINT Flags(int show) {
    UINT f = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING;
    if (show > 0) f |= SWP_SHOWWINDOW;
    if (show == 0) f |= SWP_HIDEWINDOW;
    return f;
  }
  HDWP batch_ = nullptr;
};

SystemWindows g_windows;

intptr_t SendToWindow(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return window && IsWindow(H(window)) ? SendMessageA(H(window), message, wParam, lParam) : 0;
}

}  // namespace

void InstallSystemWindowTable() {
  SetWindowSystem(&g_windows);
  InstallWindowTableServices();
  ShellServices s = GetShellServices();
  s.sendToWindow = SendToWindow;
  s.getCurrentRoom = GetRoomNumber;
  SetShellServices(s);

  FrameLinks& l = GetFrameLinks();
  l.recordNumberedWindow = [](int id, HWND w) { NumberedWindowOp(WOP_SET_HANDLE, id, reinterpret_cast<intptr_t>(w)); };
  l.storedWindowRect = [](int id, RECT* out) {
    ShellRect r{};
    NumberedWindowOp(WOP_GET_RECT, id, reinterpret_cast<intptr_t>(&r));
    if (r.right <= r.left || r.bottom <= r.top) return 0;
    if (out) *out = RECT{r.left, r.top, r.right, r.bottom};
    return 1;
  };
  l.screenSize = [](int* w, int* h) {
    if (w) *w = GetScreenWidth();
    if (h) *h = GetScreenHeight();
  };
  l.setLayoutReset = [](int reset) { SetLayoutResetFlag(reset); };
  l.followFrame = [](HWND, const WINDOWPOS* pos) {
    OnFrameWindowPosChanged(reinterpret_cast<const WindowPosRecord*>(pos));
  };
  l.postToNumberedWindows = [](UINT m, WPARAM wp, LPARAM lp) { BroadcastToWindows(m, wp, lp, 1); };
  l.showNumberedWindow = [](int id, int command) { NumberedWindowOp(WOP_SHOW, id, command); };
  l.enableNumberedWindows = [](int enable) {
    for (int id = WIN_ADVICE; id <= WIN_ADVISOR_MONITOR; ++id)
      NumberedWindowOp(enable ? WOP_ENABLE : WOP_DISABLE, id, 0);
    NumberedWindowOp(enable ? WOP_ENABLE : WOP_DISABLE, WIN_NAVIGATION, 0);
  };
  l.currentRoom = [] {
    const int room = GetRoomNumber();
    return room >= 0 && room < kRoomCount ? room : 0;
  };
}
