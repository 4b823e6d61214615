// Engine players of a game: each engine PlayerRecord (White, Black and the
// advisor, the game's third player) owns one EngineSession. This module
// starts it from the player's personality, brings the engine to the game,
// forwards moves and clocks, and carries the engine's replies through the
// room's reply queue to the user-interface thread, where they are applied
// to the game found by its GUID.
//
// Interface: StartEnginePlayer, SendPersonalityParameters,
// PersonalityParameterLines, ResetEngineGame,
// SendEnginePosition, SendEnginePlayerMove, EnginePlayerUndo,
// EnginePlayerForce, EnginePlayerOfferDraw, RequestEngineStatus,
// SendEnginePlayerCommand, SetEnginePlayerPost, StartEngineTurn,
// StartEngineIfToMove, EngineMoveNow, ToggleEngineDebugWindow,
// IsEnginePlayer, IsDefaultPersonality, ScoreForWhite, OnEngineOutput,
// DispatchEngineOutput, EnginePlayerGameHost.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine_link_host.h"
#include "engine_protocol.h"
#include "engine_reply.h"
#include "game_host.h"
#include "game_record.h"

constexpr int kEnginePlayerModeAnalyse = 7;

// -1 when the player is not an engine player, else 0 (the player's session
// is null when the engine could not be started).
int StartEnginePlayer(PlayerRecord* player, GameRecord* game);
int SendPersonalityParameters(PlayerRecord* player);
// The "rw_parm" lines that set a personality's parameters, in order, from
// "rw_parm default" to the hash table's; pondering is sent apart.
std::vector<std::string> PersonalityParameterLines(const EnginePersonality& personality);
// `firstSide` is WHITE or BLACK.
void ResetEngineGame(PlayerRecord* player, const Board* start, const MoveRecord* moves, int count,
                     int firstSide);
void SendEnginePosition(PlayerRecord* player, const Board* position);
void SendEnginePlayerMove(PlayerRecord* player, const MoveRecord* move, int32_t ownMs, int32_t opponentMs);
void EnginePlayerUndo(PlayerRecord* player);
void EnginePlayerForce(PlayerRecord* player);
void EnginePlayerOfferDraw(PlayerRecord* player);
void RequestEngineStatus(PlayerRecord* player);
void SendEnginePlayerCommand(PlayerRecord* player, const char* text);
int SetEnginePlayerPost(PlayerRecord* player, bool on);
void SetEnginePlayerMode(PlayerRecord* player, int mode);
int StartEngineTurn(GameRecord* game);
int StartEngineIfToMove(GameRecord* game);
void EngineMoveNow(GameRecord* game);
void ToggleEngineDebugWindow(int colour);
bool IsEnginePlayer(const PlayerRecord* player);
bool IsDefaultPersonality(const PlayerRecord* player);
int32_t ScoreForWhite(const GameRecord* game, int side, int32_t score);

// The session's EngineReplyCallback (reader thread for received lines).
void OnEngineOutput(EngineSession* session, const MoveCoords* move, const ThinkingLine* thinking,
                    const EngineStatus* status, const char* line, int direction);
// User-interface thread: applies one queued block and frees it.
void DispatchEngineOutput(EngineReplyBlock* block);

// The side of a session for a player colour (slot): 1 → White, 0 → Black,
// else the advisor.
int EngineSideForSlot(uint32_t slot);
PlayerRecord* PlayerForEngineSide(GameRecord* game, int side);

// A game host whose engine calls are served by the engine players; the shell
// derives its own host from it.
class EnginePlayerGameHost : public GameHost {
 public:
  EngineSession* StartEnginePlayer(GameRecord* game, PlayerRecord* player) override;
  void ResetEngineGame(GameRecord* game, PlayerRecord* player, const MoveRecord* moves, int count) override;
  void StartEngineIfToMove(GameRecord* game) override;
  void SendEngineQuit(EngineSession* session) override;
  void SendEngineCommand(PlayerRecord* player, const char* command) override;
  void SendEnginePlayerMove(GameRecord* game, PlayerRecord* player, const MoveRecord* move, bool withClocks,
                            int32_t ownMs, int32_t opponentMs) override;
  void RequestEngineStatus(GameRecord* game, PlayerRecord* third) override;
  void HandleEngineBookMove(GameRecord* game, int slot, const char* coords) override;
  void DiscardRoomEvents(GameRecord* game) override;
};
