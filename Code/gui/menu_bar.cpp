// The menu bar that a framed window paints in its frame: measuring and
// rendering the items, rows, painting, and opening drop-downs by mouse and
// keyboard.
//
// Interface: cmCreateMenuBar, cmDestroyMenuBar, cmMeasureBarItems,
// cmRenderBarItems, cmLayoutMenuBar, cmPaintMenuBar, cmBarClick,
// cmBarHover, cmBarMnemonic, cmBarStep, cwMenuBarExitMenu.
#include <windows.h>

#include <cctype>
#include <cstring>

#include "barframe.h"
#include "dibkit_gdi.h"
#include "facet_frame.h"
#include "heapkit.h"
#include "menu_layout.h"
#include "winutil.h"

namespace {

int W(const PackedDib* d) { return d ? d->biWidth : 0; }
int H(const PackedDib* d) { return d ? (d->biHeight < 0 ? -d->biHeight : d->biHeight) : 0; }

const CwMenuLook* Look() {
  CwDefaults* d = cwGetDefaultData();
  return d ? &d->menuLook : nullptr;
}

// The bar's palette: the background's middle image's colour table.
void GiveBarPalette(PackedDib* image, const CwMenuLook& look) {
  if (look.barBackground[1]) dibCopyPalette(image, look.barBackground[1]);
}

void PaintItemOn(HDC dc, CmMenuBar* bar, int index) {
  const CwMenuLook* look = Look();
  if (!look || index < 0 || index >= bar->menu->count) return;
  const CmMenuItem& item = bar->menu->items[index];
  if (item.rect[3] <= item.rect[1]) return;  // not shown
  bool hot = index == bar->menu->hot;
  int x = item.rect[0] + bar->rect[0], y = item.rect[1] + bar->rect[1];
  const PackedDib* image = item.barImages[hot ? 1 : 0];
  if (image) dibDisplay(dc, x, y, item.rect[2] - item.rect[0], item.rect[3] - item.rect[1], 0, 0, image);
  if (look->barKind == 1) {
    SetTextColor(dc, PALETTEINDEX((hot ? look->barTextHot : look->barText) & 0xFFFF));
    HGDIOBJ old = look->font ? SelectObject(dc, look->font) : nullptr;
    TextOutA(dc, x + (hot ? look->hotX : look->normalX), y + (hot ? look->hotY : look->normalY), item.text,
             int(std::strlen(item.text)));
    if (old) SelectObject(dc, old);
  }
}

void PaintBarItem(CmMenuBar* bar, int index) {
  CwDefaults* def = cwGetDefaultData();
  HDC dc = GetWindowDC(bar->window);
  if (!dc || !def) return;
  HPALETTE old = SelectAndRealizePalette(dc, nullptr, def->palette);
  SetBkMode(dc, TRANSPARENT);
  PaintItemOn(dc, bar, index);
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(bar->window, dc);
}

int ItemAtScreen(HWND window, CmMenuBar* bar, POINT screen) {
  RECT wr;
  GetWindowRect(window, &wr);
  return ItemAt(bar->menu, screen.x - wr.left - bar->rect[0], screen.y - wr.top - bar->rect[1]);
}

int OpenBarItem(CmMenuBar* bar, int index) {
  GetCursorPos(&bar->lastCursor);
  CmMenu* sub = cmGetSubMenu(bar->menu, index);
  if (!sub) return 0;
  const int32_t* r = bar->menu->items[index].rect;
  RECT wr;
  GetWindowRect(bar->window, &wr);
  int ox = wr.left + bar->rect[0], oy = wr.top + bar->rect[1];
  RECT anchor{r[0] + ox, r[1] + oy, r[2] + ox, r[3] + oy};
  if (bar->dropDown && IsWindow(bar->dropDown) && IsWindowVisible(bar->dropDown)) {
    // Another item of an open bar: the drop-down shows the new menu.
    bar->dropDown = cmRetargetPopup(bar->dropDown, sub, &anchor, bar->window);
  } else {
    bar->dropDown = cmTrackPopupMenu(sub, &anchor, bar->window, 1);
  }
  if (!bar->dropDown) {
    cmDestroySubMenu(sub);
    return 0;
  }
  return 1;
}

void MakeHot(CmMenuBar* bar, int index) {
  int old = bar->menu->hot;
  bar->menu->hot = index;
  if (old >= 0) PaintBarItem(bar, old);
  if (index >= 0) PaintBarItem(bar, index);
}

}  // namespace

int cmMeasureBarItems(CmMenu* menu, CmMenuBar* bar) {
  const CwMenuLook* look = Look();
  if (!look || !menu) return 0;
  HDC dc = GetWindowDC(bar->window);
  HGDIOBJ old = look->font ? SelectObject(dc, look->font) : nullptr;
  for (int i = 0; i < menu->count; ++i) {
    CmMenuItem& item = menu->items[i];
    int32_t* r = item.rect;
    switch (look->barKind) {
      case 1: {
        RECT t{0, 0, 0, 0};
        DrawTextA(dc, item.text, -1, &t, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
        r[0] = 0;
        r[1] = 0;
        r[2] = t.right + 4 * look->normalX;
        r[3] = t.bottom + 4 * look->normalY;
        break;
      }
      case 2:
        r[0] = r[1] = 0;
        r[2] = W(item.barImages[0]);
        r[3] = H(item.barImages[0]);
        break;
      case 3: {
        unsigned long long size = cttBasicStringSize(dc, item.text);
        r[0] = r[1] = 0;
        r[2] = int(size & 0xFFFFFFFF) + 2 * look->normalX;
        r[3] = H(look->barItem[1]);
        break;
      }
      default:
        break;
    }
  }
  if (old) SelectObject(dc, old);
  ReleaseDC(bar->window, dc);
  return 1;
}

int cmRenderBarItems(CmMenu* menu, CmMenuBar* bar) {
  const CwMenuLook* look = Look();
  if (!look || !menu) return 0;
  if (look->barKind != 1 && look->barKind != 3) return 1;
  HDC dc = nullptr;
  HGDIOBJ oldFont = nullptr;
  PackedDib* colours[2] = {nullptr, nullptr};
  int result = 1;
  if (look->barKind == 3) {
    dc = GetWindowDC(bar->window);
    int textH = MulDiv(look->points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    for (int s = 0; s < 2; ++s) {
      colours[s] = dibCreateWithColors(GetSystemMetrics(SM_CXSCREEN) + 64, 4 * (textH > 0 ? textH : 1), 8);
      if (!colours[s]) continue;
      GiveBarPalette(colours[s], *look);
      dibFillWithColor(colours[s], uint32_t((s ? look->barTextHot : look->barText) & 0xFF));
    }
    if (look->font) oldFont = SelectObject(dc, look->font);
  }
  for (int i = 0; i < menu->count && result; ++i) {
    CmMenuItem& item = menu->items[i];
    for (int s = 0; s < 2; ++s) {
      PackedDib* image =
          item.rect[2] > 0 && item.rect[3] > 0 ? dibCreateWithColors(item.rect[2], item.rect[3], 8) : nullptr;
      if (!image) {
        result = 0;
        break;
      }
      dibFillWithColor(image, 0);
      GiveBarPalette(image, *look);
      PackedDib* const* piece = s ? look->barItemHot : look->barItem;
      BuildBarDib(image, piece[0], piece[1], piece[2], 0);
      if (look->barKind == 3 && colours[s]) {
        if (PackedDib* text = cttBasicString(dc, item.text, colours[s], 1)) {
          int x = W(image) / 2 - W(text) / 2, y = H(image) / 2 - H(text) / 2 - 1;
          CopyPixels8(image, text, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0, W(text), H(text), true);
          dibDelete(text);
        }
      }
      dibDelete(item.barImages[s]);
      item.barImages[s] = image;
    }
  }
  if (dc) {
    if (oldFont) SelectObject(dc, oldFont);
    ReleaseDC(bar->window, dc);
  }
  for (PackedDib* c : colours) dibDelete(c);
  return result;
}

CmMenuBar* cmCreateMenuBar(HWND window, HINSTANCE module, const char* name) {
  auto* bar = static_cast<CmMenuBar*>(memAlloc_rel(sizeof(CmMenuBar), HEAPKIT_TAG_RW));
  if (!bar) return nullptr;
  std::memset(bar, 0, sizeof *bar);
  bar->menu = cmLoadMenu(module, name);
  if (!bar->menu) {
    memFree_rel(bar);
    return nullptr;
  }
  bar->window = window;
  bar->menu->selected = bar->menu->hot = -1;
  cmMeasureBarItems(bar->menu, bar);
  if (!cmRenderBarItems(bar->menu, bar)) {
    cmDestroyMenu(bar->menu);
    memFree_rel(bar);
    return nullptr;
  }
  return bar;
}

int cmDestroyMenuBar(CmMenuBar* bar) {
  if (!bar) return 1;
  if (bar->dropDown && IsWindow(bar->dropDown)) cmClosePopup(bar->dropDown, false);
  cmDestroyMenu(bar->menu);
  dibDelete(bar->background);
  memFree_rel(bar);
  return 1;
}

void cmLayoutMenuBar(CmMenuBar* bar, RECT* area) {
  const CwMenuLook* look = Look();
  if (!bar || !area || !look || !bar->menu) return;
  BarRowLook rows{H(look->barBackground[1]), look->normalX, look->normalY, look->gap};
  int width = area->right - area->left, height = area->bottom - area->top;
  int n = LayoutBarRows(bar->menu, rows, width, height);
  if (n == 0) return;  // more rows than the area allows: keep what was laid out
  int32_t rect[4] = {area->left, area->top, area->right, area->top + n * rows.rowHeight};
  if (std::memcmp(rect, bar->rect, sizeof rect) == 0 && bar->background) return;
  std::memcpy(bar->rect, rect, sizeof rect);
  dibDelete(bar->background);
  bar->background = nullptr;
  if (width <= 0 || rows.rowHeight <= 0) return;
  bar->background = dibCreateWithColors(width, n * rows.rowHeight, 8);
  if (!bar->background) return;
  dibFillWithColor(bar->background, 0);
  PackedDib* row = dibCreateWithColors(width, rows.rowHeight, 8);
  if (row) {
    dibFillWithColor(row, 0);
    GiveBarPalette(row, *look);
    BuildBarDib(row, look->barBackground[0], look->barBackground[1], look->barBackground[2], 0);
    GiveBarPalette(bar->background, *look);
    for (int i = 0; i < n; ++i)
      CopyPixels8(bar->background, row, 0, i * rows.rowHeight, 0, 0, width, rows.rowHeight, false);
    dibDelete(row);
  }
}

void cmPaintMenuBar(HDC given, CmMenuBar* bar) {
  CwDefaults* def = cwGetDefaultData();
  if (!bar || !def) return;
  HDC dc = given ? given : GetWindowDC(bar->window);
  HPALETTE old = given ? nullptr : SelectAndRealizePalette(dc, nullptr, def->palette);
  SetBkMode(dc, TRANSPARENT);
  if (bar->background)
    dibDisplay(dc, bar->rect[0], bar->rect[1], W(bar->background), H(bar->background), 0, 0, bar->background);
  for (int i = 0; i < bar->menu->count; ++i) PaintItemOn(dc, bar, i);
  if (!given) {
    if (old) SelectPalette(dc, old, FALSE);
    ReleaseDC(bar->window, dc);
  }
}

int cmBarClick(HWND window, CmMenuBar* bar, POINT screen) {
  if (!bar || bar->disabled) return 0;
  int index = ItemAtScreen(window, bar, screen);
  if (index != bar->menu->hot || index < 0) {
    if (index < 0 && bar->menu->hot < 0) return 0;
    if (index < 0) return 1;
    MakeHot(bar, index);
    if (!OpenBarItem(bar, index)) MakeHot(bar, -1);
    return 1;
  }
  MakeHot(bar, -1);
  if (bar->dropDown) cmClosePopup(bar->dropDown, true);
  bar->dropDown = nullptr;
  return 0;
}

int cmBarHover(HWND window, CmMenuBar* bar, POINT screen) {
  if (!bar || !bar->dropDown || !IsWindowVisible(bar->dropDown)) return 1;
  if (!cwMovedFarEnough(screen, bar->lastCursor)) return 1;
  int index = ItemAtScreen(window, bar, screen);
  if (index < 0 || index == bar->menu->hot) return 1;
  cmBarStep(window, bar, index, 0);
  return 0;
}

int cmBarMnemonic(HWND, CmMenuBar* bar, int character) {
  if (!bar || bar->disabled) return 0;
  if (bar->dropDown && IsWindowVisible(bar->dropDown)) return 1;
  int upper = std::toupper(character & 0xFF);
  for (int i = 0; i < bar->menu->count; ++i) {
    if (bar->menu->items[i].mnemonic != upper) continue;
    MakeHot(bar, i);
    if (!OpenBarItem(bar, i)) MakeHot(bar, -1);
    return 1;
  }
  return 0;
}

int cmBarStep(HWND, CmMenuBar* bar, int index, int step) {
  if (!bar || bar->disabled || bar->menu->count <= 0) return 0;
  int next = index + step;
  if (next < 0) next = bar->menu->count - 1;
  if (next >= bar->menu->count) next = 0;
  MakeHot(bar, next);
  if (!OpenBarItem(bar, next)) MakeHot(bar, -1);
  return next;
}

void cwMenuBarExitMenu(HWND, CwWindowData* data) {
  CmMenuBar* bar = data ? data->menuBar : nullptr;
  if (!bar) return;
  bar->dropDown = nullptr;
  MakeHot(bar, -1);
}
