// Small Win32 helpers shared by the controls, windows and menus of the
// library: fonts by point size, writable bitmap resources, rectangle fills in
// palette colours, palette plumbing and window utilities.
//
// Colour indices are indices into the shared palette: on screen they are
// drawn as PALETTEINDEX colours through the palette selected into the DC, in
// 8-bit DIB sections as DIBINDEX colours of the section's colour table.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ccdefaults.h"

#ifndef DIBINDEX  // missing from some SDK headers
#define DIBINDEX(n) MAKELONG((n), 0x10FF)
#endif

HFONT CreateFontForPoints(const char* face, int points, int weight, int charset);
PackedDib* LoadWritableBitmapResource(HINSTANCE module, int id);

int GetWindowRectInParent(HWND window, RECT* out);
void ScreenRectToClient(HWND window, RECT* rect);
LRESULT CallWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Window extra bytes are laid out in slots. A value slot is a 4-byte LONG
// (GetExtraLong/SetExtraLong count in these); a slot that holds a pointer or
// a handle is a LONG_PTR: 4 bytes in the 32-bit build, whose layouts are the
// documented ones, and 8 bytes in the 64-bit build.
constexpr int kValueSlotBytes = 4;
constexpr int kPointerSlotBytes = int(sizeof(LONG_PTR));
LONG GetExtraLong(HWND window, int base, int slot);
LONG SetExtraLong(HWND window, int base, int slot, LONG value);
void NonClientMouseToClient(HWND window, UINT* message, WPARAM* keyFlags, LPARAM* point);
int HandleDialogNavigationKey(HWND window, WPARAM virtualKey);
const WCHAR* SkipWideString(const WCHAR* text);
int NarrowWideString(char* out, const WCHAR* text);

int PaintRectWithBrush(HDC dc, const RECT* rect, HBRUSH brush);
int PaintRectWithPaletteIndex(HDC dc, const RECT* rect, int colourIndex);
void RedrawWindowsOfInstance(HWND window);
void RedrawWindowsOfModule(HINSTANCE module);

HPALETTE SelectAndRealizePalette(HDC dc, void* ignored, HPALETTE palette);
UINT SetDibSectionColorsFromPalette(HDC sectionDc, HPALETTE palette);
int PaletteEntriesToRgbQuads(const PALETTEENTRY* entries, RGBQUAD* quads, int count);
HPALETTE CopyPalette(HPALETTE palette);
