// The Solve For Mate window over Win32.
#include "advisor_requests.h"
#include "chess_clock.h"
#include "engine_protocol.h"
#include "game_record.h"
#include "game_registry.h"
#include "moverecord.h"

#include "solve_mate_window.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app_globals.h"
#include "app_messages.h"
#include "basic_controls.h"
#include "track_size_win32.h"
#include "win/board_view_win32.h"
#include "main_frame.h"
#include "solve_mate_core.h"
#include "window_table.h"

namespace {

int StartDefault(GameRecord* game, HWND window) { return SolveForMate(game, window); }
int StopDefault(GameRecord* game) { return CancelSolveForMate(game); }
SolveForMateServices g_services{StartDefault, StopDefault};

enum SolveCode : WPARAM {
  kSearching = 0,
  kEvaluate = 1,
  kStart = 2,
  kStatistics = 3,
  kThinking = 4,
  kShowResult = 5,
  kShowSettings = 6,
  kClose = 7,
  kNotStarted = 8,  // the window's own: the search could not start
};

struct SolveForMateRecord {
  HWND dialog = nullptr;
  HWND settings = nullptr;
  HWND result = nullptr;
  GameRecord* game = nullptr;
  MoveRecord solution[kSolveMaxMoves]{};
  int next = 0;
  int count = 0;
  int asked = 0;
  int depth = 0;
  uint32_t nodes = 0;
  bool clockWasPaused = false;
  bool clockHeld = false;  // this window paused the clock
  bool searching = false;
  HWND board = nullptr;
  BoardWndCallback savedCallback = nullptr;
  intptr_t savedData = 0;
};

HWND g_window = nullptr;

SolveForMateRecord* Record(HWND w) {
  return w ? reinterpret_cast<SolveForMateRecord*>(GetWindowLongPtrA(w, DWLP_USER)) : nullptr;
}

HWND RoomBoardWindow() {
  void* window = nullptr;
  GetBoardViewRect(&window, nullptr);
  return HWND(window);
}

// The game's kind bit 0x400 (a game played online) keeps its clock running.
bool ClockKept(const GameRecord* game) { return (game->kind & GAME_ONLINE) != 0; }

// Ending or refusing a search gives the game back its play (the engine
// link restarts it, clock and all); while the window is open the clock
// stays paused.
void KeepClockPaused(const SolveForMateRecord* r) {
  if (r->game && !ClockKept(r->game)) PauseClock(r->game);
}

void SetStatus(HWND w, const std::string& text) { SetDlgItemTextA(w, kSolveStatusText, text.c_str()); }

// The pane dialogs keep the main dialog in their user data.
HWND PaneOwner(HWND pane) { return HWND(GetWindowLongPtrA(pane, DWLP_USER)); }

void StartSearch(HWND w, SolveForMateRecord* r, int moves) {
  PostMessageA(w, RWM_SOLVE_FOR_MATE, kShowResult, 0);
  r->next = 0;
  r->count = 0;
  r->asked = moves;
  r->depth = 0;
  r->nodes = 0;
  r->searching = g_services.start && r->game && g_services.start(r->game, w) != 0;
  if (!r->searching) KeepClockPaused(r);
  // No search to wait for (the advisor is busy or missing): the window
  // says so at once rather than searching for ever.
  // Posted, so that it follows the "Searching" text posted before.
  if (!r->searching) PostMessageA(w, RWM_SOLVE_FOR_MATE, kNotStarted, 0);
}

void Evaluate(HWND w, SolveForMateRecord* r) {
  // A thinking line past the depth asked for and the engine's own end may
  // both ask; the first answer stands.
  if (!r->searching) return;
  r->searching = false;
  GameRecord* game = r->game;
  if (!game) return;
  const auto* thinking = reinterpret_cast<const ThinkingLine*>(game->third.thinking);
  char line[sizeof thinking->line + 1];
  std::memcpy(line, thinking->line, sizeof thinking->line);
  line[sizeof thinking->line] = '\0';
  const SolveForMateResult found = EvaluateMateSearch(thinking->score, line, game->position, game->sideToMove);
  // The answer is taken: a search still running (its depth passed the one
  // asked for) ends before the solution is played into the game.
  if (g_services.stop) g_services.stop(game);
  KeepClockPaused(r);
  if (!found.found) {
    SetStatus(w, kSolveNotFoundText);
    return;
  }
  r->count = int(std::min<size_t>(found.moves.size(), kSolveMaxMoves));
  for (int i = 0; i < r->count; ++i) r->solution[i] = found.moves[size_t(i)];
  SendMessageA(w, RWM_SOLVE_FOR_MATE, kShowResult, 1);
  SetStatus(w, SolveFoundText(found.mateIn));
}

// "Move": the next solution move, checked against where the game stands;
// one that is not legal there ends the solution.
void PlayNext(SolveForMateRecord* r) {
  HWND move = GetDlgItem(r->result, kSolveMoveButton);
  GameRecord* game = r->game;
  if (!game || r->next >= r->count) {
    EnableWindow(move, FALSE);
    return;
  }
  MoveRecord checked = r->solution[r->next];
  for (char*& t : checked.texts) t = nullptr;
  if (ReplayMoveList(&game->position, game->sideToMove, &checked, 1) != 1) {
    r->count = r->next;
    EnableWindow(move, FALSE);
    return;
  }
  PlayMove(game, &checked, true);
  r->next += 1;
  if (r->next >= r->count) EnableWindow(move, FALSE);
}

// The panes stand where static 5275 marks their place, above it, as the
// dialog's own children.
void PlacePanes(HWND w) {
  HWND place = GetDlgItem(w, kSolvePanePlace);
  SolveForMateRecord* r = Record(w);
  if (!place || !r) return;
  RECT at;
  GetWindowRect(place, &at);
  MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&at), 2);
  for (HWND pane : {r->settings, r->result})
    if (pane) SetWindowPos(pane, HWND_TOP, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void OnInit(HWND w, GameRecord* game) {
  if (!game) return;
  auto* r = new (std::nothrow) SolveForMateRecord{};
  if (!r) return;
  r->dialog = w;
  r->game = game;
  SetWindowLongPtrA(w, DWLP_USER, LONG_PTR(r));
  g_window = w;
  r->clockWasPaused = IsClockPaused(game);
  HINSTANCE instance = HINSTANCE(GetWindowLongPtrA(w, GWLP_HINSTANCE));
  r->result = CreateDialogParamA(instance, MAKEINTRESOURCEA(kSolveResultPane), w, SolveResultPaneProc, LPARAM(w));
  r->settings =
      CreateDialogParamA(instance, MAKEINTRESOURCEA(kSolveSettingsPane), w, SolveSettingsPaneProc, LPARAM(w));
  PlacePanes(w);
  if (!r->clockWasPaused && !ClockKept(game)) {
    PauseClock(game);
    r->clockHeld = true;
  }
  EnableMainWindowUI(0);
  r->board = RoomBoardWindow();
  if (r->board) {
    r->savedData = GetBoardWndCallbackData(r->board);
    r->savedCallback = SetBoardWndCallback(r->board, BoardLockCallback, 0);
  }
}

void OnDestroy(HWND w, SolveForMateRecord* r) {
  if (r->game && g_services.stop) g_services.stop(r->game);
  KeepClockPaused(r);
  EnableMainWindowUI(1);
  if (r->game && r->clockHeld && !r->clockWasPaused && !ClockKept(r->game)) ResumeClock(r->game);
  if (r->board && IsWindow(r->board)) SetBoardWndCallback(r->board, r->savedCallback, r->savedData);
  SetWindowLongPtrA(w, DWLP_USER, 0);
  delete r;
  if (g_window == w) g_window = nullptr;
}

// The frame is measured rather than computed from the style: the toolkit's
// framed window draws a caption and borders of its own around the client.
void MinMax(HWND w, MINMAXINFO* info) {
  RECT place, window, client;
  GetWindowRect(GetDlgItem(w, kSolvePanePlace), &place);
  GetWindowRect(w, &window);
  GetClientRect(w, &client);
  const int frameX = (window.right - window.left) - client.right;
  const int frameY = (window.bottom - window.top) - client.bottom;
  info->ptMinTrackSize.x = 2 * (place.right - place.left) + 24 + frameX;
  info->ptMinTrackSize.y = (place.bottom - place.top) + 18 + frameY;
  info->ptMaxTrackSize.x = 600;
  info->ptMaxTrackSize.y = 500;
}

// The template's size leaves the panes' buttons under the toolkit's bottom
// frame (a click on "OK" would start sizing the window): the window opens
// at least at its minimum size.
void OpenAtLeastMinimum(HWND w) {
  MINMAXINFO info{};
  MinMax(w, &info);
  RECT window;
  GetWindowRect(w, &window);
  const int width = std::max(int(window.right - window.left), int(info.ptMinTrackSize.x));
  const int height = std::max(int(window.bottom - window.top), int(info.ptMinTrackSize.y));
  if (width != window.right - window.left || height != window.bottom - window.top)
    SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The framed window's toolkit answers the track-size question itself, so
// the sizes are also held here, whatever moves the window.
void HoldSize(HWND w, WINDOWPOS* pos) {
  if (pos->flags & SWP_NOSIZE) return;
  MINMAXINFO info{};
  MinMax(w, &info);
  HoldTrackSize(pos, info);
}

void Layout(HWND w) {
  RECT client, place;
  GetClientRect(w, &client);
  HWND placeWindow = GetDlgItem(w, kSolvePanePlace);
  HWND edit = GetDlgItem(w, kSolveStatusText);
  if (!placeWindow || !edit) return;
  GetWindowRect(placeWindow, &place);
  const int placeWidth = place.right - place.left;
  SetWindowPos(placeWindow, nullptr, client.right - 8 - placeWidth, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(edit, nullptr, 0, 0, std::max(0, int(client.right) - 24 - placeWidth),
               std::max(0, int(client.bottom) - 12), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PlacePanes(w);
  InvalidateRect(w, nullptr, TRUE);
}

}  // namespace

int OpenSolveForMateDialog(GameRecord* game) {
  if (!game || (g_window && IsWindow(g_window))) return 0;
  HWND w = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kSolveDialog),
                              HWND(GetNumberedWindow(WIN_MAIN_FRAME)), SolveForMateDlgProc, LPARAM(game));
  if (!w) return 0;
  OpenAtLeastMinimum(w);
  ShowWindow(w, SW_SHOW);
  PostMessageA(w, RWM_SOLVE_FOR_MATE, kShowSettings, 0);
  return 1;
}

INT_PTR CALLBACK SolveForMateDlgProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(w, reinterpret_cast<GameRecord*>(lParam));
    return TRUE;
  }
  SolveForMateRecord* r = Record(w);
  if (!r) return FALSE;
  switch (message) {
    case WM_DESTROY:
      OnDestroy(w, r);
      return TRUE;
    case WM_CLOSE:
      ShowWindow(w, SW_HIDE);
      DestroyWindow(w);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageA(w, WM_CLOSE, 0, 0);
        return TRUE;
      }
      return FALSE;
    case WM_GETMINMAXINFO:
      MinMax(w, reinterpret_cast<MINMAXINFO*>(lParam));
      return TRUE;
    case WM_WINDOWPOSCHANGING:
      HoldSize(w, reinterpret_cast<WINDOWPOS*>(lParam));
      return FALSE;
    case WM_WINDOWPOSCHANGED:
      if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOSIZE)) Layout(w);
      return FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    case RWM_SOLVE_FOR_MATE:
      switch (wParam) {
        case kSearching:
          SetStatus(w, "Searching for Checkmate...");
          return TRUE;
        case kEvaluate:
          Evaluate(w, r);
          return TRUE;
        case kStart:
          StartSearch(w, r, int(lParam));
          return TRUE;
        case kStatistics:
          if (lParam) r->nodes = uint32_t(reinterpret_cast<const EngineStatus*>(lParam)->nodes);
          SetStatus(w, SolveStatusText(r->depth, r->nodes));
          return TRUE;
        case kThinking:
          if (lParam) r->depth = (reinterpret_cast<const ThinkingLine*>(lParam)->ply + 1) / 2;
          SetStatus(w, SolveStatusText(r->depth, r->nodes));
          if (r->depth > r->asked) SendMessageA(w, RWM_SOLVE_FOR_MATE, kEvaluate, 0);
          return TRUE;
        case kShowResult:
          EnableWindow(GetDlgItem(r->result, kSolveMoveButton), lParam != 0);
          SetWindowPos(r->result, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
          ShowWindow(r->settings, SW_HIDE);
          return TRUE;
        case kShowSettings:
          SetWindowPos(r->settings, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
          ShowWindow(r->result, SW_HIDE);
          return TRUE;
        case kClose:
          DestroyWindow(w);
          return TRUE;
        case kNotStarted:
          SetStatus(w, kSolveNotFoundText);
          return TRUE;
        default:
          return TRUE;
      }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK SolveSettingsPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(pane, DWLP_USER, LONG_PTR(lParam));
      GameRecord* game = GetCurrentGame();
      SolveForMateRecord* r = Record(HWND(lParam));
      if (r && r->game) game = r->game;
      if (!game) return FALSE;
      SendDlgItemMessageA(pane, kSolveMoves, SPE_SETVALUE, 20, 0);
      char text[160];
      wsprintfA(text, "Set number of moves to look ahead for %s to mate, then press OK.\n",
                game->sideToMove == WHITE ? "white" : "black");
      SetDlgItemTextA(pane, kSolvePrompt, text);
      return FALSE;
    }
    case WM_COMMAND: {
      HWND dialog = PaneOwner(pane);
      if (LOWORD(wParam) == IDOK) {
        PostMessageA(dialog, RWM_SOLVE_FOR_MATE, kSearching, 0);
        SendMessageA(dialog, RWM_SOLVE_FOR_MATE, kStart, SendDlgItemMessageA(pane, kSolveMoves, SPE_GETVALUE, 0, 0));
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        SendMessageA(dialog, RWM_SOLVE_FOR_MATE, kClose, 0);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK SolveResultPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(pane, DWLP_USER, LONG_PTR(lParam));
      return FALSE;
    case WM_COMMAND: {
      HWND dialog = PaneOwner(pane);
      SolveForMateRecord* r = Record(dialog);
      if (LOWORD(wParam) == kSolveMoveButton) {
        if (r) PlayNext(r);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        PostMessageA(dialog, RWM_SOLVE_FOR_MATE, kClose, 0);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return INT_PTR(GetStockObject(NULL_BRUSH));
    default:
      return FALSE;
  }
}

LRESULT BoardLockCallback(HWND, UINT message, WPARAM, LPARAM, intptr_t) {
  return message == RWM_GAME_EVENT ? 0 : 1;
}

HWND GetSolveForMateWindow() { return g_window; }

void SetSolveForMateServices(const SolveForMateServices* services) {
  g_services = SolveForMateServices{StartDefault, StopDefault};
  if (services && services->start) g_services.start = services->start;
  if (services && services->stop) g_services.stop = services->stop;
}
