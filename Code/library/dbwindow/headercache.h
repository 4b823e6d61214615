// The game list's header cache: a fixed arena of header texts, one entry per
// list row, linked in row order, filled from the list's cache hints and
// thinned out around the visible rows when the arena is full.
//
// Interface: GameHeaderCache, HeaderCacheSource, ResetHeaderCache,
// SetHeaderCacheColumns, FillHeaderCache, FindCachedHeader,
// GetCachedHeaderText.
#pragma once

#include <cstdint>

#include "gdbase.h"

constexpr int kHeaderCacheArenaSize = 65536;
constexpr int kHeaderCacheMaxColumns = 32;
constexpr uint32_t kNoHeaderEntry = 0xFFFFFFFFu;

// Entry head, placed in the arena; the texts follow it, one zero-terminated
// text per column. Links are arena offsets so the head is 16 bytes on every
// target and compaction only has to shift numbers.
struct HeaderCacheEntry {
  uint32_t next;  // offset of the following entry in row order, or kNoHeaderEntry
  int32_t game;   // game number; 0 marks an entry freed by eviction
  int32_t row;    // list row
  uint32_t size;  // whole entry, head and texts, rounded up to 4 bytes
};

// Where the cache reads from: the window's game file and game buffer and the
// game list's row map (row -> game number).
struct HeaderCacheSource {
  int32_t file = 0;  // 0: no database open
  GdGameBuffer game = nullptr;
  const int32_t* rowGames = nullptr;
  int32_t rowCount = 0;
};

struct GameHeaderCache {
  int32_t margin;
  int32_t columnIds[kHeaderCacheMaxColumns];
  int32_t columnCount;
  uint32_t head;
  uint32_t lastHit;
  uint32_t fill;
  alignas(4) unsigned char arena[kHeaderCacheArenaSize];
  // Headers read since the last reset (for tests and measurements).
  int32_t headersRead;
};

void ResetHeaderCache(GameHeaderCache* cache, int margin);
// `ids` is zero-terminated; at most 32 are taken.
void SetHeaderCacheColumns(GameHeaderCache* cache, const int32_t* ids);
void FillHeaderCache(GameHeaderCache* cache, const HeaderCacheSource& source, int first, int last);
const HeaderCacheEntry* FindCachedHeader(GameHeaderCache* cache, const HeaderCacheSource& source, int row);
// The column-th text of an entry; "" past its last text, "?" for no entry.
const char* GetCachedHeaderText(const HeaderCacheEntry* entry, int column);
