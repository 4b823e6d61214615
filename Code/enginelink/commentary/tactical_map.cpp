#include "tactical_map.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "movegen.h"

const uint8_t kPieceValue[6] = {255, 9, 5, 3, 3, 1};

namespace {

// Nested generation inside an analysis (a pin test rates captures, which
// generate replies) takes one list per level, reused across calls.
struct ScratchPool {
  std::vector<std::unique_ptr<MoveRecord[]>> lists;
  size_t depth = 0;
};
thread_local ScratchPool tPool;

int ColourOf(uint8_t piece) { return piece & COLOUR_MASK; }
int TypeOf(uint8_t piece) { return piece & TYPE_MASK; }
int Forward(int colour) { return colour == WHITE ? -16 : 16; }

void AddSquare(SquareList* list, int square) {
  if (list->count < kFeatureListMax) list->squares[list->count++] = static_cast<uint8_t>(square);
}
void AddPin(PinList* list, int square, int by, int shielding) {
  if (list->count >= kFeatureListMax) return;
  list->squares[list->count] = static_cast<uint8_t>(square);
  list->pinnedBy[list->count] = static_cast<uint8_t>(by);
  list->shielding[list->count] = static_cast<uint8_t>(shielding);
  ++list->count;
}

bool Has(const SquareAnalysisMap* map, int s, uint16_t flag) { return (map->sq[s].flags & flag) != 0; }
bool Newly(const SquareAnalysisMap* before, const SquareAnalysisMap* after, int s, uint16_t flag) {
  return !Has(before, s, flag) && Has(after, s, flag);
}
bool Lost(const SquareAnalysisMap* before, const SquareAnalysisMap* after, int s, uint16_t flag) {
  return Has(before, s, flag) && !Has(after, s, flag);
}

}  // namespace

ScratchMoves::ScratchMoves() {
  if (tPool.depth == tPool.lists.size()) tPool.lists.emplace_back(new MoveRecord[kMoveListRoom]);
  moves = tPool.lists[tPool.depth++].get();
}
ScratchMoves::~ScratchMoves() { --tPool.depth; }
void ScratchMoves::Generate(const Board* board, int side, bool mark) {
  GenerateMoves(board, moves, &count, &legal, side, mark);
}

MoveFeatures EmptyMoveFeatures() {
  MoveFeatures f;
  std::memset(&f, 0, sizeof f);
  f.blockadedPawn = f.promotionThreat = f.promotionStopped = NO_SQUARE;
  f.rookBehindPassedPawn = f.passedPawnAdvanced = NO_SQUARE;
  return f;
}

int DirectionBetween(int from, int to) {
  int diff = to - from;
  for (int d = 1; d <= 8; ++d) {
    int off = kRayDirections[d];
    if ((diff >= 0) != (off > 0)) continue;
    if (std::abs(diff) % std::abs(off) != 0) continue;
    if (std::abs(diff) / std::abs(off) < 8) return d;
  }
  return 0;
}

int StepsBetween(int from, int to, int direction) {
  if (direction < 1 || direction > 8) return 0;
  return std::abs(to - from) / std::abs(kRayDirections[direction]);
}

int IsOnHomeSquare(int piece, int square) {
  if (piece < 16 || piece > 37 || !OnBoard(square)) return 0;
  int colour = piece & COLOUR_MASK, type = piece & TYPE_MASK;
  if (type > PAWN || (colour != WHITE && colour != BLACK)) return 0;
  int row = SquareRow(square), file = SquareFile(square);
  int backRow = colour == WHITE ? 7 : 0, pawnRow = colour == WHITE ? 6 : 1;
  if (type == PAWN) return row == pawnRow;
  return row == backRow && kBackRankOrder[file] == type;
}

int IsEdgeSquare(int square) {
  int row = SquareRow(square), file = SquareFile(square);
  return row == 0 || row == 7 || file == 0 || file == 7;
}

int IsCornerSquare(int square) { return square == 0 || square == 7 || square == 112 || square == 119; }

void CountPiecesByType(const Board* board, int colour, uint8_t out[6]) {
  std::memset(out, 0, 6);
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && (*board)[s] && ColourOf((*board)[s]) == colour && TypeOf((*board)[s]) <= PAWN)
      ++out[TypeOf((*board)[s])];
}

int CountPieceKinds(const uint8_t counts[6]) {
  int n = 0;
  for (int i = 0; i < 6; ++i) n += counts[i] != 0;
  return n;
}

int CapturedPieceType(uint8_t squareByte) { return squareByte ? TypeOf(squareByte) : PAWN; }

int IsFileEmpty(const Board* board, int file) {
  for (int row = 0; row < 8; ++row)
    if ((*board)[MakeSquare(row, file & 7)]) return 0;
  return 1;
}

int IsOnlyEmptyFile(const Board* board, int file) {
  if (!IsFileEmpty(board, file)) return 0;
  for (int f = 0; f < 8; ++f)
    if (f != file && IsFileEmpty(board, f)) return 0;
  return 1;
}

int IsDeadMaterial(const Board* board) {
  int minors = 0;
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s) || !(*board)[s]) continue;
    int t = TypeOf((*board)[s]);
    if (t == QUEEN || t == ROOK || t == PAWN) return 0;
    if (t == BISHOP || t == KNIGHT) ++minors;
  }
  return minors < 2;
}

int IsSideMated(const Board* board, int colour) {
  ScratchMoves list;
  list.Generate(board, colour, true);
  return list.legal == 0 && IsSideInCheck(board, colour);
}

int IsSideStalemated(const Board* board, int colour) {
  ScratchMoves list;
  list.Generate(board, colour, true);
  return list.legal == 0 && !IsSideInCheck(board, colour);
}

namespace {
int MoveThen(Board* board, const MoveRecord* move, int (*test)(const Board*, int)) {
  if (move->flags & MOVE_ILLEGAL) return 0;
  int mover = ColourOf((*board)[move->from]);
  if (!mover) return 0;
  MoveRecord m = *move;
  MakeMove(&m, board);
  int result = test(board, OtherSide(mover));
  UnmakeMove(&m, board);
  return result;
}
}  // namespace

int MoveGivesMate(Board* board, const MoveRecord* move) { return MoveThen(board, move, IsSideMated); }
int MoveGivesStalemate(Board* board, const MoveRecord* move) {
  return MoveThen(board, move, IsSideStalemated);
}

void ClearAnalysisMap(SquareAnalysisMap* map) { std::memset(map, 0, sizeof *map); }

void ClearAnalysisFlag(SquareAnalysisMap* map, uint16_t mask) {
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s)) map->sq[s].flags &= static_cast<uint16_t>(~mask);
}

int RateCapture(Board* board, const MoveRecord* move) {
  int capturer = TypeOf((*board)[move->from]);
  int victim = CapturedPieceType((*board)[move->to]);
  if (victim == KING && (*board)[move->to]) return RATE_UNANSWERED;
  int side = ColourOf((*board)[move->from]);
  MoveRecord m = *move;
  MakeMove(&m, board);
  bool answered = false;
  {
    ScratchMoves replies;
    replies.Generate(board, OtherSide(side), false);
    for (int i = 0; i < replies.count && !answered; ++i) answered = replies.moves[i].to == move->to;
  }
  UnmakeMove(&m, board);
  if (!answered) return RATE_UNANSWERED;
  if (kPieceValue[victim] > kPieceValue[capturer]) return RATE_WINS;
  if (kPieceValue[victim] < kPieceValue[capturer]) return RATE_LOSES;
  return RATE_EVEN;
}

static bool Profitable(int rating) { return rating == RATE_UNANSWERED || rating == RATE_WINS; }

void MarkCapturablePieces(Board* board, int colour, SquareAnalysisMap* map) {
  ScratchMoves list;
  list.Generate(board, OtherSide(colour), false);
  for (int i = 0; i < list.count; ++i) {
    const MoveRecord& m = list.moves[i];
    if (!(m.flags & MOVE_CAPTURE)) continue;
    if (m.flags & MOVE_EN_PASSANT) {
      int ep = (*board)[EN_PASSANT_SQUARE];
      if (!OnBoard(ep)) continue;
      map->sq[ep].flags |= AF_EN_PASSANT_TARGET;
      if (Profitable(RateCapture(board, &m))) map->sq[ep].flags |= AF_EN_PASSANT_GOOD;
      continue;
    }
    map->sq[m.to].flags |= AF_ATTACKED;
    if (Profitable(RateCapture(board, &m))) {
      map->sq[m.to].flags |= AF_CAPTURABLE;
      map->sq[m.to].attacker = m.from;
    }
  }
}

void MarkExposedPieces(Board* board, int colour, int vacated, SquareAnalysisMap* map) {
  ScratchMoves list;
  list.Generate(board, OtherSide(colour), false);
  for (int i = 0; i < list.count; ++i) {
    const MoveRecord& m = list.moves[i];
    if (!(m.flags & MOVE_CAPTURE)) continue;
    int t = TypeOf((*board)[m.from]);
    if (t != QUEEN && t != ROOK && t != BISHOP) continue;
    int d = DirectionBetween(m.from, m.to);
    if (DirectionBetween(m.from, vacated) != d) continue;
    if (StepsBetween(m.from, m.to, d) <= StepsBetween(m.from, vacated, d)) continue;
    if (Profitable(RateCapture(board, &m))) {
      map->sq[m.to].flags |= AF_CAPTURABLE;
      map->sq[m.to].attacker = m.from;
    }
  }
}

void MarkPins(Board* board, int colour, SquareAnalysisMap* map) {
  ScratchMoves list;
  list.Generate(board, colour, false);
  SquareAnalysisMap scratch;
  for (int i = 0; i < list.count; ++i) {
    MoveRecord m = list.moves[i];
    int movedValue = kPieceValue[TypeOf((*board)[m.from])];
    MakeMove(&m, board);
    ClearAnalysisMap(&scratch);
    MarkExposedPieces(board, colour, m.from, &scratch);
    bool exposed = false;
    for (int s = 0; s < 128; ++s) {
      if (!OnBoard(s) || s == m.to || !(*board)[s] || TypeOf((*board)[s]) == PAWN) continue;
      if (!Has(&scratch, s, AF_CAPTURABLE) || Has(map, s, AF_CAPTURABLE)) continue;
      exposed = true;
      SquareAnalysis& e = map->sq[m.from];
      e.flags |= kPieceValue[TypeOf((*board)[s])] < movedValue ? AF_SHIELDS_LESSER : AF_PINNED;
      e.pinner = scratch.sq[s].attacker;
      e.exposed = static_cast<uint8_t>(s);
    }
    if (!exposed) map->sq[m.from].flags |= AF_HAS_FREE_MOVE;
    UnmakeMove(&m, board);
  }
}

void MarkEscapes(Board* board, int colour, SquareAnalysisMap* map) {
  ScratchMoves list;
  list.Generate(board, colour, false);
  SquareAnalysisMap scratch;
  for (int i = 0; i < list.count; ++i) {
    MoveRecord m = list.moves[i];
    if ((m.flags & MOVE_CAPTURE) &&
        kPieceValue[CapturedPieceType((*board)[m.to])] >= kPieceValue[TypeOf((*board)[m.from])])
      map->sq[m.from].flags |= AF_HAS_ESCAPE;
    MakeMove(&m, board);
    ClearAnalysisMap(&scratch);
    MarkCapturablePieces(board, colour, &scratch);
    for (int s = 0; s < 128; ++s) {
      if (!OnBoard(s) || !(*board)[s] || ColourOf((*board)[s]) != colour) continue;
      if (Has(&scratch, s, AF_CAPTURABLE)) continue;
      map->sq[s == m.to ? m.from : s].flags |= AF_HAS_ESCAPE;
    }
    UnmakeMove(&m, board);
  }
}

void MarkPassedPawns(const Board* board, SquareAnalysisMap* map) {
  const Board& b = *board;
  for (int sq = 0; sq < 128; ++sq) {
    if (!OnBoard(sq) || !b[sq] || TypeOf(b[sq]) != PAWN) continue;
    int colour = ColourOf(b[sq]);
    uint8_t enemyPawn = static_cast<uint8_t>(OtherSide(colour) | PAWN);
    int f = Forward(colour);
    bool passed = true;
    for (int s = sq == b[EN_PASSANT_SQUARE] ? sq : sq + f; OnBoard(s) && passed; s += f) {
      if (b[s] == enemyPawn) passed = false;
      if (OnBoard(s - 1) && b[s - 1] == enemyPawn) passed = false;
      if (OnBoard(s + 1) && b[s + 1] == enemyPawn) passed = false;
    }
    if (passed) map->sq[sq].flags |= AF_PASSED;
  }
}

void MarkIsolatedPawns(const Board* board, SquareAnalysisMap* map) {
  const Board& b = *board;
  int perFile[2][8] = {};
  for (int s = 0; s < 128; ++s)
    if (OnBoard(s) && b[s] && TypeOf(b[s]) == PAWN) ++perFile[ColourOf(b[s]) == BLACK][SquareFile(s)];
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s) || !b[s] || TypeOf(b[s]) != PAWN) continue;
    const int* files = perFile[ColourOf(b[s]) == BLACK];
    int f = SquareFile(s);
    if ((f == 0 || !files[f - 1]) && (f == 7 || !files[f + 1])) map->sq[s].flags |= AF_ISOLATED;
  }
}

void MarkPromotablePawns(const Board* board, SquareAnalysisMap* map) {
  const Board& b = *board;
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s) || !b[s] || TypeOf(b[s]) != PAWN) continue;
    int colour = ColourOf(b[s]);
    if (SquareRow(s) != (colour == WHITE ? 1 : 6)) continue;
    int front = s + Forward(colour);
    bool can = b[front] == 0;
    for (int side : {-1, 1}) {
      int d = front + side;
      if (OnBoard(d) && b[d] && ColourOf(b[d]) == OtherSide(colour)) can = true;
    }
    if (can) map->sq[s].flags |= AF_PROMOTABLE;
  }
}

void MarkCastlingOptions(SquareAnalysisMap* map, const Board* board) {
  const int slots[2][2] = {{SLOT_WHITE_SHORT, SLOT_WHITE_LONG}, {SLOT_BLACK_SHORT, SLOT_BLACK_LONG}};
  for (int k = 0; k < 2; ++k) {
    ScratchMoves list;
    list.Generate(board, k == 0 ? WHITE : BLACK, true);
    bool shortOk = false, longOk = false;
    for (int i = 0; i < list.count; ++i) {
      if (list.moves[i].flags & MOVE_ILLEGAL) continue;
      shortOk |= (list.moves[i].flags & MOVE_CASTLE_SHORT) != 0;
      longOk |= (list.moves[i].flags & MOVE_CASTLE_LONG) != 0;
    }
    map->sq[slots[k][0]].flags = shortOk;
    map->sq[slots[k][1]].flags = longOk;
  }
}

void BuildFullAnalysisMap(Board* board, int side, SquareAnalysisMap* map) {
  ClearAnalysisMap(map);
  MarkCapturablePieces(board, side, map);
  MarkCapturablePieces(board, OtherSide(side), map);
  MarkPins(board, side, map);
  MarkPins(board, OtherSide(side), map);
  MarkPassedPawns(board, map);
  MarkIsolatedPawns(board, map);
  MarkPromotablePawns(board, map);
  ClearAnalysisFlag(map, AF_HAS_ESCAPE);
  MarkEscapes(board, OtherSide(side), map);
  MarkCastlingOptions(map, board);
}

int AnalyzeMoveFeatures(Board* board, const MoveRecord* move, const SquareAnalysisMap* m0,
                        SquareAnalysisMap* m1, MoveFeatures* f) {
  Board& b = *board;
  const Board before = b;
  ClearAnalysisMap(m1);
  const int from = move->from, to = move->to;
  if (!OnBoard(from) || !OnBoard(to) || !b[from]) return 0;
  const int c = ColourOf(b[from]), enemy = OtherSide(c), t = TypeOf(b[from]);
  const int fwd = Forward(c), back = -fwd;
  auto isEnemy = [&](const Board& bd, int s) { return bd[s] && ColourOf(bd[s]) == enemy; };
  auto isOwn = [&](const Board& bd, int s) { return bd[s] && ColourOf(bd[s]) == c; };

  if (Has(m0, b[KingSquareByte(c)], AF_CAPTURABLE) && (move->flags & MOVE_CHECK)) f->counterCheck = 1;
  f->givesMate = static_cast<uint8_t>(MoveGivesMate(board, move));
  if (!f->givesMate) f->givesStalemate = static_cast<uint8_t>(MoveGivesStalemate(board, move));
  if (f->givesMate || f->givesStalemate) return f->givesMate;

  // Facts of the board before the move.
  if (t != PAWN && OnBoard(to + fwd) && b[to + fwd] == (enemy | PAWN))
    f->blockadedPawn = static_cast<uint8_t>(to + fwd);
  if (t == KNIGHT) {
    f->knightOffRim = !IsOnHomeSquare(b[from], from) && IsEdgeSquare(from) && !IsEdgeSquare(to);
    f->knightToRim = !IsEdgeSquare(from) && IsEdgeSquare(to);
  }
  if (t == QUEEN) {
    f->queenOutOfCorner = IsCornerSquare(from) && !IsCornerSquare(to);
    f->queenIntoCorner = !IsCornerSquare(from) && IsCornerSquare(to);
  }
  if ((t == QUEEN || t == ROOK) && IsOnlyEmptyFile(board, SquareFile(to))) f->takesOpenFile = 1;
  if (t == BISHOP && IsOnHomeSquare(b[from], from) && (to == 17 || to == 22 || to == 97 || to == 102) &&
      OnBoard(to + fwd) && b[to + 1] == (c | PAWN) && b[to - 1] == (c | PAWN) && b[to + fwd] == (c | PAWN))
    f->fianchetto = 1;
  f->kingMove = t == KING;

  MoveRecord m = *move;
  MakeMove(&m, board);
  const uint8_t enPassantAfter = b[EN_PASSANT_SQUARE];
  MarkCapturablePieces(board, c, m1);
  MarkCapturablePieces(board, enemy, m1);
  MarkPins(board, c, m1);
  MarkPins(board, enemy, m1);
  MarkEscapes(board, enemy, m1);
  MarkPassedPawns(board, m1);
  MarkIsolatedPawns(board, m1);
  MarkPromotablePawns(board, m1);

  if (t == ROOK && SquareFile(from) != SquareFile(to)) {
    for (int s = to + fwd; OnBoard(s) && f->rookBehindPassedPawn == NO_SQUARE; s += fwd)
      if (b[s] == (c | PAWN) && Has(m1, s, AF_PASSED)) f->rookBehindPassedPawn = static_cast<uint8_t>(s);
    for (int s = to + back; OnBoard(s) && f->rookBehindPassedPawn == NO_SQUARE; s += back)
      if (b[s] == (enemy | PAWN) && Has(m1, s, AF_PASSED)) f->rookBehindPassedPawn = static_cast<uint8_t>(s);
  }
  if (t == PAWN && !(move->flags & MOVE_PROMOTION) && Has(m0, from, AF_PASSED))
    f->passedPawnAdvanced = static_cast<uint8_t>(to);

  const bool capture = (move->flags & MOVE_CAPTURE) != 0;
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s) || isEnemy(before, s)) continue;
    if (!Lost(m0, m1, s, AF_CAPTURABLE)) continue;
    if (b[s]) {
      AddSquare(&f->rescued, s);
    } else if (s == from && !capture && !Has(m1, to, AF_CAPTURABLE)) {
      if (Has(m1, to, AF_ATTACKED))
        f->movedToDefended = 1;
      else
        f->movedToSafety = 1;
    }
  }
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s)) continue;
    if (isEnemy(b, s)) {
      if (Newly(m0, m1, s, AF_PINNED)) {
        PinList* list = Has(m1, s, AF_HAS_FREE_MOVE) ? &f->newPinsWithFreeMove : &f->newPins;
        AddPin(list, s, m1->sq[s].pinner, m1->sq[s].exposed);
      }
      if (Newly(m0, m1, s, AF_SHIELDS_LESSER))
        AddPin(&f->newLesserShields, s, m1->sq[s].pinner, m1->sq[s].exposed);
      if (Lost(m0, m1, s, AF_PINNED)) AddSquare(&f->enemyPinsReleased, s);
    }
    if (isOwn(before, s) && s != from) {
      if (Lost(m0, m1, s, AF_PINNED)) AddSquare(&f->ownPinsReleased, s);
      if (Newly(m0, m1, s, AF_PINNED)) AddPin(&f->ownNewPins, s, m1->sq[s].pinner, m1->sq[s].exposed);
    }
  }
  if (!isEnemy(before, to) && Has(m1, to, AF_CAPTURABLE) && !Has(m0, from, AF_CAPTURABLE))
    AddSquare(&f->hanging, to);
  for (int s = 0; s < 128; ++s) {
    if (!OnBoard(s)) continue;
    const bool unmoved = b[s] && b[s] == before[s];
    if (isEnemy(b, s) && TypeOf(b[s]) != PAWN && TypeOf(b[s]) != KING && Lost(m0, m1, s, AF_HAS_ESCAPE))
      AddSquare(&f->trapped, s);
    if (isOwn(b, s) && Newly(m0, m1, s, AF_PASSED) && (s != to || !Has(m0, from, AF_PASSED)))
      AddSquare(&f->newPassed, s);
    if (isEnemy(b, s) && Newly(m0, m1, s, AF_ISOLATED)) AddSquare(&f->enemyNewlyIsolated, s);
    if (isOwn(b, s) && Newly(m0, m1, s, AF_PROMOTABLE)) f->promotionThreat = static_cast<uint8_t>(s);
    if (isEnemy(before, s) && Lost(m0, m1, s, AF_PROMOTABLE)) f->promotionStopped = static_cast<uint8_t>(s);
    if (unmoved && isOwn(b, s) && s != to && Newly(m0, m1, s, AF_CAPTURABLE)) AddSquare(&f->hanging, s);
    if ((unmoved && isOwn(b, s) && s != to && Newly(m0, m1, s, AF_ISOLATED)) ||
        (s == to && !Has(m0, from, AF_ISOLATED) && Has(m1, to, AF_ISOLATED)))
      AddSquare(&f->ownNewlyIsolated, s);
    if (isEnemy(b, s) && Newly(m0, m1, s, AF_PASSED)) AddSquare(&f->enemyNewPassed, s);
  }

  b[EN_PASSANT_SQUARE] = NO_SQUARE;
  ScratchMoves replies;
  replies.Generate(board, c, true);
  MarkCastlingOptions(m1, board);
  const int ownShort = c == WHITE ? SLOT_WHITE_SHORT : SLOT_BLACK_SHORT;
  const int ownLong = c == WHITE ? SLOT_WHITE_LONG : SLOT_BLACK_LONG;
  const int enemyShort = c == WHITE ? SLOT_BLACK_SHORT : SLOT_WHITE_SHORT;
  const int enemyLong = c == WHITE ? SLOT_BLACK_LONG : SLOT_WHITE_LONG;
  if (!Has(m0, before[KingSquareByte(c)], AF_CAPTURABLE)) {
    f->ownShortCastlingWon = !m0->sq[ownShort].flags && m1->sq[ownShort].flags;
    f->ownLongCastlingWon = !m0->sq[ownLong].flags && m1->sq[ownLong].flags;
  }
  if (!Has(m1, b[KingSquareByte(enemy)], AF_CAPTURABLE)) {
    f->enemyShortCastlingLost = m0->sq[enemyShort].flags && !m1->sq[enemyShort].flags;
    f->enemyLongCastlingLost = m0->sq[enemyLong].flags && !m1->sq[enemyLong].flags;
  }
  const bool castling = (move->flags & (MOVE_CASTLE_SHORT | MOVE_CASTLE_LONG)) != 0;
  for (int i = 0; i < replies.count; ++i) {
    const MoveRecord& n = replies.moves[i];
    if (!(move->flags & MOVE_CHECK) && MoveGivesMate(board, &n)) {
      f->threatensMate = 1;
      f->matingMove = n;
    }
    if ((n.flags & MOVE_ILLEGAL) || !(n.flags & MOVE_CAPTURE)) continue;
    if (!Profitable(RateCapture(board, &n)) || Has(m0, n.to, AF_CAPTURABLE)) continue;
    if (b[n.to] == (enemy | KING) && n.from != to && !castling) f->discoveredCheck = 1;
    int k = 0;
    while (k < f->threatTargetCount && f->threatTargets[k] != n.to) ++k;
    if (k < f->threatTargetCount) {
      ++f->threatAttackers[k];
    } else if (k < kFeatureListMax) {
      f->threatTargets[k] = n.to;
      f->threatAttackers[k] = 1;
      ++f->threatTargetCount;
    }
    if (f->threatCount < kFeatureListMax) {
      f->threatFrom[f->threatCount] = n.from;
      f->threatTo[f->threatCount] = n.to;
      ++f->threatCount;
    }
  }
  b[EN_PASSANT_SQUARE] = enPassantAfter;
  UnmakeMove(&m, board);
  return 0;
}
