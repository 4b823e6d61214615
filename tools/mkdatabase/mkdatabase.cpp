// mkdatabase: builds a game database from PGN files.
//   mkdatabase OUT.gdg [--keys OPENINGS.pgn] [--index] GAMES.pgn...
// With --keys, every game of OPENINGS.pgn is an opening line: the keys of
// its moves go into the opening-key base, the last one named by its "ECO",
// "Opening" and "Variation" tags. The games of GAMES.pgn are then imported
// and filed under their keys. With --index the sort indexes are made in the
// "GdIndex" folder beside OUT.gdg, so that the game list sorts at once.
// Exit code 0 when every file was read.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "convert.h"
#include "gdbase.h"
#include "gdkey.h"
#include "opening_keys.h"
#include "pgn_reader.h"
#include "platform.h"

using namespace gdbase;

namespace {

std::string ReadFile(const std::string& path, bool* ok) {
  std::string text;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  *ok = f != nullptr;
  if (!f) return text;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

int AddKeys(const std::string& path, const char* out, int32_t file) {
  bool ok = false;
  std::string text = ReadFile(path, &ok);
  if (!ok) {
    std::fprintf(stderr, "mkdatabase: cannot read %s\n", path.c_str());
    return 1;
  }
  if (IDCreateBase(out, file) != 0) {
    std::fprintf(stderr, "mkdatabase: cannot create the key base of %s\n", out);
    return 1;
  }
  const OpeningLinesFiled filed = FileOpeningLines(text);
  IDCloseBase(file);
  std::printf("%s: %d opening lines, %d keyed\n", path.c_str(), filed.lines, filed.keyed);
  return 0;
}

int g_lastShown = 0;
int Progress(int written, int32_t) {
  if (written - g_lastShown >= 10000) {
    std::printf("  %d games\n", written);
    std::fflush(stdout);
    g_lastShown = written;
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: mkdatabase OUT.gdg [--keys OPENINGS.pgn] [--index] GAMES.pgn...\n");
    return 2;
  }
  LibraryAttach();
  const char* out = argv[1];
  int32_t file = GdCreateGamefile(out);
  if (!file) {
    std::fprintf(stderr, "mkdatabase: cannot create %s\n", out);
    return 1;
  }
  int failed = 0;
  int first = 2;
  if (std::strcmp(argv[2], "--keys") == 0 && argc > 3) {
    failed += AddKeys(argv[3], out, file);
    first = 4;
  }
  bool index = false;
  if (first < argc && std::strcmp(argv[first], "--index") == 0) {
    index = true;
    ++first;
  }
  bool keys = GdOpenDatabase(out, file) == 1;
  for (int i = first; i < argc; ++i) {
    int before = GdGetGamesCount(file);
    g_lastShown = 0;
    if (GdPgnImport(argv[i], file, 0, "NBRQK", Progress, 0) != 0) {
      std::fprintf(stderr, "mkdatabase: cannot read %s\n", argv[i]);
      ++failed;
      continue;
    }
    std::printf("%s: %d games\n", argv[i], GdGetGamesCount(file) - before);
  }
  std::printf("%s: %d games%s\n", out, GdGetGamesCount(file), keys ? ", filed under opening keys" : "");
  if (index) {
    // The module names the folder as the program does: beside the game file.
    std::filesystem::path folder = std::filesystem::path(out).parent_path() / "GdIndex";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (GdIndexCreateUpdate(file, folder.string().c_str(), 65535, 2000000, 0, nullptr, 0) != 0) {
      std::fprintf(stderr, "mkdatabase: cannot make the indexes of %s\n", out);
      ++failed;
    } else {
      std::printf("%s: indexes in %s\n", out, folder.string().c_str());
    }
  }
  if (keys) GdCloseDatabase(file);
  GdCloseGamefile(file);
  return failed ? 1 : 0;
}
