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
