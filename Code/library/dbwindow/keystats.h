// Opening-move statistics for the coach: which moves were played from a
// game's position in the database's games, with results and average ratings;
// answered at once from the opening keys when the position is a key's, else
// collected from the games by a search job of its own.
//
// Interface: OpeningMoveEntry, StatisticsSink, FindOpeningKeyMoves.
#pragma once

#include <cstdint>

#include "searchjob.h"

struct OpeningMoveEntry {
  uint32_t size;     // 44; the caller sets it in every entry
  uint32_t tag;      // the caller's tag, in every filled entry
  uint32_t fromKey;  // 1 filled from the opening keys, 0 collected from games
  char move[8];      // "e2e4", a fifth letter for an under-promotion
  uint32_t games;
  uint32_t whiteWins;
  uint32_t draws;
  uint32_t blackWins;
  uint32_t whiteRating;  // average over the games that have one
  uint32_t blackRating;
};
static_assert(sizeof(OpeningMoveEntry) == 44, "the coach's entry is 44 bytes");

// Called on the worker thread when collected statistics are complete
// (the coach's window takes it as message 0x830D).
struct StatisticsSink {
  virtual ~StatisticsSink() = default;
  virtual void StatisticsDone(uint32_t tag, int used) = 0;
};

// Results: 0 done (entries filled from the keys, or none), 1 a collecting
// job started (its end reaches `sink`), 10 bad request, 11 no database
// chosen, 12 the file does not open, 13 no key information, 14 the game text
// does not read, 15 the job did not start.
//
// `job` is the statistics job's own record; `listJob`, the game list's, is
// only stopped (its hits and counts stay). `gameText` is the module's
// global-memory handle of PGN text and stays the caller's.
int FindOpeningKeyMoves(SearchJob* job, SearchJob* listJob, const char* databasePath, StatisticsSink* sink,
                        void* gameText, int ply, OpeningMoveEntry* entries, int* count, uint32_t tag);
