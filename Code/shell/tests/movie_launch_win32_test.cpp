// The movie launcher in a test host under Wine: the player started from the
// program folder with the launcher's own command line and waited for on this
// thread, while a second thread watches the sound device and the frame's
// cursor and clicks the movie away.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app_globals.h"
#include "cursor_set.h"
#include "guitest.h"
#include "main_loop.h"
#include "movie_launch.h"
#include "shell_services.h"
#include "worker_thread.h"

namespace {

constexpr UINT kSoundBack = 0x810E;

// The sound stand-in's capture log.
std::mutex g_lock;
std::vector<std::string> g_log;
void Note(const char* what) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_log.push_back(what);
}
std::vector<std::string> Log() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_log;
}
void Release() { Note("released"); }
int Reacquire() {
  Note("taken back");
  return 1;
}
int32_t g_score = 2000;
int32_t Benchmark(int32_t, char*) { return g_score; }

HWND g_frame = nullptr;
void* Frame() { return g_frame; }

// The test clip's path as the program writes paths.
std::string Clip() {
  std::string path = RW_MOVIE_CLIP;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

DWORD PlayerCount() {
  DWORD count = 0;
  HWND w = nullptr;
  while ((w = FindWindowExA(nullptr, w, "RW_MOVIE_CLASS", nullptr)) != nullptr) ++count;
  return count;
}

class MovieLaunch : public ::testing::Test {
 protected:
  void SetUp() override {
    ShellServices s = DefaultShellServices();
    s.releaseSoundDevice = Release;
    s.reacquireSoundDevice = Reacquire;
    s.cpuBenchmark = Benchmark;
    SetShellServices(s);
    {
      std::lock_guard<std::mutex> hold(g_lock);
      g_log.clear();
    }
    // The frame takes the sound device back on 0x810E.
    g_frame = guitest::CreateTestWindow(RECT{0, 0, 400, 300}, [](HWND, UINT m, WPARAM, LPARAM, bool* handled) {
      if (m == kSoundBack) {
        Services().reacquireSoundDevice();
        *handled = true;
      }
      return LRESULT(0);
    });
    SetMainLoopHost(MainLoopHost{Frame, nullptr});
    ASSERT_EQ(CreateCursorSet(), 1);
    SetAppCursor(g_frame, CURSOR_ARROW);
    if (!GetAppGlobals()) {
      ASSERT_EQ(CreateAppGlobals(), 1);
    }
    SetProgramFolder(RW_BIN_DIR);
    ASSERT_STREQ(GetProgramFolder(), RW_BIN_DIR);
    BYTE keys[256] = {};
    SetKeyboardState(keys);
  }
  void TearDown() override {
    FreeCursorSet();
    DestroyWindow(g_frame);
    g_frame = nullptr;
    SetShellServices(DefaultShellServices());
  }
};

TEST_F(MovieLaunch, QualityFollowsTheBenchmark) {
  // Xvfb's screen has more than 16 bits per pixel.
  for (auto [score, level] : {std::pair{1129, 0}, {1130, 1}, {2599, 2}, {2600, 3}}) {
    g_score = score;
    EXPECT_EQ(GetMovieQuality(), level) << score;
  }
}

TEST_F(MovieLaunch, MissingPlayerOrHeldCtrlSkipsAtOnce) {
  SetProgramFolder("C:\\windows\\temp\\no-such-rookwell-folder");
  const DWORD start = GetTickCount();
  EXPECT_EQ(StartMoviePlayer("  /u /u /c /a /s:1 /f:\"x.avi\" ", 1), 0);
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_TRUE(Log().empty()) << "the sound device stays with the program";

  SetProgramFolder(RW_BIN_DIR);
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(LaunchRoomMovie(Clip().c_str(), 2), 0);
  EXPECT_EQ(LaunchMovie("C:\\windows\\temp\\no-such-movie.bik", 2), 0) << "a missing file";
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(PlayerCount(), 0u);
}

TEST_F(MovieLaunch, DeviceReleasedDuringTheMovieAndTheCursorRestored) {
  std::atomic<bool> playing{false};
  std::atomic<int> cursorDuring{-1};
  std::vector<std::string> logDuring;
  std::thread watcher([&] {
    if (!guitest::WaitFor([] { return PlayerCount() > 0; }, 20000)) return;
    playing = true;
    logDuring = Log();
    cursorDuring = GetWindowCursorIndex(g_frame);
    Sleep(500);
    HWND movie = FindWindowA("RW_MOVIE_CLASS", nullptr);
    RECT r;
    GetWindowRect(movie, &r);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  });
  const DWORD start = GetTickCount();
  EXPECT_EQ(LaunchRoomMovie(Clip().c_str(), 2), 1);
  const DWORD took = GetTickCount() - start;
  watcher.join();
  ASSERT_TRUE(playing) << "the player never showed its window";
  EXPECT_EQ(logDuring, std::vector<std::string>{"released"});
  EXPECT_EQ(cursorDuring, CURSOR_BUSY);
  EXPECT_LT(took, 15000u);
  EXPECT_EQ(PlayerCount(), 0u) << "the launcher waited for the player";
  // Taken back only when the frame handles 0x810E, after the wait.
  EXPECT_EQ(Log(), std::vector<std::string>{"released"});
  guitest::Pump(300);
  EXPECT_EQ(Log(), (std::vector<std::string>{"released", "taken back"}));
  EXPECT_EQ(GetWindowCursorIndex(g_frame), CURSOR_ARROW);
}

// The path no caller takes: the wait on the worker "MOVIE_THREAD", which
// gives the frame its cursor back and frees its record when the player ends.
TEST_F(MovieLaunch, WithoutWaitTheWorkerWaits) {
  const std::string line = "  /u /u /c /a /s:2 /f:\"" + Clip() + "\" ";
  const DWORD start = GetTickCount();
  ASSERT_EQ(StartMoviePlayer(line.c_str(), 0), 1);
  EXPECT_LT(GetTickCount() - start, 2000u) << "the calling thread went on";
  ASSERT_TRUE(guitest::WaitFor([] { return PlayerCount() > 0; }, 20000));
  EXPECT_TRUE(WorkerThreadExists("MOVIE_THREAD"));
  EXPECT_EQ(GetWindowCursorIndex(g_frame), CURSOR_BUSY);
  // Left alone, the 2-second clip ends by itself.
  EXPECT_TRUE(guitest::WaitFor([] { return PlayerCount() == 0 && !WorkerThreadExists("MOVIE_THREAD"); }, 20000));
  EXPECT_EQ(GetWindowCursorIndex(g_frame), CURSOR_ARROW);
}

}  // namespace
