// The autoplay script's keys and the points where online play consults it.
#include "autoplay_script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "challenge_rules.h"
#include "profile.h"
#include "session.h"

namespace fs = std::filesystem;

namespace {

// The files' profile, counting every read and write.
struct CountingProfile : Profile {
  int reads = 0, writes = 0;
  uint32_t ReadString(const char* s, const char* k, const char* f, char* b, uint32_t n, const char* p) override {
    ++reads;
    return IniFileProfile().ReadString(s, k, f, b, n, p);
  }
  uint32_t ReadInt(const char* s, const char* k, int32_t f, const char* p) override {
    ++reads;
    return IniFileProfile().ReadInt(s, k, f, p);
  }
  bool Write(const char* s, const char* k, const char* v, const char* p) override {
    ++writes;
    return IniFileProfile().Write(s, k, v, p);
  }
};

struct ScriptTest : ::testing::Test {
  CountingProfile profile;
  fs::path file;
  void SetUp() override {
    SetProfile(&profile);
    file = fs::temp_directory_path() /
           (std::string("rw_autoplay_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".CSC");
    Write("[Script]\r\nType=1\r\nNumGames=3\r\nTimeType=5\r\nBaseTime=300000\r\nBonusTime=3000\r\n"
          "[Game0]\r\nWhite=Tal\r\nBlack=Petrosian\r\nResult=1\r\n"
          "[Game1]\r\nWhite=Smyslov\r\nBlack=Botvinnik\r\nResult=0\r\n"
          "[Game2]\r\nWhite=Euwe\r\nBlack=Alekhine\r\n");
  }
  void TearDown() override {
    SetProfile(nullptr);
    fs::remove(file);
  }
  void Write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
  std::string Read() {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

OnlineChallenge Posting(uint32_t kind, uint32_t base, uint32_t bonus) {
  OnlineChallenge c = DefaultChallengeTerms();
  c.head[0] = 7;
  c.timeType = kind | kGameUnratedEnforced;
  c.base = base;
  c.bonus = bonus;
  return c;
}

}  // namespace

TEST_F(ScriptTest, ReadingFindingAndWritingGames) {
  ScriptGameRecord g;
  ASSERT_EQ(ReadScriptGame(file.string(), 2, &g), 1);
  EXPECT_EQ(g.type, 1);
  EXPECT_EQ(g.index, 2);
  EXPECT_EQ(g.timeType, 5);
  EXPECT_EQ(g.base, 300000);
  EXPECT_EQ(g.bonus, 3000);
  EXPECT_STREQ(g.white, "Euwe");
  EXPECT_STREQ(g.black, "Alekhine");
  EXPECT_EQ(g.result, 0);
  ASSERT_EQ(FindNextScriptGame(file.string(), &g), 1);
  EXPECT_EQ(g.index, 1);
  EXPECT_STREQ(g.white, "Smyslov");
  // The first unplayed game takes the result, then the next.
  ASSERT_EQ(WriteNextScriptResult(file.string(), 3), 1);
  ASSERT_EQ(FindNextScriptGame(file.string(), &g), 1);
  EXPECT_EQ(g.index, 2);
  ReadScriptGame(file.string(), 1, &g);
  EXPECT_EQ(g.result, 3);
  ASSERT_EQ(WriteNextScriptResult(file.string(), 2), 1);
  EXPECT_EQ(FindNextScriptGame(file.string(), &g), 0);
  EXPECT_EQ(WriteNextScriptResult(file.string(), 5), 0);  // every game has one

  // Missing keys read as their defaults.
  Write("[Game0]\r\n");
  ASSERT_EQ(ReadScriptGame(file.string(), 0, &g), 1);
  EXPECT_EQ(g.type, 1);
  EXPECT_EQ(g.timeType, 4);
  EXPECT_EQ(g.base, 10);
  EXPECT_STREQ(g.white, "USER");
  EXPECT_STREQ(g.black, "USER");
}

TEST_F(ScriptTest, NumGamesZeroHasNoNextGameAndTheWritersBuildAScript) {
  ASSERT_EQ(WriteScriptHeader(file.string(), 1, 4, 60000, 0), 1);
  ScriptGameRecord g;
  EXPECT_EQ(FindNextScriptGame(file.string(), &g), 0);
  EXPECT_EQ(WriteNextScriptResult(file.string(), 1), 0);
  // The old games are still there: appending fills the first without a White.
  fs::remove(file);
  ASSERT_EQ(WriteScriptHeader(file.string(), 1, 4, 60000, 0), 1);
  EXPECT_EQ(AppendScriptGame(file.string(), "Tal", "Petrosian"), 0);
  EXPECT_EQ(AppendScriptGame(file.string(), "Euwe", "Alekhine"), 1);
  ASSERT_EQ(FindNextScriptGame(file.string(), &g), 1);
  EXPECT_STREQ(g.black, "Petrosian");
  EXPECT_EQ(g.base, 60000);
  EXPECT_EQ(WriteScriptResult(file.string(), 1, 2), 1);
  EXPECT_NE(Read().find("NumGames=2"), std::string::npos);
  EXPECT_NE(Read().find("Result=2"), std::string::npos);
}

TEST_F(ScriptTest, WithAutoplayOffEveryStepReturnsNothingAndReadsNothing) {
  OnlineAutoplay off(false, file.string());
  profile.reads = profile.writes = 0;
  ScriptGameRecord g;
  EXPECT_EQ(off.NextGame(&g), 0);
  EXPECT_EQ(off.FindChallengeToAccept(USER_IDLE, "alice", {{"bob", Posting(kTimeFischer, 5, 3)}}), "");
  EXPECT_EQ(off.Announcement(), "");
  EXPECT_EQ(off.AnswerChat("autoplay Smyslov vs. Botvinnik", true, true), "");
  EXPECT_EQ(off.GameStartPersonality(true), "");
  off.SetMatchFlag(true);
  EXPECT_EQ(off.GameEnded(1), 0);
  EXPECT_EQ(profile.reads, 0);
  EXPECT_EQ(profile.writes, 0);
}

TEST_F(ScriptTest, AcceptsAnotherUsersPostingWhoseClockMatches) {
  OnlineAutoplay on(true, file.string());
  // Next game: Fischer 5 minutes + 3 seconds.
  const auto fischer = Posting(kTimeFischer, 5, 3);
  EXPECT_EQ(on.FindChallengeToAccept(USER_IDLE, "alice", {{"bob", fischer}}), "bob");
  // The poster's own nickname is in its posting: the own posting is never
  // answered, another's is.
  OnlineChallenge own = fischer;
  std::strcpy(own.nickname, "alice");
  EXPECT_EQ(on.FindChallengeToAccept(USER_IDLE, "alice", {{"alice", own}, {"carol", fischer}}), "carol");
  EXPECT_EQ(on.FindChallengeToAccept(USER_UNAVAILABLE, "alice", {{"bob", fischer}}), "");
  EXPECT_EQ(on.FindChallengeToAccept(USER_IDLE, "alice",
                                     {{"bob", Posting(kTimeFischer, 5, 2)},
                                      {"carol", Posting(kTimeMinutesPerGame, 5, 3)},
                                      {"dave", Posting(kTimeFischer, 4, 3)},
                                      {"erin", OnlineChallenge()}}),
            "");
  // Clocks: 4 minutes per game, 5 Fischer, anything else none.
  ScriptGameRecord g;
  g.timeType = 4;
  g.base = 60000;
  g.bonus = 2500;
  const ScriptClock c = ScriptClockOf(g);
  EXPECT_EQ(c.kind, kTimeMinutesPerGame);
  EXPECT_EQ(c.base, 1u);
  EXPECT_EQ(c.bonus, 2u);
  g.timeType = 7;
  EXPECT_EQ(ScriptClockOf(g).kind, kTimeInfinite);
}

TEST_F(ScriptTest, ChatAnswersMatchFlagPersonalitiesAndTheResult) {
  OnlineAutoplay on(true, file.string());
  EXPECT_EQ(on.Announcement(), "autoplay Smyslov vs. Botvinnik");
  EXPECT_EQ(on.GameStartPersonality(false), "Botvinnik");
  EXPECT_EQ(on.GameStartPersonality(true), "Smyslov");
  // A line from somebody else, or another pairing, is answered but sets no flag.
  EXPECT_EQ(on.AnswerChat("hello", false, true), "I am the rookwell Smyslov personality");
  EXPECT_EQ(on.AnswerChat("autoplay Smyslov vs. Botvinnik", false, true), "I am the rookwell Smyslov personality");
  EXPECT_EQ(on.AnswerChat("autoplay Tal vs. Petrosian", true, false), "I am the rookwell Botvinnik personality");
  EXPECT_FALSE(on.MatchFlag());
  EXPECT_EQ(on.AnswerChat("I am the rookwell Botvinnik personality", true, true), "");
  EXPECT_EQ(on.GameEnded(1), 0);  // no match: nothing written
  EXPECT_EQ(on.AnswerChat("autoplay Smyslov vs. Botvinnik", true, false), "I am the rookwell Botvinnik personality");
  EXPECT_TRUE(on.MatchFlag());
  EXPECT_EQ(on.GameEnded(3), 1);
  ScriptGameRecord g;
  ReadScriptGame(file.string(), 1, &g);
  EXPECT_EQ(g.result, 3);
  EXPECT_FALSE(on.MatchFlag());
  // The game start clears the flag first.
  on.SetMatchFlag(true);
  on.GameStartPersonality(true);
  EXPECT_FALSE(on.MatchFlag());
}
