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

// The toolkit's shared services as the main program's windows call them:
// drawing from bitmap pieces, palette fills, the mouse hook, window words,
// caption placement, lists, range sets and sorting. Each is the library's
// own helper of the same job under its exported name.
struct KeyedList;
struct KeyedListNode;

extern "C" {

FACET_API void* ccLookupDefaults(HWND window, int slot);

FACET_API int ccBuildThreePiece(PackedDib* image, PackedDib* start, PackedDib* middle, PackedDib* end,
                                int vertical);
FACET_API int ccDrawThreePiece(HDC dc, const RECT* rect, PackedDib* start, PackedDib* middle, PackedDib* end,
                               int vertical);
FACET_API void TileBitmap(HDC dc, PackedDib* bitmap, const RECT* rect);
FACET_API void ccDrawFrameBorder(HWND window, const RECT* windowRect, const FrameSet* frame,
                                 HPALETTE palette);
FACET_API int ccFillRectBrush(HDC dc, const RECT* rect, HBRUSH brush);
FACET_API int ccFillRectPalette(HDC dc, const RECT* rect, int paletteIndex);
FACET_API HPALETTE ccSelectPalette(HDC dc, void* ignored, HPALETTE palette);
FACET_API LRESULT ccParentPaintBackground(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
FACET_API PackedDib* ccLoadResourceBitmap(HINSTANCE module, int id);
FACET_API void RedrawModuleWindows(HWND window);
FACET_API HFONT ccCreatePointFont(const char* face, int points, int weight, int charset);

FACET_API int ccCaptureMouse(HWND window);
FACET_API void ccReleaseMouse(void);
FACET_API void ccTrackMouseOwner(HWND window);
FACET_API void ccNcToClientMouse(HWND window, UINT* message, WPARAM* wParam, LPARAM* lParam);
FACET_API int ccDialogTabKey(HWND window, WPARAM virtualKey);
FACET_API int ccWheelScrollLines(void);

FACET_API LONG ccGetWindowWord(HWND window, int offset, int index);
FACET_API LONG ccSetWindowWord(HWND window, int offset, int index, LONG value);
FACET_API int ccControlRectInParent(HWND window, RECT* out);
FACET_API void ccScreenRectToClient(HWND window, RECT* rect);
FACET_API int ccApplyCaptionPlacement(HWND window);
FACET_API const WCHAR* ccSkipWideString(const WCHAR* text);
FACET_API int ccWideToNarrow(char* destination, const WCHAR* text);

FACET_API KeyedList* ccListCreate(unsigned extraBytes);
FACET_API void ccListInit(KeyedList* list, unsigned extraBytes);
FACET_API void* ccListAppend(KeyedList* list, const void* data, unsigned size, int where);
FACET_API void* ccListStep(KeyedList* list, int steps, int origin);
FACET_API void* ccListFind(KeyedList* list, const void* key,
                           int (*compare)(const void* key, const void* data));
FACET_API int ccListRemoveNode(KeyedList* list, KeyedListNode* node);
FACET_API int ccListClear(KeyedList* list);
FACET_API void ccListDestroy(KeyedList* list);

FACET_API int ccRangeSetContains(const KeyedList* set, int index);
FACET_API int ccRangeSetNext(const KeyedList* set, int index, int* out);
FACET_API int ccRangeSetCount(const KeyedList* set);
FACET_API int ccRangeSetSelect(KeyedList* set, int index, int on);
FACET_API int ccRangeSetAdd(KeyedList* set, int first, int last);
FACET_API int ccRangeSetRemove(KeyedList* set, int first, int last);
FACET_API int ccRangeSetInsert(KeyedList* set, int index, int on);
FACET_API int ccRangeSetDelete(KeyedList* set, int index);

FACET_API void ccSort(void* base, unsigned count, unsigned size,
                      int (*compare)(const void*, const void*, void*), void (*swap)(void*, void*, void*),
                      void* context);

}  // extern "C"
