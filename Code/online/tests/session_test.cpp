#include <gtest/gtest.h>

#include <cstring>

#include "fake_lobby.h"

namespace {

uint32_t TypeOf(const std::vector<uint8_t>& m) { return m[4] | m[5] << 8; }

// Two copies logged in and known to each other.
struct TwoCopies : ::testing::Test {
  FakeLobby lobby;
  OnlineSession* alice = nullptr;
  OnlineSession* bob = nullptr;
  void SetUp() override {
    alice = &lobby.Add("alice");
    bob = &lobby.Add("bob");
    lobby.Login(1);
    lobby.Login(2);
    lobby.Pump();
  }
  FakeHooks& Hooks(uint32_t id) { return *lobby.At(id).hooks; }
  FakeLink& Link(uint32_t id) { return *lobby.At(id).link; }
};

}  // namespace

TEST_F(TwoCopies, LoginAnnouncesAndBothTablesHoldBoth) {
  for (OnlineSession* s : {alice, bob}) {
    EXPECT_EQ(s->Users().size(), 2u);
    EXPECT_NE(s->FindOnlineUserByNickname("alice"), nullptr);
    EXPECT_NE(s->FindOnlineUserByNickname("bob"), nullptr);
  }
  const OnlineUserEntry* a = bob->FindOnlineUserById(1);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->user.ratings[1].rating, 1600u);
  EXPECT_EQ(a->user.version, kOnlineProtocolVersion);
  EXPECT_EQ(alice->Start(1, "x"), 1204);
  EXPECT_EQ(alice->loginName, "alice");
}

TEST(OnlineStore, FirstLoginStoresDefaultsAndAnEmptyList) {
  FakeLobby lobby;
  lobby.Add("alice");
  lobby.Login(1);
  auto& kept = lobby.store["alice"];
  ASSERT_EQ(kept["RWL_NETUSERDATA"].size(), kNetUserDataSize);
  NetUserData d;
  ASSERT_TRUE(UnpackNetUserData(kept["RWL_NETUSERDATA"].data(), kNetUserDataSize, &d));
  for (uint32_t c = 0; c < 3; ++c) {
    EXPECT_EQ(d.blocks[c].category, c);
    EXPECT_EQ(d.blocks[c].rating, 1600u);
    EXPECT_EQ(d.blocks[c].highest, 1600u);
    EXPECT_STREQ(d.blocks[c].highestWhen, "12/11/26 02:40");
  }
  EXPECT_EQ(kept["RWL_NETGAMELIST"], std::vector<uint8_t>(kLobbyGameListSize, 0));
}

TEST(OnlineStore, CorruptStoredRatingsEndTheLogin) {
  FakeLobby lobby;
  lobby.store["alice"]["RWL_NETUSERDATA"] = std::vector<uint8_t>(kNetUserDataSize, 'x');
  lobby.Add("alice");
  lobby.Login(1);
  EXPECT_EQ(lobby.At(1).hooks->boxes,
            std::vector<std::string>{"Fatal error getting user record from network"});
  EXPECT_FALSE(lobby.At(1).session->IsOpen());
  EXPECT_EQ(lobby.At(1).hooks->left, 1);
}

namespace {
OnlineGameSnapshot Game(uint8_t tag, size_t moves = 2) {
  OnlineGameSnapshot s;
  s.game.guid[0] = tag;
  s.game.guid[15] = 0x77;
  std::strcpy(s.game.white, "alice");
  std::strcpy(s.game.black, "bob");
  std::strcpy(s.game.author, "alice");
  s.result = 15;
  s.moves.resize(moves);
  return s;
}
}  // namespace

TEST(OnlineStore, PostReadRemoveAndTheirRefusals) {
  FakeLobby lobby;
  OnlineSession& s = lobby.Add("alice");
  lobby.Login(1);
  for (uint8_t i = 1; i <= 10; ++i) ASSERT_EQ(s.PostNetGame(Game(i)), 0) << int(i);
  EXPECT_EQ(s.gameList.count, 10u);
  auto before = lobby.store["alice"];
  int puts = lobby.puts;
  EXPECT_EQ(s.PostNetGame(Game(11)), -1);  // eleventh
  EXPECT_EQ(lobby.puts, puts);
  EXPECT_EQ(lobby.store["alice"], before);

  OnlineGameSnapshot back;
  ASSERT_EQ(s.ReadNetGame(Game(4).game.guid, &back), 0);
  EXPECT_EQ(back.moves.size(), 2u);
  EXPECT_EQ(back.game.guid[0], 4);

  ASSERT_EQ(s.RemoveNetGame(Game(1).game.guid), 0);
  EXPECT_EQ(s.gameList.count, 9u);
  EXPECT_TRUE(lobby.store["alice"]["Game00"].empty());
  EXPECT_EQ(s.PostNetGame(Game(3)), -1);  // listed, though a slot is free
  puts = lobby.puts;
  EXPECT_EQ(s.RemoveNetGame(Game(99).game.guid), -1);  // unlisted
  EXPECT_EQ(lobby.puts, puts);
  EXPECT_EQ(s.ReadNetGame(Game(99).game.guid, &back), -1);

  // The server refuses the new list: the session keeps its own.
  LobbyGameList kept = s.gameList;
  lobby.At(1).link->refuseKey = "RWL_NETGAMELIST";
  EXPECT_NE(s.PostNetGame(Game(12)), 0);
  EXPECT_EQ(std::memcmp(&kept, &s.gameList, sizeof kept), 0);
  EXPECT_NE(s.RemoveNetGame(Game(2).game.guid), 0);
  EXPECT_EQ(std::memcmp(&kept, &s.gameList, sizeof kept), 0);

  // A game of more than 512 moves is not stored.
  lobby.At(1).link->refuseKey.clear();
  EXPECT_EQ(s.PostNetGame(Game(13, 513)), -1);
}

TEST(OnlineStore, StoredGameMustMatchTheSizeRead) {
  FakeLobby lobby;
  OnlineSession& s = lobby.Add("alice");
  lobby.Login(1);
  ASSERT_EQ(s.PostNetGame(Game(1, 3)), 0);
  auto& bytes = lobby.store["alice"]["Game00"];
  OnlineGameSnapshot back;
  struct Case {
    const char* what;
    void (*spoil)(std::vector<uint8_t>&);
  } cases[] = {
      {"n larger than the bytes", [](std::vector<uint8_t>& b) { b[124] = 4; }},
      {"n smaller than the bytes", [](std::vector<uint8_t>& b) { b[124] = 2; }},
      {"n = 513", [](std::vector<uint8_t>& b) { b[124] = 1, b[125] = 2; }},
      {"truncated", [](std::vector<uint8_t>& b) { b.resize(100); }},
      {"unterminated name", [](std::vector<uint8_t>& b) { std::memset(&b[48 + 28], 'x', 16); }},
  };
  auto good = bytes;
  for (const Case& c : cases) {
    bytes = good;
    c.spoil(bytes);
    EXPECT_EQ(s.ReadNetGame(Game(1).game.guid, &back), -1) << c.what;
  }
  // A list read back whose count disagrees with its slots is refused.
  auto& list = lobby.store["alice"]["RWL_NETGAMELIST"];
  list[0] = 5;
  LobbyGameList l;
  EXPECT_EQ(s.LoadNetGameList(&l), -1);
}

TEST_F(TwoCopies, SecondCopyWithTheSameNameIsRefused) {
  OnlineSession& again = lobby.Add("alice");
  lobby.Login(3);
  lobby.Pump();
  EXPECT_EQ(Hooks(3).boxes, std::vector<std::string>{"Login failed due to Nickname conflict"});
  EXPECT_FALSE(again.IsOpen());
  EXPECT_EQ(alice->Users().size(), 2u);
  EXPECT_TRUE(Hooks(1).boxes.empty());
}

TEST_F(TwoCopies, VersionCheck) {
  OnlineUser u;
  std::strcpy(u.nickname, "bob");
  auto m = BuildUserMessage(MSG_LOGIN, u);
  m[0] = 0x05;  // minor 5: accepted (the announcement answered with 24)
  size_t sentBefore = Link(1).sent.size();
  alice->DispatchPeerMessage(m.data(), m.size(), 2);
  ASSERT_EQ(Link(1).sent.size(), sentBefore + 1);
  EXPECT_EQ(TypeOf(Link(1).sent.back()), 24u);
  EXPECT_TRUE(Hooks(1).modeless.empty());

  m[2] = 0x02;  // major 2: dropped with the version box
  alice->DispatchPeerMessage(m.data(), m.size(), 2);
  EXPECT_EQ(Link(1).sent.size(), sentBefore + 1);
  ASSERT_EQ(Hooks(1).modeless.size(), 1u);
  EXPECT_EQ(Hooks(1).modeless[0].rfind("Received initialization message from user with incorrect version, "
                                       "further messages will be ignored. ",
                                       0),
            0u);
  // Another type with another major version: dropped silently.
  auto chat = BuildChatMessage(2, "hi");
  chat[2] = 0x02;
  alice->DispatchPeerMessage(chat.data(), chat.size(), 2);
  EXPECT_TRUE(Hooks(1).chat.empty());
  EXPECT_EQ(Hooks(1).modeless.size(), 1u);
}

TEST_F(TwoCopies, SendersAndNicknamesAreChecked) {
  // A chat from an id not in the table goes nowhere.
  auto chat = BuildChatMessage(2, "hi");
  alice->DispatchPeerMessage(chat.data(), chat.size(), 9);
  EXPECT_TRUE(Hooks(1).chat.empty());
  alice->DispatchPeerMessage(chat.data(), chat.size(), 2);
  EXPECT_EQ(Hooks(1).chat, std::vector<std::string>{"says hi"});

  // A type 23 naming somebody other than the lobby's name for the sender.
  lobby.Add("carol");
  OnlineUser forged;
  std::strcpy(forged.nickname, "dave");
  forged.version = kOnlineProtocolVersion;
  auto m = BuildUserMessage(MSG_LOGIN, forged);
  alice->DispatchPeerMessage(m.data(), m.size(), 3);
  EXPECT_EQ(alice->FindOnlineUserByNickname("dave"), nullptr);
  auto answer = BuildUserMessage(MSG_LOGIN_ANSWER, forged);
  alice->DispatchPeerMessage(answer.data(), answer.size(), 3);
  EXPECT_EQ(alice->Users().size(), 2u);
}

TEST_F(TwoCopies, UserUpdatesFollowTheMaskOrder) {
  OnlineUser u;
  std::strcpy(u.nickname, "bob");
  u.state = USER_PLAYING;
  u.ratings[0] = {5, 1700};
  u.ratings[1] = {6, 1750};
  std::strcpy(u.channel, "Chess");
  u.game.guid[0] = 9;
  std::strcpy(u.game.white, "bob");
  const OnlineUserEntry* b = alice->FindOnlineUserById(2);
  ASSERT_NE(b, nullptr);

  u.changeMask = 2 | 4;  // the first bit decides: Bullet only
  alice->UpdateOnlineUser(u, 2);
  EXPECT_EQ(b->user.ratings[0].rating, 1700u);
  EXPECT_EQ(b->user.ratings[1].rating, 1600u);
  EXPECT_EQ(b->user.state, USER_IDLE);

  u.changeMask = 16;
  alice->UpdateOnlineUser(u, 2);
  EXPECT_EQ(b->user.state, USER_PLAYING);
  EXPECT_EQ(b->user.game.guid[0], 9);
  u.changeMask = 64;
  alice->UpdateOnlineUser(u, 2);
  EXPECT_EQ(b->user.game.flags, kGameViewersAllowed);
  u.changeMask = 0x1000;
  u.state = USER_IDLE;
  alice->UpdateOnlineUser(u, 2);
  EXPECT_EQ(b->user.game.guid[0], 0);
  u.changeMask = 0x400;
  auto m = BuildUserMessage(MSG_USER_UPDATE, u);
  alice->DispatchPeerMessage(m.data(), m.size(), 2);
  EXPECT_STREQ(b->user.channel, "Chess");
  EXPECT_EQ(Hooks(1).windowNotices.back(), (std::pair<uint32_t, std::string>{0x400, "bob"}));

  // An unknown id changes nothing and tells nobody.
  size_t notices = Hooks(1).windowNotices.size();
  alice->UpdateOnlineUser(u, 77);
  EXPECT_EQ(Hooks(1).windowNotices.size(), notices);
}

TEST_F(TwoCopies, LeavingRemovesTheUser) {
  bob->Close();
  lobby.Pump();
  EXPECT_EQ(alice->FindOnlineUserByNickname("bob"), nullptr);
  EXPECT_EQ(Hooks(1).windowNotices.back(), (std::pair<uint32_t, std::string>{kUserRemoved, "bob"}));
}

TEST_F(TwoCopies, DisconnectedOpponentOffersAdjournment) {
  // Both play one game.
  OnlineGameDescriptor g;
  g.guid[0] = 1;
  std::strcpy(g.white, "alice");
  std::strcpy(g.black, "bob");
  alice->own.game = g;
  alice->game.playing = 1;
  OnlineUser u = lobby.At(2).session->own;
  u.game = g;
  u.changeMask = 16;
  alice->UpdateOnlineUser(u, 2);
  auto* r = new LobbyEvent;
  r->kind = LOBBY_PLAYER_GONE;
  r->senderId = 2;
  alice->QueueLobbyEvent(r);
  EXPECT_EQ(Hooks(1).questions,
            std::vector<std::string>{"bob has been disconnected, do you want to adjourn this game ?"});
  EXPECT_EQ(Hooks(1).ended, std::vector<uint32_t>{15});
  EXPECT_EQ(alice->FindOnlineUserById(2), nullptr);
}

TEST_F(TwoCopies, RecordsQueuedDuringAQuestionWaitTheirTurn) {
  OnlineGameDescriptor g;
  g.guid[0] = 1;
  std::strcpy(g.white, "alice");
  std::strcpy(g.black, "bob");
  alice->own.game = g;
  alice->game.playing = 1;
  OnlineUser u = bob->own;
  u.game = g;
  u.changeMask = 16;
  alice->UpdateOnlineUser(u, 2);
  std::vector<std::string> order;
  alice->RegisterPeerHandler(
      MSG_CHAT, [&](OnlineSession&, const PeerMessage& m, uint32_t) { order.push_back(m.text); });
  Hooks(1).duringQuestion = [&] {
    for (const char* t : {"one", "two"}) {
      auto m = BuildChatMessage(2, t);
      auto* r = new LobbyEvent;
      r->senderId = 2;
      r->data = m;
      alice->QueueLobbyEvent(r);
    }
    EXPECT_TRUE(order.empty());  // not handled inside the question
  };
  auto* gone = new LobbyEvent;
  gone->kind = LOBBY_PLAYER_GONE;
  gone->senderId = 2;
  alice->QueueLobbyEvent(gone);
  EXPECT_EQ(Hooks(1).questions.size(), 1u);
  // Bob is gone by then, so his chat stops at the sender check; the order
  // is what matters: let a registered sender speak instead.
  EXPECT_TRUE(order.empty());
  lobby.Add("carol");
  lobby.Login(3);
  lobby.Pump();
  Hooks(1).duringQuestion = [&] {
    for (const char* t : {"one", "two"}) {
      auto* r = new LobbyEvent;
      r->senderId = 3;
      r->data = BuildChatMessage(2, t);
      alice->QueueLobbyEvent(r);
    }
    EXPECT_TRUE(order.empty());
  };
  alice->RegisterPeerHandler(MSG_VIEW_REQUEST, [&](OnlineSession& s, const PeerMessage&, uint32_t) {
    s.hooks.AskYesNo("?");
    order.push_back("question done");
  });
  auto* ask = new LobbyEvent;
  ask->senderId = 3;
  ask->data = BuildDescriptorMessage(MSG_VIEW_REQUEST, g);
  alice->QueueLobbyEvent(ask);
  EXPECT_EQ(order, (std::vector<std::string>{"question done", "one", "two"}));
}

TEST_F(TwoCopies, CloseReleasesEveryQueuedRecord) {
  int released = Link(1).released;
  alice->RegisterPeerHandler(MSG_CHAT, [](OnlineSession& s, const PeerMessage&, uint32_t) {
    for (int i = 0; i < 3; ++i) {
      auto* r = new LobbyEvent;
      r->senderId = 2;
      r->data = BuildChatMessage(2, "x");
      s.QueueLobbyEvent(r);
    }
    s.Close();
  });
  auto* r = new LobbyEvent;
  r->senderId = 2;
  r->data = BuildChatMessage(2, "x");
  alice->QueueLobbyEvent(r);
  EXPECT_EQ(Link(1).released, released + 4);
  EXPECT_FALSE(alice->IsOpen());
}

TEST_F(TwoCopies, KeepAliveAtMostOncePerMinute) {
  auto count = [&] {
    int n = 0;
    for (auto& m : Link(1).sent) n += TypeOf(m) == MSG_KEEP_ALIVE;
    return n;
  };
  Hooks(1).now = 5000;
  EXPECT_TRUE(alice->SendKeepAlive());
  Hooks(1).now = 5000 + 59999;
  EXPECT_FALSE(alice->SendKeepAlive());
  EXPECT_EQ(count(), 1);
  Hooks(1).now = 5000 + 60000;
  EXPECT_TRUE(alice->SendKeepAlive());
  EXPECT_EQ(count(), 2);
}

TEST_F(TwoCopies, FailedSendIsReportedOnceAndTheNoticeLeavesTheSession) {
  Link(1).sendResult = -5;
  EXPECT_EQ(alice->SendPeerToChannel(BuildEmptyMessage(MSG_KEEP_ALIVE)), -5);
  EXPECT_EQ(Hooks(1).boxes, std::vector<std::string>{"Failed to send channel msg\nDPERR_CONNECTIONLOST"});
  EXPECT_EQ(Hooks(1).notices, std::vector<uint32_t>{kFatalSendNotice});
  Link(1).sendResult = -9;
  EXPECT_EQ(alice->SendPeerToUser(BuildEmptyMessage(MSG_PROFILE_REQUEST), "bob"), -9);
  EXPECT_EQ(Hooks(1).boxes.back(), "Failed to send user msg\nUnknown error=-9");
  EXPECT_EQ(alice->SendPeerToUser(BuildEmptyMessage(MSG_PROFILE_REQUEST), "nobody"), -1);
  EXPECT_EQ(alice->SendPeerToUsers(BuildEmptyMessage(MSG_PROFILE_REQUEST), {2}), -9);
  EXPECT_EQ(Hooks(1).boxes.back(), "Failed to send multiuser msg\nUnknown error=-9");
  // The host's notice has no record: it ends the session.
  alice->HandleRoomMessage(kFatalSendNotice, nullptr);
  EXPECT_FALSE(alice->IsOpen());
  EXPECT_EQ(Hooks(1).left, 1);
  alice->HandleRoomMessage(kFatalSendNotice, nullptr);
  EXPECT_EQ(Hooks(1).left, 1);
}

TEST_F(TwoCopies, ChatVerbsAndRoutes) {
  EXPECT_EQ(alice->SendChat(2, "hello", {}), -1);  // a list with no ids
  size_t sent = Link(1).sent.size();
  EXPECT_EQ(alice->SendChat(4, "all", {}), 0);
  EXPECT_EQ(Link(1).sent.size(), sent + 1);
  EXPECT_EQ(alice->SendChat(1, "psst", {2}), 0);
  lobby.Pump();
  EXPECT_EQ(Hooks(2).chat, (std::vector<std::string>{"announces all", "tells psst"}));
  const char* verbs[] = {"thinks", "tells", "says", "shouts", "announces", "thinks"};
  for (uint32_t v = 0; v < 6; ++v) EXPECT_STREQ(GetChatVerbText(v), verbs[v]);
}

TEST(OnlineTexts, RatingsCategoriesAndStates) {
  EXPECT_EQ(FormatRating(false, 1650, 19), "1650/19");
  EXPECT_EQ(FormatRating(false, 1650, 20), "1650");
  EXPECT_EQ(FormatRating(false, 0, 5), "****");
  EXPECT_EQ(FormatRating(true, 1650, 25), "****");
  struct Case {
    uint32_t flags, base, bonus, category;
  } cases[] = {{2, 3, 2, 1},  {2, 3, 1, 0},  {1, 3, 0, 0}, {1, 4, 0, 1}, {1, 14, 0, 1},
               {1, 15, 0, 2}, {2, 14, 2, 2}, {0, 1, 0, 2}, {4, 1, 0, 2}, {8, 1, 0, 2}};
  for (const Case& c : cases) EXPECT_EQ(GetTimeCategory(c.flags, c.base, c.bonus), c.category) << c.base;
  EXPECT_STREQ(GetTimeCategoryText(3), "Non-Standard");
  EXPECT_EQ(FormatOnlineTimeControl(2, 5, 3), "5/3");
  EXPECT_EQ(FormatOnlineTimeControl(1, 5, 0), "5m");
  EXPECT_EQ(FormatOnlineTimeControl(4, 90, 0), "90s");
  EXPECT_EQ(FormatOnlineTimeControl(0, 5, 0), "Infinite");
  EXPECT_STREQ(FormatRatedFlag(0x30), "Rated");
  EXPECT_STREQ(FormatRatedFlag(0x10), "Unrated-Enforced");
  EXPECT_STREQ(FormatRatedFlag(0), "Unrated-Unenforced");
  EXPECT_STREQ(GetTimeTypeText(3), " ");
  EXPECT_STREQ(GetUserStateText(2048), "Away");
  EXPECT_STREQ(GetUserStateText(3), "Idle");
}

TEST(PeerDispatch, RoutesAndIgnoredTypes) {
  struct Case {
    uint32_t type;
    PeerRoute route;
  } cases[] = {{1, ROUTE_LIST},  {3, ROUTE_USER},     {5, ROUTE_PLAYERS}, {9, ROUTE_PLAYERS},
               {14, ROUTE_LIST}, {19, ROUTE_USER},    {22, ROUTE_LIST},   {23, ROUTE_CHANNEL},
               {24, ROUTE_LIST}, {31, ROUTE_VIEWERS}, {32, ROUTE_USER},   {35, ROUTE_PLAYERS},
               {53, ROUTE_LIST}, {54, ROUTE_USER},    {56, ROUTE_USER},   {101, ROUTE_CHANNEL},
               {11, ROUTE_NONE}, {102, ROUTE_NONE}};
  for (const Case& c : cases) EXPECT_EQ(GetPeerRoute(c.type), c.route) << c.type;

  FakeLobby lobby;
  OnlineSession& s = lobby.Add("alice");
  lobby.Add("bob");
  lobby.Login(1);
  lobby.Login(2);
  lobby.Pump();
  int calls = 0;
  for (uint32_t t = 1; t <= 101; ++t)
    s.RegisterPeerHandler(t, [&](OnlineSession&, const PeerMessage&, uint32_t) { ++calls; });
  for (uint32_t t : {11u, 13u, 15u, 28u, 30u, 36u, 49u, 57u, 62u, 71u, 91u, 100u, 102u, 5000u}) {
    auto m = BuildEmptyMessage(t);
    m.resize(2000, 0);
    s.DispatchPeerMessage(m.data(), m.size(), 2);
  }
  EXPECT_EQ(calls, 0);
  // A short message of a known type is dropped, a whole one handled.
  auto m = BuildDescriptorMessage(MSG_VIEW_REQUEST, OnlineGameDescriptor());
  s.DispatchPeerMessage(m.data(), m.size() - 1, 2);
  EXPECT_EQ(calls, 0);
  s.DispatchPeerMessage(m.data(), m.size(), 2);
  EXPECT_EQ(calls, 1);
  // The address record: empty or unterminated data is safe.
  for (std::vector<uint8_t> data : {std::vector<uint8_t>{}, std::vector<uint8_t>{'1', '.', '2'}}) {
    auto* r = new LobbyEvent;
    r->kind = LOBBY_ADDRESS;
    r->addressKind = 2;
    r->data = data;
    s.QueueLobbyEvent(r);
  }
  EXPECT_EQ(s.internetAddress, "1.2");
}
