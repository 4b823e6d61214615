// The control library's core inside Facet: the library module, class
// registration at load, the wheel setting and caption placement.
//
// Interface: RegisterControlClasses, UnregisterControlClasses,
// GetControlModule, LoadControlFamilyBitmaps, GetWheelScrollLines,
// ApplyCaptionPlacement, RegisterLibraryClasses, UnregisterLibraryClasses.
#pragma once

#include <windows.h>

#include "ccdefaults.h"

// The control classes, in registration order.
extern const char* const kControlClassNames[16];

int RegisterControlClasses(HINSTANCE libraryModule);
void UnregisterControlClasses();
HINSTANCE GetControlModule();

// The apply steps of ccSetControlData, family by family (ccloaders.cpp).
void LoadControlFamilyBitmaps(CcDefaults* record);

int GetWheelScrollLines();
// The same for a system of the 9x family or NT below 4 (oldSystem) or a later one.
int WheelScrollLinesFor(bool oldSystem);
int ApplyCaptionPlacement(HWND window);

// Everything the library registers at the first process attach and takes
// back at the last detach (dllmain.cpp calls these; tests call them too).
void RegisterLibraryClasses(HINSTANCE libraryModule);
void UnregisterLibraryClasses(HINSTANCE libraryModule);
