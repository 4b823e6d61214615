// Rookwell.exe from an installed program folder, end to end: start-up to
// the framed main window with its menu bar, status line, room window and
// navigation bar; every room button; closing with Alt+F4; a second copy;
// the fatal starts; the processor an idle program uses. Each test works on
// a fresh copy of the installed folder.
#include "login_puzzle.h"
#include "program_board_geometry.h"
// clang-format off
#include <gtest/gtest.h>
#include <windows.h>
// clang-format on

#include <cstdio>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

// A copy of the installed program folder of its own (the program writes its
// settings there). The intro movie is off unless a test asks for it, so the
// start-up figures are the program's own; a test user is logged in at the
// start unless the test itself logs in.
std::string FreshCopy(const char* name, bool intro = false, bool autoLogin = true) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string to = std::string(temp) + name;
  std::error_code error;
  std::filesystem::remove_all(to, error);
  std::filesystem::copy(guitest::InstalledProgramFolder(), to, std::filesystem::copy_options::recursive, error);
  WritePrivateProfileStringA("settings", "IntroMovie", intro ? "1" : "0", (to + "\\rw.ini").c_str());
  WritePrivateProfileStringA("debug", "auto_login", autoLogin ? "1" : "0", (to + "\\rw.ini").c_str());
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

  bool Start(const char* name, const std::string& arguments = "", bool intro = false, bool autoLogin = true) {
    folder = FreshCopy(name, intro, autoLogin);
    return StartIn(arguments);
  }
  // Starts the program again in the same folder.
  bool StartIn(const std::string& arguments = "") {
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
  ASSERT_TRUE(guitest::ClickItem(parent, id)) << id;
}

// The buttons of the bar top to bottom, with their rooms.
struct NavButton {
  int id;
  int top, height;
};
const NavButton kButtons[] = {{21595, 0, 61},   {21565, 62, 52},  {21555, 118, 57}, {21580, 176, 62},
                              {21570, 239, 61}, {21550, 301, 61}, {21560, 363, 55}, {21575, 419, 63}};

constexpr int kKidsButton = 21550;
constexpr int kLobbyButton = 21595;

// The lobby's login screen over the room window, or null.
HWND LoginScreen(HWND room) {
  HWND screen = FindWindowExA(room, nullptr, "#32770", nullptr);
  return screen && IsWindowVisible(screen) ? screen : nullptr;
}

// The login screen's animated button of a caption ("Game", "Register", ...).
HWND ScreenButton(HWND screen, const char* caption) {
  const std::string prefix = std::string(caption) + " {";
  for (HWND b = FindWindowExA(screen, nullptr, "AnimButton", nullptr); b;
       b = FindWindowExA(screen, b, "AnimButton", nullptr)) {
    char text[256] = "";
    GetWindowTextA(b, text, sizeof text);
    if (std::string(text).rfind(prefix, 0) == 0) return b;
  }
  return nullptr;
}

// Clicks the middle of the button's medallion (its upper part).
void ClickScreenButton(HWND screen, const char* caption) {
  HWND button = ScreenButton(screen, caption);
  ASSERT_NE(button, nullptr) << caption;
  RECT r;
  GetWindowRect(button, &r);
  guitest::MoveMouse(POINT{(r.left + r.right) / 2, r.top + (r.bottom - r.top) / 3});
  guitest::Pump(100);
  guitest::Click(POINT{(r.left + r.right) / 2, r.top + (r.bottom - r.top) / 3});
}

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
  // The test user's layout places the frame for the screen.
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
  EXPECT_LE(frame.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(frame.bottom, GetSystemMetrics(SM_CYSCREEN));
  char title[64] = "";
  GetWindowTextA(run.frame, title, sizeof title);
  EXPECT_STREQ(title, "Rookwell Onyx");
  HWND room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  ASSERT_NE(room, nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(IsWindowVisible(room));
  // The lobby: its login screen, the bar hidden; the test user is logged in,
  // so no login dialog comes.
  EXPECT_FALSE(IsWindowVisible(bar));
  HWND screen = LoginScreen(room);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(FindWindowA(nullptr, "Player Login"), nullptr);
  EXPECT_TRUE(Shot("rookwell_lobby"));
  ClickScreenButton(screen, "Game");
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(bar) != 0; }, 3000));
  EXPECT_FALSE(IsWindow(screen));
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

  // Each button enters its room: the room's button is checked. The lobby's
  // comes last: it checks none and hides the bar.
  for (const NavButton& b : kButtons) {
    if (b.id == kLobbyButton) continue;
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
  ClickChild(bar, kLobbyButton);
  EXPECT_TRUE(guitest::WaitFor([&] { return LoginScreen(room) != nullptr && !IsWindowVisible(bar); }, 3000));
  for (const NavButton& other : kButtons)
    EXPECT_EQ(SendDlgItemMessageA(bar, other.id, BM_GETCHECK, 0, 0), BST_UNCHECKED) << other.id;

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
  // A second start under Wine on a loaded machine may take long to load.
  ASSERT_TRUE(guitest::WaitForProgramEnd(&second, 40000, &code));
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

// The login dialog of the program, once it is up.
HWND WaitForLogin(const guitest::Program& program, DWORD timeoutMs = 10000) {
  HWND login = nullptr;
  guitest::WaitFor(
      [&] {
        login = FindWindowA(nullptr, "Player Login");
        return login && IsWindowVisible(login);
      },
      timeoutMs);
  guitest::Pump(300);
  (void)program;
  return login;
}

std::string Status(HWND login) {
  char text[64] = "";
  GetDlgItemTextA(login, 2205, text, sizeof text);
  return text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string IniText(const std::string& ini, const char* section, const char* key) {
  char value[256] = "";
  GetPrivateProfileStringA(section, key, "", value, sizeof value, ini.c_str());
  return value;
}

void CloseAndConfirm(ProgramRun& run) {
  PostMessageA(run.frame, WM_CLOSE, 0, 0);
  HWND box = ProgramBox(run.program, 5000);
  ASSERT_NE(box, nullptr);
  ClickChild(box, 300);  // "Yes"
  DWORD code = 99;
  ASSERT_TRUE(guitest::WaitForProgramEnd(&run.program, 15000, &code));
  EXPECT_EQ(code, 0u);
}

// From a fresh program folder with no users: the lobby's login screen with
// the login dialog over it; Quit asks and No brings the dialog back; a new
// player is made and logged in with real keys and clicks; "Game" enters
// room 1 under the bar. The next start selects that player, and a start
// with auto_login logs the player in without the dialog.
TEST(Rookwell, LogsInANewPlayerFromAFreshFolderAndAgainAtTheNextStart) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_login", "", false, false));
  HWND login = WaitForLogin(run.program);
  ASSERT_NE(login, nullptr);
  HWND room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  HWND screen = LoginScreen(room);
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(IsWindowVisible(bar));
  EXPECT_FALSE(IsWindowEnabled(screen));  // the dialog is modal over it
  RECT roomRect, screenRect;
  GetClientRect(room, &roomRect);
  GetWindowRect(screen, &screenRect);
  // 800 x 600 frame: a room window under 780 x 630 gets the tiny screen.
  EXPECT_LT(roomRect.right, 780);
  EXPECT_EQ(screenRect.right - screenRect.left, 640);
  EXPECT_EQ(screenRect.bottom - screenRect.top, 480);
  EXPECT_NE(ScreenButton(screen, "Tournament"), nullptr);
  // The room window takes the hidden bar's place: nothing is left unpainted.
  RECT roomOnScreen, barOnScreen;
  GetWindowRect(room, &roomOnScreen);
  GetWindowRect(bar, &barOnScreen);
  EXPECT_EQ(roomOnScreen.left, barOnScreen.left);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(login, 1639)));  // Quit, not Cancel
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(login, 1002)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(login, 1014)));  // nobody to log in
  // No saved puzzle: the first is made while the user waits, shown on the
  // dialog's board, and the next start's is saved.
  EXPECT_TRUE(guitest::WaitFor([&] { return Status(login) == "White to move. Mate in one."; }, 30000))
      << Status(login);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(login, 1015)));  // "I Give Up"
  HWND puzzleBoard = FindWindowExA(login, nullptr, "RWBoardWndClass", nullptr);
  ASSERT_NE(puzzleBoard, nullptr);
  EXPECT_TRUE(IsWindowVisible(puzzleBoard));
  guitest::Pump(300);
  EXPECT_TRUE(Shot("rookwell_login_fresh"));
  EXPECT_TRUE(guitest::WaitFor([&] { return Exists(run.folder + "\\Puzzle.drill"); }, 30000));

  // Quit asks "Exit Now?"; No brings the login back.
  ClickChild(login, 1639);
  HWND box = ProgramBox(run.program, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Exit Now?");
  ClickChild(box, 1);  // "No"
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(login); }, 3000));
  login = WaitForLogin(run.program);
  ASSERT_NE(login, nullptr);

  ClickChild(login, 1003);  // "New Player"
  HWND create = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (create = FindWindowA(nullptr, "Create New Player")) != nullptr; }, 5000));
  guitest::Pump(300);
  ClickChild(create, 1015);
  guitest::Chord({VK_SHIFT}, 'A');
  guitest::PressKey('N');
  guitest::PressKey('N');
  guitest::Pump(200);
  char typed[32] = "";
  GetDlgItemTextA(create, 1015, typed, sizeof typed);
  EXPECT_STREQ(typed, "Ann");
  EXPECT_TRUE(Shot("rookwell_create_player"));
  ClickChild(create, 1010);  // "C&reate"
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(login); }, 5000));
  guitest::Pump(500);
  EXPECT_EQ(FindWindowA(nullptr, "Player Login"), nullptr);  // logged in: it stays away
  const std::string user = run.folder + "\\Users\\Ann\\";
  for (const char* file : {"Ann.usr", "Ann.ini", "Ann.lay", "Adjourned Games"}) EXPECT_TRUE(Exists(user + file)) << file;
  screen = LoginScreen(room);
  ASSERT_NE(screen, nullptr);
  EXPECT_TRUE(IsWindowEnabled(screen));
  EXPECT_TRUE(Shot("rookwell_lobby_logged_in"));

  ClickScreenButton(screen, "Game");
  ASSERT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(bar) != 0; }, 3000));
  EXPECT_EQ(SendDlgItemMessageA(bar, 21565, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(LoginScreen(room), nullptr);
  GetWindowRect(room, &roomOnScreen);
  GetWindowRect(bar, &barOnScreen);
  EXPECT_EQ(roomOnScreen.left, barOnScreen.right);  // beside the bar again
  guitest::Pump(500);
  EXPECT_TRUE(Shot("rookwell_game_room_as_ann"));
  CloseAndConfirm(run);
  EXPECT_EQ(IniText(run.folder + "\\rw.ini", "lookandfeel", "LastUser"), "Ann");
  EXPECT_FALSE(IniText(user + "Ann.lay", "gameroom", "Rookwell").empty());

  // The next start: the dialog selects Ann, the last user, though "Aaron"
  // lists before her; Login logs her in.
  const std::string aaron = run.folder + "\\Users\\Aaron";
  CreateDirectoryA(aaron.c_str(), nullptr);
  CopyFileA((user + "Ann.usr").c_str(), (aaron + "\\Aaron.usr").c_str(), FALSE);
  ASSERT_TRUE(run.StartIn());
  login = WaitForLogin(run.program);
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(SendDlgItemMessageA(login, 1009, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendDlgItemMessageA(login, 1009, LB_GETCURSEL, 0, 0), 1);
  ClickChild(login, 1014);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(login); }, 5000));
  CloseAndConfirm(run);

  // auto_login: Ann without the dialog.
  WritePrivateProfileStringA("debug", "auto_login", "1", (run.folder + "\\rw.ini").c_str());
  WritePrivateProfileStringA("debug", "auto_login_user", "Ann", (run.folder + "\\rw.ini").c_str());
  ASSERT_TRUE(run.StartIn());
  guitest::Pump(1500);
  EXPECT_EQ(FindWindowA(nullptr, "Player Login"), nullptr);
  room = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_ROOM", nullptr);
  screen = LoginScreen(room);
  ASSERT_NE(screen, nullptr);
  GetWindowRect(screen, &screenRect);
  EXPECT_EQ(screenRect.right - screenRect.left, 800);  // Ann's layout: the small screen
  EXPECT_TRUE(Shot("rookwell_auto_login"));
  // "Register" opens the login dialog, with Cancel now that Ann is in.
  ClickScreenButton(screen, "Register");
  login = WaitForLogin(run.program);
  ASSERT_NE(login, nullptr);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(login, 1002)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(login, 1639)));
  ClickChild(login, 1002);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(login); }, 5000));
  guitest::Pump(500);
  EXPECT_EQ(FindWindowA(nullptr, "Player Login"), nullptr);
  // "Exit" asks "Exit Now?".
  ClickScreenButton(screen, "Exit");
  box = ProgramBox(run.program, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), "Exit Now?");
  ClickChild(box, 300);  // "Yes"
  DWORD code = 99;
  ASSERT_TRUE(guitest::WaitForProgramEnd(&run.program, 15000, &code));
  EXPECT_EQ(code, 0u);
  WIN32_FIND_DATAA found;
  int users = 0;
  HANDLE search = FindFirstFileA((run.folder + "\\Users\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do users += found.cFileName[0] != '.';
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(users, 2);  // Aaron and Ann, no test user
}

// "mpuser=" makes and logs in the named player and enters the online room;
// a name that would leave the Users folder logs nobody in.
TEST(Rookwell, CommandLineUserIsMadeAndLoggedIn) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_mpuser", "mpuser=Ann Lee", false, false));
  guitest::Pump(1500);
  EXPECT_EQ(FindWindowA(nullptr, "Player Login"), nullptr);
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  EXPECT_TRUE(IsWindowVisible(bar));
  EXPECT_EQ(SendDlgItemMessageA(bar, 21575, BM_GETCHECK, 0, 0), BST_CHECKED);  // room 7
  EXPECT_TRUE(Exists(run.folder + "\\Users\\Ann Lee\\Ann Lee.usr"));
  CloseAndConfirm(run);

  ASSERT_TRUE(run.Start("rw_e2e_mpuser_bad", "mpuser=..\\x", false, false));
  HWND login = WaitForLogin(run.program);
  EXPECT_NE(login, nullptr);  // nobody logged in: the lobby asks
  EXPECT_FALSE(Exists(run.folder + "\\x"));
  EXPECT_FALSE(Exists(run.folder + "\\x.usr"));
  PostMessageA(run.frame, WM_CLOSE, 0, 1);
  DWORD code = 99;
  if (!guitest::WaitForProgramEnd(&run.program, 15000, &code)) guitest::KillProgram(&run.program);
  EXPECT_EQ(code, 0u);
}

struct CaptionSearch {
  const char* caption;
  HWND found;
};

BOOL CALLBACK FindShownCaption(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<CaptionSearch*>(p);
  char text[96] = "";
  GetWindowTextA(w, text, sizeof text);
  if (!IsWindowVisible(w) || std::strcmp(text, s->caption) != 0) return TRUE;
  s->found = w;
  return FALSE;
}

// A shown top-level window of this caption, or null.
HWND ShownWindow(const char* caption) {
  CaptionSearch search{caption, nullptr};
  EnumWindows(FindShownCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// "Puzzle.drill" with the one position the test knows: Black's king e8,
// White's king e6 and rook h1; Rh8 is the one mate.
void WriteKnownPuzzle(const std::string& folder) {
  Board b;
  ClearBoard(&b);
  b[4] = BLACK + KING;
  b[BLACK_KING_SQUARE] = 4;
  b[36] = WHITE + KING;
  b[WHITE_KING_SQUARE] = 36;
  b[119] = WHITE + ROOK;
  b[kSolutionFromByte] = 119;
  b[kSolutionToByte] = 7;
  uint8_t bytes[kPuzzleFileSize];
  EncodePuzzle(b, WHITE, bytes);
  std::ofstream(folder + "\\" + kPuzzleFileName, std::ios::binary).write(reinterpret_cast<const char*>(bytes),
                                                                           sizeof bytes);
}

// The login puzzle on the program's own board, played with real drags: a
// saved puzzle shows at once; a move that does not mate is taken back, a
// move the rules refuse says so, "I Give Up" marks the two squares, the
// mate is praised and greys "I Give Up". "View Player" shows the selected
// player's profile.
TEST(Rookwell, TheLoginPuzzleIsPlayedOnTheDialogsBoard) {
  ProgramRun run;
  run.folder = FreshCopy("rw_e2e_puzzle", false, false);
  WriteKnownPuzzle(run.folder);
  ASSERT_TRUE(run.StartIn());
  HWND login = WaitForLogin(run.program);
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(Status(login), "White to move. Mate in one.");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(login, 1015)));
  HWND board = FindWindowExA(login, nullptr, "RWBoardWndClass", nullptr);
  ASSERT_NE(board, nullptr);
  ASSERT_TRUE(IsWindowVisible(board));
  // The board lies inside the puzzle's frame, above the status line.
  RECT frame, onScreen, status;
  GetWindowRect(GetDlgItem(login, 2206), &frame);
  GetWindowRect(board, &onScreen);
  GetWindowRect(GetDlgItem(login, 2205), &status);
  EXPECT_GE(onScreen.left, frame.left);
  EXPECT_LE(onScreen.right, frame.right);
  EXPECT_GE(onScreen.top, frame.top);
  EXPECT_LE(onScreen.bottom, status.top + 2);
  BoardGeometry geometry;
  ASSERT_TRUE(geometry.LoadNamed("Login Puzzle", 6, 15));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("rookwell_login_puzzle"));

  // Rh2 does not mate: taken back (the rook can still go to h8 below).
  guitest::DragSettled(geometry.Centre(board, "h1"), geometry.Centre(board, "h2"));
  EXPECT_TRUE(guitest::WaitFor([&] { return Status(login) == "Incorrect. Try again."; }, 3000)) << Status(login);
  // A rook does not move like a bishop.
  guitest::DragSettled(geometry.Centre(board, "h1"), geometry.Centre(board, "g2"));
  EXPECT_TRUE(guitest::WaitFor([&] { return Status(login) == "Wrong move."; }, 3000)) << Status(login);

  ClickChild(login, 1015);  // "I Give Up"
  guitest::Pump(500);
  EXPECT_TRUE(Shot("rookwell_login_puzzle_given_up"));

  guitest::DragSettled(geometry.Centre(board, "h1"), geometry.Centre(board, "h8"));
  EXPECT_TRUE(guitest::WaitFor([&] { return Status(login) == "Correct!"; }, 3000)) << Status(login);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(login, 1015)));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("rookwell_login_puzzle_solved"));

  // A player made without logging in, then viewed.
  ClickChild(login, 1003);
  HWND create = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (create = FindWindowA(nullptr, "Create New Player")) != nullptr; }, 5000));
  guitest::Pump(300);
  ClickChild(create, 1015);
  guitest::TypeText("Bea");
  ClickChild(create, 1000);  // "Log In With This Player" off
  ClickChild(create, 1010);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(create); }, 5000));
  guitest::Pump(300);
  ASSERT_TRUE(IsWindow(login));  // nobody logged in yet
  EXPECT_EQ(SendDlgItemMessageA(login, 1009, LB_GETCOUNT, 0, 0), 1);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(login, 1016)));
  ClickChild(login, 1016);  // "View Player"
  // Bea's record, read from her file.
  HWND profile = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (profile = ShownWindow("Player Profile - Bea")) != nullptr; }, 5000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("rookwell_view_player"));
  PostMessageA(profile, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(profile); }, 5000));
  ASSERT_TRUE(IsWindow(login));
  ClickChild(login, 1014);  // Login as Bea
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(login); }, 5000));
  CloseAndConfirm(run);
}

}  // namespace

namespace {

// The main menu's commands in the program: the about box from the Help
// menu, and a room from the Rooms menu.
TEST(Rookwell, MenuOpensTheAboutBoxAndGoesToARoom) {
  ProgramRun run;
  // The game room's menu has Help; the lobby's has only Quit.
  run.folder = FreshCopy("rw_e2e_menus");
  WritePrivateProfileStringA("debug", "auto_room_select", "1", (run.folder + "\\rw.ini").c_str());
  ASSERT_TRUE(run.StartIn());
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
