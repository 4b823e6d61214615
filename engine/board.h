// Corvane engine core: the search board, the ply stack and making moves.
//
// Interface: SearchBoard, Board(ply), SetupRoot / SetupRootFromFen,
// GenLegal, GenMax1, GenQuis (movegen.cpp), DoMove, DoNull, IsCheck,
// SquareCheck, PinIllegal, IsKamiKaze, DumpBoard.
//
// Copy-make: every ply has its own board slot; DoMove copies the board of the
// ply into the next slot and changes the copy, so there is no unmake.
#pragma once

#include "base.h"

namespace corvane {

struct SearchBoard {
  u8 cell[120];  // square s in cell[s + 20]; rim everywhere off the board
  u8 fifty;      // plies since the last capture or pawn move
  u8 ep;         // square a pawn just skipped (0 = none or no capture possible)
  u8 flags;      // 1 W long, 2 W short, 4 B long, 8 B short, 0x10 white to move
  i8 chk;        // 0, 2 double check, else offset from the king toward the checker
  i32 sig[2];    // material signatures, white and black
  u32 key1, key2, pkey;
  u8 list[12][12];   // piece lists by piece index, zero-terminated; kings: list[10][0], list[11][0]
  i32 pcsq;          // piece-square sum, white minus black
  i32 vpass, vposn;  // evaluation terms kept per position (kNoValue = unset)
  u8 ply;
  u8 scanned;  // attack maps valid

  u8* sq() { return cell + 20; }
  const u8* sq() const { return cell + 20; }
  bool WhiteToMove() const { return flags & 0x10; }
  int WKing() const { return list[10][0]; }
  int BKing() const { return list[11][0]; }
  // Packed word of fifty counter, en-passant square, flags and check byte.
  u32 Packed() const { return u32(fifty) | u32(ep) << 8 | u32(flags) << 16 | u32(u8(chk)) << 24; }
};

struct alignas(64) PlySlot {
  SearchBoard b;
  u8 att[2][80];  // attack maps of this position: white's, black's
};

// Position as the command loop keeps it (square codes as on the search board).
struct EnginePosition {
  u8 cell[120];  // square s in cell[s + 20]
  u8 wtm;        // 1 white to move
  u8 ep;         // en-passant square, 0 = none
  u8 castle[4];  // white long, white short, black long, black short (0/1)
  u8 fifty;      // plies since the last capture or pawn move
};

extern PlySlot g_slot[kMaxPly];
inline SearchBoard& Board(int ply) { return g_slot[ply].b; }
inline u8* Att(int ply, int side) { return g_slot[ply].att[side]; }

// Random words of the keys (built by TransInit) and the per-ply history.
extern u32 g_rand[2][12][80];
constexpr int kHistory = 100;              // repetition history before ply 0
extern u32 g_repKey[kHistory + kMaxPly];   // key1 of the position at ply p in [p + kHistory]
extern u32 g_repWord[kHistory + kMaxPly];  // its packed word
extern EngineMove g_line[kMaxPly + 1];     // the move that led to each ply

// Square relation: bit 0x10 diagonal, 0x20 file or rank, 0x40 knight jump,
// low nibble the direction index from the second square toward the first.
extern u8 g_relation[155];
inline u8 Relation(int a, int b) { return g_relation[a - b + 77]; }
extern const int kDir[16];  // +11 -11 +9 -9 +10 -10 +1 -1, knight jumps

// Board squares one king step or one knight jump from each square (0 ends
// each row): the walks that visit every neighbour skip the rim test.
struct StepTable {
  u8 king[80][9];
  u8 knight[80][9];
  StepTable();
};
extern const StepTable g_steps;

// Piece-square values by piece index and square (blended by the evaluation).
extern i8 g_pst[12][80];

void InitBoardTables();  // idempotent; called by every set-up

// Root set-up.  SetupRoot takes a position and optionally the game's moves
// from it (each made at ply 0 and shifted into the repetition history).  It
// refuses (false, nothing set up) a position the search cannot work on: not
// one king per side, more pieces than the piece lists hold, a pawn on the
// first or last rank, the side not to move in check, or a move that is not
// legal where it is played.
void ClearPlyStack();
bool PositionSearchable(const EnginePosition& pos);
bool SetupRoot(const EnginePosition& pos, const EngineMove* moves = nullptr, int count = 0);
// Minimal FEN reader for tests and benchmarks: false on a malformed text.
bool PositionFromFen(const char* fen, EnginePosition* pos);
bool SetupRootFromFen(const char* fen);
void PositionFromBoard(const SearchBoard& bd, EnginePosition* pos);

void TransSetHash(SearchBoard& bd);  // trans.cpp

// Piece-list and key maintenance.
void XPieMov(SearchBoard& bd, int from, int to);
void XPieSub(SearchBoard& bd, int square);
void XPieAdd(SearchBoard& bd, int square, u8 code);

// Check byte of a square for the side that owns it, attacked by the other:
// 0 nobody, 2 two or more attackers, else the offset toward the one attacker.
int SquareCheck(const SearchBoard& bd, int square, bool byBlack);
int IsCheck(EngineMove move, const SearchBoard& bd);
void CheckSearchMove(EngineMove move, int ply);
int DoMove(EngineMove move, int ply);
void DoNull(int ply);
// After a pseudo-legal move from the board of ply (made into ply + 1): true
// when the mover's king is left in check.
bool PinIllegal(EngineMove move, int ply);

// Generators write into one shared list, ended by 0.  A legal list never
// passes 218 moves; the pseudo-legal quiescence list of a contrived position
// (nine queens) can pass 230, so the list has room for every pseudo-legal move.
constexpr int kGenMax = 512;
extern EngineMove g_gen[kGenMax + 8];
int GenLegal(SearchBoard& bd);
int GenMax1(SearchBoard& bd);
int GenQuis(SearchBoard& bd);

// Board dump through a caller-supplied print routine, by flag bits 1/2/4/8.
using PrintFn = void (*)(void* ctx, const char* text);
void DumpBoard(int ply, int flags, PrintFn print, void* ctx);
const char* SquareName(int square);  // "a1".."h8", ".." for 0

inline int SigWeight(int type) { return type >= kKing ? 0 : 1 << (4 * type); }

}  // namespace corvane
