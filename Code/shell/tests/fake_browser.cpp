// A stand-in browser for the launch tests: writes the command line it was
// started with to "rw_fake_browser.txt" in the temporary folder, and ends.
#include <windows.h>

#include <cstdio>

int main() {
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  lstrcatA(path, "rw_fake_browser.txt");
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return 1;
  std::fputs(GetCommandLineA(), out);
  std::fclose(out);
  return 0;
}
