// The native stand-in for the library's operating-system services: a
// standard mutex, message boxes and trace lines kept for tests to read.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

#include "native_host.h"
#include "platform.h"

namespace gdbase {
namespace {

std::recursive_mutex g_lock;
NativeHost g_host;

struct GlobalBlock {
  std::string text;
};

}  // namespace

NativeHost& Host() { return g_host; }

void PlatformLock() { g_lock.lock(); }
void PlatformUnlock() { g_lock.unlock(); }

void PlatformMessageBox(const char* text, const char* title, BoxIcon) {
  std::lock_guard<std::mutex> hold(g_host.mutex);
  g_host.boxes.push_back(std::string(title) + ": " + text);
}

unsigned PlatformCreateFolder(const char* path) {
  std::string p = path ? path : "";
  for (char& c : p)
    if (c == '\\') c = '/';
  std::error_code error;
  if (std::filesystem::is_directory(p, error)) return 183;
  if (std::filesystem::create_directories(p, error)) return 0;
  return error ? static_cast<unsigned>(error.value()) : 0;
}

std::string PlatformErrorText(unsigned error) {
  return std::system_category().message(static_cast<int>(error));
}

void* PlatformGlobalText(const std::string& text) { return new GlobalBlock{text}; }

const char* PlatformLockGlobal(void* handle, size_t* size) {
  auto* block = static_cast<GlobalBlock*>(handle);
  *size = block->text.size() + 1;
  return block->text.c_str();
}

void PlatformUnlockGlobal(void*) {}

void* PlatformAllocZeroed(size_t size) { return std::calloc(1, size); }
void PlatformFree(void* block) { std::free(block); }

void PlatformTrace(const char* line) {
  std::lock_guard<std::mutex> hold(g_host.mutex);
  g_host.trace.push_back(line);
}

void* NativeGlobalText(const char* text) { return new GlobalBlock{text}; }
std::string NativeGlobalContent(void* handle) { return static_cast<GlobalBlock*>(handle)->text; }
void NativeGlobalFree(void* handle) { delete static_cast<GlobalBlock*>(handle); }

}  // namespace gdbase
