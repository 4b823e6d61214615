// The small controls of the toolkit: the static control (labels and
// pictures), the splitter bar, the edit, the spin list, the track bar, the
// tab control, the bitmap button, the animated button and the colour text
// control. Each registers its window class through the control
// registration table (controls.cpp); some unregister with their shared
// resources when the library detaches.
//
// Interface: RegisterStaticClass, RegisterSplitterClass,
// UnregisterSplitterClass, CreateSplitter, RegisterEditClass,
// UnregisterEditClass, RegisterSpinListClass, RegisterTrackbarClass,
// RegisterTabClass, GetTabRect, RegisterBmpButtonClass,
// RegisterAnimButtonClass, UnregisterAnimButtonClass,
// RegisterColorTextClass, UnregisterColorTextClass.
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
// --- combo box (combobox_wnd.cpp): CGUIComboBox. Interface: RegisterComboBoxClass.
ATOM RegisterComboBoxClass(HINSTANCE module);
// --- Bitmap button (button_wnd.cpp; the record and messages in bmpbutton.h)
// The push button, check box, radio button and group box of the skinned
// dialogs. The hot button copies this class, so it registers first.
ATOM RegisterBmpButtonClass(HINSTANCE module);
// --- Animated button (AnimButton) ---
// Registers the class and sets up its process-wide frame cache; the
// unregistration frees the cached frames and the shared pack index.
ATOM RegisterAnimButtonClass(HINSTANCE module);
void UnregisterAnimButtonClass(HINSTANCE module);
// CGUIColorText: coloured entries wrapped word by word, with a current
// entry chosen by mouse or keys (messages and ColorTextEntry in
// colortext_layout.h).
ATOM RegisterColorTextClass(HINSTANCE module);
void UnregisterColorTextClass(HINSTANCE module);
