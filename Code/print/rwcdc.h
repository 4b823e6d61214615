// RwCDC: a device context wrapper with an output context (where drawing
// goes) and an attribute context (what queries read). Setters go to both,
// output first; the attribute context follows the output's current position.
// Through a printer both are the printer's own context.
//
// Interface: RwCDC.
#pragma once

#include "device_context.h"

class RwCDC {
 public:
  RwCDC() = default;
  // A printer context: output and attribute at once; owned.
  explicit RwCDC(DeviceContext* printer) : output_(printer), attribute_(printer) {}
  RwCDC(const RwCDC&) = delete;
  RwCDC& operator=(const RwCDC&) = delete;

  // In slot order.
  virtual void SetAttribDC(DeviceContext* dc) { attribute_ = dc; }
  virtual void SetOutputDC(DeviceContext* dc) { output_ = dc; }
  virtual void ReleaseAttribDC() { attribute_ = nullptr; }
  virtual void ReleaseOutputDC() { output_ = nullptr; }
  virtual DcValue SaveDC();
  virtual bool RestoreDC(DcValue saved);
  virtual DcValue SelectStockObject(DcValue index) { return Set(DcCall::kSelectStockObject, {index}); }
  virtual DcValue SelectFont(DcValue font) { return Set(DcCall::kSelectObject, {font}); }
  virtual DcValue SelectObject(DcValue object) { return Set(DcCall::kSelectObject, {object}); }
  virtual DcValue SetBkColor(DcValue colour) { return Set(DcCall::kSetBkColor, {colour}); }
  virtual DcValue SetTextColor(DcValue colour) { return Set(DcCall::kSetTextColor, {colour}); }
  virtual DcValue SetMapMode(DcValue mode) { return Set(DcCall::kSetMapMode, {mode}); }
  virtual DcValue SetViewportOrg(int32_t x, int32_t y, DcPoint* old = nullptr);
  virtual DcValue OffsetViewportOrg(int32_t dx, int32_t dy, DcPoint* old = nullptr);
  virtual DcValue SetViewportExt(int32_t cx, int32_t cy, DcSize* old = nullptr);
  virtual DcValue ScaleViewportExt(int32_t xn, int32_t xd, int32_t yn, int32_t yd, DcSize* old = nullptr);
  virtual DcValue SetWindowExt(int32_t cx, int32_t cy, DcSize* old = nullptr);
  virtual DcValue ScaleWindowExt(int32_t xn, int32_t xd, int32_t yn, int32_t yd, DcSize* old = nullptr);
  virtual DcValue GetClipBox(DcRect* rect) { return Query(DcCall::kGetClipBox, {Ptr(rect)}); }
  virtual DcValue Escape(DcValue escape, DcValue size, const void* in, void* out) {
    return Out(DcCall::kEscape, {escape, size, Ptr(in), Ptr(out)});
  }
  virtual ~RwCDC();

  DeviceContext* Output() const { return output_; }
  DeviceContext* Attribute() const { return attribute_; }

  // Setters on both contexts.
  DcValue SetBkMode(DcValue mode) { return Set(DcCall::kSetBkMode, {mode}); }
  DcValue SetPolyFillMode(DcValue mode) { return Set(DcCall::kSetPolyFillMode, {mode}); }
  DcValue SetROP2(DcValue mode) { return Set(DcCall::kSetROP2, {mode}); }
  DcValue SetStretchBltMode(DcValue mode) { return Set(DcCall::kSetStretchBltMode, {mode}); }
  DcValue SetWindowOrg(int32_t x, int32_t y, DcPoint* old = nullptr) {
    return Set(DcCall::kSetWindowOrg, {x, y, Ptr(old)});
  }
  DcValue OffsetWindowOrg(int32_t dx, int32_t dy, DcPoint* old = nullptr) {
    return Set(DcCall::kOffsetWindowOrg, {dx, dy, Ptr(old)});
  }
  DcValue SelectClipRgn(DcValue region) { return Set(DcCall::kSelectClipRgn, {region}); }
  DcValue ExtSelectClipRgn(DcValue region, DcValue mode) { return Set(DcCall::kExtSelectClipRgn, {region, mode}); }
  DcValue ExcludeClipRect(int32_t l, int32_t t, int32_t r, int32_t b) {
    return Set(DcCall::kExcludeClipRect, {l, t, r, b});
  }
  DcValue ExcludeClipRect(const DcRect& r) { return ExcludeClipRect(r.left, r.top, r.right, r.bottom); }
  DcValue IntersectClipRect(int32_t l, int32_t t, int32_t r, int32_t b) {
    return Set(DcCall::kIntersectClipRect, {l, t, r, b});
  }
  DcValue IntersectClipRect(const DcRect& r) { return IntersectClipRect(r.left, r.top, r.right, r.bottom); }
  DcValue OffsetClipRgn(int32_t dx, int32_t dy) { return Set(DcCall::kOffsetClipRgn, {dx, dy}); }
  DcValue OffsetClipRgn(const DcSize& s) { return OffsetClipRgn(s.cx, s.cy); }
  DcValue SetTextAlign(DcValue flags) { return Set(DcCall::kSetTextAlign, {flags}); }
  DcValue SetTextJustification(int32_t extra, int32_t breaks) {
    return Set(DcCall::kSetTextJustification, {extra, breaks});
  }
  DcValue SetTextCharacterExtra(int32_t extra) { return Set(DcCall::kSetTextCharacterExtra, {extra}); }
  DcValue SetMapperFlags(DcValue flags) { return Set(DcCall::kSetMapperFlags, {flags}); }
  DcValue SetArcDirection(DcValue direction) { return Set(DcCall::kSetArcDirection, {direction}); }
  DcValue SetColorAdjustment(const void* adjustment) { return Set(DcCall::kSetColorAdjustment, {Ptr(adjustment)}); }
  DcValue SelectPen(DcValue pen) { return SelectObject(pen); }
  DcValue SelectBrush(DcValue brush) { return SelectObject(brush); }
  DcValue SelectRegion(DcValue region) { return SelectObject(region); }
  DcValue MoveTo(int32_t x, int32_t y, DcPoint* old = nullptr) { return Set(DcCall::kMoveTo, {x, y, Ptr(old)}); }
  DcValue MoveTo(const DcPoint& p) { return MoveTo(p.x, p.y); }

  // Output context.
  DcValue SelectPalette(DcValue palette, DcValue background) {
    return Out(DcCall::kSelectPalette, {palette, background});
  }
  DcValue LineTo(int32_t x, int32_t y) { return Moving(DcCall::kLineTo, {x, y}); }
  DcValue LineTo(const DcPoint& p) { return LineTo(p.x, p.y); }
  DcValue ArcTo(int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return Moving(DcCall::kArcTo, {l, t, r, b, x1, y1, x2, y2});
  }
  DcValue PolyDraw(const DcPoint* points, const uint8_t* types, int32_t count) {
    return Moving(DcCall::kPolyDraw, {Ptr(points), Ptr(types), count});
  }
  DcValue PolylineTo(const DcPoint* points, int32_t count) { return Moving(DcCall::kPolylineTo, {Ptr(points), count}); }
  DcValue PolyBezierTo(const DcPoint* points, int32_t count) {
    return Moving(DcCall::kPolyBezierTo, {Ptr(points), count});
  }
  DcValue SelectClipPath(DcValue mode);
  DcValue TextOut(int32_t x, int32_t y, const char* text, int32_t length) {
    return Out(DcCall::kTextOut, {x, y, Ptr(text), length});
  }
  DcValue TabbedTextOut(int32_t x, int32_t y, const char* text, int32_t length, int32_t stopCount,
                        const int32_t* stops, int32_t origin) {
    return Out(DcCall::kTabbedTextOut, {x, y, Ptr(text), length, stopCount, Ptr(stops), origin});
  }
  DcValue DrawText(const char* text, int32_t length, DcRect* rect, DcValue format) {
    return Out(DcCall::kDrawText, {Ptr(text), length, Ptr(rect), format});
  }
  DcValue Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) { return Out(DcCall::kRectangle, {l, t, r, b}); }
  DcValue SetAbortProc(DcValue procedure) { return Out(DcCall::kSetAbortProc, {procedure}); }
  // `docInfo` points at the platform's document information record.
  DcValue StartDoc(const void* docInfo) { return Out(DcCall::kStartDoc, {Ptr(docInfo), 0}); }
  // Just a title: the platform side fills the rest of the record.
  DcValue StartDoc(const char* title) { return Out(DcCall::kStartDoc, {0, Ptr(title)}); }
  DcValue StartPage() { return Out(DcCall::kStartPage, {}); }
  DcValue EndPage() { return Out(DcCall::kEndPage, {}); }
  DcValue EndDoc() { return Out(DcCall::kEndDoc, {}); }
  DcValue AbortDoc() { return Out(DcCall::kAbortDoc, {}); }

  // Attribute context.
  DcValue GetDeviceCaps(DcValue index) { return Query(DcCall::kGetDeviceCaps, {index}); }
  DcValue GetTextMetrics(void* metrics) { return Query(DcCall::kGetTextMetrics, {Ptr(metrics)}); }
  DcValue GetTabbedTextExtent(const char* text, int32_t length, int32_t stopCount, const int32_t* stops) {
    return Query(DcCall::kGetTabbedTextExtent, {Ptr(text), length, stopCount, Ptr(stops)});
  }
  DcValue GetViewportExt(DcSize* size) { return Query(DcCall::kGetViewportExt, {Ptr(size)}); }
  DcValue GetWindowExt(DcSize* size) { return Query(DcCall::kGetWindowExt, {Ptr(size)}); }
  // Sizes between logical and device units by the absolute extents.
  DcSize LogicalToDeviceSize(DcSize size);
  DcSize DeviceToLogicalSize(DcSize size);

 private:
  template <typename T>
  static DcValue Ptr(T* p) {
    return reinterpret_cast<DcValue>(p);
  }
  DcValue Set(DcCall call, std::initializer_list<DcValue> args);
  DcValue Out(DcCall call, std::initializer_list<DcValue> args);
  DcValue Query(DcCall call, std::initializer_list<DcValue> args);
  DcValue Moving(DcCall call, std::initializer_list<DcValue> args);
  void Extents(DcSize* viewport, DcSize* window);

  DeviceContext* output_ = nullptr;
  DeviceContext* attribute_ = nullptr;
};
