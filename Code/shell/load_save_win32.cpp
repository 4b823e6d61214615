// The Load and Save commands over the program's file dialog, message box
// and status line (see load_save.h).
#include "game_file.h"
#include "game_record.h"
#include "header_access.h"
#include "load_save_rules.h"
#include "pgn_read.h"
#include "position_text.h"
#include "worker_thread.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app_globals.h"
#include "dialog_runner.h"
#include "file_dialog.h"
#include "file_list.h"
#include "game_info.h"
#include "load_save.h"
#include "main_frame.h"
#include "message_box.h"
#include "status_line.h"
#include "win/setup_position_win32.h"

// The cursor set's call.
int SetAppCursor(void* window, int index);

namespace {

HINSTANCE Program() { return GetModuleHandleA(nullptr); }

constexpr int kFileField = 1561, kGameList = 1562, kLoadButton = 401;
constexpr UINT kIndexed = WM_APP + 0x31;  // the worker's index is ready
constexpr uint32_t kLoadedGameKind = 0x100;
constexpr uint32_t kPgnGameKind = 0x20000000;
constexpr uint32_t kPgnTimeControl = 7;

struct PgnList {
  char path[MAX_PATH];
  int count;
  HWND dialog;
  int error;
  GameRecord* game;
  std::string message;  // shown once the dialog is gone
};

void Busy(bool on) { SetCursor(LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW)); }

void Status(const char* word, const char* path) {
  char text[MAX_PATH + 64];
  std::snprintf(text, sizeof text, "%s %s...", word, path);
  SetStatusText(0, text);
}

std::string ParseErrorMessage(int code) {
  int line = 0, column = 0;
  char text[512] = "";
  GetPgnParseError(&line, text, sizeof text, &column);
  return PgnErrorMessage(code, line, column, text);
}

uint32_t IndexWork(void* argument) {
  auto* list = static_cast<PgnList*>(argument);
  list->error = BuildPgnIndex(list->path, &list->count);
  return 0;
}
uint32_t IndexDone(void* argument) {
  auto* list = static_cast<PgnList*>(argument);
  PostMessageA(list->dialog, kIndexed, 0, 0);
  return 0;
}

void CenterOnParent(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT o{}, d{};
  if (owner) GetWindowRect(owner, &o);
  else SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
  GetWindowRect(dialog, &d);
  const int w = d.right - d.left, h = d.bottom - d.top;
  SetWindowPos(dialog, HWND_TOP, o.left + (o.right - o.left - w) / 2, o.top + (o.bottom - o.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW);
}

// Reads the game at `n`; an error keeps its message for the user.
bool ReadListedGame(PgnList* list, int n) {
  const int code = ReadPgnGame(list->game, n);
  if (code == 0) return true;
  list->message = ParseErrorMessage(code);
  return false;
}

void Indexed(HWND dialog, PgnList* list) {
  if (list->error) {
    list->message = PgnErrorText(list->error);
    EndDialog(dialog, 0);
    return;
  }
  if (list->count == 1) {
    EndDialog(dialog, ReadListedGame(list, 0) ? 1 : 0);
    return;
  }
  if (list->count <= 0) {
    list->message = PgnErrorText(8);
    EndDialog(dialog, 0);
    return;
  }
  GameRecord* scratch = CreateGame(kLoadedGameKind, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
  for (int n = 0; n < list->count; ++n) {
    char title[kPgnTitleSize] = "";
    if (!scratch || ReadPgnGameTags(scratch, title, n) != 0) std::snprintf(title, sizeof title, "Game %d", n + 1);
    SendDlgItemMessageA(dialog, kGameList, LB_ADDSTRING, 0, LPARAM(title));
  }
  if (scratch) DestroyGame(scratch);
  SendDlgItemMessageA(dialog, kGameList, LB_SETCURSEL, 0, 0);
  CenterOnParent(dialog);
  SetFocus(GetDlgItem(dialog, kGameList));
}

void LoadSelected(HWND dialog, PgnList* list) {
  const LRESULT n = SendDlgItemMessageA(dialog, kGameList, LB_GETCURSEL, 0, 0);
  if (n == LB_ERR) return;
  if (ReadListedGame(list, int(n))) {
    EndDialog(dialog, 1);
    return;
  }
  AppMessageBoxOwned(list->message.c_str(), MB_OK | MB_ICONEXCLAMATION, dialog);
  list->message.clear();
}

INT_PTR CALLBACK PgnListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* list = reinterpret_cast<PgnList*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      list = reinterpret_cast<PgnList*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      list->dialog = dialog;
      SetDlgItemTextA(dialog, kFileField, list->path);
      // Out of sight while the index is built.
      SetWindowPos(dialog, nullptr, -2000, -2000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
      Busy(true);
      if (!StartWorkerThread(kPgnImportThreadName, list, IndexWork, IndexDone, nullptr)) {
        list->error = PGN_CANNOT_OPEN;
        PostMessageA(dialog, kIndexed, 0, 0);
      }
      return FALSE;
    case kIndexed:
      Busy(false);
      if (list) Indexed(dialog, list);
      return TRUE;
    case WM_COMMAND:
      if (!list) break;
      if (LOWORD(wParam) == kLoadButton || (LOWORD(wParam) == kGameList && HIWORD(wParam) == LBN_DBLCLK)) {
        LoadSelected(dialog, list);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
    case WM_DESTROY:
      // The worker has ended: its completion posted the message that closed us.
      while (WorkerThreadExists(kPgnImportThreadName)) Sleep(5);
      ClosePgnIndex();
      break;
    default:
      break;
  }
  return FALSE;
}

// The game file's own kinds: PGN 12.
int KindOfFile(const char* path) { return GetFileKind(path); }

bool ReadPosition(const char* path, int kind, GameRecord* game) {
  Board board{};
  int side = WHITE, moveNumber = 1;
  if (ReadPositionFile(path, &board, kind, &side, &moveNumber) != 0) return false;
  game->start = board;
  game->position = board;
  game->startSide = uint8_t(side);
  game->sideToMove = uint8_t(side);
  game->startMoveNumber = uint32_t(moveNumber > 0 ? moveNumber : 1);
  CompleteSetupExchange exchange{&game->position, uint8_t(side)};
  if (RunCompleteBoardSetupDialog(GetMainFrame(), &exchange)) {
    game->start = game->position;
    game->sideToMove = exchange.sideToMove;
    game->startSide = exchange.sideToMove;
  }
  return true;
}

}  // namespace

bool LoadPgnGameList(const char* path, GameRecord* game) {
  if (!path || !game) return false;
  PgnList list{};
  std::snprintf(list.path, sizeof list.path, "%s", path);
  list.game = game;
  const INT_PTR result = DoModalDialog(Program(), "PGNLISTDLG", GetMainFrame(), PgnListProc, LPARAM(&list), 0);
  Busy(false);
  if (!list.message.empty()) AppMessageBoxOwned(list.message.c_str(), MB_OK | MB_ICONEXCLAMATION, GetMainFrame());
  return result == 1;
}

GameRecord* LoadGameCommand(HWND owner, const char* path) {
  char chosen[MAX_PATH] = "";
  int k = 2, o = 0;
  if (path && *path) {
    std::snprintf(chosen, sizeof chosen, "%s", path);
  } else {
    k = 0;
    if (!DoFileDialog(owner, Program(), chosen, nullptr, 0, 2, 1, &k, &o, nullptr)) return nullptr;
  }
  Status("Reading file", chosen);
  GameRecord* game = CreateGame(kLoadedGameKind, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
  bool read = false;
  if (game) {
    bool pgnFlags = false;
    switch (ChooseLoadRead(k, o, KindOfFile(chosen), &pgnFlags)) {
      case LoadRead::kPgnList:
        read = LoadPgnGameList(chosen, game);
        if (read && pgnFlags) {
          game->kind |= kPgnGameKind;
          game->white.timeControl = game->black.timeControl = kPgnTimeControl;
        }
        break;
      case LoadRead::kGameFile:
        read = LoadGameFile(chosen, game) != 0;
        if (read && game->result == 0xFFFFFFFFu) SetResultFromComment(game);
        break;
      case LoadRead::kPosition:
        read = ReadPosition(chosen, o, game);
        break;
      case LoadRead::kNothing:
        break;
    }
  }
  SetStatusText(0, "");
  Busy(false);
  if (!read && game) {
    DestroyGame(game);
    game = nullptr;
  }
  return game;
}

int SaveGameCommand(HWND owner, const char* path, GameRecord* game) {
  if (!game) return 0;
  char chosen[MAX_PATH] = "";
  int kind = 2;
  bool append = false;
  if (path && *path) {
    std::snprintf(chosen, sizeof chosen, "%s", path);
  } else {
    std::string proposed = ProposedSaveName(game, "vs");
    CleanTitleText(proposed.c_str(), chosen);
    for (;;) {
      int o = 0;
      kind = 2;
      if (!DoFileDialog(owner, Program(), chosen, nullptr, 1, 2, 0, &kind, &o, nullptr)) return 0;
      if (GetFileAttributesA(chosen) == INVALID_FILE_ATTRIBUTES) break;
      const std::string question = SaveOverwriteQuestion(kind, chosen);
      if (kind == 4) {
        const int answer = AppMessageBoxOwned(question.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION, owner);
        if (answer == IDCANCEL) return 0;
        append = answer == IDYES;
        break;
      }
      if (AppMessageBoxOwned(question.c_str(), MB_YESNO | MB_ICONQUESTION, owner) == IDYES) break;
    }
  }
  int slot = 0;
  if (kind == 4) {
    slot = AskAnnotationType(owner, 0);
    if (slot == -2) return 0;
  }
  Status("Writing file", chosen);
  Busy(true);
  const int code = SaveGameAs(chosen, kind, game, append, slot);
  Busy(false);
  SetStatusText(0, "");
  if (code == 0) return 1;
  AppMessageBoxOwned(SaveFailureMessage(code, chosen).c_str(), MB_OK | MB_ICONEXCLAMATION, owner);
  return 0;
}
