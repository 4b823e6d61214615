// checkclassic: the content check of the classic games collection. Every
// game is read with the program's own PGN reader and played through its
// rules; the check fails on a game that does not read to its end, one
// played in 1900 or later (or with no year), one that carries comments or
// variations (the collection has no annotation), a result other than
// 1-0, 0-1 or 1/2-1/2, a move marked "#" that is no mate, and a mate on the
// board whose result gives the game to the wrong side.
//
//   checkclassic <collection.pgn> [minimum-games]
//
// Prints one line per fault and a closing "N games checked" line; exits 1
// on any fault or when fewer games than the minimum were found.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game_record.h"
#include "movegen.h"
#include "pgn_read.h"

namespace {

struct GameText {
  int line = 0;         // of its first tag
  std::string moves;    // the move text, joined
};

// The move texts of the file, game by game, to look at the marks the reader
// does not keep ("#", comments, variations).
std::vector<GameText> MoveTexts(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<GameText> games;
  std::string line;
  int number = 0;
  bool inTags = false;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsPgnTagLine(line.c_str())) {
      if (!inTags) games.push_back({number, ""});
      inTags = true;
      continue;
    }
    inTags = false;
    if (!games.empty()) games.back().moves += line + " ";
  }
  return games;
}

int YearOf(const char* date) {
  if (std::strlen(date) < 4) return 0;
  for (int i = 0; i < 4; ++i)
    if (date[i] < '0' || date[i] > '9') return 0;
  return std::atoi(std::string(date, 4).c_str());
}

std::string LastMoveToken(const std::string& moves) {
  std::istringstream words(moves);
  std::string word, last;
  while (words >> word) {
    if (word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*") break;
    const size_t dot = word.find_last_of('.');
    if (dot != std::string::npos) word = word.substr(dot + 1);
    if (!word.empty()) last = word;
  }
  return last;
}

// The result written after the moves.
std::string ResultToken(const std::string& moves) {
  std::istringstream words(moves);
  std::string word;
  while (words >> word)
    if (word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*") return word;
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: checkclassic <collection.pgn> [minimum-games]\n");
    return 2;
  }
  const std::string path = argv[1];
  const int minimum = argc > 2 ? std::atoi(argv[2]) : 1;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    std::fprintf(stderr, "%s: cannot open\n", path.c_str());
    return 1;
  }
  const std::vector<GameText> texts = MoveTexts(path);
  int faults = 0, count = 0;
  auto fault = [&](int game, const char* what, const std::string& detail) {
    const int line = game < int(texts.size()) ? texts[size_t(game)].line : 0;
    std::printf("game %d (line %d): %s%s%s\n", game, line, what, detail.empty() ? "" : ": ", detail.c_str());
    ++faults;
  };
  {
    PgnFileStream pgn(file);
    for (;;) {
      GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
      if (!game) return 1;
      const int code = pgn.ReadGame(game);
      if (code == PgnFileStream::PGN_END) {
        DestroyGame(game);
        break;
      }
      const int n = count++;
      if (code != PGN_OK) {
        fault(n, "does not read", pgn.Reader().ErrorMove());
        DestroyGame(game);
        continue;
      }
      const int year = YearOf(game->header.date);
      if (year == 0 || year >= 1900) fault(n, "not a game played before 1900", game->header.date);
      const std::string moves = n < int(texts.size()) ? texts[size_t(n)].moves : "";
      if (moves.find_first_of("{;(") != std::string::npos) fault(n, "carries comments or variations", "");
      if (GetMoveCount(game) == 0) fault(n, "has no moves", "");
      // The reader books a mate it meets as one (1 White mated, 2 Black
      // mated); the others are 10 (0-1), 11 (1-0) and 9 (1/2-1/2).
      const int result = int(game->result);
      if (result != 1 && result != 2 && result != 9 && result != 10 && result != 11)
        fault(n, "has no decisive or drawn result", std::to_string(result));
      SeekToPly(game, GetMoveCount(game));
      const int mate = GetMateState(&game->position, CountLegalMoves(&game->position, game->sideToMove),
                                    game->sideToMove);
      const std::string last = LastMoveToken(moves);
      const bool marked = !last.empty() && last.back() == '#';
      if (marked && mate != 2) fault(n, "marked as mate, but the side to move has a move", last);
      if (mate == 2) {
        // The side to move is mated: the other side won.
        const bool whiteMated = game->sideToMove == WHITE;
        const std::string written = ResultToken(moves);
        if ((result != (whiteMated ? 1 : 2) && result != (whiteMated ? 10 : 11)) ||
            written != (whiteMated ? "0-1" : "1-0")) fault(n, "mate on the board, but the result says otherwise", last);
      }
      DestroyGame(game);
    }
  }
  std::fclose(file);
  if (count < minimum) {
    std::printf("%d games found, at least %d wanted\n", count, minimum);
    ++faults;
  }
  std::printf("%d games checked, %d faults\n", count, faults);
  return faults ? 1 : 0;
}
