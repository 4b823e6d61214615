// Windows fallbacks: the system message box with the program's caption, as
// the program-wide box itself falls back when its window class cannot be
// set up; messages through the system; the benchmark of RWBench.dll.
#include <windows.h>

#include "rw_strings.h"
#include "rwbench.h"
#include "shell_services.h"

namespace {

// The program's short name from its own string table, "Rookwell" when the
// table is missing.
const char* Caption() {
  static char caption[128];
  if (LoadStringA(GetModuleHandleA(nullptr), IDS_APP_SHORT_NAME, caption, sizeof caption) <= 0)
    lstrcpynA(caption, "Rookwell", sizeof caption);
  return caption;
}

int SystemBoxOwned(const char* text, uint32_t flags, void* owner) {
  return MessageBoxA(static_cast<HWND>(owner), text ? text : "", Caption(), flags);
}

int SystemBox(const char* text, uint32_t flags) {
  return SystemBoxOwned(text, flags, GetShellServices().getNumberedWindow(0));
}

void* SystemBoxModal(const char* text, uint32_t flags, MessageBoxCallback callback, uint32_t data, int) {
  int result = SystemBox(text, flags);
  if (callback) callback(result, data);
  return nullptr;
}

intptr_t SystemSend(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return window ? SendMessageA(static_cast<HWND>(window), message, wParam, lParam) : 0;
}
void SystemPost(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (window) PostMessageA(static_cast<HWND>(window), message, wParam, lParam);
}

}  // namespace

void FillPlatformServices(ShellServices& s) {
  s.appMessageBox = SystemBox;
  s.appMessageBoxOwned = SystemBoxOwned;
  s.showModelessMessageBox = SystemBoxModal;
  s.sendToWindow = SystemSend;
  s.postToWindow = SystemPost;
  s.cpuBenchmark = CPUBenchmark;
}
