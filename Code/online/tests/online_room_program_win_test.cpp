// The online room in Rookwell.exe from a fresh install, driven through the
// system's input queue: the live window with its board and wallpaper, the
// live menu with no game, its context menu, and leaving and entering the
// room again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
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
  bool Start(const char* name) {
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

TEST_F(OnlineRoomProgram, TheLiveWindowShowsItsBoardMenuAndContextMenu) {
  ASSERT_TRUE(Start("rw_e2e_online_room"));
  RECT board{}, room{};
  GetWindowRect(board_, &board);
  GetWindowRect(room_, &room);
  EXPECT_GT(board.right - board.left, 200);
  EXPECT_GT(board.bottom - board.top, 200);
  EXPECT_TRUE(Shot("online_room"));

  // The Actions menu with no game: every game request greyed.
  guitest::Chord({VK_MENU}, 'A');
  guitest::Pump(600);
  EXPECT_TRUE(Shot("online_room_actions_menu"));
  guitest::PressKey(VK_ESCAPE);
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);
  guitest::Chord({VK_MENU}, 'O');
  guitest::Pump(600);
  EXPECT_TRUE(Shot("online_room_online_menu"));
  guitest::PressKey(VK_ESCAPE);
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);

  // The context menu off the board, at the click.
  POINT beside{room.right - 40, room.bottom - 40};
  guitest::Click(beside, true);
  guitest::Pump(600);
  HWND popup = FindWindowA("#32768", nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(IsWindowVisible(popup));
  RECT menu{};
  GetWindowRect(popup, &menu);
  EXPECT_LE(std::abs(menu.left - beside.x), 2);
  EXPECT_TRUE(Shot("online_room_context_menu"));
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
