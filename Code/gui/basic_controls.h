// The small controls of the toolkit: the static control (labels and
// pictures) and the splitter bar. Each registers its window class through
// the control registration table.
//
// Interface: RegisterStaticClass, RegisterSplitterClass,
// UnregisterSplitterClass, CreateSplitter, RegisterEditClass,
// UnregisterEditClass.
#pragma once

#include <windows.h>

ATOM RegisterStaticClass(HINSTANCE module);

ATOM RegisterSplitterClass(HINSTANCE module);
void UnregisterSplitterClass(HINSTANCE module);
// A visible splitter child at (0, 100), 100 x 4, with an empty text.
HWND CreateSplitter(HINSTANCE instance, HWND parent, int id);

// The edit: a superclass of the system edit. Unregistering deletes the
// class brush that the first edit made.
ATOM RegisterEditClass(HINSTANCE module);
void UnregisterEditClass(HINSTANCE module);
// --- spin list (spinlist_wnd.cpp): CC20SpinList. Interface: RegisterSpinListClass.
ATOM RegisterSpinListClass(HINSTANCE module);
// The track bar and the tab control (trackbar_wnd.cpp, tab_wnd.cpp).
ATOM RegisterTrackbarClass(HINSTANCE module);
ATOM RegisterTabClass(HINSTANCE module);
// The rectangle of the tab at index (display order) in the tab control's
// client area; 0 when the window is no tab control or has no such tab.
int GetTabRect(HWND tabs, int index, RECT* out);
// --- Bitmap button (button_wnd.cpp; the record and messages in bmpbutton.h)
// The push button, check box, radio button and group box of the skinned
// dialogs. The hot button copies this class, so it registers first.
ATOM RegisterBmpButtonClass(HINSTANCE module);
// --- Hot button (hotbutton_wnd.cpp): CGUIHotButton, a copy of the bitmap
// button's class that lights up under the mouse.
ATOM RegisterHotButtonClass(HINSTANCE module);
// The button that is lit now (it holds the toolkit's mouse capture), or null.
HWND CurrentHotButton();
