// The menu engine's popup window: CGUIMenuPopup shows one level of a custom
// menu, tracks the mouse and keys in it, opens submenus on a 300 ms timer
// and closes the chain. Windows are pooled and reused.
//
// Interface: cmRegisterPopupClass, cmUnregisterPopupClass, cmShowPopup,
// cmClosePopup, cmPrepareMenuLook.
#include <windows.h>

#include <cctype>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "barframe.h"
#include "dibkit_gdi.h"
#include "facet_frame.h"
#include "heapkit.h"
#include "menu_layout.h"
#include "winutil.h"

namespace {

const char kPopupClass[] = "CGUIMenuPopup";
constexpr UINT_PTR kSubmenuTimer = 99;

struct CmPopupState {
  HWND owner;
  RECT anchor;
  CmMenu* menu;
  INT_PTR mode;  // 0 free-standing, 1 bar drop-down, 2 system menu, else the parent popup
  HWND openSub;
};

struct PoolEntry {
  HWND window;
  bool inUse;
};
std::vector<PoolEntry> g_pool;

int W(const PackedDib* d) { return d ? d->biWidth : 0; }
int H(const PackedDib* d) { return d ? (d->biHeight < 0 ? -d->biHeight : d->biHeight) : 0; }

CwDefaults* Defaults() { return cwGetDefaultData(); }

CmPopupState* StateOf(HWND window) { return reinterpret_cast<CmPopupState*>(GetWindowLongPtrA(window, 0)); }

bool IsSubmenu(const CmPopupState* s) { return s->mode > 2 || s->mode < 0; }

int FrameWidth(const CwMenuLook& look) { return look.imageFrame && look.frame[7] ? W(look.frame[7]) : 2; }

HWND MainWindow() {
  CwDefaults* d = Defaults();
  return d ? d->appMainWindow : nullptr;
}

void SetStatusText(const CwMenuLook& look, const char* text) {
  if (!look.statusText) return;
  if (HWND main = MainWindow()) SendMessageA(main, CWM_SETSTATUSTEXT, WPARAM(look.statusPart), LPARAM(text));
}

void MarkFree(HWND window) {
  for (PoolEntry& e : g_pool)
    if (e.window == window) e.inUse = false;
}

void LayoutPopup(HWND window, CmPopupState* state) {
  SetWindowLongPtrA(window, 0, LONG_PTR(state));
  CwDefaults* def = Defaults();
  if (!def) return;
  const CwMenuLook& look = def->menuLook;
  SetStatusText(look, "");
  HDC dc = GetDC(window);
  HGDIOBJ oldFont = look.font ? SelectObject(dc, look.font) : nullptr;
  CmMenu* menu = state->menu;
  int y = 0, widest = 0;
  for (int i = 0; i < menu->count; ++i) {
    CmMenuItem& item = menu->items[i];
    int h, w;
    if (item.flags & CMF_SEPARATOR) {
      h = look.imageFrame ? H(look.separator[1]) + 2 : 8;
      w = 16;
    } else {
      RECT r{0, 0, 0, 0};
      DrawTextA(dc, item.text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
      h = r.bottom - r.top;
      w = r.right - r.left;
    }
    item.rect[1] = y;
    item.rect[3] = y + h;
    y += h;
    if (w > widest) widest = w;
  }
  if (oldFont) SelectObject(dc, oldFont);
  ReleaseDC(window, dc);
  int f = look.imageFrame ? 2 * W(look.frame[7]) + 4 : 6;
  int height = y + f;
  int width = widest + f + W(look.check[0]) + 15 + W(look.arrow[0]);
  int clientWidth = width - 2 * FrameWidth(look);
  for (int i = 0; i < menu->count; ++i) {
    menu->items[i].rect[0] = 0;
    menu->items[i].rect[2] = clientWidth;
  }
  const int32_t anchor[4] = {state->anchor.left, state->anchor.top, state->anchor.right,
                             state->anchor.bottom};
  int x, top;
  PlacePopup(anchor, width, height, IsSubmenu(state), GetSystemMetrics(SM_CXSCREEN),
             GetSystemMetrics(SM_CYSCREEN), &x, &top);
  EnableWindow(window, TRUE);
  SetWindowPos(window, HWND_TOPMOST, x, top, width, height, SWP_NOACTIVATE | SWP_NOCOPYBITS);
  ShowWindow(window, SW_SHOW);
}

void InvalidateItem(HWND window, const CmMenuItem& item, bool erase) {
  RECT r{item.rect[0], item.rect[1], item.rect[2], item.rect[3]};
  InvalidateRect(window, &r, erase);
}

void SelectItem(HWND window, CmPopupState* s, int index) {
  CmMenu* menu = s->menu;
  if (menu->selected >= 0 && menu->selected < menu->count) {
    CmMenuItem& old = menu->items[menu->selected];
    old.flags &= ~CMF_HIGHLIGHT;
    InvalidateItem(window, old, true);
    if (s->openSub) {
      // Taken to the top (and so active again) before the submenu hides.
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      HWND sub = s->openSub;
      s->openSub = nullptr;
      cmClosePopup(sub, false);
    }
  }
  menu->selected = index;
  if (index < 0 || index >= menu->count) return;
  CmMenuItem& item = menu->items[index];
  item.flags |= CMF_HIGHLIGHT;
  InvalidateItem(window, item, false);
  RECT r{item.rect[0], item.rect[1], item.rect[2], item.rect[3]};
  RedrawWindow(window, &r, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CwDefaults* def = Defaults();
  if (def && def->menuLook.statusText) {
    char text[512] = "";
    if (!(item.flags & CMF_POPUP) && def->menuLook.statusModule)
      LoadStringA(def->menuLook.statusModule, UINT(def->menuLook.statusBase + item.commandId), text,
                  sizeof text);
    SetStatusText(def->menuLook, text);
    if (HWND main = MainWindow()) PostMessageA(main, CWM_NOTIFY, 8, LPARAM(GetParent(window)));
  }
}

void OpenSubmenu(HWND window, CmPopupState* s, int index) {
  CmMenu* sub = cmGetSubMenu(s->menu, index);
  if (!sub) return;
  const int32_t* r = s->menu->items[index].rect;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  RECT anchor{r[0] + origin.x, r[1] + origin.y, r[2] + origin.x, r[3] + origin.y};
  HWND popup = cmShowPopup(sub, &anchor, s->owner, INT_PTR(window));
  if (popup) {
    s->openSub = popup;
  } else {
    cmDestroySubMenu(sub);
  }
}

void Choose(HWND window, CmPopupState* s, bool byKeyboard) {
  CmMenu* menu = s->menu;
  if (menu->selected < 0 || menu->selected >= menu->count) return;
  const CmMenuItem& item = menu->items[menu->selected];
  if (item.flags & CMF_POPUP) {
    if (byKeyboard) OpenSubmenu(window, s, menu->selected);
    return;
  }
  if (item.flags & (CMF_GRAYED | CMF_DISABLED | CMF_SEPARATOR)) return;
  UINT id = UINT(item.commandId);
  HWND owner = s->owner;
  // The chain's top decides how a choice is delivered.
  CmPopupState* top = s;
  while (top && IsSubmenu(top)) top = StateOf(HWND(top->mode));
  if (top && top->mode == 2) {
    auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(owner, CWM_GETWINDOWDATA, 0, 0));
    if (data) {
      cwPostSysCommand(owner, data, id);
    } else {
      POINT cursor;
      GetCursorPos(&cursor);
      PostMessageA(owner, WM_SYSCOMMAND, id, MAKELPARAM(cursor.x, cursor.y));
    }
  } else {
    if (byKeyboard)
      if (HWND main = MainWindow()) PostMessageA(main, CWM_NOTIFY, 6, LPARAM(owner));
    PostMessageA(owner, WM_COMMAND, id, 0);
  }
  cmClosePopup(window, true);
}

void PaintItem(HDC dc, const CwMenuLook& look, const CmMenuItem& item) {
  RECT r{item.rect[0], item.rect[1], item.rect[2], item.rect[3]};
  bool hi = item.flags & CMF_HIGHLIGHT;
  bool gray = item.flags & CMF_GRAYED;
  if (hi) PaintRectWithPaletteIndex(dc, &r, look.highlightFill);
  int colour = hi ? (gray ? look.grayTextHighlighted : look.itemTextHighlighted)
                  : (gray ? look.grayText : look.itemText);
  if (item.flags & CMF_SEPARATOR) {
    if (look.imageFrame) {
      ccDrawThreePiece(dc, &r, look.separator[0], look.separator[1], look.separator[2], 0);
      return;
    }
    // Without images: a line across the middle.
    RECT line{r.left + 4, (r.top + r.bottom) / 2 - 1, r.right - 4, (r.top + r.bottom) / 2};
    PaintRectWithPaletteIndex(dc, &line, look.grayText);
    return;
  }
  SetTextColor(dc, PALETTEINDEX(colour & 0xFFFF));
  int h = r.bottom - r.top;
  if (item.flags & CMF_CHECKED) {
    const PackedDib* c = look.check[hi ? 1 : 0];
    if (c) dibDisplay(dc, r.left + 3, r.top, W(c), H(c), 0, 0, c);
  }
  if (item.flags & CMF_POPUP) {
    const PackedDib* a = look.arrow[hi ? 1 : 0];
    if (a) dibDisplay(dc, r.right - 9 - W(a), r.top + (h - H(a)) / 2, W(a), H(a), 0, 0, a);
  }
  RECT text = r;
  text.left += W(look.check[0]) + 6;
  DrawTextA(dc, item.text, -1, &text, DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
}

void OnPaint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  CmPopupState* s = StateOf(window);
  CwDefaults* def = Defaults();
  if (s && def) {
    const CwMenuLook& look = def->menuLook;
    HPALETTE old = SelectAndRealizePalette(dc, nullptr, def->palette);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = look.font ? SelectObject(dc, look.font) : nullptr;
    for (int i = 0; i < s->menu->count; ++i) {
      const CmMenuItem& item = s->menu->items[i];
      RECT r{item.rect[0], item.rect[1], item.rect[2], item.rect[3]}, x;
      if (IntersectRect(&x, &r, &ps.rcPaint)) PaintItem(dc, look, item);
    }
    if (oldFont) SelectObject(dc, oldFont);
    if (old) SelectPalette(dc, old, FALSE);
  }
  EndPaint(window, &ps);
}

void OnKey(HWND window, CmPopupState* s, WPARAM key) {
  CmMenu* menu = s->menu;
  bool sub = IsSubmenu(s);
  switch (key) {
    case VK_RETURN:
      Choose(window, s, true);
      return;
    case VK_ESCAPE:
      if (sub) SetWindowPos(HWND(s->mode), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      cmClosePopup(window, true);
      return;
    case VK_LEFT:
    case VK_RIGHT: {
      int step = key == VK_LEFT ? -1 : 1;
      if (step > 0 && menu->selected >= 0 && (menu->items[menu->selected].flags & CMF_POPUP)) {
        OpenSubmenu(window, s, menu->selected);
        return;
      }
      if (step > 0 && menu->selected < 0 && menu->count > 0) {
        SelectItem(window, s, 0);
        return;
      }
      if (sub) {
        if (step < 0) {
          HWND parent = HWND(s->mode);
          SetWindowPos(parent, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
          if (CmPopupState* ps = StateOf(parent)) ps->openSub = nullptr;
          cmClosePopup(window, false);
        }
        return;
      }
      auto* data = reinterpret_cast<CwWindowData*>(SendMessageA(s->owner, CWM_GETWINDOWDATA, 0, 0));
      if (data && data->menuBar) {
        CmMenuBar* bar = data->menuBar;
        int hot = bar->menu->hot;
        cmClosePopup(window, true);
        cmBarStep(bar->window, bar, hot, step);
      }
      return;
    }
    case VK_UP:
    case VK_DOWN: {
      int next = StepSelection(menu, menu->selected, key == VK_UP ? -1 : 1);
      if (next >= 0) SelectItem(window, s, next);
      return;
    }
    default:
      break;
  }
  if (GetKeyState(VK_CONTROL) < 0) return;
  int upper = std::toupper(int(key & 0xFF));
  for (int i = 0; i < menu->count; ++i) {
    if (menu->items[i].mnemonic == upper) {
      SelectItem(window, s, i);
      Choose(window, s, true);
      return;
    }
  }
}

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CmPopupState* s = StateOf(window);
  CwDefaults* def = Defaults();
  switch (message) {
    case WM_CREATE:
      LayoutPopup(window,
                  static_cast<CmPopupState*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      return 0;
    case WM_NCCALCSIZE: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (r && r->right > r->left && r->bottom > r->top) {
        int fw = def ? FrameWidth(def->menuLook) : 2;
        InflateRect(r, -fw, -fw);
      }
      return wParam ? 0x700 : 0;
    }
    case WM_NCPAINT: {
      if (!def) return 0;
      HDC dc = GetWindowDC(window);
      HPALETTE old = SelectAndRealizePalette(dc, nullptr, def->palette);
      RECT wr;
      GetWindowRect(window, &wr);
      OffsetRect(&wr, -wr.left, -wr.top);
      if (def->menuLook.imageFrame) {
        if (old) SelectPalette(dc, old, FALSE);
        ReleaseDC(window, dc);
        PaintFrameSet(window, &wr, reinterpret_cast<const FrameSet*>(def->menuLook.frame), def->palette);
        return 0;
      }
      for (int i = 0; i < 2; ++i) {
        RECT edge = wr;
        InflateRect(&edge, -i, -i);
        FrameRect(dc, &edge, static_cast<HBRUSH>(GetStockObject(i ? GRAY_BRUSH : BLACK_BRUSH)));
      }
      if (old) SelectPalette(dc, old, FALSE);
      ReleaseDC(window, dc);
      return 0;
    }
    case WM_ERASEBKGND:
      if (def) {
        RECT c;
        GetClientRect(window, &c);
        HPALETTE old = SelectAndRealizePalette(HDC(wParam), nullptr, def->palette);
        PaintRectWithPaletteIndex(HDC(wParam), &c, def->menuLook.background);
        if (old) SelectPalette(HDC(wParam), old, FALSE);
      }
      return 1;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
      if (s) {
        int i = ItemAt(s->menu, short(LOWORD(lParam)), short(HIWORD(lParam)));
        if (i >= 0 && i != s->menu->selected && !(s->menu->items[i].flags & CMF_SEPARATOR)) {
          KillTimer(window, kSubmenuTimer);
          SelectItem(window, s, i);
          if (s->menu->items[i].flags & CMF_POPUP) SetTimer(window, kSubmenuTimer, 300, nullptr);
        }
      }
      return 0;
    case WM_TIMER:
      if (wParam == kSubmenuTimer) {
        KillTimer(window, kSubmenuTimer);
        if (s && s->menu->selected >= 0 && !s->openSub &&
            (s->menu->items[s->menu->selected].flags & CMF_POPUP))
          OpenSubmenu(window, s, s->menu->selected);
      }
      return 0;
    case WM_LBUTTONDOWN:
      if (s && ItemAt(s->menu, short(LOWORD(lParam)), short(HIWORD(lParam))) < 0) cmClosePopup(window, true);
      return 0;
    case WM_LBUTTONUP:
      if (s) {
        int i = ItemAt(s->menu, short(LOWORD(lParam)), short(HIWORD(lParam)));
        s->menu->selected = i;
        if (i >= 0 && !(s->menu->items[i].flags & 0x813)) Choose(window, s, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (s) OnKey(window, s, wParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (s && wParam == VK_MENU) {
        cmClosePopup(window, true);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (s) cmClosePopup(window, true);
      break;
    case WM_ACTIVATE: {
      // A click elsewhere activates another window: the menu is left. A
      // popup being closed (disabled first) or a popup of the chain taking
      // the activation leaves it open.
      HWND other = HWND(lParam);
      char name[32] = {};
      if (other) GetClassNameA(other, name, sizeof name);
      if (s && LOWORD(wParam) == WA_INACTIVE && IsWindowEnabled(window) &&
          std::strcmp(name, kPopupClass) != 0)
        cmClosePopup(window, true);
      break;
    }
    case WM_ACTIVATEAPP:
      if (s && !wParam) cmClosePopup(window, true);
      break;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (s && IsWindowEnabled(window) && (pos->flags & SWP_NOACTIVATE) && pos->hwndInsertAfter &&
          pos->hwndInsertAfter != HWND_TOPMOST && pos->hwndInsertAfter != HWND_TOP &&
          pos->hwndInsertAfter != HWND_NOTOPMOST && pos->hwndInsertAfter != HWND_BOTTOM) {
        char name[32] = {};
        GetClassNameA(pos->hwndInsertAfter, name, sizeof name);
        if (std::strcmp(name, kPopupClass) != 0) cmClosePopup(window, true);
      }
      break;
    }
    case WM_DESTROY:
      if (s) {
        memFree_rel(s);
        SetWindowLongPtrA(window, 0, 0);
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int cmRegisterPopupClass(HINSTANCE module) {
  WNDCLASSA wc{};
  wc.style = CS_SAVEBITS | CS_GLOBALCLASS;
  wc.cbClsExtra = 4;
  wc.cbWndExtra = kPointerSlotBytes;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpfnWndProc = PopupProc;
  wc.lpszClassName = kPopupClass;
  return RegisterClassA(&wc) != 0;
}

void cmUnregisterPopupClass(HINSTANCE module) {
  for (PoolEntry& e : g_pool)
    if (IsWindow(e.window)) DestroyWindow(e.window);
  g_pool.clear();
  UnregisterClassA(kPopupClass, module);
}

HWND cmShowPopup(CmMenu* menu, const RECT* anchor, HWND owner, INT_PTR mode) {
  if (!menu || !anchor) return nullptr;
  auto* state = static_cast<CmPopupState*>(memAlloc_rel(sizeof(CmPopupState), HEAPKIT_TAG_RW));
  if (!state) return nullptr;
  *state = CmPopupState{owner, *anchor, menu, mode, nullptr};
  if (mode == 0)
    for (const PoolEntry& e : g_pool)
      if (e.inUse) {
        memFree_rel(state);
        return nullptr;
      }
  HWND window = nullptr;
  for (PoolEntry& e : g_pool)
    if (!e.inUse && IsWindow(e.window)) {
      e.inUse = true;
      window = e.window;
      break;
    }
  if (HWND main = MainWindow()) SendMessageA(main, WM_INITMENUPOPUP, WPARAM(menu), mode == 2 ? 0x10000 : 0);
  if (!window) {
    HINSTANCE instance =
        owner ? HINSTANCE(GetWindowLongPtrA(owner, GWLP_HINSTANCE)) : GetModuleHandleA(nullptr);
    window = CreateWindowExA(0, kPopupClass, "", WS_POPUP | WS_CLIPSIBLINGS, 0, 0, 0, 0, MainWindow(),
                             nullptr, instance, state);
    if (!window) {
      memFree_rel(state);
      return nullptr;
    }
    g_pool.push_back({window, true});
  } else {
    LayoutPopup(window, state);
  }
  return window;
}

void cmClosePopup(HWND window, bool notify) {
  if (!IsWindow(window)) return;
  CmPopupState* s = StateOf(window);
  if (!s) return;
  KillTimer(window, kSubmenuTimer);
  EnableWindow(window, FALSE);
  ShowWindow(window, SW_HIDE);
  if (notify) {
    if (IsSubmenu(s)) {
      cmClosePopup(HWND(s->mode), true);
      return;
    }
    SendMessageA(s->owner, CWM_MENUCLOSED, s->mode == 1 ? 1 : 2, 0);
  }
  s = StateOf(window);  // the owner may have closed this popup meanwhile
  if (!s) return;
  if (s->openSub) {
    if (s->mode == 0)
      if (CmPopupState* sub = StateOf(s->openSub)) sub->mode = 0;
    HWND sub = s->openSub;
    s->openSub = nullptr;
    cmClosePopup(sub, false);
  }
  MarkFree(window);
  if (s->mode != 2) {
    // Drop-down and submenu records come from cmGetSubMenu; a free-standing
    // popup owns the record it was given. Either way only the record is
    // freed: the items belong to the menu tree. The system menu stays with
    // its window.
    MenuClearHighlight(s->menu->items, s->menu->count);
    cmDestroySubMenu(s->menu);
  } else {
    MenuClearHighlight(s->menu->items, s->menu->count);
    s->menu->selected = -1;
  }
  SetWindowLongPtrA(window, 0, 0);
  memFree_rel(s);
  if (CwDefaults* def = Defaults()) SetStatusText(def->menuLook, "");
}

HWND cmRetargetPopup(HWND popup, CmMenu* menu, const RECT* anchor, HWND owner) {
  CmPopupState* old = IsWindow(popup) ? StateOf(popup) : nullptr;
  if (!old || !menu || !anchor) return nullptr;
  auto* state = static_cast<CmPopupState*>(memAlloc_rel(sizeof(CmPopupState), HEAPKIT_TAG_RW));
  if (!state) return nullptr;
  if (old->openSub) {
    HWND sub = old->openSub;
    old->openSub = nullptr;
    cmClosePopup(sub, false);
  }
  KillTimer(popup, kSubmenuTimer);
  EnableWindow(popup, FALSE);
  MenuClearHighlight(old->menu->items, old->menu->count);
  cmDestroySubMenu(old->menu);
  memFree_rel(old);
  SetWindowLongPtrA(popup, 0, 0);
  *state = CmPopupState{owner, *anchor, menu, 1, nullptr};
  LayoutPopup(popup, state);
  InvalidateRect(popup, nullptr, TRUE);
  return popup;
}

int cmPrepareMenuLook(CwMenuLook* look, HINSTANCE module, int map) {
  auto load = [&](PackedDib*& field, bool always) {
    field = cwLoadBitmap(module, reinterpret_cast<uintptr_t>(field), 0);
    if (field && (always || map)) dibColorsToIndices(field);
  };
  for (PackedDib*& p : look->barBackground) load(p, true);
  for (PackedDib*& p : look->separator) load(p, true);
  for (PackedDib*& p : look->frame) load(p, true);
  for (PackedDib*& p : look->check) load(p, false);
  for (PackedDib*& p : look->arrow) load(p, false);
  for (PackedDib*& p : look->barItem) load(p, false);
  for (PackedDib*& p : look->barItemHot) load(p, false);
  look->imagesLoaded = 1;
  return 1;
}
