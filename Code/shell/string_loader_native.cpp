// Natively there are no string tables: every string is missing.
#include "win_utils.h"

namespace {
char g_resString[kResStringSize];
char g_ownString[kOwnStringSize];
}  // namespace

const char* LoadResString(void*, uint32_t) {
  g_resString[0] = '\0';
  return g_resString;
}

const char* LoadOwnString(uint32_t) {
  g_ownString[0] = '\0';
  return g_ownString;
}
