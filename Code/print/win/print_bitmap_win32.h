// A packed device-independent bitmap (header, colour table, pixels in one
// movable global block) made from a bitmap handle and a palette.
#pragma once

#include <windows.h>

// `palette` null: the default palette. `compression` other than BI_RGB
// leaves room for 1.5 times the plain image. Null on failure.
HGLOBAL PackBitmap(HBITMAP bitmap, HPALETTE palette, DWORD compression);
