// The wizard frame: see wizard_frame.h.
#include "look_and_feel.h"
#include "main_frame.h"
#include "skinned_dialog.h"
#include "win_utils_win32.h"
#include "wizard_frame.h"

namespace {

WizardDescriptor* g_wizard = nullptr;
int g_page = 0;

INT_PTR PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_wizard || !g_wizard->procedures) return FALSE;
  DLGPROC procedure = g_wizard->procedures[g_page];
  return procedure ? procedure(page, message, wParam, lParam) : FALSE;
}

int Validate(HWND page) {
  return !g_wizard->validate || g_wizard->validate(page, g_page, g_wizard->userData);
}

INT_PTR InitPage(HWND page) {
  char caption[256] = "";
  GetDlgItemTextA(page, g_wizard->captionId, caption, sizeof caption);
  if (caption[0] && g_wizard->captionWindow) SetWindowTextA(g_wizard->captionWindow, caption);
  RECT r;
  GetWindowRect(page, &r);
  SetWindowPos(page, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(page, nullptr, TRUE);
  return PageProcedure(page, WM_INITDIALOG, WPARAM(g_wizard->userData), LPARAM(g_page));
}

// The page `step` away replaces `page`: the successor is made first, so the
// frame is never empty, then the old page goes.
void Turn(HWND page, int step) {
  g_page += step;
  if (!CreateWizardPage()) {
    g_page -= step;  // the template is missing: stay where we are
    g_wizard->currentPage = g_page;
    g_wizard->page = page;
    return;
  }
  DestroyWindow(page);
}

INT_PTR CALLBACK WizardDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_wizard) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return InitPage(page);
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == g_wizard->finishId) {
        if (Validate(page) && g_wizard->finish) g_wizard->finish(page, g_page, g_wizard->userData);
        return 0;
      }
      if (id == g_wizard->nextId || id == g_wizard->backId) {
        if (Validate(page)) Turn(page, id == g_wizard->nextId ? 1 : -1);
        return 0;
      }
      if (id == g_wizard->extraId) {
        if (g_wizard->extra) g_wizard->extra(page, g_page, g_wizard->userData);
        return 0;
      }
      return PageProcedure(page, message, wParam, lParam);
    }
    default:
      return PageProcedure(page, message, wParam, lParam);
  }
}

LRESULT RealisePalette(HWND frame, bool redraw) {
  HPALETTE palette = GetAppPalette();
  if (!palette) return 0;
  HDC dc = GetDC(frame);
  UnrealizeObject(palette);
  HPALETTE old = SelectPalette(dc, palette, FALSE);
  const UINT changed = RealizePalette(dc);
  if (changed && redraw) RedrawProgramWindows(GetMainFrame());
  RealizePalette(dc);
  SelectPalette(dc, old, TRUE);
  ReleaseDC(frame, dc);
  return LRESULT(changed);
}

LRESULT CALLBACK WizardFrameWndProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYNEWPALETTE:
      return RealisePalette(frame, true);
    case WM_PALETTECHANGED:
      if (HWND(wParam) == frame) return 0;
      return RealisePalette(frame, true);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (HPALETTE palette = GetAppPalette()) {
        SelectPalette(HDC(wParam), palette, FALSE);
        RealizePalette(HDC(wParam));
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTTAB;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        DestroyWindow(frame);
        return 0;
      }
      break;
  }
  return DefWindowProcA(frame, message, wParam, lParam);
}

}  // namespace

void SetWizardDescriptor(WizardDescriptor* descriptor) { g_wizard = descriptor; }

WizardDescriptor* GetWizardDescriptor() { return g_wizard; }

HWND ResetWizard() {
  g_page = 0;
  return CreateWizardPage();
}

HWND CreateWizardPage() {
  if (!g_wizard || !g_wizard->pages) return nullptr;
  g_wizard->currentPage = g_page;
  const WORD id = LOWORD(g_wizard->pages[g_page]);
  // Pages take the program's look as every dialog does.
  HWND page = CreateSkinnedDialog(g_wizard->module, MAKEINTRESOURCEA(id), g_wizard->frame, WizardDlgProc,
                                  LPARAM(g_wizard->userData));
  if (page) {
    g_wizard->page = page;
    ShowWindow(page, SW_SHOW);
  }
  return page;
}

int RegisterWizardClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC | CS_GLOBALCLASS;
  wc.lpfnWndProc = WizardFrameWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kWizardClassName;
  return RegisterClassA(&wc) != 0;
}

void UnregisterWizardClass(HINSTANCE instance) { UnregisterClassA(kWizardClassName, instance); }
