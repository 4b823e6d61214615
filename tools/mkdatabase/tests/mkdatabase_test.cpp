// The database builder over the outside opening file: every line becomes a
// key, the games land in the game file under their keys, and the database
// opens in the library with names where the window reads them.
#include <gtest/gtest.h>

#include "testdata.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gdbase.h"
#include "gdkey.h"
#include "platform.h"

namespace {

TEST(Mkdatabase, BuildsGamesAndKeysFromPgn) {
  RW_REQUIRE_TESTDATA("mate_in_2.pgn");
  gdbase::LibraryAttach();
  std::string eco = RW_ECO_FILE;
  std::string mate = TestDataPath("mate_in_2.pgn");
  std::string command = std::string(MKDATABASE_PATH) + " mkdb_test.gdg --keys " + eco + " " + eco + " " +
                        mate + " > mkdb_test.log";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_NE(
      std::system((std::string(MKDATABASE_PATH) + " mkdb_bad.gdg no_such.pgn > /dev/null 2>&1").c_str()), 0);

  int32_t file = GdOpenGamefile("mkdb_test.gdg");
  ASSERT_NE(file, 0);
  int32_t games = GdGetGamesCount(file);
  EXPECT_GT(games, 2000);
  ASSERT_EQ(GdOpenDatabase("mkdb_test.gdg", file), 1);
  // Every opening line of the file reaches a key named as the line.
  GdGameBuffer game = GdAllocGameBuffer();
  ASSERT_EQ(GdReadGame(game, file, 1), 1);  // 1. b4, "Polish (Sokolsky) opening"
  int ply = -1;
  int32_t key = GdClassifyGame(game, 1000, &ply);
  ASSERT_NE(key, 0);
  EXPECT_EQ(ply, 1);
  std::vector<char> info(816);
  GdGetKeyInfo(key, info.data());
  EXPECT_STREQ(&info[4], "A00");
  EXPECT_STREQ(&info[260], "Polish (Sokolsky) opening");
  int32_t data[11];
  std::memcpy(data, &info[772], sizeof data);
  EXPECT_GE(data[1], 1);
  // The start key holds every game of the opening file and the problems
  // that start from the initial position (none: they are set up).
  int32_t root[1];
  EXPECT_EQ(GdGetKeyGames(1, root, 1), 1);
  GdGetKeyInfo(1, info.data());
  std::memcpy(data, &info[772], sizeof data);
  EXPECT_GT(data[1], 2000);
  EXPECT_LT(data[1], games);
  GdFreeGameBuffer(game);
  GdCloseDatabase(file);
  GdCloseGamefile(file);
}

}  // namespace
