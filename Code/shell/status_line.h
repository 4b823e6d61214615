// The main frame's status line as the program drives it: text in parts 0
// and 2, a progress bar in part 1, the parts laid out for the room.
//
// Interface: SetStatusText, ClearStatusPart, ClearStatusText,
// SetStatusBarParts, SetProgress, PostProgress.
#pragma once

#include <windows.h>

// Messages the frame's status bar answers.
enum : UINT {
  CWM_STATUS_SETTEXT = 0x8504,   // part (256: all), text or null
  CWM_STATUS_LAYOUT = 0x8507,    // count, right edges
  CWM_STATUS_RIGHTS = 0x8508,    // count, right edges out
  CWM_STATUS_KIND = 0x8509,      // part, kind (2: progress 0..100)
  CWM_STATUS_PROGRESS = 0x8511,  // part, position
};
constexpr WPARAM kStatusAllParts = 256;
constexpr int kProgressPart = 1;

void SetStatusText(int part, const char* text);
void ClearStatusPart(int part);
void ClearStatusText();
// Lays out the parts of `statusBar` (the frame) for a frame `width` pixels
// wide, as the current room wants them.
void SetStatusBarParts(HWND statusBar, int width);
// Turns part 1 into a progress bar and, from 1 per cent on, shows percent.
void SetProgress(int percent);
void PostProgress(int position);
