// The default database as the build makes it: every opening line of the ECO
// file leads to a key that holds games, the games read back with their
// players and results, and the list sorts by its indexes at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gdbase.h"
#include "native_host.h"
#include "platform.h"

namespace {

// The key information record: code, name and remark texts, then the counts.
struct KeyInfo {
  char head[772];
  int32_t keysBelow, gamesBelow, children, gamesHere, parent, depth;
  int32_t whiteWins, draws, blackWins, whiteRating, blackRating;
  char rest[816 - 772 - 44];
};

std::vector<std::string> EcoLines() {
  std::ifstream in(RW_ECO_PGN, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string text = s.str();
  std::vector<std::string> games;
  size_t at = text.find("\n[ECO ");
  while (at != std::string::npos) {
    const size_t next = text.find("\n[ECO ", at + 1);
    games.push_back(text.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1));
    at = next;
  }
  return games;
}

class DefaultDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    gdbase::LibraryAttach();
    file_ = GdOpenGamefile(RW_DEFAULT_DATABASE);
    ASSERT_NE(file_, 0);
    ASSERT_EQ(GdOpenDatabase(RW_DEFAULT_DATABASE, file_), 1);
  }
  void TearDown() override {
    if (!file_) return;
    GdCloseDatabase(file_);
    GdCloseGamefile(file_);
  }
  int32_t file_ = 0;
};

TEST_F(DefaultDatabase, EveryNamedLineLeadsToAKeyWithGames) {
  const std::vector<std::string> lines = EcoLines();
  ASSERT_EQ(lines.size(), 2014u);
  EXPECT_EQ(GdGetGamesCount(file_), 2014);
  GdGameBuffer game = GdAllocGameBuffer();
  int empty = 0;
  std::string firstEmpty;
  for (const std::string& line : lines) {
    void* text = gdbase::NativeGlobalText(line.c_str());
    ASSERT_EQ(GdMemReadPgnGame(game, text, 0, "NBRQK"), 0) << line;
    gdbase::NativeGlobalFree(text);
    uint16_t moves[400];
    const int plies = GdGetMoves(game, moves, 400);
    int found = -1;
    const int32_t key = GdClassifyGame(game, plies, &found);
    KeyInfo info;
    std::memset(&info, 0, sizeof info);
    GdGetKeyInfo(key, &info);
    if (found != plies || info.gamesBelow <= 0) {
      if (!empty++) firstEmpty = line;
    }
  }
  GdFreeGameBuffer(game);
  EXPECT_EQ(empty, 0) << firstEmpty;
}

TEST_F(DefaultDatabase, GamesReadBackAndTheListSortsByItsIndexes) {
  GdGameBuffer game = GdAllocGameBuffer();
  ASSERT_EQ(GdReadGameHeader(game, file_, 1), 1);
  char white[64] = "";
  GdGetHeaderInfo(game, 5, white, sizeof white);
  EXPECT_STREQ(white, "Corvane Level 1");
  GdFreeGameBuffer(game);
  const int32_t count = GdGetGamesCount(file_);
  std::vector<int32_t> all(static_cast<size_t>(count)), sorted(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) all[size_t(i)] = i + 1;
  const std::string path = RW_DEFAULT_DATABASE;
  const std::string folder = path.substr(0, path.rfind('/') + 1) + "GdIndex";
  for (int field : {5, 17}) {
    EXPECT_EQ(GdIndexSort(file_, folder.c_str(), all.data(), sorted.data(), count, field, 1), 0) << field;
    std::vector<int32_t> seen = sorted;
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, all) << field;
  }
}

}  // namespace
