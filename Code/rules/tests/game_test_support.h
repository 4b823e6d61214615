// Games for tests: set-up positions from FEN, moves from short algebraic
// text, and long quiet lines from a deterministic walk.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "game_record.h"
#include "movegen.h"
#include "notation.h"
#include "position_setup.h"

inline GameRecord* NewGame(const char* fen = nullptr, uint32_t kind = 0,
                           const PlayerDescriptor* white = nullptr, const PlayerDescriptor* black = nullptr) {
  Board board;
  int side = WHITE;
  if (fen && !SetupPositionFromFen(fen, &board, &side)) return nullptr;
  return CreateGame(kind, nullptr, white, black, nullptr, fen ? &board : nullptr, nullptr, side, 1, 0);
}

inline bool LegalMove(GameRecord* game, const std::string& text, MoveRecord* out) {
  *out = MoveRecord{};
  return ParseAlgebraicMove(out, text.c_str(), &game->position, game->sideToMove);
}

// Plays blank-separated moves with PlayMove; false at the first that fails.
inline bool Play(GameRecord* game, const std::string& moves) {
  std::istringstream in(moves);
  for (std::string text; in >> text;) {
    MoveRecord move;
    if (!LegalMove(game, text, &move)) {
      ADD_FAILURE() << "not legal: " << text;
      return false;
    }
    if (PlayMove(game, &move, false) != 0) return false;
  }
  return true;
}

// Plays `plies` moves that neither capture, move a pawn nor give check, each
// to a placement not seen before (so no position repeats). Stops early when
// the game has a result. Returns the plies played.
inline int PlayQuietWalk(GameRecord* game, int plies, bool pawnsToo = false) {
  std::set<std::string> seen;
  auto key = [&] {
    return std::string(reinterpret_cast<const char*>(game->position.sq), 128) + char(game->sideToMove);
  };
  seen.insert(key());
  for (int played = 0; played < plies; ++played) {
    if (game->result) return played;
    MoveRecord list[kMoveListRoom];
    int count = GenerateLegalMoves(&game->position, list, nullptr, game->sideToMove);
    bool moved = false;
    for (int i = 0; i < count && !moved; ++i) {
      MoveRecord& m = list[i];
      bool pawn = (game->position[m.from] & TYPE_MASK) == PAWN;
      if ((m.flags & (MOVE_CAPTURE | MOVE_CHECK | MOVE_MATE)) || (pawn && !pawnsToo)) continue;
      Board after = game->position;
      MoveRecord probe = m;
      MakeMove(&probe, &after);
      if (IsSideInCheck(&after, OtherSide(game->sideToMove))) continue;
      std::string k =
          std::string(reinterpret_cast<const char*>(after.sq), 128) + char(OtherSide(game->sideToMove));
      if (seen.count(k)) continue;
      if (PlayMove(game, &m, false) != 0) return played;
      seen.insert(key());
      moved = true;
    }
    if (!moved) return played;
  }
  return plies;
}
