// The room window's timer under Wine: engine replies that arrive while the
// timer is held (a dialog or a message box is up) wait in the room-event
// queue, and the first tick after the release hands every one of them to the
// engine link, oldest first.
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
