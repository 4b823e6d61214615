// The login dialogs and the login puzzle (see login.h). The puzzle is made
// on worker threads; their completions come back to the dialog as a
// posted message, so only the interface thread touches the dialog and the
// board. Without a board the puzzle's frame stays empty and logging in
// works alike.
#include <windows.h>
// The shell names its own user; not the system's account call.
#undef GetUserName

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "dialog_runner.h"
#include "login.h"
#include "login_puzzle.h"
#include "main_loop.h"
#include "moverecord.h"
#include "player_profile_dialog.h"
#include "status_line.h"
#include "worker_thread.h"
#include "main_frame.h"
#include "profile.h"
#include "shell_services.h"
#include "user_file.h"
#include "users.h"
#include "win_utils.h"

namespace {

// The logged-in user's name; empty while nobody is logged in.
const char* CurrentUserName() {
  const UserProfile* user = GetUserRecord();
  return user ? user->name : "";
}

enum : int {
  kList = 1009,
  kLogin = 1014,
  kNewPlayer = 1003,
  kViewPlayer = 1016,
  kDeletePlayer = 1008,
  kCancel = 1002,
  kQuit = 1639,
  kGiveUp = 1015,
  kStatus = 2205,
  kNameEdit = 1015,
  kLogInCheck = 1000,
  kCreate = 1010,
};
constexpr int kPuzzleCorrect = 85;
constexpr int kPuzzleIncorrect = 86;
constexpr int kPuzzleWhiteMates = 87;
constexpr int kPuzzleWrongMove = 88;
constexpr int kPuzzleCreating = 89;
// Posted to the login dialog when the build thread has made its puzzle.
constexpr UINT kPuzzleBuilt = WM_APP + 1;
constexpr int kPlayerLoggedIn = 1081;
constexpr int kDeleteAsk = 1084;

struct NewUserState {
  std::vector<std::string> names;
  char* loginName;
};

void CentreOnFrame(HWND dialog) {
  HWND frame = GetMainFrame();
  RECT f, d;
  if (frame) {
    GetWindowRect(frame, &f);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &f, 0);
  }
  GetWindowRect(dialog, &d);
  SetWindowPos(dialog, nullptr, (f.left + f.right - (d.right - d.left)) / 2,
               (f.top + f.bottom - (d.bottom - d.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

std::vector<std::string> DialogUsers() {
  BuildUserList();
  std::vector<std::string> names;
  for (int i = 0; i < GetUserCount() && i < kLoginMaxUsers; ++i) names.emplace_back(GetUserNameAt(i));
  FreeUserList();
  return names;
}

int Ask(const char* text, UINT flags, HWND owner) {
  return Services().appMessageBoxOwned(text, flags, owner);
}

std::string Selected(HWND dialog) {
  HWND list = GetDlgItem(dialog, kList);
  LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index < 0) return "";
  char name[kUserNameSize + 1] = "";
  if (SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0) > kUserNameSize) return "";
  SendMessageA(list, LB_GETTEXT, WPARAM(index), LPARAM(name));
  return name;
}

void UpdateButtons(HWND dialog) {
  const bool any = SendDlgItemMessageA(dialog, kList, LB_GETCOUNT, 0, 0) > 0;
  for (int id : {kLogin, kViewPlayer, kDeletePlayer}) EnableWindow(GetDlgItem(dialog, id), any);
}

void FillList(HWND dialog, const char* select, int fallbackIndex) {
  HWND list = GetDlgItem(dialog, kList);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : DialogUsers()) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(name.c_str()));
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  LRESULT index =
      select && select[0] ? SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(select)) : LB_ERR;
  if (index == LB_ERR) index = fallbackIndex < count ? fallbackIndex : count - 1;
  if (count > 0) SendMessageA(list, LB_SETCURSEL, WPARAM(index), 0);
  UpdateButtons(dialog);
}

bool DeleteFolderFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const std::string file = folder + "\\" + found.cFileName;
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return RemoveDirectoryA(folder.c_str()) != 0;
}

// ---- The login puzzle.

// The puzzles made in this run, shared by both threads.
PuzzleHistory g_history;
const LoginPuzzleBoard* g_board = nullptr;

struct PuzzleJob {
  PuzzleMaker maker;
  HWND notify = nullptr;  // the build job's dialog
  std::string path;       // the save job's file
  WorkerThread* thread = nullptr;
  explicit PuzzleJob(uint32_t seed) : maker(&g_history, seed) {}
};

PuzzleJob* g_build = nullptr;  // the interface thread's
WorkerThread* g_saveThread = nullptr;
std::atomic<uint32_t> g_seedCount{0};

// The puzzle on show in the login dialog.
struct ShownPuzzle {
  HWND dialog = nullptr;
  HWND board = nullptr;
  HWND boardParent = nullptr;
  Board position{};
  bool shown = false;   // a position is on the board
  bool active = false;  // moves are judged
};
ShownPuzzle g_puzzle;

uint32_t NewSeed() { return GetTickCount() ^ (GetCurrentThreadId() << 16) ^ (++g_seedCount * 2654435761u); }

std::string PuzzlePath() {
  char folder[MAX_PATH] = "";
  const DWORD n = GetCurrentDirectoryA(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH) return kPuzzleFileName;
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + kPuzzleFileName;
}

uint32_t PuzzleWork(void* job) { return static_cast<PuzzleJob*>(job)->maker.Step() ? 0 : 1; }
uint32_t NothingMore(void*) { return 0; }

uint32_t BuildDone(void* argument) {
  auto* job = static_cast<PuzzleJob*>(argument);
  PostMessageA(job->notify, kPuzzleBuilt, 0, 0);
  return 0;
}

// The save thread owns its job: it writes the file and frees the job, or
// only frees it when it was stopped.
uint32_t SaveDone(void* argument) {
  auto* job = static_cast<PuzzleJob*>(argument);
  WritePuzzleFile(job->path, job->maker.Position(), job->maker.Side());
  delete job;
  return 0;
}
uint32_t SaveStopped(void* argument) {
  delete static_cast<PuzzleJob*>(argument);
  return 0;
}

void StartSaveThread() {
  if (WorkerThreadExists(kPuzzleSaveThreadName)) return;
  auto* job = new PuzzleJob(NewSeed());
  job->path = PuzzlePath();
  g_saveThread = StartWorkerThread(kPuzzleSaveThreadName, job, PuzzleWork, SaveDone, SaveStopped);
  if (!g_saveThread) delete job;
}

void StopBuildThread() {
  if (!g_build) return;
  StopWorkerThread(g_build->thread, 5000);
  delete g_build;
  g_build = nullptr;
}

void SetStatus(int text) {
  if (!g_puzzle.dialog) return;
  // The text is drawn over the dialog's own background: erase the old one.
  HWND status = GetDlgItem(g_puzzle.dialog, kStatus);
  RECT r{};
  GetWindowRect(status, &r);
  MapWindowPoints(nullptr, g_puzzle.dialog, reinterpret_cast<POINT*>(&r), 2);
  SetWindowTextA(status, LoadOwnString(uint32_t(text)));
  InvalidateRect(g_puzzle.dialog, &r, TRUE);
  InvalidateRect(status, nullptr, TRUE);
}

LRESULT PuzzleBoardProc(HWND, UINT message, WPARAM first, LPARAM, intptr_t);

void ShowLoginPuzzle(const Board& position) {
  // Without a board there is nothing to solve: the frame stays empty and
  // the status as it was, and the puzzle is only saved for the next start.
  if (!g_board || !g_puzzle.board) return;
  g_puzzle.position = position;
  g_puzzle.shown = g_puzzle.active = true;
  g_board->setPosition(g_puzzle.board, &position);
  SetStatus(kPuzzleWhiteMates);
  EnableWindow(GetDlgItem(g_puzzle.dialog, kGiveUp), TRUE);
}

void ShowPuzzleSolution(bool show) {
  if (!g_puzzle.shown || !g_board || !g_puzzle.board) return;
  g_board->markSquares(g_puzzle.board, g_puzzle.position[kSolutionFromByte], g_puzzle.position[kSolutionToByte],
                       show ? 1 : 0);
}

// The board keeps its picture's size, centred in the group box's inside
// above the status line.
void PlaceBoard(HWND dialog, HWND board) {
  HWND frame = GetDlgItem(dialog, 2206), status = GetDlgItem(dialog, kStatus);
  RECT f{}, t{}, b{};
  GetWindowRect(frame, &f);
  GetWindowRect(status, &t);
  GetWindowRect(board, &b);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&f), 2);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&t), 2);
  const int top = int(f.top) + 14, bottom = int(t.top) - 2;
  const int width = int(b.right - b.left), height = int(b.bottom - b.top);
  if (width <= 0 || height <= 0) return;
  const int y = std::max(top, top + (bottom - top - height) / 2);
  SetWindowPos(board, HWND_TOP, (f.left + f.right - width) / 2, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void StartLoginPuzzle(HWND dialog) {
  g_puzzle = ShownPuzzle{};
  g_puzzle.dialog = dialog;
  SetStatus(kPuzzleCreating);
  EnableWindow(GetDlgItem(dialog, kGiveUp), FALSE);
  if (g_board && g_board->window) g_puzzle.board = g_board->window();
  if (g_puzzle.board) {
    g_puzzle.boardParent = GetParent(g_puzzle.board);
    g_board->setCallback(g_puzzle.board, PuzzleBoardProc, 0);
    SetParent(g_puzzle.board, dialog);
    PlaceBoard(dialog, g_puzzle.board);
  }
  Board saved{};
  int side = 0;
  if (!g_puzzle.board) {
    // Nothing to show it on: only the next start's puzzle is made (unless
    // a good one is saved already).
    if (!ReadPuzzleFile(PuzzlePath(), &saved, &side)) StartSaveThread();
    return;
  }
  if (ReadPuzzleFile(PuzzlePath(), &saved, &side)) {
    ShowLoginPuzzle(saved);
    StartSaveThread();
    return;
  }
  // A file that is not used is made again, as if it were absent.
  g_build = new PuzzleJob(NewSeed());
  g_build->notify = dialog;
  g_build->thread = StartWorkerThread(kPuzzleBuildThreadName, g_build, PuzzleWork, BuildDone, NothingMore);
  if (!g_build->thread) {
    delete g_build;
    g_build = nullptr;
  }
}

void OnPuzzleBuilt() {
  if (!g_build || !g_puzzle.dialog) return;
  StopWorkerThread(g_build->thread, 5000);  // it has ended or is ending
  const Board made = g_build->maker.Position();
  delete g_build;
  g_build = nullptr;
  ShowLoginPuzzle(made);
  StartSaveThread();
}

void EndLoginPuzzle() {
  g_puzzle.active = false;
  StopBuildThread();
  if (g_puzzle.board) {
    ShowWindow(g_puzzle.board, SW_HIDE);
    g_board->setCallback(g_puzzle.board, nullptr, 0);
    SetParent(g_puzzle.board, g_puzzle.boardParent);
    if (g_board->end) g_board->end(g_puzzle.board);
  }
  g_puzzle = ShownPuzzle{};
}

LRESULT PuzzleBoardProc(HWND board, UINT message, WPARAM first, LPARAM, intptr_t) {
  if (message == 0x8001) {
    const auto* move = reinterpret_cast<const MoveRecord*>(first);
    if (!g_puzzle.active) return 0;
    if (!move) {  // refused by the board itself
      SetStatus(kPuzzleWrongMove);
      return 0;
    }
    switch (JudgePuzzleMove(g_puzzle.position, WHITE, move->from, move->to)) {
      case PuzzleVerdict::kIllegal:
        SetStatus(kPuzzleWrongMove);
        return 0;
      case PuzzleVerdict::kWrong:
        SetStatus(kPuzzleIncorrect);
        g_board->setPosition(board, &g_puzzle.position);  // taken back
        return 1;
      case PuzzleVerdict::kSolved: {
        SetStatus(kPuzzleCorrect);
        EnableWindow(GetDlgItem(g_puzzle.dialog, kGiveUp), FALSE);
        if (GetMainFrame()) ClearStatusText();
        Board after = g_puzzle.position;
        MoveRecord played{};
        played.from = move->from;
        played.to = move->to;
        MakeMove(&played, &after);
        g_board->setPosition(board, &after);
        g_puzzle.active = false;
        g_board->setCallback(board, nullptr, 0);
        return 1;
      }
    }
    return 0;
  }
  // Mouse and game messages reach the board only while the puzzle runs.
  if ((message >= WM_MOUSEMOVE && message <= WM_LBUTTONUP) || message == 0x8103) return g_puzzle.active ? 0 : 1;
  return 0;
}

void LogIn(HWND dialog) {
  const std::string name = Selected(dialog);
  if (name.empty()) return;
  ShowPuzzleSolution(false);
  if (SwitchUser(name.c_str(), dialog)) EndDialog(dialog, 1);
}

void DeletePlayer(HWND dialog) {
  const std::string name = Selected(dialog);
  if (name.empty()) return;
  if (name == CurrentUserName()) {
    Ask(LoadOwnString(kPlayerLoggedIn), MB_OK | MB_ICONEXCLAMATION, dialog);
    return;
  }
  char question[kOwnStringSize + kUserNameSize];
  std::snprintf(question, sizeof question, LoadOwnString(kDeleteAsk), name.c_str());
  if (Ask(question, MB_YESNO | MB_ICONQUESTION, dialog) != IDYES) return;
  // The list holds only names that could be made as users, so the folder
  // lies under Users.
  if (!IsUserNameUsable(name.c_str())) return;
  const std::string folder = std::string(GetUsersFolder()) + "\\" + name;
  DeleteFolderFiles(folder + "\\Adjourned Games");
  DeleteFolderFiles(folder);
  // LastUser lives in the program's own settings; the logged-in user's
  // settings file stays the one in use.
  char last[kUserNameSize] = "";
  ProfileReadString("lookandfeel", "LastUser", "", last, sizeof last, GetMainIniPath());
  if (name == last) ProfileWriteString("lookandfeel", "LastUser", "", GetMainIniPath());
  const LRESULT at = SendDlgItemMessageA(dialog, kList, LB_GETCURSEL, 0, 0);
  FillList(dialog, nullptr, at < 0 ? 0 : int(at));
}

INT_PTR CALLBACK LoginDialogProc(HWND dialog, UINT message, WPARAM first, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const char* current = CurrentUserName();
      char last[kUserNameSize] = "";
      if (!current[0]) ProfileReadString("lookandfeel", "LastUser", "", last, sizeof last, GetMainIniPath());
      FillList(dialog, current[0] ? current : last, 0);
      const bool loggedIn = current[0] != '\0';
      ShowWindow(GetDlgItem(dialog, kCancel), loggedIn ? SW_SHOW : SW_HIDE);
      ShowWindow(GetDlgItem(dialog, kQuit), loggedIn ? SW_HIDE : SW_SHOW);
      CentreOnFrame(dialog);
      StartLoginPuzzle(dialog);
      SetFocus(GetDlgItem(dialog, kList));
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(first)) {
        case kList:
          if (HIWORD(first) == LBN_SELCHANGE) UpdateButtons(dialog);
          if (HIWORD(first) == LBN_DBLCLK) LogIn(dialog);
          return TRUE;
        case kLogin:
          LogIn(dialog);
          return TRUE;
        case kNewPlayer: {
          char name[kUserNameSize] = "";
          if (RunNewUserDialog(dialog, name)) {
            FillList(dialog, name, 0);
            if (name[0]) LogIn(dialog);
          }
          return TRUE;
        }
        case kViewPlayer: {
          const std::string name = Selected(dialog);
          if (!name.empty()) OpenPlayerProfileDialog(dialog, GetModuleHandleA(nullptr), name.c_str());
          return TRUE;
        }
        case kDeletePlayer:
          DeletePlayer(dialog);
          return TRUE;
        case kGiveUp:
          ShowPuzzleSolution(true);
          if (g_puzzle.board) InvalidateRect(g_puzzle.board, nullptr, FALSE);
          return TRUE;
        case kCancel:
        case kQuit:
        case IDCANCEL:
          ShowPuzzleSolution(false);
          EndDialog(dialog, CurrentUserName()[0] ? kCancel : kQuit);
          return TRUE;
      }
      return FALSE;
    case kPuzzleBuilt:
      OnPuzzleBuilt();
      return TRUE;
    case WM_DESTROY:
      EndLoginPuzzle();
      return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK NewUserDialogProc(HWND dialog, UINT message, WPARAM first, LPARAM second) {
  auto* state = reinterpret_cast<NewUserState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, second);
      SendDlgItemMessageA(dialog, kNameEdit, EM_LIMITTEXT, 15, 0);
      CheckDlgButton(dialog, kLogInCheck, BST_CHECKED);
      CentreOnFrame(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(first) == kCreate && state) {
        char name[64] = "";
        GetDlgItemTextA(dialog, kNameEdit, name, sizeof name);
        for (const std::string& known : state->names) {
          if (known == name) {
            Ask(LoadOwnString(kUserNameExists), MB_OK | MB_ICONEXCLAMATION, dialog);
            return TRUE;
          }
        }
        if (!SetUpNewUser(name, nullptr, nullptr, dialog)) return TRUE;
        if (state->loginName) {
          char clean[kUserNameSize] = "";
          if (IsDlgButtonChecked(dialog, kLogInCheck) == BST_CHECKED) CheckNewUserName(name, clean);
          std::snprintf(state->loginName, kUserNameSize, "%s", clean);
        }
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(first) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

INT_PTR RunLoginDialog(HWND owner) {
  EnableActiveModelessDialog(0);
  const INT_PTR result = DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(105), owner, LoginDialogProc, 0, 0);
  EnableActiveModelessDialog(1);
  return result;
}

void SetLoginPuzzleBoard(const LoginPuzzleBoard* board) { g_board = board; }

void StopLoginPuzzleThreads() {
  StopBuildThread();
  if (g_saveThread) StopWorkerThread(g_saveThread, 5000);
  g_saveThread = nullptr;
}

INT_PTR RunNewUserDialog(HWND owner, char* loginName) {
  if (loginName) loginName[0] = '\0';
  NewUserState state{DialogUsers(), loginName};
  return DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(109), owner, NewUserDialogProc,
                       reinterpret_cast<LPARAM>(&state), 0);
}
