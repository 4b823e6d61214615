// Drill positions: random tactical positions with exactly one solving move
// for the side to solve, built a stage (one piece) per call so that a worker
// thread can stop between calls.
//
// Interface: DrillGenerator (MakeDrillPosition), and the helpers the
// generators and the checkmate set-ups share: PieceAttacksSquare,
// SquareAttacksSquare, PlaceRandomPiece, RemoveDrillPiece, AdvanceDrillStage,
// KingDistance, CountCheckingMoves, AttacksKingZone, IsMatingNet,
// FindOnlySafeMove, FindsPinFrom, HasOtherPinMove.
//
// A finished position carries its solution in the board's free bytes 12
// (from square) and 13 (to square). Every generator object owns its state,
// move lists and random source, so builders on different threads (the drill
// builder, the login puzzle) never share anything.
#pragma once

#include <cstdint>
#include <memory>

#include "board.h"
#include "moverecord.h"
#include "utils.h"

enum DrillKind {
  DRILL_HUNG_PIECE = 0,
  DRILL_FORK = 1,
  DRILL_CHECK = 2,
  DRILL_MATE_IN_ONE = 3,
  DRILL_MATE_IN_TWO = 4,
  DRILL_AVERT_MATE = 5,
  DRILL_SAFE_SQUARE = 6,
  DRILL_PIN = 7,
};
constexpr int kDrillKinds = 8;

// Piece selectors: the type of the piece that makes the solving move.
constexpr int kSelectorRandom = 5;

// MakeDrillPosition answers (and the stage values behind them).
constexpr int DRILL_MORE = 0;
constexpr int DRILL_GAVE_UP = 98;
constexpr int DRILL_DONE = 99;

constexpr int kSolutionFromByte = 12;
constexpr int kSolutionToByte = 13;
constexpr int kDrillStages = 20;

// Scratch move lists, one per level of look-ahead the tests need (own move,
// reply, own answer).
struct DrillMoveLists {
  MoveList level[3];
};

class DrillGenerator {
 public:
  DrillGenerator();  // random source seeded from the clock
  explicit DrillGenerator(uint32_t seed);
  DrillGenerator(const DrillGenerator&) = delete;
  DrillGenerator& operator=(const DrillGenerator&) = delete;

  // Step 0 starts a position of the kind on the board, any other step
  // continues it (a kind other than the one started starts afresh). A
  // selector above 4 is drawn at step 0 (queen..knight; queen..bishop for the
  // pin) and kept. Returns DRILL_DONE with the position and its solution on
  // the board, DRILL_GAVE_UP (call again with step 0), or DRILL_MORE (call
  // again with step 1); 0 for a kind above 7.
  int MakeDrillPosition(int step, int kind, int colour, int selector, Board* board);

  RandomSource& Random() { return random_; }
  DrillMoveLists& Lists() { return *lists_; }
  int Stage() const { return stage_; }
  int Selector() const { return selector_; }
  // Stage totals of the position under way (tries summed over all stages).
  long TotalTries() const;

 private:
  struct StageResult {
    bool accepted;
    int next;
  };
  void Start(int kind, int colour, int selector);
  StageResult RunHungPiece(Board& b);
  StageResult RunFork(Board& b);
  StageResult RunCheckOrMate(Board& b, bool mate);
  StageResult RunMateInTwo(Board& b);
  StageResult RunAvertMate(Board& b);
  StageResult RunSafeSquare(Board& b);
  StageResult RunPin(Board& b);
  int Place(Board& b, int piece, int rowLow, int rowHigh, int fileLow, int fileHigh);
  int RandomPieceType() { return random_.Below(4) + 1; }  // queen..knight
  // Legal moves of `side` into the first list; the count.
  int OwnMoves(const Board& b, int side);
  bool AnyOwnMate(const Board& b);
  bool OwnMoveIsLegal(const Board& b, int from, int to);

  RandomSource random_;
  std::unique_ptr<DrillMoveLists> lists_;  // large: kept off the caller's stack
  int kind_ = -1;
  int own_ = WHITE;
  int enemy_ = BLACK;
  int selector_ = 1;
  int stage_ = DRILL_GAVE_UP;
  uint8_t squares_[kDrillStages];
  int tries_[kDrillStages];
  int totals_[kDrillStages];
  // Per-kind extras.
  int victimType_ = QUEEN;        // hung piece
  int defenderType_ = QUEEN;      // fork
  int supportTypes_[3] = {};      // mate in two
  int targetSquare_ = NO_SQUARE;  // safe square
  int backType_ = KING;           // pin: the piece behind the pinned one
};

// Whether `piece` standing on `from` attacks `to`. With `xray` a ray stops
// only at a square whose colour bits equal the piece's (so it passes through
// the other side's pieces, and a colourless piece passes only over occupied
// squares); without it at any occupied square. The target square itself
// always counts.
bool PieceAttacksSquare(const Board* board, int piece, int from, int to, bool xray);
bool SquareAttacksSquare(const Board* board, int from, int to, bool xray);
// Draws squares in the rows and files given (row 0 is rank 8) until one is
// empty, puts the piece there (a king's square into its state byte) and
// returns the square.
int PlaceRandomPiece(Board* board, RandomSource& random, int piece, int rowLow, int rowHigh, int fileLow,
                     int fileHigh);
// Clears an on-board square (a king's state byte goes to NO_SQUARE); other
// values, such as NO_SQUARE for a stage that placed nothing, do nothing.
void RemoveDrillPiece(Board* board, int square);
// One stage's verdict: counts the try, backs up a stage (removing this
// stage's piece and the previous one) once the stage's limit is passed,
// moves on when accepted, else removes the piece to be placed again. Backing
// up from stage 0 gives up (98). Returns 1 when the stage was accepted.
int AdvanceDrillStage(bool accepted, int next, Board* board, const uint8_t* squares, int* stage, int* tries,
                      int* totals, const int* limits);
int KingDistance(int a, int b);
// Counts the moves of the list that mate (`matesOnly`) or check, split into
// those made by a piece of `type` and those by others; false as soon as a
// count passes its maximum, true when both minimums are reached.
bool CountCheckingMoves(const Board* board, const MoveRecord* list, int count, int type, bool matesOnly,
                        int minType, int maxType, int minOthers, int maxOthers);
// Whether the piece on `from` attacks a square next to `centre`.
bool AttacksKingZone(const Board* board, int from, int centre, bool xray);
// `side` has a legal move, and after each of them the other side can mate.
bool IsMatingNet(const Board* board, int side, DrillMoveLists& lists, int level = 0);
// Exactly one legal move of `side` leaves the other side without a mate in
// one; its squares go to `from` and `to`.
bool FindOnlySafeMove(const Board* board, int side, DrillMoveLists& lists, uint8_t* from, uint8_t* to);
// A queen, rook or bishop (`piece`) on `square` would pin: along one of its
// rays the first of the other side's pieces (no pawn) is followed by another
// of the same or a more valuable type. Own pieces and pawns end a ray.
bool FindsPinFrom(const Board* board, int piece, int square);
// The sliding piece on `from` can move to a square other than `excluded`
// from which it would pin (its own square counts as empty).
bool HasOtherPinMove(const Board* board, int from, int excluded);
