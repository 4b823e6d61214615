// The small controls of the toolkit: the static control (labels and
// pictures) and the splitter bar. Each registers its window class through
// the control registration table.
//
// Interface: RegisterStaticClass, RegisterSplitterClass,
// UnregisterSplitterClass, CreateSplitter, RegisterAnimButtonClass,
// UnregisterAnimButtonClass.
#pragma once

#include <windows.h>

ATOM RegisterStaticClass(HINSTANCE module);

ATOM RegisterSplitterClass(HINSTANCE module);
void UnregisterSplitterClass(HINSTANCE module);
// A visible splitter child at (0, 100), 100 x 4, with an empty text.
HWND CreateSplitter(HINSTANCE instance, HWND parent, int id);

// --- Animated button (AnimButton) ---
// Registers the class and sets up its process-wide frame cache; the
// unregistration frees the cached frames and the shared pack index.
ATOM RegisterAnimButtonClass(HINSTANCE module);
void UnregisterAnimButtonClass(HINSTANCE module);
