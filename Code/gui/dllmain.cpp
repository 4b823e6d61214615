// Facet's entry point: class registration at the first process attach and
// unregistration at the last detach.
#include <windows.h>

#include "controls.h"

namespace {

HINSTANCE g_libraryModule = nullptr;
LONG g_attachCount = 0;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      if (++g_attachCount == 1) {
        g_libraryModule = module;
        RegisterLibraryClasses(module);
      }
      break;
    case DLL_PROCESS_DETACH:
      if (--g_attachCount == 0) {
        UnregisterLibraryClasses(g_libraryModule);
        g_libraryModule = nullptr;
      }
      break;
    default:
      break;  // thread attach and detach
  }
  return TRUE;
}
