#include "window_order_win32.h"

bool KeepAboveOwner(HWND window) {
  if (!window || !IsWindowVisible(window)) return false;
  HWND owner = GetWindow(window, GW_OWNER);
  if (!owner || !IsWindowVisible(owner)) return false;
  // Not while a drag runs (a piece on the board): restacking windows under
  // a held button can end the drag; the next tick after it does.
  if (GetCapture() || GetAsyncKeyState(VK_LBUTTON) < 0) return false;
  // The owner stands above the window when it is found among the windows
  // in front of it.
  for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    if (above != owner) continue;
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return true;
  }
  return false;
}

// A teaching window the user works in also stays in front of the program's
// panels (the coach's window, say) where they overlap it. The panels keep
// only to their owner, so the two never take turns.
void KeepInFrontOfPanels(HWND window) {
  if (KeepAboveOwner(window)) return;
  HWND owner = GetWindow(window, GW_OWNER);
  if (!owner || GetCapture() || GetAsyncKeyState(VK_LBUTTON) < 0) return;
  RECT own, other, common;
  GetWindowRect(window, &own);
  for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    if (!IsWindowVisible(above) || GetWindow(above, GW_OWNER) != owner) continue;
    if (!(GetWindowLongPtrA(above, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) continue;
    GetWindowRect(above, &other);
    if (!IntersectRect(&common, &own, &other)) continue;
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return;
  }
}
