// The numbered-window table over fake windows: the operations, the show
// commands, broadcasts, room layouts and the frame's moves and resizes.
#include "window_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app_messages.h"

namespace {

struct FakeWindow {
  ShellRect rect{};
  bool visible = false;
  bool enabled = true;
  intptr_t answer = 0;  // what Send and Post return
};

class FakeSystem : public WindowSystem {
 public:
  std::map<void*, FakeWindow> windows;
  std::vector<std::string> log;
  int batchOpen = 0;

  void ScreenSize(int* w, int* h) override {
    *w = 1024;
    *h = 768;
  }
  bool WindowRect(void* w, ShellRect* r) override {
    *r = windows[w].rect;
    return true;
  }
  bool ClientRect(void* w, ShellRect* r) override {
    const ShellRect& o = windows[w].rect;
    *r = ShellRect{0, 0, o.right - o.left - 8, o.bottom - o.top - 50};
    return true;
  }
  void Show(void* w, bool show) override { windows[w].visible = show; }
  void Enable(void* w, bool enable) override { windows[w].enabled = enable; }
  void Place(void* w, const ShellRect& r, int show) override {
    windows[w].rect = r;
    if (show >= 0) windows[w].visible = show != 0;
    log.push_back("place " + Name(w));
  }
  void BeginBatch(int) override { ++batchOpen; }
  void PlaceInBatch(void* w, const ShellRect& r, int show) override {
    EXPECT_GT(batchOpen, 0);
    Place(w, r, show);
  }
  void EndBatch() override { --batchOpen; }
  intptr_t Send(void* w, uint32_t message, uintptr_t wParam, intptr_t) override {
    log.push_back("send " + Name(w) + " " + std::to_string(message) + " " + std::to_string(wParam));
    return windows[w].answer;
  }
  intptr_t Post(void* w, uint32_t message, uintptr_t wParam, intptr_t) override {
    log.push_back("post " + Name(w) + " " + std::to_string(message) + " " + std::to_string(wParam));
    return windows[w].answer;
  }
  static std::string Name(void* w) { return std::to_string(reinterpret_cast<intptr_t>(w)); }
};

void* W(int n) { return reinterpret_cast<void*>(intptr_t(n)); }

class WindowTableTest : public ::testing::Test {
 protected:
  FakeSystem sys;
  void SetUp() override {
    SetWindowSystem(&sys);
    InitWindowTable();
  }
  void TearDown() override { SetWindowSystem(nullptr); }
  void Register(int id, int handle, ShellRect rect = {}) {
    NumberedWindowOp(WOP_SET_HANDLE, id, reinterpret_cast<intptr_t>(W(handle)));
    sys.windows[W(handle)].rect = rect;
  }
  static void Store(int room, int id, ShellRect rect, int shown) {
    RoomLayout* l = GetRoomLayout(room);
    l->entries[id].rect = rect;
    l->entries[id].shown = shown;
  }
};

bool Same(const ShellRect& a, const ShellRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(WindowTableTest, StartsInTheLobbyWithTheScreenSizeAndOnlyTheFrameShown) {
  EXPECT_EQ(GetScreenWidth(), 1024);
  EXPECT_EQ(GetScreenHeight(), 768);
  EXPECT_EQ(GetTableRoom(), 0);
  EXPECT_EQ(IsNumberedWindowShown(0), 1);
  for (int id = 1; id < kWindowCount; ++id) {
    EXPECT_EQ(IsNumberedWindowShown(id), 0) << id;
    EXPECT_EQ(GetNumberedWindow(id), nullptr) << id;
  }
  EXPECT_EQ(SetLayoutResetFlag(1), 0);
  EXPECT_EQ(GetLayoutResetFlag(), 1);
  EXPECT_EQ(SetLayoutResetFlag(0), 1);
}

TEST_F(WindowTableTest, OperationsZeroToTenAnswerOneAndLargerOnesOrBadIdsNothing) {
  Register(7, 70, {1, 2, 3, 4});
  ShellRect r{};
  int32_t xywh[4] = {10, 20, 30, 40};
  int32_t shown = -1;
  WindowPosRecord pos{nullptr, nullptr, 5, 6, 7, 8, 0};
  const intptr_t args[11] = {reinterpret_cast<intptr_t>(W(70)), 0, reinterpret_cast<intptr_t>(&r),
                             reinterpret_cast<intptr_t>(&r), reinterpret_cast<intptr_t>(xywh),
                             reinterpret_cast<intptr_t>(&pos), WSC_SHOW, 0, 0,
                             reinterpret_cast<intptr_t>(W(70)), reinterpret_cast<intptr_t>(&shown)};
  for (int op = 0; op <= 10; ++op) EXPECT_EQ(NumberedWindowOp(op, 7, args[op]), 1) << op;
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(Same(GetRoomLayout(0)->entries[7].rect, ShellRect{5, 6, 12, 14}));

  const RoomLayout before = *GetRoomLayout(0);
  EXPECT_EQ(NumberedWindowOp(11, 7, WSC_HIDE), 0);
  EXPECT_EQ(NumberedWindowOp(100, 7, 0), 0);
  EXPECT_EQ(NumberedWindowOp(WOP_SHOW, 28, WSC_HIDE), 0);
  EXPECT_EQ(NumberedWindowOp(WOP_SET_HANDLE, -1, 5), 0);
  EXPECT_EQ(std::memcmp(&before, GetRoomLayout(0), sizeof before), 0);
  EXPECT_EQ(GetNumberedWindow(28), nullptr);
  EXPECT_EQ(GetNumberedWindow(-1), nullptr);
  EXPECT_EQ(IsNumberedWindowShown(99), 0);
  EXPECT_EQ(GetRoomLayout(8), nullptr);
  EXPECT_EQ(GetRoomLayout(-1), nullptr);
  EXPECT_EQ(GetRoomWindowRect(8, 0, &r), 0);
  EXPECT_EQ(GetRoomWindowRect(0, 28, &r), 0);
  EXPECT_EQ(GetRoomWindowRect(0, 0, nullptr), 0);
  EXPECT_EQ(SetRoomLayout(0, nullptr), 0);
  EXPECT_EQ(ApplyRoomLayout(9999), 9999);
  EXPECT_EQ(ApplyRoomLayout(-1), -1);
  EXPECT_EQ(GetTableRoom(), 0);
}

TEST_F(WindowTableTest, ShowCommands) {
  Register(8, 80);
  struct Step {
    int command;
    bool visible;
    int shown;
  };
  // 12 on a hidden window does nothing, and a later 13 does not show it.
  const Step steps[] = {{WSC_HIDE_FOR_NOW, false, 0}, {WSC_RESTORE, false, 0}, {WSC_SHOW, true, 1},
                        {WSC_HIDE_FOR_NOW, false, 1}, {WSC_RESTORE, true, 1},  {WSC_RESTORE, true, 1},
                        {WSC_TOGGLE, false, 0},       {WSC_TOGGLE, true, 1},   {3, true, 1},
                        {WSC_HIDE, false, 0}};
  for (const Step& s : steps) {
    NumberedWindowOp(WOP_SHOW, 8, s.command);
    EXPECT_EQ(sys.windows[W(80)].visible, s.visible) << s.command;
    EXPECT_EQ(IsNumberedWindowShown(8), s.shown) << s.command;
  }
  NumberedWindowOp(WOP_DISABLE, 8, 0);
  EXPECT_FALSE(sys.windows[W(80)].enabled);
  NumberedWindowOp(WOP_ENABLE, 8, 0);
  EXPECT_TRUE(sys.windows[W(80)].enabled);
}

TEST_F(WindowTableTest, ReplacingAHandleHidesThePreviousWindow) {
  Register(4, 40);
  sys.windows[W(40)].visible = true;
  NumberedWindowOp(WOP_REPLACE_HANDLE, 4, 0);  // null keeps the old one
  EXPECT_EQ(GetNumberedWindow(4), W(40));
  EXPECT_TRUE(sys.windows[W(40)].visible);
  NumberedWindowOp(WOP_REPLACE_HANDLE, 4, reinterpret_cast<intptr_t>(W(41)));
  EXPECT_EQ(GetNumberedWindow(4), W(41));
  EXPECT_FALSE(sys.windows[W(40)].visible);
}

TEST_F(WindowTableTest, BroadcastsReachWindowsFourToTwentySevenOnly) {
  EXPECT_EQ(BroadcastToWindows(RWM_GAME_EVENT, 0, 0, 0), 0);  // none there
  for (int id : {0, 1, 2, 3}) Register(id, 100 + id);
  EXPECT_EQ(BroadcastToWindows(RWM_GAME_EVENT, 0, 0, 0), 0);
  EXPECT_TRUE(sys.log.empty());
  Register(27, 127);
  Register(4, 104);
  Register(9, 109);
  EXPECT_EQ(BroadcastToWindows(RWM_GAME_EVENT, 9, 0, 1), 0);  // nobody answered
  const std::vector<std::string> posted{"post 104 33027 9", "post 109 33027 9", "post 127 33027 9"};
  EXPECT_EQ(sys.log, posted);
  sys.windows[W(109)].answer = 1;
  EXPECT_EQ(BroadcastToWindows(RWM_GAME_EVENT, 2, 0, 0), 1);
  EXPECT_EQ(sys.log.back(), "send 127 33027 2");
}

TEST_F(WindowTableTest, ANeverFilledRoomTakesTheFrameAndBarOfThePreviousRoom) {
  Register(0, 1, {0, 0, 800, 600});
  Register(2, 2, {0, 0, 72, 550});
  Store(1, 0, {10, 10, 810, 610}, 1);
  Store(1, 2, {0, 0, 72, 500}, 1);
  EXPECT_EQ(ApplyRoomLayout(1), 0);
  EXPECT_TRUE(Same(sys.windows[W(1)].rect, {10, 10, 810, 610}));
  EXPECT_TRUE(sys.windows[W(2)].visible);
  EXPECT_EQ(ApplyRoomLayout(3), 1);  // room 3 never filled
  EXPECT_TRUE(Same(GetRoomLayout(3)->entries[0].rect, {10, 10, 810, 610}));
  EXPECT_TRUE(Same(GetRoomLayout(3)->entries[2].rect, {0, 0, 72, 500}));
  EXPECT_TRUE(Same(sys.windows[W(1)].rect, {10, 10, 810, 610}));
  EXPECT_FALSE(sys.windows[W(2)].visible);  // its shown flag in room 3 is clear
  EXPECT_EQ(GetTableRoom(), 3);
}

TEST_F(WindowTableTest, FrameRectangleReadFromTheWindowWhenBothRoomsAreEmpty) {
  Register(0, 1, {3, 4, 803, 604});
  ApplyRoomLayout(2);
  EXPECT_TRUE(Same(GetRoomLayout(0)->entries[0].rect, {3, 4, 803, 604}));
  EXPECT_TRUE(Same(GetRoomLayout(2)->entries[0].rect, {3, 4, 803, 604}));
}

TEST_F(WindowTableTest, PanelsFollowTheirRoomsAndAnEmptyOneStaysPut) {
  Register(0, 1, {0, 0, 800, 600});
  Register(5, 50, {900, 0, 1000, 100});
  Register(6, 60, {1, 2, 3, 4});
  sys.windows[W(60)].visible = true;
  Register(7, 70, {});
  Store(0, 5, {900, 0, 1000, 100}, 1);
  Store(1, 5, {850, 50, 950, 150}, 0);
  Store(0, 7, {700, 700, 720, 720}, 1);
  ApplyRoomLayout(1);
  EXPECT_TRUE(Same(sys.windows[W(50)].rect, {850, 50, 950, 150}));
  EXPECT_FALSE(sys.windows[W(50)].visible);
  // Window 6: empty in both rooms, keeps place and visibility.
  EXPECT_TRUE(Same(sys.windows[W(60)].rect, {1, 2, 3, 4}));
  EXPECT_TRUE(sys.windows[W(60)].visible);
  // Window 7: empty in room 1, takes room 0's rectangle, hidden in room 1.
  EXPECT_TRUE(Same(sys.windows[W(70)].rect, {700, 700, 720, 720}));
  EXPECT_FALSE(sys.windows[W(70)].visible);
  EXPECT_EQ(sys.batchOpen, 0);
}

TEST_F(WindowTableTest, RoomWindowsOneToFourAreFilledButNotMoved) {
  Register(1, 11, {5, 5, 6, 6});
  Store(0, 1, {72, 0, 800, 550}, 1);
  ApplyRoomLayout(4);
  EXPECT_TRUE(Same(GetRoomLayout(4)->entries[1].rect, {72, 0, 800, 550}));
  EXPECT_TRUE(Same(sys.windows[W(11)].rect, {5, 5, 6, 6}));
}

TEST_F(WindowTableTest, AFrameDragMovesOnlyPanelsWhollyInside) {
  Register(0, 1, {100, 100, 900, 700});
  Store(0, 0, {100, 100, 900, 700}, 1);
  Register(5, 50, {200, 200, 300, 300});
  Store(0, 5, {200, 200, 300, 300}, 1);
  Register(6, 60, {850, 200, 950, 300});  // partly outside
  Store(0, 6, {850, 200, 950, 300}, 1);
  WindowPosRecord pos{W(1), nullptr, 130, 90, 0, 0, kWindowPosNoSize};
  EXPECT_EQ(OnFrameWindowPosChanged(&pos), 1);
  EXPECT_TRUE(Same(sys.windows[W(50)].rect, {230, 190, 330, 290}));
  EXPECT_TRUE(Same(sys.windows[W(60)].rect, {850, 200, 950, 300}));
  // The frame's stored rectangle is the record's.
  EXPECT_TRUE(Same(GetRoomLayout(0)->entries[0].rect, {130, 90, 130, 90}));
}

TEST_F(WindowTableTest, AResizeTellsTheBarThenTheRoomWindowWithTheBarsAnswer) {
  Register(0, 1, {0, 0, 800, 600});
  Register(1, 11);
  Register(2, 22);
  sys.windows[W(22)].answer = 77;
  WindowPosRecord pos{W(1), nullptr, 0, 0, 900, 700, 0};
  OnFrameWindowPosChanged(&pos);
  const std::vector<std::string> sent{"send 22 33026 0", "send 11 33026 77"};
  EXPECT_EQ(sys.log, sent);
  EXPECT_TRUE(Same(GetRoomLayout(0)->entries[0].rect, {0, 0, 900, 700}));
}

TEST_F(WindowTableTest, DefaultRectangleBesideTheFrame) {
  Store(0, 0, {0, 0, 800, 600}, 1);
  ShellRect r{};
  DefaultWindowRect(5, 200, 100, &r);
  EXPECT_TRUE(Same(r, {800, 100, 1000, 200}));
  Store(0, 0, {0, 0, 1010, 600}, 1);  // no room to its right
  DefaultWindowRect(39, 200, 100, &r);
  EXPECT_TRUE(Same(r, {824, 0, 1024, 100}));  // 39 * 20 + 10 > 768
}

TEST_F(WindowTableTest, SettingTheCurrentRoomsLayoutAppliesIt) {
  Register(0, 1, {0, 0, 800, 600});
  RoomLayout l{};
  l.entries[0].rect = {20, 30, 820, 630};
  EXPECT_EQ(SetRoomLayout(0, &l), 1);
  EXPECT_TRUE(Same(sys.windows[W(1)].rect, {20, 30, 820, 630}));
  l.entries[0].rect = {40, 40, 840, 640};
  EXPECT_EQ(SetRoomLayout(5, &l), 1);  // another room: stored only
  EXPECT_TRUE(Same(sys.windows[W(1)].rect, {20, 30, 820, 630}));
}

}  // namespace
