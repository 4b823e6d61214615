// The string loaders over the modules' string tables.
#include <windows.h>

#include "win_utils.h"

namespace {
char g_resString[kResStringSize];
char g_ownString[kOwnStringSize];
}  // namespace

const char* LoadResString(void* module, uint32_t id) {
  if (LoadStringA(static_cast<HINSTANCE>(module), id, g_resString, kResStringSize) <= 0) g_resString[0] = '\0';
  return g_resString;
}

const char* LoadOwnString(uint32_t id) {
  if (LoadStringA(GetModuleHandleA(nullptr), id, g_ownString, kOwnStringSize) <= 0) g_ownString[0] = '\0';
  return g_ownString;
}
