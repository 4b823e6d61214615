// Wallpapers and users over Windows: gradient and tiled pictures built for
// a room, the keys read from the settings, the "Select Wallpaper" dialog
// driven as a user would, and new users, switching and storing over a
// temporary program folder.
#include <windows.h>
// The shell names its own user; not the system's account call.
#undef GetUserName
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app_globals.h"
#include "dibkit.h"
#include "frame_links.h"
#include "guitest.h"
#include "heapkit.h"
#include "layout_file.h"
#include "login.h"
#include "look_and_feel.h"
#include "profile.h"
#include "shell_services.h"
#include "user_file.h"
#include "users.h"
#include "wallpaper.h"
#include "win_utils.h"

namespace {

std::string g_folder;
std::vector<int> g_boxes;
std::vector<std::string> g_trace;

std::string Windows(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

int RecordBox(const char* shown, uint32_t, void*) {
  const std::string text = shown;  // the loader's buffer is used again below
  for (int id : {1080, 1083, 1086})
    if (text == LoadOwnString(uint32_t(id))) g_boxes.push_back(id);
  return IDOK;
}
void TraceDatabase(const char* user) { g_trace.push_back(std::string("read ") + user); }
int TraceSaveDatabase(const char* ini) {
  g_trace.push_back(std::string("settings ") + ini);
  return 1;
}
int32_t NoBenchmark(int32_t, char*) { return 1; }

void WriteText(const std::string& path, const char* text) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, text, DWORD(std::strlen(text)), &written, nullptr);
  CloseHandle(f);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ShellUsersWin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_users_win";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CopyFileA(Windows(RW_PROGDATA_DIR "/rwonyx.ttf").c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
  }
  static void TearDownTestSuite() { FreeLookAndFeel(nullptr); }

  void SetUp() override {
    // A fresh program folder: the default settings, the layouts and the
    // wallpaper as the build makes them.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    program_ = g_folder + "\\" + test->name();
    std::string command = "cmd /c rmdir /s /q \"" + program_ + "\"";
    if (Exists(program_)) system(command.c_str());
    CreateDirectoryA(program_.c_str(), nullptr);
    CreateDirectoryA((program_ + "\\Layouts").c_str(), nullptr);
    CreateDirectoryA((program_ + "\\Wallpaper").c_str(), nullptr);
    CopyFileA(Windows(RW_PROGDATA_DIR "/RWDEFAULT.INI").c_str(), (program_ + "\\RWDEFAULT.INI").c_str(),
              FALSE);
    CopyFileA(Windows(RW_PROGDATA_DIR "/Wallpaper/MarbleGray.bmp").c_str(),
              (program_ + "\\Wallpaper\\MarbleGray.bmp").c_str(), FALSE);
    for (const char* layout : {"Default(800x600).LAY", "Default(1024x768).LAY", "Default(1280x1024).LAY"}) {
      CopyFileA(Windows(std::string(RW_PROGDATA_DIR "/Layouts/") + layout).c_str(),
                (program_ + "\\Layouts\\" + layout).c_str(), FALSE);
    }
    ASSERT_EQ(CreateAppGlobals(), 1);
    SetAppModulePath((program_ + "\\Rookwell.exe").c_str());
    InitAppPaths(GetAppGlobals());
    AppGlobals* g = GetAppGlobals();
    g->currentUser = static_cast<UserProfile*>(memAlloc_rel(sizeof(UserProfile), 66));
    std::memset(g->currentUser, 0, sizeof(UserProfile));
    ShellServices s = DefaultShellServices();
    s.appMessageBoxOwned = RecordBox;
    s.loadDatabaseSettings = TraceDatabase;
    s.saveDatabaseSettings = TraceSaveDatabase;
    s.cpuBenchmark = NoBenchmark;
    SetShellServices(s);
    g_boxes.clear();
    g_trace.clear();
  }
  void TearDown() override {
    AppGlobals* g = GetAppGlobals();
    if (g && g->currentUser) {
      FreeUserLists(g->currentUser);
      memFree_rel(g->currentUser);
      g->currentUser = nullptr;
    }
    FreeUserList();
    FreeAppGlobals();
    SetAppModulePath(nullptr);
    SetShellServices(DefaultShellServices());
  }
  std::string Ini() const { return program_ + "\\rw.ini"; }
  std::string program_;
};

uint16_t Pixel16(const PackedDib* dib, int x, int y) {
  return *static_cast<const uint16_t*>(dibGetPixelAddress(dib, x, y));
}

TEST_F(ShellUsersWin, GradientRowsAndTiledPictures) {
  RoomRecord room{};
  room.room = ROOM_GAME;
  room.gradient[0] = 0;
  room.gradient[1] = 0xFFFFFF;
  RECT four{0, 0, 5, 4};
  PackedDib* dib = BuildWallpaperBitmap(&room, &four);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->biBitCount, 16);
  const int channel[4] = {0x00, 0x3F, 0x7F, 0xBF};
  for (int y = 0; y < 4; ++y) {
    const int c = channel[y] >> 3;
    EXPECT_EQ(Pixel16(dib, 4, y), uint16_t(c << 10 | c << 5 | c)) << y;
  }
  dibDelete(dib);

  // The keys: a missing file gives one pixel, tiled; "Bitmap" is no bitmap;
  // the defaults are the room's own picture and black over white.
  WriteText(Ini(),
            "[gameroom]\r\nWallpaperType=bitmap\r\nWallpaperFile=C:\\nowhere\\none.bmp\r\n"
            "[kidsroom]\r\nWallpaperType=Bitmap\r\n[classroom]\r\nWallpaperType=gradient\r\n");
  ASSERT_EQ(LoadWallpaper(kDefaultWallpaperFile, &room), 1);
  EXPECT_EQ(room.wallpaperIsBitmap, 1);
  EXPECT_EQ(room.wallpaperBitmap->biWidth, 1);
  RECT six{0, 0, 6, 3};
  dib = BuildWallpaperBitmap(&room, &six);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->biBitCount, 8);
  EXPECT_EQ(dib->biWidth, 6);
  dibDelete(dib);

  RoomRecord kids{};
  kids.room = ROOM_KIDS;
  LoadWallpaper(kDefaultWallpaperFile, &kids);
  EXPECT_EQ(kids.wallpaperIsBitmap, 0);
  RoomRecord classroom{};
  classroom.room = ROOM_CLASS;
  LoadWallpaper(kDefaultWallpaperFile, &classroom);
  EXPECT_EQ(classroom.gradient[0], 0u);
  EXPECT_EQ(classroom.gradient[1], 0xFFFFFFu);
  RoomRecord library{};
  library.room = ROOM_LIBRARY;
  LoadWallpaper(kDefaultWallpaperFile, &library);
  EXPECT_EQ(library.wallpaperIsBitmap, 1);
  EXPECT_STREQ(library.wallpaperFile, (program_ + "\\Wallpaper\\MarbleGray.bmp").c_str());
  ASSERT_NE(library.wallpaperBitmap, nullptr);
  EXPECT_GT(library.wallpaperBitmap->biWidth, 1);  // the real picture

  // Both on screen, side by side, as a room shows them.
  static PackedDib* shown[2];
  RECT half{0, 0, 400, 400};
  shown[0] = BuildWallpaperBitmap(&library, &half);
  classroom.gradient[0] = 0x603010;
  classroom.gradient[1] = 0xF0E0C0;
  shown[1] = BuildWallpaperBitmap(&classroom, &half);
  ASSERT_NE(shown[0], nullptr);
  ASSERT_NE(shown[1], nullptr);
  HWND windows[2];
  for (int i = 0; i < 2; ++i) {
    windows[i] =
        guitest::CreateTestWindow(RECT{20 + 420 * i, 20, 420 + 420 * i, 420},
                                  [i](HWND, UINT message, WPARAM first, LPARAM, bool* handled) -> LRESULT {
                                    if (message != WM_ERASEBKGND) return 0;
                                    PaintWallpaper(reinterpret_cast<HDC>(first), shown[i]);
                                    *handled = true;
                                    return 1;
                                  });
  }
  guitest::Pump(400);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "wallpaper_marble_and_gradient"));
  for (HWND w : windows) DestroyWindow(w);
  for (PackedDib*& d : shown) dibDelete(d), d = nullptr;
  for (RoomRecord* r : {&room, &kids, &classroom, &library}) dibDelete(r->wallpaperBitmap);
}

TEST_F(ShellUsersWin, WallpaperDialogEditsColoursAndKeepsTheFileWhenNothingChanged) {
  RoomRecord room{};
  room.room = ROOM_GAME;
  room.wallpaperIsBitmap = 1;
  std::strcpy(room.wallpaperFile, (program_ + "\\Wallpaper\\MarbleGray.bmp").c_str());
  room.wallpaperBitmap = dibReadFile(room.wallpaperFile);
  room.gradient[1] = 0xFFFFFF;
  ASSERT_NE(room.wallpaperBitmap, nullptr);
  PackedDib* source = room.wallpaperBitmap;

  INT_PTR result = -1;
  std::thread runner([&] { result = RunWallpaperDialog(&room); });
  HWND dialog = nullptr;
  guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Select Wallpaper")) != nullptr; }, 5000);
  ASSERT_NE(dialog, nullptr);
  guitest::Pump(300);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 5284), BST_CHECKED);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "wallpaper_dialog"));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(room.wallpaperBitmap, source);  // not read again

  runner = std::thread([&] { result = RunWallpaperDialog(&room); });
  guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Select Wallpaper")) != nullptr; }, 5000);
  guitest::Pump(200);
  SetDlgItemTextA(dialog, 5288, "300");  // top red
  SetDlgItemTextA(dialog, 5291, "128");  // bottom green
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(5283, BN_CLICKED), 0);
  CheckRadioButton(dialog, 5283, 5284, 5283);
  guitest::Pump(300);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "wallpaper_dialog_gradient"));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(room.gradient[0], 44u);
  EXPECT_EQ(room.gradient[1], 0xFF80FFu);
  EXPECT_EQ(room.wallpaperIsBitmap, 0);
  EXPECT_NE(room.wallpaperBitmap, nullptr);
  EXPECT_EQ(room.wallpaperBitmap->biWidth, 1);
  dibDelete(room.wallpaperBitmap);
}

TEST_F(ShellUsersWin, NewUsersTheirFilesAndRefusals) {
  ASSERT_EQ(SetUpNewUser("  Ann  ", nullptr, nullptr, nullptr), 1);
  const std::string ann = program_ + "\\Users\\Ann";
  for (const char* file : {"\\Ann.usr", "\\Ann.ini", "\\Ann.lay", "\\Adjourned Games"})
    EXPECT_TRUE(Exists(ann + file)) << file;
  HANDLE f = CreateFileA((ann + "\\Ann.usr").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         0, nullptr);
  EXPECT_EQ(GetFileSize(f, nullptr), 4380u);
  CloseHandle(f);
  char value[64];
  ProfileReadString("tournamentroom", "white_player_name", "", value, sizeof value,
                    (ann + "\\Ann.ini").c_str());
  EXPECT_STREQ(value, "Ann");
  ProfileReadString("databaseroom", "white_player_name", "", value, sizeof value,
                    (ann + "\\Ann.ini").c_str());
  EXPECT_STRNE(value, "Ann");

  EXPECT_EQ(SetUpNewUser("ANN", nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(SetUpNewUser("a|b", nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(SetUpNewUser("   ", nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(g_boxes, (std::vector<int>{1080, 1086, 1083}));
  EXPECT_EQ(FindUser("ann"), 1);
}

TEST_F(ShellUsersWin, SwitchingStoresTheFirstUserBeforeReadingTheNext) {
  ASSERT_EQ(SetUpNewUser("Ann", nullptr, nullptr, nullptr), 1);
  ASSERT_EQ(SetUpNewUser("Bob", nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(SwitchUser("..\\x", nullptr), 0);
  EXPECT_STREQ(GetUserName(), "");
  ASSERT_EQ(SwitchUser("Ann", nullptr), 1);
  EXPECT_STREQ(GetUserName(), "Ann");
  EXPECT_EQ(GetUserRecord()->baseRating, 1600);
  EXPECT_EQ(std::string(GetSettingsIniPath()), program_ + "\\Users\\Ann\\Ann.ini");
  GetUserRecord()->baseRating = 1750;

  g_trace.clear();
  ASSERT_EQ(SwitchUser("Bob", nullptr), 1);
  ASSERT_GE(g_trace.size(), 2u);
  EXPECT_EQ(g_trace.front(), "settings " + program_ + "\\Users\\Ann\\Ann.ini");
  EXPECT_EQ(g_trace.back(), "read Bob");
  EXPECT_STREQ(GetUserName(), "Bob");
  char last[64];
  ProfileReadString("lookandfeel", "LastUser", "", last, sizeof last, Ini().c_str());
  EXPECT_STREQ(last, "Ann");
  UserProfile annBack{};
  EXPECT_EQ(ReadUserFile("Ann", &annBack), 0);
  EXPECT_EQ(annBack.baseRating, 1750);

  // Bob's record cannot be written: no switch happens.
  const std::string bob = program_ + "\\Users\\Bob\\Bob.usr";
  SetFileAttributesA(bob.c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA((bob + ".tmp").c_str(), nullptr);
  EXPECT_EQ(SwitchUser("Ann", nullptr), 0);
  EXPECT_STREQ(GetUserName(), "Bob");
  RemoveDirectoryA((bob + ".tmp").c_str());
  SetFileAttributesA(bob.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(StoreUserOnExit(nullptr), 1);
  EXPECT_STREQ(GetUserName(), "");
  EXPECT_EQ(StoreUserOnExit(nullptr), 0);
}

HWND WaitForWindow(const char* caption) {
  HWND found = nullptr;
  guitest::WaitFor(
      [&] { return (found = FindWindowA(nullptr, caption)) != nullptr && IsWindowVisible(found); }, 5000);
  guitest::Pump(300);
  return found;
}

TEST_F(ShellUsersWin, LoginFromNoUsersThroughANewPlayer) {
  INT_PTR result = -1;
  std::thread runner([&] { result = RunLoginDialog(nullptr); });
  HWND login = WaitForWindow("Player Login");
  ASSERT_NE(login, nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(login, 1014)));  // nobody to log in
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(login, 1639)));   // Quit, not Cancel
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(login, 1002)));
  char status[64];
  GetDlgItemTextA(login, 2205, status, sizeof status);
  EXPECT_STREQ(status, "Creating Puzzle...");
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "login_no_players"));

  PostMessageA(login, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
  HWND create = WaitForWindow("Create New Player");
  ASSERT_NE(create, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(create, 1000), BST_CHECKED);
  SetDlgItemTextA(create, 1015, "Ann");
  guitest::Pump(100);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "login_create_player"));
  PostMessageA(create, WM_COMMAND, MAKEWPARAM(1010, BN_CLICKED), 0);
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(GetUserName(), "Ann");
  EXPECT_TRUE(Exists(program_ + "\\Users\\Ann\\Ann.lay"));

  // Logged in: Cancel instead of Quit, Ann selected; deleting her is refused.
  ASSERT_EQ(SetUpNewUser("Zed", nullptr, nullptr, nullptr), 1);
  runner = std::thread([&] { result = RunLoginDialog(nullptr); });
  login = WaitForWindow("Player Login");
  ASSERT_NE(login, nullptr);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(login, 1002)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(login, 1639)));
  EXPECT_EQ(SendDlgItemMessageA(login, 1009, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendDlgItemMessageA(login, 1009, LB_GETCURSEL, 0, 0), 0);  // "Ann" before "Zed"
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "login_two_players"));
  g_boxes.clear();
  SendMessageA(login, WM_COMMAND, MAKEWPARAM(1008, BN_CLICKED), 0);
  EXPECT_TRUE(Exists(program_ + "\\Users\\Ann\\Ann.usr"));
  PostMessageA(login, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
  runner.join();
  EXPECT_EQ(result, 1002);
}

}  // namespace
