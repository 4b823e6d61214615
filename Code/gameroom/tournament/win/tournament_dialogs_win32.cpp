// The tournament's dialogs: see tournament_dialogs_win32.h.
#include "tournament_dialogs_win32.h"

#include <commctrl.h>

#include <cstdio>

#include "main_frame.h"
#include "shell_strings.h"
#include "skinned_dialog.h"
#include "tournament_runner.h"
#include "win_utils_win32.h"

namespace {

enum : int {
  kScheduleList = 503,
  kScheduleAuto = 501,
  kScheduleCancel = 502,
  kScheduleSelect = 573,
  kAnnouncePlayers = 519,
  kAnnounceCount = 520,
  kAnnounceCancel = 521,
  kResultsList = 715,
  kResultsOk = 522,
  kResultsGames = 523,
  kGamesList = 571,
  kGamesOk = 572,
  kHelpCommand = 40,
  kHelpString = 2100,
  kVersusString = 394,
  kReadyBegin = 577,
  kReadyResume = 578,
};

void HelpMenu(HWND dialog, LPARAM at) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, kHelpCommand, ShellString(kHelpString));
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, short(LOWORD(at)),
                                    short(HIWORD(at)), 0, dialog, nullptr);
  DestroyMenu(menu);
  if (chosen && GetMainFrame()) PostMessageA(GetMainFrame(), WM_COMMAND, kHelpCommand, 0);
}

// ---- TournList

struct ScheduleState {
  const std::vector<std::string>* rows;
  bool autoEnabled;
};

INT_PTR CALLBACK ScheduleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* s = reinterpret_cast<const ScheduleState*>(lParam);
      CenterWindow(dialog, GetParent(dialog));
      HWND list = GetDlgItem(dialog, kScheduleList);
      const int stop = 90;
      SendMessageA(list, LB_SETTABSTOPS, 1, LPARAM(&stop));
      for (const std::string& row : *s->rows) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(row.c_str()));
      SendMessageA(list, LB_SETCURSEL, 0, 0);
      EnableWindow(GetDlgItem(dialog, kScheduleAuto), s->autoEnabled);
      EnableWindow(GetDlgItem(dialog, kScheduleSelect), !s->rows->empty());
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kScheduleList:
          if (HIWORD(wParam) != LBN_DBLCLK) return TRUE;
          [[fallthrough]];
        case kScheduleSelect: {
          const LRESULT row = SendDlgItemMessageA(dialog, kScheduleList, LB_GETCURSEL, 0, 0);
          if (row >= 0) EndDialog(dialog, row);
          return TRUE;
        }
        case kScheduleAuto:
          EndDialog(dialog, SCHEDULE_AUTO);
          return TRUE;
        case kScheduleCancel:
        case IDCANCEL:
          EndDialog(dialog, SCHEDULE_CANCEL);
          return TRUE;
      }
      return TRUE;
    case WM_CONTEXTMENU:
      HelpMenu(dialog, lParam);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, SCHEDULE_CANCEL);
      return TRUE;
  }
  return FALSE;
}

// ---- ANNOUNCE

struct AnnounceState {
  std::string players;
  const char* ready;
  int count;
};

void ShowCount(HWND dialog, const AnnounceState& s) {
  char text[96];
  std::snprintf(text, sizeof text, "%s %d", s.ready, s.count);
  SetDlgItemTextA(dialog, kAnnounceCount, text);
}

INT_PTR CALLBACK AnnounceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<AnnounceState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      s = reinterpret_cast<AnnounceState*>(lParam);
      CenterWindow(dialog, GetParent(dialog));
      SetDlgItemTextA(dialog, kAnnouncePlayers, s->players.c_str());
      ShowCount(dialog, *s);
      SetTimer(dialog, kAnnounceTimer, 1000, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam != kAnnounceTimer || !s) return TRUE;
      if (--s->count <= 0) {
        KillTimer(dialog, kAnnounceTimer);
        EndDialog(dialog, 1);
        return TRUE;
      }
      ShowCount(dialog, *s);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kAnnounceCancel || LOWORD(wParam) == IDCANCEL) {
        KillTimer(dialog, kAnnounceTimer);
        EndDialog(dialog, 0);
      }
      return TRUE;
    case WM_CONTEXTMENU:
      HelpMenu(dialog, lParam);
      return TRUE;
    case WM_CLOSE:
      KillTimer(dialog, kAnnounceTimer);
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

// ---- IDD_TOURN_RESULTS and IDD_TOURN_GAMES

struct ResultsState {
  const std::vector<std::vector<std::string>>* rows;
  bool swiss;
};

void AddColumn(HWND list, int index, const char* title, int width, bool centred) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = centred ? LVCFMT_CENTER : LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<char*>(title);
  SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(index), LPARAM(&column));
}

void FillResults(HWND dialog, const ResultsState& s) {
  HWND list = GetDlgItem(dialog, kResultsList);
  AddColumn(list, 0, "Player", s.swiss ? 110 : 165, false);
  const char* heads[] = {"W", "D", "L", "Games", "Score", "OPS"};
  const int widths[] = {30, 30, 30, 60, 55, 55};
  for (int c = 0; c < (s.swiss ? 6 : 5); ++c) AddColumn(list, c + 1, heads[c], widths[c], true);
  int index = 0;
  for (const std::vector<std::string>& row : *s.rows) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(row[0].c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item));
    for (size_t c = 1; c < row.size(); ++c) {
      LVITEMA cell{};
      cell.iSubItem = int(c);
      cell.pszText = const_cast<char*>(row[c].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(index), LPARAM(&cell));
    }
    ++index;
  }
}

INT_PTR CALLBACK ResultsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      CenterWindow(dialog, GetParent(dialog));
      FillResults(dialog, *reinterpret_cast<const ResultsState*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kResultsOk || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      if (LOWORD(wParam) == kResultsGames) EndDialog(dialog, kResultsGames);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK GamesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      CenterWindow(dialog, GetParent(dialog));
      HWND list = GetDlgItem(dialog, kGamesList);
      const int stops[] = {100, 200};
      SendMessageA(list, LB_SETTABSTOPS, 2, LPARAM(stops));
      for (const std::string& line : *reinterpret_cast<const std::vector<std::string>*>(lParam))
        SendMessageA(list, LB_ADDSTRING, 0, LPARAM(line.c_str()));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kGamesOk || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int ShowTournamentScheduleDialog(HINSTANCE instance, HWND owner, const std::vector<std::string>& rows,
                                 bool autoEnabled) {
  ScheduleState state{&rows, autoEnabled};
  const INT_PTR result = SkinnedDialogBox(instance, "TournList", owner, ScheduleProc, LPARAM(&state));
  return result < 0 && result != SCHEDULE_AUTO ? SCHEDULE_CANCEL : int(result);
}

bool AnnounceTournamentGameDialog(HINSTANCE instance, HWND owner, const std::string& white,
                                  const std::string& black, bool resuming) {
  AnnounceState state{white + " " + ShellString(kVersusString) + " " + black, nullptr, 5};
  const std::string ready = ShellString(resuming ? kReadyResume : kReadyBegin);
  state.ready = ready.c_str();
  return SkinnedDialogBox(instance, "ANNOUNCE", owner, AnnounceProc, LPARAM(&state)) == 1;
}

void ShowTournamentResultsDialog(HINSTANCE instance, HWND owner,
                                 const std::vector<std::vector<std::string>>& rows, bool swiss,
                                 const std::vector<std::string>& gamesPlayed) {
  ResultsState state{&rows, swiss};
  if (SkinnedDialogBox(instance, "IDD_TOURN_RESULTS", owner, ResultsProc, LPARAM(&state)) == kResultsGames)
    SkinnedDialogBox(instance, "IDD_TOURN_GAMES", owner, GamesProc, LPARAM(&gamesPlayed));
}
