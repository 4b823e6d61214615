#include "roomgame.h"

#include "game_record.h"
#include "game_registry.h"
#include "pgn_read.h"

GameRecord* RebuildRoomGameFromText(const char* pgn, int32_t gameNumber, uint32_t room) {
  if (GameRecord* old = GetGameForOwner(room)) {
    UnregisterGame(&old->id);
    DestroyGame(old);
  }
  if (!pgn) return nullptr;
  GameRecord* game = CreateGame(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, WHITE, 1, 0);
  if (!game) return nullptr;
  if (ReadPgnFromMemory(pgn, game) != 0) {
    DestroyGame(game);
    return nullptr;
  }
  // The record keeps where it came from, for writing it back.
  game->reserved = uint32_t(gameNumber);
  if (RegisterGame(game, room) != 0) {
    DestroyGame(game);
    return nullptr;
  }
  return game;
}

std::string DbEnvErrorText(const std::string& detail) { return "Error!\n" + detail; }
