// The teaching screens' own windows (lesson, curriculum) are owned by the
// main frame and must stay in front of it. Wine on a display without a
// window manager raises a clicked top-level window above the windows it
// owns, so a click on the board would hide the lesson behind the frame;
// the windows check their place on a timer and come back to the front.
//
// Interface: KeepAboveOwner, KeepInFrontOfPanels, kKeepAboveOwnerMs.
#pragma once

#include <windows.h>

constexpr UINT kKeepAboveOwnerMs = 150;

// Puts a visible owned window back above its owner when the owner has come
// in front of it; the active window does not change. True when it moved.
bool KeepAboveOwner(HWND window);

// KeepAboveOwner, and in front of the owner's visible tool windows (the
// panels) that overlap it.
void KeepInFrontOfPanels(HWND window);
