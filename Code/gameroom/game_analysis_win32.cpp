// The game analysis dialogs over Win32.
#include "advisor_requests.h"
#include "chess_clock.h"
#include "game_record.h"
#include "game_registry.h"

#include "game_analysis.h"

#include <string>

#include "annotation_window.h"
#include "app_globals.h"
#include "app_messages.h"
#include "basic_controls.h"
#include "win/board_view_win32.h"
#include "dialog_helpers.h"
#include "game_windows_texts.h"
#include "main_frame.h"
#include "message_table.h"
#include "shell_services.h"
#include "window_table.h"

namespace {

int StartDefault(GameRecord* game, int seconds, HWND progress) { return StartGameAnalysis(game, seconds, progress); }
int StopDefault(GameRecord* game) { return StopGameAnalysis(game); }

GameAnalysisServices g_services{StartDefault, StopDefault};

// One analysis at a time: its window and the room board's owner callback
// that it stands in for.
HWND g_progress = nullptr;
HWND g_board = nullptr;
BoardWndCallback g_savedCallback = nullptr;
intptr_t g_savedData = 0;

HWND MainWindow() { return HWND(GetNumberedWindow(WIN_MAIN_FRAME)); }

HWND RoomBoardWindow() {
  void* window = nullptr;
  GetBoardViewRect(&window, nullptr);
  return HWND(window);
}

void CentreOver(HWND dialog, HWND owner) {
  RECT area, own;
  if (owner && IsWindowVisible(owner))
    GetWindowRect(owner, &area);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowProgress(HWND w, int percent) {
  char format[256] = "";
  GetMessageText(144, 0, 0, format, sizeof format);
  SetDlgItemTextA(w, kAnalysisProgressText, AnalysisProgressText(format, percent).c_str());
}

void Finished(HWND w) {
  ShowWindow(w, SW_HIDE);
  Services().appMessageBox(
      "Analysis complete. Use the Annotation Window together with the Game Status Window to view the analysis "
      "results and corresponding annotations.",
      MB_OK);
  ShowAnnotationPage(1);
  if (GameRecord* game = GetCurrentGame())
    BroadcastToWindows(RWM_GAME_EVENT, GE_GAME_EDITED, reinterpret_cast<intptr_t>(game), 0);
  if (!IsNumberedWindowShown(WIN_GAME_STATUS)) NumberedWindowOp(WOP_SHOW, WIN_GAME_STATUS, WSC_SHOW);
  Services().updateMainMenuState();
  DestroyWindow(w);
}

void OnProgressInit(HWND w) {
  g_progress = w;
  g_board = RoomBoardWindow();
  if (g_board) {
    g_savedData = GetBoardWndCallbackData(g_board);
    g_savedCallback = SetBoardWndCallback(g_board, AnalysisBoardFilter, 0);
  }
  EnableMainWindowUI(0);
  CentreOver(w, MainWindow());
}

void OnProgressDestroy(HWND w) {
  if (g_board && IsWindow(g_board)) SetBoardWndCallback(g_board, g_savedCallback, g_savedData);
  g_board = nullptr;
  g_savedCallback = nullptr;
  g_savedData = 0;
  EnableMainWindowUI(1);
  if (g_progress == w) g_progress = nullptr;
}

}  // namespace

int RunGameAnalysis() {
  GameRecord* game = GetCurrentGame();
  if (!game || g_progress) return 0;
  if (GetMoveCount(game) == 0) {
    Services().appMessageBox("The game must contain moves to Auto-Analyze.", MB_OK);
    return 0;
  }
  // The clocks and the room timer stand still while the time is chosen.
  const ModalPause held = BeginModalPause(1);
  const INT_PTR seconds = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAnalysisTimeDialog),
                                          MainWindow(), AnalysisTimeDlgProc, 0);
  EndModalPause(held);
  if (seconds <= 0) return 0;
  HWND progress = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAnalysisProgressDialog),
                                     MainWindow(), AnalysisProgressDlgProc, 0);
  if (!progress) return 0;
  ShowWindow(progress, SW_SHOW);
  // The game may have gone while the time dialog was open.
  game = GetCurrentGame();
  if (!game || !g_services.start || !g_services.start(game, int(seconds), progress)) {
    DestroyWindow(progress);
    return 0;
  }
  return 1;
}

INT_PTR CALLBACK AnalysisTimeDlgProc(HWND w, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CentreOver(w, GetWindow(w, GW_OWNER));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        EndDialog(w, SendDlgItemMessageA(w, kAnalysisSeconds, SPE_GETVALUE, 0, 0));
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(w, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AnalysisProgressDlgProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnProgressInit(w);
      return TRUE;
    case WM_DESTROY:
      OnProgressDestroy(w);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        if (GameRecord* game = GetCurrentGame())
          if (g_services.stop) g_services.stop(game);
        DestroyWindow(w);
        return TRUE;
      }
      return FALSE;
    case RWM_ANALYSIS_STATE:
      switch (wParam) {
        case 2:
          ShowProgress(w, int(lParam));
          return TRUE;
        case 5:
          Finished(w);
          return TRUE;
        case 0:  // the analysis could not start its work
        case 6:
          DestroyWindow(w);
          return TRUE;
        default:
          return TRUE;
      }
    default:
      return FALSE;
  }
}

LRESULT AnalysisBoardFilter(HWND, UINT message, WPARAM wParam, LPARAM, intptr_t) {
  return message == RWM_GAME_EVENT && wParam == GE_ANNOTATION_CHANGED ? 0 : 1;
}

HWND GetAnalysisProgressWindow() { return g_progress; }

void SetGameAnalysisServices(const GameAnalysisServices* services) {
  g_services = GameAnalysisServices{StartDefault, StopDefault};
  if (services && services->start) g_services.start = services->start;
  if (services && services->stop) g_services.stop = services->stop;
}
