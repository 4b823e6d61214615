// GdKey: the opening-key engine under the database module. A key is a
// position of the opening tree (the start position is key 1) with its code,
// name and remark; every game saved through the engine is filed under each
// key its main line reaches. The key base lives in the "GdIndex" folder
// beside the game file; one base is open at a time.
//
// Interface: the Gdk*, ID* and Dbs* calls. Keys may be passed negated (as
// child keys are handed out above the engine); the engine takes the value.
#pragma once

#include <cstdint>

#include "gdgame.h"

#if defined(_WIN32) && defined(GDKEY_DLL)
#if defined(GDKEY_BUILDING_DLL)
#define GDKEY_API extern "C" __declspec(dllexport)
#else
#define GDKEY_API extern "C" __declspec(dllimport)
#endif
#else
#define GDKEY_API extern "C"
#endif

// The move into a key: word bits 0-5 from, 6-11 to, 12 capture, 13-15
// moving piece; byte: piece move, disambiguation, check state.
#pragma pack(push, 1)
struct GdkKeyMove {
  uint16_t word;
  uint8_t flags;
};
#pragma pack(pop)

typedef int(GdkKeyGameCallback)(int32_t gameNumber);

GDKEY_API int GdkGetVersion(uint32_t* version, uint32_t* reserved);
GDKEY_API int IDOpenBase(const char* path, int32_t file, int32_t reserved);  // 0 = opened
GDKEY_API int IDCloseBase(int32_t file);
GDKEY_API int IDIsDatabaseGamefile(int32_t file);
GDKEY_API int DbsKeyCacheOn(void* cache, int32_t size);
GDKEY_API int DbsKeyCacheOff(void);
// what 1 child keys, 2 game numbers; gives the count written.
GDKEY_API int32_t DbsSearchKey(int32_t key, int32_t what, int32_t reserved, int32_t* out, int32_t max);
GDKEY_API int DbsCBSearchKey(int32_t key, int32_t what, int32_t reserved, GdkKeyGameCallback* callback);
GDKEY_API int GdkFindPosition(const uint8_t* board, int32_t* key);  // non-zero = found
GDKEY_API int32_t DbsGetDatabaseDepth(void);
GDKEY_API int32_t GdkGetFirstKey(int32_t a, int32_t b);
GDKEY_API int32_t GdkGetNextKey(int32_t a, int32_t b);
GDKEY_API int32_t GdkGetPreviousKey(int32_t a, int32_t b);
GDKEY_API int GdkGetKeyPosition(int32_t key, uint8_t* board);
GDKEY_API int DbsGetKeyMove(int32_t key, int32_t reserved, GdkKeyMove* out);
GDKEY_API const char* DbsGetKeycode(int32_t key);
GDKEY_API int GdkGetKeyName(int32_t key, char* text, int32_t reserved, int32_t size);
GDKEY_API const char* DbsGetRemark(int32_t key);
GDKEY_API int DbsGetKeyDataInfo(int32_t key, void* out);
GDKEY_API int DbsGetHorViewLine(int32_t key, void* line, const void* previous);
GDKEY_API int GdkFileAction(int32_t action);
GDKEY_API int DbsFileStatus(int32_t what);
GDKEY_API int DbsAdjustDeletedGames(int32_t count);
GDKEY_API int GdkSaveToDatabase(GdgGame* game, int32_t file, int32_t a, int32_t b, int32_t c);
// what: 2 the index files, 7 every file of the database; 0 = done.
GDKEY_API int GdkDeleteDatabaseFiles(const char* path, const char* folder, int32_t what);
// Key data (44 bytes): keys below all sub-keys, games below, child keys,
// games whose deepest key this is, parent key, depth in plies, White wins,
// draws, Black wins, average rating of White and of Black.
struct GdkKeyData {
  int32_t keysBelow, gamesBelow, children, gamesHere, parent, depth;
  int32_t whiteWins, draws, blackWins, whiteElo, blackElo;
};

// Rebuilds the key lists of the open base from its game file, leaving out
// deleted games, and writes the base anew; progress gets games done.
GDKEY_API int GdkOptimizeDatabase(int32_t a, int32_t b, int32_t c, GdgProgress* progress, int32_t user);

// Building a key base (the database builder): a new base for the game file
// with only the start key (replacing any old one), 0 = done; then each
// opening line adds the keys of its main line, the last one taking the code,
// name and remark unless it has its own. Gives the last key, 0 on failure.
GDKEY_API int IDCreateBase(const char* path, int32_t file);
GDKEY_API int32_t GdkAddKeyLine(GdgGame* line, const char* code, const char* name, const char* remark);
// Where the key base of a game file lives.
GDKEY_API int GdkKeyFilePath(const char* path, char* out, int32_t size);
