// Game scripts of the tournament room (".CSC", a private-profile file):
// which game comes next, its players and clock, where its result goes, and
// writing a tournament's games as an autotest script. Read and written
// through the shell's profile seam.
//
// Interface: GameScript, ScriptGame, ScriptStep, NextScriptStep,
// WriteTournamentScript, kScriptMaxGames.
#pragma once

#include <cstdint>
#include <string>

#include "tournament.h"

class Profile;

// A hand-edited NumGames drives the loops: it is capped.
constexpr int kScriptMaxGames = 1000;

enum ScriptType { SCRIPT_RATED = 0, SCRIPT_AUTOTEST = 1 };

struct ScriptGame {
  int number = 0;  // its [Game%d] section; the game keeps it to book its result
  std::string white, black;
  int32_t timeKind = 4, baseTime = 600000, bonusTime = 0;
};

// What the room does when asked for the next script game.
struct ScriptStep {
  enum Action { NOTHING, START_RATED, START_AUTOTEST, COMPLETED } action = NOTHING;
  ScriptGame game;
  std::string message;  // the completion message
};

class GameScript {
 public:
  GameScript(Profile& profile, std::string path) : profile_(profile), path_(std::move(path)) {}
  int Type() const;
  int NumGames() const;  // 0..kScriptMaxGames
  int32_t Result(int number) const;
  // Books a finished game's result in its own section.
  bool WriteResult(int number, int32_t result);

 private:
  friend ScriptStep NextScriptStep(const GameScript& script);
  friend int WriteTournamentScript(GameScript& script, Tournament& t);
  Profile& profile_;
  std::string path_;
};

// Type 0: the first [Game1]..[GameNumGames] without a result, started as a
// rated test game; Type 1: the first of [Game0]..[Game(NumGames - 1)], with
// its players and the script's clock; every game played: the completion
// message; any other type: nothing.
ScriptStep NextScriptStep(const GameScript& script);

// Writes the tournament's paired games as a Type 1 script after the
// sections already there; NumGames counts the sections written, so
// unpaired Swiss slots leave no "USER" against "USER" game. Returns the
// number of games written.
int WriteTournamentScript(GameScript& script, Tournament& t);
