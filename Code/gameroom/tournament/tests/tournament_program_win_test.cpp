// The tournament room in Rookwell.exe, end to end and driven as a user
// would through the system's input queue: the room with its tile and pane,
// the "Create Tournament" wizard making a round robin of three of the
// program's personalities at Fischer 1/1, the schedule the room then
// shows, and a game script whose games the room plays one after another,
// writing each result into the script; a tournament file loaded through the
// room's context menu, its game shown on the room's board, adjourned into
// the file, loaded again and played to its end; a person's game adjourned
// after the person's move, or not when the waiting box is cancelled; a
// rated game from the room's tile, adjourned, loaded again and resigned,
// booked on the user's record.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <filesystem>
#include <string>

#include "guitest.h"
#include "pdf_reader.h"
#include "tournament_file.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
constexpr int kTournamentRoomButton = 21580;
constexpr int kGameRoomButton = 21565;
constexpr int kTileTournament = 21685;
constexpr int kTileRatedGame = 21680;

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_TOURNAMENT_ARTEFACT_DIR, name); }

struct ProgramRun {
  std::string folder;
  guitest::Program program;
  HWND frame = nullptr;

  // With `user`, that user is logged in at the start.
  bool Start(const char* name, const std::string& script = "", const char* user = nullptr) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + name;
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::copy(guitest::InstalledProgramFolder(), folder, std::filesystem::copy_options::recursive, error);
    WritePrivateProfileStringA("settings", "IntroMovie", "0", (folder + "\\rw.ini").c_str());
    // Nobody is logged in and the program starts in the tournament room:
    // the lobby would ask for a user and hides the navigation bar.
    WritePrivateProfileStringA("debug", "auto_login", user ? "1" : "0", (folder + "\\rw.ini").c_str());
    if (user) WritePrivateProfileStringA("debug", "auto_login_user", user, (folder + "\\rw.ini").c_str());
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
  ASSERT_TRUE(guitest::ClickItem(parent, id)) << id;
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
  char text[2048] = "";
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
  // The new tournament is also written out as a game script.
  WritePrivateProfileStringA("debug", "TournScript", "1", (run.folder + "\\rw.ini").c_str());

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
  // The script: its three games between the three entrants, at the
  // tournament's clock, none played yet.
  const std::string csc = run.ScriptPath();
  EXPECT_EQ(GetPrivateProfileIntA("Script", "Type", -1, csc.c_str()), 1u);
  EXPECT_EQ(GetPrivateProfileIntA("Script", "NumGames", -1, csc.c_str()), 3u);
  EXPECT_EQ(GetPrivateProfileIntA("Script", "TimeType", -1, csc.c_str()), 5u);
  EXPECT_EQ(GetPrivateProfileIntA("Script", "BaseTime", -1, csc.c_str()), 60000u);
  EXPECT_EQ(GetPrivateProfileIntA("Script", "BonusTime", -1, csc.c_str()), 1000u);
  for (int g = 0; g < 3; ++g) {
    const std::string section = "Game" + std::to_string(g);
    char white[64] = "", black[64] = "";
    GetPrivateProfileStringA(section.c_str(), "White", "", white, sizeof white, csc.c_str());
    GetPrivateProfileStringA(section.c_str(), "Black", "", black, sizeof black, csc.c_str());
    EXPECT_TRUE(white[0] && black[0] && std::string(white) != black) << section;
    EXPECT_EQ(run.ScriptResult(g), 0) << section;
  }
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

namespace {

// A one-game round robin between two of the program's personalities at ten
// seconds and a tenth of a second a move, saved as a new tournament is.
bool WriteQuickTournament(const std::string& path) {
  auto t = std::make_unique<Tournament>();
  ClearTournament(t.get());
  t->kind = TOURNAMENT_ROUND_ROBIN;
  t->entrantCount = 2;
  t->rounds = 1;
  t->totalGames = TournamentTotalGames(t->kind, 2, 1);
  t->timeControl.kind = 5;
  t->timeControl.base = 10000;
  t->timeControl.increment = 100;
  const char* names[] = {"Tarn - Age 12", "Wren - Age 10"};
  for (int i = 0; i < 2; ++i) {
    TournamentEntrant& e = t->entrants[i];
    e.number = i + 1;
    std::snprintf(e.name, sizeof e.name, "%s", names[i]);
    e.rating = 600 - 100 * i;
    e.computer = 1;
  }
  BuildRoundRobinPairings(t.get(), "vs");
  t->started = 1;
  return SaveTournamentFileAt(path.c_str(), "Quick.RWT", *t, std::string()) == 0;
}

// A one-game round robin in which a person ("Tester") plays White against
// a personality, ten minutes each.
bool WritePersonTournament(const std::string& path) {
  auto t = std::make_unique<Tournament>();
  ClearTournament(t.get());
  t->kind = TOURNAMENT_ROUND_ROBIN;
  t->entrantCount = 2;
  t->rounds = 1;
  t->totalGames = TournamentTotalGames(t->kind, 2, 1);
  t->timeControl.kind = 4;
  t->timeControl.base = 600000;
  for (int i = 0; i < 2; ++i) {
    t->entrants[i].number = i + 1;
    t->entrants[i].rating = 600;
  }
  BuildRoundRobinPairings(t.get(), "vs");
  for (int i = 0; i < 2; ++i) {
    TournamentEntrant& e = t->entrants[i];
    const bool person = e.number == t->pairings[0].white;
    std::snprintf(e.name, sizeof e.name, "%s", person ? "Tester" : "Wren - Age 10");
    e.computer = person ? 0 : 1;
  }
  std::snprintf(t->texts[0], sizeof t->texts[0], "Tester vs Wren - Age 10");
  t->started = 1;
  return SaveTournamentFileAt(path.c_str(), "Person.RWT", *t, std::string()) == 0;
}

// A move typed on the board, as its typed-move entry reads keys; a whole
// unambiguous move plays at its last key.
void TypeOnBoard(HWND board, const char* move) {
  for (const char* c = move; *c; ++c) PostMessageA(board, WM_CHAR, WPARAM(*c), 0);
  guitest::Pump(500);
}

bool ReadTournament(const std::string& path, Tournament* t, std::string* saved) {
  std::string name;
  return LoadTournamentFileAt(path.c_str(), t, &name, saved) == 0;
}

// The room's context menu (a right-click on the pane), its second item
// "Load Tournament", then the file picked in the open dialog.
void LoadThroughContextMenu(HWND pane, const char* file) {
  RECT r;
  GetWindowRect(pane, &r);
  guitest::Click(POINT{r.left + 30, r.bottom - 12}, true);
  guitest::Pump(500);
  Shot("tournament_context_menu");
  guitest::PressKey(VK_DOWN);
  guitest::PressKey(VK_DOWN);
  guitest::PressKey(VK_RETURN);
  HWND open = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (open = FindWindowA(nullptr, "File Open")) != nullptr; }, 5000));
  guitest::Pump(500);
  HWND list = GetDlgItem(open, 405);
  const LRESULT row = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(file));
  ASSERT_NE(row, LB_ERR) << file;
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, WPARAM(row), LPARAM(&item));
  POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(list, &p);
  guitest::Click(p);
  guitest::Pump(300);
  ClickChild(open, 401);
}

// The box's one visible button.
void ClickBoxButton(HWND box) {
  for (int id : {300, 1, 2})
    if (HWND b = GetDlgItem(box, id); b && IsWindowVisible(b)) return ClickChild(box, id);
  ADD_FAILURE() << "no button";
}

HWND WaitForMessageBox(ProgramRun& run, const char* text, DWORD ms) {
  HWND box = nullptr;
  guitest::WaitFor(
      [&] {
        box = guitest::FindProgramWindow(run.program, "RWOMSGBOX");
        char shown[512] = "";
        if (box) GetDlgItemTextA(box, 301, shown, sizeof shown);
        return box && std::string(shown) == text;
      },
      ms);
  return box;
}

TEST(TournamentRoom, AnAdjournedGameGoesIntoTheFileAndPlaysOnAfterLoading) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_tournament_adjourn"));
  const std::string file = run.folder + "\\Users\\Quick.RWT";
  ASSERT_TRUE(WriteQuickTournament(file));
  guitest::Pump(1000);
  HWND pane = EnterTournamentRoom(run);
  ASSERT_NE(pane, nullptr);
  guitest::Pump(1000);
  // The room's board beside the pane, which keeps clear of it.
  HWND roomBoard = nullptr;
  for (HWND w = GetWindow(pane, GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT))
    if (WindowText(w) == "Board" && IsWindowVisible(w)) roomBoard = w;
  ASSERT_NE(roomBoard, nullptr) << "the room shows its board";
  EXPECT_EQ(GetWindow(pane, GW_HWNDFIRST) != roomBoard, true) << "the pane stands above the board";
  EXPECT_TRUE(Shot("tournament_room_board"));

  LoadThroughContextMenu(pane, "Quick.RWT");
  HWND schedule = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (schedule = FindWindowA(nullptr, "Tournament Schedule")) != nullptr; }, 5000));
  EXPECT_EQ(SendDlgItemMessageA(schedule, 503, LB_GETCOUNT, 0, 0), 1);
  ClickChild(schedule, 501);  // "Auto"
  HWND announce = nullptr;
  ASSERT_TRUE(
      guitest::WaitFor([&] { return (announce = FindWindowA(nullptr, "Announcement")) != nullptr; }, 5000));
  EXPECT_EQ(WindowText(GetDlgItem(announce, 520)), "Ready to begin: 5");
  ClickChild(announce, 521);  // no need to wait for the countdown here: Cancel...
  // ... shows the results and leaves the tournament to be scheduled again.
  HWND results = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (results = FindWindowA(nullptr, "Tournament Results")) != nullptr; }, 5000));
  ClickChild(results, 522);
  PostMessageA(run.frame, WM_COMMAND, 40093, 0);  // "Schedule..."
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (schedule = FindWindowA(nullptr, "Tournament Schedule")) != nullptr; }, 5000));
  guitest::Pump(500);
  ClickChild(schedule, 573);  // "Select": played without an announcement

  // The game in play on the room's board, the pane beside it.
  HWND board = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        board = nullptr;
        for (HWND w = FindWindowExA(GetParent(pane), nullptr, nullptr, nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
          if (WindowText(w) == "Board" && IsWindowVisible(w)) board = w;
        return board != nullptr;
      },
      5000))
      << "the board window is shown";
  guitest::Pump(3000);
  EXPECT_TRUE(IsWindowVisible(pane));
  EXPECT_TRUE(Shot("tournament_board_game"));
  {
    // A right-click on the board opens the board's menu (a piece of an
    // engine's side: "Chess Set" and "Help"; an empty square: "Flip Board",
    // "Print Board Position" and the copy as well), not the room's.
    RECT p, b;
    GetWindowRect(pane, &p);
    GetWindowRect(board, &b);
    guitest::Click(POINT{(b.left + p.left) / 2, b.top + (p.left - b.left) / 2}, true);
    guitest::Pump(500);
    HWND popup = FindWindowA("#32768", nullptr);
    ASSERT_NE(popup, nullptr) << "the board's menu";
    // The menu lives in the program: its items are seen in the picture.
    EXPECT_TRUE(Shot("tournament_board_menu"));
    guitest::PressKey(VK_ESCAPE);
    guitest::Pump(300);
  }

  // "Adjourn": asked, then adjourned at once while the engine is to move.
  PostMessageA(run.frame, WM_COMMAND, 40023, 0);
  HWND sure = WaitForMessageBox(run, "Are you sure you wish to adjourn this game?", 5000);
  ASSERT_NE(sure, nullptr);
  ClickChild(sure, 300);  // "Yes", the box's first button
  HWND done = WaitForMessageBox(run, "Game Adjourned.", 5000);
  ASSERT_NE(done, nullptr);
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_adjourned"));
  ClickBoxButton(done);

  auto t = std::make_unique<Tournament>();
  std::string saved;
  ASSERT_TRUE(ReadTournament(file, t.get(), &saved));
  EXPECT_EQ(t->pairings[0].result, 0) << "the slot of the adjourned game";
  EXPECT_EQ(t->gamesPlayed, 0);
  EXPECT_EQ(t->gameInProgress, 0);
  EXPECT_GT(saved.size(), 0u) << "the game follows the record";

  // Loaded again: announced as resumed, played on to its end and booked.
  LoadThroughContextMenu(pane, "Quick.RWT");
  ASSERT_TRUE(
      guitest::WaitFor([&] { return (announce = FindWindowA(nullptr, "Announcement")) != nullptr; }, 5000));
  EXPECT_EQ(WindowText(GetDlgItem(announce, 520)), "Ready to resume: 5");
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_resume_announcement"));
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(announce); }, 8000));
  guitest::Pump(1500);
  EXPECT_TRUE(Shot("tournament_board_resumed"));
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (results = FindWindowA(nullptr, "Tournament Results")) != nullptr; }, 90000));
  guitest::Pump(500);
  ClickChild(results, 522);
  ASSERT_TRUE(ReadTournament(file, t.get(), &saved));
  EXPECT_EQ(t->gamesPlayed, 1);
  EXPECT_GT(t->pairings[0].result, 0);
  EXPECT_TRUE(saved.empty()) << "nothing adjourned is left";
  EXPECT_EQ(t->entrants[0].score + t->entrants[1].score, 10);
  std::printf("resumed game ended with %d\n", t->pairings[0].result);

  // "Print Tournament Results...": the report reaches the printer.
  if (!HasPrinter("PDF")) {
    std::printf("no print queue \"PDF\": the report is not printed here\n");
    return;
  }
  const std::set<std::string> before = PdfFiles();
  PostMessageA(run.frame, WM_COMMAND, 40097, 0);
  const std::string pdf = WaitForNewPdf(before);
  ASSERT_FALSE(pdf.empty()) << "the report's PDF";
  const std::string text = Unix("pdftotext -layout '" + pdf + "' -");
  size_t at = 0;
  for (const char* line : {"Tournament Results", "Quick.RWT", "Player", "Tarn - Age 12", "Game Summary",
                           "Tarn - Age 12"}) {
    at = text.find(line, at);
    EXPECT_NE(at, std::string::npos) << line << " in order in:\n" << text;
    if (at == std::string::npos) break;
    at += std::strlen(line);
  }
  RenderFirstPage(pdf, "tournament_report");
}

}  // namespace

namespace {

HWND ShownBoard(HWND pane) {
  for (HWND w = GetWindow(pane, GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT))
    if (WindowText(w) == "Board" && IsWindowVisible(w)) return w;
  return nullptr;
}

TEST(TournamentRoom, APersonToMoveIsAdjournedAfterTheMoveUnlessCancelled) {
  ProgramRun run;
  ASSERT_TRUE(run.Start("rw_e2e_tournament_person"));
  const std::string file = run.folder + "\\Users\\Person.RWT";
  ASSERT_TRUE(WritePersonTournament(file));
  guitest::Pump(1000);
  HWND pane = EnterTournamentRoom(run);
  ASSERT_NE(pane, nullptr);
  HWND board = ShownBoard(pane);
  ASSERT_NE(board, nullptr);

  LoadThroughContextMenu(pane, "Person.RWT");
  HWND schedule = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (schedule = FindWindowA(nullptr, "Tournament Schedule")) != nullptr; }, 5000));
  guitest::Pump(500);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(schedule, 501))) << "no computers' game for Auto";
  ClickChild(schedule, 573);
  guitest::Pump(1500);

  // Adjourn, then Cancel in the waiting box: the move that follows is an
  // ordinary move and the game goes on.
  PostMessageA(run.frame, WM_COMMAND, 40023, 0);
  HWND sure = WaitForMessageBox(run, "Are you sure you wish to adjourn this game?", 5000);
  ASSERT_NE(sure, nullptr);
  ClickChild(sure, 300);
  HWND wait = WaitForMessageBox(run, "Make your next move to adjourn the game....", 5000);
  ASSERT_NE(wait, nullptr);
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_adjourn_after_move"));
  ClickBoxButton(wait);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(wait); }, 3000));
  TypeOnBoard(board, "e4");
  EXPECT_EQ(WaitForMessageBox(run, "Game Adjourned.", 3000), nullptr) << "cancelled: not adjourned";
  guitest::Pump(5000);  // the personality answers

  // Leaving for the game room while the game runs asks to adjourn it; No
  // keeps the user in the room with the game.
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  ASSERT_NE(bar, nullptr);
  ClickChild(bar, kGameRoomButton);
  HWND ask = WaitForMessageBox(run,
                               "There is a tournament game in progress and this command cannot be executed until "
                               "the current game is over.\r\nWould you like to adjourn the tournament now?",
                               5000);
  ASSERT_NE(ask, nullptr);
  ClickChild(ask, 1);  // "No"
  guitest::Pump(800);
  EXPECT_TRUE(IsWindowVisible(pane)) << "still in the tournament room";
  EXPECT_TRUE(IsWindowVisible(board));

  // Adjourn again and move: the game goes into the file after the move.
  PostMessageA(run.frame, WM_COMMAND, 40023, 0);
  sure = WaitForMessageBox(run, "Are you sure you wish to adjourn this game?", 5000);
  ASSERT_NE(sure, nullptr);
  ClickChild(sure, 300);
  wait = WaitForMessageBox(run, "Make your next move to adjourn the game....", 5000);
  ASSERT_NE(wait, nullptr) << "the person is to move";
  TypeOnBoard(board, "d4");
  HWND done = WaitForMessageBox(run, "Game Adjourned.", 5000);
  ASSERT_NE(done, nullptr);
  EXPECT_FALSE(IsWindow(wait)) << "the waiting box closes";
  guitest::Pump(300);
  EXPECT_TRUE(Shot("tournament_adjourned_after_move"));
  ClickBoxButton(done);

  auto t = std::make_unique<Tournament>();
  std::string saved;
  ASSERT_TRUE(ReadTournament(file, t.get(), &saved));
  EXPECT_EQ(t->pairings[0].result, 0);
  EXPECT_EQ(t->gamesPlayed, 0);
  EXPECT_GT(saved.size(), 0u);

  // With nothing in play the room may be left, and shows its board and
  // pane again on coming back.
  ClickChild(bar, kGameRoomButton);
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindowVisible(pane); }, 5000)) << "left for the game room";
  EXPECT_FALSE(IsWindowVisible(board));
  guitest::Pump(1000);
  // The button's own notification: the game room's panels may stand over
  // the bar on this display without a window manager.
  PostMessageA(bar, WM_COMMAND, MAKEWPARAM(kTournamentRoomButton, BN_CLICKED),
               LPARAM(GetDlgItem(bar, kTournamentRoomButton)));
  EXPECT_TRUE(guitest::WaitFor([&] { return IsWindowVisible(pane) && IsWindowVisible(board); }, 5000));
  guitest::Pump(1000);
  EXPECT_TRUE(Shot("tournament_room_again"));
}

}  // namespace

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char block[4096];
    for (size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) text.append(block, n);
    std::fclose(f);
  }
  return text;
}

std::string BoxText(HWND box) {
  char shown[1024] = "";
  GetDlgItemTextA(box, 301, shown, sizeof shown);
  return shown;
}

HWND WaitForBoxStarting(ProgramRun& run, const std::string& start, DWORD ms) {
  HWND box = nullptr;
  guitest::WaitFor(
      [&] {
        box = guitest::FindProgramWindow(run.program, "RWOMSGBOX");
        return box && BoxText(box).compare(0, start.size(), start) == 0;
      },
      ms);
  return box;
}

int CountFiles(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(pattern.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (FindNextFileA(find, &found));
  FindClose(find);
  return n;
}

// A fresh program with `user` logged in, in the tournament room: its pane.
HWND StartWithUser(ProgramRun& run, const char* name, const char* user) {
  if (!run.Start(name, "", user)) return nullptr;
  guitest::Pump(1000);
  return EnterTournamentRoom(run);
}

// Resigns once the user is to move (the opponent may still be thinking).
HWND ResignWhenToMove(ProgramRun& run) {
  HWND resign = nullptr;
  for (int attempt = 0; attempt < 40 && !resign; ++attempt) {
    guitest::Pump(500);
    PostMessageA(run.frame, WM_COMMAND, 40025, 0);
    resign = WaitForMessageBox(run, "Do you wish to resign?", 500);
  }
  return resign;
}

TEST(TournamentRoom, ARatedGameIsAdjournedResumedAndBooked) {
  ProgramRun run;
  HWND pane = StartWithUser(run, "rw_e2e_rated", "Rater");
  ASSERT_NE(pane, nullptr);
  HWND board = ShownBoard(pane);
  ASSERT_NE(board, nullptr);
  const std::string user = run.folder + "\\Users\\Rater";

  // The tile's "Rated Game": the opponents with the changes a result brings.
  HWND tile = GetParent(FindDescendant(run.frame, nullptr, kTileRatedGame));
  ASSERT_NE(tile, nullptr);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(tile, kTileRatedGame)));
  ClickChild(tile, kTileRatedGame);
  HWND dialog = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Play Rated Game")) != nullptr; }, 5000));
  guitest::Pump(500);
  EXPECT_GT(SendDlgItemMessageA(dialog, 1263, CB_GETCOUNT, 0, 0), 0) << "opponents listed";
  const std::string win = WindowText(GetDlgItem(dialog, 1265)), loss = WindowText(GetDlgItem(dialog, 1266));
  EXPECT_EQ(win.substr(0, 1), "+") << win;
  EXPECT_EQ(loss.substr(0, 1), "-") << loss;
  EXPECT_FALSE(WindowText(GetDlgItem(dialog, 1267)).empty());
  // One minute a game, so the opponent answers at once.
  HWND minutes = GetDlgItem(dialog, 1274);
  guitest::Click(Centre(minutes));
  guitest::PressKey(VK_END);
  for (int i = 0; i < 4; ++i) guitest::PressKey(VK_BACK);
  guitest::TypeText("1");
  guitest::Pump(300);
  EXPECT_TRUE(Shot("rated_game_dialog"));
  ClickChild(dialog, IDOK);
  HWND question = WaitForBoxStarting(run, "Playing a Rated Game enforces certain rules", 5000);
  ASSERT_NE(question, nullptr);
  ClickChild(question, 300);  // "Yes"
  guitest::Pump(1500);
  EXPECT_TRUE(Shot("rated_game_started"));

  // Adjourned after the user's move, into the adjourned games folder.
  PostMessageA(run.frame, WM_COMMAND, 40023, 0);
  HWND sure = WaitForMessageBox(run, "Are you sure you wish to adjourn this game?", 5000);
  ASSERT_NE(sure, nullptr);
  ClickChild(sure, 300);
  HWND wait = WaitForMessageBox(run, "Make your next move to adjourn the game....", 5000);
  ASSERT_NE(wait, nullptr) << "the user is to move";
  // A new user's notation is long algebraic: the move is typed whole.
  TypeOnBoard(board, "e2e4");
  EXPECT_TRUE(Shot("rated_typed"));
  HWND done = WaitForMessageBox(run, "Game Adjourned.", 5000);
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(BoxText(done), "Game Adjourned.");
  ClickBoxButton(done);
  EXPECT_EQ(CountFiles(user + "\\Adjourned Games\\Rater vs. * (Adjourned).RWG"), 1);

  // "Load Adjourned Game" lists it; OK plays it on, and the file goes.
  PostMessageA(run.frame, WM_COMMAND, 40016, 0);
  HWND choose = nullptr;
  ASSERT_TRUE(
      guitest::WaitFor([&] { return (choose = FindWindowA(nullptr, "Load Adjourned Game")) != nullptr; }, 5000));
  guitest::Pump(500);
  HWND list = GetDlgItem(choose, 1280);
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, WPARAM(-1), LPARAM("Rater vs. ")), 0) << "named after the players";
  EXPECT_TRUE(Shot("rated_load_adjourned"));
  ClickChild(choose, IDOK);
  guitest::Pump(1000);
  EXPECT_EQ(CountFiles(user + "\\Adjourned Games\\*.RWG"), 0);

  // The opponent answers e4; the user resigns.
  HWND resign = ResignWhenToMove(run);
  ASSERT_NE(resign, nullptr) << "the user's turn comes";
  ClickChild(resign, 300);
  HWND result = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        result = guitest::FindProgramWindow(run.program, "RWOMSGBOX");
        return result && BoxText(result).find("defeated you.") != std::string::npos;
      },
      10000));
  const std::string lines = BoxText(result);
  EXPECT_NE(lines.find(" defeated you.\r\nYour overall rating decreased by "), std::string::npos) << lines;
  EXPECT_NE(lines.find("Your rating is still provisional, since you have played only 1 rated game(s)."),
            std::string::npos)
      << lines;
  EXPECT_NE(lines.find("\r\nYour Bullet rating "), std::string::npos) << lines;
  guitest::Pump(300);
  EXPECT_TRUE(Shot("rated_result"));
  ClickBoxButton(result);

  const std::string pgn = ReadWholeFile(user + "\\Rater's Rated Games.PGN");
  EXPECT_NE(pgn.find("[Event \"Rookwell Onyx Rated Game\"]"), std::string::npos) << pgn;
  EXPECT_NE(pgn.find("[White \"Rater\"]"), std::string::npos) << pgn;
  EXPECT_NE(pgn.find("1. e4"), std::string::npos) << pgn;
  EXPECT_NE(pgn.find("0-1"), std::string::npos) << pgn;

  // The profile's "Rated Games" page counts the bullet loss.
  PostMessageA(run.frame, WM_COMMAND, 40038, 0);
  HWND profile = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] { return (profile = FindWindowA(nullptr, "Player Profile - Rater")) && IsWindowVisible(profile); }, 5000));
  guitest::Pump(500);
  const std::string page = WindowText(FindDescendant(profile, nullptr, 2171));
  EXPECT_NE(page.find(" Losses:\t       1\t        0\t            0"), std::string::npos) << page;
  // A first game is the whole provisional rating: overall and bullet alike.
  const size_t now = lines.find("and is now ");
  ASSERT_NE(now, std::string::npos) << lines;
  const int overall = std::atoi(lines.c_str() + now + 11);
  EXPECT_NE(page.find(" Rating:\t      " + std::to_string(overall) + "\t"), std::string::npos) << page;
  // The page's tab, right of "Profile".
  RECT frame;
  GetWindowRect(profile, &frame);
  guitest::Click(POINT{frame.left + 114, frame.top + 42});
  guitest::Pump(800);
  EXPECT_TRUE(Shot("rated_profile"));
}

// A type-0 script: its rated game starts as the room is entered, the
// user's result is booked and written into the game's own section, and the
// script ends with its message.
TEST(TournamentRoom, ARatedScriptGameIsBookedInItsOwnSection) {
  ProgramRun run;
  HWND pane = StartWithUser(run, "rw_e2e_rated_script", "Scripter");
  ASSERT_NE(pane, nullptr);
  const std::string script = run.folder + "\\Users\\Scripter\\tournamentroom.CSC";
  WritePrivateProfileStringA("Script", "Type", "0", script.c_str());
  WritePrivateProfileStringA("Script", "NumGames", "1", script.c_str());
  WritePrivateProfileStringA("Script", "TimeType", "4", script.c_str());
  WritePrivateProfileStringA("Script", "BaseTime", "1", script.c_str());
  WritePrivateProfileStringA("Game1", "BlackPlayer", "Pip - Age 7", script.c_str());
  // The script is read as the room is entered.
  HWND bar = FindWindowExA(run.frame, nullptr, "WC_ROOKWELL_NAVIGATION", nullptr);
  ASSERT_NE(bar, nullptr);
  ClickChild(bar, kGameRoomButton);
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindowVisible(pane); }, 5000));
  guitest::Pump(1000);
  PostMessageA(bar, WM_COMMAND, MAKEWPARAM(kTournamentRoomButton, BN_CLICKED),
               LPARAM(GetDlgItem(bar, kTournamentRoomButton)));
  HWND question = WaitForBoxStarting(run, "Playing a Rated Game enforces certain rules", 8000);
  ASSERT_NE(question, nullptr);
  ClickChild(question, 300);  // "Yes"
  guitest::Pump(1500);
  EXPECT_TRUE(Shot("rated_script_game"));

  HWND resign = ResignWhenToMove(run);
  ASSERT_NE(resign, nullptr);
  ClickChild(resign, 300);
  HWND result = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        result = guitest::FindProgramWindow(run.program, "RWOMSGBOX");
        return result && BoxText(result).find("Pip - Age 7 defeated you.") == 0;
      },
      10000));
  EXPECT_EQ(int(GetPrivateProfileIntA("Game1", "Result", 0, script.c_str())), 10) << "White resigned";
  ClickBoxButton(result);
  HWND completed = WaitForMessageBox(run, "All test games have been completed.\r\nThanks for playing!", 8000);
  ASSERT_NE(completed, nullptr);
  ClickBoxButton(completed);
  EXPECT_EQ(GetPrivateProfileIntA("Game0", "Result", 0, script.c_str()), 0u) << "no section before Game1";
}

}  // namespace
