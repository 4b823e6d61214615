// The small controls of the toolkit: the static control (labels and
// pictures), the splitter bar and the colour text control. Each registers
// its window class through the control registration table.
//
// Interface: RegisterStaticClass, RegisterSplitterClass,
// UnregisterSplitterClass, CreateSplitter, RegisterColorTextClass,
// UnregisterColorTextClass.
#pragma once

#include <windows.h>

ATOM RegisterStaticClass(HINSTANCE module);

ATOM RegisterSplitterClass(HINSTANCE module);
void UnregisterSplitterClass(HINSTANCE module);
// A visible splitter child at (0, 100), 100 x 4, with an empty text.
HWND CreateSplitter(HINSTANCE instance, HWND parent, int id);

// CGUIColorText: coloured entries wrapped word by word, with a current
// entry chosen by mouse or keys (messages and ColorTextEntry in
// colortext_layout.h).
ATOM RegisterColorTextClass(HINSTANCE module);
void UnregisterColorTextClass(HINSTANCE module);
