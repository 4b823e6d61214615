// Scripted online play: see autoplay_script.h.
#include "autoplay_script.h"

#include <cstdio>
#include <cstring>

#include "challenge_rules.h"
#include "profile.h"
#include "session.h"

namespace {

std::string GameSection(int index) { return "Game" + std::to_string(index); }

int NumGames(const char* path) {
  const int32_t n = ProfileReadInt("Script", "NumGames", 0, path);
  if (n < 0) return 0;
  return n > kOnlineScriptMaxGames ? kOnlineScriptMaxGames : n;
}

int32_t Result(const char* path, int index) {
  return ProfileReadInt(GameSection(index).c_str(), "Result", 0, path);
}

int FirstUnplayed(const char* path) {
  const int n = NumGames(path);
  for (int i = 0; i < n; ++i)
    if (Result(path, i) == 0) return i;
  return -1;
}

}  // namespace

int ReadScriptGame(const std::string& file, int index, ScriptGameRecord* out) {
  if (!out || index < 0) return 0;
  const char* path = file.c_str();
  ScriptGameRecord g;
  g.type = ProfileReadInt("Script", "Type", 1, path);
  g.index = index;
  g.timeType = ProfileReadInt("Script", "TimeType", 4, path);
  g.base = ProfileReadInt("Script", "BaseTime", 10, path);
  g.bonus = ProfileReadInt("Script", "BonusTime", 0, path);
  const std::string section = GameSection(index);
  ProfileReadString(section.c_str(), "White", "USER", g.white, sizeof g.white, path);
  ProfileReadString(section.c_str(), "Black", "USER", g.black, sizeof g.black, path);
  g.result = ProfileReadInt(section.c_str(), "Result", 0, path);
  *out = g;
  return 1;
}

int FindNextScriptGame(const std::string& file, ScriptGameRecord* out) {
  const int index = FirstUnplayed(file.c_str());
  return index < 0 ? 0 : ReadScriptGame(file, index, out);
}

int WriteScriptResult(const std::string& file, int index, int result) {
  if (index < 0) return 0;
  return ProfileWriteInt(GameSection(index).c_str(), "Result", result, file.c_str()) ? 1 : 0;
}

int WriteNextScriptResult(const std::string& file, int result) {
  return WriteScriptResult(file, FirstUnplayed(file.c_str()), result);
}

int WriteScriptHeader(const std::string& file, int type, int timeType, int base, int bonus) {
  const char* path = file.c_str();
  bool ok = ProfileWriteInt("Script", "Type", type, path);
  ok = ProfileWriteInt("Script", "NumGames", 0, path) && ok;
  ok = ProfileWriteInt("Script", "TimeType", timeType, path) && ok;
  ok = ProfileWriteInt("Script", "BaseTime", base, path) && ok;
  ok = ProfileWriteInt("Script", "BonusTime", bonus, path) && ok;
  return ok ? 1 : 0;
}

int AppendScriptGame(const std::string& file, const std::string& white, const std::string& black) {
  const char* path = file.c_str();
  for (int i = 0; i < kOnlineScriptMaxGames; ++i) {
    const std::string section = GameSection(i);
    char name[32] = "";
    ProfileReadString(section.c_str(), "White", "", name, sizeof name, path);
    if (name[0]) continue;
    if (!ProfileWriteString(section.c_str(), "White", white.c_str(), path) ||
        !ProfileWriteString(section.c_str(), "Black", black.c_str(), path) ||
        !ProfileWriteInt("Script", "NumGames", i + 1, path))
      return -1;
    return i;
  }
  return -1;
}

ScriptClock ScriptClockOf(const ScriptGameRecord& g) {
  ScriptClock c;
  c.kind = g.timeType == 4 ? kTimeMinutesPerGame : g.timeType == 5 ? kTimeFischer : kTimeInfinite;
  c.base = uint32_t(g.base < 0 ? 0 : g.base) / 60000;
  c.bonus = uint32_t(g.bonus < 0 ? 0 : g.bonus) / 1000;
  return c;
}

bool PostedChallengeHasClock(const OnlineChallenge& posted, const ScriptClock& clock) {
  return (posted.timeType & kTimeTypeMask) == clock.kind && posted.base == clock.base && posted.bonus == clock.bonus;
}

int OnlineAutoplay::NextGame(ScriptGameRecord* out) const {
  if (!on_) return 0;
  return FindNextScriptGame(file_, out);
}

std::string OnlineAutoplay::FindChallengeToAccept(uint32_t ownState, const std::string& ownNickname,
                                                  const std::vector<Poster>& posters) const {
  if (!on_ || ownState == USER_UNAVAILABLE) return "";
  ScriptGameRecord g;
  if (!NextGame(&g)) return "";
  const ScriptClock clock = ScriptClockOf(g);
  for (const Poster& p : posters) {
    if (p.nickname == ownNickname || !HasPostedChallenge(p.challenge)) continue;
    if (PostedChallengeHasClock(p.challenge, clock)) return p.nickname;
  }
  return "";
}

std::string OnlineAutoplay::Announcement() const {
  ScriptGameRecord g;
  if (!NextGame(&g)) return "";
  return std::string("autoplay ") + g.white + " vs. " + g.black;
}

std::string OnlineAutoplay::AnswerChat(const std::string& line, bool fromOpponent, bool ownWhite) {
  if (!on_ || line.find("I am the rookwell") != std::string::npos) return "";
  ScriptGameRecord g;
  if (!NextGame(&g)) return "";
  if (fromOpponent && line == std::string("autoplay ") + g.white + " vs. " + g.black) match_ = true;
  return std::string("I am the rookwell ") + (ownWhite ? g.white : g.black) + " personality";
}

std::string OnlineAutoplay::GameStartPersonality(bool ownWhite) {
  if (!on_) return "";
  match_ = false;
  ScriptGameRecord g;
  if (!NextGame(&g)) return "";
  return ownWhite ? g.white : g.black;
}

int OnlineAutoplay::GameEnded(int result) {
  if (!on_ || !match_) return 0;
  match_ = false;
  return WriteNextScriptResult(file_, result);
}
