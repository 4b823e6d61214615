// A writer process appending games is killed at random moments; after each
// kill the game file must open, be consistent and hold every game the writer
// had reported written, intact.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "gdgame.h"
#include "killed_writer.h"

namespace {

const char* const kDance[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
const char* kPath = "durability_test.gdg";

GdgMoveXY Xy(const char* m) { return GdgMoveXY{m[0] - 'a' + 1, m[1] - '0', m[2] - 'a' + 1, m[3] - '0', 0}; }

// Game n has its own player name, length and comment.
void MakeGame(GdgGame* g, int n) {
  NewGameErase(g);
  IGGamePutPlayer(g, 0, ("Player " + std::to_string(n)).c_str());
  IGGamePutElo(g, 1, n % 3000);
  for (int ply = 0; ply < n % 37 + 1; ++ply) {
    GdgMoveXY xy = Xy(kDance[ply % 4]);
    AcceptMove(g, &xy);
  }
  std::string comment = "comment " + std::to_string(n);
  IGMovePutLComment(g, IGGameGetMovePtr(g), comment.c_str(), 1);
}

bool GameIsIntact(GdgGame* g, int32_t file, int n) {
  if (!GdgLoadGame(g, file, n, 0)) return false;
  char text[64];
  IGGameGetPlayer(g, 0, text, sizeof text);
  if (("Player " + std::to_string(n)) != text || IGGameGetElo(g, 1) != n % 3000) return false;
  if (IGGameGetLength(g) != n % 37 + 1) return false;
  PlayMoves(g, 1000);
  char lines[64] = {};
  return GetLComment(g, IGGameGetMovePtr(g), lines, sizeof lines) == 1 &&
         std::string(lines) == "comment " + std::to_string(n);
}

[[noreturn]] void Writer(int pipeOut) {
  int32_t file = GdgOpenGamefile(kPath, 0);
  if (!file) _exit(3);
  GdgGame* g = IGGameOpenGame();
  for (int n = GdgGetNumberOfGames(file) + 1;; ++n) {
    MakeGame(g, n);
    int32_t number = 0;
    if (!GdgWriteGame(g, file, 0, &number) || number != n) _exit(4);
    // Reported only once the write call has returned.
    if (write(pipeOut, &number, sizeof number) != sizeof number) _exit(5);
  }
}

TEST(Durability, KilledWritersLoseNothingReported) {
  int32_t created = GdgOpenGamefile(kPath, 1);
  ASSERT_NE(created, 0);
  GdgCloseGamefile(created);
  std::mt19937 random(20261210);
  GdgGame* g = IGGameOpenGame();
  int verified = 0;
  int kills = 0;
  for (int round = 0; round < 50; ++round) {
    KilledWriterRun run = RunAndKillWriter(Writer, random);
    ASSERT_TRUE(run.started);
    kills += run.killed ? 1 : 0;
    int32_t reported = run.reported;

    int32_t file = GdgOpenGamefile(kPath, 0);
    ASSERT_NE(file, 0) << "round " << round << ": the file no longer opens";
    int32_t count = GdgGetNumberOfGames(file);
    ASSERT_GE(count, reported) << "round " << round;
    ASSERT_GE(count, verified);
    // Every game new since the last round, and a sample of the older ones.
    for (int n = verified + 1; n <= count; ++n) ASSERT_TRUE(GameIsIntact(g, file, n)) << "game " << n;
    for (int k = 0; k < 20 && count > 0; ++k) {
      int n = static_cast<int>(random() % count) + 1;
      ASSERT_TRUE(GameIsIntact(g, file, n)) << "game " << n;
    }
    verified = count;
    GdgCloseGamefile(file);
  }
  EXPECT_EQ(kills, 50);
  EXPECT_GT(verified, 50);
  IGGameCloseGame(g);
}

}  // namespace
