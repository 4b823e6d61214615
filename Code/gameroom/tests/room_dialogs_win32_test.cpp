// The classic games, player profile and outside-engine import dialogs on
// screen with the program's look, driven through the system's input queue
// as a user would. Modal dialogs run on a thread of their own while the
// test looks; each ends in a screenshot under artefacts/gameroom.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "app_globals.h"
#include "basic_controls.h"
#include "import_xboard_dialog.h"
#include "personality.h"
#include "player_profile_dialog.h"
#include "rated_game_dialog.h"
#include "rated_games.h"
#include "user_file.h"
#include "user_ratings.h"
#include "classic_games_dialog.h"
#include "data_sets.h"
#include "frame_links.h"
#include "game_record.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "pgn_read.h"
#include "shell_services.h"
#include "window_table.h"

namespace {

std::string g_folder;
UserProfile g_currentUser{};  // the user module's record, made here

std::string Windows(std::string path) {
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  return path;
}
bool CopyInto(const std::string& from, const std::string& to) {
  return CopyFileA(Windows(from).c_str(), to.c_str(), FALSE) != 0;
}

POINT Centre(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
void ClickItem(HWND dialog, int id, DWORD wait = 250) {
  HWND c = GetDlgItem(dialog, id);
  ASSERT_TRUE(c) << id;
  guitest::Click(Centre(c));
  guitest::Pump(wait);
}
void TypeText(HWND dialog, int id, const char* text) {
  ClickItem(dialog, id, 100);
  // Rub out what is there, as a user would.
  guitest::PressKey(VK_END);
  for (int i = 0; i < 40; ++i) guitest::PressKey(VK_BACK);
  for (const char* c = text; *c; ++c) {
    const SHORT vk = VkKeyScanA(*c);
    if (vk & 0x100)
      guitest::Chord({VK_SHIFT}, WORD(vk & 0xFF));
    else
      guitest::PressKey(WORD(vk & 0xFF));
  }
  guitest::Pump(150);
}
HWND WaitForWindow(const char* caption) {
  HWND found = nullptr;
  guitest::WaitFor(
      [&] {
        found = FindWindowA(nullptr, caption);
        return found && IsWindowVisible(found);
      },
      5000);
  guitest::Pump(300);
  return found;
}
struct Seek {
  HWND dialog, found;
};
BOOL CALLBACK SeekOwned(HWND w, LPARAM p) {
  auto* k = reinterpret_cast<Seek*>(p);
  if (w != k->dialog && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == k->dialog) k->found = w;
  return k->found ? FALSE : TRUE;
}
// The message box a dialog shows over itself.
HWND WaitForBoxOver(HWND dialog) {
  HWND box = nullptr;
  const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  guitest::WaitFor(
      [&] {
        Seek seek{dialog, nullptr};
        EnumThreadWindows(thread, SeekOwned, LPARAM(&seek));
        box = seek.found;
        return box != nullptr;
      },
      5000);
  guitest::Pump(200);
  return box;
}
int ListCount(HWND dialog, int id) { return int(SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0)); }
std::string ListText(HWND dialog, int id, int at) {
  char text[256] = "";
  SendDlgItemMessageA(dialog, id, LB_GETTEXT, WPARAM(at), LPARAM(text));
  return text;
}

class RoomDialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_room_dialogs";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CreateDirectoryA((g_folder + "\\Personalities").c_str(), nullptr);
    CreateDirectoryA((g_folder + "\\Users").c_str(), nullptr);
    CopyInto(RW_PROGDATA_DIR "/rwonyx.ttf", g_folder + "\\rwonyx.ttf");
    CopyInto(RW_CLASSIC_GAMES, g_folder + "\\classicOnyx.pgn");
    // The program's own personalities, the rated game's opponents.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((Windows(RW_PERSONALITIES_DIR) + "\\*.RWP").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
      CopyInto(std::string(RW_PERSONALITIES_DIR "/") + found.cFileName,
               g_folder + "\\Personalities\\" + found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    SetCurrentDirectoryA(g_folder.c_str());
    SetAppModulePath((g_folder + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
    GetAppGlobals()->currentUser = &g_currentUser;
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    InitWindowTable();
  }
  static void TearDownTestSuite() {
    ClosePgnIndex();
    FreeLookAndFeel(nullptr);
    FreeAppGlobals();
  }
  void TearDown() override {
    if (runner.joinable()) runner.join();
    if (game) DestroyGame(game);
  }
  static GameRecord* NewGame() {
    return CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
  }

  GameRecord* game = nullptr;
  std::thread runner;
  std::atomic<int> result{-1};
};

// ---------------------------------------------------------------- classic games

constexpr int kClassicList = 5100, kClassicSearch = 3091, kClassicSearchButton = 3089, kClassicClear = 3090;

TEST_F(RoomDialogs, ClassicGamesSearchIgnoresCaseAndCancelClosesTheCollection) {
  game = NewGame();
  int out = -1;
  runner = std::thread([&] { result = RunClassicGamesDialog(game, &out) ? 1 : 0; });
  HWND dialog = WaitForWindow("Load Classic Game");
  ASSERT_TRUE(dialog);
  const int all = ListCount(dialog, kClassicList);
  EXPECT_GE(all, 20);

  // Lower case finds the capitalised names; Enter searches, it does not load.
  TypeText(dialog, kClassicSearch, "morphy");
  guitest::PressKey(VK_RETURN);
  guitest::Pump(300);
  ASSERT_TRUE(IsWindow(dialog));
  const int found = ListCount(dialog, kClassicList);
  EXPECT_GT(found, 2);
  EXPECT_LT(found, all);
  for (int i = 0; i < found; ++i) EXPECT_NE(ListText(dialog, kClassicList, i).find("Morphy"), std::string::npos);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "classic_games_search"));

  // Clear lists everything again and keeps the text.
  ClickItem(dialog, kClassicClear);
  EXPECT_EQ(ListCount(dialog, kClassicList), all);
  char kept[64] = "";
  GetDlgItemTextA(dialog, kClassicSearch, kept, sizeof kept);
  EXPECT_STREQ(kept, "morphy");

  // No match: the box, then the whole list.
  TypeText(dialog, kClassicSearch, "Capablanca");
  ClickItem(dialog, kClassicSearchButton, 100);
  HWND box = WaitForBoxOver(dialog);
  ASSERT_TRUE(box);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "classic_games_no_match"));
  guitest::PressKey(VK_RETURN);
  guitest::WaitFor([&] { return !IsWindow(box); }, 3000);
  guitest::Pump(200);
  EXPECT_EQ(ListCount(dialog, kClassicList), all);

  // An empty text lists all.
  TypeText(dialog, kClassicSearch, "");
  guitest::PressKey(VK_RETURN);
  guitest::Pump(300);
  EXPECT_EQ(ListCount(dialog, kClassicList), all);

  ClickItem(dialog, IDCANCEL);
  runner.join();
  EXPECT_EQ(result, 0);
  GameRecord* probe = NewGame();
  EXPECT_EQ(ReadPgnGame(probe, 0), PGN_NOT_OPEN);  // Cancel closed the collection
  DestroyGame(probe);
}

TEST_F(RoomDialogs, ClassicGamesLoadReadsTheChosenGameAndLeavesTheCollectionOpen) {
  game = NewGame();
  int out = -1;
  runner = std::thread([&] { result = RunClassicGamesDialog(game, &out) ? 1 : 0; });
  HWND dialog = WaitForWindow("Load Classic Game");
  ASSERT_TRUE(dialog);
  TypeText(dialog, kClassicSearch, "saint brie");
  guitest::PressKey(VK_RETURN);
  guitest::Pump(300);
  if (ListCount(dialog, kClassicList) != 1) {
    ADD_FAILURE() << "one game expected, " << ListCount(dialog, kClassicList) << " listed";
    ClickItem(dialog, IDCANCEL);
    return;
  }
  // A double click on the line loads it.
  RECT r{};
  SendDlgItemMessageA(dialog, kClassicList, LB_GETITEMRECT, 0, LPARAM(&r));
  POINT p{r.left + 20, (r.top + r.bottom) / 2};
  ClientToScreen(GetDlgItem(dialog, kClassicList), &p);
  guitest::Click(p);
  guitest::Click(p);
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(GetMoveCount(game), 13);  // the game of 1750, 7. Nd5#
  EXPECT_STREQ(game->white.name, "Legal de Kermur");
  GameRecord* probe = NewGame();
  EXPECT_EQ(ReadPgnGame(probe, 0), 0);  // still open for the game's reader
  DestroyGame(probe);
  ClosePgnIndex();
}

// ---------------------------------------------------------------- player profile

constexpr int kProfileTabs = 1081, kProfileText = 2131, kRatedText = 2171, kOpponentButton = 2172;
constexpr int kStatsRating = 2182, kStatsList = 2183;

struct FindById {
  int id;
  HWND found;
};
BOOL CALLBACK MatchId(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<FindById*>(p);
  if (GetDlgCtrlID(w) == f->id) f->found = w;
  return f->found ? FALSE : TRUE;
}
// A control of the dialog or of one of its pages.
HWND Find(HWND parent, int id) {
  FindById f{id, nullptr};
  EnumChildWindows(parent, MatchId, LPARAM(&f));
  return f.found;
}
void ClickDeep(HWND dialog, int id, DWORD wait = 250) {
  HWND c = Find(dialog, id);
  ASSERT_TRUE(c) << id;
  guitest::Click(Centre(c));
  guitest::Pump(wait);
}
// The tabs lie side by side from the control's left edge, each its text's
// width and 12 pixels more, in the toolkit's font.
void ClickProfileTab(HWND dialog, int index) {
  static const char* const titles[2] = {"Profile", "Rated Games"};
  HWND tabs = GetDlgItem(dialog, kProfileTabs);
  HDC dc = GetDC(tabs);
  const CcDefaults* d = ccGetDefaultData();
  HGDIOBJ old = d && d->font ? SelectObject(dc, d->font) : nullptr;
  int left = 0, width = 0;
  for (int i = 0; i <= index; ++i) {
    SIZE size{};
    GetTextExtentPoint32A(dc, titles[i], int(std::strlen(titles[i])), &size);
    left += width;
    width = size.cx + 12;
  }
  if (old) SelectObject(dc, old);
  ReleaseDC(tabs, dc);
  POINT p{left + width / 2, 8};
  ClientToScreen(tabs, &p);
  guitest::Click(p);
  guitest::Pump(250);
}
std::string DeepText(HWND dialog, int id) {
  char text[2048] = "";
  GetWindowTextA(Find(dialog, id), text, sizeof text);
  return text;
}

// A user whose rated-game fields hold `games` rated games, a blitz high of
// 1712 and two opponents.
UserProfile MakeUser(const char* name, int games) {
  UserProfile user{};
  MakeNewUserProfile(&user, name, "Plays the King's Gambit on Sundays.", "03/04/26 10:11:12");
  RatedRecord r = ReadRatedRecord(user);
  r.overall = 1650;
  r.ratedGames = games;
  r.blocks[1].rating = 1690;
  r.blocks[1].highest = 1712;
  r.blocks[1].date = "11/30/25 21:05:09";
  r.blocks[1].counters[WINS_WHITE] = 7;
  r.blocks[1].counters[LOSSES_BLACK] = 4;
  r.blocks[2].counters[DRAWS_WHITE] = 2;
  r.results = {{"Rookwell", 1, 2, 0}, {"HWB", 3, 1, 1}};
  StoreRatedRecord(r, &user);
  return user;
}

TEST_F(RoomDialogs, ProfileOfTheLoggedInUserIsEditableAndShowsItsStats) {
  UserProfile ann = MakeUser("Ann", 20);
  SetUserRecord(&ann);
  runner = std::thread([&] { result = OpenPlayerProfileDialog(nullptr, nullptr, "Ann"); });
  HWND dialog = WaitForWindow("Player Profile - Ann");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(DeepText(dialog, kProfileText), "Plays the King's Gambit on Sundays.");
  EXPECT_EQ(GetWindowLongA(Find(dialog, kProfileText), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "player_profile_profile"));

  ClickProfileTab(dialog, 1);
  ASSERT_TRUE(IsWindowVisible(Find(dialog, kRatedText)));
  const std::string page = DeepText(dialog, kRatedText);
  EXPECT_NE(page.find(" High Date:  03/04/26\t     11/30/25\t"), std::string::npos) << page;
  EXPECT_NE(page.find(" Wins:\t       0\t        7\t"), std::string::npos) << page;
  EXPECT_TRUE(IsWindowEnabled(Find(dialog, kOpponentButton)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "player_profile_rated_games"));

  ClickDeep(dialog, kOpponentButton, 100);
  HWND stats = WaitForWindow("Rated Game Stats");
  ASSERT_TRUE(stats);
  EXPECT_EQ(DeepText(stats, kStatsRating), "1650/20");
  EXPECT_EQ(SendDlgItemMessageA(stats, kStatsList, LB_GETCOUNT, 0, 0), 2);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "player_profile_stats"));
  ClickItem(stats, IDOK);

  guitest::Chord({VK_MENU}, VK_F4);
  runner.join();
  EXPECT_EQ(result, 0);
  SetUserRecord(nullptr);
  FreeUserLists(&ann);
}

TEST_F(RoomDialogs, AnotherUsersStoredProfileIsReadOnly) {
  UserProfile bob = MakeUser("Bob", 21);
  CreateDirectoryA((g_folder + "\\Users\\Bob").c_str(), nullptr);
  ASSERT_TRUE(WriteUserFileAt(g_folder + "\\Users\\Bob\\Bob.usr", bob));
  FreeUserLists(&bob);
  UserProfile ann = MakeUser("Ann", 3);
  SetUserRecord(&ann);
  runner = std::thread([&] { result = OpenPlayerProfileDialog(nullptr, nullptr, "Bob"); });
  HWND dialog = WaitForWindow("Player Profile - Bob");
  ASSERT_TRUE(dialog);
  EXPECT_NE(GetWindowLongA(Find(dialog, kProfileText), GWL_STYLE) & ES_READONLY, 0);
  ClickProfileTab(dialog, 1);
  EXPECT_FALSE(IsWindowEnabled(Find(dialog, kOpponentButton)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "player_profile_other_user"));
  guitest::Chord({VK_MENU}, VK_F4);
  runner.join();
  SetUserRecord(nullptr);
  FreeUserLists(&ann);
}

// ---------------------------------------------------------------- xboard import

constexpr int kImportName = 1801, kImportUseBook = 1802, kImportBook = 1803, kImportEngine = 1805;

std::string Personality(const char* name) { return g_folder + "\\Personalities\\" + name + ".RWP"; }

TEST_F(RoomDialogs, ImportWritesAnOutsideEnginePersonality) {
  DeleteFileA(Personality("Far Engine").c_str());
  runner = std::thread([&] { result = RunImportXboardDialog(); });
  HWND dialog = WaitForWindow("Import XBoard Engine");
  ASSERT_TRUE(dialog);
  TypeText(dialog, kImportName, "abcdefghijklmnopqrstuvwxyz12345X");  // 32: the last is refused
  char name[64] = "";
  GetDlgItemTextA(dialog, kImportName, name, sizeof name);
  EXPECT_EQ(std::strlen(name), 31u);
  TypeText(dialog, kImportName, "Far Engine");
  ClickItem(dialog, kImportUseBook);
  char book[64] = "";
  GetDlgItemTextA(dialog, kImportBook, book, sizeof book);
  EXPECT_STREQ(book, "RWONYX.OBK");
  TypeText(dialog, kImportEngine, "C:\\Engines\\fmax.exe");
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "import_xboard"));
  ClickItem(dialog, IDOK, 100);
  // The registration is announced in the program-wide box.
  HWND box = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        box = GetForegroundWindow();
        return box && box != dialog && !IsWindow(dialog) && IsWindowVisible(box);
      },
      5000));
  guitest::Pump(200);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "import_xboard_registered"));
  guitest::PressKey(VK_RETURN);
  runner.join();
  EXPECT_EQ(result, 1);
  PersonalityRecord* p = nullptr;
  ASSERT_EQ(ReadPersonalityFile(Personality("Far Engine").c_str(), &p), 1);
  EXPECT_EQ(p->kind, 178u);
  EXPECT_EQ(p->parameters[kParamBookUse], 99);
  EXPECT_STREQ(p->enginePath, "C:\\Engines\\fmax.exe");
  FreePersonality(p);
}

TEST_F(RoomDialogs, ImportRefusesAShippedNameAndBadNames) {
  // A shipped personality of that name is refused, never overwritten.
  PersonalityRecord* shipped = AllocatePersonality();
  SetNewPersonalityDefaults(shipped);
  shipped->kind = kGrandmasterPersonality;
  uint8_t bytes[kPersonalityFileSize];
  WritePersonalityBytes(*shipped, bytes);
  FreePersonality(shipped);
  const std::string path = Personality("Old Master");
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, bytes, sizeof bytes, &written, nullptr);
  CloseHandle(f);

  runner = std::thread([&] { result = RunImportXboardDialog(); });
  HWND dialog = WaitForWindow("Import XBoard Engine");
  ASSERT_TRUE(dialog);
  TypeText(dialog, kImportEngine, "fmax.exe");
  for (const char* bad : {"..\\up", "a:b", "Old Master"}) {
    TypeText(dialog, kImportName, bad);
    ClickItem(dialog, IDOK, 100);
    HWND box = WaitForBoxOver(dialog);
    ASSERT_TRUE(box) << bad;
    if (std::strcmp(bad, "Old Master") == 0) {
      EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "import_xboard_shipped"));
    }
    guitest::PressKey(VK_RETURN);
    guitest::WaitFor([&] { return !IsWindow(box); }, 3000);
    guitest::Pump(150);
    EXPECT_TRUE(IsWindow(dialog)) << bad;
  }
  ClickItem(dialog, IDCANCEL);
  runner.join();
  EXPECT_EQ(result, 0);
  PersonalityRecord* p = nullptr;
  ASSERT_EQ(ReadPersonalityFile(path.c_str(), &p), 1);
  EXPECT_EQ(p->kind, uint32_t(kGrandmasterPersonality));
  FreePersonality(p);
}

// ---------------------------------------------------------------- rated game

constexpr int kRatedOpponent = 1263, kRatedWin = 1265, kRatedLoss = 1266, kRatedDraw = 1267;
constexpr int kRatedFischer = 1272, kRatedFieldA = 1274, kRatedFieldB = 1275, kRatedLabelB = 1277;

class FakeRoom final : public RatedGameRoom {
 public:
  bool KidsRoom() override { return false; }
  bool StartGame(const PlayerDescriptor& w, const PlayerDescriptor& b, uint32_t kindFlags) override {
    white = w;
    black = b;
    kind = kindFlags;
    ++started;
    return true;
  }
  PlayerDescriptor white{}, black{};
  uint32_t kind = 0;
  int started = 0;
};

TEST_F(RoomDialogs, RatedGameOffersOpponentsWithTheirChangesAndStartsAFischerGame) {
  UserProfile ann = MakeUser("Ann", 10);
  RatedRecord r = ReadRatedRecord(ann);
  r.overall = 1500;
  StoreRatedRecord(r, &ann);
  SetUserRecord(&ann);
  GetRatedGameSettings() = RatedGameSettings();
  FakeRoom room;
  runner = std::thread([&] { result = RunRatedGameDialog(nullptr, &room); });
  HWND dialog = WaitForWindow("Play Rated Game");
  ASSERT_TRUE(dialog);
  const int count = int(SendDlgItemMessageA(dialog, kRatedOpponent, CB_GETCOUNT, 0, 0));
  ASSERT_GT(count, 0);
  // Fewer than 20 rated games: nobody rated more than 400 above is offered.
  for (int i = 0; i < count; ++i) {
    char line[300] = "";
    SendDlgItemMessageA(dialog, kRatedOpponent, CB_GETLBTEXT, WPARAM(i), LPARAM(line));
    const char* open = std::strrchr(line, '(');
    if (open) EXPECT_LE(std::atoi(open + 1), 1900) << line;
  }
  // The shown changes are the formula's against the chosen opponent (games
  // against personalities: 3 + 5 = 8 in MakeUser's results).
  const int32_t ro = GetRatedGameSettings().opponentRating;
  EXPECT_EQ(DeepText(dialog, kRatedWin), RatingChangeText(ComputeNewRating(1500, uint32_t(ro), 8, 20, 1) - 1500));
  EXPECT_EQ(DeepText(dialog, kRatedLoss), RatingChangeText(ComputeNewRating(1500, uint32_t(ro), 8, 20, 0) - 1500));
  EXPECT_EQ(DeepText(dialog, kRatedDraw), RatingChangeText(ComputeNewRating(1500, uint32_t(ro), 8, 20, 2) - 1500));

  ClickItem(dialog, kRatedFischer);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kRatedFieldB)));
  EXPECT_EQ(DeepText(dialog, kRatedLabelB), "Bonus");
  EXPECT_EQ(GetDlgItemInt(dialog, kRatedFieldA, nullptr, FALSE), 5u);
  EXPECT_EQ(GetDlgItemInt(dialog, kRatedFieldB, nullptr, FALSE), 3u);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "rated_game"));

  ClickItem(dialog, IDOK, 100);
  // The rated-game question, answered Yes.
  HWND box = nullptr;
  ASSERT_TRUE(guitest::WaitFor(
      [&] {
        box = GetForegroundWindow();
        return box && !IsWindow(dialog) && IsWindowVisible(box);
      },
      5000));
  guitest::Pump(200);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "rated_game_question"));
  guitest::PressKey('Y');
  runner.join();
  EXPECT_EQ(result, 1);
  ASSERT_EQ(room.started, 1);
  EXPECT_EQ(room.kind, 48u);
  EXPECT_STREQ(room.white.name, "Ann");  // "You Play White" is the first choice
  EXPECT_EQ(room.white.kind, uint32_t(PLAYER_HUMAN));
  EXPECT_EQ(room.black.kind, uint32_t(PLAYER_ENGINE));
  EXPECT_EQ(room.black.timeControl, 5u);
  EXPECT_EQ(room.black.baseMs, 300000u);
  EXPECT_EQ(room.black.periodOrIncrement, 3000u);
  EXPECT_EQ(TimeControlClass(5, 300000, 3000), 1);  // blitz
  SetUserRecord(nullptr);
  FreeUserLists(&ann);
}

}  // namespace
