// Database benchmark. Builds a PGN file of at least 100,000 games from the
// outside test files (each game copied with other players, dates, ratings
// and results, and cut at varying lengths), then measures:
//   import    GdPgnImport into a new game file
//   list      every game's header, read in batches as the header search does
//   index     the header index built for sorting
//   sort      all games sorted by White, then by date
// and prints games per second for each step.
//   bench_database [games] [work folder]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench_pgn_writer.h"
#include "gdbase.h"
#include "gdgame.h"
#include "pgn_reader.h"
#include "pgn_writer.h"

using namespace gdbase;

namespace {

using Clock = std::chrono::steady_clock;
int g_imported = 0;

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

struct Source {
  std::vector<std::string> moveTexts;  // move text with the FEN tags it needs
};

int Collect(PgnGameRecord* r, int, int, void* user) {
  auto* s = static_cast<Source*>(user);
  PgnMemoryOutput out;
  WritePgnRecord(&out, *r, 0);
  const std::string& text = out.Text();
  std::string setup;
  size_t at = text.find("[SetUp ");
  if (at != std::string::npos) setup = text.substr(at, text.find("\n\n") - at + 1);
  std::string moves = text.substr(text.find("\n\n") + 2);
  moves = moves.substr(0, moves.rfind(' ') == std::string::npos ? 0 : moves.rfind(' '));
  s->moveTexts.push_back(setup + "\n" + moves);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int wanted = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::string folder = argc > 2 ? argv[2] : ".";
  Source source;
  for (const char* name : {"eco.pgn", "mate_in_2.pgn", "mate_in_3.pgn"}) {
    std::string text = ReadFile(std::string(RW_TESTDATA_DIR) + "/" + name);
    PgnRecordStorage storage;
    PgnMemorySource in(text.data(), text.size());
    ReadPgnGames(&in, &storage.record, 0, "NBRQK", Collect, &source);
  }
  if (source.moveTexts.empty()) {
    std::fprintf(stderr, "no test data under %s\n", RW_TESTDATA_DIR);
    return 1;
  }
  std::string pgnPath = folder + "/bench_games.pgn";
  if (!WriteBenchPgn(pgnPath, source.moveTexts, wanted)) return 1;

  std::string gamePath = folder + "/bench_games.gdg";
  int32_t file = GdCreateGamefile(gamePath.c_str());
  if (!file) return 1;
  auto t0 = Clock::now();
  GdPgnImport(
      pgnPath.c_str(), file, 0, "NBRQK",
      [](int written, int32_t) {
        g_imported = written;
        return 1;
      },
      0);
  int imported = g_imported;
  double importTime = Seconds(t0);
  int32_t count = GdGetGamesCount(file);

  // List: batches of up to 100 games or 64 KB, header only.
  t0 = Clock::now();
  std::vector<uint8_t> buffer(65536);
  int32_t offsets[100];
  GdgGame* game = IGGameOpenGame();
  long long listed = 0, whiteLetters = 0;
  char text[256];
  for (int32_t first = 0; first < count;) {
    int32_t got = GdgReadGames(file, first, buffer.data(), offsets, 65536, 100);
    if (got <= 0) break;
    for (int32_t k = 0; k < got; ++k) {
      GetGameHeader(game, buffer.data() + offsets[k], 0, 1);
      IGGameGetPlayer(game, 0, text, sizeof text);
      whiteLetters += static_cast<long long>(std::strlen(text));
      ++listed;
    }
    first += got;
  }
  double listTime = Seconds(t0);

  std::string indexFolder = folder + "/GdIndex";
  t0 = Clock::now();
  int indexAnswer = GdIndexCreateUpdate(file, indexFolder.c_str(), 65535, 2000000, 0, nullptr, 0);
  double indexTime = Seconds(t0);
  std::vector<int32_t> all(static_cast<size_t>(count)), sorted(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) all[static_cast<size_t>(i)] = i + 1;
  t0 = Clock::now();
  int sortWhite = GdIndexSort(file, indexFolder.c_str(), all.data(), sorted.data(), count, 5, 1);
  double sortWhiteTime = Seconds(t0);
  t0 = Clock::now();
  int sortDate = GdIndexSort(file, indexFolder.c_str(), all.data(), sorted.data(), count, 17, 0);
  double sortDateTime = Seconds(t0);

  std::printf("games in PGN        %d (from %zu source games)\n", wanted, source.moveTexts.size());
  std::printf("import              %d games in %.2f s: %.0f games/s\n", count, importTime,
              count / importTime);
  std::printf("list headers        %lld games in %.3f s: %.0f games/s\n", listed, listTime,
              listed / listTime);
  std::printf("build header index  %d games in %.3f s: %.0f games/s (answer %d)\n", count, indexTime,
              count / indexTime, indexAnswer);
  std::printf("sort by White       %d games in %.3f s: %.0f games/s (answer %d)\n", count, sortWhiteTime,
              count / sortWhiteTime, sortWhite);
  std::printf("sort by date        %d games in %.3f s: %.0f games/s (answer %d)\n", count, sortDateTime,
              count / sortDateTime, sortDate);
  IGGameCloseGame(game);
  GdCloseGamefile(file);
  return imported == wanted && listed == count && whiteLetters > 0 ? 0 : 1;
}
