// What the native stand-in of the library's system services records, and
// its global-memory blocks, for tests.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace gdbase {

struct NativeHost {
  std::mutex mutex;
  std::vector<std::string> boxes;  // "title: text"
  std::vector<std::string> trace;
};

NativeHost& Host();
void* NativeGlobalText(const char* text);
std::string NativeGlobalContent(void* handle);
void NativeGlobalFree(void* handle);

}  // namespace gdbase
