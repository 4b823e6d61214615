// The import of an outside xboard engine over Win32. The record and the
// checks on OK are the personality set-up core's. The file is written
// through the one atomic replace, so a failed write leaves an old file as
// it was; a shipped personality of the same name is never overwritten.
#include "import_xboard_dialog.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "file_errors.h"
#include "shell_services.h"
#include "personality.h"
#include "personality_setup_core.h"
#include "window_table.h"

namespace {

constexpr int kName = 1801, kUseBook = 1802, kBookName = 1803, kSelectBook = 1804, kEngine = 1805,
              kBrowse = 1806, kParameters = 1807;
constexpr int kNameLimit = 31, kPathLimit = 259;
constexpr int kProgramFiles = 16, kBookFiles = 11;
constexpr char kDefaultBook[] = "RWONYX.OBK";

std::string LoadText(int id, const char* fallback) {
  char text[512];
  return LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof text) > 0 ? std::string(text)
                                                                                 : std::string(fallback);
}
std::string ItemText(HWND dialog, int id) {
  char text[kPathLimit + 2] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}
std::string Folder(const char* folder) {
  std::string s = folder ? folder : "";
  while (!s.empty() && (s.back() == '\\' || s.back() == '/')) s.pop_back();
  return s.empty() ? "." : s;
}
ImportFileChooser g_chooser = nullptr;

int OwnedBox(const char* text, UINT flags, HWND owner) {
  const ShellServices& s = GetShellServices();
  if (s.appMessageBoxOwned) return s.appMessageBoxOwned(text, flags, owner);
  return MessageBoxA(owner, text, "Rookwell", flags);
}

void Say(HWND dialog, int id, const char* fallback, UINT flags = MB_OK) {
  OwnedBox(LoadText(id, fallback).c_str(), flags, dialog);
}

void CentreOnParent(HWND dialog) {
  HWND parent = GetParent(dialog);
  RECT area, own;
  if (parent && IsWindowVisible(parent))
    GetWindowRect(parent, &area);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// A file chosen in the program's file dialog, starting in `folder`.
bool ChooseFile(HWND dialog, const std::string& folder, int type, std::string* path, std::string* title) {
  char chosen[MAX_PATH] = "", name[MAX_PATH] = "";
  if (!g_chooser || !g_chooser(dialog, folder.c_str(), type, chosen, name)) return false;
  if (path) *path = chosen;
  if (title) *title = name;
  return true;
}

void OnOk(HWND dialog) {
  const std::string name = ItemText(dialog, kName);
  const std::string engine = ItemText(dialog, kEngine);
  switch (CheckXboardImport(name, engine)) {
    case 10134:
      Say(dialog, 10134, "An Xboard Engine Personality must have a name.");
      return;
    case 279:
      Say(dialog, 279, "That is not a valid Personality name.");
      return;
    case 10135:
      Say(dialog, 10135,
          "An Xboard Engine Personality must have an executable file name that points to an Xboard compatible "
          "chess engine.");
      return;
  }
  const bool useBook = IsDlgButtonChecked(dialog, kUseBook) == BST_CHECKED;
  uint8_t bytes[kPersonalityFileSize];
  BuildXboardPersonality(useBook, ItemText(dialog, kBookName), engine, ItemText(dialog, kParameters), bytes);
  const std::string path = JoinPersonalityPath(Folder(GetPersonalitiesFolder()), name + ".RWP");
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // A shipped personality keeps its file whatever the answer would be.
    PersonalityRecord* existing = nullptr;
    if (ReadPersonalityFile(path.c_str(), &existing) == 1 && existing &&
        IsShippedPersonalityKind(existing->kind)) {
      FreePersonality(existing);
      Say(dialog, 271, "Illegal operation on factory set Personality.");
      return;
    }
    FreePersonality(existing);
    if (OwnedBox(LoadText(273, "Okay to overwrite?").c_str(), MB_OKCANCEL, dialog) != IDOK) return;
  }
  if (ReplaceFileAtomically(path.c_str(), bytes, sizeof bytes) != 0) {
    Say(dialog, 10137, "An error occurred while attempting to register your Xboard Engine Personality.");
    EndDialog(dialog, 0);
    return;
  }
  EndDialog(dialog, 1);
}

}  // namespace

void SetImportFileChooser(ImportFileChooser chooser) { g_chooser = chooser; }

int RunImportXboardDialog() {
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "IDD_IMPORT_XBOARD",
                                         HWND(GetNumberedWindow(WIN_MAIN_FRAME)), ImportXboardDlgProc, 0);
  const ShellServices& s = GetShellServices();
  if (result == 1 && s.appMessageBox)
    s.appMessageBox(LoadText(10136, "Your Xboard Engine Personality has been registered and can now be used in "
                                  "Rookwell.")
                      .c_str(),
                  MB_OK);
  else if (result == 1)
    OwnedBox(LoadText(10136, "").c_str(), MB_OK, nullptr);
  return result == 1 ? 1 : 0;
}

INT_PTR CALLBACK ImportXboardDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SendDlgItemMessageA(dialog, kName, EM_LIMITTEXT, kNameLimit, 0);
      SendDlgItemMessageA(dialog, kEngine, EM_LIMITTEXT, kPathLimit, 0);
      SendDlgItemMessageA(dialog, kParameters, EM_LIMITTEXT, kPathLimit, 0);
      CentreOnParent(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kUseBook:
          if (IsDlgButtonChecked(dialog, kUseBook) == BST_CHECKED && ItemText(dialog, kBookName).empty())
            SetDlgItemTextA(dialog, kBookName, kDefaultBook);
          return TRUE;
        case kSelectBook: {
          std::string title;
          if (ChooseFile(dialog, Folder(GetOpeningBooksFolder()), kBookFiles, nullptr, &title))
            SetDlgItemTextA(dialog, kBookName, title.c_str());
          return TRUE;
        }
        case kBrowse: {
          std::string path;
          if (ChooseFile(dialog, Folder(GetProgramFolder()), kProgramFiles, &path, nullptr))
            SetDlgItemTextA(dialog, kEngine, path.c_str());
          return TRUE;
        }
        case IDOK:
          OnOk(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
