// The status line calls (see status_line.h). All go to the main frame.
#include "status_line.h"

#include "frame_links.h"
#include "frame_rules.h"
#include "main_frame.h"

void SetStatusText(int part, const char* text) {
  SendMessageA(GetMainFrame(), CWM_STATUS_SETTEXT, WPARAM(part), LPARAM(text));
}

void ClearStatusPart(int part) { SendMessageA(GetMainFrame(), CWM_STATUS_SETTEXT, WPARAM(part), 0); }

void ClearStatusText() { SendMessageA(GetMainFrame(), CWM_STATUS_SETTEXT, kStatusAllParts, 0); }

void SetStatusBarParts(HWND statusBar, int width) {
  int rights[3];
  const int count = shell::StatusPartRights(GetFrameLinks().currentRoom(), width, rights);
  SendMessageA(statusBar, CWM_STATUS_LAYOUT, WPARAM(count), LPARAM(rights));
}

void SetProgress(int percent) {
  HWND frame = GetMainFrame();
  SendMessageA(frame, CWM_STATUS_KIND, kProgressPart, 2);
  // The progress part's range is 0..100: the percentage is its position.
  if (percent >= 1) SendMessageA(frame, CWM_STATUS_PROGRESS, kProgressPart, shell::ProgressPosition(percent));
}

void PostProgress(int position) { PostMessageA(GetMainFrame(), CWM_STATUS_PROGRESS, kProgressPart, position); }
