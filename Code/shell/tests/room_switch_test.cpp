// Room records and the room switch over a recording host and fake rooms;
// the room timer's holds, and a stopped game giving its hold back.
#include "room_switch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_globals.h"
#include "app_messages.h"
#include "dibkit.h"
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif
#include "game_record.h"
#include "game_registry.h"
#include "shell_hosts.h"
#include "shell_services.h"
#include "user_settings.h"
#include "window_table.h"

namespace {

std::vector<std::string> g_log;

class RecordingHost : public RoomSwitchHost {
 public:
  void ClearStatusText() override { g_log.push_back("status"); }
  void SelectNavigationRoom(int room) override { g_log.push_back("bar " + std::to_string(room)); }
  void ShowNavigationBar() override { g_log.push_back("show bar"); }
  void SetMainMenu(CmMenu* menu, RoomCommandHandler) override {
    g_log.push_back("menu " + std::to_string(reinterpret_cast<intptr_t>(menu)));
  }
  void SetAccelerators(void* table) override {
    g_log.push_back("accelerators " + std::to_string(reinterpret_cast<intptr_t>(table)));
  }
  CmMenu* CopyMainMenu() override { return reinterpret_cast<CmMenu*>(intptr_t(27)); }
};

// Records the posts of the game-event broadcast and the layout applied.
class PostSystem : public WindowSystem {
 public:
  void ScreenSize(int* w, int* h) override { *w = 1024, *h = 768; }
  bool WindowRect(void*, ShellRect*) override { return false; }
  bool ClientRect(void*, ShellRect*) override { return false; }
  void Show(void*, bool) override {}
  void Enable(void*, bool) override {}
  void Place(void*, const ShellRect&, int) override {}
  void BeginBatch(int) override { g_log.push_back("layout"); }
  void PlaceInBatch(void*, const ShellRect&, int) override {}
  void EndBatch() override {}
  intptr_t Send(void*, uint32_t, uintptr_t, intptr_t) override { return 0; }
  intptr_t Post(void*, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    g_log.push_back("post " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                    (lParam ? "game" : "null"));
    return 1;
  }
};

int g_refuse = 0;
int Activate(RoomRecord* r) {
  g_log.push_back("activate " + std::to_string(r->room));
  return 1;
}
int Deactivate(RoomRecord* r) {
  g_log.push_back("deactivate " + std::to_string(r->room));
  return !g_refuse;
}
CmMenu* OwnMenu(int room) { return reinterpret_cast<CmMenu*>(intptr_t(100 + room)); }
void* OwnAccelerators(int room) { return reinterpret_cast<void*>(intptr_t(200 + room)); }
std::vector<int> g_released;
void Release(RoomRecord* r, int) { g_released.push_back(r->room); }

int32_t FakeBenchmark(int32_t, char*) { return 10; }

class RoomSwitchTest : public ::testing::Test {
 protected:
  RecordingHost host;
  PostSystem sys;
  void SetUp() override {
    ShellServices s = DefaultShellServices();
    s.cpuBenchmark = FakeBenchmark;
    SetShellServices(s);
    ASSERT_EQ(CreateAppGlobals(), 1);
    SetRoomSwitchHost(&host);
    SetWindowSystem(&sys);
    InitWindowTable();
    NumberedWindowOp(WOP_SET_HANDLE, WIN_BOARD, 44);  // someone to post to
    NumberedWindowOp(WOP_SET_HANDLE, WIN_ADVICE, 55);
    const RoomModule module{Activate, Deactivate, Release, OwnMenu, nullptr, nullptr, OwnAccelerators};
    RegisterRoomModule(ROOM_GAME, &module);
    RegisterRoomModule(ROOM_LIBRARY, &module);
    ASSERT_EQ(CreateRoomRecords(), 1);
    SetRoomNumber(kNoRoom);
    g_log.clear();
    g_refuse = 0;
    g_released.clear();
  }
  void TearDown() override {
    FreeRoomRecords();
    for (int room = 0; room < kRoomCount; ++room) RegisterRoomModule(room, nullptr);
    SetRoomNumber(kNoRoom);
    SetRoomSwitchHost(nullptr);
    SetWindowSystem(nullptr);
    FreeAppGlobals();
    SetShellServices(DefaultShellServices());
  }
};

TEST_F(RoomSwitchTest, RecordsAreMadeForEveryRoomWithTheModulesHooks) {
  for (int room = 0; room < kRoomCount; ++room) {
    RoomRecord* r = GetRoomRecord(room);
    ASSERT_NE(r, nullptr) << room;
    EXPECT_EQ(r->room, room);
    EXPECT_NE(r->board, nullptr);
    EXPECT_EQ(r->gradient[0], 0xFFFFFFu);
    EXPECT_EQ(r->gradient[1], 0u);
  }
  EXPECT_EQ(GetCurrentRoomRecord(), GetRoomRecord(0));
  EXPECT_EQ(GetRoomRecord(1)->menu, OwnMenu(1));
  EXPECT_EQ(GetRoomRecord(2)->menu, reinterpret_cast<CmMenu*>(intptr_t(27)));  // placeholder: a copy of 27
  EXPECT_EQ(GetRoomRecord(2)->commandHandler(nullptr, 40011), 0);  // handles nothing
  EXPECT_EQ(GetRoomRecord(8), nullptr);
  EXPECT_EQ(GetRoomRecord(-1), nullptr);
  EXPECT_EQ(GetRoomData(9), nullptr);
}

// A user switch makes the rooms' records afresh: the old record's wallpaper
// picture goes with it.
TEST_F(RoomSwitchTest, ARecordMadeAfreshFreesItsWallpaperPicture) {
  for (int room : {ROOM_GAME, ROOM_KIDS}) {
    GetRoomRecord(room)->wallpaperBitmap = dibCreateWithColors(8, 8, 16);
    ASSERT_NE(GetRoomRecord(room)->wallpaperBitmap, nullptr);
  }
  EXPECT_EQ(ResetRoomRecord(ROOM_GAME), 1);
  EXPECT_EQ(GetRoomRecord(ROOM_GAME)->wallpaperBitmap, nullptr);
#ifdef __SANITIZE_ADDRESS__
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
  // ROOM_KIDS's picture goes with the records at the end of the test.
}

TEST_F(RoomSwitchTest, FirstSwitchAsksNobodyAndRunsTheStepsInOrder) {
  EXPECT_EQ(SwitchRoom(ROOM_GAME), ROOM_GAME);
  const std::vector<std::string> steps{"status",         "layout", "bar 1", "activate 1", "menu 101",
                                       "accelerators 201", "post 33027 0 null", "post 33027 0 null"};
  EXPECT_EQ(g_log, steps);
  EXPECT_EQ(GetRoomNumber(), ROOM_GAME);
  EXPECT_EQ(GetTableRoom(), ROOM_GAME);
  EXPECT_EQ(GetCurrentRoomRecord(), GetRoomRecord(ROOM_GAME));
}

TEST_F(RoomSwitchTest, TheCurrentRoomOrARoomOutsideTheEightChangesNothing) {
  SwitchRoom(ROOM_GAME);
  g_log.clear();
  EXPECT_EQ(SwitchRoom(ROOM_GAME), ROOM_GAME);
  EXPECT_EQ(SwitchRoom(8), ROOM_GAME);
  EXPECT_EQ(SwitchRoom(-1), ROOM_GAME);
  EXPECT_EQ(SwitchRoom(kNoRoom), ROOM_GAME);
  EXPECT_TRUE(g_log.empty());
}

TEST_F(RoomSwitchTest, ARefusedLeaveKeepsRoomLayoutAndMenu) {
  SwitchRoom(ROOM_GAME);
  g_log.clear();
  g_refuse = 1;
  EXPECT_EQ(SwitchRoom(ROOM_LIBRARY), ROOM_GAME);
  EXPECT_EQ(g_log, std::vector<std::string>{"deactivate 1"});
  EXPECT_EQ(GetTableRoom(), ROOM_GAME);
  EXPECT_EQ(GetCurrentRoomRecord(), GetRoomRecord(ROOM_GAME));
  g_refuse = 0;
  g_log.clear();
  EXPECT_EQ(SwitchRoom(ROOM_LIBRARY), ROOM_LIBRARY);
  EXPECT_EQ(g_log.front(), "deactivate 1");
  EXPECT_EQ(g_log[4], "activate 4");
}

TEST_F(RoomSwitchTest, PlaceholderRoomsShowTheBarAndAlwaysLetGo) {
  for (int room : {ROOM_KIDS, ROOM_CLASS, ROOM_DATABASE, ROOM_TOURNAMENT, ROOM_ONLINE, ROOM_LOBBY}) {
    g_log.clear();
    EXPECT_EQ(SwitchRoom(room), room);
    EXPECT_EQ(g_log[3], "show bar") << room;
    EXPECT_EQ(g_log[4], "menu 27") << room;
  }
}

TEST_F(RoomSwitchTest, TheSwitchPostsTheRoomsGame) {
  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kSideWhite, 1, 0);
  ASSERT_NE(game, nullptr);
  struct GameHost : RecordingHost {
    GameRecord* game;
    GameRecord* RoomGame(int room) override { return room == ROOM_GAME ? game : nullptr; }
  } withGame;
  withGame.game = game;
  SetRoomSwitchHost(&withGame);
  SwitchRoom(ROOM_GAME);
  EXPECT_EQ(g_log.back(), "post 33027 0 game");
  SetRoomSwitchHost(&host);
  DestroyGame(game);
}

TEST_F(RoomSwitchTest, FreeingTellsEveryRoomsRelease) {
  FreeRoomRecords();
  EXPECT_EQ(g_released, (std::vector<int>{1, 4}));
  EXPECT_EQ(GetCurrentRoomRecord(), nullptr);
  ASSERT_EQ(CreateRoomRecords(), 1);
  SwitchRoom(ROOM_GAME);
  g_released.clear();
  EXPECT_EQ(ResetRoomRecord(ROOM_GAME), 0);  // the current room stays
  RoomRecord* old = GetRoomRecord(ROOM_LIBRARY);
  old->setUp = 1;
  EXPECT_EQ(ResetRoomRecord(ROOM_LIBRARY), 1);
  EXPECT_EQ(g_released, std::vector<int>{4});
  EXPECT_EQ(GetRoomRecord(ROOM_LIBRARY)->setUp, 0);
}

TEST(RoomTimer, HoldsNestSoABoxInsideADialogDoesNotRestartIt) {
  EXPECT_EQ(IsRoomTimerHeld(), 0);
  HoldRoomTimer();  // the dialog
  HoldRoomTimer();  // a message box inside it
  ReleaseRoomTimer();
  EXPECT_EQ(IsRoomTimerHeld(), 1);
  ReleaseRoomTimer();
  EXPECT_EQ(IsRoomTimerHeld(), 0);
  ReleaseRoomTimer();  // an unmatched release leaves it running
  EXPECT_EQ(IsRoomTimerHeld(), 0);
  EXPECT_EQ(SuspendRoomTimer(1), 1);
  EXPECT_EQ(SuspendRoomTimer(0), 0);
}

TEST(RoomTimer, StoppingAGameGivesItsHoldBack) {
  InstallShellHosts();
  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kSideWhite, 1, 0);
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(StopGame(game), 0);
  EXPECT_EQ(IsRoomTimerHeld(), 0);
  HoldRoomTimer();
  StopGame(game);
  EXPECT_EQ(IsRoomTimerHeld(), 1);  // the outer hold stays
  ReleaseRoomTimer();
  DestroyGame(game);
  RemoveShellHosts();
}

}  // namespace
