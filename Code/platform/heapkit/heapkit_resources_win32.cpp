// Resources copied onto the heap, so that they outlive the module's own
// resource section and are freed like any other block.
#include <windows.h>

#include <cstring>

#include "heapkit.h"

void* memResourceLoad(void* module, const char* name, int kind) {
  if (!name || kind != HEAPKIT_RESOURCE_BITMAP) return nullptr;
  HMODULE m = static_cast<HMODULE>(module);
  HRSRC found = FindResourceA(m, name, MAKEINTRESOURCEA(2));  // RT_BITMAP
  if (!found) return nullptr;
  DWORD size = SizeofResource(m, found);
  HGLOBAL loaded = LoadResource(m, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size < sizeof(BITMAPINFOHEADER)) return nullptr;
  void* copy = memAlloc_rel(size, HEAPKIT_TAG_RW);
  if (copy) std::memcpy(copy, data, size);
  return copy;
}

void* memResourceLock(void* handle) { return handle; }
