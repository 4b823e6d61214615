#include "sound_options_win32.h"

#include <commctrl.h>

#include "sound_options.h"
#include "win_utils_win32.h"

namespace {

// What the dialog keeps while it runs (a window property on the dialog).
struct SoundOptionsState {
  SettingsRecord* settings;
  HINSTANCE resources;
  HWND pages[3];
  int current;
};

const char kStateProp[] = "RwSoundOptions";

SoundOptionsState* State(HWND dialog) { return static_cast<SoundOptionsState*>(GetPropA(dialog, kStateProp)); }

struct PageStart {
  SettingsRecord* settings;
  int page;
};

void ShowPage(SoundOptionsState* s, int page) {
  if (page < 0 || page > 2 || page == s->current) return;
  ShowWindow(s->pages[s->current], SW_HIDE);
  s->current = page;
  SetWindowPos(s->pages[page], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void OnInit(HWND dialog, SoundOptionsState* s) {
  SetPropA(dialog, kStateProp, s);
  CenterWindow(dialog, GetParent(dialog));
  HWND tab = GetDlgItem(dialog, kSoundOptionsTab);
  for (int i = 0; i < 3; ++i) {
    PageStart start{s->settings, i};
    s->pages[i] = CreateDialogParamA(s->resources, MAKEINTRESOURCEA(kSoundOptionsPages[i].dialog), tab,
                                     SoundOptionsPageDlgProc, LPARAM(&start));
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kSoundOptionsPages[i].title);
    SendMessageA(tab, TCM_INSERTITEMA, i, LPARAM(&item));
  }
  RECT display;
  GetClientRect(tab, &display);
  SendMessageA(tab, TCM_ADJUSTRECT, FALSE, LPARAM(&display));
  for (HWND page : s->pages)
    if (page)
      MoveWindow(page, display.left, display.top, display.right - display.left, display.bottom - display.top, FALSE);
  SendMessageA(tab, TCM_SETCURSEL, 0, 0);
  s->current = 0;
  SetWindowPos(s->pages[0], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

bool IsChecked(SoundOptionsState* s, int control) {
  for (HWND page : s->pages)
    if (HWND c = GetDlgItem(page, control)) return SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return false;
}

void End(HWND dialog, SoundOptionsState* s, bool keep) {
  if (keep) ApplySoundOptions(s->settings, [s](int c) { return IsChecked(s, c); });
  for (HWND& page : s->pages) {
    if (page) DestroyWindow(page);
    page = nullptr;
  }
  RemovePropA(dialog, kStateProp);
  EndDialog(dialog, 1);
}

}  // namespace

int ShowSoundOptions(HWND owner, SettingsRecord* settings, HINSTANCE resources) {
  if (!settings) return 0;
  if (!resources) resources = GetModuleHandleA(nullptr);
  SoundOptionsState state{settings, resources, {}, 0};
  DialogBoxParamA(resources, MAKEINTRESOURCEA(kSoundOptionsDialog), owner, SoundOptionsDlgProc, LPARAM(&state));
  return 0;
}

INT_PTR CALLBACK SoundOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog, reinterpret_cast<SoundOptionsState*>(lParam));
      return TRUE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      SoundOptionsState* s = State(dialog);
      if (s && header->idFrom == kSoundOptionsTab && header->code == UINT(TCN_SELCHANGE))
        ShowPage(s, int(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case WM_COMMAND:
      if (SoundOptionsState* s = State(dialog)) {
        if (LOWORD(wParam) == IDOK) End(dialog, s, true);
        if (LOWORD(wParam) == IDCANCEL) End(dialog, s, false);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK SoundOptionsPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORBTN || message == WM_CTLCOLORSTATIC) {
    // The buttons' labels sit on the page's own painted background.
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
  }
  if (message != WM_INITDIALOG) return FALSE;
  const auto* start = reinterpret_cast<const PageStart*>(lParam);
  const SettingsRecord& s = *start->settings;
  if (start->page == 0) {
    if (int radio = PieceSoundsRadio(s.pieceSounds)) CheckDlgButton(page, radio, BST_CHECKED);
  } else {
    for (const SoundOptionCheck& c : kSoundOptionChecks)
      if (c.page == start->page) CheckDlgButton(page, c.control, s.*c.setting ? BST_CHECKED : BST_UNCHECKED);
  }
  return TRUE;
}
