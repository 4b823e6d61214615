// The own file dialogs over the toolkit's list, combo box and edit.
#include <cstdlib>
#include <string>
#include <vector>

#include "data_sets.h"
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

// "C:" with the volume label of a fixed or RAM drive, or the lower-cased
// connection name of a remote one.
std::string DriveEntry(char letter) {
  const char root[4] = {letter, ':', '\\', 0};
  std::string entry = {letter, ':'};
  const UINT kind = GetDriveTypeA(root);
  char name[MAX_PATH] = "";
  if (kind == DRIVE_FIXED || kind == DRIVE_RAMDISK) {
    if (!GetVolumeInformationA(root, name, sizeof name, nullptr, nullptr, nullptr, nullptr, 0)) name[0] = 0;
  } else if (kind == DRIVE_REMOTE) {
    using Connection = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);
    static HMODULE mpr = LoadLibraryA("mpr.dll");
    auto get = mpr ? reinterpret_cast<Connection>(reinterpret_cast<void*>(GetProcAddress(mpr, "WNetGetConnectionA")))
                   : nullptr;
    DWORD size = sizeof name;
    const char device[3] = {letter, ':', 0};
    if (!get || get(device, name, &size) != NO_ERROR) name[0] = 0;
    for (char* c = name; *c; ++c) *c = static_cast<char>(tolower(static_cast<unsigned char>(*c)));
  }
  if (name[0]) entry += std::string(" ") + name;
  return entry;
}

void FillLookInList(HWND dialog) {
  HWND box = GetDlgItem(dialog, kLookIn);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  const char drive = static_cast<char>(toupper(g_state.folder.empty() ? 'C' : g_state.folder[0]));
  const DWORD drives = GetLogicalDrives();
  int selected = 0;
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const std::string entry = DriveEntry(static_cast<char>('A' + i));
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
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
    target = std::string(text, 2) + "\\";
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
  // Rows tall enough for the 16-pixel icons.
  SendDlgItemMessageA(dialog, kFiles, LB_SETITEMHEIGHT, 0, 18);
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

// The icon pair of a file-list kind: the plain one and the selected one.
struct KindIcon {
  int kind;
  const char* plain;
  const char* selected;
};
constexpr KindIcon kIcons[] = {
    {1, "gen_file", "gen_fils"},           {4, "gameBeryl", "gameBerys"},  {5, "gameTopaz", "gameTopas"},
    {6, "gameAmber", "gameAmbes"},         {7, "gameJade", "gameJads"},    {8, "gameOnyx", "gameOnys"},
    {9, "database_file", "database_fils"}, {10, "gen_file", "gen_fils"},   {11, "text_file", "text_fils"},
    {12, "pgn_file", "pgn_fils"},          {13, "tutor_file", "tutor_fils"}, {14, "person_file", "person_fils"},
    {15, "tourn_file", "tourn_fils"},      {16, "book_file", "book_fils"}, {17, "clsfile", "clsfils"},
    {23, "lay_file", "lay_fils"},          {24, "gen_file", "gen_fils"},
};
constexpr int kResourceLibrarySet = 7;
constexpr int kIconSize = 16;
// The icons are drawn on these backgrounds, so the rows take them too.
constexpr COLORREF kListBack = RGB(30, 44, 58), kSelectedBack = RGB(38, 66, 122);

const void* KindIconPicture(int kind, bool selected) {
  for (const KindIcon& icon : kIcons) {
    if (icon.kind != kind) continue;
    void* picture = nullptr;
    return LoadLibraryBitmap(selected ? icon.selected : icon.plain, kResourceLibrarySet, &picture) ? picture
                                                                                                   : nullptr;
  }
  return nullptr;
}

// A file-list row: the kind's icon and the name (a folder's without its "\").
void DrawEntry(HWND dialog, const DRAWITEMSTRUCT* item) {
  if (int(item->itemID) < 0) return;
  HWND list = GetDlgItem(dialog, kFiles);
  char text[MAX_PATH] = "";
  SendMessageA(list, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
  const int kind = int(SendMessageA(list, LB_GETITEMDATA, item->itemID, 0));
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  HDC dc = item->hDC;
  const RECT& r = item->rcItem;
  HBRUSH back = CreateSolidBrush(selected ? kSelectedBack : kListBack);
  FillRect(dc, &r, back);
  DeleteObject(back);
  const int top = r.top + (r.bottom - r.top - kIconSize) / 2;
  if (const auto* icon = static_cast<const BITMAPINFOHEADER*>(KindIconPicture(kind, selected))) {
    const int colours = icon->biBitCount <= 8 ? (icon->biClrUsed ? int(icon->biClrUsed) : 1 << icon->biBitCount) : 0;
    const BYTE* bits = reinterpret_cast<const BYTE*>(icon) + icon->biSize + colours * 4 +
                       (icon->biCompression == BI_BITFIELDS ? 12 : 0);
    StretchDIBits(dc, r.left + 2, top, kIconSize, kIconSize, 0, 0, icon->biWidth, std::abs(icon->biHeight), bits,
                  reinterpret_cast<const BITMAPINFO*>(icon), DIB_RGB_COLORS, SRCCOPY);
  }
  std::string name = text;
  if (kind == kKindFolder && !name.empty() && name.back() == '\\') name.pop_back();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(226, 230, 236));
  RECT textRect{r.left + kIconSize + 6, r.top, r.right, r.bottom};
  DrawTextA(dc, name.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

INT_PTR CALLBACK FileDialogDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM:
      if (wParam == kFiles) {
        DrawEntry(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
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
