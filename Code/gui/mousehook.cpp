// The thread mouse hook: see mousehook.h. One set of state per process,
// used on the user-interface thread only.
#include "mousehook.h"

#include "facet.h"

namespace {

HHOOK g_hook = nullptr;
HWND g_capture = nullptr;
HWND g_menuOwner = nullptr;

void Install(HWND window) {
  if (g_hook) return;
  DWORD thread = GetWindowThreadProcessId(window, nullptr);
  g_hook = SetWindowsHookExA(WH_MOUSE, MouseHookProc, nullptr, thread);
}

void Remove() {
  if (!g_hook) return;
  UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

void TellMenuOwner(UINT message, UINT hitCode, HWND target) {
  if (g_menuOwner) PostMessageA(g_menuOwner, CWM_MOUSEEVENT, MAKEWPARAM(hitCode, message), LPARAM(target));
}

}  // namespace

int BeginMouseCapture(HWND window) {
  if (g_capture != window) {
    g_capture = window;
    Remove();
  }
  if (!g_hook) {
    SetCapture(window);
    Install(window);
  }
  return g_hook != nullptr;
}

void EndMouseCapture() {
  HWND previous = g_capture;
  g_capture = nullptr;
  if (!g_menuOwner) {
    // A window that took the capture from the capture window keeps it (a
    // control ending its capture on WM_CAPTURECHANGED lands here).
    HWND holder = GetCapture();
    if (!previous || !holder || holder == previous) ReleaseCapture();
    Remove();
  }
}

void SetMenuOwnerWindow(HWND window) {
  if (g_menuOwner != window) Remove();
  g_menuOwner = window;
  // Clearing the owner this way must not leave a capture window without
  // the hook it relies on.
  HWND target = window ? window : g_capture;
  if (target && !g_hook) Install(target);
}

void ClearMenuOwnerWindow() {
  g_menuOwner = nullptr;
  if (!g_capture) Remove();
}

HWND GetMenuOwnerWindow() { return g_menuOwner; }

LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM mouseData) {
  auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(mouseData);
  if (code < 0 || !info) return CallNextHookEx(g_hook, code, message, mouseData);
  UINT msg = UINT(message);
  if (msg < WM_MOUSEFIRST && info->hwnd == g_capture && g_capture)
    return CallNextHookEx(g_hook, code, message, mouseData);
  if (!g_capture) {
    TellMenuOwner(msg, info->wHitTestCode, info->hwnd);
    return 0;
  }
  LPARAM screenPoint = MAKELPARAM(info->pt.x, info->pt.y);
  UINT hit = 0;
  if (info->hwnd == g_capture) hit = UINT(SendMessageA(g_capture, WM_NCHITTEST, 0, screenPoint)) & 0xFFFF;
  if (IsWindow(g_capture)) {
    UINT nc = msg >= WM_MOUSEFIRST ? msg - (WM_MOUSEMOVE - WM_NCMOUSEMOVE) : msg;
    PostMessageA(g_capture, nc, hit, screenPoint);
  }
  TellMenuOwner(msg, info->wHitTestCode, info->hwnd);
  return 1;  // swallowed: the capture window has it
}
