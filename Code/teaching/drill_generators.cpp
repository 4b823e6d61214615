#include "drill_generators.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "movegen.h"

namespace {

// Rays 1-4 orthogonal, 5-8 diagonal; index 0 unused.
constexpr int kRays[9] = {0, -16, 1, 16, -1, -15, 17, 15, -17};
constexpr int kKnight[8] = {-31, 18, 31, -18, -14, 33, 14, -33};

// Try limits per stage of every kind; a stage past the table has limit 0.
constexpr int kLimits[kDrillKinds][kDrillStages] = {
    {200, 20, 30, 30, 30, 30, 30, 30},
    {100, 20, 15, 15, 10, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4},
    {10, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 10},
    {10, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 5},
    {1000, 3, 3, 3, 3, 3, 3},
    {10, 5, 5, 3, 3, 3, 3, 5},
    {200, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10},
    {100, 20, 20, 20, 20, 20, 5, 5, 5, 5, 5, 5, 5, 5, 5},
};

void RayRange(int type, int* first, int* last) {
  *first = type == BISHOP ? 5 : 1;
  *last = type == ROOK ? 4 : 8;
}

bool IsSlider(int type) { return type == QUEEN || type == ROOK || type == BISHOP; }

bool MoveLeavesMate(const Board* board, const MoveRecord& move, int side, MoveList& replies) {
  Board after = *board;
  MoveRecord m = move;
  MakeMove(&m, &after);
  uint16_t n = 0;
  GenerateLegalMoves(&after, replies.moves, &n, OtherSide(side));
  for (int i = 0; i < n; ++i)
    if (replies.moves[i].flags & MOVE_MATE) return true;
  return false;
}

}  // namespace

bool PieceAttacksSquare(const Board* board, int piece, int from, int to, bool xray) {
  if (!OnBoard(from) || !OnBoard(to) || from == to) return false;
  const int type = piece & TYPE_MASK;
  const int colour = piece & COLOUR_MASK;
  switch (type) {
    case KING:
      for (int d = 1; d <= 8; ++d)
        if (from + kRays[d] == to) return true;
      return false;
    case QUEEN:
    case ROOK:
    case BISHOP: {
      int first, last;
      RayRange(type, &first, &last);
      for (int d = first; d <= last; ++d) {
        for (int s = from + kRays[d]; OnBoard(s); s += kRays[d]) {
          if (s == to) return true;
          const uint8_t here = (*board)[s];
          if (xray ? (here & COLOUR_MASK) == colour : here != 0) break;
        }
      }
      return false;
    }
    case KNIGHT:
      for (int step : kKnight)
        if (from + step == to) return true;
      return false;
    case PAWN:
      if (colour == WHITE) return to == from - 17 || to == from - 15;
      if (colour == BLACK) return to == from + 15 || to == from + 17;
      return false;
    default:
      return false;
  }
}

bool SquareAttacksSquare(const Board* board, int from, int to, bool xray) {
  if (!OnBoard(from) || !(*board)[from]) return false;
  return PieceAttacksSquare(board, (*board)[from], from, to, xray);
}

int PlaceRandomPiece(Board* board, RandomSource& random, int piece, int rowLow, int rowHigh, int fileLow,
                     int fileHigh) {
  int square;
  do {
    const int row = rowLow + random.Below(rowHigh - rowLow + 1);
    const int file = fileLow + random.Below(fileHigh - fileLow + 1);
    square = MakeSquare(row, file);
  } while ((*board)[square]);
  (*board)[square] = static_cast<uint8_t>(piece);
  if ((piece & TYPE_MASK) == KING)
    (*board)[KingSquareByte(piece & COLOUR_MASK)] = static_cast<uint8_t>(square);
  return square;
}

void RemoveDrillPiece(Board* board, int square) {
  if (square < 0 || !OnBoard(square)) return;
  const uint8_t piece = (*board)[square];
  if (piece && (piece & TYPE_MASK) == KING) {
    const int byte = KingSquareByte(piece & COLOUR_MASK);
    if ((*board)[byte] == square) (*board)[byte] = NO_SQUARE;
  }
  (*board)[square] = 0;
}

int AdvanceDrillStage(bool accepted, int next, Board* board, const uint8_t* squares, int* stage, int* tries,
                      int* totals, const int* limits) {
  const int s = *stage;
  ++tries[s];
  ++totals[s];
  if (tries[s] > limits[s]) {
    RemoveDrillPiece(board, squares[s]);
    if (s == 0) {
      *stage = DRILL_GAVE_UP;
    } else {
      *stage = s - 1;
      RemoveDrillPiece(board, squares[s - 1]);
    }
    return 0;
  }
  if (accepted) {
    *stage = next;
    if (next < kDrillStages) tries[next] = 0;
    return 1;
  }
  RemoveDrillPiece(board, squares[s]);
  return 0;
}

int KingDistance(int a, int b) {
  return std::max(std::abs(SquareRow(a) - SquareRow(b)), std::abs(SquareFile(a) - SquareFile(b)));
}

bool CountCheckingMoves(const Board* board, const MoveRecord* list, int count, int type, bool matesOnly,
                        int minType, int maxType, int minOthers, int maxOthers) {
  const uint16_t flag = matesOnly ? MOVE_MATE : MOVE_CHECK;
  int byType = 0, byOthers = 0;
  for (int i = 0; i < count; ++i) {
    if (!(list[i].flags & flag)) continue;
    if (((*board)[list[i].from] & TYPE_MASK) == type)
      ++byType;
    else
      ++byOthers;
    if (byType > maxType || byOthers > maxOthers) return false;
    if ((maxType > count && byType >= minType) || (maxOthers > count && byOthers >= minOthers)) return true;
  }
  return byType >= minType && byOthers >= minOthers;
}

bool AttacksKingZone(const Board* board, int from, int centre, bool xray) {
  for (int d = 1; d <= 8; ++d) {
    const int s = centre + kRays[d];
    if (OnBoard(s) && SquareAttacksSquare(board, from, s, xray)) return true;
  }
  return false;
}

bool IsMatingNet(const Board* board, int side, DrillMoveLists& lists, int level) {
  MoveList& own = lists.level[level];
  uint16_t n = 0;
  GenerateLegalMoves(board, own.moves, &n, side);
  if (n == 0) return false;
  for (int i = 0; i < n; ++i)
    if (!MoveLeavesMate(board, own.moves[i], side, lists.level[level + 1])) return false;
  return true;
}

bool FindOnlySafeMove(const Board* board, int side, DrillMoveLists& lists, uint8_t* from, uint8_t* to) {
  MoveList& own = lists.level[0];
  uint16_t n = 0;
  GenerateLegalMoves(board, own.moves, &n, side);
  int safe = 0;
  for (int i = 0; i < n && safe < 2; ++i) {
    if (MoveLeavesMate(board, own.moves[i], side, lists.level[1])) continue;
    if (++safe == 1) {
      *from = own.moves[i].from;
      *to = own.moves[i].to;
    }
  }
  return safe == 1;
}

bool FindsPinFrom(const Board* board, int piece, int square) {
  const int type = piece & TYPE_MASK;
  if (!IsSlider(type)) return false;
  const int colour = piece & COLOUR_MASK;
  int first, last;
  RayRange(type, &first, &last);
  for (int d = first; d <= last; ++d) {
    int front = 0;
    for (int s = square + kRays[d]; OnBoard(s); s += kRays[d]) {
      const uint8_t here = (*board)[s];
      if (!here) continue;
      if ((here & COLOUR_MASK) == colour || (here & TYPE_MASK) == PAWN) break;
      if (!front) {
        front = here;
        continue;
      }
      if ((here & TYPE_MASK) <= (front & TYPE_MASK)) return true;
      break;
    }
  }
  return false;
}

bool HasOtherPinMove(const Board* board, int from, int excluded) {
  if (!OnBoard(from)) return false;
  const int piece = (*board)[from];
  const int type = piece & TYPE_MASK;
  if (!piece || !IsSlider(type)) return false;
  // The piece leaves its square: lines through it open behind it.
  Board moved = *board;
  moved[from] = 0;
  const int colour = piece & COLOUR_MASK;
  int first, last;
  RayRange(type, &first, &last);
  for (int d = first; d <= last; ++d) {
    for (int s = from + kRays[d]; OnBoard(s); s += kRays[d]) {
      const uint8_t here = moved[s];
      if (here && (here & COLOUR_MASK) == colour) break;
      if (s != excluded && FindsPinFrom(&moved, piece, s)) return true;
      if (here) break;
    }
  }
  return false;
}

DrillGenerator::DrillGenerator() : lists_(new DrillMoveLists) {}

DrillGenerator::DrillGenerator(uint32_t seed) : random_(seed), lists_(new DrillMoveLists) {}

long DrillGenerator::TotalTries() const {
  long sum = 0;
  for (int t : totals_) sum += t;
  return sum;
}

void DrillGenerator::Start(int kind, int colour, int selector) {
  kind_ = kind;
  own_ = colour;
  enemy_ = OtherSide(colour);
  stage_ = 0;
  std::memset(squares_, NO_SQUARE, sizeof squares_);
  std::memset(tries_, 0, sizeof tries_);
  std::memset(totals_, 0, sizeof totals_);
  // A knight pins nothing: a pin drill asked for one draws its piece too.
  if (selector > 4 || selector < 1 || (kind == DRILL_PIN && selector == KNIGHT))
    selector = kind == DRILL_PIN ? random_.Below(3) + 1 : random_.Below(4) + 1;
  selector_ = selector;
  switch (kind) {
    case DRILL_HUNG_PIECE:
      victimType_ = RandomPieceType();
      break;
    case DRILL_MATE_IN_TWO:
      if (selector_ == QUEEN) {
        for (int i = 0; i < 3; ++i) supportTypes_[i] = random_.Below(3) + 2;
        while (supportTypes_[2] == supportTypes_[0] && supportTypes_[2] == supportTypes_[1])
          supportTypes_[2] = random_.Below(3) + 2;
      } else {
        supportTypes_[0] = QUEEN;
        do {
          supportTypes_[1] = random_.Below(3) + 2;
          supportTypes_[2] = random_.Below(3) + 2;
        } while (supportTypes_[1] == supportTypes_[2] && supportTypes_[2] == selector_);
      }
      break;
    default:
      break;
  }
}

int DrillGenerator::MakeDrillPosition(int step, int kind, int colour, int selector, Board* board) {
  if (kind < 0 || kind >= kDrillKinds || !board) return 0;
  if (step == 0 || kind != kind_) Start(kind, colour, selector);
  if (stage_ == DRILL_DONE || stage_ == DRILL_GAVE_UP) return stage_;
  Board& b = *board;
  StageResult r{};
  switch (kind_) {
    case DRILL_HUNG_PIECE:
      r = RunHungPiece(b);
      break;
    case DRILL_FORK:
      r = RunFork(b);
      break;
    case DRILL_CHECK:
      r = RunCheckOrMate(b, false);
      break;
    case DRILL_MATE_IN_ONE:
      r = RunCheckOrMate(b, true);
      break;
    case DRILL_MATE_IN_TWO:
      r = RunMateInTwo(b);
      break;
    case DRILL_AVERT_MATE:
      r = RunAvertMate(b);
      break;
    case DRILL_SAFE_SQUARE:
      r = RunSafeSquare(b);
      break;
    default:
      r = RunPin(b);
      break;
  }
  AdvanceDrillStage(r.accepted, r.next, board, squares_, &stage_, tries_, totals_, kLimits[kind_]);
  return stage_ == DRILL_DONE || stage_ == DRILL_GAVE_UP ? stage_ : DRILL_MORE;
}

int DrillGenerator::Place(Board& b, int piece, int rowLow, int rowHigh, int fileLow, int fileHigh) {
  const int square = PlaceRandomPiece(&b, random_, piece, rowLow, rowHigh, fileLow, fileHigh);
  squares_[stage_] = static_cast<uint8_t>(square);
  return square;
}

int DrillGenerator::OwnMoves(const Board& b, int side) {
  uint16_t n = 0;
  GenerateLegalMoves(&b, lists_->level[0].moves, &n, side);
  lists_->level[0].count = n;
  return n;
}

bool DrillGenerator::AnyOwnMate(const Board& b) {
  const int n = OwnMoves(b, own_);
  for (int i = 0; i < n; ++i)
    if (lists_->level[0].moves[i].flags & MOVE_MATE) return true;
  return false;
}

bool DrillGenerator::OwnMoveIsLegal(const Board& b, int from, int to) {
  const int n = OwnMoves(b, own_);
  for (int i = 0; i < n; ++i)
    if (lists_->level[0].moves[i].from == from && lists_->level[0].moves[i].to == to) return true;
  return false;
}

// --- Hung piece: one own piece attacks a victim nobody defends; every other
// enemy piece it attacks is defended. No kings.
DrillGenerator::StageResult DrillGenerator::RunHungPiece(Board& b) {
  const uint8_t* q = squares_;
  auto att = [&](int from, int to) { return SquareAttacksSquare(&b, from, to, false); };
  auto defends = [&](int from, int to) { return SquareAttacksSquare(&b, from, to, true); };
  switch (stage_) {
    case 0:
      ClearBoard(&b);
      Place(b, own_ + selector_, 1, 6, 1, 6);
      return {true, 1};
    case 1: {
      const int v = Place(b, enemy_ + victimType_, 0, 7, 0, 7);
      return {att(q[0], v), 2};
    }
    case 2: {
      const int p = Place(b, enemy_ + RandomPieceType(), 0, 7, 0, 7);
      return {att(q[0], q[1]) && att(q[0], p) && !defends(p, q[1]), 3};
    }
    case 3: {
      const int p = Place(b, enemy_ + RandomPieceType(), 0, 7, 0, 7);
      return {att(q[0], q[1]) && att(q[0], q[2]) && att(q[0], p) && !defends(p, q[1]) &&
                  (defends(q[1], p) || defends(q[2], p)),
              4};
    }
    case 4: {
      const int p = Place(b, enemy_ + RandomPieceType(), 0, 7, 0, 7);
      return {att(q[0], q[1]) && att(q[0], q[2]) && att(q[0], q[3]) && att(q[0], p) && !defends(p, q[1]) &&
                  (defends(q[1], p) || defends(q[2], p) || defends(q[3], p)),
              5};
    }
    default: {
      const int p = Place(b, enemy_ + RandomPieceType(), 0, 7, 0, 7);
      const bool ok =
          !att(q[0], p) && !defends(p, q[1]) &&
          (defends(q[1], q[2]) || defends(q[3], q[2]) || defends(q[4], q[2]) || defends(p, q[2])) &&
          (defends(q[1], q[3]) || defends(q[2], q[3]) || defends(q[4], q[3]) || defends(p, q[3])) &&
          (defends(q[1], q[4]) || defends(q[2], q[4]) || defends(q[3], q[4]) || defends(p, q[4]));
      const int next = stage_ == 7 ? DRILL_DONE : stage_ + 1;
      if (ok && next == DRILL_DONE) {
        b[kSolutionFromByte] = q[0];
        b[kSolutionToByte] = q[1];
      }
      return {ok, next};
    }
  }
}

// --- Fork: an own piece of the selected type moves from A to F, from where
// it checks the enemy king and attacks a second piece.
DrillGenerator::StageResult DrillGenerator::RunFork(Board& b) {
  const uint8_t* q = squares_;
  const int S = own_ + selector_;
  auto att = [&](int from, int to) { return SquareAttacksSquare(&b, from, to, false); };
  auto xatt = [&](int from, int to) { return SquareAttacksSquare(&b, from, to, true); };
  const int K = q[0], F = q[1], T = q[2], A = q[3], D = q[4];
  // No own move but A-F may check from a square from which the moving piece
  // attacks one of the targets (a second fork).
  auto otherForkingCheck = [&](int start, const int* targets, int n) {
    const int moves = OwnMoves(b, own_);
    const MoveRecord* list = lists_->level[0].moves;
    for (int i = 0; i < moves; ++i) {
      if (!(list[i].flags & MOVE_CHECK) || (list[i].from == start && list[i].to == F)) continue;
      for (int t = 0; t < n; ++t)
        if (PieceAttacksSquare(&b, b[list[i].from], list[i].to, targets[t], false)) return true;
    }
    return false;
  };
  switch (stage_) {
    case 0:
      ClearBoard(&b);
      Place(b, enemy_ + KING, 0, 7, 0, 7);
      return {true, 1};
    case 1: {
      const int f = Place(b, S, 0, 7, 0, 7);
      const bool ok = att(f, K);
      b[f] = 0;
      return {ok, 2};
    }
    case 2: {
      int type;
      do type = RandomPieceType();
      while (type == selector_);
      const int t = Place(b, enemy_ + type, 0, 7, 0, 7);
      const bool ok = PieceAttacksSquare(&b, S, F, t, false) && PieceAttacksSquare(&b, S, F, K, false) &&
                      KingDistance(t, K) > 2 && (selector_ != QUEEN || !att(t, F));
      return {ok, 3};
    }
    case 3: {
      const int a = Place(b, S, 0, 7, 0, 7);
      if (!att(a, F) || att(a, K) || att(a, T) || AnyOwnMate(b)) return {false, 4};
      const int targets[1] = {T};
      return {!otherForkingCheck(a, targets, 1), 4};
    }
    case 4: {
      if (!att(T, F) && !att(K, F)) {
        squares_[4] = NO_SQUARE;
        return {true, 5};
      }
      bool suits;
      do {
        defenderType_ = random_.Below(5) + 1;
        switch (selector_) {
          case ROOK:
            suits = defenderType_ == KNIGHT || defenderType_ == BISHOP || defenderType_ == PAWN;
            break;
          case BISHOP:
            suits = defenderType_ == KNIGHT || defenderType_ == ROOK || defenderType_ == PAWN;
            break;
          case KNIGHT:
            suits = defenderType_ != KNIGHT;
            break;
          default:
            suits = true;
            break;
        }
      } while (!suits);
      const int d = defenderType_ == PAWN ? Place(b, own_ + PAWN, 1, 6, 0, 7)
                                          : Place(b, own_ + defenderType_, 0, 7, 0, 7);
      return {att(d, F) && att(A, F) && !att(d, K) && !att(d, T), 5};
    }
    default:
      break;
  }
  // Stages 5-15: the rest of the position, keeping the fork intact.
  const bool hasDefender = D != NO_SQUARE;
  int p;
  bool ok = true;
  if (stage_ <= 7) {
    p = Place(b, enemy_ + PAWN, 1, 6, 0, 7);
    ok = !att(p, F) && !att(p, T);
  } else if (stage_ <= 10) {
    p = own_ == WHITE ? Place(b, own_ + PAWN, 2, 6, 0, 7) : Place(b, own_ + PAWN, 1, 5, 0, 7);
    ok = !att(p, K) && !att(p, T);
  } else if (stage_ <= 12) {
    p = Place(b, enemy_ + RandomPieceType(), 0, 7, 0, 7);
    ok = !xatt(p, F) && !xatt(p, T) && !att(A, p);
  } else if (stage_ <= 14) {
    int type;
    do type = RandomPieceType();
    while (type == selector_);
    p = Place(b, own_ + type, 0, 7, 0, 7);
    ok = !att(p, K) && !att(p, T) && !att(p, F) && !att(p, q[11]) && !att(p, q[12]);
    if (ok && p != F) {
      const int targets[3] = {T, q[11], q[12]};
      ok = !AnyOwnMate(b) && !otherForkingCheck(A, targets, 3);
    }
  } else {
    p = own_ == WHITE ? Place(b, own_ + KING, 4, 7, 0, 7) : Place(b, own_ + KING, 0, 3, 0, 7);
    ok = !att(p, T) && !IsSideInCheck(&b, own_);
    if (ok && p != F) ok = !AnyOwnMate(b) && OwnMoveIsLegal(b, A, F);
  }
  ok = ok && p != F && (!hasDefender || att(D, F)) && att(A, F) && PieceAttacksSquare(&b, S, F, K, false) &&
       PieceAttacksSquare(&b, S, F, T, false);
  const int next = stage_ == 15 ? DRILL_DONE : stage_ + 1;
  if (ok && next == DRILL_DONE) {
    b[kSolutionFromByte] = static_cast<uint8_t>(A);
    b[kSolutionToByte] = static_cast<uint8_t>(F);
  }
  return {ok, next};
}

// --- Check and mate in one: a crowd of pieces, then the selected piece,
// which must give the only check (or mate).
DrillGenerator::StageResult DrillGenerator::RunCheckOrMate(Board& b, bool mate) {
  const int K = squares_[0];
  switch (stage_) {
    case 0:
      ClearBoard(&b);
      Place(b, enemy_ + KING, 0, 7, 0, 7);
      return {true, 1};
    case 1:
      Place(b, own_ + KING, 0, 7, 0, 7);
      return {!IsSideInCheck(&b, own_), 2};
    default:
      break;
  }
  if (stage_ <= 4) {
    Place(b, own_ + PAWN, 1, 6, 0, 7);
    return {!IsSideInCheck(&b, enemy_), stage_ + 1};
  }
  if (stage_ <= 7) {
    Place(b, enemy_ + PAWN, 1, 6, 0, 7);
    return {!IsSideInCheck(&b, own_), stage_ + 1};
  }
  if (stage_ <= 11) {
    Place(b, enemy_ + (12 - stage_), 0, 7, 0, 7);
    return {!IsSideInCheck(&b, own_), stage_ + 1};
  }
  if (stage_ <= 15) {
    const int type = 16 - stage_;
    if (type == selector_) {
      squares_[stage_] = NO_SQUARE;
      return {true, stage_ + 1};
    }
    const int p = Place(b, own_ + type, 0, 7, 0, 7);
    if (IsSideInCheck(&b, enemy_)) return {false, stage_ + 1};
    if (mate) return {selector_ == QUEEN || AttacksKingZone(&b, p, K, false), stage_ + 1};
    const int n = OwnMoves(b, own_);
    for (int i = 0; i < n; ++i)
      if (lists_->level[0].moves[i].flags & MOVE_CHECK) return {false, stage_ + 1};
    return {true, stage_ + 1};
  }
  Place(b, own_ + selector_, 0, 7, 0, 7);
  if (IsSideInCheck(&b, enemy_)) return {false, DRILL_DONE};
  const int n = OwnMoves(b, own_);
  const MoveRecord* list = lists_->level[0].moves;
  if (!CountCheckingMoves(&b, list, n, selector_, mate, 1, 1, 0, 0)) return {false, DRILL_DONE};
  const uint16_t flag = mate ? MOVE_MATE : MOVE_CHECK;
  for (int i = 0; i < n; ++i) {
    if (list[i].flags & flag) {
      b[kSolutionFromByte] = list[i].from;
      b[kSolutionToByte] = list[i].to;
      break;
    }
  }
  return {true, DRILL_DONE};
}

// --- Mate in two: the selected piece moves from A to T, after which every
// enemy reply allows a mate.
DrillGenerator::StageResult DrillGenerator::RunMateInTwo(Board& b) {
  const int S = own_ + selector_;
  const int T = squares_[5];
  switch (stage_) {
    case 0:
      ClearBoard(&b);
      Place(b, enemy_ + KING, 1, 6, 1, 6);
      return {true, 1};
    case 1:
      Place(b, own_ + KING, 0, 7, 0, 7);
      return {!IsSideInCheck(&b, own_), 2};
    case 2:
    case 3:
    case 4:
      Place(b, own_ + supportTypes_[stage_ - 2], 0, 7, 0, 7);
      return {!IsSideInCheck(&b, enemy_), stage_ + 1};
    case 5: {
      const int t = Place(b, S, 0, 7, 0, 7);
      const bool ok = IsMatingNet(&b, enemy_, *lists_);
      b[t] = 0;
      return {ok, 6};
    }
    default:
      break;
  }
  const int a = Place(b, S, 0, 7, 0, 7);
  if (IsSideInCheck(&b, enemy_) || !SquareAttacksSquare(&b, a, T, false)) return {false, DRILL_DONE};
  const int n = OwnMoves(b, own_);
  MoveList& own = lists_->level[0];
  bool found = false;
  for (int i = 0; i < n; ++i) {
    if (own.moves[i].flags & MOVE_MATE) return {false, DRILL_DONE};
    if (own.moves[i].from == a && own.moves[i].to == T) found = true;
  }
  if (!found) return {false, DRILL_DONE};
  // The first list is in use here: the nets below look one level further.
  for (int i = 0; i < n; ++i) {
    if (own.moves[i].from == a && own.moves[i].to == T) continue;
    Board after = b;
    MoveRecord m = own.moves[i];
    MakeMove(&m, &after);
    if (IsMatingNet(&after, enemy_, *lists_, 1)) return {false, DRILL_DONE};
  }
  b[kSolutionFromByte] = static_cast<uint8_t>(a);
  b[kSolutionToByte] = static_cast<uint8_t>(T);
  return {true, DRILL_DONE};
}

// --- Avert mate: the own king alone against an army; one move only keeps
// the enemy from mating at once.
DrillGenerator::StageResult DrillGenerator::RunAvertMate(Board& b) {
  switch (stage_) {
    case 0:
      ClearBoard(&b);
      Place(b, enemy_ + KING, 0, 7, 0, 7);
      return {true, 1};
    case 1:
      Place(b, own_ + KING, 1, 6, 1, 6);
      return {!IsSideInCheck(&b, own_), 2};
    case 7: {
      Place(b, enemy_ + QUEEN, 0, 7, 0, 7);
      if (IsSideInCheck(&b, own_) || OwnMoves(b, own_) <= 3) return {false, DRILL_DONE};
      uint8_t from = 0, to = 0;
      if (!FindOnlySafeMove(&b, own_, *lists_, &from, &to)) return {false, DRILL_DONE};
      b[kSolutionFromByte] = from;
      b[kSolutionToByte] = to;
      return {true, DRILL_DONE};
    }
    default:
      break;
  }
  int type;
  switch (stage_) {
    case 2:
      type = KNIGHT;
      break;
    case 3:
      type = random_.Below(2) ? BISHOP : KNIGHT;
      break;
    case 4:
      type = BISHOP;
      break;
    case 5:
      type = (b[squares_[3]] & TYPE_MASK) == BISHOP ? ROOK : (random_.Below(2) ? ROOK : BISHOP);
      break;
    default:
      type = ROOK;
      break;
  }
  Place(b, enemy_ + type, 0, 7, 0, 7);
  return {!IsSideInCheck(&b, own_), stage_ + 1};
}

// --- Safe square: the own piece has many moves, and only one destination
// is not attacked. No kings.
DrillGenerator::StageResult DrillGenerator::RunSafeSquare(Board& b) {
  const int origin = squares_[0];
  if (stage_ == 0) {
    ClearBoard(&b);
    Place(b, own_ + selector_, 1, 6, 1, 6);
    const int n = OwnMoves(b, own_);
    targetSquare_ = lists_->level[0].moves[random_.Below(n)].to;
    return {true, 1};
  }
  int type;
  switch (stage_) {
    case 1:
    case 2:
    case 3:
      type = PAWN;
      break;
    case 4:
      type = KNIGHT;
      break;
    case 5:
      type = random_.Below(2) ? BISHOP : KNIGHT;
      break;
    case 6:
      type = BISHOP;
      break;
    case 7:
      type = random_.Below(2) ? ROOK : BISHOP;
      break;
    case 8:
      type = ROOK;
      break;
    case 9:
      type = random_.Below(2) ? QUEEN : ROOK;
      break;
    default:
      type = QUEEN;
      break;
  }
  const int p = type == PAWN ? Place(b, enemy_ + PAWN, 1, 6, 0, 7) : Place(b, enemy_ + type, 0, 7, 0, 7);
  const int next = stage_ == 10 ? DRILL_DONE : stage_ + 1;
  if (SquareAttacksSquare(&b, p, targetSquare_, true)) return {false, next};
  const int n = OwnMoves(b, own_);
  const MoveRecord* list = lists_->level[0].moves;
  bool reachesOne = false;
  for (int i = 0; i < n; ++i) {
    if (list[i].to == p) return {false, next};
    if (SquareAttacksSquare(&b, p, list[i].to, true)) reachesOne = true;
  }
  if (!reachesOne) return {false, next};
  if (next != DRILL_DONE) return {true, next};
  // The last piece: with the own piece on the target, every other
  // destination must be attacked.
  Board test = b;
  test[targetSquare_] = test[origin];
  test[origin] = 0;
  for (int i = 0; i < n; ++i) {
    if (list[i].to == targetSquare_) continue;
    if (!FindAttackers(&test, list[i].to, enemy_, 1, nullptr)) return {false, next};
  }
  b[kSolutionFromByte] = static_cast<uint8_t>(origin);
  b[kSolutionToByte] = static_cast<uint8_t>(targetSquare_);
  return {true, next};
}

// --- Pin: the selected piece moves from A to P, pinning an enemy piece to
// a more valuable one behind it.
DrillGenerator::StageResult DrillGenerator::RunPin(Board& b) {
  const uint8_t* q = squares_;
  const int S = own_ + selector_;
  const int back = q[0], P = q[1], pinned = q[2], A = q[3];
  auto att = [&](int from, int to) { return SquareAttacksSquare(&b, from, to, false); };
  switch (stage_) {
    case 0:
      ClearBoard(&b);
      backType_ = random_.Below(3);
      Place(b, enemy_ + backType_, 0, 7, 0, 7);
      return {true, 1};
    case 1: {
      const int p = Place(b, S, 0, 7, 0, 7);
      const bool ok = att(p, back) && KingDistance(p, back) > 1;
      b[p] = 0;
      return {ok, 2};
    }
    case 2: {
      const int type = backType_ == ROOK ? random_.Below(2) + BISHOP : random_.Below(3) + ROOK;
      const int p = Place(b, enemy_ + type, 0, 7, 0, 7);
      return {
          PieceAttacksSquare(&b, S, P, p, false) && !PieceAttacksSquare(&b, S, P, back, false) && !att(p, P),
          3};
    }
    case 3: {
      const int a = Place(b, S, 0, 7, 0, 7);
      return {att(a, P) && !att(a, pinned) && !att(a, back) && !HasOtherPinMove(&b, a, P), 4};
    }
    default:
      break;
  }
  // Stages 4-14: the rest of the position, keeping the pin intact. Rows go by
  // the colour of the piece placed: black men on the upper half.
  const bool ownWhite = own_ == WHITE;
  const int ownKing = b[KingSquareByte(own_)];
  bool ok;
  int p;
  auto enemyPieceOk = [&](int sq) {
    const int ownKingNow = b[KingSquareByte(own_)];
    return !att(sq, P) && !(OnBoard(ownKingNow) && att(sq, ownKingNow)) &&
           !(selector_ <= backType_ && SquareAttacksSquare(&b, sq, back, true)) && !HasOtherPinMove(&b, A, P);
  };
  auto ownPieceOk = [&](int sq) {
    const int enemyKing = b[KingSquareByte(enemy_)];
    return sq != P && !(OnBoard(enemyKing) && att(sq, enemyKing)) && !att(sq, back) &&
           !HasOtherPinMove(&b, sq, NO_SQUARE);
  };
  if (stage_ == 4) {
    p = ownWhite ? Place(b, own_ + KING, 4, 7, 0, 7) : Place(b, own_ + KING, 0, 4, 0, 7);
    ok = p != P && !att(pinned, p) && !att(back, p);
  } else if (stage_ == 5) {
    if (backType_ != KING) {
      p = ownWhite ? Place(b, enemy_ + KING, 0, 4, 0, 7) : Place(b, enemy_ + KING, 4, 7, 0, 7);
      ok = !att(ownKing, p) && !att(A, p) && enemyPieceOk(p);
    } else {
      p = Place(b, enemy_ + RandomPieceType(), 0, 7, 0, 7);
      ok = enemyPieceOk(p);
    }
  } else if (stage_ <= 7) {
    p = Place(b, enemy_ + RandomPieceType(), 0, 7, 0, 7);
    ok = enemyPieceOk(p);
  } else if (stage_ <= 10) {
    int type;
    if (stage_ == 10) {
      type = RandomPieceType();
    } else {
      do type = RandomPieceType();
      while (type == selector_ || (stage_ == 9 && type == (b[q[8]] & TYPE_MASK)));
    }
    p = Place(b, own_ + type, 0, 7, 0, 7);
    ok = ownPieceOk(p);
  } else if (stage_ <= 12) {
    p = ownWhite ? Place(b, own_ + PAWN, 2, 6, 0, 7) : Place(b, own_ + PAWN, 1, 5, 0, 7);
    ok = ownPieceOk(p);
  } else {
    p = ownWhite ? Place(b, enemy_ + PAWN, 1, 5, 0, 7) : Place(b, enemy_ + PAWN, 2, 6, 0, 7);
    ok = enemyPieceOk(p);
  }
  ok = ok && att(A, P) && PieceAttacksSquare(&b, S, P, pinned, false) &&
       PieceAttacksSquare(&b, S, pinned, back, false);
  // The own piece on A may itself be pinned to the own king: the solution
  // must stay a legal move.
  if (ok) ok = OwnMoveIsLegal(b, A, P);
  const int next = stage_ == 14 ? DRILL_DONE : stage_ + 1;
  if (ok && next == DRILL_DONE) {
    b[kSolutionFromByte] = static_cast<uint8_t>(A);
    b[kSolutionToByte] = static_cast<uint8_t>(P);
  }
  return {ok, next};
}
