// bookbench: times lookups by move order, lookups that fall back to the
// search by position, and move picks over a book, for every line of a PGN
// file (the ECO file by default).
//   bookbench BOOK PGN
#include <chrono>
#include <cstdio>
#include <vector>

#include "bookgames.h"
#include "bookreader.h"

namespace {
double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bookbench BOOK PGN\n");
    return 1;
  }
  if (!LoadBookFile(argv[1])) {
    std::fprintf(stderr, "bookbench: cannot load %s\n", argv[1]);
    return 1;
  }
  FILE* f = std::fopen(argv[2], "r");
  if (f == nullptr) return 1;
  PgnGameSource source(FileLineSource(f), 380);
  std::vector<std::vector<MoveRecord>> lines;
  BookGame game;
  BookGameError error;
  while (source.NextGame(&game, &error) == GAME_READ_GAME)
    if (!game.moves.empty()) lines.push_back(game.moves);
  std::fclose(f);

  auto start = std::chrono::steady_clock::now();
  long found = 0, lookups = 0;
  for (const auto& line : lines) {
    std::string name, eco;
    found += LookupBookPosition(line.data(), static_cast<int>(line.size()), nullptr, &name, &eco);
    ++lookups;
  }
  double byOrder = Seconds(start);

  // Each line with its first two moves of the same side swapped: found by
  // position when the swap transposes, searched in vain otherwise.
  start = std::chrono::steady_clock::now();
  long transposed = 0, searches = 0;
  for (auto line : lines) {
    if (line.size() < 3) continue;
    std::swap(line[0], line[2]);
    std::string name;
    transposed += LookupBookPosition(line.data(), static_cast<int>(line.size()), nullptr, &name, nullptr);
    ++searches;
  }
  double byPosition = Seconds(start);

  start = std::chrono::steady_clock::now();
  long picks = 0, picked = 0;
  for (const auto& line : lines) {
    MoveRecord m;
    picked += PickBookMove(line.data(), static_cast<int>(line.size()), true, &m);
    ++picks;
  }
  double picking = Seconds(start);

  std::printf("book %s: %d moves; %zu lines\n", argv[1], GetBookMoveCount(), lines.size());
  std::printf("lookup by move order: %ld in %.3f s (%.1f us each), %ld found\n", lookups, byOrder,
              1e6 * byOrder / lookups, found);
  std::printf("lookup with the search by position: %ld in %.3f s (%.1f us each), %ld found\n", searches,
              byPosition, 1e6 * byPosition / (searches ? searches : 1), transposed);
  std::printf("picks: %ld in %.3f s (%.1f us each), %ld with a move\n", picks, picking, 1e6 * picking / picks,
              picked);
  FreeAllBookSlots();
  return 0;
}
