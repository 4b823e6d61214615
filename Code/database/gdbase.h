// The Database library's exported interface (prefix Gd): game files, the
// key database, game buffers, positions and moves, PGN transfer.
#pragma once

#include <cstdint>

#include "position.h"
#include "query.h"

#if defined(_WIN32) && defined(GDBASE_DLL)
#if defined(GDBASE_BUILDING_DLL)
#define GDBASE_API extern "C" __declspec(dllexport)
#else
#define GDBASE_API extern "C" __declspec(dllimport)
#endif
#else
#define GDBASE_API extern "C"
#endif

typedef void* GdGameBuffer;
typedef int(GdProgressCallback)(int gamesWritten, int32_t user);
typedef int32_t(GdNextGameCallback)(int32_t user);
typedef int(GdIndexProgress)(int32_t done, int32_t user);
// Search callback: code 0 progress (a games done, b total); a match gives
// code 1 and the game number (key search) or the search's game buffer and
// the game number. Zero stops the search.
typedef int(GdSearchCallback)(uintptr_t code, int32_t a, int32_t b, int32_t user);

// Filled by GdConvertGameToPgn: the caller's areas, and what comes back.
struct GdPgnConversion {
  sPosition* start;
  uint16_t* moves;     // 10,000 move words in pre-order
  uint32_t* comments;  // 10,001 offsets into `text`
  char* text;          // 50,000 bytes of comment text
  uint16_t* nags;      // 10,001 annotation pairs
  int32_t moveNumber;  // move-number field (offset of the start)
  int32_t mainLength;
  int32_t entryCount;  // 0 without alternatives
  int32_t result;      // 0 none, 1 White wins, 2 Black wins, 3 draw
};

// Start and version.
GDBASE_API int GdGetVersion(uint32_t* version, uint32_t* reserved);

// Game files.
GDBASE_API int32_t GdOpenGamefile(const char* path);
GDBASE_API int32_t GdCreateGamefile(const char* path);
GDBASE_API int GdCloseGamefile(int32_t file);
GDBASE_API int32_t GdGetGamesCount(int32_t file);
GDBASE_API int GdFileStatus(int32_t file, int what);
GDBASE_API int GdDeleteGame(int32_t file, int32_t number);
GDBASE_API int GdUndeleteGame(int32_t file, int32_t number);
GDBASE_API int GdStartBulkOperation(int32_t file, int mode);
GDBASE_API int GdEndBulkOperation(int32_t file);

// Key database.
GDBASE_API int GdOpenDatabase(const char* path, int32_t file);
GDBASE_API int GdCloseDatabase(int32_t file);
GDBASE_API int GdDeleteDatabaseFiles(const char* path, const char* folder, int what);
GDBASE_API int GdOptimizeDataBase(GdIndexProgress* progress, int32_t user);
GDBASE_API int32_t GdGetFirstKey(int32_t a, int32_t b);
GDBASE_API int32_t GdGetNextKey(int32_t a, int32_t b);
GDBASE_API int32_t GdGetPrevKey(int32_t a, int32_t b);
GDBASE_API int GdGetKeyMove(int32_t key, void* out);
GDBASE_API int GdGetKeyPosition(int32_t key, sPosition* out);
GDBASE_API int32_t GdGetChildKeys(int32_t key, int32_t* out, int max);
GDBASE_API int32_t GdGetKeyGames(int32_t key, int32_t* out, int max);
GDBASE_API int GdGetKeyInfo(int32_t key, void* info);
GDBASE_API int GdGetKeyView(int32_t ignored, const int32_t* keys, void* lines, int32_t ignored2, int count);
GDBASE_API int GdIndexCreateUpdate(int32_t file, const char* folder, int32_t b, int32_t c, int32_t update,
                                   GdIndexProgress* progress, int32_t user);
GDBASE_API int GdIndexDelete(int32_t file, int kind, const char* folder);
GDBASE_API int GdIndexSort(int32_t file, const char* folder, const int32_t* source, int32_t* target,
                           int32_t count, int field, int ascending);

// Games.
GDBASE_API GdGameBuffer GdAllocGameBuffer(void);
GDBASE_API int GdFreeGameBuffer(GdGameBuffer game);
GDBASE_API int GdReadGameHeader(GdGameBuffer game, int32_t file, int32_t number);
GDBASE_API int GdReadGame(GdGameBuffer game, int32_t file, int32_t number);
GDBASE_API int GdWriteGame(GdGameBuffer game, int32_t file, int32_t* out);
GDBASE_API int GdGetInitialPos(GdGameBuffer game, sPosition* out);
GDBASE_API int GdGetCurrentPos(GdGameBuffer game, sPosition* out);
GDBASE_API int GdIsLegalPos(const sPosition* position);
GDBASE_API int GdGetMoves(GdGameBuffer game, uint16_t* out, int max);
GDBASE_API uint16_t GdGetNextMove(GdGameBuffer game);
GDBASE_API int GdPlayMove(sPosition* position, uint16_t move);
GDBASE_API int GdPlayMoves(GdGameBuffer game, int n);
GDBASE_API int GdGotoMove(GdGameBuffer game, int ply);
GDBASE_API int GdGetMoveInfo(const sPosition* position, uint16_t move);
GDBASE_API int GdMoveToText(uint16_t move, int descriptor, char* out, int style, const char* symbols);
GDBASE_API int32_t GdClassifyGame(GdGameBuffer game, int ply, int* foundPly);
GDBASE_API int GdClassifyMoves(GdGameBuffer game, int32_t* keys, int count);
GDBASE_API int32_t GdClassifyPosition(GdGameBuffer game);

// Header texts and searches.
GDBASE_API int GdGetHeaderInfo(GdGameBuffer game, int field, char* text, int size);
GDBASE_API int GdGetHeaderInfoInt(GdGameBuffer game, int field, int32_t* value);
GDBASE_API int GdPutHeaderInfo(GdGameBuffer game, int field, const char* text);
GDBASE_API int GdIsEmptyQuery(const SearchQuery* query);
GDBASE_API int GdSearchKeyGames(int32_t file, int32_t key, GdSearchCallback* callback, int32_t user);
GDBASE_API int GdSearchKeyMoves(int32_t file, int32_t key, const sPosition* position,
                                GdSearchCallback* callback, int32_t user);
GDBASE_API int GdSearchPosGames(int32_t file, const sPosition* position, int includeFlagged,
                                GdSearchCallback* callback, int32_t user);
GDBASE_API int GdSearchGameHdrs(int32_t file, const SearchQuery* query, GdSearchCallback* callback,
                                int32_t user);

// PGN transfer.
GDBASE_API int GdPgnImport(const char* pgnPath, int32_t file, int options, const char* letters,
                           GdProgressCallback* progress, int32_t user);
GDBASE_API int GdExportGames(const char* pgnPath, int32_t file, GdNextGameCallback* next, int option,
                             int32_t user);
GDBASE_API int GdConvertGameToPgn(GdGameBuffer game, GdPgnConversion* conversion);
GDBASE_API void* GdCreatePgnGame(GdGameBuffer game);
GDBASE_API int GdMemReadPgnGame(GdGameBuffer game, void* text, int options, const char* letters);
