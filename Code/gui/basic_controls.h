// The small controls of the toolkit: the static control (labels and
// pictures) and the splitter bar. Each registers its window class through
// the control registration table.
//
// Interface: RegisterStaticClass, RegisterSplitterClass,
// UnregisterSplitterClass, CreateSplitter.
#pragma once

#include <windows.h>

ATOM RegisterStaticClass(HINSTANCE module);

ATOM RegisterSplitterClass(HINSTANCE module);
void UnregisterSplitterClass(HINSTANCE module);
// A visible splitter child at (0, 100), 100 x 4, with an empty text.
HWND CreateSplitter(HINSTANCE instance, HWND parent, int id);

// --- Bitmap button (button_wnd.cpp; the record and messages in bmpbutton.h)
// The push button, check box, radio button and group box of the skinned
// dialogs. The hot button copies this class, so it registers first.
ATOM RegisterBmpButtonClass(HINSTANCE module);
