// Reads string values of the program's key, machine-wide first.
#include <windows.h>

#include "registry.h"
#include "registry_internal.h"

namespace {

char g_value[1024];

bool ReadFrom(HKEY root, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(root, RegistryKeyPath().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = sizeof g_value - 1;
  LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(g_value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  // A stored string need not carry its NUL.
  g_value[size < sizeof g_value ? size : sizeof g_value - 1] = '\0';
  return true;
}

}  // namespace

const char* regGetString(const char* name, const char* fallback) {
  if (RegistryKeyPath().empty() || !name) return fallback;
  if (ReadFrom(HKEY_LOCAL_MACHINE, name) || ReadFrom(HKEY_CURRENT_USER, name)) return g_value;
  return fallback;
}
