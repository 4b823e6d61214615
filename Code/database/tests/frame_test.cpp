// The library's exports: version check, game files and games, index sort
// codes, PGN import and export, and PGN text in global memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gdbase.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "native_host.h"
#include "platform.h"
#endif

namespace {

void* TextBlock(const char* text) {
#if defined(_WIN32)
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::memcpy(GlobalLock(block), text, std::strlen(text) + 1);
  GlobalUnlock(block);
  return block;
#else
  return gdbase::NativeGlobalText(text);
#endif
}

std::string BlockText(void* handle) {
#if defined(_WIN32)
  std::string text(static_cast<const char*>(GlobalLock(handle)));
  GlobalUnlock(handle);
  return text;
#else
  return gdbase::NativeGlobalContent(handle);
#endif
}

void FreeBlock(void* handle) {
#if defined(_WIN32)
  GlobalFree(handle);
#else
  gdbase::NativeGlobalFree(handle);
#endif
}

class Frame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
#if !defined(_WIN32)
    gdbase::LibraryAttach();
#endif
  }
  void SetUp() override {
    file_ = GdCreateGamefile("frame_test.gdg");
    ASSERT_NE(file_, 0);
    game_ = GdAllocGameBuffer();
    ASSERT_NE(game_, nullptr);
  }
  void TearDown() override {
    GdFreeGameBuffer(game_);
    GdCloseGamefile(file_);
  }
  void Add(const char* pgn) {
    void* text = TextBlock(pgn);
    EXPECT_EQ(GdMemReadPgnGame(game_, text, 0, "NBRQK"), 0);
    FreeBlock(text);
    int32_t number = 0;
    EXPECT_NE(GdWriteGame(game_, file_, &number), 0);
  }

  int32_t file_ = 0;
  GdGameBuffer game_ = nullptr;
};

TEST_F(Frame, VersionOfTheLibraryAndItsEngines) {
  uint32_t version = 0, reserved = 7;
  EXPECT_EQ(GdGetVersion(&version, &reserved), 1);
  EXPECT_EQ(version, 0x10000u);
  EXPECT_EQ(reserved, 0u);
  EXPECT_EQ(GdGetVersion(nullptr, nullptr), 1);
}

#if !defined(_WIN32)
int OldEngine(uint32_t* version, uint32_t*) {
  *version = 0x00009;
  return 1;
}
int NewEngine(uint32_t* version, uint32_t*) {
  *version = 0x10002;
  return 1;
}

TEST_F(Frame, AnOldEngineIsAVersionConflict) {
  struct Case {
    gdbase::EngineVersionCall key, game;
    int answer;
    std::vector<std::string> boxes;
  } cases[] = {
      {NewEngine, NewEngine, 1, {}},
      {OldEngine, NewEngine, 0, {"Version Error: Version conflict: GdKey.dll"}},
      {NewEngine, OldEngine, 0, {"Version Error: Version conflict: GdGame.dll"}},
      {OldEngine,
       OldEngine,
       0,
       {"Version Error: Version conflict: GdKey.dll", "Version Error: Version conflict: GdGame.dll"}},
  };
  for (const auto& c : cases) {
    gdbase::Host().boxes.clear();
    gdbase::SetEngineVersionCalls(c.key, c.game);
    uint32_t version = 0;
    EXPECT_EQ(GdGetVersion(&version, nullptr), c.answer);
    EXPECT_EQ(version, 0x10000u);
    EXPECT_EQ(gdbase::Host().boxes, c.boxes);
  }
  gdbase::SetEngineVersionCalls(nullptr, nullptr);
  gdbase::Host().boxes.clear();
}
}  // namespace
namespace gdbase {
std::string IndexFolderFor(const char* path);
}
namespace {
TEST_F(Frame, IndexFolderOfAGameFile) {
  EXPECT_EQ(gdbase::IndexFolderFor("C:\\Games\\my.gdg"), "C:\\Games\\GdIndex\\");
  EXPECT_EQ(gdbase::IndexFolderFor("my.gdg"), ".\\GdIndex\\");
}
#endif

TEST_F(Frame, GamesWrittenReadAndPlayed) {
  Add("[White \"Anna\"]\n[Black \"Bert\"]\n1. e4 e5 2. Nf3 Nc6 3. Bb5 1-0");
  Add("[White \"Carl\"]\n[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]\n1. e4 Kd7 *");
  EXPECT_EQ(GdGetGamesCount(file_), 2);
  ASSERT_EQ(GdReadGame(game_, file_, 1), 1);
  uint16_t moves[8];
  ASSERT_EQ(GdGetMoves(game_, moves, 8), 5);
  EXPECT_EQ(moves[0], gdbase::MakeMove(12, 28));  // e2-e4
  EXPECT_EQ(GdGetMoves(game_, moves, 0), 0);
  EXPECT_EQ(GdGotoMove(game_, 2), 2);
  EXPECT_EQ(GdGetNextMove(game_), gdbase::MakeMove(6, 21));  // g1-f3
  sPosition p;
  ASSERT_EQ(GdGetCurrentPos(game_, &p), 1);
  EXPECT_EQ(p.whiteToMove, 1);
  EXPECT_EQ(p.squares[36], 4 /* Black pawn on e5 */ - 3);
  EXPECT_EQ(GdGetCurrentPos(game_, nullptr), 0);
  EXPECT_EQ(GdIsLegalPos(&p), 0);
  char text[16];
  uint16_t knight = gdbase::MakeMove(6, 21);
  EXPECT_EQ(GdMoveToText(knight, GdGetMoveInfo(&p, knight), text, 0, "NBRQKO-x+ #   ep"), 3);
  EXPECT_STREQ(text, "Nf3");

  ASSERT_EQ(GdReadGame(game_, file_, 2), 1);
  EXPECT_EQ(GdGetInitialPos(game_, &p), 1);
  EXPECT_EQ(p.squares[4], 14);
  EXPECT_EQ(p.squares[0], 0);
  EXPECT_EQ(GdReadGame(game_, file_, 3), 0);

  EXPECT_EQ(GdDeleteGame(file_, 1), 1);
  EXPECT_EQ(GdUndeleteGame(file_, 1), 1);
  EXPECT_EQ(GdDeleteGame(file_, 9), 0);
  EXPECT_EQ(GdFileStatus(file_, 0), 0);
  EXPECT_EQ(GdOpenDatabase("frame_test.gdg", file_), 0);  // no key information yet
}

TEST_F(Frame, IndexSortAndDeleteCodes) {
  const char* names[] = {"Dora", "Anna", "Carl"};
  for (const char* name : names) Add((std::string("[White \"") + name + "\"]\n1. d4 *").c_str());
  int32_t source[3] = {1, 2, 3}, target[3] = {};
  EXPECT_EQ(GdIndexSort(file_, "frame_index", source, target, 3, 5, 1), 3);  // no index yet
  ASSERT_EQ(GdIndexCreateUpdate(file_, "frame_index", 65535, 2000000, 0, nullptr, 0), 0);
  EXPECT_EQ(GdIndexSort(file_, "frame_index", source, target, 3, 5, 1), 0);
  EXPECT_EQ(std::vector<int32_t>(target, target + 3), (std::vector<int32_t>{2, 3, 1}));
  EXPECT_EQ(GdIndexSort(file_, "frame_index", source, target, 3, 102, 0), 0);
  EXPECT_EQ(std::vector<int32_t>(target, target + 3), (std::vector<int32_t>{1, 3, 2}));
  for (int field : {13, 14}) EXPECT_EQ(GdIndexSort(file_, "frame_index", source, target, 3, field, 1), 2);
  for (int field : {0, 22, 50, 99, 104})
    EXPECT_EQ(GdIndexSort(file_, "frame_index", source, target, 3, field, 1), 1);
  Add("[White \"Eve\"]\n1. c4 *");
  int32_t four[4] = {1, 2, 3, 4}, out[4];
  EXPECT_EQ(GdIndexSort(file_, "frame_index", four, out, 4, 5, 1), 4);  // out of date
  EXPECT_EQ(GdIndexDelete(file_, 20, "frame_index"), -1);
  EXPECT_EQ(GdIndexSort(file_, "frame_index", source, target, 3, 5, 1), 4);  // still there
  EXPECT_EQ(GdIndexDelete(file_, 21, "frame_index"), 0);
  EXPECT_EQ(GdIndexSort(file_, "frame_index", source, target, 3, 5, 1), 3);
}

TEST_F(Frame, PgnThroughGlobalMemory) {
  const char* pgn =
      "[Event \"Club\"]\n[White \"Anna\"]\n[Black \"Bert\"]\n[Result \"1/2-1/2\"]\n"
      "1. e4 {open} e5 (1... c5 2. Nf3 $1) 2. Nf3 1/2-1/2";
  Add(pgn);
  void* text = GdCreatePgnGame(game_);
  ASSERT_NE(text, nullptr);
  std::string written = BlockText(text);
  EXPECT_NE(written.find("1. e4 {open} 1... e5 (1... c5 2. Nf3 $1) 2. Nf3 1/2-1/2"), std::string::npos)
      << written;
  GdGameBuffer other = GdAllocGameBuffer();
  EXPECT_EQ(GdMemReadPgnGame(other, text, 0, "NBRQK"), 0);
  void* again = GdCreatePgnGame(other);
  EXPECT_EQ(BlockText(again), written);
  FreeBlock(text);
  FreeBlock(again);
  EXPECT_EQ(GdMemReadPgnGame(other, nullptr, 0, "NBRQK"), 1);
  GdFreeGameBuffer(other);
}

// Variations, nested and side by side, come back whole from memory and
// from the game file.
TEST_F(Frame, VariationsSurviveTheGameBufferAndTheFile) {
  const char* lines[] = {
      "1. e4 e5 (1... c5 2. Nf3) 2. Nf3 (2. Nc3 Nc6) *",
      "1. e4 e5 (1... c5) (1... e6) (1... d5 2. exd5) 2. Nf3 *",
      "1. e4 e5 2. Nf3 (2. f4 exf4 (2... d5) 3. Nf3) 2... Nc6 *",
      "1. e4 (1. d4 d5 (1... Nf6 2. c4 (2. Nf3))) 1... e5 2. Nf3 *",
  };
  for (const char* line : lines) {
    const std::string pgn = std::string("[White \"Anna\"]\n[Black \"Bert\"]\n") + line;
    Add(pgn.c_str());
    void* text = GdCreatePgnGame(game_);
    ASSERT_NE(text, nullptr);
    EXPECT_NE(BlockText(text).find(line), std::string::npos) << line << "\n" << BlockText(text);
    FreeBlock(text);
    GdGameBuffer stored = GdAllocGameBuffer();
    ASSERT_NE(GdReadGame(stored, file_, GdGetGamesCount(file_)), 0);
    text = GdCreatePgnGame(stored);
    EXPECT_NE(BlockText(text).find(line), std::string::npos) << line << "\n" << BlockText(text);
    FreeBlock(text);
    GdFreeGameBuffer(stored);
  }
}

TEST_F(Frame, KeyViewFillsAtMostTwentyLines) {
  std::vector<char> lines(25 * 1900, '\x5A');
  int32_t keys[25] = {};
  EXPECT_EQ(GdGetKeyView(0, keys, lines.data(), 0, 25), 1);
  EXPECT_EQ(lines[19 * 1900 + 1899], 0);
  EXPECT_EQ(lines[20 * 1900], '\x5A');
  int32_t children[4] = {};
  EXPECT_EQ(GdGetChildKeys(1, children, 4), 0);
  EXPECT_EQ(GdClassifyMoves(game_, children, 4), 0);
}

int g_calls[8];
int g_callCount = 0;
int Progress(int written, int32_t stopAfter) {
  g_calls[g_callCount++] = written;
  return written < stopAfter;
}
int32_t g_nextExport = 0;
int32_t NextGame(int32_t last) { return g_nextExport < last ? ++g_nextExport : 0; }

TEST_F(Frame, PgnFileImportAndExport) {
  std::FILE* f = std::fopen("frame_import.pgn", "w");
  std::fputs("[White \"a\"]\n1. e4 *\n\n[White \"b\"]\n1. d4 *\n\n[White \"c\"]\n1. c4 1-0\n", f);
  std::fclose(f);
  g_callCount = 0;
  EXPECT_EQ(GdPgnImport("frame_import.pgn", file_, 0, "NBRQK", Progress, 100), 0);
  EXPECT_EQ(g_callCount, 3);
  EXPECT_EQ(g_calls[2], 3);
  g_callCount = 0;
  EXPECT_EQ(GdPgnImport("frame_import.pgn", file_, 0, "NBRQK", Progress, 1), 0);
  EXPECT_EQ(g_callCount, 1);
  EXPECT_EQ(GdGetGamesCount(file_), 4);
  EXPECT_EQ(GdPgnImport("no_such_file.pgn", file_, 0, "NBRQK", Progress, 1), 1);

  g_nextExport = 0;
  EXPECT_EQ(GdExportGames("frame_export.pgn", file_, NextGame, 4, 3), 3);
  f = std::fopen("frame_export.pgn", "r");
  ASSERT_NE(f, nullptr);
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  EXPECT_NE(text.find("[White \"c\"]"), std::string::npos);
  EXPECT_NE(text.find("1. c4 1-0"), std::string::npos);
}

}  // namespace
