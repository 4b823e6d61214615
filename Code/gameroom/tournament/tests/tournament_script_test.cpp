#include "tournament_script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "profile.h"
#include "tests/tournament_fixture.h"

namespace {

// A profile file in memory: section and key as written (the tests use one
// spelling), values as text.
class FakeProfile : public Profile {
 public:
  std::map<std::string, std::map<std::string, std::string>> sections;

  uint32_t ReadString(const char* section, const char* key, const char* fallback, char* buffer, uint32_t size,
                      const char*) override {
    std::string value = fallback ? fallback : "";
    auto s = sections.find(section);
    if (s != sections.end() && s->second.count(key)) value = s->second[key];
    const size_t n = value.size() < size - 1 ? value.size() : size - 1;
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return uint32_t(n);
  }
  uint32_t ReadInt(const char* section, const char* key, int32_t fallback, const char*) override {
    auto s = sections.find(section);
    if (s == sections.end() || !s->second.count(key)) return uint32_t(fallback);
    return uint32_t(std::strtol(s->second[key].c_str(), nullptr, 10));
  }
  bool Write(const char* section, const char* key, const char* value, const char*) override {
    sections[section][key] = value;
    return true;
  }
};

TEST(GameScript, TypeOneStartsTheFirstUnplayedGameAndBooksItsResultThere) {
  FakeProfile profile;
  profile.sections["Script"] = {
      {"Type", "1"}, {"NumGames", "3"}, {"TimeType", "5"}, {"BaseTime", "60000"}, {"BonusTime", "1000"}};
  profile.sections["Game0"] = {{"White", "Ada"}, {"Black", "Bo"}, {"Result", "2"}};
  profile.sections["Game1"] = {{"White", "Cy"}, {"Black", "Di"}};
  profile.sections["Game2"] = {{"White", "Ed"}, {"Black", "Flo"}};
  GameScript script(profile, "tournamentroom.CSC");
  ScriptStep step = NextScriptStep(script);
  ASSERT_EQ(step.action, ScriptStep::START_AUTOTEST);
  EXPECT_EQ(step.game.number, 1);
  EXPECT_EQ(step.game.white, "Cy");
  EXPECT_EQ(step.game.black, "Di");
  EXPECT_EQ(step.game.timeKind, 5);
  EXPECT_EQ(step.game.baseTime, 60000);
  EXPECT_EQ(step.game.bonusTime, 1000);
  script.WriteResult(step.game.number, 14);
  EXPECT_EQ(profile.sections["Game1"]["Result"], "14");
  step = NextScriptStep(script);
  EXPECT_EQ(step.game.number, 2);
  script.WriteResult(step.game.number, 1);
  step = NextScriptStep(script);
  EXPECT_EQ(step.action, ScriptStep::COMPLETED);
  EXPECT_EQ(step.message, "All autotest games have been completed");
}

TEST(GameScript, TypeZeroCountsFromGameOneAndKeepsItsOwnSection) {
  FakeProfile profile;
  profile.sections["Script"] = {{"Type", "0"}, {"NumGames", "2"}};
  profile.sections["Game1"] = {{"Result", "2"}};
  GameScript script(profile, "s.CSC");
  ScriptStep step = NextScriptStep(script);
  ASSERT_EQ(step.action, ScriptStep::START_RATED);
  EXPECT_EQ(step.game.number, 2);
  // Without keys: the user as White against "Rookwell", ten minutes a game.
  EXPECT_EQ(step.game.white, "USER");
  EXPECT_EQ(step.game.black, "Rookwell");
  EXPECT_EQ(step.game.timeKind, 4);
  EXPECT_EQ(step.game.baseTime, 600000);
  EXPECT_EQ(step.game.bonusTime, 0);
  // The clock in minutes and seconds, the bonus of kind 1 a move count.
  profile.sections["Script"]["TimeType"] = "5";
  profile.sections["Script"]["BaseTime"] = "2";
  profile.sections["Script"]["BonusTime"] = "1";
  profile.sections["Game2"] = {{"WhitePlayer", "Pip - Age 7"}};
  step = NextScriptStep(script);
  EXPECT_EQ(step.game.white, "Pip - Age 7");
  EXPECT_EQ(step.game.baseTime, 120000);
  EXPECT_EQ(step.game.bonusTime, 1000);
  profile.sections["Script"]["TimeType"] = "1";
  profile.sections["Script"]["BonusTime"] = "40";
  EXPECT_EQ(NextScriptStep(script).game.bonusTime, 40);
  script.WriteResult(step.game.number, 3);  // not [Game0], the first section counted from 0
  EXPECT_EQ(profile.sections.count("Game0"), 0u);
  EXPECT_EQ(NextScriptStep(script).message, "All test games have been completed.\r\nThanks for playing!");
}

TEST(GameScript, MissingOrOtherTypesStartNothingAndNumGamesIsCapped) {
  FakeProfile none;
  EXPECT_EQ(NextScriptStep(GameScript(none, "x.CSC")).action, ScriptStep::NOTHING);
  FakeProfile other;
  other.sections["Script"] = {{"Type", "2"}, {"NumGames", "3"}};
  EXPECT_EQ(NextScriptStep(GameScript(other, "x.CSC")).action, ScriptStep::NOTHING);
  FakeProfile huge;
  huge.sections["Script"] = {{"Type", "1"}, {"NumGames", "2000000000"}};
  for (int g = 0; g < kScriptMaxGames; ++g) huge.sections["Game" + std::to_string(g)]["Result"] = "2";
  GameScript script(huge, "x.CSC");
  EXPECT_EQ(script.NumGames(), kScriptMaxGames);
  EXPECT_EQ(NextScriptStep(script).action, ScriptStep::COMPLETED);
  huge.sections["Script"]["NumGames"] = "-5";
  EXPECT_EQ(script.NumGames(), 0);
}

TEST(GameScript, WritingASwissCountsOnlyThePairedGames) {
  auto t = MakeTournament(TOURNAMENT_SWISS, 7, 4);
  t->timeControl.kind = 5;
  t->timeControl.base = 60000;
  t->timeControl.increment = 1000;
  SeededTournamentRandom random(2);
  PairNextSwissRound(*t, random, "vs");
  FakeProfile profile;
  profile.sections["Game0"] = {{"White", "Old"}, {"Black", "Game"}, {"Result", "2"}};
  GameScript script(profile, "s.CSC");
  EXPECT_EQ(WriteTournamentScript(script, *t), 3);  // round 0 only: 3 of 12 slots paired
  EXPECT_EQ(profile.sections["Script"]["NumGames"], "4");
  EXPECT_EQ(profile.sections["Script"]["Type"], "1");
  EXPECT_EQ(profile.sections["Script"]["TimeType"], "5");
  EXPECT_EQ(profile.sections["Script"]["BonusTime"], "1000");
  EXPECT_EQ(profile.sections["Game1"]["White"], FindEntrant(t.get(), t->pairings[0].white, nullptr)->name);
  EXPECT_EQ(profile.sections.count("Game4"), 0u);
  ScriptStep step = NextScriptStep(script);
  EXPECT_EQ(step.game.number, 1);
  EXPECT_NE(step.game.white, "USER");
}

}  // namespace
