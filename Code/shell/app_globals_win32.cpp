// The full path of the program's executable.
#include <windows.h>

#include <string>

std::string PlatformModulePath() {
  std::string path(1024, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);  // cut: the folder would be wrong
  }
}
