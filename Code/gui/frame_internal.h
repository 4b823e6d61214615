// What the parts of the framed-window code share inside the library:
// frame_defaults.cpp (defaults and set-up), frame_paint.cpp (layout and
// painting) and frame_window.cpp (the window procedures).
#pragma once

#include <windows.h>

#include "facet_frame.h"

inline int DibW(const PackedDib* d) { return d ? d->biWidth : 0; }
inline int DibH(const PackedDib* d) { return d ? (d->biHeight < 0 ? -d->biHeight : d->biHeight) : 0; }

CwDefaults* FrameDefaults();
void PrepareFrameSet(CwFrameBitmapSet* set, int remap);
HFONT MakeCaptionFont(const CwFrameBitmapSet* set);

// Lays the regions out for a window of that size and picks its frame set.
void FrameLayout(CwWindowData* data, int width, int height);
// Composes caption and edges for both looks and gives the buttons their
// bitmaps; sets the status bar's rectangle.
void FrameBuildBitmaps(HWND window, CwWindowData* data);
// Deletes the composed caption and edge bitmaps.
void FrameFreeStrips(CwWindowData* data);
void FramePaint(HWND window, CwWindowData* data, int look);
void FramePaintRegion(HWND window, CwWindowData* data, int region, int state);
void FrameRepaintStatus(HWND window, CwWindowData* data);
HPALETTE FrameRealize(HDC dc, CwWindowData* data);
// The set the frame uses: its own, or the defaults' set of its frame kind.
CwFrameBitmapSet* FramePickSet(CwWindowData* data);
