// Wallpapers and users over Windows: gradient and tiled pictures built for
// a room, the keys read from the settings, the "Select Wallpaper" dialog
// driven as a user would, and new users, switching and storing over a
// temporary program folder.
#include <windows.h>
// The shell names its own user; not the system's account call.
#undef GetUserName
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app_globals.h"
#include "dibkit.h"
#include "file_dialog.h"
#include "frame_links.h"
#include "guitest.h"
#include "heapkit.h"
#include "layout_file.h"
#include "login.h"
#include "login_puzzle.h"
#include "moverecord.h"
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
    // The login puzzle's file lies in the current folder.
    SetCurrentDirectoryA(program_.c_str());
  }
  void TearDown() override {
    StopLoginPuzzleThreads();
    SetLoginPuzzleBoard(nullptr);
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

// "Select Wallpaper" run for the room on a thread of its own, once it is up.
HWND OpenWallpaperDialog(std::thread* runner, RoomRecord* room, INT_PTR* result) {
  *result = -1;
  *runner = std::thread([=] { *result = RunWallpaperDialog(room); });
  HWND dialog = nullptr;
  guitest::WaitFor([&] { return (dialog = FindWindowA(nullptr, "Select Wallpaper")) != nullptr; }, 5000);
  guitest::Pump(300);
  return dialog;
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
  std::thread runner;
  HWND dialog = OpenWallpaperDialog(&runner, &room, &result);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 5284), BST_CHECKED);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "wallpaper_dialog"));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(room.wallpaperBitmap, source);  // not read again

  dialog = OpenWallpaperDialog(&runner, &room, &result);
  ASSERT_NE(dialog, nullptr);
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

// "&Browse..." opens the program's file dialog in the wallpaper folder,
// listing its bitmaps only, and gives the dialog's folder back; "Color
// &1..." opens the colour picker, whose choice fills the top colour's
// edits and the preview.
TEST_F(ShellUsersWin, WallpaperDialogBrowsesForABitmapAndPicksAColour) {
  CloseHandle(CreateFileA((program_ + "\\Wallpaper\\notes.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  SetFileDialogFolder("C:\\");
  RoomRecord room{};
  room.room = ROOM_GAME;
  room.wallpaperIsBitmap = 0;
  room.gradient[0] = 0x000000;
  room.gradient[1] = 0xFFFFFF;
  INT_PTR result = -1;
  std::thread runner;
  HWND dialog = OpenWallpaperDialog(&runner, &room, &result);
  ASSERT_NE(dialog, nullptr);

  ASSERT_TRUE(guitest::ClickItem(dialog, 3));  // "&Browse..."
  HWND files = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (files = FindWindowA(nullptr, "File Open")) != nullptr; }, 5000));
  guitest::Pump(300);
  HWND list = GetDlgItem(files, 405);
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);  // no notes.txt
  char line[MAX_PATH] = "";
  SendMessageA(list, LB_GETTEXT, 0, LPARAM(line));
  EXPECT_STREQ(line, "MarbleGray.bmp");
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, 0, LPARAM(&item));
  POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(list, &at);
  guitest::Click(at);
  guitest::Pump(200);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "wallpaper_browse"));
  ASSERT_TRUE(guitest::ClickItem(files, 401));  // "&Load"
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(files); }, 5000));
  guitest::Pump(200);
  char path[MAX_PATH] = "";
  GetDlgItemTextA(dialog, 5285, path, sizeof path);
  EXPECT_EQ(std::string(path), program_ + "\\Wallpaper\\MarbleGray.bmp");
  EXPECT_STREQ(GetFileDialogFolder(), "C:\\");

  ASSERT_TRUE(guitest::ClickItem(dialog, 5));  // "Color &1..."
  HWND picker = nullptr;
  ASSERT_TRUE(guitest::WaitFor([&] { return (picker = FindWindowA(nullptr, "Select Color")) != nullptr; }, 5000));
  guitest::Pump(300);
  SetDlgItemTextA(picker, 5278, "");
  ASSERT_TRUE(guitest::ClickItem(picker, 5278));  // red
  guitest::TypeText("200");
  guitest::Pump(200);
  ASSERT_TRUE(guitest::ClickItem(picker, IDOK));
  ASSERT_TRUE(guitest::WaitFor([&] { return !IsWindow(picker); }, 5000));
  guitest::Pump(300);
  EXPECT_EQ(GetDlgItemInt(dialog, 5288, nullptr, FALSE), 200u);
  EXPECT_EQ(GetDlgItemInt(dialog, 5290, nullptr, FALSE), 0u);
  // The preview's top row shows the new top colour.
  RECT preview;
  GetWindowRect(GetDlgItem(dialog, 5282), &preview);
  const COLORREF top = guitest::ScreenPixel((preview.left + preview.right) / 2, preview.top + 2);
  EXPECT_NEAR(GetRValue(top), 200, 8);
  EXPECT_LT(GetGValue(top), 16);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "wallpaper_colour_picked"));
  ASSERT_TRUE(guitest::ClickItem(dialog, IDOK));
  runner.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(room.gradient[0], 200u);
  EXPECT_EQ(room.gradient[1], 0xFFFFFFu);
  EXPECT_STREQ(room.wallpaperFile, (program_ + "\\Wallpaper\\MarbleGray.bmp").c_str());
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

void ClickDialogButton(HWND dialog, int id) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, id), &r);
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  guitest::Pump(300);
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
  EXPECT_STREQ(status, "Creating Puzzle...");  // no board to show it on
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

// ---- The login puzzle over a fake board: squares of a fixed size with the
// pieces as letters; a click picks a square, a second one offers the move
// to the owner callback, as the board does (0x8001 with the move).
struct FakeBoard {
  HWND holder = nullptr;
  HWND window = nullptr;
  Board position{};
  int marked[2] = {-1, -1};
  int picked = -1;
  PuzzleBoardCallback callback = nullptr;
  intptr_t data = 0;
};
FakeBoard g_fake;

int SquareSize(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return std::max(1, int(std::min(r.right, r.bottom) / 8));
}

LRESULT CALLBACK FakeBoardProc(HWND window, UINT message, WPARAM first, LPARAM second) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      const int size = SquareSize(window);
      SetBkMode(dc, TRANSPARENT);
      for (int row = 0; row < 8; ++row) {
        for (int file = 0; file < 8; ++file) {
          const int square = row * 16 + file;
          RECT r{file * size, row * size, (file + 1) * size, (row + 1) * size};
          const bool light = (row + file) % 2 == 0;
          HBRUSH brush = CreateSolidBrush(light ? RGB(238, 220, 180) : RGB(150, 110, 70));
          FillRect(dc, &r, brush);
          DeleteObject(brush);
          if (square == g_fake.marked[0] || square == g_fake.marked[1] || square == g_fake.picked) {
            HBRUSH mark = CreateSolidBrush(square == g_fake.picked ? RGB(40, 90, 200) : RGB(200, 30, 30));
            FrameRect(dc, &r, mark);
            InflateRect(&r, -1, -1);
            FrameRect(dc, &r, mark);
            InflateRect(&r, 1, 1);
            DeleteObject(mark);
          }
          const uint8_t piece = g_fake.position[square];
          if (!piece) continue;
          char letter[2] = {"KQRBNP"[piece & TYPE_MASK], 0};
          if ((piece & COLOUR_MASK) == BLACK) letter[0] = char(letter[0] - 'A' + 'a');
          SetTextColor(dc, (piece & COLOUR_MASK) == WHITE ? RGB(255, 255, 255) : RGB(0, 0, 0));
          DrawTextA(dc, letter, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      if (g_fake.callback && g_fake.callback(window, message, first, second, g_fake.data) == 1) return 0;
      const int size = SquareSize(window);
      const int file = short(LOWORD(second)) / size, row = short(HIWORD(second)) / size;
      if (file > 7 || row > 7) return 0;
      const int square = row * 16 + file;
      if (g_fake.picked < 0) {
        g_fake.picked = square;
      } else {
        MoveRecord move{};
        move.from = uint8_t(g_fake.picked);
        move.to = uint8_t(square);
        g_fake.picked = -1;
        if (g_fake.callback) g_fake.callback(window, 0x8001, reinterpret_cast<WPARAM>(&move), 0, g_fake.data);
      }
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
  }
  return DefWindowProcA(window, message, first, second);
}

// Made on the thread that asks, the dialog's.
HWND FakeBoardWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FakeBoardProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "RWFakePuzzleBoard";
    RegisterClassA(&wc);
    registered = true;
  }
  g_fake = FakeBoard{};
  g_fake.holder = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  g_fake.window = CreateWindowExA(0, "RWFakePuzzleBoard", "", WS_CHILD, 0, 0, 160, 160, g_fake.holder, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
  return g_fake.window;
}

const LoginPuzzleBoard kFakeBoard = {
    FakeBoardWindow,
    [](HWND window, const Board* position) {
      g_fake.position = *position;
      InvalidateRect(window, nullptr, FALSE);
    },
    [](HWND window, int from, int to, int on) {
      g_fake.marked[0] = on ? from : -1;
      g_fake.marked[1] = on ? to : -1;
      InvalidateRect(window, nullptr, FALSE);
    },
    [](HWND, PuzzleBoardCallback callback, intptr_t data) {
      g_fake.callback = callback;
      g_fake.data = data;
    },
};

constexpr int kA8 = 0, kH8 = 7, kG6 = 38, kA1 = 112, kA2 = 96, kB1 = 113;

// Black king h8, white king g6, white rook a1: Ra8 is the one mate.
Board OneMate() {
  Board b;
  ClearBoard(&b);
  b[kH8] = BLACK + KING;
  b[BLACK_KING_SQUARE] = kH8;
  b[kG6] = WHITE + KING;
  b[WHITE_KING_SQUARE] = kG6;
  b[kA1] = WHITE + ROOK;
  b[12] = kA1;
  b[13] = kA8;
  return b;
}

std::string PuzzleStatus(HWND login) {
  char text[64] = "";
  GetDlgItemTextA(login, 2205, text, sizeof text);
  return text;
}

POINT SquareCentre(int square) {
  RECT r;
  GetWindowRect(g_fake.window, &r);
  const int size = (r.right - r.left) / 8;
  return POINT{r.left + (square & 7) * size + size / 2, r.top + (square >> 4) * size + size / 2};
}

void PlayOnBoard(int from, int to) {
  guitest::Click(SquareCentre(from));
  guitest::Pump(150);
  guitest::Click(SquareCentre(to));
  guitest::Pump(300);
}

TEST_F(ShellUsersWin, SavedPuzzleShowsAtOnceAndAnswersMoves) {
  ASSERT_TRUE(WritePuzzleFile(program_ + "\\Puzzle.drill", OneMate(), WHITE));
  SetLoginPuzzleBoard(&kFakeBoard);
  INT_PTR result = -1;
  std::thread runner([&] { result = RunLoginDialog(nullptr); });
  HWND login = WaitForWindow("Player Login");
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(PuzzleStatus(login), "White to move. Mate in one.");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(login, 1015)));
  ASSERT_TRUE(IsWindowVisible(g_fake.window));
  EXPECT_EQ(GetParent(g_fake.window), login);
  EXPECT_EQ(std::memcmp(g_fake.position.sq, OneMate().sq, 128), 0);
  // The board lies inside the puzzle's frame, above the status line.
  RECT board, frame, status;
  GetWindowRect(g_fake.window, &board);
  GetWindowRect(GetDlgItem(login, 2206), &frame);
  GetWindowRect(GetDlgItem(login, 2205), &status);
  EXPECT_GE(board.left, frame.left);
  EXPECT_LE(board.right, frame.right);
  EXPECT_LE(board.bottom, status.top);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "login_puzzle"));

  PlayOnBoard(kA1, kA2);  // legal, no mate: taken back
  EXPECT_EQ(PuzzleStatus(login), "Incorrect. Try again.");
  EXPECT_EQ(std::memcmp(g_fake.position.sq, OneMate().sq, 128), 0);
  PlayOnBoard(kA1, kH8);  // no rook move
  EXPECT_EQ(PuzzleStatus(login), "Wrong move.");
  ClickDialogButton(login, 1015);  // "I Give Up"
  EXPECT_EQ(g_fake.marked[0], kA1);
  EXPECT_EQ(g_fake.marked[1], kA8);
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "login_puzzle_give_up"));
  PlayOnBoard(kA1, kA8);
  EXPECT_EQ(PuzzleStatus(login), "Correct!");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(login, 1015)));
  EXPECT_EQ(g_fake.position[kA8], WHITE + ROOK);
  EXPECT_EQ(g_fake.callback, nullptr);  // the board is the puzzle's no more
  EXPECT_TRUE(guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, "login_puzzle_solved"));

  PostMessageA(login, WM_COMMAND, MAKEWPARAM(1639, BN_CLICKED), 0);
  runner.join();
  EXPECT_EQ(result, 1639);
  EXPECT_EQ(g_fake.marked[0], -1);  // the marks went with the dialog
  // The next puzzle is made in the background and saved over the old one.
  Board next{};
  int side = 0;
  EXPECT_TRUE(guitest::WaitFor(
      [&] {
        return ReadPuzzleFile(program_ + "\\Puzzle.drill", &next, &side) &&
               std::memcmp(next.sq, OneMate().sq, 128) != 0;
      },
      30000));
}

TEST_F(ShellUsersWin, DamagedPuzzleFileIsMadeAgain) {
  Board twoMates = OneMate();
  twoMates[kB1] = WHITE + ROOK;
  ASSERT_TRUE(WritePuzzleFile(program_ + "\\Puzzle.drill", twoMates, WHITE));
  INT_PTR result = -1;
  std::thread runner([&] { result = RunLoginDialog(nullptr); });
  HWND login = WaitForWindow("Player Login");
  ASSERT_NE(login, nullptr);
  // No board: the puzzle is made and saved, but the frame stays empty.
  EXPECT_EQ(PuzzleStatus(login), "Creating Puzzle...");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(login, 1015)));
  PostMessageA(login, WM_COMMAND, MAKEWPARAM(1639, BN_CLICKED), 0);
  runner.join();
  Board made{};
  int side = 0;
  EXPECT_TRUE(guitest::WaitFor([&] { return ReadPuzzleFile(program_ + "\\Puzzle.drill", &made, &side); }, 30000));
}

}  // namespace
