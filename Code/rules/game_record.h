// The game record: one game as the program holds it while it is shown or
// played: identity, kind, header, three players, the move tree, the start
// and current positions, the clocks and the result.
//
// Interface (life): CreateGame, DestroyGame, StartGame, StopGame,
// SetGamePlayer, SwapPlayers.
// Interface (moves and navigation): PlayMove, AddMoveToGame,
// AppendMoveToGame, ReplaceCurrentMove, AddVariationToGame, AddVariation,
// GameStepBack, GameStepForward, SeekToPly, SeekToPlyMove,
// DeleteCurrentMove, ClearGameMoves, GameNextVariation,
// SwitchToNextVariation, GameSelectVariation, SwitchToVariation,
// CountVariations, GetSiblingMove, GetCurrentMove, GetNextMove,
// GetMoveAtPly, GetMoveCount, GetCurrentPly, GetPositionComment,
// CopyGameMoves, CopyGameMovesTo, FreeMoveArray, MergeMoveList,
// GetPlyMoveText, TakeBackMove, RetractLastMove, ReplayMove, GoToPly,
// ReplaceMoveLine, SelectVariation, FindMoveForSquare, ParseMoveInput,
// AddAutoComment.
// Interface (end and queries): see game_end.h.
//
// Games are changed on the user-interface thread; other threads read them
// only through CopyGameMoves / CopyGameMovesTo, which hold the tree's lock.
// Game-level operations return 0 on success and -1 (or null) when an
// argument is missing or the operation is refused.
#pragma once

#include <cstddef>
#include <cstdint>

#include "board.h"
#include "chess_clock.h"
#include "game_header.h"
#include "move_tree.h"
#include "moverecord.h"
#include "utils.h"

struct PersonalityRecord;
struct EngineSession;

enum PlayerKind : uint32_t { PLAYER_HUMAN = 0, PLAYER_ENGINE = 1, PLAYER_REMOTE = 2 };
enum PlayerSlot : int { SLOT_BLACK = 0, SLOT_WHITE = 1, SLOT_THIRD = 2 };

constexpr int kPlayerNameSize = 260;
constexpr int kThinkingBlockSize = 2072;
constexpr int kStatisticsBlockSize = 2068;

// What a room gives when it creates a game or sets a player.
struct PlayerDescriptor {
  char name[kPlayerNameSize];
  uint32_t kind;
  uint32_t slot;
  uint32_t value;  // kept for the caller, not interpreted here
  uint32_t timeControl;
  uint32_t baseMs;
  uint32_t periodOrIncrement;
  uint32_t blindfold;
};

struct PlayerRecord {
  char name[kPlayerNameSize];
  uint32_t kind;
  uint32_t slot;
  uint32_t value;
  uint32_t timeControl;
  uint32_t baseMs;
  uint32_t periodOrIncrement;
  uint32_t blindfold;
  PersonalityRecord* personality;  // owned; engine players only
  // Latest thinking line of the player's engine: its third and fourth 32-bit
  // words are the search depth and the score seen from white.
  uint8_t thinking[kThinkingBlockSize];
  uint8_t statistics[kStatisticsBlockSize];
  uint8_t reserved[64];
  EngineSession* session;  // owned
};
// In the 32-bit program the record is the 4,500-byte block that saved game
// files hold twice (white, black).
static_assert(sizeof(void*) != 4 ||
                  (sizeof(PlayerRecord) == 4500 && offsetof(PlayerRecord, thinking) == 292 &&
                   offsetof(PlayerRecord, session) == 4496),
              "the player record keeps its file layout");
static_assert(offsetof(PlayerRecord, personality) == sizeof(PlayerDescriptor),
              "a descriptor is the record's start");

// Kind flags tested here; rooms set further bits of their own.
enum GameKind : uint32_t {
  GAME_LOSS_ON_TIME = 0x10,
  GAME_BOOKED = 0x20,
  GAME_TOURNAMENT = 0x40,
  GAME_ORDINARY = 0x100,
  GAME_ONLINE = 0x400,
  GAME_NO_END_BOX_1 = 0x800,
  GAME_NO_END_BOX_2 = 0x1000,
  GAME_NO_RESULT_TEXT = 0x4000,
  GAME_NO_END_BOX_3 = 0x8000,
  GAME_NO_END_BOX_4 = 0x20000,
  GAME_QUIET = 0x80000,
  GAME_DRILL = 0x100000,
  GAME_NO_CLOCK_CHARGE = 0x10000000,
  GAME_CLOCKS_OFF = 0x20000000,
};

struct GameRecord {
  Guid id;
  uint32_t kind;
  GameHeader header;
  PlayerRecord white;
  PlayerRecord black;
  PlayerRecord third;
  ChessClock whiteClock;
  ChessClock blackClock;
  MoveTree* tree;
  Board position;
  Board start;
  uint8_t sideToMove;
  uint8_t startSide;
  uint32_t thirdPlayerMode;  // 1: the third player follows the game move by move
  uint8_t thirdPlayerReserved[16];
  uint32_t owner;            // kept for the creating room
  uint32_t startMoveNumber;  // full-move number of the start position
  uint32_t notation;         // style of the move texts cached in the moves
  uint32_t result;           // result code, 0 while the game goes on
  uint32_t reserved;
};

// Life of a game. The start board is taken as given: castling rights and
// the en-passant square are kept (only the king squares are found).
GameRecord* CreateGame(uint32_t kind, const GameHeader* header, const PlayerDescriptor* white,
                       const PlayerDescriptor* black, const PlayerDescriptor* third, const Board* start,
                       MoveTree* moves, int sideToMove, uint32_t startMoveNumber, uint32_t result);
void DestroyGame(GameRecord* game);
int StartGame(GameRecord* game);
int StopGame(GameRecord* game);
int SetGamePlayer(GameRecord* game, const PlayerDescriptor* descriptor, int slot);
int SwapPlayers(GameRecord* game);

// Side helpers: the side to move and the side that made the current move.
int SideAtPly(const GameRecord* game, int32_t ply);
PlayerRecord* PlayerForSide(GameRecord* game, int side);
ChessClock* ClockForSide(GameRecord* game, int side);
const ChessClock* ClockForSide(const GameRecord* game, int side);

// Moves and navigation.
int PlayMove(GameRecord* game, const MoveRecord* move, bool sound);
MoveRecord* AddMoveToGame(GameRecord* game, const MoveRecord* move);
bool AppendMoveToGame(GameRecord* game, const MoveRecord* move);
MoveRecord* ReplaceCurrentMove(GameRecord* game, const MoveRecord* move);
MoveRecord* AddVariationToGame(GameRecord* game, const MoveRecord* move);
int AddVariation(GameRecord* game, const MoveRecord* move);
MoveRecord* GameStepBack(GameRecord* game);
MoveRecord* GameStepForward(GameRecord* game);
bool SeekToPly(GameRecord* game, int32_t ply);
MoveRecord* SeekToPlyMove(GameRecord* game, int32_t ply);
int DeleteCurrentMove(GameRecord* game);
int ClearGameMoves(GameRecord* game);
MoveRecord* GameNextVariation(GameRecord* game);
MoveRecord* SwitchToNextVariation(GameRecord* game);
MoveRecord* GameSelectVariation(GameRecord* game, int n);
MoveRecord* SwitchToVariation(GameRecord* game, int n);
int CountVariations(const GameRecord* game);
MoveRecord* GetSiblingMove(const GameRecord* game, int n);
MoveRecord* GetCurrentMove(const GameRecord* game);
MoveRecord* GetNextMove(const GameRecord* game);
MoveRecord* GetMoveAtPly(const GameRecord* game, int32_t ply);
int GetMoveCount(const GameRecord* game);
int32_t GetCurrentPly(const GameRecord* game);
const char* GetPositionComment(const GameRecord* game);
// The moves from the start to the current move, texts cleared, copied under
// the tree's lock. Any length is copied; free with FreeMoveArray.
MoveRecord* CopyGameMoves(GameRecord* game, int* count);
// False (nothing copied) when the line is longer than `capacity`.
bool CopyGameMovesTo(GameRecord* game, MoveRecord* array, int capacity, int* count, int32_t* ply);
void FreeMoveArray(MoveRecord* moves);
int MergeMoveList(GameRecord* game, const MoveRecord* moves, int count);
// The move text at a ply (1 = the first move); empty when there is none.
char* GetPlyMoveText(GameRecord* game, int32_t ply, int style, char* buffer, size_t size);
int TakeBackMove(GameRecord* game);
int RetractLastMove(GameRecord* game);
int ReplayMove(GameRecord* game);
int GoToPly(GameRecord* game, int32_t ply, bool notify);
int ReplaceMoveLine(GameRecord* game, const MoveRecord* moves, int count, bool notify);
int SelectVariation(GameRecord* game, int n);
bool FindMoveForSquare(MoveRecord* out, GameRecord* game, int square);
bool ParseMoveInput(GameRecord* game, int key, char* typed, size_t typedSize, bool* ambiguous,
                    MoveRecord* out);
int AddAutoComment(GameRecord* game);
