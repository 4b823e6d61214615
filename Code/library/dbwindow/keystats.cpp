#include "keystats.h"

#include <cstring>
#include <new>
#include <vector>

#include "keymove.h"

namespace {

// The key information record: texts, then the data block from byte 772.
struct KeyInfo {
  char head[772];
  int32_t keysBelow, gamesBelow, children, gamesHere, parent, depth;
  int32_t whiteWins, draws, blackWins, whiteRating, blackRating;
  char rest[816 - 772 - 44];
};
static_assert(sizeof(KeyInfo) == 816, "key information record");

constexpr int kMaxChildKeys = 50;

void CopyText(char* out, const std::string& text) {
  std::memset(out, 0, 8);
  std::memcpy(out, text.data(), text.size() < 7 ? text.size() : 7);
}

void CloseAll(GdGameBuffer game, int32_t file) {
  if (game) GdFreeGameBuffer(game);
  if (file) {
    GdCloseDatabase(file);
    GdCloseGamefile(file);
  }
}

// The module hands over a matching game rewound to its start: play it on to
// the searched position, where the move played from it is the next one.
bool SeekPosition(GdGameBuffer game, const sPosition& target) {
  sPosition at;
  for (int ply = 0; ply < 1024; ++ply) {
    if (GdGetCurrentPos(game, &at) && at.whiteToMove == target.whiteToMove &&
        std::memcmp(at.squares, target.squares, sizeof at.squares) == 0)
      return true;
    if (GdPlayMoves(game, 1) != 1) return false;
  }
  return false;
}

}  // namespace

// Owned by the job while it collects; released by the worker at its end.
struct KeyStatsBlock {
  GdGameBuffer game = nullptr;
  int32_t file = 0;
  OpeningMoveEntry* entries = nullptr;
  int used = 0;
  int capacity = 0;
  uint32_t tag = 0;
  StatisticsSink* sink = nullptr;
  // Per entry while collecting: the module's move word and the number of
  // games with a white and a black rating.
  std::vector<uint16_t> words;
  std::vector<uint32_t> whiteRated, blackRated;
};

// The search job's collector for kind 16 (see searchjob.cpp).
int CollectStatistics(SearchJob* job, uintptr_t code, int32_t game) {
  KeyStatsBlock* block = job->stats;
  if (!block) return 0;
  if (code != 0) {
    GdGameBuffer found = reinterpret_cast<GdGameBuffer>(code);
    uint16_t move = SeekPosition(found, job->query.position) ? GdGetNextMove(found) : 0;
    if (move != 0) {
      int at = 0;
      while (at < block->used && block->words[at] != move) ++at;
      if (at == block->used && block->used < block->capacity) {
        OpeningMoveEntry& e = block->entries[block->used++];
        std::memset(&e, 0, sizeof e);
        block->words[at] = move;
        block->whiteRated[at] = block->blackRated[at] = 0;
      }
      if (at < block->used) {
        OpeningMoveEntry& e = block->entries[at];
        ++e.games;
        int32_t value = 0;
        if (GdGetHeaderInfoInt(found, 9, &value) && value > 0) {
          e.whiteRating += static_cast<uint32_t>(value);
          ++block->whiteRated[at];
        }
        value = 0;
        if (GdGetHeaderInfoInt(found, 10, &value) && value > 0) {
          e.blackRating += static_cast<uint32_t>(value);
          ++block->blackRated[at];
        }
        value = 0;
        GdGetHeaderInfoInt(found, 16, &value);
        if (value == 1) ++e.whiteWins;
        if (value == 3) ++e.draws;
        if (value == 2) ++e.blackWins;
      }
    }
  }
  return game == job->total || job->stop || block->used >= block->capacity ? 0 : 1;
}

// Run by the worker once the module's search has returned, so the file and
// the key database are closed only when the module is done with them.
void FinishStatistics(SearchJob* job) {
  KeyStatsBlock* block = job->stats;
  if (!block) return;
  job->stats = nullptr;
  CloseAll(block->game, block->file);
  for (int i = 0; i < block->used; ++i) {
    OpeningMoveEntry& e = block->entries[i];
    if (block->whiteRated[i]) e.whiteRating /= block->whiteRated[i];
    if (block->blackRated[i]) e.blackRating /= block->blackRated[i];
    CopyText(e.move, GameMoveCoordinates(block->words[i]));
    e.size = sizeof(OpeningMoveEntry);
    e.fromKey = 0;
    e.tag = block->tag;
  }
  if (block->sink) block->sink->StatisticsDone(block->tag, block->used);
  delete block;
}

int FindOpeningKeyMoves(SearchJob* job, SearchJob* listJob, const char* databasePath, StatisticsSink* sink,
                        void* gameText, int ply, OpeningMoveEntry* entries, int* count, uint32_t tag) {
  int capacity = count ? *count : 0;
  if (count) *count = 0;
  if (entries)
    for (int i = 0; i < capacity; ++i) entries[i].tag = 0;
  if (capacity <= 0 || ply < 0 || !gameText || !entries || !job ||
      entries[0].size != sizeof(OpeningMoveEntry))
    return 10;
  size_t length = databasePath ? std::strlen(databasePath) : 0;
  if (length == 0 || databasePath[length - 1] == '\\') return 11;
  // One worker at a time: a running statistics job ends before the file is
  // opened again; the list's search is stopped with its hits kept.
  WaitForSearchJob(job);
  if (listJob) WaitForSearchJob(listJob);
  int32_t file = GdOpenGamefile(databasePath);
  if (!file) return 12;
  if (!GdOpenDatabase(databasePath, file)) {
    GdCloseGamefile(file);
    return 13;
  }
  GdGameBuffer game = GdAllocGameBuffer();
  if (!game || GdMemReadPgnGame(game, gameText, 0, "NBRQK") != 0) {
    CloseAll(game, file);
    return 14;
  }
  int32_t flags = 0;
  if (GdGetHeaderInfoInt(game, 21, &flags) && (flags & 2)) {
    CloseAll(game, file);
    return 0;
  }
  int foundPly = -1;
  int32_t key = GdClassifyGame(game, ply, &foundPly);
  KeyInfo info;
  std::memset(&info, 0, sizeof info);
  GdGetKeyInfo(key, &info);
  if (foundPly == ply && info.children > 0) {
    int32_t children[kMaxChildKeys] = {};
    int n = GdGetChildKeys(key, children, kMaxChildKeys);
    int filled = 0;
    for (int i = 0; i < n && i < kMaxChildKeys && filled < capacity; ++i) {
      KeyMoveRecord move = {0, 0};
      if (!GdGetKeyMove(children[i], &move)) continue;
      KeyInfo child;
      std::memset(&child, 0, sizeof child);
      GdGetKeyInfo(children[i], &child);
      OpeningMoveEntry& e = entries[filled++];
      CopyText(e.move, KeyMoveCoordinates(move.word, move.flags));
      e.fromKey = 1;
      e.games = static_cast<uint32_t>(child.gamesBelow);
      e.whiteWins = static_cast<uint32_t>(child.whiteWins);
      e.draws = static_cast<uint32_t>(child.draws);
      e.blackWins = static_cast<uint32_t>(child.blackWins);
      e.whiteRating = static_cast<uint32_t>(child.whiteRating);
      e.blackRating = static_cast<uint32_t>(child.blackRating);
      e.tag = tag;
    }
    *count = filled;
    CloseAll(game, file);
    return 0;
  }
  if (info.gamesBelow > 0) {
    GdGotoMove(game, ply);
    SearchQuery query;
    std::memset(&query, 0, sizeof query);
    query.kind = 16;
    query.key = key;
    GdGetCurrentPos(game, &query.position);
    ResetSearchJob(job, GdGetGamesCount(file));
    KeyStatsBlock* block = new (std::nothrow) KeyStatsBlock;
    if (block) {
      try {
        block->words.resize(capacity);
        block->whiteRated.resize(capacity);
        block->blackRated.resize(capacity);
      } catch (const std::bad_alloc&) {
        delete block;
        block = nullptr;
      }
    }
    if (!block) {
      CloseAll(game, file);
      return 15;
    }
    block->game = game;
    block->file = file;
    block->entries = entries;
    block->capacity = capacity;
    block->tag = tag;
    block->sink = sink;
    job->stats = block;
    if (StartSearchJob(job, file, query)) return 1;
    job->stats = nullptr;
    delete block;
    CloseAll(game, file);
    return 15;
  }
  CloseAll(game, file);
  return 0;
}
