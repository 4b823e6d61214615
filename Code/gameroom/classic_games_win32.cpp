// The classic games dialog over Win32. The list is filled from the PGN
// index of the collection; which titles a search keeps is the classic games
// core's. Enter in the search field searches (the field is subclassed for
// the dialog's life), a double click loads.
#include "classic_games_dialog.h"

#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "classic_games_core.h"
#include "game_record.h"
#include "shell_services.h"
#include "pgn_read.h"
#include "window_table.h"

namespace {

constexpr int kList = 5100, kSearchEdit = 3091, kSearchButton = 3089, kClearButton = 3090;
constexpr int kSearchLimit = 100;
constexpr int kCaptionText = 1996, kNoMatchText = 1997;

HWND g_dialog = nullptr;
WNDPROC g_editProc = nullptr;
int g_count = 0;  // games in the collection's index

std::string LoadText(int id, const char* fallback) {
  char text[256];
  return LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) > 0 ? std::string(text)
                                                                                 : std::string(fallback);
}

HWND MainWindow() { return HWND(GetNumberedWindow(WIN_MAIN_FRAME)); }

int OwnedBox(const char* text, UINT flags, HWND owner) {
  const ShellServices& s = GetShellServices();
  if (s.appMessageBoxOwned) return s.appMessageBoxOwned(text, flags, owner);
  return MessageBoxA(owner, text, "Rookwell", flags);
}

// Fills the list with the titles that contain `search` (all without one);
// true when a line was added. Without a search the collection is indexed
// anew; the count of games is the index's, never a fixed number.
bool FillList(HWND dialog, const std::string& search) {
  HCURSOR before = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  if (search.empty()) {
    ClosePgnIndex();
    g_count = 0;
    if (BuildPgnIndex(ClassicGamesPath().c_str(), &g_count) != 0) g_count = 0;
  }
  HWND list = GetDlgItem(dialog, kList);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  std::vector<std::string> titles;
  titles.reserve(size_t(g_count));
  GameRecord* scratch = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
  for (int n = 0; n < g_count && scratch; ++n) {
    char title[kPgnTitleSize] = "";
    if (ReadPgnGameTags(scratch, title, n) != 0) title[0] = '\0';
    titles.push_back(title);
  }
  if (scratch) DestroyGame(scratch);
  const std::vector<int> kept = FilterClassicGames(titles, search);
  for (int n : kept) {
    const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, LPARAM(titles[size_t(n)].c_str()));
    if (at >= 0) SendMessageA(list, LB_SETITEMDATA, WPARAM(at), LPARAM(n));
  }
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SetCursor(before);
  return !kept.empty();
}

LRESULT CALLBACK SearchEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_RETURN) {
    if (message == WM_KEYDOWN && g_dialog)
      SendMessageA(g_dialog, WM_COMMAND, MAKEWPARAM(kSearchButton, BN_CLICKED), 0);
    return 0;
  }
  if (message == WM_GETDLGCODE) return CallWindowProcA(g_editProc, edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
  return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

void CentreOnParent(HWND dialog) {
  HWND parent = GetParent(dialog);
  RECT area, own;
  if (parent)
    GetWindowRect(parent, &area);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

int SelectedGame(HWND dialog) {
  HWND list = GetDlgItem(dialog, kList);
  const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (at == LB_ERR) return -1;
  return int(SendMessageA(list, LB_GETITEMDATA, WPARAM(at), 0));
}

}  // namespace

std::string ClassicGamesPath() {
  std::string folder = GetProgramFolder() ? GetProgramFolder() : "";
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return (folder.empty() ? std::string(".") : folder) + "\\classicOnyx.pgn";
}

bool RunClassicGamesDialog(GameRecord* game, int* out) {
  if (!game || g_dialog) return false;
  const INT_PTR chosen =
      DialogBoxParamA(GetModuleHandleA(nullptr), "IDD_CLASSIC_GAMES", MainWindow(), ClassicGamesDlgProc, 0);
  if (chosen < 0 || chosen >= g_count) {
    ClosePgnIndex();
    return false;
  }
  if (out) *out = 0;
  // Every game is read alike; the collection's games carry their results.
  if (ReadPgnGame(game, int(chosen)) != 0) {
    ClosePgnIndex();
    return false;
  }
  return true;
}

INT_PTR CALLBACK ClassicGamesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      g_dialog = dialog;
      FillList(dialog, "");
      HWND edit = GetDlgItem(dialog, kSearchEdit);
      SendMessageA(edit, EM_LIMITTEXT, kSearchLimit, 0);
      SetWindowTextA(dialog, LoadText(kCaptionText, "Load Classic Game").c_str());
      g_editProc = WNDPROC(SetWindowLongPtrA(edit, GWLP_WNDPROC, LONG_PTR(SearchEditProc)));
      CentreOnParent(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kSearchButton: {
          char text[129] = "";
          GetDlgItemTextA(dialog, kSearchEdit, text, sizeof text);
          if (!FillList(dialog, text)) {
            OwnedBox(LoadText(kNoMatchText, "Your search found no Classic Games.").c_str(), MB_OK, dialog);
            FillList(dialog, "");
          }
          return TRUE;
        }
        case kClearButton:
          FillList(dialog, "");
          return TRUE;
        case kList:
          if (HIWORD(wParam) == LBN_DBLCLK) SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          return TRUE;
        case IDOK: {
          const int n = SelectedGame(dialog);
          if (n >= 0) EndDialog(dialog, n);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, -1);
          return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      if (g_editProc) SetWindowLongPtrA(GetDlgItem(dialog, kSearchEdit), GWLP_WNDPROC, LONG_PTR(g_editProc));
      g_editProc = nullptr;
      g_dialog = nullptr;
      return FALSE;
  }
  return FALSE;
}
