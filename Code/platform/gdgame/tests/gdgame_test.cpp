// Game-file engine: records round trip, the file survives reopening, damaged
// files are refused, batches and the header index.
#include "gdgame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string TempPath(const char* name) { return std::string("gdgame_test_") + name + ".gdg"; }

GdgMoveXY Xy(const char* move) {  // "e2e4"
  return GdgMoveXY{move[0] - 'a' + 1, move[1] - '0', move[2] - 'a' + 1, move[3] - '0', 0};
}

void Play(GdgGame* g, std::initializer_list<const char*> moves) {
  for (const char* m : moves) {
    GdgMoveXY xy = Xy(m);
    ASSERT_NE(AcceptMove(g, &xy), 0) << m;
  }
}

// 1. e4 e5 (1... c5 2. Nf3) (1... e6) 2. Nf3 with comments and a header.
GdgGame* SampleGame() {
  GdgGame* g = IGGameOpenGame();
  IGGamePutPlayer(g, 0, "White Player");
  IGGamePutPlayer(g, 1, "Black Player");
  IGGamePutPlace(g, "Town");
  IGGamePutElo(g, 0, 2100);
  GdgDate d{1999, 8, 12};
  IGGamePutDate(g, &d);
  IGGamePutResult(g, 2);
  Play(g, {"e2e4", "e7e5"});
  PlayMoves(g, -1);
  Play(g, {"c7c5", "g1f3"});
  PlayMoves(g, -2);
  Play(g, {"e7e6"});
  PlayMoves(g, -1);
  PlayMoves(g, 1);
  Play(g, {"g1f3"});
  const char lines[] = "first line\0second";
  IGMovePutLComment(g, IGGameGetMovePtr(g), lines, 2);
  IGMovePutSComment(g, IGGameGetMovePtr(g), "!?");
  return g;
}

std::string Describe(GdgGame* g, GdgMove m, bool alternative = false) {
  std::string out;
  for (bool first = true; m; m = IGMoveGetNEXT(g, m), first = false) {
    GdgMoveXY xy;
    IGMoveGetXY(g, m, &xy);
    out += char('a' + xy.fromFile - 1);
    out += char('0' + xy.fromRank);
    out += char('a' + xy.toFile - 1);
    out += char('0' + xy.toRank);
    if (!(alternative && first))
      for (GdgMove a = IGMoveGetALT(g, m); a; a = IGMoveGetALT(g, a)) out += "(" + Describe(g, a, true) + ")";
    out += ' ';
  }
  return out;
}

TEST(GameFile, GamesRoundTripAndSurviveReopen) {
  std::string path = TempPath("roundtrip");
  int32_t f = GdgOpenGamefile(path.c_str(), 1);
  ASSERT_NE(f, 0);
  GdgGame* g = SampleGame();
  std::string tree = Describe(g, IGMoveGetNEXT(g, IGGameGetFirstMove(g)));
  EXPECT_EQ(tree, "e2e4 e7e5(c7c5 g1f3 )(e7e6 ) g1f3 ");
  int32_t number = 0;
  ASSERT_EQ(GdgWriteGame(g, f, 0, &number), 1);
  EXPECT_EQ(number, 1);
  ASSERT_EQ(GdgWriteGame(g, f, 0, &number), 1);
  EXPECT_EQ(number, 2);
  EXPECT_EQ(GdgDeleteGame(f, 2), 0);
  GdgCloseGamefile(f);

  f = GdgOpenGamefile(path.c_str(), 0);
  ASSERT_NE(f, 0);
  EXPECT_EQ(GdgGetNumberOfGames(f), 2);
  GdgGame* r = IGGameOpenGame();
  ASSERT_EQ(GdgLoadGame(r, f, 1, 0), 1);
  EXPECT_EQ(Describe(r, IGMoveGetNEXT(r, IGGameGetFirstMove(r))), tree);
  char text[256];
  IGGameGetPlayer(r, 1, text, sizeof text);
  EXPECT_STREQ(text, "Black Player");
  EXPECT_EQ(IGGameGetElo(r, 0), 2100);
  EXPECT_EQ(IGGameGetResult(r), 2);
  EXPECT_EQ(IGGameGetLength(r), 3);
  EXPECT_EQ(IGGameGetStatusFlag(r, 0), 0);
  PlayMoves(r, 3);
  char lines[64] = {};
  EXPECT_EQ(GetLComment(r, IGGameGetMovePtr(r), lines, sizeof lines), 2);
  EXPECT_STREQ(lines + 11, "second");
  ASSERT_EQ(GdgLoadGameHeader(r, f, 2), 1);
  EXPECT_EQ(IGGameGetStatusFlag(r, 0), 1);  // deleted
  EXPECT_EQ(GdgLoadGame(r, f, 3, 0), 0);
  IGGameCloseGame(r);
  IGGameCloseGame(g);
  GdgCloseGamefile(f);
}

TEST(GameFile, LegalityOfTheEngineBoard) {
  GdgGame* g = IGGameOpenGame();
  struct Case {
    std::vector<const char*> before;
    const char* move;
    bool legal;
  } cases[] = {
      {{}, "e2e4", true},
      {{}, "e2e5", false},
      {{}, "e1g1", false},
      {{"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6"}, "e1g1", true},
      {{"e2e4", "d7d5", "e4e5", "f7f5"}, "e5f6", true},                   // en passant
      {{"e2e4", "d7d5", "e4e5", "f7f6"}, "e5f6", true},                   // capture
      {{"e2e4", "d7d6", "e4e5", "f7f5", "a2a3", "a7a6"}, "e5f6", false},  // too late
      {{"e2e4", "f7f6", "d1h5"}, "g7g6", true},
      {{"e2e4", "f7f6", "d1h5"}, "a7a6", false},  // in check
  };
  for (const auto& c : cases) {
    NewGameErase(g);
    Play(g, std::initializer_list<const char*>{});
    for (const char* m : c.before) {
      GdgMoveXY xy = Xy(m);
      ASSERT_NE(AcceptMove(g, &xy), 0) << m;
    }
    GdgMoveXY xy = Xy(c.move);
    EXPECT_EQ(LegalMove(g, &xy) != 0, c.legal) << c.move;
  }
  IGGameCloseGame(g);
}

TEST(GameFile, DamagedFilesAreRefused) {
  std::string path = TempPath("damaged");
  int32_t f = GdgOpenGamefile(path.c_str(), 1);
  GdgGame* g = SampleGame();
  for (int i = 0; i < 3; ++i) GdgWriteGame(g, f, 0, nullptr);
  GdgCloseGamefile(f);
  IGGameCloseGame(g);
  std::ifstream in(path, std::ios::binary);
  std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  struct Damage {
    size_t at;
    char value;
    bool opens;
    int loads;
  } damages[] = {
      {0, 'X', false, 0},    // magic
      {8, 2, false, 0},      // version
      {64 + 8, 9, true, 2},  // newest slot broken: the one before is in force
      {200, 0x55, true, 2},  // record bytes: the file opens, that game does not load
  };
  for (const auto& d : damages) {
    std::string bad = good;
    bad[d.at] = static_cast<char>(bad[d.at] ^ d.value);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bad;
    f = GdgOpenGamefile(path.c_str(), 0);
    EXPECT_EQ(f != 0, d.opens) << d.at;
    if (f) {
      GdgGame* r = IGGameOpenGame();
      int loaded = 0;
      for (int n = 1; n <= GdgGetNumberOfGames(f); ++n) loaded += GdgLoadGame(r, f, n, 0);
      EXPECT_EQ(loaded, d.loads);
      IGGameCloseGame(r);
      GdgCloseGamefile(f);
    }
  }
  // Truncated data: the published end lies beyond the file.
  std::ofstream(path, std::ios::binary | std::ios::trunc) << good.substr(0, good.size() - 5);
  EXPECT_EQ(GdgOpenGamefile(path.c_str(), 0), 0);
  EXPECT_EQ(GdgOpenGamefile("no_such_file.gdg", 0), 0);
}

TEST(GameFile, BatchesAndHeaderIndexSort) {
  std::string path = TempPath("batch");
  int32_t f = GdgOpenGamefile(path.c_str(), 1);
  GdgGame* g = IGGameOpenGame();
  const char* names[] = {"Carl", "anna", "Bert", "Dora"};
  for (const char* name : names) {
    NewGameErase(g);
    IGGamePutPlayer(g, 0, name);
    Play(g, {"d2d4"});
    ASSERT_EQ(GdgWriteGame(g, f, 0, nullptr), 1);
  }
  std::vector<uint8_t> buffer(65536);
  int32_t offsets[100];
  ASSERT_EQ(GdgReadGames(f, 1, buffer.data(), offsets, 65536, 100), 3);
  ASSERT_EQ(GetGameHeader(g, buffer.data() + offsets[0], 0, 1), 1);
  char text[32];
  IGGameGetPlayer(g, 0, text, sizeof text);
  EXPECT_STREQ(text, "anna");
  EXPECT_EQ(IGGameGetSourceLoadnumber(g), 2);
  ASSERT_GT(UnpackGame(g, buffer.data() + offsets[2], 0), 0);
  EXPECT_EQ(IGGameGetLength(g), 1);

  int32_t source[4] = {1, 2, 3, 4}, target[4] = {};
  EXPECT_EQ(GdgIndexSort(f, source, target, 4, 1, 1, "."), 0);  // no index yet
  ASSERT_EQ(GdgIndexCreate(f, 65535, 2000000, ".", 0, nullptr, 0), 0);
  ASSERT_EQ(GdgIndexSort(f, source, target, 4, 1, 1, "."), 4);
  EXPECT_EQ(std::vector<int32_t>(target, target + 4), (std::vector<int32_t>{2, 3, 1, 4}));
  ASSERT_EQ(GdgIndexSort(f, source, target, 4, 1, -2, "."), 4);
  EXPECT_EQ(std::vector<int32_t>(target, target + 4), (std::vector<int32_t>{4, 1, 3, 2}));
  GdgWriteGame(g, f, 0, nullptr);
  EXPECT_EQ(GdgIndexSort(f, source, target, 4, 1, 1, "."), -1);  // out of date
  EXPECT_EQ(GdgIndexDelete(f, 0x4000, "."), 0);
  IGGameCloseGame(g);
  GdgCloseGamefile(f);
}

TEST(GameFile, HandlesOfOnePathShareTheirGames) {
  std::string path = TempPath("shared");
  int32_t a = GdgOpenGamefile(path.c_str(), 1);
  int32_t b = GdgOpenGamefile(path.c_str(), 0);
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  EXPECT_EQ(GdgOpenGamefile(path.c_str(), 1), 0);  // not emptied under an open handle
  GdgGame* g = SampleGame();
  int32_t first = 0, second = 0;
  ASSERT_EQ(GdgWriteGame(g, a, 0, &first), 1);
  ASSERT_EQ(GdgWriteGame(g, b, 0, &second), 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(GdgGetNumberOfGames(a), 2);
  GdgCloseGamefile(a);
  EXPECT_EQ(GdgLoadGame(g, b, 2, 0), 1);
  GdgCloseGamefile(b);
  IGGameCloseGame(g);
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The file layout, byte for byte: header, the two publish slots, one record,
// and its directory entry (written from the layout description).
TEST(GameFile, GoldenBytes) {
  std::string path = TempPath("golden");
  int32_t f = GdgOpenGamefile(path.c_str(), 1);
  GdgGame* g = IGGameOpenGame();
  IGGamePutPlayer(g, 0, "A");
  IGGamePutResult(g, 1);
  GdgDate d{2000, 1, 2};
  IGGamePutDate(g, &d);
  Play(g, {"e2e4", "e7e5"});
  ASSERT_EQ(GdgWriteGame(g, f, 0, nullptr), 1);
  IGGameCloseGame(g);
  GdgCloseGamefile(f);

  static const char kHeader[] = "RWGDGAME\x01\x00\x00\x00\x40\x00\x00\x00";
  static const char kAfterHeader[] =
      "\x53\x4c\x4f\x54\x02\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\xa7\x00\x00\x00\x00\x00\x00\x00\xac"
      "\x74"
      "\x41\xd8\x00\x00\x00\x00\x53\x4c\x4f\x54\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x00\x00"
      "\x00"
      "\x00\x00\x00\x00\xb8\xc3\x33\x2a\x00\x00\x00\x00\xa7\x00\x01\x01\x02\xd0\x07\x00\x00\x00\x00\x00\x00"
      "\x00"
      "\x00\x00\x00\x02\x00\x01\x41\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x0c\x07\x01\x34\x09\x00";
  std::string expected(kHeader, sizeof kHeader - 1);
  expected += std::string(48, '\0');
  expected += std::string(kAfterHeader, sizeof kAfterHeader - 1);
  EXPECT_EQ(FileBytes(path), expected);

  static const char kDirectory[] = "RWGDGDIR\x01\x00\x00\x00\x18\x00\x00\x00";
  static const char kEntry[] =
      "\x80\x00\x00\x00\x00\x00\x00\x00\x27\x00\x00\x00\x1f\x00\x00\x00\x1e\x54\x7e\xff\x00\x00\x00\x00";
  std::string directory(kDirectory, sizeof kDirectory - 1);
  directory += std::string(16, '\0');
  directory += std::string(kEntry, sizeof kEntry - 1);
  EXPECT_EQ(FileBytes(TempPath("golden").substr(0, TempPath("golden").size() - 4) + ".gdx"), directory);
}

}  // namespace
