// The painted frame's geometry: frame flags from the window style, the
// regions of caption, buttons, edges and corners, hit testing and the
// minimum tracking size. OS-free; frame_window.cpp measures the bitmaps and
// paints.
//
// Interface: FrameFlagsFromStyle, LayoutFrame, HitTestFrame, MinTrackSize.
#pragma once

#include <cstdint>

struct PackedDib;

// Frame flags (kept in the window record).
enum : uint32_t {
  FF_PARAMS = 0x1,
  FF_TOGGLE = 0x20,
  FF_CLOSE = 0x100,
  FF_MAXIMIZE = 0x200,
  FF_MINIMIZE = 0x400,
  FF_CAPTION = 0x800,
  FF_MENUBAR = 0x2000,
  FF_BORDER = 0x4000,
  FF_DLGFRAME = 0x8000,
  FF_HSCROLL = 0x10000,
  FF_VSCROLL = 0x20000,
  FF_THICKFRAME = 0x40000,
  FF_SYSMENU = 0x80000,
};

// Region numbers are the hit-test codes they answer.
enum FrameRegionId {
  FR_CLIENT = 1,
  FR_CAPTION = 2,
  FR_SYSMENU = 3,
  FR_GROWBOX = 4,
  FR_MENU = 5,
  FR_HSCROLL = 6,
  FR_VSCROLL = 7,
  FR_MINIMIZE = 8,
  FR_MAXIMIZE = 9,
  FR_LEFT = 10,
  FR_RIGHT = 11,
  FR_TOP = 12,
  FR_TOPLEFT = 13,
  FR_TOPRIGHT = 14,
  FR_BOTTOM = 15,
  FR_BOTTOMLEFT = 16,
  FR_BOTTOMRIGHT = 17,
  FR_BORDER = 18,
  FR_RESTORE = 19,
  FR_CLOSE = 20,
  FR_TOGGLE = 21,
  FR_COUNT = 22
};

struct CwFrameRegion {
  int32_t rect[4];  // left, top, right, bottom, from the window's top-left corner
  int32_t hit;
  PackedDib* bitmaps[2];
};

// Sizes measured from the first bitmap of each piece (0 when missing).
struct FrameMetrics {
  int top, bottom, left, right;                // edge thickness
  int tlW, tlH, trW, trH, blW, blH, brW, brH;  // corners
  int caption;                                 // caption height
  int buttonW, buttonH;                        // the normal minimize bitmap
};

uint32_t FrameFlagsFromStyle(uint32_t style);
// 3 sizable, 2 dialog frame, 1 border, 0 none.
int FrameKindFromFlags(uint32_t flags);

// Lays the regions out for a W x H window. menuHeight(context, client
// rect) gives the height the menu bar takes off the client's top (called
// only with FF_MENUBAR). Region 1 ends as the client rectangle.
void LayoutFrame(CwFrameRegion* regions, uint32_t flags, int kind, const FrameMetrics& m, int width,
                 int height, int hscrollHeight, int vscrollWidth,
                 int (*menuHeight)(void* context, const int32_t client[4]), void* context);

int HitTestFrame(const CwFrameRegion* regions, int x, int y);

void MinTrackSize(const CwFrameRegion* regions, int* width, int* height);
