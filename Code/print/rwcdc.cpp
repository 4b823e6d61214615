// RwCDC's routing between its output and attribute contexts.

#include "rwcdc.h"

#include <cstdlib>

namespace {

const char* const kCallNames[] = {
    "SetBkColor", "SetBkMode", "SetPolyFillMode", "SetROP2", "SetStretchBltMode", "SetTextColor", "SetMapMode",
    "SetViewportOrg", "OffsetViewportOrg", "SetViewportExt", "ScaleViewportExt", "SetWindowOrg",
    "OffsetWindowOrg", "SetWindowExt", "ScaleWindowExt", "SelectClipRgn", "ExcludeClipRect",
    "IntersectClipRect", "OffsetClipRgn", "SetTextAlign", "SetTextJustification", "SetTextCharacterExtra",
    "SetMapperFlags", "SetArcDirection", "SetColorAdjustment", "ExtSelectClipRgn", "SelectObject",
    "SelectStockObject", "MoveTo", "SelectPalette", "LineTo", "ArcTo", "PolyDraw", "PolylineTo", "PolyBezierTo",
    "SelectClipPath", "TextOut", "TabbedTextOut", "DrawText", "Rectangle", "Escape", "SetAbortProc", "StartDoc",
    "StartPage", "EndPage", "EndDoc", "AbortDoc", "SaveDC", "RestoreDC", "GetDeviceCaps", "GetTextMetrics",
    "GetTabbedTextExtent", "GetViewportExt", "GetWindowExt", "GetClipBox", "GetCurrentPosition",
};
static_assert(sizeof(kCallNames) / sizeof(kCallNames[0]) == static_cast<size_t>(DcCall::kCount),
              "one name per call");

// Rounded a * b / c, as the platform's multiply-divide.
int32_t MulDivRounded(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return -1;
  const int64_t product = a * b;
  const int64_t half = std::llabs(c) / 2;
  const int64_t q = ((product < 0) != (c < 0)) ? (product - (product < 0 ? -half : half)) / c
                                               : (product + (product < 0 ? -half : half)) / c;
  return static_cast<int32_t>(q);
}

}  // namespace

const char* DcCallName(DcCall call) {
  const auto i = static_cast<size_t>(call);
  return i < static_cast<size_t>(DcCall::kCount) ? kCallNames[i] : "?";
}

RwCDC::~RwCDC() {
  if (output_) output_->Delete();
}

DcValue RwCDC::Set(DcCall call, std::initializer_list<DcValue> args) {
  DcValue result = 0;
  if (output_ && output_ != attribute_) result = output_->Call(call, args);
  if (attribute_) result = attribute_->Call(call, args);
  return result;
}

DcValue RwCDC::Out(DcCall call, std::initializer_list<DcValue> args) {
  return output_ ? output_->Call(call, args) : 0;
}

DcValue RwCDC::Query(DcCall call, std::initializer_list<DcValue> args) {
  return attribute_ ? attribute_->Call(call, args) : 0;
}

DcValue RwCDC::Moving(DcCall call, std::initializer_list<DcValue> args) {
  const DcValue result = Out(call, args);
  if (output_ && attribute_ && output_ != attribute_) {
    DcPoint at{0, 0};
    output_->Call(DcCall::kGetCurrentPosition, {reinterpret_cast<DcValue>(&at)});
    attribute_->Call(DcCall::kMoveTo, {at.x, at.y, 0});
  }
  return result;
}

DcValue RwCDC::SaveDC() {
  DcValue saved = 0;
  if (output_ && output_ != attribute_ && output_->Call(DcCall::kSaveDC, {}) != 0) saved = -1;
  if (attribute_) {
    const DcValue number = attribute_->Call(DcCall::kSaveDC, {});
    if (saved != -1) saved = number;
  }
  return saved;
}

bool RwCDC::RestoreDC(DcValue saved) {
  bool ok = true;
  if (output_ && output_ != attribute_) ok = output_->Call(DcCall::kRestoreDC, {saved}) != 0;
  if (attribute_ && ok) ok = attribute_->Call(DcCall::kRestoreDC, {saved}) != 0;
  return ok;
}

DcValue RwCDC::SetViewportOrg(int32_t x, int32_t y, DcPoint* old) {
  return Set(DcCall::kSetViewportOrg, {x, y, Ptr(old)});
}
DcValue RwCDC::OffsetViewportOrg(int32_t dx, int32_t dy, DcPoint* old) {
  return Set(DcCall::kOffsetViewportOrg, {dx, dy, Ptr(old)});
}
DcValue RwCDC::SetViewportExt(int32_t cx, int32_t cy, DcSize* old) {
  return Set(DcCall::kSetViewportExt, {cx, cy, Ptr(old)});
}
DcValue RwCDC::ScaleViewportExt(int32_t xn, int32_t xd, int32_t yn, int32_t yd, DcSize* old) {
  return Set(DcCall::kScaleViewportExt, {xn, xd, yn, yd, Ptr(old)});
}
DcValue RwCDC::SetWindowExt(int32_t cx, int32_t cy, DcSize* old) {
  return Set(DcCall::kSetWindowExt, {cx, cy, Ptr(old)});
}
DcValue RwCDC::ScaleWindowExt(int32_t xn, int32_t xd, int32_t yn, int32_t yd, DcSize* old) {
  return Set(DcCall::kScaleWindowExt, {xn, xd, yn, yd, Ptr(old)});
}

DcValue RwCDC::SelectClipPath(DcValue mode) {
  const DcValue result = Out(DcCall::kSelectClipPath, {mode});
  if (output_ && attribute_ && output_ != attribute_ && !output_->CopyClipRegionTo(*attribute_)) {
    // "Error: unable to transfer clip region in RwCDC::SelectClipPath!": no trace is kept.
    return 0;
  }
  return result;
}

void RwCDC::Extents(DcSize* viewport, DcSize* window) {
  *viewport = DcSize{1, 1};
  *window = DcSize{1, 1};
  GetViewportExt(viewport);
  GetWindowExt(window);
}

DcSize RwCDC::LogicalToDeviceSize(DcSize size) {
  DcSize viewport, window;
  Extents(&viewport, &window);
  return DcSize{MulDivRounded(size.cx, std::abs(viewport.cx), std::abs(window.cx)),
                MulDivRounded(size.cy, std::abs(viewport.cy), std::abs(window.cy))};
}

DcSize RwCDC::DeviceToLogicalSize(DcSize size) {
  DcSize viewport, window;
  Extents(&viewport, &window);
  return DcSize{MulDivRounded(size.cx, std::abs(window.cx), std::abs(viewport.cx)),
                MulDivRounded(size.cy, std::abs(window.cy), std::abs(viewport.cy))};
}
