// The process's window defaults and the set-up exports of framed windows:
// frame bitmap sets prepared from resources, the dialog class, window
// creation with a creation record and the window size for a client size.
//
// Interface: cwInit, cwSetDefaults, cwGetDefaultData, cwFree,
// cwSetAppMainWindow, cwCreateWindowEx, cwAdjustWindowRect,
// cwRegisterDialogClass, cwLoadBitmap, cwMovedFarEnough, FrameDefaults,
// PrepareFrameSet, MakeCaptionFont.
#include <windows.h>

#include <cstring>
#include <initializer_list>

#include "bardib.h"
#include "barframe.h"
#include "dibkit_gdi.h"
#include "facet_frame.h"
#include "frame_internal.h"
#include "heapkit.h"
#include "mousehook.h"
#include "procdata.h"
#include "winutil.h"

namespace {

int W(const PackedDib* d) { return DibW(d); }
int H(const PackedDib* d) { return DibH(d); }
CwDefaults* Defaults() { return FrameDefaults(); }

}  // namespace

CwDefaults* FrameDefaults() { return static_cast<CwDefaults*>(GetProcessData(nullptr, PD_WINDOW_DEFAULTS)); }

void PrepareFrameSet(CwFrameBitmapSet* set, int remap) {
  if (set->module)
    for (PackedDib*& p : set->pieces) p = cwLoadBitmap(set->module, reinterpret_cast<uintptr_t>(p), remap);
  set->prepared = 1;
  set->present = 1;
}

HFONT MakeCaptionFont(const CwFrameBitmapSet* set) {
  if (!set->face[0]) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA lf{};
  lf.lfHeight = set->fontHeight;
  lf.lfWidth = set->fontWidth;
  lf.lfWeight = 400;
  lf.lfOutPrecision = 4;
  std::memcpy(lf.lfFaceName, set->face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

// Where the record of the window lives: window long 0, or the dialog slot.

PackedDib* cwLoadBitmap(HINSTANCE module, uintptr_t id, int remap) {
  // A value above the resource-id range is already a bitmap (a record
  // handed in a second time, or one filled with images by its caller).
  if (id >= 0x10000) return reinterpret_cast<PackedDib*>(id);
  if (!module || !id) return nullptr;
  PackedDib* dib = LoadWritableBitmapResource(module, int(id));
  if (dib && remap) dibColorsToIndices(dib);
  return dib;
}

bool cwMovedFarEnough(POINT a, POINT b) {
  return a.x - b.x >= 6 || b.x - a.x >= 6 || a.y - b.y >= 6 || b.y - a.y >= 6;
}

int cwRegisterDialogClass(HINSTANCE module) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, "#32770", &wc)) return 0;
  wc.style = 0x600B;
  wc.lpfnWndProc = cguiDialogWndProc;
  wc.cbWndExtra += kPointerSlotBytes;
  wc.hInstance = module;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = "cguiDialogClass";
  return RegisterClassA(&wc) != 0;
}

extern "C" {

CwDefaults* cwInit(void) {
  CwDefaults d{};
  d.palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  d.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  d.word8 = 8;
  if (StoreProcessData(GetCurrentProcessId(), PD_WINDOW_DEFAULTS, &d, sizeof d) < 0) return nullptr;
  return Defaults();
}

int cwSetDefaults(HINSTANCE, CwDefaults* def) {
  if (!def) return 0;
  for (CwFrameBitmapSet* s : {&def->sizable, &def->border, &def->dialog})
    if (s->present && !s->prepared) PrepareFrameSet(s, def->mapColours);
  if (def->menuLook.present && !def->menuLook.imagesLoaded)
    cmPrepareMenuLook(&def->menuLook, def->resourceModule, def->mapColours);
  CwStatusLook& st = def->statusLook;
  if (st.present) {
    st.separator =
        cwLoadBitmap(def->resourceModule, reinterpret_cast<uintptr_t>(st.separator), def->mapColours);
    if (!st.font) st.font = CreateFontForPoints(st.face, st.points, 0, 0);
  }
  if (def != Defaults()) StoreProcessData(GetCurrentProcessId(), PD_WINDOW_DEFAULTS, def, sizeof *def);
  return 1;
}

CwDefaults* cwGetDefaultData(void) { return Defaults(); }

int cwFree(void) {
  DWORD pid = GetCurrentProcessId();
  if (!GetProcessDataFor(pid, PD_WINDOW_DEFAULTS)) return 0;
  ReleaseProcessData(pid, PD_WINDOW_DEFAULTS);
  ReleaseProcessData(pid, PD_CONTROL_DEFAULTS);
  return 1;
}

HWND cwSetAppMainWindow(HINSTANCE, HWND window) {
  CwDefaults* d = Defaults();
  if (!d) return nullptr;
  HWND old = d->appMainWindow;
  d->appMainWindow = window;
  return old;
}

HWND cwCreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                      CwCreateParams* params) {
  if (params && params->frame.present) {
    params->flags |= 0x10000;
    CwDefaults* d = Defaults();
    PrepareFrameSet(&params->frame, d ? d->mapColours : 0);
    params->frame.font = MakeCaptionFont(&params->frame);
  }
  return CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menu, instance,
                         params);
}

int cwAdjustWindowRect(RECT* rect, DWORD style, int hasMenu) {
  CwDefaults* d = Defaults();
  if (!rect || !d) return 0;
  const CwFrameBitmapSet* s = (style & WS_THICKFRAME) ? &d->sizable
                              : (style & WS_DLGFRAME) ? &d->dialog
                              : (style & WS_BORDER)   ? &d->border
                                                      : nullptr;
  if (!s) return 1;
  rect->bottom += H(s->Piece(FW_TOP)) + H(s->Piece(FW_BOTTOM));
  if (style & WS_CAPTION) rect->bottom += H(s->Piece(FW_CAPTION));
  if (hasMenu) rect->bottom += H(d->menuLook.barBackground[1]);
  rect->right += W(s->Piece(FW_LEFT)) + W(s->Piece(FW_RIGHT));
  return 1;
}

}  // extern "C"
