// The registry of open games: at most ten games, each with its GUID and the
// room that owns it, one of them current. Windows reach their game through
// it; engine reader threads and worker threads look games up by GUID.
//
// Interface: GetGameRegistry, InitGameRegistry, FreeGameRegistry,
// RegisterGame, UnregisterGame, MatchGameGuid, DestroyAllGames,
// GetGameForOwner, FindGameByGuid, GetCurrentGame, SetCurrentGame,
// CountRegisteredGames.
//
// RegisterGame, UnregisterGame, FindGameByGuid, GetCurrentGame and
// SetCurrentGame hold the registry's lock; GetGameForOwner and
// DestroyAllGames run on the user-interface thread.
#pragma once

#include <cstdint>

#include "lists.h"
#include "utils.h"

struct GameRecord;

constexpr int kMaxRegisteredGames = 10;

struct GameRegistryEntry {
  Guid guid;  // a copy taken at registration
  uint32_t reserved;
  GameRecord* game;
  uint32_t owner;  // the room that owns the game
  uint32_t flag;
};

// The registry list (its user data is the registry record), made on first use.
LinkedList* GetGameRegistry();
bool InitGameRegistry();
void FreeGameRegistry();

// 0, or -1 when the game is missing, already registered or ten games are
// registered: the caller keeps the game and must dispose of it itself. A
// game with a nil GUID gets a fresh one first.
int RegisterGame(GameRecord* game, uint32_t owner);
// Removes the game's entry (the game is not destroyed); the first remaining
// game becomes current when the current one is removed.
void UnregisterGame(const Guid* guid);
bool MatchGameGuid(const Guid* guid, const GameRegistryEntry* entry);
// Unregisters and destroys every game.
void DestroyAllGames();
GameRecord* GetGameForOwner(uint32_t owner);
GameRecord* FindGameByGuid(const Guid* guid);
GameRecord* GetCurrentGame();
// Returns the game that was current before; null changes nothing.
GameRecord* SetCurrentGame(GameRecord* game);
int CountRegisteredGames();
