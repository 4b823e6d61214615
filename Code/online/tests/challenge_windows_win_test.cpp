// The challenge window, the received challenge and the view list on screen
// with the program's look, fed by the in-memory lobby: alice and bob each
// have their windows, carol is a third copy. Driven through the system's
// input queue as a user would; each window ends in a screenshot under
// artefacts/online.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "app_globals.h"
#include "challenge_windows_win32.h"
#include "fake_lobby.h"
#include "frame_links.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "rated_games.h"
#include "window_table.h"

namespace {

std::string g_folder;

std::string Windows(std::string path) {
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  return path;
}

POINT Centre(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct Copy {
  std::unique_ptr<ChallengeWindows> windows;
  std::vector<OnlineGameDescriptor> begun;
  int sounds = 0;
};

class ChallengeWindowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_challenge_windows";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CopyFileA(Windows(RW_PROGDATA_DIR "/rwonyx.ttf").c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    SetCurrentDirectoryA(g_folder.c_str());
    SetAppModulePath((g_folder + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    InitWindowTable();
    InitCommonControls();
  }
  static void TearDownTestSuite() {
    FreeLookAndFeel(nullptr);
    FreeAppGlobals();
  }

  void SetUp() override {
    DeleteFileA(Ini().c_str());
    for (const char* name : {"alice", "bob", "carol"}) {
      OnlineSession& s = lobby.Add(name);
      copies.push_back(std::make_unique<Copy>());
      Copy* c = copies.back().get();
      ChallengeWindowLinks links;
      links.beginGame = [c, &s](const OnlineGameDescriptor& d, const std::vector<OnlineMove>*) {
        c->begun.push_back(d);
        s.own.state = USER_PLAYING;
        s.own.game = d;
        s.SendOwnUpdate(16);
        return true;
      };
      links.newRating = [](uint32_t r, uint32_t o, uint32_t g, uint32_t og, int score) {
        return ComputeNewRating(r, o, g, og, score);
      };
      links.challengeSoundOn = [] { return true; };
      links.playChallengeSound = [c] { ++c->sounds; };
      c->windows = std::make_unique<ChallengeWindows>(s, GetModuleHandleA(nullptr), nullptr, links);
    }
    for (uint32_t id = 1; id <= 3; ++id) lobby.Login(id);
    lobby.Pump();
    // Each copy's table changes reach its challenge window.
    for (uint32_t id = 1; id <= 3; ++id) {
      ASSERT_TRUE(W(id).Create(Ini()));
      W(id).Model().RefillPlayers();
      ChallengeWindows* w = &W(id);
      H(id).onUserNotice = [w](uint32_t code, const OnlineUserEntry* e) { w->UserNotice(code, e); };
    }
  }
  void TearDown() override {
    for (uint32_t id = 1; id <= copies.size(); ++id) H(id).onUserNotice = nullptr;
    for (auto& c : copies) c->windows->Destroy();
    copies.clear();
  }

  static std::string Ini() { return g_folder + "\\rw.ini"; }
  ChallengeWindows& W(uint32_t id) { return *copies[id - 1]->windows; }
  OnlineSession& S(uint32_t id) { return *lobby.At(id).session; }
  FakeHooks& H(uint32_t id) { return *lobby.At(id).hooks; }
  std::string LastShown(uint32_t id) { return H(id).modeless.empty() ? "" : H(id).modeless.back(); }
  // Delivers what is under way while the windows handle their messages.
  void Settle(DWORD ms = 300) {
    const DWORD until = GetTickCount() + ms;
    do {
      lobby.Pump();
      guitest::Pump(30);
    } while (GetTickCount() < until);
  }
  void Click(HWND dialog, int id, DWORD wait = 250) {
    HWND c = GetDlgItem(dialog, id);
    ASSERT_TRUE(c) << id;
    ASSERT_TRUE(IsWindowVisible(c)) << id;
    guitest::Click(Centre(c));
    Settle(wait);
  }
  void Type(HWND dialog, int id, const char* text) {
    Click(dialog, id, 100);
    guitest::PressKey(VK_END);
    for (int i = 0; i < 6; ++i) guitest::PressKey(VK_BACK);
    guitest::TypeText(text);
    Settle(150);
  }
  // Picks a combo box entry by keyboard, as a user without the mouse does.
  void Choose(HWND dialog, int id, int index) {
    Click(dialog, id, 200);
    guitest::PressKey(VK_HOME);
    for (int i = 0; i < index; ++i) guitest::PressKey(VK_DOWN);
    guitest::PressKey(VK_RETURN);
    Settle(200);
  }
  // bob in alice's player list, wherever the list has him.
  void ChooseBob(HWND d) {
    const int at = int(SendDlgItemMessageA(d, 3060, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("bob")));
    ASSERT_GE(at, 0);
    Choose(d, 3060, at);
    ASSERT_EQ(W(1).Model().SelectedPlayer(), "bob");
  }
  void Place(HWND window, int x, int y) {
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Settle(200);
  }
  static bool Checked(HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; }
  static bool Enabled(HWND d, int id) { return IsWindowEnabled(GetDlgItem(d, id)) != FALSE; }
  static bool Visible(HWND d, int id) { return IsWindowVisible(GetDlgItem(d, id)) != FALSE; }
  static std::string Text(HWND d, int id) {
    char text[128] = "";
    GetDlgItemTextA(d, id, text, sizeof text);
    return text;
  }

  FakeLobby lobby;
  std::vector<std::unique_ptr<Copy>> copies;
};

}  // namespace

TEST_F(ChallengeWindowsTest, ModesKindsAndRatedRulesFollowTheClicks) {
  HWND d = W(1).ChallengeWindow();
  W(1).ShowChallengeWindow(true);
  Place(d, 20, 20);
  // Player mode by default ("default_chall" written with the switches off).
  EXPECT_TRUE(Checked(d, 3058));
  EXPECT_FALSE(Visible(d, 3081));
  // Post mode: the range and switches, no player list.
  Click(d, 3051);
  EXPECT_TRUE(Checked(d, 3051));
  EXPECT_TRUE(Visible(d, 3053) && Visible(d, 3056));
  EXPECT_FALSE(Visible(d, 3060));
  EXPECT_EQ(Text(d, 3082), "Post Challenge");
  // Player mode: the players, "Send Challenge".
  Click(d, 3058);
  EXPECT_TRUE(Checked(d, 3058));
  EXPECT_TRUE(Visible(d, 3060));
  EXPECT_FALSE(Visible(d, 3053));
  EXPECT_EQ(Text(d, 3082), "Send Challenge");
  EXPECT_EQ(SendDlgItemMessageA(d, 3060, CB_GETCOUNT, 0, 0), 2);
  // Infinite: no spins, neither rated nor enforced.
  Click(d, 3080);
  EXPECT_TRUE(Checked(d, 3080));
  EXPECT_FALSE(Visible(d, 3073) || Visible(d, 3075));
  EXPECT_FALSE(Enabled(d, 3068) || Enabled(d, 3069));
  // Fischer: both spins; Rated then locks enforced time and takebacks.
  Click(d, 3078);
  EXPECT_TRUE(Visible(d, 3073) && Visible(d, 3075));
  Click(d, 3068);
  EXPECT_TRUE(Checked(d, 3068) && Checked(d, 3069));
  EXPECT_FALSE(Enabled(d, 3069) || Enabled(d, 3070) || Enabled(d, 3079) || Enabled(d, 3080));
  EXPECT_TRUE(Checked(d, 3078));
  // A rated game with a registered opponent previews the rating change.
  ChooseBob(d);
  EXPECT_EQ(W(1).Model().SelectedPlayer(), "bob");
  EXPECT_EQ(Text(d, 3086)[0], '+');
  EXPECT_EQ(Text(d, 3087)[0], '-');
  // Hourglass counts seconds.
  Click(d, 3068);
  Click(d, 3079);
  EXPECT_EQ(Text(d, 3072), "Seconds:");
  EXPECT_FALSE(Enabled(d, 3068));
  Click(d, 3076);
  EXPECT_EQ(Text(d, 3072), "Minutes:");
  // Rated with Infinite selected is impossible; Rated turns it to Minutes.
  Click(d, 3080);
  W(1).Model().SetRated(true);
  Settle(100);
  EXPECT_TRUE(Checked(d, 3076));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "challenge_player_mode"));
  Click(d, 3051);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "challenge_post_mode"));
}

TEST_F(ChallengeWindowsTest, ValidationPostingWithdrawingAndClosingWithAutopost) {
  HWND d = W(1).ChallengeWindow();
  W(1).ShowChallengeWindow(true);
  Place(d, 20, 20);
  Click(d, 3051);
  Type(d, 3053, "1500");
  Type(d, 3055, "1500");
  Click(d, 3082);
  EXPECT_EQ(LastShown(1), "The high opponent rating must be higher than the low opponent rating");
  Type(d, 3055, "1800");
  Type(d, 3075, "999");
  Click(d, 3082);
  EXPECT_TRUE(W(1).Model().Posted());
  EXPECT_FALSE(Enabled(d, 3082));
  EXPECT_TRUE(Enabled(d, 3083));
  const OnlineUserEntry* seen = S(2).FindOnlineUserByNickname("alice");
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->user.challenge.bonus, 999u);
  EXPECT_EQ(seen->user.challenge.highestRating, 1800u);
  Click(d, 3083);
  EXPECT_FALSE(W(1).Model().Posted());
  EXPECT_FALSE(HasPostedChallenge(S(2).FindOnlineUserByNickname("alice")->user.challenge));
  // Autopost on and a base of 0: Close keeps the window open.
  Click(d, 3056);
  EXPECT_TRUE(Checked(d, 3056));
  Type(d, 3073, "0");
  Click(d, 3084);
  EXPECT_TRUE(IsWindowVisible(d));
  EXPECT_EQ(LastShown(1), "Base time must be between 1 and 999");
  Type(d, 3073, "5");
  Click(d, 3084);
  EXPECT_FALSE(IsWindowVisible(d));
  EXPECT_TRUE(W(1).Model().Posted());
  // The settings keep the ten values.
  W(1).Destroy();
  char text[100] = "";
  GetPrivateProfileStringA("onlineroom", "default_chall", "", text, sizeof text, Ini().c_str());
  EXPECT_STREQ(text, "1,1,0,0,130,5,999,1,1500,1800");
}

TEST_F(ChallengeWindowsTest, AReceivedChallengeIsAcceptedDeclinedOrWithdrawnAndIgnoresClose) {
  HWND d = W(1).ChallengeWindow();
  W(1).ShowChallengeWindow(true);
  Place(d, 20, 20);
  Click(d, 3058);
  ChooseBob(d);
  Choose(d, 3067, 2);  // random colour
  Click(d, 3082);
  HWND r = W(2).ReceivedWindow();
  ASSERT_TRUE(r);
  Place(r, 460, 20);
  EXPECT_TRUE(IsWindowVisible(r));
  EXPECT_EQ(Text(r, 3003), "alice");
  EXPECT_EQ(Text(r, 3005), "Fischer");
  EXPECT_EQ(Text(r, 3012), "Random Color");
  EXPECT_EQ(Text(r, 3011), "Unrated");
  const uint32_t colour = W(2).Model().Received().word7;
  EXPECT_TRUE(colour == 3 || colour == 4) << colour;
  EXPECT_EQ(copies[1]->sounds, 1);
  EXPECT_FALSE(Enabled(d, 3082));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "challenge_received"));
  // WM_CLOSE does nothing.
  SendMessageA(r, WM_CLOSE, 0, 0);
  Settle(100);
  EXPECT_TRUE(IsWindow(r) && IsWindowVisible(r));
  // Decline: alice reads the reason.
  Click(r, 3001);
  EXPECT_FALSE(W(2).ReceivedWindow());
  EXPECT_EQ(LastShown(1), "bob declines your challenge");
  EXPECT_TRUE(Enabled(d, 3082));

  // Again, withdrawn by alice.
  ChooseBob(d);
  Click(d, 3082);
  ASSERT_TRUE(W(2).ReceivedWindow()) << LastShown(1) << " selected " << W(1).Model().SelectedPlayer();
  Click(d, 3083);
  EXPECT_FALSE(W(2).ReceivedWindow());
  EXPECT_EQ(LastShown(2), "alice has withdrawn the challenge");

  // Again, accepted: both games begin.
  ChooseBob(d);
  Click(d, 3082);
  r = W(2).ReceivedWindow();
  ASSERT_TRUE(r);
  Place(r, 460, 20);
  Click(r, 3000);
  EXPECT_FALSE(W(2).ReceivedWindow());
  ASSERT_EQ(copies[0]->begun.size(), 1u);
  ASSERT_EQ(copies[1]->begun.size(), 1u);
  EXPECT_EQ(std::memcmp(copies[0]->begun[0].guid, copies[1]->begun[0].guid, 16), 0);
  EXPECT_EQ(LastShown(1), "bob has accepted your challenge");
}

TEST_F(ChallengeWindowsTest, ARatedResumeShowsItsWarningAndAcceptingAPostingSwapsColours) {
  OnlineGameSnapshot stored;
  stored.game.guid[0] = 0x44;
  stored.game.flags = kTimeMinutesPerGame | kGameRated | kChallengeEnforced;
  stored.game.base = 10;
  std::strcpy(stored.game.white, "alice");
  std::strcpy(stored.game.black, "bob");
  stored.moves.resize(6);
  W(1).Model().ResumeAdjournedGame(stored);
  Settle(200);
  HWND r = W(2).ReceivedWindow();
  ASSERT_TRUE(r);
  Place(r, 460, 20);
  EXPECT_EQ(Text(r, 3015), "Adjourned Game");
  EXPECT_EQ(Text(r, 3016), "ATTENTION!");
  EXPECT_EQ(Text(r, 3019), "will count as a loss");
  EXPECT_EQ(Text(r, 3011), "Rated Game");
  EXPECT_EQ(Text(r, 3012), "You Play Black");
  EXPECT_EQ(Text(r, 3020).substr(0, 4), "W: +");
  EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "challenge_received_resume"));
  Click(r, 3001);
  EXPECT_EQ(LastShown(1), "bob has declined to resume this game, it has been counted as a win for you");
  EXPECT_GT(S(1).own.ratings[1].rating, 1600u);
  EXPECT_LT(S(2).own.ratings[1].rating, 1600u);

  // carol posts; bob answers it from the player menu.
  HWND c = W(3).ChallengeWindow();
  W(3).ShowChallengeWindow(true);
  Place(c, 20, 20);
  Click(c, 3051);
  Click(c, 3082);
  ASSERT_TRUE(W(3).Model().Posted());
  W(2).Model().AcceptPostedChallenge("carol");
  Settle(200);
  r = W(3).ReceivedWindow();
  ASSERT_TRUE(r);
  EXPECT_EQ(Text(r, 3003), "bob");
  EXPECT_EQ(Text(r, 3012), "You play white");  // carol posted as White
}

TEST_F(ChallengeWindowsTest, ViewListModesCaptionsButtonsAndActions) {
  // carol plays dave-less: bob and carol play one game.
  OnlineGameDescriptor game;
  game.guid[0] = 0x51;
  game.flags = kTimeFischer | kGameRated;
  game.base = 5;
  game.bonus = 3;
  std::strcpy(game.white, "bob");
  std::strcpy(game.black, "carol");
  for (uint32_t id : {2u, 3u}) {
    S(id).own.state = USER_PLAYING;
    S(id).own.game = game;
    S(id).SendOwnUpdate(16);
  }
  Settle(100);
  struct Case {
    int mode;
    const char* caption;
    const char* action;  // null: only the close button
    int rows;
  } cases[] = {{0, "View Game", "View", 1},          {1, "View Player", "View", 2},
               {2, "Ignore Player", "Ignore", 2},    {3, "Unignore player", "Unignore", 0},
               {4, "Game Viewers", nullptr, 0},      {5, "Add Buddy", "Add", 1},
               {6, "Remove Buddy", "Remove", 1},     {7, "Buddies", nullptr, 1},
               {8, "Buddies Currently Connected", nullptr, 1}};
  std::vector<std::string> added;
  ViewListActions actions{[&](const std::string& n) { added.push_back(n); }, [](const std::string&) {}};
  for (const Case& k : cases) {
    std::atomic<INT_PTR> result{-5};
    std::thread runner([&] {
      result = RunViewList(GetModuleHandleA(nullptr), nullptr, k.mode, S(1), {"bob"}, actions);
    });
    HWND d = nullptr;
    guitest::WaitFor(
        [&] {
          d = FindWindowA(nullptr, k.caption);
          return d && IsWindowVisible(d);
        },
        5000);
    ASSERT_TRUE(d) << k.caption;
    guitest::Pump(300);
    HWND list = GetDlgItem(d, 4061);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), k.rows) << k.caption;
    EXPECT_EQ(Visible(d, 4062), k.action != nullptr) << k.caption;
    EXPECT_EQ(Visible(d, 2), k.action != nullptr) << k.caption;
    EXPECT_EQ(Visible(d, 4063), k.action == nullptr) << k.caption;
    if (k.action) {
      EXPECT_EQ(Text(d, 4062), k.action);
      // Nothing happens before a row is chosen.
      guitest::Click(Centre(GetDlgItem(d, 4062)));
      guitest::Pump(300);
      EXPECT_TRUE(IsWindow(d)) << k.caption;
    } else {
      EXPECT_EQ(Text(d, 4063), k.mode == 4 ? "C&lose" : "Close");
    }
    if (k.mode == 0) {
      char text[32] = "";
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = 0;
      item.iSubItem = 4;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
      EXPECT_STREQ(text, "R-Blitz");
      EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "view_list_games"));
    }
    if (k.mode == 5) {
      // Choose the row, then the action: carol becomes a buddy.
      // The first row lies just under the header.
      RECT header{}, box{};
      GetWindowRect(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), &header);
      GetWindowRect(list, &box);
      guitest::Click(POINT{box.left + 30, header.bottom + 7});
      guitest::Pump(300);
      EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "view_list_add_buddy"));
      guitest::Click(Centre(GetDlgItem(d, 4062)));
    } else {
      guitest::Click(Centre(GetDlgItem(d, k.action ? 2 : 4063)));
    }
    guitest::WaitFor([&] { return result != -5; }, 5000);
    if (result == -5 && IsWindow(d)) {  // the action did not end it: give up cleanly
      PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
      PostMessageA(d, WM_COMMAND, 4063, 0);
    }
    runner.join();
    EXPECT_EQ(result, k.mode == 5 ? 1 : 0) << k.caption;
  }
  EXPECT_EQ(added, std::vector<std::string>{"carol"});
}
