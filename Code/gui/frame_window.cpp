// Framed windows: the process's window defaults (cw* set-up exports),
// cwDefWindowProc and cguiDialogWndProc with the painted frame, its buttons
// and its status bar. The geometry is frame_layout.cpp's, the status bar's
// parts frame_status.cpp's, the menu bar the menu engine's.
//
// Interface: cwInit, cwSetDefaults, cwGetDefaultData, cwFree,
// cwSetAppMainWindow, cwCreateWindowEx, cwAdjustWindowRect, cwDefWindowProc,
// cguiDialogWndProc, cwRegisterDialogClass, cwMovedFarEnough,
// cwGetWindowData, cwLoadBitmap, cwStatusPaint.
#include <windows.h>

#include <cstring>
#include <initializer_list>

#include "bardib.h"
#include "barframe.h"
#include "dibkit_gdi.h"
#include "facet_frame.h"
#include "heapkit.h"
#include "mousehook.h"
#include "procdata.h"
#include "winutil.h"

namespace {

constexpr int kDialogSlot = DLGWINDOWEXTRA;  // 30: just behind the system dialog's bytes
UINT g_wheelMessage = 0;

int W(const PackedDib* d) { return d ? d->biWidth : 0; }
int H(const PackedDib* d) { return d ? (d->biHeight < 0 ? -d->biHeight : d->biHeight) : 0; }

CwDefaults* Defaults() { return static_cast<CwDefaults*>(GetProcessData(nullptr, PD_WINDOW_DEFAULTS)); }

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
bool IsDialog(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, "cguiDialogClass") == 0;
}

void StoreData(HWND window, bool dialog, CwWindowData* data) {
  SetWindowLongPtrA(window, dialog ? kDialogSlot : 0, reinterpret_cast<LONG_PTR>(data));
}

CwWindowData* DataOf(HWND window, bool dialog) {
  return reinterpret_cast<CwWindowData*>(GetWindowLongPtrA(window, dialog ? kDialogSlot : 0));
}

FrameMetrics Measure(const CwFrameBitmapSet* s) {
  FrameMetrics m{};
  m.top = H(s->Piece(FW_TOP));
  m.bottom = H(s->Piece(FW_BOTTOM));
  m.left = W(s->Piece(FW_LEFT));
  m.right = W(s->Piece(FW_RIGHT));
  m.tlW = W(s->Piece(FW_TOPLEFT));
  m.tlH = H(s->Piece(FW_TOPLEFT));
  m.trW = W(s->Piece(FW_TOPRIGHT));
  m.trH = H(s->Piece(FW_TOPRIGHT));
  m.blW = W(s->Piece(FW_BOTTOMLEFT));
  m.blH = H(s->Piece(FW_BOTTOMLEFT));
  m.brW = W(s->Piece(FW_BOTTOMRIGHT));
  m.brH = H(s->Piece(FW_BOTTOMRIGHT));
  m.caption = H(s->Piece(FW_CAPTION));
  m.buttonW = W(s->Piece(FW_MINIMIZE));
  m.buttonH = H(s->Piece(FW_MINIMIZE));
  // A frame without a minimize bitmap still places its other buttons.
  if (!m.buttonW) {
    m.buttonW = W(s->Piece(FW_CLOSE));
    m.buttonH = H(s->Piece(FW_CLOSE));
  }
  return m;
}

CwFrameBitmapSet* PickSet(CwWindowData* d) {
  if (d->ownSet) return d->set;
  CwDefaults* def = d->defaults;
  switch (d->frameKind) {
    case 3:
      return &def->sizable;
    case 2:
      return &def->dialog;
    default:
      return &def->border;
  }
}

int MenuHeightOf(void* context, const int32_t client[4]) {
  auto* d = static_cast<CwWindowData*>(context);
  RECT area{client[0], client[1], client[2], client[3]};
  cmLayoutMenuBar(d->menuBar, &area);
  return d->menuBar->rect[3] - d->menuBar->rect[1];
}

void Layout(CwWindowData* d, int width, int height) {
  d->frameKind = FrameKindFromFlags(d->frameFlags);
  d->set = PickSet(d);
  FrameMetrics m = Measure(d->set);
  uint32_t flags = d->frameFlags;
  if (!d->menuBar) flags &= ~FF_MENUBAR;
  LayoutFrame(d->regions, flags, d->frameKind, m, width, height, GetSystemMetrics(SM_CYHSCROLL),
              GetSystemMetrics(SM_CXVSCROLL), MenuHeightOf, d);
}

struct Strip {
  int region, word;
  bool vertical;
};
const Strip kStrips[] = {{FR_TOP, FW_TOP, false},
                         {FR_BOTTOM, FW_BOTTOM, false},
                         {FR_LEFT, FW_LEFT, true},
                         {FR_RIGHT, FW_RIGHT, true},
                         {FR_CAPTION, FW_CAPTION, false}};

void RenderCaptionText(HWND window, CwWindowData* d) {
  CwFrameBitmapSet* s = d->set;
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  if (!text[0]) return;
  for (int look = 0; look < 2; ++look) {
    PackedDib* caption = d->regions[FR_CAPTION].bitmaps[look];
    if (!caption) continue;
    PackedDib* rendered = nullptr;
    bool owned = false;
    if (s->textMode == 3) {
      HDC dc = GetDC(window);
      HGDIOBJ old = SelectObject(dc, s->font ? s->font : GetStockObject(DEFAULT_GUI_FONT));
      unsigned long long size = cttBasicStringSize(dc, text);
      int w = int(size & 0xFFFFFFFF), h = int(size >> 32);
      PackedDib* colours = w > 0 ? dibCreateWithColors(w + w / 8, h + 10, 8) : nullptr;
      if (colours) {
        dibCopyPalette(colours, caption);
        dibFillWithColor(colours, uint32_t(s->textColour[look] & 0xFF));
        rendered = cttBasicString(dc, text, colours, 0);
        owned = true;
        dibDelete(colours);
      }
      SelectObject(dc, old);
      ReleaseDC(window, dc);
    } else {
      rendered = reinterpret_cast<PackedDib*>(s->textColour[look]);
    }
    if (rendered) {
      int w = W(rendered) < W(caption) ? W(rendered) : W(caption);
      int h = H(rendered) < H(caption) ? H(rendered) : H(caption);
      CopyPixels8(caption, rendered, s->textX, s->textY, 0, 0, w - s->textX, h - s->textY, true);
    }
    if (owned) dibDelete(rendered);
  }
}

void BuildBitmaps(HWND window, CwWindowData* d) {
  if (d->frameKind == 0) return;
  CwFrameBitmapSet* s = d->set;
  const int corners[4][2] = {{FR_TOPLEFT, FW_TOPLEFT},
                             {FR_TOPRIGHT, FW_TOPRIGHT},
                             {FR_BOTTOMLEFT, FW_BOTTOMLEFT},
                             {FR_BOTTOMRIGHT, FW_BOTTOMRIGHT}};
  for (const auto& c : corners) {
    CwFrameRegion& r = d->regions[c[0]];
    if (!r.bitmaps[0]) {
      r.bitmaps[0] = s->Piece(c[1]);
      r.bitmaps[1] = s->Piece(c[1] + 1);
    }
  }
  for (const Strip& st : kStrips) {
    if (st.region == FR_CAPTION && !(d->frameFlags & FF_CAPTION)) continue;
    CwFrameRegion& r = d->regions[st.region];
    int w = r.rect[2] - r.rect[0], h = r.rect[3] - r.rect[1];
    for (int look = 0; look < 2; ++look) {
      dibDelete(r.bitmaps[look]);
      r.bitmaps[look] = nullptr;
      if (w <= 0 || h <= 0) continue;
      PackedDib* strip = dibCreateWithColors(w, h, 8);
      if (!strip) continue;
      dibFillWithColor(strip, 0);
      int first = st.word + look * 3;
      BuildBarDib(strip, s->Piece(first), s->Piece(first + 1), s->Piece(first + 2), st.vertical);
      r.bitmaps[look] = strip;
    }
  }
  if ((d->frameFlags & FF_CAPTION) && (s->textMode == 2 || s->textMode == 3)) RenderCaptionText(window, d);
  const struct {
    uint32_t flag;
    int region, word;
  } buttons[] = {{FF_SYSMENU, FR_SYSMENU, FW_SYSMENU},    {FF_CLOSE, FR_CLOSE, FW_CLOSE},
                 {FF_MAXIMIZE, FR_MAXIMIZE, FW_MAXIMIZE}, {FF_MINIMIZE, FR_MINIMIZE, FW_MINIMIZE},
                 {FF_TOGGLE, FR_TOGGLE, FW_TOGGLE},       {FF_MAXIMIZE, FR_RESTORE, FW_RESTORE}};
  for (const auto& b : buttons) {
    CwFrameRegion& r = d->regions[b.region];
    if ((d->frameFlags & b.flag) && !r.bitmaps[0]) {
      r.bitmaps[0] = s->Piece(b.word);
      r.bitmaps[1] = s->Piece(b.word + 1);
    }
  }
  if (d->statusBar) {
    const int32_t* b = d->regions[FR_BOTTOM].rect;
    d->statusBar->rect[0] = b[0] + 4;
    d->statusBar->rect[1] = b[1];
    d->statusBar->rect[2] = b[2] - 4;
    d->statusBar->rect[3] = b[3];
  }
}

void DrawRegion(HDC dc, const CwFrameRegion& r, int look) {
  const PackedDib* b = r.bitmaps[look];
  if (!b || r.rect[2] <= r.rect[0]) return;
  dibDisplay(dc, r.rect[0], r.rect[1], W(b), H(b), 0, 0, b);
}

HPALETTE Realize(HDC dc, CwWindowData* d) {
  return d && d->defaults ? SelectAndRealizePalette(dc, nullptr, d->defaults->palette) : nullptr;
}

void PaintFrame(HWND window, CwWindowData* d, int look) {
  if (IsIconic(window) || d->frameKind == 0) return;
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  HPALETTE old = Realize(dc, d);
  const CwFrameRegion* r = d->regions;
  for (int id : {FR_TOP, FR_LEFT, FR_RIGHT, FR_BOTTOM}) DrawRegion(dc, r[id], look);
  if (d->statusBar) cwStatusPaint(dc, d);
  for (int id : {FR_TOPLEFT, FR_TOPRIGHT, FR_BOTTOMLEFT, FR_BOTTOMRIGHT}) DrawRegion(dc, r[id], look);
  if (d->frameFlags & FF_CAPTION) {
    DrawRegion(dc, r[FR_CAPTION], look);
    if (d->set->textMode == 1) {
      char text[128] = {};
      GetWindowTextA(window, text, sizeof text);
      if (text[0]) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, PALETTEINDEX(d->set->textColour[look] & 0xFFFF));
        HGDIOBJ oldFont = d->set->font ? SelectObject(dc, d->set->font) : nullptr;
        int x = d->set->textX + W(d->set->Piece(FW_TOPLEFT)) + W(d->set->Piece(FW_SYSMENU));
        int y = d->set->textY + H(d->set->Piece(FW_TOP));
        TextOutA(dc, x, y, text, int(std::strlen(text)));
        if (oldFont) SelectObject(dc, oldFont);
      }
    }
  }
  if (d->menuBar) cmPaintMenuBar(dc, d->menuBar);
  for (int id : {FR_CLOSE, FR_MAXIMIZE, FR_MINIMIZE, FR_TOGGLE, FR_SYSMENU}) {
    int state = (d->pressedMask & (1u << id)) ? 1 : look;
    DrawRegion(dc, r[id], state);
  }
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
}

void PaintRegionNow(HWND window, CwWindowData* d, int id, int state) {
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  HPALETTE old = Realize(dc, d);
  DrawRegion(dc, d->regions[id], state);
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
}

void RepaintStatus(HWND window, CwWindowData* d) {
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  HPALETTE old = Realize(dc, d);
  DrawRegion(dc, d->regions[FR_BOTTOM], 0);
  cwStatusPaint(dc, d);
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
}

void PostToMain(CwWindowData* d, WPARAM code, LPARAM lParam) {
  if (d && d->defaults && d->defaults->appMainWindow)
    PostMessageA(d->defaults->appMainWindow, CWM_NOTIFY, code, lParam);
}

void SwapRestore(CwWindowData* d) {
  CwFrameRegion& m = d->regions[FR_MAXIMIZE];
  CwFrameRegion& r = d->regions[FR_RESTORE];
  for (int i = 0; i < 2; ++i) {
    PackedDib* t = m.bitmaps[i];
    m.bitmaps[i] = r.bitmaps[i];
    r.bitmaps[i] = t;
  }
}

}  // namespace

void cwPostSysCommand(HWND window, CwWindowData* d, WPARAM command) {
  switch (command) {
    case SC_MINIMIZE:
      PostToMain(d, 3, LPARAM(window));
      break;
    case SC_MAXIMIZE:
      SwapRestore(d);
      PostToMain(d, 3, LPARAM(window));
      break;
    case SC_CLOSE:
      PostToMain(d, 2, LPARAM(window));
      break;
    case SC_RESTORE:
      SwapRestore(d);
      PostToMain(d, 5, LPARAM(window));
      break;
    default:
      break;
  }
  PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

namespace {

bool IsButtonRegion(int id) {
  return id == FR_GROWBOX || id == FR_MINIMIZE || id == FR_MAXIMIZE || id == FR_CLOSE || id == FR_TOGGLE;
}

bool NcButtonDown(HWND window, CwWindowData* d, int hit, bool dbl, LPARAM lParam) {
  d->pressed = hit;
  if (hit == FR_SYSMENU) {
    if (dbl) {
      cwPostSysCommand(window, d, SC_CLOSE);
    } else if (d->systemMenu) {
      RECT wr;
      GetWindowRect(window, &wr);
      const int32_t* ir = d->regions[FR_SYSMENU].rect;
      RECT anchor{wr.left + ir[0], wr.top + ir[1], wr.left + ir[0], wr.top + ir[3]};
      cmTrackPopupMenu(d->systemMenu, &anchor, window, 2);
    }
    return true;
  }
  if (hit == FR_CAPTION) {
    if (dbl && (d->frameFlags & FF_MAXIMIZE)) {
      cwPostSysCommand(window, d, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE);
      return true;
    }
    return false;
  }
  if (hit >= FR_LEFT && hit <= FR_BORDER) return false;
  if (IsButtonRegion(hit)) {
    d->pressedMask |= 1u << hit;
    BeginMouseCapture(window);
    PaintRegionNow(window, d, hit, 1);
    return true;
  }
  if (d->menuBar) {
    POINT screen{short(LOWORD(lParam)), short(HIWORD(lParam))};
    cmBarClick(window, d->menuBar, screen);
    return true;
  }
  return false;
}

bool NcMouseMove(HWND window, CwWindowData* d, int hit, LPARAM lParam) {
  bool leftDown = GetKeyState(VK_LBUTTON) < 0;
  if (d->pressed && d->pressed != uint32_t(hit) && !leftDown) d->pressed = 0;
  if (d->pressed && d->pressed != uint32_t(hit)) {
    if (d->pressed == FR_CAPTION && IsZoomed(window)) return false;
    d->pressedMask &= ~(1u << d->pressed);
    PaintRegionNow(window, d, int(d->pressed), 0);
    return true;
  }
  if (d->pressed && d->pressed == uint32_t(hit) && leftDown && (IsButtonRegion(hit) || hit == FR_SYSMENU)) {
    d->pressedMask |= 1u << hit;
    PaintRegionNow(window, d, hit, 1);
    return true;
  }
  if (hit == FR_MENU && d->menuBar && (!d->pressed || d->pressed == FR_MENU)) {
    POINT screen{short(LOWORD(lParam)), short(HIWORD(lParam))};
    cmBarHover(window, d->menuBar, screen);
    return true;
  }
  return false;
}

bool NcButtonUp(HWND window, CwWindowData* d, int hit) {
  if (hit <= 0 || hit >= 32 || !(d->pressedMask & (1u << hit))) {
    if (!d->pressedMask) d->pressed = 0;
    if (d->pressedMask) {
      EndMouseCapture();
      uint32_t was = d->pressed;
      d->pressedMask = 0;
      d->pressed = 0;
      if (was) PaintRegionNow(window, d, int(was), 0);
      return true;
    }
    return false;
  }
  d->pressedMask &= ~(1u << hit);
  switch (hit) {
    case FR_CLOSE:
      cwPostSysCommand(window, d, SC_CLOSE);
      break;
    case FR_MINIMIZE:
      cwPostSysCommand(window, d, SC_MINIMIZE);
      break;
    case FR_MAXIMIZE:
      cwPostSysCommand(window, d, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE);
      break;
    case FR_CAPTION:
      cwPostSysCommand(window, d, SC_MOVE);
      break;
    case FR_SYSMENU:
      cwPostSysCommand(window, d, SC_MOUSEMENU);
      break;
    case FR_GROWBOX:
      cwPostSysCommand(window, d, SC_SIZE);
      break;
    case FR_TOGGLE:
      d->toggle ^= 1;
      PostMessageA(window, CWM_TOGGLE, d->toggle & 1, 0);
      break;
    default:
      break;
  }
  EndMouseCapture();
  d->pressedMask = 0;
  d->pressed = 0;
  PaintRegionNow(window, d, hit, 0);
  return true;
}

// WM_CREATE of a window with its own frame set sees the application's
// parameter. The creation record may be a fresh copy for each message, so
// the window procedure is wrapped until WM_CREATE has passed.
const char kOriginalProc[] = "RwFrameCreateProc";
const char kAppParam[] = "RwFrameCreateParam";

LRESULT CALLBACK CreateParamThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto original = reinterpret_cast<WNDPROC>(GetPropA(window, kOriginalProc));
  if (message == WM_CREATE || message == WM_NCDESTROY) {
    if (message == WM_CREATE)
      reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams = GetPropA(window, kAppParam);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(window, kOriginalProc);
    RemovePropA(window, kAppParam);
  }
  return CallWindowProcA(original, window, message, wParam, lParam);
}

void PassAppParamToCreate(HWND window, LPARAM appParam) {
  LONG_PTR original = GetWindowLongPtrA(window, GWLP_WNDPROC);
  SetPropA(window, kOriginalProc, reinterpret_cast<HANDLE>(original));
  SetPropA(window, kAppParam, reinterpret_cast<HANDLE>(appParam));
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CreateParamThunk));
}

CwWindowData* CreateData(HWND window, CREATESTRUCTA* cs, bool dialog) {
  if (!g_wheelMessage) g_wheelMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
  CwDefaults* def = Defaults();
  if (!def) return nullptr;
  auto* d = static_cast<CwWindowData*>(memAlloc_rel(sizeof(CwWindowData), HEAPKIT_TAG_RW));
  if (!d) return nullptr;
  std::memset(d, 0, sizeof *d);
  uint32_t style = uint32_t(cs->style);
  d->frameFlags = FrameFlagsFromStyle(style);
  d->style = style & ~WS_SYSMENU;
  d->defaults = def;
  auto* params =
      (d->frameFlags & FF_PARAMS) && !dialog ? static_cast<CwCreateParams*>(cs->lpCreateParams) : nullptr;
  if (params && params->frame.present) {
    auto* own = static_cast<CwFrameBitmapSet*>(memAlloc_rel(sizeof(CwFrameBitmapSet), HEAPKIT_TAG_RW));
    if (!own) {
      memFree_rel(d);
      return nullptr;
    }
    *own = params->frame;
    d->set = own;
    d->ownSet = 1;
    cs->lpCreateParams = reinterpret_cast<void*>(params->appParam);
    PassAppParamToCreate(window, params->appParam);
  }
  StoreData(window, dialog, d);
  if (params && (params->flags & 2)) {
    d->menuBar = cmCreateMenuBar(window, params->menuModule, MAKEINTRESOURCEA(params->menuId));
    if (!d->menuBar) return nullptr;
    d->frameFlags |= FF_MENUBAR;
    if ((d->frameFlags & FF_SYSMENU) && params->systemMenuId)
      d->systemMenu = cmLoadMenu(params->menuModule, MAKEINTRESOURCEA(params->systemMenuId));
  }
  if (style & WS_SYSMENU) SetWindowLongA(window, GWL_STYLE, LONG(style & ~WS_CAPTION));
  d->kind = !(style & (WS_CHILD | WS_POPUP)) ? 0 : (style & (WS_CHILD | WS_POPUP)) == WS_CHILD ? 1 : 2;
  for (int i = 0; i < 20; ++i) d->regions[i].hit = i;
  if (params && (params->flags & 1) && d->kind == 0) d->statusBar = StatusBarCreate();
  d->frameKind = FrameKindFromFlags(d->frameFlags);
  d->set = PickSet(d);
  PostToMain(d, 1, LPARAM(window));
  return d;
}

void DestroyData(HWND window, bool dialog) {
  CwWindowData* d = DataOf(window, dialog);
  if (!d) return;
  for (const Strip& st : kStrips)
    for (PackedDib*& b : d->regions[st.region].bitmaps) {
      dibDelete(b);
      b = nullptr;
    }
  if (d->ownSet) {
    if (d->set->font && d->set->font != GetStockObject(DEFAULT_GUI_FONT)) DeleteObject(d->set->font);
    memFree_rel(d->set);
  }
  if (d->menuBar) cmDestroyMenuBar(d->menuBar);
  if (d->systemMenu) cmDestroyMenu(d->systemMenu);
  StatusBarDestroy(d->statusBar);
  memFree_rel(d);
  StoreData(window, dialog, nullptr);
}

// 0x8605: a control asks for its parent's background behind it. The
// request is the control's rectangle in the parent's client coordinates
// followed by the control's bitmap.
struct BackgroundRequest {
  int32_t rect[4];
  PackedDib* bitmap;
};

LRESULT PaintControlBackground(CwWindowData* d, LPARAM lParam) {
  auto* request = reinterpret_cast<BackgroundRequest*>(lParam);
  PackedDib* tile = d && d->set ? d->set->Piece(FW_BACKGROUND) : nullptr;
  if (!request || !request->bitmap || !tile) return 0;
  DibRect r{request->rect[0], request->rect[1], request->rect[2], request->rect[3]};
  return dibPaintControlBackgroundOffset(tile, request->bitmap, &r, 0, 0) ? 1 : 0;
}

// While a menu popup of this thread shows, the frame keeps its active look:
// the popup takes the activation only to receive the keys.
bool MenuPopupShowing() {
  for (HWND h = FindWindowExA(nullptr, nullptr, "CGUIMenuPopup", nullptr); h;
       h = FindWindowExA(nullptr, h, "CGUIMenuPopup", nullptr))
    if (IsWindowVisible(h) && GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId()) return true;
  return false;
}

bool RealizeAndCheck(HWND window, CwWindowData* d) {
  HDC dc = GetDC(window);
  HPALETTE old = SelectPalette(dc, d->defaults->palette, FALSE);
  UINT changed = RealizePalette(dc);
  SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
  if (changed || d->repaintNeeded) {
    RedrawWindowsOfInstance(window);
    d->repaintNeeded = 0;
    return true;
  }
  return false;
}

// The frame messages both procedures handle. *handled false: the caller's
// default procedure answers.
LRESULT FrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool dialog, bool* handled) {
  *handled = true;
  CwWindowData* d = DataOf(window, dialog);
  switch (message) {
    case WM_NCCREATE:
      if (!CreateData(window, reinterpret_cast<CREATESTRUCTA*>(lParam), dialog)) {
        DestroyData(window, dialog);
        return 0;
      }
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      *handled = false;
      return 0;
    case WM_NCDESTROY:
      DestroyData(window, dialog);
      *handled = false;
      return 0;
    default:
      break;
  }
  if (!d) {
    if (message == WM_QUERYNEWPALETTE) return 1;
    *handled = false;
    return 0;
  }
  if (message == g_wheelMessage && g_wheelMessage) {
    HWND focus = GetFocus();
    return focus ? SendMessageA(focus, WM_MOUSEWHEEL, wParam << 16, lParam) : 0;
  }
  switch (message) {
    case WM_NCCALCSIZE: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return 0;
      RECT wr = *r;
      Layout(d, wr.right - wr.left, wr.bottom - wr.top);
      const int32_t* c = d->regions[FR_CLIENT].rect;
      *r = RECT{wr.left + c[0], wr.top + c[1], wr.left + c[2], wr.top + c[3]};
      BuildBitmaps(window, d);
      return wParam ? 0x700 : 0;
    }
    case WM_NCHITTEST: {
      RECT wr;
      GetWindowRect(window, &wr);
      return HitTestFrame(d->regions, short(LOWORD(lParam)) - wr.left, short(HIWORD(lParam)) - wr.top);
    }
    case WM_NCPAINT:
      PaintFrame(window, d, GetActiveWindow() == window || MenuPopupShowing() ? 0 : 1);
      return 1;
    case WM_NCACTIVATE:
      PaintFrame(window, d, wParam || MenuPopupShowing() ? 0 : 1);
      return 1;
    case WM_NCMOUSEMOVE:
      if (NcMouseMove(window, d, int(wParam), lParam)) return 0;
      break;
    case WM_NCLBUTTONDOWN:
      if (NcButtonDown(window, d, int(wParam), false, lParam)) return 0;
      break;
    case WM_NCLBUTTONDBLCLK:
      if (dialog) break;
      if (NcButtonDown(window, d, int(wParam), true, lParam)) return 0;
      break;
    case WM_NCLBUTTONUP:
      if (NcButtonUp(window, d, int(wParam))) return 0;
      break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
      if (dialog) break;
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU) {
        CmMenuBar* bar = d->menuBar;
        if (!bar && d->defaults->appMainWindow) {
          CwWindowData* main = cwGetWindowData(d->defaults->appMainWindow);
          bar = main ? main->menuBar : nullptr;
        }
        if (bar && lParam) {
          cmBarMnemonic(bar->window, bar, int(lParam));
          return 0;
        }
      }
      break;
    case WM_SETTEXT: {
      *handled = false;
      return 0;  // the caller redraws after its default procedure
    }
    case WM_MOUSEACTIVATE:
      if (!dialog && LOWORD(lParam) == FR_MENU && HIWORD(lParam) == WM_LBUTTONDOWN && d->menuBar &&
          d->menuBar->dropDown)
        return MA_NOACTIVATE;
      break;
    case WM_GETMINMAXINFO: {
      int w, h;
      MinTrackSize(d->regions, &w, &h);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{w, h};
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if ((pos->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
        RECT wr;
        GetWindowRect(window, &wr);
        Layout(d, wr.right - wr.left, wr.bottom - wr.top);
      }
      if (d->regions[FR_MAXIMIZE].bitmaps[0] &&
          d->regions[FR_MAXIMIZE].bitmaps[0] != d->set->Piece(FW_MAXIMIZE) && !IsZoomed(window))
        SwapRestore(d);
      break;
    }
    case WM_QUERYNEWPALETTE:
      if (d->paletteChanged) {
        d->paletteChanged = 0;
        d->repaintNeeded = 1;
      }
      return RealizeAndCheck(window, d) ? 1 : 0;
    case WM_PALETTECHANGED:
      if (!d->paletteChanged && (!dialog || GetActiveWindow() != d->defaults->appMainWindow))
        d->paletteChanged = d->repaintNeeded = 1;
      if (HWND(wParam) == window) return 0;
      RealizeAndCheck(window, d);
      return 0;
    case CWM_GETWINDOWDATA:
      return LRESULT(d);
    case CWM_TOGGLE:
      if (lParam == 0x8FFF) d->toggle &= ~1u;
      {
        CwFrameRegion& t = d->regions[FR_TOGGLE];
        PackedDib* b = t.bitmaps[0];
        t.bitmaps[0] = t.bitmaps[1];
        t.bitmaps[1] = b;
        PaintRegionNow(window, d, FR_TOGGLE, 0);
      }
      return 0;
    default:
      break;
  }
  *handled = false;
  return 0;
}

}  // namespace

PackedDib* cwLoadBitmap(HINSTANCE module, uintptr_t id, int remap) {
  // A value above the resource-id range is already a bitmap (a record
  // handed in a second time, or one filled with images by its caller).
  if (id >= 0x10000) return reinterpret_cast<PackedDib*>(id);
  if (!module || !id) return nullptr;
  PackedDib* dib = LoadWritableBitmapResource(module, int(id));
  if (dib && remap) dibColorsToIndices(dib);
  return dib;
}

CwWindowData* cwGetWindowData(HWND window) {
  if (!window) return nullptr;
  return DataOf(window, IsDialog(window));
}

bool cwMovedFarEnough(POINT a, POINT b) {
  return a.x - b.x >= 6 || b.x - a.x >= 6 || a.y - b.y >= 6 || b.y - a.y >= 6;
}

void cwStatusPaint(HDC dc, CwWindowData* d) {
  CwStatusBar* bar = d->statusBar;
  const CwStatusLook& look = d->defaults->statusLook;
  if (!bar || !look.present) return;
  HGDIOBJ oldFont = look.font ? SelectObject(dc, look.font) : nullptr;
  SetTextColor(dc, PALETTEINDEX(look.textColour & 0xFFFF));
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < bar->count && i < kStatusParts; ++i) {
    const CwStatusPart* p = bar->parts[i];
    int32_t r[4];
    if (!p || !StatusPartRect(bar, i, r)) continue;
    RECT rect{r[0], r[1], r[2], r[3]};
    if (p->kind == 2) {
      const auto& g = p->progress;
      if (g.position != 0 && g.position >= g.minimum && g.position <= g.maximum && g.maximum > g.minimum) {
        RECT fill{r[0], r[1] + 4, r[0] + (r[2] - r[0]) * g.position / (g.maximum - g.minimum), r[3] - 5};
        if (PaintRectWithPaletteIndex(dc, &fill, look.progressColour) != 0)
          FillRect(dc, &fill, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
    } else {
      DrawTextA(dc, p->text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
    }
    if (i + 1 < bar->count && look.separator)
      dibDisplay(dc, r[2], r[1], W(look.separator), H(look.separator), 0, 0, look.separator);
  }
  if (oldFont) SelectObject(dc, oldFont);
}

int cwRegisterDialogClass(HINSTANCE module) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, "#32770", &wc)) return 0;
  wc.style = 0x600B;
  wc.lpfnWndProc = cguiDialogWndProc;
  wc.cbWndExtra += 4;
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

LRESULT CALLBACK cwDefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsIconic(window)) return DefWindowProcA(window, message, wParam, lParam);
  bool handled;
  LRESULT r = FrameMessage(window, message, wParam, lParam, false, &handled);
  if (handled) return r;
  CwWindowData* d = DataOf(window, false);
  if (d && d->statusBar && IsStatusBarMessage(message)) {
    StatusRepaint rp;
    int part;
    int sep = W(d->defaults->statusLook.separator);
    LRESULT result = StatusBarMessage(d->statusBar, message, wParam, lParam, sep, &rp, &part);
    if (rp != SR_NONE) RepaintStatus(window, d);
    return result;
  }
  if (d && IsStatusBarMessage(message)) return 0;
  switch (message) {
    case WM_SETTEXT: {
      LRESULT res = DefWindowProcA(window, message, wParam, lParam);
      if (d) {
        if (d->set && (d->set->textMode == 2 || d->set->textMode == 3)) BuildBitmaps(window, d);
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      }
      return res;
    }
    case WM_ERASEBKGND:
      if (d) {
        SelectAndRealizePalette(HDC(wParam), nullptr, d->defaults->palette);
        PackedDib* bg = d->set ? d->set->Piece(FW_BACKGROUND) : nullptr;
        if ((GetWindowLongA(window, GWL_STYLE) & 0x1000) && bg) {
          RECT c;
          GetClientRect(window, &c);
          TileDibOnDC(HDC(wParam), bg, &c);
          return 1;
        }
      }
      break;
    case WM_ACTIVATEAPP:
      if (d) {
        HDC dc = GetDC(window);
        SelectAndRealizePalette(dc, nullptr, d->defaults->palette);
        ReleaseDC(window, dc);
      }
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (d) {
        SelectAndRealizePalette(HDC(wParam), nullptr, d->defaults->palette);
        return SendMessageA(HWND(lParam), message, wParam, lParam);
      }
      break;
    case WM_CTLCOLORDLG:
      if (d) SelectAndRealizePalette(HDC(wParam), nullptr, d->defaults->palette);
      return 0;
    case CWM_GETBACKGROUND:
      return PaintControlBackground(d, lParam);
    case CWM_MENUCLOSED:
      if (d) {
        if (wParam == 1) cwMenuBarExitMenu(window, d);
        if (d->defaults->appMainWindow)
          SendMessageA(d->defaults->appMainWindow, WM_EXITMENULOOP, wParam == 1 ? 0 : 1, 0);
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK cguiDialogWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto dlgProc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(window, DWLP_DLGPROC));
  if (IsIconic(window)) return DefDlgProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG:
      return dlgProc ? CallWindowProcA(reinterpret_cast<WNDPROC>(dlgProc), window, message, wParam, lParam)
                     : 0;
    case WM_COMMAND:
      return dlgProc ? CallWindowProcA(reinterpret_cast<WNDPROC>(dlgProc), window, message, wParam, lParam)
                     : 0;
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_ACTIVATEAPP:
    case WM_MOUSEACTIVATE:
    case CWM_MENUCLOSED:
      return DefDlgProcA(window, message, wParam, lParam);
    default:
      break;
  }
  if (IsStatusBarMessage(message)) return DefDlgProcA(window, message, wParam, lParam);
  if (message == CWM_TOGGLE && lParam != 0x8FFF) {
    CwWindowData* data = DataOf(window, true);
    if (!data || !dlgProc) return 0;
    // The dialog decides whether the toggle takes effect.
    if (!CallWindowProcA(reinterpret_cast<WNDPROC>(dlgProc), window, message, data->toggle & 1, 0)) return 0;
  }
  if (message == CWM_GETBACKGROUND) {
    if (dlgProc)
      if (LRESULT a = CallWindowProcA(reinterpret_cast<WNDPROC>(dlgProc), window, message, wParam, lParam))
        return a;
    return PaintControlBackground(DataOf(window, true), lParam);
  }
  bool handled;
  LRESULT r = FrameMessage(window, message, wParam, lParam, true, &handled);
  if (handled) return r;
  CwWindowData* d = DataOf(window, true);
  auto ask = [&]() {
    return dlgProc ? CallWindowProcA(reinterpret_cast<WNDPROC>(dlgProc), window, message, wParam, lParam) : 0;
  };
  switch (message) {
    case WM_SETTEXT: {
      LRESULT res = DefDlgProcA(window, message, wParam, lParam);
      if (d)
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      return res;
    }
    case WM_ERASEBKGND: {
      if (!dlgProc) return 0;
      if (LRESULT a = ask()) return a;
      PackedDib* bg = d && d->set ? d->set->Piece(FW_BACKGROUND) : nullptr;
      if (d && (GetWindowLongA(window, GWL_STYLE) & 0x1000) && bg) {
        SelectAndRealizePalette(HDC(wParam), nullptr, d->defaults->palette);
        RECT c;
        GetClientRect(window, &c);
        TileDibOnDC(HDC(wParam), bg, &c);
        return 1;
      }
      break;
    }
    case WM_GETMINMAXINFO:
      if (ask() && d) {
        int w, h;
        MinTrackSize(d->regions, &w, &h);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{w, h};
      }
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      if (LRESULT a = ask()) return a;
      char name[64] = {};
      GetClassNameA(HWND(lParam), name, sizeof name);
      CharLowerA(name);
      if (std::strstr(name, "cgui")) return SendMessageA(HWND(lParam), message, wParam, lParam);
      return LRESULT(GetStockObject(NULL_BRUSH));
    }
    default:
      break;
  }
  return DefDlgProcA(window, message, wParam, lParam);
}

}  // extern "C"
