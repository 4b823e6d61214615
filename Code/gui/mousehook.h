// The thread mouse hook: lets a control that captured the mouse, or the
// owner of a menu bar, see every mouse event of its thread.
//
// A capture window receives each event as a non-client message in screen
// coordinates (client messages 0x200.. become 0xA0..), wherever it happens,
// and turns it back with NonClientMouseToClient; the menu owner is posted
// CWM_MOUSEEVENT (wParam: hit-test code low, mouse message high; lParam: the
// window the event was aimed at).
//
// Interface: BeginMouseCapture, EndMouseCapture, SetMenuOwnerWindow,
// ClearMenuOwnerWindow, GetMenuOwnerWindow, MouseHookProc.
#pragma once

#include <windows.h>

int BeginMouseCapture(HWND window);
void EndMouseCapture();
void SetMenuOwnerWindow(HWND window);
void ClearMenuOwnerWindow();
HWND GetMenuOwnerWindow();
LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM mouseData);
