// bench_pgn make OUT MEGABYTES FILE...   writes at least MEGABYTES of PGN made
//                                        from the games of the files, each copy
//                                        with its own Event, Round and comments
// bench_pgn generate OUT GAMES WIDTH     writes GAMES games of random legal
//                                        moves with clock and evaluation
//                                        comments, move text in lines of at
//                                        most WIDTH characters (the same games
//                                        for every WIDTH)
// bench_pgn read FILE                    reads every game, prints games per second
// bench_pgn dbread FILE                  the same with the database module's reader
// bench_pgn import FILE                  imports every game into a new game file
//                                        through the database library, prints
//                                        the games it holds and games per second
// bench_pgn index FILE                   builds the game index, prints games per second
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game_record.h"
#include "gdbase.h"
#include "movegen.h"
#include "notation.h"
#include "pgn_read.h"
#include "pgn_reader.h"
#if !defined(_WIN32)
#include "platform.h"
#endif

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

// Random legal games of up to 200 plies. A game's text depends only on its
// number, so files of any line width hold the same games.
int Generate(const char* out, long count, size_t width) {
  std::FILE* f = std::fopen(out, "wb");
  if (!f || width < 20) return 1;
  uint64_t seed = 0x9E3779B97F4A7C15ull;
  auto next = [&seed]() {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    return seed;
  };
  double written = 0;
  for (long n = 0; n < count; ++n) {
    std::string tags = "[Event \"Generated " + std::to_string(n) + "\"]\n[Site \"Bench\"]\n[Date \"2026.12.10\"]\n"
                       "[Round \"" + std::to_string(n % 97 + 1) + "\"]\n[White \"Player " + std::to_string(n % 13) +
                       "\"]\n[Black \"Player " + std::to_string(n % 11) + "\"]\n[Result \"*\"]\n\n";
    Board board;
    SetInitialBoard(&board);
    int side = WHITE;
    std::vector<std::string> words;
    MoveRecord moves[256];
    for (int ply = 0; ply < 200; ++ply) {
      uint16_t legal = 0;
      GenerateLegalMoves(&board, moves, &legal, side);
      if (legal == 0) break;
      MoveRecord move = moves[next() % legal];
      char text[kNotationTextSize];
      MoveToNotation(&board, &move, side, STYLE_ALGEBRAIC, text);
      if (side == WHITE) words.push_back(std::to_string(ply / 2 + 1) + ".");
      words.push_back(text);
      int seconds = 300 - ply / 2;
      char comment[64];
      std::snprintf(comment, sizeof comment, "{[%%eval %d.%02d] [%%clk 0:%02d:%02d]}", static_cast<int>(next() % 3),
                    static_cast<int>(next() % 100), seconds / 60, seconds % 60);
      words.push_back(comment);
      MakeMove(&move, &board);
      side = OtherSide(side);
    }
    words.push_back("*");
    std::string text = tags, line;
    // Comments hold blanks, so lines break only between words.
    for (const std::string& w : words) {
      if (!line.empty() && line.size() + 1 + w.size() > width) {
        text += line + "\n";
        line.clear();
      }
      line += (line.empty() ? "" : " ") + w;
    }
    text += line + "\n\n";
    written += static_cast<double>(std::fwrite(text.data(), 1, text.size(), f));
  }
  std::fclose(f);
  std::printf("wrote %s: %.1f MB, %ld games, lines up to %zu characters\n", out, written / (1024 * 1024), count,
              width);
  return 0;
}

int DbRead(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return 1;
  struct Count {
    long games = 0, moves = 0;
  } count;
  auto onGame = [](gdbase::PgnGameRecord* record, int, int, void* user) {
    auto* c = static_cast<Count*>(user);
    ++c->games;
    c->moves += record->mainLength;
    return 1;
  };
  static gdbase::PgnRecordStorage storage;
  auto source = std::make_unique<gdbase::PgnFileSource>(f);
  auto start = std::chrono::steady_clock::now();
  gdbase::ReadPgnGames(source.get(), &storage.record, 0, "NBRQK", onGame, &count);
  double s = Seconds(start);
  std::fclose(f);
  std::printf("database read: %ld games (%ld main-line moves) in %.2f s: %.0f games/s\n", count.games,
              count.moves, s, count.games / s);
  return 0;
}

int Import(const char* path) {
#if !defined(_WIN32)
  gdbase::LibraryAttach();
#endif
  const char* target = "bench_pgn_import.gdg";
  const char* targetIndex = "bench_pgn_import.gdx";
  std::remove(target);
  std::remove(targetIndex);
  int32_t file = GdCreateGamefile(target);
  if (!file) return 1;
  auto start = std::chrono::steady_clock::now();
  int code = GdPgnImport(path, file, 0, "NBRQK", nullptr, 0);
  double s = Seconds(start);
  int32_t games = GdGetGamesCount(file);
  GdCloseGamefile(file);
  std::remove(target);
  std::remove(targetIndex);
  if (code) return 1;
  std::printf("database import: %ld games in %.2f s: %.0f games/s\n", static_cast<long>(games), s, games / s);
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
  if (argc == 5 && !std::strcmp(argv[1], "generate"))
    return Generate(argv[2], std::atol(argv[3]), static_cast<size_t>(std::atol(argv[4])));
  if (argc == 3 && !std::strcmp(argv[1], "read")) return Read(argv[2]);
  if (argc == 3 && !std::strcmp(argv[1], "dbread")) return DbRead(argv[2]);
  if (argc == 3 && !std::strcmp(argv[1], "index")) return Index(argv[2]);
  if (argc == 3 && !std::strcmp(argv[1], "import")) return Import(argv[2]);
  std::fprintf(stderr,
               "usage: bench_pgn make OUT MB FILE... | generate OUT GAMES WIDTH | read FILE | dbread FILE | "
               "index FILE | import FILE\n");
  return 1;
}
