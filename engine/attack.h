// Corvane engine core: attack maps, the exchange table and move ordering.
//
// Interface: InitAttackTables, Scan, EnsureScanned, AttackMap, Exchange,
// ExchangeLess, Outcome, CapGain, IsKamiKaze, the move stack (AllocList,
// PlyList) and the orderings SortFull, SortQuis, SortRootKillers,
// SortRootChecks.
//
// An attack byte sums the attackers of a square: king 1, queen 2, rook 4,
// knight or bishop 16, pawn 64 (two-bit counts per kind).
#pragma once

#include "board.h"

namespace corvane {

extern u8 g_attCount[256];     // attackers in an attack byte
extern u8 g_attClass[256];     // attack class 0-15
extern u8 g_exchange[16][16];  // [attacker class][defender class] -> four two-bit outcomes
// The exchange byte straight from the two attack bytes: [attacker byte][defender byte].
extern u8 g_exchangeByte[256][256];
extern const u8 kClassCount[16];
extern const u8 kClassValue[16];
extern const u8 kAttWeight[12];  // per piece index
extern const u8 kClassShift[12];
extern const u8 kClassMask[12];
extern const int kOrderPenalty[6];  // by type of the capturing piece
extern bool g_attackTablesReady;

void InitAttackTables();  // idempotent

inline PlySlot& SlotOf(SearchBoard& bd) { return *reinterpret_cast<PlySlot*>(&bd); }
inline const PlySlot& SlotOf(const SearchBoard& bd) { return *reinterpret_cast<const PlySlot*>(&bd); }
inline u8* AttackMap(SearchBoard& bd, int side) { return SlotOf(bd).att[side]; }  // 0 white, 1 black
inline const u8* AttackMap(const SearchBoard& bd, int side) { return SlotOf(bd).att[side]; }

void Scan(SearchBoard& bd);  // fatal when already scanned
inline void EnsureScanned(SearchBoard& bd) {
  if (!bd.scanned) Scan(bd);
}

// Exchange byte at a square for the pieces of `side`: the other side attacks,
// side defends.  ExchangeLess first takes one piece (index p) out of the defence.
inline u8 Exchange(const SearchBoard& bd, int side, int sq) {
  const PlySlot& s = SlotOf(bd);
  return g_exchangeByte[s.att[1 - side][sq]][s.att[side][sq]];
}
inline u8 ExchangeLess(const SearchBoard& bd, int side, int sq, int p) {
  const PlySlot& s = SlotOf(bd);
  return g_exchangeByte[s.att[1 - side][sq]][u8(s.att[side][sq] - kAttWeight[p])];
}
// Outcome for the value class of piece index p: 0 lost, 1 even, 2 safe.
inline int Outcome(u8 exchange, int p) { return (exchange >> kClassShift[p]) & 3; }

u32 CapGain(EngineMove move, SearchBoard& bd);
bool IsKamiKaze(SearchBoard& bd, int square);

// Move stack: the ordered list of each ply, appended after the one before.
constexpr int kMoveStack = 8192;
EngineMove* AllocList(int ply, int n);  // nullptr when the stack is full
EngineMove* PlyList(int ply);
int PlyCount(int ply);
void PushNullList(int ply);

extern i32 g_history[12][80];
extern EngineMove g_killer[kMaxPly + 2][2];

// Orderings: copy the generated list (g_gen, count n) into the ply's list.
// Return the count or -1 when the stack is full.
int SortFull(int ply, int n, u32 hashMove);
int SortQuis(int ply, int n);
void SortRootKillers(SearchBoard& bd, EngineMove* moves, int n, EngineMove k1, EngineMove k2);
void SortRootChecks(SearchBoard& bd, EngineMove* moves, int n, EngineMove k1, EngineMove k2);

}  // namespace corvane
