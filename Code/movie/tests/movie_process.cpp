#include "movie_process.h"

#include "guitest.h"

namespace movietest {

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string PlayerPath() { return WindowsPath(RW_MOVIE_EXE); }
std::string ClipPath() { return WindowsPath(RW_MOVIE_CLIP); }

Player::~Player() {
  if (!started) return;
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

long Player::WaitExit(DWORD ms) {
  if (!started) return -1;
  DWORD start = GetTickCount();
  // Messages keep flowing meanwhile, as the test's own windows need.
  while (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
    if (GetTickCount() - start > ms) return -1;
    guitest::Pump(10);
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  return long(code);
}

bool StartPlayer(Player* player, const std::string& commandLine) {
  std::string program = PlayerPath();
  std::string line = commandLine;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  player->started = CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                                   nullptr, nullptr, &si, &player->pi) != 0;
  return player->started;
}

HWND WaitForMovieWindow(DWORD ms) {
  HWND found = nullptr;
  guitest::WaitFor(
      [&] {
        found = FindWindowA("RW_MOVIE_CLASS", nullptr);
        return found && IsWindowVisible(found);
      },
      ms);
  return found && IsWindowVisible(found) ? found : nullptr;
}

std::string CopyClip(const std::string& folder, const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + folder;
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string path = dir + "\\" + name;
  CopyFileA(ClipPath().c_str(), path.c_str(), FALSE);
  return path;
}

std::string StartLog(const char* variable) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + variable + ".log";
  DeleteFileA(path.c_str());
  SetEnvironmentVariableA(variable, path.c_str());
  return path;
}

std::string ReadLog(const std::string& path) {
  std::string text;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(f);
  return text;
}

bool KeepScreenshot(const std::string& name) {
  if (!guitest::Screenshot(name)) return false;
  std::string from = WindowsPath(std::string(RW_GUI_ARTEFACT_DIR) + "/" + name + ".png");
  std::string dir = WindowsPath(RW_MOVIE_ARTEFACT_DIR);
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string to = dir + "\\" + name + ".png";
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

}  // namespace movietest
