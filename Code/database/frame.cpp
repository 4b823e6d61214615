// The Database library's exports: start and version, game files, the key
// database, game buffers, positions and moves. Most pass through to the
// game-file engine (GdGame) and the key engine (GdKey).
#include <cstdio>
#include <cstring>
#include <string>

#include "charset.h"
#include "gdbase.h"
#include "gdgame.h"
#include "gdkey.h"
#include "platform.h"
#include "texts.h"

using namespace gdbase;

namespace gdbase {
namespace {

constexpr uint32_t kRequiredVersion = 0x10000;
constexpr size_t kKeyCacheSize = 69760;
void* g_keyCache = nullptr;
int32_t g_keyFile = 0;  // the game file whose key database is open
EngineVersionCall g_keyVersion = GdkGetVersion;
EngineVersionCall g_gameVersion = GdgGetVersion;

GdgGame* Game(GdGameBuffer game) { return static_cast<GdgGame*>(game); }

}  // namespace

void SetEngineVersionCalls(EngineVersionCall key, EngineVersionCall game) {
  g_keyVersion = key ? key : GdkGetVersion;
  g_gameVersion = game ? game : GdgGetVersion;
}

void LibraryAttach() {
  IGInstallGameDriver(0);
  IGGameDriverInit(32000);
  SetTraceSink(PlatformTrace);
  SetErrorSink([](const char* message) {
    char text[257];
    std::snprintf(text, sizeof text, "Internal Error!\n%s", message);
    PlatformMessageBox(text, "GdBaseDll", kIconExclamation);
  });
}

void LibraryDetach() {
  IGGameDriverFini();
  IGRemoveGameDriver();
}

// Header field number -> the game engine's sort key; -1 unknown, 0 cannot
// be sorted.
int SortKeyForField(int field) {
  static const int keys[22] = {-1, 10, 9, 14, 11, 1, 2, 7, 8, 3, 4, 5, 6, 0, 0, 13, 12, 16, 15, 17, 18, 19};
  if (field >= 1 && field <= 21) return keys[field];
  if (field == 100 || field == 101 || field == 102) return 1;
  if (field == 103) return 2;
  return -1;
}

// "C:\Games\my.gdg" -> "C:\Games\GdIndex\"; a path without a backslash has
// its index folder in the current folder.
std::string IndexFolderFor(const char* path) {
  std::string p = path ? path : "";
  size_t slash = p.find_last_of('\\');
  if (slash == std::string::npos) return ".\\GdIndex\\";
  return p.substr(0, slash + 1) + "GdIndex\\";
}

}  // namespace gdbase

GDBASE_API int GdGetVersion(uint32_t* version, uint32_t* reserved) {
  if (version) *version = 0x10000;
  if (reserved) *reserved = 0;
  bool ok = true;
  uint32_t v = 0, r = 0;
  if (!g_keyVersion(&v, &r) || v < kRequiredVersion) {
    PlatformMessageBox("Version conflict: GdKey.dll", "Version Error", kIconStop);
    ok = false;
  }
  v = 0;
  if (!g_gameVersion(&v, &r) || v < kRequiredVersion) {
    PlatformMessageBox("Version conflict: GdGame.dll", "Version Error", kIconStop);
    ok = false;
  }
  return ok ? 1 : 0;
}

GDBASE_API int32_t GdOpenGamefile(const char* path) { return GdgOpenGamefile(path, 0); }

GDBASE_API int32_t GdCreateGamefile(const char* path) {
  std::string folder = IndexFolderFor(path);
  GdkDeleteDatabaseFiles(path, folder.c_str(), 7);
  return GdgOpenGamefile(path, 1);
}

GDBASE_API int GdCloseGamefile(int32_t file) {
  GdgCloseGamefile(file);
  return 1;
}

GDBASE_API int32_t GdGetGamesCount(int32_t file) { return GdgGetNumberOfGames(file); }

GDBASE_API int GdFileStatus(int32_t file, int what) {
  int status = IDIsDatabaseGamefile(file) ? DbsFileStatus(what) : IGFileStatus(file, what);
  return status & 3;
}

GDBASE_API int GdDeleteGame(int32_t file, int32_t number) {
  if (GdgDeleteGame(file, number) != 0) return 0;
  if (g_keyFile && g_keyFile == file) DbsAdjustDeletedGames(1);
  return 1;
}

GDBASE_API int GdUndeleteGame(int32_t file, int32_t number) {
  return GdgUndeleteGame(file, number) == 0 ? 1 : 0;
}

GDBASE_API int GdStartBulkOperation(int32_t file, int mode) {
  GdgFileAction(file, mode == 2 ? 2 : 1);
  return 1;
}

GDBASE_API int GdEndBulkOperation(int32_t file) {
  GdgFileAction(file, 0);
  return 1;
}

GDBASE_API int GdOpenDatabase(const char* path, int32_t file) {
  if (IDOpenBase(path, file, 0) != 0) return 0;
  if (!g_keyCache) g_keyCache = PlatformAllocZeroed(kKeyCacheSize);
  if (g_keyCache) DbsKeyCacheOn(g_keyCache, 32);
  g_keyFile = file;
  return 1;
}

GDBASE_API int GdCloseDatabase(int32_t file) {
  DbsKeyCacheOff();
  PlatformFree(g_keyCache);
  g_keyCache = nullptr;
  IDCloseBase(file);
  if (g_keyFile == file) g_keyFile = 0;
  return 1;
}

GDBASE_API int GdDeleteDatabaseFiles(const char* path, const char* folder, int what) {
  return GdkDeleteDatabaseFiles(path, folder, what);
}

GDBASE_API int GdOptimizeDataBase(GdIndexProgress* progress, int32_t user) {
  return GdkOptimizeDatabase(0, 0, 1, progress, user);
}

GDBASE_API int32_t GdGetFirstKey(int32_t a, int32_t b) { return GdkGetFirstKey(a, b); }
GDBASE_API int32_t GdGetNextKey(int32_t a, int32_t b) { return GdkGetNextKey(a, b); }
GDBASE_API int32_t GdGetPrevKey(int32_t a, int32_t b) { return GdkGetPreviousKey(a, b); }

GDBASE_API int GdGetKeyMove(int32_t key, void* out) {
  return DbsGetKeyMove(key, 0, static_cast<GdkKeyMove*>(out));
}

GDBASE_API int GdGetKeyPosition(int32_t key, sPosition* out) {
  uint8_t board[kGdgBoardSize];
  IGNewBoard(board);
  GdkGetKeyPosition(key, board);
  sPosition p;
  int answer = LoadPositionFromGame(board, &p, 0);
  if (out) *out = p;
  return answer;
}

GDBASE_API int32_t GdGetChildKeys(int32_t key, int32_t* out, int max) {
  int32_t n = DbsSearchKey(key, 1, 1, out, max);
  for (int32_t i = 0; i < n; ++i) out[i] = -out[i];
  return n;
}

GDBASE_API int32_t GdGetKeyGames(int32_t key, int32_t* out, int max) {
  return DbsSearchKey(key, 2, 1, out, max);
}

GDBASE_API int GdGetKeyInfo(int32_t key, void* info) {
  if (!info) return 0;
  char* bytes = static_cast<char*>(info);
  // Key texts leave the key file's code page for the Windows one.
  auto put = [&](int at, const char* text) {
    std::snprintf(bytes + at, 256, "%s", GameToWindows(text).c_str());
  };
  put(4, DbsGetKeycode(key));
  char name[256];
  GdkGetKeyName(key, name, 0, sizeof name);
  put(260, name);
  put(516, DbsGetRemark(key));
  return DbsGetKeyDataInfo(key, bytes + 772);
}

GDBASE_API int GdGetKeyView(int32_t, const int32_t* keys, void* lines, int32_t, int count) {
  constexpr size_t kLine = 1900;
  if (count > 20) count = 20;
  char* out = static_cast<char*>(lines);
  GdkFileAction(1);
  static char previous[kLine];
  for (int i = 0; i < count; ++i) {
    std::memset(out + i * kLine, 0, kLine);
    if (i == 0)
      std::memset(previous, 0, kLine);
    else
      std::memcpy(previous, out + (i - 1) * kLine, kLine);
    if (keys[i]) DbsGetHorViewLine(keys[i], out + i * kLine, previous);
  }
  GdkFileAction(0);
  return 1;
}

GDBASE_API int GdIndexCreateUpdate(int32_t file, const char* folder, int32_t b, int32_t c, int32_t update,
                                   GdIndexProgress* progress, int32_t user) {
  unsigned error = PlatformCreateFolder(folder);
  if (error != 0 && error != 183) {
    char title[32];
    std::snprintf(title, sizeof title, "Error %u", error);
    PlatformMessageBox(PlatformErrorText(error).c_str(), title, kIconStop);
    // No folder, no index: the caller hears of it (0 would read as done).
    return static_cast<int>(error);
  }
  return GdgIndexCreate(file, b, c, folder, update, progress, user);
}

GDBASE_API int GdIndexDelete(int32_t file, int kind, const char* folder) {
  if (kind != 21) return -1;
  return GdgIndexDelete(file, 0x4000, folder);
}

GDBASE_API int GdIndexSort(int32_t file, const char* folder, const int32_t* source, int32_t* target,
                           int32_t count, int field, int ascending) {
  int key = SortKeyForField(field);
  if (key < 0) return 1;
  if (key == 0) return 2;
  int32_t sorted = GdgIndexSort(file, source, target, count, key, ascending ? 1 : -2, folder);
  if (sorted == 0) return 3;
  if (sorted == -1 || sorted < count) return 4;
  return 0;
}

GDBASE_API GdGameBuffer GdAllocGameBuffer(void) {
  GdgGame* game = IGGameOpenGame();
  if (!game) PlatformMessageBox("Cannot allocate game buffer", "ERROR", kIconStop);
  return game;
}

GDBASE_API int GdFreeGameBuffer(GdGameBuffer game) {
  IGGameCloseGame(Game(game));
  return 1;
}

GDBASE_API int GdReadGameHeader(GdGameBuffer game, int32_t file, int32_t number) {
  ModuleLock hold;
  if (!GdgLoadGameHeader(Game(game), file, number)) return 0;
  IGGamePutSourceLoadnumber(Game(game), number);
  return 1;
}

GDBASE_API int GdReadGame(GdGameBuffer game, int32_t file, int32_t number) {
  ModuleLock hold;
  if (!GdgLoadGame(Game(game), file, number, 0)) return 0;
  IGGamePutSourceLoadnumber(Game(game), number);
  return 1;
}

GDBASE_API int GdWriteGame(GdGameBuffer game, int32_t file, int32_t* out) {
  ModuleLock hold;
  if (g_keyFile && g_keyFile == file && IDIsDatabaseGamefile(file))
    return GdkSaveToDatabase(Game(game), file, 0, 0, 1);
  return GdgWriteGame(Game(game), file, 0, out);
}

GDBASE_API int GdGetInitialPos(GdGameBuffer game, sPosition* out) {
  uint8_t board[kGdgBoardSize];
  int answer = GetInitialPosition(Game(game), out ? board : nullptr);
  if (out) LoadPositionFromGame(board, out, 1);
  return answer;
}

GDBASE_API int GdGetCurrentPos(GdGameBuffer game, sPosition* out) {
  if (!out || !game) return 0;
  LoadPositionFromGame(IGGameGetBoard(Game(game)), out, 0);
  return 1;
}

GDBASE_API int GdIsLegalPos(const sPosition* position) {
  return position ? CheckPositionLegal(*position) : 1;
}

GDBASE_API int GdGetMoves(GdGameBuffer game, uint16_t* out, int max) {
  if (max <= 0 || !game) return 0;
  int n = 0;
  for (GdgMove m = IGMoveGetNEXT(Game(game), IGGameGetFirstMove(Game(game))); m && n < max;
       m = IGMoveGetNEXT(Game(game), m)) {
    GdgMoveXY xy;
    IGMoveGetXY(Game(game), m, &xy);
    out[n++] = MakeMoveWord(xy.fromFile, xy.fromRank, xy.toFile, xy.toRank, xy.promotion);
  }
  return n;
}

GDBASE_API uint16_t GdGetNextMove(GdGameBuffer game) {
  GdgMove m = IGNextMove(Game(game));
  GdgMoveXY xy;
  if (!m || !IGMoveGetXY(Game(game), m, &xy)) return 0;
  return MakeMoveWord(xy.fromFile, xy.fromRank, xy.toFile, xy.toRank, xy.promotion);
}

GDBASE_API int GdPlayMove(sPosition* position, uint16_t move) {
  if (position) PlayMoveOnPosition(position, move);
  return 1;
}

GDBASE_API int GdPlayMoves(GdGameBuffer game, int n) { return PlayMoves(Game(game), n); }

GDBASE_API int GdGotoMove(GdGameBuffer game, int ply) {
  return PlayMoves(Game(game), ply - IGGameGetCM(Game(game)) + 1);
}

GDBASE_API int GdGetMoveInfo(const sPosition* position, uint16_t move) {
  return position ? GetMoveNotationFlags(*position, move) : 0;
}

GDBASE_API int GdMoveToText(uint16_t move, int descriptor, char* out, int style, const char* symbols) {
  return MoveFlagsToText(static_cast<uint8_t>(descriptor), move, out, style, symbols);
}

GDBASE_API int32_t GdClassifyGame(GdGameBuffer game, int ply, int* foundPly) {
  GdgGame* g = Game(game);
  int depth = DbsGetDatabaseDepth();
  int target = ply + 1 < depth ? ply + 1 : depth;
  PlayMoves(g, target - IGGameGetCM(g) + 1);
  int32_t key = 0;
  for (;;) {
    if (GdkFindPosition(IGGameGetBoard(g), &key) && key) break;
    key = 0;
    if (PlayMoves(g, -1) != 1) break;
  }
  if (foundPly) *foundPly = IGGameGetCM(g) - 1;
  return key;
}

GDBASE_API int GdClassifyMoves(GdGameBuffer game, int32_t* keys, int count) {
  GdgGame* g = Game(game);
  for (int i = 0; i < count; ++i) keys[i] = 0;
  if (IGGameGetStatusFlag(g, 1)) return 0;
  NewGameRewind(g);
  int depth = DbsGetDatabaseDepth();
  int limit = count < depth ? count : depth;
  int looked = 0;
  for (int i = 0; i < limit; ++i) {
    int32_t key = 0;
    if (GdkFindPosition(IGGameGetBoard(g), &key)) keys[i] = key;
    ++looked;
    if (PlayMoves(g, 1) != 1) break;
  }
  return looked;
}

GDBASE_API int32_t GdClassifyPosition(GdGameBuffer game) {
  int32_t key = 0;
  return GdkFindPosition(IGGameGetBoard(Game(game)), &key) ? key : 0;
}
