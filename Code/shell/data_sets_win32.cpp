// Data-set locator, Windows builds: the resource library is a module loaded
// with LoadLibraryA, and its bitmaps are used in place, made writable.
#include <windows.h>

#include "data_sets.h"

namespace {

void* OpenModule(const char* path) { return LoadLibraryA(path); }

void ReleaseModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

// The named bitmap resource as a packed DIB in the module's image, its pages
// made writable so callers may change the colour table in place.
void* FindBitmap(void* module, const char* name) {
  HMODULE m = static_cast<HMODULE>(module);
  HRSRC found = FindResourceA(m, name, MAKEINTRESOURCEA(2));  // RT_BITMAP
  HGLOBAL loaded = found ? LoadResource(m, found) : nullptr;
  void* bits = loaded ? LockResource(loaded) : nullptr;
  if (!bits) return nullptr;
  DWORD old = 0;
  VirtualProtect(bits, SizeofResource(m, found), PAGE_READWRITE, &old);
  return bits;
}

}  // namespace

DataSetHost DefaultDataSetHost() {
  DataSetHost host{};
  host.loadModule = OpenModule;
  host.freeModule = ReleaseModule;
  host.findBitmap = FindBitmap;
  return host;
}
