// Web and program launch over the shell's open verb and the registry's file
// associations.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include "launch_line.h"
#include "shell_services.h"
#include "web_launch.h"

LONG ReadClassesRootValue(HKEY root, const char* subKey, char* text) {
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key);
  if (opened != ERROR_SUCCESS) return opened;
  LONG size = MAX_PATH;
  if (RegQueryValueA(key, nullptr, text, &size) != ERROR_SUCCESS) text[0] = 0;
  text[MAX_PATH - 1] = 0;
  RegCloseKey(key);
  return opened;
}

int RunRegisteredCommand(const char* typeKey, const std::string& target, int show) {
  char className[MAX_PATH] = "";
  if (ReadClassesRootValue(HKEY_CLASSES_ROOT, typeKey, className) != ERROR_SUCCESS || !className[0]) return 0;
  const std::string commandKey = std::string(className) + "\\shell\\open\\command";
  char command[MAX_PATH] = "";
  if (ReadClassesRootValue(HKEY_CLASSES_ROOT, commandKey.c_str(), command) != ERROR_SUCCESS || !command[0])
    return 0;
  const std::string line = BuildLaunchLine(command, target);
  if (line.empty()) return 0;
  return WinExec(line.c_str(), static_cast<UINT>(show)) > 31 ? 1 : 0;
}

int OpenUrl(const char* address, int show) {
  if (!address || !*address) return 0;
  const INT_PTR started =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address, nullptr, "", show));
  if (started > 32) return 1;
  return RunRegisteredCommand(".htm", address, show);
}

int OpenWithAssociation(const char* file, int show) {
  if (!file) return 0;
  const std::string type = FileTypeOf(file);
  if (type.empty()) return 0;
  return RunRegisteredCommand(type.c_str(), file, show);
}

int OpenWebPage(const char* address) {
  if (!address || !*address) return 0;
  if (OpenUrl(address, SW_SHOWNORMAL)) return 1;
  Services().appMessageBox("No Web browser found.", MB_OK);
  return 0;
}
