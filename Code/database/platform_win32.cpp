// Win32 services of the Database library and its start and end.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "header_texts.h"
#include "platform.h"
#include "texts.h"

namespace gdbase {
namespace {

HANDLE g_mutex = nullptr;

void CaptureMonthNames() {
  char names[12][16];
  const char* pointers[12];
  for (int i = 0; i < 12; ++i) {
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVMONTHNAME1 + i, names[i], sizeof names[i]) == 0)
      return;
    pointers[i] = names[i];
  }
  SetMonthNames(pointers);
  // The header texts' date form: the user's short date picture and month
  // names.
  char picture[32] = "";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture, sizeof picture);
  char full[12][32];
  const char* fullPointers[12];
  for (int i = 0; i < 12; ++i) {
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + i, full[i], sizeof full[i]) == 0)
      full[i][0] = 0;
    fullPointers[i] = full[i][0] ? full[i] : nullptr;
  }
  char shortNames[12][8];
  const char* shortPointers[12];
  for (int i = 0; i < 12; ++i) {
    std::snprintf(shortNames[i], sizeof shortNames[i], "%s", names[i]);
    shortPointers[i] = shortNames[i];
  }
  SetDateLocale(picture, fullPointers, shortPointers);
}

}  // namespace

void PlatformLock() {
  if (g_mutex) WaitForSingleObject(g_mutex, INFINITE);
}

void PlatformUnlock() {
  if (g_mutex) ReleaseMutex(g_mutex);
}

void PlatformMessageBox(const char* text, const char* title, BoxIcon icon) {
  UINT style = MB_OK | (icon == kIconStop ? MB_ICONSTOP : MB_ICONEXCLAMATION);
  MessageBoxA(nullptr, text, title, style);
}

unsigned PlatformCreateFolder(const char* path) {
  if (CreateDirectoryA(path, nullptr)) return 0;
  return GetLastError();
}

std::string PlatformErrorText(unsigned error) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                 sizeof text, nullptr);
  return text;
}

void* PlatformGlobalText(const std::string& text) {
  // Whole 16 KB steps, as the memory PGN grows.
  SIZE_T size = ((text.size() + 1 + 16383) / 16384) * 16384;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  char* p = static_cast<char*>(GlobalLock(block));
  if (!p) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(p, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

const char* PlatformLockGlobal(void* handle, size_t* size) {
  *size = GlobalSize(static_cast<HGLOBAL>(handle));
  return static_cast<const char*>(GlobalLock(static_cast<HGLOBAL>(handle)));
}

void PlatformUnlockGlobal(void* handle) { GlobalUnlock(static_cast<HGLOBAL>(handle)); }

void* PlatformAllocZeroed(size_t size) { return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size); }

void PlatformFree(void* block) {
  if (block) GlobalFree(static_cast<HGLOBAL>(block));
}

void PlatformTrace(const char* line) {
  OutputDebugStringA(line);
  OutputDebugStringA("\n");
}

}  // namespace gdbase

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    gdbase::LibraryAttach();
    gdbase::CaptureMonthNames();
    gdbase::g_mutex = CreateMutexA(nullptr, FALSE, nullptr);
  } else if (reason == DLL_PROCESS_DETACH) {
    gdbase::LibraryDetach();
    if (gdbase::g_mutex) CloseHandle(gdbase::g_mutex);
    gdbase::g_mutex = nullptr;
  }
  return TRUE;
}
