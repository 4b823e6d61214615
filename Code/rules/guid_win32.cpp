// GUIDs from the system.
#include <objbase.h>
#include <windows.h>

#include <cstring>

#include "utils.h"

bool CreateGuid(Guid* guid) {
  if (!guid) return false;
  GUID g;
  if (FAILED(CoCreateGuid(&g))) return false;
  static_assert(sizeof g == sizeof guid->bytes, "GUID is 16 bytes");
  std::memcpy(guid->bytes, &g, sizeof g);
  return true;
}
