// Dialog runner, panels and layout helpers over the system (see
// dialog_runner.h).
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "app_globals.h"
#include "dialog_runner.h"
#include "look_and_feel.h"
#include "window_table.h"

namespace {

RECT ChildRect(HWND dialog, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int ClientWidth(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r.right - r.left;
}

void MoveItemX(HWND dialog, HWND item, int x) {
  const RECT r = ChildRect(dialog, item);
  SetWindowPos(item, nullptr, x, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
}

int ItemWidth(HWND dialog, HWND item) {
  const RECT r = ChildRect(dialog, item);
  return r.right - r.left;
}

// The owner's client area on the screen, cut to what its parents show and
// to the work area.
RECT VisibleArea(HWND owner) {
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  if (!owner) return work;
  RECT area;
  GetClientRect(owner, &area);
  MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&area), 2);
  HWND w = owner;
  while (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) {
    w = GetParent(w);
    if (!w) break;
    RECT parent;
    GetClientRect(w, &parent);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&parent), 2);
    IntersectRect(&area, &area, &parent);
  }
  IntersectRect(&area, &area, &work);
  return area;
}

}  // namespace

INT_PTR DoModalDialog(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC procedure, LPARAM parameter,
                      int pause) {
  const ModalPause held = BeginModalPause(pause);
  EnableAllPanels(0);
  const INT_PTR result = DialogBoxParamA(instance, templateName, owner, procedure, parameter);
  EnableAllPanels(1);
  EndModalPause(held);
  return result;
}

int HideAllPanels(int hide) {
  for (int id = WIN_ADVICE; id <= WIN_ADVISOR_MONITOR; ++id)
    if (GetNumberedWindow(id)) NumberedWindowOp(WOP_SHOW, id, hide ? WSC_HIDE_FOR_NOW : WSC_RESTORE);
  return 1;
}

int EnableAllPanels(int enable) {
  for (int id = WIN_ADVICE; id <= WIN_ADVISOR_MONITOR; ++id)
    if (GetNumberedWindow(id)) NumberedWindowOp(enable ? WOP_ENABLE : WOP_DISABLE, id, 0);
  return 1;
}

int KeepWindowInWorkArea(HWND owner, RECT* rect, int dock) {
  if (!rect) return 0;
  const RECT area = VisibleArea(owner);
  ShellRect board{};
  void* boardWindow = nullptr;
  GetBoardViewRect(&boardWindow, &board);
  if (boardWindow && board.right > board.left) {
    // The scene rectangle is in the board window's client coordinates.
    MapWindowPoints(static_cast<HWND>(boardWindow), nullptr, reinterpret_cast<POINT*>(&board), 2);
  } else {
    board = ShellRect{};
  }
  ShellRect r{rect->left, rect->top, rect->right, rect->bottom};
  const int answer = PlaceInWorkArea(ShellRect{area.left, area.top, area.right, area.bottom}, board, &r, dock);
  *rect = RECT{r.left, r.top, r.right, r.bottom};
  return answer;
}

int StretchDIBitsPal(HDC dc, int dstX, int dstY, int dstWidth, int dstHeight, int srcX, int srcY, int srcWidth,
                     int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  if (!bits || !info) return -1;
  if (usage != DIB_PAL_COLORS)
    return StretchDIBits(dc, dstX, dstY, dstWidth, dstHeight, srcX, srcY, srcWidth, srcHeight, bits, info, usage,
                         rop);
  // The program palette's colours, made once for the process.
  static RGBQUAD table[256];
  static bool made = false;
  if (!made) {
    HPALETTE palette = GetAppPalette();
    PALETTEENTRY entries[256];
    if (!palette || GetPaletteEntries(palette, 0, 256, entries) != 256) return -1;
    for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    made = true;
  }
  std::vector<unsigned char> header(sizeof(BITMAPINFOHEADER) + sizeof table);
  std::memcpy(header.data(), &info->bmiHeader, sizeof(BITMAPINFOHEADER));
  std::memcpy(header.data() + sizeof(BITMAPINFOHEADER), table, sizeof table);
  return StretchDIBits(dc, dstX, dstY, dstWidth, dstHeight, srcX, srcY, srcWidth, srcHeight, bits,
                       reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS, rop);
}

void SpaceThreeItems(HWND dialog, int a, int b, int c) {
  HWND ha = GetDlgItem(dialog, a), hb = GetDlgItem(dialog, b), hc = GetDlgItem(dialog, c);
  if (!ha || !hb || !hc) return;
  int xa, xb, xc;
  SpaceThreeItemsX(ClientWidth(dialog), ItemWidth(dialog, ha), ItemWidth(dialog, hb), ItemWidth(dialog, hc), &xa,
                   &xb, &xc);
  MoveItemX(dialog, ha, xa);
  MoveItemX(dialog, hb, xb);
  MoveItemX(dialog, hc, xc);
}

void SpaceTwoItems(HWND dialog, int a, int b) {
  HWND ha = GetDlgItem(dialog, a), hb = GetDlgItem(dialog, b);
  if (!ha || !hb) return;
  int xa, xb;
  SpaceTwoItemsX(ClientWidth(dialog), ItemWidth(dialog, ha), ItemWidth(dialog, hb), &xa, &xb);
  MoveItemX(dialog, ha, xa);
  MoveItemX(dialog, hb, xb);
}

void CenterDlgItem(HWND dialog, int item) {
  HWND h = GetDlgItem(dialog, item);
  if (h) MoveItemX(dialog, h, CenterItemX(ClientWidth(dialog), ItemWidth(dialog, h)));
}

void SetListColumnWidth(HWND listView, int column, int width) {
  LVCOLUMNA c{};
  c.mask = LVCF_WIDTH;
  c.cx = width;
  SendMessageA(listView, LVM_SETCOLUMNA, WPARAM(column), LPARAM(&c));
}

void FitListColumns(HWND listView, const ListColumn* columns, int count, int first) {
  if (!listView || !columns || count <= 0) return;
  std::vector<int32_t> widths(static_cast<size_t>(count));
  FitListColumnWidths(columns, count, first, ClientWidth(listView), widths.data());
  for (int i = 0; i < count; ++i) SetListColumnWidth(listView, i, widths[size_t(i)]);
  RedrawWindow(listView, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
