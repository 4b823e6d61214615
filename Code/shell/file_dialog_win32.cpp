// The own file dialogs over the toolkit's list, combo box and edit.
#include <string>
#include <vector>

#include "dialog_runner.h"
#include "file_dialog.h"
#include "file_kinds.h"
#include "file_list.h"
#include "shell_services.h"
#include "win_utils.h"

namespace {

enum {
  kUp = 403,
  kLookIn = 404,
  kFiles = 405,
  kName = 406,
  kTypes = 407,
  kOpenAs = 408,
  kNewDir = 409,
  kNewDirName = 410,
  kReadOnly = 411,
  kLoad = 401,
  kSave = 402
};

// The one dialog's state; the folder and the type outlive it.
struct FileDialogState {
  int mode = 0;
  int type = 0;
  int openAs = 0;
  int mustExist = 0;
  int readOnly = 0;
  HINSTANCE module = nullptr;
  std::string folder;
  std::string chosen;
  std::string title;
  std::string startName;
};
FileDialogState g_state;

std::string Text(int id) { return LoadResString(g_state.module, static_cast<uint32_t>(id)); }

void Say(HWND dialog, int id) { Services().appMessageBoxOwned(Text(id).c_str(), MB_OK, dialog); }

std::string ItemText(HWND dialog, int id) {
  char text[MAX_PATH] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void FillFileList(HWND dialog) {
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  HWND list = GetDlgItem(dialog, kFiles);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const FileListEntry& e :
       ListedEntries(ReadFolderEntries(g_state.folder), g_state.type, g_state.mode)) {
    // Folders read as "name\" so that they stand apart without icons.
    const std::string shown = e.kind == kKindFolder ? e.name + "\\" : e.name;
    const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    SendMessageA(list, LB_SETITEMDATA, at, e.kind);
  }
  SetCursor(old);
}

void FillLookInList(HWND dialog) {
  HWND box = GetDlgItem(dialog, kLookIn);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  const char drive = static_cast<char>(toupper(g_state.folder.empty() ? 'C' : g_state.folder[0]));
  const DWORD drives = GetLogicalDrives();
  int selected = 0;
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const char entry[3] = {static_cast<char>('A' + i), ':', 0};
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    if (entry[0] != drive) continue;
    std::string indent = "  ";
    for (const std::string& part : FolderChain(g_state.folder)) {
      selected = int(SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((indent + part).c_str())));
      indent += "  ";
    }
    if (FolderChain(g_state.folder).empty()) selected = int(SendMessageA(box, CB_GETCOUNT, 0, 0)) - 1;
  }
  SendMessageA(box, CB_SETCURSEL, selected, 0);
  EnableWindow(GetDlgItem(dialog, kUp), !IsDriveRoot(g_state.folder));
}

void FillOpenAsList(HWND dialog) {
  HWND box = GetDlgItem(dialog, kOpenAs);
  if (!box) return;
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  const OpenAsChoices choices = OpenAsList(g_state.type);
  for (int id : choices.names) {
    const LRESULT at = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(id).c_str()));
    SendMessageA(box, CB_SETITEMDATA, at, id);
  }
  SendMessageA(box, CB_SETCURSEL, choices.selected, 0);
  g_state.openAs = choices.value;
}

void FillFileTypeList(HWND dialog) {
  HWND box = GetDlgItem(dialog, kTypes);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  int selected = 0, index = 0;
  for (int id : FileTypeNames(g_state.mode, g_state.type)) {
    const LRESULT at = SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(id).c_str()));
    SendMessageA(box, CB_SETITEMDATA, at, id);
    if (FileTypeFromName(g_state.mode, id) == g_state.type && selected == 0) selected = index;
    ++index;
  }
  SendMessageA(box, CB_SETCURSEL, selected, 0);
}

void Refill(HWND dialog) {
  FillLookInList(dialog);
  FillFileList(dialog);
}

void EnterFolder(HWND dialog, const std::string& folder) {
  const DWORD a = GetFileAttributesA(folder.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return;
  g_state.folder = folder;
  Refill(dialog);
}

// A Look in entry: a drive ("C:") or a component of the current folder.
void GoToLookInEntry(HWND dialog) {
  HWND box = GetDlgItem(dialog, kLookIn);
  const LRESULT at = SendMessageA(box, CB_GETCURSEL, 0, 0);
  if (at < 0) return;
  char text[MAX_PATH] = "";
  SendMessageA(box, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text));
  std::string target;
  if (strchr(text, ':')) {
    target = std::string(text) + "\\";
  } else {
    const int depth = static_cast<int>(strspn(text, " ")) / 2;
    target = g_state.folder.substr(0, 2) + "\\";
    const std::vector<std::string> chain = FolderChain(g_state.folder);
    for (int i = 0; i < depth && i < static_cast<int>(chain.size()); ++i)
      target = JoinFolder(target, chain[i]);
  }
  if (lstrcmpiA(target.c_str(), g_state.folder.c_str()) != 0) EnterFolder(dialog, target);
}

INT_PTR CALLBACK NewDirDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static std::string* name = nullptr;
  switch (message) {
    case WM_INITDIALOG:
      name = reinterpret_cast<std::string*>(lParam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        *name = ItemText(dialog, kNewDirName);
        EndDialog(dialog, 1);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
      }
      return TRUE;
  }
  return FALSE;
}

void MakeNewFolder(HWND dialog) {
  std::string name;
  if (DialogBoxParamA(g_state.module, "NEWDIRDLG", dialog, NewDirDlgProc, reinterpret_cast<LPARAM>(&name)) !=
      1)
    return;
  if (name.empty()) return;
  if (!CreateDirectoryA(JoinFolder(g_state.folder, name).c_str(), nullptr)) Say(dialog, 403);
  FillFileList(dialog);
}

void Confirm(HWND dialog) {
  HWND list = GetDlgItem(dialog, kFiles);
  const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
  const std::string typed = ItemText(dialog, kName);
  if (at >= 0 && SendMessageA(list, LB_GETITEMDATA, at, 0) == kKindFolder) {
    char text[MAX_PATH] = "";
    SendMessageA(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(text));
    std::string folder = text;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (typed.empty() || typed == folder) {
      EnterFolder(dialog, JoinFolder(g_state.folder, folder));
      return;
    }
  }
  if (typed.empty()) return Say(dialog, 324);
  if (g_state.mustExist &&
      GetFileAttributesA(JoinFolder(g_state.folder, typed).c_str()) == INVALID_FILE_ATTRIBUTES)
    return Say(dialog, 385);
  std::string cleaned;
  bool warned = false;
  const bool usable = CleanFileName(typed, &cleaned, &warned);
  if (warned) Say(dialog, 355);
  if (!usable) return Say(dialog, 356);  // and the dialog stays open
  // An existing file chosen to open is taken as named: "game.pgn" with the
  // saved-game type (which lists PGN files too) is not "game.pgn.RWG".
  const bool save = g_state.mode == 1 || g_state.mode == 4 || g_state.mode == 5;
  if (save || GetFileAttributesA(JoinFolder(g_state.folder, cleaned).c_str()) == INVALID_FILE_ATTRIBUTES)
    cleaned = AddTypeExtension(cleaned, g_state.type);
  g_state.title = cleaned;
  g_state.chosen = JoinFolder(g_state.folder, cleaned);
  if (GetDlgItem(dialog, kReadOnly)) g_state.readOnly = IsDlgButtonChecked(dialog, kReadOnly) == BST_CHECKED;
  EndDialog(dialog, 1);
}

void OnInit(HWND dialog) {
  struct ModeText {
    int title, button, buttonText;
  };
  static const ModeText kModes[6] = {{0, 0, 0},         {0, 0, 0},         {408, kLoad, 411},
                                     {412, kLoad, 409}, {413, kSave, 410}, {415, kSave, 414}};
  const ModeText& m = kModes[g_state.mode];
  if (m.title) {
    SetWindowTextA(dialog, Text(m.title).c_str());
    SetDlgItemTextA(dialog, m.button, Text(m.buttonText).c_str());
  }
  SetDlgItemTextA(dialog, kName, g_state.startName.c_str());
  FillFileTypeList(dialog);
  FillOpenAsList(dialog);
  Refill(dialog);
}

void OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case kLoad:
    case kSave:
      Confirm(dialog);
      break;
    case IDCANCEL:
      EndDialog(dialog, 0);
      break;
    case kUp:
      EnterFolder(dialog, ParentFolder(g_state.folder));
      break;
    case kNewDir:
      MakeNewFolder(dialog);
      break;
    case kLookIn:
      if (code == CBN_SELCHANGE) GoToLookInEntry(dialog);
      break;
    case kTypes:
      if (code == CBN_SELCHANGE) {
        HWND box = GetDlgItem(dialog, kTypes);
        const int nameId = int(SendMessageA(box, CB_GETITEMDATA, SendMessageA(box, CB_GETCURSEL, 0, 0), 0));
        const int type = FileTypeFromName(g_state.mode, nameId);
        if (type >= 0) g_state.type = type;
        FillOpenAsList(dialog);
        FillFileList(dialog);
      }
      break;
    case kOpenAs:
      if (code == CBN_SELCHANGE) {
        HWND box = GetDlgItem(dialog, kOpenAs);
        const int nameId = int(SendMessageA(box, CB_GETITEMDATA, SendMessageA(box, CB_GETCURSEL, 0, 0), 0));
        g_state.openAs = OpenAsFromName(nameId, g_state.openAs);
      }
      break;
    case kFiles: {
      HWND list = GetDlgItem(dialog, kFiles);
      const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
      if (at < 0) break;
      const bool folder = SendMessageA(list, LB_GETITEMDATA, at, 0) == kKindFolder;
      if (code == LBN_SELCHANGE && !folder) {
        char text[MAX_PATH] = "";
        SendMessageA(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(text));
        SetDlgItemTextA(dialog, kName, text);
      } else if (code == LBN_DBLCLK) {
        Confirm(dialog);
      }
      break;
    }
  }
}

INT_PTR CALLBACK FileDialogDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void SetFileDialogFolder(const char* path) { g_state.folder = path ? path : ""; }
const char* GetFileDialogFolder() { return g_state.folder.c_str(); }

int DoFileDialog(HWND owner, HINSTANCE module, char* path, char* title, int mode, int fileType, int mustExist,
                 int* outType, int* outOpenAs, int* readOnly) {
  if (mode < 0 || mode > 5 || !path) return 0;
  const bool save = mode == 1 || mode == 4 || mode == 5;
  g_state.mode = mode;
  g_state.type = fileType;
  g_state.mustExist = mustExist;
  g_state.module = module;
  g_state.startName = save ? path : "";
  g_state.readOnly = 0;
  if (g_state.folder.empty()) {
    char current[MAX_PATH] = "C:\\";
    GetCurrentDirectoryA(MAX_PATH, current);
    g_state.folder = current;
  }
  const INT_PTR result =
      DoModalDialog(module, save ? "COMMFILESAVEDLG95" : "COMMFILEOPENDLG95", owner, FileDialogDlgProc, 0, 1);
  if (outType) *outType = g_state.type;
  if (outOpenAs) *outOpenAs = g_state.openAs;
  if (result != 1) return 0;
  lstrcpynA(path, g_state.chosen.c_str(), MAX_PATH);
  if (title) lstrcpynA(title, g_state.title.c_str(), MAX_PATH);
  if (readOnly) *readOnly = g_state.readOnly;
  return 1;
}
