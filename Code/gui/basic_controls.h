// The small controls of the toolkit: the static control (labels and
// pictures), the splitter bar, the edit, the spin edit, the spin list, the
// track bar, the tab control, the combo box, the bitmap, hot and animated
// buttons and the colour text control. Each registers its window class
// through the control registration table (controls.cpp); some unregister
// with their shared resources when the library detaches.
//
// Interface: RegisterStaticClass, RegisterSplitterClass,
// UnregisterSplitterClass, CreateSplitter, RegisterEditClass,
// UnregisterEditClass, EditFrameNcCalcSize, EditFrameNcPaint,
// RegisterSpinEditClass, RegisterSpinListClass,
// RegisterTrackbarClass, RegisterTabClass, GetTabRect,
// RegisterComboBoxClass, RegisterBmpButtonClass, RegisterAnimButtonClass,
// UnregisterAnimButtonClass, RegisterColorTextClass,
// UnregisterColorTextClass, RegisterHotButtonClass, CurrentHotButton.
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
// The frame of edits, shared by the spin edit: with WS_BORDER or extended
// style 0x800, `editFrameWidth` wide (the border painter's width when the
// defaults have one). The calc-size step shrinks the rectangle by it; the
// paint step draws it with the border painter, else the edit frame pieces,
// else a plain line. Both do nothing for an unframed window.
void EditFrameNcCalcSize(HWND w, RECT* r);
void EditFrameNcPaint(HWND w);

// --- Spin edit (spinedit_wnd.cpp; arithmetic in spin_value.h)
// A numeric field with two arrow buttons. Its creation text is
// "minimum:maximum:value:step"; the control defaults' spinEdit values are
// the ids of its field and arrows and the resource id of the arrow bitmap
// whose size the arrows take.
ATOM RegisterSpinEditClass(HINSTANCE module);
enum : UINT {
  SPE_SETRANGE = 0x8651,     // wParam the value (0xFFFFFFFF: keep), lParam minimum | maximum << 16
  SPE_GETRANGE = 0x8652,     // returns minimum | maximum << 16
  SPE_GETVALUE = 0x8653,     // also SBM_GETPOS
  SPE_SETVALUE = 0x8654,     // wParam the value, clamped; also SBM_SETPOS
  SPE_SETRANGE_ALT = 0x402,  // the two range messages under other numbers
  SPE_GETRANGE_ALT = 0x403,
};
// WM_COMMAND codes to the parent: the value as text, in a buffer of
// kSpinTextBuffer bytes that a read-only spin edit's parent may rewrite
// before it is shown; and the value changed (lParam the spin edit).
enum : WORD { SPEN_FORMAT = 0x5B, SPEN_CHANGED = 0x5C };
constexpr int kSpinTextBuffer = 64;
// Indexes into CcDefaults::spinEdit.
enum { kSpinFieldId = 0, kSpinUpId = 1, kSpinDownId = 2, kSpinArrowBitmap = 3 };
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
// --- Hot button (hotbutton_wnd.cpp): CGUIHotButton, a copy of the bitmap
// button's class that lights up under the mouse.
ATOM RegisterHotButtonClass(HINSTANCE module);
// The button that is lit now (it holds the toolkit's mouse capture), or null.
HWND CurrentHotButton();
