// Corvane engine core: transposition table with clusters of four entries,
// a prime number of clusters and depth-preferred replacement with one
// always-replaced slot (entry 3).  Mate scores are stored relative to the node.
#include "trans.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace corvane {

int g_testSearch[2] = {0, 0};
int g_transUse = 1;

namespace {
TransEntry* g_table = nullptr;
u32 g_clusters = 0;
long long g_bytes = 0;
char g_text[100];
bool g_randReady = false;

bool IsPrime(u32 n) {
  if (n < 2) return false;
  if (n % 2 == 0) return n == 2;
  for (u32 d = 3; d <= n / d; d += 2)
    if (n % d == 0) return false;
  return true;
}
}  // namespace

void BuildRandTable() {
  if (g_randReady) return;
  u32 x = 0x01234567;
  for (int w = 0; w < 2; ++w)
    for (int p = 0; p < 12; ++p)
      for (int s = 0; s < 80; ++s) {
        x = x * 0xBB40E62Du + 1;
        u32 x1 = x;
        x = x * 0xBB40E62Du + 1;
        g_rand[w][p][s] = u32(i32(x1) >> 16) ^ x;
      }
  g_randReady = true;
}

const char* TransInit(long long bytes) {
  if (bytes < kTransMinBytes) bytes = kTransMinBytes;
  if (bytes > kTransMaxBytes) bytes = kTransMaxBytes;
  if (bytes == g_bytes && g_table) return nullptr;
  for (long long want = bytes;; want /= 2) {
    if (want < kTransMinBytes) FatalError("TransInit: out of mem");
    u32 n = u32(want / 40);
    while (!IsPrime(n)) --n;
    void* block = std::malloc(size_t(n) * sizeof(TransEntry) * 4);
    if (!block) continue;
    std::free(g_table);
    g_table = static_cast<TransEntry*>(block);
    g_clusters = n;
    g_bytes = bytes;
    break;
  }
  int n =
      std::snprintf(g_text, sizeof g_text, "TT = %6u x %d @ %p", g_clusters, 4, static_cast<void*>(g_table));
  std::snprintf(g_text + n, sizeof g_text - n, " = %8u byte = %5u kB", g_clusters * 40u,
                g_clusters * 40u / 1024u);
  BuildRandTable();
  TransClear(0);
  return g_text;
}

u32 TransClusters() { return g_clusters; }
long long TransBytes() { return g_bytes; }

void TransClear(int mode) {
  if (g_table) {
    size_t count = size_t(g_clusters) * 4;
    if (mode == 0) {
      for (size_t i = 0; i < count; ++i) g_table[i] = TransEntry{0, 0, 0, 0, -100, 0};
    } else {
      for (size_t i = 0; i < count; ++i) g_table[i].flags &= u8(~0x30);
    }
  }
  g_testSearch[1] = 0;
}

u32 TransIndex(const SearchBoard& bd) { return (bd.key1 ^ (bd.Packed() & 0x1FFF00)) % g_clusters; }

TransEntry* TransCluster(const SearchBoard& bd) { return g_table + size_t(TransIndex(bd)) * 4; }

void TransSetHash(SearchBoard& bd) {
  if (!g_randReady) FatalError("TransSetHash: RandTable unset");
  bd.key1 = bd.key2 = bd.pkey = 0;
  const u8* b = bd.sq();
  for (int s = 0; s < 80; ++s) {
    u8 c = b[s];
    if (c == kRim || c == kEmpty) continue;
    int p = PieceIndex(c);
    bd.key1 ^= g_rand[0][p][s];
    bd.key2 ^= g_rand[1][p][s];
    if (p <= 1) bd.pkey ^= g_rand[0][p][s];
  }
}

i32 TransProbe(const SearchBoard& bd, int ply, int limit, int alpha, int beta, int budget, u32* hint,
               bool* threat) {
  *hint = 0;
  *threat = false;
  if (!g_table) return kNoValue;
  TransEntry* c = TransCluster(bd);
  TransEntry* e = nullptr;
  for (int i = 3; i >= 0; --i)
    if (c[i].check == bd.key2) {
      e = &c[i];
      break;
    }
  if (!e) return kNoValue;
  *hint = u32(e->from) << 24 | e->to;
  if (e->flags & 0x80) *hint |= 0x800000;
  if (e->flags & 0x40) *threat = true;
  if (g_testSearch[1]) return kNoValue;
  int depth = limit - ply;
  int s = e->score;
  if (s >= kMateBound) {
    s -= 4 * ply;
    if (s >= beta && (e->flags & 0x20)) {
      if (depth > e->depth) e->depth = i8(depth);
      if (g_transUse) return s;
    }
    return kNoValue;
  }
  if (s < -(kMateBound - 1)) {
    s += 4 * ply;
    if (alpha >= s && (e->flags & 0x10)) {
      if (depth > e->depth) e->depth = i8(depth);
      if (g_transUse) return s;
    }
    return kNoValue;
  }
  int need = budget - (e->flags & 7);
  if (need < 0) need = 0;
  if (g_transUse && e->depth >= depth + need &&
      (((e->flags & 0x20) && s >= beta) || ((e->flags & 0x10) && s <= alpha)))
    return s;
  return kNoValue;
}

void TransStore(const SearchBoard& bd, int ply, int limit, int alpha, int beta, int budget, bool threat,
                EngineMove best, int score) {
  if (g_testSearch[1] || !g_table) return;
  TransEntry n;
  n.check = bd.key2;
  n.flags = u8((budget & 7) | (score > alpha ? 0x20 : 0) | (score < beta ? 0x10 : 0) | (threat ? 0x40 : 0) |
               ((best >> 16) & 0x80));
  int depth = limit - ply;
  if (depth < -100) depth = -100;
  if (depth > 127) depth = 127;
  n.depth = i8(depth);
  int s = score;
  if (s > kMateBound - 1)
    s += 4 * ply;
  else if (s < -(kMateBound - 1))
    s -= 4 * ply;
  n.score = i16(s);
  n.from = best ? u8(MoveFrom(best)) : 0;
  n.to = best ? u8(MoveTo(best)) : 0;
  TransEntry* c = TransCluster(bd);
  TransEntry* target = nullptr;
  for (int i = 2; i >= 0; --i)
    if (c[i].check == bd.key2) {
      target = &c[i];
      break;
    }
  if (!target) {
    target = &c[2];
    for (int i = 1; i >= 0; --i)
      if (c[i].depth < target->depth) target = &c[i];
  }
  if (n.depth >= target->depth) {
    c[3] = *target;
    *target = n;
  } else {
    c[3] = n;
  }
}

}  // namespace corvane
