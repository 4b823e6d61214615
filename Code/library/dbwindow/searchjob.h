// Database search jobs: one worker thread at a time runs the module's header
// search while the game list fills from the hit list as hits arrive; it
// talks to the window only through a message sink and is stopped by a flag
// and a blocking wait.
//
// The game list's job and the coach's opening statistics job are separate
// records: a statistics request stops a running list search but leaves its
// hits and counts as they are, so the list never shows other games' rows.
//
// Interface: SearchSink, SearchJob, ResetSearchJob, FillAllGamesHitList,
// GetHitGameNumber, IsSearchRunning, StartSearchJob, WaitForSearchJob,
// KeyMoveCoordinates, GameMoveCoordinates.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gdbase.h"

// Called on the worker thread; the window's side posts these on as messages.
struct SearchSink {
  virtual ~SearchSink() = default;
  // Search progress: 1 at the start, 0 in between, 2 at the end.
  virtual void SearchProgress(int stage) = 0;
};

// Milliseconds from any fixed start.
using SearchClock = std::function<uint64_t()>;

constexpr int32_t kHitListStep = 5000;
constexpr uint64_t kProgressInterval = 1001;  // ms between two progress messages

struct SearchJob {
  SearchJob() = default;
  SearchJob(const SearchJob&) = delete;
  SearchJob& operator=(const SearchJob&) = delete;
  ~SearchJob();  // stops and waits for its worker
  SearchSink* notify = nullptr;
  std::atomic<int32_t> currentGame{0};
  std::atomic<int32_t> hitCount{0};
  std::atomic<int32_t> capacity{0};  // 0: no list, row i shows game i + 1
  int32_t total = 0;
  int32_t lastSort = 0;
  std::vector<uint32_t> hits;  // written by the worker under `hitsLock`
  mutable std::mutex hitsLock;
  std::thread worker;
  std::atomic<bool> running{false};
  std::atomic<bool> stop{false};
  // What the worker searches.
  int32_t file = 0;
  SearchQuery query{};
  // Progress throttle.
  SearchClock clock;
  uint64_t lastProgress = 0;
  bool endPosted = false;
  // The statistics job's block while it collects (kind 16).
  struct KeyStatsBlock* stats = nullptr;
  // Largest single growth of the hit list (for tests and measurements).
  int32_t largestGrowth = 0;
};

// Waits for a running worker first.
void ResetSearchJob(SearchJob* job, int32_t count);
bool FillAllGamesHitList(SearchJob* job, int32_t count);
uint32_t GetHitGameNumber(const SearchJob* job, int32_t row);
bool IsSearchRunning(const SearchJob* job);
// Starts the worker over `file` with a copy of `query`; false when no worker
// was started (no games to search, no memory for the list, or another job's
// worker could not be stopped).
bool StartSearchJob(SearchJob* job, int32_t file, const SearchQuery& query);
// Sets the stop flag and waits for the worker's end.
void WaitForSearchJob(SearchJob* job);

// What the Search button of the query and position pages led to.
enum class DatabaseSearchStart {
  kStarted,     // the job runs; the list fills from its hits
  kNotStarted,  // nothing to search or no memory for the hit list
  kShowNone,    // an empty query of kind 8: no rows, found 0
  kShowAll,     // any other empty query: every game, no found count
};
// Waits for the job (the window then drains its progress messages), resets
// it with the game count and starts it when the module says the query asks
// something. The window resets the header cache and the list around it.
DatabaseSearchStart StartDatabaseSearch(SearchJob* job, SearchSink* notify, int32_t file, int32_t games,
                                        const SearchQuery& query);

// Coordinate texts of the opening statistics ("e2e4", "e7e8N").
std::string KeyMoveCoordinates(uint16_t word, uint8_t flags);
std::string GameMoveCoordinates(uint16_t move);
