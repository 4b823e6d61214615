// What the Database library needs of the operating system: its lock,
// message boxes, folders, global memory and the debugger output. The
// Windows build gives Win32; the native build gives a stand-in that tests
// can watch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace gdbase {

void PlatformLock();
void PlatformUnlock();

enum BoxIcon { kIconStop, kIconExclamation };
void PlatformMessageBox(const char* text, const char* title, BoxIcon icon);

// 0 made, 183 already there, else the system's error number.
unsigned PlatformCreateFolder(const char* path);
std::string PlatformErrorText(unsigned error);

// Movable global memory holding `text` and a NUL; null when out of memory.
void* PlatformGlobalText(const std::string& text);
// The bytes of a global block, locked; `size` gets its size.
const char* PlatformLockGlobal(void* handle, size_t* size);
void PlatformUnlockGlobal(void* handle);

void* PlatformAllocZeroed(size_t size);
void PlatformFree(void* block);

void PlatformTrace(const char* line);

// Library start and end: game driver, locale names, lock.
void LibraryAttach();
void LibraryDetach();

class ModuleLock {
 public:
  ModuleLock() { PlatformLock(); }
  ~ModuleLock() { PlatformUnlock(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
};

// Version calls of the two engines; tests put older engines in their place.
using EngineVersionCall = int (*)(uint32_t* version, uint32_t* reserved);
void SetEngineVersionCalls(EngineVersionCall key, EngineVersionCall game);

}  // namespace gdbase
