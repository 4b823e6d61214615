// Debug windows: modeless text windows fed from any thread (the engine
// monitors 24, 25 and 26, and traces), with pause, clear, font and a log
// file, chosen from their context menu.
//
// Interface: CreateDebugWindow, DestroyDebugWindow, DebugWindowPrintf,
// DebugWindowPrintfSync, ShowMonitorWindow, HideMonitorWindow,
// CreateEngineMonitors, DestroyEngineMonitors, InstallDebugMonitors.
#pragma once

#include <windows.h>

// A number below 1: not a numbered window.
HWND CreateDebugWindow(int number);
void DestroyDebugWindow(HWND window);
// Any thread. Nothing for a null or hidden window or an empty text; a text
// longer than one message goes in several.
void DebugWindowPrintf(HWND window, const char* format, ...);
void DebugWindowPrintfSync(HWND window, const char* format, ...);
// With a number: the numbered window and its menu check; else `window`.
void ShowMonitorWindow(HWND window, int number);
void HideMonitorWindow(HWND window, int number);
// Windows 25 (White) and 24 (Black), hidden, saying no engine is attached.
int CreateEngineMonitors();
int DestroyEngineMonitors();
// Points the engine link's monitor calls at these windows.
void InstallDebugMonitors();
