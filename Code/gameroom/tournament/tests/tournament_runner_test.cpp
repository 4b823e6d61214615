#include "tournament_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/tournament_fixture.h"
#include "tournament_file.h"

namespace {

namespace fs = std::filesystem;

// Records what the runner asks for; the schedule answers from a script.
class FakeHost : public TournamentRunnerHost {
 public:
  std::vector<int> scheduleAnswers;  // used in order; SCHEDULE_AUTO or a row when empty
  int defaultAnswer = 0;
  std::vector<std::vector<std::string>> schedules;
  std::vector<TournamentGameSpec> started;
  std::vector<bool> resumed;
  std::vector<std::string> announced, messages, pgn;
  int results = 0, menu = 0, rated = 0;
  bool announceAnswer = true, engineToMove = true;

  int ShowSchedule(const std::vector<std::string>& rows, bool) override {
    schedules.push_back(rows);
    if (scheduleAnswers.empty()) return defaultAnswer;
    const int answer = scheduleAnswers.front();
    scheduleAnswers.erase(scheduleAnswers.begin());
    return answer;
  }
  bool Announce(const std::string& white, const std::string& black, bool resuming) override {
    announced.push_back((resuming ? "Ready to resume: " : "Ready to begin: ") + white + " " + black);
    return announceAnswer;
  }
  bool StartGame(const TournamentGameSpec& spec, bool resume) override {
    started.push_back(spec);
    resumed.push_back(resume);
    return true;
  }
  bool IsEngineToMove() override { return engineToMove; }
  void ShowResults() override { ++results; }
  void AppendGameToPgn(const std::string& path) override { pgn.push_back(path); }
  std::string AdjournGame() override { return "saved game"; }
  void Message(const std::string& text) override { messages.push_back(text); }
  void UpdateMenu() override { ++menu; }
  std::string ResultText(int32_t code) override { return "R" + std::to_string(code); }
  void RecordRatedGame(int) override { ++rated; }
};

struct RunnerFixture : testing::Test {
  fs::path dir =
      fs::path(testing::TempDir()) /
      (std::string("tournament_runner_") + testing::UnitTest::GetInstance()->current_test_info()->name());
  SeededTournamentRandom random{11};
  FakeHost host;
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
};

TEST_F(RunnerFixture, SixEntrantSwissPairsTheNextRoundBeforeTheSchedule) {
  auto t = MakeTournament(TOURNAMENT_SWISS, 6, 3);
  PairNextSwissRound(*t, random, "vs");
  TournamentRunner runner(*t, host, random, "vs");
  runner.SetFile(dir.string(), "Spring.RWT");
  runner.RunNextTournamentGame(false);
  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0].round, "1, Game 1");
  EXPECT_EQ(host.started[0].event, "Spring.RWT");
  const int32_t results[] = {2, 1, 3, 2, 2, 1, 3, 3, 2};
  for (int g = 0; g < 9; ++g) {
    ASSERT_EQ(t->gameInProgress, 1) << g;
    runner.FinishGame(results[g], "C:\\User");
    if (g == 5) {
      EXPECT_EQ(t->currentRound, 2);
      EXPECT_EQ(host.schedules.back().size(), 3u);  // round 2's games, paired before the dialog
      EXPECT_NE(t->pairings[6].white, 0);
    }
  }
  EXPECT_EQ(t->gamesPlayed, 9);
  EXPECT_EQ(host.results, 1);
  EXPECT_EQ(host.started.back().round, "3, Game 3");
  EXPECT_EQ(host.pgn[0], "C:\\User\\Spring.PGN");
  int score = 0;
  for (int i = 0; i < 6; ++i) score += t->entrants[i].score;
  EXPECT_EQ(score, 90);
  // What was saved after the last game reads back.
  auto back = std::make_unique<Tournament>();
  std::string name, saved;
  ASSERT_EQ(LoadTournamentFileAt((dir / "Spring.RWT").string().c_str(), back.get(), &name, &saved), 0);
  EXPECT_EQ(back->gamesPlayed, 9);
}

TEST_F(RunnerFixture, CancellingTheScheduleShowsResultsAndPlaysOnLater) {
  auto t = MakeTournament(TOURNAMENT_SWISS, 6, 3);
  PairNextSwissRound(*t, random, "vs");
  TournamentRunner runner(*t, host, random, "vs");
  runner.SetFile(dir.string(), "T.RWT");
  host.scheduleAnswers = {0, 0, 0, SCHEDULE_CANCEL};
  runner.RunNextTournamentGame(false);
  for (int g = 0; g < 3; ++g) runner.FinishGame(2, "U");
  EXPECT_EQ(host.results, 1);
  EXPECT_EQ(t->gameInProgress, 0);
  EXPECT_EQ(t->currentRound, 1);
  runner.ScheduleNextGames();  // "Schedule..." again: the same round, no second pairing
  EXPECT_EQ(t->currentRound, 1);
  EXPECT_EQ(t->gameInProgress, 1);
  EXPECT_EQ(host.schedules.back().size(), 3u);
}

TEST_F(RunnerFixture, SevenEntrantSwissListsTheByeUnderEachRound) {
  auto t = MakeTournament(TOURNAMENT_SWISS, 7, 3);
  PairNextSwissRound(*t, random, "vs");
  TournamentRunner runner(*t, host, random, "vs");
  runner.SetFile(dir.string(), "T.RWT");
  runner.RunNextTournamentGame(false);
  for (int g = 0; g < 9; ++g) runner.FinishGame(3, "U");
  const std::vector<std::string> lines = runner.GamesPlayedLines();
  ASSERT_EQ(lines.size(), 3u * 5u);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(lines[r * 5], "=== Round " + std::to_string(r + 1) + " ===");
    EXPECT_NE(lines[r * 5 + 1].find(" (Bye)"), std::string::npos) << r;
    EXPECT_NE(lines[r * 5 + 2].find("\tvs "), std::string::npos);
    EXPECT_EQ(lines[r * 5 + 2].substr(lines[r * 5 + 2].size() - 3), "\tR3");
  }
  const std::vector<std::string> report = runner.ReportLines();
  const std::vector<std::string> head = {"START",
                                         "Tournament Results",
                                         "\n.n L\n",
                                         "T.RWT",
                                         "\n.n L 2\n",
                                         "\n.t 20 7 7 7 7 7\n",
                                         "Player\t",
                                         "Wins\t",
                                         "Draws\t",
                                         "Losses\t",
                                         "Games\t",
                                         "Score\t",
                                         "OPS\t",
                                         "\n.n L\n",
                                         std::string(97, '-')};
  ASSERT_GT(report.size(), head.size());
  for (size_t i = 0; i < head.size(); ++i) EXPECT_EQ(report[i], head[i]) << i;
  EXPECT_EQ(report.back(), "DONE");
  int rounds = 0, byes = 0;
  for (const std::string& l : report)
    rounds += l.rfind("=== Round", 0) == 0, byes += l.find(" (Bye)") != std::string::npos;
  EXPECT_EQ(rounds, 3);
  EXPECT_EQ(byes, 3);
  const auto rows = runner.ResultRows();
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0].size(), 7u);
}

TEST_F(RunnerFixture, AdjournedGameIsSavedAndBookedInItsSlotAfterLoading) {
  auto t = MakeTournament(TOURNAMENT_ROUND_ROBIN, 3, 1);
  BuildRoundRobinPairings(t.get(), "vs");
  TournamentRunner runner(*t, host, random, "vs");
  runner.SetFile(dir.string(), "RR.RWT");
  host.scheduleAnswers = {0, 1};  // play slot 0, then the second row: slot 2
  runner.RunNextTournamentGame(false);
  runner.FinishGame(2, "U");
  ASSERT_EQ(runner.currentSlot(), 2);
  runner.Adjourn();
  EXPECT_EQ(t->adjourned, 1);
  EXPECT_EQ(t->pairings[2].result, 0);

  auto loaded = std::make_unique<Tournament>();
  FakeHost other;
  TournamentRunner again(*loaded, other, random, "vs");
  std::string saved;
  ASSERT_EQ(again.LoadTournamentFile(dir.string(), "RR.RWT", &saved), 1);
  EXPECT_EQ(saved, "saved game");
  ASSERT_EQ(other.announced.size(), 1u);
  EXPECT_EQ(other.announced[0].rfind("Ready to resume: ", 0), 0u);
  EXPECT_TRUE(other.resumed[0]);
  EXPECT_EQ(again.currentSlot(), 2);
  EXPECT_EQ(other.started[0].round, "1, Game 3");
  again.FinishGame(1, "U");
  EXPECT_EQ(loaded->pairings[2].result, 1);
  EXPECT_EQ(loaded->pairings[0].result, 2);
  EXPECT_EQ(loaded->gamesPlayed, 2);
}

TEST_F(RunnerFixture, AutoPlayRunsAComputerRoundRobinToTheEnd) {
  auto t = MakeTournament(TOURNAMENT_ROUND_ROBIN, 3, 1);
  BuildRoundRobinPairings(t.get(), "vs");
  TournamentRunner runner(*t, host, random, "vs");
  runner.SetFile(dir.string(), "Auto.RWT");
  host.scheduleAnswers = {SCHEDULE_AUTO};
  runner.RunNextTournamentGame(false);
  const int32_t results[] = {2, 5, 10};
  for (int32_t r : results) runner.FinishGame(r, "U");
  EXPECT_EQ(host.schedules.size(), 1u);
  EXPECT_EQ(host.announced.size(), 3u);
  EXPECT_EQ(host.results, 1);
  int score = 0;
  for (int i = 0; i < 3; ++i) score += t->entrants[i].score;
  EXPECT_EQ(score, 30);
  EXPECT_EQ(host.started[1].round, "1, Game 2");
}

TEST_F(RunnerFixture, LoadFailuresShowTheFileMessages) {
  auto t = MakeTournament(TOURNAMENT_ROUND_ROBIN, 3, 1);
  TournamentRunner runner(*t, host, random, "vs");
  EXPECT_EQ(runner.LoadTournamentFile(dir.string(), "none.RWT", nullptr), 0);
  EXPECT_EQ(host.messages.back(), "Unable to open the file none.RWT");
  std::FILE* f = std::fopen((dir / "short.RWT").string().c_str(), "wb");
  std::fputs("short", f);
  std::fclose(f);
  EXPECT_EQ(runner.LoadTournamentFile(dir.string(), "short.RWT", nullptr), 0);
  EXPECT_EQ(host.messages.back(), "File is damaged or is not a Rookwell file. short.RWT.");
  runner.SetFile((dir / "no such folder").string(), "T.RWT");
  EXPECT_EQ(runner.SaveTournamentFile(), 0);
  EXPECT_EQ(host.messages.back(), "Cannot create file T.RWT");
}

}  // namespace
