// The program's message box and the modal dialog runner under Wine, over the
// program's resource object and the skin: the template as stored, the
// buttons and their results, fitting to the text, placement, cascade and
// the remembered position, the countdown, the autoplay shortcut, the pause
// of a running clock, and without the skin the system's box.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app_globals.h"
#include "chess_clock.h"
#include "dialog_runner.h"
#include "facet_frame.h"
#include "frame_links.h"
#include "game_record.h"
#include "game_registry.h"
#include "guitest.h"
#include "look_and_feel.h"
#include "message_box.h"
#include "profile.h"
#include "room_switch.h"
#include "user_settings.h"

namespace {

std::string g_folder;
std::string Ini() { return g_folder + "\\rw.ini"; }
bool NoSkinRun() { return GetEnvironmentVariableA("RW_MSGBOX_NO_SKIN", nullptr, 0) > 0; }

std::string Windows(std::string path) {
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  return path;
}

bool Shot(const char* name) { return guitest::ScreenshotTo(RW_SHELL_ARTEFACT_DIR, name); }

// A program folder of its own: the font, and an empty settings file whose
// path the application globals take from the module path.
class BoxEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    g_folder = std::string(base) + (NoSkinRun() ? "rw_msgbox_noskin" : "rw_msgbox");
    CreateDirectoryA(g_folder.c_str(), nullptr);
    CopyFileA(Windows(RW_PROGDATA_DIR "/rwonyx.ttf").c_str(), (g_folder + "\\rwonyx.ttf").c_str(), FALSE);
    DeleteFileA(Ini().c_str());
    SetAppModulePath((g_folder + "\\Rookwell.exe").c_str());
    ASSERT_EQ(CreateAppGlobals(), 1);
    ResetFrameLinks();
    GetFrameLinks().programFolder = [] { return g_folder.c_str(); };
    CreateAppPalette();
    // The run without the skin still has the toolkit's dialog class; only
    // the skin library is missing.
    if (NoSkinRun())
      InitLookAndFeelFrom("NoSuchSkin.dll");
    else
      ASSERT_NE(InitLookAndFeel(), nullptr);
  }
  void TearDown() override {
    FreeLookAndFeel(nullptr);
    FreeAppGlobals();
  }
};
const auto* g_environment = ::testing::AddGlobalTestEnvironment(new BoxEnvironment);

HWND FindBox(DWORD ms = 5000) {
  HWND box = nullptr;
  guitest::WaitFor([&] { return (box = FindWindowA(kMessageBoxClass, nullptr)) != nullptr; }, ms);
  return box;
}

// Runs a modal box on this thread while `act` works on it from another.
int ModalBox(const char* text, uint32_t flags, const std::function<void(HWND box)>& act) {
  std::thread helper([&] {
    HWND box = nullptr;
    // Found while it is made; it is ready once shown.
    for (int i = 0; i < 500 && !((box = FindWindowA(kMessageBoxClass, nullptr)) && IsWindowVisible(box)); ++i)
      Sleep(10);
    if (!box) return;
    Sleep(150);
    act(box);
  });
  const int result = AppMessageBoxOwned(text, flags, nullptr);
  helper.join();
  return result;
}

void Press(HWND box, int id) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(box, id))); }

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT ChildRect(HWND box, int id) {
  RECT r = WindowRect(GetDlgItem(box, id));
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// ---- The template as the resource object stores it (extended dialog).
const uint8_t* SkipText(const uint8_t* p, std::string* out) {
  const auto* w = reinterpret_cast<const uint16_t*>(p);
  if (*w == 0xFFFF) {
    if (out) *out = "#" + std::to_string(w[1]);
    return p + 4;
  }
  std::string s;
  while (*w) s += char(*w++);
  if (out) *out = s;
  return reinterpret_cast<const uint8_t*>(w + 1);
}
const uint8_t* AlignDword(const uint8_t* p, const uint8_t* base) {
  return base + ((p - base + 3) & ~size_t(3));
}

TEST(MessageBoxTemplate, ReadsBackAsStored) {
  if (NoSkinRun()) GTEST_SKIP();
  HRSRC found = FindResourceA(nullptr, "IDD_MESSAGEBOX", MAKEINTRESOURCEA(5));  // RT_DIALOG
  ASSERT_NE(found, nullptr);
  const auto* base = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(base, nullptr);
  const auto* head = reinterpret_cast<const uint16_t*>(base);
  ASSERT_EQ(head[0], 1);  // version
  ASSERT_EQ(head[1], 0xFFFF);
  uint32_t style;
  std::memcpy(&style, base + 12, 4);
  EXPECT_EQ(style, 0x90C010C0u);
  const uint16_t count = *reinterpret_cast<const uint16_t*>(base + 16);
  const auto* size = reinterpret_cast<const int16_t*>(base + 18);
  EXPECT_EQ(size[2], 220);
  EXPECT_EQ(size[3], 107);
  const uint8_t* p = base + 26;
  std::string menu, cls, caption, face;
  p = SkipText(p, &menu);
  p = SkipText(p, &cls);
  p = SkipText(p, &caption);
  EXPECT_EQ(cls, "RWOMSGBOX");
  EXPECT_EQ(caption, "Rookwell");
  const uint16_t points = *reinterpret_cast<const uint16_t*>(p);
  p = SkipText(p + 6, &face);
  EXPECT_EQ(points, 10);
  EXPECT_EQ(face, "RookwellOnyx");
  std::vector<uint32_t> ids;
  for (int i = 0; i < count; ++i) {
    p = AlignDword(p, base);
    uint32_t id;
    std::memcpy(&id, p + 20, 4);
    ids.push_back(id);
    p = SkipText(p + 24, nullptr);  // class
    p = SkipText(p, nullptr);       // text
    const uint16_t extra = *reinterpret_cast<const uint16_t*>(p);
    p += 2 + extra;
  }
  EXPECT_EQ(ids, (std::vector<uint32_t>{1, 2, 300, 301}));
}

// ---- Buttons and results on screen.
TEST(MsgBox, EachButtonOfEachSetGivesItsResultAndEscapeInYesNoGivesNo) {
  if (NoSkinRun()) GTEST_SKIP();
  struct Row {
    uint32_t flags;
    int button, result;
  };
  const Row rows[] = {{0, 1, 1},   {1, 1, 1},   {1, 2, 2},   {2, 300, 3}, {2, 1, 4},  {2, 2, 5},
                      {3, 300, 6}, {3, 1, 7},   {3, 2, 2},   {4, 300, 6}, {4, 1, 7},  {5, 1, 4},
                      {5, 2, 2},   {0x34, 300, 6}};
  for (const Row& r : rows) {
    bool visible = false;
    const int result = ModalBox("Which one?", r.flags, [&](HWND box) {
      visible = IsWindowVisible(GetDlgItem(box, r.button)) != 0;
      Press(box, r.button);
    });
    EXPECT_TRUE(visible) << r.flags << " " << r.button;
    EXPECT_EQ(result, r.result) << r.flags << " " << r.button;
  }
  // Escape in the Yes/No set is No, as in the system's box.
  const int escape = ModalBox("Exit Now?", 4, [](HWND box) {
    PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(box, WM_KEYUP, VK_ESCAPE, 0);
  });
  EXPECT_EQ(escape, 7);
  // A close request in the OK/Cancel set cancels.
  EXPECT_EQ(ModalBox("Close me", 1, [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); }), 2);
}

TEST(MsgBox, ALongTextGrowsTheBoxAndMovesTheButtonsDownAsMuch) {
  if (NoSkinRun()) GTEST_SKIP();
  ResetMessageBoxPlacement();
  HWND small = ShowModelessMessageBoxNoTimeout("Short.", 3, nullptr, 0);
  ASSERT_NE(small, nullptr);
  guitest::Pump(200);
  const RECT a = WindowRect(small), a1 = ChildRect(small, 1), aText = ChildRect(small, 301);
  DestroyWindow(small);
  std::string longText;
  for (int i = 0; i < 12; ++i) longText += "This sentence is here to make the text run over several lines. ";
  HWND large = ShowModelessMessageBoxNoTimeout(longText.c_str(), 3, nullptr, 0);
  ASSERT_NE(large, nullptr);
  guitest::Pump(300);
  const RECT b = WindowRect(large), b1 = ChildRect(large, 1), bText = ChildRect(large, 301);
  const int growth = (b.bottom - b.top) - (a.bottom - a.top);
  EXPECT_GT(growth, 40);
  EXPECT_EQ(b.right - b.left, a.right - a.left);
  EXPECT_EQ(b1.top - a1.top, growth);
  EXPECT_EQ((bText.bottom - bText.top) - (aText.bottom - aText.top), growth);
  for (int id : {300, 1, 2}) EXPECT_TRUE(IsWindowVisible(GetDlgItem(large, id))) << id;
  EXPECT_TRUE(Shot("msgbox_long_text"));
  DestroyWindow(large);
  guitest::Pump(100);
}

TEST(MsgBox, ModelessBoxesCascadeAndTheNextAfterBothCloseReturns) {
  if (NoSkinRun()) GTEST_SKIP();
  ResetMessageBoxPlacement();
  WritePrivateProfileStringA("layout", "messagebox_x1", "120", Ini().c_str());
  WritePrivateProfileStringA("layout", "messagebox_y1", "90", Ini().c_str());
  HWND first = ShowModelessMessageBoxNoTimeout("The first box.", 0, nullptr, 0);
  HWND second = ShowModelessMessageBoxNoTimeout("The second box, over the first.", 1, nullptr, 0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(OpenModelessBoxes(), 2);
  guitest::Pump(300);
  const RECT r1 = WindowRect(first), r2 = WindowRect(second);
  EXPECT_EQ(r1.left, 120);
  EXPECT_EQ(r1.top, 90);
  EXPECT_EQ(r2.left - r1.left, 17);
  EXPECT_EQ(r2.top - r1.top, 16);
  EXPECT_TRUE(Shot("msgbox_cascade"));
  // Enter in a modeless box reaches its button through the main loop's
  // offer to the boxes.
  SetForegroundWindow(second);
  MSG enter{GetDlgItem(second, 1), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  SetFocus(GetDlgItem(second, 1));
  EXPECT_EQ(PassToMessageBoxes(&enter), 1);
  guitest::Pump(200);
  EXPECT_FALSE(IsWindow(second));
  DestroyWindow(first);
  guitest::Pump(100);
  EXPECT_EQ(OpenModelessBoxes(), 0);
  HWND third = ShowModelessMessageBoxNoTimeout("The third box.", 0, nullptr, 0);
  guitest::Pump(200);
  const RECT r3 = WindowRect(third);
  EXPECT_EQ(r3.left, 120);
  EXPECT_EQ(r3.top, 90);
  DestroyWindow(third);
  guitest::Pump(100);
}

TEST(MsgBox, AMovedBoxComesBackThereInTheNextRun) {
  if (NoSkinRun()) GTEST_SKIP();
  // Older settings hold the position under [rwonline] only: it is read.
  WritePrivateProfileStringA("layout", nullptr, nullptr, Ini().c_str());
  WritePrivateProfileStringA("rwonline", "messagebox_x1", "60", Ini().c_str());
  WritePrivateProfileStringA("rwonline", "messagebox_y1", "70", Ini().c_str());
  ResetMessageBoxPlacement();
  HWND box = ShowModelessMessageBoxNoTimeout("Move me.", 0, nullptr, 0);
  guitest::Pump(200);
  EXPECT_EQ(WindowRect(box).left, 60);
  EXPECT_EQ(WindowRect(box).top, 70);
  SetWindowPos(box, nullptr, 250, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  guitest::Pump(100);
  DestroyWindow(box);
  guitest::Pump(100);
  EXPECT_EQ(ProfileReadInt("layout", "messagebox_x1", -1, Ini().c_str()), 250);
  EXPECT_EQ(ProfileReadInt("layout", "messagebox_y1", -1, Ini().c_str()), 180);
  ResetMessageBoxPlacement();  // as a new run starts
  box = ShowModelessMessageBoxNoTimeout("Here again.", 0, nullptr, 0);
  guitest::Pump(200);
  EXPECT_EQ(WindowRect(box).left, 250);
  EXPECT_EQ(WindowRect(box).top, 180);
  DestroyWindow(box);
  guitest::Pump(100);
}

std::atomic<int> g_callbackResult{0};
std::atomic<uint32_t> g_callbackData{0};
void Remember(int result, uint32_t data) {
  g_callbackResult = result;
  g_callbackData = data;
}

TEST(MsgBox, AThreeSecondBoxAnswers57OnTheFourthTickAndTellsItsCallback) {
  if (NoSkinRun()) GTEST_SKIP();
  ResetMessageBoxPlacement();
  g_callbackResult = 0;
  const DWORD start = GetTickCount();
  HWND box = ShowModelessMessageBox("Closing by itself.", 4, Remember, 77, 3);
  ASSERT_NE(box, nullptr);
  guitest::Pump(2900);
  EXPECT_TRUE(IsWindow(box));  // three ticks have passed at most
  EXPECT_TRUE(guitest::WaitFor([&] { return !IsWindow(box); }, 4000));
  const DWORD took = GetTickCount() - start;
  // The one-second ticks run for every box, so the first comes at most a
  // second after the box opens: the fourth falls between 3 and 4 s.
  EXPECT_GE(took, 3000u);
  EXPECT_EQ(g_callbackResult.load(), 57);
  EXPECT_EQ(g_callbackData.load(), 77u);
  EXPECT_EQ(OpenModelessBoxes(), 0);
}

int Ready() { return 1; }

TEST(MsgBox, AutoplayAnswersPlainBoxesAndStillAsksQuestions) {
  if (NoSkinRun()) GTEST_SKIP();
  WritePrivateProfileStringA("debug", "autoplay", "1", Ini().c_str());
  SetAutoplayReady(Ready);
  EXPECT_EQ(AppMessageBox("Nobody sees this.", 0), 0);
  EXPECT_EQ(FindWindowA(kMessageBoxClass, nullptr), nullptr);
  std::thread yes([] {
    if (HWND box = FindBox()) Press(box, 300);
  });
  EXPECT_EQ(AppMessageBox("Still asked?", 4), 6);
  yes.join();
  SetAutoplayReady(nullptr);
  WritePrivateProfileStringA("debug", "autoplay", nullptr, Ini().c_str());
}

// ---- The clock and the room timer while a box or a dialog is up.
class ClockTest : public ::testing::Test {
 protected:
  GameRecord* game = nullptr;
  void SetUp() override {
    if (NoSkinRun()) GTEST_SKIP();
    game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kSideWhite, 1, 0);
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(RegisterGame(game, 1), 0);
    SetCurrentGame(game);
    ResumeClock(game);
  }
  void TearDown() override {
    SetCurrentGame(nullptr);
    DestroyAllGames();
  }
};

TEST_F(ClockTest, AModalBoxPausesARunningClockAndLeavesAPausedOnePaused) {
  bool pausedDuring = false, heldDuring = false;
  ModalBox("Paused?", 0, [&](HWND box) {
    pausedDuring = IsClockPaused(game);
    heldDuring = IsRoomTimerHeld() != 0;
    Press(box, 1);
  });
  EXPECT_TRUE(pausedDuring);
  EXPECT_TRUE(heldDuring);
  EXPECT_FALSE(IsClockPaused(game));
  EXPECT_EQ(IsRoomTimerHeld(), 0);

  PauseClock(game);
  ModalBox("Still paused?", 0, [&](HWND box) { Press(box, 1); });
  EXPECT_TRUE(IsClockPaused(game));
  EXPECT_EQ(IsRoomTimerHeld(), 0);
}

// A dialog of the program's own template for the runner; WM_APP destroys
// the current game under it, as a game that ends while the dialog is up.
INT_PTR CALLBACK RunnerProc(HWND dialog, UINT message, WPARAM first, LPARAM) {
  if (message == WM_COMMAND && LOWORD(first) == 1) {
    EndDialog(dialog, 11);
    return TRUE;
  }
  if (message == WM_APP) {
    GameRecord* game = GetCurrentGame();
    SetCurrentGame(nullptr);
    UnregisterGame(&game->id);
    DestroyGame(game);
    return TRUE;
  }
  return FALSE;
}

struct RunnerSeen {
  bool paused = false, held = false;
};

INT_PTR RunDialog(int pause, RunnerSeen* seen, bool destroyGame = false) {
  std::thread helper([&] {
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !((dialog = FindWindowA(kMessageBoxClass, nullptr)) && IsWindowVisible(dialog)); ++i)
      Sleep(10);
    if (!dialog) return;
    Sleep(150);
    GameRecord* game = GetCurrentGame();
    seen->paused = game && IsClockPaused(game);
    seen->held = IsRoomTimerHeld() != 0;
    if (destroyGame) SendMessageA(dialog, WM_APP, 0, 0);
    Press(dialog, 1);
  });
  CwCreateParams create{};
  const INT_PTR result =
      DoModalDialog(GetModuleHandleA(nullptr), "IDD_MESSAGEBOX", nullptr, RunnerProc, LPARAM(&create), pause);
  helper.join();
  return result;
}

TEST_F(ClockTest, TheDialogRunnerPausesOnlyWhenAskedAndARunningClock) {
  RunnerSeen seen;
  EXPECT_EQ(RunDialog(0, &seen), 11);
  EXPECT_FALSE(seen.paused);
  EXPECT_FALSE(seen.held);
  EXPECT_EQ(RunDialog(1, &seen), 11);
  EXPECT_TRUE(seen.paused);
  EXPECT_TRUE(seen.held);
  EXPECT_FALSE(IsClockPaused(game));
  EXPECT_EQ(IsRoomTimerHeld(), 0);
  PauseClock(game);
  EXPECT_EQ(RunDialog(1, &seen), 11);
  EXPECT_FALSE(seen.held);
  EXPECT_TRUE(IsClockPaused(game));
  SetCurrentGame(nullptr);
  EXPECT_EQ(RunDialog(1, &seen), 11);  // no game: nothing to pause
  EXPECT_FALSE(seen.held);
}

TEST_F(ClockTest, AGameDestroyedUnderTheDialogIsNotTouchedAndTheTimerRunsAgain) {
  RunnerSeen seen;
  EXPECT_EQ(RunDialog(1, &seen, true), 11);
  EXPECT_TRUE(seen.held);
  EXPECT_EQ(GetCurrentGame(), nullptr);
  EXPECT_EQ(IsRoomTimerHeld(), 0);
  game = nullptr;
}

// ---- Without the skin: the system's box, captioned "Rookwell". The test
// runs itself again without the skin library and answers that box.
TEST(MsgBoxWithoutSkin, ShowsTheSystemBox) {
  if (!NoSkinRun()) GTEST_SKIP();
  EXPECT_EQ(AppMessageBox("The skin is missing.", 1), 2);
}

TEST(MsgBox, WithoutTheSkinTheSystemBoxCaptionedRookwellAnswers) {
  if (NoSkinRun()) GTEST_SKIP();
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  SetEnvironmentVariableA("RW_MSGBOX_NO_SKIN", "1");
  guitest::Program child;
  const bool started = guitest::StartProgram(self, "--gtest_filter=MsgBoxWithoutSkin.*", g_folder, &child);
  SetEnvironmentVariableA("RW_MSGBOX_NO_SKIN", nullptr);
  ASSERT_TRUE(started);
  HWND box = nullptr;
  EXPECT_TRUE(guitest::WaitFor([&] { return (box = guitest::FindProgramWindow(child, "#32770")) != nullptr; }, 15000));
  if (box) {
    char caption[64] = "";
    GetWindowTextA(box, caption, sizeof caption);
    EXPECT_STREQ(caption, "Rookwell");
    EXPECT_EQ(FindWindowA(kMessageBoxClass, nullptr), nullptr);
    guitest::Pump(300);
    EXPECT_TRUE(Shot("msgbox_system"));
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  }
  DWORD code = 99;
  if (!guitest::WaitForProgramEnd(&child, 15000, &code)) {
    guitest::KillProgram(&child);
    FAIL() << "the run without the skin did not end";
  }
  EXPECT_EQ(code, 0u);
}

}  // namespace
