// Stands in for Rookwell.exe in the login helper's tests: writes its
// command line into stub_args.txt beside itself and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  file = file.substr(0, file.find_last_of("\\/") + 1) + "stub_args.txt";
  if (FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fputs(GetCommandLineA(), f);
    std::fclose(f);
  }
  return 0;
}
