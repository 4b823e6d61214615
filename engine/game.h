// Corvane program: the game kept by the command loop, its own legal move
// generator, move texts, the position string and the game-end test.
//
// Interface: EngineGame, InitialPosition, SetPositionFromString,
// GenGameMoves, MakeGameMove, GameCheckState, GameEndTest, ValidatePosition,
// MoveText, ShortMoveText, RebuildPosition, PlayGameMove, TakeBack,
// NewEngineGame.
//
// This board is separate from the search board: the game may change while a
// pondering search runs on the search board.
#pragma once

#include "board.h"

namespace corvane {

constexpr int kGameMoves = 800;     // room in the game's move list
constexpr int kGameMoveList = 256;  // legal moves of one position (plus terminator)

struct EngineGame {
  EnginePosition start;
  EngineMove moves[kGameMoves];
  int cur;   // moves played from the start position
  int last;  // moves in the list
  char name[100];
  char annotator[100];
  char remark[100];
  EnginePosition pos;   // start position with the moves up to cur made
  const char* endText;  // null while the game goes on
  int result;           // +1 white won, -1 black won, 0 draw
  EngineMove expected;  // reply predicted by the last search
  // Engine clock (centiseconds).
  long long used;
  bool running;
  long long startStamp;
};

void ClearPosition(EnginePosition* pos);
void InitialPosition(EnginePosition* pos);
extern const char kInitialPositionString[];
void SetPositionFromString(const char* text, EnginePosition* pos);

// Legal moves, zero-terminated; returns the count (at most kGameMoveList - 1).
int GenGameMoves(const EnginePosition& pos, EngineMove* list);
// Makes a legal move in place or into dest.
void MakeGameMove(EnginePosition* pos, EngineMove move, EnginePosition* dest = nullptr);
// 0 not in check, 2 double check, else the offset from the king toward the checker.
int GameCheckState(const EnginePosition& pos);
// Square attacked by the side given (white = true).
bool GameSquareAttacked(const EnginePosition& pos, int square, bool byWhite);

// Null when the position can be played from, else a short reason: one king
// of each colour, at most 15 other pieces a side, no pawn on the first or
// last rank, the side not to move not in check.
const char* ValidatePosition(const EnginePosition& pos);

// "e2e4", "e7e8q"; "null" for the null move.  Buffer of at least 8 bytes.
char* MoveText(EngineMove move, char* out);
// Short algebraic text of a legal move in pos ("Nf3", "exd5", "e8Q", "0-0", "Qh4+").
char* ShortMoveText(const EnginePosition& pos, EngineMove move, char* out);
// The legal move whose coordinate text equals word, or 0.
EngineMove FindGameMove(const EnginePosition& pos, const char* word);

// Game end of the game's moves up to cur: text or null, result sign.
const char* GameEndTest(const EngineGame& game, int* result);

void RebuildPosition(EngineGame* game);
void PlayGameMove(EngineGame* game, EngineMove move, EngineMove expected);
void TakeBack(EngineGame* game, int count);
void ResetGame(EngineGame* game);  // all zero, initial position, name "UNTITLED"

}  // namespace corvane
