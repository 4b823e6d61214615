// Writer processes saving games through the key engine are killed at random
// moments. After each kill the base must open, file every game the game
// file holds (and so every game the writer reported), and give the same
// lists as a base rebuilt from the game file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "gdkey.h"
#include "killed_writer.h"

namespace {

const char* kPath = "gdkey_durability.gdg";
const char* const kLines[4][3] = {
    {"e2e4", "e7e5", "g1f3"}, {"d2d4", "d7d5", "c2c4"}, {"g1f3", "d7d5", "d2d4"}, {"e2e4", "c7c5", "g1f3"}};

GdgMoveXY Xy(const char* m) { return GdgMoveXY{m[0] - 'a' + 1, m[1] - '0', m[2] - 'a' + 1, m[3] - '0', 0}; }

void MakeGame(GdgGame* g, int n) {
  NewGameErase(g);
  const char* const* line = kLines[n % 4];
  for (int ply = 0; ply < n % 3 + 1; ++ply) {
    GdgMoveXY xy = Xy(line[ply]);
    LegalMove(g, &xy);
    AcceptMove(g, &xy);
  }
  IGGamePutResult(g, n % 3 + 1);
}

[[noreturn]] void Writer(int pipeOut) {
  int32_t file = GdgOpenGamefile(kPath, 0);
  if (!file || IDOpenBase(kPath, file, 0) != 0) _exit(3);
  GdgGame* g = IGGameOpenGame();
  for (int n = GdgGetNumberOfGames(file) + 1;; ++n) {
    MakeGame(g, n);
    if (!GdkSaveToDatabase(g, file, 0, 0, 1)) _exit(4);
    if (write(pipeOut, &n, sizeof n) != sizeof n) _exit(5);
  }
}

std::vector<std::vector<int32_t>> AllLists() {
  std::vector<std::vector<int32_t>> lists;
  std::vector<int32_t> out(100000);
  for (int32_t k = GdkGetFirstKey(0, 0); k; k = GdkGetNextKey(k, 0)) {
    int32_t n = DbsSearchKey(k, 2, 1, out.data(), static_cast<int32_t>(out.size()));
    lists.emplace_back(out.begin(), out.begin() + n);
  }
  return lists;
}

TEST(KeyDurability, KilledWritersLeaveABaseThatTellsTheTruth) {
  IGInstallGameDriver(0);
  GdkDeleteDatabaseFiles(kPath, "GdIndex", 7);
  int32_t file = GdgOpenGamefile(kPath, 1);
  ASSERT_NE(file, 0);
  ASSERT_EQ(IDCreateBase(kPath, file), 0);
  GdgGame* g = IGGameOpenGame();
  for (auto& line : kLines) {
    NewGameErase(g);
    for (const char* m : line) {
      GdgMoveXY xy = Xy(m);
      LegalMove(g, &xy);
      AcceptMove(g, &xy);
    }
    ASSERT_NE(GdkAddKeyLine(g, "X", "line", ""), 0);
  }
  IDCloseBase(file);
  GdgCloseGamefile(file);

  std::mt19937 random(20261210);
  int kills = 0;
  int32_t count = 0;
  for (int round = 0; round < 40; ++round) {
    KilledWriterRun run = RunAndKillWriter(Writer, random);
    ASSERT_TRUE(run.started);
    kills += run.killed ? 1 : 0;
    int reported = run.reported;

    file = GdgOpenGamefile(kPath, 0);
    ASSERT_NE(file, 0) << "round " << round;
    ASSERT_EQ(IDOpenBase(kPath, file, 0), 0) << "round " << round;
    count = GdgGetNumberOfGames(file);
    ASSERT_GE(count, reported);
    std::vector<std::vector<int32_t>> lists = AllLists();
    ASSERT_EQ(lists[0].size(), static_cast<size_t>(count)) << "round " << round;
    if (round % 8 == 7) {
      ASSERT_EQ(GdkOptimizeDatabase(0, 0, 1, nullptr, 0), 0);
      EXPECT_EQ(AllLists(), lists) << "round " << round;
    }
    IDCloseBase(file);
    GdgCloseGamefile(file);
  }
  EXPECT_EQ(kills, 40);
  EXPECT_GT(count, 40);
  IGGameCloseGame(g);
}

}  // namespace
