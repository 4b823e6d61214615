// Header cache: lookup through the last hit, fill from a cache hint,
// eviction by zones and compaction of the arena.
#include "headercache.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kEntryHead = sizeof(HeaderCacheEntry);
constexpr int kColumnTextSize = 256;

HeaderCacheEntry* At(GameHeaderCache* cache, uint32_t offset) {
  if (offset == kNoHeaderEntry) return nullptr;
  return reinterpret_cast<HeaderCacheEntry*>(cache->arena + offset);
}

uint32_t OffsetOf(const GameHeaderCache* cache, const HeaderCacheEntry* entry) {
  return static_cast<uint32_t>(reinterpret_cast<const unsigned char*>(entry) - cache->arena);
}

// Room for the largest entry (every column full) after the fill pointer.
bool HasRoom(const GameHeaderCache* cache) {
  uint32_t largest = static_cast<uint32_t>(cache->columnCount) * kColumnTextSize + 20;
  return cache->fill + kEntryHead + largest <= static_cast<uint32_t>(kHeaderCacheArenaSize);
}

// Reads one row's header into a new entry at the fill pointer.
HeaderCacheEntry* NewEntry(GameHeaderCache* cache, const HeaderCacheSource& source, int row, uint32_t next) {
  HeaderCacheEntry* entry = At(cache, cache->fill);
  entry->next = next;
  entry->game = source.rowGames[row];
  entry->row = row;
  char* text = reinterpret_cast<char*>(cache->arena + cache->fill + kEntryHead);
  bool read = GdReadGameHeader(source.game, source.file, entry->game) != 0;
  ++cache->headersRead;
  for (int c = 0; c < cache->columnCount; ++c) {
    if (read) {
      GdGetHeaderInfo(source.game, cache->columnIds[c], text, kColumnTextSize);
    } else {
      std::memcpy(text, "??", 3);
    }
    text += std::strlen(text) + 1;
  }
  uint32_t size = static_cast<uint32_t>(reinterpret_cast<unsigned char*>(text) - cache->arena) - cache->fill;
  uint32_t rounded = (size + 3u) & ~3u;
  std::memset(cache->arena + cache->fill + size, 0, rounded - size);
  entry->size = rounded;
  cache->fill += rounded;
  return entry;
}

// Removes every run of freed entries, shifting what follows down over it.
void Compact(GameHeaderCache* cache) {
  struct Run {
    uint32_t start;  // offsets of the run before compaction
    uint32_t end;
    uint32_t freed;  // bytes freed up to and including this run
  };
  std::vector<Run> runs;
  uint32_t freed = 0;
  for (uint32_t at = 0; at < cache->fill;) {
    HeaderCacheEntry* entry = At(cache, at);
    uint32_t size = entry->size;
    if (entry->game == 0) {
      if (!runs.empty() && runs.back().end == at) {
        runs.back().end += size;
      } else {
        runs.push_back({at, at + size, 0});
      }
      freed += size;
      runs.back().freed = freed;
    }
    at += size;
  }
  if (runs.empty()) return;
  // New offset of a live entry: less every run that lies before it.
  auto moved = [&runs](uint32_t offset) {
    if (offset == kNoHeaderEntry) return offset;
    auto it = std::upper_bound(runs.begin(), runs.end(), offset,
                               [](uint32_t o, const Run& r) { return o < r.end; });
    return it == runs.begin() ? offset : offset - (it - 1)->freed;
  };
  // Links first, while every entry still lies at its old offset.
  for (HeaderCacheEntry* e = At(cache, cache->head); e;) {
    uint32_t next = e->next;
    e->next = moved(next);
    e = At(cache, next);
  }
  cache->head = moved(cache->head);
  // Now move the bytes: each live stretch between runs slides down.
  uint32_t write = 0;
  uint32_t read = 0;
  for (const Run& run : runs) {
    if (run.start > read) {
      std::memmove(cache->arena + write, cache->arena + read, run.start - read);
      write += run.start - read;
    }
    read = run.end;
  }
  if (cache->fill > read) {
    std::memmove(cache->arena + write, cache->arena + read, cache->fill - read);
    write += cache->fill - read;
  }
  cache->fill = write;
  cache->lastHit = kNoHeaderEntry;
}

// Frees the entries outside the head zone, the window around the requested
// rows and the tail zone, then compacts the arena.
void Evict(GameHeaderCache* cache, int count, int first, int last) {
  int margin = cache->margin;
  int headEnd = std::min(margin, count);
  int windowStart = std::max(first - margin, headEnd);
  int windowEnd = std::max(windowStart, std::min(last + margin + 1, count));
  int tailStart = std::max(count - margin, windowEnd);
  if (windowStart <= headEnd && tailStart <= windowEnd) return;
  auto inGap = [&](int row) {
    return (row >= headEnd && row < windowStart) || (row >= windowEnd && row < tailStart);
  };
  HeaderCacheEntry* prev = nullptr;
  for (HeaderCacheEntry* e = At(cache, cache->head); e;) {
    HeaderCacheEntry* next = At(cache, e->next);
    if (inGap(e->row)) {
      if (prev) {
        prev->next = e->next;
      } else {
        cache->head = e->next;
      }
      e->game = 0;
    } else {
      prev = e;
    }
    e = next;
  }
  Compact(cache);
}

// One pass of the fill; false when the arena ran out of room.
bool FillPass(GameHeaderCache* cache, const HeaderCacheSource& source, int first, int last) {
  const int requestedFirst = first;
  const int requestedLast = last;
  const int count = source.rowCount;
  // Skip the cached prefix.
  HeaderCacheEntry* prev = nullptr;
  HeaderCacheEntry* e = At(cache, cache->head);
  while (e && e->row < first) {
    prev = e;
    e = At(cache, e->next);
  }
  while (e && e->row == first && first <= last) {
    prev = e;
    e = At(cache, e->next);
    ++first;
  }
  if (first > last) return true;
  // Trim the cached tail: a gapless run of entries that reaches `last`.
  int runStart = -1;
  int expect = -1;
  for (HeaderCacheEntry* x = e; x && x->row <= last; x = At(cache, x->next)) {
    if (x->row != expect) runStart = x->row;
    expect = x->row + 1;
  }
  if (runStart >= 0 && expect == last + 1) last = runStart - 1;
  // Batch: read at least margin + 1 rows at a time.
  if (last - first < cache->margin) {
    if (last == requestedLast) last = std::min(first + cache->margin, count - 1);
    if (last - first < cache->margin && first == requestedFirst) first = std::max(last - cache->margin, 0);
  }
  if (first != requestedFirst) {
    prev = nullptr;
    e = At(cache, cache->head);
    while (e && e->row < first) {
      prev = e;
      e = At(cache, e->next);
    }
  }
  for (int row = first; row <= last; ++row) {
    if (e && e->row == row) {
      prev = e;
      e = At(cache, e->next);
      continue;
    }
    if (!HasRoom(cache)) return false;
    HeaderCacheEntry* entry = NewEntry(cache, source, row, e ? OffsetOf(cache, e) : kNoHeaderEntry);
    if (prev) {
      prev->next = OffsetOf(cache, entry);
    } else {
      cache->head = OffsetOf(cache, entry);
    }
    prev = entry;
  }
  return true;
}

}  // namespace

void ResetHeaderCache(GameHeaderCache* cache, int margin) {
  cache->head = kNoHeaderEntry;
  cache->lastHit = kNoHeaderEntry;
  cache->fill = 0;
  cache->columnCount = 0;
  cache->margin = margin;
  cache->headersRead = 0;
}

void SetHeaderCacheColumns(GameHeaderCache* cache, const int32_t* ids) {
  int n = 0;
  while (n < kHeaderCacheMaxColumns && ids && ids[n] != 0) {
    cache->columnIds[n] = ids[n];
    ++n;
  }
  cache->columnCount = n;
}

void FillHeaderCache(GameHeaderCache* cache, const HeaderCacheSource& source, int first, int last) {
  const int count = source.rowCount;
  if (source.file == 0 || count <= 0 || !source.rowGames) return;
  if (first < 0 || first >= count) first = 0;
  if (last < 0 || last >= count) last = count - 1;
  // Each eviction frees every entry outside the zones, and a pass only reads
  // rows inside them, so a second shortage cannot free anything new.
  for (int round = 0; round < 3; ++round) {
    if (FillPass(cache, source, first, last)) return;
    Evict(cache, count, first, last);
    if (!HasRoom(cache)) return;
  }
}

const HeaderCacheEntry* FindCachedHeader(GameHeaderCache* cache, const HeaderCacheSource& source, int row) {
  if (source.file == 0) return nullptr;
  HeaderCacheEntry* hit = At(cache, cache->lastHit);
  if (hit) {
    if (hit->row == row) return hit;
    HeaderCacheEntry* next = At(cache, hit->next);
    if (next && next->row == row) {
      cache->lastHit = hit->next;
      return next;
    }
  }
  for (HeaderCacheEntry* e = At(cache, cache->head); e; e = At(cache, e->next)) {
    if (e->row == row) {
      cache->lastHit = OffsetOf(cache, e);
      return e;
    }
    if (e->row > row) break;
  }
  return nullptr;
}

const char* GetCachedHeaderText(const HeaderCacheEntry* entry, int column) {
  if (!entry) return "?";
  const char* text = reinterpret_cast<const char*>(entry + 1);
  const char* end = reinterpret_cast<const char*>(entry) + entry->size;
  for (int c = 0; c < column && text < end; ++c) text += std::strlen(text) + 1;
  // Past the last text there is only the next entry or unwritten arena.
  return text < end ? text : "";
}
