// Scripted online play, a test aid: with the settings' [debug] "autoplay"
// on, two copies play the games of the online room's game script (".CSC")
// against each other, each side played by the personality the script names.
// The script file is read and written through the shell's profile seam.
//
// Interface: ScriptGameRecord, the script operations (ReadScriptGame,
// FindNextScriptGame, WriteNextScriptResult, WriteScriptResult,
// WriteScriptHeader, AppendScriptGame), ScriptClock, and OnlineAutoplay, the
// points where online play consults the script; each returns 0 (or nothing)
// and reads nothing while autoplay is off.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wire.h"

// A hand-edited NumGames drives the search loops: it is capped.
constexpr int kOnlineScriptMaxGames = 1000;

struct ScriptGameRecord {
  int32_t type = 1;
  int32_t index = 0;
  int32_t timeType = 4;  // 4 minutes per game, 5 Fischer, else none
  int32_t base = 10;     // milliseconds
  int32_t bonus = 0;     // milliseconds per move
  char white[32] = {};
  char black[32] = {};
  int32_t result = 0;  // 0: not played yet
};

// The Script keys and game `index`'s three keys.
int ReadScriptGame(const std::string& file, int index, ScriptGameRecord* out);
// The first game whose Result is 0: 1, else 0 (none, or NumGames 0).
int FindNextScriptGame(const std::string& file, ScriptGameRecord* out);
// Writes `result` ("%d") into the first game whose Result is 0; 0 when
// every game has one.
int WriteNextScriptResult(const std::string& file, int result);
int WriteScriptResult(const std::string& file, int index, int result);
// Type, NumGames 0, TimeType, BaseTime, BonusTime.
int WriteScriptHeader(const std::string& file, int type, int timeType, int base, int bonus);
// White and Black into the first game without a White; NumGames becomes its
// index + 1. Returns the index, or -1.
int AppendScriptGame(const std::string& file, const std::string& white, const std::string& black);

// A script game's clock as challenge terms: kind (1 minutes per game, 2
// Fischer, 0 infinite), base in minutes, bonus in seconds.
struct ScriptClock {
  uint32_t kind = 0, base = 0, bonus = 0;
};
ScriptClock ScriptClockOf(const ScriptGameRecord& game);
// Whether a posted challenge carries the clock.
bool PostedChallengeHasClock(const OnlineChallenge& posted, const ScriptClock& clock);

class OnlineAutoplay {
 public:
  OnlineAutoplay(bool on, std::string file) : on_(on), file_(std::move(file)) {}
  bool On() const { return on_; }
  const std::string& File() const { return file_; }

  // The next game; 0 when off or none.
  int NextGame(ScriptGameRecord* out) const;
  // Step 1: of the other users' posted challenges (or `only`'s), the first
  // one whose clock is the next game's; empty when none or off. The poster
  // fills the challenge's nickname with its own: the copy answers another
  // user's posting, never one addressed to itself.
  struct Poster {
    std::string nickname;
    OnlineChallenge challenge;
  };
  std::string FindChallengeToAccept(uint32_t ownState, const std::string& ownNickname,
                                    const std::vector<Poster>& posters) const;
  // Step 2: "autoplay White vs. Black"; empty when off or no game.
  std::string Announcement() const;
  // Step 3: the answer to a chat line (empty: none); a line from the
  // opponent announcing the script's own game sets the match flag.
  std::string AnswerChat(const std::string& line, bool fromOpponent, bool ownWhite);
  // Step 4: the personality for the own side; the match flag is cleared.
  std::string GameStartPersonality(bool ownWhite);
  // Step 5: a finished game's result into the script when the match flag is
  // set. 0 when not written.
  int GameEnded(int result);

  bool MatchFlag() const { return match_; }
  void SetMatchFlag(bool on) { match_ = on; }

 private:
  bool on_;
  std::string file_;
  bool match_ = false;
};
