// Corvane engine core: the transposition table and the key words.
//
// Interface: TransInit, TransClear, TransProbe, TransStore, TransSetHash
// (board.h), BuildRandTable, TransClusters.
#pragma once

#include "board.h"

namespace corvane {

// Size requests are clamped to this range; a failed allocation retries with
// half the size down to the minimum.
constexpr long long kTransMinBytes = 4096;
constexpr long long kTransMaxBytes = 1LL << 30;

#pragma pack(push, 2)
struct TransEntry {
  u32 check;  // key2
  u8 from, to;
  u8 flags;  // 0-2 budget, 0x10 upper bound, 0x20 lower bound, 0x40 threat, 0x80 extended best move
  i8 depth;  // limit - ply, -100 when empty
  i16 score;
};
#pragma pack(pop)
static_assert(sizeof(TransEntry) == 10, "hash entry is 10 bytes");

// The search's test-search counters: [0] raised for a whole singular-reply
// test, [1] around its shallow searches (no cuts, no stores).
extern int g_testSearch[2];
// Whether the table may cut (the ttu parameter).
extern int g_transUse;

void BuildRandTable();
// Sets the table size; returns the description text when the table was
// (re)allocated (the caller then empties it) and nullptr when the size is the
// current one.
const char* TransInit(long long bytes);
u32 TransClusters();
long long TransBytes();
void TransClear(int mode);  // 0 empty every entry, else clear the bound bits only
u32 TransIndex(const SearchBoard& bd);
TransEntry* TransCluster(const SearchBoard& bd);

// Probe: a cutting score, or kNoValue; always supplies the move hint and threat flag.
i32 TransProbe(const SearchBoard& bd, int ply, int limit, int alpha, int beta, int budget, u32* hint,
               bool* threat);
void TransStore(const SearchBoard& bd, int ply, int limit, int alpha, int beta, int budget, bool threat,
                EngineMove best, int score);

}  // namespace corvane
