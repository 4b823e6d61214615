// Live games between copies wired through the in-memory lobby: alice and bob
// play, carol looks on or tries to interfere.
#include "online_games.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "fake_lobby.h"
#include "game_end.h"
#include "game_host.h"
#include "game_record.h"
#include "live_game.h"
#include "movegen.h"
#include "rating_change.h"
#include "notation.h"
#include "rated_games.h"

namespace {

struct FakeGameHooks : OnlineGameHooks {
  GameRecord* shown = nullptr;
  int changed = 0, menus = 0;
  std::vector<bool> orientations;
  std::vector<NetUserData> stored;
  std::vector<std::pair<std::string, std::string>> profiles;  // nickname, user name in the block
  std::vector<std::pair<std::string, uint32_t>> postedLists;  // nickname, count
  std::vector<OnlineGameSnapshot> resumed;
  std::string name;
  bool inRoom = true;

  int32_t NewRating(uint32_t r, uint32_t o, uint32_t g, uint32_t og, int score) override {
    return ComputeNewRating(r, o, g, og, score);
  }
  void ShowGame(GameRecord* g) override { shown = g; }
  void OrientBoard(bool white) override { orientations.push_back(white); }
  void GameChanged(int) override { ++changed; }
  void MenusChanged() override { ++menus; }
  bool InOnlineRoom() override { return inRoom; }
  bool ChallengesBlocked() override { return false; }
  void StoreRatings(const NetUserData& d, bool) override { stored.push_back(d); }
  OnlineProfileBlock OwnProfile() override {
    OnlineProfileBlock p;
    std::snprintf(p.userName, sizeof p.userName, "%s", name.c_str());
    return p;
  }
  void ShowProfile(const std::string& nick, const OnlineProfileBlock& p) override {
    profiles.push_back({nick, p.userName});
  }
  void ShowPostedGames(const std::string& nick, const LobbyGameList& l) override {
    postedLists.push_back({nick, l.count});
  }
  void ResumeStoredGame(const OnlineGameSnapshot& s) override { resumed.push_back(s); }
};

// The rules call one game host; it hands each call to the copy being driven.
OnlineGames* g_active = nullptr;
struct RoutingHost : GameHost {
  void EndOnlineGame(int result) override {
    if (g_active) g_active->EndOnlineGame(uint32_t(result));
  }
  void SendOnlineMove(const MoveRecord* move) override {
    if (g_active && move) g_active->SendOnlineMove(*move);
  }
  void NotifyOnlineGameOver() override {
    if (g_active) g_active->NotifyOnlineGameOver();
  }
};


struct LiveGames : ::testing::Test {
  FakeLobby lobby;
  RoutingHost host;
  std::vector<std::unique_ptr<FakeGameHooks>> gameHooks;
  std::vector<std::unique_ptr<OnlineGames>> games;
  OnlineGameDescriptor d;

  void SetUp() override {
    SetGameHost(&host);
    for (const char* name : {"alice", "bob", "carol"}) {
      OnlineSession& s = lobby.Add(name);
      gameHooks.push_back(std::make_unique<FakeGameHooks>());
      gameHooks.back()->name = name;
      games.push_back(std::make_unique<OnlineGames>(s, *gameHooks.back()));
      games.back()->Install();
      OnlineGames* g = games.back().get();
      lobby.copies.back()->hooks->onEnd = [g](uint32_t r) { g->EndOnlineGame(r); };
    }
    lobby.onDeliver = [this](uint32_t id) { g_active = games[id - 1].get(); };
    for (uint32_t id = 1; id <= 3; ++id) lobby.Login(id);
    lobby.Pump();
    d.guid[0] = 0x42;
    d.guid[15] = 0x17;
    d.flags = kTimeFischer | kGameRated | kGameViewersAllowed | kGameTakebacksAllowed;
    d.base = 5;
    d.bonus = 3;
    std::strcpy(d.white, "alice");
    std::strcpy(d.black, "bob");
    std::strcpy(d.author, "alice");
  }
  void TearDown() override {
    for (auto& c : lobby.copies) c->hooks->onEnd = nullptr;  // the games go first
    g_active = nullptr;
    SetGameHost(nullptr);
  }

  OnlineSession& S(uint32_t id) { return *lobby.At(id).session; }
  FakeHooks& H(uint32_t id) { return *lobby.At(id).hooks; }
  FakeGameHooks& GH(uint32_t id) { return *gameHooks[id - 1]; }
  OnlineGames& G(uint32_t id) {
    g_active = games[id - 1].get();
    return *games[id - 1];
  }
  // Both players begin the game, as the challenge dialogs do on acceptance.
  void Begin() {
    ASSERT_TRUE(G(1).BeginOnlineGame(d, nullptr));
    ASSERT_TRUE(G(2).BeginOnlineGame(d, nullptr));
    lobby.Pump();
  }
  // Plays a move as the copy's own user, then delivers what it sent.
  void Move(uint32_t id, const char* text) {
    GameRecord* g = G(id).Game();
    MoveRecord move{};
    ASSERT_TRUE(ParseAlgebraicMove(&move, text, &g->position, g->sideToMove)) << text;
    ASSERT_EQ(PlayMove(g, &move, false), 0);
    lobby.Pump();
  }
  std::string Fen(uint32_t id) {
    const Board& b = G(id).Game()->position;
    return std::string(reinterpret_cast<const char*>(b.sq), 128) + char(G(id).Game()->sideToMove);
  }
  // A message from `from` straight to `to`, as a forger would send it.
  void Forge(uint32_t from, uint32_t to, const std::vector<uint8_t>& m) {
    lobby.Deliver(to, from, m.data(), m.size());
    lobby.Pump();
  }
  NetUserData Stored(const char* name) {
    NetUserData data;
    auto& v = lobby.store[name]["RWL_NETUSERDATA"];
    EXPECT_TRUE(UnpackNetUserData(v.data(), v.size(), &data));
    return data;
  }
};

}  // namespace

TEST_F(LiveGames, BeginningSetsClocksKindsSidesAndStates) {
  Begin();
  GameRecord* a = G(1).Game();
  GameRecord* b = G(2).Game();
  ASSERT_TRUE(a && b);
  EXPECT_EQ(std::memcmp(a->id.bytes, d.guid, 16), 0);
  EXPECT_EQ(a->kind, 0x2430u);
  EXPECT_EQ(a->white.timeControl, 5u);
  EXPECT_EQ(a->white.baseMs, 300000u);
  EXPECT_EQ(a->white.periodOrIncrement, 3000u);
  EXPECT_STREQ(a->white.name, "alice");
  EXPECT_STREQ(a->black.name, "bob");
  EXPECT_EQ(a->white.kind, uint32_t(PLAYER_HUMAN));
  EXPECT_EQ(a->black.kind, uint32_t(PLAYER_REMOTE));
  EXPECT_EQ(b->white.kind, uint32_t(PLAYER_REMOTE));
  EXPECT_EQ(b->black.kind, uint32_t(PLAYER_HUMAN));
  EXPECT_EQ(std::string(a->header.whiteElo, 4), "1600");
  EXPECT_EQ(GH(1).orientations.back(), true);
  EXPECT_EQ(GH(2).orientations.back(), false);
  EXPECT_TRUE(S(1).game.playing && S(1).game.ownWhite);
  EXPECT_TRUE(S(2).game.playing && !S(2).game.ownWhite);
  EXPECT_EQ(S(2).game.opponentRating, 1600u);
  // Every copy's table now shows both as playing that game.
  const OnlineUserEntry* seen = S(3).FindOnlineUserByNickname("alice");
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(seen->user.state, uint32_t(USER_PLAYING));
  EXPECT_EQ(std::memcmp(seen->user.game.guid, d.guid, 16), 0);

  // Clocks of the other time controls.
  struct Case {
    uint32_t flags, base, bonus, control, baseMs;
  } cases[] = {{kTimeMinutesPerGame, 10, 0, 4, 600000}, {kTimeHourglass, 90, 0, 6, 90000}};
  uint8_t tag = 0x60;
  for (const Case& c : cases) {
    G(1).EndOnlineGame(RESULT_ABORTED);
    G(2).EndOnlineGame(RESULT_ABORTED);
    lobby.Pump();
    d.flags = c.flags;
    d.base = c.base;
    d.guid[0] = tag++;
    Begin();
    EXPECT_EQ(G(1).Game()->white.timeControl, c.control);
    EXPECT_EQ(G(1).Game()->black.baseMs, c.baseMs);
    EXPECT_EQ(G(1).Game()->kind, 0x2400u);
  }
}

TEST_F(LiveGames, MovesCrossAndForgedOnesAreIgnored) {
  Begin();
  Move(1, "e4");
  Move(2, "e5");
  Move(1, "Nf3");
  EXPECT_EQ(Fen(1), Fen(2));
  EXPECT_EQ(GetMoveCount(G(2).Game()), 3);
  size_t before = GetMoveCount(G(1).Game());

  // Another game's move, a move out of turn and carol's move change nothing.
  MoveRecord nc6{};
  ASSERT_TRUE(ParseAlgebraicMove(&nc6, "Nc6", &G(1).Game()->position, BLACK));
  OnlineGameDescriptor other = d;
  other.guid[0] ^= 1;
  Forge(2, 1, BuildMoveMessage(other, MakeOnlineMove(nc6)));
  Forge(3, 1, BuildMoveMessage(d, MakeOnlineMove(nc6)));
  // Alice moving bob's knight on bob's turn.
  Forge(1, 2, BuildMoveMessage(d, MakeOnlineMove(nc6)));
  EXPECT_EQ(size_t(GetMoveCount(G(1).Game())), before);
  EXPECT_EQ(size_t(GetMoveCount(G(2).Game())), before);
  EXPECT_EQ(Fen(1), Fen(2));
  EXPECT_TRUE(S(2).game.playing);
  EXPECT_TRUE(H(1).modeless.empty());
  EXPECT_TRUE(H(2).modeless.empty());

  // An illegal move aborts the game on the receiver.
  OnlineMove bad;
  bad.from = 0x00;  // a1 rook of White cannot move for Black
  bad.to = 0x30;
  Forge(2, 1, BuildMoveMessage(d, bad));
  EXPECT_EQ(G(1).Game()->result, uint32_t(RESULT_ABORTED));
  EXPECT_EQ(H(1).modeless.back(), "Illegal move received");
  EXPECT_FALSE(S(1).game.playing);
}

TEST_F(LiveGames, TakebacksWithAndWithoutTheirBit) {
  d.flags &= ~kGameTakebacksAllowed;
  Begin();
  Move(1, "e4");
  // Bob asks anyway: declined at once, alice is not asked.
  S(2).SendTakebackRequest();
  lobby.Pump();
  EXPECT_TRUE(H(1).questions.empty());
  EXPECT_EQ(H(2).modeless.back(), "Your opponent has declined your takeback request");
  EXPECT_EQ(GetMoveCount(G(1).Game()), 1);

  G(1).EndOnlineGame(RESULT_ABORTED);
  lobby.Pump();
  d.flags |= kGameTakebacksAllowed;
  d.guid[0] = 0x43;
  Begin();
  // Carol views from the start (alice to move).
  ASSERT_TRUE(G(3).ViewGame("alice"));
  lobby.Pump();
  ASSERT_TRUE(S(3).game.viewing);
  Move(1, "e4");
  Move(2, "e5");
  Move(1, "Nf3");
  Move(2, "Nc6");
  EXPECT_TRUE(G(1).Menus().takeback);
  // Alice takes back Nf3 after bob answered: two plies go on every board.
  ASSERT_TRUE(G(1).RequestTakeback());
  EXPECT_FALSE(G(1).Menus().takeback);
  lobby.Pump();
  EXPECT_EQ(H(2).questions.back(), "Your opponent is requesting to takeback his last move, accept?");
  for (uint32_t id : {1u, 2u, 3u}) EXPECT_EQ(GetMoveCount(G(id).Game()), 2) << id;
  EXPECT_EQ(Fen(1), Fen(2));
  EXPECT_EQ(Fen(1), Fen(3));
  EXPECT_EQ(G(1).Game()->sideToMove, WHITE);
  // A second "accepted" nobody asked for does nothing.
  Forge(2, 1, BuildDescriptorMessage(MSG_TAKEBACK_ACCEPTED, d));
  EXPECT_EQ(GetMoveCount(G(1).Game()), 2);
}

TEST_F(LiveGames, RatedResignationMovesBothRatingsAndCountsTheBlocks) {
  Begin();
  Move(1, "e4");
  H(1).answer = true;
  ASSERT_TRUE(G(1).Resign());
  lobby.Pump();
  EXPECT_EQ(G(1).Game()->result, uint32_t(RESULT_WHITE_RESIGNED));
  EXPECT_EQ(G(2).Game()->result, uint32_t(RESULT_WHITE_RESIGNED));
  EXPECT_EQ(H(2).modeless.back(), "White Resigned");
  int32_t down = ComputeNewRating(1600, 1600, 0, 0, RATED_LOSS);
  int32_t up = ComputeNewRating(1600, 1600, 0, 0, RATED_WIN);
  ASSERT_LT(down, 1600);
  ASSERT_GT(up, 1600);
  NetUserData a = Stored("alice"), b = Stored("bob");
  EXPECT_EQ(a.blocks[1].rating, uint32_t(down));  // Fischer 5+3 is Blitz
  EXPECT_EQ(a.blocks[1].lostWhite, 1u);
  EXPECT_EQ(a.blocks[1].highest, 1600u);
  EXPECT_EQ(a.blocks[1].averageOpponent, 1600u);
  EXPECT_EQ(b.blocks[1].rating, uint32_t(up));
  EXPECT_EQ(b.blocks[1].wonBlack, 1u);
  EXPECT_EQ(b.blocks[1].highest, uint32_t(up));
  EXPECT_STREQ(b.blocks[1].highestWhen, "12/11/26 02:40");
  EXPECT_EQ(b.blocks[0].rating, 1600u);
  EXPECT_EQ(GH(2).stored.size(), 1u);
  // Carol's table follows the announced ratings; both are free again.
  const OnlineUserEntry* bobSeen = S(3).FindOnlineUserByNickname("bob");
  EXPECT_EQ(bobSeen->user.ratings[1].rating, uint32_t(up));
  EXPECT_EQ(bobSeen->user.ratings[1].games, 1u);
  EXPECT_EQ(bobSeen->user.state, uint32_t(USER_IDLE));
  EXPECT_FALSE(S(1).game.playing || S(2).game.playing);
  EXPECT_NE(G(1).Game()->kind & kGameStoppedKind, 0u);
  EXPECT_EQ(G(1).Game()->black.kind, uint32_t(PLAYER_HUMAN));
  EXPECT_TRUE(G(1).Menus().load);
}

TEST_F(LiveGames, EndsFromTheOpponentTakeTheSendersSide) {
  struct Case {
    const char* name;
    uint32_t type;
    uint32_t expected;  // on alice's board, after bob's message
  } cases[] = {
      {"resign", MSG_RESIGNED, RESULT_BLACK_RESIGNED},
      {"lost on time", MSG_LOST_ON_TIME, RESULT_BLACK_LOST_ON_TIME},
      {"abort", MSG_ABORT_GAME, RESULT_ABORTED},
  };
  uint8_t tag = 0x50;
  for (const Case& c : cases) {
    d.guid[0] = tag++;
    Begin();
    // Carol forging bob's resignation, and bob's message naming alice as
    // author, both change nothing on their own.
    OnlineGameDescriptor forged = d;
    std::strcpy(forged.author, "bob");
    Forge(3, 1, BuildDescriptorMessage(c.type, forged));
    EXPECT_TRUE(S(1).game.playing) << c.name;
    OnlineGameDescriptor lying = d;
    std::strcpy(lying.author, "alice");
    Forge(2, 1, BuildDescriptorMessage(c.type, lying));
    EXPECT_EQ(G(1).Game()->result, c.expected) << c.name;
    EXPECT_FALSE(S(1).game.playing) << c.name;
    G(2).EndOnlineGame(RESULT_ABORTED);
    lobby.Pump();
  }
  // Ratings: only the first two counted.
  EXPECT_EQ(CountRatedGames(Stored("alice").blocks[1]), 2u);
}

TEST_F(LiveGames, OwnLossOnTimeAndTheFlagNotice) {
  Begin();
  G(1).NotifyOnlineGameOver();
  lobby.Pump();
  EXPECT_EQ(H(2).modeless.back(), "White's time has expired");
  G(1).EndOnlineGame(RESULT_WHITE_LOST_ON_TIME);
  lobby.Pump();
  EXPECT_EQ(G(2).Game()->result, uint32_t(RESULT_WHITE_LOST_ON_TIME));
  EXPECT_EQ(Stored("bob").blocks[1].wonBlack, 1u);
}

TEST_F(LiveGames, DrawOfferAndAcceptance) {
  Begin();
  Move(1, "e4");
  // An acceptance before any offer is ignored.
  Forge(2, 1, BuildDescriptorMessage(MSG_DRAW_ACCEPTED, d));
  EXPECT_TRUE(S(1).game.playing);
  ASSERT_TRUE(G(1).OfferDraw());
  EXPECT_FALSE(G(1).Menus().offerDraw);
  EXPECT_FALSE(G(1).OfferDraw());  // one offer at a time
  lobby.Pump();
  EXPECT_EQ(H(2).questions.back(), "alice is requesting a draw, do you accept?");
  EXPECT_EQ(G(1).Game()->result, uint32_t(RESULT_DRAW));
  EXPECT_EQ(G(2).Game()->result, uint32_t(RESULT_DRAW));
  EXPECT_EQ(Stored("alice").blocks[1].drawnWhite, 1u);
  EXPECT_EQ(Stored("bob").blocks[1].drawnBlack, 1u);
}

TEST_F(LiveGames, NotPlayedOutGamesChangeNoRating) {
  // Adjourned by agreement: stored in Game00 and the list of both.
  Begin();
  Move(1, "d4");
  Move(2, "d5");
  ASSERT_TRUE(G(1).RequestAdjournment());
  lobby.Pump();
  EXPECT_EQ(H(2).questions.back(), "alice is requesting an adjournment, do you accept?");
  EXPECT_EQ(G(1).Game()->result, uint32_t(RESULT_ADJOURNED));
  EXPECT_EQ(G(2).Game()->result, uint32_t(RESULT_ADJOURNED));
  for (const char* name : {"alice", "bob"}) {
    auto& kept = lobby.store[name];
    ASSERT_EQ(kept.count("Game00"), 1u) << name;
    OnlineGameSnapshot snap;
    ASSERT_TRUE(UnpackOnlineGameSnapshot(kept["Game00"].data(), kept["Game00"].size(), &snap));
    EXPECT_EQ(snap.moves.size(), 2u);
    EXPECT_EQ(snap.result, uint32_t(RESULT_ADJOURNED));
    EXPECT_EQ(std::memcmp(snap.game.guid, d.guid, 16), 0);
  }
  EXPECT_EQ(S(1).gameList.count, 1u);

  // Declined adjournment, then aborted, then a disconnect answered No (17):
  // no rating moves.
  d.guid[0] = 0x44;
  Begin();
  H(2).answer = false;
  ASSERT_TRUE(G(1).RequestAdjournment());
  lobby.Pump();
  EXPECT_EQ(H(1).modeless.back(), "bob has declined your request for adjournment");
  EXPECT_TRUE(S(1).game.playing);
  G(1).EndOnlineGame(RESULT_ABORTED);
  G(2).EndOnlineGame(RESULT_ABORTED);
  d.guid[0] = 0x45;
  Begin();
  H(1).answer = false;
  G(1);
  S(1).RemoveOnlineUser(2);
  EXPECT_EQ(H(1).questions.back(), "bob has been disconnected, do you want to adjourn this game ?");
  EXPECT_EQ(G(1).Game()->result, uint32_t(RESULT_DISCONNECTED));
  for (const char* name : {"alice", "bob"})
    for (int c = 0; c < 3; ++c) EXPECT_EQ(CountRatedGames(Stored(name).blocks[c]), 0u) << name;
}

TEST_F(LiveGames, ViewingIsGrantedOnTheOwnTurnAndPassedOn) {
  Begin();
  Move(1, "e4");
  // Bob is to move; carol asks alice, who refuses and the request goes to bob.
  ASSERT_TRUE(G(3).ViewGame("alice"));
  lobby.Pump();
  ASSERT_TRUE(S(3).game.viewing);
  EXPECT_EQ(Fen(3), Fen(1));
  EXPECT_EQ(G(3).Game()->white.kind, uint32_t(PLAYER_REMOTE));
  EXPECT_EQ(G(3).Game()->black.kind, uint32_t(PLAYER_REMOTE));
  EXPECT_TRUE(G(3).Menus().stopViewingText);
  // Both players know carol views; moves reach her.
  for (uint32_t id : {1u, 2u})
    EXPECT_EQ(S(id).FindOnlineUserByNickname("carol")->user.state, uint32_t(USER_VIEWING)) << id;
  Move(2, "c5");
  Move(1, "Nf3");
  EXPECT_EQ(Fen(3), Fen(1));
  // Carol's forged resignation and draw acceptance change nothing.
  Forge(3, 2, BuildDescriptorMessage(MSG_RESIGNED, d));
  Forge(3, 1, BuildDescriptorMessage(MSG_DRAW_ACCEPTED, d));
  EXPECT_TRUE(S(1).game.playing && S(2).game.playing);
  // The game's end reaches the viewer.
  G(2).EndOnlineGame(RESULT_BLACK_RESIGNED);
  lobby.Pump();
  EXPECT_EQ(G(3).Game()->result, uint32_t(RESULT_BLACK_RESIGNED));
  EXPECT_FALSE(S(3).game.viewing);
  EXPECT_EQ(CountRatedGames(Stored("carol").blocks[1]), 0u);
}

TEST_F(LiveGames, ViewingRefusedWithoutViewersAndTheRefusalIsNotBounced) {
  d.flags &= ~kGameViewersAllowed;
  Begin();
  ASSERT_TRUE(G(3).ViewGame("bob"));
  lobby.Pump();
  EXPECT_FALSE(S(3).game.viewing);
  EXPECT_EQ(H(3).modeless.back(), "Unable to view game alice vs. bob");

  // Viewers allowed, but both refuse (the view asked for another game):
  // passed on once, then the text.
  G(1).EndOnlineGame(RESULT_ABORTED);
  G(2).EndOnlineGame(RESULT_ABORTED);
  lobby.Pump();
  d.flags |= kGameViewersAllowed;
  d.guid[0] = 0x46;
  Begin();
  OnlineGameDescriptor stale = d;
  stale.guid[0] = 0x99;
  size_t sentBefore = lobby.At(3).link->sent.size();
  S(3).RequestView("alice", stale);
  lobby.Pump();
  EXPECT_EQ(lobby.At(3).link->sent.size(), sentBefore + 2);  // alice, then bob once
  EXPECT_EQ(H(3).modeless.back(), "Unable to view game alice vs. bob");
  // A snapshot nobody asked for starts no view.
  OnlineGameSnapshot snap;
  snap.game = d;
  Forge(1, 3, BuildViewSnapshotMessage(snap));
  EXPECT_FALSE(S(3).game.viewing);
}

TEST_F(LiveGames, ProfilesAndPostedGames) {
  ASSERT_EQ(S(3).RequestProfile("alice"), 0);
  lobby.Pump();
  ASSERT_EQ(GH(3).profiles.size(), 1u);
  EXPECT_EQ(GH(3).profiles[0].first, "alice");
  EXPECT_EQ(GH(3).profiles[0].second, "alice");
  ASSERT_EQ(GH(3).postedLists.size(), 1u);
  EXPECT_EQ(GH(3).postedLists[0].first, "alice");
  EXPECT_EQ(GH(3).postedLists[0].second, 0u);
  // Unasked answers are dropped.
  OnlineProfileBlock p;
  Forge(2, 3, BuildProfileMessage(p));
  Forge(2, 3, BuildGameListMessage(LobbyGameList()));
  EXPECT_EQ(GH(3).profiles.size(), 1u);
  EXPECT_EQ(GH(3).postedLists.size(), 1u);
}

TEST_F(LiveGames, StoredGamesAreReviewedAndHandedOverForResuming) {
  Begin();
  Move(1, "e4");
  Move(2, "c5");
  Move(1, "Nf3");
  ASSERT_TRUE(G(1).RequestAdjournment());
  lobby.Pump();
  ASSERT_EQ(S(1).gameList.count, 1u);
  // Carol reviews alice's stored game: asked with 54, shown from 55.
  G(3).OpenNetGameRecord("alice", d.guid);
  lobby.Pump();
  GameRecord* review = G(3).Game();
  ASSERT_NE(review, nullptr);
  EXPECT_EQ(GetMoveCount(review), 3);
  EXPECT_EQ(review->result, uint32_t(RESULT_ADJOURNED));
  EXPECT_NE(review->kind & kGameStoppedKind, 0u);
  EXPECT_EQ(GH(3).shown, review);
  // Bob resumes his own copy: handed to the challenge dialog.
  G(2).ResumeNetGameRecord("bob", d.guid);
  ASSERT_EQ(GH(2).resumed.size(), 1u);
  EXPECT_EQ(GH(2).resumed[0].moves.size(), 3u);
  // An unlisted game: the text, nothing else.
  uint8_t unknown[16] = {9};
  G(2).OpenNetGameRecord("bob", unknown);
  EXPECT_EQ(H(2).modeless.back(), "unable to retrieve game from network database");
  // While playing nothing is opened.
  d.guid[0] = 0x47;
  Begin();
  size_t sent = lobby.At(2).link->sent.size();
  G(2).OpenNetGameRecord("alice", d.guid);
  EXPECT_EQ(lobby.At(2).link->sent.size(), sent);
}

TEST_F(LiveGames, ReceivedGameStartPlaysTheMovesAlreadyMade) {
  Begin();
  std::vector<OnlineMove> line;
  Board b;
  SetInitialBoard(&b);
  int side = WHITE;
  for (const char* text : {"e4", "e5"}) {
    MoveRecord m{};
    ASSERT_TRUE(ParseAlgebraicMove(&m, text, &b, side));
    line.push_back(MakeOnlineMove(m));
    MakeMove(&m, &b);
    side = side == WHITE ? BLACK : WHITE;
  }
  size_t sent = lobby.At(1).link->sent.size();
  Forge(2, 1, BuildGameStartMessage(d.guid, line));
  EXPECT_EQ(GetMoveCount(G(1).Game()), 2);
  // Playing the received line sends nothing back.
  EXPECT_EQ(lobby.At(1).link->sent.size(), sent);
  // Another game's start is ignored.
  uint8_t other[16] = {1};
  Forge(2, 1, BuildGameStartMessage(other, line));
  EXPECT_EQ(GetMoveCount(G(1).Game()), 2);
}

TEST(LiveMenus, ByGameState) {
  struct Case {
    const char* name;
    LiveMenuInputs in;
    LiveMenuState out;
  } cases[] = {
      {"no game, lobby service", {true}, {true, true, false, false, false, false, false, true, true, false}},
      {"no game, direct", {false}, {true, true, false, false, false, false, false, false, false, false}},
      {"playing", {true, true, true, false, true, true, true, false},
       {false, false, true, true, true, true, true, true, true, false}},
      {"playing, opponent cannot adjourn", {true, true, true, false, true, false, false, false},
       {false, false, true, false, true, true, false, true, true, false}},
      {"playing, draw offered", {false, true, true, false, true, true, false, true},
       {false, false, true, false, false, true, false, false, false, false}},
      {"viewing", {true, true, false, true}, {false, true, true, false, false, false, false, true, true, true}},
  };
  for (const Case& c : cases) {
    LiveMenuState m = ComputeLiveMenus(c.in);
    EXPECT_EQ(m.load, c.out.load) << c.name;
    EXPECT_EQ(m.viewGame, c.out.viewGame) << c.name;
    EXPECT_EQ(m.showViewers, c.out.showViewers) << c.name;
    EXPECT_EQ(m.takeback, c.out.takeback) << c.name;
    EXPECT_EQ(m.offerDraw, c.out.offerDraw) << c.name;
    EXPECT_EQ(m.resign, c.out.resign) << c.name;
    EXPECT_EQ(m.adjourn, c.out.adjourn) << c.name;
    EXPECT_EQ(m.profile, c.out.profile) << c.name;
    EXPECT_EQ(m.storeGame, c.out.storeGame) << c.name;
    EXPECT_EQ(m.stopViewingText, c.out.stopViewingText) << c.name;
  }
  LiveMenuState viewing;
  viewing.stopViewingText = true;
  EXPECT_STREQ(LiveViewMenuText(viewing), "Stop Viewing Game");
  EXPECT_STREQ(LiveViewMenuText(LiveMenuState()), "View Game...");
}

// The connect dialog closes and starts the session on every mode switch:
// the game handlers come back with each start.
TEST_F(LiveGames, HandlersComeBackAfterTheSessionStartsAgain) {
  S(1).Close();
  ASSERT_EQ(S(1).Start(1, "alice"), 0);
  lobby.Login(1);
  lobby.Pump();
  ASSERT_NE(S(1).FindOnlineUserByNickname("bob"), nullptr);
  Begin();
  Move(1, "e4");
  Move(2, "e5");
  EXPECT_EQ(GetMoveCount(G(1).Game()), 2);
  EXPECT_EQ(Fen(1), Fen(2));
}
