// Corvane engine core: shared types, square codes, move words and the fatal
// error path.  Everything in the engine core is single-threaded and works on
// the fixed tables of this library; nothing here allocates during a search.
#pragma once

#include <cstdint>

namespace corvane {

using u8 = std::uint8_t;
using i8 = std::int8_t;
using u16 = std::uint16_t;
using i16 = std::int16_t;
using u32 = std::uint32_t;
using i32 = std::int32_t;
using u64 = std::uint64_t;
using i64 = std::int64_t;

// Squares: 10 x rank index + file, a1 = 1, h8 = 78.  The board array covers
// -20..99 so that every knight jump from a board square stays inside it.
constexpr int SqNum(int file, int rank) { return 10 * rank + file + 1; }  // file, rank 0-7
// File and rank of a square by table: the evaluation asks for them on every
// square it looks at, and a table load is cheaper than a division.  The
// tables cover the whole board array with its rim, -20..99, plus a margin.
struct SquareCoords {
  static constexpr int kLow = -40, kSize = 180;  // squares -40..139
  i8 file[kSize], rank[kSize];
  constexpr SquareCoords() : file(), rank() {
    for (int i = 0; i < kSize; ++i) {
      file[i] = i8((i + kLow) % 10 - 1);
      rank[i] = i8((i + kLow) / 10);
    }
  }
};
inline constexpr SquareCoords kSquareCoords{};
constexpr int SqFile(int sq) { return kSquareCoords.file[sq - SquareCoords::kLow]; }  // 0-7
constexpr int SqRank(int sq) { return kSquareCoords.rank[sq - SquareCoords::kLow]; }  // 0-7

// Square codes.
constexpr u8 kRim = 0x00;
constexpr u8 kEmpty = 0x20;
constexpr u8 kWhiteBit = 0x10;
constexpr u8 kBlackBit = 0x01;
enum PieceType { kPawn = 0, kKnight = 1, kBishop = 2, kRook = 3, kQueen = 4, kKing = 5 };
constexpr u8 WCode(int type) { return u8(0x10 + 2 * type); }
constexpr u8 BCode(int type) { return u8(0x01 + 2 * type); }
constexpr u8 kWP = 0x10, kWN = 0x12, kWB = 0x14, kWR = 0x16, kWQ = 0x18, kWK = 0x1A;
constexpr u8 kBP = 0x01, kBN = 0x03, kBB = 0x05, kBR = 0x07, kBQ = 0x09, kBK = 0x0B;
// Piece index (low nibble): white pawn 0, black pawn 1, ... white king 10, black king 11.
constexpr int PieceIndex(u8 code) { return code & 0x0F; }
constexpr int TypeOf(u8 code) { return (code >> 1) & 7; }

// Engine move word: bits 0-7 to, 8-10 promotion type, 0x800 en passant,
// 0x1000 castling (the king's move), 16-23 search marks, 24-31 from.
using EngineMove = u32;
constexpr EngineMove kNullMove = 79;
constexpr u32 kMoveIdMask = 0xFF001FFF;
constexpr u32 kEpFlag = 0x800;
constexpr u32 kCastleFlag = 0x1000;
constexpr u32 kSpecialBits = 0x1F00;
constexpr int MoveFrom(EngineMove m) { return int(m >> 24); }
constexpr int MoveTo(EngineMove m) { return int(m & 0xFF); }
constexpr int MovePromo(EngineMove m) { return int((m >> 8) & 7); }
constexpr EngineMove MakeMove(int from, int to) { return EngineMove(u32(from) << 24 | u32(to)); }

// Scores.
constexpr int kInfinity = 16000;
constexpr int kMateBound = 15680;
constexpr i32 kNoValue = 0x40000000;
constexpr int kMaxPly = 48;  // ply slots 0..47

// Fatal consistency failure: the text names the routine that found it.  The
// host installs a handler (the engine program writes its log and exits with
// code 1); without one the text goes to standard error and the process ends.
using FatalHandler = void (*)(const char* text);
void SetFatalHandler(FatalHandler handler);
[[noreturn]] void FatalError(const char* text);

}  // namespace corvane
