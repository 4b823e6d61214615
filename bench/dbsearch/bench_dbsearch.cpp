// Search benchmark. Builds a database of at least 100,000 games from the
// outside test files (each game copied with other players, dates, ratings
// and results, and cut at varying lengths) with opening keys from the
// opening file, then times each search over the whole file on one core:
//   header    either player contains "ova" and a year from 1980 to 1989
//   key       the games filed under the key of 1.e4 e5 2.Nf3
//   position  the games that reach 1.e4 e5 2.Nf3 Nc6 3.Bb5
//   keypos    under the key of 1.e4 e5, the games that reach that position
//   bench_dbsearch [games] [work folder]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "convert.h"
#include "bench_pgn_writer.h"
#include "gdbase.h"
#include "gdgame.h"
#include "gdkey.h"
#include "native_host.h"
#include "pgn_reader.h"
#include "pgn_writer.h"
#include "platform.h"

using namespace gdbase;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string ReadFile(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    std::fclose(f);
  }
  return text;
}

// Move texts of the source games, with the set-up tags they need.
int Collect(PgnGameRecord* r, int, int, void* user) {
  PgnMemoryOutput out;
  WritePgnRecord(&out, *r, 0);
  const std::string& text = out.Text();
  std::string setup;
  size_t at = text.find("[SetUp ");
  if (at != std::string::npos) setup = text.substr(at, text.find("\n\n") - at + 1);
  std::string moves = text.substr(text.find("\n\n") + 2);
  moves = moves.substr(0, moves.rfind(' ') == std::string::npos ? 0 : moves.rfind(' '));
  static_cast<std::vector<std::string>*>(user)->push_back(setup + "\n" + moves);
  return 1;
}

int32_t g_matches = 0;
int Count(uintptr_t code, int32_t, int32_t, int32_t) {
  g_matches += code != 0;
  return 1;
}

sPosition PositionAfter(GdGameBuffer game, const char* pgn) {
  std::string text = std::string("[Event \"x\"]\n") + pgn;
  void* block = PlatformGlobalText(text);
  GdMemReadPgnGame(game, block, 0, "NBRQK");
  NativeGlobalFree(block);  // a text handle, not a plain block
  GdGotoMove(game, 1000);
  sPosition p;
  GdGetCurrentPos(game, &p);
  return p;
}

void Report(const char* what, double seconds, int32_t matches, int32_t games) {
  std::printf("%-10s %7d matches in %.3f s over %d games: %.0f games/s%s\n", what, matches, seconds, games,
              games / seconds, seconds < 1.0 ? "" : "  (over 1 s)");
}

}  // namespace

int main(int argc, char** argv) {
  LibraryAttach();
  int wanted = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::string folder = argc > 2 ? argv[2] : ".";
  std::vector<std::string> source;
  for (const char* name : {"eco.pgn", "mate_in_2.pgn", "mate_in_3.pgn"}) {
    std::string text = ReadFile(std::string(RW_TESTDATA_DIR) + "/" + name);
    PgnRecordStorage storage;
    PgnMemorySource in(text.data(), text.size());
    ReadPgnGames(&in, &storage.record, 0, "NBRQK", Collect, &source);
  }
  if (source.empty()) {
    std::fprintf(stderr, "no test data under %s\n", RW_TESTDATA_DIR);
    return 1;
  }
  std::string pgnPath = folder + "/bench_search.pgn";
  if (!WriteBenchPgn(pgnPath, source, wanted)) return 1;

  // The database: keys from the opening file, then the games under them.
  std::string gamePath = folder + "/bench_search.gdg";
  int32_t file = GdCreateGamefile(gamePath.c_str());
  if (!file || IDCreateBase(gamePath.c_str(), file) != 0) return 1;
  GdGameBuffer game = GdAllocGameBuffer();
  {
    std::string eco = ReadFile(std::string(RW_TESTDATA_DIR) + "/eco.pgn");
    std::vector<std::string> lines;
    PgnRecordStorage storage;
    PgnMemorySource in(eco.data(), eco.size());
    ReadPgnGames(&in, &storage.record, 0, "NBRQK", Collect, &lines);
    for (const std::string& l : lines) {
      std::string text = "[Event \"x\"]\n" + l + " *\n";
      PgnMemorySource one(text.data(), text.size());
      ReadPgnGames(&one, &storage.record, 0, "NBRQK", nullptr, nullptr);
      RecordToGame(storage.record, static_cast<GdgGame*>(game));
      GdkAddKeyLine(static_cast<GdgGame*>(game), storage.record.Tag(kTagECO), "", "");
    }
  }
  IDCloseBase(file);
  if (GdOpenDatabase(gamePath.c_str(), file) != 1) return 1;
  auto t0 = Clock::now();
  GdPgnImport(pgnPath.c_str(), file, 0, "NBRQK", nullptr, 0);
  double importTime = Seconds(t0);
  int32_t count = GdGetGamesCount(file);
  std::printf("database   %d games imported and filed under keys in %.2f s\n", count, importTime);

  SearchQuery q;
  std::memset(&q, 0, sizeof q);
  q.kind = 1;
  q.includeFlagged = 1;
  auto cell = [&](int row, int field, int op, const char* value) {
    q.conditions[row][0].field = field;
    q.conditions[row][0].op = op;
    std::snprintf(q.conditions[row][0].value, 64, "%s", value);
  };
  cell(0, 1, 5, "ova");
  cell(1, 11, 4, "1980");
  cell(2, 11, 5, "1989");
  g_matches = 0;
  t0 = Clock::now();
  GdSearchGameHdrs(file, &q, Count, 0);
  Report("header", Seconds(t0), g_matches, count);

  sPosition nf3 = PositionAfter(game, "1. e4 e5 2. Nf3 *");
  int32_t key = GdClassifyPosition(game);
  g_matches = 0;
  t0 = Clock::now();
  GdSearchKeyGames(file, key, Count, 0);
  Report("key", Seconds(t0), g_matches, count);
  (void)nf3;

  sPosition ruy = PositionAfter(game, "1. e4 e5 2. Nf3 Nc6 3. Bb5 *");
  g_matches = 0;
  t0 = Clock::now();
  GdSearchPosGames(file, &ruy, 1, Count, 0);
  Report("position", Seconds(t0), g_matches, count);

  PositionAfter(game, "1. e4 e5 *");
  int32_t e5 = GdClassifyPosition(game);
  g_matches = 0;
  t0 = Clock::now();
  GdSearchKeyMoves(file, e5, &ruy, Count, 0);
  Report("keypos", Seconds(t0), g_matches, count);

  GdFreeGameBuffer(game);
  GdCloseDatabase(file);
  GdCloseGamefile(file);
  return 0;
}
