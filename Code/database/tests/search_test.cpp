// Searches with callbacks, the query compiler, header texts, opening keys
// through the library, and PGN conversion cases.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "gdbase.h"
#include "gdgame.h"
#include "gdkey.h"
#include "header_texts.h"
#include "query.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "native_host.h"
#include "platform.h"
#endif

namespace {

void* TextBlock(const std::string& text) {
#if defined(_WIN32)
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
#else
  return gdbase::NativeGlobalText(text.c_str());
#endif
}

std::string BlockText(void* handle) {
#if defined(_WIN32)
  std::string text(static_cast<const char*>(GlobalLock(handle)));
  GlobalUnlock(handle);
  GlobalFree(handle);
  return text;
#else
  std::string text = gdbase::NativeGlobalContent(handle);
  gdbase::NativeGlobalFree(handle);
  return text;
#endif
}

GdgGame* G(GdGameBuffer game) { return static_cast<GdgGame*>(game); }

std::string ReadText(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

// Every callback call of the running search.
struct Call {
  uintptr_t code;
  int32_t a, b;
};
std::vector<Call> g_calls;
int32_t g_stopAtMatch = 0;  // answer 0 at this match (1-based), 0 never

int Record(uintptr_t code, int32_t a, int32_t b, int32_t) {
  g_calls.push_back({code, a, b});
  if (code == 0) return 1;
  int matches = 0;
  for (const Call& c : g_calls) matches += c.code != 0;
  return g_stopAtMatch && matches >= g_stopAtMatch ? 0 : 1;
}

std::vector<int32_t> Matches() {
  std::vector<int32_t> out;
  for (const Call& c : g_calls)
    if (c.code) out.push_back(c.a);
  return out;
}

class Search : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
#if !defined(_WIN32)
    gdbase::LibraryAttach();
#endif
  }
  void SetUp() override {
    file_ = GdCreateGamefile("search_test.gdg");
    ASSERT_NE(file_, 0);
    game_ = GdAllocGameBuffer();
    g_calls.clear();
    g_stopAtMatch = 0;
  }
  void TearDown() override {
    GdFreeGameBuffer(game_);
    GdCloseGamefile(file_);
  }
  void Import(const std::string& pgn) {
    WriteText("search_test.pgn", pgn);
    ASSERT_EQ(GdPgnImport("search_test.pgn", file_, 0, "NBRQK", nullptr, 0), 0);
  }
  std::vector<int32_t> Run(const SearchQuery& q) {
    g_calls.clear();
    EXPECT_EQ(GdSearchGameHdrs(file_, &q, Record, 0), 0);
    // The first and the last calls are progress, from 0 and to the total.
    EXPECT_GE(g_calls.size(), 2u);
    EXPECT_EQ(g_calls.front().code, 0u);
    EXPECT_EQ(g_calls.front().a, 0);
    EXPECT_EQ(g_calls.back().code, 0u);
    EXPECT_EQ(g_calls.back().a, GdGetGamesCount(file_));
    return Matches();
  }
  int32_t file_ = 0;
  GdGameBuffer game_ = nullptr;
};

sPosition InitialPositionForTest() {
  GdgGame* g = IGGameOpenGame();
  NewGameErase(g);
  sPosition p;
  GdGetCurrentPos(g, &p);
  IGGameCloseGame(g);
  return p;
}

SearchQuery Query(int kind = 1, int includeFlagged = 1) {
  SearchQuery q;
  std::memset(&q, 0, sizeof q);
  q.kind = kind;
  q.includeFlagged = includeFlagged;
  return q;
}

void Cell(SearchQuery* q, int row, int col, int field, int op, const char* value) {
  QueryCondition& c = q->conditions[row][col];
  c.field = field;
  c.op = op;
  std::snprintf(c.value, sizeof c.value, "%s", value);
}

const char* kPlayers =
    "[White \"Anand\"]\n[Black \"Kasparov\"]\n[Date \"1985.03.02\"]\n[Result \"1-0\"]\n[WhiteElo \"2500\"]\n"
    "1. e4 1-0\n\n"
    "[White \"Karpov\"]\n[Black \"Tal\"]\n[Date \"1985.11.30\"]\n[Result \"1/2-1/2\"]\n[Site \"Moscow\"]\n"
    "1. d4 1/2-1/2\n\n"
    "[White \"Tal\"]\n[Black \"KASIMDZHANOV\"]\n[Date \"1986.01.01\"]\n[Result \"0-1\"]\n[BlackElo "
    "\"2700\"]\n"
    "1. c4 0-1\n\n";

TEST_F(Search, HeaderQueries) {
  Import(kPlayers);
  struct Case {
    const char* what;
    int field, op;
    const char* value;
    std::vector<int32_t> games;
  } cases[] = {
      {"either player contains kas", 1, 5, "kas", {1, 3}},
      {"White equals tal", 15, 1, "TAL", {3}},
      {"Black starts with ka", 16, 3, "Ka", {1, 3}},
      {"either player does not contain kas", 1, 6, "kas", {2}},
      {"the year alone", 11, 1, "1985", {1, 2}},
      {"a month of a year", 11, 1, "Nov 1985", {2}},
      {"before a date", 11, 3, "25.12.1985", {1, 2}},
      {"result draw", 6, 1, "1/2", {2}},
      {"result is not White", 6, 2, "1-0", {2, 3}},
      {"either Elo at least", 3, 4, "2600", {3}},
      {"less than 0 is dropped", 19, 3, "0", {1, 2, 3}},
      {"an empty date below is dropped", 11, 3, "", {1, 2, 3}},
      {"site does not contain nothing: empty sites", 9, 6, "", {1, 3}},
      {"site equals nothing", 9, 1, "", {1, 3}},
      {"game number", 12, 6, "1", {2, 3}},
      {"an operator out of range is no condition", 15, 9, "Tal", {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SearchQuery q = Query();
    Cell(&q, 0, 0, c.field, c.op, c.value);
    EXPECT_EQ(Run(q), c.games) << c.what;
  }
  // Rows are all required, columns are alternatives.
  SearchQuery q = Query();
  Cell(&q, 0, 1, 15, 1, "tal");
  Cell(&q, 0, 2, 1, 5, "karp");
  Cell(&q, 1, 2, 6, 1, "1/2");
  EXPECT_EQ(Run(q), (std::vector<int32_t>{2, 3}));
  Cell(&q, 2, 2, 11, 4, "1986");
  EXPECT_EQ(Run(q), (std::vector<int32_t>{3}));
}

TEST_F(Search, FlaggedGamesStopsAndEmptyQueries) {
  Import(kPlayers);
  ASSERT_EQ(GdDeleteGame(file_, 2), 1);
  SearchQuery q = Query(1, 0);
  EXPECT_EQ(Run(q), (std::vector<int32_t>{1, 3}));
  q.includeFlagged = 1;
  EXPECT_EQ(Run(q), (std::vector<int32_t>{1, 2, 3}));
  // A match in the buffer: the game number is set in it.
  g_stopAtMatch = 1;
  EXPECT_EQ(Run(q), (std::vector<int32_t>{1}));
  EXPECT_EQ(g_calls.size(), 3u);
  g_stopAtMatch = 0;
  // Kind 4 with an empty board is a header search.
  SearchQuery k4 = Query(4, 1);
  Cell(&k4, 0, 0, 16, 5, "tal");
  EXPECT_EQ(Run(k4), (std::vector<int32_t>{2}));

  struct EmptyCase {
    const char* what;
    int kind, include, field, op;
    const char* value;
    int empty;
  } cases[] = {
      {"no conditions", 1, 1, 0, 0, "", 1},
      {"flagged left out", 1, 0, 0, 0, "", 0},
      {"a field with a value", 1, 1, 5, 3, "x", 0},
      {"a field, no value, starts", 1, 1, 5, 3, "", 1},
      {"a field, no value, equals", 1, 1, 5, 1, "", 0},
      {"a value without field", 1, 1, 0, 1, "x", 1},
      {"key games", 2, 1, 0, 0, "", 0},
      {"key moves", 16, 1, 0, 0, "", 0},
      {"empty board", 4, 1, 0, 0, "", 1},
      {"other kinds", 7, 0, 0, 0, "", 1},
  };
  for (const EmptyCase& c : cases) {
    SearchQuery e = Query(c.kind, c.include);
    Cell(&e, 2, 1, c.field, c.op, c.value);
    EXPECT_EQ(GdIsEmptyQuery(&e), c.empty) << c.what;
  }
  SearchQuery board = Query(4, 1);
  board.position.squares[4] = 14;
  EXPECT_EQ(GdIsEmptyQuery(&board), 0);
}

// A callback that waits on another thread reading games: it would wait
// for ever if the search called it with the module lock held.
int32_t g_lockFile = 0;
int ReadOnAnotherThread(uintptr_t code, int32_t a, int32_t, int32_t) {
  if (code == 0) return 1;
  int read = 0;
  std::thread reader([&] {
    GdGameBuffer other = GdAllocGameBuffer();
    read = GdReadGameHeader(other, g_lockFile, a);
    GdFreeGameBuffer(other);
  });
  reader.join();
  g_calls.push_back({code, a, read});
  return 1;
}

TEST_F(Search, CallbacksRunWithoutTheModuleLock) {
  Import(kPlayers);
  g_lockFile = file_;
  SearchQuery q = Query();
  g_calls.clear();
  GdSearchGameHdrs(file_, &q, ReadOnAnotherThread, 0);
  sPosition start = InitialPositionForTest();
  GdSearchPosGames(file_, &start, 1, ReadOnAnotherThread, 0);
  ASSERT_EQ(g_calls.size(), 6u);
  for (const Call& c : g_calls) EXPECT_EQ(c.b, 1) << c.a;
}

// The games of the opening file whose main line passes through the
// position, found by playing each game's moves on a board of our own.
std::set<int32_t> GamesThrough(int32_t file, GdGameBuffer game, const sPosition& target) {
  std::set<int32_t> found;
  std::vector<uint16_t> moves(1000);
  for (int32_t n = 1; n <= GdGetGamesCount(file); ++n) {
    EXPECT_EQ(GdReadGame(game, file, n), 1);
    sPosition p;
    GdGetInitialPos(game, &p);
    int count = GdGetMoves(game, moves.data(), 1000);
    for (int i = 0;; ++i) {
      if (std::memcmp(p.squares, target.squares, 64) == 0 && p.whiteToMove == target.whiteToMove &&
          std::memcmp(p.castle, target.castle, 4) == 0) {
        found.insert(n);
        break;
      }
      if (i == count) break;
      GdPlayMove(&p, moves[static_cast<size_t>(i)]);
    }
  }
  return found;
}

sPosition After(GdGameBuffer game, const char* pgn) {
  void* text = TextBlock(std::string("[Event \"line\"]\n") + pgn);
  EXPECT_EQ(GdMemReadPgnGame(game, text, 0, "NBRQK"), 0);
  BlockText(text);
  GdGotoMove(game, 1000);
  sPosition p;
  GdGetCurrentPos(game, &p);
  return p;
}

TEST_F(Search, PositionSearchFindsEveryMoveOrder) {
  std::string eco = ReadText(RW_ECO_FILE);
  ASSERT_FALSE(eco.empty());
  // One more road to the same position.
  Import(eco + "\n\n[White \"Road\"]\n1. Nf3 Nc6 2. e4 e5 3. Bb5 a6 *\n");
  int32_t total = GdGetGamesCount(file_);
  ASSERT_GT(total, 2000);
  GdReadGame(game_, file_, total);
  GdGotoMove(game_, 5);
  sPosition target;
  GdGetCurrentPos(game_, &target);
  std::set<int32_t> expected = GamesThrough(file_, game_, target);
  ASSERT_GT(expected.size(), 50u);
  ASSERT_TRUE(expected.count(total));

  g_calls.clear();
  EXPECT_EQ(GdSearchPosGames(file_, &target, 1, Record, 0), 0);
  std::vector<int32_t> found = Matches();
  EXPECT_EQ(std::set<int32_t>(found.begin(), found.end()), expected);
  EXPECT_EQ(found.size(), expected.size());
  // The match is loaded in the buffer the callback gets.
  ASSERT_FALSE(g_calls.empty());
  EXPECT_EQ(g_calls.back().code, 0u);
  EXPECT_EQ(g_calls.back().a, total);

  // Right after a double step that no pawn can take: the games reach it
  // with the step just made, the query board has no en-passant square.
  sPosition e4 = After(game_, "1. e4 *");
  std::set<int32_t> afterE4 = GamesThrough(file_, game_, e4);
  ASSERT_GT(afterE4.size(), 500u);
  g_calls.clear();
  GdSearchPosGames(file_, &e4, 1, Record, 0);
  std::vector<int32_t> foundE4 = Matches();
  EXPECT_EQ(std::set<int32_t>(foundE4.begin(), foundE4.end()), afterE4);

  // The same through a kind-4 query.
  SearchQuery q = Query(4, 1);
  q.position = target;
  EXPECT_EQ(Run(q), found);
}

TEST_F(Search, OpeningKeysThroughTheLibrary) {
  std::string eco = ReadText(RW_ECO_FILE);
  // Keys of three lines, then the games filed under them.
  ASSERT_EQ(IDCreateBase("search_test.gdg", file_), 0);
  const char* lines[][3] = {{"1. e4 *", "B00", "King's pawn"},
                            {"1. e4 e5 2. Nf3 Nc6 3. Bb5 *", "C60", "Ruy Lopez"},
                            {"1. d4 *", "A40", "Queen's pawn"}};
  for (auto& l : lines) {
    sPosition unused = After(game_, l[0]);
    (void)unused;
    ASSERT_NE(GdkAddKeyLine(G(game_), l[1], l[2], ""), 0);
  }
  IDCloseBase(file_);
  Import(
      "[White \"Ruy\"]\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 *\n\n"
      "[White \"Road\"]\n1. Nf3 Nc6 2. e4 e5 3. Bb5 Nf6 *\n\n"
      "[White \"Other\"]\n1. d4 d5 *\n");
  ASSERT_EQ(GdOpenDatabase("search_test.gdg", file_), 1);  // catches up with the three games

  After(game_, "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 *");
  int found = -1;
  int32_t ruy = GdClassifyGame(game_, 7, &found);
  EXPECT_EQ(found, 5);  // stepped back from ply 8 to the last key
  std::vector<char> info(816, '\x5A');
  GdGetKeyInfo(ruy, info.data());
  EXPECT_STREQ(&info[4], "C60");
  EXPECT_STREQ(&info[260], "Ruy Lopez");
  EXPECT_STREQ(&info[516], "");
  int32_t data[11];
  std::memcpy(data, &info[772], sizeof data);
  EXPECT_EQ(data[1], 2);  // games below
  EXPECT_EQ(data[5], 5);  // depth
  int32_t keys[10];
  EXPECT_EQ(GdClassifyMoves(game_, keys, 10), 6);
  EXPECT_EQ(keys[5], ruy);
  EXPECT_EQ(keys[1], 2);

  SearchQuery q = Query(2, 1);
  q.key = ruy;
  EXPECT_EQ(Run(q), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(g_calls[1].code, 1u);
  // Key and position: the games under the key that reach the position.
  q.kind = 16;
  q.position = After(game_, "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 *");
  EXPECT_EQ(Run(q), (std::vector<int32_t>{1}));
  EXPECT_NE(g_calls[1].code, 0u);
  int32_t children[4];
  ASSERT_EQ(GdGetChildKeys(1, children, 4), 2);
  EXPECT_LT(children[0], 0);
  int32_t games[4];
  EXPECT_EQ(GdGetKeyGames(children[1], games, 4), 1);  // 1. d4
  EXPECT_EQ(games[0], 3);

  // A game written through the library goes under its keys at once.
  After(game_, "1. d4 Nf6 *");
  int32_t number = 0;
  EXPECT_NE(GdWriteGame(game_, file_, &number), 0);
  EXPECT_EQ(GdGetKeyGames(children[1], games, 4), 2);
  GdCloseDatabase(file_);
}

TEST(HeaderTexts, FieldsDatesAndTimes) {
  GdgGame* g = IGGameOpenGame();
  NewGameErase(g);
  IGGamePutTime(g, 0, 90);
  IGGamePutTime(g, 1, 6000);
  IGGamePutStatusFlag(g, 0, 1);
  IGGamePutStatusFlag(g, 6, 1);
  IGGamePutResult(g, 2);
  IGGamePutPlayer(g, 0, "Anand");
  IGGamePutElo(g, 0, 2750);
  IGGamePutCountry(g, 0, "IND");
  IGGamePutPlayer(g, 1, "Tal");
  GdGameBuffer game = g;
  struct Case {
    int field;
    int answer;
    const char* text;
  } cases[] = {{13, 1, "1:30"},
               {14, 0, ""},
               {21, 1, "DV"},
               {16, 1, "\xBD-\xBD"},
               {22, 1, "1/2"},
               {9, 1, "2750"},
               {10, 0, ""},
               {3, 0, ""},
               {17, 1, ""},
               {101, 1, "Anand (2750, IND) - Tal"},
               {100, 1, "Anand - Tal"},
               {23, 0, ""},
               {99, 0, ""}};
  for (const Case& c : cases) {
    char text[64] = "junk";
    EXPECT_EQ(GdGetHeaderInfo(game, c.field, text, sizeof text), c.answer) << c.field;
    EXPECT_STREQ(text, c.text) << c.field;
  }
  char small[4];
  EXPECT_EQ(GdGetHeaderInfo(game, 101, small, sizeof small), 1);
  EXPECT_STREQ(small, "Ana");
  int32_t v = -1;
  EXPECT_EQ(GdGetHeaderInfoInt(game, 16, &v), 1);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(GdGetHeaderInfoInt(game, 21, &v), 1);
  EXPECT_EQ(v, 9);
  GdgDate date = {1999, 13, 25};
  IGGamePutDate(g, &date);
  EXPECT_EQ(GdGetHeaderInfoInt(game, 17, &v), 1);
  EXPECT_EQ(v, 1999 << 16 | 25);
  v = 7;
  EXPECT_EQ(GdGetHeaderInfoInt(game, 5, &v), 0);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(GdPutHeaderInfo(game, 5, "M\xFCller"), 1);  // ü into code page 437
  char name[16];
  IGGameGetPlayer(g, 0, name, sizeof name);
  EXPECT_STREQ(name, "M\x81ller");
  EXPECT_EQ(GdPutHeaderInfo(game, 9, "2000"), 0);
  IGGameCloseGame(g);

  struct DateCase {
    const char* text;
    int y, m, d;
  } dates[] = {{"1999/12/25", 1999, 12, 25},
               {"25.12.1999", 1999, 12, 25},
               {"25 Dec 1999", 1999, 12, 25},
               {"December 25, 1999", 1999, 12, 25},
               {"1985", 1985, 0, 0},
               {"3.85", 1903, 85, 0},
               {"85", 1985, 0, 0},
               {"", 0, 0, 0}};
  for (const DateCase& c : dates) {
    int y, m, d;
    gdbase::ReadQueryDate(c.text, &y, &m, &d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.text;
  }
  struct Picture {
    const char* picture;
    int y, m, d;
    const char* text;
  } pictures[] = {{"yyyy/MM/dd", 1999, 12, 25, "1999/12/25"},  {"yyyy/MM/dd", 1999, 0, 0, "1999"},
                  {"dd.MM.yyyy", 1999, 12, 0, "12.1999"},      {"d MMM yy", 1999, 2, 5, "5 Feb 99"},
                  {"dd' of 'MMMM", 0, 2, 5, "05 of February"}, {"yyyy/MM/dd", 0, 0, 0, ""}};
  for (const Picture& c : pictures) {
    gdbase::SetDateLocale(c.picture, nullptr, nullptr);
    EXPECT_EQ(gdbase::FormatHeaderDate(c.y, c.m, c.d), c.text) << c.picture;
  }
  gdbase::SetDateLocale(nullptr, nullptr, nullptr);
}

TEST_F(Search, PgnConversionCases) {
  GdgGame* g = G(game_);
  NewGameErase(g);
  IGGamePutPlace(g, "Open|round two");
  IGGamePutResult(g, 2);
  GdgMoveXY e4{5, 2, 5, 4, 0};
  LegalMove(g, &e4);
  AcceptMove(g, &e4);
  void* text = GdCreatePgnGame(game_);
  ASSERT_NE(text, nullptr);
  std::string pgn = BlockText(text);
  EXPECT_NE(pgn.find("[Event \"Open\"]"), std::string::npos) << pgn;
  EXPECT_NE(pgn.find("[Remark \"round two\"]"), std::string::npos) << pgn;
  EXPECT_NE(pgn.find("[Result \"1/2-1/2\"]"), std::string::npos) << pgn;

  std::string comment(40, 'x');
  void* in = TextBlock("[Result \"1/2-1/2\"]\n1. e4 {" + comment + "} 1/2-1/2");
  ASSERT_EQ(GdMemReadPgnGame(game_, in, 0, "NBRQK"), 0);
  BlockText(in);
  EXPECT_EQ(IGGameGetResult(g), 2);
  PlayMoves(g, 1);
  char lines[128] = {};
  ASSERT_EQ(GetLComment(g, IGGameGetMovePtr(g), lines, sizeof lines), 2);
  EXPECT_EQ(std::string(lines), std::string(30, 'x'));
  EXPECT_EQ(std::string(lines + 31), std::string(10, 'x'));
  EXPECT_EQ(GdMemReadPgnGame(game_, nullptr, 0, "NBRQK"), 1);
  EXPECT_EQ(IGGameGetResult(g), 2);  // left untouched
}

}  // namespace
