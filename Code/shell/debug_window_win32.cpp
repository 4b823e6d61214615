#include "debug_window.h"

#include <commdlg.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app_globals.h"
#include "date_time.h"
#include "debug_monitor_links.h"
#include "debug_text.h"
#include "facet_frame.h"
#include "main_frame.h"
#include "menu_commands.h"
#include "rw_strings.h"
#include "window_table.h"

namespace {

constexpr UINT kAppendText = 0x401;
constexpr UINT kEndDebugDialog = 0x402;
// Posted after a context-menu choice: the menu's closing hands activation
// to the main frame, which the window system may raise over this window.
constexpr UINT kRaiseAfterMenu = 0x403;
constexpr int kVisibleEdit = 1851, kHiddenEdit = 1852;
enum { kStopLogging = 1025, kClear = 1027, kLogToFile = 1028, kChangeFont = 1029, kPause = 1030, kResume = 1031 };
constexpr int kPauseCopyLimit = 30000;

struct DebugWindowRecord {
  CRITICAL_SECTION lock;
  char logPath[260];
  std::FILE* log;
  HWND visible;
  HWND hidden;
  HFONT font;
  int paused;
  int number;
  WNDPROC editProc;
};

// One face for every debug window of the run.
LOGFONTA g_logFont{};

DebugWindowRecord* Record(HWND dialog) {
  return reinterpret_cast<DebugWindowRecord*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

const char* MainIni() { return GetMainIniPath(); }

int MenuCommandOf(int number) { return number == WIN_WHITE_MONITOR ? 40065 : number == WIN_BLACK_MONITOR ? 40066 : 40067; }

std::string EditText(HWND edit) {
  const int length = GetWindowTextLengthA(edit);
  std::string text(size_t(length) + 1, '\0');
  GetWindowTextA(edit, &text[0], length + 1);
  text.resize(size_t(length));
  return text;
}

// The log file is opened for reading and writing, made when missing and
// never cut short.
bool OpenLog(DebugWindowRecord* r, const char* path) {
  if (r->log) std::fclose(r->log);
  r->log = std::fopen(path, "r+b");
  if (!r->log) r->log = std::fopen(path, "w+b");
  if (!r->log) return false;
  std::snprintf(r->logPath, sizeof r->logPath, "%s", path);
  return true;
}

void CloseLog(DebugWindowRecord* r) {
  if (r->log) std::fclose(r->log);
  r->log = nullptr;
}

void Append(DebugWindowRecord* r, const char* text) {
  const std::string converted = ConvertDebugText(text);
  HWND edit = r->paused ? r->hidden : r->visible;
  const std::string shown = EditText(edit);
  const std::string kept = TrimDebugEditText(shown);
  if (kept.size() != shown.size()) SetWindowTextA(edit, kept.c_str());
  const LRESULT end = GetWindowTextLengthA(edit);
  SendMessageA(edit, EM_SETSEL, end, end);
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(converted.c_str()));
  if (r->log) AppendDebugLog(r->log, converted);
}

void SetFont(DebugWindowRecord* r) {
  if (!g_logFont.lfFaceName[0]) return;
  HFONT font = CreateFontIndirectA(&g_logFont);
  if (!font) return;
  SendMessageA(r->visible, WM_SETFONT, WPARAM(font), TRUE);
  if (r->font) DeleteObject(r->font);
  r->font = font;
}

void ReadFontSettings() {
  if (g_logFont.lfFaceName[0]) return;
  char face[32] = "";
  GetPrivateProfileStringA("debug", "dbgwnd_fontname", "", face, sizeof face, MainIni());
  if (!face[0]) return;
  g_logFont.lfHeight = LONG(GetPrivateProfileIntA("debug", "dbgwnd_fontsize", 0, MainIni()));
  g_logFont.lfWeight = FW_NORMAL;
  g_logFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(g_logFont.lfFaceName, face, LF_FACESIZE);
}

void ShowContextMenu(HWND dialog, DebugWindowRecord* r, LPARAM point) {
  POINT p{short(LOWORD(point)), short(HIWORD(point))};
  CmMenu* menu = cmCreatePopupMenu();
  if (!menu) return;
  cmAppendMenu(menu, MF_STRING, kClear, "Clear window");
  if (r->paused)
    cmAppendMenu(menu, MF_STRING, kResume, "Resume Display");
  else
    cmAppendMenu(menu, MF_STRING, kPause, "Pause Display");
  if (r->log)
    cmAppendMenu(menu, MF_STRING, kStopLogging, "Stop Logging Output");
  else
    cmAppendMenu(menu, MF_STRING, kLogToFile, "Log to Output File...");
  cmAppendMenu(menu, MF_STRING, kChangeFont, "Change Font...");
  RECT at{p.x, p.y, p.x + 1, p.y + 1};
  if (!cmTrackPopupMenu(menu, &at, dialog, 0)) cmDestroyMenu(menu);
}

void ChooseLogFile(HWND dialog, DebugWindowRecord* r) {
  char caption[200] = "";
  GetWindowTextA(dialog, caption, sizeof caption);
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, "%s.txt", caption);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = "*.*\0*.*\0";
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrInitialDir = "C:\\";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!GetSaveFileNameA(&ofn)) return;
  if (OpenLog(r, path)) WritePrivateProfileStringA("debug", "dbgwnd_logfile", path, MainIni());
}

void ChooseFont(DebugWindowRecord* r, HWND dialog) {
  LOGFONTA chosen = g_logFont;
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = dialog;
  cf.lpLogFont = &chosen;
  cf.Flags = CF_SCREENFONTS | (chosen.lfFaceName[0] ? CF_INITTOLOGFONTSTRUCT : 0);
  if (!ChooseFontA(&cf)) return;
  g_logFont = chosen;
  SetFont(r);
  char size[16];
  std::snprintf(size, sizeof size, "%d", int(g_logFont.lfHeight));
  WritePrivateProfileStringA("debug", "dbgwnd_fontname", g_logFont.lfFaceName, MainIni());
  WritePrivateProfileStringA("debug", "dbgwnd_fontsize", size, MainIni());
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND dialog = GetParent(edit);
  DebugWindowRecord* r = Record(dialog);
  WNDPROC base = r ? r->editProc : DefWindowProcA;
  if (message == WM_RBUTTONDOWN) {
    POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
    ClientToScreen(edit, &p);
    SendMessageA(dialog, WM_PARENTNOTIFY, WM_RBUTTONDOWN, MAKELPARAM(p.x, p.y));
    return 0;
  }
  // The edit's own menu would follow the button's release.
  if (message == WM_CONTEXTMENU) return 0;
  return CallWindowProcA(base, edit, message, wParam, lParam);
}

void FillClient(HWND dialog, DebugWindowRecord* r) {
  RECT client;
  GetClientRect(dialog, &client);
  MoveWindow(r->visible, 0, 0, client.right, client.bottom, TRUE);
}

BOOL OnInit(HWND dialog, LPARAM number) {
  auto* r = static_cast<DebugWindowRecord*>(std::calloc(1, sizeof(DebugWindowRecord)));
  if (!r) return FALSE;
  InitializeCriticalSection(&r->lock);
  r->number = number >= 1 ? int(number) : 0;
  r->visible = GetDlgItem(dialog, kVisibleEdit);
  r->hidden = GetDlgItem(dialog, kHiddenEdit);
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(r));
  r->editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(r->visible, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
  SendMessageA(r->visible, EM_SETLIMITTEXT, 0, 0);
  SendMessageA(r->hidden, EM_SETLIMITTEXT, 0, 0);
  FillClient(dialog, r);
  ReadFontSettings();
  SetFont(r);
  char log[MAX_PATH] = "";
  GetPrivateProfileStringA("debug", "dbgwnd_logfile", "", log, sizeof log, MainIni());
  if (log[0]) OpenLog(r, log);
  if (r->number) {
    NumberedWindowOp(WOP_SET_HANDLE, r->number, reinterpret_cast<intptr_t>(dialog));
    ShowWindow(dialog, SW_HIDE);
  }
  const char* now = FormatCurrentDateTime();
  std::string line = std::string(now ? now : "") + "\r\n";
  Append(r, line.c_str());
  return TRUE;
}

void OnDestroy(HWND dialog, DebugWindowRecord* r) {
  if (r->number) NumberedWindowOp(WOP_CLEAR_HANDLE, r->number, 0);
  SetWindowLongPtrA(r->visible, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(r->editProc));
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
  DestroyWindow(r->visible);
  if (r->font) DeleteObject(r->font);
  CloseLog(r);
  DeleteCriticalSection(&r->lock);
  std::free(r);
}

INT_PTR CALLBACK DebugDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInit(dialog, lParam);
  DebugWindowRecord* r = Record(dialog);
  if (!r) return FALSE;
  switch (message) {
    case WM_SIZE:
      FillClient(dialog, r);
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      if (r->number) NumberedWindowOp(WOP_SET_RECT_POS, r->number, lParam);
      return FALSE;
    case WM_CONTEXTMENU:
    case WM_RBUTTONDOWN:
      if (message == WM_RBUTTONDOWN) {
        POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
        ClientToScreen(dialog, &p);
        lParam = MAKELPARAM(p.x, p.y);
      }
      ShowContextMenu(dialog, r, lParam);
      return TRUE;
    case WM_PARENTNOTIFY:
      if (LOWORD(wParam) == WM_RBUTTONDOWN) ShowContextMenu(dialog, r, lParam);
      return TRUE;
    case kAppendText: {
      char* text = reinterpret_cast<char*>(lParam);
      EnterCriticalSection(&r->lock);
      if (text) Append(r, text);
      LeaveCriticalSection(&r->lock);
      delete[] text;
      return TRUE;
    }
    case kEndDebugDialog:
      EndDialog(dialog, 1);
      return TRUE;
    case kRaiseAfterMenu:
      if (IsWindowVisible(dialog)) SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) >= kStopLogging && LOWORD(wParam) <= kResume) PostMessageA(dialog, kRaiseAfterMenu, 0, 0);
      EnterCriticalSection(&r->lock);
      switch (LOWORD(wParam)) {
        case IDCANCEL:
          EndDialog(dialog, 0);
          break;
        case kStopLogging:
          CloseLog(r);
          WritePrivateProfileStringA("debug", "dbgwnd_logfile", "", MainIni());
          break;
        case kClear:
          SetWindowTextA(r->visible, "");
          break;
        case kLogToFile:
          ChooseLogFile(dialog, r);
          break;
        case kChangeFont:
          ChooseFont(r, dialog);
          break;
        case kPause: {
          std::string shown = EditText(r->visible);
          if (shown.size() > size_t(kPauseCopyLimit)) shown.erase(0, shown.size() - kPauseCopyLimit);
          SetWindowTextA(r->hidden, shown.c_str());
          r->paused = 1;
          break;
        }
        case kResume:
          SetWindowTextA(r->visible, EditText(r->hidden).c_str());
          r->paused = 0;
          SendMessageA(r->visible, EM_SETSEL, GetWindowTextLengthA(r->visible), GetWindowTextLengthA(r->visible));
          SendMessageA(r->visible, EM_SCROLLCARET, 0, 0);
          break;
      }
      LeaveCriticalSection(&r->lock);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        HideMonitorWindow(dialog, r->number);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      OnDestroy(dialog, r);
      return FALSE;
  }
  return FALSE;
}

// Formats the whole text and hands it on in pieces of one message each; a
// piece whose post fails is freed here.
void Send(HWND window, bool sync, const char* format, va_list args) {
  if (!window || !IsWindowVisible(window)) return;
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return;
  std::string text(size_t(length) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, args);
  text.resize(size_t(length));
  for (const std::string& piece : SplitDebugText(text)) {
    char* block = new (std::nothrow) char[piece.size() + 1];
    if (!block) return;
    std::memcpy(block, piece.c_str(), piece.size() + 1);
    if (sync)
      SendMessageA(window, kAppendText, 0, reinterpret_cast<LPARAM>(block));
    else if (!PostMessageA(window, kAppendText, 0, reinterpret_cast<LPARAM>(block)))
      delete[] block;
  }
}

HWND Monitor(int number) { return static_cast<HWND>(GetNumberedWindow(number)); }

bool LinkShown(int number) { return Monitor(number) && IsWindowVisible(Monitor(number)); }
void LinkShow(int number, bool show, int) {
  if (!Monitor(number)) return;
  if (show)
    ShowMonitorWindow(nullptr, number);
  else
    HideMonitorWindow(nullptr, number);
}
void LinkWrite(int number, const char* text) {
  if (text) DebugWindowPrintf(Monitor(number), "%s", text);
}

}  // namespace

HWND CreateDebugWindow(int number) {
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(160), GetMainFrame(), DebugDlgProc,
                            LPARAM(number));
}

void DestroyDebugWindow(HWND window) {
  if (window) DestroyWindow(window);
}

void DebugWindowPrintf(HWND window, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Send(window, false, format, args);
  va_end(args);
}

void DebugWindowPrintfSync(HWND window, const char* format, ...) {
  va_list args;
  va_start(args, format);
  Send(window, true, format, args);
  va_end(args);
}

void ShowMonitorWindow(HWND window, int number) {
  if (!number) {
    if (window) ShowWindow(window, SW_SHOW);
    return;
  }
  NumberedWindowOp(WOP_SHOW, number, WSC_SHOW);
  CheckMenuCommand(GetMainFrame(), MenuCommandOf(number));
}

void HideMonitorWindow(HWND window, int number) {
  if (!number) {
    if (window) ShowWindow(window, SW_HIDE);
    return;
  }
  NumberedWindowOp(WOP_SHOW, number, WSC_HIDE);
  UncheckMenuCommand(GetMainFrame(), MenuCommandOf(number));
}

int CreateEngineMonitors() {
  const struct {
    int number, caption;
    const char* fallback;
  } monitors[] = {{WIN_WHITE_MONITOR, IDS_WHITE_ENGINE_MONITOR, "White Engine Monitor"},
                  {WIN_BLACK_MONITOR, IDS_BLACK_ENGINE_MONITOR, "Black Engine Monitor"}};
  char none[128] = "-----\r\nNo Engine Attached\r\n-----\r\n";
  LoadStringA(GetModuleHandleA(nullptr), IDS_NO_ENGINE_ATTACHED, none, sizeof none);
  for (const auto& m : monitors) {
    HWND window = CreateDebugWindow(m.number);
    if (!window) return 0;
    char caption[64];
    if (LoadStringA(GetModuleHandleA(nullptr), UINT(m.caption), caption, sizeof caption) <= 0)
      std::snprintf(caption, sizeof caption, "%s", m.fallback);
    SetWindowTextA(window, caption);
    // The window is hidden, where printing drops text: the line goes straight in.
    char* block = new char[sizeof none];
    std::memcpy(block, none, sizeof none);
    SendMessageA(window, kAppendText, 0, reinterpret_cast<LPARAM>(block));
  }
  return 1;
}

int DestroyEngineMonitors() {
  DestroyDebugWindow(Monitor(WIN_WHITE_MONITOR));
  DestroyDebugWindow(Monitor(WIN_BLACK_MONITOR));
  return 1;
}

void InstallDebugMonitors() {
  DebugMonitorLinks& links = GetDebugMonitorLinks();
  links.isShown = LinkShown;
  links.show = LinkShow;
  links.write = LinkWrite;
}
