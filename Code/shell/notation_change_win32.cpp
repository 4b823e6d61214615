// The notation change with its wait box (see notation_change.h).
#include "game_record.h"
#include "move_tree.h"
#include "worker_thread.h"

#include <windows.h>

#include <atomic>

#include "app_globals.h"
#include "dialog_runner.h"
#include "main_frame.h"
#include "message_box.h"
#include "notation_change.h"
#include "shell_services.h"

namespace {

struct NotationChange {
  GameRecord* game;
  int style;
  HANDLE finished;
  std::atomic<HWND> box{nullptr};
  int delayMs;  // a test aid: the walk made slow
};

void ClearTexts(MoveTreeNode* node) {
  for (; node; node = node->next) {
    if (node->move) node->move->text[0] = '\0';
    ClearTexts(node->firstChild);
  }
}

uint32_t Work(void* argument) {
  auto* change = static_cast<NotationChange*>(argument);
  GameRecord* game = change->game;
  if (change->delayMs > 0) Sleep(DWORD(change->delayMs));
  if (game->tree) {
    LockMoveTree(game->tree);
    ClearTexts(game->tree->root.firstChild);
    game->notation = uint32_t(change->style);
    UnlockMoveTree(game->tree);
  } else {
    game->notation = uint32_t(change->style);
  }
  SetEvent(change->finished);
  return 0;
}

uint32_t Done(void* argument) {
  auto* change = static_cast<NotationChange*>(argument);
  if (HWND box = change->box.load()) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  return 0;
}

INT_PTR CALLBACK WaitBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* change = reinterpret_cast<NotationChange*>(lParam);
      SetDlgItemTextA(box, 301, "Please wait while the move notation is changed.");
      ShowWindow(GetDlgItem(box, IDCANCEL), SW_HIDE);  // only the change's end closes it
      change->box.store(box);
      // A change that ended while the box was being made closes it at once.
      if (WaitForSingleObject(change->finished, 0) == WAIT_OBJECT_0) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, 0);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

void ServiceChange(GameRecord* game, int style) { ChangeGameNotationWithWait(game, style); }

}  // namespace

int ChangeGameNotationWithWait(GameRecord* game, int style) {
  if (!game) return 0;
  NotationChange change{game, style, CreateEventA(nullptr, TRUE, FALSE, "WAIT_NOTATION_CHANGING"), {nullptr}, 0};
  if (!change.finished) return 0;
  change.delayMs = int(GetPrivateProfileIntA("debug", "notation_change_delay", 0, GetMainIniPath()));
  WorkerThread* thread = StartWorkerThread(kNotationChangeThreadName, &change, Work, Done, nullptr);
  if (!thread) {
    AppMessageBox("Notation change thread fail!  Retry on OK", MB_OK | MB_ICONEXCLAMATION);
    thread = StartWorkerThread(kNotationChangeThreadName, &change, Work, Done, nullptr);
  }
  if (!thread) {
    // The texts are then made in the new style each time they are asked for.
    CloseHandle(change.finished);
    return 0;
  }
  if (WaitForSingleObject(change.finished, 1000) == WAIT_TIMEOUT)
    DoModalDialog(GetModuleHandleA(nullptr), "DLG_MSGCANCEL", GetMainFrame(), WaitBoxProc,
                  reinterpret_cast<LPARAM>(&change), 0);
  // The record lives on this stack: the thread is done with it only once it ended.
  WaitForSingleObject(change.finished, INFINITE);
  while (WorkerThreadExists(kNotationChangeThreadName)) Sleep(5);
  CloseHandle(change.finished);
  return 0;
}

void InstallNotationChange() {
  ShellServices s = GetShellServices();
  s.changeGameNotation = ServiceChange;
  SetShellServices(s);
}
