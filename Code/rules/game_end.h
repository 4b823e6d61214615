// The end of a game and the questions asked about it: result codes, the
// draw rules, resignation, draw offers, pauses, flag falls and the status
// line after a move.
//
// Interface: ComputeGameResult, EndGame, ResignGame, OfferDraw, PauseGame,
// IsGameOver, IsFlagFallen, AnnounceFlagFall, ShowGameStatus,
// GetPlayerToMove, GetPlayerNotToMove, IsHumanToMove, IsEngineToMove,
// IsPlayerBlindfold, IsStandardStart, GetResultText, GetResultForSide,
// PlayEngineBookMove, IsInsufficientMaterial, CountMaterial,
// HasMatingMaterial, ScanDrawRules, IsRookBishopVsRook,
// IsThreefoldRepetition.
#pragma once

#include <cstddef>
#include <cstdint>

#include "board.h"

struct GameRecord;
struct PlayerRecord;

enum GameResult : uint32_t {
  RESULT_NONE = 0,
  RESULT_WHITE_MATED = 1,
  RESULT_BLACK_MATED = 2,
  RESULT_STALEMATE = 3,
  RESULT_REPETITION = 4,
  RESULT_20_MOVES = 5,
  RESULT_50_MOVES = 6,
  RESULT_100_MOVES = 7,
  RESULT_INSUFFICIENT = 8,
  RESULT_AGREED = 9,
  RESULT_WHITE_RESIGNED = 10,
  RESULT_BLACK_RESIGNED = 11,
  RESULT_WHITE_TIME = 12,
  RESULT_BLACK_TIME = 13,
  RESULT_OTHER = 14,
  RESULT_ADJOURNED = 15,
  RESULT_ABORTED = 16,
  RESULT_DISCONNECTED = 17,
};

// GetResultForSide answers.
enum SideOutcome {
  OUTCOME_LOST = 0,
  OUTCOME_WON = 1,
  OUTCOME_DRAW = 2,
  OUTCOME_ADJOURNED = 3,
  OUTCOME_OTHER = 4
};

struct MaterialCount {
  int pieces[2][6];  // [white, black][king .. pawn]
  int nonKing[2];
  int minors[2];        // bishops and knights
  int bishopSquare[2];  // square of a bishop, -1 when none
};

uint32_t ComputeGameResult(GameRecord* game);
int EndGame(GameRecord* game, uint32_t code);
int ResignGame(GameRecord* game);
int OfferDraw(GameRecord* game);
int PauseGame(GameRecord* game);
bool IsGameOver(GameRecord* game);
// `side` is WHITE or BLACK.
bool IsFlagFallen(const GameRecord* game, int side);
void AnnounceFlagFall(GameRecord* game, int side);
void ShowGameStatus(GameRecord* game, int code);

PlayerRecord* GetPlayerToMove(GameRecord* game);
PlayerRecord* GetPlayerNotToMove(GameRecord* game);
bool IsHumanToMove(GameRecord* game);
bool IsEngineToMove(GameRecord* game);
bool IsPlayerBlindfold(GameRecord* game, bool white);
bool IsStandardStart(const GameRecord* game);
// The result's text; empty for 14 and codes outside 1..17.
char* GetResultText(uint32_t code, char* buffer, size_t size);
// `white` true asks for white's outcome.
int GetResultForSide(uint32_t code, bool white);
bool PlayEngineBookMove(GameRecord* game);

MaterialCount CountMaterial(const Board* board);
bool IsInsufficientMaterial(const Board* board);
bool HasMatingMaterial(const Board* board, int colour);
// 0 none, 1 the 20-move rule (only with `shortRule`), 2 the 50-move rule,
// 3 threefold repetition, 4 the 100-move rule (rook and bishop against rook).
int ScanDrawRules(GameRecord* game, bool shortRule);
bool IsRookBishopVsRook(const Board* board);
bool IsThreefoldRepetition(GameRecord* game);
