// The cm* custom menu exports: the model's operations (menu_model.cpp)
// under the system's menu-call shapes, menu resources, menu bars of framed
// windows and popups.
#include <windows.h>

#include "facet_frame.h"

static_assert(sizeof(MENUITEMINFOA) != 44 || sizeof(CmItemInfo) == 44, "item-info layout");

namespace {

// Menu items' bar images are Dibkit images.
const bool kImageHook = (
    g_menuImageFree = [](PackedDib* image) { dibDelete(image); }, true);

CmMenuBar* BarOf(HWND window) {
  CwWindowData* d = cwGetWindowData(window);
  return d ? d->menuBar : nullptr;
}

}  // namespace

extern "C" {

CmMenu* cmLoadMenu(HINSTANCE module, const char* name) {
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(4));
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  CmMenu* menu = MenuParseTemplate(static_cast<const uint8_t*>(data), SizeofResource(module, found));
  FreeResource(loaded);
  return menu;
}

int cmDestroyMenu(CmMenu* menu) {
  MenuDestroy(menu);
  return 1;
}

CmMenu* cmCreatePopupMenu(void) { return MenuCreate(); }

int cmAppendMenu(CmMenu* menu, UINT flags, UINT_PTR id, const char* text) {
  return MenuAppend(menu, flags, id, text);
}

int cmInsertMenuItem(CmMenu* menu, UINT position, BOOL byPosition, const MENUITEMINFOA* info) {
  return MenuInsert(menu, position, byPosition, reinterpret_cast<const CmItemInfo*>(info));
}

CmMenu* cmGetSubMenu(CmMenu* menu, int position) { return MenuGetSub(menu, position); }
void cmDestroySubMenu(CmMenu* menu) { MenuDestroySub(menu); }
DWORD cmCheckMenuItem(CmMenu* menu, UINT item, UINT flags) { return MenuCheck(menu, item, flags); }
DWORD cmEnableMenuItem(CmMenu* menu, UINT item, UINT flags) { return MenuEnable(menu, item, flags); }

int cmGetMenuItemInfo(CmMenu* menu, UINT item, BOOL byPosition, MENUITEMINFOA* info) {
  return MenuGetInfo(menu, item, byPosition, reinterpret_cast<CmItemInfo*>(info));
}

int cmSetMenuItemInfo(CmMenu* menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
  return MenuSetInfo(menu, item, byPosition, reinterpret_cast<const CmItemInfo*>(info));
}

CmMenu* cmGetMenu(HWND window) {
  CmMenuBar* bar = BarOf(window);
  return bar ? bar->menu : nullptr;
}

CmMenu* cmSetMenu(HWND window, CmMenu* menu) {
  CmMenuBar* bar = window && menu ? BarOf(window) : nullptr;
  if (!bar) return nullptr;
  CmMenu* old = bar->menu;
  if (old) MenuReleaseBarImages(old);
  menu->selected = menu->hot = -1;
  bar->menu = menu;
  cmMeasureBarItems(menu, bar);
  cmRenderBarItems(menu, bar);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  return old;
}

int cwEnableMenu(HWND window, int enable) {
  CmMenuBar* bar = BarOf(window);
  if (!bar) return 0;
  int old = bar->disabled;
  bar->disabled = enable ? 0 : 1;
  return old;
}

HWND cmTrackPopupMenu(CmMenu* menu, const RECT* anchor, HWND owner, int mode) {
  CwDefaults* d = cwGetDefaultData();
  if (!menu || !d) return nullptr;
  if (d->appMainWindow) SendMessageA(d->appMainWindow, WM_ENTERMENULOOP, mode == 0 ? 1 : 0, 0);
  return cmShowPopup(menu, anchor, owner, mode);
}

}  // extern "C"
