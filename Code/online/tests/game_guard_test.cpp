#include <gtest/gtest.h>

#include <cstring>

#include "fake_lobby.h"

namespace {

// alice (White) plays bob; carol is in the session too.
struct GameGuard : ::testing::Test {
  FakeLobby lobby;
  OnlineSession* alice = nullptr;
  OnlineGameDescriptor game;
  std::vector<std::pair<uint32_t, uint32_t>> acted;  // type, sender

  void SetUp() override {
    alice = &lobby.Add("alice");
    lobby.Add("bob");
    lobby.Add("carol");
    for (uint32_t id = 1; id <= 3; ++id) lobby.Login(id);
    lobby.Pump();
    game.guid[0] = 0x42;
    game.flags = kTimeFischer | kGameRated | kGameViewersAllowed | kGameTakebacksAllowed;
    std::strcpy(game.white, "alice");
    std::strcpy(game.black, "bob");
    std::strcpy(game.author, "bob");
    alice->own.game = game;
    alice->game.playing = 1;
    alice->game.ownWhite = 1;
    for (uint32_t t = 1; t <= 101; ++t)
      alice->RegisterPeerHandler(t, [this](OnlineSession&, const PeerMessage& m, uint32_t s) {
        acted.push_back({m.type, s});
      });
  }
  bool Acts(const std::vector<uint8_t>& m, uint32_t sender) {
    acted.clear();
    alice->DispatchPeerMessage(m.data(), m.size(), sender);
    return acted.size() == 1;
  }
  OnlineGameDescriptor Other() {
    OnlineGameDescriptor d = game;
    d.guid[0] = 0x43;
    return d;
  }
};

}  // namespace

TEST_F(GameGuard, OnlyTheOpponentNamingTheGameCounts) {
  const uint32_t bob = 2, carol = 3;
  for (uint32_t type : {5u, 6u, 9u, 10u, 12u, 16u, 33u}) {
    auto m = type == 5 ? BuildMoveMessage(game, OnlineMove()) : BuildDescriptorMessage(type, game);
    EXPECT_TRUE(Acts(m, bob)) << type;
    EXPECT_FALSE(Acts(m, carol)) << type;
    auto other = type == 5 ? BuildMoveMessage(Other(), OnlineMove()) : BuildDescriptorMessage(type, Other());
    EXPECT_FALSE(Acts(other, bob)) << type;
  }
  // 14 ends the current game whatever it names, but only from the opponent.
  EXPECT_TRUE(Acts(BuildDescriptorMessage(MSG_ABORT_GAME, Other()), bob));
  EXPECT_FALSE(Acts(BuildDescriptorMessage(MSG_ABORT_GAME, game), carol));
  // The game start names the game by its GUID.
  EXPECT_TRUE(Acts(BuildGameStartMessage(game.guid, {}), bob));
  EXPECT_FALSE(Acts(BuildGameStartMessage(Other().guid, {}), bob));
  EXPECT_FALSE(Acts(BuildGameStartMessage(game.guid, {}), carol));
  // Not playing or viewing: nothing counts.
  alice->game.playing = 0;
  EXPECT_FALSE(Acts(BuildDescriptorMessage(MSG_RESIGNED, game), bob));
  // Other messages are not game messages.
  EXPECT_TRUE(Acts(BuildChatMessage(2, "hi"), carol));
}

TEST_F(GameGuard, AnswersCountOnlyWhileTheRequestIsOpen) {
  const uint32_t bob = 2;
  for (uint32_t type : {7u, 8u, 18u, 34u, 35u})
    EXPECT_FALSE(Acts(BuildDescriptorMessage(type, game), bob)) << type;

  ASSERT_EQ(alice->OfferDraw(), 0);
  EXPECT_EQ(alice->OfferDraw(), -1);  // one offer at a time
  EXPECT_TRUE(Acts(BuildDescriptorMessage(MSG_DRAW_ACCEPTED, game), bob));
  EXPECT_FALSE(Acts(BuildDescriptorMessage(MSG_DRAW_ACCEPTED, game), bob));

  ASSERT_EQ(alice->SendTakebackRequest(), 0);
  EXPECT_TRUE(Acts(BuildDescriptorMessage(MSG_TAKEBACK_ACCEPTED, game), bob));
  EXPECT_FALSE(Acts(BuildDescriptorMessage(MSG_TAKEBACK_DECLINED, game), bob));

  ASSERT_EQ(alice->RequestAdjournment(), 0);
  EXPECT_TRUE(Acts(BuildDescriptorMessage(MSG_ADJOURN_DECLINED, game), bob));
  EXPECT_FALSE(Acts(BuildDescriptorMessage(MSG_ADJOURN_ACCEPTED, game), bob));
}

TEST_F(GameGuard, ViewersHearBothPlayersOnly) {
  alice->game.playing = 0;
  alice->game.viewing = 1;
  std::strcpy(alice->own.game.white, "bob");
  std::strcpy(alice->own.game.black, "carol");
  game = alice->own.game;
  EXPECT_TRUE(Acts(BuildDescriptorMessage(MSG_RESIGNED, game), 2));
  EXPECT_TRUE(Acts(BuildDescriptorMessage(MSG_DRAW_ACCEPTED, game), 3));
  EXPECT_TRUE(Acts(BuildTakebackDoneMessage(game, 16), 3));
  EXPECT_EQ(alice->SenderSide(2), 16u);
  EXPECT_EQ(alice->SenderSide(3), 32u);
  lobby.Add("dave");
  lobby.Login(4);
  lobby.Pump();
  EXPECT_FALSE(Acts(BuildDescriptorMessage(MSG_RESIGNED, game), 4));
  EXPECT_EQ(alice->SenderSide(4), 0u);
}

TEST_F(GameGuard, RepliesCountOnlyFromTheUserAsked) {
  alice->game.playing = 0;
  OnlineGameSnapshot snap;
  snap.game = game;
  OnlineProfileBlock profile;
  LobbyGameList list;
  struct Case {
    std::vector<uint8_t> reply;
    int (*ask)(OnlineSession&, const std::string&);
  } cases[] = {
      {BuildViewSnapshotMessage(snap),
       [](OnlineSession& s, const std::string& n) { return s.RequestView(n, s.own.game); }},
      {BuildDescriptorMessage(MSG_VIEW_REFUSED, game),
       [](OnlineSession& s, const std::string& n) { return s.RequestView(n, s.own.game); }},
      {BuildProfileMessage(profile),
       [](OnlineSession& s, const std::string& n) { return s.RequestProfile(n); }},
      {BuildGameListMessage(list),
       [](OnlineSession& s, const std::string& n) { return s.RequestPostedGames(n); }},
      {BuildStoredGameMessage(1, snap),
       [](OnlineSession& s, const std::string& n) { return s.RequestStoredGame(n, 1, s.own.game.guid); }},
  };
  for (const Case& c : cases) {
    uint32_t type = c.reply[4];
    EXPECT_FALSE(Acts(c.reply, 3)) << type;  // unasked
    ASSERT_EQ(c.ask(*alice, "bob"), 0);
    EXPECT_FALSE(Acts(c.reply, 3)) << type;  // asked somebody else
    EXPECT_TRUE(Acts(c.reply, 2)) << type;
  }
}

TEST_F(GameGuard, PlayersAreTheOpponentThenTheViewers) {
  OnlineUser viewer = lobby.At(3).session->own;
  viewer.state = USER_VIEWING;
  viewer.game = game;
  viewer.changeMask = 16;
  alice->UpdateOnlineUser(viewer, 3);
  std::vector<uint32_t> ids;
  ASSERT_TRUE(alice->MakeGameRecipients(game, true, &ids));
  EXPECT_EQ(ids, (std::vector<uint32_t>{2, 3}));
  ASSERT_TRUE(alice->MakeGameRecipients(game, false, &ids));
  EXPECT_EQ(ids, std::vector<uint32_t>{3});
  uint32_t one[1];
  int count = 0;
  EXPECT_EQ(alice->CollectViewers(game, one, &count), -1);  // array too small
  count = 1;
  EXPECT_EQ(alice->CollectViewers(game, one, &count), 1);
  EXPECT_EQ(alice->CollectViewers(OnlineGameDescriptor(), one, &count), -1);  // empty descriptor
  OnlineGameDescriptor gone = game;
  std::strcpy(gone.black, "nobody");
  EXPECT_FALSE(alice->MakeGameRecipients(gone, true, &ids));
}
