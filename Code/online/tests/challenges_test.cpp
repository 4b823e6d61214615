// Challenges between copies wired through the in-memory lobby: alice, bob
// and carol, each with its challenge model; carol also forges messages.
#include "challenges.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "fake_lobby.h"
#include "profile.h"
#include "rated_games.h"

namespace fs = std::filesystem;

namespace {

struct FakeChallengeHost : ChallengeHost {
  OnlineSession* session = nullptr;
  int controls = 0, sounds = 0;
  bool window = false, received = false, inRoom = true, beginOk = true, soundOn = true;
  std::vector<bool> ignoreChecks;
  std::vector<OnlineGameDescriptor> begun;
  std::vector<size_t> begunMoves;
  std::vector<std::string> removedRated;
  uint32_t random = 0, guidCounter = 0;
  uint8_t tag = 0;

  void ControlsChanged() override { ++controls; }
  void ShowChallengeWindow(bool show) override { window = show; }
  void ShowReceivedWindow(bool open) override { received = open; }
  bool ChallengeSoundOn() override { return soundOn; }
  void PlayChallengeSound() override { ++sounds; }
  uint32_t Random() override { return random++; }
  void MakeGuid(uint8_t guid[16]) override {
    std::memset(guid, 0, 16);
    guid[0] = tag;
    guid[1] = uint8_t(++guidCounter);
  }
  bool BeginGame(const OnlineGameDescriptor& d, const std::vector<OnlineMove>* moves) override {
    begun.push_back(d);
    begunMoves.push_back(moves ? moves->size() : 0);
    if (!beginOk) return false;
    session->own.state = USER_PLAYING;
    session->own.game = d;
    session->SendOwnUpdate(16);
    return true;
  }
  int32_t NewRating(uint32_t r, uint32_t o, uint32_t g, uint32_t og, int score) override {
    return ComputeNewRating(r, o, g, og, score);
  }
  void RemoveProfileRatedGame(const uint8_t guid[16]) override {
    removedRated.push_back(std::string(reinterpret_cast<const char*>(guid), 2));
  }
  void IgnoreChallengesChanged(bool on) override { ignoreChecks.push_back(on); }
  bool InOnlineRoom() override { return inRoom; }
};

struct ChallengeTest : ::testing::Test {
  FakeLobby lobby;
  std::vector<std::unique_ptr<FakeChallengeHost>> hosts;
  std::vector<std::unique_ptr<OnlineAutoplay>> autoplays;
  std::vector<std::unique_ptr<Challenges>> models;
  fs::path folder;

  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("rw_challenges_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    uint8_t tag = 0xA0;
    for (const char* name : {"alice", "bob", "carol"}) {
      OnlineSession& s = lobby.Add(name);
      hosts.push_back(std::make_unique<FakeChallengeHost>());
      hosts.back()->session = &s;
      hosts.back()->tag = tag++;
      autoplays.push_back(std::make_unique<OnlineAutoplay>(false, (folder / (std::string(name) + ".CSC")).string()));
      models.push_back(std::make_unique<Challenges>(s, *hosts.back(), autoplays.back().get()));
    }
    for (uint32_t id = 1; id <= 3; ++id) lobby.Login(id);
    lobby.Pump();
    for (uint32_t id = 1; id <= 3; ++id) M(id).RefillPlayers();
  }
  void TearDown() override { fs::remove_all(folder); }

  OnlineSession& S(uint32_t id) { return *lobby.At(id).session; }
  FakeHooks& H(uint32_t id) { return *lobby.At(id).hooks; }
  FakeChallengeHost& CH(uint32_t id) { return *hosts[id - 1]; }
  Challenges& M(uint32_t id) { return *models[id - 1]; }
  std::string LastShown(uint32_t id) { return H(id).modeless.empty() ? "" : H(id).modeless.back(); }
  // Every copy's view of `whom` after a change.
  const OnlineUserEntry* Seen(uint32_t by, const char* whom) { return S(by).FindOnlineUserByNickname(whom); }
  // The last message of `type` that copy `id` sent.
  PeerMessage LastSent(uint32_t id, uint32_t type) {
    const auto& sent = lobby.At(id).link->sent;
    for (auto it = sent.rbegin(); it != sent.rend(); ++it) {
      PeerMessage m;
      if (ParsePeerMessage(it->data(), it->size(), &m) && m.type == type) return m;
    }
    ADD_FAILURE() << "copy " << id << " sent no message of type " << type;
    return PeerMessage();
  }
  // Throws away what is under way, as a lost connection would.
  void Drop() {
    for (auto& p : lobby.pending) delete p.second;
    lobby.pending.clear();
  }
  void Forge(uint32_t from, uint32_t to, const std::vector<uint8_t>& m) {
    lobby.Deliver(to, from, m.data(), m.size());
    lobby.Pump();
  }
  // Applies the notice a window would get for a table change.
  void Notice(uint32_t at, uint32_t code, const char* whom) {
    M(at).OnUserNotice(code, S(at).FindOnlineUserByNickname(whom));
  }
  // Every copy marks its user registered at login (word 4); a guest's
  // record carries 0 there.
  void SetRegistered(uint32_t id, uint32_t on) {
    S(id).own.word4 = on;
    for (uint32_t by = 1; by <= 3; ++by)
      for (auto& e : const_cast<std::list<OnlineUserEntry>&>(S(by).Users()))
        if (std::strcmp(e.user.nickname, S(id).own.nickname) == 0) e.user.word4 = on;
  }
  void Registered(uint32_t id) { SetRegistered(id, 1); }
  void Guest(uint32_t id) { SetRegistered(id, 0); }
  // alice's challenge is lost on the way; bob's decline with `reason`
  // comes all the same, and alice shows its text.
  void BobDeclinesUnseen(uint32_t reason) {
    const OnlineChallenge t = LastSent(1, MSG_CHALLENGE).challenge;
    Drop();
    Forge(2, 1, BuildDeclineMessage(reason, t));
    char want[128];
    std::snprintf(want, sizeof want, DeclineReasonText(reason), "bob");
    EXPECT_EQ(LastShown(1), want) << reason;
  }
  // alice challenges bob with the model's current terms.
  void AliceChallengesBob() {
    M(1).SetPostMode(false);
    ASSERT_TRUE(M(1).SelectPlayer("bob"));
    M(1).Send();
    lobby.Pump();
  }
};

}  // namespace

TEST_F(ChallengeTest, PlayerChallengeOpensTheReceivedDialogAndAcceptBeginsTheGameOnBothSides) {
  M(1).SetColour(kColourRandom);
  AliceChallengesBob();
  EXPECT_EQ(S(1).own.state, uint32_t(USER_CHALLENGING));
  EXPECT_EQ(Seen(3, "alice")->user.state, uint32_t(USER_CHALLENGING));
  EXPECT_FALSE(M(1).NothingOut());
  ASSERT_TRUE(M(2).HasReceived());
  EXPECT_TRUE(CH(2).received);
  EXPECT_EQ(S(2).own.state, uint32_t(USER_CHALLENGED));
  const OnlineChallenge got = M(2).Received();
  EXPECT_STREQ(got.nickname, "alice");
  EXPECT_TRUE(got.word7 == kRandomWhite || got.word7 == kRandomBlack) << got.word7;
  EXPECT_EQ(CH(2).sounds, 1);
  const auto texts = M(2).DescribeReceived();
  EXPECT_EQ(texts.nickname, "alice");
  EXPECT_EQ(texts.kind, "Fischer");
  EXPECT_EQ(texts.base, "5");
  EXPECT_EQ(texts.bonus, "3");
  EXPECT_TRUE(texts.showBase && texts.showBonus);
  EXPECT_EQ(texts.colour, "Random Color");
  EXPECT_EQ(texts.rated, "Unrated");
  EXPECT_EQ(texts.adjourned, "");

  M(2).AcceptReceived();
  lobby.Pump();
  EXPECT_FALSE(M(2).HasReceived());
  EXPECT_FALSE(CH(2).received);
  ASSERT_EQ(CH(1).begun.size(), 1u);
  ASSERT_EQ(CH(2).begun.size(), 1u);
  const OnlineGameDescriptor& a = CH(1).begun[0];
  const OnlineGameDescriptor& b = CH(2).begun[0];
  EXPECT_EQ(std::memcmp(a.guid, b.guid, 16), 0);
  EXPECT_STREQ(a.white, b.white);
  EXPECT_STREQ(a.black, b.black);
  EXPECT_STREQ(a.white, got.word7 == kRandomWhite ? "alice" : "bob");
  EXPECT_EQ(LastShown(1), "bob has accepted your challenge");
  EXPECT_EQ(M(1).ChallengedId(), 0u);
  EXPECT_TRUE(M(1).NothingOut());
}

TEST_F(ChallengeTest, EachDeclineReasonReachesTheChallengerAsItsText) {
  for (uint32_t reason : {0u, 2u, 4u, 8u, 16u, 32u, 64u, 128u, 256u, 512u, 1024u, 2048u}) {
    M(1).SetPostMode(false);
    ASSERT_TRUE(M(1).SelectPlayer("bob"));
    M(1).Send();
    ASSERT_EQ(M(1).ChallengedId(), 2u);
    BobDeclinesUnseen(reason);
    EXPECT_EQ(S(1).own.state, uint32_t(USER_IDLE));
    EXPECT_EQ(M(1).ChallengedId(), 0u);
    EXPECT_EQ(Seen(3, "alice")->user.state, uint32_t(USER_IDLE));
  }
  // A decline from anyone but the challenged user changes nothing.
  AliceChallengesBob();
  const size_t shown = H(1).modeless.size();
  Forge(3, 1, BuildDeclineMessage(0, M(2).Received()));
  EXPECT_EQ(H(1).modeless.size(), shown);
  EXPECT_EQ(M(1).ChallengedId(), 2u);
}

TEST_F(ChallengeTest, ChallengesAndWithdrawalsInAnotherNameAreDropped) {
  AliceChallengesBob();
  ASSERT_TRUE(M(2).HasReceived());
  OnlineChallenge t = M(2).Received();
  // carol withdraws alice's challenge in alice's name: bob's dialog stays.
  Forge(3, 2, BuildChallengeMessage(MSG_CHALLENGE_WITHDRAWN, t));
  EXPECT_TRUE(M(2).HasReceived());
  EXPECT_EQ(S(2).own.state, uint32_t(USER_CHALLENGED));
  // alice withdraws it herself.
  M(1).Withdraw();
  lobby.Pump();
  EXPECT_FALSE(M(2).HasReceived());
  EXPECT_EQ(LastShown(2), "alice has withdrawn the challenge");
  EXPECT_EQ(S(2).own.state, uint32_t(USER_IDLE));
  EXPECT_EQ(S(1).own.state, uint32_t(USER_IDLE));

  // carol challenges bob as alice: neither dialog nor decline.
  const size_t bobSent = lobby.At(2).link->sent.size();
  std::strcpy(t.nickname, "alice");
  Forge(3, 2, BuildChallengeMessage(MSG_CHALLENGE, t));
  EXPECT_FALSE(M(2).HasReceived());
  EXPECT_EQ(lobby.At(2).link->sent.size(), bobSent);
  EXPECT_EQ(S(2).own.state, uint32_t(USER_IDLE));
}

TEST_F(ChallengeTest, ARatedResumeDeclinedByHandCountsForBothAnAutomaticDeclineForNeither) {
  Registered(1);
  Registered(2);
  OnlineGameSnapshot stored;
  stored.game.guid[0] = 0x77;
  stored.game.flags = kTimeFischer | kGameRated | kChallengeEnforced;
  stored.game.base = 5;
  stored.game.bonus = 3;
  std::strcpy(stored.game.white, "alice");
  std::strcpy(stored.game.black, "bob");
  stored.moves.resize(4);
  const uint32_t category = GetTimeCategory(stored.game.flags, 5, 3);

  // By hand: bob loses, alice wins.
  M(1).ResumeAdjournedGame(stored);
  lobby.Pump();
  ASSERT_TRUE(M(2).HasReceived());
  EXPECT_EQ(M(2).DescribeReceived().adjourned, "Adjourned Game");
  EXPECT_TRUE(M(2).DescribeReceived().attention);
  M(2).DeclineReceived();
  lobby.Pump();
  EXPECT_EQ(LastShown(1), "bob has declined to resume this game, it has been counted as a win for you");
  const uint32_t aliceWon = S(1).own.ratings[category].rating;
  const uint32_t bobLost = S(2).own.ratings[category].rating;
  EXPECT_EQ(int32_t(aliceWon), ComputeNewRating(1600, 1600, 0, 0, 1));
  EXPECT_EQ(int32_t(bobLost), ComputeNewRating(1600, 1600, 0, 0, 0));
  EXPECT_GT(aliceWon, 1600u);
  EXPECT_LT(bobLost, 1600u);
  EXPECT_EQ(CH(1).removedRated.size(), 1u);
  EXPECT_EQ(CH(2).removedRated.size(), 1u);

  // Automatically (bob ignores alice, or declines everything): nobody counts.
  for (uint32_t reason : {256u, 128u, 1u}) {
    const uint32_t a = S(1).own.ratings[category].rating;
    M(1).ResumeAdjournedGame(stored);
    ASSERT_EQ(M(1).ChallengedId(), 2u);
    BobDeclinesUnseen(reason);
    EXPECT_EQ(S(1).own.ratings[category].rating, a) << reason;
  }
}

TEST_F(ChallengeTest, ResumingNeedsAFreeLoggedInOpponentAndMoves) {
  OnlineGameSnapshot stored;
  stored.game.guid[0] = 0x78;
  stored.game.flags = kTimeMinutesPerGame;
  stored.game.base = 10;
  std::strcpy(stored.game.white, "bob");
  std::strcpy(stored.game.black, "alice");
  M(1).ResumeAdjournedGame(stored);
  EXPECT_EQ(LastShown(1), "Get game moves from library failed - no moves found");
  stored.moves.resize(2);
  std::strcpy(stored.game.white, "dave");
  M(1).ResumeAdjournedGame(stored);
  EXPECT_EQ(LastShown(1), "Your opponent from this game is not currently logged in");
  std::strcpy(stored.game.white, "bob");
  S(1).own.state = USER_VIEWING;
  M(1).ResumeAdjournedGame(stored);
  EXPECT_EQ(LastShown(1), "Can't resume game while viewing another");
  S(1).own.state = USER_IDLE;
  M(1).ResumeAdjournedGame(stored);
  lobby.Pump();
  ASSERT_TRUE(M(2).HasReceived());
  const OnlineChallenge t = M(2).Received();
  EXPECT_EQ(t.head[0] & 0xFF, 0x78u);  // the stored game's GUID
  EXPECT_EQ(t.word7, kSenderBlack);     // alice was Black
  EXPECT_TRUE(ChallengeIsResume(t));
  M(2).AcceptReceived();
  lobby.Pump();
  ASSERT_EQ(CH(1).begun.size(), 1u);
  EXPECT_EQ(CH(1).begunMoves[0], 2u);  // the resume record's moves
  EXPECT_STREQ(CH(1).begun[0].white, "bob");
}

TEST_F(ChallengeTest, PostingAcceptingAPostedChallengeAndTheAllowSwitch) {
  Registered(1);
  Registered(2);
  M(1).SetPostMode(true);
  EXPECT_STREQ(M(1).SendCaption(), "Post Challenge");
  M(1).SetRated(true);
  M(1).SetRange(1500, 1500);
  M(1).Send();
  EXPECT_EQ(LastShown(1), "The high opponent rating must be higher than the low opponent rating");
  EXPECT_FALSE(M(1).Posted());
  M(1).SetRange(1500, 1700);
  M(1).Send();
  lobby.Pump();
  ASSERT_TRUE(M(1).Posted());
  const OnlineUserEntry* seen = Seen(2, "alice");
  ASSERT_TRUE(HasPostedChallenge(seen->user.challenge));
  EXPECT_STREQ(seen->user.challenge.nickname, "alice");

  // carol's unrated Fischer 5+2 is no reply: declined with 1024.
  M(3).SetPostMode(false);
  M(3).SetBonus(2);
  ASSERT_TRUE(M(3).SelectPlayer("alice"));
  M(3).Send();
  lobby.Pump();
  EXPECT_EQ(LastShown(3), "alice is only accepting replies to his posted challenge");
  EXPECT_FALSE(M(1).HasReceived());

  // bob answers the posting: alice (White in the posting) gets bob as Black.
  M(2).AcceptPostedChallenge("alice");
  lobby.Pump();
  ASSERT_TRUE(M(1).HasReceived());
  EXPECT_EQ(M(1).Received().word7, kSenderBlack);
  EXPECT_STREQ(M(1).Received().nickname, "bob");
  EXPECT_EQ(M(1).DescribeReceived().colour, "You play white");
  EXPECT_EQ(M(1).DescribeReceived().rated, "Rated Game");
  EXPECT_NE(M(1).DescribeReceived().win, "****");
  M(1).AcceptReceived();
  lobby.Pump();
  ASSERT_EQ(CH(2).begun.size(), 1u);
  EXPECT_STREQ(CH(2).begun[0].white, "alice");

  // An unregistered user cannot answer a rated posting.
  M(1).RemovePostedChallenge();
  S(1).own.state = USER_IDLE;
  S(1).SendOwnUpdate(1);
  M(1).Send();
  lobby.Pump();
  Guest(3);
  const size_t carolSent = lobby.At(3).link->sent.size();
  M(3).AcceptPostedChallenge("alice");
  EXPECT_EQ(lobby.At(3).link->sent.size(), carolSent);
}

TEST_F(ChallengeTest, RatedChallengeOfAGuestIsRefusedAndThePreviewNeedsBothRegistered) {
  Guest(2);
  M(1).SetRated(true);
  M(1).SetPostMode(false);
  ASSERT_TRUE(M(1).SelectPlayer("bob"));
  EXPECT_EQ(M(1).RatingPreview(), (std::vector<std::string>{"****", "****", "****"}));
  M(1).Send();
  EXPECT_EQ(LastShown(1), "bob is a guest and cannot play rated games");
  EXPECT_EQ(M(1).ChallengedId(), 0u);
  Registered(1);
  Registered(2);
  ASSERT_TRUE(M(1).SelectPlayer("bob"));
  const auto preview = M(1).RatingPreview();
  EXPECT_EQ(preview[0], FormatRatingChange(ComputeNewRating(1600, 1600, 0, 0, 1), 1600));
  EXPECT_EQ(preview[1], FormatRatingChange(ComputeNewRating(1600, 1600, 0, 0, 0), 1600));
  EXPECT_EQ(preview[0][0], '+');
  EXPECT_EQ(preview[1][0], '-');
}

TEST_F(ChallengeTest, ViewingShowsRatedChallengesAndDeclinesUnratedOnesWithFour) {
  S(2).own.state = USER_VIEWING;
  S(2).SendOwnUpdate(1);
  lobby.Pump();
  OnlineChallenge t = M(1).Terms();
  t.head[0] = 0x99;
  std::strcpy(t.nickname, "alice");
  Forge(1, 2, BuildChallengeMessage(MSG_CHALLENGE, t));
  EXPECT_FALSE(M(2).HasReceived());
  const PeerMessage declined = LastSent(2, MSG_CHALLENGE_DECLINED);
  EXPECT_EQ(declined.word, uint32_t(USER_VIEWING));
  EXPECT_EQ(declined.challenge.head[0], 0x99u);
  t.timeType |= kGameRated | kChallengeEnforced;
  Forge(1, 2, BuildChallengeMessage(MSG_CHALLENGE, t));
  EXPECT_TRUE(M(2).HasReceived());
  EXPECT_EQ(S(2).own.state, uint32_t(USER_CHALLENGED));
  // Only one is shown at a time: the next is declined as being challenged.
  t.head[0] = 0x9A;
  Forge(3, 2, BuildChallengeMessage(MSG_CHALLENGE, [&] {
          OnlineChallenge c = t;
          std::strcpy(c.nickname, "carol");
          return c;
        }()));
  EXPECT_EQ(LastSent(2, MSG_CHALLENGE_DECLINED).word, uint32_t(USER_CHALLENGED));
  EXPECT_EQ(M(2).Received().head[0], 0x99u);
}

TEST_F(ChallengeTest, IgnoreSwitchAutopostAndClose) {
  M(1).SetPostMode(true);
  M(1).SetAutopost(true);
  M(1).AutopostChallenge();
  lobby.Pump();
  EXPECT_TRUE(M(1).Posted());
  EXPECT_TRUE(HasPostedChallenge(Seen(2, "alice")->user.challenge));
  // Ignoring: the posting goes, idle becomes unavailable, Autopost off.
  M(1).ToggleIgnoreChallenges();
  lobby.Pump();
  EXPECT_FALSE(M(1).Posted());
  EXPECT_FALSE(HasPostedChallenge(Seen(2, "alice")->user.challenge));
  EXPECT_EQ(Seen(2, "alice")->user.state, uint32_t(USER_UNAVAILABLE));
  EXPECT_EQ(M(1).Settings().autopost, 0u);
  EXPECT_EQ(CH(1).ignoreChecks, std::vector<bool>{true});
  bool ignore = false, allow = true;
  M(1).GetChallengeSwitches(&ignore, &allow);
  EXPECT_TRUE(ignore);
  EXPECT_FALSE(allow);
  // Autopost on turns the ignore switch off again.
  M(1).SetAutopost(true);
  lobby.Pump();
  EXPECT_EQ(Seen(2, "alice")->user.state, uint32_t(USER_IDLE));
  EXPECT_EQ(CH(1).ignoreChecks, (std::vector<bool>{true, false}));

  // Closing with Autopost on and a base of 0 keeps the window open.
  CH(1).window = true;
  M(1).SetBase(0);
  EXPECT_FALSE(M(1).Close());
  EXPECT_TRUE(CH(1).window);
  EXPECT_EQ(LastShown(1), "Base time must be between 1 and 999");
  M(1).SetBase(5);
  EXPECT_TRUE(M(1).Close());
  EXPECT_FALSE(CH(1).window);
  EXPECT_TRUE(M(1).Posted());
}

TEST_F(ChallengeTest, PlayerListFollowsTheTableAndADisconnectWithdraws) {
  EXPECT_EQ(M(1).Players(), (std::vector<std::string>{"bob", "carol"}));
  S(3).own.state = USER_PLAYING;
  S(3).SendOwnUpdate(1);
  lobby.Pump();
  Notice(1, 1, "carol");
  EXPECT_EQ(M(1).Players(), std::vector<std::string>{"bob"});
  S(3).own.state = USER_IDLE;
  S(3).SendOwnUpdate(1);
  lobby.Pump();
  Notice(1, 1, "carol");  // idle again: back in the list, once
  Notice(1, 32, "carol");
  EXPECT_EQ(M(1).Players(), (std::vector<std::string>{"bob", "carol"}));

  AliceChallengesBob();
  M(1).OnUserNotice(kUserRemoved, S(1).FindOnlineUserByNickname("bob"));
  EXPECT_EQ(LastShown(1), "Challenge removed - bob disconnected");
  EXPECT_EQ(M(1).ChallengedId(), 0u);
  EXPECT_EQ(M(1).Players(), std::vector<std::string>{"carol"});
  M(1).ChallengeUser("bob");
  EXPECT_EQ(LastShown(1), "bob is no longer available for challenge");
  EXPECT_TRUE(CH(1).window);
}

TEST_F(ChallengeTest, AcceptanceFromTheWrongUserOrGameIsAbortedAndAFailedGameDeclinesWith512) {
  AliceChallengesBob();
  OnlineChallenge t = M(2).Received();
  OnlineChallenge other = t;
  other.head[0] ^= 0xFF;
  const size_t before = lobby.At(1).link->sent.size();
  Forge(3, 1, BuildChallengeMessage(MSG_CHALLENGE_ACCEPTED, t));  // carol is not challenged
  Forge(2, 1, BuildChallengeMessage(MSG_CHALLENGE_ACCEPTED, other));  // another game
  ASSERT_EQ(lobby.At(1).link->sent.size(), before + 2);
  for (size_t i = before; i < before + 2; ++i) {
    uint32_t version = 0, type = 0;
    ReadPeerHeader(lobby.At(1).link->sent[i].data(), 8, &version, &type);
    EXPECT_EQ(type, uint32_t(MSG_ABORT_GAME));
  }
  EXPECT_TRUE(CH(1).begun.empty());
  EXPECT_EQ(M(1).ChallengedId(), 2u);

  CH(2).beginOk = false;
  M(2).AcceptReceived();
  lobby.Pump();
  EXPECT_EQ(LastShown(2), "Failed to create game record");
  EXPECT_EQ(LastShown(1), "bob was unable to create a game record due to program error");
  EXPECT_EQ(S(2).own.state, uint32_t(USER_IDLE));
}

TEST_F(ChallengeTest, DefaultChallIsWrittenWhenMissingAndSavedOnDestroy) {
  const std::string ini = (folder / "rw.ini").string();
  M(1).Create(ini);
  char text[100] = "";
  IniFileProfile().ReadString("onlineroom", "default_chall", "", text, sizeof text, ini.c_str());
  EXPECT_STREQ(text, "0,0,0,0,130,5,3,1,1,9999");
  M(1).SetPostMode(true);
  M(1).SetRated(true);
  M(1).SetAllowChallenges(true);
  M(1).SaveSettings(ini);
  IniFileProfile().ReadString("onlineroom", "default_chall", "", text, sizeof text, ini.c_str());
  EXPECT_STREQ(text, "1,0,0,1,178,5,3,1,1,9999");
  M(2).Create(ini);
  EXPECT_EQ(FormatDefaultChallenge(M(2).Settings()), text);
  EXPECT_TRUE(M(2).PostMode());
}

TEST_F(ChallengeTest, AutoplayAcceptsAnotherUsersPostingWithTheScriptsClockAndAnswersItself) {
  // The script: one game, minutes per game, one minute.
  for (uint32_t id = 1; id <= 2; ++id) {
    const std::string file = autoplays[id - 1]->File();
    std::ofstream(file) << "[Script]\r\nType=1\r\nNumGames=1\r\nTimeType=4\r\nBaseTime=60000\r\nBonusTime=0\r\n"
                           "[Game0]\r\nWhite=Tal\r\nBlack=Petrosian\r\nResult=0\r\n";
    autoplays[id - 1] = std::make_unique<OnlineAutoplay>(true, file);
    models[id - 1] = std::make_unique<Challenges>(S(id), CH(id), autoplays[id - 1].get());
    M(id).RefillPlayers();
  }
  const std::string ini = (folder / "rw.ini").string();
  M(1).Create(ini);
  // The script's clock replaced the kind, base and bonus; random colour.
  EXPECT_EQ(M(1).Terms().timeType & kTimeTypeMask, kTimeMinutesPerGame);
  EXPECT_EQ(M(1).Terms().base, 1u);
  EXPECT_EQ(M(1).Terms().word7, kColourRandom);
  EXPECT_TRUE(IsAutoplayTimedGame(M(1).Terms()));

  M(1).SetPostMode(true);
  M(1).SetAutopost(true);
  M(1).AutopostChallenge();
  lobby.Pump();
  ASSERT_TRUE(M(1).Posted());
  // bob's table learns of the posting: its script answers it; alice's
  // dialog answers itself; both games begin.
  Notice(2, 128, "alice");
  lobby.Pump();
  ASSERT_EQ(CH(1).begun.size(), 1u);
  ASSERT_EQ(CH(2).begun.size(), 1u);
  EXPECT_EQ(std::memcmp(CH(1).begun[0].guid, CH(2).begun[0].guid, 16), 0);
  auto saw = [](FakeHooks& h, const std::string& text) {
    return std::find(h.chat.begin(), h.chat.end(), text) != h.chat.end();
  };
  EXPECT_TRUE(saw(H(1), std::string(GetChatVerbText(1)) + " autoplay Tal vs. Petrosian"));
  EXPECT_TRUE(saw(H(2), std::string(GetChatVerbText(1)) + " autoplay Tal vs. Petrosian"));

  // An untimed challenge gets the computer's answer and a decline.
  S(1).own.state = S(2).own.state = USER_IDLE;
  S(1).SendOwnUpdate(1);
  S(2).SendOwnUpdate(1);
  lobby.Pump();
  M(3).SetPostMode(false);
  M(3).RefillPlayers();
  M(3).ChooseKind(kTimeInfinite);
  ASSERT_TRUE(M(3).SelectPlayer("alice"));
  M(1).RemovePostedChallenge();
  M(3).Send();
  lobby.Pump();
  EXPECT_TRUE(saw(H(3), std::string(GetChatVerbText(1)) + " I am a computer, no untimed games please..."));
  EXPECT_EQ(LastShown(3), "alice declines your challenge");
}
