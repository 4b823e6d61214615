// The database module's own chess board: the exported position record, move
// generation and legality, the move word and its descriptor and text.
//
// Interface: sPosition, InitialPosition, CheckCastlingRights, CheckEnPassant,
// GenerateTargets, IsMoveLegal, CheckPositionLegal, PlayMoveOnPosition,
// MoveOutcome, GetMoveNotationFlags, MoveFlagsToText, MakeMoveWord,
// EnPassantVictim, CastlingRookMove, PromotionPiece, SideToMoveInCheck,
// HasNoLegalMove, IsInitialPosition, AttackedByWhite, AttackedByBlack,
// LoadPositionFromGame.
#pragma once

#include <cstdint>

// 70 bytes, handed across the library's exports: its layout is fixed.
struct sPosition {
  uint8_t squares[64];  // 8 * rank + file, a1 = 0; 0 = empty
  uint8_t whiteToMove;  // 1 White, 0 Black
  uint8_t enPassant;    // square the pawn skipped, 64 = none
  uint8_t castle[4];    // White queen-side, White king-side, Black queen-side, Black king-side
};
static_assert(sizeof(sPosition) == 70, "sPosition is part of the exported interface");

namespace gdbase {

// Piece codes: Black 1..6 (pawn .. king), White the same plus 8.
enum : uint8_t { kPawn = 1, kKnight, kBishop, kRook, kQueen, kKing };
constexpr uint8_t kWhite = 8;
constexpr uint8_t kNoSquare = 64;
enum CastleRight { kWhiteLong = 0, kWhiteShort = 1, kBlackLong = 2, kBlackShort = 3 };

// Move word: from bits 0-5, to bits 8-13, promotion bits 14-15 (0 queen,
// 1 rook, 2 bishop, 3 knight). Bits 6-7 are flags of the move lists.
inline int MoveFrom(uint16_t m) { return m & 0x3F; }
inline int MoveTo(uint16_t m) { return (m >> 8) & 0x3F; }
inline int MovePromotion(uint16_t m) { return m >> 14; }
inline uint16_t MakeMove(int from, int to, int promotion = 0) {
  return static_cast<uint16_t>(from | (to << 8) | (promotion << 14));
}

const sPosition& InitialPosition();
bool IsInitialPosition(const sPosition& p);

void CheckCastlingRights(sPosition* p);
int CheckEnPassant(sPosition* p, int strict);

bool AttackedByWhite(const sPosition& p, int square);
bool AttackedByBlack(const sPosition& p, int square);
bool SideToMoveInCheck(const sPosition& p);
bool HasNoLegalMove(const sPosition& p);

// Legal target squares of the piece on `from` (at most 27); 0 when that
// square holds no piece of the side to move.
int GenerateTargets(const sPosition& p, int from, int32_t* targets);
int IsMoveLegal(const sPosition& p, uint16_t move);
// 0 legal; 1 a king missing, 2 the side not to move in check, 3 a pawn on
// the first or last rank, 4 impossible material.
int CheckPositionLegal(const sPosition& p);

void PlayMoveOnPosition(sPosition* p, uint16_t move);
// 0 nothing, 1 check, 2 stalemate, 3 mate; `p` is left as it was.
int MoveOutcome(sPosition* p, uint16_t move);

// Descriptor byte: bits 0-2 kind (0-4 knight..king, 5 pawn, 6 en passant,
// 7 promotion), 0x08 capture, 0x30 outcome, 0x40 from-file, 0x80 from-rank.
uint8_t GetMoveNotationFlags(const sPosition& p, uint16_t move);
// Style bits: 1 long form, 2 no piece letter, 4 '=' before promotion.
int MoveFlagsToText(uint8_t flags, uint16_t move, char* out, int style, const char* symbols);

// Files and ranks 1..8; the promotion piece in the game library's codes.
uint16_t MakeMoveWord(int fromFile, int fromRank, int toFile, int toRank, int promotionPiece);
int EnPassantVictim(const sPosition& p, uint16_t move);
uint16_t CastlingRookMove(const sPosition& p, uint16_t move);
int PromotionPiece(const sPosition& p, uint16_t move);

// Builds a position from the game library's 112-byte board record.
int LoadPositionFromGame(const uint8_t* board, sPosition* out, int strict);

}  // namespace gdbase
