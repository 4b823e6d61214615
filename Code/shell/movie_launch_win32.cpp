// Movie launch over CreateProcess.

#include "movie_launch.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app_globals.h"
#include "cursor_set.h"
#include "data_sets.h"
#include "main_loop.h"
#include "movie_launch_core.h"
#include "shell_services.h"
#include "worker_thread.h"

namespace {

constexpr UINT kSoundBack = 0x810E;  // the main frame takes the sound device back

HWND MainFrame() {
  const MainLoopHost& host = GetMainLoopHost();
  return host.mainFrame ? static_cast<HWND>(host.mainFrame()) : nullptr;
}

bool FileExists(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Waits for the player with cursor 0 on the frame, then closes the handles
// and gives the frame its cursor back.
void WaitForPlayer(HANDLE process, HANDLE thread) {
  HWND frame = MainFrame();
  const int cursor = frame ? GetWindowCursorIndex(frame) : -1;
  if (frame) SetAppCursor(frame, CURSOR_BUSY);
  WaitForSingleObject(process, INFINITE);
  CloseHandle(process);
  CloseHandle(thread);
  if (frame && cursor >= 0) SetAppCursor(frame, cursor);
}

// The process record handed to the "MOVIE_THREAD" worker: 16 bytes in the
// 32-bit program.
struct MovieThreadData {
  HANDLE process;
  HANDLE thread;
  DWORD processId;
  DWORD threadId;
};

uint32_t MovieThreadWork(void* argument) {
  auto* data = static_cast<MovieThreadData*>(argument);
  WaitForPlayer(data->process, data->thread);
  return 0;
}

uint32_t MovieThreadDone(void* argument) {
  FreeMovieThreadData(argument);
  return 0;
}

int Launch(const char* path, int level, bool room) {
  if (!path || KeyDown(VK_CONTROL) || !FileExists(path)) return 0;
  char line[kMovieLineSize];
  const bool built = room ? BuildRoomMovieLine(path, level, line, sizeof line)
                          : BuildIntroMovieLine(path, level, line, sizeof line);
  if (!built) return 0;
  // Started or not, the frame takes the device back: the player may have
  // held it.
  StartMoviePlayer(line, 1);
  if (HWND frame = MainFrame()) PostMessageA(frame, kSoundBack, 0, 0);
  return 1;
}

}  // namespace

int GetMovieQuality() {
  const int32_t score = Services().cpuBenchmark(50, nullptr);
  if (KeyDown(VK_END) && KeyDown(VK_HOME)) {
    char text[64];
    wsprintfA(text, "CPU Benchmark: %d", score);
    MessageBoxA(nullptr, text, "Movie Playback Speed", MB_OK);
  }
  HDC screen = GetDC(nullptr);
  const int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return MovieQualityFromScore(score, bits);
}

int PlayIntroMovie() {
  int level = GetMovieQuality();
  if (level == 0) return 0;
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  level = IntroMovieLevel(level, desktop.right - desktop.left, desktop.bottom - desktop.top);
  const char* path = LocateDataSet(8, 0);
  return path ? LaunchMovie(path, level) : 0;
}

int PlayKidsRoomMovie() {
  const int level = GetMovieQuality();
  if (level == 0) return 0;
  const char* path = LocateDataSet(9, 0);
  return path ? LaunchRoomMovie(path, level) : 0;
}

int PlayKidsTarnMovie() {
  const int level = GetMovieQuality();
  if (level == 0) return 0;
  const char* path = LocateDataSet(10, 0);
  return path ? LaunchRoomMovie(path, level) : 0;
}

int LaunchMovie(const char* path, int level) { return Launch(path, level, false); }

int LaunchRoomMovie(const char* path, int level) { return Launch(path, level, true); }

int StartMoviePlayer(const char* commandLine, int wait) {
  const char* folder = GetProgramFolder();
  std::string program = std::string(folder ? folder : "") + "\\RWMovie.exe";
  if (!FileExists(program.c_str())) return 0;
  Services().releaseSoundDevice();

  // CreateProcessA may write into the command line.
  std::string line = commandLine ? commandLine : "";
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  std::memset(&process, 0, sizeof process);
  if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                      folder && *folder ? folder : nullptr, &startup, &process)) {
    Services().reacquireSoundDevice();
    return 0;
  }
  if (!wait) {
    auto* data = static_cast<MovieThreadData*>(std::calloc(1, sizeof(MovieThreadData)));
    if (data) {
      data->process = process.hProcess;
      data->thread = process.hThread;
      data->processId = process.dwProcessId;
      data->threadId = process.dwThreadId;
      if (StartWorkerThread("MOVIE_THREAD", data, MovieThreadWork, MovieThreadDone, MovieThreadDone)) return 1;
      std::free(data);
    }
  }
  // The UI thread handles no messages while the movie plays.
  WaitForPlayer(process.hProcess, process.hThread);
  return 1;
}

void FreeMovieThreadData(void* data) { std::free(data); }

int TestMciPlayback(const char* name) {
  char command[MAX_PATH + 32];
  wsprintfA(command, "open %.*s", MAX_PATH, name);
  if (mciSendStringA(command, nullptr, 0, nullptr) != 0) return 0;
  wsprintfA(command, "play %.*s test", MAX_PATH, name);
  const bool played = mciSendStringA(command, nullptr, 0, nullptr) == 0;
  wsprintfA(command, "close %.*s", MAX_PATH, name);
  mciSendStringA(command, nullptr, 0, nullptr);
  return played ? 1 : 0;
}
