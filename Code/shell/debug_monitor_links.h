// How the engine link reaches the debug windows (the engine monitors): one
// small table the Windows build points at the debug windows; by default
// no monitor exists, so nothing is shown or written.
//
// Interface: DebugMonitorLinks, GetDebugMonitorLinks.
#pragma once

struct DebugMonitorLinks {
  // Numbered windows 24..26.
  bool (*isShown)(int window);
  // Shows or hides the monitor and checks or unchecks its menu item.
  void (*show)(int window, bool show, int menuCommand);
  void (*write)(int window, const char* text);
};

DebugMonitorLinks& GetDebugMonitorLinks();
