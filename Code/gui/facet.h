// Facet, the GUI toolkit: the exports that the main program calls.
//
// Named fonts: cguiFontInit, cguiRegisterFont, cguiRemoveFont, cguiFindFont,
// cguiGetFont, cguiFontDestroy (slots 0..5, per process).
// Control library: ccInit, ccSetControlData, ccGetDefaultData,
// ccSetControlPalette.
#pragma once

#include <windows.h>

#include "ccdefaults.h"

#if defined(FACET_BUILDING_DLL)
#define FACET_API __declspec(dllexport)
#elif defined(FACET_STATIC)  // the library's own tests link its objects directly
#define FACET_API
#else
#define FACET_API __declspec(dllimport)
#endif

constexpr int kCguiFontSlots = 6;

// Private messages of the library.
enum : UINT {
  CWM_MOUSEEVENT = 0x8401,     // a mouse event seen by the hook, to the menu owner
  CWM_GETBACKGROUND = 0x8605,  // paint your background into a bitmap
};

extern "C" {

FACET_API int cguiFontInit(void);
FACET_API HFONT cguiRegisterFont(int slot, HFONT font, const char* face, int points, int weight, int charset);
FACET_API int cguiRemoveFont(int slot);
FACET_API int cguiFindFont(int reserved, int points, int weight, int charset);
FACET_API HFONT cguiGetFont(int slot);
FACET_API int cguiFontDestroy(void);

FACET_API CcDefaults* ccInit(HINSTANCE module);
FACET_API int ccSetControlData(HINSTANCE module, CcDefaults* record);
FACET_API CcDefaults* ccGetDefaultData(void);
FACET_API HPALETTE ccSetControlPalette(void* ignored, HPALETTE palette);

}  // extern "C"
