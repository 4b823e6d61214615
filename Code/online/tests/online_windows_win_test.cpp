// The chat and lobby windows on screen with the program's look, fed by a
// lobby in memory: the copy under test ("me") runs the windows, the other
// copies are scripted through their own sessions. Input goes through the
// system's queue as a user's would; each window ends in a screenshot under
// artefacts/online.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app_globals.h"
#include "app_messages.h"
#include "chat_window_win32.h"
#include "fake_lobby.h"
#include "guitest.h"
#include "lobby_window_win32.h"
#include "look_and_feel.h"
#include "name_lists.h"
#include "online_windows_win32.h"
#include "shell_services.h"
#include "user_profile.h"
#include "window_table.h"
#include "window_table_win32.h"

namespace {

std::string g_folder;
UserProfile g_user{};
std::vector<int> g_sounds;
std::vector<std::string> g_boxes;

// The copy under test: user-table changes go to the numbered windows and
// chat to the chat window, as the room's hooks do.
struct WindowHooks : FakeHooks {
  void NotifyUserWindows(uint32_t w, const OnlineUserEntry* e) override {
    FakeHooks::NotifyUserWindows(w, e);
    BroadcastToWindows(RWM_ONLINE_USER, w, reinterpret_cast<intptr_t>(e), 0);
  }
  void ShowChat(uint32_t verb, const std::string& text, uint32_t sender) override {
    ReceiveChatLine(static_cast<HWND>(GetNumberedWindow(kChatWindowNumber)), text, sender, verb);
  }
};

struct TestHost : OnlineWindowHost {
  OnlineSession* session = nullptr;
  bool ignoringChallenges = false;
  std::vector<std::string> challenged, accepted;
  OnlineSession* Session() override { return session; }
  void ChallengeUser(const std::string& n) override { challenged.push_back(n); }
  void AcceptPostedChallenge(const std::string& n) override { accepted.push_back(n); }
  void FlipIgnoreChallenges() override {
    ignoringChallenges = !ignoringChallenges;
    SetIgnoreChallengesCheck(static_cast<HWND>(GetNumberedWindow(kChatWindowNumber)), ignoringChallenges);
  }
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

COLORREF PaletteColour(int index) {
  PALETTEENTRY e{};
  GetPaletteEntries(GetAppPalette(), UINT(index), 1, &e);
  return RGB(e.peRed, e.peGreen, e.peBlue);
}

// A click on a row, with Ctrl held to add it to the choice. The gesture
// goes in as absolute input in one batch: a warped pointer would make the
// display's own key state (no Ctrl held) win over the injected key.
void ClickListItem(HWND dialog, int list, int index, bool control = false) {
  HWND l = GetDlgItem(dialog, list);
  RECT r{};
  ASSERT_NE(SendMessageA(l, LB_GETITEMRECT, WPARAM(index), LPARAM(&r)), LB_ERR);
  POINT p{r.left + 30, (r.top + r.bottom) / 2};
  ClientToScreen(l, &p);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  auto mouse = [&](DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (p.x * 65535 + sw / 2) / (sw - 1);
    in.mi.dy = (p.y * 65535 + sh / 2) / (sh - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    return in;
  };
  auto key = [](bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_CONTROL;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
  };
  std::vector<INPUT> gesture;
  if (control) gesture.push_back(key(false));
  gesture.push_back(mouse(0));
  gesture.push_back(mouse(MOUSEEVENTF_LEFTDOWN));
  gesture.push_back(mouse(MOUSEEVENTF_LEFTUP));
  if (control) gesture.push_back(key(true));
  SendInput(UINT(gesture.size()), gesture.data(), sizeof(INPUT));
  guitest::Pump(250);
}

void RightClickListItem(HWND dialog, int list, int index) {
  HWND l = GetDlgItem(dialog, list);
  RECT r{};
  SendMessageA(l, LB_GETITEMRECT, WPARAM(index), LPARAM(&r));
  POINT p{r.left + 30, (r.top + r.bottom) / 2};
  ClientToScreen(l, &p);
  guitest::Click(p, true);
  guitest::Pump(300);
}

BOOL CALLBACK SeekPopup(HWND w, LPARAM found) {
  char name[32] = "";
  GetClassNameA(w, name, sizeof name);
  if (IsWindowVisible(w) && std::strcmp(name, "CGUIMenuPopup") == 0) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}
HWND ShownPopup() {
  HWND found = nullptr;
  EnumWindows(SeekPopup, LPARAM(&found));
  return found;
}

// Clicks entry `index` of the `count` in the popup menu on screen; the
// entries are of one height.
void ChoosePopupEntry(int index, int count) {
  HWND popup = nullptr;
  guitest::WaitFor([&] { return (popup = ShownPopup()) != nullptr; }, 3000);
  ASSERT_TRUE(popup);
  RECT c;
  GetClientRect(popup, &c);
  POINT p{c.right / 2, int((index + 0.5) * c.bottom / count)};
  ClientToScreen(popup, &p);
  guitest::MoveMouse(p);
  guitest::Pump(100);
  guitest::Click(p);
  guitest::Pump(300);
}

void ClickItem(HWND dialog, int id) {
  ASSERT_TRUE(guitest::ClickItem(dialog, id)) << id;
  guitest::Pump(200);
}

void TypeInto(HWND dialog, int id, const char* text) {
  ClickItem(dialog, id);
  guitest::TypeText(text);
  guitest::Pump(100);
}

std::string ItemText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// The conversation's lines, as drawn: the chat window's line item.
struct LineView {
  std::string sender, text;
  int lineClass;
};
std::vector<std::string> Conversation(HWND chat) {
  std::vector<std::string> out;
  const int n = int(SendDlgItemMessageA(chat, 4050, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    auto* line = reinterpret_cast<const LineView*>(SendDlgItemMessageA(chat, 4050, LB_GETITEMDATA, WPARAM(i), 0));
    out.push_back(line ? line->text : "");
  }
  return out;
}
int FindLine(HWND chat, const std::string& text) {
  const auto lines = Conversation(chat);
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == text) return int(i);
  return -1;
}

// Counts the pixels of one colour in a list row, copied off the screen.
int PixelsOf(HWND chat, int list, int index, COLORREF colour) {
  HWND l = GetDlgItem(chat, list);
  RECT r{};
  SendMessageA(l, LB_GETITEMRECT, WPARAM(index), LPARAM(&r));
  POINT o{r.left, r.top};
  ClientToScreen(l, &o);
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, o.x, o.y, SRCCOPY);
  GdiFlush();
  int n = 0;
  const auto* px = static_cast<const uint32_t*>(bits);
  const uint32_t want = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  for (int i = 0; i < width * height; ++i)
    if ((px[i] & 0xFFFFFF) == want) ++n;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return n;
}

std::string ListViewText(HWND list, int row, int column) {
  char text[128] = "";
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
  return text;
}
bool DropHighlighted(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_STATE;
  item.iItem = row;
  item.stateMask = LVIS_DROPHILITED;
  SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
  return (item.state & LVIS_DROPHILITED) != 0;
}
int Rows(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

class OnlineWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_online_windows";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CreateDirectoryA((g_folder + "\\Users").c_str(), nullptr);
    CreateDirectoryA((g_folder + "\\Users\\me").c_str(), nullptr);
    std::string font = RW_PROGDATA_DIR "/rwonyx.ttf";
    for (char& c : font)
      if (c == '/') c = '\\';
    CopyFileA(font.c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    SetCurrentDirectoryA(g_folder.c_str());
    SetAppModulePath((g_folder + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
    std::strcpy(g_user.name, "me");
    GetAppGlobals()->currentUser = &g_user;
    GetAppGlobals()->settings->chatTell = 1;
    GetAppGlobals()->settings->buddy = 1;
    SetSettingsIniPath("me.ini", 1);
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    InitWindowTable();
    InstallSystemWindowTable();
    ShellServices s = GetShellServices();
    s.playGameSound = [](int n) {
      g_sounds.push_back(n);
      return 1;
    };
    s.showModelessMessageBox = [](const char* text, uint32_t, MessageBoxCallback, uint32_t, int) -> void* {
      g_boxes.push_back(text);
      return nullptr;
    };
    SetShellServices(s);
  }
  static void TearDownTestSuite() {
    FreeLookAndFeel(nullptr);
    FreeAppGlobals();
  }

  void SetUp() override {
    g_sounds.clear();
    g_boxes.clear();
    // "me" is copy 1, with the windows' hooks.
    auto c = std::make_unique<FakeLobby::Copy>();
    c->hooks = std::make_unique<WindowHooks>();
    c->link = std::make_unique<FakeLink>(lobby, 1);
    c->session = std::make_unique<OnlineSession>(*c->link, *c->hooks);
    c->session->Start(1, "me");
    me = c->session.get();
    lobby.copies.push_back(std::move(c));
    me->OpenNameLists(GetSettingsIniPath());
    host.session = me;
    SetOnlineWindowHost(&host);
  }
  void TearDown() override {
    for (int id : {kChatWindowNumber, kLobbyWindowNumber})
      if (HWND w = static_cast<HWND>(GetNumberedWindow(id))) DestroyWindow(w);
    SetOnlineWindowHost(nullptr);
    std::remove((std::string(GetSettingsIniPath())).c_str());
  }
  OnlineSession& Add(const char* name) { return lobby.Add(name); }
  void LoginAll() {
    for (uint32_t id = 1; id <= lobby.copies.size(); ++id) lobby.Login(id);
    lobby.Pump();
    guitest::Pump(200);
  }
  static HWND Place(HWND w, int x, int y, int width, int height) {
    SetWindowPos(w, HWND_TOP, x, y, width, height, SWP_SHOWWINDOW);
    guitest::Pump(300);
    return w;
  }

  FakeLobby lobby;
  OnlineSession* me = nullptr;
  TestHost host;
};

constexpr int kConversation = 4050, kPlayerLabel = 4052, kPlayers = 4054, kEdit = 4056, kSend = 4057,
              kIgnoreChallenges = 4058, kIgnoreShouts = 4059;

}  // namespace

TEST_F(OnlineWindows, ChatSendsReceivesScreensAndLogs) {
  {
    std::ofstream ini(GetSettingsIniPath());
    ini << "[onlineroom]\nchat_log=1\n";
  }
  DeleteFileA((g_folder + "\\Users\\me\\Chat.log").c_str());
  HWND chat = CreateChatWindow(nullptr, GetModuleHandleA(nullptr));
  ASSERT_TRUE(chat);
  EXPECT_FALSE(IsWindowVisible(chat));  // made hidden
  Place(chat, 20, 20, 640, 420);
  OnlineSession& bob = Add("bob");
  OnlineSession& carol = Add("carol");
  LoginAll();
  EXPECT_EQ(SendDlgItemMessageA(chat, kPlayers, LB_GETCOUNT, 0, 0), 4);  // "Select Everyone", three users
  EXPECT_EQ(ItemText(chat, kPlayerLabel), "Players: (0 selected)");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(chat, kSend)));
  FakeHooks& bobHears = *lobby.At(2).hooks;
  FakeHooks& carolHears = *lobby.At(3).hooks;

  // "Select Everyone" alone: a shout to all.
  ClickListItem(chat, kPlayers, 0);
  EXPECT_EQ(ItemText(chat, kPlayerLabel), "Players: (all selected)");
  TypeInto(chat, kEdit, "hello all");
  ClickItem(chat, kSend);
  lobby.Pump();
  EXPECT_EQ(bobHears.chat, std::vector<std::string>{"shouts hello all"});
  EXPECT_EQ(carolHears.chat, std::vector<std::string>{"shouts hello all"});
  EXPECT_EQ(ItemText(chat, kEdit), "");
  EXPECT_GE(FindLine(chat, "me shouts: hello all"), 0);
  // The same line again at once is not sent and stays in the edit; after
  // five seconds it goes.
  TypeInto(chat, kEdit, "hello all");
  ClickItem(chat, kSend);
  lobby.Pump();
  EXPECT_EQ(bobHears.chat.size(), 1u);
  EXPECT_EQ(ItemText(chat, kEdit), "hello all");
  Sleep(5000);
  ClickItem(chat, kSend);
  lobby.Pump();
  EXPECT_EQ(bobHears.chat.size(), 2u);
  // One character with blanks around it is never sent, and the edit clears.
  TypeInto(chat, kEdit, " x ");
  guitest::PressKey(VK_RETURN);  // Enter sends as the button does
  guitest::Pump(200);
  lobby.Pump();
  EXPECT_EQ(bobHears.chat.size(), 2u);
  EXPECT_EQ(ItemText(chat, kEdit), "");

  // "Select Everyone" and bob: a tell to bob only.
  int bobRow = -1;
  for (int i = 0; i < 4; ++i) {
    auto* p = reinterpret_cast<const ChatPlayer*>(SendDlgItemMessageA(chat, kPlayers, LB_GETITEMDATA, i, 0));
    if (p && p->nickname == "bob") bobRow = i;
  }
  ASSERT_GT(bobRow, 0);
  ClickListItem(chat, kPlayers, bobRow, true);
  EXPECT_EQ(SendDlgItemMessageA(chat, kPlayers, LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(ItemText(chat, kPlayerLabel), "Players: (all selected)");  // "Select Everyone" is among them
  TypeInto(chat, kEdit, "just for bob");
  guitest::PressKey(VK_RETURN);
  guitest::Pump(200);
  lobby.Pump();
  EXPECT_EQ(bobHears.chat.back(), "tells just for bob");
  EXPECT_EQ(carolHears.chat.size(), 2u);
  EXPECT_GE(FindLine(chat, "me tells(bob): just for bob"), 0);
  // The player menu, by hand: bob's has four entries.
  RightClickListItem(chat, kPlayers, bobRow);
  ChoosePopupEntry(1, 4);  // "Challenge bob"
  EXPECT_EQ(host.challenged, std::vector<std::string>{"bob"});
  RightClickListItem(chat, kPlayers, bobRow);
  ChoosePopupEntry(3, 4);  // "Add bob to Buddy List"
  EXPECT_EQ(IsInNameList(me->buddyList, "bob"), 1);
  RightClickListItem(chat, kPlayers, 0);  // "Select Everyone" has none
  EXPECT_EQ(ShownPopup(), nullptr);
  // An own line the filter holds back is shown, logged and not sent.
  EXPECT_EQ(ItemText(chat, kEdit), "");
  TypeInto(chat, kEdit, "what the FUCK");
  guitest::PressKey(VK_RETURN);
  guitest::Pump(200);
  lobby.Pump();
  EXPECT_EQ(bobHears.chat.back(), "tells just for bob");
  EXPECT_EQ(ItemText(chat, kEdit), "");

  // Received lines.
  bob.SendChat(CHAT_TELL, "psst", {1});
  carol.SendChat(CHAT_ANNOUNCE, "tournament at noon", {});
  bob.SendChat(CHAT_SAY, "oh shit", {1});  // the filter holds it back
  lobby.Pump();
  guitest::Pump(200);
  const int tell = FindLine(chat, "bob tells(you): psst");
  const int announce = FindLine(chat, "carol announces: tournament at noon");
  EXPECT_GE(tell, 0);
  EXPECT_GE(announce, 0);
  EXPECT_EQ(FindLine(chat, "bob says: oh shit"), -1);
  EXPECT_EQ(g_sounds, (std::vector<int>{10, 11}));
  // A conversation line's menu is its sender's.
  RightClickListItem(chat, kConversation, tell);
  ChoosePopupEntry(3, 4);  // "Remove bob from Buddy List"
  EXPECT_EQ(IsInNameList(me->buddyList, "bob"), 0);

  // carol ignored: her shout is logged as an ignored user's, or with
  // "Ignore Shouts" on as an ignored shout; her announcement still shows.
  ASSERT_EQ(me->ToggleIgnoreOnlineUser("carol"), 0);
  EXPECT_EQ(ReadAll(g_folder + "\\Users\\me\\me.ini").find("ignore1=carol") != std::string::npos, true);
  carol.SendChat(CHAT_SHOUT, "noise one", {1});
  lobby.Pump();
  ClickItem(chat, kIgnoreShouts);
  EXPECT_EQ(IsDlgButtonChecked(chat, kIgnoreShouts), BST_CHECKED);
  carol.SendChat(CHAT_SHOUT, "noise two", {1});
  bob.SendChat(CHAT_SHOUT, "noise three", {1});
  carol.SendChat(CHAT_ANNOUNCE, "still here", {});
  lobby.Pump();
  guitest::Pump(200);
  EXPECT_EQ(FindLine(chat, "carol shouts: noise one"), -1);
  EXPECT_EQ(FindLine(chat, "bob shouts: noise three"), -1);
  EXPECT_GE(FindLine(chat, "carol announces: still here"), 0);
  // The challenge switch goes through the challenge dialog's flag.
  ClickItem(chat, kIgnoreChallenges);
  EXPECT_TRUE(host.ignoringChallenges);
  EXPECT_EQ(IsDlgButtonChecked(chat, kIgnoreChallenges), BST_CHECKED);

  // A peer's overlong line is cut to an own line's 500 characters.
  bob.SendChat(CHAT_SAY, std::string(1200, 'z'), {1});
  lobby.Pump();
  size_t zs = 0;
  for (const std::string& line : Conversation(chat)) zs += size_t(std::count(line.begin(), line.end(), 'z'));
  EXPECT_EQ(zs, 500u);

  // Colours, read back from the screen: a tell's text 126 and an
  // announcement's 249, both on 243.
  SendDlgItemMessageA(chat, kConversation, LB_SETCURSEL, WPARAM(-1), 0);
  SendDlgItemMessageA(chat, kConversation, LB_SETTOPINDEX, WPARAM(tell > 2 ? tell - 2 : 0), 0);
  InvalidateRect(GetDlgItem(chat, kConversation), nullptr, TRUE);
  UpdateWindow(chat);
  guitest::Pump(300);
  EXPECT_GT(PixelsOf(chat, kConversation, tell, PaletteColour(126)), 10);
  EXPECT_GT(PixelsOf(chat, kConversation, tell, PaletteColour(243)), 100);
  EXPECT_GT(PixelsOf(chat, kConversation, announce, PaletteColour(249)), 10);
  EXPECT_GT(PixelsOf(chat, kConversation, announce, PaletteColour(243)), 100);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "chat_window"));

  // The log holds every kind, each line stamped.
  SetChatLogging(chat, ChatLogPath(), false);
  const std::string log = ReadAll(g_folder + "\\Users\\me\\Chat.log");
  for (const char* part : {"[Entering Channel:]  : RWLive Central\r\n", " me shouts: hello all\r\n",
                           "[Unsent:] me tells: what the FUCK\r\n", " bob tells: psst\r\n",
                           "[Filtered:] bob says: oh shit\r\n", "[Ignored user:] carol shouts: noise one\r\n",
                           "[Ignored shout:] carol shouts: noise two\r\n",
                           "[Ignored shout:] bob shouts: noise three\r\n", " carol announces: still here\r\n",
                           "[Closing log.]  : \r\n"})
    EXPECT_NE(log.find(part), std::string::npos) << part;
  EXPECT_EQ(log.substr(19, 5), "   : ");  // the opening entry: empty fields

  // The 5,001st line takes the 100 oldest with it.
  HWND list = GetDlgItem(chat, kConversation);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = count; i < 5000; ++i) ReceiveChatLine(chat, "line " + std::to_string(i), 2, CHAT_SAY);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 5000);
  ReceiveChatLine(chat, "one more", 2, CHAT_SAY);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4901);
  EXPECT_EQ(Conversation(chat).back(), "bob says: one more");

  // Closing hides; the window stays.
  SendMessageA(chat, WM_CLOSE, 0, 0);
  guitest::Pump(100);
  EXPECT_TRUE(IsWindow(chat));
  EXPECT_FALSE(IsWindowVisible(chat));
}

TEST_F(OnlineWindows, LobbyListsPlayersGamesAndChallenges) {
  HWND lobbyWindow = CreateLobbyWindow(nullptr, GetModuleHandleA(nullptr));
  ASSERT_TRUE(lobbyWindow);
  Place(lobbyWindow, 40, 40, 780, 360);
  AddToNameList(me->buddyList, "erin");
  OnlineSession& bob = Add("bob");
  OnlineSession& carol = Add("carol");
  OnlineSession& dave = Add("dave");
  LoginAll();
  HWND players = GetDlgItem(LobbyPageWindow(lobbyWindow, 0), 4010);
  HWND games = GetDlgItem(LobbyPageWindow(lobbyWindow, 1), 4012);
  HWND challenges = GetDlgItem(LobbyPageWindow(lobbyWindow, 2), 4014);
  EXPECT_EQ(Rows(players), 4);
  EXPECT_EQ(ItemText(lobbyWindow, 4011), "Players Online: 4");
  // Fewer than 20 rated games: the rating and the count.
  EXPECT_EQ(ListViewText(players, 0, 0), "bob");
  EXPECT_EQ(ListViewText(players, 0, 3), "1600/0");

  // bob and carol play: one row for the game, whichever record comes first.
  OnlineGameDescriptor g;
  for (int i = 0; i < 16; ++i) g.guid[i] = uint8_t(0x40 + i);
  g.flags = kTimeMinutesPerGame | kGameRated;
  g.base = 5;
  std::strcpy(g.white, "bob");
  std::strcpy(g.black, "carol");
  for (OnlineSession* s : {&bob, &carol}) {
    s->own.game = g;
    s->own.state = USER_PLAYING;
    s->SendOwnUpdate(16);
  }
  // dave posts a challenge open to any rating.
  dave.own.challenge.head[0] = 1;
  dave.own.challenge.timeType = kTimeFischer | kGameRated;
  dave.own.challenge.base = 5;
  dave.own.challenge.bonus = 3;
  dave.own.challenge.word7 = 1;
  dave.own.challenge.lowestRating = 0;
  dave.own.challenge.highestRating = 9999;
  std::strcpy(dave.own.challenge.nickname, "dave");
  dave.SendOwnUpdate(128);
  lobby.Pump();
  guitest::Pump(200);
  ASSERT_EQ(Rows(games), 1);
  EXPECT_EQ(ListViewText(games, 0, 0), "bob");
  EXPECT_EQ(ListViewText(games, 0, 2), "carol");
  EXPECT_EQ(ListViewText(games, 0, 4), "R-Blitz");
  EXPECT_TRUE(DropHighlighted(games, 0));  // nobody may view it
  EXPECT_EQ(ItemText(lobbyWindow, 4013), "Games in Progress: 1");
  ASSERT_EQ(Rows(challenges), 1);
  EXPECT_EQ(ListViewText(challenges, 0, 6), "Any Rating");
  EXPECT_FALSE(DropHighlighted(challenges, 0));
  EXPECT_EQ(ItemText(lobbyWindow, 4015), "Posted Challenges: 1");
  EXPECT_EQ(ListViewText(players, 0, 1), "Playing");

  // A buddy arrives: the sound and the box.
  OnlineSession& erin = Add("erin");
  lobby.Login(5);
  lobby.Pump();
  guitest::Pump(200);
  EXPECT_EQ(g_sounds, std::vector<int>{13});
  EXPECT_EQ(g_boxes, std::vector<std::string>{"erin is here\n"});
  EXPECT_EQ(ItemText(lobbyWindow, 4011), "Players Online: 5");
  (void)erin;

  // Clicking the Player column twice sorts it descending, by hand.
  HWND header = FindWindowExA(players, nullptr, nullptr, nullptr);
  ASSERT_TRUE(header);
  RECT hr;
  GetWindowRect(header, &hr);
  const int firstWidth = int(SendMessageA(players, LVM_GETCOLUMNWIDTH, 0, 0));
  const POINT column0{hr.left + firstWidth / 2, (hr.top + hr.bottom) / 2};
  guitest::Click(column0);
  guitest::Pump(300);
  EXPECT_EQ(ListViewText(players, 0, 0), "me");  // descending
  EXPECT_EQ(ListViewText(players, 1, 0), "erin");
  EXPECT_EQ(ListViewText(players, 4, 0), "bob");
  EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "lobby_players"));

  // The other pages, by their tabs.
  HWND tabs = GetDlgItem(lobbyWindow, 4030);
  RECT tr;
  GetWindowRect(tabs, &tr);
  HDC dc = GetDC(tabs);
  HGDIOBJ old = SelectObject(dc, HFONT(SendMessageA(lobbyWindow, WM_GETFONT, 0, 0)));
  SIZE w0{}, w1{};
  GetTextExtentPoint32A(dc, "Players", 7, &w0);
  GetTextExtentPoint32A(dc, "Games", 5, &w1);
  SelectObject(dc, old);
  ReleaseDC(tabs, dc);
  guitest::Click(POINT{tr.left + w0.cx + 12 + (w1.cx + 12) / 2, tr.top + 8});
  guitest::Pump(300);
  EXPECT_TRUE(IsWindowVisible(LobbyPageWindow(lobbyWindow, 1)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "lobby_games"));
  SIZE w2{};
  dc = GetDC(tabs);
  old = SelectObject(dc, HFONT(SendMessageA(lobbyWindow, WM_GETFONT, 0, 0)));
  GetTextExtentPoint32A(dc, "Challenges", 10, &w2);
  SelectObject(dc, old);
  ReleaseDC(tabs, dc);
  guitest::Click(POINT{tr.left + w0.cx + w1.cx + 24 + (w2.cx + 12) / 2, tr.top + 8});
  guitest::Pump(300);
  EXPECT_TRUE(IsWindowVisible(LobbyPageWindow(lobbyWindow, 2)));
  EXPECT_TRUE(guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, "lobby_challenges"));

  // Departures: carol leaves with her game; the counters follow.
  carol.Close();
  lobby.Pump();
  guitest::Pump(200);
  EXPECT_EQ(Rows(players), 4);
  EXPECT_EQ(Rows(games), 0);
  EXPECT_EQ(ItemText(lobbyWindow, 4011), "Players Online: 4");
  EXPECT_EQ(ItemText(lobbyWindow, 4013), "Games in Progress: 0");
  dave.own.challenge = OnlineChallenge();
  dave.SendOwnUpdate(256);
  lobby.Pump();
  EXPECT_EQ(Rows(challenges), 0);
  EXPECT_EQ(ItemText(lobbyWindow, 4015), "Posted Challenges: 0");
}
