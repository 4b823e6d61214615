// The main menu's commands on screen: the program's main frame with its
// menu bar, driven by keys as a user would; numbered windows toggled with
// their checks, the notation items, a layout loaded and the backup loaded
// back through the program's own file dialog, the about box, and the
// clipboard's texts read back from the system clipboard.
// The rules' headers first: windows.h defines names such as LANG_ENGLISH.
#include "game_record.h"
#include "game_registry.h"
#include "notation.h"
#include "packfile.h"
#include "room_records.h"

#include <windows.h>
// The shell names its own user; not the system's account call.
#undef GetUserName
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "app_globals.h"
#include "debug_window.h"
#include "facet_frame.h"
#include "frame_links.h"
#include "game_record.h"
#include "game_registry.h"
#include "guitest.h"
#include "heapkit.h"
#include "layout_file.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "menu_commands.h"
#include "menu_commands_win32.h"
#include "notation.h"
#include "shell_hosts.h"
#include "shell_services.h"
#include "user_file.h"
#include "users.h"
#include "window_table.h"
#include "window_table_win32.h"

namespace {

std::string g_folder;

std::string Windows(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}
bool Shot(const char* name) { return guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, name); }

int MenuState(HWND frame, int id) {
  MENUITEMINFOA info{};
  info.cbSize = 44;  // the toolkit's own item record (the 32-bit system layout)
  info.fMask = MIIM_STATE;
  if (!cmGetMenuItemInfo(cmGetMenu(frame), UINT(id), FALSE, &info)) return -1;
  return int(info.fState & 0x0B);
}

std::string Mark(const std::string& file) {
  char text[32] = "";
  GetPrivateProfileStringA("test", "mark", "", text, sizeof text, file.c_str());
  return text;
}

void Type(const char* text) {
  for (const char* c = text; *c; ++c) {
    const SHORT vk = VkKeyScanA(*c);
    if (vk & 0x100)
      guitest::Chord({VK_SHIFT}, LOBYTE(vk));
    else
      guitest::PressKey(LOBYTE(vk));
  }
}

HWND VisibleWindow(const char* className, const char* title) {
  HWND w = FindWindowA(className, title);
  while (w && !IsWindowVisible(w)) w = FindWindowExA(nullptr, w, className, title);
  return w;
}

HWND WaitWindow(const char* className, const char* title, DWORD ms = 4000) {
  HWND w = nullptr;
  const DWORD end = GetTickCount() + ms;
  while (!(w = VisibleWindow(className, title)) && GetTickCount() < end) Sleep(50);
  return w;
}

std::string ClipboardText(HWND owner) {
  std::string text;
  if (!OpenClipboard(owner)) return "(not opened)";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) text = p;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void ClickAt(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// Double-clicks the file list's entry that names `name`.
bool DoubleClickEntry(HWND list, const char* name) {
  const int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[MAX_PATH] = "";
    SendMessageA(list, LB_GETTEXT, i, LPARAM(text));
    if (!std::strstr(text, name)) continue;
    RECT r;
    SendMessageA(list, LB_GETITEMRECT, i, LPARAM(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    guitest::Click(p);
    guitest::Click(p);
    return true;
  }
  return false;
}

// A script that lost its way ends the dialog it left open.
void CloseAnyDialog() {
  for (int i = 0; i < 3; ++i) guitest::PressKey(VK_ESCAPE);
}

class Menus : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + "rw_menus_win";
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CopyFileA(Windows(RW_PROGDATA_DIR "/rwonyx.ttf").c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    CreateAppPalette();
    ASSERT_NE(InitLookAndFeel(), nullptr);
    ASSERT_EQ(RegisterMainFrameClass(), 1);
  }
  static void TearDownTestSuite() {
    UnregisterMainFrameClass();
    FreeLookAndFeel(nullptr);
  }

  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    program_ = g_folder + "\\" + test->name();
    if (GetFileAttributesA(program_.c_str()) != INVALID_FILE_ATTRIBUTES)
      system(("cmd /c rmdir /s /q \"" + program_ + "\"").c_str());
    CreateDirectoryA(program_.c_str(), nullptr);
    CreateDirectoryA((program_ + "\\Layouts").c_str(), nullptr);
    CopyFileA(Windows(RW_PROGDATA_DIR "/RWDEFAULT.INI").c_str(), (program_ + "\\RWDEFAULT.INI").c_str(), FALSE);
    for (const char* layout : {"Default(800x600).LAY", "Default(1024x768).LAY", "Default(1280x1024).LAY"})
      CopyFileA(Windows(std::string(RW_PROGDATA_DIR "/Layouts/") + layout).c_str(),
                (program_ + "\\Layouts\\" + layout).c_str(), FALSE);
    ASSERT_EQ(CreateAppGlobals(), 1);
    SetAppModulePath((program_ + "\\Rookwell.exe").c_str());
    InitAppPaths(GetAppGlobals());
    AppGlobals* g = GetAppGlobals();
    g->currentUser = static_cast<UserProfile*>(memAlloc_rel(sizeof(UserProfile), 66));
    std::memset(g->currentUser, 0, sizeof(UserProfile));
    ASSERT_EQ(SetUpNewUser("Tess", nullptr, nullptr, nullptr), 1);
    ASSERT_EQ(SwitchUser("Tess", nullptr), 1);

    InitWindowTable();
    InstallSystemWindowTable();
    GetFrameLinks().mainMenuCommand = [](HWND w, int id) { return Services().mainMenuCommand(w, id); };
    InstallMenuCommands();
    InstallShellHosts();
    InstallDebugMonitors();
    frame_ = CreateMainFrame();
    ASSERT_NE(frame_, nullptr);
    NumberedWindowOp(WOP_SET_HANDLE, WIN_MAIN_FRAME, reinterpret_cast<intptr_t>(frame_));
    ApplyRoomLayout(1);
    ShowWindow(frame_, SW_SHOW);
    SetForegroundWindow(frame_);
    guitest::Pump(300);
  }
  void TearDown() override {
    DestroyEngineMonitors();
    if (frame_) DestroyMainFrame();
    RemoveShellHosts();
    for (HWND w : panels_) DestroyWindow(w);
    RemoveMenuCommands();
    DestroyAllGames();
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

  // A stand-in panel registered as numbered window `id`, hidden.
  HWND Panel(int id) {
    HWND w = guitest::CreateTestWindow(RECT{600, 100 + 30 * id, 760, 180 + 30 * id}, nullptr, WS_POPUP);
    panels_.push_back(w);
    NumberedWindowOp(WOP_SET_HANDLE, id, reinterpret_cast<intptr_t>(w));
    return w;
  }

  // Keys typed on another thread while this one runs the program's loop
  // (modal dialogs included) until the script ends.
  void Drive(const std::function<void()>& script, DWORD timeoutMs = 20000) {
    std::atomic<bool> done{false};
    std::thread driver([&] {
      script();
      done = true;
    });
    guitest::WaitFor([&] { return done.load(); }, timeoutMs);
    driver.join();
    guitest::Pump(200);
  }
  // A menu item by its menu's and its own mnemonics (Alt+menu, then keys).
  void Choose(WORD menu, std::initializer_list<WORD> keys) {
    SetForegroundWindow(frame_);
    guitest::Chord({VK_MENU}, menu);
    Sleep(250);
    for (WORD k : keys) {
      guitest::PressKey(k);
      Sleep(250);
    }
  }

  std::string program_;
  HWND frame_ = nullptr;
  std::vector<HWND> panels_;
};

TEST_F(Menus, WindowItemsToggleTheirPanelsAndChecks) {
  HWND status = Panel(WIN_GAME_STATUS);
  Drive([&] { Choose('W', {'G'}); });  // "&Windows/&Game Status"
  EXPECT_TRUE(IsWindowVisible(status));
  EXPECT_EQ(MenuState(frame_, 40088), kMenuChecked);
  // Visual Thinking (9) was never created: nothing, not even the check.
  Drive([&] { Choose('W', {'V'}); });
  EXPECT_EQ(MenuState(frame_, 32), 0);
  // The menu open for the picture, with Game Status checked.
  Drive([&] {
    Choose('W', {});
    Sleep(400);
    Shot("menus_windows_open");
    guitest::PressKey(VK_ESCAPE);
    guitest::PressKey(VK_ESCAPE);
  });
  Drive([&] { Choose('W', {'G'}); });
  EXPECT_FALSE(IsWindowVisible(status));
  EXPECT_EQ(MenuState(frame_, 40088), 0);
  // Ids of no command answer 0 and change nothing.
  for (int id : {40007, 40014, 40208, 99})
    EXPECT_EQ(Services().mainMenuCommand(frame_, id), 0) << id;
  EXPECT_EQ(Services().mainMenuCommand(frame_, 40088), 1);
  EXPECT_TRUE(IsWindowVisible(status));
}

TEST_F(Menus, NotationItemsCheckExactlyOne) {
  for (WORD key : {'D', 'C', 'A'}) {
    Drive([&] { Choose('P', {'N', key}); });  // "&Preferences/&Notation/..."
    const int expected = key == 'D' ? 40154 : key == 'C' ? 40156 : 40153;
    EXPECT_EQ(GetNotationStyle(), expected - kNotationFirst);
    for (int id = kNotationFirst; id < kNotationFirst + kNotationCount; ++id)
      EXPECT_EQ(MenuState(frame_, id), id == expected ? kMenuChecked : 0) << key << " " << id;
  }
  Drive([&] {
    Choose('P', {'N'});
    Sleep(400);
    Shot("menus_notation_open");
    guitest::PressKey(VK_ESCAPE);
    guitest::PressKey(VK_ESCAPE);
    guitest::PressKey(VK_ESCAPE);
  });
}

TEST_F(Menus, LoadingALayoutKeepsThePreviousInTheBackup) {
  char path[MAX_PATH];
  const std::string current = GetCurrentLayoutPath(path);
  const std::string backup = GetBackupLayoutPath(path);
  ASSERT_NE(GetFileAttributesA(current.c_str()), INVALID_FILE_ATTRIBUTES) << current;
  WritePrivateProfileStringA("test", "mark", "mine", current.c_str());
  const std::string other = program_ + "\\Layouts\\Other.LAY";
  CopyFileA(current.c_str(), other.c_str(), FALSE);
  WritePrivateProfileStringA("test", "mark", "other", other.c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, other.c_str());

  // "&Preferences/&Layouts/&Load...", the file typed in the dialog.
  Drive([&] {
    Choose('P', {'L', 'L'});
    HWND dialog = WaitWindow(nullptr, "File Open");
    if (!dialog) return CloseAnyDialog();
    Sleep(300);
    Shot("menus_layout_open");
    ClickAt(GetDlgItem(dialog, 406));
    Type("Other.LAY");
    guitest::PressKey(VK_RETURN);
  });
  EXPECT_EQ(Mark(current), "other");
  EXPECT_EQ(Mark(backup), "mine");
  EXPECT_EQ(std::string(GetLayoutName()), other);

  // The backup loaded back: up from the layouts, into Users and Tess.
  Drive([&] {
    Choose('P', {'L', 'L'});
    HWND dialog = WaitWindow(nullptr, "File Open");
    if (!dialog) return CloseAnyDialog();
    Sleep(300);
    ClickAt(GetDlgItem(dialog, 403));  // up, to the program folder
    Sleep(400);
    for (const char* folder : {"Users", "Tess"}) {
      if (!DoubleClickEntry(GetDlgItem(dialog, 405), folder)) return CloseAnyDialog();
      Sleep(400);
    }
    ClickAt(GetDlgItem(dialog, 406));
    Type("backup.lay");
    guitest::PressKey(VK_RETURN);
  });
  EXPECT_EQ(Mark(current), "mine");
  EXPECT_EQ(Mark(backup), "other");
}

// The colour of the about box's picture panel at a point of its client area.
COLORREF ClientPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

TEST_F(Menus, AboutBoxOpensFromTheHelpMenu) {
  for (const char* file : {"about.idx", "about.dat"})
    ASSERT_TRUE(CopyFileA(Windows(std::string(RW_PACKS_DIR "/") + file).c_str(), (program_ + "\\" + file).c_str(),
                          FALSE))
        << file;
  DatIndex* pack = datLoadFileIndex((std::string(GetProgramFolder()) + "\\about.idx").c_str());
  ASSERT_NE(pack, nullptr) << GetProgramFolder();
  EXPECT_GE(pack->count, 9);
  datUnloadFileIndex(pack);
  std::string version;
  bool rose = false, onyxFirst = false, staffShown = false;
  Drive([&] {
    Choose('H', {'A'});  // "&Help/&About Rookwell Onyx"
    HWND box = WaitWindow(nullptr, "About Rookwell Onyx");
    if (!box) return;
    Sleep(1200);
    char text[64] = "";
    GetDlgItemTextA(box, 705, text, sizeof text);
    version = text;
    Shot("menus_about_box");
    // The program's box comes first: its dark front.
    const COLORREF front = ClientPixel(box, 60, 250);
    onyxFirst = GetRValue(front) < 60 && GetBValue(front) < 70;
    // The text rises: the panel changes between two looks.
    RECT r;
    GetWindowRect(box, &r);
    COLORREF before[150];
    for (int i = 0; i < 150; ++i) before[i] = ClientPixel(box, 370, 60 + 2 * i);
    Sleep(700);
    for (int i = 0; i < 150 && !rose; ++i) rose = ClientPixel(box, 370, 60 + 2 * i) != before[i];
    // Four right-clicks on the box picture (at 10, 10) in order: the staff page.
    for (POINT at : {POINT{78, 88}, POINT{105, 87}, POINT{96, 109}, POINT{96, 112}}) {
      POINT p{10 + at.x, 10 + at.y};
      ClientToScreen(box, &p);
      guitest::Click(p, true);
      Sleep(150);
    }
    Sleep(2500);
    const COLORREF disc = ClientPixel(box, 60, 182);
    staffShown = GetBValue(disc) > GetRValue(disc) + 30;
    Shot("menus_about_staff");
    HWND credits = GetDlgItem(box, 702);
    GetWindowRect(credits, &r);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    Sleep(3000);
    Shot("menus_about_credits");
    HWND close = GetDlgItem(box, IDOK);
    GetWindowRect(close, &r);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    const DWORD end = GetTickCount() + 3000;
    while (IsWindow(box) && GetTickCount() < end) Sleep(50);
  });
  EXPECT_EQ(version.rfind("Version ", 0), 0u) << version;
  EXPECT_TRUE(rose);
  EXPECT_TRUE(onyxFirst);
  EXPECT_TRUE(staffShown);
  EXPECT_EQ(VisibleWindow(nullptr, "About Rookwell Onyx"), nullptr);

  // Left alone, the picture changes after five seconds.
  bool changed = false;
  Drive([&] {
    Choose('H', {'A'});
    HWND box = WaitWindow(nullptr, "About Rookwell Onyx");
    if (!box) return;
    Sleep(1200);
    COLORREF first[40];
    for (int i = 0; i < 40; ++i) first[i] = ClientPixel(box, 20 + 4 * i, 190);
    Sleep(5000);
    for (int i = 0; i < 40 && !changed; ++i) changed = ClientPixel(box, 20 + 4 * i, 190) != first[i];
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const DWORD end = GetTickCount() + 3000;
    while (IsWindow(box) && GetTickCount() < end) Sleep(50);
  });
  EXPECT_TRUE(changed);
}

TEST_F(Menus, CopiesReadBackFromTheClipboard) {
  SetNotationStyle(0);  // algebraic
  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16, 1, 0);
  ASSERT_NE(game, nullptr);
  ASSERT_EQ(RegisterGame(game, 1), 0);
  for (const char* text : {"e4", "e5", "Nf3"}) {
    MoveRecord move{};
    ASSERT_TRUE(ParseAlgebraicMove(&move, text, &game->position, game->sideToMove)) << text;
    ASSERT_TRUE(AddMoveToGame(game, &move));
  }
  // "&Edit/&Copy/&ASCII Board Position"
  Drive([&] { Choose('E', {'C', 'A'}); });
  const std::string board = ClipboardText(frame_);
  EXPECT_EQ(board.substr(0, 34), "BR  BN  BB  BQ  BK  BB  BN  BR  \r\n") << board;
  EXPECT_NE(board.find("WP  WP  WP  WP  --  WP  WP  WP  \r\n"), std::string::npos) << board;
  // "&Board Position w/ Chess Font": eight lines of eight.
  Drive([&] { Choose('E', {'C', 'B'}); });
  const std::string diagram = ClipboardText(frame_);
  ASSERT_EQ(diagram.size(), 80u);
  EXPECT_EQ(static_cast<unsigned char>(diagram[0]), 167);
  // Move lists without and with tabs.
  Drive([&] { Choose('E', {'C', 'M'}); });
  const std::string plain = ClipboardText(frame_);
  EXPECT_NE(plain.find("  1. e4"), std::string::npos) << plain;
  EXPECT_EQ(plain.find('\t'), std::string::npos);
  Drive([&] { Choose('E', {'C', 'T'}); });  // "Move List (w/ &Tabs)"
  const std::string tabs = ClipboardText(frame_);
  EXPECT_NE(tabs.find("1.\te4\te5\t\r\n2.\t"), std::string::npos) << tabs;
}

std::string EditText(HWND monitor) {
  char text[8192] = "";
  GetDlgItemTextA(monitor, 1851, text, sizeof text);
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(Menus, EngineMonitorsShowPauseLogAndHide) {
  const std::string log = program_ + "\\white.txt";
  WritePrivateProfileStringA("debug", "dbgwnd_logfile", log.c_str(), GetMainIniPath());
  ASSERT_EQ(CreateEngineMonitors(), 1);
  HWND white = static_cast<HWND>(GetNumberedWindow(WIN_WHITE_MONITOR));
  ASSERT_NE(white, nullptr);
  ASSERT_NE(GetNumberedWindow(WIN_BLACK_MONITOR), nullptr);
  EXPECT_FALSE(IsWindowVisible(white));
  EXPECT_NE(EditText(white).find("No Engine Attached"), std::string::npos) << EditText(white);
  char caption[64] = "";
  GetWindowTextA(white, caption, sizeof caption);
  EXPECT_STREQ(caption, "White Engine Monitor");
  // Hidden: printing drops the text.
  DebugWindowPrintf(white, "dropped\n");
  guitest::Pump(200);
  EXPECT_EQ(EditText(white).find("dropped"), std::string::npos);

  // "&Windows/&XBoard Engine Output/&White Monitor" needs a game.
  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16, 1, 0);
  ASSERT_EQ(RegisterGame(game, 1), 0);
  Drive([&] { Choose('W', {'X', 'W'}); });
  EXPECT_TRUE(IsWindowVisible(white));
  EXPECT_EQ(MenuState(frame_, 40065), kMenuChecked);
  SetWindowPos(white, HWND_TOP, 420, 120, 360, 260, SWP_SHOWWINDOW);

  // Control characters in a run make one line break.
  DebugWindowPrintf(white, "abc\n\n\ndef\n");
  guitest::Pump(300);
  EXPECT_TRUE(EndsWith(EditText(white), "-----\r\nabc\r\ndef\r\n")) << EditText(white);

  // Pause from the context menu (right-click in the text): the text stays
  // as it is until the display resumes.
  Drive([&] {
    RECT r;
    GetWindowRect(GetDlgItem(white, 1851), &r);
    guitest::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, true);
    Sleep(400);
    Shot("menus_monitor_menu");
    guitest::PressKey(VK_DOWN);
    guitest::PressKey(VK_DOWN);
    guitest::PressKey(VK_RETURN);
    Sleep(300);
  });
  EXPECT_TRUE(IsWindowVisible(white));
  const std::string frozen = EditText(white);
  DebugWindowPrintf(white, "while %s\r\n", "paused");
  guitest::Pump(300);
  EXPECT_EQ(EditText(white), frozen);
  SendMessageA(white, WM_COMMAND, 1031, 0);  // "Resume Display"
  guitest::Pump(200);
  EXPECT_TRUE(EndsWith(EditText(white), "def\r\nwhile paused\r\n")) << EditText(white);
  EXPECT_TRUE(IsWindowVisible(white));
  EXPECT_EQ(GetWindow(white, GW_OWNER), frame_);
  guitest::Pump(300);
  {
    RECT wr;
    GetWindowRect(white, &wr);
    POINT c{(wr.left + wr.right) / 2, (wr.top + wr.bottom) / 2};
    HWND top = WindowFromPoint(c);
    EXPECT_TRUE(top == white || IsChild(white, top)) << wr.left << "," << wr.top << "," << wr.right << "," << wr.bottom
                                                      << " top " << top << " frame " << frame_ << " white " << white;
  }
  Shot("menus_white_monitor");

  // The log file took every message in order.
  char text[4096] = "";
  {
    HANDLE f = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD read = 0;
    ReadFile(f, text, sizeof text - 1, &read, nullptr);
    CloseHandle(f);
  }
  EXPECT_TRUE(EndsWith(text, "No Engine Attached\r\n-----\r\n\r\nabc\r\ndef\r\n\r\nwhile paused\r\n")) << text;

  // The close box only hides it and unchecks its item.
  SendMessageA(white, WM_SYSCOMMAND, SC_CLOSE, 0);
  guitest::Pump(200);
  EXPECT_TRUE(IsWindow(white));
  EXPECT_FALSE(IsWindowVisible(white));
  EXPECT_EQ(MenuState(frame_, 40065), 0);
}

TEST_F(Menus, HelpContentsOpenTheProgramHelp) {
  CopyFileA(Windows(RW_HELP_DIR "/RWONYX.chm").c_str(), (program_ + "\\RWONYX.chm").c_str(), FALSE);
  HWND help = nullptr;
  Drive([&] {
    Choose('H', {'C'});  // "&Help/&Contents"
    help = WaitWindow("HH Parent", nullptr, 8000);
    Sleep(1500);
    Shot("menus_help_contents");
    if (help) PostMessageA(help, WM_CLOSE, 0, 0);
  });
  EXPECT_NE(help, nullptr);
  // Without the file the user is told which one is missing.
  DeleteFileA((program_ + "\\RWONYX.chm").c_str());
  std::string said;
  ShellServices s = GetShellServices();
  static std::string* g_said;
  g_said = &said;
  s.appMessageBoxOwned = [](const char* text, uint32_t, void*) {
    *g_said = text;
    return 1;
  };
  SetShellServices(s);
  EXPECT_EQ(Services().mainMenuCommand(frame_, 40), 1);
  EXPECT_NE(said.find("RWONYX.chm could not be opened"), std::string::npos) << said;
}

TEST_F(Menus, PictureCopyAndATooLargeMoveList) {
  // A room window of client 641 x 505 over a room with a board.
  // A child of the frame, as the program's room window is, painted green.
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(40, 120, 60));
  wc.lpszClassName = "RWMenusTestRoom";
  RegisterClassA(&wc);
  HWND room = CreateWindowExA(0, "RWMenusTestRoom", "", WS_CHILD | WS_VISIBLE, 10, 10, 641, 505, frame_, nullptr,
                              wc.hInstance, nullptr);
  ASSERT_NE(room, nullptr);
  panels_.push_back(room);
  NumberedWindowOp(WOP_SET_HANDLE, WIN_ROOM, reinterpret_cast<intptr_t>(room));
  RoomRecord record{};
  RoomBoard board{};
  board.view = reinterpret_cast<BoardView*>(&board);  // only its presence counts here
  record.board = &board;
  GetAppGlobals()->currentRoom = &record;
  guitest::Pump(300);
  Drive([&] { Choose('E', {'C', 'G'}); });  // "&Graphical Window Contents"
  GetAppGlobals()->currentRoom = nullptr;
  ASSERT_TRUE(OpenClipboard(frame_));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_PALETTE));
  HANDLE dib = GetClipboardData(CF_DIB);
  ASSERT_NE(dib, nullptr);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  EXPECT_EQ(header->biWidth, 640);
  EXPECT_EQ(header->biHeight, 480);
  EXPECT_EQ(header->biBitCount, 8);
  // The room's green at the picture's middle.
  const auto* info = reinterpret_cast<const BITMAPINFO*>(header);
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(header) + header->biSize + 256 * sizeof(RGBQUAD);
  const RGBQUAD middle = info->bmiColors[bits[240 * ((640 + 3) / 4 * 4) + 320]];
  EXPECT_GT(middle.rgbGreen, middle.rgbRed + 40);
  GlobalUnlock(dib);
  CloseClipboard();

  // A move list measuring 64 KB or more is refused and the clipboard kept.
  ASSERT_TRUE(OpenClipboard(frame_));
  EmptyClipboard();
  HGLOBAL keep = GlobalAlloc(GMEM_MOVEABLE, 8);
  std::memcpy(GlobalLock(keep), "keep me", 8);
  GlobalUnlock(keep);
  SetClipboardData(CF_TEXT, keep);
  CloseClipboard();
  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 16, 1, 0);
  ASSERT_EQ(RegisterGame(game, 1), 0);
  const std::string words(30000, 'w');
  for (const char* text : {"Nf3", "Nf6", "Ng1"}) {
    MoveRecord move{};
    ASSERT_TRUE(ParseAlgebraicMove(&move, text, &game->position, game->sideToMove)) << text;
    ASSERT_TRUE(AddMoveToGame(game, &move));
    SetMoveString(GetCurrentMove(game), words.c_str(), SLOT_COMMENT);
  }
  static std::string said;
  said.clear();
  ShellServices s = GetShellServices();
  s.appMessageBox = [](const char* text, uint32_t) {
    said = text;
    return 1;
  };
  SetShellServices(s);
  Drive([&] { Choose('E', {'C', 'M'}); });  // "&Move List"
  EXPECT_EQ(said, "The move list is too large for the clipboard.");
  EXPECT_EQ(ClipboardText(frame_), "keep me");
}

}  // namespace
