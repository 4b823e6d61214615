// The runner's decisions: which game comes next (schedule, auto play or a
// resumed game), the game's players and round text, booking a result,
// pairing the next Swiss round, saving and loading the file, adjourning,
// and the lines of the results, the games list and the printed report.
// Dialogs, games, files of games and messages are the host's.
//
// Interface: TournamentRunnerHost, TournamentGameSpec, TournamentRunner.
#pragma once

#include <string>
#include <vector>

#include "tournament.h"

// The two players and settings of a tournament game to start.
struct TournamentGameSpec {
  std::string white, black;
  int whiteComputer = 0, blackComputer = 0;
  int whiteRating = 0, blackRating = 0;
  std::string event;  // the tournament's name
  std::string round;  // "%d, Game %d"
  int rated = 0;
  TournamentTimeControl timeControl{};
};

enum ScheduleChoice { SCHEDULE_CANCEL = -1, SCHEDULE_AUTO = -2 };

class TournamentRunnerHost {
 public:
  virtual ~TournamentRunnerHost() = default;
  // The schedule dialog over its rows; a row index, SCHEDULE_AUTO or
  // SCHEDULE_CANCEL.
  virtual int ShowSchedule(const std::vector<std::string>& rows, bool autoEnabled) = 0;
  // The announcement with its countdown; false when cancelled.
  virtual bool Announce(const std::string& white, const std::string& black, bool resuming) = 0;
  // Starts a new game from `spec`, or plays on the game loaded with the
  // file when `resume`; false when it could not start.
  virtual bool StartGame(const TournamentGameSpec& spec, bool resume) = 0;
  virtual bool IsEngineToMove() = 0;
  virtual void ShowResults() = 0;
  // Appends the finished game to the PGN file at `path`.
  virtual void AppendGameToPgn(const std::string& path) = 0;
  // Ends the running game as adjourned and gives its saved game image.
  virtual std::string AdjournGame() = 0;
  virtual void Message(const std::string& text) = 0;
  virtual void UpdateMenu() = 0;
  virtual std::string ResultText(int32_t code) = 0;
  // A human side of a rated game finished: `white` 1 or 0.
  virtual void RecordRatedGame(int white) = 0;
};

class TournamentRunner {
 public:
  TournamentRunner(Tournament& t, TournamentRunnerHost& host, TournamentRandom& random, std::string vs)
      : t_(t), host_(host), random_(random), vs_(std::move(vs)) {}

  // The file's path (folder and name) and the name that becomes the event
  // name and the PGN file's base.
  void SetFile(const std::string& folder, const std::string& name);
  const std::string& name() const { return name_; }
  int currentSlot() const { return currentSlot_; }

  void RunNextTournamentGame(bool loadedGame);
  void ScheduleNextGames();
  bool FindNextAutoGame();
  void SelectNextPairing(int k);
  std::vector<std::string> ScheduleRows() const;
  std::string RoundText(int slot) const;
  std::string PgnPath(const std::string& userFolder) const;

  // The end of a tournament game with the game's result code.
  void FinishGame(int32_t result, const std::string& userFolder);
  // Saves the file; a game in progress is adjourned into it. 1 or 0.
  int SaveTournamentFile();
  // Loads the file at `path`; the saved game image goes to *savedGame. On
  // success the runner plays on (resume when a game was appended). 1 or 0.
  int LoadTournamentFile(const std::string& folder, const std::string& fileName, std::string* savedGame);
  void Adjourn();
  void EndTournamentGame(int code);
  void MarkTournamentGameStarted();

  // Lines of the games list (IDD_TOURN_GAMES) and of the printed report.
  std::vector<std::string> GamesPlayedLines();
  std::vector<std::string> ReportLines();
  // Rows of the results dialog in standings order: name, W, D, L, games,
  // score, and for a Swiss the opponents' average.
  std::vector<std::vector<std::string>> ResultRows();

 private:
  TournamentEntrant* Entrant(int number);
  int RoundOf(int slot) const;
  void ByeLines(int round, const char* suffix, std::vector<std::string>* lines);

  Tournament& t_;
  TournamentRunnerHost& host_;
  TournamentRandom& random_;
  std::string vs_;
  std::string folder_, name_;
  int currentSlot_ = 0;
  StandingsOrder order_;
};
