// The four searches with callbacks, and the header-text exports.
//
// The module lock is held only while games are read from the file; the
// caller's callback is never called with it held, so a callback may read
// or write games itself, or wait on a thread that does.
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "convert.h"
#include "gdbase.h"
#include "gdgame.h"
#include "gdkey.h"
#include "header_texts.h"
#include "platform.h"
#include "query.h"

using namespace gdbase;

namespace {

constexpr int32_t kReadBufferSize = 65536;
constexpr int32_t kBatchGames = 100;
constexpr auto kProgressGap = std::chrono::milliseconds(1000);

// The one search that runs: module-wide, as the key engine calls back
// without a user pointer.
struct SearchContext {
  GdSearchCallback* callback = nullptr;
  int32_t user = 0;
  int32_t total = 0;
  int32_t file = 0;
  GdgGame* game = nullptr;  // the pattern game, where matches are loaded
  uint8_t* buffer = nullptr;
  int32_t offsets[kBatchGames] = {};
};
SearchContext g_search;

int Report(uintptr_t code, int32_t a) {
  return g_search.callback ? g_search.callback(code, a, g_search.total, g_search.user) : 1;
}

// Bulk mode, game buffer and total; the first progress call.
bool BeginSearch(int32_t file, GdSearchCallback* callback, int32_t user, bool readBuffer) {
  g_search = SearchContext();
  g_search.callback = callback;
  g_search.user = user;
  g_search.file = file;
  GdStartBulkOperation(file, 1);
  g_search.game = IGGameOpenGame();
  g_search.total = GdgGetNumberOfGames(file);
  if (readBuffer) g_search.buffer = new (std::nothrow) uint8_t[kReadBufferSize];
  Report(0, 0);
  return g_search.game && (!readBuffer || g_search.buffer);
}

void EndSearch(int32_t file) {
  delete[] g_search.buffer;
  g_search.buffer = nullptr;
  Report(0, g_search.total);
  IGGameCloseGame(g_search.game);
  g_search.game = nullptr;
  GdEndBulkOperation(file);
}

// The pattern game holds the target position.
void SetPattern(const sPosition& position) {
  NewGameErase(g_search.game);
  if (!IsInitialPosition(position)) SetGameStart(g_search.game, position, 0);
  PatExactPosition(g_search.game);
}

// Runs through the file in batches; `examine` tells whether a game of the
// batch matches (and leaves it in the search's game buffer).
template <typename Examine>
void RunBatches(Examine examine) {
  auto last = std::chrono::steady_clock::now();
  for (int32_t first = 0; first < g_search.total;) {
    int32_t got;
    {
      ModuleLock hold;
      got =
          GdgReadGames(g_search.file, first, g_search.buffer, g_search.offsets, kReadBufferSize, kBatchGames);
    }
    if (got <= 0) return;
    for (int32_t i = 0; i < got; ++i) {
      int32_t number = first + i + 1;
      int answer = 1;
      if (examine(g_search.buffer + g_search.offsets[i], number)) {
        answer = Report(reinterpret_cast<uintptr_t>(g_search.game), number);
      } else if (std::chrono::steady_clock::now() - last > kProgressGap) {
        answer = Report(0, number);
        last = std::chrono::steady_clock::now();
      }
      if (!answer) return;
    }
    first += got;
  }
}

int KeyGameFound(int32_t number) { return Report(1, number); }

int KeyMoveFound(int32_t number) {
  int32_t got;
  {
    ModuleLock hold;
    got = GdgReadGames(g_search.file, number - 1, g_search.buffer, g_search.offsets, kReadBufferSize, 1);
  }
  if (got <= 0 || UnpackGame(g_search.game, g_search.buffer + g_search.offsets[0], 2) <= 0) return 1;
  return Report(reinterpret_cast<uintptr_t>(g_search.game), number);
}

}  // namespace

GDBASE_API int GdSearchKeyGames(int32_t file, int32_t key, GdSearchCallback* callback, int32_t user) {
  if (BeginSearch(file, callback, user, false)) DbsCBSearchKey(key, 2, 1, KeyGameFound);
  EndSearch(file);
  return 0;
}

GDBASE_API int GdSearchKeyMoves(int32_t file, int32_t key, const sPosition* position,
                                GdSearchCallback* callback, int32_t user) {
  if (BeginSearch(file, callback, user, true) && position) {
    SetPattern(*position);
    DbsCBSearchKey(key, 2, 1, KeyMoveFound);
  }
  EndSearch(file);
  return 0;
}

GDBASE_API int GdSearchPosGames(int32_t file, const sPosition* position, int includeFlagged,
                                GdSearchCallback* callback, int32_t user) {
  sPosition target = position ? *position : InitialPosition();
  CheckCastlingRights(&target);
  CheckEnPassant(&target, 1);
  if (BeginSearch(file, callback, user, true)) {
    SetPattern(target);
    RunBatches([&](const uint8_t* data, int32_t) {
      return UnpackGame(g_search.game, data, 2) > 0 &&
             (includeFlagged || !IGGameGetStatusFlag(g_search.game, 0));
    });
  }
  EndSearch(file);
  return 0;
}

GDBASE_API int GdSearchGameHdrs(int32_t file, const SearchQuery* query, GdSearchCallback* callback,
                                int32_t user) {
  if (!query) return 0;
  if (query->kind == 2) return GdSearchKeyGames(file, query->key, callback, user);
  if (query->kind == 4 && PositionHasPieces(query->position))
    return GdSearchPosGames(file, &query->position, query->includeFlagged, callback, user);
  if (query->kind == 16) return GdSearchKeyMoves(file, query->key, &query->position, callback, user);
  CompiledQuery compiled = CompileQuery(*query);
  if (BeginSearch(file, callback, user, true)) {
    RunBatches([&](const uint8_t* data, int32_t number) {
      if (!GetGameHeader(g_search.game, data, 0, 1)) return false;
      IGGamePutSourceLoadnumber(g_search.game, number);
      return MatchQuery(compiled, g_search.game);
    });
  }
  EndSearch(file);
  return 0;
}

GDBASE_API int GdIsEmptyQuery(const SearchQuery* query) { return query ? QueryIsEmpty(*query) : 1; }

GDBASE_API int GdGetHeaderInfo(GdGameBuffer game, int field, char* text, int size) {
  if (text && size > 0) text[0] = 0;
  std::string value;
  bool ok = HeaderText(static_cast<GdgGame*>(game), field, &value);
  if (text && size > 0) {
    size_t n = value.size() < static_cast<size_t>(size - 1) ? value.size() : static_cast<size_t>(size - 1);
    std::memcpy(text, value.data(), n);
    text[n] = 0;
  }
  return ok ? 1 : 0;
}

GDBASE_API int GdGetHeaderInfoInt(GdGameBuffer game, int field, int32_t* value) {
  return HeaderNumber(static_cast<GdgGame*>(game), field, value) ? 1 : 0;
}

GDBASE_API int GdPutHeaderInfo(GdGameBuffer game, int field, const char* text) {
  return PutHeaderText(static_cast<GdgGame*>(game), field, text) ? 1 : 0;
}
