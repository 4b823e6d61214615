// GdiContext: the calls of RwCDC's routing table, forwarded to GDI.

#include "gdi_context_win32.h"

#include <type_traits>

namespace {

template <typename T>
T As(DcValue v) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<T>(v);
  } else {
    return static_cast<T>(v);
  }
}

template <typename T>
DcValue AsValue(T h) {
  return reinterpret_cast<DcValue>(h);
}

}  // namespace

DcValue GdiContext::Call(DcCall call, std::initializer_list<DcValue> list) {
  const DcValue* a = list.begin();
  const int n = static_cast<int>(list.size());
  auto arg = [&](int i) { return i < n ? a[i] : 0; };
  auto i32 = [&](int i) { return static_cast<int>(arg(i)); };
  switch (call) {
    case DcCall::kSetBkColor: return SetBkColor(dc_, As<COLORREF>(arg(0)));
    case DcCall::kSetBkMode: return SetBkMode(dc_, i32(0));
    case DcCall::kSetPolyFillMode: return SetPolyFillMode(dc_, i32(0));
    case DcCall::kSetROP2: return SetROP2(dc_, i32(0));
    case DcCall::kSetStretchBltMode: return SetStretchBltMode(dc_, i32(0));
    case DcCall::kSetTextColor: return SetTextColor(dc_, As<COLORREF>(arg(0)));
    case DcCall::kSetMapMode: return SetMapMode(dc_, i32(0));
    case DcCall::kSetViewportOrg: return SetViewportOrgEx(dc_, i32(0), i32(1), As<POINT*>(arg(2)));
    case DcCall::kOffsetViewportOrg: return OffsetViewportOrgEx(dc_, i32(0), i32(1), As<POINT*>(arg(2)));
    case DcCall::kSetViewportExt: return SetViewportExtEx(dc_, i32(0), i32(1), As<SIZE*>(arg(2)));
    case DcCall::kScaleViewportExt:
      return ScaleViewportExtEx(dc_, i32(0), i32(1), i32(2), i32(3), As<SIZE*>(arg(4)));
    case DcCall::kSetWindowOrg: return SetWindowOrgEx(dc_, i32(0), i32(1), As<POINT*>(arg(2)));
    case DcCall::kOffsetWindowOrg: return OffsetWindowOrgEx(dc_, i32(0), i32(1), As<POINT*>(arg(2)));
    case DcCall::kSetWindowExt: return SetWindowExtEx(dc_, i32(0), i32(1), As<SIZE*>(arg(2)));
    case DcCall::kScaleWindowExt:
      return ScaleWindowExtEx(dc_, i32(0), i32(1), i32(2), i32(3), As<SIZE*>(arg(4)));
    case DcCall::kSelectClipRgn: return SelectClipRgn(dc_, As<HRGN>(arg(0)));
    case DcCall::kExcludeClipRect: return ExcludeClipRect(dc_, i32(0), i32(1), i32(2), i32(3));
    case DcCall::kIntersectClipRect: return IntersectClipRect(dc_, i32(0), i32(1), i32(2), i32(3));
    case DcCall::kOffsetClipRgn: return OffsetClipRgn(dc_, i32(0), i32(1));
    case DcCall::kSetTextAlign: return SetTextAlign(dc_, As<UINT>(arg(0)));
    case DcCall::kSetTextJustification: return SetTextJustification(dc_, i32(0), i32(1));
    case DcCall::kSetTextCharacterExtra: return SetTextCharacterExtra(dc_, i32(0));
    case DcCall::kSetMapperFlags: return SetMapperFlags(dc_, As<DWORD>(arg(0)));
    case DcCall::kSetArcDirection: return SetArcDirection(dc_, i32(0));
    case DcCall::kSetColorAdjustment: return SetColorAdjustment(dc_, As<const COLORADJUSTMENT*>(arg(0)));
    case DcCall::kExtSelectClipRgn: return ExtSelectClipRgn(dc_, As<HRGN>(arg(0)), i32(1));
    case DcCall::kSelectObject: return AsValue(SelectObject(dc_, As<HGDIOBJ>(arg(0))));
    case DcCall::kSelectStockObject: return AsValue(SelectObject(dc_, GetStockObject(i32(0))));
    case DcCall::kMoveTo: return MoveToEx(dc_, i32(0), i32(1), As<POINT*>(arg(2)));
    case DcCall::kSelectPalette: return AsValue(SelectPalette(dc_, As<HPALETTE>(arg(0)), arg(1) != 0));
    case DcCall::kLineTo: return LineTo(dc_, i32(0), i32(1));
    case DcCall::kArcTo: return ArcTo(dc_, i32(0), i32(1), i32(2), i32(3), i32(4), i32(5), i32(6), i32(7));
    case DcCall::kPolyDraw: return PolyDraw(dc_, As<const POINT*>(arg(0)), As<const BYTE*>(arg(1)), i32(2));
    case DcCall::kPolylineTo: return PolylineTo(dc_, As<const POINT*>(arg(0)), As<DWORD>(arg(1)));
    case DcCall::kPolyBezierTo: return PolyBezierTo(dc_, As<const POINT*>(arg(0)), As<DWORD>(arg(1)));
    case DcCall::kSelectClipPath: return SelectClipPath(dc_, i32(0));
    case DcCall::kTextOut: return TextOutA(dc_, i32(0), i32(1), As<const char*>(arg(2)), i32(3));
    case DcCall::kTabbedTextOut:
      return TabbedTextOutA(dc_, i32(0), i32(1), As<const char*>(arg(2)), i32(3), i32(4),
                            As<const INT*>(arg(5)), i32(6));
    case DcCall::kDrawText:
      return DrawTextA(dc_, As<const char*>(arg(0)), i32(1), As<RECT*>(arg(2)), As<UINT>(arg(3)));
    case DcCall::kRectangle: return Rectangle(dc_, i32(0), i32(1), i32(2), i32(3));
    case DcCall::kEscape:
      return Escape(dc_, i32(0), i32(1), As<const char*>(arg(2)), As<void*>(arg(3)));
    case DcCall::kSetAbortProc: return SetAbortProc(dc_, As<ABORTPROC>(arg(0)));
    case DcCall::kStartDoc: {
      if (arg(0)) return StartDocA(dc_, As<const DOCINFOA*>(arg(0)));
      DOCINFOA info = {};
      info.cbSize = sizeof info;
      info.lpszDocName = As<const char*>(arg(1));
      return StartDocA(dc_, &info);
    }
    case DcCall::kStartPage: return StartPage(dc_);
    case DcCall::kEndPage: return EndPage(dc_);
    case DcCall::kEndDoc: return EndDoc(dc_);
    case DcCall::kAbortDoc: return AbortDoc(dc_);
    case DcCall::kSaveDC: return SaveDC(dc_);
    case DcCall::kRestoreDC: return RestoreDC(dc_, i32(0));
    case DcCall::kGetDeviceCaps: return GetDeviceCaps(dc_, i32(0));
    case DcCall::kGetTextMetrics: return GetTextMetricsA(dc_, As<TEXTMETRICA*>(arg(0)));
    case DcCall::kGetTabbedTextExtent:
      return GetTabbedTextExtentA(dc_, As<const char*>(arg(0)), i32(1), i32(2), As<const INT*>(arg(3)));
    case DcCall::kGetViewportExt: return GetViewportExtEx(dc_, As<SIZE*>(arg(0)));
    case DcCall::kGetWindowExt: return GetWindowExtEx(dc_, As<SIZE*>(arg(0)));
    case DcCall::kGetClipBox: return GetClipBox(dc_, As<RECT*>(arg(0)));
    case DcCall::kGetCurrentPosition: return GetCurrentPositionEx(dc_, As<POINT*>(arg(0)));
    case DcCall::kCount: break;
  }
  return 0;
}

bool GdiContext::CopyClipRegionTo(DeviceContext& other) {
  auto* target = dynamic_cast<GdiContext*>(&other);
  if (!target) return false;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (!region) return false;
  const int got = GetClipRgn(dc_, region);
  const bool ok = got >= 0 && SelectClipRgn(target->dc_, got == 1 ? region : nullptr) != ERROR;
  DeleteObject(region);
  return ok;
}

void GdiContext::Delete() {
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
}
