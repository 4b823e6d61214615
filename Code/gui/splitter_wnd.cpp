// CGUISplitter: a thin horizontal bar that the user drags up or down. While
// dragged, a hatched bar drawn by inversion over the parent shows where it
// would go; the parent gives the limits at the start (CCM_SPLITTERLIMITS)
// and gets the final bar rectangle at the end (CCM_SPLITTERMOVED), and lays
// out its panes itself.
//
// Interface: RegisterSplitterClass, UnregisterSplitterClass, CreateSplitter.
#include <windows.h>

#include <cstdlib>

#include "basic_controls.h"
#include "controls.h"
#include "facet.h"
#include "winutil.h"

namespace {

const char kClass[] = "CGUISplitter";
enum : UINT { CCM_SPLITTERMOVED = 0x8660, CCM_SPLITTERLIMITS = 0x8661 };
enum { kSlotDragging = 1, kSlotDrag = 2 };
constexpr int kCursorId = 131;
constexpr int kBackgroundIndex = 100;

struct SplitterDrag {
  RECT limit;  // splitter client coordinates
  RECT bar;
  HBRUSH hatch;
};

LONG_PTR Word(HWND w, int slot) { return GetWindowLongPtrA(w, slot * int(sizeof(LONG_PTR))); }
void SetWord(HWND w, int slot, LONG_PTR v) { SetWindowLongPtrA(w, slot * int(sizeof(LONG_PTR)), v); }
SplitterDrag* Drag(HWND w) { return reinterpret_cast<SplitterDrag*>(Word(w, kSlotDrag)); }

HBRUSH MakeHatch() {
  WORD rows[8];
  for (int i = 0; i < 8; ++i) rows[i] = (i & 1) ? 0xAA : 0x55;
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  if (!pattern) return nullptr;
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);
  return brush;
}

void DrawEdges(HWND w, HDC dc) {
  CcDefaults* d = ccGetDefaultData();
  RECT r;
  GetClientRect(w, &r);
  HPEN light = CreatePen(PS_SOLID, 1, PALETTEINDEX(d ? d->lightEdge : 0));
  HPEN dark = CreatePen(PS_SOLID, 1, PALETTEINDEX(d ? d->darkEdge : 0));
  HGDIOBJ old = SelectObject(dc, light);
  MoveToEx(dc, r.left, r.bottom - 1, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right - 1, r.top);
  SelectObject(dc, dark);
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.left, r.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(light);
  DeleteObject(dark);
}

HPALETTE SelectDefaultsPalette(HDC dc, UINT* mapped) {
  CcDefaults* d = ccGetDefaultData();
  if (!d || !d->palette) return nullptr;
  HPALETTE old = SelectPalette(dc, d->palette, FALSE);
  UINT n = RealizePalette(dc);
  if (mapped) *mapped = n == GDI_ERROR ? 0 : n;
  return old;
}

// Inverts the bar over the parent (the splitter's DC clipped to the parent,
// valid under the window-update lock).
void InvertBar(HWND w, const SplitterDrag* drag) {
  HDC dc = GetDCEx(w, nullptr, DCX_PARENTCLIP | DCX_LOCKWINDOWUPDATE | DCX_CACHE);
  if (!dc) return;
  SetBrushOrgEx(dc, 0, 0, nullptr);
  HGDIOBJ old = SelectObject(dc, drag->hatch);
  PatBlt(dc, drag->bar.left, drag->bar.top, drag->bar.right - drag->bar.left,
         drag->bar.bottom - drag->bar.top, PATINVERT);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
}

void BeginDrag(HWND w) {
  if (Word(w, kSlotDragging)) return;  // a second press during a drag
  HWND parent = GetParent(w);
  if (!parent || !LockWindowUpdate(parent)) return;
  auto* drag = static_cast<SplitterDrag*>(std::calloc(1, sizeof(SplitterDrag)));
  if (!drag) {
    LockWindowUpdate(nullptr);
    return;
  }
  SetWord(w, kSlotDragging, 1);
  SetCapture(w);
  GetClientRect(w, &drag->bar);
  GetClientRect(parent, &drag->limit);
  SendMessageA(parent, CCM_SPLITTERLIMITS, 0, LPARAM(&drag->limit));
  MapWindowPoints(parent, w, reinterpret_cast<POINT*>(&drag->limit), 2);
  drag->hatch = MakeHatch();
  SetWord(w, kSlotDrag, reinterpret_cast<LONG_PTR>(drag));
  InvertBar(w, drag);
}

void MoveDrag(HWND w, LPARAM point) {
  SplitterDrag* drag = Drag(w);
  if (!Word(w, kSlotDragging) || !drag) return;
  int y = short(HIWORD(point));
  if (y < drag->limit.top) y = drag->limit.top;
  if (y > drag->limit.bottom) y = drag->limit.bottom;
  if (y == drag->bar.top) return;
  InvertBar(w, drag);
  OffsetRect(&drag->bar, 0, y - drag->bar.top);
  InvertBar(w, drag);
}

void EndDrag(HWND w, bool report) {
  SplitterDrag* drag = Drag(w);
  if (!Word(w, kSlotDragging) || !drag) return;
  InvertBar(w, drag);
  LockWindowUpdate(nullptr);
  SetWord(w, kSlotDragging, 0);  // cleared first: releasing the capture must not end the drag twice
  SetWord(w, kSlotDrag, 0);
  if (GetCapture() == w) ReleaseCapture();
  HWND parent = GetParent(w);
  RECT bar = drag->bar;
  if (parent) MapWindowPoints(w, parent, reinterpret_cast<POINT*>(&bar), 2);
  if (report && parent) SendMessageA(parent, CCM_SPLITTERMOVED, 0, LPARAM(&bar));
  if (drag->hatch) DeleteObject(drag->hatch);
  std::free(drag);
}

LRESULT CALLBACK SplitterProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_CREATE:
      SetWord(w, kSlotDragging, 0);
      SetWord(w, kSlotDrag, 0);
      return 0;
    case WM_DESTROY:
      EndDrag(w, false);  // a drag that is still on gives back the lock and its memory
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wp);
      UINT mapped = 0;
      HPALETTE old = SelectDefaultsPalette(dc, &mapped);
      HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(w, GCLP_HBRBACKGROUND));
      if (mapped && brush) UnrealizeObject(brush);
      RECT r;
      GetClientRect(w, &r);
      if (brush) FillRect(dc, &r, brush);
      DrawEdges(w, dc);
      if (old) SelectPalette(dc, old, FALSE);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      HPALETTE old = SelectDefaultsPalette(dc, nullptr);
      if (!Word(w, kSlotDragging)) DrawEdges(w, dc);
      if (old) SelectPalette(dc, old, FALSE);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      BeginDrag(w);
      return 0;
    case WM_MOUSEMOVE:
      MoveDrag(w, lp);
      return 0;
    case WM_LBUTTONUP:
      EndDrag(w, true);
      return 0;
    case WM_CANCELMODE:
      EndDrag(w, false);
      return 0;
    default:
      return DefWindowProcA(w, m, wp, lp);
  }
}

}  // namespace

ATOM RegisterSplitterClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = SplitterProc;
  wc.cbWndExtra = 3 * sizeof(LONG_PTR);
  wc.hInstance = module;
  wc.hCursor = LoadCursorA(module, MAKEINTRESOURCEA(kCursorId));
  if (!wc.hCursor) wc.hCursor = LoadCursor(nullptr, IDC_SIZENS);  // a module without the cursor resource
  wc.hbrBackground = CreateSolidBrush(PALETTEINDEX(kBackgroundIndex));
  wc.lpszClassName = kClass;
  ATOM atom = RegisterClassA(&wc);
  if (!atom && wc.hbrBackground) DeleteObject(wc.hbrBackground);
  return atom;
}

void UnregisterSplitterClass(HINSTANCE module) {
  WNDCLASSA wc{};
  HBRUSH brush = GetClassInfoA(module, kClass, &wc) ? wc.hbrBackground : nullptr;
  if (UnregisterClassA(kClass, module) && brush) DeleteObject(brush);
}

HWND CreateSplitter(HINSTANCE instance, HWND parent, int id) {
  return CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, 0, 100, 100, 4, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}
