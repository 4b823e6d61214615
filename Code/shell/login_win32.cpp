// The login dialogs (see login.h). The login puzzle's board comes with the
// board view and the drill generator; until then its frame stays empty and
// the status line says the puzzle is being made.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "dialog_runner.h"
#include "login.h"
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
constexpr int kPuzzleCreating = 89;
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

void LogIn(HWND dialog) {
  const std::string name = Selected(dialog);
  if (name.empty()) return;
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
      SetDlgItemTextA(dialog, kStatus, LoadOwnString(kPuzzleCreating));
      EnableWindow(GetDlgItem(dialog, kGiveUp), FALSE);
      CentreOnFrame(dialog);
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
        case kViewPlayer:
          return TRUE;  // the player profile comes with the game room
        case kDeletePlayer:
          DeletePlayer(dialog);
          return TRUE;
        case kGiveUp:
          return TRUE;
        case kCancel:
        case kQuit:
        case IDCANCEL:
          EndDialog(dialog, CurrentUserName()[0] ? kCancel : kQuit);
          return TRUE;
      }
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
  return DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(105), owner, LoginDialogProc, 0, 0);
}

INT_PTR RunNewUserDialog(HWND owner, char* loginName) {
  if (loginName) loginName[0] = '\0';
  NewUserState state{DialogUsers(), loginName};
  return DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(109), owner, NewUserDialogProc,
                       reinterpret_cast<LPARAM>(&state), 0);
}
