// Game scripts: see tournament_script.h.
#include "tournament_script.h"

#include <cstdio>
#include <cstring>

#include "profile.h"

namespace {

std::string Section(int number) { return "Game" + std::to_string(number); }

std::string ReadText(Profile& profile, const std::string& section, const char* key, const char* fallback,
                     const std::string& path) {
  char buffer[kEntrantNameSize] = {};  // names of at most 31 characters
  profile.ReadString(section.c_str(), key, fallback, buffer, sizeof buffer, path.c_str());
  return buffer;
}

}  // namespace

int GameScript::Type() const { return int32_t(profile_.ReadInt("Script", "Type", -1, path_.c_str())); }

int GameScript::NumGames() const {
  const int32_t n = int32_t(profile_.ReadInt("Script", "NumGames", 0, path_.c_str()));
  if (n < 0) return 0;
  return n > kScriptMaxGames ? kScriptMaxGames : n;
}

int32_t GameScript::Result(int number) const {
  return int32_t(profile_.ReadInt(Section(number).c_str(), "Result", 0, path_.c_str()));
}

bool GameScript::WriteResult(int number, int32_t result) {
  return profile_.Write(Section(number).c_str(), "Result", std::to_string(result).c_str(), path_.c_str());
}

ScriptStep NextScriptStep(const GameScript& script) {
  ScriptStep step;
  const int type = script.Type();
  if (type != SCRIPT_RATED && type != SCRIPT_AUTOTEST) return step;
  const int n = script.NumGames();
  const int first = type == SCRIPT_RATED ? 1 : 0;
  for (int g = first; g < first + n; ++g) {
    if (script.Result(g) != 0) continue;
    step.game.number = g;
    Profile& p = script.profile_;
    const char* path = script.path_.c_str();
    if (type == SCRIPT_RATED) {
      // The clock in minutes and seconds; with moves per period (kind 1)
      // the bonus is the number of moves.
      step.action = ScriptStep::START_RATED;
      step.game.timeKind = int32_t(p.ReadInt("Script", "TimeType", 4, path));
      step.game.baseTime = int32_t(p.ReadInt("Script", "BaseTime", 10, path)) * 60000;
      const int32_t bonus = int32_t(p.ReadInt("Script", "BonusTime", 0, path));
      step.game.bonusTime = step.game.timeKind == 1 ? bonus : bonus * 1000;
      step.game.white = ReadText(p, Section(g), "WhitePlayer", "USER", script.path_);
      step.game.black = ReadText(p, Section(g), "BlackPlayer", "Rookwell", script.path_);
      return step;
    }
    step.action = ScriptStep::START_AUTOTEST;
    step.game.timeKind = int32_t(p.ReadInt("Script", "TimeType", 4, path));
    step.game.baseTime = int32_t(p.ReadInt("Script", "BaseTime", 600000, path));
    step.game.bonusTime = int32_t(p.ReadInt("Script", "BonusTime", 0, path));
    step.game.white = ReadText(p, Section(g), "White", "USER", script.path_);
    step.game.black = ReadText(p, Section(g), "Black", "USER", script.path_);
    return step;
  }
  step.action = ScriptStep::COMPLETED;
  step.message = type == SCRIPT_RATED ? "All test games have been completed.\r\nThanks for playing!"
                                      : "All autotest games have been completed";
  return step;
}

int WriteTournamentScript(GameScript& script, Tournament& t) {
  Profile& p = script.profile_;
  const char* path = script.path_.c_str();
  p.Write("Script", "Type", "1", path);
  p.Write("Script", "TimeType", std::to_string(t.timeControl.kind).c_str(), path);
  p.Write("Script", "BaseTime", std::to_string(t.timeControl.base).c_str(), path);
  p.Write("Script", "BonusTime", std::to_string(t.timeControl.increment).c_str(), path);
  int k = 0;
  while (k < kScriptMaxGames && ReadText(p, Section(k), "White", "X", script.path_) != "X") ++k;
  int written = 0;
  const int total = t.totalGames < kTournamentPairings ? t.totalGames : kTournamentPairings;
  for (int i = 0; i < total && k + written < kScriptMaxGames; ++i) {
    const TournamentPairing& pairing = t.pairings[i];
    const TournamentEntrant* w = FindEntrant(&t, pairing.white, nullptr);
    const TournamentEntrant* b = FindEntrant(&t, pairing.black, nullptr);
    if (!pairing.white || !pairing.black || !w || !b) continue;
    const std::string section = Section(k + written);
    p.Write(section.c_str(), "White", w->name, path);
    p.Write(section.c_str(), "Black", b->name, path);
    ++written;
  }
  p.Write("Script", "NumGames", std::to_string(k + written).c_str(), path);
  return written;
}
