// A device context seen through one narrow door: each platform drawing call
// by its number with its arguments as machine words (pointers cast), so that
// RwCDC's routing between its two contexts builds and is tested without the
// platform. The Windows side forwards each call to GDI.
//
// Interface: DcValue, DcCall, DcCallName, DcPoint, DcSize, DcRect,
// DeviceContext.
#pragma once

#include <cstdint>
#include <initializer_list>

using DcValue = intptr_t;

// Laid out as the platform's POINT, SIZE and RECT.
struct DcPoint {
  int32_t x, y;
};
struct DcSize {
  int32_t cx, cy;
};
struct DcRect {
  int32_t left, top, right, bottom;
};

enum class DcCall : int32_t {
  // Setters: output context first, then the attribute context.
  kSetBkColor, kSetBkMode, kSetPolyFillMode, kSetROP2, kSetStretchBltMode, kSetTextColor, kSetMapMode,
  kSetViewportOrg, kOffsetViewportOrg, kSetViewportExt, kScaleViewportExt, kSetWindowOrg, kOffsetWindowOrg,
  kSetWindowExt, kScaleWindowExt, kSelectClipRgn, kExcludeClipRect, kIntersectClipRect, kOffsetClipRgn,
  kSetTextAlign, kSetTextJustification, kSetTextCharacterExtra, kSetMapperFlags, kSetArcDirection,
  kSetColorAdjustment, kExtSelectClipRgn, kSelectObject, kSelectStockObject, kMoveTo,
  // Drawing and the document: output context.
  kSelectPalette, kLineTo, kArcTo, kPolyDraw, kPolylineTo, kPolyBezierTo, kSelectClipPath, kTextOut,
  kTabbedTextOut, kDrawText, kRectangle, kEscape, kSetAbortProc, kStartDoc, kStartPage, kEndPage, kEndDoc,
  kAbortDoc, kSaveDC, kRestoreDC,
  // Queries: attribute context.
  kGetDeviceCaps, kGetTextMetrics, kGetTabbedTextExtent, kGetViewportExt, kGetWindowExt, kGetClipBox,
  kGetCurrentPosition,
  kCount
};

const char* DcCallName(DcCall call);

class DeviceContext {
 public:
  virtual ~DeviceContext() = default;
  virtual DcValue Call(DcCall call, std::initializer_list<DcValue> args) = 0;
  // Copies this context's clip region to `other`; false on failure.
  virtual bool CopyClipRegionTo(DeviceContext& other) = 0;
  // Deletes the platform context.
  virtual void Delete() = 0;
};
