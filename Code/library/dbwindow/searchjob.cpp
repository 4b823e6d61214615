#include "searchjob.h"

#include <algorithm>
#include <chrono>
#include <new>

// The opening statistics' collector and its end (keystats.cpp).
int CollectStatistics(SearchJob* job, uintptr_t code, int32_t game);
void FinishStatistics(SearchJob* job);

namespace {

// The module's search callback carries a 32-bit user value, too small for a
// pointer on 64-bit targets: the running job is module-wide (one at a time).
std::mutex g_workerLock;  // held while a worker is started or waited for
std::atomic<SearchJob*> g_running{nullptr};

uint64_t SteadyMilliseconds() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

void Progress(SearchJob* job, int32_t game) {
  if (!job->notify) return;
  uint64_t now = job->clock ? job->clock() : SteadyMilliseconds();
  if (game == 0 || game == job->total) {
    // A match in the last game is followed by the module's own last call:
    // the window hears of the end once.
    if (game != 0 && job->endPosted) return;
    job->endPosted = game != 0;
    job->notify->SearchProgress(game == 0 ? 1 : 2);
    job->lastProgress = now;
  } else if (now - job->lastProgress >= kProgressInterval) {
    job->notify->SearchProgress(0);
    job->lastProgress = now;
  }
}

int CollectHits(uintptr_t code, int32_t game, int32_t, int32_t) {
  SearchJob* job = g_running.load();
  if (!job) return 0;
  job->currentGame = game;
  bool full = false;
  {
    std::lock_guard<std::mutex> hold(job->hitsLock);
    int32_t capacity = job->capacity;
    if (code != 0 && job->hitCount < capacity) {
      job->hits[job->hitCount] = static_cast<uint32_t>(game);
      job->hitCount = job->hitCount + 1;
    }
    full = job->hitCount >= capacity;
    if (full && game < job->total) {
      int32_t step = std::min(job->total - capacity, kHitListStep);
      try {
        job->hits.resize(static_cast<size_t>(capacity) + step);
        job->capacity = capacity + step;
        job->largestGrowth = std::max(job->largestGrowth, step);
        full = false;
      } catch (const std::bad_alloc&) {
        // The search ends with the hits found so far.
      }
    }
  }
  Progress(job, game);
  return full || game == job->total || job->stop ? 0 : 1;
}

int CollectForStatistics(uintptr_t code, int32_t game, int32_t, int32_t) {
  SearchJob* job = g_running.load();
  if (!job) return 0;
  job->currentGame = game;
  return CollectStatistics(job, code, game);
}

void RunWorker(SearchJob* job) {
  bool statistics = job->query.kind == 16;
  GdSearchGameHdrs(job->file, &job->query, statistics ? CollectForStatistics : CollectHits, 0);
  if (statistics) FinishStatistics(job);
  g_running = nullptr;
  job->running = false;
}

}  // namespace

SearchJob::~SearchJob() { WaitForSearchJob(this); }

void WaitForSearchJob(SearchJob* job) {
  std::lock_guard<std::mutex> hold(g_workerLock);
  if (job->worker.joinable()) {
    job->stop = true;
    job->worker.join();
  }
  job->running = false;
}

void ResetSearchJob(SearchJob* job, int32_t count) {
  WaitForSearchJob(job);
  std::lock_guard<std::mutex> hold(job->hitsLock);
  job->hitCount = count;
  job->total = count;
  job->capacity = 0;
  std::vector<uint32_t>().swap(job->hits);
  job->lastSort = 0;
  job->currentGame = 0;
  job->largestGrowth = 0;
}

bool FillAllGamesHitList(SearchJob* job, int32_t count) {
  std::lock_guard<std::mutex> hold(job->hitsLock);
  try {
    job->hits.resize(static_cast<size_t>(std::max(count, 0)));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int32_t i = 0; i < count; ++i) job->hits[i] = static_cast<uint32_t>(i + 1);
  job->capacity = job->total = job->hitCount = job->currentGame = count;
  return true;
}

uint32_t GetHitGameNumber(const SearchJob* job, int32_t row) {
  std::lock_guard<std::mutex> hold(job->hitsLock);
  if (job->capacity == 0) return static_cast<uint32_t>(row + 1);
  if (row < 0 || row >= job->hitCount || row >= static_cast<int32_t>(job->hits.size())) return 1;
  return job->hits[row];
}

bool IsSearchRunning(const SearchJob* job) { return job->running; }

bool StartSearchJob(SearchJob* job, int32_t file, const SearchQuery& query) {
  std::lock_guard<std::mutex> hold(g_workerLock);
  // One worker at a time: another job's worker is stopped first; its hits
  // and counts stay as they are.
  if (SearchJob* other = g_running.load()) {
    other->stop = true;
    if (other->worker.joinable()) other->worker.join();
  }
  if (job->worker.joinable()) job->worker.join();
  {
    std::lock_guard<std::mutex> lists(job->hitsLock);
    job->hitCount = 0;
    if (job->capacity == 0) {
      int32_t capacity = std::min(job->total, kHitListStep);
      try {
        job->hits.assign(static_cast<size_t>(std::max(capacity, 0)), 0);
      } catch (const std::bad_alloc&) {
        return false;
      }
      job->capacity = capacity;
    }
  }
  job->file = file;
  job->query = query;
  job->stop = false;
  job->endPosted = false;
  job->currentGame = 0;
  if (job->total == 0) return false;
  g_running = job;
  job->running = true;
  try {
    job->worker = std::thread(RunWorker, job);
  } catch (...) {
    g_running = nullptr;
    job->running = false;
    return false;
  }
  return true;
}

DatabaseSearchStart StartDatabaseSearch(SearchJob* job, SearchSink* notify, int32_t file, int32_t games,
                                        const SearchQuery& query) {
  ResetSearchJob(job, games);
  if (GdIsEmptyQuery(&query) == 0) {
    job->notify = notify;
    return StartSearchJob(job, file, query) ? DatabaseSearchStart::kStarted
                                            : DatabaseSearchStart::kNotStarted;
  }
  if (query.kind == 8) {
    job->hitCount = 0;
    return DatabaseSearchStart::kShowNone;
  }
  return DatabaseSearchStart::kShowAll;
}

std::string KeyMoveCoordinates(uint16_t word, uint8_t flags) {
  int from = word & 0x3F, to = (word >> 6) & 0x3F;
  std::string text = {static_cast<char>('a' + from % 8), static_cast<char>('1' + from / 8),
                      static_cast<char>('a' + to % 8), static_cast<char>('1' + to / 8)};
  if ((flags & 1) == 0 && ((flags >> 2) & 3) == 3) {
    static const char kPieces[8] = {0, 'N', 'B', 'R', 0, 0, 0, 0};
    char piece = kPieces[(word >> 13) & 7];
    if (piece) text += piece;
  }
  return text;
}

std::string GameMoveCoordinates(uint16_t move) {
  int from = move & 0x3F, to = (move >> 8) & 0x3F;
  std::string text = {static_cast<char>('a' + from % 8), static_cast<char>('1' + from / 8),
                      static_cast<char>('a' + to % 8), static_cast<char>('1' + to / 8)};
  static const char kPieces[4] = {0, 'R', 'B', 'N'};
  if (char piece = kPieces[(move >> 14) & 3]) text += piece;
  return text;
}
