// The room window and the navigation bar under Wine. Engine replies that
// arrive while the room timer is held (a dialog or a message box is up) wait
// in the room-event queue, and the first tick after the release hands every
// one of them to the engine link, oldest first. The bar's switch waits for a
// lesson's voice clip to end, and hiding or showing the bar in the database
// room moves the database window.
// The engine link's headers come before windows.h, whose language macros
// would otherwise rename the notation's languages.
#include "engine_link_host.h"
#include "engine_player.h"
#include "engine_reply.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "game_record.h"
#include "game_registry.h"
#include "guitest.h"
#include "main_frame.h"
#include "shell_services.h"
#include "window_table.h"
#include "room_switch.h"
#include "room_window.h"
#include "user_settings.h"

namespace {

// Notes the node count of each status the engine link applies to White.
class StatusRecorder : public EngineLinkHost {
 public:
  GameRecord* game = nullptr;
  std::vector<int32_t> nodes;
  void MarkStatusChanged(int) override {
    EngineStatus status{};
    std::memcpy(&status, game->white.statistics, sizeof status);
    nodes.push_back(status.nodes);
  }
};

EngineReplyBlock* StatusBlock(const GameRecord* game, int32_t nodes) {
  EngineReplyBlock* block = AllocEngineReply(REPLY_STATUS, &game->id, ENGINE_SIDE_WHITE);
  if (block) block->status.nodes = nodes;
  return block;
}

}

TEST(RoomTimer, EventsHeldByTheTimerAreHandledOldestFirstAtTheFirstTickAfterRelease) {
  ASSERT_NE(RegisterRoomWindowClass(), 0);
  // The room window installs its queue when it is made and drains it on
  // its own timer; a hidden pop-up is enough for both.
  HWND room = CreateWindowExA(0, kRoomWindowClass, "Room", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(room, nullptr);

  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kSideWhite, 1, 0);
  ASSERT_NE(game, nullptr);
  ASSERT_EQ(RegisterGame(game, 1), 0);
  StatusRecorder recorder;
  recorder.game = game;
  SetEngineLinkHost(&recorder);

  HoldRoomTimer();  // a dialog
  HoldRoomTimer();  // a message box over it
  // The engine's reader thread posts while the program waits on the user.
  std::thread reader([game] {
    for (int32_t n = 1; n <= 6; ++n) PostRoomEvent(StatusBlock(game, n));
  });
  reader.join();
  ASSERT_TRUE(guitest::WaitForTimer(room, kRoomTimer, 3, 5000));
  EXPECT_TRUE(recorder.nodes.empty()) << "handled while held";

  ReleaseRoomTimer();  // the box closes; the dialog still holds it
  ASSERT_TRUE(guitest::WaitForTimer(room, kRoomTimer, 2, 5000));
  EXPECT_TRUE(recorder.nodes.empty()) << "handled while the dialog was still up";

  PostRoomEvent(StatusBlock(game, 7));  // one more just before the dialog ends
  ReleaseRoomTimer();
  // No message is pumped between the release and the hook, so the tick
  // counted here is the first after the release.
  ASSERT_TRUE(guitest::WaitForTimer(room, kRoomTimer, 1, 5000));
  EXPECT_EQ(recorder.nodes, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7}));

  // Later events go through at the next tick, after the held ones.
  PostRoomEvent(StatusBlock(game, 8));
  ASSERT_TRUE(guitest::WaitForTimer(room, kRoomTimer, 1, 5000));
  EXPECT_EQ(recorder.nodes.back(), 8);
  EXPECT_EQ(recorder.nodes.size(), 8u);

  SetEngineLinkHost(nullptr);
  DestroyWindow(room);
  DestroyAllGames();
  UnregisterRoomWindowClass();
}

// ---- The navigation bar beside the room: a lesson's voice clip ends before
// the switch, and in the database room the database window fills the space
// the bar leaves.
namespace {

// The voice clip the fake sound layer plays; stopping it only marks it
// finished, as the real layer does, and the test ends it.
bool g_clipPlaying = false;
int g_clipStops = 0;

// Notes the rooms the switch selects on the bar.
class SwitchRecorder : public RoomSwitchHost {
 public:
  std::vector<int> selected;
  void SelectNavigationRoom(int room) override { selected.push_back(room); }
};

class NavigationBar : public ::testing::Test {
 protected:
  ShellServices saved = GetShellServices();
  SwitchRecorder recorder;
  HWND frame = nullptr, bar = nullptr;
  GameRecord* lesson = nullptr;

  void SetUp() override {
    ShellServices s = saved;
    s.isVoiceClipPlaying = [] { return g_clipPlaying ? 1 : 0; };
    s.stopVoiceClip = [] { ++g_clipStops; };
    SetShellServices(s);
    ASSERT_EQ(RegisterMainFrameClass(), 1);
    ASSERT_NE(RegisterNavigationBarClass(), 0);
    frame = CreateMainFrame();
    ASSERT_NE(frame, nullptr);
    bar = CreateNavigationBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(ShowNavigationBar(), 1);
    ASSERT_EQ(CreateRoomRecords(), 1);
    SetRoomSwitchHost(&recorder);
    SetRoomNumber(ROOM_CLASS);
    lesson = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kSideWhite, 1, 0);
    ASSERT_NE(lesson, nullptr);
    lesson->kind |= 0x1000;  // a lesson game
    SetCurrentGame(lesson);
  }
  void TearDown() override {
    SetCurrentGame(nullptr);
    DestroyAllGames();
    SetRoomSwitchHost(nullptr);
    FreeRoomRecords();
    DestroyMainFrame();
    guitest::Pump(30);
    // The frame ends the message loop when it goes; the other tests of
    // this program run loops of their own afterwards.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    UnregisterNavigationBarClass();
    UnregisterMainFrameClass();
    SetShellServices(saved);
    g_clipPlaying = false;
    g_clipStops = 0;
  }
};

}

TEST_F(NavigationBar, DuringALessonsVoiceClipTheSwitchWaitsForItsEnd) {
  g_clipPlaying = true;
  EXPECT_EQ(GoToRoom(ROOM_GAME), ROOM_CLASS);
  EXPECT_EQ(g_clipStops, 1) << "the clip is told to finish";
  ASSERT_TRUE(guitest::WaitForTimer(bar, kNavigationTimer, 3, 5000));
  EXPECT_EQ(GetRoomNumber(), ROOM_CLASS) << "switched while the clip still played";
  EXPECT_TRUE(recorder.selected.empty());

  g_clipPlaying = false;
  ASSERT_TRUE(guitest::WaitFor([] { return GetRoomNumber() == ROOM_GAME; }, 5000));
  EXPECT_EQ(recorder.selected, std::vector<int>{ROOM_GAME});
  // One switch: the bar's timer is gone with it.
  EXPECT_FALSE(guitest::WaitForTimer(bar, kNavigationTimer, 1, 1000));

  // Without a clip, or outside a lesson, the switch is at once.
  EXPECT_EQ(GoToRoom(ROOM_LIBRARY), ROOM_GAME);
  EXPECT_EQ(GetRoomNumber(), ROOM_LIBRARY);
  g_clipPlaying = true;
  lesson->kind &= ~0x1000u;
  EXPECT_EQ(GoToRoom(ROOM_KIDS), ROOM_LIBRARY);
  EXPECT_EQ(GetRoomNumber(), ROOM_KIDS);
  EXPECT_EQ(g_clipStops, 1);
}

TEST_F(NavigationBar, HidingItInTheDatabaseRoomWidensTheDatabaseWindow) {
  RECT client{};
  GetClientRect(frame, &client);
  RECT barRect{};
  GetWindowRect(bar, &barRect);
  const int barWidth = barRect.right - barRect.left;
  ASSERT_GT(barWidth, 0);
  HWND db = CreateWindowExA(0, "STATIC", "db", WS_CHILD | WS_VISIBLE, barWidth, 0, client.right - barWidth,
                            client.bottom, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(db, nullptr);
  NumberedWindowOp(WOP_SET_HANDLE, WIN_DATABASE, reinterpret_cast<intptr_t>(db));
  auto placed = [&] {
    RECT r{};
    GetWindowRect(db, &r);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };

  SetRoomNumber(ROOM_DATABASE);
  HideNavigationBar();
  RECT r = placed();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, client.right);
  EXPECT_EQ(r.bottom - r.top, client.bottom);

  ASSERT_EQ(ShowNavigationBar(), 1);
  r = placed();
  EXPECT_EQ(r.left, barWidth);
  EXPECT_EQ(r.right, client.right);

  // In another room the database window is not the bar's business.
  SetRoomNumber(ROOM_GAME);
  HideNavigationBar();
  EXPECT_EQ(placed().left, barWidth);

  NumberedWindowOp(WOP_CLEAR_HANDLE, WIN_DATABASE, 0);
  DestroyWindow(db);
}
