// The classic games, player profile and outside-engine import dialogs on
// screen with the program's look, driven through the system's input queue
// as a user would. Modal dialogs run on a thread of their own while the
// test looks; each ends in a screenshot under artefacts/gameroom.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "app_globals.h"
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
  guitest::Chord({VK_CONTROL}, 'A');
  guitest::PressKey(VK_DELETE);
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
// The message box a dialog shows over itself.
HWND WaitForBoxOver(HWND dialog) {
  HWND box = nullptr;
  guitest::WaitFor(
      [&] {
        box = GetWindow(dialog, GW_ENABLEDPOPUP);
        return box && box != dialog && IsWindowVisible(box);
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
    CopyInto(RW_PROGDATA_DIR "/rwonyx.ttf", g_folder + "\\rwonyx.ttf");
    CopyInto(RW_CLASSIC_GAMES, g_folder + "\\classicOnyx.pgn");
    SetCurrentDirectoryA(g_folder.c_str());
    SetAppModulePath((g_folder + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
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
  TypeText(dialog, kClassicSearch, "kieseritzky");
  guitest::PressKey(VK_RETURN);
  guitest::Pump(300);
  ASSERT_EQ(ListCount(dialog, kClassicList), 1);
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
  EXPECT_EQ(GetMoveCount(game), 45);  // the game of 1851, 23. Be7#
  EXPECT_STREQ(game->white.name, "Anderssen, Adolf");
  GameRecord* probe = NewGame();
  EXPECT_EQ(ReadPgnGame(probe, 0), 0);  // still open for the game's reader
  DestroyGame(probe);
  ClosePgnIndex();
}

}  // namespace
