// Tactical analysis map: a static look at a position (which pieces can be
// taken with profit, pins, escapes, passed, isolated and promotable pawns,
// castling options) and the comparison of the map before and after one move
// (MoveFeatures).
//
// Interface: geometry (DirectionBetween, StepsBetween, IsOnHomeSquare,
// IsEdgeSquare, IsCornerSquare, CountPiecesByType, CountPieceKinds,
// CapturedPieceType, IsFileEmpty, IsOnlyEmptyFile, IsDeadMaterial), mate
// tests (IsSideMated, IsSideStalemated, MoveGivesMate, MoveGivesStalemate),
// map builders (ClearAnalysisMap, ClearAnalysisFlag, RateCapture,
// MarkCapturablePieces, MarkExposedPieces, MarkPins, MarkEscapes,
// MarkPassedPawns, MarkIsolatedPawns, MarkPromotablePawns,
// MarkCastlingOptions, BuildFullAnalysisMap), AnalyzeMoveFeatures.
//
// Boards are changed only for the length of a call (moves are made and taken
// back). Scratch move lists belong to the calling thread.
#pragma once

#include <cstdint>

#include "board.h"
#include "moverecord.h"

enum AnalysisFlag : uint16_t {
  AF_CAPTURABLE = 0x0001,
  AF_HAS_FREE_MOVE = 0x0002,
  AF_PINNED = 0x0004,
  AF_SHIELDS_LESSER = 0x0008,
  AF_HAS_ESCAPE = 0x0010,
  AF_PASSED = 0x0020,
  AF_PROMOTABLE = 0x0040,
  AF_ISOLATED = 0x0080,
  AF_ATTACKED = 0x0100,
  AF_EN_PASSANT_TARGET = 0x0200,
  AF_EN_PASSANT_GOOD = 0x0400,
};

// Off-board entries used as castling slots by MarkCastlingOptions.
enum CastlingSlot { SLOT_WHITE_SHORT = 8, SLOT_WHITE_LONG = 9, SLOT_BLACK_SHORT = 10, SLOT_BLACK_LONG = 11 };

enum CaptureRating { RATE_UNANSWERED = 1, RATE_WINS = 2, RATE_EVEN = 4, RATE_LOSES = 8 };

struct SquareAnalysis {
  uint16_t flags;
  uint8_t attacker;  // with AF_CAPTURABLE
  uint8_t reserved;
  uint8_t pinner;  // with AF_PINNED / AF_SHIELDS_LESSER
  uint8_t exposed;
};
static_assert(sizeof(SquareAnalysis) == 6, "three 16-bit words per square");

struct SquareAnalysisMap {
  SquareAnalysis sq[128];
};

extern const uint8_t kPieceValue[6];  // king 255, queen 9, rook 5, bishop 3, knight 3, pawn 1

constexpr int kFeatureListMax = 7;

struct SquareList {
  uint8_t count;
  uint8_t squares[kFeatureListMax];
};
struct PinList {
  uint8_t count;
  uint8_t squares[kFeatureListMax];
  uint8_t pinnedBy[kFeatureListMax];
  uint8_t shielding[kFeatureListMax];
};

struct MoveFeatures {
  uint8_t threatTargetCount;
  uint8_t threatTargets[kFeatureListMax];
  uint8_t threatCount;
  uint8_t threatFrom[kFeatureListMax];
  uint8_t threatTo[kFeatureListMax];
  uint8_t threatAttackers[kFeatureListMax];
  uint8_t discoveredCheck;
  SquareList rescued;
  uint8_t movedToDefended;
  uint8_t movedToSafety;
  PinList newPins;
  PinList newPinsWithFreeMove;
  PinList newLesserShields;
  SquareList ownPinsReleased;
  SquareList trapped;
  uint8_t counterCheck;
  uint8_t threatensMate;
  MoveRecord matingMove;
  uint8_t blockadedPawn;  // 255 none
  SquareList newPassed;
  uint8_t promotionThreat;   // 255 none
  uint8_t promotionStopped;  // 255 none
  uint8_t givesMate;
  uint8_t givesStalemate;
  uint8_t knightOffRim;
  uint8_t queenOutOfCorner;
  uint8_t ownShortCastlingWon;
  uint8_t ownLongCastlingWon;
  uint8_t enemyShortCastlingLost;
  uint8_t enemyLongCastlingLost;
  uint8_t takesOpenFile;
  SquareList enemyNewlyIsolated;
  uint8_t fianchetto;
  uint8_t rookBehindPassedPawn;  // 255 none
  uint8_t passedPawnAdvanced;    // 255 none
  uint8_t kingMove;
  SquareList hanging;
  SquareList ownNewlyIsolated;
  PinList ownNewPins;
  SquareList enemyNewPassed;
  SquareList enemyPinsReleased;
  uint8_t knightToRim;
  uint8_t queenIntoCorner;
};

// The template every analysis starts from: all zero, the five
// square-or-none fields 255.
MoveFeatures EmptyMoveFeatures();

int DirectionBetween(int from, int to);
int StepsBetween(int from, int to, int direction);
int IsOnHomeSquare(int piece, int square);
int IsEdgeSquare(int square);
int IsCornerSquare(int square);
void CountPiecesByType(const Board* board, int colour, uint8_t out[6]);
int CountPieceKinds(const uint8_t counts[6]);
int CapturedPieceType(uint8_t squareByte);
int IsFileEmpty(const Board* board, int file);
int IsOnlyEmptyFile(const Board* board, int file);
int IsDeadMaterial(const Board* board);

int IsSideMated(const Board* board, int colour);
int IsSideStalemated(const Board* board, int colour);
int MoveGivesMate(Board* board, const MoveRecord* move);
int MoveGivesStalemate(Board* board, const MoveRecord* move);

void ClearAnalysisMap(SquareAnalysisMap* map);
void ClearAnalysisFlag(SquareAnalysisMap* map, uint16_t mask);
int RateCapture(Board* board, const MoveRecord* move);
void MarkCapturablePieces(Board* board, int colour, SquareAnalysisMap* map);
void MarkExposedPieces(Board* board, int colour, int vacated, SquareAnalysisMap* map);
void MarkPins(Board* board, int colour, SquareAnalysisMap* map);
void MarkEscapes(Board* board, int colour, SquareAnalysisMap* map);
void MarkPassedPawns(const Board* board, SquareAnalysisMap* map);
void MarkIsolatedPawns(const Board* board, SquareAnalysisMap* map);
void MarkPromotablePawns(const Board* board, SquareAnalysisMap* map);
void MarkCastlingOptions(SquareAnalysisMap* map, const Board* board);
// The full map for judging a move of `side`: clear, capturable pieces of
// both sides, pins of both sides, pawns, then escapes of the other side and
// the castling slots.
void BuildFullAnalysisMap(Board* board, int side, SquareAnalysisMap* map);

// Returns 1 when the move mates, else 0. `after` receives the map after the
// move; `features` must start from EmptyMoveFeatures().
int AnalyzeMoveFeatures(Board* board, const MoveRecord* move, const SquareAnalysisMap* before,
                        SquareAnalysisMap* after, MoveFeatures* features);

// A thread-owned move list for generation inside analyses; nested uses get
// separate lists.
class ScratchMoves {
 public:
  ScratchMoves();
  ~ScratchMoves();
  ScratchMoves(const ScratchMoves&) = delete;
  ScratchMoves& operator=(const ScratchMoves&) = delete;
  MoveRecord* moves;
  uint16_t count = 0;
  uint16_t legal = 0;
  void Generate(const Board* board, int side, bool mark);
};
