// bench_records: how long the game-end test takes on long lines without a
// capture or pawn move (the draw-rule scan walks back over them, checking
// repetitions at every point), and how fast moves are played into a game.
//
//   bench_records [ROUNDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "game_end.h"
#include "game_record.h"
#include "movegen.h"
#include "position_setup.h"

namespace {

// Plays up to `plies` quiet moves, each to a position not seen before.
int QuietWalk(GameRecord* game, int plies) {
  std::set<std::string> seen;
  for (int played = 0; played < plies; ++played) {
    MoveRecord list[kMoveListRoom];
    int count = GenerateLegalMoves(&game->position, list, nullptr, game->sideToMove);
    bool moved = false;
    for (int i = 0; i < count && !moved; ++i) {
      MoveRecord& m = list[i];
      if ((m.flags & (MOVE_CAPTURE | MOVE_CHECK | MOVE_MATE)) || (game->position[m.from] & TYPE_MASK) == PAWN)
        continue;
      Board after = game->position;
      MoveRecord probe = m;
      MakeMove(&probe, &after);
      std::string key(reinterpret_cast<const char*>(after.sq), 128);
      if (!seen.insert(key).second) continue;
      moved = PlayMove(game, &m, false) == 0;
    }
    if (!moved) return played;
  }
  return plies;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 2000;
  const struct {
    const char* name;
    const char* fen;
    int plies;
  } lines[] = {
      {"rooks and knights, 99 plies", "4k3/8/3n4/8/8/3N4/r7/R3K3 w - - 0 1", 99},
      {"rook and bishop v rook, 199 plies", "4k3/8/8/8/8/3B4/r7/R3K3 w - - 0 1", 199},
  };
  for (const auto& line : lines) {
    Board board;
    int side;
    SetupPositionFromFen(line.fen, &board, &side);
    GameRecord* game =
        CreateGame(GAME_QUIET, nullptr, nullptr, nullptr, nullptr, &board, nullptr, side, 1, 0);
    auto start = std::chrono::steady_clock::now();
    int played = QuietWalk(game, line.plies);
    double playSeconds = Seconds(start);
    start = std::chrono::steady_clock::now();
    uint32_t result = 0;
    for (int r = 0; r < rounds; ++r) result |= ComputeGameResult(game);
    double each = Seconds(start) / rounds;
    std::printf("%-36s plies %d  result %u  ComputeGameResult %.1f us  (walk %.1f ms)\n", line.name, played,
                result, each * 1e6, playSeconds * 1e3);
    DestroyGame(game);
  }
  return 0;
}
