// The window procedures of framed windows: cwDefWindowProc and
// cguiDialogWndProc, with the window record, the frame buttons, the status
// bar's messages and the palette. Layout and painting are frame_paint.cpp's,
// the set-up exports frame_defaults.cpp's, the menu bar the menu engine's.
//
// Interface: cwDefWindowProc, cguiDialogWndProc, cwPostSysCommand,
// cwGetWindowData.
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

constexpr int kDialogSlot = DLGWINDOWEXTRA;  // 30: just behind the system dialog's bytes
UINT g_wheelMessage = 0;

int W(const PackedDib* d) { return DibW(d); }
CwDefaults* Defaults() { return FrameDefaults(); }

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
    FramePaintRegion(window, d, hit, 1);
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
    FramePaintRegion(window, d, int(d->pressed), 0);
    return true;
  }
  if (d->pressed && d->pressed == uint32_t(hit) && leftDown && (IsButtonRegion(hit) || hit == FR_SYSMENU)) {
    d->pressedMask |= 1u << hit;
    FramePaintRegion(window, d, hit, 1);
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
      if (was) FramePaintRegion(window, d, int(was), 0);
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
  FramePaintRegion(window, d, hit, 0);
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
  d->set = FramePickSet(d);
  PostToMain(d, 1, LPARAM(window));
  return d;
}

void DestroyData(HWND window, bool dialog) {
  CwWindowData* d = DataOf(window, dialog);
  if (!d) return;
  FrameFreeStrips(d);
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
      FrameLayout(d, wr.right - wr.left, wr.bottom - wr.top);
      const int32_t* c = d->regions[FR_CLIENT].rect;
      *r = RECT{wr.left + c[0], wr.top + c[1], wr.left + c[2], wr.top + c[3]};
      FrameBuildBitmaps(window, d);
      return wParam ? 0x700 : 0;
    }
    case WM_NCHITTEST: {
      RECT wr;
      GetWindowRect(window, &wr);
      return HitTestFrame(d->regions, short(LOWORD(lParam)) - wr.left, short(HIWORD(lParam)) - wr.top);
    }
    case WM_NCPAINT:
      FramePaint(window, d, GetActiveWindow() == window || MenuPopupShowing() ? 0 : 1);
      return 1;
    case WM_NCACTIVATE:
      FramePaint(window, d, wParam || MenuPopupShowing() ? 0 : 1);
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
        FrameLayout(d, wr.right - wr.left, wr.bottom - wr.top);
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
        FramePaintRegion(window, d, FR_TOGGLE, 0);
      }
      return 0;
    default:
      break;
  }
  *handled = false;
  return 0;
}

}  // namespace

CwWindowData* cwGetWindowData(HWND window) {
  if (!window) return nullptr;
  return DataOf(window, IsDialog(window));
}

extern "C" {

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
    if (rp != SR_NONE) FrameRepaintStatus(window, d);
    return result;
  }
  if (d && IsStatusBarMessage(message)) return 0;
  switch (message) {
    case WM_SETTEXT: {
      LRESULT res = DefWindowProcA(window, message, wParam, lParam);
      if (d) {
        if (d->set && (d->set->textMode == 2 || d->set->textMode == 3)) FrameBuildBitmaps(window, d);
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
