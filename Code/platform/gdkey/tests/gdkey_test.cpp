// The key engine: keys from opening lines, games filed under the keys they
// reach (transpositions included), key data, and a base that keeps telling
// the truth when its journal is cut or its game file changes behind it.
#include "gdkey.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "keybase.h"

namespace {

const char* kPath = "gdkey_test.gdg";

GdgMoveXY Xy(const std::string& m) {
  return GdgMoveXY{m[0] - 'a' + 1, m[1] - '0', m[2] - 'a' + 1, m[3] - '0', 0};
}

// A game of coordinate moves ("e2e4 e7e5 ...").
void Play(GdgGame* g, const std::string& moves, int result = 0) {
  NewGameErase(g);
  size_t at = 0;
  while (at < moves.size()) {
    size_t end = moves.find(' ', at);
    if (end == std::string::npos) end = moves.size();
    GdgMoveXY xy = Xy(moves.substr(at, end - at));
    ASSERT_TRUE(LegalMove(g, &xy)) << moves.substr(at, end - at);
    AcceptMove(g, &xy);
    at = end + 1;
  }
  IGGamePutResult(g, result);
}

std::string KeyPath() {
  char path[512];
  GdkKeyFilePath(kPath, path, sizeof path);
  return path;
}

class KeyBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IGInstallGameDriver(0);
    GdkDeleteDatabaseFiles(kPath, "GdIndex", 7);
    file_ = GdgOpenGamefile(kPath, 1);
    ASSERT_NE(file_, 0);
    ASSERT_EQ(IDCreateBase(kPath, file_), 0);
    g_ = IGGameOpenGame();
    Play(g_, "e2e4");
    e4_ = GdkAddKeyLine(g_, "B00", "King's pawn", "");
    Play(g_, "e2e4 e7e5 g1f3 b8c6 f1b5");
    ruy_ = GdkAddKeyLine(g_, "C60", "Ruy Lopez", "Spanish");
    Play(g_, "d2d4");
    d4_ = GdkAddKeyLine(g_, "A40", "Queen's pawn", "");
  }
  void TearDown() override {
    IGGameCloseGame(g_);
    IDCloseBase(file_);
    GdgCloseGamefile(file_);
    GdkDeleteDatabaseFiles(kPath, "GdIndex", 7);
  }
  void Save(const std::string& moves, int result) {
    Play(g_, moves, result);
    ASSERT_NE(GdkSaveToDatabase(g_, file_, 0, 0, 1), 0);
  }
  std::vector<int32_t> Games(int32_t key) {
    int32_t out[64];
    int32_t n = DbsSearchKey(key, 2, 1, out, 64);
    return std::vector<int32_t>(out, out + n);
  }
  int32_t file_ = 0;
  GdgGame* g_ = nullptr;
  int32_t e4_ = 0, ruy_ = 0, d4_ = 0;
};

TEST_F(KeyBaseTest, LinesMakeATreeWithInheritedNames) {
  EXPECT_EQ(GdkGetFirstKey(0, 0), 1);
  EXPECT_EQ(DbsGetDatabaseDepth(), 6);  // positions of the longest line
  int32_t children[8];
  ASSERT_EQ(DbsSearchKey(1, 1, 1, children, 8), 2);
  EXPECT_EQ(children[0], e4_);
  EXPECT_EQ(children[1], d4_);
  // 1.e4 e5 has no name of its own: it shows the nearest one above.
  int32_t e5 = 0;
  Play(g_, "e2e4 e7e5");
  ASSERT_TRUE(GdkFindPosition(IGGameGetBoard(g_), &e5));
  char name[64];
  GdkGetKeyName(e5, name, 0, sizeof name);
  EXPECT_STREQ(name, "King's pawn");
  EXPECT_STREQ(DbsGetKeycode(-ruy_), "C60");  // negated keys are the same key
  EXPECT_STREQ(DbsGetRemark(ruy_), "Spanish");
  GdkKeyMove move;
  ASSERT_EQ(DbsGetKeyMove(ruy_, 0, &move), 1);
  int from = 0 * 8 + 5, to = 4 * 8 + 1;  // f1 -> b5, a bishop move
  EXPECT_EQ(move.word, from | to << 6 | 2 << 13);
  EXPECT_EQ(move.flags & 1, 1);
}

TEST_F(KeyBaseTest, GamesAreFiledUnderEveryKeyTheyReachInAnyOrder) {
  Save("e2e4 e7e5 g1f3 b8c6 f1b5 a7a6", 1);
  Save("g1f3 b8c6 e2e4 e7e5 f1b5", 2);  // the same position by another road
  Save("d2d4 d7d5", 3);
  EXPECT_EQ(Games(ruy_), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(Games(e4_), (std::vector<int32_t>{1}));
  EXPECT_EQ(Games(1), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(Games(d4_), (std::vector<int32_t>{3}));

  GdkKeyData data;
  ASSERT_EQ(DbsGetKeyDataInfo(ruy_, &data), 1);
  EXPECT_EQ(sizeof data, 44u);
  EXPECT_EQ(data.gamesBelow, 2);
  EXPECT_EQ(data.gamesHere, 2);
  EXPECT_EQ(data.whiteWins, 1);
  EXPECT_EQ(data.draws, 1);
  EXPECT_EQ(data.depth, 5);
  ASSERT_EQ(DbsGetKeyDataInfo(1, &data), 1);
  EXPECT_EQ(data.keysBelow, 6);
  EXPECT_EQ(data.children, 2);
  EXPECT_EQ(data.blackWins, 1);

  // The callback search stops when the callback says so.
  static std::vector<int32_t> seen;
  seen.clear();
  DbsCBSearchKey(1, 2, 1, [](int32_t n) {
    seen.push_back(n);
    return n < 2 ? 1 : 0;
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{1, 2}));
}

TEST_F(KeyBaseTest, ReopenedBaseCatchesUpAndDropsACutTail) {
  Save("e2e4 e7e5", 1);
  IDCloseBase(file_);
  // A game written past the key engine, and half a record at the end.
  Play(g_, "d2d4", 2);
  int32_t n = 0;
  ASSERT_NE(GdgWriteGame(g_, file_, 0, &n), 0);
  {
    std::FILE* f = std::fopen(KeyPath().c_str(), "ab");
    ASSERT_NE(f, nullptr);
    const uint8_t junk[7] = {40, 0, 0, 0, 2, 9, 9};
    std::fwrite(junk, 1, sizeof junk, f);
    std::fclose(f);
  }
  ASSERT_EQ(IDOpenBase(kPath, file_, 0), 0);
  EXPECT_EQ(Games(d4_), (std::vector<int32_t>{2}));
  Save("d2d4 g8f6", 3);
  EXPECT_EQ(Games(d4_), (std::vector<int32_t>{2, 3}));
  IDCloseBase(file_);
  ASSERT_EQ(IDOpenBase(kPath, file_, 0), 0);
  EXPECT_EQ(Games(d4_), (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(Games(1), (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(KeyBaseTest, AShorterGameFileRebuildsTheLists) {
  Save("e2e4", 1);
  Save("d2d4", 1);
  IDCloseBase(file_);
  GdgCloseGamefile(file_);
  // The game file is replaced by one with a single other game.
  file_ = GdgOpenGamefile(kPath, 1);
  Play(g_, "d2d4", 3);
  int32_t n = 0;
  ASSERT_NE(GdgWriteGame(g_, file_, 0, &n), 0);
  ASSERT_EQ(IDOpenBase(kPath, file_, 0), 0);
  EXPECT_TRUE(Games(e4_).empty());
  EXPECT_EQ(Games(d4_), (std::vector<int32_t>{1}));
}

TEST_F(KeyBaseTest, AnotherGameFileOfTheSameSizeRebuildsTheLists) {
  Save("e2e4", 1);
  IDCloseBase(file_);
  GdgCloseGamefile(file_);
  file_ = GdgOpenGamefile(kPath, 1);
  Play(g_, "d2d4", 1);
  int32_t n = 0;
  ASSERT_NE(GdgWriteGame(g_, file_, 0, &n), 0);
  ASSERT_EQ(IDOpenBase(kPath, file_, 0), 0);
  EXPECT_TRUE(Games(e4_).empty());
  EXPECT_EQ(Games(d4_), (std::vector<int32_t>{1}));
}

TEST_F(KeyBaseTest, OptimiseLeavesOutDeletedGames) {
  Save("e2e4", 1);
  Save("e2e4 e7e5", 2);
  ASSERT_EQ(GdgDeleteGame(file_, 1), 0);
  DbsAdjustDeletedGames(1);
  static int calls = 0;
  calls = 0;
  EXPECT_EQ(GdkOptimizeDatabase(
                0, 0, 1, [](int32_t, int32_t) { return ++calls, 1; }, 0),
            0);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(Games(e4_), (std::vector<int32_t>{2}));
  EXPECT_STREQ(DbsGetKeycode(ruy_), "C60");
  IDCloseBase(file_);
  ASSERT_EQ(IDOpenBase(kPath, file_, 0), 0);
  EXPECT_EQ(Games(e4_), (std::vector<int32_t>{2}));
}

TEST_F(KeyBaseTest, DeleteModes) {
  Save("e2e4", 1);
  IDCloseBase(file_);
  GdgCloseGamefile(file_);
  // 2: the index files only; the key base and the games stay.
  EXPECT_EQ(GdkDeleteDatabaseFiles(kPath, "GdIndex", 2), 0);
  EXPECT_TRUE(std::filesystem::exists(KeyPath()));
  EXPECT_TRUE(std::filesystem::exists(kPath));
  // 7: everything.
  EXPECT_EQ(GdkDeleteDatabaseFiles(kPath, "GdIndex", 7), 0);
  EXPECT_FALSE(std::filesystem::exists(KeyPath()));
  EXPECT_FALSE(std::filesystem::exists(kPath));
  file_ = GdgOpenGamefile(kPath, 1);
  EXPECT_NE(IDOpenBase(kPath, file_, 0), 0);  // no key base: the game file alone
}

TEST(KeyJournal, DamagedImagesReadUpToTheDamage) {
  uint8_t start[kGdgBoardSize];
  GdgGame* g = IGGameOpenGame();
  NewGameErase(g);
  std::memcpy(start, IGGameGetBoard(g), sizeof start);
  IGGameCloseGame(g);
  std::vector<uint8_t> image = gdk::KeyBase::NewImage(start);
  gdk::KeyBase base;
  size_t valid = 0;
  ASSERT_TRUE(base.Load(image, &valid));
  std::vector<uint8_t> game = base.FileGame(gdk::FiledGame{1, 1, {0, 0}, {1}});
  image.insert(image.end(), game.begin(), game.end());
  size_t whole = image.size();
  struct Case {
    const char* what;
    size_t at;  // byte changed, from the end
    size_t cut;
    int32_t filed;
  } cases[] = {{"intact", 0, 0, 1}, {"crc", 1, 0, 0}, {"payload", 6, 0, 0}, {"cut", 0, 3, 0}};
  for (const Case& c : cases) {
    std::vector<uint8_t> copy(image.begin(), image.begin() + static_cast<long>(whole - c.cut));
    if (c.at) copy[copy.size() - c.at] ^= 0x5A;
    ASSERT_TRUE(base.Load(copy, &valid)) << c.what;
    EXPECT_EQ(base.Filed(), c.filed) << c.what;
    EXPECT_EQ(valid, c.filed ? whole : whole - game.size()) << c.what;
  }
  std::vector<uint8_t> foreign(image);
  foreign[0] = 'X';
  EXPECT_FALSE(base.Load(foreign, &valid));
}

}  // namespace
