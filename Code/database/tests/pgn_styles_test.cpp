// The module's PGN reader over files in the styles other programs write,
// against the same table of games as the game files' reader, and the two
// readers side by side over those files and the outside test data: both must
// find the same games with the same moves.
#include <gtest/gtest.h>

#include "testdata.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game_record.h"
#include "gdbase.h"
#include "pgn_read.h"
#include "pgn_reader.h"
#include "pgn_style_cases.h"
#if !defined(_WIN32)
#include "platform.h"
#endif
#include "texts.h"
#include "trace_capture.h"

using namespace gdbase;

namespace {

struct Games {
  std::vector<int> plies;
  std::vector<std::string> white, black, firstComment;
  std::vector<std::string> trace;
};

int Collect(PgnGameRecord* r, int, int, void* user) {
  auto* games = static_cast<Games*>(user);
  games->plies.push_back(r->mainLength);
  games->white.push_back(r->Tag(kTagWhite));
  games->black.push_back(r->Tag(kTagBlack));
  games->firstComment.push_back(r->comments[1] ? r->pool + r->comments[1] : "");
  return 1;
}

Games ReadWithDatabase(const std::string& path) {
  Games games;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  EXPECT_NE(file, nullptr) << path;
  if (!file) return games;
  static PgnRecordStorage storage;
  auto source = std::make_unique<PgnFileSource>(file);
  TraceCapture capture(&games.trace);
  ReadPgnGames(source.get(), &storage.record, 0, "NBRQK", Collect, &games);
  std::fclose(file);
  return games;
}

// Main-line moves of each game as the game files' reader finds them.
std::vector<int> ReadWithGameFiles(const std::string& path) {
  std::vector<int> plies;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  EXPECT_NE(file, nullptr) << path;
  if (!file) return plies;
  PgnFileStream stream(file);
  for (;;) {
    GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
    int code = stream.ReadGame(game);
    if (code != PgnFileStream::PGN_END) {
      int n = 0;
      for (const MoveTreeNode* m = game->tree->root.firstChild; m; m = m->firstChild) ++n;
      plies.push_back(n);
    }
    DestroyGame(game);
    if (code == PgnFileStream::PGN_END) break;
  }
  std::fclose(file);
  return plies;
}

std::string StylePath(const char* file) { return std::string(RW_PGN_STYLES_DATA) + "/" + file; }

TEST(PgnReader, StylesOfOtherPrograms) {
  for (const PgnStyleCase& c : PgnStyleCases()) {
    Games games = ReadWithDatabase(StylePath(c.file));
    EXPECT_EQ(games.plies, c.plies) << c.file;
    if (games.plies.empty()) continue;
    if (c.white) {
      EXPECT_EQ(games.white[0], c.white) << c.file;
    }
    if (c.black) {
      EXPECT_EQ(games.black[0], c.black) << c.file;
    }
    if (c.comment) {
      EXPECT_NE(games.firstComment[0].find(c.comment), std::string::npos) << c.file << ": " << games.firstComment[0];
    }
    // A game cut at a move names the move with its line and column.
    std::vector<std::string> cuts;
    for (const std::string& line : games.trace)
      if (line.find(" at line ") != std::string::npos) cuts.push_back(line);
    ASSERT_EQ(cuts.size(), c.errors.size()) << c.file;
    for (size_t i = 0; i < cuts.size(); ++i) {
      const PgnStyleError& e = c.errors[i];
      std::string want = std::string("move ") + e.move + " at line " + std::to_string(e.line) + ", column " +
                         std::to_string(e.column) + ".";
      EXPECT_NE(cuts[i].find(want), std::string::npos) << c.file << ": " << cuts[i];
    }
  }
}

// The database import of a file and the game files' reader find the same
// games with the same main lines.
TEST(PgnReaders, FindTheSameGames) {
  std::vector<std::string> paths;
  for (const PgnStyleCase& c : PgnStyleCases()) paths.push_back(StylePath(c.file));
  if (MissingTestData({"mate_in_2.pgn", "mate_in_3.pgn"}).empty()) {
    paths.push_back(TestDataPath("mate_in_2.pgn"));
    paths.push_back(TestDataPath("mate_in_3.pgn"));
  }
  paths.push_back(RW_ECO_FILE);
  for (const std::string& path : paths) {
    std::vector<int> files = ReadWithGameFiles(path);
    Games database = ReadWithDatabase(path);
    EXPECT_EQ(database.plies.size(), files.size()) << path;
    EXPECT_EQ(database.plies, files) << path;
    int indexed = 0;
    ASSERT_EQ(BuildPgnIndex(path.c_str(), &indexed), 0) << path;
    ClosePgnIndex();
    EXPECT_EQ(indexed, static_cast<int>(files.size())) << path;
  }
}

void RemoveGameFile() {
  std::remove("pgn_styles_import.gdg");
  std::remove("pgn_styles_import.gdx");  // its index
}

// The library's import of a file writes as many games to a game file as the
// game files' reader finds, each with the same main line: a game cut at a
// null move or an illegal move is kept with the moves before it.
TEST(PgnReaders, ImportKeepsEveryGame) {
#if !defined(_WIN32)
  gdbase::LibraryAttach();
#endif
  std::vector<std::string> paths;
  for (const PgnStyleCase& c : PgnStyleCases()) paths.push_back(StylePath(c.file));
  paths.push_back(RW_ECO_FILE);
  GdGameBuffer game = GdAllocGameBuffer();
  ASSERT_NE(game, nullptr);
  for (const std::string& path : paths) {
    std::vector<int> files = ReadWithGameFiles(path);
    RemoveGameFile();
    int32_t file = GdCreateGamefile("pgn_styles_import.gdg");
    ASSERT_NE(file, 0) << path;
    EXPECT_EQ(GdPgnImport(path.c_str(), file, 0, "NBRQK", nullptr, 0), 0) << path;
    ASSERT_EQ(GdGetGamesCount(file), static_cast<int32_t>(files.size())) << path;
    std::vector<int> imported;
    std::vector<uint16_t> moves(1024);
    for (int32_t n = 1; n <= GdGetGamesCount(file); ++n) {
      ASSERT_EQ(GdReadGame(game, file, n), 1) << path << " game " << n;
      imported.push_back(GdGetMoves(game, moves.data(), static_cast<int>(moves.size())));
    }
    EXPECT_EQ(imported, files) << path;
    GdCloseGamefile(file);
  }
  GdFreeGameBuffer(game);
  RemoveGameFile();
}

}  // namespace
