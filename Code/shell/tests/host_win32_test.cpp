// The shell's start-up under Wine, in the program's order, over the
// program's own resource object and a program folder made of what the build
// writes (packs, resource library, font, rw.ini, animated cursors): the
// parts joined by ConnectShellParts, the splash, the skinned frame with its
// menu bar, an open popup and the status line, then the main loop running
// the queues until the frame closes, and the shut-down.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app_globals.h"
#include "callback_queue.h"
#include "cursor_set.h"
#include "data_sets.h"
#include "frame_links.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "main_frame.h"
#include "main_loop.h"
#include "shell_connect.h"
#include "shell_services.h"
#include "splash.h"
#include "status_line.h"

namespace {

std::string Windows(std::string path) {
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  return path;
}

const std::string kProgdata = Windows(RW_HOST_PROGDATA);
const std::string kPacks = Windows(RW_HOST_PACKS);
const std::string kBin = Windows(RW_HOST_BIN);

// What the program-wide message box was asked to show.
std::vector<std::string> g_boxes;
int CountingBox(const char* text, uint32_t) {
  g_boxes.push_back(text ? text : "");
  return IDOK;
}
int CountingBoxOwned(const char* text, uint32_t flags, void*) { return CountingBox(text, flags); }

// The room window standing in is the game room's, so the status line has
// its three parts.
int GameRoom() { return 1; }

void WatchBoxes() {
  g_boxes.clear();
  ShellServices s = DefaultShellServices();
  s.appMessageBox = CountingBox;
  s.appMessageBoxOwned = CountingBoxOwned;
  s.getCurrentRoom = GameRoom;
  SetShellServices(s);
}

bool Copy(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

// A program folder as the installer lays it out, with what start-up reads.
std::string MakeProgramFolder(const char* leaf) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  const std::string folder = std::string(base) + leaf;
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* pack : {"rwsets", "faces"})
    for (const char* ext : {".idx", ".dat"})
      EXPECT_TRUE(Copy(kPacks + "\\" + pack + ext, folder + "\\" + pack + ext)) << pack << ext;
  EXPECT_TRUE(Copy(kBin + "\\RW256.dll", folder + "\\RW256.dll"));
  EXPECT_TRUE(Copy(kProgdata + "\\rwonyx.ttf", folder + "\\" + kProgramFontFile));
  EXPECT_TRUE(Copy(kProgdata + "\\rw.ini", folder + "\\rw.ini"));
  WIN32_FIND_DATAA found;
  const std::string aniFolder = kProgdata + "\\cursors\\ani\\";
  HANDLE h = FindFirstFileA((aniFolder + "*.ani").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do Copy(aniFolder + found.cFileName, folder + "\\" + found.cFileName);
    while (FindNextFileA(h, &found));
    FindClose(h);
  }
  return folder;
}

bool WaitForSplashThreadEnd(DWORD ms) {
  HANDLE t = OpenThread(SYNCHRONIZE, FALSE, SplashThreadId());
  if (!t) return true;
  const DWORD start = GetTickCount();
  bool ended = false;
  while (!(ended = WaitForSingleObject(t, 0) == WAIT_OBJECT_0) && GetTickCount() - start < ms)
    guitest::Pump(10);
  CloseHandle(t);
  return ended;
}

// The room window standing in over the frame's client area: the skin's
// client background.
LRESULT CALLBACK RoomStandIn(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m != WM_ERASEBKGND) return DefWindowProcA(w, m, wp, lp);
  HDC dc = HDC(wp);
  HPALETTE old = SelectPalette(dc, GetAppPalette(), FALSE);
  RealizePalette(dc);
  RECT r;
  GetClientRect(w, &r);
  TileBitmap(dc, cwGetDefaultData()->sizable.Piece(FW_BACKGROUND), &r);
  SelectPalette(dc, old, FALSE);
  return 1;
}

// A queue-0 callback of the kind the program's games and engines leave:
// after a few passes of the loop it closes the frame the way shut-down does.
int g_passes = 0;
uint32_t CloseAfterPasses(void*) {
  if (++g_passes < 5) return 0;
  PostMessageA(GetMainFrame(), WM_CLOSE, 0, 1);
  return 1;
}

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, name); }

TEST(Host, StartUpRunsThePartsInTheProgramsOrder) {
  const std::string folder = MakeProgramFolder("rw_host");
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(folder.c_str());  // the animated cursors are read from here
  ConnectShellParts(GetModuleHandleA(nullptr));
  WatchBoxes();
  SetAppModulePath((folder + "\\Rookwell.exe").c_str());

  // Before the globals exist the frame's folder is the executable's.
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  *std::strrchr(exe, '\\') = 0;
  EXPECT_STREQ(GetFrameLinks().programFolder(), exe);

  // The splash, then the shell: palette, cursors, frame class, look.
  ASSERT_EQ(StartSplash("SPLASH"), 1);
  ASSERT_NE(CreateAppPalette(), nullptr);
  EXPECT_EQ(CreateCursorSet(), 1);
  ASSERT_EQ(RegisterMainFrameClass(), 1);
  HINSTANCE skin = InitLookAndFeel();
  ASSERT_NE(skin, nullptr);
  HWND frame = CreateMainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(IsWindowVisible(frame)) << "hidden until the first room is up";

  // The start-up data: globals (with the benchmark), the required sets, the
  // optional ones, the resource library.
  CloseAllDataSets();
  ASSERT_EQ(CreateAppGlobals(), 1);
  EXPECT_EQ(std::string(GetProgramFolder()), folder);
  EXPECT_EQ(std::string(GetFrameLinks().programFolder()), folder);
  EXPECT_EQ(GetFrameLinks().windowCloseSoundOn(), GetWindowCloseSetting());
  EXPECT_EQ(GetFrameLinks().roomBoardWindow(), nullptr) << "no room board yet";
  EXPECT_GT(GetBenchmarkScore(), 0u);
  EXPECT_EQ(OpenDataSet("faces", 1, 1), 1);
  EXPECT_EQ(OpenDataSet("rwsets", 0, 1), 1);
  for (int set : {5, 2, 3, 4, 8, 9, 10, 11}) EXPECT_EQ(OpenDataSet(nullptr, set, 0), 0) << set;
  EXPECT_EQ(OpenDataSet("RW256.dll", 7, 1), 1);
  EXPECT_NE(GetResourceLibrary(), nullptr);
  EXPECT_TRUE(g_boxes.empty()) << "optional sets that are missing are not reported: " << g_boxes.front();
  // The cursors came from the program's resources and the folder's files.
  ASSERT_NE(GetCursorSet(), nullptr);
  EXPECT_NE(GetCursorSet()->cursors[CURSOR_BUSY], LoadCursorA(nullptr, IDC_WAIT)) << "busy.ani was found";
  EXPECT_NE(GetCursorSet()->cursors[CURSOR_PIECE_LARGE], nullptr);

  ASSERT_TRUE(CreateCallbackQueue(0, 0));
  ASSERT_TRUE(CreateCallbackQueue(1, 0));
  guitest::Pump(300);
  EXPECT_TRUE(Shot("host_splash"));

  // The first room comes up, the splash ends, the frame shows.
  WNDCLASSA wc{};
  wc.lpfnWndProc = RoomStandIn;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RWHostRoomStandIn";
  RegisterClassA(&wc);
  RECT client;
  GetClientRect(frame, &client);
  CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, frame,
                  nullptr, wc.hInstance, nullptr);
  EndSplash();
  EXPECT_TRUE(WaitForSplashThreadEnd(3000));
  ShowMainFrame(0);
  SetStatusText(0, "Ready");
  SetProgress(40);
  SetStatusText(2, "White to move");
  guitest::Pump(300);
  EXPECT_TRUE(IsWindowVisible(frame));
  // Progress at 40 % of the middle part: the bar's own part answers 40.
  EXPECT_EQ(SendMessageA(frame, CWM_STATUS_PROGRESS, 1, 40), 40);
  EXPECT_TRUE(Shot("host_frame"));

  // The menu loop parks the main loop's accelerators and brings them back.
  ACCEL quit{FALT | FVIRTKEY, VK_F4, kQuitCommand};
  HACCEL table = CreateAcceleratorTableA(&quit, 1);
  SetActiveAccelerators(table);
  guitest::Chord({VK_MENU}, 'F');  // "&File"
  guitest::Pump(300);
  EXPECT_TRUE(Shot("host_frame_popup"));
  EXPECT_EQ(GetActiveAccelerators(), nullptr) << "parked while the menu is open";
  guitest::PressKey(VK_ESCAPE);
  guitest::PressKey(VK_ESCAPE);
  guitest::Pump(300);
  EXPECT_EQ(GetActiveAccelerators(), table);

  // The loop runs the queues until the frame is closed; the close sets the
  // closing idle level.
  QueuedCallback entry{1, 2, 0, CloseAfterPasses, nullptr, nullptr};
  ASSERT_NE(AddQueuedCallback(0, &entry), nullptr);
  ChangePollCount(1);
  EXPECT_EQ(RunMainLoop(), 1);
  ChangePollCount(0);
  EXPECT_EQ(g_passes, 5);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_EQ(GetIdleLevel(), -1);
  EXPECT_TRUE(g_boxes.empty()) << "a close with the second parameter set asks nothing";

  // Shut-down, in the program's order for these parts.
  SetActiveAccelerators(nullptr);
  DestroyAcceleratorTable(table);
  EXPECT_EQ(UnregisterMainFrameClass(), 1);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
  FreeCursorSet();
  DeleteAppPalette();
  CloseAllDataSets();
  EXPECT_EQ(GetResourceLibrary(), nullptr);
  FreeLookAndFeel(skin);
  FreeAppGlobals();
  DestroyCallbackQueue(0);
  DestroyCallbackQueue(1);
  SetIdleLevel(0);
  SetShellServices(DefaultShellServices());
  DisconnectShellParts();
  SetCurrentDirectoryA(previous);
}

// A required set that is missing is told to the user once, in the program's
// words, naming the file; start-up would then stop.
TEST(Host, AMissingRequiredSetIsToldOnce) {
  const std::string folder = MakeProgramFolder("rw_host_missing");
  DeleteFileA((folder + "\\faces.dat").c_str());
  ConnectShellParts(GetModuleHandleA(nullptr));
  WatchBoxes();
  SetAppModulePath((folder + "\\Rookwell.exe").c_str());
  CloseAllDataSets();
  ASSERT_EQ(CreateAppGlobals(), 1);
  EXPECT_EQ(OpenDataSet("faces", 1, 1), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].find("faces.dat"), std::string::npos) << g_boxes[0];
  EXPECT_NE(g_boxes[0].find("was not found"), std::string::npos) << g_boxes[0];
  EXPECT_EQ(OpenDataSet("rwsets", 0, 1), 1);
  CloseAllDataSets();
  FreeAppGlobals();
  SetShellServices(DefaultShellServices());
  DisconnectShellParts();
}

}  // namespace
