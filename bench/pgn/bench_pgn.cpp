// bench_pgn make OUT MEGABYTES FILE...   writes at least MEGABYTES of PGN made
//                                        from the games of the files, each copy
//                                        with its own Event, Round and comments
// bench_pgn read FILE                    reads every game, prints games per second
// bench_pgn index FILE                   builds the game index, prints games per second
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game_record.h"
#include "pgn_read.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Splits a PGN text into games: a game starts at a tag line that follows a
// line that is not one.
std::vector<std::string> SplitGames(const std::string& text) {
  std::vector<std::string> games;
  std::string game;
  bool inTags = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    bool tag = !line.empty() && line[0] == '[';
    if (tag && !inTags && !game.empty()) {
      games.push_back(game);
      game.clear();
    }
    inTags = tag;
    game += line + "\n";
  }
  if (!game.empty()) games.push_back(game);
  return games;
}

int Make(const char* out, double megabytes, int fileCount, char** files) {
  std::vector<std::string> games;
  for (int i = 0; i < fileCount; ++i) {
    std::FILE* f = std::fopen(files[i], "rb");
    if (!f) {
      std::fprintf(stderr, "cannot open %s\n", files[i]);
      return 1;
    }
    std::string text;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    for (std::string& g : SplitGames(text))
      if (g[0] == '[') games.push_back(g);
  }
  if (games.empty()) return 1;
  std::FILE* f = std::fopen(out, "wb");
  if (!f) return 1;
  const double target = megabytes * 1024 * 1024;
  double written = 0;
  long copy = 0, count = 0;
  while (written < target) {
    for (const std::string& g : games) {
      // Each copy differs: its own Event and Round, and every third game has
      // a comment after its first move number.
      std::string varied = "[Event \"Bench copy " + std::to_string(copy) + "\"]\n[Round \"" +
                           std::to_string(count % 97 + 1) + "\"]\n" + g;
      if (count % 3 == 0) {
        size_t first = varied.find("\n1. ");
        if (first != std::string::npos) varied.insert(first + 1, "{copy " + std::to_string(count) + "} ");
      }
      varied += "\n";
      written += static_cast<double>(std::fwrite(varied.data(), 1, varied.size(), f));
      ++count;
    }
    ++copy;
  }
  std::fclose(f);
  std::printf("wrote %s: %.1f MB, %ld games\n", out, written / (1024 * 1024), count);
  return 0;
}

int Read(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return 1;
  PgnFileStream stream(f);
  long games = 0, errors = 0, moves = 0;
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
    int code = stream.ReadGame(game);
    if (code == PgnFileStream::PGN_END) {
      DestroyGame(game);
      break;
    }
    ++games;
    if (code) ++errors;
    moves += GetMoveCount(game);
    DestroyGame(game);
  }
  double s = Seconds(start);
  std::fclose(f);
  std::printf("rookwell read: %ld games (%ld with errors, %ld main-line moves) in %.2f s: %.0f games/s\n",
              games, errors, moves, s, games / s);
  return errors ? 2 : 0;
}

int Index(const char* path) {
  auto start = std::chrono::steady_clock::now();
  int count = 0;
  int code = BuildPgnIndex(path, &count);
  double s = Seconds(start);
  ClosePgnIndex();
  if (code) return 1;
  std::printf("rookwell index: %d games in %.2f s: %.0f games/s\n", count, s, count / s);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 5 && !std::strcmp(argv[1], "make"))
    return Make(argv[2], std::atof(argv[3]), argc - 4, argv + 4);
  if (argc == 3 && !std::strcmp(argv[1], "read")) return Read(argv[2]);
  if (argc == 3 && !std::strcmp(argv[1], "index")) return Index(argv[2]);
  std::fprintf(stderr, "usage: bench_pgn make OUT MB FILE... | read FILE | index FILE\n");
  return 1;
}
