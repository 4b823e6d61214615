// The tournament room in Rookwell.exe, end to end and driven as a user
// would through the system's input queue: the room with its tile and pane,
// the "Create Tournament" wizard making a round robin of three of the
// program's personalities at Fischer 1/1, the schedule the room then
// shows, and a game script whose games the room plays one after another,
// writing each result into the script.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "guitest.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
constexpr int kTournamentRoomButton = 21580;
constexpr int kTileTournament = 21685;

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_TOURNAMENT_ARTEFACT_DIR, name); }

std::string Installed() {
  const char* dir = std::getenv("RW_PROGRAM_DIR");
  std::string s = dir ? dir : "";
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

struct ProgramRun {
  std::string folder;
  guitest::Program program;
  HWND frame = nullptr;

  bool Start(const char* name, const std::string& script = "") {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + name;
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::copy(Installed(), folder, std::filesystem::copy_options::recursive, error);
    WritePrivateProfileStringA("settings", "IntroMovie", "0", (folder + "\\rw.ini").c_str());
    // Nobody is logged in and the program starts in the tournament room:
    // the lobby would ask for a user and hides the navigation bar.
    WritePrivateProfileStringA("debug", "auto_login", "0", (folder + "\\rw.ini").c_str());
    WritePrivateProfileStringA("debug", "auto_room_select", "6", (folder + "\\rw.ini").c_str());
    CreateDirectoryA((folder + "\\Users").c_str(), nullptr);
    if (!script.empty()) {
      FILE* f = std::fopen(ScriptPath().c_str(), "wb");
      if (!f) return false;
      std::fputs(script.c_str(), f);
      std::fclose(f);
    }
    if (!guitest::StartProgram(folder + "\\Rookwell.exe", "", folder, &program)) return false;
    return guitest::WaitFor(
        [&] { return (frame = guitest::FindProgramWindow(program, kFrameClass)) != nullptr; }, 20000);
  }
  // Without a logged-in user the room's script lives in the users folder.
  std::string ScriptPath() const { return folder + "\\Users\\tournamentroom.CSC"; }
  int ScriptResult(int game) const {
    const std::string section = "Game" + std::to_string(game);
    return int(GetPrivateProfileIntA(section.c_str(), "Result", 0, ScriptPath().c_str()));
  }
  ~ProgramRun() { guitest::KillProgram(&program); }
};

POINT Centre(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ClickChild(HWND parent, int id) {
  HWND child = GetDlgItem(parent, id);
  ASSERT_NE(child, nullptr) << id;
  guitest::Click(Centre(child));
  guitest::Pump(250);
}

struct Search {
  const char* className;
  int id;
  HWND found;
};

BOOL CALLBACK MatchDescendant(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  char name[64] = "";
  GetClassNameA(w, name, sizeof name);
  if ((!s->className || lstrcmpiA(name, s->className) == 0) && (s->id < 0 || GetDlgCtrlID(w) == s->id)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindDescendant(HWND parent, const char* className, int id) {
  Search search{className, id, nullptr};
  EnumChildWindows(parent, MatchDescendant, LPARAM(&search));
  return search.found;
}

// The toolkit's controls answer WM_GETTEXT themselves.
std::string WindowText(HWND w) {
  char text[256] = "";
  SendMessageA(w, WM_GETTEXT, sizeof text, LPARAM(text));
  return text;
}

HWND EnterTournamentRoom(ProgramRun& run) {
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  EXPECT_NE(bar, nullptr);
  if (!bar) return nullptr;
  ClickChild(bar, kTournamentRoomButton);
  HWND pane = nullptr;
  guitest::WaitFor(
      [&] {
        pane = FindDescendant(run.frame, "RWTournamentPane", -1);
        return pane && IsWindowVisible(pane);
      },
      5000);
  guitest::Pump(600);
  return pane;
}

// The wizard's current page: the dialog inside its frame control.
HWND WizardPage(HWND wizard) {
  HWND frame = GetDlgItem(wizard, 574);
  return frame ? FindWindowExA(frame, nullptr, nullptr, nullptr) : nullptr;
}

bool WaitForPage(HWND wizard, const char* caption) {
  return guitest::WaitFor([&] { return WindowText(wizard) == caption && WizardPage(wizard); }, 3000);
}

// A spin edit's arrow, clicked `times`: the second button is the lower one.
void ClickSpinDown(HWND page, int id, int times) {
  HWND spin = GetDlgItem(page, id);
  ASSERT_NE(spin, nullptr);
  HWND up = FindWindowExA(spin, nullptr, "CGUIBMPButton", nullptr);
  HWND down = up ? FindWindowExA(spin, up, "CGUIBMPButton", nullptr) : nullptr;
  ASSERT_NE(down, nullptr);
  for (int i = 0; i < times; ++i) {
    guitest::Click(Centre(down));
    guitest::Pump(150);
  }
}

int SpinValue(HWND page, int id) { return int(SendDlgItemMessageA(page, id, 0x8653, 0, 0)); }

// Clicks the list's top visible row, goes to its last with End, then "<<".
void AddLastRow(HWND page) {
  HWND list = GetDlgItem(page, 506);
  RECT r{};
  const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
  ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, WPARAM(top), LPARAM(&r)), LB_ERR);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  guitest::Click(p);
  guitest::Pump(200);
  guitest::PressKey(VK_END);
  guitest::Pump(200);
  ClickChild(page, 20455);
}

TEST(TournamentRoom, TheWizardMakesARoundRobinThatTheRoomShows) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_tournament"));
  guitest::Pump(1000);
  HWND pane = EnterTournamentRoom(run);
  ASSERT_NE(pane, nullptr);
  EXPECT_TRUE(Shot("tournament_room_empty"));

  HWND tile = GetParent(FindDescendant(run.frame, nullptr, kTileTournament));
  ASSERT_NE(tile, nullptr);
  ClickChild(tile, kTileTournament);
  HWND wizard = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (wizard = FindWindowA(nullptr, "Create Tournament -- Tournament Details")) != nullptr; },
      5000));
  ASSERT_TRUE(WaitForPage(wizard, "Create Tournament -- Tournament Details"));
  HWND page = WizardPage(wizard);
  EXPECT_EQ(WindowText(GetDlgItem(page, 713)), "8");
  EXPECT_EQ(WindowText(GetDlgItem(page, 714)), "2");
  // Fischer shows its remembered 5 minutes and 3 seconds; 1 and 1 are wanted.
  ClickChild(page, 3078);
  EXPECT_EQ(WindowText(GetDlgItem(page, 3074)), "Bonus");
  EXPECT_EQ(SpinValue(page, 3073), 5);
  EXPECT_EQ(SpinValue(page, 3075), 3);
  ClickSpinDown(page, 3073, 4);
  ClickSpinDown(page, 3075, 2);
  EXPECT_EQ(SpinValue(page, 3073), 1);
  EXPECT_EQ(SpinValue(page, 3075), 1);
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_wizard_details"));
  ClickChild(page, 575);

  ASSERT_TRUE(WaitForPage(wizard, "Create Tournament -- Add Computer Players"));
  page = WizardPage(wizard);
  HWND available = GetDlgItem(page, 506);
  ASSERT_GE(SendMessageA(available, LB_GETCOUNT, 0, 0), 3);
  // The three weakest play the quickest games.
  for (int i = 0; i < 3; ++i) AddLastRow(page);
  EXPECT_EQ(SendDlgItemMessageA(page, 505, LB_GETCOUNT, 0, 0), 3);
  char barnaby[64] = "";
  for (int r = 0, n = int(SendMessageA(available, LB_GETCOUNT, 0, 0)); r < n; ++r) {
    SendMessageA(available, LB_GETTEXT, WPARAM(r), LPARAM(barnaby));
    EXPECT_EQ(std::string(barnaby).find("Barnaby"), std::string::npos) << "not offered in this room";
  }
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_wizard_computers"));
  ClickChild(page, 575);

  ASSERT_TRUE(WaitForPage(wizard, "Create Tournament -- Add Human Players"));
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_wizard_humans"));
  ClickChild(WizardPage(wizard), 575);

  ASSERT_TRUE(WaitForPage(wizard, "Create Tournament -- Tournament Rounds"));
  page = WizardPage(wizard);
  EXPECT_EQ(WindowText(GetDlgItem(page, 1563)), "Unrated Round Robin Tournament");
  EXPECT_EQ(WindowText(GetDlgItem(page, 1564)), "3 Players");
  EXPECT_EQ(WindowText(GetDlgItem(page, 1602)), "Fischer 1/1");
  EXPECT_EQ(SpinValue(page, 582), 4);
  EXPECT_EQ(WindowText(GetDlgItem(page, 1565)), "12");
  ClickSpinDown(page, 582, 3);
  EXPECT_EQ(WindowText(GetDlgItem(page, 1565)), "3") << "one cycle of three games";
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_wizard_rounds"));
  ClickChild(page, 577);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(wizard); }, 3000));

  // The new tournament is named and saved in the user's folder.
  HWND save = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (save = FindWindowA(nullptr, "File Save")) != nullptr; }, 5000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("tournament_save"));
  ClickChild(save, 402);

  HWND schedule = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (schedule = FindWindowA(nullptr, "Tournament Schedule")) != nullptr; }, 5000));
  EXPECT_EQ(SendDlgItemMessageA(schedule, 503, LB_GETCOUNT, 0, 0), 3);
  guitest::Pump(500);
  EXPECT_TRUE(Shot("tournament_schedule_dialog"));
  ClickChild(schedule, 501);  // "Auto"

  HWND announce = nullptr;
  ASSERT_TRUE(
      guitest::WaitFor([&] { return (announce = FindWindowA(nullptr, "Announcement")) != nullptr; }, 5000));
  EXPECT_EQ(WindowText(GetDlgItem(announce, 520)), "Ready to begin: 5");
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_announcement"));
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(announce); }, 8000)) << "counts down to 0 and starts";
  guitest::Pump(8000);
  EXPECT_TRUE(Shot("tournament_room_game"));

  // The three games are played one after another, each announced.
  HWND results = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (results = FindWindowA(nullptr, "Tournament Results")) != nullptr; }, 420000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("tournament_results"));
  ClickChild(results, 523);  // "Games..."
  HWND games = nullptr;
  ASSERT_TRUE(
      guitest::WaitFor([&] { return (games = FindWindowA(nullptr, "Games Played")) != nullptr; }, 5000));
  EXPECT_EQ(SendDlgItemMessageA(games, 571, LB_GETCOUNT, 0, 0), 3);
  guitest::Pump(500);
  EXPECT_TRUE(Shot("tournament_games_played"));
  ClickChild(games, 572);
  guitest::Pump(800);
  EXPECT_TRUE(Shot("tournament_room_schedule"));

  // The file and its games read back: three games with their rounds.
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((run.folder + "\\Users\\Tournament *.RWT").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE) << "the tournament file";
  FindClose(find);
  std::string pgnName = found.cFileName;
  pgnName.replace(pgnName.size() - 4, 4, ".PGN");
  FILE* f = std::fopen((run.folder + "\\Users\\" + pgnName).c_str(), "rb");
  ASSERT_NE(f, nullptr) << pgnName;
  std::string pgn;
  for (int c; (c = std::fgetc(f)) != EOF;) pgn += char(c);
  std::fclose(f);
  for (const char* round : {"[Round \"1, Game 1\"]", "[Round \"1, Game 2\"]", "[Round \"1, Game 3\"]"})
    EXPECT_NE(pgn.find(round), std::string::npos) << round;
  std::printf("tournament file %s, %zu bytes of games\n", found.cFileName, pgn.size());
}

TEST(TournamentRoom, AScriptPlaysItsGamesAndWritesTheirResults) {
  // Two quick games between the program's own personalities: ten seconds
  // and a tenth of a second a move, lost on time if it comes to that.
  const std::string script =
      "[Script]\r\nType=1\r\nNumGames=2\r\nTimeType=5\r\nBaseTime=10000\r\nBonusTime=100\r\n"
      "[Game0]\r\nWhite=Tarn - Age 12\r\nBlack=Wren - Age 10\r\n"
      "[Game1]\r\nWhite=Wren - Age 10\r\nBlack=Tarn - Age 12\r\n";
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_tournament_script", script));
  guitest::Pump(1000);
  HWND pane = EnterTournamentRoom(run);
  ASSERT_NE(pane, nullptr);
  guitest::Pump(6000);
  EXPECT_TRUE(Shot("tournament_script_game"));
  ASSERT_TRUE(guitest::WaitFor([&] { return run.ScriptResult(0) != 0; }, 120000)) << "the first game ends";
  guitest::Pump(3000);
  EXPECT_TRUE(Shot("tournament_script_second_game"));
  ASSERT_TRUE(guitest::WaitFor([&] { return run.ScriptResult(1) != 0; }, 120000)) << "the second game ends";
  HWND box = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (box = guitest::FindProgramWindow(run.program, "RWOMSGBOX")) != nullptr; }, 10000));
  char text[256] = "";
  GetDlgItemTextA(box, 301, text, sizeof text);
  EXPECT_STREQ(text, "All autotest games have been completed");
  guitest::Pump(500);
  EXPECT_TRUE(Shot("tournament_script_done"));
  std::printf("results %d and %d\n", run.ScriptResult(0), run.ScriptResult(1));
  const std::string pgn = run.folder + "\\Users\\Autotest.PGN";
  EXPECT_NE(GetFileAttributesA(pgn.c_str()), INVALID_FILE_ATTRIBUTES) << pgn;
}

}  // namespace
