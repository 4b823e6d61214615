// The colour picker over the toolkit's track bars and edits. The swatch and
// strips are owner-drawn statics, so they are painted whenever the system
// repaints them and asked to repaint when the colour changes.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "color_picker.h"
#include "color_select.h"
#include "dialog_runner.h"

namespace {

constexpr int kBar[3] = {1928, 1929, 1930};
constexpr int kField[3] = {5278, 5279, 5280};
constexpr int kStrip[3] = {5277, 5281, 5283};
constexpr int kSwatch = 5282;
constexpr UINT kRepaint = 0x8114;
constexpr WPARAM kSwatchOnly = 0x0F000000;

COLORREF* Working(HWND dialog) { return reinterpret_cast<COLORREF*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void Repaint(HWND dialog, WPARAM what) {
  if (what & kSwatchOnly) InvalidateRect(GetDlgItem(dialog, kSwatch), nullptr, FALSE);
  const WPARAM strips[3] = {0x000F0000, 0x00000F00, 0x0000000F};
  for (int c = 0; c < 3; ++c)
    if (what & strips[c]) InvalidateRect(GetDlgItem(dialog, kStrip[c]), nullptr, FALSE);
}

void Draw(HWND dialog, const DRAWITEMSTRUCT* item) {
  const RECT& r = item->rcItem;
  if (item->CtlID == kSwatch) {
    HBRUSH brush = CreateSolidBrush(*Working(dialog));
    FillRect(item->hDC, &r, brush);
    DeleteObject(brush);
    FrameRect(item->hDC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return;
  }
  for (int c = 0; c < 3; ++c) {
    if (static_cast<int>(item->CtlID) != kStrip[c]) continue;
    const int width = r.right - r.left;
    for (int x = 0; x < width; ++x) {
      RECT column{r.left + x, r.top, r.left + x + 1, r.bottom};
      HBRUSH brush = CreateSolidBrush(StripColumnColor(c, x, width));
      FillRect(item->hDC, &column, brush);
      DeleteObject(brush);
    }
  }
}

void OnInit(HWND dialog, COLORREF* working) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(working));
  const COLORREF start = *working;
  for (int c = 0; c < 3; ++c) {
    HWND bar = GetDlgItem(dialog, kBar[c]);
    SendMessageA(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
    SendMessageA(bar, TBM_SETLINESIZE, 0, 1);
    SendMessageA(bar, TBM_SETPAGESIZE, 0, 10);
    SendMessageA(bar, TBM_SETPOS, TRUE, ColorChannel(start, c));
    SetDlgItemInt(dialog, kField[c], ColorChannel(start, c), FALSE);
  }
  *working = start;  // the fields' update notices changed nothing
  PostMessageA(dialog, kRepaint, WPARAM(-1), LPARAM(*working));
}

void OnScroll(HWND dialog, HWND moved) {
  COLORREF colour = 0;
  for (int c = 0; c < 3; ++c) {
    HWND bar = GetDlgItem(dialog, kBar[c]);
    const int pos = int(SendMessageA(bar, TBM_GETPOS, 0, 0));
    colour = SetColorChannel(colour, c, pos);
    if (bar == moved) SetDlgItemInt(dialog, kField[c], pos, FALSE);
  }
  *Working(dialog) = colour;
  PostMessageA(dialog, kRepaint, kSwatchOnly, LPARAM(colour));
}

void OnFieldChanged(HWND dialog, int c) {
  COLORREF* working = Working(dialog);
  if (!working) return;
  char text[32] = "";
  GetDlgItemTextA(dialog, kField[c], text, sizeof text);
  const int value = ReadColorChannel(text);
  SendMessageA(GetDlgItem(dialog, kBar[c]), TBM_SETPOS, TRUE, value);
  *working = SetColorChannel(*working, c, value);
  PostMessageA(dialog, kRepaint, kSwatchOnly, LPARAM(*working));
}

INT_PTR CALLBACK ColorSelectDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog, reinterpret_cast<COLORREF*>(lParam));
      return TRUE;
    case WM_HSCROLL:
      OnScroll(dialog, reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      if (Working(dialog)) Draw(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case kRepaint:
      Repaint(dialog, wParam);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) == EN_UPDATE)
        for (int c = 0; c < 3; ++c)
          if (id == kField[c]) OnFieldChanged(dialog, c);
      if (id == IDOK) EndDialog(dialog, 1);
      if (id == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

int RunColorSelect(HWND owner, COLORREF* colour) {
  if (!colour) return 0;
  COLORREF working = *colour;
  const INT_PTR result = DoModalDialog(GetModuleHandleA(nullptr), "COLOR_SELECT", owner, ColorSelectDlgProc,
                                       reinterpret_cast<LPARAM>(&working), 0);
  if (result < 1) return 0;
  *colour = working;
  return 1;
}
