// Rookwell.exe from an installed program folder, end to end: start-up to
// the framed main window with its menu bar, status line, room window and
// navigation bar; every room button; closing with Alt+F4; a second copy;
// the fatal starts; the processor an idle program uses. Each test works on
// a fresh copy of the installed folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "guitest.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
const char* kMovieClass = "RW_MOVIE_CLASS";

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, name); }

std::string Installed() {
  const char* dir = std::getenv("RW_PROGRAM_DIR");
  std::string s = dir ? dir : "";
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

// A copy of the installed program folder of its own (the program writes its
// settings there). The intro movie is off unless a test asks for it, so the
// start-up figures are the program's own.
std::string FreshCopy(const char* name, bool intro = false) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string to = std::string(temp) + name;
  std::error_code error;
  std::filesystem::remove_all(to, error);
  std::filesystem::copy(Installed(), to, std::filesystem::copy_options::recursive, error);
  WritePrivateProfileStringA("settings", "IntroMovie", intro ? "1" : "0", (to + "\\rw.ini").c_str());
  return to;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct ProgramRun {
  std::string folder;
  std::string trace;
  guitest::Program program;
  HWND frame = nullptr;
  DWORD shownAfterMs = 0;
  bool sawMoviePlayer = false;  // a player window while it started

  bool Start(const char* name, const std::string& arguments = "", bool intro = false) {
    folder = FreshCopy(name, intro);
    trace = folder + "\\trace.txt";
    DeleteFileA(trace.c_str());
    SetEnvironmentVariableA("RW_SHELL_TRACE", trace.c_str());
    const DWORD start = GetTickCount();
    if (!guitest::StartProgram(folder + "\\Rookwell.exe", arguments, folder, &program)) return false;
    return guitest::WaitFor(
        [&] {
          if (FindWindowA(kMovieClass, nullptr)) sawMoviePlayer = true;
          frame = guitest::FindProgramWindow(program, kFrameClass);
          shownAfterMs = GetTickCount() - start;
          return frame != nullptr;
        },
        20000);
  }
  ~ProgramRun() { guitest::KillProgram(&program); }
};

HWND ProgramBox(const guitest::Program& program, DWORD timeoutMs) {
  HWND box = nullptr;
  guitest::WaitFor([&] { return (box = guitest::FindProgramWindow(program, "RWOMSGBOX")) != nullptr; }, timeoutMs);
  return box;
}

std::string BoxText(HWND box) {
  char text[512] = "";
  GetDlgItemTextA(box, 301, text, sizeof text);
  return text;
}

void ClickChild(HWND parent, int id) {
  HWND child = GetDlgItem(parent, id);
  ASSERT_NE(child, nullptr) << id;
  RECT r;
  GetWindowRect(child, &r);
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// The buttons of the bar top to bottom, with their rooms.
struct NavButton {
  int id;
  int top, height;
};
const NavButton kButtons[] = {{21595, 0, 61},   {21565, 62, 52},  {21555, 118, 57}, {21580, 176, 62},
                              {21570, 239, 61}, {21550, 301, 61}, {21560, 363, 55}, {21575, 419, 63}};

constexpr int kKidsButton = 21550;

// The first entry into the kids room starts its movie (through the player,
// a window of the movie's size in the middle of the screen), which ends by
// itself.
void ExpectKidsRoomMovie() {
  HWND movie = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (movie = FindWindowA(kMovieClass, nullptr)) != nullptr; }, 5000));
  guitest::Pump(1500);
  EXPECT_TRUE(Shot("rookwell_kids_movie"));
  RECT r;
  GetWindowRect(movie, &r);
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 240);
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(movie); }, 12000));
  guitest::Pump(300);
}

TEST(Rookwell, StartsToTheFramedWindowVisitsEveryRoomAndClosesWhenAsked) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_main"));
  std::printf("main frame shown %lu ms after the start\n", static_cast<unsigned long>(run.shownAfterMs));
  EXPECT_LT(run.shownAfterMs, 5000u);
  EXPECT_FALSE(run.sawMoviePlayer);  // IntroMovie=0: no player starts
  guitest::Pump(1500);
  RECT frame;
  GetWindowRect(run.frame, &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.right - frame.left, 800);
  EXPECT_EQ(frame.bottom - frame.top, 600);
  char title[64] = "";
  GetWindowTextA(run.frame, title, sizeof title);
  EXPECT_STREQ(title, "Rookwell Onyx");
  HWND room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  ASSERT_NE(room, nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(IsWindowVisible(room));
  EXPECT_TRUE(IsWindowVisible(bar));
  for (const NavButton& b : kButtons) {
    HWND button = GetDlgItem(bar, b.id);
    ASSERT_NE(button, nullptr) << b.id;
    RECT r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0) << b.id;
    EXPECT_EQ(r.top, b.top) << b.id;
    EXPECT_EQ(r.right - r.left, 72) << b.id;
    EXPECT_EQ(r.bottom - r.top, b.height) << b.id;
  }
  EXPECT_TRUE(Shot("rookwell_lobby"));

  // Each button enters its room: the room's button is checked, the lobby's
  // checks none.
  for (const NavButton& b : kButtons) {
    ClickChild(bar, b.id);
    if (b.id == kKidsButton) ExpectKidsRoomMovie();
    EXPECT_TRUE(guitest::WaitFor(
        [&] {
          for (const NavButton& other : kButtons) {
            const LRESULT checked = SendDlgItemMessageA(bar, other.id, BM_GETCHECK, 0, 0);
            const bool expected = other.id == b.id && b.id != 21595;
            if ((checked == BST_CHECKED) != expected) return false;
          }
          return true;
        },
        3000))
        << b.id;
    EXPECT_TRUE(IsWindowVisible(room)) << b.id;
  }
  // The kids room's movie plays at the first entry of a run only.
  ClickChild(bar, kKidsButton);
  EXPECT_FALSE(guitest::WaitFor([] { return FindWindowA(kMovieClass, nullptr) != nullptr; }, 2500));
  ClickChild(bar, 21565);  // the game room, for the picture
  guitest::Pump(800);
  EXPECT_TRUE(Shot("rookwell_game_room"));

  // Alt+F4 asks; No keeps the program.
  SetForegroundWindow(run.frame);
  guitest::Chord({VK_MENU}, VK_F4);
  HWND box = ProgramBox(run.program, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Exit Now?");
  guitest::Pump(300);
  EXPECT_TRUE(Shot("rookwell_exit_now"));
  ClickChild(box, 1);  // "No"
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(box); }, 3000));
  guitest::Pump(300);
  EXPECT_TRUE(IsWindowVisible(run.frame));

  SetForegroundWindow(run.frame);
  guitest::Chord({VK_MENU}, VK_F4);
  box = ProgramBox(run.program, 5000);
  ASSERT_NE(box, nullptr);
  ClickChild(box, 300);  // "Yes"
  DWORD code = 99;
  ASSERT_TRUE(guitest::WaitForProgramEnd(&run.program, 15000, &code));
  EXPECT_EQ(code, 0u);

  const std::vector<std::string> expected = {
      "splash", "single instance", "look and feel", "main frame", "sound", "settings and data sets",
      "resource library", "messages", "book", "windows", "first room", "shown", "main loop ended",
      "stop: store user", "stop: modeless windows", "stop: database window", "stop: room records", "stop: sound",
      "stop: games", "stop: user record", "stop: chess sets", "stop: book slots", "stop: message tables",
      "stop: window classes", "stop: board views", "stop: cursors and palette", "stop: data sets",
      "stop: look and feel", "stop: globals", "stop: semaphore and mutex", "stopped"};
  EXPECT_EQ(ReadLines(run.trace), expected);
}

TEST(Rookwell, ASecondCopyRestoresTheFirstAndEnds) {
  ProgramRun first;
  ASSERT_TRUE(first.Start("rw_e2e_single"));
  guitest::Pump(1000);
  ShowWindow(first.frame, SW_MINIMIZE);
  EXPECT_TRUE(guitest::WaitFor([&] { return IsIconic(first.frame) != 0; }, 3000));
  guitest::Program second;
  ASSERT_TRUE(guitest::StartProgram(first.folder + "\\Rookwell.exe", "", first.folder, &second));
  DWORD code = 99;
  ASSERT_TRUE(guitest::WaitForProgramEnd(&second, 15000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsIconic(first.frame); }, 3000));
  EXPECT_EQ(WaitForSingleObject(first.program.process, 0), DWORD(WAIT_TIMEOUT));  // the first runs on
  PostMessageA(first.frame, WM_CLOSE, 0, 1);  // closes unasked
  ASSERT_TRUE(guitest::WaitForProgramEnd(&first.program, 15000, &code));
  EXPECT_EQ(code, 0u);
}

// A start that cannot go on shows its message in the program's own box and
// still shuts down in order.
// An environment variable set for the programs a test starts, put back
// afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    char old[256];
    const DWORD n = GetEnvironmentVariableA(name, old, sizeof old);
    had_ = n > 0 && n < sizeof old;
    if (had_) old_ = old;
    SetEnvironmentVariableA(name, value);
  }
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr); }

 private:
  std::string name_, old_;
  bool had_ = false;
};

// `missing`: a file of the program folder removed first, or null.
void ExpectFatalStart(const char* name, const char* missing, const char* message) {
  const std::string folder = FreshCopy(name);
  if (missing) {
    const std::string gone = folder + "\\" + missing;
    ASSERT_TRUE(DeleteFileA(gone.c_str())) << gone;
  }
  const std::string trace = folder + "\\trace.txt";
  SetEnvironmentVariableA("RW_SHELL_TRACE", trace.c_str());
  guitest::Program program;
  ASSERT_TRUE(guitest::StartProgram(folder + "\\Rookwell.exe", "", folder, &program));
  // A missing data file is named first; then the fatal message.
  HWND box = ProgramBox(program, 20000);
  ASSERT_NE(box, nullptr);
  if (missing && BoxText(box).find("was not found") != std::string::npos) {
    EXPECT_NE(BoxText(box).find(missing), std::string::npos) << BoxText(box);
    ClickChild(box, 1);
    guitest::WaitFor([&] { return !IsWindow(box); }, 3000);
    box = ProgramBox(program, 20000);
    if (!box) guitest::KillProgram(&program);
    ASSERT_NE(box, nullptr);
  }
  EXPECT_EQ(BoxText(box), message);
  guitest::Pump(300);
  EXPECT_TRUE(Shot(name));
  ClickChild(box, 1);  // "&OK"
  DWORD code = 99;
  if (!guitest::WaitForProgramEnd(&program, 15000, &code)) {
    guitest::KillProgram(&program);  // the next test must not find it running
    FAIL() << "the program did not end";
  }
  EXPECT_EQ(code, 0u);
  const std::vector<std::string> lines = ReadLines(trace);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "stopped");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string("shown")), 0);
}

TEST(Rookwell, WithoutTheResourceLibraryItSays314AndEnds) {
  ExpectFatalStart("rw_e2e_no_rw256", "rw256.dll",
                   "A fatal error occurred loading Rookwell resources.  The program will now terminate.");
}

TEST(Rookwell, WithoutTheOpeningBookItSays316AndEnds) {
  ExpectFatalStart("rw_e2e_no_book", "Opening Books\\duzuru.obk",
                   "A fatal error occurred loading the Duzuru Opening Book.  The program will now terminate.");
}

TEST(Rookwell, WhenTheSoundOutputCannotOpenItSays317AndEnds) {
  ScopedEnvironment failing("RW_SOUND_DEVICE", "fail");
  ExpectFatalStart("rw_e2e_no_sound", nullptr,
                   "A fatal error occurred initializing Sound playback.  The program will now terminate.");
}

// IntroMovie=1: the player shows the intro over the splash before the frame
// is shown; a click ends it and the start goes on to the framed window.
TEST(Rookwell, PlaysTheIntroMovieAndGoesOnAfterAClick) {
  const std::string folder = FreshCopy("rw_e2e_intro", true);
  const std::string trace = folder + "\\trace.txt";
  SetEnvironmentVariableA("RW_SHELL_TRACE", trace.c_str());
  // The sound library's event log shows the device given to the player and
  // taken back.
  const std::string capture = folder + "\\capture.wav";
  ScopedEnvironment recording("RW_SOUND_CAPTURE", capture.c_str());
  guitest::Program program;
  ASSERT_TRUE(guitest::StartProgram(folder + "\\Rookwell.exe", "", folder, &program));
  HWND movie = nullptr;
  if (!guitest::WaitFor([&] { return (movie = FindWindowA(kMovieClass, nullptr)) != nullptr; }, 20000)) {
    guitest::KillProgram(&program);
    FAIL() << "no movie player window";
  }
  EXPECT_EQ(guitest::FindProgramWindow(program, kFrameClass), nullptr);  // the frame waits for the movie
  guitest::Pump(2500);
  EXPECT_TRUE(Shot("rookwell_intro"));
  RECT r;
  GetWindowRect(movie, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(movie); }, 3000));
  HWND frame = nullptr;
  EXPECT_TRUE(
      guitest::WaitFor([&] { return (frame = guitest::FindProgramWindow(program, kFrameClass)) != nullptr; }, 20000));
  guitest::Pump(800);
  EXPECT_TRUE(Shot("rookwell_after_intro"));
  if (frame) PostMessageA(frame, WM_CLOSE, 0, 1);
  DWORD code = 99;
  if (!guitest::WaitForProgramEnd(&program, 15000, &code)) {
    guitest::KillProgram(&program);
    FAIL() << "the program did not end";
  }
  EXPECT_EQ(code, 0u);
  const std::vector<std::string> lines = ReadLines(trace);
  const auto at = [&](const char* step) { return std::find(lines.begin(), lines.end(), std::string(step)); };
  EXPECT_LT(at("book"), at("intro movie"));
  EXPECT_LT(at("intro movie"), at("windows"));
  EXPECT_NE(at("shown"), lines.end());
  std::vector<std::string> events;
  for (const std::string& line : ReadLines(capture + ".log")) {
    std::istringstream words(line);
    std::string frames, what;
    words >> frames >> what;
    events.push_back(what);
  }
  const auto event = [&](const char* what) { return std::find(events.begin(), events.end(), std::string(what)); };
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "open");
  EXPECT_NE(event("release"), events.end());
  EXPECT_LT(event("release"), event("reacquire"));
}

TEST(Rookwell, IdleItUsesLittleOfAProcessor) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_idle"));
  guitest::Pump(2000);
  auto cpu = [&] {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(run.program.process, &created, &ended, &kernel, &user);
    auto v = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return v(kernel) + v(user);  // 100 ns units
  };
  const uint64_t before = cpu();
  Sleep(10000);
  const uint64_t used = cpu() - before;
  const double percent = double(used) / 1e5;  // of 10 s = 1e8 units, in per cent
  std::printf("idle for 10 s: %.2f %% of a core\n", percent);
  EXPECT_LT(percent, 5.0);
  PostMessageA(run.frame, WM_CLOSE, 0, 1);
  DWORD code = 99;
  ASSERT_TRUE(guitest::WaitForProgramEnd(&run.program, 15000, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace

namespace {

// The main menu's commands in the program: the about box from the Help
// menu, and a room from the Rooms menu.
TEST(Rookwell, MenuOpensTheAboutBoxAndGoesToARoom) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_menus"));
  guitest::Pump(1500);
  SetForegroundWindow(run.frame);
  guitest::Chord({VK_MENU}, 'H');
  guitest::Pump(300);
  guitest::PressKey('A');  // "&About Rookwell Onyx"
  HWND box = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (box = FindWindowA(nullptr, "About Rookwell Onyx")) != nullptr; }, 5000));
  guitest::Pump(1500);
  EXPECT_TRUE(Shot("rookwell_about_box"));
  char version[64] = "";
  GetDlgItemTextA(box, 705, version, sizeof version);
  EXPECT_EQ(std::string(version).rfind("Version ", 0), 0u) << version;
  ClickChild(box, IDOK);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(box); }, 3000));

  // "&Rooms/&Game Room" checks the game room's button on the bar.
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  ASSERT_NE(bar, nullptr);
  SetForegroundWindow(run.frame);
  guitest::Chord({VK_MENU}, 'R');
  guitest::Pump(300);
  guitest::PressKey('G');
  EXPECT_TRUE(guitest::WaitFor(
      [&] { return SendDlgItemMessageA(bar, 21565, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000));
  PostMessageA(run.frame, WM_CLOSE, 0, 1);
  DWORD code = 99;
  EXPECT_TRUE(guitest::WaitForProgramEnd(&run.program, 15000, &code));
}

}  // namespace
