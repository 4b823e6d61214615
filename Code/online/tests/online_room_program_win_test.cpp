// The online room in Rookwell.exe from a fresh install, driven through the
// system's input queue: the live window with its board and wallpaper, the
// live menu with no game, the connect dialog waiting for a transport and
// starting the lobby login, and leaving and entering the room again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "guitest.h"

namespace {

const char* kFrameClass = "RWONYX_APP_CLASS";
const char* kBoardClass = "RWBoardWndClass";

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_ONLINE_ARTEFACT_DIR, name); }

std::string Installed() {
  const char* dir = std::getenv("RW_PROGRAM_DIR");
  std::string s = dir ? dir : "";
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

class OnlineRoomProgram : public ::testing::Test {
 protected:
  void TearDown() override {
    if (program_.process) {
      if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
      DWORD code = 0;
      if (!guitest::WaitForProgramEnd(&program_, 15000, &code)) guitest::KillProgram(&program_);
    }
  }

  // A fresh copy of the installed folder; a test user enters the online
  // room at start.
  bool Start(const char* name, bool withLoginHelper = true) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + name;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    std::filesystem::copy(Installed(), folder_, std::filesystem::copy_options::recursive, error);
    const std::string ini = folder_ + "\\rw.ini";
    WritePrivateProfileStringA("settings", "IntroMovie", "0", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_login", "1", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_login_user", "Tester", ini.c_str());
    WritePrivateProfileStringA("debug", "auto_room_select", "7", ini.c_str());
    if (!withLoginHelper) DeleteFileA((folder_ + "\\RWLiveLogin.exe").c_str());
    if (!guitest::StartProgram(folder_ + "\\Rookwell.exe", "", folder_, &program_)) return false;
    if (!guitest::WaitFor([&] { return (frame_ = guitest::FindProgramWindow(program_, kFrameClass)) != nullptr; },
                          20000))
      return false;
    room_ = FindWindowExA(frame_, nullptr, "WC_ROOKWELL_ROOM", nullptr);
    guitest::WaitFor([&] { return (board_ = VisibleBoard()) != nullptr; }, 10000);
    guitest::Pump(800);
    return room_ && board_;
  }

  HWND VisibleBoard() {
    for (HWND w = FindWindowExA(room_, nullptr, kBoardClass, nullptr); w;
         w = FindWindowExA(room_, w, kBoardClass, nullptr))
      if (IsWindowVisible(w)) return w;
    return nullptr;
  }

  std::string folder_;
  guitest::Program program_;
  HWND frame_ = nullptr;
  HWND room_ = nullptr;
  HWND board_ = nullptr;
};

}  // namespace

struct DialogSearch {
  const char* caption;
  DWORD process;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<DialogSearch*>(p);
  char text[128] = "";
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  GetWindowTextA(w, text, sizeof text);
  if (pid != s->process || std::strcmp(text, s->caption) != 0 || !IsWindowVisible(w)) return TRUE;
  s->found = w;
  return FALSE;
}

// The program's visible top-level window with this caption.
HWND ProgramDialog(const guitest::Program& program, const char* caption) {
  DialogSearch search{caption, program.id, nullptr};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

POINT Centre(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(OnlineRoomProgram, TheConnectDialogWaitsForTheTransportAndStartsTheLobbyLogin) {
  ASSERT_TRUE(Start("rw_e2e_online_connect", false));
  HWND dialog = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = ProgramDialog(program_, "Create Rookwell Live Session")); },
                               5000));
  // No transport reported a connection: only the lobby service can be chosen.
  EXPECT_FALSE(Enabled(dialog, 30100));
  EXPECT_FALSE(Enabled(dialog, 30105));
  EXPECT_FALSE(Enabled(dialog, 30110));
  EXPECT_TRUE(Enabled(dialog, 30115));
  EXPECT_FALSE(Enabled(dialog, 5004));
  EXPECT_FALSE(Enabled(dialog, 5007));
  EXPECT_FALSE(Enabled(dialog, 2));
  EXPECT_TRUE(Visible(dialog, 5006));
  EXPECT_FALSE(Visible(dialog, 5015));
  EXPECT_TRUE(Shot("connect_dialog"));

  // The lobby service without a user handed over: Join starts the login
  // helper, which this folder lacks.
  guitest::Click(Centre(GetDlgItem(dialog, 30115)));
  guitest::Pump(500);
  EXPECT_FALSE(Visible(dialog, 5006));
  EXPECT_FALSE(Visible(dialog, 5004));
  EXPECT_TRUE(Enabled(dialog, 5007));
  EXPECT_FALSE(Enabled(dialog, 2));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 30115), BST_CHECKED);
  EXPECT_TRUE(Shot("connect_dialog_lobby_mode"));
  guitest::Click(Centre(GetDlgItem(dialog, 5007)));
  HWND box = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (box = guitest::FindProgramWindow(program_, "RWOMSGBOX")); }, 5000));
  guitest::Pump(400);
  EXPECT_TRUE(Shot("connect_dialog_no_helper"));
  char text[128] = "";
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char part[128] = "";
    SendMessageA(child, WM_GETTEXT, sizeof part, LPARAM(part));
    if (std::strstr(part, "Unable")) std::strcpy(text, part);
  }
  EXPECT_STREQ(text, "Unable to Launch the Rookwell Live login");
  guitest::PressKey(VK_RETURN);
  guitest::Pump(400);
  // The program runs on.
  EXPECT_TRUE(IsWindow(frame_));
}

// With the helper in place, Join starts it and the program asks to close.
TEST_F(OnlineRoomProgram, LobbyJoinStartsTheLoginHelperAndClosesTheProgram) {
  ASSERT_TRUE(Start("rw_e2e_online_helper"));
  HWND dialog = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (dialog = ProgramDialog(program_, "Create Rookwell Live Session")); },
                               5000));
  guitest::Click(Centre(GetDlgItem(dialog, 30115)));
  guitest::Pump(500);
  guitest::Click(Centre(GetDlgItem(dialog, 5007)));
  HWND helper = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (helper = FindWindowA(nullptr, "RWLive Login")) != nullptr; }, 10000));
  HWND box = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (box = guitest::FindProgramWindow(program_, "RWOMSGBOX")); }, 5000));
  guitest::Pump(400);
  EXPECT_TRUE(Shot("connect_dialog_helper_started"));
  PostMessageA(helper, WM_CLOSE, 0, 0);
  guitest::Click(Centre(GetDlgItem(box, 300)));  // "Yes"
  DWORD code = 1;
  EXPECT_TRUE(guitest::WaitForProgramEnd(&program_, 15000, &code));
  EXPECT_EQ(code, 0u);
  frame_ = nullptr;
}

TEST_F(OnlineRoomProgram, TheLiveWindowShowsItsBoardAndMenus) {
  ASSERT_TRUE(Start("rw_e2e_online_room"));
  RECT board{};
  GetWindowRect(board_, &board);
  EXPECT_GT(board.right - board.left, 200);
  EXPECT_GT(board.bottom - board.top, 200);
  EXPECT_TRUE(Shot("online_room"));

  HWND dialog = ProgramDialog(program_, "Create Rookwell Live Session");
  ASSERT_NE(dialog, nullptr);
  // The Actions menu with no game: every game request greyed.
  guitest::Chord({VK_MENU}, 'A');
  guitest::Pump(600);
  EXPECT_TRUE(Shot("online_room_actions_menu"));
  EXPECT_TRUE(IsWindowVisible(dialog)) << "menu open";
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);
  EXPECT_TRUE(IsWindowVisible(dialog)) << "first escape";
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);
  EXPECT_TRUE(IsWindowVisible(dialog)) << "second escape";
  guitest::Chord({VK_MENU}, 'O');
  guitest::Pump(600);
  EXPECT_TRUE(Shot("online_room_online_menu"));
  guitest::PressKey(VK_ESCAPE);
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);

  // Leaving for the game room and coming back: no game holds the room.
  guitest::Chord({VK_MENU}, '1');
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindowVisible(board_); }, 5000));
  guitest::Pump(500);
  guitest::Chord({VK_MENU}, '7');
  ASSERT_TRUE(guitest::WaitFor([&] { return VisibleBoard() == board_; }, 5000));
  guitest::Pump(500);
  EXPECT_TRUE(Shot("online_room_again"));
}
