// GUI test driver: see guitest.h.
#include "guitest.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

namespace guitest {
namespace {

const char kClass[] = "RWGuiTestWindow";

std::map<HWND, Handler>& Handlers() {
  static std::map<HWND, Handler> handlers;
  return handlers;
}

// The handler of the window being created, taken over at its first message
// so that WM_NCCREATE and WM_CREATE reach it too.
Handler g_pending;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_pending && !Handlers().count(window)) Handlers()[window] = std::move(g_pending);
  auto it = Handlers().find(window);
  if (it != Handlers().end() && it->second) {
    bool handled = false;
    LRESULT result = it->second(window, message, wParam, lParam, &handled);
    if (handled) return result;
  }
  if (message == WM_NCDESTROY) Handlers().erase(window);
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOnce() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = TestWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  done = true;
}

struct TimerCount {
  HWND window;
  UINT_PTR id;
  int seen;
};
TimerCount* g_timerCount = nullptr;

LRESULT CALLBACK CountTimers(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code >= 0 && g_timerCount && msg->message == WM_TIMER && msg->hwnd == g_timerCount->window &&
      msg->wParam == g_timerCount->id)
    ++g_timerCount->seen;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void SendMouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}

}  // namespace

HWND CreateTestWindow(const RECT& screen, Handler handler, DWORD style, DWORD exStyle) {
  RegisterOnce();
  g_pending = std::move(handler);
  HWND window = CreateWindowExA(exStyle, kClass, "Rookwell GUI test", style, screen.left, screen.top,
                                screen.right - screen.left, screen.bottom - screen.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  g_pending = nullptr;
  if (window && (style & WS_VISIBLE)) UpdateWindow(window);
  return window;
}

struct FindData {
  const char* className;
  HWND found;
};

static BOOL CALLBACK MatchClass(HWND window, LPARAM lParam) {
  auto* data = reinterpret_cast<FindData*>(lParam);
  char name[256];
  if (GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, data->className) == 0) {
    data->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOfClass(HWND parent, const char* className) {
  if (!parent) return FindWindowA(className, nullptr);
  FindData data{className, nullptr};
  EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

void Pump(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Pump(10);
  }
}

bool WaitForTimer(HWND window, UINT_PTR id, int count, DWORD timeoutMs) {
  TimerCount tc{window, id, 0};
  g_timerCount = &tc;
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountTimers, nullptr, GetCurrentThreadId());
  bool ok = WaitFor([&] { return tc.seen >= count; }, timeoutMs);
  UnhookWindowsHookEx(hook);
  g_timerCount = nullptr;
  return ok;
}

void MoveMouse(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  SendMouse(MOUSEEVENTF_MOVE);  // a zero move makes sure hooks see the new position
  Pump(30);
}

void Click(POINT screen, bool right) {
  MoveMouse(screen);
  SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  Pump(20);
  SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  Pump(30);
}

void Drag(POINT from, POINT to, int steps) {
  // The whole gesture is queued at once: a press on a window's sizing
  // border starts the system's own move loop, which reads the rest of the
  // gesture from the queue before control comes back here.
  if (steps < 1) steps = 1;
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  auto absolute = [&](POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((p.x * 65535LL + width / 2) / (width - 1));
    in.mi.dy = static_cast<LONG>((p.y * 65535LL + height / 2) / (height - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
  };
  std::vector<INPUT> gesture;
  gesture.push_back(absolute(from));
  INPUT button{};
  button.type = INPUT_MOUSE;
  button.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  gesture.push_back(button);
  for (int i = 1; i <= steps; ++i)
    gesture.push_back(
        absolute(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}));
  button.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  gesture.push_back(button);
  SetCursorPos(from.x, from.y);
  SendInput(static_cast<UINT>(gesture.size()), gesture.data(), sizeof(INPUT));
  Pump(100 + 15 * steps);
}

void DragSettled(POINT from, POINT to, DWORD settle, int steps) {
  if (steps < 1) steps = 1;
  MoveMouse(from);
  Pump(50);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Pump(settle);
  for (int i = 1; i <= steps; ++i) {
    MoveMouse(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    Pump(15);
  }
  Pump(settle);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(100);
}

void TypeText(const std::string& text) {
  for (char c : text) {
    const SHORT scan = VkKeyScanA(c);
    const WORD key = WORD(scan & 0xFF);
    if (scan & 0x100)
      Chord({VK_SHIFT}, key);
    else
      PressKey(key);
  }
}

bool ClickItem(HWND parent, int id) {
  HWND item = GetDlgItem(parent, id);
  if (!item) return false;
  RECT r{};
  GetWindowRect(item, &r);
  Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  return true;
}

std::string InstalledProgramFolder() {
  const char* dir = std::getenv("RW_PROGRAM_DIR");
  std::string s = dir ? dir : "";
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

int CountProcesses(const char* exe) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry))
    if (lstrcmpiA(entry.szExeFile, exe) == 0) ++count;
  CloseHandle(snap);
  return count;
}

void PressKey(WORD virtualKey) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = virtualKey;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
  Pump(30);
}

void Chord(std::initializer_list<WORD> held, WORD key) {
  std::vector<INPUT> in;
  auto add = [&in](WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  for (WORD h : held) add(h, false);
  add(key, false);
  add(key, true);
  for (WORD h : held) add(h, true);
  SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
  Pump(40);
}

COLORREF ScreenPixel(int x, int y) {
  // Under Wine the screen DC shows the desktop window's own surface, not
  // the top-level windows over it (each is an X window of its own), so the
  // pixel is read from the window that is at the point.
  POINT p{x, y};
  HWND window = WindowFromPoint(p);
  if (!window) return CLR_INVALID;
  RECT r;
  GetWindowRect(window, &r);
  HDC dc = GetWindowDC(window);
  COLORREF c = GetPixel(dc, x - r.left, y - r.top);
  ReleaseDC(window, dc);
  return c;
}

bool Screenshot(const std::string& name) {
#ifdef RW_GUI_ARTEFACT_DIR
  return ScreenshotTo(RW_GUI_ARTEFACT_DIR, name);
#else
  (void)name;
  return false;
#endif
}

bool ScreenshotTo(const std::string& dir, const std::string& name) {
  GdiFlush();
  Pump(50);
  std::string final = dir + "/" + name + ".png";
  std::string temp = dir + "/." + name + ".tmp.png";
  // The Unix process cannot be waited for through Wine, so it renames its
  // file when done and the test waits for the name.
  std::string command = "/bin/sh -c \"mkdir -p '" + dir + "' && rm -f '" + final +
                        "' && import -window root '" + temp + "' && mv '" + temp + "' '" + final + "'\"";
  // The Windows view of the final file, through Wine's Z: drive.
  std::string windowsPath = "Z:" + final;
  for (char& ch : windowsPath)
    if (ch == '/') ch = '\\';
  DeleteFileA(windowsPath.c_str());
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  return WaitFor([&] { return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000);
}

LRESULT EraseWith(HWND window, WPARAM dc, COLORREF colour) {
  RECT r;
  GetClientRect(window, &r);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(reinterpret_cast<HDC>(dc), &r, brush);
  DeleteObject(brush);
  return 1;
}

HPALETTE MakePalette(const std::function<PALETTEENTRY(int)>& entry) {
  std::vector<char> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) lp->palPalEntry[i] = entry(i);
  return CreatePalette(lp);
}

bool StartProgram(const std::string& exe, const std::string& arguments, const std::string& folder, Program* out) {
  if (!out) return false;
  std::string line = "\"" + exe + "\"";
  if (!arguments.empty()) line += " " + arguments;
  std::vector<char> text(line.begin(), line.end());
  text.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exe.c_str(), text.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return false;
  CloseHandle(info.hThread);
  out->process = info.hProcess;
  out->id = info.dwProcessId;
  return true;
}

bool WaitForProgramEnd(Program* program, DWORD timeoutMs, DWORD* exitCode) {
  if (!program || !program->process) return false;
  const DWORD start = GetTickCount();
  // Keep this thread's own windows answering while the program ends: it
  // may send messages to them.
  while (WaitForSingleObject(program->process, 20) == WAIT_TIMEOUT) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (GetTickCount() - start > timeoutMs) return false;
  }
  DWORD code = 0;
  GetExitCodeProcess(program->process, &code);
  if (exitCode) *exitCode = code;
  CloseHandle(program->process);
  program->process = nullptr;
  return true;
}

void KillProgram(Program* program) {
  if (!program || !program->process) return;
  TerminateProcess(program->process, 99);
  WaitForSingleObject(program->process, 5000);
  CloseHandle(program->process);
  program->process = nullptr;
}

HWND FindProgramWindow(const Program& program, const char* className) {
  for (HWND w = FindWindowA(className, nullptr); w; w = FindWindowExA(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == program.id && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

}  // namespace guitest
