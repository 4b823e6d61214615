// Size limits of the game room's framed tool windows. The toolkit's framed
// window answers the track-size question (WM_GETMINMAXINFO) itself, so a
// window with limits of its own also holds them whenever its size changes:
// a drag, a stored placement or a layout.
//
// Interface: HoldTrackSize.
#pragma once

#include <windows.h>

// Keeps the size a WM_WINDOWPOSCHANGING carries between `limits`' minimum
// and maximum tracking sizes; a move without a size change is left alone.
inline void HoldTrackSize(WINDOWPOS* pos, const MINMAXINFO& limits) {
  if (!pos || (pos->flags & SWP_NOSIZE)) return;
  auto hold = [](int value, LONG low, LONG high) { return value < low ? int(low) : value > high ? int(high) : value; };
  pos->cx = hold(pos->cx, limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x);
  pos->cy = hold(pos->cy, limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y);
}
