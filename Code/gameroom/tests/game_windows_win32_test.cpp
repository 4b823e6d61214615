// The game windows on screen with the program's look, over a real game
// record played by two people (and a personality), driven through the
// system's input queue as a user would.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "app_messages.h"
#include "data_sets.h"
#include "frame_links.h"
#include "game_host.h"
#include "game_record.h"
#include "game_registry.h"
#include "game_status_win32.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "personality.h"
#include "position_setup.h"
#include "thinking_lines_win32.h"
#include "window_table.h"

void StoreThinkingLine(PlayerRecord* p, int depth, int score, int time, int nodes, const char* moves);
void StoreThinkingStatistics(PlayerRecord* p, int time, int nodes, int depth, int left, int total);
// The rules' move reader; its header's language names meet the system's.
bool ParseAlgebraicMove(MoveRecord* out, const char* text, const Board* board, int side);

namespace {

std::string g_folder;

GameRecord* NewGame(const char* fen, uint32_t kind, const PlayerDescriptor* white,
                    const PlayerDescriptor* black) {
  Board board;
  int side = WHITE;
  if (fen && !SetupPositionFromFen(fen, &board, &side)) return nullptr;
  return CreateGame(kind, nullptr, white, black, nullptr, fen ? &board : nullptr, nullptr, side, 1, 0);
}

// Plays blank-separated moves as the board would; false at the first that fails.
bool Play(GameRecord* game, const std::string& moves) {
  std::istringstream in(moves);
  for (std::string text; in >> text;) {
    MoveRecord move{};
    if (!ParseAlgebraicMove(&move, text.c_str(), &game->position, game->sideToMove)) {
      ADD_FAILURE() << "not legal: " << text;
      return false;
    }
    if (PlayMove(game, &move, false) != 0) return false;
  }
  return true;
}

std::string Windows(std::string path) {
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  return path;
}

// Game events reach the numbered windows as the shell's host sends them.
class WindowHost : public GameHost {
 public:
  void BroadcastGameEvent(int code, GameRecord* game) override {
    for (int id : {kGameStatusWindow, 8})
      if (HWND w = HWND(GetNumberedWindow(id))) SendMessageA(w, RWM_GAME_EVENT, WPARAM(code), LPARAM(game));
  }
  void SendGameEventToWindow(int window, int code, GameRecord* game) override {
    if (HWND w = HWND(GetNumberedWindow(window))) SendMessageA(w, RWM_GAME_EVENT, WPARAM(code), LPARAM(game));
  }
};
WindowHost g_host;

const char* Folder() { return g_folder.c_str(); }

class GameWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_game_windows";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CopyFileA(Windows(RW_PROGDATA_DIR "/rwonyx.ttf").c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    for (const char* f : {"faces.dat", "faces.idx"})
      CopyFileA(Windows(std::string(RW_PACKS_DIR "/") + f).c_str(), (g_folder + "\\" + f).c_str(), FALSE);
    ResetFrameLinks();
    GetFrameLinks().programFolder = Folder;
    DataSetHost host = DefaultDataSetHost();
    host.programFolder = Folder;
    SetDataSetHost(host);
    ASSERT_EQ(OpenDataSet("faces", 1, 1), 1);
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    InitWindowTable();
    InitGameRegistry();
    SetGameHost(&g_host);
  }
  static void TearDownTestSuite() {
    SetGameHost(nullptr);
    CloseAllDataSets();
    FreeLookAndFeel(nullptr);
  }

  void TearDown() override {
    if (HWND w = Status()) DestroyGameStatusWindow(w);
    SetCurrentGame(nullptr);
    if (game) {
      if (game->black.personality) FreePersonality(game->black.personality);
      game->black.personality = nullptr;
      DestroyGame(game);
    }
    if (parent) DestroyWindow(parent);
  }

  static HWND Status() { return HWND(GetNumberedWindow(kGameStatusWindow)); }

  // A five-minute game: White a person, Black a person or a personality.
  void NewTimedGame(const char* white, const char* black, bool blackIsPersonality, uint32_t kind = 0,
                    const char* fen = nullptr) {
    PlayerDescriptor w{}, b{};
    std::snprintf(w.name, sizeof w.name, "%s", white);
    std::snprintf(b.name, sizeof b.name, "%s", black);
    w.kind = PLAYER_HUMAN;
    w.value = 1420;
    b.kind = blackIsPersonality ? PLAYER_ENGINE : PLAYER_HUMAN;
    for (PlayerDescriptor* d : {&w, &b}) {
      d->timeControl = 4;
      d->baseMs = 5 * 60 * 1000;
    }
    game = NewGame(fen, kind, &w, &b);
    ASSERT_TRUE(game);
    if (blackIsPersonality) {
      PersonalityRecord* p = AllocatePersonality();
      SetNewPersonalityDefaults(p);
      std::snprintf(p->picture, sizeof p->picture, "Rookwell.BMP");
      p->rating = 2350;
      game->black.personality = p;
    }
    SetCurrentGame(game);
  }

  HWND Open(int x = 100, int y = 60) {
    parent = guitest::CreateTestWindow(RECT{0, 0, 20, 20});
    EXPECT_EQ(CreateGameStatusWindow(parent, GetModuleHandleA(nullptr)), 0);
    HWND w = Status();
    EXPECT_TRUE(w);
    if (!w) return nullptr;
    SetWindowPos(w, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    ShowWindow(w, SW_SHOW);
    guitest::Pump(200);
    return w;
  }

  void Resize(HWND w, int width, int height) {
    SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    guitest::Pump(200);
  }

  static POINT Centre(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void ClickButton(HWND w, int id) {
    guitest::Click(Centre(GetDlgItem(w, id)));
    guitest::Pump(150);
  }
  // A click on a move cell of the list (0 White, 1 Black).
  void ClickCell(HWND w, int row, int column) {
    HWND list = GetDlgItem(w, kMoveList);
    RECT item{};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, row, LPARAM(&item)), LB_ERR);
    RECT client;
    GetClientRect(list, &client);
    const int number = client.right / 5;
    POINT p{column == 0 ? number + (client.right - number) / 4 : client.right - (client.right - number) / 4,
            (item.top + item.bottom) / 2};
    ClientToScreen(list, &p);
    guitest::Click(p);
    guitest::Pump(200);
  }
  int Shown(HWND w) {
    int listed = 0, shown = 0;
    GetGameStatusCounters(w, &listed, &shown);
    return shown;
  }
  int Listed(HWND w) {
    int listed = 0, shown = 0;
    GetGameStatusCounters(w, &listed, &shown);
    return listed;
  }
  std::string Label(HWND w, int side, int item, bool* shown = nullptr, RECT* rect = nullptr) {
    char text[80] = "";
    GetGameStatusLabel(w, side, item, text, sizeof text, rect, shown);
    return text;
  }
  // Every shown label lies wholly inside the client area.
  void ExpectLabelsInside(HWND w, const char* what) {
    RECT client;
    GetClientRect(w, &client);
    for (int side = 0; side < 2; ++side)
      for (int item = 0; item < 5; ++item) {
        bool shown = false;
        RECT r{};
        Label(w, side, item, &shown, &r);
        if (!shown) continue;
        EXPECT_GE(r.left, 0) << what << " side " << side << " item " << item;
        EXPECT_GE(r.top, 0) << what << " side " << side << " item " << item;
        EXPECT_LE(r.right, client.right) << what << " side " << side << " item " << item;
        EXPECT_LE(r.bottom, client.bottom) << what << " side " << side << " item " << item;
      }
  }

  GameRecord* game = nullptr;
  HWND parent = nullptr;
};

TEST_F(GameWindows, StatusFollowsAGameAndItsNavigation) {
  NewTimedGame("Ace", "Rookwell", true);
  HWND w = Open();
  ASSERT_TRUE(w);
  Resize(w, 330, 430);
  ASSERT_TRUE(Play(game, "e4 e5 Nf3 Nc6 Bb5 a6 Ba4 Nf6 O-O Be7"));
  guitest::Pump(200);
  EXPECT_EQ(Listed(w), 10);
  EXPECT_EQ(Shown(w), 10);
  EXPECT_EQ(Label(w, 0, 0), "Ace");
  EXPECT_EQ(Label(w, 0, 1), "(1420)");
  EXPECT_EQ(Label(w, 1, 1), "(2350)");
  EXPECT_EQ(Label(w, 1, 3), "5  min/game");
  bool shown = false;
  Label(w, 1, 4, &shown);
  EXPECT_TRUE(shown) << "Black's portrait";
  ShowGameStatusClocks(w, 1);
  const std::string clock = Label(w, 0, 2);  // five minutes less the moves' time
  EXPECT_TRUE(clock == "05:00" || clock.substr(0, 3) == "04:") << clock;
  ExpectLabelsInside(w, "full");
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "game_status_full"));

  // A click on Black's cell of the second row goes to ply 4.
  ClickCell(w, 1, 1);
  EXPECT_EQ(GetCurrentPly(game), 4);
  EXPECT_EQ(Shown(w), 4);
  ClickCell(w, 0, 0);
  EXPECT_EQ(Shown(w), 1);
  // "<<", then ">" plays a move every two seconds until "X".
  ClickButton(w, kNavStart);
  EXPECT_EQ(Shown(w), 0);
  EXPECT_EQ(SendMessageA(GetDlgItem(w, kMoveList), LB_GETCURSEL, 0, 0), LB_ERR) << "ply 0 with White first";
  ClickButton(w, kNavPlay);
  EXPECT_TRUE(guitest::WaitFor([&] { return Shown(w) >= 2; }, 6000));
  ClickButton(w, kNavStop);
  const int stopped = Shown(w);
  guitest::Pump(2300);
  EXPECT_EQ(Shown(w), stopped);
  // ">>" to the end; ">" there sets no timer.
  ClickButton(w, kNavEnd);
  EXPECT_EQ(Shown(w), 10);
  ClickButton(w, kNavPlay);
  EXPECT_FALSE(guitest::WaitForTimer(w, kAutoPlayForward, 1, 2500));
  // Three back, then a new move: the list is the game's new line.
  for (int i = 0; i < 3; ++i) ClickButton(w, kNavBack);
  EXPECT_EQ(Shown(w), 7);
  EXPECT_EQ(Listed(w), 10);
  ASSERT_TRUE(Play(game, "b5"));
  guitest::Pump(100);
  EXPECT_EQ(Listed(w), 8);
  EXPECT_EQ(Shown(w), 8);
  ClickButton(w, kNavBack);
  ClickButton(w, kNavForward);
  EXPECT_EQ(Shown(w), 8);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "game_status_new_line"));
}

TEST_F(GameWindows, StatusShrinksToTwoRowsThenAStripWithoutCutting) {
  NewTimedGame("Duchess", "Tarn - Age 12", true);
  HWND w = Open();
  ASSERT_TRUE(w);
  ASSERT_TRUE(Play(game, "d4 d5 c4"));
  Resize(w, 420, 118);
  ExpectLabelsInside(w, "two rows");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, kMoveList)));
  bool shown = false;
  Label(w, 0, 2, &shown);
  EXPECT_TRUE(shown) << "White's clock in two rows";
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "game_status_two_rows"));
  Resize(w, 520, 70);
  ExpectLabelsInside(w, "strip");
  Label(w, 1, 0, &shown);
  EXPECT_TRUE(shown) << "Black's name in the strip";
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "game_status_strip"));
  Resize(w, 260, 70);
  ExpectLabelsInside(w, "narrow strip");
  // The window never becomes smaller than its minimum.
  Resize(w, 20, 20);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_GT(r.right - r.left, 20);
  EXPECT_GT(r.bottom - r.top, 20);
  ExpectLabelsInside(w, "minimum");
}

TEST_F(GameWindows, LongNamesAreCutToTheLabel) {
  NewTimedGame("Duchess of a very long name that goes on and on past what any label can hold, really", "Tarn",
               false);
  HWND w = Open();
  ASSERT_TRUE(w);
  EXPECT_EQ(Label(w, 0, 0).size(), 63u);
  Resize(w, 420, 420);
  ExpectLabelsInside(w, "full");
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "game_status_long_name"));
}

TEST_F(GameWindows, NicknamePortraitOnDoubleClick) {
  NewTimedGame("Wizard", "Pawn", false);
  HWND w = Open();
  ASSERT_TRUE(w);
  Resize(w, 330, 400);
  bool shown = false;
  RECT portrait{};
  Label(w, 0, 4, &shown, &portrait);
  ASSERT_TRUE(shown);
  POINT p{(portrait.left + portrait.right) / 2, (portrait.top + portrait.bottom) / 2};
  ClientToScreen(w, &p);
  const COLORREF before = guitest::ScreenPixel(p.x, p.y - 20);
  guitest::Click(p);
  guitest::Click(p);
  guitest::Pump(200);
  const COLORREF after = guitest::ScreenPixel(p.x, p.y - 20);
  EXPECT_NE(before, after) << "the nickname's picture replaced the user's";
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "game_status_nickname"));
}

TEST_F(GameWindows, BlackFirstGameAndGamesWithoutClocks) {
  NewTimedGame("Ann", "Bob", false, 0, "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1");
  HWND w = Open();
  ASSERT_TRUE(w);
  ASSERT_TRUE(Play(game, "Kd7 e4"));
  EXPECT_EQ(Listed(w), 2);
  HWND list = GetDlgItem(w, kMoveList);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  ClickButton(w, kNavStart);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "ply 0 with Black first selects row 0";
  ClickButton(w, kNavPlayBack);
  EXPECT_FALSE(guitest::WaitForTimer(w, kAutoPlayBackward, 1, 2500)) << "\"<\" at the start";
  DestroyGameStatusWindow(w);
  SetCurrentGame(nullptr);
  DestroyGame(game);
  game = nullptr;

  NewTimedGame("Ann", "Bob", false, 0x20000000);
  w = Open();
  ASSERT_TRUE(w);
  Resize(w, 330, 300);
  for (int side = 0; side < 2; ++side)
    for (int item : {2, 3}) {
      bool shown = true;
      Label(w, side, item, &shown);
      EXPECT_FALSE(shown) << "no clocks: side " << side << " item " << item;
    }
  DestroyGameStatusWindow(w);
  SetCurrentGame(nullptr);
  DestroyGame(game);
  game = nullptr;

  NewTimedGame("Ann", "Bob", false, 0x80000);
  w = Open();
  ASSERT_TRUE(w);
  Resize(w, 330, 300);
  ASSERT_TRUE(Play(game, "e4 e5"));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, kMoveList)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, kWhiteEmblem)));
  bool nameShown = true;
  Label(w, 0, 0, &nameShown);
  EXPECT_FALSE(nameShown);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "game_status_list_only"));
}

// ---------------------------------------------------------------- Thinking Lines

// The engine link's side, recorded: which players post and whether the
// advisor's analysis runs.
struct EngineCalls {
  int starts = 0, stops = 0, statusRequests = 0;
  bool posting[3] = {};
};
EngineCalls g_calls;
GameRecord* g_thinkingGame = nullptr;
int FakeStart(GameRecord*) { return ++g_calls.starts, 1; }
int FakeStop(GameRecord*) { return ++g_calls.stops, 1; }
int FakePost(PlayerRecord* p, bool on) {
  g_calls.posting[p == &g_thinkingGame->white ? 0 : p == &g_thinkingGame->black ? 1 : 2] = on;
  return 1;
}
void FakeStatus(PlayerRecord*) { ++g_calls.statusRequests; }

class ThinkingLines : public GameWindows {
 protected:
  void SetUp() override {
    g_calls = EngineCalls();
    static const ThinkingLinesEngine fake = {FakeStart, FakeStop, FakePost, FakeStatus};
    SetThinkingLinesEngine(&fake);
  }
  void TearDown() override {
    if (HWND w = Thinking()) DestroyThinkingLinesDialog(w);
    SetThinkingLinesEngine(nullptr);
    GameWindows::TearDown();
  }
  static HWND Thinking() { return HWND(GetNumberedWindow(kThinkingWindowNumber)); }

  void NewGame2(const char* white, uint32_t whiteKind, const char* black, uint32_t blackKind) {
    PlayerDescriptor w{}, b{};
    std::snprintf(w.name, sizeof w.name, "%s", white);
    std::snprintf(b.name, sizeof b.name, "%s", black);
    w.kind = whiteKind;
    b.kind = blackKind;
    game = NewGame(nullptr, 0, &w, &b);
    ASSERT_TRUE(game);
    g_thinkingGame = game;
    SetCurrentGame(game);
  }
  HWND OpenThinking() {
    parent = guitest::CreateTestWindow(RECT{0, 0, 20, 20});
    EXPECT_EQ(CreateThinkingLinesDialog(parent, GetModuleHandleA(nullptr)), 0);
    HWND w = Thinking();
    if (!w) return nullptr;
    SetWindowPos(w, HWND_TOP, 60, 40, 620, 520, 0);
    // Shown through the window table, as layouts and the menu show it.
    NumberedWindowOp(WOP_SHOW, kThinkingWindowNumber, WSC_SHOW);
    ShowWindow(w, SW_SHOW);
    guitest::Pump(200);
    return w;
  }
  static void StoreLine(PlayerRecord* p, int depth, int score, int time, int nodes, const char* moves) {
    StoreThinkingLine(p, depth, score, time, nodes, moves);
  }
  static void StoreStatistics(PlayerRecord* p, int time, int nodes, int depth, int left, int total) {
    StoreThinkingStatistics(p, time, nodes, depth, left, total);
  }
  static std::string Cell(HWND list, int row, int column) {
    char text[256] = "";
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
    return text;
  }
  void ClickBox(HWND w, int id) {
    guitest::Click(Centre(GetDlgItem(w, id)));
    guitest::Pump(200);
  }
};

TEST_F(ThinkingLines, TwoPeopleOfferOnlyTheAdvisor) {
  NewGame2("Ann", PLAYER_HUMAN, "Bob", PLAYER_HUMAN);
  HWND w = OpenThinking();
  ASSERT_TRUE(w);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, kThinkWhiteButton)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, kThinkBlackButton)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(w, kThinkAdvisorButton)));
  ClickBox(w, kThinkAdvisorButton);
  EXPECT_EQ(g_calls.starts, 1);
  HWND list = GetDlgItem(w, 4072);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, kThinkWhiteList)));
  StoreLine(&game->third, 9, -105, 350, 123456, "e4 e5 Nf3");
  StoreStatistics(&game->third, 250, 123456, 9, 12, 20);
  MarkThinkingLine(w, &game->third, 2);
  MarkThinkingStatistics(w, &game->third, 2);
  ASSERT_TRUE(guitest::WaitForTimer(w, kThinkingTimer, 2, 4000));
  guitest::Pump(100);
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(Cell(list, 0, 0), "0:02");
  EXPECT_EQ(Cell(list, 0, 1), "9");
  EXPECT_EQ(Cell(list, 0, 2), "-1.05");
  EXPECT_EQ(Cell(list, 0, 3), "123456");
  EXPECT_EQ(Cell(list, 0, 4), "e4 e5 Nf3");
  HWND stats = GetDlgItem(w, 4083);
  ASSERT_EQ(SendMessageA(stats, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(Cell(stats, 0, 3), "12");
  EXPECT_EQ(Cell(stats, 0, 4), "20");
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "thinking_lines_advisor"));
  // Unticked: the analysis this window started stops.
  ClickBox(w, kThinkAdvisorButton);
  EXPECT_EQ(g_calls.stops, 1);
  EXPECT_FALSE(IsWindowVisible(list));
}

TEST_F(ThinkingLines, EnginesPostWhileTheirSectionsShowAndTheHouseNameHidesTheAdvisor) {
  NewGame2("Corvane", PLAYER_ENGINE, "rOOKWELL", PLAYER_ENGINE);
  HWND w = OpenThinking();
  ASSERT_TRUE(w);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(w, kThinkAdvisorButton)));
  ClickBox(w, kThinkWhiteButton);
  ClickBox(w, kThinkBlackButton);
  EXPECT_TRUE(g_calls.posting[0]);
  EXPECT_TRUE(g_calls.posting[1]);
  StoreLine(&game->white, 6, -5, 120, 5000, "d4 d5 c4");
  StoreLine(&game->black, 7, 250, 130, 6000, "Nf6 Nc3");
  MarkThinkingLine(w, &game->white, 1);
  MarkThinkingLine(w, &game->black, 0);
  ASSERT_TRUE(guitest::WaitForTimer(w, kThinkingTimer, 2, 4000));
  guitest::Pump(100);
  EXPECT_EQ(Cell(GetDlgItem(w, kThinkWhiteList), 0, 2), "-0.05");
  EXPECT_EQ(Cell(GetDlgItem(w, 4071), 0, 2), "2.50");
  EXPECT_EQ(Cell(GetDlgItem(w, 4071), 0, 0), "0:00") << "no statistics: no time";
  EXPECT_GT(g_calls.statusRequests, 0);
  char caption[128];
  GetDlgItemTextA(w, kThinkWhiteCaption, caption, sizeof caption);
  EXPECT_STREQ(caption, "Corvane (White):");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, kThinkWhiteSplitter)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_GAMEROOM_ARTEFACT_DIR, "thinking_lines_engines"));
  ClickBox(w, kThinkWhiteButton);
  EXPECT_FALSE(g_calls.posting[0]);
  EXPECT_EQ(g_calls.starts, 0);
}

}  // namespace
