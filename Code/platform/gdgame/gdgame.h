// GdGame: the game-file engine under the database module. Game files hold
// games as compact binary records numbered from 1; a game buffer holds one
// game in memory (header, set-up board, move tree with variations and
// comments) and a current position.
//
// Interface: the driver calls (IGInstallGameDriver ..), files (Gdg*),
// game buffers (IGGame*, IGMove*, Gdg*Game*), boards (IGNewBoard ..).
#pragma once

#include <cstdint>

#if defined(_WIN32) && defined(GDGAME_DLL)
#if defined(GDGAME_BUILDING_DLL)
#define GDGAME_API extern "C" __declspec(dllexport)
#else
#define GDGAME_API extern "C" __declspec(dllimport)
#endif
#else
#define GDGAME_API extern "C"
#endif

// The engine's board: a 10 x 10 mailbox, the square of file f and rank r
// (0-based) at byte 10 * (f + 1) + (r + 1); White pawn .. king 8 .. 13,
// Black 16 .. 21, 0 empty, 0xFF outside the board.
enum {
  kGdgBoardSize = 112,
  kGdgBoardSide = 100,       // uint32: 1 = Black to move
  kGdgBoardEnPassant = 104,  // uint32: file + 1 of a pawn that just made a double step, else 0
  kGdgBoardCastling = 108,   // byte: 16 White short, 32 White long, 64 Black short, 128 Black long
  kGdgBoardPly = 110,        // uint16: ply number of the position, 1 = White's first move
};

// A move as the engine gives it: files and ranks 1..8, the promotion piece
// in board codes (0 none).
struct GdgMoveXY {
  int32_t fromFile, fromRank, toFile, toRank, promotion;
};

struct GdgDate {
  int32_t year, month, day;  // 0 = unknown
};

typedef struct GdgGame GdgGame;  // a game buffer
typedef int32_t GdgMove;         // a node of a game buffer's move tree, 0 = none
typedef int(GdgProgress)(int32_t done, int32_t user);

// Driver and version.
GDGAME_API int IGInstallGameDriver(int32_t reserved);
GDGAME_API int IGGameDriverInit(int32_t maxGames);
GDGAME_API int IGGameDriverFini(void);
GDGAME_API int IGRemoveGameDriver(void);
GDGAME_API int GdgGetVersion(uint32_t* version, uint32_t* reserved);

// Files. Handles are above 0; 0 is failure.
GDGAME_API int32_t GdgOpenGamefile(const char* path, int32_t create);
GDGAME_API int GdgCloseGamefile(int32_t file);
GDGAME_API int32_t GdgGetNumberOfGames(int32_t file);
GDGAME_API int GdgDeleteGame(int32_t file, int32_t number);    // 0 = done
GDGAME_API int GdgUndeleteGame(int32_t file, int32_t number);  // 0 = done
GDGAME_API int GdgIsGameDeleted(int32_t file, int32_t number);
GDGAME_API int GdgFileAction(int32_t file, int32_t action);  // 0 end, 1 bulk read, 2 bulk write
GDGAME_API int IGFileStatus(int32_t file, int32_t what);     // bit 0 in use elsewhere, bit 1 read-only
// Which part of a damaged file failed to open, for messages (0 none).
GDGAME_API int GdgLastOpenError(void);

// Header index for sorting, kept in `folder`.
GDGAME_API int GdgIndexCreate(int32_t file, int32_t reserved1, int32_t reserved2, const char* folder,
                              int32_t update, GdgProgress* progress, int32_t user);
GDGAME_API int GdgIndexDelete(int32_t file, int32_t what, const char* folder);
// Sorts `count` game numbers of `source` into `target` by `sortKey`;
// direction 1 ascending, -2 descending. Gives the count sorted, 0 when the
// index is missing, -1 when it is out of date.
GDGAME_API int32_t GdgIndexSort(int32_t file, const int32_t* source, int32_t* target, int32_t count,
                                int32_t sortKey, int32_t direction, const char* folder);

// Game buffers.
GDGAME_API GdgGame* IGGameOpenGame(void);
GDGAME_API int IGGameCloseGame(GdgGame* game);
GDGAME_API int GdgLoadGame(GdgGame* game, int32_t file, int32_t number, int32_t reserved);
GDGAME_API int GdgLoadGameHeader(GdgGame* game, int32_t file, int32_t number);
// Appends the buffer's game; the new game number goes to *number.
GDGAME_API int GdgWriteGame(GdgGame* game, int32_t file, int32_t reserved, int32_t* number);
// Packs raw records of games first+1 .. into `buffer` (each record at
// offsets[i]); gives how many fitted.
GDGAME_API int32_t GdgReadGames(int32_t file, int32_t first, uint8_t* buffer, int32_t* offsets,
                                int32_t bufferSize, int32_t maxGames);
// Size of the record at `data` (as GdgReadGames packed it).
GDGAME_API int32_t GdgRecordSize(const uint8_t* data);
GDGAME_API int UnpackGame(GdgGame* game, const uint8_t* data, int32_t mode);  // mode 2: pattern test
GDGAME_API int GetGameHeader(GdgGame* game, const uint8_t* data, int32_t reserved, int32_t headerOnly);
GDGAME_API int PatExactPosition(GdgGame* game);

// Header fields. Texts are code page 437, at most 255 characters.
GDGAME_API int IGGameGetPlayer(GdgGame* game, int32_t side, char* out, int32_t size);
GDGAME_API int IGGamePutPlayer(GdgGame* game, int32_t side, const char* text);
GDGAME_API int IGGameGetCountry(GdgGame* game, int32_t side, char* out, int32_t size);
GDGAME_API int IGGamePutCountry(GdgGame* game, int32_t side, const char* text);
GDGAME_API int IGGameGetTitle(GdgGame* game, int32_t side, char* out, int32_t size);
GDGAME_API int IGGamePutTitle(GdgGame* game, int32_t side, const char* text);
GDGAME_API int32_t IGGameGetElo(GdgGame* game, int32_t side);
GDGAME_API int IGGamePutElo(GdgGame* game, int32_t side, int32_t elo);
GDGAME_API int32_t IGGameGetTime(GdgGame* game, int32_t side);  // minutes
GDGAME_API int IGGamePutTime(GdgGame* game, int32_t side, int32_t minutes);
GDGAME_API int IGGameGetPlace(GdgGame* game, char* out, int32_t size);
GDGAME_API int IGGamePutPlace(GdgGame* game, const char* text);
GDGAME_API int IGGameGetSite(GdgGame* game, char* out, int32_t size);
GDGAME_API int IGGamePutSite(GdgGame* game, const char* text);
GDGAME_API int32_t IGGameGetRound(GdgGame* game);
GDGAME_API int IGGamePutRound(GdgGame* game, int32_t round);
GDGAME_API int IGGameGetDate(GdgGame* game, GdgDate* date);
GDGAME_API int IGGamePutDate(GdgGame* game, const GdgDate* date);
GDGAME_API int32_t IGGameGetResult(GdgGame* game);  // 1 White won, 2 draw, 3 Black won, else unknown
GDGAME_API int IGGamePutResult(GdgGame* game, int32_t result);
GDGAME_API int IGGameGetKeycode(GdgGame* game, char* out, int32_t size);
GDGAME_API int IGGamePutKeycode(GdgGame* game, const char* text);
GDGAME_API int IGGameGetAnnotator(GdgGame* game, char* out, int32_t size);
GDGAME_API int IGGamePutAnnotator(GdgGame* game, const char* text);
GDGAME_API int IGGameGetRemark(GdgGame* game, char* out, int32_t size);
GDGAME_API int IGGamePutRemark(GdgGame* game, const char* text);
GDGAME_API int32_t IGGameGetSourceLoadnumber(GdgGame* game);
GDGAME_API int IGGamePutSourceLoadnumber(GdgGame* game, int32_t number);
GDGAME_API int IGGameGetStatusFlag(GdgGame* game, int32_t flag);
GDGAME_API int IGGamePutStatusFlag(GdgGame* game, int32_t flag, int32_t value);
GDGAME_API int32_t IGGameGetLength(GdgGame* game);  // plies of the main line

// Moves. The first move pointer is the node before the first move; it
// carries the comments that stand before the first move.
GDGAME_API GdgMove IGGameGetFirstMove(GdgGame* game);
GDGAME_API GdgMove IGMoveGetNEXT(GdgGame* game, GdgMove move);
GDGAME_API GdgMove IGMoveGetALT(GdgGame* game, GdgMove move);
GDGAME_API int IGMoveGetXY(GdgGame* game, GdgMove move, GdgMoveXY* xy);
GDGAME_API GdgMove IGNextMove(GdgGame* game);
GDGAME_API GdgMove IGGameGetMovePtr(GdgGame* game);
GDGAME_API int32_t IGGameGetCM(GdgGame* game);  // current ply + 1
GDGAME_API int32_t PlayMoves(GdgGame* game, int32_t n);
GDGAME_API int NewGameRewind(GdgGame* game);
GDGAME_API int NewGameErase(GdgGame* game);
GDGAME_API const uint8_t* IGGameGetBoard(GdgGame* game);
// Copies the board before the first move; gives 1 for a set-up start.
GDGAME_API int GetInitialPosition(GdgGame* game, uint8_t* board);
// Non-zero when the move is legal on the current board; fills the
// promotion piece (a queen when none was given).
GDGAME_API int LegalMove(GdgGame* game, GdgMoveXY* xy);
// Plays a legal move after the current one: as the continuation, or as a
// further alternative when the current move already has one.
GDGAME_API GdgMove AcceptMove(GdgGame* game, const GdgMoveXY* xy);
GDGAME_API GdgMove IGMoveFirstFreeSubline(GdgGame* game, GdgMove move, int32_t reserved);
GDGAME_API int IGMovePutAL(GdgGame* game, GdgMove move, GdgMove alternative);
// Long comments: `count` NUL-terminated lines one after the other.
GDGAME_API int32_t GetLComment(GdgGame* game, GdgMove move, char* lines, int32_t size);
GDGAME_API int IGMovePutLComment(GdgGame* game, GdgMove move, const char* lines, int32_t count);
GDGAME_API int IGMoveGetSComment(GdgGame* game, GdgMove move, char* out, int32_t size);
GDGAME_API int IGMovePutSComment(GdgGame* game, GdgMove move, const char* text);

// Boards.
GDGAME_API int IGNewBoard(uint8_t* board);
GDGAME_API int32_t CastlingRights(const uint8_t* board);
GDGAME_API int BoardToInitialPosition(GdgGame* game, const uint8_t* board, int32_t castling,
                                      int32_t enPassant, int32_t ply);
